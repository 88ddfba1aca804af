#include "ServiceProcess.h"

#include "core/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace mldd;
using namespace Qt::StringLiterals;
using namespace mldd::test;

namespace {

const QByteArray kPageKey = "http))shop-example-com)order)detail-htm";
const QString kDecodeText = u"{|}MIDHN^Q^=^收货人：{|}MIDQN^3^=^[VBCRLF]\r\n{|}SETALL^赋值\r\n"_s;
const QByteArray kSecret = "SECRET-OUTSIDE-THE-CONTENT";

void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// One service for the whole suite, over a content folder written here; beside the
// content folder lies a secret file that no request may ever read.
class ServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<QTemporaryDir>();
        const QString content = s_dir->path() + u"/content"_s;
        const QString key = QString::fromUtf8(kPageKey);
        write(s_dir->path() + u"/secret.txt"_s, kSecret);
        write(s_dir->path() + u"/outside/index.html"_s, kSecret);
        write(content + u"/code/"_s + key + u".dat"_s, kDecodeText.toUtf8());
        write(content + u"/code/"_s + key + u".ver"_s, "3\r\n");
        // A seller's old file in GBK is handed out as UTF-8 like the others.
        write(content + u"/code/http))old-gbk.dat"_s, TextCodec::toGbk(u"{|}SET^0^=^淘宝:老店"_s));
        write(content + u"/code/blocked.txt"_s, "http))shop-example-com)list-htm\r\n");
        write(content + u"/gate.txt"_s, "4.5\r\n");
        write(content + u"/board/顺丰速运.mlg.txt"_s, "layout\r\nbytes\xff");
        write(content + u"/board/顺丰速运.alt.txt"_s, "SF|100|顺丰|SFP|200|顺丰速运\r\n");
        write(content + u"/board/A\"<b>.mlg.txt"_s, "x");
        write(content + u"/help/index.html"_s, "<p>help</p>");
        write(content + u"/help/guide/start.html"_s, "<p>start</p>");
        QFile::link(s_dir->path() + u"/secret.txt"_s, content + u"/help/leak.html"_s);
        QFile::link(s_dir->path() + u"/outside"_s, content + u"/help/out"_s);
        QFile::link(s_dir->path() + u"/secret.txt"_s, content + u"/code/leak.dat"_s);
        QFile::link(s_dir->path() + u"/secret.txt"_s, content + u"/board/leak.mlg.txt"_s);
        s_service = std::make_unique<ServiceProcess>(QStringList{u"--content"_s, content});
        ASSERT_NE(s_service->port(), 0);
    }

    static void TearDownTestSuite() {
        s_service.reset();
        s_dir.reset();
    }

    static RawReply get(const QByteArray& target) { return s_service->get(target); }

    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline std::unique_ptr<ServiceProcess> s_service;
};

TEST_F(ServiceTest, DecodeFileDownloadAnswersEachReplyKind) {
    const RawReply found = get("/mldd/code/code_down.asp?ver=4.18&MaCode=test&f=" + kPageKey);
    EXPECT_EQ(found.status, 200);
    // Version up to the first "|", then the decode text with its CR LF pairs intact.
    EXPECT_EQ(found.text(), u"[YE]3|"_s + kDecodeText);

    EXPECT_EQ(get("/mldd/code/code_down.asp?ver=4.18&f=http))nobody-knows").text(), u"[NO]"_s);
    EXPECT_EQ(get("/mldd/code/code_down.asp?ver=4.18&f=http))shop-example-com)list-htm").text(),
              u"[BL]"_s);
    // Without a .ver file the version is 1; GBK content arrives as UTF-8.
    EXPECT_EQ(get("/mldd/code/code_down.asp?f=http))old-gbk").text(),
              u"[YE]1|{|}SET^0^=^淘宝:老店"_s);
    // Percent-encoded keys decode before the lookup, and script names ignore case.
    EXPECT_EQ(get("/mldd/CODE/Code_Down.asp?f=http%29%29shop-example-com%29order%29detail-htm")
                  .text()
                  .left(6),
              u"[YE]3|"_s);
}

TEST_F(ServiceTest, DecodeFileDownloadRefusesMalformedKeys) {
    for (const QByteArray target :
         {"/mldd/code/code_down.asp?ver=4.18", "/mldd/code/code_down.asp?f=",
          "/mldd/code/code_down.asp?f=..", "/mldd/code/code_down.asp?f=a/b",
          "/mldd/code/code_down.asp?f=..%2f..%2fsecret", "/mldd/code/code_down.asp?f=%ff%fe",
          "/mldd/code/code_down.asp?f=a%00b", "/mldd/code/code_down.asp?f=a%2"}) {
        EXPECT_EQ(get(target).status, 400) << target.constData();
    }
}

