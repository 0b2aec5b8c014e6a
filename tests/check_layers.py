#!/usr/bin/env python3
"""Fails when a source file includes one its layer must not know.

The game is layered: storage (the seam to the system's files), ui and audio at the bottom, core above them, the picture effects above core,
the features (world, battle, town) above that, and game/ (the click table) above every feature.
Game code never includes SDL or X; neither do the picture's composition (render/), the bitmap
reader and the recorder (platform/), the headless host and the scripted driver, nor the web page's
host. Each folder below lists the folders its files may include from. Nor does any of the game's
folders or render/ touch the system's files itself: every file, folder and environment variable
goes through storage/ (its implementations live in platform/)."""
import pathlib
import re
import sys

GAME = {"storage", "ui", "audio", "core", "effects", "world", "battle", "town", "game"}
ALLOWED = {
    # What the game asks of the system's files; each system's own way of doing it is in platform/.
    "storage": {"storage"},
    "ui": {"ui", "storage"},
    "audio": {"audio", "storage"},
    "core": {"core", "ui", "audio", "storage"},
    "effects": {"effects", "core", "ui", "storage"},
    "town": {"town", "core", "ui", "effects", "storage"},
    # The road starts battles; a battle knows nothing of roads (the click table has the road act
    # on a battle's outcome).
    "world": {"world", "battle", "core", "ui", "effects", "storage"},
    "battle": {"battle", "core", "ui", "effects", "storage"},
    "game": GAME,
    # The picture composed in memory: the form and its text, for any host.
    "render": {"render", "ui", "core", "storage"},
    # The input path shared by the hosts knows what keys do to the controls.
    "platform": GAME | {"platform", "render"},
    "platform/headless": GAME | {"platform/headless", "platform", "render"},
    "platform/web": GAME | {"platform/web", "platform", "render"},
    "platform/posix": {"platform/posix", "platform", "storage"},
    "platform/windows": {"platform/windows", "platform", "storage"},
}
PLATFORM_HEADERS = re.compile(r"#\s*include\s*<(SDL|X11/)")
OWN_HEADER = re.compile(r'#\s*include\s*"([^"]+)"')
# The layers that reach the system's files only through storage/ (which itself only says what is asked).
THROUGH_STORAGE = GAME | {"render"}
SYSTEM_FILE_HEADERS = re.compile(
    r"#\s*include\s*<(fcntl\.h|unistd\.h|dirent\.h|pwd\.h|io\.h|direct\.h|windows\.h|sys/[\w/]+\.h|"
    r"c?stdio(\.h)?|fstream|filesystem)>")
# A call of the system's file functions, the C library's or the standard library's: qualified
# ("::open(", "std::getenv(") or bare for the names no member of ours takes.
SYSTEM_FILE_CALLS = re.compile(
    r"(?<![\w.>])(::|std::)(open|openat|read|pread|write|close|fsync|rename|unlink|rmdir|mkdir|stat|"
    r"lstat|fstat|flock|opendir|access|faccessat|getenv|fopen|freopen|remove|getpwuid)\s*\(|"
    r"(?<![\w.>:])(fopen|freopen|fsync|flock|opendir|readdir|unlink|rmdir|mkdir|lstat|fstat|faccessat|"
    r"getenv|secure_getenv|getpwuid|pread)\s*\(|"
    r"\b(filesystem::|[io]?fstream\b)")


def layer_of(path: pathlib.Path) -> str:
    parts = path.parts
    return "/".join(parts[:2]) if parts[0] == "platform" and len(parts) > 2 else parts[0]


def folder_of(include: str) -> str:
    parts = include.split("/")
    return "/".join(parts[:2]) if parts[0] == "platform" and len(parts) > 2 else parts[0]


def main() -> int:
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "src")
    faults = []
    for file in sorted(src.rglob("*")):
        if file.suffix not in {".cpp", ".hpp", ".def"}:
            continue
        rel = file.relative_to(src)
        layer = layer_of(rel)
        allowed = ALLOWED.get(layer)
        if allowed is None:
            continue  # the desktop host and main() may include anything
        for n, line in enumerate(file.read_text(encoding="utf-8").splitlines(), 1):
            code = line.split("//", 1)[0]
            if layer in THROUGH_STORAGE and (SYSTEM_FILE_HEADERS.search(code) or SYSTEM_FILE_CALLS.search(code)):
                faults.append(f"{rel}:{n}: {layer} must reach the system's files through storage/: {line.strip()}")
            if PLATFORM_HEADERS.search(line):
                faults.append(f"{rel}:{n}: {layer} must not include a platform header: {line.strip()}")
            m = OWN_HEADER.search(line)
            if m and folder_of(m.group(1)) not in allowed:
                faults.append(f"{rel}:{n}: {layer} must not include {m.group(1)}")
    for f in faults:
        print(f)
    print(f"{len(faults)} fault(s) across the layers" if faults else "the layers hold")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
