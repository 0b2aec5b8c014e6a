#!/usr/bin/env python3
"""Measures every published performance figure beside its floor, in one run, and rewrites the
table in docs/performance.md between its markers. Needs a RelWithDebInfo build (default build/),
GNU time (/usr/bin/time) for the driver's memory, Xvfb and xdotool for the window's rows, perf
for processor time (else the kernel's ticks), and for the web page's rows a build with
-DLUSHERA_WEB=ON, node and web/node_modules. What each row and its floor measure:
docs/performance.md.

    python3 bench/figures.py [--build DIR] [GROUP ...]

GROUPs: headless parts sound effects startup idle web (all when none is named). A run of some
groups replaces only their rows in the table and keeps the others.
"""
import argparse
import gzip
import json
import math
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DOC = os.path.join(ROOT, "docs", "performance.md")
GROUPS = ("headless", "parts", "sound", "effects", "startup", "idle", "web")
# Runs of each figure; the 95th percentile is by nearest rank (of 30, the second slowest).
HEADLESS_RUNS = 7
RUNS = 30


def quantile(xs, q):
    s = sorted(xs)
    return s[max(1, min(len(s), math.ceil(q * len(s)))) - 1]


def med(xs):
    return quantile(xs, 0.5)


def p95(xs):
    return quantile(xs, 0.95)


class NotMeasured(Exception):
    """A row that could not be measured, and why."""


class Busy:
    """A second process keeping one core busy, as on a machine doing something else too."""

    def __enter__(self):
        self.p = subprocess.Popen([sys.executable, "-c", "while True: pass"])
        time.sleep(0.2)
        return self

    def __exit__(self, *_):
        self.p.kill()
        self.p.wait()


class Paths:
    def __init__(self, build):
        self.build = build
        self.bench = os.path.join(build, "bench", "lushera_bench")
        self.game = os.path.join(build, "lushera")
        self.window_floor = os.path.join(build, "bench", "minimal_window")
        self.script_floor = os.path.join(build, "bench", "script_floor")
        self.player_scripts = os.path.join(build, "bench", "player_scripts")


def bench(p, pattern, env=None):
    out = subprocess.run([p.bench, "--benchmark_filter=" + pattern, "--benchmark_format=json"],
                         capture_output=True, text=True, env=env, check=True).stdout
    found = {b["name"]: b for b in json.loads(out)["benchmarks"] if "error_occurred" not in b}
    if not found:
        raise NotMeasured(f"the benchmarks {pattern} ran none (skipped, or no display)")
    return found


def timed(cmd, env=None, stdout=subprocess.DEVNULL):
    """Wall time in ms from start to exit, and the exit status."""
    t0 = time.monotonic()
    rc = subprocess.run(cmd, env=env, stdout=stdout, stderr=subprocess.DEVNULL).returncode
    return (time.monotonic() - t0) * 1000, rc


def peak_mb_of_run(cmd, tmp, stdout=subprocess.DEVNULL):
    """The peak resident size of a run in MB, as GNU time reports it: a child of this process
    would count this process's own pages from before its exec."""
    if not os.path.exists("/usr/bin/time"):
        raise NotMeasured("needs GNU time (/usr/bin/time)")
    out = os.path.join(tmp, "peak")
    subprocess.run(["/usr/bin/time", "-f", "%M", "-o", out, *cmd], stdout=stdout, stderr=subprocess.DEVNULL)
    with open(out) as f:
        return int(f.read().split()[-1]) / 1024


def fresh_pack(src, tmp):
    """A copy of a data pack (the driver's close saves into it), made outside any timing."""
    dst = tempfile.mkdtemp(dir=tmp)
    for part in ("dat", "cg"):
        shutil.copytree(os.path.join(src, part), os.path.join(dst, part))
    return dst


# --- headless: the driver, through the real program ---------------------------------------------

