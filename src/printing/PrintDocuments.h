#pragma once

#include "core/Notice.h"
#include "core/Order.h"
#include "shiplist/ShippingLists.h"
#include "waybill/WaybillPages.h"

#include <memory>
#include <variant>

namespace mldd {

struct MainState;

/** What a run prints for each order, the job title it goes under, and the order's mark. */
class PrintDocuments {
public:
    enum class Kind { Waybills, ShippingLists };

    /** One order's pages; `paper` names the form they need loaded (a template), if any. */
    struct Document {
        QList<PageModel> pages;
        QString title;
        QString paper;
    };

    PrintDocuments(MainState& state, Kind kind);
    ~PrintDocuments();

    Kind kind() const { return m_kind; }

    /** Lays shipping lists on paper of this size (mm) from now on: the printer's own. */
    void layListsOn(QSizeF paperMm);

    /** The order's pages, or why it cannot be printed. */
    std::variant<Document, Notice> of(const Order& order);

    /** The job title: "快递单-" + order number, or "发货单-" + id + "-" + order number. */
    QString titleOf(const Order& order) const;

    bool isMarked(const Order& order) const { return isMarked(m_kind, order); }
    /** Whether the order's mark says this kind of document was printed before. */
    static bool isMarked(Kind kind, const Order& order);
    /** Marks the order printed, in a transaction of its own. */
    bool mark(const Order& order, QString* error = nullptr);

private:
    MainState& m_state;
    Kind m_kind;
    std::unique_ptr<WaybillPages> m_waybills;
    std::unique_ptr<ShippingLists> m_lists;
};

} // namespace mldd
