#include "CliRun.h"

#include "core/OrderDatabase.h"
#include "core/OrderStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

class PasteCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(m_data + QStringLiteral("/Delivery"));
        QDir().mkpath(m_data + QStringLiteral("/code"));
        QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/code/Area.txt"),
                    m_data + QStringLiteral("/code/Area.txt"));
        for (const char* name : {"圆通", "顺丰"})
            QFile(m_data + QStringLiteral("/Delivery/%1.mlg").arg(QString::fromUtf8(name)))
                .open(QIODevice::WriteOnly);
        ASSERT_EQ(test::runCli({"--data", m_data, "profile", "save", "--id", "小店", "--address",
                                "贵州省贵阳市南明区"})
                      .exitCode,
                  0);
        ASSERT_EQ(test::runCli({"--data", m_data, "plan", "圆通", "北京=顺丰"}).exitCode, 0);
    }

    QString pasteFile(const QString& text) {
        const QString path = m_dir.filePath(QStringLiteral("paste.txt"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
        return path;
    }

    // mldd-cli add --paste - with `text` on its standard input.
    test::CliRun addFromInput(const QString& text) {
        QProcess process;
        process.start(QStringLiteral(MLDD_CLI),
                      {"--data", m_data, "add", "--paste", "-", "--goods", "毛巾 2"});
        process.write(text.toUtf8());
        process.closeWriteChannel();
        process.waitForFinished(60000);
        return {process.exitCode(),
                {},
                {},
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QList<Order> stored() {
        QString message;
        auto database = OrderDatabase::open(m_data + QStringLiteral("/mlddsj.db"), &message);
        OrderStore store(*database);
        QList<qint64> ids;
        for (qint64 id : store.allById())
            ids.append(id);
        return store.byIds(ids);
    }

    QTemporaryDir m_dir;
    QString m_data = m_dir.filePath(QStringLiteral("data"));
};

const QString kReceivers =
    QStringLiteral("收货人：王芳\n手机号码：13900001111\n所在地区：北京市 朝阳区\n"
                   "详细地址：建国路88号\n"
                   "--------\n"
                   "徐丽 +86 137 0123 4567 贵州贵阳清镇市红枫湖镇12号\n"
                   "--------\n"
                   "陈静，13698765432，广西南宁市青秀区民族大道136号\n"
                   "--------\n"
                   "明天下午再联系\n");

} // namespace

TEST_F(PasteCommandTest, StoresTheReadableBlocksAndNamesTheOthersByLine) {
    const test::CliRun run = test::runCli(
        {"--data", m_data, "add", "--paste", pasteFile(kReceivers), "--goods", "毛巾 2"});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("保存了3单\n第10行：没有认出姓名、电话；请核对地址\n"));

    const QList<Order> orders = stored();
    ASSERT_EQ(orders.size(), 3);
    EXPECT_EQ(orders[0].buyAddressShi, QStringLiteral("北京市"));
    EXPECT_EQ(orders[0].delivery, QStringLiteral("顺丰"));
    EXPECT_EQ(orders[1].buyPhone1, QStringLiteral("13701234567"));
    EXPECT_EQ(orders[1].buyAddressXian, QStringLiteral("清镇市"));
    EXPECT_EQ(orders[1].buyAddress, QStringLiteral("红枫湖镇12号"));
    EXPECT_EQ(orders[1].delivery, QStringLiteral("圆通"));
    EXPECT_EQ(orders[2].buyAddressSheng, QStringLiteral("广西壮族自治区"));
    EXPECT_EQ(orders[2].buyGoods, QStringLiteral("毛巾 2"));
    EXPECT_FALSE(orders[2].myId.isEmpty());

    // Pasted again from standard input: repeats are named and not stored twice.
    const test::CliRun again = addFromInput(kReceivers.section(QStringLiteral("--------\n"), 1, 1));
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(again.out, QStringLiteral("保存了0单\n第1行：和没有打印的订单重复，没有再保存\n"));
    EXPECT_EQ(stored().size(), 3);
}

TEST_F(PasteCommandTest, NothingToReadOrAnUnknownSenderStoresNothing) {
    const test::CliRun empty = addFromInput(QStringLiteral("\n \n-----\n"));
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err, QStringLiteral("没有粘贴任何收件人。\n"));
    const test::CliRun stranger = test::runCli(
        {"--data", m_data, "add", "--paste", pasteFile(kReceivers), "--sender", "别人"});
    EXPECT_EQ(stranger.exitCode, 1);
    EXPECT_EQ(stranger.err, QStringLiteral("没有这个发件人：别人\n"));
    EXPECT_TRUE(stored().isEmpty());
}