TEST_F(ServiceTest, RefreshSendsOnlyNewerVersions) {
    const QByteArray ask = "/mldd/code/Code_refresh.asp?ver=4.18&MaCode=test&f=" + kPageKey + "&v=";
    EXPECT_EQ(get(ask + "0").text(), u"[YN]3|"_s + kDecodeText);
    EXPECT_EQ(get(ask + "3").text(), u"[NN]"_s);
    EXPECT_EQ(get(ask + "3.0").text(), u"[NN]"_s);
    EXPECT_EQ(get("/mldd/code/Code_refresh.asp?f=http))nobody-knows&v=0").text(), u"[NN]"_s);
    EXPECT_EQ(get(ask + "three").status, 400);
    EXPECT_EQ(get("/mldd/code/Code_refresh.asp?f=" + kPageKey).status, 400);
}

TEST_F(ServiceTest, IdListNamesEveryDecodeFileWithItsVersion) {
    const RawReply list = get("/mldd/code/refreshcode.html");
    EXPECT_EQ(list.status, 200);
    // The link leading out of the folder is not announced.
    EXPECT_EQ(list.body, "http))old-gbk|1\r\n" + kPageKey + "|3\r\n");
}

TEST_F(ServiceTest, VersionGateRefusesOlderPrograms) {
    EXPECT_EQ(get("/mldd/fangwei.asp?ver=4.18").text(), u"OK"_s);
    EXPECT_EQ(get("/mldd/fangwei.asp?ver=4.5").text(), u"OK"_s);
    // 4.18 is newer than 4.5 part by part, though "4.18" < "4.5" as text.
    EXPECT_EQ(get("/mldd/fangwei.asp?ver=4.4").text(), u"ERRVER"_s);
    EXPECT_EQ(get("/mldd/fangwei.asp").status, 400);
    EXPECT_EQ(get("/mldd/fangwei.asp?ver=4.x").status, 400);
}

TEST_F(ServiceTest, BoardListsTemplatesAsCheckBoxesAndServesTheirFiles) {
    const RawReply board = get("/mldd/board/");
    EXPECT_TRUE(board.head.contains("text/html"));
    EXPECT_TRUE(
        board.text().contains(QStringLiteral("<input type=\"checkbox\" Name=\"顺丰速运\" "
                                             "Id=\"mb2\" alt=\"SF|100|顺丰|SFP|200|顺丰速运\">")))
        << board.text().toStdString();
    EXPECT_FALSE(board.text().contains(u"leak"_s));
    // A name from a file name is escaped, and missing marketplace values stay empty.
    EXPECT_TRUE(board.text().contains(u"Name=\"A&quot;&lt;b&gt;\" Id=\"mb1\" alt=\"|||||\""_s));

    const RawReply layout = get("/mldd/board/%E9%A1%BA%E4%B8%B0%E9%80%9F%E8%BF%90.mlg.txt");
    EXPECT_EQ(layout.body, QByteArray("layout\r\nbytes\xff"));
    EXPECT_EQ(get("/mldd/board/none.mlg.txt").status, 404);

    EXPECT_EQ(get("/mldd/board/qu_id.asp?nm=%E9%A1%BA%E4%B8%B0%E9%80%9F%E8%BF%90&t=1").text(),
              u"Name=顺丰速运\r\nId=mb2\r\nalt=SF|100|顺丰|SFP|200|顺丰速运\r\n"_s);
    EXPECT_EQ(get("/mldd/board/qu_id.asp?nm=none").status, 404);
    EXPECT_EQ(get("/mldd/board/qu_id.asp").status, 400);
    EXPECT_EQ(get("/mldd/board/qu_id.asp?nm=../secret").status, 400);
}

TEST_F(ServiceTest, HelpPagesAndUnknownPaths) {
    EXPECT_EQ(get("/mldd/help/").body, QByteArray("<p>help</p>"));
    const RawReply page = get("/mldd/help/guide/start.html");
    EXPECT_EQ(page.body, QByteArray("<p>start</p>"));
    EXPECT_TRUE(page.head.contains("Content-Type: text/html; charset=utf-8"));
    EXPECT_EQ(get("/mldd/help/guide").status, 404);
    EXPECT_EQ(get("/mldd/unknown.asp?x=1").status, 404);
}

