#include "ProvinceNames.h"

#include <array>

namespace mldd {

QString ContainsProvinceName(const QString& text) {
    static constexpr std::array<std::u16string_view, 34> kNames{
        u"北京", u"天津", u"河北", u"山西", u"内蒙古", u"辽宁", u"吉林", u"黑龙江", u"上海",
        u"江苏", u"浙江", u"安徽", u"福建", u"江西",   u"山东", u"河南", u"湖北",   u"湖南",
        u"广东", u"广西", u"海南", u"重庆", u"四川",   u"贵州", u"云南", u"西藏",   u"陕西",
        u"甘肃", u"青海", u"宁夏", u"新疆", u"台湾",   u"香港", u"澳门"};
    for (std::u16string_view name : kNames) {
        if (text.contains(QStringView(name)))
            return QStringLiteral("Y");
    }
    return QStringLiteral("N");
}

} // namespace mldd
