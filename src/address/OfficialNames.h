#pragma once

#include <QList>

namespace mldd {

struct PlaceEntry;
struct CitySection;

/**
 * Gives every entry of the table the full name of its place: the first name a
 * province's or a city's section or county list is listed under (贵州 → 贵州省,
 * 恩施州 → 恩施土家族苗族自治州), the autonomous county a short form stands for
 * (白沙县 → 白沙黎族自治县), the zone a shortened zone name stands for
 * (高新区 → 石家庄高新技术产业开发区). Every other entry is its own full name.
 */
void markOfficialNames(QList<PlaceEntry>& provinces, QList<CitySection>& sections);

} // namespace mldd
