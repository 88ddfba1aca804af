#include "ComposeShippingList.h"

#include "GoodsTable.h"

#include "core/DeliveryAddress.h"
#include "waybill/Code128.h"
#include "waybill/FontFaces.h"
#include "waybill/TextMetrics.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace mldd {

namespace {

constexpr double kMargin = 567; // one centimetre around the list
constexpr double kPadding = 60; // inside a table cell, and between items
constexpr double kRuleWidth = 10;
constexpr double kBarHeight = 700;
constexpr double kBarcodeUnit = 12; // 24-twip modules: three dots at 180 and 203 dpi, five at 300
constexpr double kDefaultPointSize = 10.5;
constexpr double kColumnShares[] = {0.10, 0.36, 0.12, 0.14, 0.14, 0.14};

// Where composing stopped, for the number in front of the paper message.
enum Place {
    OrderItems = 1,
    Barcodes = 2,
    SellerTexts = 3,
    TableHeader = 5,
    SummaryRow = 6,
    Capitals = 7,
    ClosingItems = 8,
    GoodsRows = 9
};

enum class Align { Left, Centre, Right };

struct Style {
    FontSpec font;
    Align align = Align::Left;
};

// A laid-out part of the list, positioned from its own top; placed on pages later.
struct Piece {
    PageModel content;
    double height = 0;
    int cells = 0;
    Place place = OrderItems;
};

Style styleOf(const QStringList& fields) {
    Style style;
    style.font.family = FontFaces::printingFace(fields[FaHuoSet::FontName]);
    bool ok = false;
    const double size = fields[FaHuoSet::FontSize].toDouble(&ok);
    style.font.pointSize = ok && isPointSize(size) ? size : kDefaultPointSize;
    style.font.bold = fields[FaHuoSet::Bold] == u"1";
    style.font.italic = fields[FaHuoSet::Italic] == u"1";
    style.font.underline = fields[FaHuoSet::Underline] == u"1";
    const QString& align = fields[FaHuoSet::Alignment];
    style.align = align == u"居中" ? Align::Centre : align == u"居右" ? Align::Right : Align::Left;
    return style;
}

double alignedLeft(Align align, double left, double width, double used) {
    switch (align) {
    case Align::Centre:
        return left + (width - used) / 2;
    case Align::Right:
        return left + width - used;
    case Align::Left:
        break;
    }
    return left;
}

void translate(PageModel& page, const PageModel& piece, double dy) {
    for (TextLine line : piece.texts) {
        line.top += dy;
        page.texts.append(line);
    }
    for (BarcodeBars barcode : piece.barcodes) {
        barcode.moveBy(0, dy);
        page.barcodes.append(barcode);
    }
    for (RuleLine rule : piece.rules) {
        rule.y1 += dy;
        rule.y2 += dy;
        page.rules.append(rule);
    }
}

class Composer {
public:
    Composer(const Order& order, const ShippingPaper& paper, QDate today, TextMetrics& metrics)
        : m_order(order), m_paper(paper.size), m_today(today), m_metrics(metrics),
          m_width(std::max(0.0, paper.size.width() - 2 * kMargin)),
          m_goods(GoodsTable::fromGoods(order.buyGoods)) {}

    ShippingListPages compose(const FaHuoSet& design);

private:
    std::optional<Piece> itemPiece(const QString& name, const QStringList& fields);
    void addTable(const FaHuoSet& design);
    Piece textPiece(const QString& text, const Style& style, Place place, double left, double width,
                    double top = 0);
    std::optional<Piece> barcodePiece(const QString& value, const Style& style);
    Piece rowPiece(const QStringList& cells, const Style& style, Place place);
    QStringList wrapped(const QString& text, const FontSpec& font, double width);
    QString orderNumberForBarcode() const;

    const Order& m_order;
    QSizeF m_paper;
    QDate m_today;
    TextMetrics& m_metrics;
    double m_width;
    GoodsTable m_goods;

