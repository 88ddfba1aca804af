#include "NoticeBox.h"

#include <QMessageBox>

namespace mldd {

bool showNotice(QWidget* parent, const Notice& notice) {
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
    if (notice.buttons == Notice::Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
    }
    const int answer = box.exec();
    return answer == QMessageBox::Yes || answer == QMessageBox::Ok;
}

} // namespace mldd
