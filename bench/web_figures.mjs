// The web page's figures, each beside its floor: the first frame and the bytes before it, over a
// 10 Mbit/s, 40 ms link and on the loopback, each load from a cold browser profile (a page that
// fetches a wasm of the game's size through the same server, compiles and starts it, and draws
// one canvas); idle on the map (that canvas left still), a click's sound (a page that plays a
// block on a context kept running) and the effects' frame pauses against their design length.
// Prints one JSON object; bench/figures.py publishes it.
//   node bench/web_figures.mjs PAGE_DIR
import { copyFile, mkdtemp, writeFile, rm } from "node:fs/promises";
import { readFileSync, readdirSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { clickToSound, coldLoad, control, launchBrowser, servePage, slowLink } from "../tests/web/page_server.mjs";

const floorPage = `<!doctype html><canvas id=screen width=551 height=360></canvas><script>
const ctx = new AudioContext();
addEventListener("mousedown", (e) => {
  Module.lusheraPressedAt = e.timeStamp;
  ctx.resume().then(() => {
    const b = ctx.createBuffer(1, 110, 11025), s = ctx.createBufferSource();
    s.buffer = b; s.connect(ctx.destination);
    const start = ctx.currentTime; s.start(start);
    Module.lusheraAudio.onsetAt = [start, performance.now()];
  });
}, true);
var Module = { lusheraAudio: { context: ctx, onsetAt: null }, lusheraZoom: 1, lusheraSave: { storedAt: 0 },
  lusheraControl: () => ({ x: 10, y: 10, w: 100, h: 100, clickable: true }) };
// The save's floor: a pair of the game's size put in IndexedDB in one transaction at a press.
const store = new Promise((ok) => {
  const open = indexedDB.open("floor", 1);
  open.onupgradeneeded = () => open.result.createObjectStore("files");
  open.onsuccess = () => ok(open.result);
});
addEventListener("mousedown", async () => {
  const db = await store, t = db.transaction("files", "readwrite");
  t.objectStore("files").put(new Uint8Array(2817), "my.dat");
  t.objectStore("files").put(new Uint8Array(18201), "item.dat");
  t.oncomplete = () => { Module.lusheraSave.storedAt = performance.now(); };
}, true);
document.getElementById("screen").getContext("2d").fillRect(0, 0, 551, 360);
document.body.dataset.frames = "1";
</script>`;

// The first frame's floor: the game's wasm under another name, compiled as it streams in and
// started on imports that do nothing, then one canvas drawn.
const startFloorPage = `<!doctype html><canvas id=screen width=551 height=360></canvas><script>
WebAssembly.compileStreaming(fetch("floor.wasm")).then((module) => {
  const env = {};
  for (const i of WebAssembly.Module.imports(module)) (env[i.module] ||= {})[i.name] = () => 0;
  return WebAssembly.instantiate(module, env);
}).then(() => {
  document.getElementById("screen").getContext("2d").fillRect(0, 0, 551, 360);
  document.body.dataset.frames = "1";
});
</script>`;

const wait = (ms) => new Promise((ok) => setTimeout(ok, ms));

// Presses a control and says when what it changed was stored in IndexedDB, in ms after the
// press (null when nothing was stored within five seconds).
async function clickToStored(page, name) {
  await page.evaluate(() => {
    Module.lusheraSave.storedAt = 0;
    addEventListener("mousedown", (e) => { Module.lusheraPressedAt = e.timeStamp; }, { capture: true, once: true });
  });
  const c = await control(page, name);
  await page.mouse.click(c.x + c.w / 2, c.y + c.h / 2);
  const stored = await page.waitForFunction(() => Module.lusheraSave.storedAt > 0, { timeout: 5000 }).catch(() => null);
  if (!stored) return null;
  return page.evaluate(() => Module.lusheraSave.storedAt - Module.lusheraPressedAt);
}
const median = (xs) => xs.sort((a, b) => a - b)[Math.floor(xs.length / 2)];
// The 95th percentile by nearest rank: of a few loads, about the slowest.
const p95 = (xs) => xs.sort((a, b) => a - b)[Math.ceil(xs.length * 0.95) - 1];
const loads = 7;

// First frames and bytes before them, median and 95th percentile, the game's loads and the
// floor's interleaved so both see the same machine.
async function coldLoads(gameUrl, floorUrl, link) {
  const runs = { game: [], floor: [] };
  for (let i = 0; i < loads; ++i) {
    for (const [name, url] of [["game", gameUrl], ["floor", floorUrl]]) {
      const load = await coldLoad(url, link);
      if (!load) throw new Error(`no first frame from ${url}`);
      runs[name].push(load);
    }
  }
  const sum = (xs) => ({ ms: median(xs.map((x) => x.ms)), ms95: p95(xs.map((x) => x.ms)),
    bytes: median(xs.map((x) => x.bytes)), bytes95: p95(xs.map((x) => x.bytes)) });
  return { game: sum(runs.game), floor: sum(runs.floor) };
}

// Processor time (ms) of the browser and all its processes.
function browserCpuMs(browser) {
  const kids = {};
  for (const p of readdirSync("/proc").filter((d) => /^\d+$/.test(d))) {
    try {
      const s = readFileSync(`/proc/${p}/stat`, "utf8");
      (kids[s.slice(s.lastIndexOf(")") + 2).split(" ")[1]] ||= []).push(p);
    } catch {}
  }
  let ticks = 0;
  for (const todo = [String(browser.process().pid)]; todo.length; ) {
    const p = todo.pop();
    todo.push(...(kids[p] || []));
    try {
      const f = readFileSync(`/proc/${p}/stat`, "utf8");
      const fields = f.slice(f.lastIndexOf(")") + 2).split(" ");
      ticks += Number(fields[11]) + Number(fields[12]);
    } catch {}
  }
  return ticks * 10;
}

// Share of a core over 10 s with only this page open: the whole browser, and the page's own thread.
async function idleShare(browser, page) {
  const m0 = await page.metrics(), c0 = browserCpuMs(browser), t0 = Date.now();
  await wait(10000);
  const m1 = await page.metrics(), c1 = browserCpuMs(browser), t1 = Date.now();
  return { browser: ((c1 - c0) / (t1 - t0)) * 100, page: ((m1.TaskDuration - m0.TaskDuration) / (m1.Timestamp - m0.Timestamp)) * 100 };
}

const pageDir = process.argv[2];
const floorDir = await mkdtemp(join(tmpdir(), "page-floor-"));
await writeFile(join(floorDir, "index.html"), floorPage);
await writeFile(join(floorDir, "start.html"), startFloorPage);
await copyFile(join(pageDir, readdirSync(pageDir).find((f) => f.endsWith(".wasm"))), join(floorDir, "floor.wasm"));
const game = await servePage(pageDir), floor = await servePage(floorDir);
const out = { loads };
let browser = null;
try {
  out.first_frame_slow = await coldLoads(game.url, floor.url + "start.html", slowLink);
  out.first_frame_loopback = await coldLoads(game.url, floor.url + "start.html", null);
  browser = await launchBrowser();

  // Measured once the page has all it fetches (the full fonts, the service worker's copy).
  const page = await browser.newPage();
  await page.goto(game.url);
  await page.waitForFunction(() => document.body.dataset.offline === "ready", { timeout: 60000 });
  await page.waitForFunction(() => Module.lusheraControl && Module.lusheraControl("Button39")?.clickable, { timeout: 30000 });
  const c = await control(page, "Button39");
  await page.mouse.click(c.x + c.w / 2, c.y + c.h / 2);
  await page.waitForFunction(() => Module.lusheraControl("map2")?.clickable, { timeout: 10000 });
  await wait(2000);
  out.idle = await idleShare(browser, page);
  // The about panel's open and close buttons both click; each press comes to a rested output.
  const heard = [];
  for (let i = 0; i < 8; ++i) {
    heard.push(await clickToSound(page, i % 2 ? "BitBtn2" : "BitBtn3"));
    await wait(600);
  }
  out.click_to_sound_ms = median(heard);
  // The pauses of handlers with effects: into the first place and back out, three times.
  await page.evaluate(() => { Module.lusheraPauses = { asked: 0, taken: 0 }; });
  for (const name of ["map2", "Button16", "map2", "Button16", "map2", "Button16"]) {
    const ready = await page.waitForFunction((n) => Module.lusheraControl(n)?.clickable, { timeout: 10000 }, name).catch(() => null);
    if (!ready) break;
    const c = await control(page, name);
    await page.mouse.click(c.x + c.w / 2, c.y + c.h / 2);
    await wait(1500);
  }
  out.pauses = await page.evaluate(() => Module.lusheraPauses);
  // A change stored: the tool shop's four goods (what the fresh hero's money buys), each from the
  // press to the commit of the save that holds it.
  const storedMs = [];
  const open = async (...names) => {
    for (const name of names) {
      await page.waitForFunction((n) => Module.lusheraControl(n)?.clickable, { timeout: 10000 }, name);
      const c = await control(page, name);
      await page.mouse.click(c.x + c.w / 2, c.y + c.h / 2);
    }
  };
  await page.evaluate(() => { Module.lusheraSave.storedAt = 0; });
  await open("Button14", "Button21");
  for (const good of ["Button32", "Button35", "Button33", "Button34"]) {
    await page.waitForFunction((n) => Module.lusheraControl(n)?.clickable, { timeout: 10000 }, good);
    storedMs.push(await clickToStored(page, good));
    await wait(1500);
  }
  out.click_to_stored_ms = median(storedMs.filter((v) => v !== null));
  out.click_to_stored_p95_ms = p95(storedMs.filter((v) => v !== null));
  out.click_to_stored_missed = storedMs.filter((v) => v === null).length;
  out.output_latency_ms = await page.evaluate(() => Module.lusheraAudio.context.outputLatency * 1000);
  // The floor in a browser of its own: the game's processes ending would count against it.
  await browser.close();
  browser = await launchBrowser();
  const still = await browser.newPage();
  await still.goto(floor.url);
  await wait(2000);
  out.idle_floor = await idleShare(browser, still);
  await clickToSound(still, "screen");  // the first click starts the context; it then keeps running
  const floorHeard = [];
  for (let i = 0; i < 7; ++i) {
    floorHeard.push(await clickToSound(still, "screen"));
    await wait(600);
  }
  out.click_to_sound_floor_ms = median(floorHeard);
  const floorStored = [];
  for (let i = 0; i < 8; ++i) {
    floorStored.push(await clickToStored(still, "screen"));
    await wait(300);
  }
  out.click_to_stored_floor_ms = median(floorStored.filter((v) => v !== null));
  await still.close();
} finally {
  if (browser) await browser.close();
  game.close();
  floor.close();
  await rm(floorDir, { recursive: true });
}
console.log(JSON.stringify(out));
