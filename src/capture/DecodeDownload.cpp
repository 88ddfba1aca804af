#include "DecodeDownload.h"

#include <QUrlQuery>

namespace mldd {

namespace {
// Any fixed text will do: the service does not tell clients apart.
const QString kClientCode = QStringLiteral("MLDD");

QUrl serviceUrl(const QString& serviceBase, const QString& script, const QString& programVersion,
                const QString& pageKey) {
    QUrl url(serviceBase + script);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("ver"), programVersion);
    query.addQueryItem(QStringLiteral("MaCode"), kClientCode);
    query.addQueryItem(QStringLiteral("f"), pageKey);
    url.setQuery(query);
    return url;
}
} // namespace

DecodeDownload DecodeDownload::fromReply(const QString& reply) {
    DecodeDownload download;
    const QString head = reply.left(4);
    if (head == QStringLiteral("[NO]") || head == QStringLiteral("[NN]")) {
        download.kind = Kind::None;
    } else if (head == QStringLiteral("[BL]")) {
        download.kind = Kind::Blocked;
    } else if (head == QStringLiteral("[YE]") || head == QStringLiteral("[YN]")) {
        const qsizetype bar = reply.indexOf(u'|');
        if (bar < 0)
            return download; // no decode text: as good as no reply
        download.kind = Kind::Found;
        download.version = reply.mid(4, bar - 4);
        download.decodeText = reply.mid(bar + 1);
    }
    return download;
}

QUrl DecodeDownload::requestUrl(const QString& serviceBase, const QString& programVersion,
                                const QString& pageKey) {
    return serviceUrl(serviceBase, QStringLiteral("/mldd/code/code_down.asp"), programVersion,
                      pageKey);
}

QUrl DecodeDownload::refreshUrl(const QString& serviceBase, const QString& programVersion,
                                const QString& pageKey, const QString& currentVersion) {
    QUrl url = serviceUrl(serviceBase, QStringLiteral("/mldd/code/Code_refresh.asp"),
                          programVersion, pageKey);
    QUrlQuery query(url);
    query.addQueryItem(QStringLiteral("v"), currentVersion);
    url.setQuery(query);
    return url;
}

} // namespace mldd
