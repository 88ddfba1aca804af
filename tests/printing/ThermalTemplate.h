#pragma once

#include "core/DataFolder.h"
#include "waybill/LayoutCodec.h"

#include <QDir>
#include <QFile>
#include <QImage>

namespace mldd::test {

/**
 * Writes a waybill template for blank 100 × 150 mm labels into the folder:
 * receiver with phone, address and order number as text, the tracking number as
 * Code 128 across the label with its digits beneath.
 */
inline bool writeThermalTemplate(const DataFolder& folder, const QString& name) {
    const auto record = [](const QString& source, const QString& box, const QString& size) {
        return QStringList{"Y", "N", source, "项目", "宋体", size, "0", box, "N^"}.join(
            QStringLiteral("{F}"));
    };
    const QStringList records = {
        record(QStringLiteral("C|收件人:+B|ORDER_DATA:buy_name+C| +B|ORDER_DATA:buy_phone1"),
               QStringLiteral("LT^600^600^4500^500"), QStringLiteral("16")),
        record(QStringLiteral("B|ORDER_DATA:buy_address"), QStringLiteral("LT^600^1400^4500^400"),
               QStringLiteral("10")),
        // Narrow enough that bars of whole 203-dpi dots, wider than modelled, stay on the label.
        record(QStringLiteral("T|ORDER_DATA:wuliu_code"), QStringLiteral("LT^600^2600^2600^1400"),
               QStringLiteral("10")),
        record(QStringLiteral("C|订单:+B|ORDER_DATA:order_sign"),
               QStringLiteral("LT^600^5200^4500^400"), QStringLiteral("10")),
    };
    const QString delivery = folder.file(QStringLiteral("Delivery"));
    QDir().mkpath(delivery);
    QFile layout(delivery + u'/' + name + QStringLiteral(".mlg"));
    if (!layout.open(QIODevice::WriteOnly) ||
        layout.write(LayoutCodec::encode(records.join(QStringLiteral("{D}"))).toUtf8() + "\r\n") <
            0)
        return false;
    QImage picture(800, 1200, QImage::Format_RGB32); // 100 × 150 mm at 8 dots per millimetre
    picture.fill(Qt::white);
    picture.setDotsPerMeterX(8000);
    picture.setDotsPerMeterY(8000);
    return picture.save(delivery + u'/' + name + QStringLiteral(".mlm"), "PNG");
}

} // namespace mldd::test