    QList<Piece> m_before; // fixed items above the table (its header included)
    QList<Piece> m_rows;   // goods rows and the summary row, paged
    QList<Piece> m_after;  // fixed items below the table
    bool m_tablePlaced = false;
};

QStringList Composer::wrapped(const QString& text, const FontSpec& font, double width) {
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    QStringList lines;
    for (const QString& line : text.split(lineBreak))
        lines += width > 0 ? m_metrics.wrap(font, line, width) : QStringList{line};
    return lines;
}

Piece Composer::textPiece(const QString& text, const Style& style, Place place, double left,
                          double width, double top) {
    Piece piece;
    piece.place = place;
    piece.cells = 1;
    const double lineHeight = m_metrics.lineHeight(style.font);
    for (const QString& line : wrapped(text, style.font, width)) {
        if (!line.isEmpty()) {
            const double used = m_metrics.width(style.font, line);
            piece.content.texts.append(
                TextLine{alignedLeft(style.align, left, width, used), top, line, style.font});
        }
        top += lineHeight;
    }
    piece.height = top + kPadding;
    return piece;
}

std::optional<Piece> Composer::barcodePiece(const QString& value, const Style& style) {
    if (value.isEmpty() || !Code128::encode(value))
        return std::nullopt;
    Piece piece;
    piece.place = Barcodes;
    piece.cells = 1;
    const double width = std::min(m_width, 22 * double(value.size()) * kBarcodeUnit);
    const double height = kBarHeight + m_metrics.lineHeight(style.font);
    Code128::draw(piece.content, m_metrics, value,
                  Code128::Field{alignedLeft(style.align, kMargin, m_width, width), 0, width,
                                 height, true, style.font});
    piece.height = height + kPadding;
    return piece;
}

Piece Composer::rowPiece(const QStringList& cells, const Style& style, Place place) {
    Piece piece;
    piece.place = place;
    piece.cells = int(std::size(kColumnShares));
    const double lineHeight = m_metrics.lineHeight(style.font);
    double left = kMargin;
    qsizetype lines = 1;
    for (qsizetype column = 0; column < qsizetype(std::size(kColumnShares)); ++column) {
        const double width = kColumnShares[column] * m_width;
        const double inner = std::max(0.0, width - 2 * kPadding);
        const QStringList cellLines =
            column < cells.size() ? wrapped(cells[column], style.font, inner) : QStringList();
        for (qsizetype i = 0; i < cellLines.size(); ++i) {
            const double used = m_metrics.width(style.font, cellLines[i]);
            piece.content.texts.append(
                TextLine{alignedLeft(style.align, left + kPadding, inner, used),
                         kPadding + double(i) * lineHeight, cellLines[i], style.font});
        }
        lines = std::max(lines, cellLines.size());
        left += width;
    }
    piece.height = 2 * kPadding + double(lines) * lineHeight;
    piece.content.rules.append(
        RuleLine{kMargin, piece.height, kMargin + m_width, piece.height, kRuleWidth});
    return piece;
}

QString Composer::orderNumberForBarcode() const {
    // Order numbers are "marketplace:number"; a Chinese marketplace word has no bars.
    if (Code128::encode(m_order.orderSign))
        return m_order.orderSign;
    return m_order.orderSign.section(u':', 1);
}

std::optional<Piece> Composer::itemPiece(const QString& name, const QStringList& fields) {
    const Style style = styleOf(fields);
    const auto text = [&](const QString& value, Place place) -> std::optional<Piece> {
        if (value.isEmpty())
            return std::nullopt;
        return textPiece(value, style, place, kMargin, m_width);
    };
    if (name == u"标题")
        return text(fields[FaHuoSet::Text], OrderItems);
    if (name == u"订单编号")
        return text(m_order.orderSign, OrderItems);
    if (name == u"订单条码")
        return barcodePiece(orderNumberForBarcode(), style);
    if (name == u"快递单号")
        return text(m_order.wuliuCode, OrderItems);
    if (name == u"快递条码")
        return barcodePiece(m_order.wuliuCode, style);
    if (name == u"买家姓名")
        return text(m_order.buyName, OrderItems);
    if (name == u"买家ID")
        return text(m_order.buyId, OrderItems);
    if (name == u"买家电话")
        return text(QStringList{m_order.buyPhone1, m_order.buyPhone2}
                        .filter(QRegularExpression(QStringLiteral("\\S")))
                        .join(u' '),
                    OrderItems);
    if (name == u"买家邮编")
        return text(m_order.buyZipcode, OrderItems);
    if (name == u"收货地址")
        return text(DeliveryAddress::full(m_order), OrderItems);
    if (name == u"发货日期")
        return text(m_today.toString(QStringLiteral("yyyy-MM-dd")), OrderItems);
    if (name == u"卖家姓名" || name == u"卖家ID" || name == u"卖家联系电话" || name == u"卖家寄语")
        return text(fields[FaHuoSet::Text], SellerTexts);
    if (name == u"总计人民币大写")
        return text(m_goods.capitalAmount(), Capitals);
    if (name == u"买家留言")
        return text(m_order.buyLy, ClosingItems);
    if (name == u"卖家备注")
        return text(QStringLiteral("卖家备注：") + m_order.sellerMem, ClosingItems);
    return std::nullopt;
}

void Composer::addTable(const FaHuoSet& design) {
    m_tablePlaced = true;
    const auto shown = [&](const QString& name) -> std::optional<Style> {
        const auto fields = design.item(name);
        if (!fields || fields->at(FaHuoSet::Shown) != u"1")
            return std::nullopt;
        return styleOf(*fields);
    };
    if (const auto style = shown(QStringLiteral("商品标题"))) {
        Piece header = rowPiece(GoodsTable::captions(), *style, TableHeader);
        header.content.rules.append(RuleLine{kMargin, 0, kMargin + m_width, 0, kRuleWidth});
        m_before.append(header);
    }
    if (const auto style = shown(QStringLiteral("商品内容"))) {
        for (const QStringList& row : m_goods.rows) {
            // Rows past the cell store's end can never be placed: laying them out would only take
            // time.
            if (m_rows.size() * qsizetype(std::size(kColumnShares)) > kMaxShippingListCells)
                break;
            m_rows.append(rowPiece(row, *style, GoodsRows));
        }
    }
    if (const auto style = shown(QStringLiteral("合计"))) {
        // Padded above like the goods rows.
        Piece summary = textPiece(m_goods.summary(), *style, SummaryRow, kMargin + kPadding,
                                  m_width - 2 * kPadding, kPadding);
        summary.cells = int(std::size(kColumnShares));
        summary.content.rules.append(
            RuleLine{kMargin, summary.height, kMargin + m_width, summary.height, kRuleWidth});
        m_rows.append(summary);
    }
}

ShippingListPages Composer::compose(const FaHuoSet& design) {
    static const QStringList tableItems{QStringLiteral("商品标题"), QStringLiteral("商品内容"),
                                        QStringLiteral("合计")};
    for (qsizetype i = 0; i < design.recordCount(); ++i) {
        const std::optional<QStringList> fields = design.record(i);
        if (!fields)
            continue;
        const QString& name = fields->at(FaHuoSet::Name);
        if (tableItems.contains(name)) {
            if (!m_tablePlaced)
                addTable(design);
            continue;
        }
        if (fields->at(FaHuoSet::Shown) != u"1")
            continue;
        if (std::optional<Piece> piece = itemPiece(name, *fields))
            (m_tablePlaced ? m_after : m_before).append(std::move(*piece));
    }

    double fixedHeight = 2 * kMargin;
    for (const QList<Piece>* pieces : {&m_before, &m_after})
        for (const Piece& piece : *pieces)
            fixedHeight += piece.height;
    const double rowSpace = m_paper.height() - fixedHeight;

    ShippingListPages result;
    int cells = 0;
    // Lays one page out around its goods rows; false when the cell store is full.
    const auto addPage = [&](const QList<const Piece*>& rows, double spare) {
        PageModel& page = result.pages.emplace_back();
        page.size = m_paper;
        result.spareHeights.append(spare);
        double top = kMargin;
        const auto place = [&](const Piece& piece) {
            if (cells + piece.cells > kMaxShippingListCells) {
                result.stopped = paperTooSmall(piece.place);
                return false;
            }
            translate(page, piece.content, top);
            top += piece.height;
            cells += piece.cells;
            return true;
        };
        return std::all_of(m_before.begin(), m_before.end(), place) &&
               std::all_of(rows.begin(), rows.end(),
                           [&](const Piece* row) { return place(*row); }) &&
               std::all_of(m_after.begin(), m_after.end(), place);
    };

    // Rows go onto a page while they fit; a row never splits between two pages.
    QList<const Piece*> rows;
    double spare = rowSpace;
    for (const Piece& row : m_rows) {
        if (row.height <= spare) {
            rows.append(&row);
            spare -= row.height;
            continue;
        }
        if (rows.isEmpty()) { // not even on a page of its own
            if (addPage(rows, spare))
                result.stopped = paperTooSmall(row.place);
            return result;
        }
        if (!addPage(rows, spare))
            return result;
        rows = {&row};
        spare = rowSpace - row.height;
    }
    addPage(rows, spare);
    return result;
}

} // namespace

Notice paperTooSmall(int place) {
    return Notice{QString::number(place) +
                      QStringLiteral("-您好，发货单纸张小，内容打不下，设置大一点的纸张。"),
                  QStringLiteral("墨岚打单"), Notice::Icon::Critical};
}

ShippingListPages ComposeShippingList(const Order& order, const FaHuoSet& design,
                                      const ShippingPaper& paper, QDate today,
                                      TextMetrics& metrics) {
    return Composer(order, paper, today, metrics).compose(design);
}

} // namespace mldd
