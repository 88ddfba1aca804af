#include "ComposeShippingList.h"

#include "GoodsTable.h"
#include "ListPageMeasures.h"

#include "core/DeliveryAddress.h"
#include "waybill/Code128.h"
#include "waybill/FontFaces.h"
#include "waybill/TextMetrics.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace mldd {

namespace {

using namespace ListPageMeasures;
constexpr double kNarrowMargin = 170; // three millimetres on label paper
constexpr double kBarHeight = 700;
constexpr double kBarcodeUnit = 12; // 24-twip modules: three dots at 180 and 203 dpi, five at 300
constexpr double kDefaultPointSize = 10.5;

// A column of the goods table: which cell of a row it shows, and its share of the width.
struct Column {
    int cell;
    double share;
};
constexpr Column kWideColumns[] = {{0, 0.10}, {1, 0.36}, {2, 0.12},
                                   {3, 0.14}, {4, 0.14}, {5, 0.14}};
// Thermal labels (76 or 100 mm wide) keep number, name, quantity and total; their shares are
// measured from the texts (fitNarrowColumns), the name taking what the figures leave.
constexpr Column kNarrowColumns[] = {{0, 0.10}, {1, 0.52}, {2, 0.14}, {5, 0.24}};
constexpr int kNameCell = 1;
// The name keeps at least this share however wide the figures are: it is what is packed.
constexpr double kLeastNameShare = 0.3;
// Paper up to this wide is label paper: a slim margin, four columns, and continuation pages
// that repeat only the order number and the captions.
constexpr double kNarrowPaper = 110 * kTwipsPerMillimetre;

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
          m_narrow(paper.size.width() <= kNarrowPaper),
          m_margin(m_narrow ? kNarrowMargin : kMargin),
          m_width(std::max(0.0, paper.size.width() - 2 * m_margin)),
          m_goods(GoodsTable::fromGoods(order.buyGoods)) {
        if (m_narrow)
            m_columns = {std::begin(kNarrowColumns), std::end(kNarrowColumns)};
        else
            m_columns = {std::begin(kWideColumns), std::end(kWideColumns)};
    }

    ShippingListPages compose(const FaHuoSet& design);

private:
    std::optional<Piece> itemPiece(const QString& name, const QStringList& fields);
    void addTable(const FaHuoSet& design);
    Piece textPiece(const QString& text, const Style& style, Place place, double left, double width,
                    double top = 0);
    std::optional<Piece> barcodePiece(const QString& value, const Style& style);
    Piece rowPiece(const QStringList& cells, const Style& style, Place place);
    QStringList wrapped(const QString& text, const FontSpec& font, double width);
    /** Label paper: each figure column as wide as its caption and figures, the name the rest. */
    void fitNarrowColumns(const std::optional<Style>& header, const std::optional<Style>& rows);
    QString orderNumberForBarcode() const;
    /**
     * Lays `head`, the rows that fit under it and `tail` out on a new page;
     * false when the cell store is full.
     */
    bool addPage(ShippingListPages& result, const QList<Piece>& head,
                 const QList<const Piece*>& rows, const QList<Piece>& tail, double spare);
    double spaceUnder(const QList<Piece>& head, const QList<Piece>& tail) const;
    /** Label paper: what follows the first page's rows goes on under a short head. */
    ShippingListPages narrowPages();

    const Order& m_order;
    QSizeF m_paper;
    QDate m_today;
    TextMetrics& m_metrics;
    bool m_narrow;
    double m_margin;
    double m_width;
    QList<Column> m_columns;
    GoodsTable m_goods;
    int m_cells = 0;
    std::optional<Piece> m_header; // the captions row, repeated on label paper

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
                  Code128::Field{alignedLeft(style.align, m_margin, m_width, width), 0, width,
                                 height, true, style.font});
    piece.height = height + kPadding;
    return piece;
}

Piece Composer::rowPiece(const QStringList& cells, const Style& style, Place place) {
    Piece piece;
    piece.place = place;
    piece.cells = int(m_columns.size());
    const double lineHeight = m_metrics.lineHeight(style.font);
    double left = m_margin;
    qsizetype lines = 1;
    for (const Column& column : m_columns) {
        const double width = column.share * m_width;
        const double inner = std::max(0.0, width - 2 * kPadding);
        // The captions' padding spaces would only push a caption onto a second line.
        const QStringList cellLines = column.cell < cells.size()
                                          ? wrapped(cells[column.cell].trimmed(), style.font, inner)
                                          : QStringList();
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
        RuleLine{m_margin, piece.height, m_margin + m_width, piece.height, kRuleWidth});
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
        return textPiece(value, style, place, m_margin, m_width);
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
    if (m_narrow)
        fitNarrowColumns(shown(QStringLiteral("商品标题")), shown(QStringLiteral("商品内容")));
    if (const auto style = shown(QStringLiteral("商品标题"))) {
        Piece header = rowPiece(GoodsTable::captions(), *style, TableHeader);
        header.content.rules.append(RuleLine{m_margin, 0, m_margin + m_width, 0, kRuleWidth});
        m_header = header;
        m_before.append(header);
    }
    if (const auto style = shown(QStringLiteral("商品内容"))) {
        for (const QStringList& row : m_goods.rows) {
            // Rows past the cell store's end can never be placed: laying them out would only take
            // time.
            if (m_rows.size() * m_columns.size() > kMaxShippingListCells)
                break;
            m_rows.append(rowPiece(row, *style, GoodsRows));
        }
    }
    if (const auto style = shown(QStringLiteral("合计"))) {
        // Padded above like the goods rows.
        Piece summary = textPiece(m_goods.summary(), *style, SummaryRow, m_margin + kPadding,
                                  m_width - 2 * kPadding, kPadding);
        summary.cells = int(m_columns.size());
        summary.content.rules.append(
            RuleLine{m_margin, summary.height, m_margin + m_width, summary.height, kRuleWidth});
        m_rows.append(summary);
    }
}

