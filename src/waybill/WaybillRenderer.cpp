#include "WaybillRenderer.h"

#include "Code128.h"
#include "CustomItems.h"
#include "FontFaces.h"
#include "SizeLadder.h"
#include "WaybillTemplate.h"

#include "core/DeliveryAddress.h"

#include <cmath>

namespace mldd {

namespace {

using S = PrintSwitches;

const QString kLineBreak = QStringLiteral("\r\n");
const QString kKaitiGb2312 = QStringLiteral("楷体_GB2312");
const QString kDefaultFace = QStringLiteral("宋体");
constexpr double kDefaultSize = 9;

struct OrderSource {
    const char* name;
    QString Order::*column;
    int switchNumber; // -1: always printed
};

struct SenderSource {
    const char* name;
    QString SenderProfile::*column;
    int switchNumber;
};

// buy_goods and buy_end are worked out apart: the goods may be shortened and
// the destination has three switches of its own. The order and tracking
// numbers are there for the barcode items of the forms.
constexpr OrderSource kOrderSources[]{
    {"ORDER_DATA:order_sign", &Order::orderSign, -1},
    {"ORDER_DATA:wuliu_code", &Order::wuliuCode, -1},
    {"ORDER_DATA:my_id", &Order::myId, S::MyId},
    {"ORDER_DATA:buy_id", &Order::buyId, S::BuyId},
    {"ORDER_DATA:buy_name", &Order::buyName, -1},
    {"ORDER_DATA:buy_phone1", &Order::buyPhone1, S::BuyPhone1},
    {"ORDER_DATA:buy_phone2", &Order::buyPhone2, S::BuyPhone2},
    {"ORDER_DATA:buy_zipcode", &Order::buyZipcode, S::BuyZipcode},
    {"ORDER_DATA:buy_address", &Order::buyAddress, -1},
    {"ORDER_DATA:buy_address_sheng", &Order::buyAddressSheng, -1},
    {"ORDER_DATA:buy_address_shi", &Order::buyAddressShi, -1},
    {"ORDER_DATA:buy_address_xian", &Order::buyAddressXian, -1},
    {"ORDER_DATA:buy_njpm", &Order::buyNjpm, S::BuyContents},
    {"ORDER_DATA:buy_ly", &Order::buyLy, S::BuyMessage},
    {"ORDER_DATA:seller_mem", &Order::sellerMem, S::SellerMemo},
};

constexpr SenderSource kSenderSources[]{
    {"MY_DATA:my_idh", &SenderProfile::myIdh, S::MyId},
    {"MY_DATA:my_Co", &SenderProfile::company, S::MyCompany},
    {"MY_DATA:my_fjr", &SenderProfile::name, S::MyName},
    {"MY_DATA:my_phone1", &SenderProfile::phone1, S::MyPhone1},
    {"MY_DATA:my_phone2", &SenderProfile::phone2, S::MyPhone2},
    {"MY_DATA:my_zipcode", &SenderProfile::zipcode, S::MyZipcode},
    {"MY_DATA:my_address", &SenderProfile::address, S::MyAddress},
    {"MY_DATA:my_address_sheng", &SenderProfile::province, -1},
    {"MY_DATA:my_address_shi", &SenderProfile::city, -1},
    {"MY_DATA:my_address_xian", &SenderProfile::county, -1},
    {"MY_DATA:my_jbr", &SenderProfile::handler, S::MyHandler},
    {"MY_DATA:my_start", &SenderProfile::start, S::MyStart},
};

// The article name alone, line by line: the first of the blank-separated parts.
QString simplifiedGoods(const QString& goods) {
    QStringList lines = goods.split(kLineBreak);
    for (QString& line : lines)
        line = line.section(u' ', 0, 0, QString::SectionSkipEmpty);
    return lines.join(kLineBreak);
}

// Lines at CR LF; a lone CR or LF ends a line too.
QStringList splitAtLineEnds(const QString& text) {
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(line);
            line.clear();
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            line += c;
        }
    }
    lines.append(line);
    return lines;
}

QString cutEvery(const QString& text, int count) {
    QStringList pieces;
    for (qsizetype at = 0; at < text.size(); at += count)
        pieces.append(text.mid(at, count));
    return pieces.join(kLineBreak);
}

// An empty size keeps the default; one that is no size on paper makes the item draw nothing.
bool usableSize(const QString& text) {
    if (text.isEmpty())
        return true;
    bool ok = false;
    const double size = text.toDouble(&ok);
    return ok && isPointSize(size);
}

