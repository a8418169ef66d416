"""The one definition of a Chinese character, read from
chinese-characters.txt beside this file, for the data generators and the
tests' scripts; the programs compile in the same file."""

import functools
import os
import re

_PATH = os.path.join(os.path.dirname(os.path.abspath(__file__)), "chinese-characters.txt")
_LINE = re.compile(r"^([0-9A-F]+)\.\.([0-9A-F]+)\s+(character|part)\s*(#.*)?$")


@functools.lru_cache(maxsize=None)
def ranges(classes=("character",)):
    """[(first, last)] code points of the given classes."""
    found = []
    with open(_PATH, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            match = _LINE.match(line.rstrip("\n"))
            if not match:
                raise ValueError(f"{_PATH}: cannot read the line {line!r}")
            if match[3] in classes:
                found.append((int(match[1], 16), int(match[2], 16)))
    return tuple(found)


def character_class(classes=("character",)):
    """A regular expression character class ("[...]") of the given classes."""
    return "[" + "".join(f"{chr(a)}-{chr(b)}" for a, b in ranges(classes)) + "]"


def is_chinese(character, classes=("character",)):
    return any(a <= ord(character) <= b for a, b in ranges(classes))
