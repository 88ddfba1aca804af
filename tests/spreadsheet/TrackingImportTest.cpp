#include "WorkbenchFixture.h"

#include "spreadsheet/TrackingImport.h"

#include <QFile>

using namespace mldd;

namespace {

class TrackingImportTest : public test::WorkbenchFixture {
protected:
    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
};

} // namespace

TEST_F(TrackingImportTest, NumbersGoToOrdersByTheirNumberWithOrWithoutTheMarketplace) {
    const QList<qint64> ids = storeOrders(3);
    Order done = order(ids[2]);
    done.wuliuCode = QStringLiteral("268000000003");
    ASSERT_TRUE(OrderStore(*m_state.database).update({done}));
    // A courier's export: a title line above the headings, blanks inside numbers and headings.
    const QString path =
        writeFile(QStringLiteral("申通导出.csv"),
                  QStringLiteral("申通快递 客户发货明细\r\n序号,运 单 号,收件人,订单编号\r\n"
                                 "1,268000000001,张三,1\r\n2,268 000 000 002,李四,淘宝:2\r\n"
                                 "3,268000000003,王五,3\r\n4,268000000009,赵六,99\r\n"
                                 "5,268000000010,钱七,_\r\n")
                      .toUtf8());
    const TrackingImport read = TrackingImport::read(OrderStore(*m_state.database), path);
    ASSERT_FALSE(read.refusal) << read.refusal->text.toStdString();
    ASSERT_EQ(read.entries.size(), 2);
    EXPECT_EQ(read.entries[0].id, ids[0]);
    EXPECT_EQ(read.entries[1].number, QStringLiteral("268000000002"));
    EXPECT_EQ(read.unchanged, 1);
    EXPECT_EQ(read.unmatched, (QStringList{QStringLiteral("99"), QStringLiteral("_")}));
    EXPECT_EQ(
        read.summary(2).text,
        QStringLiteral("已导入2个运单号。\r\n1个订单已经是这个运单号。\r\n2行找不到订单：99、_"));
}

TEST_F(TrackingImportTest, AFileWithoutTheTwoColumnsIsRefused) {
    storeOrders(1);
    const QString path = writeFile(QStringLiteral("别的.csv"), "姓名,电话\r\n张三,139\r\n");
    const TrackingImport read = TrackingImport::read(OrderStore(*m_state.database), path);
    ASSERT_TRUE(read.refusal);
    EXPECT_EQ(
        read.refusal->text,
        QStringLiteral("别的.csv里找不到订单号和运单号两列。\r\n请确认表头有“订单号”和“运单号”。"));
}
