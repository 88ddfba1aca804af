#include "PickingListPages.h"

#include "DecimalText.h"
#include "ListPageMeasures.h"

#include "waybill/FontFaces.h"
#include "waybill/TextMetrics.h"

#include <algorithm>
#include <array>

namespace mldd {

namespace {

using namespace ListPageMeasures;
constexpr std::array kColumnShares{0.08, 0.20, 0.48, 0.12, 0.12};
constexpr int kWrappedNameColumn = 2;

FontSpec font(double points, bool bold = false) {
    FontSpec face;
    face.family = FontFaces::printingFace(QStringLiteral("宋体"));
    face.pointSize = points;
    face.bold = bold;
    return face;
}

class Layout {
public:
    Layout(TextMetrics& metrics, QSizeF paper)
        : m_metrics(metrics), m_paper(paper), m_width(std::max(0.0, paper.width() - 2 * kMargin)) {}

    QList<PageModel> lay(const PickingList& list, const PickingListHead& head);

private:
    void newPage();
    /** Room for `height` more on this page, else a new page with the captions again. */
    void makeRoom(double height);
    void text(const QString& line, const FontSpec& face, bool centred = false);
    double rowHeight(const QStringList& cells, const FontSpec& face);
    void row(const QStringList& cells, const FontSpec& face);
    void captions();
    void rule() {
        m_pages.last().rules.append({kMargin, m_top, kMargin + m_width, m_top, kRuleWidth});
    }

    TextMetrics& m_metrics;
    QSizeF m_paper;
    double m_width;
    QList<PageModel> m_pages;
    double m_top = 0;
};

void Layout::newPage() {
    PageModel& page = m_pages.emplace_back();
    page.size = m_paper;
    m_top = kMargin;
}

void Layout::makeRoom(double height) {
    if (m_top + height <= m_paper.height() - 2 * kMargin || m_top <= kMargin)
        return;
    newPage();
    captions();
}

void Layout::text(const QString& line, const FontSpec& face, bool centred) {
    for (const QString& part : m_metrics.wrap(face, line, m_width)) {
        const double height = m_metrics.lineHeight(face);
        makeRoom(height);
        const double left =
            centred ? kMargin + (m_width - m_metrics.width(face, part)) / 2 : kMargin;
        m_pages.last().texts.append({left, m_top, part, face});
        m_top += height;
    }
    m_top += kPadding;
}

double Layout::rowHeight(const QStringList& cells, const FontSpec& face) {
    qsizetype lines = 1;
    for (qsizetype column = 0; column < cells.size(); ++column)
        lines = std::max(
            lines,
            m_metrics.wrap(face, cells[column], kColumnShares[column] * m_width - 2 * kPadding)
                .size());
    return 2 * kPadding + double(lines) * m_metrics.lineHeight(face);
}

void Layout::row(const QStringList& cells, const FontSpec& face) {
    const double height = rowHeight(cells, face);
    makeRoom(height);
    double left = kMargin;
    for (qsizetype column = 0; column < cells.size(); ++column) {
        const double width = kColumnShares[column] * m_width;
        double top = m_top + kPadding;
        for (const QString& line : m_metrics.wrap(face, cells[column], width - 2 * kPadding)) {
            m_pages.last().texts.append({left + kPadding, top, line, face});
            top += m_metrics.lineHeight(face);
        }
        left += width;
    }
    m_top += height;
    rule();
}

void Layout::captions() {
    rule();
    row({QStringLiteral("序号"), QStringLiteral("商家编码"), QStringLiteral("商品名称及规格"),
         QStringLiteral("数量"), QStringLiteral("订单数")},
        font(10.5, true));
}

QList<PageModel> Layout::lay(const PickingList& list, const PickingListHead& head) {
    newPage();
    text(QStringLiteral("拣货单"), font(18, true), true);
    text(QStringLiteral("日期：%1    发货人：%2    订单：%3个    包裹：%4个")
             .arg(head.date.toString(QStringLiteral("yyyy-MM-dd")), head.sender)
             .arg(list.orders)
             .arg(list.parcels),
         font(10.5));
    captions();
    const FontSpec body = font(10.5);
    for (const PickingList::Group& group : list.groups) {
        if (!group.courier.isEmpty() || list.groups.size() > 1) {
            const QString courier =
                group.courier.isEmpty() ? QStringLiteral("未选快递") : group.courier;
            // A heading never stands alone at the foot of a page.
            makeRoom(m_metrics.lineHeight(font(12, true)) + rowHeight({QString()}, body));
            m_top += kPadding;
            text(QStringLiteral("%1（%2件）").arg(courier, shortestDecimalText(group.quantity)),
                 font(12, true));
            rule();
        }
        int number = 0;
        for (const PickingList::Item& item : group.items)
            row({QString::number(++number), item.sku, item.name, shortestDecimalText(item.quantity),
                 QString::number(item.orders)},
                body);
    }
    m_top += kPadding;
    text(QStringLiteral("合计：%1件，%2种商品")
             .arg(shortestDecimalText(list.quantity))
             .arg(list.kinds),
         font(10.5, true));

    const FontSpec footer = font(9);
    for (qsizetype i = 0; i < m_pages.size(); ++i) {
        const QString number = QStringLiteral("第%1/%2页").arg(i + 1).arg(m_pages.size());
        m_pages[i].texts.append({kMargin + m_width - m_metrics.width(footer, number),
                                 m_paper.height() - kMargin, number, footer});
    }
    return m_pages;
}

} // namespace

QList<PageModel> pickingListPages(const PickingList& list, const PickingListHead& head,
                                  TextMetrics& metrics, QSizeF paper) {
    return Layout(metrics, paper).lay(list, head);
}

QList<PageModel> pickingListOf(const QList<Order>& orders, const QList<SenderProfile>& profiles,
                               QDate date, bool byCourier, TextMetrics& metrics, QSizeF paper) {
    QStringList senders;
    for (const Order& order : orders) {
        const auto profile =
            std::find_if(profiles.begin(), profiles.end(),
                         [&](const SenderProfile& one) { return one.myIdh == order.myId; });
        const QString sender = profile == profiles.end()    ? QString()
                               : profile->company.isEmpty() ? profile->name
                                                            : profile->company;
        if (!sender.isEmpty() && !senders.contains(sender))
            senders.append(sender);
    }
    return pickingListPages(PickingList::of(orders, byCourier),
                            {date, senders.join(QStringLiteral("、"))}, metrics, paper);
}

} // namespace mldd
