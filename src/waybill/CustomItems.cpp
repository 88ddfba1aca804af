#include "CustomItems.h"

#include "core/TextFile.h"

namespace mldd {

namespace {

const QString kMarker = QStringLiteral("ZDYDYX");
const QString kItemSeparator = QStringLiteral("[ZDYF]");
constexpr QChar kFieldSeparator = u'`';

QString boolText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString number(double value) {
    return QString::number(value, 'g', 15);
}

void readNumber(const QString& text, double& target, bool (*usable)(double)) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (ok && usable(value))
        target = value;
}

void readBool(const QString& text, bool& target) {
    if (text.compare(u"True", Qt::CaseInsensitive) == 0)
        target = true;
    else if (text.compare(u"False", Qt::CaseInsensitive) == 0)
        target = false;
}

} // namespace

QString CustomItem::placeholder(int number) {
    return QStringLiteral("鼠标双击编辑自定义打印内容,可自定义项10项，当前第") +
           QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')) + QStringLiteral("项。");
}

CustomItem CustomItem::byDefault(int number) {
    CustomItem item;
    item.text = placeholder(number);
    return item;
}

bool CustomItem::prints(int number) const {
    return printed && !text.isEmpty() && text != placeholder(number);
}

QString CustomItem::storable(QString text) {
    text.replace(kItemSeparator, QStringLiteral("［ZDYF］"));
    text.replace(kFieldSeparator, u'＇').replace(u'\r', u' ').replace(u'\n', u' ');
    return text;
}

CustomItem CustomItem::parse(const QString& record, int number) {
    CustomItem item = byDefault(number);
    const QStringList fields = record.split(kFieldSeparator);
    const auto field = [&](int i) { return fields.value(i); };
    if (fields.size() > 1)
        item.text = field(1);
    if (fields.size() > 2)
        item.printed = field(2) != u"0";
    if (!field(3).isEmpty())
        item.font.family = field(3);
    readNumber(field(4), item.font.pointSize, isPointSize);
    if (field(5) == u"0")
        item.alignment = Alignment::Left;
    else if (field(5) == u"1")
        item.alignment = Alignment::Right;
    readBool(field(6), item.font.bold);
    readBool(field(7), item.font.italic);
    readBool(field(8), item.font.underline);
    readNumber(field(9), item.left, isPosition);
    readNumber(field(10), item.top, isPosition);
    readNumber(field(11), item.width, isPosition);
    readNumber(field(12), item.height, isPosition);
    return item;
}

QString CustomItem::toRecord() const {
    const QString align = alignment == Alignment::Left    ? QStringLiteral("0")
                          : alignment == Alignment::Right ? QStringLiteral("1")
                                                          : QStringLiteral("2");
    return QStringList{kMarker,
                       text,
                       printed ? QStringLiteral("1") : QStringLiteral("0"),
                       font.family,
                       number(font.pointSize),
                       align,
                       boolText(font.bold),
                       boolText(font.italic),
                       boolText(font.underline),
                       number(left),
                       number(top),
                       number(width),
                       number(height)}
        .join(kFieldSeparator);
}

namespace CustomItems {

QList<CustomItem> load(const QString& path) {
    const TextFileContent content = TextFile::read(path);
    const QStringList records =
        content.ok() ? content.lines.join(QString()).split(kItemSeparator) : QStringList();
    QList<CustomItem> items;
    for (int i = 0; i < kCount; ++i)
        items.append(i < records.size() ? CustomItem::parse(records[i], i + 1)
                                        : CustomItem::byDefault(i + 1));
    return items;
}

bool save(const QString& path, const QList<CustomItem>& items, QString* error) {
    QStringList records;
    for (const CustomItem& item : items)
        records.append(item.toRecord());
    return TextFile::write(path, {records.join(kItemSeparator)}, error);
}

} // namespace CustomItems
} // namespace mldd
