#include "LayoutCheck.h"

#include "ItemRecord.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace mldd::LayoutCheck {

namespace {

constexpr int kFields = 9;
constexpr int kBoxField = 7;
constexpr int kWrapField = 8;

// Field 7 "LT^1000^800^3000^300" and field 8 "N^", "L^3000" or "M^12", exactly.
bool boxAndWrapWhole(const QStringList& fields) {
    static const QRegularExpression box(QStringLiteral("^[A-Z]{2,3}(\\^-?\\d+(\\.\\d+)?){4}$"));
    static const QRegularExpression wrap(QStringLiteral("^(N\\^|[LM]\\^\\d+(\\.\\d+)?)$"));
    return box.match(fields[kBoxField]).hasMatch() && wrap.match(fields[kWrapField]).hasMatch();
}

} // namespace

std::optional<QString> cutShort(const QString& layout) {
    QStringList records = layout.split(ItemRecord::kRecordSeparator);
    while (!records.isEmpty() && records.last().isEmpty())
        records.removeLast();
    if (records.isEmpty())
        return std::nullopt; // a template the designer starts from nothing; printing refuses it
    const QStringList fields = records.last().split(ItemRecord::kFieldSeparator);
    if (fields.size() != kFields || !boxAndWrapWhole(fields))
        return QStringLiteral("版面的最后一项不完整，文件可能没有下载完");
    return std::nullopt;
}

std::optional<QString> lacksReceiver(const QList<ItemRecord>& items) {
    // Source names of any kind ("B|…", "T|…"), the parts of each item joined by "+".
    QStringList names;
    for (const ItemRecord& item : items) {
        for (const QString& part : item.source.split(u'+'))
            names.append(part.section(u'|', 1));
    }
    const auto has = [&](const QString& prefix) {
        return std::any_of(names.begin(), names.end(),
                           [&](const QString& name) { return name.startsWith(prefix); });
    };
    QStringList missing;
    if (!has(QStringLiteral("ORDER_DATA:buy_name")))
        missing.append(QStringLiteral("收件人姓名"));
    if (!has(QStringLiteral("ORDER_DATA:buy_phone")))
        missing.append(QStringLiteral("收件人电话"));
    if (!has(QStringLiteral("ORDER_DATA:buy_address")))
        missing.append(QStringLiteral("收件人地址"));
    if (missing.isEmpty())
        return std::nullopt;
    return QStringLiteral("版面缺少%1").arg(missing.join(u'、'));
}

} // namespace mldd::LayoutCheck
