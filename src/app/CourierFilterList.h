#pragma once

#include <QComboBox>

namespace mldd {

struct MainState;

/**
 * The main window's 快递单据 filter: 所有, then every installed template and
 * every courier the orders name, read again each time the list opens.
 */
class CourierFilterList : public QComboBox {
    Q_OBJECT

public:
    explicit CourierFilterList(const MainState& state, QWidget* parent = nullptr);

    /** Lists the couriers as they are now, keeping the one shown. */
    void refill();

    void showPopup() override;

private:
    const MainState& m_state;
};

} // namespace mldd
