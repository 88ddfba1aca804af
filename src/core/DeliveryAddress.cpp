#include "DeliveryAddress.h"

#include <QStringList>

namespace mldd {

namespace {

// The cities that are provinces of their own, by the name they share with it.
const QStringList kMunicipalities{QStringLiteral("北京"), QStringLiteral("天津"),
                                  QStringLiteral("上海"), QStringLiteral("重庆")};

QString withoutCityWord(const QString& name) {
    return name.endsWith(u'市') ? name.chopped(1) : name;
}

bool repeats(const QString& province, const QString& city) {
    if (city.isEmpty())
        return false;
    if (city == province)
        return true;
    // 吉林 and 吉林市 are a province and one of its cities: only a municipality repeats itself.
    const QString name = withoutCityWord(city);
    return name == withoutCityWord(province) && kMunicipalities.contains(name);
}

} // namespace

bool DeliveryAddress::cityRepeatsProvince(const Order& order) {
    return repeats(order.buyAddressSheng, order.buyAddressShi);
}

QString DeliveryAddress::region(const Order& order) {
    return order.buyAddressSheng + (cityRepeatsProvince(order) ? QString() : order.buyAddressShi) +
           order.buyAddressXian;
}

QString DeliveryAddress::full(const Order& order) {
    return joined(order.buyAddressSheng, order.buyAddressShi, order.buyAddressXian,
                  order.buyAddress);
}

QString DeliveryAddress::joined(const QString& province, const QString& city, const QString& county,
                                const QString& street) {
    const QString places = province + (repeats(province, city) ? QString() : city) + county;
    // Captured addresses often carry their province already.
    if (places.isEmpty() || (!province.isEmpty() && street.startsWith(province)))
        return street;
    return places + street;
}

} // namespace mldd
