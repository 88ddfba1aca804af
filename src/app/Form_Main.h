#pragma once

#include <QMainWindow>

class QLabel;
class QListWidget;

namespace mldd {

struct MainState;

/** The main window: the order list of the shared state. */
class Form_Main : public QMainWindow {
    Q_OBJECT

public:
    explicit Form_Main(MainState& state, QWidget* parent = nullptr);

    /** Fills the rows and the information line from the current page. */
    void showPage();

private:
    MainState& m_state;
    QLabel* m_informationLine;
    QListWidget* m_rows;
};

} // namespace mldd
