#include "NoticeBox.h"

#include <QMessageBox>

namespace mldd {

bool showNotice(QWidget* parent, const Notice& notice) {
    return askNotice(parent, notice) == Notice::Answer::Yes;
}

Notice::Answer askNotice(QWidget* parent, const Notice& notice) {
    QMessageBox box(parent);
    box.setWindowTitle(notice.title);
    box.setText(notice.text);
    switch (notice.icon) {
    case Notice::Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Notice::Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Notice::Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    switch (notice.buttons) {
    case Notice::Buttons::Ok:
        break;
    case Notice::Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        break;
    case Notice::Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
    case QMessageBox::Ok:
        return Notice::Answer::Yes;
    case QMessageBox::No:
        return Notice::Answer::No;
    default:
        return notice.buttons == Notice::Buttons::YesNoCancel ? Notice::Answer::Cancel
                                                              : Notice::Answer::No;
    }
}

} // namespace mldd
