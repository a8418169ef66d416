#!/usr/bin/python3
"""How much of a text comes back exactly after a split and a join: the two
texts compared line by line by alignment, each wrong stretch counted by its
Chinese characters (at least one).

    round_trip.py NAME ORIGINAL JOINED
"""
import collections
import difflib
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data"))
import chinese_characters  # noqa: E402

name, original_path, joined_path = sys.argv[1:4]
chinese = re.compile(chinese_characters.character_class())
original = open(original_path, encoding="utf-8").read().split("\n")
joined = open(joined_path, encoding="utf-8").read().split("\n")
count = wrong = 0
mistakes = collections.Counter()
for a, b in zip(original, joined):
    count += len(chinese.findall(a))
    if a == b:
        continue
    for op, a1, a2, b1, b2 in difflib.SequenceMatcher(None, a, b, autojunk=False).get_opcodes():
        if op != "equal":
            wrong += max(len(chinese.findall(a[a1:a2])), 1)
            mistakes[(a[a1:a2], b[b1:b2])] += 1
common = ", ".join(f"{a}→{b} {n}" for (a, b), n in mistakes.most_common(6))
print(f"{name}: {100 * (1 - wrong / max(count, 1)):.3f} % of {count} Chinese characters read back "
      f"exactly ({wrong} wrong; most common: {common})")
