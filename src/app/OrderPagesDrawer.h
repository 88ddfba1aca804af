#pragma once

#include "core/MainState.h"
#include "waybill/PageModel.h"
#include "core/Notice.h"

#include <memory>
#include <optional>
#include <variant>

namespace mldd {

class ShippingLists;
class WaybillPages;

/** Lays out an order's waybill or shipping-list pages as the list's mode shows them. */
class OrderPagesDrawer {
public:
    explicit OrderPagesDrawer(MainState& state);
    ~OrderPagesDrawer();

    /** Reads the settings, senders and paper again: one of them changed. */
    void remake();

    /** An order's pages, or why there are none. */
    struct Pages {
        QList<PageModel> pages;
        std::optional<Notice> why;
    };
    /** The order's pages in the list's display mode. */
    Pages pagesOf(const Order& order);
    /** The order's waybill, or why it cannot be drawn. */
    std::variant<PageModel, Notice> waybill(const Order& order);

private:
    MainState& m_state;
    std::unique_ptr<WaybillPages> m_waybills;
    std::unique_ptr<ShippingLists> m_shippingLists;
};

} // namespace mldd
