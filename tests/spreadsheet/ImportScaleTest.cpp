#include "SpreadsheetFixture.h"

#include "spreadsheet/WriteBack.h"

#include <sqlite3.h>

#include <cstring>

using namespace mldd;
using test::TestWorkbooks;

namespace {

// The database's work, counted in SQLite's virtual-machine instructions (its
// progress handler runs once every kEvery of them): a count, not a clock.
class DatabaseWork {
public:
    static constexpr int kEvery = 100;

    explicit DatabaseWork(sqlite3* db) : m_db(db) {
        sqlite3_progress_handler(m_db, kEvery, &DatabaseWork::tick, &m_ticks);
    }
    ~DatabaseWork() { sqlite3_progress_handler(m_db, 0, nullptr, nullptr); }
    qint64 ticks() const { return m_ticks; }

private:
    static int tick(void* ticks) {
        ++*static_cast<qint64*>(ticks);
        return 0;
    }

    sqlite3* m_db;
    qint64 m_ticks = 0;
};

// The statements SQLite compiles: its authorizer is asked about each one while
// it is prepared (once for every select in it), never when it runs again.
class CompiledStatements {
public:
    explicit CompiledStatements(sqlite3* db) : m_db(db) {
        sqlite3_set_authorizer(m_db, &CompiledStatements::authorize, this);
    }
    ~CompiledStatements() { sqlite3_set_authorizer(m_db, nullptr, nullptr); }
    int reads() const { return m_reads; }
    int savepoints() const { return m_savepoints; }

private:
    static int authorize(void* self, int action, const char*, const char*, const char*,
                         const char*) {
        auto* counted = static_cast<CompiledStatements*>(self);
        counted->m_reads += action == SQLITE_SELECT;
        counted->m_savepoints += action == SQLITE_SAVEPOINT;
        return SQLITE_OK;
    }

    sqlite3* m_db;
    int m_reads = 0;
    int m_savepoints = 0;
};

// The rows SQLite writes, counted by its update hook.
class WrittenRows {
public:
    explicit WrittenRows(sqlite3* db) : m_db(db) {
        sqlite3_update_hook(m_db, &WrittenRows::written, this);
    }
    ~WrittenRows() { sqlite3_update_hook(m_db, nullptr, nullptr); }
    int inserts = 0;
    int updates = 0;

private:
    // The orders' own rows: the search index's tables are written in the same batch.
    static void written(void* self, int action, const char*, const char* table, sqlite3_int64) {
        if (std::strcmp(table, "order_data") != 0)
            return;
        auto* counted = static_cast<WrittenRows*>(self);
        counted->inserts += action == SQLITE_INSERT;
        counted->updates += action == SQLITE_UPDATE;
    }

    sqlite3* m_db;
};

class ImportScaleTest : public test::SpreadsheetFixture {
protected:
    /** The test maker's workbook of `rows` rows of buyers, every tenth row a buyer's second. */
    QString bigWorkbook(int rows) {
        const QString folder = m_dir.filePath(QStringLiteral("rows%1").arg(rows));
        QDir().mkpath(folder);
        bool made = false;
        TestWorkbooks::make({folder, QStringLiteral("big"), QString::number(rows)}, &made);
        EXPECT_TRUE(made);
        return folder + QStringLiteral("/big.xlsx");
    }

    /** Imports a whole sheet in slices of `slice` rows (the window's 250); the counts line. */
    QString importAll(const SheetTable& table, const QString& path, int slice = 250) {
        auto started = ImportRun::start(m_state, table, bigLayout(), path);
        EXPECT_TRUE(std::holds_alternative<std::unique_ptr<ImportRun>>(started));
        if (!std::holds_alternative<std::unique_ptr<ImportRun>>(started))
            return QString();
        ImportRun& run = *std::get<std::unique_ptr<ImportRun>>(started);
        while (run.step(slice)) {
        }
        const std::variant<ImportCount, Notice> finished = run.finish();
        EXPECT_TRUE(std::holds_alternative<ImportCount>(finished));
        return std::holds_alternative<ImportCount>(finished)
                   ? std::get<ImportCount>(finished).countsLine()
                   : QString();
    }

    struct Work {
        qint64 import = 0;
        qint64 writeBack = 0;
    };

