#include "HandOver.h"

#include "MessageFrame.h"

#include "core/DataFolderLock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace mldd {

namespace {

const QString kText = QStringLiteral("text");
const QString kPage = QStringLiteral("page");

// The user id of the process at the other end; -1 when unknown.
qint64 peerUser(qintptr descriptor) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return -1;
    return credentials.uid;
}

} // namespace

namespace HandOver {

QString socketPath(const DataFolder& folder) {
    // A socket's path holds at most sizeof sun_path bytes with its end.
    constexpr qsizetype kLongest = sizeof(sockaddr_un::sun_path) - 1;
    const QString name = QStringLiteral("/mldd-%1-%2").arg(getuid()).arg(folder.key());
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    for (const QString& place : {runtime, QDir::tempPath()}) {
        if (!place.isEmpty() && QFile::encodeName(place + name).size() <= kLongest)
            return place + name;
    }
    return QStringLiteral("/tmp") + name;
}

QString Reply::undeliveredText(const DataFolder& folder) const {
    if (noSocket)
        return QStringLiteral("墨岚打单已经打开了数据文件夹 %1，但是它没能打开交接通道，"
                              "不能把命令转给它。\r\n请在已经打开的墨岚打单窗口中操作，"
                              "或者关闭它后再打开。")
            .arg(folder.dataPath());
    return QStringLiteral("墨岚打单已经打开了数据文件夹 %1，但是没有响应。\r\n"
                          "请切换到已经打开的墨岚打单窗口；如果找不到它，请结束它后再打开。")
        .arg(folder.dataPath());
}

Reply send(const QString& socketPath, const QString& commandText, const QString& pageText,
           int timeoutMs) {
    Reply reply;
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return reply;
    QJsonObject message{{kText, commandText}};
    if (!pageText.isEmpty())
        message.insert(kPage, pageText);
    socket.write(MessageFrame::encode(message));
    QByteArray received;
    MessageFrame::Read read;
    while (read.status == MessageFrame::Read::Status::Incomplete) {
        if (!socket.waitForReadyRead(timeoutMs))
            return reply;
        received += socket.readAll();
        read = MessageFrame::decode(received);
    }
    if (read.status != MessageFrame::Read::Status::Complete)
        return reply;
    reply.delivered = true;
    reply.ok = read.object.value(QStringLiteral("ok")).toBool();
    reply.message = read.object.value(QStringLiteral("message")).toString();
    return reply;
}

bool answers(const QString& socketPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    return socket.waitForConnected(1000);
}

Reply sendToWindow(const DataFolder& folder, const QString& commandText, const QString& pageText,
                   int waitMs, bool waitForStart) {
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        const std::optional<DataFolderLock::Holder> holder = DataFolderLock::holder(folder);
        Reply reply;
        reply.noSocket = holder && holder->address == kNoSocket;
        if (holder && !holder->address.isEmpty() && !reply.noSocket)
            reply = send(holder->address, commandText, pageText);
        reply.running = holder.has_value();
        if (reply.delivered || reply.noSocket || deadline.hasExpired() ||
            (!holder && !waitForStart))
            return reply;
        QThread::msleep(100);
    }
}

} // namespace HandOver

HandOverServer::HandOverServer(QObject* parent) : QObject(parent) {
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &HandOverServer::accept);
    connect(&m_queue, &HandOverQueue::takeNext, this, &HandOverServer::commandReceived);
}

bool HandOverServer::listen(const QString& socketPath, QString* error) {
    QDir().mkpath(QFileInfo(socketPath).absolutePath());
    // Listening would put a new socket over the running window's: ask first.
    if (HandOver::answers(socketPath)) {
        if (error)
            *error = QStringLiteral("墨岚打单已经在运行。");
        return false;
    }
    if (m_server.listen(socketPath))
        return true;
    if (m_server.serverError() == QAbstractSocket::AddressInUseError &&
        !HandOver::answers(socketPath)) {
        QLocalServer::removeServer(socketPath); // left behind by a window that ended
        if (m_server.listen(socketPath))
            return true;
    }
    if (error)
        *error = m_server.errorString();
    return false;
}

void HandOverServer::accept() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        // The socket's mode keeps other users out; this keeps them out should it be changed.
        if (peerUser(socket->socketDescriptor()) != qint64(getuid())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        m_buffers.insert(socket, QByteArray());
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
        QTimer::singleShot(kReadTimeoutMs, socket, [socket] { socket->abort(); });
    }
}

void HandOverServer::readFrom(QLocalSocket* socket) {
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    const MessageFrame::Read read = MessageFrame::decode(buffer);
    QJsonObject answer;
    switch (read.status) {
    case MessageFrame::Read::Status::Incomplete:
        return;
    case MessageFrame::Read::Status::TooLarge:
        answer = MessageFrame::answer(false, QStringLiteral("消息太长，没有接收。"));
        break;
    case MessageFrame::Read::Status::NotJson:
        answer = MessageFrame::answer(false, QStringLiteral("消息的格式不对，没有接收。"));
        break;
    case MessageFrame::Read::Status::Complete:
        if (!read.object.value(kText).isString()) {
            answer = MessageFrame::answer(false, QStringLiteral("消息里没有网页地址，没有接收。"));
            break;
        }
        // Passed on later: the window may open dialogs, which must not hold up this answer.
        const std::optional<QString> refusal =
            m_queue.offer(read.object.value(kText).toString(), read.object.value(kPage).toString());
        answer = MessageFrame::answer(!refusal, refusal.value_or(QString()));
        break;
    }
    buffer.clear();
    socket->write(MessageFrame::encode(answer));
    socket->disconnectFromServer();
}

} // namespace mldd
