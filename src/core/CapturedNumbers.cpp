#include "CapturedNumbers.h"

#include "OrderDatabase.h"
#include "PreparedIds.h"

#include <QSqlError>
#include <QSqlQuery>

namespace mldd {

QSet<QString> CapturedNumbers::capturedOf(const QString& shop, const QStringList& numbers) const {
    QSet<QString> found;
    PreparedIds lookup(m_database, QStringLiteral("select 1 from captured_numbers "
                                                  "where shop = ? and order_sign = ?"));
    for (const QString& number : numbers) {
        if (number.isEmpty())
            continue;
        const std::optional<std::vector<qint64>> rows = lookup.run({shop, number});
        if (!rows)
            break;
        if (!rows->empty())
            found.insert(number);
    }
    return found;
}

qint64 CapturedNumbers::add(const QString& shop, const QStringList& numbers) {
    qint64 added = 0;
    // Two stations may capture the same page; the second's numbers are there already.
    PreparedIds insert(m_database, QStringLiteral("insert into captured_numbers (shop, order_sign) "
                                                  "values (?, ?) on conflict do nothing"));
    for (const QString& number : numbers) {
        const std::optional<qint64> rows = insert.write({shop, number});
        if (!rows)
            return -1;
        added += *rows;
    }
    return added;
}

QList<CapturedNumbers::ShopList> CapturedNumbers::shops() const {
    QList<ShopList> lists;
    QSqlQuery query(m_database.connection());
    if (!query.exec(QStringLiteral(
            "select shop, count(*) from captured_numbers group by shop order by shop"))) {
        m_database.note(query.lastError());
        return lists;
    }
    while (query.next())
        lists.append({query.value(0).toString(), query.value(1).toLongLong()});
    return lists;
}

qint64 CapturedNumbers::clear(const QString& shop) {
    qint64 removed = 0;
    const bool done = m_database.inTransaction([&] {
        QSqlQuery remove(m_database.connection());
        if (shop.isEmpty()) {
            remove.prepare(QStringLiteral("delete from captured_numbers"));
        } else {
            remove.prepare(QStringLiteral("delete from captured_numbers where shop = ?"));
            remove.addBindValue(shop);
        }
        if (!remove.exec()) {
            m_database.note(remove.lastError());
            return false;
        }
        removed = remove.numRowsAffected();
        return true;
    });
    return done ? removed : -1;
}

} // namespace mldd
