// A game controller through the Gamepad API: while one is connected its state is read on every
// frame, and what changed (the D-pad, A, B, the left stick) is handed to the game by the game's
// own names, as the window hands SDL's controller events on.
"use strict";

const lusheraPads = {
  // The standard mapping's buttons the game takes.
  buttons: { 12: "up", 13: "down", 14: "left", 15: "right", 0: "a", 1: "b" },
  last: new Map(),  // a pad's index -> what was last handed over: { held: Set, x, y }
  polling: false,

  start() {
    if (this.polling) return;
    this.polling = true;
    requestAnimationFrame(() => this.poll());
  },

  poll() {
    const pads = [...(navigator.getGamepads ? navigator.getGamepads() : [])].filter((p) => p && p.connected);
    for (const pad of pads) this.read(pad);
    // Once the last one is gone the page stops looking (a new one says so with an event).
    this.polling = pads.length > 0;
    if (this.polling) requestAnimationFrame(() => this.poll());
  },

  read(pad) {
    if (typeof Module._lushera_pad !== "function") return;  // the game has not started yet
    const last = this.last.get(pad.index) || { held: new Set(), x: 0, y: 0 };
    for (const [i, name] of Object.entries(this.buttons)) {
      const down = !!pad.buttons[i]?.pressed;
      if (down === last.held.has(name)) continue;
      if (down) last.held.add(name); else last.held.delete(name);
      callGame("lushera_pad", [name, down ? 1 : 0]);
    }
    // In tenths: a stick at rest trembles by less, and hands nothing over.
    const tenths = (v) => Math.round((v || 0) * 10) * 100;
    const x = tenths(pad.axes[0]), y = tenths(pad.axes[1]);
    if (x !== last.x || y !== last.y) callGame("lushera_stick", [x, y]);
    this.last.set(pad.index, { held: last.held, x, y });
  },
};

addEventListener("gamepadconnected", () => lusheraPads.start());
// What a pad held when it went is let go without a press.
addEventListener("gamepaddisconnected", (e) => {
  if (lusheraPads.last.delete(e.gamepad.index) && typeof Module._lushera_pad_gone === "function") callGame("lushera_pad_gone", []);
});
