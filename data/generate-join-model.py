#!/usr/bin/env python3
"""Builds character-bigrams.txt, the model with which zelk-split --join
chooses between the readings of split text: how often each character occurs
and how often each character follows another.

Sources, each pinned and checked before anything is read:
- the npm package chinese-poetry (MIT licence): Tang and Song poems, Song
  lyrics, Yuan songs, the Book of Songs, the Analects and other classics;
  the traditional texts are counted as they are and once more converted to
  simplified characters by Debian's opencc (t2s.json), so that both scripts
  are known;
- jieba's word list as Debian's python3-jieba ships it (dict.txt, Expat
  licence): each word's count is added to every pair of characters in it,
  scaled so that the modern words weigh as much as the classical texts.

Every paragraph that shares a clause of four or more characters with the
texts of Debian's fortunes-zh is left out of the counts, and with it the
titles of its poem or chapter: those texts are the round-trip benchmark
(bench/join_bench.sh), and a model that had read them would measure nothing. Pairs whose count is below MIN_PAIR_COUNT are dropped.

    python3 data/generate-join-model.py    # writes data/character-bigrams.txt

File format, one line per character, most frequent first:
    character TAB count TAB (next-character level)...
with the next characters in code point order
where level is one ASCII character from '!' (33): the pair's count is about
exp((level - 33) / LEVEL_SCALE).
"""

import importlib.util
import json
import math
import os
import re
import subprocess
import sys
import tarfile
import tempfile

POETRY_PACKAGE = "chinese-poetry"
POETRY_VERSION = "2.0.1"
POETRY_SHA256 = "25b549e46919c3a0569db6b68ddc96956b04a484ea4518ad2bbd4f137e307e86"
OPENCC_PACKAGE = "opencc"
OPENCC_VERSION = "1.1.6+ds1-1"
FORTUNES_PACKAGE = "fortunes-zh"
FORTUNES_VERSION = "2.98"
FORTUNES = ["/usr/share/games/fortunes/" + name for name in ("tang300", "song100", "chinese")]
# Collections in simplified characters already; the rest are traditional.
SIMPLIFIED_COLLECTIONS = {"songci", "yuanqu", "nalanxingde", "caocaoshiji"}
# Rankings and metrical patterns hold no running text.
SKIPPED_COLLECTIONS = {"rank", "strains"}
TEXT_FIELDS = {"paragraphs", "content", "para", "paragraph", "title", "rhythmic", "chapter",
               "section", "desc", "description", "notes", "abstract", "preface"}
TITLE_FIELDS = {"title", "rhythmic", "chapter", "section"}
MIN_PAIR_COUNT = 2
LEVEL_SCALE = 4.0

CLAUSE = re.compile(r"[\u3400-\u9fff]{4,}")


def chinese(c):
    return "\u3400" <= c <= "\u9fff" or "\U00020000" <= c <= "\U0003ffff"


