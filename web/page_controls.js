// The page around the game: where the frame and the page's own bar go in the visible area, the
// bar's fullscreen and save menu, and the notices the page gives.
"use strict";

const lushera = {
  width: 551, height: 360,  // the game's window in its own units
  bar: 48,                  // the bar's thickness in CSS pixels (a finger's width)
};

// Screen pixels a window unit: the largest whole zoom (1 to 8, the game's largest) at which the
// window fits the area, or where even 1 does not, the fraction that fits.
function fitScale(width, height, dpr) {
  const s = Math.min(width * dpr / lushera.width, height * dpr / lushera.height);
  return s >= 1 ? Math.min(8, Math.floor(s)) : Math.max(0.05, s);
}

// The frame and the bar in the visible area (the visual viewport: on a phone the layout width can
// be wider than what is shown), the bar below the frame or beside it, whichever leaves the frame
// larger. The frame lies on whole screen pixels, so at a whole zoom one frame pixel is one.
function layOut() {
  const canvas = document.getElementById("screen"), bar = document.getElementById("bar");
  const view = window.visualViewport;
  const vw = view ? view.width : innerWidth, vh = view ? view.height : innerHeight;
  const dpr = window.devicePixelRatio || 1;
  const below = fitScale(vw, vh - lushera.bar, dpr), beside = fitScale(vw - lushera.bar, vh, dpr);
  const side = beside > below;
  const s = side ? beside : below;
  const w = lushera.width * s / dpr, h = lushera.height * s / dpr;
  const snap = (css) => Math.round(css * dpr) / dpr;
  const left = snap((vw - (side ? w + lushera.bar : w)) / 2), top = snap((vh - (side ? h : h + lushera.bar)) / 2);
  const offsetX = view ? view.offsetLeft : 0, offsetY = view ? view.offsetTop : 0;
  Object.assign(canvas.style, {
    left: offsetX + left + "px", top: offsetY + top + "px", width: w + "px", height: h + "px",
    imageRendering: s >= 1 ? "pixelated" : "auto",
  });
  bar.classList.toggle("side", side);
  Object.assign(bar.style, side
    ? { left: offsetX + left + w + "px", top: offsetY + "px", width: lushera.bar + "px", height: vh + "px" }
    : { left: offsetX + "px", top: offsetY + top + h + "px", width: vw + "px", height: lushera.bar + "px" });
  // A phone held upright shows the frame far smaller than it would turned on its side.
  const turned = fitScale(vh - lushera.bar, vw, dpr);
  document.getElementById("turn").hidden = !(vh > vw && turned >= 2 * s);
  Module.lusheraZoom = Math.max(1, Math.floor(s));
  Module.lusheraUnitsPerCss = dpr / s;
  Module.lusheraDpr = dpr;
  return Module.lusheraZoom;
}
Module.lusheraScale = layOut;

// A notice of the page's, over the frame until the player closes it (or a newer one comes).
function notice(text) {
  document.getElementById("notice-text").textContent = text;
  document.getElementById("notice").hidden = !text;
  if (text) console.warn(text);
}
document.getElementById("notice-close").addEventListener("click", () => {
  notice("");
  document.getElementById("screen").focus();
});

// The save menu opens from the bar and closes with Escape, a second press or a press elsewhere.
const menuButton = document.getElementById("menu-button"), menu = document.getElementById("menu");
function openMenu(open) {
  menu.hidden = !open;
  menuButton.setAttribute("aria-expanded", String(open));
  if (open) {
    const r = menuButton.getBoundingClientRect();
    const bar = document.getElementById("bar");
    // Toward the middle of the page from the bar's button.
    menu.style.left = Math.max(4, Math.min(r.left, innerWidth - menu.offsetWidth - 4)) + "px";
    menu.style.top = (bar.classList.contains("side") ? r.top : Math.max(4, r.top - menu.offsetHeight - 4)) + "px";
    if (bar.classList.contains("side")) menu.style.left = Math.max(4, r.left - menu.offsetWidth - 4) + "px";
    menu.querySelector("button:not([hidden])").focus();
  }
}
menuButton.addEventListener("click", () => openMenu(menu.hidden));
menu.addEventListener("keydown", (e) => {
  if (e.key === "Escape") { openMenu(false); menuButton.focus(); }
});
addEventListener("pointerdown", (e) => {
  if (!menu.hidden && !menu.contains(e.target) && !menuButton.contains(e.target)) openMenu(false);
}, true);
for (const b of menu.querySelectorAll("button")) b.addEventListener("click", () => openMenu(false));

// Fullscreen, where the browser has it for a page (a phone's browser may not), and on its side.
const fullscreen = document.getElementById("fullscreen");
fullscreen.hidden = !document.fullscreenEnabled;
fullscreen.addEventListener("click", async () => {
  if (document.fullscreenElement) return document.exitFullscreen();
  try {
    await document.documentElement.requestFullscreen();
    await screen.orientation?.lock?.("landscape");
  } catch {
    // Kept as it is: a page may be refused fullscreen or the turn.
  }
  document.getElementById("screen").focus();
});
document.addEventListener("fullscreenchange", () => {
  fullscreen.textContent = document.fullscreenElement ? "元に戻す" : "全画面";
});

// Shift+Tab from the page's first control goes back into the game, to its last control.
document.getElementById("screen").addEventListener("focus", (e) => {
  if (e.relatedTarget && document.getElementById("bar").contains(e.relatedTarget) && Module._lushera_key)
    callGame("lushera_key", ["Tab", 1]);
});

// The game hears of a new size as the browser's resize; the visual viewport's own changes (a
// phone's bars coming and going, a pinch) come as that too.
window.visualViewport?.addEventListener("resize", () => dispatchEvent(new Event("resize")));
// A browser may tell of the new size before the new density of its pixels: laid out again on
// the next frame.
addEventListener("resize", () => {
  const zoom = layOut();
  requestAnimationFrame(() => {
    if (layOut() !== zoom) dispatchEvent(new Event("resize"));
  });
});
// A page that cannot run shows only why: no bar, no frame.
if (lusheraProblem) {
  document.getElementById("bar").hidden = true;
  document.getElementById("screen").hidden = true;
}
layOut();
