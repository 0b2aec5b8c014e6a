// The web page's host: the canvas, the browser's input and Asyncify's waits.
#include "platform/web/web_host.hpp"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string_view>
#include <utility>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "core/savefile.hpp"
#include "game/input.hpp"
#include "render/widgets.hpp"

namespace {

constexpr int kRestMs = 1000;  // the longest rest without anything coming

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

WebHost* host_of(void* user) { return static_cast<WebHost*>(user); }

EM_BOOL on_mouse(int type, const EmscriptenMouseEvent* e, void* user) {
  WebHost* host = host_of(user);
  WebHost::Input in{WebHost::Input::Move, host->window_units(e->targetX), host->window_units(e->targetY)};
  if (type == EMSCRIPTEN_EVENT_MOUSEDOWN || type == EMSCRIPTEN_EVENT_MOUSEUP) {
    if (e->button != 0) return EM_TRUE;
    in.kind = type == EMSCRIPTEN_EVENT_MOUSEDOWN ? WebHost::Input::Down : WebHost::Input::Up;
  }
  host->queue(in);
  return EM_TRUE;
}

// The first finger, stamped with when it came: whether a finger on a button was a tap or a hold
// is decided by the time it stayed, not by when the game got round to it.
EM_BOOL on_touch(int type, const EmscriptenTouchEvent* e, void* user) {
  WebHost* host = host_of(user);
  if (e->numTouches < 1) return EM_FALSE;
  const EmscriptenTouchPoint& t = e->touches[0];
  WebHost::Input in{WebHost::Input::TouchEnd, host->window_units(t.targetX), host->window_units(t.targetY)};
  if (type == EMSCRIPTEN_EVENT_TOUCHSTART) in.kind = WebHost::Input::TouchStart;
  if (type == EMSCRIPTEN_EVENT_TOUCHMOVE) in.kind = WebHost::Input::TouchMove;
  in.at = host->now_ms();
  host->queue(in);
  return EM_TRUE;  // no mouse events made up from the touch
}

// The wheel over a list box scrolls it, a notch for every event.
EM_BOOL on_wheel(int, const EmscriptenWheelEvent* e, void* user) {
  if (e->deltaY == 0) return EM_FALSE;
  host_of(user)->queue({WebHost::Input::Wheel, 0, e->deltaY < 0 ? 1 : -1});
  return EM_TRUE;
}

EM_BOOL on_resize(int, const EmscriptenUiEvent*, void* user) {
  host_of(user)->queue({WebHost::Input::Resize});
  return EM_FALSE;
}

// The keys the game takes, by the browser's names; everything else stays the browser's.
std::optional<Key> key_of(std::string_view name) {
  static const std::pair<const char*, Key> kKeys[] = {
      {"Tab", Key::Tab},         {"Enter", Key::Enter},       {" ", Key::Space},         {"Escape", Key::Escape},
      {"y", Key::Yes},           {"Y", Key::Yes},             {"n", Key::No},            {"N", Key::No},
      {"ArrowLeft", Key::Left},  {"ArrowRight", Key::Right},  {"ArrowUp", Key::Up},      {"ArrowDown", Key::Down},
      {"PageUp", Key::PageUp},   {"PageDown", Key::PageDown}, {"Home", Key::Home},       {"End", Key::End}};
  for (const auto& [n, k] : kKeys)
    if (name == n) return k;
  return std::nullopt;
}

EM_BOOL on_key(int type, const EmscriptenKeyboardEvent* e, void* user) {
  const std::optional<Key> key = key_of(e->key);
  if (!key) return EM_FALSE;
  WebHost* host = host_of(user);
  const bool shift = e->shiftKey != 0;
  // Round the end of the game's controls, Tab goes on to the page's own (the browser moves it).
  if (type == EMSCRIPTEN_EVENT_KEYDOWN && *key == Key::Tab && host->tab_leaves_game(shift)) {
    host->queue({WebHost::Input::LeaveFocus});
    return EM_FALSE;
  }
  WebHost::Input in{type == EMSCRIPTEN_EVENT_KEYDOWN ? WebHost::Input::KeyDown : WebHost::Input::KeyUp};
  in.key = *key;
  in.shift = shift;
  in.repeat = e->repeat != 0;
  host->queue(in);
  return EM_TRUE;
}

WebHost* the_host = nullptr;  // for the page's calls below

}  // namespace

