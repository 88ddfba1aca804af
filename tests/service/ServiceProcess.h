#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>

namespace mldd::test {

/** What one raw HTTP exchange with the service gave. */
struct RawReply {
    int status = 0; // 0 when no reply came
    QByteArray head;
    QByteArray body;
    QString text() const { return QString::fromUtf8(body); }
};

/**
 * A real mldd-service on a free loopback port, for the test's lifetime. The
 * port is the one the service prints on its first line after `--port 0`.
 */
class ServiceProcess {
public:
    explicit ServiceProcess(const QStringList& arguments) {
        m_process.start(QStringLiteral(MLDD_SERVICE),
                        arguments + QStringList{QStringLiteral("--port"), QStringLiteral("0")});
        if (!m_process.waitForStarted(10000))
            return;
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        const auto match = QRegularExpression(QStringLiteral("127\\.0\\.0\\.1:(\\d+)/"))
                               .match(QString::fromUtf8(m_process.readLine()));
        if (match.hasMatch())
            m_port = match.captured(1).toUShort();
    }

    ~ServiceProcess() {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    /** 0 when the service did not come up. */
    quint16 port() const { return m_port; }

    /** Sends `request` as it stands (nothing is normalised) and reads until the service closes. */
    RawReply send(const QByteArray& request) const {
        RawReply reply;
        QTcpSocket socket;
        socket.connectToHost(QStringLiteral("127.0.0.1"), m_port);
        if (!socket.waitForConnected(5000))
            return reply;
        socket.write(request);
        QByteArray all;
        while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(5000))
            all += socket.readAll();
        all += socket.readAll();
        const qsizetype end = all.indexOf("\r\n\r\n");
        if (!all.startsWith("HTTP/1.1 ") || end < 0)
            return reply;
        reply.status = all.mid(9, 3).toInt();
        reply.head = all.left(end);
        reply.body = all.mid(end + 4);
        return reply;
    }

    RawReply get(const QByteArray& target) const {
        return send("GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    }

private:
    QProcess m_process;
    quint16 m_port = 0;
};

} // namespace mldd::test
