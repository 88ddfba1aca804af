#pragma once

#include "CupsDaemon.h"
#include "PrintFolder.h"

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
#include <QSysInfo>
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

/** A print folder, a queue of the private cupsd for it, and the program started on it. */
class RunFixture : public testing::Test, public PrintFolder {
protected:
    void SetUp() override {
        queue = QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name())
                    .left(40);
        jobFolder = CupsDaemon::running().addQueue(queue);
        ASSERT_FALSE(jobFolder.isEmpty());
    }

    /** Starts the program on the folder, as the window and mldd-cli do. */
    MainState& start() {
        state = std::make_unique<MainState>(folder);
        EXPECT_TRUE(startUp(*state, QString()).ok);
        return *state;
    }

    void setUpPrinter() const { ASSERT_TRUE(PrintFolder::setUpPrinter(queue)); }

    /** mldd-cli's arguments that print the waybills of `ids` on the queue. */
    QStringList printArgs(const QList<qint64>& ids) const {
        QStringList numbers;
        for (qint64 id : ids)
            numbers.append(QString::number(id));
        return {"--data", folder.dataPath(),  "print",     "waybill",
                "--ids",  numbers.join(u','), "--printer", queue};
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
    QList<KeptJob> keptJobs() const { return keptJobsOf(queue, jobFolder); }

    /** The jobs another queue kept in `folder`. */
    static QList<KeptJob> keptJobsOf(const QString& queue, const QString& folder) {
        CupsDaemon::waitUntilIdle(queue);
        QList<KeptJob> jobs;
        const QStringList titles = QDir(folder).entryList({"*.title"}, QDir::Files);
        for (const QString& name : titles) {
            QFile title(folder + u'/' + name);
            title.open(QIODevice::ReadOnly);
            const int id = name.chopped(6).toInt();
            jobs.append({id, QString::fromUtf8(title.readAll()),
                         QStringLiteral("%1/%2.pdf").arg(folder).arg(id)});
        }
        std::sort(jobs.begin(), jobs.end(),
                  [](const KeptJob& a, const KeptJob& b) { return a.id < b.id; });
        return jobs;
    }

    /** Waits until no job of the queue is pending or printing; held ones may stay. */
    bool waitUntilNothingPrints() {
        for (int waited = 0; waited < 20000; waited += 10) {
            const QList<SpoolerJob> jobs = spooler.keptJobs(queue).value();
            if (std::none_of(jobs.begin(), jobs.end(), [](const SpoolerJob& job) {
                    return job.state == SpoolerJob::kPending ||
                           job.state == SpoolerJob::kProcessing;
                }))
                return true;
            QThread::msleep(10);
        }
        return false;
    }

    /** The journal's name of a run that ended: a process id no process has. */
    static QString deadRun() {
        return QSysInfo::machineHostName() + QStringLiteral("/2147483632:1");
    }

    /** Those of `ids` whose waybill is not marked printed, as the list shows them. */
    QList<qint64> unmarked(const QList<qint64>& ids) {
        const QList<QPair<int, int>> now = marks();
        QList<qint64> left;
        for (int i = 0; i < ids.size(); ++i) {
            if (now[i].first == 0)
                left.append(ids[i]);
        }
        return left;
    }

    /** kd_sign and kd_print (or fh_sign and fh_print) of every order, by id. */
    QList<QPair<int, int>> marks(const QString& columns = QStringLiteral("kd_sign, kd_print")) {
        auto database = OrderDatabase::open(store(), nullptr);
        QSqlQuery query(database->connection());
        query.exec(QStringLiteral("select %1 from order_data order by id").arg(columns));
        QList<QPair<int, int>> found;
        while (query.next())
            found.append({query.value(0).toInt(), query.value(1).toInt()});
        return found;
    }

    std::unique_ptr<MainState> state;
    CupsSpooler spooler;
    QString queue;
    QString jobFolder;
};

} // namespace mldd::test
