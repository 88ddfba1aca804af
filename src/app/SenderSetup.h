#pragma once

#include "CommandContext.h"

#include <QObject>
#include <QString>

namespace mldd {

/** The sender profiles and their shipping-list design, edited from the menu or at first use. */
class SenderSetup : public QObject {
    Q_OBJECT

public:
    explicit SenderSetup(const CommandContext& context, QObject* parent = nullptr);

    /**
     * With no sender profile yet: asks the first-use question and, on Yes, opens
     * the sender editor (with `presetId` as the new ID). True when a profile exists after.
     */
    bool ensure(const QString& presetId = QString());
    /** 发件人信息. */
    void edit();
    /** 发货单设置: the design of the sender the list is filtered by, else the first one. */
    void editShippingDesign();
    /**
     * Opens the sender editor with `presetId` as a new profile's ID; returns the
     * profile made there, or an empty text when none was.
     */
    QString addProfile(const QString& presetId);

private:
    /** A profile or its design was saved: the lists and every page show it. */
    void changed();

    CommandContext m_context;
};

} // namespace mldd
