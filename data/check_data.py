#!/usr/bin/env python3
"""Checks the catalogue sources in this folder.

Run: python3 data/check_data.py   (exit status 0 when every check passes)

Checks line counts, field counts, text widths, that every character can be
written in Shift-JIS (JIS X 0208, ASCII and half-width katakana only, so the
text survives both the strict Shift-JIS and the Windows code page 932
encoders), and the item ids the game relies on.
"""
import os
import sys
import unicodedata

HERE = os.path.dirname(os.path.abspath(__file__))
errors = []


def err(msg):
    errors.append(msg)


def width(s):
    """Width in full-width characters: a half-width character counts 1/2."""
    w = 0.0
    for ch in s:
        if ord(ch) < 0x80 or 0xFF61 <= ord(ch) <= 0xFF9F:
            w += 0.5
        else:
            w += 1.0
    return w


def sjis_ok(ch):
    # strict JIS X 0208 (no NEC/IBM extensions) and Windows code page 932
    try:
        a = ch.encode("shift_jis")
        b = ch.encode("cp932")
    except UnicodeEncodeError:
        return False
    if a != b:
        return False
    # both codecs must read the bytes back as the same character: this
    # rejects one-way mappings such as U+301C or U+2212
    if a.decode("shift_jis") != ch or b.decode("cp932") != ch:
        return False
    if ch in "\\~":  # 0x5C and 0x7E read as yen sign and overline in JIS X 0201
        return False
    return True


def read_lines(name):
    path = os.path.join(HERE, name)
    with open(path, "rb") as f:
        raw = f.read()
    if b"\r" in raw:
        err(f"{name}: contains CR; use LF line ends")
    if not raw.endswith(b"\n"):
        err(f"{name}: last line has no line end")
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        err(f"{name}: not UTF-8: {e}")
        return []
    if text.startswith("\ufeff"):
        err(f"{name}: starts with a byte order mark")
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    for n, line in enumerate(lines, 1):
        for ch in line:
            if ch == "\t":
                continue
            if ord(ch) < 0x20 or not sjis_ok(ch):
                err(f"{name}:{n}: character {ch!r} (U+{ord(ch):04X} "
                    f"{unicodedata.name(ch, '?')}) cannot be written in Shift-JIS")
    return lines


def check_list(name, count, maxw, allow_empty_from=None):
    lines = read_lines(name)
    if len(lines) != count:
        err(f"{name}: {len(lines)} lines, expected {count}")
    seen = {}
    for n, line in enumerate(lines, 1):
        if "\t" in line:
            err(f"{name}:{n}: contains a TAB")
        if allow_empty_from is not None and n >= allow_empty_from:
            continue
        if line == "":
            err(f"{name}:{n}: empty")
            continue
        if line != line.strip():
            err(f"{name}:{n}: leading or trailing blanks")
        if width(line) > maxw:
            err(f"{name}:{n}: '{line}' is wider than {maxw} full-width characters")
        if line in seen:
            err(f"{name}:{n}: '{line}' repeats line {seen[line]}")
        seen[line] = n
    return lines