// The page's calls into the game, queued like the browser's input.
extern "C" {
// A screen reader's press of a game button, by the control's name.
EMSCRIPTEN_KEEPALIVE void lushera_press(const char* name) {
  if (!the_host) return;
  WebHost::Input in{WebHost::Input::Press};
  in.name = name;
  the_host->queue(in);
}
// A game controller's button by the page's name for it, pressed (down) or let go; its left stick
// (-InputPath::kStickFull to kStickFull each way); and the controller gone.
EMSCRIPTEN_KEEPALIVE void lushera_pad(const char* name, int down) {
  static const std::pair<const char*, PadButton> kButtons[] = {
      {"up", PadButton::Up}, {"down", PadButton::Down}, {"left", PadButton::Left},
      {"right", PadButton::Right}, {"a", PadButton::A}, {"b", PadButton::B}};
  for (const auto& [n, b] : kButtons) {
    if (!the_host || std::string_view(name) != n) continue;
    WebHost::Input in{down ? WebHost::Input::PadDown : WebHost::Input::PadUp};
    in.pad = b;
    the_host->queue(in);
  }
}
EMSCRIPTEN_KEEPALIVE void lushera_stick(int x, int y) {
  if (the_host) the_host->queue({WebHost::Input::Stick, x, y});
}
EMSCRIPTEN_KEEPALIVE void lushera_pad_gone() {
  if (the_host) the_host->queue({WebHost::Input::PadGone});
}
// A key from the page's side: Shift+Tab back from the page's controls into the game.
EMSCRIPTEN_KEEPALIVE void lushera_key(const char* name, int shift) {
  const std::optional<Key> key = key_of(name);
  if (!the_host || !key) return;
  WebHost::Input in{WebHost::Input::KeyDown};
  in.key = *key;
  in.shift = shift != 0;
  the_host->queue(in);
}
}

WebHost::WebHost(const char* canvas, int scale)
    : canvas_(canvas), scale_(std::clamp(scale, 1, kMaxZoom)), view_(std::make_unique<FormRenderer>(sjis_, raster_, scale_)) {
  the_host = this;
  const char* c = canvas_.c_str();
  emscripten_set_mousedown_callback(c, this, EM_TRUE, on_mouse);
  emscripten_set_mouseup_callback(c, this, EM_TRUE, on_mouse);
  emscripten_set_mousemove_callback(c, this, EM_TRUE, on_mouse);
  emscripten_set_wheel_callback(c, this, EM_TRUE, on_wheel);
  emscripten_set_touchstart_callback(c, this, EM_TRUE, on_touch);
  emscripten_set_touchmove_callback(c, this, EM_TRUE, on_touch);
  emscripten_set_touchend_callback(c, this, EM_TRUE, on_touch);
  // Keys reach the game only while its canvas has the focus: Enter on one of the page's own
  // buttons presses that button alone.
  emscripten_set_keydown_callback(c, this, EM_TRUE, on_key);
  emscripten_set_keyup_callback(c, this, EM_TRUE, on_key);
  emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, on_resize);
}

WebHost::~WebHost() {
  emscripten_html5_remove_all_event_listeners();
  the_host = nullptr;
}

int WebHost::window_units(double css) { return static_cast<int>(css * web_units_per_css()); }

int64_t WebHost::now_ms() { return static_cast<int64_t>(emscripten_get_now()); }

// The browser paints and gathers input meanwhile; input waits for after the handler, while the
// sound goes on: its finished blocks are refilled every few milliseconds. Pauses that follow one
// another closely (an effect's frames) keep to their sum, as in the window: the drawing between
// them comes out of the next pause instead of adding to it.
void WebHost::sleep_ms(int ms) {
  const double start = emscripten_get_now();
  if (pauses_.asked == 0) pauses_.first_start = start;
  pauses_.asked += std::max(0, ms);
  const double end = chain_.deadline(start, std::max(0, ms), 5.0);
  for (double left = end - emscripten_get_now(); left > 0; left = end - emscripten_get_now()) {
    web_pause(std::min<double>(left, InputPath::kTimerMs));
    audio_.poll();
    // A page being closed does not wait for the handler: what it has done so far is kept.
    if (web_take_save_request()) save();
  }
  pauses_.last_end = emscripten_get_now();
}

