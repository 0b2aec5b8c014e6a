// How the web page comes up: from a cold browser over a 10 Mbit/s, 40 ms link the start screen
// comes with at most 1.5 MB fetched (the time is printed, not judged: it is a figure); the full
// fonts, when they arrive after it, have the text drawn anew in them, looking as it did in the
// first fonts; and a browser that cannot
// run the game (no WebAssembly, no vector instructions) or a page opened from a file says why.
//   node tests/web/loading_test.mjs PAGE_DIR SCREENSHOT_DIR
import { readdirSync, readFileSync } from "node:fs";
import { join, resolve } from "node:path";
import { coldLoad, comesTrue, control, launchBrowser, servePage, slowLink } from "./page_server.mjs";

const [pageDir, shotDir] = process.argv.slice(2);
const server = await servePage(pageDir);
let failed = false;
const fail = async (page, step, why) => {
  failed = true;
  const shot = join(shotDir, `web-loading-${step}.png`);
  if (page) await page.screenshot({ path: shot });
  console.error(`FAIL at ${step}: ${why}${page ? ` (the page is in ${shot})` : ""}`);
};

const first = await coldLoad(server.url, slowLink);
if (!first) await fail(null, "cold load", "no first frame within 30 s");
else {
  console.log(`first frame at 10 Mbit/s, 40 ms: ${first.ms} ms, ${(first.bytes / 1e6).toFixed(2)} MB fetched before it`);
  if (first.bytes > 1.5e6) await fail(null, "cold load", `${first.bytes} bytes fetched before the first frame`);
}

const browser = await launchBrowser();
try {
  // The full Gothic held back until the start screen is drawn, then given: the screen's text (in
  // that face, kana and kanji, plain and bold, several sizes) must look as it did in the cut,
  // every pixel, once the game has drawn it anew. Given the Mincho's outlines under the Gothic's
  // name instead, it must change: the game did draw it anew.
  const mincho = readdirSync(join(pageDir, "fonts")).find((f) => /^ipam\.[0-9a-f]+\.ttf$/.test(f));
  for (const [step, body, same] of [["full fonts", null, true], ["fonts redrawn", readFileSync(join(pageDir, "fonts", mincho)), false]]) {
    const page = await browser.newPage();
    await page.setBypassServiceWorker(true);  // the last page's worker would serve the fonts unseen
    await page.setRequestInterception(true);
    let held = null;
    page.on("request", (r) => { if (/\/fonts\/ipagp\.[0-9a-f]+\.ttf$/.test(r.url())) held = r; else r.continue(); });
    await page.goto(server.url);
    const screen = () => page.evaluate(() => {
      const c = Module.lusheraControl("start_box"), canvas = document.getElementById("screen"), box = canvas.getBoundingClientRect();
      const k = canvas.width / box.width;
      return Array.from(canvas.getContext("2d").getImageData((c.x - box.left) * k, (c.y - box.top) * k, c.w * k, c.h * k).data).join();
    });
    const ready = async () => held !== null && (await page.evaluate(() => Module.lusheraControl?.("Button39")?.clickable === true));
    if (!(await comesTrue(ready, 30000))) {
      await fail(page, step, "no start screen, or the full fonts were never asked for");
    } else {
      const before = await screen();
      const frames = await page.evaluate(() => Number(document.body.dataset.frames));
      await (body ? held.respond({ status: 200, contentType: "font/ttf", body }) : held.continue());
      const redrawn = () => page.evaluate((n) => document.body.dataset.fonts === "full" && Number(document.body.dataset.frames) > n, frames);
      if (!(await comesTrue(async () => (await redrawn()) && ((await screen()) === before) === same, 10000)))
        await fail(page, step, same ? "the start screen looks different in the full font" : "the start screen was not drawn anew when the full fonts came");
    }
    await page.close();
  }

  // Where the game cannot run, the page says what is missing, and the game does not start.
  const cases = [
    ["no SIMD", server.url, () => { WebAssembly.validate = () => false; }, "SIMD"],
    ["no WebAssembly", server.url, () => { delete globalThis.WebAssembly; }, "WebAssembly が使えません"],
    ["from a file", "file://" + resolve(pageDir, "index.html"), () => {}, "http"],
  ];
  for (const [step, url, stub, says] of cases) {
    const p = await browser.newPage();
    await p.evaluateOnNewDocument(stub);
    await p.goto(url);
    if (!(await comesTrue(() => p.evaluate((s) => document.getElementById("status").textContent.includes(s), says), 10000)))
      await fail(p, step, `the page does not say "${says}"`);
    await p.close();
  }
} catch (e) {
  await fail(null, "script", String(e));
} finally {
  await browser.close();
  server.close();
}
process.exit(failed ? 1 : 0);
