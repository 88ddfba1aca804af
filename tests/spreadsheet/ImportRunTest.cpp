#include "SpreadsheetFixture.h"

#include "core/TextFile.h"
#include "workbench/OrderMerge.h"

using namespace mldd;
using test::TestWorkbooks;

namespace {

class ImportRunTest : public test::SpreadsheetFixture {
protected:
    QString orders() const { return TestWorkbooks::get().path(QStringLiteral("orders.xlsx")); }

    Order orderNamed(const QString& name) {
        for (const Order& order : storedOrders())
            if (order.buyName == name && order.djType >= 0)
                return order;
        ADD_FAILURE() << "no order of " << name.toStdString();
        return {};
    }
};

} // namespace

TEST_F(ImportRunTest, RowsBecomeOrdersAndABuyersSecondRowIsMerged) {
    const ImportCount count = imported(orders(), ordersLayout());
    EXPECT_EQ(count.countsLine(),
              QStringLiteral("提示:Excel中共有订单4个，实提订单3个，合并订单1个。  "));

    const Order first = orderNamed(QStringLiteral("李小红"));
    EXPECT_EQ(first.orderSign, QStringLiteral("2851234567890123"));
    EXPECT_EQ(first.numSign, 2851234567890123.0);
    EXPECT_EQ(first.buyPhone1, QStringLiteral("08515551234"));
    EXPECT_EQ(first.buyAddressSheng + u'|' + first.buyAddressShi + u'|' + first.buyAddressXian +
                  u'|' + first.buyAddress,
              QStringLiteral("贵州省|贵阳市|花溪区|花溪大道北段218号"));
    EXPECT_EQ(first.buyEnd, QStringLiteral("贵阳市"));
    EXPECT_EQ(first.buyGoods, QStringLiteral("棉麻衬衫 白色 L 1\r\n帆布包 2"));
    EXPECT_EQ(first.delivery, QStringLiteral("圆通"));
    EXPECT_EQ(first.myId, QString::fromUtf8(kSender));
    EXPECT_EQ(first.hbDjId, QStringLiteral("|F|") + orders() + QStringLiteral("|S|订单|L|2"));

    // The merged rows of 林琳: her first order takes in the second, which then is hidden.
    const Order target = orderNamed(QStringLiteral("林琳"));
    EXPECT_EQ(target.djType, 1);
    EXPECT_EQ(target.buyGoods, QStringLiteral("手工皂 3\r\n丝瓜络 2"));
    const std::optional<Order> absorbed =
        OrderStore(*m_state.database).byId(target.hbDjId.mid(1).toLongLong());
    ASSERT_TRUE(absorbed);
    EXPECT_EQ(absorbed->djType, -1);
    EXPECT_EQ(absorbed->hbDjId, QString::number(target.id));
    // The list shows the sender's unprinted orders: the three, not the absorbed one.
    EXPECT_EQ(m_state.cursor.recordCount(), 3);

    // Split again, the merge comes apart as any merge does.
    EXPECT_FALSE(OrderMerge::split(m_state, target.id));
    EXPECT_EQ(orderNamed(QStringLiteral("林琳")).buyGoods, QStringLiteral("手工皂 3"));
}

TEST_F(ImportRunTest, ImportingTheSameFileAgainAddsAndMergesNothing) {
    imported(orders(), ordersLayout());
    const QList<Order> before = storedOrders();
    const ImportCount again = imported(orders(), ordersLayout());
    EXPECT_EQ(again.countsLine(),
              QStringLiteral("提示:Excel中共有订单4个，实提订单0个，合并订单0个，已有4个。  "));
    EXPECT_EQ(again.alreadyImported, 4);
    const QList<Order> after = storedOrders();
    ASSERT_EQ(after.size(), before.size());
    for (int i = 0; i < after.size(); ++i)
        EXPECT_EQ(after.at(i).buyGoods + after.at(i).hbDjId,
                  before.at(i).buyGoods + before.at(i).hbDjId);

    // Without merging, the same buyer's rows stand as orders of their own.
    m_state.importOptions.mergeSameBuyer = false;
    QSqlQuery(m_state.database->connection()).exec(QStringLiteral("delete from order_data"));
    EXPECT_EQ(imported(orders(), ordersLayout()).imported, 4);
}

