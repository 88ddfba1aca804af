#include "Commands.h"

#include "address/AddressSplitter.h"
#include "address/PastedAddress.h"
#include "address/PastedReceiver.h"

#include "core/ErrorLog.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace mldd::cli {

namespace {

// A JSON string literal, quotes and escapes included.
QString quoted(const QString& text) {
    const QString array =
        QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact));
    return array.mid(1, array.size() - 2);
}

// One JSON object on one line, keys in the given order (QJsonObject would sort them).
QString jsonLine(const QList<std::pair<QString, QString>>& fields) {
    QStringList members;
    for (const auto& [key, value] : fields)
        members.append(quoted(key) + u':' + quoted(value));
    return u'{' + members.join(u',') + QStringLiteral("}\n");
}

} // namespace

int runSplitAddress(const CliContext& context, QStringList args) {
    bool missingValue = false;
    const QString area = takeOption(args, QStringLiteral("area"), &missingValue)
                             .value_or(placeTablePath(context.dataFolder));
    if (missingValue || args.isEmpty())
        return fail(Usage, QStringLiteral("用法: mldd-cli split-address [--area FILE] ADDRESS..."));
    const ErrorLog log(context.dataFolder.errorLogPath());
    QString problem;
    const PlaceTable table = LoadPlaceTable(area, log, &problem);
    if (table.isEmpty())
        return fail(Failed, problem);
    QString out;
    for (QString address : args) {
        PlaceFields fields;
        SplitAddress(table, fields, address, log);
        out += jsonLine({{QStringLiteral("province"), fields.province},
                         {QStringLiteral("city"), fields.city},
                         {QStringLiteral("county"), fields.county},
                         {QStringLiteral("address"), address},
                         {QStringLiteral("destination"), fields.destination}});
    }
    writeOut(out);
    return Success;
}

int runRecognize(const CliContext& context, QStringList args) {
    const bool editPanel = takeFlag(args, QStringLiteral("edit-panel"));
    if (args.size() != 1)
        return fail(Usage, QStringLiteral("用法: mldd-cli recognize [--edit-panel] TEXT"));

    if (editPanel) {
        ReceiverBoxes boxes;
        boxes.address = args.first();
        RecognizeInEditPanel(boxes);
        writeOut(jsonLine({{QStringLiteral("name"), boxes.name},
                           {QStringLiteral("phone1"), boxes.phone1},
                           {QStringLiteral("phone2"), boxes.phone2},
                           {QStringLiteral("zipcode"), boxes.zipcode},
                           {QStringLiteral("address"), boxes.address}}));
        return Success;
    }
    const ErrorLog log(context.dataFolder.errorLogPath());
    const PlaceTable table = LoadPlaceTable(placeTablePath(context.dataFolder), log);
    const PastedReceiver receiver = RecognizeReceiver(args.first(), table, log);
    writeOut(jsonLine({{QStringLiteral("name"), receiver.name},
                       {QStringLiteral("phone1"), receiver.phone1},
                       {QStringLiteral("phone2"), receiver.phone2},
                       {QStringLiteral("zipcode"), receiver.zipcode},
                       {QStringLiteral("address"), receiver.address},
                       {QStringLiteral("province"), receiver.province},
                       {QStringLiteral("city"), receiver.city},
                       {QStringLiteral("county"), receiver.county}}));
    return Success;
}

} // namespace mldd::cli
