#include "SettingsCommands.h"

#include "CaptureCommands.h"
#include "DecodeFileCommands.h"
#include "DecodeFileEditor.h"
#include "ExpressPlanDialog.h"
#include "NoticeBox.h"
#include "OrderListPanel.h"

#include "browser/ContextMenuHost.h"
#include "capture/SellerBindings.h"
#include "core/CapturedNumbers.h"
#include "core/MainState.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QLabel>

namespace mldd {

SettingsCommands::SettingsCommands(const CommandContext& context, const CaptureCommands& capture,
                                   QObject* parent)
    : QObject(parent), m_context(context), m_capture(capture) {}

void SettingsCommands::editExpressPlan() {
    ExpressPlanDialog dialog(m_context.state, m_context.window);
    dialog.exec();
    m_context.list->showPage();
}

void SettingsCommands::selfServiceDecodeFile() {
    DecodeFileEditor editor(m_context.state, m_capture.lastAddress(), m_capture.lastPageText(),
                            m_context.window);
    editor.exec();
}

void SettingsCommands::refreshDecodeFile() {
    DecodeFileCommands::refresh(m_context.window, m_context.state, m_capture.lastAddress(),
                                m_context.status);
}

void SettingsCommands::repairDecodeFiles() {
    DecodeFileCommands::repair(m_context.window, m_context.state);
}

void SettingsCommands::checkDecodeFiles() {
    DecodeFileCommands::check(m_context.window, m_context.state);
}

void SettingsCommands::clearSellerBindings() {
    showNotice(m_context.window,
               Notice{SellerBindings::clear(m_context.state.folder), QStringLiteral("墨岚打单"),
                      Notice::Icon::Information, Notice::Buttons::Ok});
}

void SettingsCommands::clearCapturedNumbers() {
    QWidget* window = m_context.window;
    CapturedNumbers numbers(*m_context.state.database);
    const QList<CapturedNumbers::ShopList> shops = numbers.shops();
    if (shops.isEmpty()) {
        showNotice(window, Notice{QStringLiteral("还没有已提取记录。")});
        return;
    }
    const QString allShops = QStringLiteral("所有店铺");
    QStringList choices;
    for (const CapturedNumbers::ShopList& list : shops)
        choices.append(QStringLiteral("%1（%2个）").arg(list.shop).arg(list.count));
    choices.append(allShops);
    bool chosen = false;
    const QString choice = QInputDialog::getItem(window, QStringLiteral("清空已提取记录"),
                                                 QStringLiteral("清空哪个店铺的已提取记录？"),
                                                 choices, 0, false, &chosen);
    if (!chosen)
        return;
    const qsizetype index = choices.indexOf(choice);
    const QString shop = index < shops.size() ? shops.at(index).shop : QString();
    if (!showNotice(window, Notice{QStringLiteral("确定要清空%1的已提取记录吗？\r\n"
                                                  "清空后，这些订单的页面可以再次提取。")
                                       .arg(shop.isEmpty() ? allShops : shop),
                                   QStringLiteral("墨岚打单"), Notice::Icon::Exclamation,
                                   Notice::Buttons::YesNo}))
        return;
    const qint64 cleared = numbers.clear(shop);
    if (cleared < 0) {
        showNotice(window, Notice{m_context.state.database->failureText(),
                                  QStringLiteral("墨岚打单"), Notice::Icon::Exclamation});
        return;
    }
    m_context.status->setText(QStringLiteral("已清空%1个已提取记录。").arg(cleared));
}

void SettingsCommands::installContextMenu() {
    showNotice(m_context.window,
               ContextMenuHost::install(m_context.state.folder,
                                        QCoreApplication::applicationDirPath())
                   .notice);
}

} // namespace mldd
