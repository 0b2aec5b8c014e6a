#!/usr/bin/env python3
"""Measures every published performance figure beside its floor, in one run, and rewrites the
table in docs/performance.md between its markers. Needs a RelWithDebInfo build (default build/),
Xvfb and xdotool for the window figures, perf for processor time (else the kernel's ticks).

    python3 bench/figures.py [BUILD_DIR]
"""
import gzip
import json
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build"))
BENCH = os.path.join(BUILD, "bench", "lushera_bench")
GAME = os.path.join(BUILD, "lushera")
FLOOR = os.path.join(BUILD, "bench", "minimal_window")
DOC = os.path.join(ROOT, "docs", "performance.md")


def bench(pattern, env=None):
    out = subprocess.run([BENCH, "--benchmark_filter=" + pattern, "--benchmark_format=json"],
                         capture_output=True, text=True, env=env, check=True).stdout
    return {b["name"]: b for b in json.loads(out)["benchmarks"] if "error_occurred" not in b}


def proc_cpu_ms(pid):
    """Processor time of every thread so far, in ms."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) * 1000.0 / os.sysconf("SC_CLK_TCK")


def wakeups(pid):
    """Wake-ups so far: of every thread, and of SDL's audio thread."""
    total = audio = 0
    for t in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{t}/comm") as f:
                name = f.read()
            with open(f"/proc/{pid}/task/{t}/status") as f:
                n = sum(int(l.split()[1]) for l in f if l.startswith("voluntary_ctxt_switches"))
        except FileNotFoundError:  # the thread ended meanwhile
            continue
        total += n
        audio += n if name.startswith("SDLAudio") else 0
    return total, audio


def idle(cmd, env, seconds, click=None):
    """Processor share (% of a core), wake-ups per second (all threads, SDL's audio thread) of a
    process left alone, and the time from asking it to close to its end."""
    p = subprocess.Popen(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wid = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(p.pid)],
                             capture_output=True, text=True, env=env, timeout=20).stdout.split()[0]
        time.sleep(1)
        if click:
            subprocess.run(["xdotool", "mousemove", "--window", wid, str(click[0]), str(click[1]),
                            "click", "1"], env=env, check=True)
        time.sleep(2)
        perf = shutil.which("perf")
        w0 = wakeups(p.pid)
        if perf:
            r = subprocess.run([perf, "stat", "-x,", "-e", "task-clock", "-p", str(p.pid), "sleep",
                                str(seconds)], capture_output=True, text=True)
            value = next(l for l in r.stderr.splitlines() if "task-clock" in l).split(",")[0]
            ms = float(value) if re.match(r"^[0-9.]+$", value) else 0.0  # "<not counted>": it never ran
        else:
            c0 = proc_cpu_ms(p.pid)
            time.sleep(seconds)
            ms = proc_cpu_ms(p.pid) - c0
        w1 = wakeups(p.pid)
        per_s = ((w1[0] - w0[0]) / seconds, (w1[1] - w0[1]) / seconds)
        # Closing: from the request to the process gone (the game saves on the way).
        t0 = time.monotonic()
        p.send_signal(signal.SIGTERM)
        p.wait(timeout=10)
        gone_ms = (time.monotonic() - t0) * 1000
        return ms / seconds / 10.0, per_s, gone_ms
    finally:
        if p.poll() is None:
            p.kill()