LaidOutItem::Barcode barcodeOf(const QString& kind) {
    if (kind == u"T")
        return LaidOutItem::Barcode::WithText;
    if (kind == u"TN")
        return LaidOutItem::Barcode::WithoutText;
    return LaidOutItem::Barcode::None;
}

// The stored box moved so that its anchor point stays put while the box takes `actual`'s size.
QPointF anchored(Anchor anchor, double left, double top, double width, double height,
                 const QSizeF& actual) {
    const double dx = width - actual.width();
    const double dy = height - actual.height();
    const auto half = [](double d) { return double(std::lround(d / 2)); };
    switch (anchor) {
    case Anchor::LT:
        return {left, top};
    case Anchor::LB:
        return {left, top + dy};
    case Anchor::LCH:
        return {left, top + half(dy)};
    case Anchor::CC:
        return {left + half(dx), top + half(dy)};
    case Anchor::RT:
        return {left + dx, top};
    case Anchor::RB:
        return {left + dx, top + dy};
    case Anchor::RCH:
        return {left + dx, top + half(dy)};
    }
    return {left, top};
}

} // namespace

WaybillSettings WaybillSettings::fromPrintSettings(const PrintSettings& settings) {
    WaybillSettings result;
    result.switches = PrintSwitches::fromSettings(settings);
    result.dayOffset = settings.sysDay;
    result.sizeStep = SizeLadder::stepOf(PrintSettings::sizeStepName(settings.fontSizeStep));
    result.kaitiFace = FontFaces::kaitiSubstitute(settings.fontType);
    return result;
}

QString WaybillRenderer::sourceValue(const QString& name, const WaybillInput& input) const {
    const PrintSwitches& on = m_settings.switches;
    const auto allowed = [&](int number) { return number < 0 || on.on[number]; };
    for (const OrderSource& source : kOrderSources)
        if (name == QLatin1String(source.name))
            return allowed(source.switchNumber) ? input.order.*source.column : QString();
    for (const SenderSource& source : kSenderSources)
        if (name == QLatin1String(source.name))
            return input.sender && allowed(source.switchNumber) ? input.sender->*source.column
                                                                : QString();
    const Order& order = input.order;
    if (name == u"ORDER_DATA:buy_goods")
        return on[S::SimplifyGoods] ? simplifiedGoods(order.buyGoods) : order.buyGoods;
    if (name == u"ORDER_DATA:buy_end") {
        if (!on[S::Destination])
            return QString();
        if (on[S::DestinationFullNames])
            return DeliveryAddress::region(order);
        if (on[S::DestinationCityCounty])
            return order.buyAddressShi + order.buyAddressXian;
        return order.buyEnd;
    }
    if (name == u"SYS:VbCrlf")
        return kLineBreak;
    if (!input.sender || !on[S::Date])
        return QString();
    if (name == u"SYS:Year")
        return input.today.toString(QStringLiteral("yyyy"));
    if (name == u"SYS:Month")
        return input.today.toString(QStringLiteral("MM"));
    if (name == u"SYS:Day")
        return input.today.addDays(m_settings.dayOffset).toString(QStringLiteral("dd"));
    return QString();
}

QString WaybillRenderer::evaluate(const QString& source, const WaybillInput& input) const {
    QString text;
    if (source.isEmpty())
        return text;
    const QStringList parts = source.split(u'+');
    for (const QString& part : parts) {
        const qsizetype bar = part.indexOf(u'|');
        const QString kind = bar < 0 ? part : part.left(bar);
        const QString value = bar < 0 ? QString() : part.mid(bar + 1);
        if (kind == u"C") {
            text += value;
        } else if (kind == u"B" || kind == u"T" || kind == u"TN") {
            // A municipality's city is not written again right after its province.
            if (value == u"ORDER_DATA:buy_address_shi" &&
                DeliveryAddress::cityRepeatsProvince(input.order) &&
                text.endsWith(input.order.buyAddressSheng))
                continue;
            text += sourceValue(value, input);
        } else if (kind == u"Y" && input.sender) {
            bool ok = false;
            const int n = value.trimmed().toInt(&ok);
            if (!ok || n < 1)
                continue;
            if (n < 7 && m_settings.switches[S::MyZipcode])
                text += input.sender->zipcode.mid(n - 1, 1);
            else if (n >= 7 && m_settings.switches[S::BuyZipcode])
                text += input.order.buyZipcode.mid(n - 7, 1);
        }
        // "L", "LS" and "F" address the view's line and shape elements and print nothing.
    }
    return text;
}

