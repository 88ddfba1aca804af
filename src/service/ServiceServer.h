#pragma once

#include "ServiceRoutes.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

namespace mldd::service {

/** Accepts connections on loopback, reads one request from each, answers it and closes. */
class ServiceServer : public QObject {
    Q_OBJECT
public:
    /** A connection that has not sent a whole request head by then is closed. */
    static constexpr int kRequestTimeoutMs = 10000;

    explicit ServiceServer(const ServiceRoutes& routes, QObject* parent = nullptr);

    bool listen(const QHostAddress& address, quint16 port);
    quint16 port() const { return m_server.serverPort(); }
    QString errorString() const { return m_server.errorString(); }

private:
    void accept();

    const ServiceRoutes& m_routes;
    QTcpServer m_server;
};

} // namespace mldd::service
