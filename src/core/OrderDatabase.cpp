#include "OrderDatabase.h"

#include "CapturedNumberFiles.h"
#include "OrderIndexCheck.h"
#include "OrderSearchIndex.h"
#include "PageCache.h"
#include "SchemaUpgrade.h"
#include "SearchGrams.h"
#include "StoreCheck.h"
#include "StoreSeal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <sqlite3.h>

#include <algorithm>

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

bool execAll(QSqlDatabase& db, const QStringList& statements, QSqlError* error) {
    for (const QString& statement : statements) {
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            *error = query.lastError();
            return false;
        }
    }
    return true;
}

/**
 * SQLite's quick check of the whole file: every page read, so it is run only
 * on a store small enough to read in a few milliseconds.
 */
StoreFailure quickCheck(sqlite3* db, const QString& path) {
    const StoreCheck::CheckLines lines = StoreCheck::checkLines(db, "quick_check(20)");
    if (!lines.problems.isEmpty())
        return {StoreFailure::Kind::Corrupt, lines.problems.join(u'\n')};
    if (lines.code == SQLITE_DONE)
        return {};
    return StoreFailure::fromCode(lines.code, lines.detail, path);
}

int schemaVersion(sqlite3* db) {
    sqlite3_stmt* statement = nullptr;
    int version = 0;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        version = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return version;
}

/**
 * Brings an older store to kSchemaVersion in one transaction: the data
 * folder's captured-number files move in, and are removed once it landed.
 */
StoreFailure upgradeVersion(sqlite3* db, const QString& path) {
    if (schemaVersion(db) >= OrderDatabase::kSchemaVersion)
        return {};
    const CapturedNumberFiles lists(QFileInfo(path).absolutePath());
    QString detail;
    const auto failed = [&] {
        const int code = sqlite3_errcode(db);
        if (detail.isEmpty())
            detail = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return StoreFailure::fromCode(code == SQLITE_OK ? SQLITE_ERROR : code, detail, path);
    };
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return failed();
    const QByteArray setVersion =
        "PRAGMA user_version = " + QByteArray::number(OrderDatabase::kSchemaVersion);
    if (!lists.copyInto(db, &detail) ||
        sqlite3_exec(db, setVersion.constData(), nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        return failed();
    lists.remove();
    return {};
}

/**
 * Gives the store the search's index, in one transaction. Its tables start
 * empty: the orders an existing store holds go in at the start's catch-up, a
 * step at a time. The index only speeds the search up: where the store refuses
 * it, the search reads every order.
 */
void addSearchIndex(QSqlDatabase& db, const SqlDialect& dialect) {
    if (!db.transaction())
        return;
    QSqlError error;
    if (!execAll(db, OrderSearchIndex::statements(dialect), &error) || !db.commit())
        db.rollback();
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

// The tables a store of this program has; a server database with other tables is another's.
const QStringList kOwnTables{QStringLiteral("order_data"), QStringLiteral("my_data"),
                             QStringLiteral("printitem_data")};

QString newConnectionName() {
    return QStringLiteral("mldd-") + QUuid::createUuid().toString();
}

} // namespace

OrderDatabase::OrderDatabase(QString connectionName, QString path, SqlDialect dialect)
    : m_connectionName(std::move(connectionName)), m_path(std::move(path)), m_dialect(dialect) {}

OrderDatabase::~OrderDatabase() {
    // A session that wrote nothing still leaves what the start's look found.
    if (m_startCheck && !m_indexesSoundAt && m_startCheck->endedSound())
        m_indexesSoundAt = m_startCheckAt;
    m_startCheck.reset();
    const bool sound = soundAsLeft();
    {
        QSqlDatabase db = connection();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    if (sound)
        StoreSeal::seal(m_path);
}

std::unique_ptr<OrderDatabase> OrderDatabase::open(const QString& path, QString* message,
                                                   StoreFailure* failure) {
    return openFile(path, message, failure);
}

std::unique_ptr<OrderDatabase> OrderDatabase::open(const StoreAddress& address, QString* message,
                                                   StoreFailure* failure) {
    return address.isServer() ? openServer(address, message, failure)
                              : openFile(address.file, message, failure);
}

std::unique_ptr<OrderDatabase> OrderDatabase::openFile(const QString& path, QString* message,
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
    // Read before SQLite opens the file and makes its write-ahead log.
    const bool leftSound = StoreSeal::intact(path);
    std::unique_ptr<OrderDatabase> database(
        new OrderDatabase(newConnectionName(), path, SqlDialect(SqlDialect::Kind::SQLite)));
    QSqlDatabase db =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), database->m_connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kStatementWaitMs));
    if (!db.open())
        return refuse(StoreFailure::fromError(db.lastError(), path), path, message, failure);
    // The search index's tokenizer, before anything reads or writes the index.
    SearchGrams::registerOn(database->handle());
    // SQLite opens any file lazily; the first read tells whether it is a database.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("PRAGMA schema_version")))
        return refuse(StoreFailure::fromError(probe.lastError(), path), path, message, failure);
    probe.finish();
    // Nothing is written into a damaged file: the check comes before the upgrade.
    // Damage in a big store that this leaves unread is refused by SQLite's own
    // error on the statement that meets it, and found by the daily check.
    const QString remembered = StoreCheck::damageFound(path);
    if (!remembered.isEmpty())
        return refuse({StoreFailure::Kind::Corrupt, remembered}, path, message, failure);
    if (QFileInfo(path).size() <= kWholeCheckBytes) {
        if (const StoreFailure damage = quickCheck(database->handle(), path))
            return refuse(damage, path, message, failure);
    }
    QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    QSqlQuery(db).exec(QString::fromLatin1(kPageCachePragma));

    QSqlQuery schema(db);
    for (const QString& statement : statementsOf(QStringLiteral(":/mldd/core/schema.sql"))) {
        if (!schema.exec(statement))
            return refuse(StoreFailure::fromError(schema.lastError(), path), path, message,
                          failure);
    }
    schema.finish();
    upgradeSchema(db);
    // Indexes only speed up queries; a database that refuses one still works.
    QSqlError error;
    execAll(db, statementsOf(QStringLiteral(":/mldd/core/indexes.sql")), &error);
    addSearchIndex(db, database->m_dialect);
    if (const StoreFailure refused = upgradeVersion(database->handle(), path))
        return refuse(refused, path, message, failure);
    if (leftSound)
        database->m_indexesSoundAt = database->dataVersion();
    return database;
}