QStringList WaybillRenderer::breakLines(const ItemRecord& record, const QString& text,
                                        const FontSpec& font) {
    if (record.wrap == WrapMode::None)
        return splitAtLineEnds(text);
    const QString cut = record.wrap == WrapMode::Count ? cutEvery(text, record.wrapCount) : text;
    QStringList lines;
    for (const QString& line : splitAtLineEnds(cut)) {
        if (line.isEmpty())
            lines.append(line);
        else
            lines += m_metrics.wrap(font, line, *record.width);
    }
    return lines;
}

LaidOutItem WaybillRenderer::layoutItem(const ItemRecord& record, const WaybillInput& input) {
    LaidOutItem item;
    if (!record.printed || !record.left || !record.top || !record.width || !record.height)
        return item;
    if (!usableSize(record.sizeText))
        return item;
    item.text = evaluate(record.source, input);
    const QStringList parts = record.source.split(u'+');
    for (const QString& part : parts)
        if (const auto kind = barcodeOf(part.section(u'|', 0, 0));
            kind != LaidOutItem::Barcode::None)
            item.barcode = kind;

    QString face = record.face.isEmpty() ? kDefaultFace : record.face;
    if (face == kKaitiGb2312)
        face = m_settings.kaitiFace;
    item.font.family = FontFaces::printingFace(face);
    const double size = record.sizeText.isEmpty()
                            ? kDefaultSize
                            : SizeLadder::adjust(record.sizeText, m_settings.sizeStep);
    item.font.pointSize = size;
    item.font.bold = record.bold;
    item.alignment = record.alignment.value_or(Alignment::Left);

    const double left = std::round(*record.left);
    const double top = std::round(*record.top);
    const double width = std::round(*record.width);
    const double height = std::round(*record.height);
    item.visible = !item.text.isEmpty();
    if (item.barcode != LaidOutItem::Barcode::None) {
        // The bars fill the stored box, whatever the length of the number.
        item.box = QRectF(left, top, width, height);
        item.lines = QStringList{item.text};
        return item;
    }

    item.lines = breakLines(record, item.text, item.font);
    double textWidth = 0;
    for (const QString& line : std::as_const(item.lines))
        textWidth = std::max(textWidth, m_metrics.width(item.font, line));
    const QSizeF actual(record.wrap == WrapMode::None ? textWidth : width,
                        m_metrics.lineHeight(item.font) * item.lines.size());
    const QPointF topLeft =
        anchored(record.anchor.value_or(Anchor::LT), left, top, width, height, actual);
    item.box = QRectF(topLeft, actual);
    return item;
}

void WaybillRenderer::appendLines(PageModel& page, const QStringList& lines, const FontSpec& font,
                                  Alignment alignment, const QRectF& box) {
    const double lineHeight = m_metrics.lineHeight(font);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        double left = box.left();
        if (alignment != Alignment::Left) {
            const double spare = box.width() - m_metrics.width(font, lines[i]);
            left += alignment == Alignment::Right ? spare : spare / 2;
        }
        page.texts.append(TextLine{left, box.top() + double(i) * lineHeight, lines[i], font});
    }
}

void WaybillRenderer::appendCustomItem(PageModel& page, const CustomItem& item) {
    FontSpec font = item.font;
    font.family = FontFaces::printingFace(font.family);
    appendLines(page, splitAtLineEnds(item.text), font, item.alignment,
                QRectF(item.left, item.top, item.width, item.height));
}

void WaybillRenderer::appendItem(PageModel& page, const LaidOutItem& item) {
    if (!item.visible)
        return;
    if (item.barcode == LaidOutItem::Barcode::None) {
        appendLines(page, item.lines, item.font, item.alignment, item.box);
        return;
    }
    const Code128::Field field{item.box.left(),
                               item.box.top(),
                               item.box.width(),
                               item.box.height(),
                               item.barcode == LaidOutItem::Barcode::WithText,
                               item.font};
    Code128::draw(page, m_metrics, item.text, field);
}

PageModel WaybillRenderer::renderItem(ItemRecord record, const WaybillInput& input) {
    PageModel page;
    record.printed = true;
    appendItem(page, layoutItem(record, input));
    return page;
}

PageModel WaybillRenderer::renderCustomItem(const CustomItem& item) {
    PageModel page;
    appendCustomItem(page, item);
    return page;
}

PageModel WaybillRenderer::render(const WaybillTemplate& form, const WaybillInput& input) {
    PageModel page;
    page.size = form.paper;
    page.background = form.backgroundPath;
    for (const ItemRecord& record : form.items)
        appendItem(page, layoutItem(record, input));
    for (int i = 0; i < form.customItems.size(); ++i)
        if (form.customItems[i].prints(i + 1))
            appendCustomItem(page, form.customItems[i]);
    return page;
}

} // namespace mldd