def replay(p, tmp, pack, script, seed, end, runs):
    """The driver playing a script on fresh copies of the pack, and the floor (the same script
    read, the driver's transcript written), interleaved so both see the same machine."""
    transcript = os.path.join(tmp, "transcript")
    game, floor = [], []
    for i in range(runs):
        data = fresh_pack(pack, tmp)
        with open(transcript, "w") as out:
            ms, rc = timed([p.game, "--headless", "--data", data, "--seed", str(seed), "--script", script], stdout=out)
        shutil.rmtree(data)
        if i == 0:
            with open(transcript) as f:
                lines = f.read().splitlines()
            errors = [l for l in lines if l.startswith("error:")]
            if rc != 0 or errors or lines[-len(end):] != end:
                raise NotMeasured(f"the script did not replay (exit {rc}; {errors[:1] or lines[-len(end):]})")
        game.append(ms)
        with open(os.path.join(tmp, "floor-transcript"), "w") as out:
            ms, rc = timed([p.script_floor, script, transcript], stdout=out)
        if rc != 0:
            raise NotMeasured("the floor could not read the script")
        floor.append(ms)
    return game, floor, len(lines)


def driver_peak_mb(p, tmp, pack, script, seed):
    """Peak memory of the driver over a script, and of the floor over the same."""
    data = fresh_pack(pack, tmp)
    transcript = os.path.join(tmp, "transcript")
    with open(transcript, "w") as out:
        game = peak_mb_of_run([p.game, "--headless", "--data", data, "--seed", str(seed), "--script", script], tmp, out)
    shutil.rmtree(data)
    return game, peak_mb_of_run([p.script_floor, script, transcript], tmp)


def headless_rows(p, tmp):
    scripts = os.path.join(tmp, "scripts")
    made = json.loads(subprocess.run([p.player_scripts, p.build, scripts, "1000"], capture_output=True,
                                     text=True, check=True).stdout)
    rows = []
    for b in made["battles"]:
        key = (f"headless battles through the driver (`lushera --headless --script`), from a save at level "
               f"{b['level']}: {b['battles']:,} battles of the scripted player ({b['clicks']:,} clicks, the walking "
               f"and the town between them included), median and 95 % of {HEADLESS_RUNS}")
        try:
            g, f, _ = replay(p, tmp, os.path.join(scripts, b["pack"]), os.path.join(scripts, b["script"]),
                                   b["seed"], b["end"], HEADLESS_RUNS)
            rows.append((key, "≥ 40,000 / s",
                         f"{b['battles'] / med(g) * 1000:,.0f} / s, 95 %: {b['battles'] / p95(g) * 1000:,.0f} / s "
                         f"({med(g):.0f} ms)",
                         f"reading the script, writing the transcript: {med(f):.0f} ms, 95 %: {p95(f):.0f} ms"))
        except NotMeasured as e:
            rows.append((key, "≥ 40,000 / s", f"not measured: {e}", "—"))
    w = made["whole_game"]
    key = (f"the whole game through the driver, a new hero to the end panel ({w['clicks']:,} clicks of the "
           f"scripted player, {w['battles']:,} battles), median and 95 % of {HEADLESS_RUNS}")
    try:
        whole = os.path.join(scripts, "whole_game.script")
        g, f, lines = replay(p, tmp, p.build, whole, w["seed"], w["end"], HEADLESS_RUNS)
        g_mb, f_mb = driver_peak_mb(p, tmp, p.build, whole, w["seed"])
        rows.append((key, "≤ 0.6 s", f"{med(g) / 1000:.2f} s, 95 %: {p95(g) / 1000:.2f} s",
                     f"reading the script, writing the transcript ({lines:,} lines): {med(f) / 1000:.3f} s, "
                     f"95 %: {p95(f) / 1000:.3f} s"))
        rows.append(("peak memory of the driver over the whole game", "—", f"{g_mb:.1f} MB",
                     f"the floor program: {f_mb:.1f} MB"))
    except NotMeasured as e:
        rows.append((key, "≤ 0.6 s", f"not measured: {e}", "—"))
    return rows


