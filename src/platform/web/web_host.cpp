// The web page's host: the canvas, the browser's input and Asyncify's waits.
#include "platform/web/web_host.hpp"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <iostream>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "core/savefile.hpp"
#include "game/input.hpp"
#include "render/widgets.hpp"

namespace {

constexpr int kTimerMs = 10;
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

// Where the controls lie and whether they can be clicked, for the page's tests: JSON text of
// name: [x, y, w, h, clickable] in window units. (The page cannot call into the game while it
// waits, so the game hands over what is asked, and takes what is asked of it.)
EM_JS(void, web_publish_controls, (const char* json), {
  Module.lusheraControls = JSON.parse(UTF8ToString(json));
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
  const int x = host->window_units(e->targetX), y = host->window_units(e->targetY);
  if (type == EMSCRIPTEN_EVENT_MOUSEDOWN && e->button == 0) host->queue({WebHost::Input::Down, x, y, {}, false});
  else if (type == EMSCRIPTEN_EVENT_MOUSEUP && e->button == 0) host->queue({WebHost::Input::Up, x, y, {}, false});
  else if (type == EMSCRIPTEN_EVENT_MOUSEMOVE) host->queue({WebHost::Input::Move, x, y, {}, false});
  return EM_TRUE;
}

// A finger is the mouse: touching presses, lifting releases where it was last.
EM_BOOL on_touch(int type, const EmscriptenTouchEvent* e, void* user) {
  WebHost* host = host_of(user);
  if (e->numTouches < 1) return EM_FALSE;
  const EmscriptenTouchPoint& t = e->touches[0];
  const int x = host->window_units(t.targetX), y = host->window_units(t.targetY);
  if (type == EMSCRIPTEN_EVENT_TOUCHSTART) {
    host->queue({WebHost::Input::Move, x, y, {}, false});
    host->queue({WebHost::Input::Down, x, y, {}, false});
  } else if (type == EMSCRIPTEN_EVENT_TOUCHEND) {
    host->queue({WebHost::Input::Up, x, y, {}, false});
  } else if (type == EMSCRIPTEN_EVENT_TOUCHMOVE) {
    host->queue({WebHost::Input::Move, x, y, {}, false});
  }
  return EM_TRUE;  // no mouse events made up from the touch
}

// The wheel over a list box scrolls it, a notch for every event.
EM_BOOL on_wheel(int, const EmscriptenWheelEvent* e, void* user) {
  if (e->deltaY == 0) return EM_FALSE;
  host_of(user)->queue({WebHost::Input::Wheel, 0, e->deltaY < 0 ? 1 : -1, {}, false});
  return EM_TRUE;
}

EM_BOOL on_resize(int, const EmscriptenUiEvent*, void* user) {
  host_of(user)->queue({WebHost::Input::Resize, 0, 0, {}, false});
  return EM_FALSE;
}

EM_BOOL on_key(int, const EmscriptenKeyboardEvent* e, void* user) {
  const std::string key = e->key;
  // The keys the window uses; everything else stays the browser's.
  static const char* const kOurs[] = {"Tab",       "Enter",      " ",       "y",         "n",
                                      "Y",         "N",          "Escape",  "ArrowLeft", "ArrowRight",
                                      "ArrowUp",   "ArrowDown",  "Home",    "End",       "PageUp",
                                      "PageDown"};
  if (std::none_of(std::begin(kOurs), std::end(kOurs), [&](const char* k) { return key == k; }))
    return EM_FALSE;
  host_of(user)->queue({WebHost::Input::Key, 0, 0, key, e->shiftKey != 0});
  return EM_TRUE;
}

}  // namespace

WebHost::WebHost(const char* canvas, int scale)
    : canvas_(canvas), scale_(std::clamp(scale, 1, 4)), view_(std::make_unique<FormRenderer>(sjis_, raster_, scale_)) {
  screen_pixels_ = EM_ASM_DOUBLE({ return Module.lusheraDpr || 1; });
  const char* c = canvas_.c_str();
  emscripten_set_mousedown_callback(c, this, EM_TRUE, on_mouse);
  emscripten_set_mouseup_callback(c, this, EM_TRUE, on_mouse);
  emscripten_set_mousemove_callback(c, this, EM_TRUE, on_mouse);
  emscripten_set_wheel_callback(c, this, EM_TRUE, on_wheel);
  emscripten_set_touchstart_callback(c, this, EM_TRUE, on_touch);
  emscripten_set_touchmove_callback(c, this, EM_TRUE, on_touch);
  emscripten_set_touchend_callback(c, this, EM_TRUE, on_touch);
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_TRUE, on_key);
  emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, on_resize);
}

WebHost::~WebHost() { emscripten_html5_remove_all_event_listeners(); }

int64_t WebHost::now_ms() { return static_cast<int64_t>(emscripten_get_now()); }

