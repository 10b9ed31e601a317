#!/usr/bin/python3
"""What a corpus linguist would write with NLTK for the benchmark cases.

    nltk_peer.py freqdist FILE...          alphabetical word list (word TAB count)
    nltk_peer.py descending FILE...        the same list, most frequent first
    nltk_peer.py concordance WORD FILE...  ConcordanceIndex + every line for WORD

Tokens are the runs of ASCII letters and digits, as in the coreutils pipeline
(tr -cs 'A-Za-z0-9' '\\n'); the word lists count them lower-cased. All files
together make one result. Files are read as Latin-1 so that any byte is
accepted, and in blocks cut at a line end so that a 1 GB corpus does not need
1 GB of text in memory for the word lists. No NLTK data packages are needed.
"""

import re
import sys

from nltk.probability import FreqDist
from nltk.text import ConcordanceIndex

TOKEN = re.compile(r"[A-Za-z0-9]+")
BLOCK = 8 << 20


def blocks(paths):
    for path in paths:
        with open(path, "r", encoding="latin-1", newline="") as f:
            rest = ""
            while True:
                chunk = f.read(BLOCK)
                if not chunk:
                    break
                chunk = rest + chunk
                cut = chunk.rfind("\n") + 1
                if cut == 0:
                    rest = chunk
                    continue
                rest = chunk[cut:]
                yield chunk[:cut]
            if rest:
                yield rest


def freqdist(paths):
    fd = FreqDist()
    for block in blocks(paths):
        fd.update(TOKEN.findall(block.lower()))
    return fd


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    mode = argv[1]
    out = sys.stdout
    if mode == "freqdist":
        fd = freqdist(argv[2:])
        out.writelines(f"{w}\t{c}\n" for w, c in sorted(fd.items()))
        out.write(f"\nTotal Tokens:\t{fd.N()}\nTotal Types:\t{fd.B()}\n")
    elif mode == "descending":
        fd = freqdist(argv[2:])
        out.writelines(f"{w}\t{c}\n" for w, c in fd.most_common())
        out.write(f"\nTotal Tokens:\t{fd.N()}\nTotal Types:\t{fd.B()}\n")
    elif mode == "concordance":
        if len(argv) < 4:
            sys.exit(__doc__)
        word = argv[2]
        tokens = []
        for block in blocks(argv[3:]):
            tokens.extend(TOKEN.findall(block))
        index = ConcordanceIndex(tokens, key=lambda s: s.lower())
        lines = index.find_concordance(word, width=100)
        out.writelines(line.line + "\n" for line in lines)
        out.write(f"\nTotal Occurrence(s): {len(lines)}\n")
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
