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

// Which switch each of the settings row's switch columns carries, in column order.
constexpr std::array<int, 5> kSwitchColumn{PrintSwitches::Date, PrintSwitches::SimplifyGoods,
                                           PrintSwitches::BuyMessage, PrintSwitches::SellerMemo,
                                           PrintSwitches::PrintShippingList};

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
    for (size_t i = 0; i < kSwitchColumn.size(); ++i)
        switches.on[kSwitchColumn[i]] = settings.switchFlags[i] != 0;
    int packed = std::max(0, settings.destinationSwitches);
    switches.on[DestinationCityCounty] = packed >= 100;
    packed %= 100;
    switches.on[DestinationFullNames] = packed >= 10;
    switches.on[Destination] = packed % 10 != 0;
    return switches;
}

void PrintSwitches::storeInto(PrintSettings& settings) const {
    for (size_t i = 0; i < kColumnSwitch.size(); ++i)
        if (kColumnSwitch[i] >= 0)
            settings.itemFlags[i] = on[kColumnSwitch[i]] ? 1 : 0;
    for (size_t i = 0; i < kSwitchColumn.size(); ++i)
        settings.switchFlags[i] = on[kSwitchColumn[i]] ? 1 : 0;
    settings.destinationSwitches =
        destinationNumber(on[Destination], on[DestinationFullNames], on[DestinationCityCounty]);
}

QString PrintSwitches::caption(Number n) {
    static const std::array<const char*, Count> kCaptions{"发件日期",
                                                          "我的ID",
                                                          "我的公司名",
                                                          "发件人姓名",
                                                          "我的电话1",
                                                          "我的电话2",
                                                          "我的邮编",
                                                          "我的地址或其他信息",
                                                          "经办人",
                                                          "始发地",
                                                          "买家ID[收件人公司]",
                                                          "买家电话1",
                                                          "买家电话2",
                                                          "买家邮编",
                                                          "内件品名[商品名]",
                                                          "[商品内容打印时简化]",
                                                          "买家留言",
                                                          "卖家备注",
                                                          "终到地",
                                                          "终到地使用省市县全称",
                                                          "终到地使用市县",
                                                          "[打印发货单]"};
    return QString::fromUtf8(kCaptions.at(n));
}

int PrintSwitches::destinationNumber(bool destination, bool fullNames, bool cityCounty) {
    return (cityCounty ? 100 : 0) + (fullNames ? 10 : 0) + (destination ? 1 : 0);
}

} // namespace mldd
