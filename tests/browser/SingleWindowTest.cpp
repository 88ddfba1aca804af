#include "browser/HandOver.h"
#include "browser/MessageFrame.h"
#include "core/DataFolderLock.h"

#include "CliRun.h"
#include "ServiceProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include <unistd.h>

using namespace mldd;

namespace {

const QString kCallingExtension =
    QStringLiteral("chrome-extension://goljiehjbpakmgjoapnkniocnkjnkfbk/");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Polls `done` every 100 ms for up to `ms`: the processes under test keep their own pace.
template <typename Done> bool waitFor(Done done, int ms = 30000) {
    for (int waited = 0; !done() && waited < ms; waited += 100)
        QThread::msleep(100);
    return done();
}

// A virtual screen of 1280x860 (the window needs 1024 pixels) for the test's lifetime.
class VirtualScreen {
public:
    VirtualScreen() {
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral("-displayfd"), QStringLiteral("1"),
                        QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("1280x860x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
        while (!m_server.canReadLine() && m_server.waitForReadyRead(10000)) {
        }
        const QByteArray number = m_server.readLine().trimmed();
        if (!number.isEmpty())
            m_display = u':' + QString::fromLatin1(number);
    }
    ~VirtualScreen() {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }
    /** Empty when Xvfb did not come up. */
    QString display() const { return m_display; }

private:
    QProcess m_server;
    QString m_display;
};

// The real programs on one data folder with a sender and a plan, a service
// for the decode files, and a virtual screen; each start gets its own runtime
// folder, or none, as a start from another session would.
class SingleWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
            GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
        ASSERT_FALSE(m_screen.display().isEmpty());
        ASSERT_NE(m_service.port(), 0);
        ASSERT_EQ(
            QProcess::execute(QStringLiteral("cp"),
                              {QStringLiteral("-r"), QStringLiteral(MLDD_BIN "/data"), m_data}),
            0);
        QFile::remove(m_data + QStringLiteral("/mlddsj.db"));
        QFile service(m_dir.filePath(QStringLiteral("g_url.dat")));
        ASSERT_TRUE(service.open(QIODevice::WriteOnly));
        service.write(QStringLiteral("http://127.0.0.1:%1\r\n").arg(m_service.port()).toUtf8());
        service.close();
        cli({QStringLiteral("profile"), QStringLiteral("save"), QStringLiteral("--market"),
             QStringLiteral("淘宝"), QStringLiteral("--id"), QStringLiteral("墨岚小店"),
             QStringLiteral("--name"), QStringLiteral("王小明"), QStringLiteral("--address"),
             QStringLiteral("贵州省贵阳市南明区花果园R1区8栋")});
        cli({QStringLiteral("plan"), QStringLiteral("圆通")});
        // The hint after a hand-over would open the help page in a browser: it was seen.
        ASSERT_EQ(QProcess::execute(QStringLiteral("sqlite3"),
                                    {m_data + QStringLiteral("/mlddsj.db"),
                                     QStringLiteral("UPDATE PrintItem_data SET SoftSet = "
                                                    "'0|3|0|0|0|0|0'")}),
                  0);
    }

    void TearDown() override {
        if (const auto holder = DataFolderLock::holder(DataFolder(m_data)))
            ::kill(pid_t(holder->pid), SIGTERM);
    }

    void cli(const QStringList& args) {
        const test::CliRun run = test::runCli(QStringList{QStringLiteral("--data"), m_data} + args);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }

    /** The environment of a start from a session with the runtime folder `runtime` (none: unset).
     */
    QProcessEnvironment session(const QString& runtime) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("DISPLAY"), m_screen.display());
        environment.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           m_dir.filePath(QStringLiteral("config")));
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        if (!runtime.isEmpty()) {
            const QString folder = m_dir.filePath(runtime);
            QDir().mkpath(folder);
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder);
        }
        return environment;
    }

    /** Runs `program` in `environment` with `input` on its standard input; its exit status. */
    int run(const QString& program, const QStringList& args, const QProcessEnvironment& environment,
            const QByteArray& input = {}, QByteArray* output = nullptr) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, QStringList{QStringLiteral("--data"), m_data} + args);
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000))
            process.kill();
        if (output)
            *output = process.readAllStandardOutput();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    /** The extension's native message for a sample page, as the browser frames it. */
    static QByteArray browserMessage(const QString& address, const QString& sample) {
        const QByteArray body =
            QJsonDocument(QJsonObject{{QStringLiteral("url"), address},
                                      {QStringLiteral("text"),
                                       QString::fromUtf8(readFile(
                                           QStringLiteral(MLDD_SOURCE_DIR "/samples/") + sample))}})
                .toJson(QJsonDocument::Compact);
        QByteArray framed(4, Qt::Uninitialized);
        const quint32 size = quint32(body.size());
        std::memcpy(framed.data(), &size, 4);
        return framed + body;
    }

    int storedOrders() const {
        const test::CliRun listed = test::runCli(
            {QStringLiteral("--data"), m_data, QStringLiteral("orders"), QStringLiteral("--json")});
        return int(listed.out.count(QStringLiteral("\"order_sign\"")));
    }

    /** The processes of the window program on this data folder. */
    QList<qint64> windows() const {
        QList<qint64> found;
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            const QByteArray command = readFile(QStringLiteral("/proc/%1/cmdline").arg(entry));
            if (command.startsWith(QByteArrayLiteral(MLDD_BIN "/mldd\0")) &&
                command.contains(m_data.toUtf8()))
                found.append(entry.toLongLong());
        }
        return found;
    }

    VirtualScreen m_screen;
    test::ServiceProcess m_service{
        {QStringLiteral("--content"), QStringLiteral(MLDD_BIN "/service/content")}};
    QTemporaryDir m_dir;
    QString m_data = m_dir.filePath(QStringLiteral("data"));
};

} // namespace

TEST_F(SingleWindowTest, EveryStartOfTheUserReachesTheOneWindowOfTheFolder) {
    // The browser starts the window through mldd-do: it must not keep the browser's pipes.
    QByteArray answer;
    ASSERT_EQ(run(QStringLiteral(MLDD_BIN "/mldd-do"), {kCallingExtension},
                  session(QStringLiteral("run-a")),
                  browserMessage(QStringLiteral("https://trade.taobao.com/trade/detail.htm"),
                                 QStringLiteral("taobao-detail.txt")),
                  &answer),
              0);
    EXPECT_EQ(MessageFrame::decode(answer).object, MessageFrame::answer(true));
    ASSERT_TRUE(waitFor([&] { return storedOrders() == 1; }));
    const auto holder = DataFolderLock::holder(DataFolder(m_data));
    ASSERT_TRUE(holder);
    EXPECT_EQ(windows(), QList<qint64>{holder->pid});
    for (const char* stream : {"0", "1", "2"})
        EXPECT_EQ(QFile::symLinkTarget(QStringLiteral("/proc/%1/fd/").arg(holder->pid) + stream),
                  QStringLiteral("/dev/null"));
    const QList<QByteArray> stat =
        readFile(QStringLiteral("/proc/%1/stat").arg(holder->pid)).split(')').last().split(' ');
    EXPECT_NE(stat.value(4).toLongLong(), qint64(getsid(0))) << "still in the browser's session";

    // Starts from sessions with another runtime folder, or none, hand over and end.
    EXPECT_EQ(run(QStringLiteral(MLDD_BIN "/mldd"), {}, session(QStringLiteral("run-b"))), 0);
    EXPECT_EQ(run(QStringLiteral(MLDD_BIN "/mldd-do"), {kCallingExtension}, session(QString()),
                  browserMessage(QStringLiteral("https://trade.taobao.com/trade/batch_send.htm"),
                                 QStringLiteral("taobao-batch.txt"))),
              0);
    EXPECT_TRUE(waitFor([&] { return storedOrders() > 1; }));
    EXPECT_EQ(windows(), QList<qint64>{holder->pid});
    // Nor can any other process of the user take the folder while the window holds it.
    EXPECT_EQ(DataFolderLock(DataFolder(m_data)).take(), DataFolderLock::Take::HeldByOther);
}

