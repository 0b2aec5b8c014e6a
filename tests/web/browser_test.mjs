// The web page in a real headless Chromium: start -> continue -> the map -> a place -> a battle ->
// back to the map, the message window read from the canvas at each step (teal text on white),
// then a reload that must find the same hero. On a mismatch the page is saved as a screenshot.
// The sound output rests when nothing plays and a click's sound reaches it; the item list takes
// the arrow keys and the use button shows its tip. Then a save from the desktop's data pack is
// imported and found; a game controller moves the focus, presses and leaves a panel; last, with
// the server gone, a reload plays on.
//   node tests/web/browser_test.mjs PAGE_DIR SCREENSHOT_DIR DATA_DIR
import { mkdtempSync, writeFileSync, copyFileSync } from "node:fs";
import { tmpdir } from "node:os";
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

// The control with the game's focus, "" for none.
const focusedControl = () =>
  page.evaluate(() => Object.keys(Module.lusheraControls).find((n) => Module.lusheraControls[n][5] === 1) ?? "");
// A control's caption as the game published it.
const caption = (name) => page.evaluate((n) => Module.lusheraControls?.[n]?.[7] ?? null, name);
const noticeText = () => page.evaluate(() => (document.getElementById("notice").hidden ? "" : document.getElementById("notice-text").textContent));
const storedSave = () => page.evaluate(() => Array.from(FS.readFile("/save/my.dat")).join(","));

// Where the page puts the frame and its own bar in the visible area: the largest whole zoom (or a
// smaller one where even 1 does not fit), the frame wholly inside, the bar's buttons off it.
async function checkLayouts() {
  // A browser of its own: a change to a phone's viewport starts a page again, and a second page in
  // the played page's browser would hide it (its timers held back, its sound's waking late).
  const layouts = await launchBrowser();
  const page = await layouts.newPage();
  await page.goto(url);
  const until = (step, what, test) => comesTrue(() => page.evaluate(test), 10000).then(async (ok) => ok || (await fail(step, `no ${what}`), false));
  const cases = [
    // CSS width, height, screen pixels a CSS pixel, the frame's zoom, the bar beside it, the hint to turn
    [412, 915, 2.625, 1, false, true],   // a 1080-pixel-wide phone, upright
    [915, 412, 2.625, 3, true, false],   // the same on its side
    [360, 800, 3, 1, false, true],
    [844, 390, 3, 3, true, false],       // a phone on its side: the bar beside the frame
    [375, 667, 2, 1, false, true],       // a small phone, upright
    [540, 360, 1, 1, true, false],       // a window smaller than the frame: shrunk, never cut
    [1366, 768, 1, 2, false, false],
    [1920, 1080, 2, 6, true, false],
    [3840, 2160, 2, 8, false, false],    // a large screen: the game's largest zoom
  ];
  for (const [width, height, dpr, zoom, side, turn] of cases) {
    const step = `layout ${width}x${height}@${dpr}`;
    await page.setViewport({ width, height, deviceScaleFactor: dpr, isMobile: true, hasTouch: true });
    if (!(await until(step, `frame at zoom ${zoom}`, `document.getElementById("screen").width === ${551 * zoom}`))) continue;
    const measure = () => page.evaluate(() => {
      const r = (id) => document.getElementById(id).getBoundingClientRect();
      const frame = r("screen");
      const buttons = [...document.querySelectorAll("#bar button")].filter((b) => !b.hidden).map((b) => b.getBoundingClientRect());
      const view = visualViewport;
      return {
        inside: frame.left >= -0.01 && frame.top >= -0.01 && frame.right <= view.width + 0.01 && frame.bottom <= view.height + 0.01,
        covered: buttons.some((b) => b.left < frame.right && b.right > frame.left && b.top < frame.bottom && b.bottom > frame.top),
        offScreen: buttons.some((b) => b.left < 0 || b.top < 0 || b.right > view.width + 0.01 || b.bottom > view.height + 0.01),
        side: document.getElementById("bar").classList.contains("side"),
        turn: !document.getElementById("turn").hidden,
        frame: [frame.left, frame.top, frame.width, frame.height].map((v) => v.toFixed(1)).join(" "),
      };
    });
    // The page lays itself out again on the browser's resize; the last one decides.
    let got = await measure();
    const right = (g) => g.inside && !g.covered && !g.offScreen && g.side === side && g.turn === turn;
    if (!right(got)) await comesTrue(async () => right((got = await measure())), 3000);
    if (!got.inside) await fail(step, `the frame (${got.frame}) is not inside the visible area`);
    if (got.covered) await fail(step, "a button of the page's bar lies over the frame");
    if (got.offScreen) await fail(step, "a button of the page's bar is off the visible area");
    if (got.side !== side) await fail(step, `the bar should be ${side ? "beside" : "below"} the frame`);
    if (got.turn !== turn) await fail(step, `the hint to turn the phone should be ${turn ? "shown" : "hidden"}`);
    if (!right(got)) await page.screenshot({ path: join(shotDir, `web-${step}.png`) });
  }
  await layouts.close();
}

