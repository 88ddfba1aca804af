#include "LocalService.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QHostAddress>
#include <QProcess>
#include <QTcpSocket>
#include <QThread>

namespace mldd::LocalService {

namespace {

constexpr int kHttpPort = 80;

} // namespace

bool isLoopback(const QUrl& address) {
    if (address.scheme() != u"http")
        return false;
    const QString host = address.host();
    if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress ip(host);
    return !ip.isNull() && ip.isLoopback();
}

bool answers(const QUrl& address, int waitMs) {
    QTcpSocket socket;
    socket.connectToHost(address.host(), quint16(address.port(kHttpPort)));
    return socket.waitForConnected(waitMs);
}

Ensured ensure(const QString& serviceBase, const QString& programFolder, int waitMs) {
    const QUrl address(serviceBase);
    if (!isLoopback(address))
        return {Outcome::NotLoopback};
    // Refused at once when nobody listens: the short wait only covers a busy machine.
    if (answers(address, 500))
        return {Outcome::Answering};
    const QString program = programFolder + QStringLiteral("/mldd-service");
    if (!QFileInfo(program).isExecutable())
        return {Outcome::NotStarted};
    QProcess service;
    service.setProgram(program);
    service.setArguments({QStringLiteral("--port"), QString::number(address.port(kHttpPort))});
    service.setStandardInputFile(QProcess::nullDevice());
    service.setStandardOutputFile(QProcess::nullDevice());
    service.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!service.startDetached(&pid))
        return {Outcome::NotStarted};
    const QDeadlineTimer deadline(waitMs);
    while (!deadline.hasExpired()) {
        if (answers(address, 200))
            return {Outcome::Started, pid};
        QThread::msleep(50);
    }
    return {Outcome::NotStarted, pid};
}

} // namespace mldd::LocalService
