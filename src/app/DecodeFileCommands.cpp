#include "DecodeFileCommands.h"

#include "BusyCursor.h"
#include "NoticeBox.h"

#include "capture/DecodeMaintenance.h"
#include "capture/PageKey.h"
#include "core/MainState.h"

#include <QLabel>

namespace mldd::DecodeFileCommands {

void refresh(QWidget* parent, MainState& state, const QString& address, QLabel* status) {
    const std::optional<QString> pageKey = pageKeyOf(address.trimmed());
    if (!pageKey) {
        showNotice(parent, DecodeMaintenance::noPageNotice());
        return;
    }
    std::optional<Notice> told;
    {
        BusyCursor busy;
        if (status) {
            status->setText(DecodeMaintenance::refreshProgress());
            status->repaint();
        }
        told = DecodeMaintenance::refreshDecodeFile(state, *pageKey, ServiceClient()).notice;
    }
    if (status)
        status->setText(
            told ? QString(told->text).replace(QStringLiteral("\r\n"), QStringLiteral(" "))
                 : QString());
    if (told)
        showNotice(parent, *told);
}

void repair(QWidget* parent, MainState& state) {
    Notice told;
    {
        BusyCursor busy;
        const bool online = DecodeMaintenance::serviceOnline(state.serviceBase, ServiceClient());
        told = DecodeMaintenance::repairExtraction(state, online);
    }
    showNotice(parent, told);
}

void check(QWidget* parent, MainState& state) {
    Notice told;
    {
        BusyCursor busy;
        told = DecodeMaintenance::checkDecodeFiles(state, ServiceClient()).notice;
    }
    showNotice(parent, told);
}

} // namespace mldd::DecodeFileCommands