// Chooses files in the import menu's file input.
async function importFiles(...paths) {
  const input = await page.$("#import-files");
  await input.uploadFile(...paths);
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
  await checkLayouts();
  // start -> continue: the main screen with the map.
  if (await click("start", "Button39")) await message_window_shows_text("continue");
  // the map -> a place: the first hill.
  if (await click("map", "map2")) await message_window_shows_text("place");
  // The message is also in the live region a screen reader reads out.
  await until("live region", "the message in the live region", () => document.getElementById("live").textContent.length > 0);
  // a step that meets an opponent (level, name, not made up, Hp, Mp, attribute, spirit; the hero
  // first; no figure), as the driver's battle scenario rigs it.
  await page.evaluate(() => Module.lusheraRig([0, 4, 5, 0, 0, 0, 0, 0, 1, 1]));
  if (await click("step", "Button27")) {
    await until("battle", "the battle panel", `Module.lusheraControl("Button50")?.clickable`);
    await message_window_shows_text("battle");
  }
  // A finger held on a technique shows what it does and uses nothing; a tap opens the group.
  if (await click("group by tap", "w1_b", "touch")) {
    await until("group by tap", "the technique panel", `Module.lusheraControl("w1")?.clickable`);
    const said = await caption("moji_l");
    const w1 = await control("w1");
    await page.touchscreen.touchStart(w1.x + w1.w / 2, w1.y + w1.h / 2);
    await until("held technique", "the technique's description", `Module.lusheraControls.w_about[7].length > 0`);
    await new Promise((ok) => setTimeout(ok, 700));  // longer than a tap
    const focusedBefore = await focusedControl();
    await page.touchscreen.touchEnd();
    // A key after the lifted finger: once the focus it moves is published, the lift was taken.
    await page.keyboard.press("Tab");
    await until("held technique", "the focus after the lift",
      `(Object.keys(Module.lusheraControls).find((n) => Module.lusheraControls[n][5] === 1) ?? "") !== ${JSON.stringify(focusedBefore)}`);
    if ((await caption("moji_l")) !== said) await fail("held technique", "a held finger used the technique");
    if (!(await control("w1"))?.clickable) await fail("held technique", "the technique panel closed under a held finger");
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
  for (const name of ["Button14", "Button21"]) await click(`shop ${name}`, name);
  const before = await storedSave();
  if (await click("buy", "Button32"))
    await until("saved purchase", "save holding the purchase", `Array.from(FS.readFile("/save/my.dat")).join(",") !== ${JSON.stringify(before)}`);
  // A save the browser's storage refuses is said on the page, and the next one that goes through
  // takes the notice away.
  await page.evaluate(() => {
    window.realPut = IDBObjectStore.prototype.put;
    IDBObjectStore.prototype.put = function () { throw new DOMException("full", "QuotaExceededError"); };
  });
  if (await click("refused save", "Button35"))
    await until("refused save", "a notice of the refused save", () => document.getElementById("notice-text").textContent.includes("QuotaExceededError") && !document.getElementById("notice").hidden);
  await page.evaluate(() => { IDBObjectStore.prototype.put = window.realPut; });
  if (await click("save again", "Button33"))
    await until("save again", "the notice gone", () => document.getElementById("notice").hidden);
  // Out of the shop by finger: a tap is a click.
  for (const name of ["Button31", "Button15"]) await click(`shop ${name}`, name, "touch");
  // With nothing left to play the sound output rests, and the next click's sound wakes it.
  await until("rest", "sound output at rest",
    () => Module.lusheraAudio.started && Module.lusheraAudio.context?.state === "suspended", 5000);
  const heard = await clickToSound(page, "map2");
  if (heard === null || heard <= 0) {
    const a = await page.evaluate(() => `output ${Module.lusheraAudio.context.state}, ${Module.lusheraAudio.blocks.length} blocks out, ${document.body.dataset.frames} frames put`);
    await fail("sound", `the place's sound never reached the output (${a})`);
  }
  else console.log(`a click's sound at the output ${heard.toFixed(1)} ms after the press`);
  const hero = await heroPixels();
  await until("saved", "a save", () => Number(document.body.dataset.saves) > 0);
  // The same hero after a reload: the status panel's name and experience lines as they were.
  await page.reload();
  await until("reload", "first frame", () => Number(document.body.dataset.frames) > 0, 30000);
  // This time by the keyboard: Tab until the continue button has the focus, then the space bar.
  let focused = false;
  if (await until("restart", "clickable Button39", `Module.lusheraControl("Button39")?.clickable`)) {
    // Each press is waited for: the focus moves on (the game publishes it when it waits).
    for (let i = 0; i < 40 && !focused; ++i) {
      const before = await focusedControl();
      await page.keyboard.press("Tab");
      await comesTrue(async () => (await focusedControl()) !== before, 5000);
      focused = (await control("Button39"))?.focused === true;
    }
    if (!focused) await fail("restart", "Tab never brought the focus to Button39");
  }
  if (focused) {
    // The space bar presses the focused button when it is let go, as in the window.
    await page.keyboard.press(" ");
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
  // Tab goes on from the game's last control to the page's own bar, and Enter there acts on the
  // page's button alone.
  let onBar = false;
  for (let i = 0; i < 60 && !onBar; ++i) {
    await page.keyboard.press("Tab");
    onBar = await page.evaluate(() => document.activeElement?.id === "menu-button");
  }
  if (!onBar) await fail("tab to the page", "Tab never reached the page's save menu");
  else {
    const said = await caption("moji_l");
    await page.keyboard.press("Enter");
    await until("menu by key", "the save menu open", () => !document.getElementById("menu").hidden);
    if ((await caption("moji_l")) !== said) await fail("menu by key", "Enter on the page's button pressed the game's");
    await page.keyboard.press("Escape");
  }
  // Bad pairs are refused with what was wrong, and the stored hero stays.
  const scratch = mkdtempSync(join(tmpdir(), "lushera-import-"));
  const file = (name, bytes) => { const p = join(scratch, name); writeFileSync(p, bytes); return p; };
  const items = join(dataDir, "dat", "item.dat");
  const kept = await storedSave();
  for (const [what, paths, says] of [
    ["a text file as the save", [file("my.dat", "hello\n"), items], "読めません"],
    ["a huge file", [file("my (2).dat", Buffer.alloc(3 << 20, 10)), items], "大きすぎます"],
    ["one file", [items], "２つ"],
  ]) {
    await page.evaluate(() => notice(""));
    await importFiles(...paths);
    if (await until(`import ${what}`, "the refusal", () => !document.getElementById("notice").hidden)) {
      const text = await noticeText();
      if (!text.includes(says)) await fail(`import ${what}`, `the notice "${text}" does not say "${says}"`);
      if (text.includes("/")) await fail(`import ${what}`, `the notice "${text}" names a path`);
    }
    if ((await storedSave()) !== kept) await fail(`import ${what}`, "the stored save changed");
  }
  // The desktop's fresh save (no experience yet), renamed by a browser's download: the page starts
  // again on it, and the hero it replaced can be brought back from the menu.
  copyFileSync(join(dataDir, "dat", "my.dat"), join(scratch, "my (1).dat"));
  await page.evaluate(() => { window.lusheraOldPage = true; });
  await importFiles(join(scratch, "my (1).dat"), items);
  // A mark left on the old page: the new one has none (its start may be over before a look).
  await until("import", "the page started again", () => !window.lusheraOldPage, 10000);
  await until("import", "first frame", () => Number(document.body.dataset.frames) > 0, 30000);
  await until("import", "the notice of the import", () => document.getElementById("notice-text").textContent.includes("my (1).dat"));
  // Continued by the screen reader's button for the game's own.
  if (await until("imported", "a reader's button for Button39", () => !!document.querySelector('#game-buttons [data-control="Button39"]'))) {
    await page.evaluate(() => document.querySelector('#game-buttons [data-control="Button39"]').click());
    await message_window_shows_text("imported");
    if ((await heroPixels()) === hero) await fail("imported", "the imported save shows the page's old hero");
  }
  await page.evaluate(() => { window.lusheraOldPage = true; document.getElementById("restore").click(); });
  await until("restore", "the page started again", () => !window.lusheraOldPage, 10000);
  if (await click("restored", "Button39")) {
    await message_window_shows_text("restored");
    if ((await heroPixels()) !== hero) await fail("restored", "the hero from before the import did not come back");
  }
  // A game controller, the page's Gamepad API answered by a stand-in: the D-pad takes the focus
  // (none usable: the first control), A presses the help button, B leaves the help panel.
  await page.evaluate(() => {
    window.pad = { index: 0, connected: true, mapping: "standard", axes: [0, 0, 0, 0],
      buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
    navigator.getGamepads = () => [window.pad];
    dispatchEvent(new Event("gamepadconnected"));
  });
  // Held for two of the page's frames: the page reads the pad once a frame.
  const padPress = (button) => page.evaluate(async (b) => {
    const frames = () => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)));
    window.pad.buttons[b].pressed = true;
    await frames();
    window.pad.buttons[b].pressed = false;
    await frames();
  }, button);
  await padPress(13);  // down
  await until("pad", "the focus on the help button", `Module.lusheraControl("BitBtn3")?.focused`);
  await padPress(0);  // A
  if (await until("pad", "the help panel", `Module.lusheraControl("BitBtn2")?.clickable`)) {
    await padPress(1);  // B
    await until("pad", "the help panel gone", `!Module.lusheraControl("BitBtn2")?.clickable`);
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
