#!/usr/bin/env python3
"""Builds character-bigrams.txt and character-trigrams.txt, the model with
which zelk-split --join chooses between the readings of split text: how
often each character occurs, how often it follows another, and how often it
follows a pair of others.

Sources, each pinned and checked before anything is read:
- the npm package chinese-poetry (MIT licence): Tang and Song poems, Song
  lyrics, Yuan songs, the Book of Songs, the Analects and other classics;
  the traditional texts are counted as they are and once more converted to
  simplified characters by Debian's opencc (t2s.json), so that both scripts
  are known;
- the Chinese manual pages of Debian's manpages-zh (GFDL-1.2+; the few pages
  under the GPL are not read), the one source of modern running text,
  weighed MANPAGES_WEIGHT times;
- jieba's word list as Debian's python3-jieba ships it (dict.txt, Expat
  licence): each word's count is added to every pair and triple of
  characters in it, scaled so that the modern words weigh as much as the
  texts.

Every paragraph that shares a clause of four or more characters with the
texts of Debian's fortunes-zh is left out of the counts, and with it the
titles of its poem or chapter: those texts are the round-trip benchmark
(bench/join_bench.sh), and a model that had read them would measure nothing.
Pairs whose count is below MIN_PAIR_COUNT are dropped, and so are triples
whose level is below MIN_TRIPLE_LEVEL (seen fewer than about 5 times):
measured on the round trip of bench/join_bench.sh and on Debian's zh_CN
translations, that cut costs 0.004 % of the characters and halves the
counts (see the README).

Chinese characters are those of chinese-characters.txt, the definition the
programs compile in (chinese_characters.py reads it).

    python3 data/generate-join-model.py    # writes both files (about 3 minutes, 3 GB)

File formats: character-bigrams.txt, one line per character, most frequent first:
    character TAB count TAB (next-character level)...
character-trigrams.txt, one line per pair of characters, in code point order:
    two characters TAB (next-character level)...
with the next characters in code point order, where level is one ASCII
character from '!' (33): the pair's or triple's count is about
exp((level - 33) / LEVEL_SCALE).
"""

import importlib.util
import gzip
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
MANPAGES_PACKAGE = "manpages-zh"
MANPAGES_VERSION = "1.6.4.0-1"
# Pages that the package's copyright file puts under the GPL, not the GFDL.
MANPAGES_OTHER_LICENCES = {"kill.1.gz", "intro.6.gz", "epoll.7.gz"}
# The manual pages are the only modern running text, and short next to the
# classics: their words (分页 "paging", 反斜杠 "backslash") count this many times.
MANPAGES_WEIGHT = 8
SOURCES = (f"{POETRY_PACKAGE}@{POETRY_VERSION} (MIT licence), python3-jieba's dict.txt (Expat "
           f"licence) and {MANPAGES_PACKAGE} {MANPAGES_VERSION} (GFDL-1.2+)")
MIN_PAIR_COUNT = 2
MIN_TRIPLE_COUNT = 2
MIN_TRIPLE_LEVEL = 7
LEVEL_SCALE = 4.0

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import chinese_characters  # noqa: E402

CLAUSE = re.compile(chinese_characters.character_class() + "{4,}")
CHINESE_RUN = re.compile(chinese_characters.character_class() + "+")
TROFF_ESCAPE = re.compile(r"\\f[BIRP]|\\f\(..|\\\(..|\\[-e&]")


def chinese(c):
    return CHINESE_RUN.fullmatch(c) is not None


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


def manpage_lines(dictionary, excluded):
    """The lines of running text in manpages-zh's pages (both scripts), troff
    requests and font changes taken out; a line that shares a clause with
    the benchmark texts is left out. Pages under other licences than the
    package's GFDL are not read."""
    dictionary.require_package(MANPAGES_PACKAGE, MANPAGES_VERSION)
    listing = subprocess.run(["dpkg-query", "-L", MANPAGES_PACKAGE], capture_output=True,
                             text=True, check=True).stdout.split("\n")
    lines = []
    for path in sorted(listing):
        if not path.startswith("/usr/share/man/") or not path.endswith(".gz"):
            continue
        if os.path.basename(path) in MANPAGES_OTHER_LICENCES:
            continue
        with gzip.open(path) as f:
            page = f.read().decode("utf-8", errors="replace")
        for line in page.split("\n"):
            if line.startswith((".\\\"", "'\\\"")):
                continue  # a comment
            if line.startswith("."):
                line = line.partition(" ")[2]  # a request's arguments are text
            line = TROFF_ESCAPE.sub("", line)
            if not any(c in excluded for c in CLAUSE.findall(line)):
                lines.append(line)
    return lines


