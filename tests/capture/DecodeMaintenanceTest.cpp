#include "CaptureFixture.h"
#include "MarketPages.h"
#include "ServiceProcess.h"

#include "capture/DecodeFiles.h"
#include "capture/DecodeMaintenance.h"
#include "capture/DecodeRules.h"
#include "capture/PageKey.h"

using namespace mldd;
using namespace mldd::DecodeMaintenance;

namespace {

class DecodeMaintenanceTest : public test::CaptureFixture {
protected:
    void SetUp() override {
        CaptureFixture::SetUp();
        ASSERT_NE(m_service.port(), 0);
        m_state.serviceBase = QStringLiteral("http://127.0.0.1:%1").arg(m_service.port());
    }

    DecodeFiles files() const { return DecodeFiles(m_state.folder, m_state.log); }

    test::ServiceProcess m_service{
        {QStringLiteral("--content"), QStringLiteral(MLDD_SOURCE_DIR "/service/content")}};
};

} // namespace

TEST_F(DecodeMaintenanceTest, RefreshFetchesANewerFileOnceAndRepairStartsOver) {
    const QString key = *pageKeyOf(test::kOrderDetailPage);
    const ServiceClient service(5000);
    Refresh first = refreshDecodeFile(m_state, key, service);
    EXPECT_TRUE(first.updated);
    EXPECT_EQ(files().version(key), QStringLiteral("1"));
    EXPECT_TRUE(files().read(key)->contains(QStringLiteral("订单编号：")));

    Refresh second = refreshDecodeFile(m_state, key, service);
    EXPECT_FALSE(second.updated);
    ASSERT_TRUE(second.notice);
    EXPECT_EQ(second.notice->text, QStringLiteral("解码文件已经是最新版本!"));

    EXPECT_EQ(repairExtraction(m_state, false).text,
              QStringLiteral("网络不好用，暂时不能修复单据提取功能！"));
    EXPECT_TRUE(files().read(key));
    EXPECT_TRUE(serviceOnline(m_state.serviceBase, service));
    EXPECT_EQ(repairExtraction(m_state, true).text, QStringLiteral("单据提取功能已经修复！"));
    EXPECT_FALSE(files().read(key));
    EXPECT_TRUE(files().version(key).isEmpty());
    EXPECT_TRUE(refreshDecodeFile(m_state, key, service).updated); // asked with version 0 again

    m_state.serviceBase = QStringLiteral("http://127.0.0.1:9");
    EXPECT_FALSE(serviceOnline(m_state.serviceBase, service));
    const Refresh failed = refreshDecodeFile(m_state, key, service);
    EXPECT_FALSE(failed.updated);
    EXPECT_TRUE(files().read(key)); // a failed refresh leaves the file as it was
}

TEST_F(DecodeMaintenanceTest, AChangedIdListDeletesTheDecodeFiles) {
    const QString key = *pageKeyOf(test::kOrderDetailPage);
    installDecodeFile(key, servedDecodeFile(key));
    const ServiceClient service(5000);
    const ServiceReply list = service.get(QUrl(idListAddress(m_state.serviceBase, 3600)));
    ASSERT_TRUE(list.ok);
    EXPECT_TRUE(list.body.contains(key));
    EXPECT_TRUE(files().applyIdList(list.body));
    EXPECT_FALSE(files().read(key));
    installDecodeFile(key, servedDecodeFile(key));
    EXPECT_FALSE(files().applyIdList(list.body)); // the same list: nothing to do
    EXPECT_TRUE(files().read(key));
}

TEST(BuildDecodeFile, ABuiltFileGivesThePastedValuesBack) {
    const QString page = QStringLiteral(
        "订单详情\r\n订单号：A1001  状态：待发货\r\n收货人：张三\r\n电话：13800001111\r\n"
        "地址：浙江省杭州市西湖区文三路1号\r\n电话：0571-1\r\n备注：请轻放\r\n");
    PastedValues values;
    values[1] = QStringLiteral("A1001");
    values[3] = QStringLiteral("张三");
    values[4] = QStringLiteral("13800001111");
    values[11] = QStringLiteral("浙江省杭州市西湖区文三路1号");
    values[5] = QStringLiteral("0571-1");
    values[13] = QStringLiteral("请轻放");
    const BuiltFile built = buildDecodeFile(page, values);
    ASSERT_FALSE(built.refusal);
    const QString records = RunDecodeRules(page, built.decodeText, false).records;
    ASSERT_EQ(records.count(QStringLiteral("{|D|}")), 1);
    const QStringList fields = records.mid(5).split(QStringLiteral("{|B|}"));
    values[0] = QStringLiteral("其他:我的id");
    for (int field = 0; field < 15; ++field)
        EXPECT_EQ(fields.value(field), values[field]) << "field " << field;

    values[11].clear();
    EXPECT_EQ(buildDecodeFile(page, values).refusal->text, QStringLiteral("收货地址不能空！"));
    EXPECT_FALSE(checkPastedValue(page, QStringLiteral("张三"), QStringLiteral("姓名")));
    EXPECT_EQ(checkPastedValue(page, QStringLiteral("张 三"), QStringLiteral("姓名"))->text,
              QStringLiteral("请在左边复制连续的字符串[姓名]，粘贴到这里！"));
}
