#include "OrderClaims.h"

#include "LocationCode.h"
#include "OrderDatabase.h"
#include "ProcessIdentity.h"
#include "SettingsFile.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

namespace mldd {

namespace {

// The ids as one array value, so that a claim of hundreds of orders is one statement.
QString idArray(const QList<qint64>& ids) {
    QStringList numbers;
    for (qint64 id : ids)
        numbers.append(QString::number(id));
    return u'{' + numbers.join(u',') + u'}';
}

QString unmarkedCondition(OrderClaims::Print print) {
    return print == OrderClaims::Print::Waybills ? QStringLiteral("kd_sign = 0")
                                                 : QStringLiteral("fh_sign = 0");
}

} // namespace

OrderClaims::OrderClaims(OrderDatabase& database, const DataFolder& folder, const ErrorLog& log)
    : m_database(database),
      // The data folder and the process name the run: its station's next run knows its
      // claims from those of another station, and whether the run that took them has ended.
      m_station(folder.key() + u'@' + ProcessIdentity::current()) {
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
    const QString unmarked = unmarkedCondition(print);
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

std::optional<bool> OrderClaims::confirm(qint64 id, Print print) {
    if (!m_database.isServer())
        return true;
    const std::optional<QList<qint64>> kept =
        updated(QStringLiteral("update order_data set claim_time = now() where claim_station = ? "
                               "and id = any(cast(? as bigint[])) and %1 returning id")
                    .arg(unmarkedCondition(print)),
                {id}, false);
    if (!kept)
        return std::nullopt;
    return !kept->isEmpty();
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

void OrderClaims::releaseEnded(const QList<qint64>& kept) {
    if (!m_database.isServer())
        return;
    const QString folder = m_station.section(u'@', 0, 0) + u'@';
    QSqlQuery query(m_database.connection());
    query.prepare(QStringLiteral("select distinct claim_station from order_data "
                                 "where claim_station like ?"));
    query.addBindValue(folder + u'%');
    if (!query.exec()) {
        m_database.note(query.lastError());
        return;
    }
    QStringList ended;
    while (query.next()) {
        const QString station = query.value(0).toString();
        const QString process = station.mid(folder.size());
        if (ProcessIdentity::isCurrent(process) || ProcessIdentity::ended(process))
            ended.append(station);
    }
    for (const QString& station : ended)
        clear(station, QStringLiteral("not (id = any(cast(? as bigint[])))"), kept);
}

void OrderClaims::release(const QList<qint64>& ids) {
    // A server that went away keeps the claims until they time out.
    if (!m_database.isServer() || ids.isEmpty() || !m_database.connection().isOpen())
        return;
    clear(m_station, QStringLiteral("id = any(cast(? as bigint[]))"), ids);
}

void OrderClaims::clear(const QString& station, const QString& idCondition,
                        const QList<qint64>& ids) {
    QSqlQuery query(m_database.connection());
    query.prepare(QStringLiteral("update order_data set claim_station = null, claim_time = null "
                                 "where claim_station = ? and ") +
                  idCondition);
    query.addBindValue(station);
    query.addBindValue(idArray(ids));
    if (!query.exec())
        m_database.note(query.lastError());
}

} // namespace mldd
