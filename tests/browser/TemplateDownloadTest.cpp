#include "CliRun.h"
#include "FileBytes.h"
#include "ServiceProcess.h"

#include "browser/TemplateDownload.h"
#include "core/MainState.h"
#include "core/OrderStore.h"
#include "core/Startup.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

const QString kContent = QStringLiteral(MLDD_BIN "/service/content");

// A started program on an empty data folder, downloading from a real mldd-service.
class TemplateDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_service.port(), 0);
        ASSERT_TRUE(startUp(m_state, QString()).ok);
        m_state.serviceBase = QStringLiteral("http://127.0.0.1:%1").arg(m_service.port());
    }

    QStringList filesUnder(const QString& path) {
        QStringList files;
        QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(QDir(m_dir.path()).relativeFilePath(it.next()));
        return files;
    }

    test::ServiceProcess m_service{{QStringLiteral("--content"), kContent}};
    QTemporaryDir m_dir;
    MainState m_state{DataFolder(m_dir.path() + QStringLiteral("/data"))};
    ServiceClient m_client{5000};
};

} // namespace

TEST_F(TemplateDownloadTest, TickedTemplatesLandInTheFolderAndTheCourierList) {
    QStringList progress;
    const TemplateDownload::Result result = TemplateDownload::downloadSelected(
        m_state,
        TemplateDownload::choicesFromJson(
            QStringLiteral(R"([{"name":"顺丰","id":"mb6","alt":"SF|100|顺丰|SFP|200|顺丰速运"},)"
                           R"({"name":"圆通","id":"mb3","alt":""}])")),
        m_client, [&](const QString& line) { progress.append(line); });
    EXPECT_EQ(result.downloaded, (QStringList{QStringLiteral("顺丰"), QStringLiteral("圆通")}));
    ASSERT_EQ(result.notices.size(), 1);
    EXPECT_EQ(result.notices.first().text, QStringLiteral("单据模版下载完成!"));
    EXPECT_EQ(progress.first(), QStringLiteral("提示：正在下载单据模版文件 顺丰 ... ..."));
    // Byte for byte what the board holds, under the template folder.
    EXPECT_EQ(test::fileBytes(m_state.folder.file(QStringLiteral("Delivery/顺丰.mlm"))),
              test::fileBytes(kContent + QStringLiteral("/board/顺丰.mlm.txt")));
    EXPECT_FALSE(
        test::fileBytes(m_state.folder.file(QStringLiteral("Delivery/圆通.mlg"))).isEmpty());
    EXPECT_EQ(m_state.templates, (QStringList{QStringLiteral("圆通"), QStringLiteral("顺丰")}));
    EXPECT_EQ(m_state.couriers, (QStringList{QStringLiteral("顺丰"), QStringLiteral("圆通")}));

    // Downloading again updates the row instead of adding one.
    TemplateDownload::downloadSelected(
        m_state, {{QStringLiteral("顺丰"), {}, QStringLiteral("SF|1")}}, m_client);
    QSqlQuery query(m_state.database->connection());
    query.exec(QStringLiteral("select count(*), max(Delivery_Taobao_id) from Delivery_list "
                              "where Delivery_Name = '顺丰'"));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toInt(), 1);
    EXPECT_EQ(query.value(1).toString(), QStringLiteral("1"));
}

