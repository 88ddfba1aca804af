#include "Commands.h"
#include "ProgramStart.h"

#include "core/DeliveryAddress.h"
#include "core/MainState.h"
#include "workbench/ProfileEditing.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace mldd::cli {

namespace {

const QString kProfileUsage = QStringLiteral(
    "用法: mldd-cli [--data DIR] profile save --id ID --address TEXT [--market NAME]\n"
    "           [--company T] [--name T] [--phone1 T] [--phone2 T] [--zipcode T]\n"
    "           [--province T] [--city T] [--county T] [--handler T] [--start T] [--delivery T]\n"
    "       mldd-cli [--data DIR] profile delete --id ID [--market NAME]\n"
    "       mldd-cli [--data DIR] profile list [--json]\n"
    "  --market 可选：淘宝、天猫、拼多多、抖店、京东、快手、小红书、微信小店、1688、其他；不给时ID不加平台");

struct FieldOption {
    const char* option;
    const char* column;
    QString SenderProfile::*member;
};

// The profile fields that save takes from options, beside --id and --address.
constexpr FieldOption kFieldOptions[] = {
    {"company", "my_Co", &SenderProfile::company},
    {"name", "my_fjr", &SenderProfile::name},
    {"phone1", "my_phone1", &SenderProfile::phone1},
    {"phone2", "my_phone2", &SenderProfile::phone2},
    {"zipcode", "my_zipcode", &SenderProfile::zipcode},
    {"province", "my_address_sheng", &SenderProfile::province},
    {"city", "my_address_shi", &SenderProfile::city},
    {"county", "my_address_xian", &SenderProfile::county},
    {"handler", "my_jbr", &SenderProfile::handler},
    {"start", "my_start", &SenderProfile::start},
    {"delivery", "my_Delivery", &SenderProfile::delivery},
};

QJsonObject toJson(const SenderProfile& profile) {
    QJsonObject object{{QStringLiteral("id"), profile.id},
                       {QStringLiteral("my_idh"), profile.myIdh},
                       {QStringLiteral("my_address"), profile.address},
                       {QStringLiteral("FaHuoSet"), profile.faHuoSet},
                       {QStringLiteral("KeySession"), profile.keySession}};
    for (const FieldOption& field : kFieldOptions)
        object.insert(QLatin1String(field.column), profile.*field.member);
    return object;
}

QString toLine(const SenderProfile& profile) {
    return tabbedLine(
        {profile.myIdh, profile.name, profile.phone1, profile.phone2, profile.zipcode,
         DeliveryAddress::joined(profile.province, profile.city, profile.county, profile.address),
         profile.company});
}

} // namespace

int runProfile(const CliContext& context, QStringList args) {
    if (args.isEmpty())
        return fail(Usage, kProfileUsage);
    const QString action = args.takeFirst();
    bool missingValue = false;
    const std::optional<QString> market = takeOption(args, QStringLiteral("market"), &missingValue);
    const std::optional<QString> id = takeOption(args, QStringLiteral("id"), &missingValue);
    const std::optional<QString> address =
        takeOption(args, QStringLiteral("address"), &missingValue);
    SenderProfile profile;
    bool fields = false;
    for (const FieldOption& field : kFieldOptions) {
        const std::optional<QString> value =
            takeOption(args, QLatin1String(field.option), &missingValue);
        fields = fields || value;
        profile.*field.member = value.value_or(QString());
    }
    const bool json = takeFlag(args, QStringLiteral("json"));

    const bool known = (action == u"save" && id && address && !json) ||
                       (action == u"delete" && id && !address && !fields && !json) ||
                       (action == u"list" && !id && !address && !market && !fields);
    if (missingValue || !args.isEmpty() || !known)
        return fail(Usage, kProfileUsage);
    if (market && !ProfileEditing::kMarketplaces.contains(*market))
        return fail(Usage, QStringLiteral("没有这个平台：%1（可选：%2）")
                               .arg(*market, ProfileEditing::kMarketplaces.join(u'、')));

    MainState state(context.dataFolder, context.database);
    if (!startProgram(state))
        return Failed;

    // The shipping-list design comes later; an empty one reads as the default.
    const ProfileEditing::DefaultDesign noDesign;
    std::optional<Notice> refused;
    if (action == u"save") {
        profile.myIdh = *id;
        profile.address = *address;
        refused = ProfileEditing::save(state, market.value_or(QString()), profile, noDesign);
    } else if (action == u"delete") {
        refused = ProfileEditing::remove(state, market.value_or(QString()), *id, noDesign);
    } else if (json) {
        QJsonArray rows;
        for (const SenderProfile& each : state.profiles)
            rows.append(toJson(each));
        writeOut(QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Compact)) + u'\n');
    } else {
        QString text;
        for (const SenderProfile& each : state.profiles)
            text += toLine(each) + u'\n';
        writeOut(text);
    }
    return refused ? fail(Failed, refused->text) : Success;
}

} // namespace mldd::cli
