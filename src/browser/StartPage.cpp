#include "StartPage.h"

namespace mldd {

QString StartPage::html(const QList<Favourite>& favourites) {
    QString links;
    for (const Favourite& favourite : favourites)
        links += QStringLiteral("<li><a href=\"%1\">%2</a></li>")
                     .arg(favourite.address.toHtmlEscaped(), favourite.title.toHtmlEscaped());
    if (links.isEmpty())
        links = QStringLiteral(
            "<li>还没有收藏的网页。打开订单页面后点【收藏】，以后从这里一点就开。</li>");
    return QStringLiteral(
               "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>墨岚打单</title>"
               "<style>body{font-family:sans-serif;margin:2em;line-height:1.7}"
               "h1{font-size:1.4em}li{margin:.3em 0}</style></head><body>"
               "<h1>提取订单</h1><ol>"
               "<li>"
               "在上面的地址栏输入网店的订单页面地址（或点收藏夹里的网页），登录后打开要发货的订单"
               "。</li>"
               "<li>点【提取订单】：页面上的订单存进订单列表。</li>"
               "<li>点【返回订单】回到订单列表，核对订单，打印快递单和发货单。</li>"
               "</ol><h1>收藏夹</h1><ul>%1</ul></body></html>")
        .arg(links);
}

} // namespace mldd