void WebHost::repaint() { redraw(); }

void WebHost::redraw() {
  if (!game_ || !input_.needs_redraw()) return;
  view_->compose(game_->form, input_.ui());
  const Frame& f = view_->frame();
  // Only where the frame changed since the last one put on the canvas.
  const Rect part = view_->take_changes().value_or(Rect{0, 0, f.width, f.height});
  if (!part.empty()) web_put_frame(canvas_.c_str(), f.pixels.data(), f.width, f.height, part.x, part.y, part.w, part.h);
  input_.drawn();
}

void WebHost::report(const std::string& utf8) {
  std::cerr << utf8 << '\n';
  web_show_error(utf8.c_str());
}

void WebHost::show_error(const std::string& text) { report(sjis_.to_utf8(text)); }

bool WebHost::load_bitmap(const std::string& path, Canvas& into) { return bitmaps_.load(path, into); }

void WebHost::draw_text(Canvas& canvas, int x, int y, const std::string& text, const Font& font,
                        uint32_t colour) {
  write_text(canvas, view_->text(), x, y, text, font, colour);
}

void WebHost::save() {
  if (!game_ || !game_->loaded) return;  // never overwrite files that were not read
  try {
    SavePair pair = encode_save(*game_);
    if (pair == saved_) return;
    save_game(*game_, pair);
    saved_ = std::move(pair);
  } catch (const IoError& e) {
    report(std::string("セーブを書けません：") + e.what());
    return;
  }
  web_persist_save(game_->path("dat", "").c_str());
}

void WebHost::message_shown(const std::string& text) {
  web_announce(sjis_.to_utf8(text).c_str());
  save();
}

void WebHost::queue(Input in) {
  input_queue_.push_back(std::move(in));
  input_.input_came();
  web_wake();
}

void WebHost::tick_if_due() {
  const int64_t now = now_ms();
  if (input_.tick_due(now)) input_.tick(now);
}

void WebHost::wait() {
  publish_controls();
  if (input_.at_rest() && input_queue_.empty() && !audio_.playing()) {
    web_rest(kRestMs);
    input_.restart_timer(now_ms());  // the timer starts afresh after what came
    return;
  }
  web_pause(std::max(1, input_.ms_to_tick(now_ms())));
}

bool WebHost::tab_leaves_game(bool back) const { return game_ && input_.tab_leaves(back); }

void WebHost::rezoom() {
  const int zoom = std::clamp(EM_ASM_INT({ return Module.lusheraScale(); }), 1, kMaxZoom);
  // The next frame goes to the canvas whole, and the page sizes it for the screen's pixels.
  input_.draw_again();
  view_->show_all_again();
  if (zoom == scale_) return;
  scale_ = zoom;
  view_ = std::make_unique<FormRenderer>(sjis_, raster_, scale_);
}

void WebHost::refont() {
  view_ = std::make_unique<FormRenderer>(sjis_, raster_, scale_);
  input_.draw_again();
}

void WebHost::dispatch(const Input& in) {
  const Pointer p{in.x, in.y};
  switch (in.kind) {
    case Input::Resize: rezoom(); break;
    case Input::Move: input_.pointer_moved(p, now_ms()); break;
    case Input::Down: input_.pointer_pressed(p); break;
    case Input::Up: input_.pointer_released(p); break;
    case Input::Wheel: input_.wheel_turned(in.y); break;
    case Input::TouchStart: input_.finger_down(p, in.at); break;
    case Input::TouchMove: input_.finger_moved(p, in.at); break;
    case Input::TouchEnd: input_.finger_up(p, in.at); break;
    case Input::KeyDown: input_.key_down(in.key, in.shift, in.repeat); break;
    case Input::KeyUp: input_.key_up(in.key); break;
    case Input::LeaveFocus: input_.focus_left_game(); break;
    case Input::PadDown: input_.pad_pressed(in.pad); break;
    case Input::PadUp: input_.pad_released(in.pad); break;
    case Input::Stick: input_.stick_moved(in.x, in.y); break;
    case Input::PadGone: input_.focus_lost(); break;
    case Input::Press:
      if (input_.asking()) {
        if (in.name == "yes" || in.name == "no") input_.press_answer(in.name == "yes");
      } else {
        input_.press(Form::find(in.name));
      }
      break;
  }
}

