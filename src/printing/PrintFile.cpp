#include "PrintFile.h"

#include "core/TextFile.h"
#include "waybill/LayoutCodec.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace mldd {

namespace {

Notice unreadable(const QString& path, const QString& why) {
    return Notice{QStringLiteral("打印文件 %1 无法打印：%2").arg(path, why),
                  QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
}

std::optional<Order> recordOf(const QString& piece) {
    const std::optional<QString> decoded = LayoutCodec::decode(piece.trimmed());
    if (!decoded)
        return std::nullopt;
    const QJsonDocument json = QJsonDocument::fromJson(decoded->toUtf8());
    if (!json.isObject())
        return std::nullopt;
    const QJsonObject fields = json.object();
    Order order;
    for (const OrderTextColumn& column : kOrderTextColumns)
        order.*column.member = fields.value(QLatin1String(column.name)).toString();
    return order;
}

} // namespace

std::variant<PrintFile, Notice> PrintFile::read(const QString& path) {
    const QFileInfo info(path);
    const QString suffix = info.suffix().toLower();
    if (suffix != u"mlk" && suffix != u"mlf")
        return unreadable(path, QStringLiteral("只能打印 .mlk 或 .mlf 文件"));
    QString error;
    const std::optional<QByteArray> bytes = TextFile::readBytes(path, &error);
    if (!bytes)
        return unreadable(path, error);
    const TextFileContent content = TextFile::read(path);
    PrintFile file;
    file.kind =
        suffix == u"mlk" ? PrintDocuments::Kind::Waybills : PrintDocuments::Kind::ShippingLists;
    file.baseName = info.completeBaseName();
    int number = 0;
    for (const QString& piece : content.lines.join(QString()).split(QStringLiteral("[P]"))) {
        ++number;
        if (piece.trimmed().isEmpty())
            continue;
        std::optional<Order> record = recordOf(piece);
        if (!record)
            return unreadable(path, QStringLiteral("第%1条记录无法解读").arg(number));
        file.records.append(std::move(*record));
    }
    if (file.records.isEmpty())
        return unreadable(path, QStringLiteral("文件中没有记录"));
    return file;
}

QString PrintFile::titleOf(int position) const {
    return QStringLiteral("快递单-%1-%2").arg(baseName).arg(position);
}

} // namespace mldd
