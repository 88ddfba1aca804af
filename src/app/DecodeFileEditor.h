#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace mldd {

struct MainState;

/**
 * The self-service decode file: the seller pastes, for each order field, the
 * value as the captured page shows it; the file built from them is tried on the
 * page and saved under the page's key. Refreshing, repairing and checking the
 * decode files are here too.
 */
class DecodeFileEditor : public QDialog {
    Q_OBJECT

public:
    DecodeFileEditor(MainState& state, const QString& address, const QString& pageText,
                 QWidget* parent = nullptr);

    QLineEdit* addressBox() const { return m_address; }
    QPlainTextEdit* pageBox() const { return m_page; }
    /** The box of record field 0–14. */
    QLineEdit* valueBox(int field) const { return m_values.at(field); }
    QLineEdit* resultBox(int field) const { return m_results.at(field); }
    QPlainTextEdit* codeBox() const { return m_code; }
    QLabel* resultLine() const { return m_result; }
    QPushButton* pastePageButton() const { return m_pastePage; }
    QPushButton* buildButton() const { return m_build; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* refreshButton() const { return m_refresh; }
    QPushButton* repairButton() const { return m_repair; }
    QPushButton* checkButton() const { return m_check; }

private:
    QWidget* createValueGrid();
    void checkValue(int field);
    bool build();
    void save();
    void refresh();
    void repair();
    void check();

    MainState& m_state;
    QLineEdit* m_address;
    QPlainTextEdit* m_page;
    QList<QLineEdit*> m_values;
    QList<QLineEdit*> m_results;
    QPlainTextEdit* m_code;
    QLabel* m_result;
    QPushButton* m_pastePage;
    QPushButton* m_build;
    QPushButton* m_save;
    QPushButton* m_refresh;
    QPushButton* m_repair;
    QPushButton* m_check;
};

} // namespace mldd
