#!/usr/bin/env python3
"""Names the page's files after their content and writes those names where they are asked for:
the page (its script and link tags, and the table of files and sizes its loader reads), the web
app manifest (its icons) and the service worker (its version and the files it keeps). A new build
of any file is a new name, so a browser never holds an old script beside a new wasm. The page
itself, the service worker and favicon.ico keep their names: browsers ask for those by name.

    stamp_page.py STAGE_DIR OUT_DIR
"""
import hashlib
import json
import os
import re
import shutil
import sys

FIXED = {"index.html", "sw.js", "favicon.ico", "manifest.webmanifest"}


def hashed(name, body):
    stem, ext = os.path.splitext(name)
    return f"{stem}.{hashlib.sha256(body).hexdigest()[:10]}{ext}"


def main(stage, out):
    names = {}  # a file's plain name -> its name on the page
    sizes = {}
    os.makedirs(out, exist_ok=True)

    def put(name, body):
        path = os.path.join(out, names.get(name, name))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(body)

    for folder, _, files in os.walk(stage):
        for file in files:
            name = os.path.relpath(os.path.join(folder, file), stage)
            if name in FIXED:
                continue
            with open(os.path.join(stage, name), "rb") as f:
                body = f.read()
            names[name], sizes[name] = hashed(name, body), len(body)
            put(name, body)

    def read(name):
        with open(os.path.join(stage, name), encoding="utf-8") as f:
            return f.read()

    manifest = json.loads(read("manifest.webmanifest"))
    for icon in manifest["icons"]:
        icon["src"] = names[icon["src"]]
    body = json.dumps(manifest, ensure_ascii=False, indent=1).encode()
    names["manifest.webmanifest"] = hashed("manifest.webmanifest", body)
    put("manifest.webmanifest", body)

    table = {n: {"url": names[n], "size": sizes[n]} for n in sorted(sizes)}
    page = re.sub(r'\b(src|href)="([^"]+)"', lambda m: f'{m.group(1)}="{names.get(m.group(2), m.group(2))}"',
                  read("index.html"))
    page = page.replace("var lusheraFiles = {};", "var lusheraFiles = " + json.dumps(table, separators=(",", ":")) + ";")
    put("index.html", page.encode())
    shutil.copyfile(os.path.join(stage, "favicon.ico"), os.path.join(out, "favicon.ico"))

    kept = ["index.html", "favicon.ico"] + sorted(names.values())
    version = hashlib.sha256(page.encode() + open(os.path.join(out, "favicon.ico"), "rb").read()).hexdigest()[:10]
    worker = read("sw.js").replace('const version = "";', f'const version = "{version}";') \
        .replace("const files = [];", "const files = " + json.dumps(kept) + ";")
    put("sw.js", worker.encode())


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
