#!/usr/bin/env python3
"""Writes tests/batch/data/address_corpus_heldout2.jsonl, a second held-out set of receiver texts.

    tools/address_corpus/make_corpus4.py

Written apart from the parser and from the other corpus generators; standard library only,
fixed seed, so running it again gives the same file byte for byte.
"""
