// The web page in a real headless Chromium: start -> continue -> the map -> a place -> a battle ->
// back to the map, the message window read from the canvas at each step (teal text on white),
// then a reload that must find the same hero. On a mismatch the page is saved as a screenshot.
// The sound output rests when nothing plays and a click's sound reaches it; the item list takes
// the arrow keys and the use button shows its tip. Then a save from the desktop's data pack is
// imported and found; last, with the server gone, a reload plays on.
//   node tests/web/browser_test.mjs PAGE_DIR SCREENSHOT_DIR DATA_DIR
import { join } from "node:path";
import { clickToSound, comesTrue, control as controlOn, launchBrowser, servePage } from "./page_server.mjs";

const [pageDir, shotDir, dataDir] = process.argv.slice(2);
const server = await servePage(pageDir);
const url = server.url;
const browser = await launchBrowser();
const page = await browser.newPage();
let failed = false;

async function fail(step, why) {
  failed = true;
  const shot = join(shotDir, `web-${step}.png`);
  await page.screenshot({ path: shot });
  console.error(`FAIL at ${step}: ${why} (the page is in ${shot})`);
}

// The test (run in the page) comes true within ms, or the step fails.
async function until(step, what, test, ms = 10000) {
  if (await comesTrue(() => page.evaluate(test), ms)) return true;
  await fail(step, `no ${what} within ${ms} ms`);
  return false;
}

const control = (name) => controlOn(page, name);

// Clicks a control with the mouse, or taps it with a finger.
async function click(step, name, by = "mouse") {
  if (!(await until(step, `clickable ${name}`, `Module.lusheraControl && Module.lusheraControl(${JSON.stringify(name)})?.clickable`)))
    return false;
  const c = await control(name);
  if (by === "touch") await page.touchscreen.tap(c.x + c.w / 2, c.y + c.h / 2);
  else await page.mouse.click(c.x + c.w / 2, c.y + c.h / 2);
  return true;
}

// The message window's pixels: white with teal text, once the typewriter has written something.
async function message_window_shows_text(step) {
  const ok = await until(step, "teal text on white in the message window", () => {
    const c = Module.lusheraControl("moji_l");
    const canvas = document.getElementById("screen"), box = canvas.getBoundingClientRect();
    const k = canvas.width / box.width;
    const px = canvas.getContext("2d").getImageData((c.x - box.left) * k, (c.y - box.top) * k, c.w * k, c.h * k).data;
    let white = 0, teal = 0;
    for (let i = 0; i < px.length; i += 4) {
      if (px[i] === 255 && px[i + 1] === 255 && px[i + 2] === 255) ++white;
      else if (px[i] === 0 && px[i + 1] === 128 && px[i + 2] === 128) ++teal;
    }
    const all = px.length / 4;
    return white > all / 2 && teal > 20;
  });
  return ok;
}

// Pixels of one colour in a control's rectangle moved down by `below` window units.
const colourIn = (name, rgb, below = 0) =>
  page.evaluate(
    (name, rgb, below) => {
      const c = Module.lusheraControl(name);
      const canvas = document.getElementById("screen"), box = canvas.getBoundingClientRect();
      const k = canvas.width / box.width, unit = Module.lusheraZoom;
      const px = canvas.getContext("2d").getImageData((c.x - box.left) * k, (c.y - box.top) * k + below * unit, c.w * k, c.h * k).data;
      let n = 0;
      for (let i = 0; i < px.length; i += 4) n += px[i] === rgb[0] && px[i + 1] === rgb[1] && px[i + 2] === rgb[2];
      return n;
    },
    name, rgb, below);

async function untilCount(step, what, count) {
  if (await comesTrue(async () => (await count()) > 20, 5000)) return true;
  await fail(step, `no ${what} within 5000 ms`);
  return false;
}

const heroPixels = () =>
  page.evaluate(() => {
    const c = Module.lusheraControl("state_l");
    const canvas = document.getElementById("screen"), box = canvas.getBoundingClientRect();
    const k = canvas.width / box.width;
    return Array.from(canvas.getContext("2d").getImageData((c.x - box.left) * k, (c.y - box.top) * k, c.w * k, 28 * k).data).join(",");
  });

