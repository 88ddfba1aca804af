#include "PrintSwitches.h"

#include <algorithm>

namespace mldd {

namespace {

// Which switch each print-item column of the settings row carries, in column order;
// the receiver's name and address print always and have no switch.
constexpr std::array<int, 16> kColumnSwitch{PrintSwitches::BuyId,       -1,
                                            PrintSwitches::BuyPhone1,   PrintSwitches::BuyPhone2,
                                            PrintSwitches::BuyZipcode,  -1,
                                            PrintSwitches::BuyContents, PrintSwitches::MyId,
                                            PrintSwitches::MyCompany,   PrintSwitches::MyName,
                                            PrintSwitches::MyPhone1,    PrintSwitches::MyPhone2,
                                            PrintSwitches::MyZipcode,   PrintSwitches::MyAddress,
                                            PrintSwitches::MyHandler,   PrintSwitches::MyStart};

} // namespace

PrintSwitches::PrintSwitches() {
    on.fill(true);
    on[SimplifyGoods] = false;
    on[DestinationFullNames] = false;
    on[DestinationCityCounty] = false;
    on[PrintShippingList] = false;
}

PrintSwitches PrintSwitches::fromSettings(const PrintSettings& settings) {
    PrintSwitches switches;
    for (size_t i = 0; i < kColumnSwitch.size(); ++i)
        if (kColumnSwitch[i] >= 0)
            switches.on[kColumnSwitch[i]] = settings.itemFlags[i] != 0;
    int packed = std::max(0, settings.destinationSwitches);
    switches.on[DestinationCityCounty] = packed >= 100;
    packed %= 100;
    switches.on[DestinationFullNames] = packed >= 10;
    switches.on[Destination] = packed % 10 != 0;
    return switches;
}

int PrintSwitches::destinationNumber(bool destination, bool fullNames, bool cityCounty) {
    return (cityCounty ? 100 : 0) + (fullNames ? 10 : 0) + (destination ? 1 : 0);
}

} // namespace mldd
