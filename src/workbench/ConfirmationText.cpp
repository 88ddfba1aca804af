#include "ConfirmationText.h"

#include <QUrl>

namespace mldd {

namespace {
const QString kLineEnd = QStringLiteral("\r\n");
const QString kEndMarker = QStringLiteral("〓〓需确认的信息结束〓〓");

QString line(const QString& label, const QString& value) {
    return label + value + kLineEnd;
}

// The buyer reads the text on another computer: an address of this one means nothing there.
QString siteLine(const QString& siteAddress) {
    const QString host = QUrl(siteAddress).host();
    const bool here =
        host.isEmpty() || host == u"localhost" || host.startsWith(u"127.") || host == u"::1";
    const QString tool = QStringLiteral("墨岚打单，网店卖家的快递单打印软件");
    return here ? tool : tool + u'：' + siteAddress;
}
} // namespace

ConfirmationText ConfirmationText::compose(const Order& order, const QString& siteAddress) {
    ConfirmationText result;
    if (order.delivery.trimmed().isEmpty()) {
        result.refusal =
            Notice{QStringLiteral("您还没有设置物流单据！") + kLineEnd +
                       QStringLiteral(
                           "请在订单的“快递单据”框里选好快递，或者在“设置”›“快递方案”里设置。") +
                       kLineEnd + QStringLiteral("设置完成后才能核对订单信息。"),
                   QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::Ok};
        return result;
    }
    QString phones;
    if (!order.buyPhone1.isEmpty() && !order.buyPhone2.isEmpty())
        phones = line(QStringLiteral("您的电话1:"), order.buyPhone1) +
                 line(QStringLiteral("您的电话2:"), order.buyPhone2);
    else
        phones = line(QStringLiteral("您的电话:"),
                      order.buyPhone1.isEmpty() ? order.buyPhone2 : order.buyPhone1);

    QString text =
        QStringLiteral("【以下信息由『墨岚打单』软件自动生成】") + kLineEnd +
        siteLine(siteAddress) + kLineEnd + kLineEnd + QStringLiteral("〓〓需确认的交易信息〓〓") +
        kLineEnd + line(QStringLiteral("您的ID:"), order.buyId) +
        line(QStringLiteral("您的真实姓名:"), order.buyName) + phones +
        line(QStringLiteral("您的邮编:"), order.buyZipcode) +
        line(QStringLiteral("您的收货省:"), order.buyAddressSheng) +
        line(QStringLiteral("您的收货市:"), order.buyAddressShi) +
        line(QStringLiteral("您的收货县:"), order.buyAddressXian) +
        line(QStringLiteral("您的收货地址:"), order.buyAddress) +
        line(QStringLiteral("物流公司:"), order.delivery) + QStringLiteral("您购买的商品:") +
        kLineEnd + order.buyGoods + kLineEnd + kEndMarker + kLineEnd + kLineEnd +
        QStringLiteral("请您确认上面的信息是否正确，尤其注意姓名、电话、地址和物流公司。");
    // Goods that already end with a line break leave no blank line before the end marker.
    result.text = text.replace(kLineEnd + kLineEnd + kEndMarker, kLineEnd + kEndMarker);
    return result;
}

} // namespace mldd
