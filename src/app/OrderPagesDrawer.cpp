#include "OrderPagesDrawer.h"

#include "printing/LabelSettings.h"
#include "printing/PrinterSetup.h"
#include "shiplist/ShippingLists.h"
#include "waybill/WaybillPages.h"

#include <QDate>

namespace mldd {

OrderPagesDrawer::OrderPagesDrawer(MainState& state) : m_state(state) {
    remake();
}

OrderPagesDrawer::~OrderPagesDrawer() = default;

void OrderPagesDrawer::remake() {
    const QDate today = QDate::currentDate();
    m_waybills = std::make_unique<WaybillPages>(m_state.folder, m_state.log, m_state.settings,
                                                m_state.profiles, today);
    // Drawn as the shipping-list printer prints them: on its own paper when it has one.
    const PrinterSetup setup(m_state.folder, m_state.log);
    const QSizeF paper = LabelSetup(setup).layoutPaper(
        m_state.printDefaults.listPrinter,
        ShippingPaper::fromRecord(m_state.printDefaults.paperRecord).size);
    m_shippingLists =
        std::make_unique<ShippingLists>(m_state.profiles, ShippingPaper{paper}, today);
}

OrderPagesDrawer::Pages OrderPagesDrawer::pagesOf(const Order& order) {
    if (m_state.displayMode == MainState::DisplayMode::ShippingList) {
        ShippingListPages list = m_shippingLists->compose(order);
        // Paper too small: what fitted is shown, and the reason when nothing did.
        return {list.pages, list.stopped};
    }
    std::variant<PageModel, Notice> page = waybill(order);
    if (auto* drawn = std::get_if<PageModel>(&page))
        return {{std::move(*drawn)}, std::nullopt};
    return {{}, std::get<Notice>(page)};
}

std::variant<PageModel, Notice> OrderPagesDrawer::waybill(const Order& order) {
    return m_waybills->page(order);
}

} // namespace mldd
