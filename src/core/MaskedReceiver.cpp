#include "MaskedReceiver.h"

#include "Order.h"

#include <QStringList>

#include <array>

namespace mldd::MaskedReceiver {

namespace {

// The columns a platform masks; the list condition and the order check read the same ones.
constexpr std::array<QString Order::*, 4> kMaskedMembers{&Order::buyName, &Order::buyPhone1,
                                                         &Order::buyPhone2, &Order::buyAddress};
constexpr std::array<const char*, 4> kMaskedColumns{"buy_name", "buy_phone1", "buy_phone2",
                                                    "buy_address"};

} // namespace

bool isMasked(const QString& text) {
    return text.contains(u'*') || text.contains(u'＊');
}

bool isMasked(const Order& order) {
    for (QString Order::*member : kMaskedMembers)
        if (isMasked(order.*member))
            return true;
    return false;
}

SqlCondition condition() {
    SqlCondition result;
    QStringList alternatives;
    for (const char* column : kMaskedColumns) {
        for (const QChar star : {QChar(u'*'), QChar(u'＊')}) {
            alternatives.append(QStringLiteral("%1 like ?").arg(QLatin1StringView(column)));
            result.values.append(QString(u'%') + star + u'%');
        }
    }
    result.sql = QStringLiteral(" and (") + alternatives.join(QStringLiteral(" or ")) + u')';
    return result;
}

} // namespace mldd::MaskedReceiver
