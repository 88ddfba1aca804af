#pragma once

#include "CupsDaemon.h"

#include "core/MainState.h"
#include "core/OrderDatabase.h"
#include "core/OrderStore.h"
#include "core/Startup.h"
#include "printing/CupsSpooler.h"
#include "printing/PrintRun.h"
#include "printing/PrinterSetup.h"

#include <QDir>
#include <QEventLoop>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace mldd::test {

/** One job a queue of the private cupsd printed: its title and its kept file. */
struct KeptJob {
    int id = 0;
    QString title;
    QString pdf;
};

/**
 * A data folder with the shipped 圆通 and 中通 forms, orders to print, and a
 * queue of the private cupsd set up as the waybill printer with offsets.
 */
class RunFixture : public testing::Test {
protected:
    static inline const PrinterOffsets kOffsets{283, 142}; // 5 mm left, 2.5 mm up

    void SetUp() override {
        QDir().mkpath(dir.path() + QStringLiteral("/data/Delivery"));
        for (const QString form : {"圆通", "中通"})
            for (const QString extension : {".mlg", ".mlm"})
                QFile::copy(QStringLiteral(MLDD_SHIPPED_DATA "/Delivery/") + form + extension,
                            folder.file(QStringLiteral("Delivery/") + form + extension));
        queue = QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name())
                    .left(40);
        jobFolder = CupsDaemon::running().addQueue(queue);
    }

    /** Stores one order per form named, numbered from 淘宝:1001 on; their ids. */
    QList<qint64> addOrders(const QStringList& forms) {
        QString message;
        auto database = OrderDatabase::open(folder.databasePath(), &message);
        EXPECT_TRUE(database) << message.toStdString();
        QList<Order> orders(forms.size());
        for (int i = 0; i < forms.size(); ++i) {
            orders[i].orderSign = QStringLiteral("淘宝:%1").arg(1001 + stored + i);
            orders[i].buyName = QStringLiteral("买家%1").arg(stored + i);
            orders[i].buyAddress = QStringLiteral("浙江省杭州市西湖区文三路%1号").arg(i + 1);
            orders[i].wuliuCode =
                QStringLiteral("YT4021937%1").arg(stored + i, 3, 10, QLatin1Char('0'));
            orders[i].delivery = forms[i];
        }
        OrderWriteRule rule;
        EXPECT_TRUE(OrderStore(*database).insert(orders, rule));
        stored += int(forms.size());
        QList<qint64> ids;
        for (const Order& order : orders)
            ids.append(order.id);
        return ids;
    }

    /** Starts the program on the folder, as the window and mldd-cli do. */
    MainState& start() {
        state = std::make_unique<MainState>(folder);
        EXPECT_TRUE(startUp(*state, QString()).ok);
        return *state;
    }

    void setUpPrinter() const {
        PrinterSetup setup(folder, ErrorLog(folder.errorLogPath()));
        ASSERT_FALSE(setup.chooseWaybillPrinter(queue));
        ASSERT_TRUE(setup.saveOffsets(queue, kOffsets));
    }

    /** Runs to its end on the event loop; the refusal when it did not start. */
    static std::optional<Notice> runToEnd(PrintRun& run) {
        if (std::optional<Notice> refused = run.start())
            return refused;
        QEventLoop loop;
        QObject::connect(&run, &PrintRun::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        if (run.isRunning())
            loop.exec();
        return std::nullopt;
    }

    /** The jobs the queue kept, in the order the spooler took them. */
    QList<KeptJob> keptJobs() const {
        CupsDaemon::waitUntilIdle(queue);
        QList<KeptJob> jobs;
        const QStringList titles = QDir(jobFolder).entryList({"*.title"}, QDir::Files);
        for (const QString& name : titles) {
            QFile title(jobFolder + u'/' + name);
            title.open(QIODevice::ReadOnly);
            const int id = name.chopped(6).toInt();
            jobs.append({id, QString::fromUtf8(title.readAll()),
                         QStringLiteral("%1/%2.pdf").arg(jobFolder).arg(id)});
        }
        std::sort(jobs.begin(), jobs.end(),
                  [](const KeptJob& a, const KeptJob& b) { return a.id < b.id; });
        return jobs;
    }

    /** kd_sign and kd_print (or fh_sign and fh_print) of every order, by id. */
    QList<QPair<int, int>> marks(const QString& columns = QStringLiteral("kd_sign, kd_print")) {
        auto database = OrderDatabase::open(folder.databasePath(), nullptr);
        QSqlQuery query(database->connection());
        query.exec(QStringLiteral("select %1 from order_data order by id").arg(columns));
        QList<QPair<int, int>> found;
        while (query.next())
            found.append({query.value(0).toInt(), query.value(1).toInt()});
        return found;
    }

    QTemporaryDir dir;
    DataFolder folder{dir.path() + QStringLiteral("/data")};
    std::unique_ptr<MainState> state;
    CupsSpooler spooler;
    QString queue;
    QString jobFolder;
    int stored = 0;
};

} // namespace mldd::test
