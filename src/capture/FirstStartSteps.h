#pragma once

#include <QList>
#include <QString>

namespace mldd {

struct MainState;

/**
 * The few things a new seller sets up before the first waybill comes out, in
 * the order they are best done, each ticked off from what is stored. The list
 * is offered until every step is done once; then never again, even when a
 * step is undone later (a profile deleted, the printer file removed).
 */
namespace FirstStartSteps {

enum class Step { Sender, Printer, Templates, Plan, Orders };

/** The steps in the order a new seller takes them. */
inline const QList<Step> kSteps{Step::Sender, Step::Printer, Step::Templates, Step::Plan,
                                Step::Orders};

/** What the step is called where it is offered. */
QString caption(Step step);

struct Item {
    Step step;
    bool done = false;
};

/** The file in set/ that records that the list was done. */
inline const QString kDoneFile = QStringLiteral("FirstStart.dat");

/** Every step and whether the state shows it done. */
QList<Item> items(const MainState& state);

/** Whether the list should be shown: it was never done, and a step is still open. */
bool wanted(const MainState& state);

/** Records, once every step is done, that the list is not to be shown again. */
void recordIfDone(const MainState& state);

} // namespace FirstStartSteps
} // namespace mldd
