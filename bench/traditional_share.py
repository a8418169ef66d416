#!/usr/bin/python3
"""The share of the occurrences, in a text, of the listed traditional
characters (data/traditional-lr.tsv) that the dictionary splits; LISTED has
the characters one a line, SPLIT the same lines as zelk-split wrote them.

    traditional_share.py TEXT LISTED SPLIT        the share in %, or "too little text (N)"
    traditional_share.py TEXT LISTED SPLIT NAME   a line: NAME, the share, the count, the characters left whole
"""
import collections
import sys

text = open(sys.argv[1], encoding="utf-8").read()
listed = open(sys.argv[2], encoding="utf-8").read().split("\n")
split = open(sys.argv[3], encoding="utf-8").read().split("\n")
is_split = {c: s != c for c, s in zip(listed, split) if c}
counts = collections.Counter(c for c in text if c in is_split)
total = sum(counts.values())
done = sum(n for c, n in counts.items() if is_split[c])
if len(sys.argv) < 5:
    print(f"{100 * done / total:.2f}" if total > 20000 else f"too little text ({total})")
else:
    whole = ", ".join(f"{c} {n}" for c, n in counts.most_common() if not is_split[c])
    print(f"{sys.argv[4]}: the listed traditional characters split at {100 * done / total:.2f} % "
          f"of {total} occurrences (left whole: {whole or 'none'})")
