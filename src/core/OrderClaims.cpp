#include "OrderClaims.h"

#include "LocationCode.h"
#include "OrderDatabase.h"
#include "SettingsFile.h"

#include <QCoreApplication>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>

namespace mldd {

namespace {

// The ids as one array value, so that a claim of hundreds of orders is one statement.
QString idArray(const QList<qint64>& ids) {
    QStringList numbers;
    for (qint64 id : ids)
        numbers.append(QString::number(id));
    return u'{' + numbers.join(u',') + u'}';
}

} // namespace

OrderClaims::OrderClaims(OrderDatabase& database, const DataFolder& folder, const ErrorLog& log)
    : m_database(database),
      // The process is part of the name: a restarted station must not take its dead
      // run's claims for its own before the timeout, for that run's jobs may still print.
      m_station(QSysInfo::machineHostName() + u'/' +
                QString::number(QCoreApplication::applicationPid())) {
    bool number = false;
    const int seconds = readSettingsLine(folder.settingsFile(QStringLiteral("claim.dat")),
                                         QString(), log, LocationCode::OpenDatabase)
                            .trimmed()
                            .toInt(&number);
    m_timeoutSeconds = number && seconds > 0 ? seconds : kDefaultTimeoutSeconds;
}

std::optional<QList<qint64>> OrderClaims::claim(const QList<qint64>& ids, Print print) {
    if (!m_database.isServer() || ids.isEmpty())
        return ids;
    const QString unmarked =
        print == Print::Waybills ? QStringLiteral("kd_sign = 0") : QStringLiteral("fh_sign = 0");
    return updated(QStringLiteral("update order_data set claim_station = ?, claim_time = now() "
                                  "where id = any(cast(? as bigint[])) and %1 and "
                                  "(claim_station is null or claim_time < now() - "
                                  "make_interval(secs => ?)) returning id")
                       .arg(unmarked),
                   ids, true);
}

std::optional<QList<qint64>> OrderClaims::renew(const QList<qint64>& ids) {
    if (!m_database.isServer() || ids.isEmpty())
        return ids;
    return updated(QStringLiteral("update order_data set claim_time = now() "
                                  "where claim_station = ? and id = any(cast(? as bigint[])) "
                                  "returning id"),
                   ids, false);
}

std::optional<QList<qint64>> OrderClaims::updated(const QString& statement,
                                                  const QList<qint64>& ids, bool withTimeout) {
    QSet<qint64> claimed;
    const bool done = m_database.inTransaction([&] {
        QSqlQuery query(m_database.connection());
        query.prepare(statement);
        query.addBindValue(m_station);
        query.addBindValue(idArray(ids));
        if (withTimeout)
            query.addBindValue(m_timeoutSeconds);
        if (!query.exec()) {
            m_database.note(query.lastError());
            return false;
        }
        while (query.next())
            claimed.insert(query.value(0).toLongLong());
        return true;
    });
    if (!done)
        return std::nullopt;
    QList<qint64> kept;
    for (qint64 id : ids) {
        if (claimed.contains(id))
            kept.append(id);
    }
    return kept;
}

void OrderClaims::release(const QList<qint64>& ids) {
    // A server that went away keeps the claims until they time out.
    if (!m_database.isServer() || ids.isEmpty() || !m_database.connection().isOpen())
        return;
    QSqlQuery query(m_database.connection());
    query.prepare(QStringLiteral("update order_data set claim_station = null, claim_time = null "
                                 "where claim_station = ? and id = any(cast(? as bigint[]))"));
    query.addBindValue(m_station);
    query.addBindValue(idArray(ids));
    if (!query.exec())
        m_database.note(query.lastError());
}

} // namespace mldd
