#pragma once

#include <QDialog>

class QCheckBox;

namespace mldd {

struct MainState;

/** 菜单设置: which of the twelve toolbar entries are shown; a hidden one can be shown again here.
 */
class MenuSettingsDialog : public QDialog {
    Q_OBJECT

public:
    /** `captions`: the twelve entries' captions, in the order of the setting. */
    MenuSettingsDialog(MainState& state, const QStringList& captions, QWidget* parent = nullptr);

    QCheckBox* entryBox(int entry) const { return m_boxes.at(entry); }

private:
    void save();

    MainState& m_state;
    QList<QCheckBox*> m_boxes;
};

} // namespace mldd
