#pragma once

#include <QList>
#include <QString>

namespace mldd {

struct PlaceEntry;
struct CitySection;
struct PlaceTable;

/**
 * Gives every entry of the table the full name of its place: the first name a
 * province's or a city's section or county list is listed under (贵州 → 贵州省,
 * 恩施州 → 恩施土家族苗族自治州), the autonomous county a short form stands for
 * (白沙县 → 白沙黎族自治县), the zone a shortened zone name stands for
 * (高新区 → 石家庄高新技术产业开发区). Every other entry is its own full name.
 */
void markOfficialNames(QList<PlaceEntry>& provinces, QList<CitySection>& sections);

/**
 * Province, city and county that came already split (a decode file's, an export's columns)
 * take the table's full names too (广东 / 深圳 → 广东省 / 深圳市), so every order reads the
 * same names however it came in. A name the table does not know stays as written, and so
 * do the names under it.
 */
void useOfficialNames(const PlaceTable& table, QString& province, QString& city, QString& county);

} // namespace mldd