try {
  await page.setViewport({ width: 1200, height: 800, deviceScaleFactor: 2, hasTouch: true });
  const started = Date.now();
  await page.goto(url);
  if (await until("load", "first frame", () => Number(document.body.dataset.frames) > 0, 30000))
    console.log(`first frame ${Date.now() - started} ms after the page was asked for`);
  // The picture takes the largest whole zoom that fits the page in the screen's own pixels (two
  // to a CSS pixel here), also when the page changes size, one frame pixel to a screen pixel.
  for (const [width, height, frame] of [[700, 500, 1102], [1200, 800, 2204]]) {
    await page.setViewport({ width, height, deviceScaleFactor: 2, hasTouch: true });
    await until(`zoom in ${width} x ${height}`, `picture ${frame} pixels wide`,
      `document.getElementById("screen").width === ${frame} && document.getElementById("screen").getBoundingClientRect().width === ${frame / 2}`);
  }
  // start -> continue: the main screen with the map.
  if (await click("start", "Button39")) await message_window_shows_text("continue");
  // the map -> a place: the first hill.
  if (await click("map", "map2")) await message_window_shows_text("place");
  // a step that meets an opponent (level, name, not made up, Hp, Mp, attribute, spirit; the hero
  // first; no figure), as the driver's battle scenario rigs it.
  await page.evaluate(() => Module.lusheraRig([0, 4, 5, 0, 0, 0, 0, 0, 1, 1]));
  if (await click("step", "Button27")) {
    await until("battle", "the battle panel", `Module.lusheraControl("Button50")?.clickable`);
    await message_window_shows_text("battle");
  }
  // flee (it works), then walk back out to the map.
  await page.evaluate(() => Module.lusheraRig([1]));
  if (await click("flee", "Button50")) await message_window_shows_text("fled");
  // さがる walks back a kilometre a click, and out of the place at its start.
  for (let i = 0; i < 40 && !(await control("map2"))?.clickable; ++i) {
    if ((await control("Button16"))?.clickable) {
      const c = await control("Button16");
      await page.mouse.click(c.x + c.w / 2, c.y + c.h / 2);
    }
    await new Promise((ok) => setTimeout(ok, 300));
  }
  if (await until("map again", "the map", `Module.lusheraControl("map2")?.clickable`))
    await message_window_shows_text("map again");
  // An item bought at the tool shop is saved without a change of screen: a page may be closed
  // at any moment.
  const stored = () => page.evaluate(() => Array.from(FS.readFile("/save/my.dat")).join(","));
  for (const name of ["Button14", "Button21"]) await click(`shop ${name}`, name);
  const before = await stored();
  if (await click("buy", "Button32"))
    await until("saved purchase", "save holding the purchase", `Array.from(FS.readFile("/save/my.dat")).join(",") !== ${JSON.stringify(before)}`);
  // Out of the shop by finger: a tap is a click.
  for (const name of ["Button31", "Button15"]) await click(`shop ${name}`, name, "touch");
  // With nothing left to play the sound output rests, and the next click's sound wakes it.
  await until("rest", "sound output at rest",
    () => Module.lusheraAudio.started && Module.lusheraAudio.context?.state === "suspended", 5000);
  const heard = await clickToSound(page, "map2");
  if (heard === null || heard <= 0) await fail("sound", "the place's sound never reached the output");
  else console.log(`a click's sound at the output ${heard.toFixed(1)} ms after the press`);
  const hero = await heroPixels();
  await until("saved", "a save", () => Number(document.body.dataset.saves) > 0);
  // The same hero after a reload: the status panel's name and experience lines as they were.
  await page.reload();
  await until("reload", "first frame", () => Number(document.body.dataset.frames) > 0, 30000);
  // This time by the keyboard: Tab until the continue button has the focus, then Enter.
  let focused = false;
  if (await until("restart", "clickable Button39", `Module.lusheraControl("Button39")?.clickable`)) {
    // Each press is waited for: the focus moves on (the game publishes it when it waits).
    const focusedOne = () =>
      page.evaluate(() => Object.keys(Module.lusheraControls).find((n) => Module.lusheraControls[n][5] === 1) ?? "");
    for (let i = 0; i < 40 && !focused; ++i) {
      const before = await focusedOne();
      await page.keyboard.press("Tab");
      await comesTrue(async () => (await focusedOne()) !== before, 5000);
      focused = (await control("Button39"))?.focused === true;
    }
    if (!focused) await fail("restart", "Tab never brought the focus to Button39");
  }
  if (focused) {
    await page.keyboard.press("Enter");
    await message_window_shows_text("continued again");
    if ((await heroPixels()) !== hero) await fail("same hero", "the hero's line differs after the reload");
    // The item list holds what was bought before the reload and takes the move keys, and a
    // resting mouse brings up the use button's tip.
    if (await click("items", "BitBtn1")) {
      await until("items", "the item list", `Module.lusheraControl("item_list")?.clickable`);
      await page.keyboard.press("ArrowDown");
      await untilCount("list keys", "entry selected by the arrow key", () => colourIn("item_list", [0, 0, 128]));
      const use = await control("item_use");
      await page.mouse.move(use.x + 10, use.y + 10);
      await untilCount("tip", "tip below the use button", () => colourIn("item_use", [255, 255, 225], 20));
    }
  }
  // The desktop's fresh save (no experience yet) imported: the page starts again on it.
  const input = await page.$("#import-files");
  await input.uploadFile(join(dataDir, "dat", "my.dat"), join(dataDir, "dat", "item.dat"));
  await until("import", "the page started again", () => !Module.lusheraControls, 10000);
  await until("import", "first frame", () => Number(document.body.dataset.frames) > 0, 30000);
  if (await click("imported", "Button39")) {
    await message_window_shows_text("imported");
    if ((await heroPixels()) === hero) await fail("imported", "the imported save shows the page's old hero");
  }
  // Offline: once the page is in its service worker's hands the server goes, and a reload still
  // brings the start screen, where the game plays on.
  if (await until("offline", "the page kept for offline", () => document.body.dataset.offline === "ready", 30000)) {
    server.close();
    await page.reload();
    if ((await until("offline", "first frame", () => Number(document.body.dataset.frames) > 0, 30000)) &&
        (await click("offline", "Button39")))
      await message_window_shows_text("offline");
  }
  await page.screenshot({ path: join(shotDir, "web-last.png") });
} catch (e) {
  await fail("script", String(e));
} finally {
  await browser.close();
  server.close();
}
process.exit(failed ? 1 : 0);
