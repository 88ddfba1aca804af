#include "RecordFields.h"

#include <cmath>

namespace mldd::RecordFields {

namespace {

QString twips(double value) {
    return QString::number(std::lround(value));
}

QString boxText(const QString& code, const QRectF& box) {
    return QStringList{code, twips(box.left()), twips(box.top()), twips(box.width()),
                       twips(box.height())}
        .join(u'^');
}

} // namespace

QString field(const QString& record, int field) {
    return record.split(ItemRecord::kFieldSeparator).value(field);
}

QString withField(const QString& record, int field, const QString& value) {
    QStringList fields = record.split(ItemRecord::kFieldSeparator);
    fields.resize(kCount);
    fields[field] = value;
    return fields.join(ItemRecord::kFieldSeparator);
}

QString withBox(const QString& record, const QRectF& box) {
    const QString code = field(record, kBox).section(u'^', 0, 0);
    const QString moved = withField(record, kBox, boxText(code, box));
    if (field(record, kWrap).startsWith(u"L^") &&
        twips(box.width()) != field(record, kBox).section(u'^', 3, 3))
        return withField(moved, kWrap, wrapField(WrapMode::Width, box.width()));
    return moved;
}

QString withAnchor(const QString& record, const QString& code) {
    QStringList box = field(record, kBox).split(u'^');
    box[0] = code;
    return withField(record, kBox, box.join(u'^'));
}

QString wrapField(WrapMode mode, double width, int count) {
    switch (mode) {
    case WrapMode::None:
        break;
    case WrapMode::Width:
        return QStringLiteral("L^") + twips(width);
    case WrapMode::Count:
        return QStringLiteral("M^") + QString::number(count);
    }
    return QStringLiteral("N^");
}

std::optional<int> wrapCount(const QString& typed) {
    QString digits;
    for (QChar c : typed)
        if (c >= u'0' && c <= u'9')
            digits += c;
    bool ok = false;
    const int count = digits.left(6).toInt(&ok);
    if (!ok || count <= 1)
        return std::nullopt;
    return count;
}

QString make(const QString& caption, const QString& source, const QRectF& box) {
    return QStringList{kPrinted,
                       QStringLiteral("N"),
                       source,
                       caption,
                       QStringLiteral("宋体"),
                       QStringLiteral("10"),
                       alignmentCode(Alignment::Left),
                       boxText(QStringLiteral("LT"), box),
                       wrapField(WrapMode::None, 0)}
        .join(ItemRecord::kFieldSeparator);
}

QString alignmentCode(Alignment alignment) {
    switch (alignment) {
    case Alignment::Left:
        break;
    case Alignment::Right:
        return QStringLiteral("1");
    case Alignment::Centre:
        return QStringLiteral("2");
    }
    return QStringLiteral("0");
}

} // namespace mldd::RecordFields
