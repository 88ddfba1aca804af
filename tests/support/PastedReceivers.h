#pragma once

#include <QString>
#include <QStringList>

namespace mldd::test {

/**
 * `count` made-up receivers (at most 10,000) of several provinces, each a block
 * in one of the formats buyers paste: WeChat's labelled lines, the order page's
 * comma line with 86- and a postcode, spaces, the address first on its own line.
 * Receiver i is called after the i-th of fifty surnames and has mobile 1390000iiii.
 */
inline QStringList pastedReceivers(int count) {
    const QString surnames = QStringLiteral("赵钱孙李周吴郑王冯陈褚卫蒋沈韩杨朱秦尤许何吕施张孔"
                                            "曹严华金魏陶姜戚谢邹喻柏水窦章云苏潘葛奚范彭郎鲁韦");
    const QStringList places{
        QStringLiteral("广东省深圳市南山区粤海街道"), QStringLiteral("北京市朝阳区建国路"),
        QStringLiteral("贵州贵阳清镇市红枫湖镇"), QStringLiteral("广西南宁市青秀区民族大道"),
        QStringLiteral("湖北省恩施州利川市都亭街道")};
    QStringList blocks;
    for (int i = 0; i < count; ++i) {
        const QString name = surnames.at(i % surnames.size()) + QStringLiteral("小明");
        const QString phone = QStringLiteral("1390000%1").arg(i, 4, 10, QLatin1Char('0'));
        const QString address = places.at(i % places.size()) + QStringLiteral("%1号").arg(i + 1);
        switch (i % 4) {
        case 0:
            blocks.append(
                QStringLiteral("收货人：%1\n手机号码：%2\n详细地址：%3").arg(name, phone, address));
            break;
        case 1:
            blocks.append(QStringLiteral("%1，86-%2，%3，550000").arg(name, phone, address));
            break;
        case 2:
            blocks.append(QStringLiteral("%1 %2 %3").arg(name, phone, address));
            break;
        default:
            blocks.append(QStringLiteral("地址：%1\n%2 %3").arg(address, name, phone));
        }
    }
    return blocks;
}

} // namespace mldd::test