TEST_F(ServiceTest, NoRequestReadsOutsideTheContentFolder) {
    for (const QByteArray target :
         {"/mldd/help/../../secret.txt", "/mldd/help/%2e%2e/%2e%2e/secret.txt",
          "/mldd/help/%2E%2E%2F%2E%2E%2Fsecret.txt", "/mldd/help/..%5c..%5csecret.txt",
          "/mldd/help//etc/passwd", "/mldd/help/%2fetc%2fpasswd", "/mldd/board/../../secret.txt",
          "/mldd/help/leak.html", "/mldd/help/out/index.html", "/mldd/help/out/",
          "/mldd/code/code_down.asp?f=leak", "/mldd/code/Code_refresh.asp?f=leak&v=0",
          "/mldd/help/./index.html", "/../secret.txt", "/mldd/help/%00", "/mldd/board/leak.mlg.txt",
          "/mldd/board/qu_id.asp?nm=leak", "/mldd/board/"}) {
        const RawReply reply = get(target);
        EXPECT_NE(reply.status, 0) << target.constData();
        EXPECT_FALSE(reply.body.contains(kSecret)) << target.constData();
        EXPECT_TRUE(reply.status == 400 || reply.status == 404 ||
                    reply.text().startsWith(u"[N"_s) || target == "/mldd/board/")
            << target.constData() << " gave " << reply.status;
    }
}

TEST_F(ServiceTest, MalformedRequestsGetAnAnswerAndTheServiceGoesOn) {
    EXPECT_EQ(s_service->send("GARBAGE\r\n\r\n").status, 400);
    EXPECT_EQ(s_service->send("GET /mldd/help/ FTP/1.0\r\n\r\n").status, 400);
    EXPECT_EQ(s_service->send("GET http://evil/mldd/help/ HTTP/1.1\r\n\r\n").status, 400);
    EXPECT_EQ(s_service->send("GET /mldd/help/ HTTP/1.1\r\nX: " + QByteArray(20000, 'a')).status,
              400);
    EXPECT_EQ(s_service->send("POST /mldd/help/ HTTP/1.1\r\nContent-Length: 1\r\n\r\nx").status,
              405);

    // Some clients end their lines with LF alone.
    EXPECT_EQ(s_service->send("GET /mldd/help/ HTTP/1.1\nHost: x\n\n").status, 200);
    EXPECT_EQ(s_service->send("GET /mldd/help/ HTTP/1.0\n\n").status, 200);

    const RawReply head = s_service->send("HEAD /mldd/help/ HTTP/1.1\r\n\r\n");
    EXPECT_EQ(head.status, 200);
    EXPECT_TRUE(head.head.contains("Content-Length: 11"));
    EXPECT_TRUE(head.body.isEmpty());

    // A client that connects and says nothing does not keep others waiting.
    QTcpSocket silent;
    silent.connectToHost(u"127.0.0.1"_s, s_service->port());
    ASSERT_TRUE(silent.waitForConnected(5000));
    EXPECT_EQ(get("/mldd/help/").status, 200);
}

TEST(ServiceProgram, ServesTheShippedContentBesideTheProgram) {
    const ServiceProcess service({});
    ASSERT_NE(service.port(), 0);
    EXPECT_EQ(service.get("/mldd/help/").status, 200);
    EXPECT_EQ(service.get("/mldd/board/").status, 200);
    EXPECT_EQ(service.get("/mldd/fangwei.asp?ver=4.18").text(), u"OK"_s);
}

TEST(ServiceProgram, RefusesBadArgumentsWithAMessage) {
    const auto run = [](const QStringList& args) {
        QProcess process;
        process.start(QStringLiteral(MLDD_SERVICE), args);
        process.waitForFinished(10000);
        return std::pair{process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
    };
    EXPECT_EQ(run({u"--port"_s, u"70000"_s}).first, 2);
    QProcess help;
    help.start(QStringLiteral(MLDD_SERVICE), {u"--help"_s});
    help.waitForFinished(10000);
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.readAllStandardOutput().startsWith("用法: mldd-service"));
    const auto missing = run({u"--content"_s, u"/no/such/folder"_s});
    EXPECT_EQ(missing.first, 1);
    EXPECT_TRUE(missing.second.contains(u"内容目录不存在"_s));
}

} // namespace
