#!/usr/bin/env bash
# The Chinese lines of Debian's translations into LOCALE on this machine
# (the msgstr of every .mo file), one a line, to standard output: real text
# that no data of the program was made from.
#   bench/translations.sh zh_CN|zh_TW
set -euo pipefail
command -v msgunfmt > /dev/null || { echo "translations.sh: needs gettext's msgunfmt" >&2; exit 1; }
for mo in /usr/share/locale/"$1"/LC_MESSAGES/*.mo; do msgunfmt "$mo" 2>/dev/null || true; done |
    python3 -c '
import re, sys
current = None
lines = []
for line in sys.stdin:
    line = line.rstrip("\n")
    start = re.match(r"msgstr(\[\d+\])? \"(.*)\"$", line)
    more = re.match(r"\"(.*)\"$", line)
    if start:
        current = [start.group(2)]
        lines.append(current)
    elif more and current is not None:
        current.append(more.group(1))
    else:
        current = None
for parts in lines:
    for text in "".join(parts).replace("\\n", "\n").split("\n"):
        if re.search("[\u4e00-\u9fff]", text):
            print(text)'
