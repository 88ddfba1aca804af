#pragma once

#include "ErrorLog.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <functional>

namespace mldd {

/** A sender profile: one row of my_data. */
struct SenderProfile {
    qint64 id = 0;
    QString myIdh;
    QString company; // my_Co
    QString name;    // my_fjr
    QString phone1;
    QString phone2;
    QString zipcode;
    QString address;
    QString province; // my_address_sheng
    QString city;     // my_address_shi
    QString county;   // my_address_xian
    QString handler;  // my_jbr
    QString start;    // my_start
    QString delivery; // my_Delivery
    QString faHuoSet; // the shipping-list design
    QString keySession;

    /**
     * The profiles in id order; a failure is logged and gives none. An empty
     * FaHuoSet reads as `defaultDesign()` when one is given.
     */
    static QList<SenderProfile> loadAll(QSqlDatabase& db, const ErrorLog& log,
                                        const std::function<QString()>& defaultDesign = {});
};

/** The courier names of Delivery_list, in table order. */
QStringList loadCourierNames(QSqlDatabase& db, const ErrorLog& log);

} // namespace mldd
