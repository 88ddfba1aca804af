#include "PrintSettings.h"

#include "LocationCode.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace mldd {

namespace {

const QString kTable = QStringLiteral("PrintItem_data");

QStringList columnNames() {
    QStringList names;
    for (const char* column : PrintSettings::kItemColumns)
        names.append(QLatin1String(column));
    for (const char* column : PrintSettings::kSwitchColumns)
        names.append(QLatin1String(column));
    names << QStringLiteral("ORDER_DATA_buy_end") << QStringLiteral("SYS_Day")
          << QStringLiteral("Combo_Font_Type") << QStringLiteral("Combo_Font_Size")
          << QStringLiteral("SoftSet") << QStringLiteral("Menu_set") << QStringLiteral("SelectKD");
    return names;
}

QVariantList valuesOf(const PrintSettings& settings) {
    QVariantList values;
    for (int flag : settings.itemFlags)
        values.append(flag);
    for (int flag : settings.switchFlags)
        values.append(flag);
    values << settings.destinationSwitches << settings.sysDay << settings.fontType
           << settings.fontSizeStep << settings.softSet << settings.menuSet << settings.selectKD;
    return values;
}

int intOr(const QSqlRecord& row, const char* column, int fallback) {
    const QVariant value = row.value(QLatin1String(column));
    return value.isNull() ? fallback : value.toInt();
}

QString textOr(const QSqlRecord& row, const char* column, const QString& fallback) {
    const QString value = row.value(QLatin1String(column)).toString();
    return value.isEmpty() ? fallback : value;
}

bool execLogged(QSqlQuery& query, const ErrorLog& log, QSqlError* error = nullptr) {
    if (query.exec())
        return true;
    log.append(LocationCode::SettingsRow, ErrorLog::Database, query.lastError().text());
    if (error)
        *error = query.lastError();
    return false;
}

bool insertRow(QSqlDatabase& db, const PrintSettings& settings, const ErrorLog& log,
               QSqlError* error = nullptr) {
    const QStringList names = columnNames();
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("insert into %1 (%2) values (%3)")
                       .arg(kTable, names.join(u','),
                            QStringList(names.size(), QStringLiteral("?")).join(u',')));
    for (const QVariant& value : valuesOf(settings))
        insert.addBindValue(value);
    return execLogged(insert, log, error);
}

} // namespace

PrintSettings PrintSettings::load(QSqlDatabase& db, const ErrorLog& log) {
    PrintSettings settings;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("select * from PrintItem_data order by id"))) {
        log.append(LocationCode::SettingsRow, ErrorLog::Database, query.lastError().text());
        return settings;
    }
    if (!query.next()) {
        insertRow(db, settings, log);
        return settings;
    }
    const QSqlRecord row = query.record();
    for (size_t i = 0; i < kItemColumns.size(); ++i)
        settings.itemFlags[i] = intOr(row, kItemColumns[i], 1);
    for (size_t i = 0; i < kSwitchColumns.size(); ++i)
        settings.switchFlags[i] = intOr(row, kSwitchColumns[i], settings.switchFlags[i]);
    settings.destinationSwitches = intOr(row, "ORDER_DATA_buy_end", 11);
    settings.sysDay = intOr(row, "SYS_Day", 0);
    settings.fontType = intOr(row, "Combo_Font_Type", 0);
    settings.fontSizeStep = intOr(row, "Combo_Font_Size", 0);
    settings.softSet = textOr(row, "SoftSet", kDefaultSoftSet);
    settings.menuSet = textOr(row, "Menu_set", kDefaultMenuSet);
    settings.selectKD = row.value(QStringLiteral("SelectKD")).toString();
    query.finish();
    if (settings.selectKD.isEmpty()) {
        settings.selectKD = kDefaultCourierPlan;
        QSqlQuery update(db);
        update.prepare(QStringLiteral("update PrintItem_data set SelectKD = ?"));
        update.addBindValue(settings.selectKD);
        execLogged(update, log);
    }
    return settings;
}

bool PrintSettings::save(QSqlDatabase& db, const ErrorLog& log, QSqlError* error) const {
    QSqlQuery count(db);
    if (count.exec(QStringLiteral("select count(*) from PrintItem_data")) && count.next() &&
        count.value(0).toInt() == 0) {
        count.finish();
        return insertRow(db, *this, log, error);
    }
    count.finish();
    QStringList assignments;
    for (const QString& name : columnNames())
        assignments.append(name + QStringLiteral(" = ?"));
    QSqlQuery update(db);
    update.prepare(QStringLiteral("update PrintItem_data set ") + assignments.join(u','));
    for (const QVariant& value : valuesOf(*this))
        update.addBindValue(value);
    return execLogged(update, log, error);
}

bool PrintSettings::saveSoftSet(QSqlDatabase& db, const QString& softSet, const ErrorLog& log) {
    return saveOneColumn(db, "SoftSet", softSet, log);
}

bool PrintSettings::saveMenuSet(QSqlDatabase& db, const QString& menuSet, const ErrorLog& log) {
    return saveOneColumn(db, "Menu_set", menuSet, log);
}

bool PrintSettings::saveOneColumn(QSqlDatabase& db, const char* column, const QString& value,
                                  const ErrorLog& log) {
    QSqlQuery update(db);
    update.prepare(QStringLiteral("update PrintItem_data set %1 = ?").arg(QLatin1String(column)));
    update.addBindValue(value);
    return execLogged(update, log);
}

QString PrintSettings::sizeStepName(int step) {
    switch (step) {
    case 1:
        return QStringLiteral("小一号");
    case 2:
        return QStringLiteral("小二号");
    case 3:
        return QStringLiteral("大一号");
    case 4:
        return QStringLiteral("大二号");
    default:
        return QStringLiteral("正常大小");
    }
}

} // namespace mldd
