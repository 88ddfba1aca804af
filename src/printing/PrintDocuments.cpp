#include "PrintDocuments.h"

#include "WaybillRefusal.h"

#include "core/MainState.h"
#include "core/OrderDatabase.h"
#include "core/OrderStore.h"

namespace mldd {

PrintDocuments::PrintDocuments(MainState& state, Kind kind) : m_state(state), m_kind(kind) {
    const QDate today = QDate::currentDate();
    if (kind == Kind::Waybills)
        m_waybills = std::make_unique<WaybillPages>(state.folder, state.log, state.settings,
                                                    state.profiles, today);
    else
        m_lists = std::make_unique<ShippingLists>(
            state.profiles, PrintDefaults::load(state.folder, state.log).paperRecord, today);
}

PrintDocuments::~PrintDocuments() = default;

void PrintDocuments::layListsOn(QSizeF paperMm) {
    if (m_lists)
        m_lists = std::make_unique<ShippingLists>(
            m_state.profiles, ShippingPaper{paperMm * kTwipsPerMillimetre}, QDate::currentDate());
}

std::variant<PrintDocuments::Document, Notice> PrintDocuments::of(const Order& order) {
    if (m_waybills) {
        if (std::optional<Notice> refused = WaybillRefusal::of(order))
            return std::move(*refused);
        auto page = m_waybills->page(order);
        if (Notice* notice = std::get_if<Notice>(&page))
            return std::move(*notice);
        return Document{
            {std::get<PageModel>(std::move(page))}, titleOf(order), m_waybills->formOf(order)};
    }
    ShippingListPages composed = m_lists->compose(order);
    if (composed.stopped)
        return *composed.stopped;
    return Document{std::move(composed.pages), titleOf(order), QString()};
}

QString PrintDocuments::titleOf(const Order& order) const {
    if (m_kind == Kind::Waybills)
        return QStringLiteral("快递单-") + order.orderSign;
    return QStringLiteral("发货单-%1-%2").arg(order.id).arg(order.orderSign);
}

bool PrintDocuments::isMarked(Kind kind, const Order& order) {
    return kind == Kind::Waybills ? order.kdSign != 0 : order.fhSign != 0;
}

bool PrintDocuments::mark(const Order& order, QString* error) {
    if (m_kind == Kind::Waybills) {
        if (markWaybillsPrinted(*m_state.database, {order.id}, error))
            return true;
        // A batch that could not even begin (a server gone) leaves no statement error.
        if (error && error->isEmpty())
            *error = m_state.database->failureText();
        return false;
    }
    OrderStore store(*m_state.database);
    if (markShippingListsPrinted(store, {order}))
        return true;
    if (error)
        *error = QStringLiteral("发货单打印标记未能保存。");
    return false;
}

} // namespace mldd