# --- parts: in-process benchmarks of single operations -----------------------------------------

def parts_rows(p, tmp):
    h = bench(p, "refresh_status_on_the_map|repaint_map_screen/1$|memory_over|mix_8_channels/SamplesPerSec:11$|"
                 "mix_loop_floor")
    rs, rp = h["refresh_status_on_the_map"], h["repaint_map_screen/1"]
    mx, mxf = h["mix_8_channels/SamplesPerSec:11"], h["mix_loop_floor"]
    mem = h["memory_over_100k_battles/iterations:1"]
    return [
        ("the 10 ms tick (`refresh_status`) on the map, in the benchmark's process", "≤ 5 µs",
         f"{rs['real_time'] / 1000:.2f} µs", "—"),
        ("composing the map screen at 1×, in the benchmark's process", "≤ 1 ms", f"{rp['real_time']:.0f} µs", "—"),
        ("mixing eight looping channels, one second of sound at 11025 Hz (on the virtual device)",
         "≤ 1.5 × the loop", f"{mx['real_time']:.1f} µs ({mx['real_time'] / mxf['real_time']:.2f} ×)",
         f"a loop in vector types over the same bytes: {mxf['real_time']:.1f} µs"),
        ("memory over 100,000 battles", "flat",
         f"{mem['rss_kb_after_1k'] / 1024:.1f} MB after 1,000, {mem['rss_kb_after_100k'] / 1024:.1f} MB after 100,000",
         "—"),
    ]


# --- the window ----------------------------------------------------------------------------------

class Display:
    """An Xvfb of its own, on a display number nobody uses (Xvfb picks it), with room for the
    window at 3×. It never resets: a desktop's server keeps running when a program closes, where
    Xvfb left as it is starts over once its last client has gone, and the next start waits."""

    def __enter__(self):
        if not (shutil.which("Xvfb") and shutil.which("xdotool")):
            raise NotMeasured("needs Xvfb and xdotool")
        r, w = os.pipe()
        self.p = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-noreset", "-screen", "0", "2560x1600x24"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(w,))
        os.close(w)
        with os.fdopen(r) as f:
            self.name = ":" + f.readline().strip()
        return self

    def __exit__(self, *_):
        self.p.terminate()
        self.p.wait()


def sound_rows(p, env):
    s = bench(p, "click_to_output|resting_device_floor", env)
    c, f = s["click_to_output/iterations:30"], s["resting_device_floor/iterations:30"]
    return [("a click's sound, from `play_sound` to its first byte taken by the output (SDL's disk driver; "
             f"the device resting before), median and 95 % of {RUNS}", "≤ 30 ms",
             f"{c['at_device_ms_median']:.2f} ms, 95 %: {c['at_device_ms_p95']:.2f} ms "
             f"(handed over after {c['to_output_ms_median']:.2f} ms)",
             f"a device resting at its lock woken by plain SDL with a block: {f['at_device_ms_median']:.2f} ms, "
             f"95 %: {f['at_device_ms_p95']:.2f} ms")]


