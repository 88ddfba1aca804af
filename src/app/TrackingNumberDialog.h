#pragma once

#include "workbench/TrackingBatch.h"
#include "workbench/TrackingQueue.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace mldd {

struct MainState;

/**
 * 填写运单号: the orders of the list one after another, the waiting one shown large, each
 * scanned or typed number given to it; a run of consecutive forms, or a courier's export,
 * fills many at once. Every save is one batch that 撤销 takes back whole.
 */
class TrackingNumberDialog : public QDialog {
    Q_OBJECT

public:
    explicit TrackingNumberDialog(MainState& state, QWidget* parent = nullptr);

    QLineEdit* numberBox() const { return m_number; }
    QLabel* hintLine() const { return m_hint; }
    QLabel* courierLine() const { return m_courier; }
    QLabel* receiverLine() const { return m_receiver; }
    QLabel* progressLine() const { return m_progress; }
    QListWidget* givenList() const { return m_given; }
    QPushButton* skipButton() const { return m_skip; }
    QPushButton* takeBackButton() const { return m_takeBack; }
    QPushButton* runButton() const { return m_run; }
    QPushButton* importButton() const { return m_import; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* undoButton() const { return m_undo; }
    QPushButton* closeButton() const { return m_close; }

    /** Closing with numbers not yet saved asks whether to save them first. */
    void reject() override;

private:
    /** Adds an order that got its number to 已填写: the number, then its order and receiver. */
    void showGiven(const Order& order);
    /** Enter in the number box: the number goes to the waiting order, or is questioned. */
    void take();
    void skip();
    void takeBack();
    void fillRun();
    void importFile();
    /** Stores the given numbers as one batch; false when they could not be. */
    bool save();
    void undo();
    /** The waiting order, the counts and the buttons as they now are. */
    void showWaiting();
    void tell(const QString& text, bool warning = false);

    MainState& m_state;
    TrackingQueue m_queue;
    std::optional<TrackingBatch> m_lastBatch;
    /** The questioned number: entered again as it is, it is taken. */
    QString m_doubted;

    QLabel* m_progress;
    QLabel* m_courier;
    QLabel* m_receiver;
    QLabel* m_address;
    QLabel* m_goods;
    QLineEdit* m_number;
    QLabel* m_hint;
    QListWidget* m_given;
    QPushButton* m_skip;
    QPushButton* m_takeBack;
    QPushButton* m_run;
    QPushButton* m_import;
    QPushButton* m_save;
    QPushButton* m_undo;
    QPushButton* m_close;
};

} // namespace mldd
