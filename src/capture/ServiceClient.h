#pragma once

#include <QString>
#include <QUrl>

namespace mldd {

/** What one GET from the maker's service gave. */
struct ServiceReply {
    bool ok = false;
    QString body;     // the reply text (UTF-8, else GBK)
    QString error;    // why there is none, when not ok
    QByteArray bytes; // the reply as it came, for files that are not text
};

/** Fetches a reply body from the maker's service; a timeout is a failed reply, never a hang. */
class ServiceClient {
public:
    static constexpr int kDefaultTimeoutMs = 8000;

    explicit ServiceClient(int timeoutMs = kDefaultTimeoutMs) : m_timeoutMs(timeoutMs) {}

    ServiceReply get(const QUrl& url) const;

private:
    int m_timeoutMs;
};

} // namespace mldd
