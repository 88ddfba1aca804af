#pragma once

#include "CourierFill.h"
#include "ExpressPlan.h"

#include "core/Notice.h"

#include <QString>

#include <array>
#include <optional>

namespace mldd {

struct MainState;

/** The express plan panel without its window: 34 province cells, the message option, saving. */
class PlanPanel {
public:
    static constexpr int kCellCount = 34;
    /** The cells' provinces in index order; 内蒙 also matches 内蒙古. */
    static const std::array<QString, kCellCount>& provinces();
    /** What a cell without a template shows after its province and ":". */
    static const QString kPrompt;

    /** The panel as the stored plan fills it. */
    explicit PlanPanel(const ExpressPlan& plan);

    /** The text of cell `index`: province, ":", then the template or the prompt. */
    QString cellText(int index) const { return m_cells.at(size_t(index)); }

    /** Puts `templateName` into the cell after its ":". */
    void chooseTemplate(int index, const QString& templateName);

    bool messagesFirst() const { return m_messagesFirst; }
    void setMessagesFirst(bool on) { m_messagesFirst = on; }

    /** The refusal to show when some cell still has no template. */
    std::optional<Notice> check() const;

    /** The plan the panel describes, keeping `courierNames` (the default list when empty). */
    ExpressPlan plan(const QStringList& courierNames) const;

    /** The result of saving: the refusal, or what filling the couriers afterwards said. */
    struct Saved {
        bool saved = false;
        std::optional<Notice> notice;
        CourierFill fill;
    };

    /** Stores the plan in the settings row of `state`, then fills the missing couriers. */
    Saved save(MainState& state) const;

private:
    std::array<QString, kCellCount> m_cells;
    bool m_messagesFirst = true;
};

} // namespace mldd