std::unique_ptr<OrderDatabase> OrderDatabase::openServer(const StoreAddress& address,
                                                         QString* message, StoreFailure* failure) {
    const QString shown = address.shown();
    std::unique_ptr<OrderDatabase> database(
        new OrderDatabase(newConnectionName(), shown, SqlDialect(SqlDialect::Kind::PostgreSQL)));
    QSqlDatabase db =
        QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), database->m_connectionName);
    if (!db.isValid())
        return refuse({StoreFailure::Kind::Other,
                       QStringLiteral("这台电脑没有装 PostgreSQL 的数据库驱动（libqt6sql6-psql）")},
                      shown, message, failure);
    db.setHostName(address.host);
    if (address.port > 0)
        db.setPort(address.port);
    db.setUserName(address.user);
    db.setPassword(address.password);
    db.setDatabaseName(address.database);
    // A server that does not answer must not freeze the start.
    db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    if (!db.open())
        return refuse(StoreFailure::fromServerError(db.lastError()), shown, message, failure);
    // The upgrade's steps that already took effect would each print a notice.
    QSqlQuery(db).exec(QStringLiteral("set client_min_messages = warning"));

    QSqlQuery tables(db);
    // Read from the catalog itself: the information schema's view of it costs
    // several times as much, at every start of every station.
    if (!tables.exec(QStringLiteral("select lower(relname) from pg_class where relnamespace = "
                                    "current_schema()::regnamespace and relkind in "
                                    "('r', 'p', 'v', 'm', 'f')")))
        return refuse(StoreFailure::fromServerError(tables.lastError()), shown, message, failure);
    QStringList found;
    while (tables.next())
        found.append(tables.value(0).toString());
    tables.finish();
    const bool ours = std::all_of(kOwnTables.begin(), kOwnTables.end(),
                                  [&](const QString& table) { return found.contains(table); });
    if (!found.isEmpty() && !ours)
        return refuse({StoreFailure::Kind::ForeignDatabase, found.join(u',')}, shown, message,
                      failure);

    // The tables, their upgrade and the indexes land together or not at all, and
    // two stations starting at once on an empty database create them once.
    const SqlDialect& dialect = database->m_dialect;
    QStringList statements = statementsOf(dialect.schemaResource());
    for (const QString& text : schemaUpgradeStatements())
        statements.append(dialect.upgradeStatement(text));
    statements += statementsOf(dialect.indexesResource());
    const bool made = database->inTransaction([&] {
        QSqlError error;
        if (execAll(db, statements, &error))
            return true;
        database->note(error);
        return false;
    });
    if (!made)
        return refuse(database->lastFailure(), shown, message, failure);
    addSearchIndex(db, dialect);
    return database;
}

sqlite3* OrderDatabase::handle() const {
    const QVariant handle = connection().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}

bool OrderDatabase::inOpenTransaction() const {
    if (isServer())
        return m_batchOpen;
    sqlite3* db = handle();
    return db && !sqlite3_get_autocommit(db);
}

bool OrderDatabase::reconnectIfLost() {
    QSqlDatabase db = connection();
    if (m_lastFailure.kind != StoreFailure::Kind::ConnectionLost && db.isOpen())
        return true;
    db.close();
    if (db.open())
        return true;
    note(db.lastError());
    return false;
}