TEST_F(ImportRunTest, LimitsTemplatesAndGoodsSeparator) {
    ImportLayout layout = ordersLayout();
    // The tracking number column is the order number: 16 digits fit, then the address column does
    // not.
    layout.expressions[ImportLayout::TrackingColumn] =
        *ColumnExpression::parse(QStringLiteral("F + A"));
    layout.templateName = QStringLiteral("顺丰");
    m_state.importOptions.firstSeparator = QStringLiteral(" 白色 ");
    m_state.importOptions.firstSeparatorChosen = true;
    const ImportCount count = imported(orders(), layout);
    EXPECT_TRUE(count.errorNote.startsWith(QStringLiteral("\r\n[wuliu_code]超长")));
    EXPECT_EQ(count.notices().last().text.left(12), QStringLiteral("有的内容太长，没有保存："));
    const Order first = orderNamed(QStringLiteral("李小红"));
    EXPECT_EQ(first.wuliuCode, QString());
    EXPECT_EQ(first.delivery, QStringLiteral("顺丰"));
    EXPECT_EQ(first.buyGoods, QStringLiteral("棉麻衬衫\r\nL 1\r\n帆布包 2"));
}

TEST_F(ImportRunTest, ACancelledImportLeavesTheOrdersAsTheyWere) {
    imported(TestWorkbooks::get().path(QStringLiteral("inline.xlsx")), [] {
        ImportLayout layout;
        layout.sender = QStringLiteral("淘宝:墨岚小店");
        layout.expressions[ImportLayout::BuyerName] = *ColumnExpression::parse(QStringLiteral("B"));
        layout.expressions[ImportLayout::Address] = *ColumnExpression::parse(QStringLiteral("C"));
        return layout;
    }());
    const qsizetype before = storedOrders().size();
    ASSERT_EQ(before, 3);

    const SheetTable sheet = readSheet(orders());
    auto started = ImportRun::start(m_state, sheet, ordersLayout(), orders());
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<ImportRun>>(started));
    ImportRun& run = *std::get<std::unique_ptr<ImportRun>>(started);
    EXPECT_TRUE(run.step(2));
    EXPECT_EQ(run.rowsDone(), 2);
    run.cancel();
    EXPECT_EQ(storedOrders().size(), before);
    // The database takes the next batch as usual.
    EXPECT_EQ(imported(orders(), ordersLayout()).imported, 3);
}

TEST_F(ImportRunTest, TheRuleFileKeepsTheLayoutForTheNextWorkbook) {
    ImportLayout layout = ordersLayout();
    layout.expressions[ImportLayout::Address] = *ColumnExpression::parse(QStringLiteral("E+F"));
    layout.expressions[ImportLayout::CourierColumn] = *ColumnExpression::parse(QStringLiteral("K"));
    layout.headerRow = 1;
    const SheetTable sheet = readSheet(orders());
    layout.noteHeaders(sheet.rows.first());
    ASSERT_TRUE(layout.save(m_state.folder, m_state.log));

    const QStringList lines =
        TextFile::read(ImportLayout::filePath(m_state.folder, layout.name)).lines;
    EXPECT_TRUE(lines.contains(QStringLiteral("|||收货地址 Notes:省 + 收货地址///11 = E + F")));
    EXPECT_TRUE(lines.contains(QStringLiteral("|||快递公司名回写至 Notes:///ERR = K")));
    EXPECT_EQ(TextFile::read(m_state.folder.file(QStringLiteral("code/Excel网店.ver"))).lines,
              QStringList{QStringLiteral("1")});

    const std::optional<ImportLayout> loaded =
        ImportLayout::load(m_state.folder, QStringLiteral("网店"), m_state.log);
    ASSERT_TRUE(loaded);
    for (int i = 0; i < ImportLayout::kFieldCount; ++i)
        EXPECT_EQ(loaded->expressions.at(i).text(), layout.expressions.at(i).text()) << i;
    EXPECT_EQ(loaded->sender, layout.sender);
    // The next export of the shop, whatever its file name, finds the layout by its headers.
    EXPECT_EQ(ImportLayout::nameFor(m_state.folder, m_state.log,
                                    QStringLiteral("/x/导出20240302.xlsx"), sheet.rows.first()),
              QStringLiteral("网店"));
    EXPECT_EQ(ImportLayout::nameFor(m_state.folder, m_state.log,
                                    QStringLiteral("/x/导出20240302(1).xlsx"), {}),
              QStringLiteral("导出"));

    // The checks before an import, in their order.
    ImportLayout unchecked;
    EXPECT_EQ(unchecked.check({QStringLiteral("圆通")})->text,
              QStringLiteral("地址不能空，请匹配！"));
    unchecked.expressions[ImportLayout::Address] = *ColumnExpression::parse(QStringLiteral("B"));
    EXPECT_EQ(unchecked.check({})->text,
              QStringLiteral("请选择快递单模版，如果没有，请先下载模版！"));
    EXPECT_EQ(unchecked.check({QStringLiteral("圆通")})->text,
              QStringLiteral("[发货人公司\\店名\\ID]不能空，如果选项中没有，请直接填写！"));
    EXPECT_EQ(unchecked.check({QStringLiteral("圆通")})->title, QStringLiteral("Excel提取编辑"));
}
