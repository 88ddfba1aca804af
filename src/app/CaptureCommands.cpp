#include "CaptureCommands.h"

#include "ManualEntryDialog.h"
#include "NoticeBox.h"
#include "OrderListPanel.h"
#include "SenderSetup.h"

#include "browser/CapturedPage.h"
#include "capture/PageCapture.h"
#include "capture/SellerBindings.h"
#include "core/MainState.h"
#include "workbench/ProfileEditing.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QInputDialog>
#include <QLabel>
#include <QUrl>

namespace mldd {

CaptureCommands::CaptureCommands(const CommandContext& context, SenderSetup& senders,
                                 QObject* parent)
    : QObject(parent), m_context(context), m_senders(senders) {}

void CaptureCommands::capture(const QString& address, const QString& pageText) {
    QWidget* window = m_context.window;
    if (const auto refusal = CapturedPage::refuseOversized(pageText)) {
        showNotice(window, *refusal);
        return;
    }
    m_context.status->setText(QStringLiteral("正在提取：") + address);
    m_lastAddress = address;
    m_lastPageText = pageText;
    PageCaptureResult result = capturePage(m_context.state, address, pageText, ServiceClient());
    if (result.outcome == PageCaptureResult::Outcome::NeedsBinding) {
        if (bindSeller(result))
            capture(address, pageText);
        else
            m_context.status->setText(QStringLiteral("没有提取：发件人没有设置。"));
        return;
    }
    m_repeatedPage.quieten(result, address, pageText);
    if (result.question && !showNotice(window, *result.question))
        result.progress.clear();
    for (const Notice& notice : result.notices)
        showNotice(window, notice);
    if (!result.helpPage.isEmpty())
        QDesktopServices::openUrl(QUrl(result.helpPage));
    m_context.status->setText(result.statusLine());
    m_context.list->showChoices();
    m_context.list->showPage();
    // Saving the plan gives the orders just stored their couriers.
    if (result.count.openPlanPanel)
        emit expressPlanWanted();
}

bool CaptureCommands::bindSeller(const PageCaptureResult& result) {
    // The shop a page names may come from its decode file rather than from the seller: a new
    // sender starts with the page's marketplace only, and the seller gives its own id.
    const QString market = result.count.unboundSeller.section(u':', 0, 0);
    const QString marketplace =
        ProfileEditing::kMarketplaces.contains(market) ? market + u':' : QString();
    QString sender;
    if (m_context.state.profiles.isEmpty()) {
        // A new seller's first sender is the one every shop of theirs ships with, until asked.
        if (m_senders.ensure(marketplace))
            sender = m_context.state.profiles.first().myIdh;
    } else {
        const QString newSender = QStringLiteral("新建发件人…");
        QStringList senders;
        for (const SenderProfile& profile : m_context.state.profiles)
            senders.append(profile.myIdh);
        bool chosen = false;
        sender = QInputDialog::getItem(
            m_context.window, QStringLiteral("墨岚打单"),
            QStringLiteral("店铺 %1 还没有对应的发件人。\r\n%1 用哪个发件人发货？"
                           "以后这个店铺的订单都用它，可以在[设置]菜单中清除。")
                .arg(result.count.unboundSeller),
            senders + QStringList{newSender}, 0, false, &chosen);
        if (!chosen)
            return false;
        if (sender == newSender)
            sender = m_senders.addProfile(marketplace);
    }
    if (sender.isEmpty())
        return false;
    SellerBindings bindings = SellerBindings::load(m_context.state.folder, m_context.state.log);
    // Bound under the id as the page gave it: that is what the next capture looks up.
    return bindings.bind(result.count.unboundCaptured, sender, m_context.state.folder,
                         m_context.state.log);
}

void CaptureCommands::manualEntry() {
    if (!m_senders.ensure())
        return;
    ManualEntryDialog entry(m_context.state, m_context.window);
    connect(&entry, &ManualEntryDialog::orderInserted, this, [this] {
        m_context.list->senderFilterList()->setCurrentText(m_context.state.senderChoice);
        m_context.list->showPage();
    });
    connect(&entry, &ManualEntryDialog::expressPlanWanted, this,
            &CaptureCommands::expressPlanWanted);
    entry.exec();
}

} // namespace mldd
