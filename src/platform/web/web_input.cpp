// The page's input: the browser's mouse, touch, wheel and key events and the page's own calls
// (a screen reader's press, a game controller) queued for the game, then handed to the input path.
#include "platform/web/web_host.hpp"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/web/page_calls.hpp"

namespace {

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

void WebHost::queue(Input in) {
  input_queue_.push_back(std::move(in));
  input_.input_came();
  web_wake();
}

bool WebHost::tab_leaves_game(bool back) const { return game_ && input_.tab_leaves(back); }

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
