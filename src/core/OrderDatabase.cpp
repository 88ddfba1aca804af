#include "OrderDatabase.h"

#include "SchemaUpgrade.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <sqlite3.h>

#include <chrono>

namespace mldd {

namespace {

QStringList statementsOf(const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList kept;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (!line.trimmed().startsWith(QStringLiteral("--")))
            kept.append(line);
    }
    QStringList statements;
    for (const QString& statement : kept.join(u'\n').split(u';')) {
        if (!statement.trimmed().isEmpty())
            statements.append(statement.trimmed());
    }
    return statements;
}

bool execAll(QSqlDatabase& db, const QStringList& statements, QString* error) {
    for (const QString& statement : statements) {
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            *error = query.lastError().text();
            return false;
        }
    }
    return true;
}

using Clock = std::chrono::steady_clock;

// Stops a statement once its time is up; SQLite then answers SQLITE_INTERRUPT.
int pastDeadline(void* deadline) {
    return Clock::now() > *static_cast<Clock::time_point*>(deadline) ? 1 : 0;
}

/**
 * SQLite's quick check, stopped after `budgetMs` on a big store: a check cut
 * short found nothing, and damage further on is caught when a query meets it.
 */
StoreFailure quickCheck(sqlite3* db, int budgetMs, const QString& path) {
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(budgetMs);
    sqlite3_progress_handler(db, 1000, pastDeadline, &deadline);
    sqlite3_stmt* statement = nullptr;
    int code = sqlite3_prepare_v2(db, "PRAGMA quick_check(20)", -1, &statement, nullptr);
    QStringList problems;
    while (code == SQLITE_OK || code == SQLITE_ROW) {
        code = sqlite3_step(statement);
        if (code != SQLITE_ROW)
            break;
        const QString line =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        if (line != QStringLiteral("ok"))
            problems.append(line);
    }
    const QString detail = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(statement);
    sqlite3_progress_handler(db, 0, nullptr, nullptr);
    if (!problems.isEmpty())
        return {StoreFailure::Kind::Corrupt, problems.join(u'\n')};
    if (code == SQLITE_INTERRUPT || code == SQLITE_DONE)
        return {};
    return StoreFailure::fromCode(code, detail, path);
}

// Fills the caller's outputs and returns null, so that every refusal reads the same.
std::unique_ptr<OrderDatabase> refuse(const StoreFailure& found, const QString& path,
                                      QString* message, StoreFailure* failure) {
    if (message)
        *message = found.text(path);
    if (failure)
        *failure = found;
    return nullptr;
}

} // namespace

OrderDatabase::OrderDatabase(QString connectionName, QString path)
    : m_connectionName(std::move(connectionName)), m_path(std::move(path)) {}

OrderDatabase::~OrderDatabase() {
    {
        QSqlDatabase db = connection();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::unique_ptr<OrderDatabase> OrderDatabase::open(const QString& path, QString* message,
                                                   StoreFailure* failure) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (message)
            *message =
                QStringLiteral("无法创建数据文件夹 %1").arg(QDir::toNativeSeparators(folder));
        if (failure)
            *failure = StoreFailure::fromCode(SQLITE_CANTOPEN, QString(), path);
        return nullptr;
    }
    std::unique_ptr<OrderDatabase> database(
        new OrderDatabase(QStringLiteral("mldd-") + QUuid::createUuid().toString(), path));
    QSqlDatabase db =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), database->m_connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kStatementWaitMs));
    if (!db.open())
        return refuse(StoreFailure::fromError(db.lastError(), path), path, message, failure);
    // SQLite opens any file lazily; the first read tells whether it is a database.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("PRAGMA schema_version")))
        return refuse(StoreFailure::fromError(probe.lastError(), path), path, message, failure);
    probe.finish();
    // Nothing is written into a damaged file: the check comes before the upgrade.
    if (const StoreFailure damage = quickCheck(database->handle(), kCheckBudgetMs, path))
        return refuse(damage, path, message, failure);
    QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    // A batch of tens of thousands of orders touches every index; with the default
    // 2 MB page cache it rereads pages and slows down more than the batch grows.
    QSqlQuery(db).exec(QStringLiteral("PRAGMA cache_size=-65536"));

    QSqlQuery schema(db);
    for (const QString& statement : statementsOf(QStringLiteral(":/mldd/core/schema.sql"))) {
        if (!schema.exec(statement))
            return refuse(StoreFailure::fromError(schema.lastError(), path), path, message,
                          failure);
    }
    schema.finish();
    upgradeSchema(db);
    // Indexes only speed up queries; a database that refuses one still works.
    QString error;
    execAll(db, statementsOf(QStringLiteral(":/mldd/core/indexes.sql")), &error);
    return database;
}

sqlite3* OrderDatabase::handle() const {
    const QVariant handle = connection().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}

bool OrderDatabase::inOpenTransaction() const {
    sqlite3* db = handle();
    return db && !sqlite3_get_autocommit(db);
}

bool OrderDatabase::beginBatch() {
    sqlite3* raw = handle();
    m_lastFailure = {};
    sqlite3_busy_timeout(raw, kBatchWaitMs);
    QSqlQuery begin(connection());
    const bool begun = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
    sqlite3_busy_timeout(raw, kStatementWaitMs);
    if (!begun)
        note(begin.lastError());
    return begun;
}

bool OrderDatabase::commitBatch() {
    QSqlQuery commit(connection());
    if (commit.exec(QStringLiteral("COMMIT")))
        return true;
    note(commit.lastError());
    rollbackBatch();
    return false;
}

void OrderDatabase::rollbackBatch() {
    QSqlQuery(connection()).exec(QStringLiteral("ROLLBACK"));
}

bool OrderDatabase::inTransaction(const std::function<bool()>& work) {
    if (inOpenTransaction()) {
        QSqlDatabase db = connection();
        QSqlQuery(db).exec(QStringLiteral("SAVEPOINT batch"));
        const bool done = work();
        if (!done)
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK TO batch"));
        QSqlQuery(db).exec(QStringLiteral("RELEASE batch"));
        return done;
    }
    if (!beginBatch())
        return false;
    if (work())
        return commitBatch();
    // What refused the work, read before the rollback answers for itself.
    noteCode(sqlite3_errcode(handle()));
    rollbackBatch();
    return false;
}

void OrderDatabase::note(const QSqlError& error) {
    const StoreFailure failure = StoreFailure::fromError(error, m_path);
    if (!failure)
        return;
    m_lastFailure = failure;
    m_corrupt = m_corrupt || failure.kind == StoreFailure::Kind::Corrupt;
}

void OrderDatabase::noteCode(int sqliteCode) {
    const StoreFailure failure =
        StoreFailure::fromCode(sqliteCode, QString::fromUtf8(sqlite3_errmsg(handle())), m_path);
    if (!failure)
        return;
    m_lastFailure = failure;
    m_corrupt = m_corrupt || failure.kind == StoreFailure::Kind::Corrupt;
}

} // namespace mldd