TEST_F(TemplateDownloadTest, HostileNamesNothingTickedAndUnknownTemplates) {
    const TemplateDownload::Result hostile = TemplateDownload::downloadSelected(
        m_state, {{QStringLiteral("../../x"), {}, {}}, {QStringLiteral("a/b"), {}, {}}}, m_client);
    EXPECT_TRUE(hostile.downloaded.isEmpty());
    EXPECT_TRUE(hostile.notices.first().text.contains(QStringLiteral("../../x")));
    EXPECT_TRUE(filesUnder(m_dir.path()).filter(QStringLiteral("x.ml")).isEmpty());
    EXPECT_TRUE(m_state.couriers.isEmpty());

    const TemplateDownload::Result none = TemplateDownload::downloadSelected(m_state, {}, m_client);
    EXPECT_EQ(none.notices.first().text, QStringLiteral("先勾选需要下载模版，再点下载!"));
    EXPECT_EQ(none.notices.first().icon, Notice::Icon::Critical);

    const TemplateDownload::Result unknown =
        TemplateDownload::downloadById(m_state, QStringLiteral("没有这个"), m_client);
    EXPECT_EQ(
        unknown.notices.first().text,
        QStringLiteral("刚才尝试下载快递模版：没有这个未能成功，请在[设置][下载快递模版]下载！"));
    const TemplateDownload::Result byName =
        TemplateDownload::downloadById(m_state, QStringLiteral("韵达"), m_client);
    EXPECT_EQ(byName.notices.first().text,
              QStringLiteral("快递模版：韵达已经成功下载，点[确定]后，继续刚才的工作！"));
    EXPECT_EQ(m_state.couriers, QStringList{QStringLiteral("韵达")});
}

TEST_F(TemplateDownloadTest, TheVersionGateStopsAnOldProgramAndAnUnreachableServiceIsSaid) {
    QTemporaryDir content;
    QFile gate(content.filePath(QStringLiteral("gate.txt")));
    ASSERT_TRUE(gate.open(QIODevice::WriteOnly));
    gate.write("99.0\r\n");
    gate.close();
    test::ServiceProcess strict{{QStringLiteral("--content"), content.path()}};
    m_state.serviceBase = QStringLiteral("http://127.0.0.1:%1").arg(strict.port());
    const TemplateDownload::Result refused =
        TemplateDownload::downloadSelected(m_state, {{QStringLiteral("顺丰"), {}, {}}}, m_client);
    EXPECT_EQ(refused.notices.first().text,
              QStringLiteral("当前版本无法下载快递单模版！\r\n请下载最新版本！"));
    EXPECT_TRUE(refused.downloaded.isEmpty());

    m_state.serviceBase = QStringLiteral("http://127.0.0.1:9");
    const TemplateDownload::Result offline =
        TemplateDownload::downloadSelected(m_state, {{QStringLiteral("顺丰"), {}, {}}}, m_client);
    EXPECT_TRUE(offline.notices.first().text.startsWith(QStringLiteral("连不上服务器")));
}

// A board that answers with nothing, or with a layout cut where its length still decodes, as a
// dropped connection leaves it: the template that prints stays, and the seller is told.
TEST_F(TemplateDownloadTest, AnEmptyOrCutLayoutNeverReplacesTheTemplate) {
    ASSERT_EQ(
        TemplateDownload::downloadSelected(m_state, {{QStringLiteral("圆通"), {}, {}}}, m_client)
            .downloaded,
        QStringList{QStringLiteral("圆通")});
    const QString installed = m_state.folder.file(QStringLiteral("Delivery/圆通.mlg"));
    const QByteArray whole = test::fileBytes(installed);
    ASSERT_EQ(whole.trimmed().size(), 4420);

    QTemporaryDir content;
    QDirIterator it(kContent, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = content.filePath(QDir(kContent).relativeFilePath(from));
        QDir().mkpath(QFileInfo(to).absolutePath());
        ASSERT_TRUE(QFile::copy(from, to));
    }
    const QString boardLayout = content.filePath(QStringLiteral("board/圆通.mlg.txt"));
    for (const QByteArray& broken : {QByteArray(), whole.left(2000)}) {
        QFile file(boardLayout);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(broken);
        file.close();
        test::ServiceProcess faulty{{QStringLiteral("--content"), content.path()}};
        m_state.serviceBase = QStringLiteral("http://127.0.0.1:%1").arg(faulty.port());
        const TemplateDownload::Result result = TemplateDownload::downloadSelected(
            m_state, {{QStringLiteral("圆通"), {}, {}}}, m_client);
        EXPECT_TRUE(result.downloaded.isEmpty()) << broken.size();
        EXPECT_EQ(result.notices.first().text, QStringLiteral("这些快递单模版没有下载成功：圆通"));
        EXPECT_EQ(test::fileBytes(installed), whole);
    }
}

