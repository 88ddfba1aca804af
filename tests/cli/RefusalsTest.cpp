#include "CliRun.h"
#include "MarketPages.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace mldd;

namespace {

using test::CliRun;
using test::runCli;

// Bad input gets a message and a non-zero exit, and loses nothing.
class RefusalsTest : public ::testing::Test {
protected:
    QString data() const { return m_dir.filePath(QStringLiteral("data")); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

    CliRun cli(const QStringList& args) {
        return runCli(QStringList{QStringLiteral("--data"), data()} + args);
    }

    static void expectRefused(const CliRun& run, int exitCode, const QString& says) {
        EXPECT_EQ(run.exitCode, exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(says)) << run.err.toStdString();
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(RefusalsTest, EveryProgramAndCommandAnswersHelp) {
    const CliRun all = runCli({QStringLiteral("--help")});
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_TRUE(all.out.startsWith(QStringLiteral("用法: mldd-cli")));
    for (const char* command :
         {"orders", "split-address", "recognize", "codec", "code128", "print", "decode", "goods",
          "profile", "capture", "plan", "decode-files", "capital", "db"}) {
        const CliRun run = runCli({QString::fromUtf8(command), QStringLiteral("--help")});
        EXPECT_EQ(run.exitCode, 0) << command;
        EXPECT_TRUE(run.out.startsWith(QStringLiteral("用法: mldd-cli [--data DIR] ") +
                                       QString::fromUtf8(command) + u' '))
            << command << ": " << run.out.toStdString();
    }
    // The overview, and each command's part of it, names every option the command itself
    // says it takes when it is given none.
    const QRegularExpression option(QStringLiteral("--[a-z-]+"));
    for (const char* command : {"print", "capture", "captured", "import", "writeback"}) {
        const QString name = QString::fromUtf8(command);
        const CliRun own = runCli({name});
        EXPECT_EQ(own.exitCode, 2) << command;
        const QString overview = runCli({name, QStringLiteral("--help")}).out;
        for (const QRegularExpressionMatch& match : option.globalMatch(own.err)) {
            const QString taken = match.captured();
            if (taken != QStringLiteral("--data")) {
                EXPECT_TRUE(overview.contains(taken)) << command << " " << taken.toStdString();
            }
        }
    }
    for (const char* program : {MLDD_APP, MLDD_DO}) {
        QProcess other;
        other.start(QString::fromUtf8(program), {QStringLiteral("--help")});
        ASSERT_TRUE(other.waitForFinished(20000)) << program;
        EXPECT_EQ(other.exitCode(), 0) << program;
        EXPECT_TRUE(other.readAllStandardOutput().startsWith("用法: mldd")) << program;
    }
}

// Devices, pipes and huge files are never read: no endless wait, no exhausted memory.
TEST_F(RefusalsTest, OnlyRegularFilesOfAtMost64MbAreRead) {
    const QString fifo = file(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString huge = file(QStringLiteral("huge.txt"));
    QFile sparse(huge);
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
    ASSERT_TRUE(sparse.resize(64 * 1024 * 1024 + 1));
    sparse.close();
    const QString rules = file(QStringLiteral("rules.dat"));
    QFile(rules).open(QIODevice::WriteOnly);

    for (const QString& page : {QStringLiteral("/dev/zero"), fifo, m_dir.path()})
        expectRefused(cli({QStringLiteral("capture"), QStringLiteral("--url"), test::kBatchSendPage,
                           QStringLiteral("--page"), page}),
                      1, QStringLiteral("不是普通文件"));
    expectRefused(cli({QStringLiteral("capture"), QStringLiteral("--url"), test::kBatchSendPage,
                       QStringLiteral("--page"), huge}),
                  1, QStringLiteral("超过 64 MB"));
    expectRefused(runCli({QStringLiteral("decode"), QStringLiteral("--rules"), rules,
                          QStringLiteral("--page"), fifo}),
                  1, QStringLiteral("不是普通文件"));
    expectRefused(runCli({QStringLiteral("goods"), QStringLiteral("--program"), rules,
                          QStringLiteral("--text"), QStringLiteral("/dev/urandom")}),
                  1, QStringLiteral("不是普通文件"));
    EXPECT_FALSE(QFile::exists(data() + QStringLiteral("/mlddsj.db")));
}

// What a capture or a start could not do is its last word: no line of work in progress after it.
TEST_F(RefusalsTest, AFailedCaptureOrStartEndsWithWhatWentWrong) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    QFile service(file(QStringLiteral("g_url.dat")));
    ASSERT_TRUE(service.open(QIODevice::WriteOnly));
    service.write(QStringLiteral("http://127.0.0.1:%1\r\n").arg(port).toUtf8());
    service.close();
    const QString page = file(QStringLiteral("page.txt"));
    QFile text(page);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("收货人：王小明\r\n");
    text.close();
    const CliRun refused = cli({QStringLiteral("capture"), QStringLiteral("--url"),
                                QStringLiteral("https://example.com/shop/orders.htm"),
                                QStringLiteral("--page"), page});
    expectRefused(refused, 1, QStringLiteral("没有取到本类页面的解码文件"));
    EXPECT_FALSE(refused.err.contains(QStringLiteral("正在搜索解码文件")))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.trimmed().endsWith(
        QStringLiteral("没有提取：没有取到本类页面的解码文件，请检查网络后再提取。")))
        << refused.err.toStdString();

    // A data folder whose parent cannot hold it is not said to be made.
    const QString notAFolder = file(QStringLiteral("plain-file"));
    QFile(notAFolder).open(QIODevice::WriteOnly);
    const CliRun unmade = runCli(
        {QStringLiteral("--data"), notAFolder + QStringLiteral("/data"), QStringLiteral("orders")});
    expectRefused(unmade, 1, QStringLiteral("无法创建数据文件夹"));
    EXPECT_FALSE(unmade.err.contains(QStringLiteral("已经新建了"))) << unmade.err.toStdString();
}

TEST_F(RefusalsTest, SmallMistakesAreToldNotSwallowed) {
    expectRefused(cli({QStringLiteral("capture"), QStringLiteral("--url"), QString(),
                       QStringLiteral("--page"), QStringLiteral("/dev/null")}),
                  2, QStringLiteral("网页地址太短"));

    // A place table that cannot be read, is binary or empty splits nothing: say so.
    const QString binary = file(QStringLiteral("binary.txt"));
    QFile random(QStringLiteral("/dev/urandom"));
    random.open(QIODevice::ReadOnly);
    QFile out(binary);
    out.open(QIODevice::WriteOnly);
    out.write(random.read(65536));
    out.close();
    const QString empty = file(QStringLiteral("empty.txt"));
    QFile(empty).open(QIODevice::WriteOnly);
    for (const auto& [area, says] :
         {std::pair{m_dir.path(), QStringLiteral("不是普通文件")},
          std::pair{binary, QStringLiteral("不是地址库")},
          std::pair{empty, QStringLiteral("是空的")},
          std::pair{file(QStringLiteral("none.txt")), QStringLiteral("找不到地址库文件")}})
        expectRefused(runCli({QStringLiteral("split-address"), QStringLiteral("--area"), area,
                              QStringLiteral("北京市朝阳区")}),
                      1, says);

    for (const char* amount : {"-1", "1000000000", "1e12"})
        expectRefused(runCli({QStringLiteral("capital"), QString::fromUtf8(amount)}), 1,
                      QStringLiteral("金额必须在 0 到 999999999.99 之间"));
    EXPECT_EQ(runCli({QStringLiteral("capital"), QStringLiteral("999999999.99")}).out,
              QStringLiteral("玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分\n"));

    // A mistyped data folder makes a new, empty one: the seller hears of it.
    const CliRun fresh = cli({QStringLiteral("orders")});
    EXPECT_EQ(fresh.exitCode, 0);
    EXPECT_TRUE(fresh.err.contains(QStringLiteral("原来不存在，已经新建了一个")))
        << fresh.err.toStdString();
    EXPECT_FALSE(cli({QStringLiteral("orders")}).err.contains(QStringLiteral("新建")));

    // Only installed templates can be planned; a path is no template.
    QDir().mkpath(data() + QStringLiteral("/Delivery"));
    QFile(data() + QStringLiteral("/Delivery/圆通.mlg")).open(QIODevice::WriteOnly);
    for (const QStringList& plan :
         {QStringList{QStringLiteral("不存在的快递")}, QStringList{QStringLiteral("../../x")},
          QStringList{QStringLiteral("圆通"), QStringLiteral("广东=../../x")}})
        expectRefused(cli(QStringList{QStringLiteral("plan")} + plan), 2,
                      QStringLiteral("没有这个快递单模版"));
    EXPECT_EQ(cli({QStringLiteral("plan"), QStringLiteral("圆通")}).exitCode, 0);
}