// The browser paints and gathers input meanwhile; input waits for after the handler, while the
// sound goes on: its finished blocks are refilled every few milliseconds. Pauses that follow one
// another closely (an effect's frames) keep to their sum, as in the window: the drawing between
// them comes out of the next pause instead of adding to it.
void WebHost::sleep_ms(int ms) {
  constexpr double kChainedMs = 5;
  const double start = emscripten_get_now();
  if (pauses_.asked == 0) pauses_.first_start = start;
  pauses_.asked += std::max(0, ms);
  const double from = pause_end_ > 0 && start - pause_end_ <= kChainedMs ? pause_end_ : start;
  const double end = from + std::max(0, ms);
  pause_end_ = end;
  for (double left = end - emscripten_get_now(); left > 0; left = end - emscripten_get_now()) {
    web_pause(std::min<double>(left, kTimerMs));
    audio_.poll();
  }
  pauses_.last_end = emscripten_get_now();
}

void WebHost::repaint() { redraw(); }

void WebHost::redraw(bool force) {
  if (!game_) return;
  const Form& form = game_->form;
  UiState ui;
  ui.pressed = pressed_;
  ui.question = question_;
  ui.tip = tip_.view(form);
  if (!force && drawn_ && form.revision() == drawn_revision_ && form.focus == drawn_focus_ && ui == drawn_ui_)
    return;
  view_->compose(form, ui);
  const Frame& f = view_->frame();
  // Only where the frame changed since the last one put on the canvas.
  const Rect part = view_->take_changes().value_or(Rect{0, 0, f.width, f.height});
  if (!part.empty()) web_put_frame(canvas_.c_str(), f.pixels.data(), f.width, f.height, part.x, part.y, part.w, part.h);
  drawn_ = true;
  drawn_revision_ = form.revision();
  drawn_focus_ = form.focus;
  drawn_ui_ = ui;
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
    save_game(*game_);
  } catch (const IoError& e) {
    report(std::string("the save could not be written: ") + e.what());
    return;
  }
  web_persist_save(game_->path("dat", "").c_str());
}

void WebHost::queue(Input in) {
  input_.push_back(std::move(in));
  ticks_settled_ = false;
  web_wake();
}

void WebHost::tick_if_due() {
  const int64_t now = now_ms();
  if (now < next_tick_) return;
  next_tick_ += kTimerMs;
  if (next_tick_ <= now) next_tick_ = now + kTimerMs;
  ticks_settled_ = !timer_tick(*game_);
  tip_.tick(now);
}

void WebHost::wait() {
  publish_controls();
  if (ticks_settled_ && input_.empty() && !audio_.playing() && !tip_.waiting()) {
    web_rest(kRestMs);
    next_tick_ = now_ms() + kTimerMs;  // the timer starts afresh after what came
    return;
  }
  web_pause(static_cast<double>(std::clamp<int64_t>(next_tick_ - now_ms(), 1, kTimerMs)));
}

void WebHost::rezoom() {
  const int zoom = std::clamp(EM_ASM_INT({ return Module.lusheraScale(); }), 1, 4);
  screen_pixels_ = EM_ASM_DOUBLE({ return Module.lusheraDpr; });
  // The next frame goes to the canvas whole, and the page sizes it for the screen's pixels.
  drawn_ = false;
  view_->show_all_again();
  if (zoom == scale_) return;
  scale_ = zoom;
  view_ = std::make_unique<FormRenderer>(sjis_, raster_, scale_);
}

void WebHost::dispatch(const Input& in) {
  Game& g = *game_;
  switch (in.kind) {
    case Input::Resize: rezoom(); break;
    case Input::Move: {
      mouse_x_ = in.x, mouse_y_ = in.y;
      if (thumb_grab_) {
        drag_thumb(g.form, held_list_, in.y, *thumb_grab_);
        break;
      }
      const ctl::Id over = g.form.hit_test(in.x, in.y);
      tip_.moved(g.form, over, in.x, in.y, now_ms());
      mouse_move(g, over);
      break;
    }
    case Input::Wheel: {
      const ctl::Id over = g.form.hit_test(mouse_x_, mouse_y_);
      if (g.form[over].kind == Kind::ListBox) wheel_list(g.form, over, in.y);
      break;
    }
    case Input::Down: {
      tip_.pressed();
      const ctl::Id id = g.form.hit_test(in.x, in.y);
      const Control& c = g.form[id];
      if (c.kind == Kind::Button && g.form.clickable(id)) pressed_ = id;
      if (c.kind == Kind::ListBox && g.form.clickable(id)) {
        if (press_scroll_bar(g.form, id, in.x, in.y, thumb_grab_)) {
          held_list_ = id;
          break;
        }
        const int index = list_item_at(list_geometry(g.form.window_rect(id), c), c, in.x, in.y);
        if (index >= 0) list_select(g, id, index);
      }
      if (c.kind == Kind::Slider && g.form.clickable(id)) {
        const int pos = slider_position_at(slider_geometry(g.form.window_rect(id), c), c, in.x);
        if (pos != c.position) slider_changed(g, id, pos);
      }
      break;
    }
    case Input::Up: {
      const ctl::Id id = pressed_;
      pressed_ = ctl::form;
      thumb_grab_.reset();
      if (id != ctl::form && g.form.hit_test(in.x, in.y) == id && g.form.clickable(id)) click(g, id);
      break;
    }
    case Input::Key: {
      const ctl::Id focus = g.form.focus;
      if ((in.key == "Enter" || in.key == " ") && focus != ctl::form && g.form.clickable(focus)) {
        click(g, focus);
      } else if (in.key == "Tab") {
        input_path_.move_focus(g, in.shift ? -1 : 1);
      } else {
        // The move keys: the focused slider's, or else the shown list's.
        static const std::pair<const char*, MoveKey> kMoves[] = {
            {"ArrowLeft", MoveKey::Back},     {"ArrowUp", MoveKey::Back},
            {"ArrowRight", MoveKey::Forward}, {"ArrowDown", MoveKey::Forward},
            {"PageUp", MoveKey::PageBack},    {"PageDown", MoveKey::PageForward},
            {"Home", MoveKey::Home},          {"End", MoveKey::End}};
        const auto move = std::find_if(std::begin(kMoves), std::end(kMoves),
                                       [&](const auto& m) { return in.key == m.first; });
        if (move != std::end(kMoves)) input_path_.move_key(g, move->second);
      }
      break;
    }
  }
}

