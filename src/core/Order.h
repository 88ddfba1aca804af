#pragma once

#include <QString>

#include <array>
#include <optional>

namespace mldd {

/** One row of order_data: an order to ship. */
struct Order {
    qint64 id = 0;
    int djType = 0; // -1 absorbed by a merge, 0 ordinary, n > 0 merge target
    int cfSign = 0; // 1 when the order came out of splitting a merge
    int kdSign = 0; // waybill: 0 not printed, 1 printed, 2 shipped, 3 buyer notified
    int fhSign = 0; // shipping list: 0 not printed, 1 printed
    int kdPrint = 0;
    int fhPrint = 0;
    std::optional<double> numSign;
    QString timeGet;
    /** The row's version when it was read, on a shared store; 0 where none is kept. */
    qint64 version = 0;

    QString hbDjId;
    QString myId;
    QString orderSign;
    QString buyId;
    QString buyName;
    QString buyPhone1;
    QString buyPhone2;
    QString buyZipcode;
    QString buyAddress;
    QString buyAddressSheng;
    QString buyAddressShi;
    QString buyAddressXian;
    QString buyEnd;
    QString buyGoods;
    QString buyNjpm;
    QString buyLy;
    QString sellerMem;
    QString delivery;
    QString wuliuCode;
    QString kdCode;
    QString deliveryCode;
};

/** A text column of order_data and the member that holds it. */
struct OrderTextColumn {
    const char* name;
    QString Order::*member;
};

/** The text columns in table order; reading and writing rows walk this list. */
inline constexpr std::array<OrderTextColumn, 21> kOrderTextColumns{{
    {"hb_dj_id", &Order::hbDjId},
    {"my_id", &Order::myId},
    {"order_sign", &Order::orderSign},
    {"buy_id", &Order::buyId},
    {"buy_name", &Order::buyName},
    {"buy_phone1", &Order::buyPhone1},
    {"buy_phone2", &Order::buyPhone2},
    {"buy_zipcode", &Order::buyZipcode},
    {"buy_address", &Order::buyAddress},
    {"buy_address_sheng", &Order::buyAddressSheng},
    {"buy_address_shi", &Order::buyAddressShi},
    {"buy_address_xian", &Order::buyAddressXian},
    {"buy_end", &Order::buyEnd},
    {"buy_goods", &Order::buyGoods},
    {"buy_njpm", &Order::buyNjpm},
    {"buy_ly", &Order::buyLy},
    {"seller_mem", &Order::sellerMem},
    {"delivery", &Order::delivery},
    {"wuliu_code", &Order::wuliuCode},
    {"kd_code", &Order::kdCode},
    {"Delivery_code", &Order::deliveryCode},
}};

/** An integer column of order_data and the member that holds it. */
struct OrderIntColumn {
    const char* name;
    int Order::*member;
};

inline constexpr std::array<OrderIntColumn, 6> kOrderIntColumns{{
    {"dj_type", &Order::djType},
    {"cf_sign", &Order::cfSign},
    {"kd_sign", &Order::kdSign},
    {"fh_sign", &Order::fhSign},
    {"kd_print", &Order::kdPrint},
    {"fh_print", &Order::fhPrint},
}};

} // namespace mldd