def effects_rows(p, env):
    rows = []
    quiet = bench(p, "closing_square|hit_flash", env)
    with Busy():
        busy = bench(p, "closing_square|hit_flash", env)
    for scale in (1, 2, 3):
        if quiet[f"closing_square/{scale}/iterations:30"]["scale"] != scale:
            rows.append((f"window effects at {scale}×", "—", "not measured: the screen has no room at this zoom", "—"))
            continue
        cells = []
        for name, pauses in (("closing_square", 26), ("hit_flash", 80)):
            q, b = quiet[f"{name}/{scale}/iterations:30"], busy[f"{name}/{scale}/iterations:30"]
            cells.append(f"{name.replace('_', ' ')}: {q['wall_over_pauses_median']:.3f} ×, 95 %: "
                         f"{q['wall_over_pauses_p95']:.3f} ×; one core busy: {b['wall_over_pauses_median']:.3f} ×, "
                         f"95 %: {b['wall_over_pauses_p95']:.3f} × (drawing {q['drawing_over_pauses_median'] * 100:.0f} %"
                         f" of the pauses)")
        rows.append((f"window effects at {scale}×: closing square (26 ms of pauses), hit flash (80 ms), "
                     f"{RUNS} runs each, alone and with one core busy",
                     "≤ 1.10 × the pauses at the median, ≤ 1.25 × at 95 %, one core busy", "; ".join(cells),
                     "the pauses: 1 ×"))
    for scale in (1, 2, 3):
        c = quiet[f"closing_square/{scale}/iterations:30"]
        rows.append((f"presenting a frame at {scale}× (during the closing square, {c['frames']:.0f} frames, "
                     f"{c['changed_px_per_frame']:,.0f} changed pixels a frame), median and 95 % of {RUNS}",
                     "≤ 0.2 ms" if scale == 1 else "—",
                     f"{c['present_ms_median'] * 1000:.0f} µs, 95 %: {c['present_ms_p95'] * 1000:.0f} µs",
                     f"plain SDL presenting the same frames' changed rectangles: "
                     f"{c['present_floor_ms_median'] * 1000:.0f} µs, 95 %: {c['present_floor_ms_p95'] * 1000:.0f} µs"))
    return rows


def startup_rows(p, env, tmp):
    pack = fresh_pack(p.build, tmp)
    fenv = dict(env, LUSHERA_EXIT_AFTER_FIRST_FRAME="1")
    game = [p.game, "--data", pack, "--scale", "1"]
    warm_cache = tempfile.mkdtemp(dir=tmp)
    timed(game, dict(fenv, XDG_CACHE_HOME=warm_cache))  # the font match kept for the warm starts

    def starts():
        runs = {"cold": [], "warm": [], "floor": []}
        kinds = [("cold", game), ("warm", game), ("floor", [p.window_floor, "first-frame"])]
        for n in range(RUNS):  # interleaved, so all see the same machine
            cold = tempfile.mkdtemp(dir=tmp)
            # Each kind in turn first: a start right after the floor's exit waits some 20 ms
            # longer than one after the game's, which in a fixed order always fell on the same kind.
            for kind, cmd in kinds[n % 3:] + kinds[:n % 3]:
                cache = warm_cache if kind == "warm" else cold
                ms, rc = timed(cmd, dict(fenv, XDG_CACHE_HOME=cache))
                if rc != 0:
                    raise NotMeasured(f"{cmd[0]} ended with {rc}")
                runs[kind].append(ms)
            shutil.rmtree(cold)
        return runs

    quiet = starts()
    with Busy():
        busy = starts()
    rows = []
    for kind, what in (("cold", "cold (a cache folder of its own, so no font match kept)"),
                       ("warm", "warm (the font match kept from the start before)")):
        cells = []
        for load, runs in (("", quiet), ("one core busy: ", busy)):
            g, f = runs[kind], runs["floor"]
            cells.append(f"{load}{med(g):.0f} ms ({med(g) / med(f):.2f} ×), 95 %: {p95(g):.0f} ms")
        rows.append((f"start-up to the first frame, whole process, {what}, median and 95 % of {RUNS}",
                     "≤ 1.3 × the floor" if kind == "cold" else "—", "; ".join(cells),
                     f"a minimal SDL window: {med(quiet['floor']):.0f} ms, 95 %: {p95(quiet['floor']):.0f} ms; "
                     f"one core busy: {med(busy['floor']):.0f} ms, 95 %: {p95(busy['floor']):.0f} ms"))
    return rows


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


def peak_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        return next(int(l.split()[1]) for l in f if l.startswith("VmHWM")) / 1024