void WebHost::publish_controls() {
  const Form& form = game_->form;
  if (published_ && form.revision() == published_revision_ && form.focus == published_focus_) return;
  published_ = true;
  published_revision_ = form.revision();
  published_focus_ = form.focus;
  std::string json = "{";
  for (int i = 0; i < ctl::count; ++i) {
    const auto id = static_cast<ctl::Id>(i);
    const Rect r = form.window_rect(id);
    json += (i ? ",\"" : "\"") + std::string(Form::name(id)) + "\":[" + std::to_string(r.x) + "," +
            std::to_string(r.y) + "," + std::to_string(r.w) + "," + std::to_string(r.h) + "," +
            (form.clickable(id) ? "1" : "0") + "," + (form.focus == id ? "1" : "0") + "]";
  }
  web_publish_controls((json + "}").c_str());
}

void WebHost::handle_input() {
  audio_.poll();
  for (int v = web_take_rigged_draw(); v >= 0; v = web_take_rigged_draw()) game_->rng.rig(v);
  if (web_take_save_request()) save();
  while (!input_.empty()) {
    const Input in = input_.front();
    input_.pop_front();
    pauses_ = {};
    dispatch(in);
    redraw();
    if (pauses_.asked > 0) web_note_pauses(pauses_.asked, pauses_.last_end - pauses_.first_start);
  }
}

int WebHost::question_input(const Input& in) {
  if (in.kind == Input::Resize) {
    rezoom();
    return -1;
  }
  if (in.kind == Input::Key) {
    if (in.key == "y" || in.key == "Y") return 0;
    if (in.key == "n" || in.key == "N" || in.key == "Escape") return 1;
    if (in.key == "Enter" || in.key == " ") return question_->focus;
    if (in.key == "Tab") question_->focus = 1 - question_->focus;
    return -1;
  }
  const QuestionGeometry geo = view_->question_geometry(game_->form, *question_);
  if (in.kind == Input::Down) {
    question_->pressed = geo.yes.contains(in.x, in.y) ? 0 : geo.no.contains(in.x, in.y) ? 1 : -1;
    if (question_->pressed >= 0) question_->focus = question_->pressed;
  } else if (in.kind == Input::Up) {
    const int held = question_->pressed;
    question_->pressed = -1;
    if (held == 0 && geo.yes.contains(in.x, in.y)) return 0;
    if (held == 1 && geo.no.contains(in.x, in.y)) return 1;
  }
  return -1;
}

bool WebHost::ask_yes_no(const std::string& text) {
  if (!game_) return false;
  question_ = QuestionView{text, 0, -1};
  pressed_ = ctl::form;
  int answer = -1;
  redraw();
  while (answer < 0) {
    while (answer < 0 && !input_.empty()) {
      const Input in = input_.front();
      input_.pop_front();
      answer = question_input(in);
      redraw();
    }
    if (answer >= 0) break;
    tick_if_due();
    redraw();
    wait();
    audio_.poll();
  }
  question_.reset();
  redraw();
  return answer == 0;
}

int WebHost::run(Game& g) {
  game_ = &g;
  create_window(g);
  if (g.locked_out) return g.io_failed ? 1 : 3;
  redraw(true);
  next_tick_ = now_ms() + kTimerMs;
  ticks_settled_ = false;
  saved_revision_ = g.form.revision();
  for (;;) {
    handle_input();
    tick_if_due();
    redraw();
    // A page may be closed at any moment, and what the browser does while closing is not waited
    // for: the save follows every change once the game has settled after it, as the window's
    // would be if it were closed there.
    if (ticks_settled_ && input_.empty() && g.form.revision() != saved_revision_) {
      saved_revision_ = g.form.revision();
      save();
    }
    wait();
  }
}
