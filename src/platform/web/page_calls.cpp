// The page's scripts the game calls: the canvas, the page's notices, its storage, its controls
// for screen readers and tests, the hooks its tests and figures use, and Asyncify's waits.
#include "platform/web/page_calls.hpp"

#include <emscripten.h>

// clang-format off
// The part x, y, w, h of the composed frame onto the canvas.
EM_JS(void, web_put_frame, (const char* canvas, const uint32_t* pixels, int width, int height, int x, int y, int w, int h), {
  Module.lusheraScreen.put(UTF8ToString(canvas), HEAPU32.subarray(pixels >> 2, (pixels >> 2) + width * height), width, height, x, y, w, h);
});

EM_JS(void, web_show_error, (const char* text), {
  Module.lusheraScreen.error(UTF8ToString(text));
});

EM_JS(void, web_persist_save, (const char* folder), {
  Module.lusheraSave.persist(UTF8ToString(folder));
});

// The controls as the page shows them to screen readers and to its tests: JSON text of
// name: [x, y, w, h, clickable, focused, button, caption] in window units (the caption in UTF-8),
// and the question being asked, if any.
EM_JS(void, web_publish_controls, (const char* json, const char* question), {
  Module.lusheraControls = JSON.parse(UTF8ToString(json));
  Module.lusheraQuestion = question ? UTF8ToString(question) : null;
  if (Module.lusheraControlsChanged) Module.lusheraControlsChanged();
});

// A message of the game, for the page's live region.
EM_JS(void, web_announce, (const char* text), {
  if (Module.lusheraAnnounce) Module.lusheraAnnounce(UTF8ToString(text));
});

// Window units to a CSS pixel of the canvas, as the page laid it out.
EM_JS(double, web_units_per_css, (), {
  return Module.lusheraUnitsPerCss || 1;
});

// A rigged draw queued by a test, or -1.
EM_JS(int, web_take_rigged_draw, (), {
  const q = Module.lusheraRigged || [];
  return q.length ? q.shift() : -1;
});

// Whether the page asked for a save (it is being hidden or closed).
EM_JS(int, web_take_save_request, (), {
  const asked = !!Module.lusheraSaveAsked;
  Module.lusheraSaveAsked = false;
  return asked;
});
// Whether the page's fonts changed (the full ones came in after the first ones).
EM_JS(int, web_take_fonts_changed, (), {
  const changed = !!Module.lusheraFontsChanged;
  Module.lusheraFontsChanged = false;
  return changed;
});
// For the page's figures: a handler's pauses, asked for, and the time from the start of its
// first to the end of its last (the drawing between them included).
EM_JS(void, web_note_pauses, (double asked, double taken), {
  const p = Module.lusheraPauses = Module.lusheraPauses || { asked: 0, taken: 0 };
  p.asked += asked;
  p.taken += taken;
});

// A handler's pause. The browser makes a timer set from a timer's own callback wait at least
// 4 ms once such calls nest five deep, which every pause after the first would be (each resumes
// the game inside the last one's callback): the timer is set from a message's task instead, and
// an effect's 1 ms frames take 1 ms.
EM_ASYNC_JS(void, web_pause, (double ms), {
  await new Promise((resolve) => {
    const channel = new MessageChannel();
    channel.port1.onmessage = () => setTimeout(resolve, ms);
    channel.port2.postMessage(0);
  });
});

// The loop's rest: the page's input (or its asking for a save) ends it early.
EM_ASYNC_JS(void, web_rest, (int ms), {
  await new Promise((resolve) => {
    const done = () => { clearTimeout(timer); Module.lusheraWake = null; resolve(); };
    const timer = setTimeout(done, ms);
    Module.lusheraWake = done;
  });
});

EM_JS(void, web_wake, (), {
  if (Module.lusheraWake) Module.lusheraWake();
});
// clang-format on
