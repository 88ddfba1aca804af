#include "CliRun.h"
#include "SpreadsheetFixture.h"

using namespace mldd;
using test::TestWorkbooks;

namespace {

const QStringList kMaps{QStringLiteral("--map"), QStringLiteral("买家公司或订单编号=A"),
                        QStringLiteral("--map"), QStringLiteral("买家姓名=B"),
                        QStringLiteral("--map"), QStringLiteral("买家电话1=D"),
                        QStringLiteral("--map"), QStringLiteral("收货地址=F"),
                        QStringLiteral("--map"), QStringLiteral("商品内容=G")};

class CliImportTest : public test::SpreadsheetFixture {
protected:
    void SetUp() override {
        SpreadsheetFixture::SetUp();
        m_state.database.reset(); // the program under test opens it
        m_big = copyOf(QStringLiteral("big.xlsx"));
    }

    QStringList importArgs(const QStringList& maps = kMaps) const {
        return QStringList{QStringLiteral("--data"),
                           m_state.folder.dataPath(),
                           QStringLiteral("import"),
                           QStringLiteral("--file"),
                           m_big,
                           QStringLiteral("--layout"),
                           QStringLiteral("店铺导出"),
                           QStringLiteral("--sender"),
                           QString::fromUtf8(kSender),
                           QStringLiteral("--template"),
                           QStringLiteral("圆通")} +
               maps;
    }

    qsizetype storedCount() {
        QString message;
        auto database = OrderDatabase::open(m_state.folder.databasePath(), &message);
        return qsizetype(OrderStore(*database).allById().size());
    }

    QString m_big;
};

} // namespace

// The 10,000-row workbook: imported once with the right counts, never twice, and
// written back into its two new columns only.
TEST_F(CliImportTest, ATenThousandRowWorkbookImportsOnceAndTakesItsNumbersBack) {
    const test::CliRun bad =
        test::runCli(importArgs({QStringLiteral("--map"), QStringLiteral("地址=F")}));
    EXPECT_EQ(bad.exitCode, 2);
    const test::CliRun noAddress =
        test::runCli(importArgs({QStringLiteral("--map"), QStringLiteral("买家姓名=B")}));
    EXPECT_EQ(noAddress.exitCode, 1);
    EXPECT_EQ(noAddress.err, QStringLiteral("地址不能空，请匹配！\n"));

    const test::CliRun first = test::runCli(importArgs());
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_EQ(first.out,
              QStringLiteral("提示:Excel中共有订单10000个，实提订单9000个，合并订单1000个。\n"));
    // The second run uses the layout the first one saved.
    const test::CliRun second = test::runCli(
        {QStringLiteral("--data"), m_state.folder.dataPath(), QStringLiteral("import"),
         QStringLiteral("--file"), m_big, QStringLiteral("--layout"), QStringLiteral("店铺导出")});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_EQ(second.out,
              QStringLiteral("提示:Excel中共有订单10000个，实提订单0个，合并订单0个，已有10000个。\n"));
    EXPECT_EQ(storedCount(), 10000);

    {
        QString message;
        auto database = OrderDatabase::open(m_state.folder.databasePath(), &message);
        QSqlQuery(database->connection())
            .exec(QStringLiteral("update order_data set kd_sign = 1, wuliu_code = 'ZT' || id"));
    }
    const test::CliRun written = test::runCli(
        {QStringLiteral("--data"), m_state.folder.dataPath(), QStringLiteral("writeback"),
         QStringLiteral("--file"), m_big, QStringLiteral("--layout"), QStringLiteral("店铺导出")});
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    EXPECT_EQ(written.out, QStringLiteral("已把10000个订单的快递单号和快递公司写入 big.xlsx。\n"));
    const QStringList changed =
        TestWorkbooks::make({QStringLiteral("compare"),
                             TestWorkbooks::get().path(QStringLiteral("big.xlsx")), m_big})
            .split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(changed.size(), 2 * 10001);
    EXPECT_TRUE(std::all_of(changed.begin(), changed.end(), [](const QString& cell) {
        return cell.startsWith(QStringLiteral("订单!K")) ||
               cell.startsWith(QStringLiteral("订单!L"));
    }));
    const SheetTable sheet = readSheet(m_big);
    EXPECT_EQ(sheet.cell(10, 11), sheet.cell(9, 11)) << "a merged row takes its parcel's number";
}

// An import killed at any moment leaves the order table as it was before.
TEST_F(CliImportTest, AKilledImportStoresNothing) {
    const QString clean = m_dir.filePath(QStringLiteral("clean.db"));
    ASSERT_TRUE(QFile::copy(m_state.folder.databasePath(), clean));
    int cut = 0;
    for (int delayMs : {120, 200, 280, 360}) {
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(m_state.folder.databasePath() + suffix);
        QFile::copy(clean, m_state.folder.databasePath());
        const bool killed = test::runCliKilledAfter(importArgs(), delayMs);
        const qsizetype stored = storedCount();
        // A kill after the commit, while the program still reports, leaves every order.
        EXPECT_TRUE(stored == 0 || stored == 10000) << "after " << delayMs << " ms: " << stored;
        cut += killed && stored == 0 ? 1 : 0;
    }
    EXPECT_GT(cut, 0) << "no import was cut before its commit; the workbook is too small to test this";
}
