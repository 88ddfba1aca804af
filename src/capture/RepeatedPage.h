#pragma once

#include <QByteArray>
#include <QString>

namespace mldd {

struct PageCaptureResult;

/**
 * A page captured again and again (a browser sending it over and over) whose
 * orders were all captured before: the window says so in a box the first
 * time, and after that only in its status line.
 */
class RepeatedPage {
public:
    /** Moves the already-captured message to the status line when this page had it last. */
    void quieten(PageCaptureResult& result, const QString& address, const QString& pageText);

private:
    QByteArray m_told; // the page whose already-captured message was last shown in a box
};

} // namespace mldd
