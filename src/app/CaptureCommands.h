#pragma once

#include "CommandContext.h"

#include "capture/RepeatedPage.h"

#include <QObject>
#include <QString>

namespace mldd {

class SenderSetup;
struct PageCaptureResult;

/** Orders coming in: a captured page and manual entry, with the seller bound to a sender. */
class CaptureCommands : public QObject {
    Q_OBJECT

public:
    CaptureCommands(const CommandContext& context, SenderSetup& senders, QObject* parent = nullptr);

    /** Captures an order page and shows what came of it. */
    void capture(const QString& address, const QString& pageText);
    /** 手工录入. */
    void manualEntry();

    /** The last page handed over for capture: the decode-file commands start from it. */
    const QString& lastAddress() const { return m_lastAddress; }
    const QString& lastPageText() const { return m_lastPageText; }

signals:
    /** The capture stored orders of provinces the express plan has no courier for. */
    void expressPlanWanted();

private:
    /** Asks which sender profile an unknown seller id ships with; true when one was bound. */
    bool bindSeller(const PageCaptureResult& result);

    CommandContext m_context;
    SenderSetup& m_senders;
    QString m_lastAddress;
    QString m_lastPageText;
    /** The last page's outcome, so the same page again is said in the status line. */
    RepeatedPage m_repeatedPage;
};

} // namespace mldd