def check_magic():
    lines = read_lines("magic.tsv")
    if len(lines) != 256:
        err(f"magic.tsv: {len(lines)} lines, expected 256")
    techs = ["でこぴん", "剣術", "弓矢狼", "機械", "暗黒剣", "獣", "封印剣", "ビンタ",
             "魔術", "占星術", "竜言語魔法", "猫召喚", "呪術", "Ｍ法", "妖精術", "ダンス",
             "でこぴん２", "タマネギ剣", "カード投げ", "盗む", "泣く", "カード化", "食べる",
             "星を見上げる"]
    for n, line in enumerate(lines, 1):
        f = line.split("\t")
        if len(f) != 5:
            err(f"magic.tsv:{n}: {len(f)} fields, expected 5")
            continue
        if n > 240:
            if f != ["-", "-", "0", "0", "0"]:
                err(f"magic.tsv:{n}: unused record must be '-,-,0,0,0'")
            continue
        t = (n - 1) // 10 + 1
        lv = (n - 1) % 10 + 1
        for k, v in enumerate(f):
            if v == "":
                err(f"magic.tsv:{n}: field {k} empty")
            if v != v.strip():
                err(f"magic.tsv:{n}: field {k} has leading or trailing blanks")
        if width(f[0]) > 12:
            err(f"magic.tsv:{n}: name '{f[0]}' is long")
        if len(f[2]) > 6 or len(f[3]) > 6:
            err(f"magic.tsv:{n}: spirit or Mp text longer than 6 characters")
        if f[3] != str(t // 2):
            err(f"magic.tsv:{n}: Mp text '{f[3]}' but technique {t} costs {t // 2}")
        if f[4] != "0" and width(f[4]) > 36:
            err(f"magic.tsv:{n}: description wider than 36 full-width characters")
        if lv == 1 and f[0] != techs[t - 1]:
            err(f"magic.tsv:{n}: level-1 name '{f[0]}' is not '{techs[t - 1]}'")
    names = [l.split("\t")[0] for l in lines[:240]]
    for t in range(24):
        lv = names[t * 10:t * 10 + 10]
        if len(set(lv)) != len(lv):
            err(f"magic.tsv: technique {t + 1} repeats a level name")


SHOP = {0: (0, 1), 1: (0, 3), 14: (3, 1), 47: (18, None)}  # kind, value (None: any)
ORDINARY = range(0, 25)
SWORDS = range(100, 106)
VALUE_KINDS = {0, 1, 2, 3, 4, 5, 6, 7}  # kinds whose value is an amount
# what the description of an amount item must say, by kind
AMOUNT = {
    0: lambda v: f"Hpを{v * 10}回復",
    1: lambda v: f"Hpを{v * 20}回復",
    2: lambda v: f"Mpを{v * 5}回復",
    3: lambda v: f"Mpを{v * 10}回復",
    4: lambda v: f"精霊が{v * 5}集まる",
    5: lambda v: f"精霊が{v * 10}集まる",
    6: lambda v: f"お金{v * 100}円",
    7: lambda v: f"星が{v}個",
}


def check_items():
    lines = read_lines("item.tsv")
    if len(lines) != 513:
        err(f"item.tsv: {len(lines)} lines, expected 513")
    recs = []
    for n, line in enumerate(lines):
        f = line.split("\t")
        if len(f) != 4:
            err(f"item.tsv: id {n}: {len(f)} fields, expected 4")
            recs.append(("", "", 0, 0))
            continue
        try:
            kind, value = int(f[2]), int(f[3])
            if f[2] != str(kind) or f[3] != str(value):
                raise ValueError
        except ValueError:
            err(f"item.tsv: id {n}: kind/value not plain decimal")
            kind, value = 0, 0
        recs.append((f[0], f[1], kind, value))
    seen = {}
    kinds = set()
    for i, (name, desc, kind, value) in enumerate(recs):
        if i <= 252:
            if name == "":
                err(f"item.tsv: id {i} has no name")
            if kind == 111:
                err(f"item.tsv: id {i} is a card")
            if name in seen:
                err(f"item.tsv: id {i} '{name}' repeats id {seen[name]}")
            seen[name] = i
        if name:
            if name != name.strip():
                err(f"item.tsv: id {i}: name has leading or trailing blanks")
            if width(name) > 12:
                err(f"item.tsv: id {i}: name '{name}' wider than 12 full-width characters")
            if desc == "":
                err(f"item.tsv: id {i}: '{name}' has no description")
            if width(desc) > 40:
                err(f"item.tsv: id {i}: description wider than 40 full-width characters")
            kinds.add(kind)
            if kind in VALUE_KINDS and value <= 0:
                err(f"item.tsv: id {i}: kind {kind} needs a positive value")
            if 100 <= kind <= 110 and value < 0:
                err(f"item.tsv: id {i}: sword fee negative")
            if 106 <= kind <= 110:
                err(f"item.tsv: id {i}: kind {kind} has no effect")
            if kind in AMOUNT and AMOUNT[kind](value) not in desc:
                err(f"item.tsv: id {i}: description should say '{AMOUNT[kind](value)}'")
            if 100 <= kind <= 110 and "解放料金" in desc \
                    and f"解放料金{value * 100}円" not in desc:
                err(f"item.tsv: id {i}: description should say 解放料金{value * 100}円")
            if kind == 8 and not 35 <= i <= 44:
                err(f"item.tsv: id {i}: figure kind outside ids 35 to 44")
        if 253 <= i <= 255 and kind == 111:
            err(f"item.tsv: id {i} is a card")
        if i >= 256 and (name, desc, kind, value) != ("", "", 0, 0):
            err(f"item.tsv: id {i} must be an empty slot")
    for i, (k, v) in SHOP.items():
        if recs[i][2] != k or (v is not None and recs[i][3] != v):
            err(f"item.tsv: id {i} must be kind {k} value {v}")
    for i in range(35, 45):
        if recs[i][2] != 8:
            err(f"item.tsv: id {i} must be a figure (kind 8)")
    for k in list(ORDINARY) + list(SWORDS):
        if k not in kinds:
            err(f"item.tsv: no item of kind {k}")
    # what the tool shop says it sells
    if recs[0][0] != "ｽﾃｨｯｸﾊﾟﾝ":
        err("item.tsv: id 0 must be named ｽﾃｨｯｸﾊﾟﾝ")
    if recs[1][0] != "ﾛﾝｸﾞ･ｽﾃｨｯｸﾊﾟﾝ":
        err("item.tsv: id 1 must be named ﾛﾝｸﾞ･ｽﾃｨｯｸﾊﾟﾝ")
    if recs[14][0] != "スミレ草":
        err("item.tsv: id 14 must be named スミレ草")
    if recs[47][0] != "エリスの石のかけら":
        err("item.tsv: id 47 must be named エリスの石のかけら")


def main():
    check_list("name.txt", 226, 8)
    check_list("aiko.txt", 256, 10)
    f = check_list("f.txt", 100, 16, allow_empty_from=11)
    fixed = ["グーグー", "ビジョン", "ｼｭｰﾃｨﾝｸﾞ･ﾌﾗﾜｰ", "マクベス", "オクタビアン",
             "ハジメロボット", "イチゴ", "ハリー", None, "ロラン"]
    for k, want in enumerate(fixed):
        if k < len(f):
            if want is not None and f[k] != want:
                err(f"f.txt: figure {k} is '{f[k]}', expected '{want}'")
    if len(f) > 8 and "オクタビアン" not in f[8]:
        err("f.txt: figure 8 must be a version of オクタビアン")
    check_magic()
    check_items()
    if errors:
        for e in errors:
            print(e)
        print(f"{len(errors)} problem(s)")
        return 1
    print("all catalogue checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