def load_dictionary_generator():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "generate-dictionary.py")
    found = importlib.util.spec_from_file_location("generate_dictionary", path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def collect_strings(node, out, field=None):
    """(field, string) for every string under TEXT_FIELDS in node, however
    deep (metrical patterns, tags and ids are no text)."""
    if isinstance(node, str):
        if field:
            out.append((field, node))
    elif isinstance(node, list):
        for item in node:
            collect_strings(item, out, field)
    elif isinstance(node, dict):
        for key, value in node.items():
            collect_strings(value, out, field or (key if key in TEXT_FIELDS else None))


def collect_documents(node, out):
    """The documents of one JSON file of chinese-poetry (a poem, a lyric, a
    chapter), each a list of (field, string)."""
    if isinstance(node, list):
        for item in node:
            collect_documents(item, out)
    elif isinstance(node, dict):
        if any(key in TEXT_FIELDS and not isinstance(value, dict) for key, value in node.items()):
            document = []
            collect_strings(node, document)
            out.append(document)
        else:
            for value in node.values():
                collect_documents(value, out)


def held_out_lines(documents, excluded):
    """The lines of the documents, without what the benchmark holds: a
    paragraph that shares a clause with the benchmark texts, in any of its
    forms, is left out, and with it its document's titles. Titles of other
    documents stay, since a tune name such as 减字木兰花 heads hundreds of
    lyrics that the benchmark does not hold. A document is a list of
    (field, forms of one string)."""
    lines = []
    for document in documents:
        body = [forms for field, forms in document if field not in TITLE_FIELDS]
        kept = [forms for forms in body
                if not any(c in excluded for text in forms for c in CLAUSE.findall(text))]
        if len(kept) == len(body):
            lines.extend(forms for field, forms in document if field in TITLE_FIELDS)
        lines.extend(kept)
    return lines


def poetry_documents(workdir, dictionary):
    """(simplified, documents) for each JSON file of the collections."""
    tarball = dictionary.fetch_npm_package(workdir, POETRY_PACKAGE, POETRY_VERSION, POETRY_SHA256)
    files = []
    with tarfile.open(tarball) as tar:
        for member in sorted(tar.getmembers(), key=lambda m: m.name):
            parts = member.name.split("/")
            if not member.isfile() or not member.name.endswith(".json") or len(parts) < 4:
                continue
            collection = parts[2]
            if collection in SKIPPED_COLLECTIONS:
                continue
            try:
                data = json.loads(tar.extractfile(member).read().decode("utf-8"))
            except ValueError:
                continue  # the package ships a few files that are not JSON
            documents = []
            collect_documents(data, documents)
            files.append((collection in SIMPLIFIED_COLLECTIONS, documents))
    return files


def to_simplified(lines, workdir):
    """The lines converted by opencc, one for one."""
    source = os.path.join(workdir, "traditional.txt")
    target = os.path.join(workdir, "simplified.txt")
    with open(source, "w", encoding="utf-8") as f:
        f.write("\n".join(line.replace("\n", " ") for line in lines))
    subprocess.run(["opencc", "-c", "t2s.json", "-i", source, "-o", target], check=True)
    with open(target, encoding="utf-8") as f:
        converted = f.read().removesuffix("\n").split("\n")
    if len(converted) != len(lines):
        sys.exit(f"opencc gave {len(converted)} lines for {len(lines)}")
    return converted


def poetry_lines(workdir, dictionary, excluded):
    """Every kept line of the collections: the traditional ones as they are
    and converted to simplified characters, the simplified ones as they are."""
    files = poetry_documents(workdir, dictionary)
    traditional = [text for simplified, documents in files if not simplified
                   for document in documents for _, text in document]
    converted = iter(to_simplified(traditional, workdir))
    lines = []
    for simplified, documents in files:
        if not simplified:
            documents = [[(field, (text, next(converted))) for field, text in document]
                         for document in documents]
        else:
            documents = [[(field, (text,)) for field, text in document] for document in documents]
        for forms in held_out_lines(documents, excluded):
            lines.extend(forms)
    return lines


def benchmark_clauses(dictionary):
    dictionary.require_package(FORTUNES_PACKAGE, FORTUNES_VERSION)
    clauses = set()
    for path in FORTUNES:
        with open(path, encoding="utf-8") as f:
            clauses.update(CLAUSE.findall(f.read()))
    return clauses


def count_text(text, unigrams, bigrams):
    previous = None
    for c in text:
        if chinese(c):
            unigrams[c] = unigrams.get(c, 0) + 1
            if previous is not None:
                bigrams[previous + c] = bigrams.get(previous + c, 0) + 1
            previous = c
        else:
            previous = None


def count_words(jieba_words):
    unigrams, bigrams = {}, {}
    for line in jieba_words.split("\n"):
        fields = line.split(" ")
        if len(fields) < 2 or not fields[1].isdigit() or not all(map(chinese, fields[0])):
            continue
        word, count = fields[0], int(fields[1])
        for c in word:
            unigrams[c] = unigrams.get(c, 0) + count
        for pair in zip(word, word[1:]):
            bigrams["".join(pair)] = bigrams.get("".join(pair), 0) + count
    return unigrams, bigrams


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    dictionary = load_dictionary_generator()
    dictionary.require_package(OPENCC_PACKAGE, OPENCC_VERSION)
    excluded = benchmark_clauses(dictionary)
    jieba_words = dictionary.read_jieba_words()
    unigrams, bigrams = {}, {}
    with tempfile.TemporaryDirectory() as workdir:
        count_text("\n".join(poetry_lines(workdir, dictionary, excluded)), unigrams, bigrams)
    word_unigrams, word_bigrams = count_words(jieba_words)
    scale = sum(unigrams.values()) / sum(word_unigrams.values())
    for table, words in ((unigrams, word_unigrams), (bigrams, word_bigrams)):
        for key, count in words.items():
            table[key] = table.get(key, 0) + count * scale
    followers = {}
    for pair, count in bigrams.items():
        if count >= MIN_PAIR_COUNT:
            followers.setdefault(pair[0], []).append((pair[1], count))
    path = os.path.join(folder, "character-bigrams.txt")
    pairs = 0
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(f"# Generated by data/generate-join-model.py from {POETRY_PACKAGE}@{POETRY_VERSION} "
                  f"(MIT licence) and python3-jieba's dict.txt (Expat licence), see NOTICE;\n"
                  f"# do not edit. character TAB count TAB (next character, level)...: a pair "
                  f"occurs about exp((level - 33) / {LEVEL_SCALE:g}) times.\n")
        for c, count in sorted(unigrams.items(), key=lambda item: (-item[1], item[0])):
            if round(count) < 1:
                continue
            row = sorted(followers.get(c, []))
            levels = "".join(
                f"{n}{chr(33 + min(93, round(LEVEL_SCALE * math.log(k))))}" for n, k in row)
            out.write(f"{c}\t{round(count)}\t{levels}\n")
            pairs += len(row)
    print(f"{path}: {len(unigrams)} characters, {pairs} pairs, "
          f"{len(excluded)} benchmark clauses left out")


if __name__ == "__main__":
    main()