bool OrderDatabase::beginBatch() {
    if (isServer()) {
        if (!reconnectIfLost())
            return false;
        m_lastFailure = {};
        QSqlQuery begin(connection());
        for (const QString& statement : m_dialect.beginWrite(kBatchWaitMs)) {
            if (!begin.exec(statement)) {
                note(begin.lastError());
                rollbackBatch();
                return false;
            }
        }
        m_batchOpen = true;
        return true;
    }
    sqlite3* raw = handle();
    m_lastFailure = {};
    sqlite3_busy_timeout(raw, kBatchWaitMs);
    QSqlQuery begin(connection());
    const bool begun = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
    sqlite3_busy_timeout(raw, kStatementWaitMs);
    if (!begun) {
        note(begin.lastError());
        return false;
    }
    begin.finish();
    if (!indexesSound()) {
        rollbackBatch();
        return false;
    }
    return true;
}

void OrderDatabase::beginIndexCheck() {
    if (isServer() || m_indexesSoundAt || m_startCheck)
        return;
    m_startCheckAt = dataVersion();
    m_startCheck = std::make_unique<OrderIndexCheck>(m_path);
}

bool OrderDatabase::soundAsLeft() const {
    return !isServer() && !m_corrupt && m_indexesSoundAt && m_indexesSoundAt == dataVersion();
}

std::optional<qint64> OrderDatabase::dataVersion() const {
    sqlite3_stmt* statement = nullptr;
    std::optional<qint64> version;
    if (sqlite3_prepare_v2(handle(), "PRAGMA data_version", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        version = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return version;
}

bool OrderDatabase::indexesSound() {
    sqlite3* raw = handle();
    const std::optional<qint64> version = dataVersion();
    if (version && version == m_indexesSoundAt)
        return true;
    // Written since only by this program's batches, each of which found them sound.
    if (version && !isServer() && StoreSeal::intact(m_path)) {
        m_indexesSoundAt = version;
        return true;
    }
    std::optional<StoreCheck::CheckLines> lines;
    // The check begun at the start holds for the file as long as no other program wrote to
    // it since; one that could not read to the end is done again here.
    if (m_startCheck && version && version == m_startCheckAt) {
        lines = m_startCheck->lines();
        if (lines->code != SQLITE_DONE && lines->problems.isEmpty())
            lines.reset();
    }
    m_startCheck.reset();
    if (!lines)
        lines = StoreCheck::checkLines(raw, "integrity_check(order_data)");
    if (!lines->problems.isEmpty() && !StoreCheck::rebuildIndexes(raw, lines->problems)) {
        m_lastFailure = {StoreFailure::Kind::Corrupt, lines->problems.join(u'\n')};
        m_corrupt = true;
        return false;
    }
    if (lines->code != SQLITE_DONE && lines->problems.isEmpty()) {
        noteCode(lines->code);
        return false;
    }
    m_indexesSoundAt = version;
    return true;
}

bool OrderDatabase::commitBatch() {
    // Whatever the batch wrote is in the search index when it lands, or neither is.
    if (!isServer() && !OrderSearchIndex::takeInBatch(*this)) {
        rollbackBatch();
        return false;
    }
    QSqlQuery commit(connection());
    if (commit.exec(QStringLiteral("COMMIT"))) {
        m_batchOpen = false;
        // Another of this program's connections then takes the store as this one left it.
        if (soundAsLeft())
            StoreSeal::seal(m_path);
        return true;
    }
    note(commit.lastError());
    rollbackBatch();
    return false;
}

void OrderDatabase::rollbackBatch() {
    m_batchOpen = false;
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
    if (!isServer())
        noteCode(sqlite3_errcode(handle()));
    rollbackBatch();
    return false;
}

StoreFailure OrderDatabase::failureOf(const QSqlError& error) const {
    return isServer() ? StoreFailure::fromServerError(error)
                      : StoreFailure::fromError(error, m_path);
}

QString OrderDatabase::failureText(const QSqlError& error) const {
    return failureOf(error).text(m_path);
}

void OrderDatabase::note(const QSqlError& error) {
    const StoreFailure failure = failureOf(error);
    if (!failure)
        return;
    m_lastFailure = failure;
    m_corrupt = m_corrupt || failure.kind == StoreFailure::Kind::Corrupt;
}

void OrderDatabase::noteChangedElsewhere(const QString& orderSign) {
    m_lastFailure = {StoreFailure::Kind::ChangedElsewhere, orderSign};
}

void OrderDatabase::noteCode(int sqliteCode) {
    if (isServer())
        return;
    const StoreFailure failure =
        StoreFailure::fromCode(sqliteCode, QString::fromUtf8(sqlite3_errmsg(handle())), m_path);
    if (!failure)
        return;
    m_lastFailure = failure;
    m_corrupt = m_corrupt || failure.kind == StoreFailure::Kind::Corrupt;
}

} // namespace mldd