def first_frames(cmd_game, cmd_floor, env, runs=20):
    game, floor = [], []
    for _ in range(runs):  # interleaved, so both see the same machine
        for cmd, out in ((cmd_game, game), (cmd_floor, floor)):
            t0 = time.monotonic()
            subprocess.run(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
            out.append((time.monotonic() - t0) * 1000)
    return statistics.median(game), statistics.median(floor)


def web_rows():
    """The web page's rows, when this build has the page (configured with -DLUSHERA_WEB=ON)."""
    page = os.path.join(BUILD, "web-page")
    # The page's files are named after their content: lushera.HASH.wasm and so on.
    files = sorted(os.listdir(page)) if os.path.isdir(page) else []
    if not (any(f.endswith(".wasm") for f in files) and shutil.which("node")
            and os.path.isdir(os.path.join(ROOT, "web", "node_modules"))):
        return []

    def gz(*names):
        total = 0
        for name in names:
            with open(os.path.join(page, name), "rb") as f:
                total += len(gzip.compress(f.read(), 9))
        return total / 1024

    def kind(end):
        return [f for f in files if f.endswith(end)]

    fonts = os.path.join(page, "fonts")
    first = sum(os.path.getsize(os.path.join(fonts, f)) for f in os.listdir(fonts) if f.endswith(".woff2"))
    full = sum(os.path.getsize(os.path.join(fonts, f)) for f in os.listdir(fonts) if f.endswith(".ttf"))
    w = json.loads(subprocess.run(["node", os.path.join(ROOT, "bench", "web_figures.mjs"), page],
                                  capture_output=True, text=True, check=True).stdout)

    def loads(m):
        g, f = m["game"], m["floor"]
        return (f"{g['ms']:.0f} ms, 95 %: {g['ms95']:.0f} ms; {g['bytes'] / 1e6:.2f} MB before it",
                f"a page fetching and starting a wasm of the game's size: {f['ms']:.0f} ms, 95 %: {f['ms95']:.0f} ms; "
                f"{f['bytes'] / 1e6:.2f} MB")

    slow, loopback = loads(w["first_frame_slow"]), loads(w["first_frame_loopback"])
    return [
        ("the web page's size, gzip -9", "—",
         f"wasm {gz(*kind('.wasm')):.0f} KB + data {gz(*kind('.data')):.0f} KB + JS {gz(*kind('.js'), 'index.html'):.0f} KB; "
         f"first fonts {first / 1024:.0f} KB (WOFF2), full fonts {full / 1e6:.1f} MB (as served), fetched after the first frame", "—"),
        (f"the web page: from asking for it to its first frame, headless Chromium from a cold profile over a 10 Mbit/s, "
         f"40 ms link, gzip (median of {w['loads']})", "≤ 2.5 s, ≤ 1.5 MB before it", *slow),
        (f"the same on the loopback (median of {w['loads']})", "—", *loopback),
        ("the web page idle on the map, 10 s: the whole browser (the page's own thread)", "—",
         f"{w['idle']['browser']:.2f} % ({w['idle']['page']:.2f} %)",
         f"a still canvas: {w['idle_floor']['browser']:.2f} % ({w['idle_floor']['page']:.2f} %)"),
        ("the web page: a click's sound, from the press to its first block at the output "
         f"(median of 8; the browser's output latency: {w['output_latency_ms']:.0f} ms)", "≤ 30 ms over the floor",
         f"{w['click_to_sound_ms']:.1f} ms",
         f"a page playing a block at the press on a running context: {w['click_to_sound_floor_ms']:.1f} ms"),
        ("the web page: a purchase stored, from the press to the commit of the save in IndexedDB "
         f"(median and largest of the tool shop's 4 goods; {w['click_to_stored_missed']} not stored)", "≤ 100 ms",
         f"{w['click_to_stored_ms']:.1f} ms, largest: {w['click_to_stored_p95_ms']:.1f} ms",
         f"a page putting a pair of the save's size in one transaction at the press: {w['click_to_stored_floor_ms']:.1f} ms"),
        ("the web page's pauses: entering a place and walking back out, three times, from each handler's "
         "first pause to its last (the drawing between them included)", "≤ 1.15 × the pauses",
         f"{w['pauses']['taken'] / w['pauses']['asked']:.3f} × ({w['pauses']['asked']:.0f} ms of pauses)",
         "the pauses: 1 ×"),
    ]


def main():
    rows = []
    env = dict(os.environ, SDL_AUDIODRIVER=os.environ.get("SDL_AUDIODRIVER", "dummy"))
    h = bench("random_battles|whole_game|refresh_status_on_the_map|repaint_map_screen/1$|memory_over|"
              "click_to_output|queue_to_device_floor|mix_8_channels/SamplesPerSec:11$|mix_loop_floor")
    rb, rbf = h["random_battles"], h["random_battles_without_pictures"]
    rows.append(("headless random battles", "≥ 20,000 / s",
                 f"{rb['items_per_second']:,.0f} / s", f"empty cg/: {rbf['items_per_second']:,.0f} / s"))
    wg, wgf = h["whole_game/iterations:3"], h["whole_game_without_pictures/iterations:3"]
    rows.append(("the whole game by the scripted player (45,892 clicks)", "≤ 1.0 s",
                 f"{wg['cpu_time'] / 1000:.2f} s CPU", f"empty cg/: {wgf['cpu_time'] / 1000:.2f} s"))
    rs = h["refresh_status_on_the_map"]
    rows.append(("the 10 ms tick (`refresh_status`) on the map", "≤ 5 µs", f"{rs['cpu_time'] / 1000:.2f} µs", "—"))
    rp = h["repaint_map_screen/1"]
    rows.append(("composing the map screen at 1×", "≤ 1 ms", f"{rp['cpu_time']:.0f} µs", "—"))
    if "click_to_output/iterations:20" in h:
        c, f = h["click_to_output/iterations:20"], h["queue_to_device_floor/iterations:20"]
        rows.append(("a click's sound, from `play_sound` to its first byte taken by the output "
                     "(SDL's disk driver; the device resting before)", "≤ 30 ms",
                     f"{c['at_device_ms']:.2f} ms (handed over after {c['to_output_ms']:.2f} ms)",
                     f"the same bytes queued on a device left running: {f['at_device_ms']:.2f} ms"))
    mx, mxf = h["mix_8_channels/SamplesPerSec:11"], h["mix_loop_floor"]
    rows.append(("mixing eight looping channels, one second of sound at 11025 Hz (on the virtual device)",
                 "≤ 1.5 × the loop", f"{mx['cpu_time']:.1f} µs ({mx['cpu_time'] / mxf['cpu_time']:.2f} ×)",
                 f"a loop in vector types over the same bytes: {mxf['cpu_time']:.1f} µs"))
    mem = h["memory_over_100k_battles/iterations:1"]
    rows.append(("memory over 100,000 battles", "flat",
                 f"{mem['rss_kb_after_1k'] / 1024:.1f} MB after 1,000, {mem['rss_kb_after_100k'] / 1024:.1f} MB after 100,000", "—"))

    xvfb = None
    if shutil.which("Xvfb") and shutil.which("xdotool"):
        # A display number nobody uses (Xvfb picks it and writes it to the pipe).
        r, w = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x1024x24"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(w,))
        os.close(w)
        with os.fdopen(r) as f:
            env["DISPLAY"] = ":" + f.readline().strip()
    try:
        if xvfb:
            w = bench("present_floor|closing_square|hit_flash", env)
            floor_us = w["present_floor"]["real_time"]
            for scale in (1, 2):
                c, f = w[f"closing_square/{scale}/iterations:40"], w[f"hit_flash/{scale}/iterations:20"]
                goal = "≤ 1.15 ×" if scale == 1 else "≤ 1.3 ×"
                rows.append((f"window effects at {scale}×: closing square (26 ms of pauses), hit flash (80 ms)",
                             f"{goal} the pauses",
                             f"{c['wall_over_pauses']:.3f} ×, {f['wall_over_pauses']:.3f} ×", "the pauses: 1 ×"))
            c1 = w["closing_square/1/iterations:40"]
            rows.append(("presenting a frame at 1× (during the closing square)", "≤ 0.2 ms",
                         f"{c1['present_per_frame_ms'] * 1000:.0f} µs",
                         f"one whole-frame copy + present: {floor_us:.0f} µs"))
            tmp = tempfile.mkdtemp()
            try:
                shutil.copytree(os.path.join(BUILD, "dat"), os.path.join(tmp, "dat"))
                shutil.copytree(os.path.join(BUILD, "cg"), os.path.join(tmp, "cg"))
                fenv = dict(env, LUSHERA_EXIT_AFTER_FIRST_FRAME="1")
                g, f = first_frames([GAME, "--data", tmp, "--scale", "1"], [FLOOR, "first-frame"], fenv)
                rows.append(("start-up to the first frame, whole process (median of 20)", "≤ 1.3 × the floor",
                             f"{g:.0f} ms ({g / f:.2f} ×)", f"a minimal SDL window: {f:.0f} ms"))
                share, per_s, gone = idle([GAME, "--data", tmp, "--scale", "1"], env, 20, click=(280, 172))
                fshare, fper_s, fgone = idle([FLOOR, "idle"], env, 20)
                pshare, pper_s, _ = idle([FLOOR, "idle-paused"], env, 20)
                rows.append(("idle with the map showing, 20 s, after a click's sound", "≤ 0.3 % of a core",
                             f"{share:.2f} %, {per_s[0]:.0f} wake-ups / s ({per_s[1]:.0f} of SDL's audio thread)",
                             f"`SDL_WaitEvent`: {fshare:.2f} %, {fper_s[0]:.0f} wake-ups / s; with a paused "
                             f"sound output open: {pshare:.2f} %, {pper_s[0]:.0f} ({pper_s[1]:.0f} of its thread)"))
                rows.append(("from close to the process gone (with the save)", "≤ 50 ms + the save",
                             f"{gone:.0f} ms", f"a minimal SDL window: {fgone:.0f} ms"))
            finally:
                shutil.rmtree(tmp)
    finally:
        if xvfb:
            xvfb.terminate()

    rows += web_rows()

    cpu = subprocess.run(["nproc"], capture_output=True, text=True).stdout.strip()
    table = [f"Measured by `python3 bench/figures.py` on {time.strftime('%Y-%m-%d')}, {cpu} cores, "
             f"SDL audio driver `{env['SDL_AUDIODRIVER']}`; each figure beside its floor from the same run.", "",
             "| what | goal | measured | floor in the same run |", "| --- | --- | --- | --- |"]
    table += [f"| {a} | {b} | {c} | {d} |" for a, b, c, d in rows]
    text = open(DOC).read()
    # Between the markers, whatever stands there now (nothing, the first time).
    new = re.sub(r"(<!-- figures -->\n).*?(<!-- /figures -->)",
                 lambda m: m.group(1) + "\n".join(table) + "\n" + m.group(2), text, flags=re.S)
    if new == text and "\n".join(table) not in text:
        sys.exit(f"the markers of the table were not found in {DOC}")
    open(DOC, "w").write(new)
    print("\n".join(table))


if __name__ == "__main__":
    main()
