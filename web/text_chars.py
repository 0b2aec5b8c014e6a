#!/usr/bin/env python3
"""The characters the game's own text can show: the catalogues in data/ (UTF-8 sources), the
layout's captions and every string literal in src/, and the kana, punctuation and full- and
half-width forms a name typed by the player is made of. The page's first fonts hold these; the
full fonts, fetched later, draw anything else.

    text_chars.py ROOT      (prints the characters, one line, sorted)
"""
import glob
import os
import re
import sys

# A C++ string literal on one line (escapes kept as they stand: they are ASCII anyway).
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
# Printable ASCII, CJK punctuation, hiragana, katakana, full-width ASCII, half-width katakana.
RANGES = [(0x20, 0x7E), (0x3000, 0x303F), (0x3041, 0x3096), (0x3099, 0x309F), (0x30A0, 0x30FF),
          (0xFF01, 0xFF5E), (0xFF61, 0xFF9F)]


def text_chars(root):
    chars = {chr(c) for a, b in RANGES for c in range(a, b + 1)}
    for path in glob.glob(os.path.join(root, "data", "*.txt")) + glob.glob(os.path.join(root, "data", "*.tsv")):
        with open(path, encoding="utf-8") as f:
            chars |= set(f.read())
    sources = [p for ext in ("cpp", "hpp", "def") for p in glob.glob(os.path.join(root, "src", "**", "*." + ext), recursive=True)]
    for path in sources:
        with open(path, encoding="utf-8") as f:
            for m in LITERAL.finditer(f.read()):
                chars |= set(m.group(1))
    return sorted(c for c in chars if c.isprintable())


if __name__ == "__main__":
    print("".join(text_chars(sys.argv[1])))
