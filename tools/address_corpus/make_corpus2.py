#!/usr/bin/env python3
"""Writes tests/batch/data/address_corpus_tuning2.jsonl: a second labelled corpus of
receiver texts, written from scratch by another hand, for tuning the address parser.

    tools/address_corpus/make_corpus2.py [--out PATH]

Deterministic (fixed seed), standard library only. 480 texts, 120 of each kind
(shop, labelled, auction, chat); every expected value is checked before writing.
"""
