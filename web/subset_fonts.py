#!/usr/bin/env python3
"""The page's first fonts: each IPA font cut down to the characters the game's own text uses
(text_chars.py), as WOFF2. The cut keeps the hinting, so a line looks the same in the first font
and in the full one that replaces it. Cutting takes a while, so the results are kept in CACHE_DIR
under the hash of what they are made from, and made again only when that changes.

    subset_fonts.py ROOT CACHE_DIR OUT_DIR FONT.ttf...   (writes OUT_DIR/NAME-first.woff2)
"""
import hashlib
import os
import shutil
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

from text_chars import text_chars


def cut(font_path, chars, out_path):
    options = subset.Options()
    options.flavor = "woff2"
    options.hinting = True
    options.layout_features = ["*"]
    options.name_IDs = ["*"]  # the licence's and the family's names go with the font
    options.notdef_outline = True
    font = TTFont(font_path)
    cutter = subset.Subsetter(options)
    cutter.populate(unicodes=[ord(c) for c in chars])
    cutter.subset(font)
    font.flavor = "woff2"
    font.save(out_path)


def main(root, cache, out, fonts):
    chars = "".join(text_chars(root))
    os.makedirs(cache, exist_ok=True)
    os.makedirs(out, exist_ok=True)
    for path in fonts:
        with open(path, "rb") as f:
            key = hashlib.sha256(chars.encode() + f.read()).hexdigest()[:16]
        name = os.path.splitext(os.path.basename(path))[0]
        kept = os.path.join(cache, f"{name}-{key}.woff2")
        if not os.path.exists(kept):
            cut(path, chars, kept + ".part")
            os.replace(kept + ".part", kept)
        shutil.copyfile(kept, os.path.join(out, f"{name}-first.woff2"))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