namespace {

// A UTF-8 text as a JSON string.
std::string json_string(const std::string& utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    if (c == '"' || c == '\\') out += '\\', out += c;
    else if (static_cast<unsigned char>(c) < 0x20) out += ' ';
    else out += c;
  }
  return out + '"';
}

}  // namespace

void WebHost::publish_controls() {
  const Form& form = game_->form;
  if (published_ && form.revision() == published_revision_ && form.focus == published_focus_ &&
      published_question_ == input_.asking())
    return;
  published_ = true;
  published_revision_ = form.revision();
  published_focus_ = form.focus;
  published_question_ = input_.asking();
  std::string json = "{";
  for (int i = 0; i < ctl::count; ++i) {
    const auto id = static_cast<ctl::Id>(i);
    const Control& c = form[id];
    const Rect r = form.window_rect(id);
    const bool button = c.kind == Kind::Button;
    // A button without a caption (a picture) is named by its tip.
    std::string caption = sjis_.to_utf8(c.caption);
    if (button && caption.empty() && c.look.hint) caption = c.look.hint;
    json += (i ? ",\"" : "\"") + std::string(Form::name(id)) + "\":[" + std::to_string(r.x) + "," +
            std::to_string(r.y) + "," + std::to_string(r.w) + "," + std::to_string(r.h) + "," +
            (form.clickable(id) ? "1" : "0") + "," + (form.focus == id ? "1" : "0") + "," +
            (button ? "1" : "0") + "," + json_string(caption) + "]";
  }
  const std::optional<QuestionView> asked = input_.ui().question;
  const std::string question = asked ? sjis_.to_utf8(asked->text) : std::string();
  web_publish_controls((json + "}").c_str(), asked ? question.c_str() : nullptr);
}

void WebHost::handle_input() {
  audio_.poll();
  for (int v = web_take_rigged_draw(); v >= 0; v = web_take_rigged_draw()) game_->rng.rig(v);
  if (web_take_save_request()) save();
  if (web_take_fonts_changed()) refont();
  while (!input_queue_.empty()) {
    const Input in = input_queue_.front();
    input_queue_.pop_front();
    pauses_ = {};
    const uint64_t before = game_->form.revision();
    dispatch(in);
    redraw();
    if (pauses_.asked > 0) web_note_pauses(pauses_.asked, pauses_.last_end - pauses_.first_start);
    // What a handler did is stored as soon as it ends: a page may be closed at any moment.
    if (game_->form.revision() != before) save();
  }
}

bool WebHost::ask_yes_no(const std::string& text) {
  if (!game_ || input_.asking()) return false;
  input_.ask(text, view_->question_geometry(game_->form, QuestionView{text, 0, -1}));
  web_announce(sjis_.to_utf8(text).c_str());
  redraw();
  while (input_.answer() < 0) {
    while (input_.answer() < 0 && !input_queue_.empty()) {
      const Input in = input_queue_.front();
      input_queue_.pop_front();
      dispatch(in);
      redraw();
    }
    if (input_.answer() >= 0) break;
    tick_if_due();
    redraw();
    wait();
    audio_.poll();
  }
  const bool yes = input_.finish_question();
  redraw();
  return yes;
}

int WebHost::run(Game& g) {
  game_ = &g;
  input_.attach(g);
  create_window(g);
  if (g.locked_out) return g.io_failed ? 1 : 3;
  redraw();
  input_.restart_timer(now_ms());
  input_.input_came();
  saved_revision_ = g.form.revision();
  for (;;) {
    handle_input();
    tick_if_due();
    redraw();
    // What the ticks change is stored once they have settled (what input does is stored as soon
    // as its handler ends, and at each message it shows).
    if (input_.at_rest() && input_queue_.empty() && g.form.revision() != saved_revision_) {
      saved_revision_ = g.form.revision();
      save();
    }
    wait();
  }
}
