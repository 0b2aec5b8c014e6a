// Serves a built page folder on a free local port and opens Debian's Chromium headless through
// puppeteer-core (from web/node_modules), for the browser test and the page's figures.
import { createServer } from "node:http";
import { readFile, stat } from "node:fs/promises";
import { extname, join } from "node:path";
import { gzipSync } from "node:zlib";
import { createRequire } from "node:module";

const require = createRequire(new URL("../../web/package.json", import.meta.url));
const puppeteer = require(process.env.PUPPETEER_CORE || "puppeteer-core");

const types = {
  ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm", ".ttf": "font/ttf",
  ".woff2": "font/woff2", ".png": "image/png", ".ico": "image/x-icon", ".webmanifest": "application/manifest+json",
};
// What a static host sends packed: everything but what is packed already.
const packed = new Set([".woff2", ".png"]);

// As a static host serves: gzip when the browser takes it, and the file's time and tag, so the
// browser's cache asks again cheaply (304).
export async function servePage(pageDir) {
  const gzipped = new Map();  // path -> packed body
  const server = createServer(async (req, res) => {
    try {
      const path = join(pageDir, decodeURIComponent(new URL(req.url, "http://x").pathname).replace(/\/$/, "/index.html"));
      const info = await stat(path);
      const tag = `"${info.size.toString(16)}-${info.mtimeMs.toString(16)}"`;
      const headers = { "content-type": types[extname(path)] || "application/octet-stream", etag: tag,
        "last-modified": info.mtime.toUTCString(), vary: "accept-encoding" };
      if (req.headers["if-none-match"] === tag) {
        res.writeHead(304, headers).end();
        return;
      }
      let body = await readFile(path);
      if (!packed.has(extname(path)) && /\bgzip\b/.test(req.headers["accept-encoding"] || "")) {
        if (!gzipped.has(tag + path)) gzipped.set(tag + path, gzipSync(body));
        body = gzipped.get(tag + path);
        headers["content-encoding"] = "gzip";
      }
      res.writeHead(200, headers);
      res.end(body);
    } catch {
      res.writeHead(404).end();
    }
  });
  await new Promise((ok) => server.listen(0, "127.0.0.1", ok));
  // Closing drops the connections kept open too: the page is offline at once.
  const close = () => { server.close(); server.closeAllConnections(); };
  return { url: `http://127.0.0.1:${server.address().port}/`, close };
}

export function launchBrowser() {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--window-size=1200,800", "--disable-background-networking",
      "--disable-component-update", "--no-first-run", "--disable-sync"],
    defaultViewport: { width: 1200, height: 800, hasTouch: true },
  });
}

// A control of the game's window on the page (CSS pixels), or null before the game published it.
export const control = (page, name) => page.evaluate((n) => Module.lusheraControl && Module.lusheraControl(n), name);

// Clicks a control and says when the first block of the sound it starts reaches the output, in
// milliseconds after the press (null when no new sound came within five seconds: a loaded
// machine may take its time).
export async function clickToSound(page, name) {
  await page.evaluate(() => {
    Module.lusheraAudio.onsetAt = null;
    addEventListener("mousedown", (e) => { Module.lusheraPressedAt = e.timeStamp; }, { capture: true, once: true });
  });
  const c = await control(page, name);
  await page.mouse.click(c.x + c.w / 2, c.y + c.h / 2);
  const end = Date.now() + 5000;
  while (Date.now() < end) {
    // When the block reaches the output, in the page's time (as events' timeStamp counts it), from
    // the output's stamp. A stamp from before the block was written may be the last one the output
    // gave before it rested, its clock stood still since: the block would come seconds early.
    const onset = await page.evaluate(() => {
      const a = Module.lusheraAudio;
      if (!a.onsetAt) return 0;
      const [start, written] = a.onsetAt;
      const t = a.context.getOutputTimestamp();
      return t.performanceTime < written ? 0 : t.performanceTime + (start - t.contextTime) * 1000;
    });
    if (onset) return onset - (await page.evaluate(() => Module.lusheraPressedAt));
    await new Promise((ok) => setTimeout(ok, 20));
  }
  return null;
}

// Whether holds() (run here) comes true within ms.
export async function comesTrue(holds, ms) {
  const end = Date.now() + ms;
  while (Date.now() < end) {
    if (await holds().catch(() => false)) return true;
    await new Promise((ok) => setTimeout(ok, 50));
  }
  return false;
}

// The link the page's figures are measured on: 10 Mbit/s each way, 40 ms there and back.
export const slowLink = { offline: false, latency: 40, downloadThroughput: 10e6 / 8, uploadThroughput: 10e6 / 8 };

// Loads the page in a browser of its own (a cold profile: nothing cached, no service worker),
// over `link` when given, and says when its first frame came (ms after it was asked for) and
// how many bytes came over the network before it, or null when none came within 30 s.
export async function coldLoad(url, link = null) {
  const browser = await launchBrowser();
  try {
    const page = await browser.newPage();
    const cdp = await page.createCDPSession();
    await cdp.send("Network.enable");
    if (link) await cdp.send("Network.emulateNetworkConditions", link);
    const bytes = new Map();  // request -> bytes so far (all of them, headers too, once it is done)
    cdp.on("Network.dataReceived", (e) => bytes.set(e.requestId, (bytes.get(e.requestId) || 0) + e.encodedDataLength));
    cdp.on("Network.loadingFinished", (e) => bytes.set(e.requestId, e.encodedDataLength));
    let shown = null;
    await page.exposeFunction("lusheraFirstFrameSeen", () => {
      shown ||= { ms: Date.now() - started, bytes: [...bytes.values()].reduce((a, b) => a + b, 0) };
    });
    await page.evaluateOnNewDocument(() => {
      addEventListener("DOMContentLoaded", () => new MutationObserver((_, watch) => {
        if (document.body.dataset.frames) { watch.disconnect(); lusheraFirstFrameSeen(); }
      }).observe(document.body, { attributes: true, attributeFilter: ["data-frames"] }));
    });
    const started = Date.now();
    await page.goto(url);
    await comesTrue(async () => shown !== null, 30000);
    return shown;
  } finally {
    await browser.close();
  }
}
