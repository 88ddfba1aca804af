#pragma once

#include "waybill/LayoutCodec.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace mldd::test {

// A print file as the writer makes them: records coded, cut by "[P]", broken into lines anywhere.
inline QString writePrintFile(const QString& path, int records, const QString& form = "圆通") {
    QStringList pieces;
    for (int i = 1; i <= records; ++i) {
        const QJsonObject record{
            {"order_sign", QStringLiteral("拍拍:%1").arg(i)},
            {"buy_name", QStringLiteral("收件人%1").arg(i)},
            {"wuliu_code", QStringLiteral("YT88800%1").arg(i, 3, 10, QChar('0'))},
            {"delivery", form}};
        pieces.append(LayoutCodec::encode(QString::fromUtf8(QJsonDocument(record).toJson())));
    }
    const QString text = pieces.join(QStringLiteral("[P]"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    for (qsizetype at = 0; at < text.size(); at += 70)
        file.write(text.mid(at, 70).toUtf8() + "\r\n");
    return path;
}

} // namespace mldd::test
