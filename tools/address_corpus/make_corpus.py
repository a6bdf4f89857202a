#!/usr/bin/env python3
"""Writes the labelled receiver-text corpus (tuning and held-out parts)."""

def main():
    raise SystemExit("not written yet")

if __name__ == "__main__":
    main()
