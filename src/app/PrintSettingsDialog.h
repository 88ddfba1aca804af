#pragma once

#include "waybill/PrintSwitches.h"

#include <QDialog>

class QCheckBox;
class QComboBox;

namespace mldd {

struct MainState;
class DigitField;

/**
 * 打印设置: which items print on waybills, the days added to the printed date,
 * the face that replaces 楷体_GB2312 and the size step, saved into the
 * settings row the renderer reads.
 */
class PrintSettingsDialog : public QDialog {
    Q_OBJECT

public:
    explicit PrintSettingsDialog(MainState& state, QWidget* parent = nullptr);

    QCheckBox* switchBox(PrintSwitches::Number n) const { return m_switches.at(n); }
    DigitField* dayOffsetBox() const { return m_dayOffset; }
    QComboBox* fontList() const { return m_font; }
    QComboBox* sizeStepList() const { return m_sizeStep; }

    /** Saves the settings; the window closes when they were stored. */
    void save();

signals:
    /** The settings were stored: waybills and shipping lists are drawn again. */
    void saved();

private:
    MainState& m_state;
    QList<QCheckBox*> m_switches;
    DigitField* m_dayOffset;
    QComboBox* m_font;
    QComboBox* m_sizeStep;
};

} // namespace mldd