TEST_F(SingleWindowTest, AKilledWindowsFolderIsTakenOverByTheNextStart) {
    QProcess first;
    first.setProcessEnvironment(session(QStringLiteral("run-a")));
    first.start(QStringLiteral(MLDD_BIN "/mldd"), {QStringLiteral("--data"), m_data});
    const DataFolder folder(m_data);
    const auto listening = [&] {
        const auto holder = DataFolderLock::holder(folder);
        return holder && !holder->address.isEmpty() && HandOver::answers(holder->address);
    };
    ASSERT_TRUE(waitFor(listening));
    first.kill();
    first.waitForFinished();

    // The lock file and the socket stay behind; the next start, from elsewhere, takes over.
    ASSERT_TRUE(QFile::exists(DataFolderLock::path(folder)));
    QProcess start;
    start.setProcessEnvironment(session(QStringLiteral("run-c")));
    start.setProgram(QStringLiteral(MLDD_BIN "/mldd"));
    start.setArguments({QStringLiteral("--data"), m_data});
    qint64 next = 0;
    ASSERT_TRUE(start.startDetached(&next));
    ASSERT_TRUE(waitFor(listening));
    EXPECT_EQ(DataFolderLock::holder(folder)->pid, next);
    EXPECT_EQ(windows(), QList<qint64>{next});
    EXPECT_TRUE(HandOver::sendToWindow(folder, QString()).ok);
}

// A runtime folder too deep for a socket's path: the window listens where a socket fits and
// every later start reaches it at once. A window that cannot listen at all is reported at once.
TEST_F(SingleWindowTest, ADeepRuntimeFolderStillHandsOverAndNoStartWaitsForNothing) {
    const QString deep = QStringLiteral("run-") + QString(60, u'd') + u'/' + QString(60, u'e');
    const QProcessEnvironment environment = session(deep);
    ASSERT_GT(QFile::encodeName(environment.value(QStringLiteral("XDG_RUNTIME_DIR"))).size(), 108);
    QProcess window;
    window.setProcessEnvironment(environment);
    window.start(QStringLiteral(MLDD_BIN "/mldd"), {QStringLiteral("--data"), m_data});
    const DataFolder folder(m_data);
    ASSERT_TRUE(waitFor([&] {
        const auto holder = DataFolderLock::holder(folder);
        return holder && !holder->address.isEmpty() && HandOver::answers(holder->address);
    }));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(run(QStringLiteral(MLDD_BIN "/mldd-do"),
                  {QStringLiteral("https://trade.taobao.com/trade/detail.htm")}, environment),
              0);
    EXPECT_EQ(run(QStringLiteral(MLDD_BIN "/mldd"), {}, environment), 0);
    EXPECT_LT(clock.elapsed(), 10000);
    window.kill();
    window.waitForFinished();

    // The folder's socket is taken by something that is no socket: the window starts without one.
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", environment.value(QStringLiteral("XDG_RUNTIME_DIR")).toUtf8());
    const QString socket = HandOver::socketPath(folder);
    qputenv("XDG_RUNTIME_DIR", saved);
    ASSERT_LE(QFile::encodeName(socket).size(), 107);
    QFile::remove(socket);
    ASSERT_TRUE(QDir().mkpath(socket + QStringLiteral("/taken")));
    window.start(QStringLiteral(MLDD_BIN "/mldd"), {QStringLiteral("--data"), m_data});
    ASSERT_TRUE(waitFor([&] {
        const auto holder = DataFolderLock::holder(folder);
        return holder && holder->address == HandOver::kNoSocket;
    }));
    clock.restart();
    QProcess sender;
    sender.setProcessEnvironment(environment);
    sender.start(QStringLiteral(MLDD_BIN "/mldd-do"),
                 {QStringLiteral("--data"), m_data, QStringLiteral("https://trade.taobao.com/x")});
    ASSERT_TRUE(sender.waitForFinished(60000));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(sender.exitCode(), 1);
    EXPECT_TRUE(
        QString::fromUtf8(sender.readAllStandardError()).contains(QStringLiteral("交接通道")));
    window.kill();
    window.waitForFinished();
    QDir(socket).removeRecursively();
}
