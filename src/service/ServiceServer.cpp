#include "ServiceServer.h"

#include <QTcpSocket>
#include <QTimer>

namespace mldd::service {

ServiceServer::ServiceServer(const ServiceRoutes& routes, QObject* parent)
    : QObject(parent), m_routes(routes) {
    connect(&m_server, &QTcpServer::newConnection, this, &ServiceServer::accept);
}

bool ServiceServer::listen(const QHostAddress& address, quint16 port) {
    return m_server.listen(address, port);
}

void ServiceServer::accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kRequestTimeoutMs, socket, [socket] { socket->abort(); });
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            // The head so far lives on the socket itself, so it goes when the socket goes.
            QByteArray buffer = socket->property("head").toByteArray() + socket->readAll();
            HttpRequest request;
            HttpReply reply;
            switch (HttpRequest::parse(buffer, request)) {
            case HttpRequest::Parse::Incomplete:
                socket->setProperty("head", buffer);
                return;
            case HttpRequest::Parse::Malformed:
                reply = HttpReply::error(400, QStringLiteral("请求格式不对"));
                break;
            case HttpRequest::Parse::Complete:
                reply = m_routes.answer(request);
                break;
            }
            disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
            socket->write(reply.serialize(request.method == u"HEAD"));
            socket->disconnectFromHost();
        });
    }
}

} // namespace mldd::service
