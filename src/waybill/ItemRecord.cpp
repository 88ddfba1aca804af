#include "ItemRecord.h"

#include "PageModel.h"

namespace mldd {

namespace {

constexpr qsizetype kElementsPerView = 41;

std::optional<double> position(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && isPosition(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<Alignment> alignmentFrom(const QString& code) {
    if (code == u"0")
        return Alignment::Left;
    if (code == u"1")
        return Alignment::Right;
    if (code == u"2")
        return Alignment::Centre;
    return std::nullopt;
}

} // namespace

std::optional<Anchor> ItemRecord::anchorFromCode(const QString& code) {
    static const QList<std::pair<QString, Anchor>> codes{
        {QStringLiteral("LT"), Anchor::LT},   {QStringLiteral("LB"), Anchor::LB},
        {QStringLiteral("LCH"), Anchor::LCH}, {QStringLiteral("CC"), Anchor::CC},
        {QStringLiteral("RT"), Anchor::RT},   {QStringLiteral("RB"), Anchor::RB},
        {QStringLiteral("RCH"), Anchor::RCH}};
    for (const auto& [name, anchor] : codes)
        if (name == code)
            return anchor;
    return std::nullopt;
}

ItemRecord ItemRecord::parse(const QString& record) {
    ItemRecord item;
    item.text = record;
    const QStringList fields = record.split(kFieldSeparator);
    const auto field = [&](int i) { return fields.value(i); };

    item.printed = field(0) == u"Y";
    item.bold = field(1) == u"Y";
    item.source = field(2);
    item.caption = field(3);
    item.face = field(4);
    item.sizeText = field(5).trimmed();
    item.alignment = alignmentFrom(field(6));

    const QStringList box = field(7).split(u'^');
    item.anchor = anchorFromCode(box.value(0));
    item.left = position(box.value(1));
    item.top = position(box.value(2));
    item.width = position(box.value(3));
    item.height = position(box.value(4));

    const QStringList wrap = field(8).split(u'^');
    if (wrap.value(0) == u"L") {
        item.wrap = WrapMode::Width;
    } else if (wrap.value(0) == u"M") {
        bool ok = false;
        const int count = wrap.value(1).trimmed().toInt(&ok);
        if (ok && count >= 1) {
            item.wrap = WrapMode::Count;
            item.wrapCount = count;
        }
    }
    return item;
}

QList<ItemRecord> ItemRecord::parseLayout(const QString& layout) {
    QList<ItemRecord> items;
    if (layout.isEmpty())
        return items;
    const QStringList records = layout.split(kRecordSeparator);
    for (const QString& record : records.first(std::min(records.size(), kElementsPerView)))
        items.append(parse(record));
    return items;
}

} // namespace mldd
