#include "CourierFilterList.h"

#include "core/MainState.h"
#include "core/OrderFilter.h"
#include "workbench/CourierList.h"

#include <QAbstractItemView>
#include <QScrollBar>

namespace mldd {

CourierFilterList::CourierFilterList(const MainState& state, QWidget* parent)
    : QComboBox(parent), m_state(state) {
    refill();
}

void CourierFilterList::refill() {
    const QStringList names = QStringList{OrderFilter::kAll} + CourierList::forFilter(m_state);
    QStringList listed;
    for (int i = 0; i < count(); ++i)
        listed.append(itemText(i));
    if (listed == names)
        return;
    const QString chosen = currentText();
    QSignalBlocker block(this);
    clear();
    addItems(names);
    setCurrentText(chosen);
}

void CourierFilterList::showPopup() {
    // Captures and imports bring couriers of their own between two looks at the list.
    refill();
    // The list itself stays narrow in the tool row; its entries are read whole.
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + view()->frameWidth() * 2 +
                            view()->verticalScrollBar()->sizeHint().width());
    QComboBox::showPopup();
}

} // namespace mldd
