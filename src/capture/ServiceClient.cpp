#include "ServiceClient.h"

#include "core/TextCodec.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace mldd {

ServiceReply ServiceClient::get(const QUrl& url) const {
    if (!QCoreApplication::instance())
        return {false, {}, QStringLiteral("程序没有事件循环，不能联网。"), {}};
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setTransferTimeout(m_timeoutMs);
    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // The transfer timeout covers a silent server; this one also covers a slow trickle.
    QTimer::singleShot(m_timeoutMs, &loop, [reply] { reply->abort(); });
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    ServiceReply result;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() == QNetworkReply::NoError && status == 200) {
        result.ok = true;
        result.bytes = reply->readAll();
        result.body = TextCodec::decodeFileBytes(result.bytes);
    } else {
        result.error = reply->error() == QNetworkReply::OperationCanceledError
                           ? QStringLiteral("连接超时")
                           : reply->errorString();
    }
    reply->deleteLater();
    return result;
}

} // namespace mldd
