#!/usr/bin/env python3
"""Scores `billprint parse-address` on a labelled corpus file.

    tools/address_corpus/score.py tests/batch/data/address_corpus_tuning.jsonl [--failures]

A text counts as right when all ten fields come out exactly as expected. Prints the
share of right texts per kind and in total; --failures also prints every wrong text
with the expected and the parsed value of each field that differs.

The parser runs with an empty data folder and its own HOME, so no user's replacement
pairs take part. Use --failures on the tuning part only: the held-out part is for the
score (see tests/batch/data/README.md).
"""

import argparse
import json
import os
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
FIELDS = ("company", "name", "phone", "mobile", "country", "province", "city", "town", "address", "postcode")


def read_corpus(path):
    rows = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if line.strip():
                row = json.loads(line)
                row["line"] = number
                rows.append(row)
    return rows


def parse_all(billprint, rows):
    """The parser's fields for every row, by row index."""
    request = "".join(json.dumps({"id": i, "text": r["text"]}, ensure_ascii=False) + "\n" for i, r in enumerate(rows))
    with tempfile.TemporaryDirectory() as tmp:
        env = dict(os.environ, HOME=tmp, XDG_CONFIG_HOME=os.path.join(tmp, "config"),
                   XDG_DATA_HOME=os.path.join(tmp, "data"), QT_QPA_PLATFORM="offscreen")
        data = os.path.join(tmp, "Data")
        os.makedirs(data)
        done = subprocess.run([str(billprint), "parse-address", "--data", data], input=request, env=env,
                              capture_output=True, text=True, encoding="utf-8")
    if done.returncode != 0:
        sys.exit("parse-address failed (exit %d): %s" % (done.returncode, done.stderr.strip()))
    parsed = {}
    for line in done.stdout.splitlines():
        if line.strip():
            out = json.loads(line)
            parsed[out.get("id")] = out
    missing = [i for i in range(len(rows)) if i not in parsed]
    if missing:
        sys.exit("parse-address gave no answer for %d texts (first: line %d)" % (len(missing), rows[missing[0]]["line"]))
    return [parsed[i] for i in range(len(rows))]


def wrong_fields(expect, got):
    if "error" in got:
        return {"error": ("", got["error"])}
    return {f: (expect.get(f, ""), got.get(f, "")) for f in FIELDS if expect.get(f, "") != got.get(f, "")}


def main():
    ap = argparse.ArgumentParser(description="Scores billprint parse-address on a labelled corpus.")
    ap.add_argument("corpus", help="a .jsonl file of {text, kind, expect}")
    ap.add_argument("--failures", action="store_true", help="print every wrong text and its wrong fields")
    ap.add_argument("--billprint", default=str(ROOT / "build" / "billprint"), help="the program (default build/billprint)")
    args = ap.parse_args()

    rows = read_corpus(args.corpus)
    results = parse_all(args.billprint, rows)
    per_kind = {}
    field_misses = {}
    for row, got in zip(rows, results):
        kind = row.get("kind") or "-"
        wrong = wrong_fields(row["expect"], got)
        right, total = per_kind.get(kind, (0, 0))
        per_kind[kind] = (right + (0 if wrong else 1), total + 1)
        for f in wrong:
            field_misses[f] = field_misses.get(f, 0) + 1
        if wrong and args.failures:
            print("line %d [%s] %s" % (row["line"], kind, json.dumps(row["text"], ensure_ascii=False)))
            for f, (want, have) in wrong.items():
                print("    %-9s expected %-30s got %s" % (f, json.dumps(want, ensure_ascii=False), json.dumps(have, ensure_ascii=False)))
    if args.failures and field_misses:
        print()
    for kind, (right, total) in per_kind.items():
        print("%-12s %4d/%-4d %6.1f %%" % (kind, right, total, 100.0 * right / total))
    right = sum(r for r, _ in per_kind.values())
    total = sum(t for _, t in per_kind.values())
    print("%-12s %4d/%-4d %6.1f %%" % ("total", right, total, 100.0 * right / total if total else 0.0))
    if field_misses:
        print("wrong fields: " + ", ".join("%s %d" % kv for kv in sorted(field_misses.items(), key=lambda kv: -kv[1])))


if __name__ == "__main__":
    main()
