#include "SqlDialect.h"

#include <QRegularExpression>

namespace mldd {

namespace {

// Every station's write transaction takes this lock first, so that batches of
// different stations follow one another as they do on one SQLite file.
constexpr const char* kWriteLock = "select pg_advisory_xact_lock(4817302956)";

} // namespace

QString SqlDialect::schemaResource() const {
    return isServer() ? QStringLiteral(":/mldd/core/schema-postgresql.sql")
                      : QStringLiteral(":/mldd/core/schema.sql");
}

QString SqlDialect::indexesResource() const {
    return isServer() ? QStringLiteral(":/mldd/core/indexes-postgresql.sql")
                      : QStringLiteral(":/mldd/core/indexes.sql");
}

QString SqlDialect::upgradeStatement(const QString& statement) const {
    if (!isServer())
        return statement;
    // A step that already took effect must not fail on the server: a failed
    // statement there spoils the transaction around it.
    QString text = statement;
    text.replace(QRegularExpression(QStringLiteral("\\bADD\\s+COLUMN\\b")),
                 QStringLiteral("ADD COLUMN IF NOT EXISTS"));
    text.replace(QRegularExpression(QStringLiteral("^CREATE TABLE\\b")),
                 QStringLiteral("CREATE TABLE IF NOT EXISTS"));
    text.replace(QRegularExpression(QStringLiteral("\\bDouble$")),
                 QStringLiteral("double precision"));
    text.replace(QRegularExpression(QStringLiteral("varchar\\(\\d+\\)")), QStringLiteral("text"));
    return text;
}

QString SqlDialect::newestFirst() const {
    // The list is read a page at a time: orders of one number need a fixed order
    // among themselves, or a page could repeat one and leave out another.
    // SQLite puts Null last in a descending order by itself.
    return isServer() ? QStringLiteral("NumSign desc nulls last, id desc")
                      : QStringLiteral("NumSign desc, id desc");
}

QString SqlDialect::ageInDays() const {
    return isServer() ? QStringLiteral("(current_date - cast(time_get as date))")
                      : QStringLiteral(
                            "(julianday(date('now', 'localtime')) - julianday(date(time_get)))");
}

QString SqlDialect::rowVersionColumn() const {
    return isServer() ? QStringLiteral(", cast(cast(xmin as text) as bigint) as row_version")
                      : QString();
}

QString SqlDialect::sameVersion() const {
    // An order read without a version (0) is written as before.
    return isServer() ? QStringLiteral(" and (? = 0 or cast(cast(xmin as text) as bigint) = ?)")
                      : QString();
}

QString SqlDialect::returningId() const {
    return isServer() ? QStringLiteral(" returning id") : QString();
}

QStringList SqlDialect::beginWrite(int waitMs) const {
    if (!isServer())
        return {QStringLiteral("BEGIN IMMEDIATE")};
    return {QStringLiteral("BEGIN"), QStringLiteral("SET LOCAL lock_timeout = %1").arg(waitMs),
            QLatin1String(kWriteLock)};
}

} // namespace mldd
