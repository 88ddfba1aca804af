#pragma once

#include "ErrorLog.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

#include <array>

namespace mldd {

/** The single settings row of PrintItem_data. */
struct PrintSettings {
    /** The print-item switch columns, in table order: 1 prints the item on waybills. */
    static constexpr std::array<const char*, 16> kItemColumns{
        "ORDER_DATA_buy_id",     "ORDER_DATA_buy_name",    "ORDER_DATA_buy_phone1",
        "ORDER_DATA_buy_phone2", "ORDER_DATA_buy_zipcode", "ORDER_DATA_buy_address",
        "ORDER_DATA_buy_njpm",   "ORDER_DATA_my_id",       "MY_DATA_my_Co",
        "MY_DATA_my_fjr",        "MY_DATA_my_phone1",      "MY_DATA_my_phone2",
        "MY_DATA_my_zipcode",    "MY_DATA_my_address",     "MY_DATA_my_jbr",
        "MY_DATA_my_start"};
    /**
     * Columns of the switches that have no print-item column of their own (the
     * date, goods shortening, buyer message, seller memo, the shipping list),
     * added by the schema upgrade: 1 on, 0 off.
     */
    static constexpr std::array<const char*, 5> kSwitchColumns{
        "SYS_Date", "Goods_Simplify", "ORDER_DATA_buy_ly", "ORDER_DATA_seller_mem", "Print_FaHuo"};

    /** The courier list of the express plan, with an empty plan part. */
    static inline const QString kDefaultCourierPlan = QStringLiteral(
        "圆通:申通:中通:韵达:顺丰:汇通:天天:E邮宝:EMS:宅急送:邮政:一邦:德邦:鑫飞鸿:亚风:快捷:"
        "捷达:全日通:SND:龙邦:港中能达:时空速递:星辰急便:CCES:中外运全一:优速:鑫飞鸿:速尔|");
    static inline const QString kDefaultSoftSet = QStringLiteral("0|0|0|0|0|0|0");
    static inline const QString kDefaultMenuSet = QStringLiteral("111111111111");

    std::array<int, 16> itemFlags{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    std::array<int, 5> switchFlags{1, 0, 1, 1, 0};

    /** 打印发货单: waybill runs print shipping lists too, and captures reshape goods for them. */
    bool printsShippingLists() const { return switchFlags[4] != 0; }
    int destinationSwitches = 11; // ORDER_DATA_buy_end
    int sysDay = 0;
    int fontType = 0;
    int fontSizeStep = 0;
    QString softSet = kDefaultSoftSet;
    QString menuSet = kDefaultMenuSet;
    QString selectKD = kDefaultCourierPlan;

    /**
     * Loads the row, adding it with the defaults when the table has none. An
     * empty express plan is replaced by the default and saved at once; an empty
     * SoftSet or Menu_set reads as its default.
     */
    static PrintSettings load(QSqlDatabase& db, const ErrorLog& log);

    /** Writes every column back into the row; on failure `error` holds the database's refusal. */
    bool save(QSqlDatabase& db, const ErrorLog& log, QSqlError* error = nullptr) const;

    /** Writes SoftSet alone, as the hint counters do. */
    static bool saveSoftSet(QSqlDatabase& db, const QString& softSet, const ErrorLog& log);

    /** Writes Menu_set alone, as the menu settings do. */
    static bool saveMenuSet(QSqlDatabase& db, const QString& menuSet, const ErrorLog& log);

    /** The name of the waybill font size step the stored number selects. */
    static QString sizeStepName(int step);

private:
    static bool saveOneColumn(QSqlDatabase& db, const char* column, const QString& value,
                              const ErrorLog& log);
};

} // namespace mldd