    // Imports a workbook of `rows` rows into an empty store, prints every order
    // and writes the numbers back; the database work of the import and of the write-back.
    Work importAndWriteBack(int rows) {
        const QString path = bigWorkbook(rows);
        QSqlQuery(m_state.database->connection()).exec(QStringLiteral("delete from order_data"));

        Work work;
        const SheetTable table = readSheet(path);
        {
            DatabaseWork counted(m_state.database->handle());
            // Every tenth row is the second order of the buyer above it.
            EXPECT_EQ(importAll(table, path),
                      QStringLiteral("提示:Excel中共有订单%1个，实提订单%2个，合并订单%3个。  ")
                          .arg(rows)
                          .arg(rows / 10 * 9)
                          .arg(rows / 10));
            work.import = counted.ticks();
        }
        QSqlQuery(m_state.database->connection())
            .exec(QStringLiteral("update order_data set kd_sign = 1, wuliu_code = 'ZT' || id"));
        {
            DatabaseWork counted(m_state.database->handle());
            const WriteBack::Result result =
                WriteBack::run(m_state, path, bigLayout(), QStringLiteral("订单"));
            EXPECT_TRUE(result.ok) << result.notice.text.toStdString();
            EXPECT_EQ(result.written, rows);
            work.writeBack = counted.ticks();
        }
        const SheetTable written = readSheet(path);
        EXPECT_EQ(written.cell(rows, 11), written.cell(rows - 1, 11))
            << "the last row is merged into its buyer's order above it";
        EXPECT_FALSE(written.cell(rows, 11).isEmpty());
        return work;
    }

    static ImportLayout bigLayout() {
        ImportLayout layout;
        layout.sender = QString::fromUtf8(kSender);
        layout.templateName = QStringLiteral("圆通");
        const auto map = [&](ImportLayout::Field field, const char* column) {
            layout.expressions[field] = *ColumnExpression::parse(QString::fromLatin1(column));
        };
        map(ImportLayout::OrderNumber, "A");
        map(ImportLayout::BuyerName, "B");
        map(ImportLayout::Phone1, "D");
        map(ImportLayout::Address, "F");
        map(ImportLayout::Goods, "G");
        return layout;
    }
};

} // namespace

// Ten times the rows is about ten times the work, never a hundred: buyers share
// names, so a look-up by name alone, or among the run's own rows, would grow
// with every row. A slow step in the text of the sheet shows as a test that
// does not end.
TEST_F(ImportScaleTest, ImportAndWriteBackGrowLinearlyWithTheRows) {
    const Work small = importAndWriteBack(10000);
    const Work large = importAndWriteBack(100000);
    ASSERT_GT(small.import, 0);
    ASSERT_GT(small.writeBack, 0);
    EXPECT_LT(double(large.import) / double(small.import), 13.0)
        << small.import << " → " << large.import;
    EXPECT_LT(double(large.writeBack) / double(small.writeBack), 13.0)
        << small.writeBack << " → " << large.writeBack;
}

// Each row of a workbook imported again is found stored, and read back to be
// compared: the statements that read are prepared once for the run, as
// preparing one costs more than the read it serves. The slices join the run's
// transaction without savepoints, each of which copied aside every page it changed.
TEST_F(ImportScaleTest, AnImportPreparesItsReadsOnceAndStoresWithoutSavepoints) {
    constexpr int kRows = 2000;
    const QString path = bigWorkbook(kRows);
    const SheetTable table = readSheet(path);
    {
        CompiledStatements counted(m_state.database->handle());
        importAll(table, path);
        EXPECT_EQ(counted.savepoints(), 0);
    }
    CompiledStatements counted(m_state.database->handle());
    EXPECT_EQ(importAll(table, path),
              QStringLiteral("提示:Excel中共有订单%1个，实提订单0个，合并订单0个，已有%1个。  ")
                  .arg(kRows));
    EXPECT_LT(counted.reads(), kRows / 20) << counted.reads() << " statements that read";
}

// A row merged into its buyer's order is written once, already taken in, and
// the order that takes it in is written once more, whether it came earlier in
// the same slice or in one before (the slices of 249 rows part the buyer of
// rows 249 and 250).
TEST_F(ImportScaleTest, AMergedRowIsWrittenOnceAndItsTargetOnceMore) {
    constexpr int kRows = 2000;
    const QString path = bigWorkbook(kRows);
    const SheetTable table = readSheet(path);
    WrittenRows written(m_state.database->handle());
    EXPECT_EQ(importAll(table, path, 249),
              QStringLiteral("提示:Excel中共有订单2000个，实提订单1800个，合并订单200个。  "));
    EXPECT_EQ(written.inserts, kRows);
    EXPECT_EQ(written.updates, kRows / 10);

    QHash<qint64, Order> byId;
    for (const Order& order : storedOrders())
        byId.insert(order.id, order);
    int absorbed = 0;
    for (const Order& order : std::as_const(byId)) {
        if (order.djType >= 0)
            continue;
        ++absorbed;
        const Order target = byId.value(order.hbDjId.toLongLong());
        EXPECT_EQ(target.djType, 1) << order.orderSign.toStdString();
        EXPECT_EQ(target.hbDjId, u'|' + QString::number(order.id));
        EXPECT_EQ(target.buyName, order.buyName);
        EXPECT_TRUE(target.buyGoods.endsWith(QStringLiteral("\r\n") + order.buyGoods))
            << target.buyGoods.toStdString();
    }
    EXPECT_EQ(absorbed, kRows / 10);
}
