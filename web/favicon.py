#!/usr/bin/env python3
"""An icon file from the game's icon art: the PNGs given as they are, in one icon file (an ICO
may hold PNG images; every browser reads them, and Windows since Vista): the page's favicon.ico
and the Windows program's icon.

    favicon.py OUT.ico PNG...
"""
import struct
import sys


def main(out, pngs):
    images = [open(p, "rb").read() for p in pngs]
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = len(head) + 16 * len(images)
    entries = b""
    for body in images:
        width, height = struct.unpack(">II", body[16:24])  # from the PNG's header chunk
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    with open(out, "wb") as f:
        f.write(head + entries + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
