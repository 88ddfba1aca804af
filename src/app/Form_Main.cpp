#include "Form_Main.h"

#include "core/MainState.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace mldd {

Form_Main::Form_Main(MainState& state, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_informationLine(new QLabel(this)),
      m_rows(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("墨岚打单 V ") + QStringLiteral(MLDD_VERSION));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(m_rows);
    layout->addWidget(m_informationLine);
    setCentralWidget(central);
    resize(1024, 700);
    showPage();
}

void Form_Main::showPage() {
    m_rows->clear();
    const QList<Order> orders =
        OrderStore(*m_state.database).byIds(m_state.cursor.pageIds(m_state.currentPage));
    for (const Order& order : orders) {
        m_rows->addItem(QStringList{order.orderSign, order.buyName, order.buyPhone1,
                                    order.buyAddressSheng + order.buyAddressShi +
                                        order.buyAddressXian + order.buyAddress,
                                    order.delivery}
                            .join(QStringLiteral("  ")));
    }
    m_informationLine->setText(m_state.informationLine());
}

} // namespace mldd
