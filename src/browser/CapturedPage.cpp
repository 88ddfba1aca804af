#include "CapturedPage.h"

#include "core/CommandText.h"

namespace mldd {

CapturedPage CapturedPage::fromBrowser(const QString& documentAddress, const QString& bodyText) {
    return {cutBefore(cutBefore(documentAddress, u'!'), u'?'), QStringLiteral("[MYIE]") + bodyText};
}

std::optional<Notice> CapturedPage::refuseOversized(const QString& text) {
    // UTF-8 takes at most three bytes for a UTF-16 unit; count exactly only near the limit.
    if (text.size() * 3 <= kMaxTextBytes || text.toUtf8().size() <= kMaxTextBytes)
        return std::nullopt;
    return Notice{QStringLiteral("这个网页的文字太多（%1 MB），不是订单页面，没有提取。")
                      .arg(text.toUtf8().size() / (1024 * 1024)),
                  QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::Ok};
}

} // namespace mldd