void Composer::fitNarrowColumns(const std::optional<Style>& header,
                                const std::optional<Style>& rows) {
    const QStringList captions = GoodsTable::captions();
    double figures = 0;
    for (Column& column : m_columns) {
        if (column.cell == kNameCell)
            continue;
        double widest = 0;
        if (header)
            widest = m_metrics.width(header->font, captions.value(column.cell).trimmed());
        if (rows)
            for (const QStringList& row : m_goods.rows)
                widest =
                    std::max(widest, m_metrics.width(rows->font, row.value(column.cell).trimmed()));
        // A twip to spare: a text exactly as wide as its line is still broken by the layout.
        column.share = (widest + 2 * kPadding + 1) / std::max(1.0, m_width);
        figures += column.share;
    }
    // Figures too wide for the label give up room alike; their captions may then wrap.
    const double squeeze = std::min(1.0, (1 - kLeastNameShare) / std::max(figures, 1e-9));
    for (Column& column : m_columns)
        column.share = column.cell == kNameCell ? 1 - figures * squeeze : column.share * squeeze;
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

    if (m_narrow)
        return narrowPages();
    const double rowSpace = spaceUnder(m_before, m_after);
    ShippingListPages result;
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
            if (addPage(result, m_before, rows, m_after, spare))
                result.stopped = paperTooSmall(row.place);
            return result;
        }
        if (!addPage(result, m_before, rows, m_after, spare))
            return result;
        rows = {&row};
        spare = rowSpace - row.height;
    }
    addPage(result, m_before, rows, m_after, spare);
    return result;
}

double Composer::spaceUnder(const QList<Piece>& head, const QList<Piece>& tail) const {
    double fixedHeight = 2 * m_margin;
    for (const QList<Piece>* pieces : {&head, &tail})
        for (const Piece& piece : *pieces)
            fixedHeight += piece.height;
    return m_paper.height() - fixedHeight;
}

bool Composer::addPage(ShippingListPages& result, const QList<Piece>& head,
                       const QList<const Piece*>& rows, const QList<Piece>& tail, double spare) {
    PageModel& page = result.pages.emplace_back();
    page.size = m_paper;
    result.spareHeights.append(spare);
    double top = m_margin;
    const auto place = [&](const Piece& piece) {
        if (m_cells + piece.cells > kMaxShippingListCells) {
            result.stopped = paperTooSmall(piece.place);
            return false;
        }
        translate(page, piece.content, top);
        top += piece.height;
        m_cells += piece.cells;
        return true;
    };
    return std::all_of(head.begin(), head.end(), place) &&
           std::all_of(rows.begin(), rows.end(), [&](const Piece* row) { return place(*row); }) &&
           std::all_of(tail.begin(), tail.end(), place);
}

ShippingListPages Composer::narrowPages() {
    // The items below the table follow the rows like rows: on a label they would leave no room.
    QList<const Piece*> flowing;
    for (const Piece& row : m_rows)
        flowing.append(&row);
    for (const Piece& piece : m_after)
        flowing.append(&piece);
    Style plain;
    plain.font.family = FontFaces::printingFace(QStringLiteral("宋体"));
    plain.font.pointSize = kDefaultPointSize;
    QList<Piece> again{textPiece(m_order.orderSign + QStringLiteral("（续）"), plain, OrderItems,
                                 m_margin, m_width)};
    if (m_header)
        again.append(*m_header);

    ShippingListPages result;
    const QList<Piece>* head = &m_before;
    QList<const Piece*> rows;
    double spare = spaceUnder(*head, {});
    if (spare < 0) { // the items above the table alone overfill the label
        if (addPage(result, *head, rows, {}, spare))
            result.stopped = paperTooSmall(flowing.isEmpty() ? ClosingItems : flowing[0]->place);
        return result;
    }
    for (const Piece* row : flowing) {
        if (row->height <= spare) {
            rows.append(row);
            spare -= row->height;
            continue;
        }
        if (rows.isEmpty() && head == &again) { // not even on a page of its own
            if (addPage(result, *head, rows, {}, spare))
                result.stopped = paperTooSmall(row->place);
            return result;
        }
        if (!addPage(result, *head, rows, {}, spare))
            return result;
        head = &again;
        rows = {row};
        spare = spaceUnder(*head, {}) - row->height;
        if (spare < 0) {
            addPage(result, *head, {}, {}, spare + row->height);
            result.stopped = paperTooSmall(row->place);
            return result;
        }
    }
    addPage(result, *head, rows, {}, spare);
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
