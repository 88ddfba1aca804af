#pragma once

#include "printing/LabelSettings.h"

#include <QGroupBox>

#include <memory>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace mldd {

struct MainState;
class PrinterSetup;
class Spooler;

/**
 * 打印机的纸张和打印语言: a printer's paper (a sheet, thermal labels, a typed
 * size, or each page's own size), its language (its driver, or TSPL, ZPL,
 * EPL commands straight to a label printer), resolution, gap or black mark,
 * darkness and speed; what CUPS tells of the printer is preselected. One
 * click prints a test label.
 */
class LabelPrinterPanel : public QGroupBox {
    Q_OBJECT

public:
    LabelPrinterPanel(MainState& state, Spooler& spooler, const QStringList& printers,
                      QWidget* parent = nullptr);
    ~LabelPrinterPanel() override;

    QComboBox* printerList() const { return m_printer; }
    QComboBox* languageList() const { return m_language; }
    QComboBox* resolutionList() const { return m_resolution; }
    QComboBox* sizeList() const { return m_size; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* testButton() const { return m_test; }
    QLabel* noteLabel() const { return m_note; }

    /** The settings as the panel shows them. */
    LabelSettings shown() const;

signals:
    /** The settings of a printer were saved. */
    void saved();

private:
    void showPrinter();
    void showSize(std::optional<QSizeF> paperMm);
    /** The paper shown, as the seller reads it. */
    QString paperText() const;
    void enableLabelFields();
    bool save();
    void printTestLabel();

    MainState& m_state;
    Spooler& m_spooler;
    std::unique_ptr<PrinterSetup> m_setup;

    QComboBox* m_printer = nullptr;
    QComboBox* m_language = nullptr;
    QComboBox* m_resolution = nullptr;
    QComboBox* m_size = nullptr;
    QDoubleSpinBox* m_width = nullptr;
    QDoubleSpinBox* m_height = nullptr;
    QComboBox* m_sensing = nullptr;
    QDoubleSpinBox* m_gap = nullptr;
    QSpinBox* m_darkness = nullptr;
    QSpinBox* m_speed = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_test = nullptr;
};

} // namespace mldd