def idle(cmd, env, seconds, click=None):
    """Processor share (% of a core), wake-ups per second (all threads, SDL's audio thread) of a
    process left alone, the time from asking it to close to its end, and its peak memory."""
    p = subprocess.Popen(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(p.pid)],
                               capture_output=True, text=True, env=env, timeout=20).stdout.split()
        if not found:
            raise NotMeasured(f"no window of {os.path.basename(cmd[0])} found")
        time.sleep(1)
        if click:
            subprocess.run(["xdotool", "mousemove", "--window", found[0], str(click[0]), str(click[1]),
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
        mb = peak_mb(p.pid)
        # Closing: from the request to the process gone (the game saves on the way).
        t0 = time.monotonic()
        p.send_signal(signal.SIGTERM)
        p.wait(timeout=10)
        gone_ms = (time.monotonic() - t0) * 1000
        return ms / seconds / 10.0, per_s, gone_ms, mb
    except subprocess.TimeoutExpired:
        raise NotMeasured(f"no window of {os.path.basename(cmd[0])} came within 20 s")
    finally:
        if p.poll() is None:
            p.kill()
            p.wait()


def idle_rows(p, env, tmp):
    pack = fresh_pack(p.build, tmp)
    rows = []
    try:
        share, per_s, gone, mb = idle([p.game, "--data", pack, "--scale", "1"], env, 20, click=(280, 172))
    except NotMeasured as e:
        return [("idle with the map showing, 20 s, after a click's sound", "≤ 0.3 % of a core",
                 f"not measured: {e}", "—")]
    floor = paused = None
    try:
        floor = idle([p.window_floor, "idle"], env, 20)
        paused = idle([p.window_floor, "idle-paused"], env, 20)
    except NotMeasured as e:
        missing = f"not measured: {e}"
    if paused:
        fshare, fper_s, fgone, fmb = floor
        pshare, pper_s, _, _ = paused
        idle_floor = (f"`SDL_WaitEvent`: {fshare:.2f} %, {fper_s[0]:.0f} wake-ups / s; with a paused sound output "
                      f"open: {pshare:.2f} %, {pper_s[0]:.0f} ({pper_s[1]:.0f} of its thread)")
        gone_floor, mem_floor = f"a minimal SDL window: {fgone:.0f} ms", f"a minimal SDL window: {fmb:.1f} MB"
    else:
        idle_floor = gone_floor = mem_floor = missing
    rows.append(("idle with the map showing, 20 s, after a click's sound", "≤ 0.3 % of a core",
                 f"{share:.2f} %, {per_s[0]:.0f} wake-ups / s ({per_s[1]:.0f} of SDL's audio thread)", idle_floor))
    rows.append(("from close to the process gone (with the save)", "≤ 50 ms + the save", f"{gone:.0f} ms", gone_floor))
    rows.append(("peak memory of the window, the map showing after a click's sound", "—", f"{mb:.1f} MB", mem_floor))
    return rows


# --- the web page ---------------------------------------------------------------------------------

def web_rows(p):
    page = os.path.join(p.build, "web-page")
    # The page's files are named after their content: lushera.HASH.wasm and so on.
    files = sorted(os.listdir(page)) if os.path.isdir(page) else []
    if not any(f.endswith(".wasm") for f in files):
        raise NotMeasured("this build has no web page (configure with -DLUSHERA_WEB=ON)")
    if not (shutil.which("node") and os.path.isdir(os.path.join(ROOT, "web", "node_modules"))):
        raise NotMeasured("needs node and web/node_modules (scripts/install-deps.sh)")

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


# --- the table ------------------------------------------------------------------------------------

def measure(group, p, env, tmp):
    if group == "headless":
        return headless_rows(p, tmp)
    if group == "parts":
        return parts_rows(p, tmp)
    if group == "web":
        return web_rows(p)
    with Display() as d:
        denv = dict(env, DISPLAY=d.name)
        if group == "sound":
            return sound_rows(p, denv)
        if group == "effects":
            return effects_rows(p, denv)
        if group == "startup":
            return startup_rows(p, denv, tmp)
        return idle_rows(p, denv, tmp)


def table_rows(text):
    """The rows of the table standing in the document, as (what, goal, measured, floor)."""
    m = re.search(r"<!-- figures -->\n(.*?)<!-- /figures -->", text, flags=re.S)
    if not m:
        sys.exit(f"the markers of the table were not found in {DOC}")
    rows = []
    for line in m.group(1).splitlines()[4:]:
        cells = [c.strip() for c in line.strip().strip("|").split(" | ")]
        if len(cells) == 4:
            rows.append(tuple(cells))
    return rows


def stolen_ticks():
    """The processor time a virtual machine's host took from it so far (/proc/stat's steal, in
    USER_HZ ticks), or None where the system does not say."""
    try:
        with open("/proc/stat") as f:
            fields = f.readline().split()
        return int(fields[8]) if fields[0] == "cpu" and len(fields) > 8 else None
    except (OSError, ValueError):
        return None


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("groups", nargs="*", metavar="GROUP")
    a = ap.parse_args()
    for g in a.groups:
        if g not in GROUPS:
            ap.error(f"no group {g}; the groups: {' '.join(GROUPS)}")
    groups = a.groups or list(GROUPS)
    p = Paths(os.path.abspath(a.build))
    started = time.monotonic()
    load = os.getloadavg()[0]
    stolen_before = stolen_ticks()
    env = dict(os.environ, SDL_AUDIODRIVER=os.environ.get("SDL_AUDIODRIVER", "dummy"))
    rows = []
    with tempfile.TemporaryDirectory() as tmp:
        # The window's settings and caches in folders of this run's own, not the user's.
        for var in ("XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"):
            env[var] = tempfile.mkdtemp(dir=tmp)
        for group in groups:
            t0 = time.monotonic()
            try:
                got = measure(group, p, env, tmp)
            except (NotMeasured, subprocess.CalledProcessError, OSError) as e:
                why = e if isinstance(e, NotMeasured) else f"{type(e).__name__}: {e}"
                got = [(f"the {group} rows", "—", f"not measured: {why}", "—")]
            for row in got:
                print(" | ".join(row), flush=True)
            print(f"# {group}: {time.monotonic() - t0:.0f} s", file=sys.stderr, flush=True)
            rows += got

    text = open(DOC).read()
    if a.groups:  # the other groups' rows stay as they stand
        new = {r[0]: r for r in rows}
        kept = [new.pop(r[0], r) for r in table_rows(text)]
        rows = kept + list(new.values())
    cpu = os.cpu_count()
    took = time.monotonic() - started
    stolen_after = stolen_ticks()
    # On a virtual machine the host's other guests take their share unseen: the figures of a run
    # they took much of are slower, and their tails longer, than the program is.
    stolen = ("" if stolen_before is None or stolen_after is None else
              f", {100 * (stolen_after - stolen_before) / (os.sysconf('SC_CLK_TCK') * took * cpu):.1f} % of the "
              "processors' time taken by the virtual machine's host")
    table = [f"Measured by `python3 bench/figures.py{' ' + ' '.join(a.groups) if a.groups else ''}` on "
             f"{time.strftime('%Y-%m-%d')}, {cpu} cores, load average {load:.2f} at the start{stolen}, SDL audio "
             f"driver `{env['SDL_AUDIODRIVER']}`, in {took:.0f} s; each figure beside its floor "
             "from the same run.", "",
             "| what | goal | measured | floor in the same run |", "| --- | --- | --- | --- |"]
    table += [f"| {w} | {g} | {m} | {f} |" for w, g, m, f in rows]
    new_text = re.sub(r"(<!-- figures -->\n).*?(<!-- /figures -->)",
                      lambda m: m.group(1) + "\n".join(table) + "\n" + m.group(2), text, flags=re.S)
    open(DOC, "w").write(new_text)


if __name__ == "__main__":
    main()
