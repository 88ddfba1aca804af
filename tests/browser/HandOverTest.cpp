#include "browser/HandOver.h"
#include "browser/MessageFrame.h"
#include "browser/SingleWindow.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>

using namespace mldd;

namespace {

const QString kChromium = QStringLiteral("chrome-extension://pbelplpcjkjhhflgbpleghkhflgmdhnp/");

// Spins the event loop (the server answers there) until `done` or five seconds passed.
template <typename Done> bool spinUntil(Done done, int ms = 5000) {
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    tick.start(10);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

QByteArray frame(const QByteArray& body, quint32 claimed) {
    QByteArray bytes(4, Qt::Uninitialized);
    std::memcpy(bytes.data(), &claimed, 4);
    return bytes + body;
}

// A window's end of the socket on a data folder, and what it received.
class HandOverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_window.claim(QString()));
        QObject::connect(&m_server, &HandOverServer::commandReceived,
                         [this](const QString& text, const QString& page) {
                             m_received.append({text, page});
                         });
    }

    /** Runs mldd-do (as another user when `asUser`) and returns its standard output. */
    QByteArray runLauncher(const QStringList& args, const QByteArray& input = {}) {
        QProcess process;
        process.start(QStringLiteral(MLDD_DO),
                      QStringList{QStringLiteral("--data"), m_data} + args);
        process.write(input);
        process.closeWriteChannel();
        spinUntil([&] { return process.state() == QProcess::NotRunning; }, 10000);
        m_exitCode = process.exitCode();
        return process.readAllStandardOutput();
    }

    /** Sends raw bytes as a client of this user would and returns the answer. */
    QJsonObject rawExchange(const QByteArray& bytes) {
        QLocalSocket socket;
        socket.connectToServer(m_socket);
        QByteArray answer;
        QObject::connect(&socket, &QLocalSocket::readyRead, [&] { answer += socket.readAll(); });
        socket.write(bytes);
        spinUntil([&] {
            return MessageFrame::decode(answer).status != MessageFrame::Read::Status::Incomplete;
        });
        return MessageFrame::decode(answer).object;
    }

    QTemporaryDir m_dir;
    QString m_data = m_dir.path() + QStringLiteral("/data");
    QString m_socket = HandOver::socketPath(DataFolder(m_data));
    SingleWindow m_window{DataFolder(m_data)};
    HandOverServer& m_server = m_window.server();
    QList<std::pair<QString, QString>> m_received;
    int m_exitCode = -1;
};

} // namespace

TEST_F(HandOverTest, TheLauncherHandsAnAddressOrABrowsersPageToTheRunningWindow) {
    EXPECT_TRUE(runLauncher({QStringLiteral("https://trade.taobao.com/trade/batch_send.htm?x=1")})
                    .isEmpty());
    EXPECT_EQ(m_exitCode, 0);
    ASSERT_TRUE(spinUntil([&] { return m_received.size() == 1; }));
    EXPECT_EQ(m_received[0].first,
              QStringLiteral("https://trade.taobao.com/trade/batch_send.htm?x=1"));
    EXPECT_TRUE(m_received[0].second.isEmpty());

    // The extension's message in the browser's own framing; the answer in the same framing.
    const QByteArray body =
        QJsonDocument(
            QJsonObject{{QStringLiteral("url"),
                         QStringLiteral("https://trade.taobao.com/trade/detail.htm?id=7!x")},
                        {QStringLiteral("text"), QStringLiteral("收货人：张三\n地址")}})
            .toJson(QJsonDocument::Compact);
    const QByteArray answer = runLauncher({kChromium}, frame(body, quint32(body.size())));
    EXPECT_EQ(MessageFrame::decode(answer).object, MessageFrame::answer(true));
    ASSERT_TRUE(spinUntil([&] { return m_received.size() == 2; }));
    EXPECT_EQ(m_received[1].first, QStringLiteral("https://trade.taobao.com/trade/detail.htm"));
    EXPECT_EQ(m_received[1].second, QStringLiteral("收货人：张三\n地址"));
}

TEST_F(HandOverTest, HostileMessagesGetAClearAnswerAndReachNoWindow) {
    const auto refused = [](const QByteArray& answer) {
        const QJsonObject object = MessageFrame::decode(answer).object;
        return !object.value(QStringLiteral("ok")).toBool(true) &&
               !object.value(QStringLiteral("message")).toString().isEmpty();
    };
    EXPECT_TRUE(refused(runLauncher({kChromium}, frame("not json {", 10))));
    EXPECT_TRUE(refused(runLauncher({kChromium}, frame("[1,2]", 5))));
    EXPECT_TRUE(refused(runLauncher({kChromium}, frame("{}", 0xFFFFFFFFu))));
    EXPECT_TRUE(refused(runLauncher({kChromium}, QByteArray("\x01\x00", 2))));
    EXPECT_EQ(m_exitCode, 1);

    // The same on the window's own socket.
    EXPECT_FALSE(rawExchange(frame("{}", 0xFFFFFFF0u)).value(QStringLiteral("ok")).toBool(true));
    EXPECT_FALSE(rawExchange(frame("\xff\xfe", 2)).value(QStringLiteral("ok")).toBool(true));
    EXPECT_FALSE(rawExchange(frame("{\"page\":1}", 10)).value(QStringLiteral("ok")).toBool(true));
    spinUntil([] { return false; }, 200);
    EXPECT_TRUE(m_received.isEmpty());
}

TEST_F(HandOverTest, AnotherUsersMessageIsDroppedEvenThroughAnOpenSocket) {
    // Open the way on purpose, so that only the window's own check stands between.
    QFile::setPermissions(QFileInfo(m_socket).absolutePath(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                              QFileDevice::ExeOther | QFileDevice::ExeGroup);
    QFile::setPermissions(m_socket, QFileDevice::Permissions(0x7777));
    QProcess other;
    other.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                 QStringLiteral("--clear-groups"), QStringLiteral("/usr/bin/python3"),
                 QStringLiteral("-c"),
                 QStringLiteral("import socket,struct,sys\n"
                                "s=socket.socket(socket.AF_UNIX)\n"
                                "s.connect(sys.argv[1])\n"
                                "b=b'{\"text\":\"https://evil.example/x\"}'\n"
                                "try:\n"
                                "  s.sendall(struct.pack('=I',len(b))+b)\n"
                                "  print(len(s.recv(100)))\n"
                                "except OSError: print(0)\n"), // the window may close first
                 m_socket});
    spinUntil([&] { return other.state() == QProcess::NotRunning; });
    EXPECT_EQ(other.readAllStandardOutput().trimmed(), "0") // closed without an answer
        << other.readAllStandardError().toStdString();
    spinUntil([] { return false; }, 200);
    EXPECT_TRUE(m_received.isEmpty());
}

TEST_F(HandOverTest, ASecondWindowDoesNotTakeTheSocketButOneLeftBehindIsReplaced) {
    HandOverServer second;
    EXPECT_FALSE(second.listen(m_socket));
    QTemporaryDir other;
    const QString stale = HandOver::socketPath(DataFolder(other.path()));
    {
        QLocalServer dead;
        dead.listen(stale);
        dead.close(); // Qt removes its file; make one as a crash would leave it
    }
    QFile(stale).open(QIODevice::WriteOnly);
    HandOverServer revived;
    EXPECT_TRUE(revived.listen(stale));
}
