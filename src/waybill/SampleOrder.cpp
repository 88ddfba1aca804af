#include "SampleOrder.h"

namespace mldd::SampleOrder {

Order order() {
    Order order;
    order.orderSign = QStringLiteral("淘宝:3218877301");
    order.myId = QStringLiteral("淘宝:墨岚小店");
    order.buyId = QStringLiteral("xiaohong88");
    order.buyName = QStringLiteral("李小红");
    order.buyPhone1 = QStringLiteral("13812345678");
    order.buyPhone2 = QStringLiteral("0851-86001234");
    order.buyZipcode = QStringLiteral("550025");
    order.buyAddressSheng = QStringLiteral("贵州省");
    order.buyAddressShi = QStringLiteral("贵阳市");
    order.buyAddressXian = QStringLiteral("花溪区");
    order.buyAddress = QStringLiteral("花溪大道北段218号贵州大学北区");
    order.buyEnd = QStringLiteral("贵阳");
    order.buyGoods = QStringLiteral("棉麻衬衫 白色 L 1 89.00\r\n帆布包 2 35.50");
    order.buyNjpm = QStringLiteral("服装");
    order.buyLy = QStringLiteral("请发圆通，谢谢");
    order.sellerMem = QStringLiteral("送小礼品");
    order.wuliuCode = QStringLiteral("YT4021937465");
    return order;
}

SenderProfile sender() {
    SenderProfile sender;
    sender.myIdh = QStringLiteral("淘宝:墨岚小店");
    sender.company = QStringLiteral("墨岚小店");
    sender.name = QStringLiteral("王小明");
    sender.phone1 = QStringLiteral("13900001111");
    sender.zipcode = QStringLiteral("550002");
    sender.address = QStringLiteral("贵州省贵阳市南明区花果园R1区8栋");
    sender.handler = QStringLiteral("王小明");
    sender.start = QStringLiteral("贵阳");
    return sender;
}

} // namespace mldd::SampleOrder
