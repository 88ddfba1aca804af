#pragma once

#include "core/PrintSettings.h"

#include <array>

namespace mldd {

/**
 * The 22 print-item switches of the waybill print settings, numbered 0–21.
 * A bound source prints only while its switch is on.
 */
struct PrintSwitches {
    enum Number {
        Date = 0,
        MyId,
        MyCompany,
        MyName,
        MyPhone1,
        MyPhone2,
        MyZipcode,
        MyAddress,
        MyHandler,
        MyStart,
        BuyId,
        BuyPhone1,
        BuyPhone2,
        BuyZipcode,
        BuyContents,
        SimplifyGoods,
        BuyMessage,
        SellerMemo,
        Destination,
        DestinationFullNames,
        DestinationCityCounty,
        PrintShippingList,
        Count
    };

    std::array<bool, Count> on{};

    /** All on but goods shortening, the destination name variants and the shipping list. */
    PrintSwitches();

    /** The switches kept in the settings row; the others keep their defaults. */
    static PrintSwitches fromSettings(const PrintSettings& settings);

    /** Writes the switches into the settings row's columns; the columns without a switch stay. */
    void storeInto(PrintSettings& settings) const;

    /** The caption of switch `n` in the print settings. */
    static QString caption(Number n);

    /** The settings-row number carrying switches 18–20: 1 for 18, 10 for 19, 100 for 20. */
    static int destinationNumber(bool destination, bool fullNames, bool cityCounty);

    bool operator[](Number n) const { return on[n]; }
};

} // namespace mldd