// mldd-cli print fetches each form its orders lack from the board once; one the board does
// not have is said, and its order stays unprinted.
TEST_F(TemplateDownloadTest, APrintFromTheCommandLineFetchesTheFormsItsOrdersLack) {
    QFile service(m_dir.filePath(QStringLiteral("g_url.dat")));
    ASSERT_TRUE(service.open(QIODevice::WriteOnly));
    service.write(m_state.serviceBase.toUtf8() + "\r\n");
    service.close();
    QList<Order> orders(3);
    for (int i = 0; i < orders.size(); ++i) {
        orders[i].orderSign = QStringLiteral("淘宝:%1").arg(100 + i);
        orders[i].buyName = QStringLiteral("买家%1").arg(i);
        orders[i].delivery = i < 2 ? QStringLiteral("顺丰") : QStringLiteral("没有这个");
    }
    OrderWriteRule rule;
    ASSERT_TRUE(OrderStore(*m_state.database).insert(orders, rule));

    const QString pdf = m_dir.filePath(QStringLiteral("out.pdf"));
    const test::CliRun printed =
        test::runCli({QStringLiteral("--data"), m_state.folder.dataPath(), QStringLiteral("print"),
                      QStringLiteral("waybill"), QStringLiteral("--ids"), QStringLiteral("1,2,3"),
                      QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(printed.exitCode, 1) << printed.err.toStdString();
    EXPECT_EQ(printed.err.count(QStringLiteral("快递模版：顺丰已经成功下载")), 1)
        << printed.err.toStdString();
    EXPECT_EQ(printed.err.count(QStringLiteral("刚才尝试下载快递模版：没有这个未能成功")), 1)
        << printed.err.toStdString();
    EXPECT_TRUE(QFile::exists(m_state.folder.file(QStringLiteral("Delivery/顺丰.mlg"))));
    EXPECT_TRUE(QFile::exists(pdf));

    // Names that could leave the folder, or are installed now, are not asked for.
    const TemplateDownload::Result none = TemplateDownload::fetchMissing(
        m_state, {QStringLiteral("../顺丰"), QString(), QStringLiteral("顺丰")}, m_client);
    EXPECT_TRUE(none.notices.isEmpty());
}

// With the service stopped, a form is asked for once while the program runs, however many
// orders and runs name it; asked for by name again (a card's click, the designer), it is
// tried again, and a running service then gives it.
TEST_F(TemplateDownloadTest, AFormTheStoppedServiceCannotGiveIsAskedForOnce) {
    quint16 stopped = 0;
    {
        const test::ServiceProcess gone{{QStringLiteral("--content"), kContent}};
        stopped = gone.port();
    }
    const QString running = m_state.serviceBase;
    m_state.serviceBase = QStringLiteral("http://127.0.0.1:%1").arg(stopped);
    const QStringList forms{QStringLiteral("韵达"), QStringLiteral("韵达"), QStringLiteral("顺丰")};
    const TemplateDownload::Result first = TemplateDownload::fetchMissing(m_state, forms, m_client);
    ASSERT_EQ(first.notices.size(), 2);
    EXPECT_EQ(first.notices.first().text,
              QStringLiteral("刚才尝试下载快递模版：韵达未能成功，请在[设置][下载快递模版]下载！"));
    EXPECT_TRUE(TemplateDownload::fetchMissing(m_state, forms, m_client).notices.isEmpty());
    EXPECT_TRUE(TemplateDownload::claimMissing(m_state, forms).isEmpty());

    m_state.serviceBase = running;
    m_state.templatesAsked.remove(QStringLiteral("韵达"));
    const TemplateDownload::Result again = TemplateDownload::fetchMissing(m_state, forms, m_client);
    EXPECT_EQ(again.downloaded, QStringList{QStringLiteral("韵达")});
    EXPECT_TRUE(QFile::exists(m_state.folder.file(QStringLiteral("Delivery/韵达.mlg"))));
}
