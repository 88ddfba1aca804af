#include "SenderProfile.h"

#include "LocationCode.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace mldd {

QList<SenderProfile> SenderProfile::loadAll(QSqlDatabase& db, const ErrorLog& log,
                                            const std::function<QString()>& defaultDesign) {
    QList<SenderProfile> profiles;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("select * from my_data order by id"))) {
        log.append(LocationCode::Profiles, ErrorLog::Database, query.lastError().text());
        return profiles;
    }
    const QSqlRecord record = query.record();
    const auto text = [&](const char* column) {
        // A Null column, as the upgrade leaves KeySession and FaHuoSet, reads as empty.
        return query.value(record.indexOf(QLatin1String(column))).toString();
    };
    while (query.next()) {
        SenderProfile profile;
        profile.id = query.value(record.indexOf(QStringLiteral("id"))).toLongLong();
        profile.myIdh = text("my_idh");
        profile.company = text("my_Co");
        profile.name = text("my_fjr");
        profile.phone1 = text("my_phone1");
        profile.phone2 = text("my_phone2");
        profile.zipcode = text("my_zipcode");
        profile.address = text("my_address");
        profile.province = text("my_address_sheng");
        profile.city = text("my_address_shi");
        profile.county = text("my_address_xian");
        profile.handler = text("my_jbr");
        profile.start = text("my_start");
        profile.delivery = text("my_Delivery");
        profile.faHuoSet = text("FaHuoSet");
        if (profile.faHuoSet.isEmpty() && defaultDesign)
            profile.faHuoSet = defaultDesign();
        profile.keySession = text("KeySession");
        profiles.append(profile);
    }
    return profiles;
}

QStringList loadCourierNames(QSqlDatabase& db, const ErrorLog& log) {
    QStringList names;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("select Delivery_Name from Delivery_list"))) {
        log.append(LocationCode::Couriers, ErrorLog::Database, query.lastError().text());
        return names;
    }
    while (query.next())
        names.append(query.value(0).toString());
    return names;
}

} // namespace mldd
