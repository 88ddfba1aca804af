#pragma once

#include "capture/FirstStartSteps.h"

#include <QFrame>
#include <QHash>

class QLabel;
class QPushButton;

namespace mldd {

/**
 * The strip above a new seller's order list: the steps before the first
 * waybill, each a button that opens its window and shows a tick once done.
 * Bringing in orders offers its three ways.
 */
class FirstStartChecklist : public QFrame {
    Q_OBJECT

public:
    enum class OrderWay { Capture, Import, ManualEntry };

    explicit FirstStartChecklist(QWidget* parent = nullptr);

    /** Shows each step ticked or open. */
    void showItems(const QList<FirstStartSteps::Item>& items);

    QPushButton* stepButton(FirstStartSteps::Step step) const { return m_steps.value(step); }
    QPushButton* orderWayButton(OrderWay way) const { return m_ways.value(way); }
    QLabel* ordersLabel() const { return m_ordersLabel; }

signals:
    void stepChosen(FirstStartSteps::Step step);
    void orderWayChosen(FirstStartChecklist::OrderWay way);

private:
    QHash<FirstStartSteps::Step, QPushButton*> m_steps; // every step but bringing in orders
    QHash<OrderWay, QPushButton*> m_ways;
    QLabel* m_ordersLabel = nullptr;
};

} // namespace mldd