def count_text(text, counts, weight=1):
    """Adds each run of one to len(counts) characters of the text's Chinese
    runs to counts[length - 1]."""
    for run in CHINESE_RUN.findall(text):
        for n, table in enumerate(counts, start=1):
            for i in range(len(run) - n + 1):
                gram = run[i:i + n]
                table[gram] = table.get(gram, 0) + weight


def count_words(jieba_words, counts):
    for line in jieba_words.split("\n"):
        fields = line.split(" ")
        if len(fields) < 2 or not fields[1].isdigit() or not all(map(chinese, fields[0])):
            continue
        count_text(fields[0], counts, int(fields[1]))


def level(count):
    return min(93, round(LEVEL_SCALE * math.log(count)))


def followers(counts, minimum, minimum_level=0):
    """The counts (of runs of characters) kept, grouped by all but their last
    character: {start: "next level next level..."}, next characters in code
    point order."""
    grouped = {}
    for run, count in counts.items():
        if count >= minimum and level(count) >= minimum_level:
            grouped.setdefault(run[:-1], []).append((run[-1], count))
    return {start: "".join(n + chr(33 + level(k)) for n, k in sorted(row))
            for start, row in grouped.items()}


def write_model(path, description, lines):
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(f"# Generated by data/generate-join-model.py from {SOURCES}, see NOTICE;\n"
                  f"# do not edit. {description} about exp((level - 33) / {LEVEL_SCALE:g}) "
                  f"times.\n")
        out.writelines(lines)


def write_bigrams(path, unigrams, bigrams):
    rows = followers(bigrams, MIN_PAIR_COUNT)
    write_model(path, "character TAB count TAB (next character, level)...: a pair occurs",
                (f"{c}\t{round(count)}\t{rows.get(c, '')}\n"
                 for c, count in sorted(unigrams.items(), key=lambda item: (-item[1], item[0]))
                 if round(count) >= 1))
    return len(unigrams), sum(len(row) // 2 for row in rows.values())


def write_trigrams(path, trigrams):
    rows = followers(trigrams, MIN_TRIPLE_COUNT, MIN_TRIPLE_LEVEL)
    write_model(path, "two characters TAB (next character, level)...: the three occur together",
                (f"{pair}\t{rows[pair]}\n" for pair in sorted(rows)))
    return len(rows), sum(len(row) // 2 for row in rows.values())


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    dictionary = load_dictionary_generator()
    dictionary.require_package(OPENCC_PACKAGE, OPENCC_VERSION)
    excluded = benchmark_clauses(dictionary)
    jieba_words = dictionary.read_jieba_words()
    counts = [{}, {}, {}]
    with tempfile.TemporaryDirectory() as workdir:
        count_text("\n".join(poetry_lines(workdir, dictionary, excluded)), counts)
    count_text("\n".join(manpage_lines(dictionary, excluded)), counts, MANPAGES_WEIGHT)
    words = [{}, {}, {}]
    count_words(jieba_words, words)
    scale = sum(counts[0].values()) / sum(words[0].values())
    for table, word_table in zip(counts, words):
        for key, count in word_table.items():
            table[key] = table.get(key, 0) + count * scale
    characters, pairs = write_bigrams(os.path.join(folder, "character-bigrams.txt"), *counts[:2])
    histories, triples = write_trigrams(os.path.join(folder, "character-trigrams.txt"), counts[2])
    print(f"{characters} characters, {pairs} pairs, {triples} triples after {histories} pairs; "
          f"{len(excluded)} benchmark clauses left out")


if __name__ == "__main__":
    main()
