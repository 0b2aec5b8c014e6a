// Serves a built page folder on a free local port and opens Debian's Chromium headless through
// puppeteer-core (from web/node_modules), for the browser test and the page's figures.
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import { extname, join } from "node:path";
import { createRequire } from "node:module";

const require = createRequire(new URL("../../web/package.json", import.meta.url));
const puppeteer = require(process.env.PUPPETEER_CORE || "puppeteer-core");

const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm", ".ttf": "font/ttf" };

export async function servePage(pageDir) {
  const server = createServer(async (req, res) => {
    try {
      const path = join(pageDir, decodeURIComponent(new URL(req.url, "http://x").pathname).replace(/\/$/, "/index.html"));
      const body = await readFile(path);
      res.writeHead(200, { "content-type": types[extname(path)] || "application/octet-stream" });
      res.end(body);
    } catch {
      res.writeHead(404).end();
    }
  });
  await new Promise((ok) => server.listen(0, "127.0.0.1", ok));
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

export function launchBrowser() {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--window-size=1200,800"],
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
    Module.lusheraAudio.onset = 0;
    addEventListener("mousedown", (e) => { Module.lusheraPressedAt = e.timeStamp; }, { capture: true, once: true });
  });
  const c = await control(page, name);
  await page.mouse.click(c.x + c.w / 2, c.y + c.h / 2);
  const end = Date.now() + 5000;
  while (Date.now() < end) {
    const onset = await page.evaluate(() => Module.lusheraAudio.onset);
    if (onset) return onset - (await page.evaluate(() => Module.lusheraPressedAt));
    await new Promise((ok) => setTimeout(ok, 20));
  }
  return null;
}
