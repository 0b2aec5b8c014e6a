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

# The characters FreeType's auto-hinter (what browsers on Linux draw small text with) measures a
# CJK font by: its top and bottom lines, from either side, and the stem width. Without them in a
# cut it would hint the cut's glyphs a little differently from the full font's, and the text
# would shift when the full font takes over.
HINTER = ("他们你來們到和地对對就席我时時會来為能舰說说这這齊军同已愿既星是景民照现現理用置要軍那配里開雷露面顾"
          "个为人他以们你來個們到和大对對就我时時有来為要說说主些因它想意理生當看着置者自著裡过还进進過道還里面"
          "些们你來們到和地她将將就年得情最样樣理能說说这這通即吗吧听呢品响嗎师師收断斷明眼間间际陈限除陳随際隨"
          "事前學将將情想或政斯新样樣民沒没然特现現球第經谁起例別别制动動吗嗎增指明朝期构物确种調调費费那都間间"
          "田囗")


def text_chars(root):
    chars = {chr(c) for a, b in RANGES for c in range(a, b + 1)} | set(HINTER)
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
