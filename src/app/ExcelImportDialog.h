#pragma once

#include "spreadsheet/ImportLayout.h"
#include "spreadsheet/SheetTable.h"
#include "spreadsheet/Workbook.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace mldd {

struct MainState;
class ImportRun;

/**
 * The spreadsheet mapping window: the workbook and sheet, which columns feed
 * each of the sixteen fields, the sender and template; 提取Excel prepares the
 * import, which runs once the window has closed.
 */
class ExcelImportDialog : public QDialog {
    Q_OBJECT

public:
    ExcelImportDialog(MainState& state, QWidget* parent = nullptr);
    ~ExcelImportDialog() override;

    /** Opens a workbook and shows its sheet; false (after telling the seller why) when unreadable.
     */
    bool openWorkbook(const QString& path);

    /** The import that 提取Excel prepared (the window was accepted), to run after it closed. */
    std::unique_ptr<ImportRun> takeRun();

    // The controls, for the window tests.
    QComboBox* sheetList() const { return m_sheetList; }
    QLineEdit* headerRowBox() const { return m_headerRow; }
    QComboBox* layoutList() const { return m_layoutList; }
    QComboBox* senderList() const { return m_senderList; }
    QComboBox* templateList() const { return m_templateList; }
    QComboBox* fieldCombo(int field) const { return m_fieldCombos.at(field); }
    QLineEdit* fieldExpression(int field) const { return m_fieldExpressions.at(field); }
    QPushButton* clearButton(int field) const { return m_clearButtons.at(field); }
    QPushButton* confirmButton() const { return m_confirm; }
    QPushButton* extractButton() const { return m_extract; }
    QCheckBox* mergeBox() const { return m_merge; }
    /** What the window made of the workbook's headers. */
    QLabel* recognitionLine() const { return m_recognition; }

private:
    QWidget* createSourceBar();
    QWidget* createFieldGrid();
    QWidget* createOptions();

    void chooseWorkbook();
    void showSheet(const QString& name);
    void chooseLayout(const QString& name);
    /** Fills the mapping from the headers: a saved layout, a marketplace's export, or named
     * columns. */
    void recognize();
    void showRecognition(const QString& text);
    void showLayout(const ImportLayout& layout);
    void chooseColumn(int field, int index);
    /** The cells of the header row of the sheet shown. */
    QStringList headerCells() const;
    /** Shows the columns of `field`, each by its letter and header. */
    void showExpression(int field);
    void clearField(int field);
    /** The layout as the controls show it. */
    ImportLayout layoutShown() const;
    /** Checks and saves the layout; false after showing why it cannot be used. */
    bool saveLayout();
    void confirm();
    void extract();

    MainState& m_state;
    QString m_path;
    std::unique_ptr<Workbook> m_workbook;
    SheetTable m_sheet;
    QList<ColumnExpression> m_expressions;
    QString m_market; // of the layout shown: the word before its order numbers

    QLineEdit* m_file = nullptr;
    QLabel* m_recognition = nullptr;
    QComboBox* m_sheetList = nullptr;
    QLineEdit* m_headerRow = nullptr;
    QComboBox* m_layoutList = nullptr;
    QComboBox* m_senderList = nullptr;
    QComboBox* m_templateList = nullptr;
    QList<QComboBox*> m_fieldCombos;
    QList<QLineEdit*> m_fieldExpressions;
    QList<QPushButton*> m_clearButtons;
    QRadioButton* m_firstSeparator = nullptr;
    QRadioButton* m_secondSeparator = nullptr;
    QLineEdit* m_firstSeparatorText = nullptr;
    QLineEdit* m_secondSeparatorText = nullptr;
    QCheckBox* m_merge = nullptr;
    QPushButton* m_confirm = nullptr;
    QPushButton* m_extract = nullptr;

    std::unique_ptr<ImportRun> m_run;
};

} // namespace mldd
