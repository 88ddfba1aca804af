#include "ItemSources.h"

namespace mldd::ItemSources {

QList<ItemSource> all() {
    const QString receiver = QStringLiteral("收件人");
    const QString sender = QStringLiteral("寄件人");
    const QString other = QStringLiteral("其他");
    return {
        {"收件人姓名", "B|ORDER_DATA:buy_name", receiver},
        {"收件电话1", "B|ORDER_DATA:buy_phone1", receiver},
        {"收件电话2", "B|ORDER_DATA:buy_phone2", receiver},
        {"收件电话", "B|ORDER_DATA:buy_phone1+C| +B|ORDER_DATA:buy_phone2", receiver},
        {"收件地址",
         "B|ORDER_DATA:buy_address_sheng+B|ORDER_DATA:buy_address_shi+"
         "B|ORDER_DATA:buy_address_xian+B|ORDER_DATA:buy_address",
         receiver},
        {"收件省", "B|ORDER_DATA:buy_address_sheng", receiver},
        {"收件市", "B|ORDER_DATA:buy_address_shi", receiver},
        {"收件县区", "B|ORDER_DATA:buy_address_xian", receiver},
        {"收件街道地址", "B|ORDER_DATA:buy_address", receiver},
        {"收件邮编", "B|ORDER_DATA:buy_zipcode", receiver},
        {"买家ID[收件人公司]", "B|ORDER_DATA:buy_id", receiver},
        {"目的地", "B|ORDER_DATA:buy_end", receiver},
        {"寄件人姓名", "B|MY_DATA:my_fjr", sender},
        {"寄件公司", "B|MY_DATA:my_Co", sender},
        {"寄件电话1", "B|MY_DATA:my_phone1", sender},
        {"寄件电话2", "B|MY_DATA:my_phone2", sender},
        {"寄件地址", "B|MY_DATA:my_address", sender},
        {"寄件邮编", "B|MY_DATA:my_zipcode", sender},
        {"经办人", "B|MY_DATA:my_jbr", sender},
        {"始发地", "B|MY_DATA:my_start", sender},
        {"我的ID", "B|MY_DATA:my_idh", sender},
        {"内件品名", "B|ORDER_DATA:buy_njpm", other},
        {"商品", "B|ORDER_DATA:buy_goods", other},
        {"买家留言", "B|ORDER_DATA:buy_ly", other},
        {"卖家备注", "B|ORDER_DATA:seller_mem", other},
        {"订单编号", "B|ORDER_DATA:order_sign", other},
        {"运单号", "B|ORDER_DATA:wuliu_code", other},
        {"运单条码", "T|ORDER_DATA:wuliu_code", other},
        {"发件日期", "B|SYS:Year+C|-+B|SYS:Month+C|-+B|SYS:Day", other},
        {"年", "B|SYS:Year", other},
        {"月", "B|SYS:Month", other},
        {"日", "B|SYS:Day", other},
    };
}

QString constant(const QString& text) {
    QString kept = text;
    kept.replace(u'+', u'＋').replace(u'{', u'｛').replace(u'}', u'｝');
    kept.replace(u'\r', u' ').replace(u'\n', u' ');
    return QStringLiteral("C|") + kept;
}

} // namespace mldd::ItemSources
