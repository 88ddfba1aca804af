#include "SenderSetup.h"

#include "NoticeBox.h"
#include "OrderListPanel.h"
#include "SenderProfilesDialog.h"
#include "ShippingListDesigner.h"

#include "core/MainState.h"
#include "workbench/SenderChoice.h"

namespace mldd {

SenderSetup::SenderSetup(const CommandContext& context, QObject* parent)
    : QObject(parent), m_context(context) {}

bool SenderSetup::ensure(const QString& presetId) {
    if (const auto question = SenderChoice::firstUseQuestion(m_context.state)) {
        if (!showNotice(m_context.window, *question))
            return false;
        addProfile(presetId);
    }
    return !m_context.state.profiles.isEmpty();
}

QString SenderSetup::addProfile(const QString& presetId) {
    QStringList before;
    for (const SenderProfile& profile : m_context.state.profiles)
        before.append(profile.myIdh);
    SenderProfilesDialog editor(m_context.state, m_context.window, presetId);
    connect(&editor, &SenderProfilesDialog::profilesChanged, this, &SenderSetup::changed);
    editor.exec();
    for (const SenderProfile& profile : m_context.state.profiles)
        if (!before.contains(profile.myIdh))
            return profile.myIdh;
    return QString();
}

void SenderSetup::edit() {
    addProfile(QString());
}

void SenderSetup::editShippingDesign() {
    if (!ensure())
        return;
    QString sender = m_context.state.profiles.first().myIdh;
    for (const SenderProfile& profile : m_context.state.profiles)
        if (profile.myIdh == m_context.state.senderChoice)
            sender = profile.myIdh;
    ShippingListDesigner design(m_context.state, sender, m_context.window);
    connect(&design, &ShippingListDesigner::saved, m_context.list, &OrderListPanel::redrawPages);
    design.exec();
}

void SenderSetup::changed() {
    m_context.list->showSenders();
    // Waybills and shipping lists show the sender's fields and design as they are now.
    m_context.list->redrawPages();
}

} // namespace mldd
