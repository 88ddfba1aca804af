#pragma once

#include "CourierFill.h"
#include "ExpressPlan.h"

#include "core/Notice.h"

#include <QList>
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

    /** A part of the country whose provinces are often sent alike: its name and cells. */
    struct Region {
        QString name;
        QList<int> cells;
    };
    /** Every cell in exactly one region, so that a region row reaches each province. */
    static const QList<Region>& regions();

    /** The panel as the stored plan fills it. */
    explicit PlanPanel(const ExpressPlan& plan);

    /** The text of cell `index`: province, ":", then the template or the prompt. */
    QString cellText(int index) const { return m_cells.at(size_t(index)); }

    /** Puts `templateName` into the cell after its ":". */
    void chooseTemplate(int index, const QString& templateName);
    /** Puts `templateName` into each of `cells`. */
    void chooseTemplate(const QList<int>& cells, const QString& templateName);
    /** The template of cell `index`; empty while it has none. */
    QString templateOf(int index) const;
    /** The template all of `cells` share; empty when they differ or have none. */
    QString sharedTemplate(const QList<int>& cells) const;
    /** Every cell index, 0 to 33. */
    static QList<int> allCells();

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
