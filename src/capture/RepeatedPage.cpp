#include "RepeatedPage.h"

#include "PageCapture.h"

#include <QCryptographicHash>

namespace mldd {

void RepeatedPage::quieten(PageCaptureResult& result, const QString& address,
                           const QString& pageText) {
    const std::optional<Notice> already = result.count.alreadyCapturedNotice();
    if (result.outcome != PageCaptureResult::Outcome::Stored || !already) {
        m_told.clear();
        return;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(address.toUtf8());
    hash.addData(QByteArrayView("\0", 1));
    hash.addData(pageText.toUtf8());
    const QByteArray page = hash.result();
    if (page != m_told) {
        m_told = page;
        return;
    }
    result.notices.removeIf([&](const Notice& notice) { return notice.text == already->text; });
    result.statusNote = already->text;
}

} // namespace mldd
