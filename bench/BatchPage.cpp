#include "BatchPage.h"

namespace mldd::bench {

namespace {

// One order of a batch shipping page, about 2 KB of UTF-8 like a marketplace's.
QString orderBlock(int number) {
    const QString id = QStringLiteral("%1").arg(20241205000000LL + number);
    QString block =
        QStringLiteral(
            "订单号：%1\r\n成交时间：2024-12-05 10:%2:00\r\n买家：buyer_%3\r\n"
            "收货人：张%4\r\n联系电话：138%5\r\n"
            "收货地址：北京市 北京市 朝阳区 建国路%6号 现代城%7号楼 ，100022\r\n"
            "商品：\r\n纯棉T恤 白色 XL 2 59.00\r\n运动袜 五双装 1 29.90\r\n合计 147.90\r\n"
            "买家留言：请尽快发货，谢谢\r\n商品详情：")
            .arg(id)
            .arg(number % 60, 2, 10, QChar(u'0'))
            .arg(number)
            .arg(number % 100)
            .arg(number, 8, 10, QChar(u'0'))
            .arg(number % 300)
            .arg(number % 20);
    // The rest of a real block is product text, prices and page furniture.
    while (block.toUtf8().size() < 2000)
        block += QStringLiteral(
            "本店商品均为正品，支持七天无理由退换 Size M/L/XL 颜色：白、黑、灰。\r\n");
    return block;
}

} // namespace

QString batchPage(int orders, int firstNumber) {
    QString page = QStringLiteral("批量发货\r\n");
    for (int number = firstNumber; number < firstNumber + orders; ++number)
        page += orderBlock(number);
    return page + QStringLiteral("共%1笔订单\r\n").arg(orders);
}

QString batchPageRules() {
    return QStringLiteral("MIDHN^Q^=^订单号：{|}"
                          "MIDQN^1^=^[VBCRLF]{|}"
                          "MID^2^=^买家：^[VBCRLF]收货人{|}"
                          "MID^3^=^收货人：^[VBCRLF]联系电话{|}"
                          "MID^4^=^联系电话：^[VBCRLF]收货地址{|}"
                          "MID^11^=^收货地址：^[VBCRLF]商品：{|}"
                          "MID^12^=^商品：[VBCRLF]^[VBCRLF]买家留言{|}"
                          "MID^13^=^买家留言：^[VBCRLF]商品详情{|}"
                          "SET^0^=^其他:我的id{|}"
                          "SETALL^GOODSFORMAT~E[|]GOODSJUMP~2~50[|]SETBNULL[|]IF~99~L>~2[|]"
                          "SETLOCATION[|]LOCATION~1/K/N~0/K~1/N/*/N~1/=/2/=[|]SETB[|]"
                          "SETLOCATION[|]LOCATION~1/K/N~0/K~*/N/1/D/*/N~0/0/3/=[|]"
                          "SETB[|]SETBTOGOODS~1/2/3{|}"
                          "LOOP^0^<!^订单号：");
}

} // namespace mldd::bench
