#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace mldd {

class PrintRun;

/** The line under the list while a run prints: how far it is, and a button to cancel it. */
class PrintProgressLine : public QWidget {
    Q_OBJECT

public:
    explicit PrintProgressLine(QWidget* parent = nullptr);

    /** Shows the run's progress until it finishes; its cancel button cancels it. */
    void follow(PrintRun& run);

    QPushButton* cancelButton() const { return m_cancel; }
    QLabel* text() const { return m_text; }

private:
    QLabel* m_text;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
};

} // namespace mldd
