#pragma once

#include <QDialog>
#include <QSet>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace mldd {

struct MainState;
class DigitField;
class LabelPrinterPanel;
class PrinterSetup;
class Spooler;

/**
 * 打印机设置: the waybill printer with its offsets in millimetres and twips and
 * its resolution, and the shipping-list printer with its paper and copies.
 */
class PrinterSetupDialog : public QDialog {
    Q_OBJECT

public:
    /** `spooler`: where the installed printers and the default one come from. */
    PrinterSetupDialog(MainState& state, Spooler& spooler, QWidget* parent = nullptr);
    ~PrinterSetupDialog() override;

    QComboBox* waybillPrinterList() const { return m_waybillPrinter; }
    QGroupBox* offsetFrame() const { return m_offsetFrame; }
    QLineEdit* horizontalMillimetres() const { return m_horizontalMm; }
    QLineEdit* horizontalTwips() const { return m_horizontalTwips; }
    QLineEdit* verticalMillimetres() const { return m_verticalMm; }
    QLineEdit* verticalTwips() const { return m_verticalTwips; }
    QComboBox* resolutionList() const { return m_resolution; }
    QPushButton* saveWaybillButton() const { return m_saveWaybill; }
    QComboBox* listPrinterList() const { return m_listPrinter; }
    QComboBox* paperList() const { return m_paper; }
    QRadioButton* landscapeButton() const { return m_landscape; }
    DigitField* paperWidth() const { return m_width; }
    DigitField* paperHeight() const { return m_height; }
    DigitField* copiesBox() const { return m_copies; }
    QPushButton* saveListButton() const { return m_saveList; }
    LabelPrinterPanel* labelPanel() const { return m_labelPanel; }

    /** Chooses the waybill printer as a pick in its list does: refusals and the question first. */
    void chooseWaybillPrinter(const QString& printer);

signals:
    /** A printer or paper was saved (and read into the state): lists are drawn on the new paper. */
    void saved();

private:
    QWidget* createWaybillPart();
    QWidget* createListPart();
    void showChosenWaybillPrinter();
    void showOffsets();
    /** The chosen printer's resolution: its own when the spooler tells it, else the stored one. */
    void showResolution();
    /** Keeps a twips box in step with its millimetre box, and the other way round. */
    void pairUp(QLineEdit* millimetres, QLineEdit* twips);
    void saveWaybillPrinter();
    void saveListPrinter();
    void showContinuousSizes();

    MainState& m_state;
    Spooler& m_spooler;
    std::unique_ptr<PrinterSetup> m_setup;
    QStringList m_printers;
    QString m_systemDefault;
    QSet<QString> m_confirmed; // printers other than the default the seller said yes to
    QString m_chosen;

    QComboBox* m_waybillPrinter = nullptr;
    QGroupBox* m_offsetFrame = nullptr;
    QLineEdit* m_horizontalMm = nullptr;
    QLineEdit* m_horizontalTwips = nullptr;
    QLineEdit* m_verticalMm = nullptr;
    QLineEdit* m_verticalTwips = nullptr;
    QComboBox* m_resolution = nullptr;
    QLabel* m_resolutionNote = nullptr;
    QPushButton* m_saveWaybill = nullptr;
    QComboBox* m_listPrinter = nullptr;
    QComboBox* m_paper = nullptr;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    DigitField* m_width = nullptr;
    DigitField* m_height = nullptr;
    DigitField* m_copies = nullptr;
    QPushButton* m_saveList = nullptr;
    LabelPrinterPanel* m_labelPanel = nullptr;
};

} // namespace mldd
