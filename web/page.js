// The page's side of the web host: the canvas, the text drawn with the served fonts, and the
// start once the first fonts are there.
"use strict";

const status = document.getElementById("status");

function cssFont(face, px, bold, italic) {
  return (italic ? "italic " : "") + (bold ? "bold " : "") + px + 'px "' + lusheraFonts.family(face) + '"';
}

const scratch = document.createElement("canvas");
const pen = scratch.getContext("2d", { willReadFrequently: true });

var Module = {
  lusheraText: {
    metrics(face, px, bold, italic) {
      pen.font = cssFont(face, px, bold, italic);
      const m = pen.measureText("あ");
      return { ascent: Math.ceil(m.fontBoundingBoxAscent), height: Math.ceil(m.fontBoundingBoxAscent + m.fontBoundingBoxDescent) };
    },
    width(face, px, bold, italic, text) {
      pen.font = cssFont(face, px, bold, italic);
      return Math.ceil(pen.measureText(text).width);
    },
    // The line in white on nothing, its coverage read back.
    render(face, px, bold, italic, text) {
      const m = this.metrics(face, px, bold, italic);
      const width = this.width(face, px, bold, italic, text) + (italic ? Math.ceil(px / 4) : 0);
      if (width <= 0 || m.height <= 0) return { width: 0, height: 0, alpha: new Uint8Array(0) };
      scratch.width = width;
      scratch.height = m.height;
      pen.font = cssFont(face, px, bold, italic);
      pen.fillStyle = "#fff";
      pen.textBaseline = "alphabetic";
      pen.fillText(text, 0, m.ascent);
      const rgba = pen.getImageData(0, 0, width, m.height).data;
      const alpha = new Uint8Array(width * m.height);
      for (let i = 0; i < alpha.length; ++i) alpha[i] = rgba[i * 4 + 3];
      return { width, height: m.height, alpha };
    },
  },

  lusheraScreen: {
    image: null,
    // The part x, y, w, h of the composed frame (0x00RRGGBB pixels) onto the canvas.
    put(selector, pixels, width, height, x, y, w, h) {
      const canvas = document.querySelector(selector);
      if (canvas.width !== width || canvas.height !== height || !this.image) {
        canvas.width = width;
        canvas.height = height;
        this.image = canvas.getContext("2d").createImageData(width, height);
        [x, y, w, h] = [0, 0, width, height];
      }
      const out = new Uint32Array(this.image.data.buffer);
      for (let row = y; row < y + h; ++row) {
        for (let i = row * width + x, end = i + w; i < end; ++i) {
          const p = pixels[i];
          out[i] = 0xff000000 | ((p & 0xff) << 16) | (p & 0xff00) | ((p >> 16) & 0xff);
        }
      }
      canvas.getContext("2d").putImageData(this.image, 0, 0, x, y, w, h);
      // Once the game shows, the rest of the page comes in behind it.
      if (!document.body.dataset.frames) {
        lusheraLoading.done();
        lusheraFonts.loadFull();
        lusheraKeepOffline();
      }
      document.body.dataset.frames = String(Number(document.body.dataset.frames || 0) + 1);
    },
    error(text) {
      notice(text);
    },
  },

  // The mixer's output: its blocks scheduled one after another on a Web Audio context, which the
  // player's first click or key starts (no sound before it: blocks written until then count as
  // played at once, so the game's sound clock runs on).
  lusheraAudio: {
    context: null,
    format: null,
    written: 0,    // bytes written since open or the last reset
    dropped: 0,    // of those, bytes that counted as played without sounding
    blocks: [],    // [end time, bytes written at its end, its bytes, its source]
    next: 0,       // when the next block starts
    open(rate, channels, bits) {
      this.format = { rate, channels, bits, bytesPerFrame: channels * bits / 8 };
      this.context = this.context || new AudioContext();
      this.reset();
    },
    close() { this.reset(); this.format = null; },
    // Sound is allowed once the context has run (the browser lets it from the player's first
    // click or key); before that, blocks count as played at once.
    started: false,
    // While paused, blocks are held (a copy), and scheduled when it restarts.
    paused: false,
    held: [],
    write(bytes) {
      if (this.paused) {
        this.held.push(bytes.slice());
        return;
      }
      const f = this.format;
      this.written += bytes.length;
      if (!this.started) {
        this.dropped = this.written;
        return;
      }
      const frames = Math.floor(bytes.length / f.bytesPerFrame);
      if (frames === 0) { this.dropped += bytes.length; return; }
      const buffer = this.context.createBuffer(f.channels, frames, f.rate);
      const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.length);
      for (let c = 0; c < f.channels; ++c) {
        const out = buffer.getChannelData(c);
        for (let i = 0; i < frames; ++i) {
          const at = i * f.bytesPerFrame + c * f.bits / 8;
          out[i] = f.bits === 8 ? (bytes[at] - 128) / 128 : view.getInt16(at, true) / 32768;
        }
      }
      const source = this.context.createBufferSource();
      source.buffer = buffer;
      source.connect(this.context.destination);
      const start = Math.max(this.next, this.context.currentTime);
      // The first block after a silence (blocks heard by now forgotten first: the output may have
      // rested since, with nothing asking what it played).
      this.played();
      if (!this.blocks.length) this.noteOnset(start);
      source.start(start);
      this.next = start + frames / f.rate;
      this.blocks.push([this.next, this.written, bytes.length, source]);
    },
    // Bytes heard by now.
    played() {
      const now = this.started ? this.context.currentTime : Infinity;
      while (this.blocks.length && this.blocks[0][0] <= now) this.blocks.shift();
      if (!this.blocks.length) return this.written;
      const [end, mark, bytes] = this.blocks[0];
      const f = this.format;
      const left = Math.max(0, Math.min(bytes, Math.round((end - now) * f.rate) * f.bytesPerFrame));
      return Math.max(this.dropped, mark - left);
    },
    pause(paused) {
      this.paused = !!paused;
      if (this.paused) {
        this.rest();
      } else {
        this.wake();
        for (const bytes of this.held.splice(0)) this.write(bytes);
      }
    },
    // With nothing left to play the context is suspended once its last block has been heard, so
    // that the browser's audio thread sleeps as well; the next sound resumes it.
    resting: null,  // the pending suspension, or the suspension itself: a promise
    restTimer: 0,
    rest() {
      if (!this.started) return;
      clearTimeout(this.restTimer);
      const left = Math.max(0, this.next - this.context.currentTime);
      this.restTimer = setTimeout(() => {
        if (this.paused && !this.resting) this.resting = this.context.suspend();
      }, left * 1000 + 50);
    },
    wake() {
      clearTimeout(this.restTimer);
      if (!this.resting) return;
      const suspended = this.resting;
      this.resting = null;
      suspended.then(() => this.context.resume());
    },
    // For the tests: the first block after a silence, as [its start in the context's time, the
    // page's time it was written]; the tests place it in the page's time from the output's stamps.
    onsetAt: null,
    noteOnset(start) { this.onsetAt = [start, performance.now()]; },
    reset() {
      for (const b of this.blocks) b[3].stop();
      this.blocks = [];
      this.held = [];
      this.written = this.dropped = 0;
      this.next = 0;
    },
  },

  // Where a control lies on the page (CSS pixels), whether it can be clicked and whether it has the
  // keyboard's focus: for the tests.
  lusheraControl(name) {
    const c = (Module.lusheraControls || {})[name];
    if (!c) return null;
    const canvas = document.getElementById("screen"), box = canvas.getBoundingClientRect();
    const unit = Module.lusheraZoom * box.width / canvas.width;  // CSS pixels a window unit
    return { x: box.left + c[0] * unit, y: box.top + c[1] * unit, w: c[2] * unit, h: c[3] * unit, clickable: c[4] === 1, focused: c[5] === 1 };
  },
  // Draws the game is to take next, for the tests (as the driver's "draws").
  lusheraRig(values) { (Module.lusheraRigged = Module.lusheraRigged || []).push(...values); },

  preRun: [() => {
    FS.mkdir("/save");
    FS.mount(IDBFS, {}, "/save");
    Module.addRunDependency("save");
    FS.syncfs(true, (e) => {
      if (e) status.textContent = "セーブを読み込めません: " + e;
      Module.removeRunDependency("save");
    });
    // The sound starts at the player's first click, touch or key.
    const gestures = ["mousedown", "touchstart", "keydown"];
    const startSound = () => {
      const a = Module.lusheraAudio;
      if (!a.context) return;
      a.context.resume().then(() => {
        a.started = true;
        for (const e of gestures) removeEventListener(e, startSound, true);
        if (a.paused) a.rest();
      });
    };
    for (const e of gestures) addEventListener(e, startSound, true);
    // A new density of the screen's pixels (the browser's zoom, another screen) with the same size
    // comes as no resize event; the game hears of it as one.
    const watchDensity = () => matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener(
      "change", () => { dispatchEvent(new Event("resize")); watchDensity(); }, { once: true });
    watchDensity();
    // Saved when the page is hidden or closed, too.
    const saveNow = () => { Module.lusheraSaveAsked = true; if (Module.lusheraWake) Module.lusheraWake(); };
    document.addEventListener("visibilitychange", () => { if (document.visibilityState === "hidden") saveNow(); });
    addEventListener("pagehide", saveNow);

    // The text is measured with the served fonts, so the game starts once the first ones are in.
    Module.addRunDependency("fonts");
    lusheraFonts.first.then(() => Module.removeRunDependency("fonts"), () => {});
  }],
  onRuntimeInitialized() {
    document.getElementById("screen").focus();
  },
  print: (t) => console.log(t),
  printErr: (t) => console.error(t),
};

// Calls a function the game exports, with texts (copied into the game's memory) and numbers, and
// gives back its answer: a number, or a text when `answersText`. The call is direct: while the
// game waits, emscripten's ccall would take it for an asynchronous call and hand back a promise.
function callGame(name, args, answersText = false) {
  const held = [];
  const values = args.map((a) => {
    if (typeof a !== "string") return a;
    const bytes = new TextEncoder().encode(a);
    const p = Module._malloc(bytes.length + 1);
    HEAPU8.set(bytes, p);
    HEAPU8[p + bytes.length] = 0;
    held.push(p);
    return p;
  });
  try {
    const answer = Module["_" + name](...values);
    if (!answersText) return answer;
    let end = answer;
    while (HEAPU8[end]) ++end;
    return new TextDecoder().decode(HEAPU8.subarray(answer, end));
  } finally {
    for (const p of held) Module._free(p);
  }
}
