#include "FirstStartChecklist.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace mldd {

using FirstStartSteps::Step;

FirstStartChecklist::FirstStartChecklist(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setAccessibleName(QStringLiteral("开始使用墨岚打单"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(new QLabel(QStringLiteral("<b>开始使用：</b>"), this));
    for (Step step : FirstStartSteps::kSteps) {
        if (step == Step::Orders)
            continue;
        auto* button = new QPushButton(this);
        connect(button, &QPushButton::clicked, this, [this, step] { emit stepChosen(step); });
        m_steps.insert(step, button);
        layout->addWidget(button);
    }
    m_ordersLabel = new QLabel(this);
    layout->addWidget(m_ordersLabel);
    for (const auto& [way, caption] :
         {std::pair{OrderWay::Capture, QStringLiteral("提取订单")},
          std::pair{OrderWay::Import, QStringLiteral("导入Excel")},
          std::pair{OrderWay::ManualEntry, QStringLiteral("手工录入")}}) {
        auto* button = new QPushButton(caption, this);
        connect(button, &QPushButton::clicked, this, [this, way] { emit orderWayChosen(way); });
        m_ways.insert(way, button);
        layout->addWidget(button);
    }
    layout->addStretch();
}

void FirstStartChecklist::showItems(const QList<FirstStartSteps::Item>& items) {
    int number = 0;
    for (const FirstStartSteps::Item& item : items) {
        ++number;
        // A tick for what is done; for what is not, its number gives the order to take.
        const QString text =
            (item.done ? QStringLiteral("✔ ") : QStringLiteral("%1. ").arg(number)) +
            FirstStartSteps::caption(item.step);
        const QString state = item.done ? QStringLiteral("已完成") : QStringLiteral("未完成");
        const QString colour = item.done ? QStringLiteral("color: #2a7a2a;") : QString();
        if (QPushButton* button = m_steps.value(item.step)) {
            button->setText(text);
            button->setAccessibleDescription(state);
            button->setStyleSheet(colour);
        } else {
            m_ordersLabel->setText(text + u'：');
            m_ordersLabel->setAccessibleDescription(state);
            m_ordersLabel->setStyleSheet(colour);
        }
    }
}

} // namespace mldd
