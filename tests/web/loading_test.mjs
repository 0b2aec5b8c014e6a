// How the web page comes up: from a cold browser over a 10 Mbit/s, 40 ms link the start screen
// comes with at most 1.5 MB fetched (the time is printed, not judged: it is a figure); the full
// fonts, when they arrive after it, have the text drawn anew in them; and a browser that cannot
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
  // The full Gothic held back until the start screen is drawn, and then the Mincho's outlines
  // come under its name: the continue button's caption must change.
  const page = await browser.newPage();
  await page.setRequestInterception(true);
  let held = null;
  page.on("request", (r) => { if (/\/fonts\/ipagp\.[0-9a-f]+\.ttf$/.test(r.url())) held = r; else r.continue(); });
  await page.goto(server.url);
  const caption = () => page.evaluate(() => {
    const c = Module.lusheraControl("Button39"), canvas = document.getElementById("screen"), box = canvas.getBoundingClientRect();
    const k = canvas.width / box.width;
    return Array.from(canvas.getContext("2d").getImageData((c.x - box.left) * k, (c.y - box.top) * k, c.w * k, c.h * k).data).join();
  });
  const ready = async () => held !== null && (await page.evaluate(() => Module.lusheraControl?.("Button39")?.clickable === true));
  if (!(await comesTrue(ready, 30000)))
    await fail(page, "full fonts", "no start screen, or the full fonts were never asked for");
  else {
    const before = await caption();
    const mincho = readdirSync(join(pageDir, "fonts")).find((f) => /^ipam\.[0-9a-f]+\.ttf$/.test(f));
    await held.respond({ status: 200, contentType: "font/ttf", body: readFileSync(join(pageDir, "fonts", mincho)) });
    if (!(await comesTrue(async () => (await caption()) !== before, 10000)))
      await fail(page, "full fonts", "the caption was not drawn anew when the full fonts came");
  }
  await page.close();

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
