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

QString notADatabaseMessage(const QString& path) {
    return QStringLiteral("订单数据库 %1 无法打开：这个文件不是数据库，或者已经损坏。\r\n"
                          "软件没有改动这个文件，请把它备份后再处理。")
        .arg(QDir::toNativeSeparators(path));
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

std::unique_ptr<OrderDatabase> OrderDatabase::open(const QString& path, QString* message) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        *message = QStringLiteral("无法创建数据文件夹 %1").arg(QDir::toNativeSeparators(folder));
        return nullptr;
    }
    std::unique_ptr<OrderDatabase> database(
        new OrderDatabase(QStringLiteral("mldd-") + QUuid::createUuid().toString(), path));
    QSqlDatabase db =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), database->m_connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        *message = QStringLiteral("订单数据库 %1 无法打开：%2")
                       .arg(QDir::toNativeSeparators(path), db.lastError().text());
        return nullptr;
    }
    // SQLite opens any file lazily; the first read tells whether it is a database.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("PRAGMA schema_version"))) {
        *message = notADatabaseMessage(path);
        return nullptr;
    }
    probe.finish();
    QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=NORMAL"));

    QString error;
    if (!execAll(db, statementsOf(QStringLiteral(":/mldd/core/schema.sql")), &error)) {
        *message =
            QStringLiteral("订单数据库 %1 无法使用：%2").arg(QDir::toNativeSeparators(path), error);
        return nullptr;
    }
    upgradeSchema(db);
    // Indexes only speed up queries; a database that refuses one still works.
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

bool OrderDatabase::inTransaction(const std::function<bool()>& work) {
    QSqlDatabase db = connection();
    if (inOpenTransaction()) {
        QSqlQuery(db).exec(QStringLiteral("SAVEPOINT batch"));
        const bool done = work();
        if (!done)
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK TO batch"));
        QSqlQuery(db).exec(QStringLiteral("RELEASE batch"));
        return done;
    }
    if (!db.transaction())
        return false;
    if (work() && db.commit())
        return true;
    db.rollback();
    return false;
}

} // namespace mldd
