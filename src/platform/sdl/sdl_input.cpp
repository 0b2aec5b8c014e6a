// The window's input: keys, the mouse and the wheel turned into the game's clicks, pointing,
// list selections and slider moves, following the kind of the control under them; the focus.
#include <algorithm>

#include "core/game.hpp"
#include "platform/sdl/sdl_host.hpp"
#include "render/widgets.hpp"

bool SdlHost::is_enter(SDL_Keycode k) { return k == SDLK_RETURN || k == SDLK_KP_ENTER; }

bool SdlHost::toggles_fullscreen(const SDL_KeyboardEvent& key) {
  return key.keysym.sym == SDLK_F11 || (is_enter(key.keysym.sym) && (key.keysym.mod & KMOD_ALT));
}

int SdlHost::zoom_step(const SDL_KeyboardEvent& key) {
  if (!(key.keysym.mod & KMOD_CTRL)) return 0;
  switch (key.keysym.sym) {
    // Plus is shifted on most keyboards: Ctrl+= (US) and Ctrl+; (Japanese) count as Ctrl+plus,
    // as browsers take them.
    case SDLK_PLUS:
    case SDLK_EQUALS:
    case SDLK_SEMICOLON:
    case SDLK_KP_PLUS: return 1;
    case SDLK_MINUS:
    case SDLK_KP_MINUS: return -1;
    default: return 0;
  }
}

void SdlHost::drop_capture() {
  capture_ = ctl::form;
  capture_inside_ = false;
  thumb_grab_.reset();
  space_held_ = ctl::form;
}

void SdlHost::dispatch(const SDL_Event& ev) {
  if (audio_ && audio_->handle_event(ev)) return;
  switch (ev.type) {
    case SDL_QUIT: quit_ = true; break;
    case SDL_WINDOWEVENT:
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET: handle_window_event(ev); break;
    case SDL_KEYDOWN: on_key_down(ev.key); break;
    case SDL_KEYUP: on_key_up(ev.key); break;
    case SDL_MOUSEBUTTONDOWN:
      if (ev.button.button == SDL_BUTTON_LEFT) on_mouse_down(map_mouse(ev.button.x, ev.button.y));
      break;
    case SDL_MOUSEBUTTONUP:
      if (ev.button.button == SDL_BUTTON_LEFT) on_mouse_up(map_mouse(ev.button.x, ev.button.y));
      break;
    case SDL_MOUSEMOTION: on_mouse_motion(map_mouse(ev.motion.x, ev.motion.y)); break;
    case SDL_MOUSEWHEEL: on_wheel(ev.wheel); break;
    default: break;
  }
}

void SdlHost::on_key_down(const SDL_KeyboardEvent& key) {
  Game& g = *game_;
  if (toggles_fullscreen(key)) {
    if (!key.repeat) toggle_fullscreen();
    return;
  }
  if (const int step = zoom_step(key)) {
    if (!key.repeat) change_zoom(step);
    return;
  }
  switch (key.keysym.sym) {
    case SDLK_TAB: move_focus(key.keysym.mod & KMOD_SHIFT ? -1 : 1); break;
    case SDLK_SPACE:
      if (!key.repeat && capture_ == ctl::form && focused_button()) space_held_ = g.form.focus;
      break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      if (!key.repeat && capture_ == ctl::form && space_held_ == ctl::form && focused_button())
        recorder_.click(g, g.form.focus);
      break;
    default: on_arrow_key(key.keysym.sym); break;
  }
}

// A button has the focus and could be clicked (the slider takes the focus too, but no press).
bool SdlHost::focused_button() const {
  const Form& form = game_->form;
  return form.focus != ctl::form && form[form.focus].kind == Kind::Button && form.clickable(form.focus);
}

// The arrows, the page keys, Home and End: the focused slider's, as a track bar takes them, or
// else the shown list's, as the list box takes them. A page is two of the slider's positions, or
// the rows the list shows less one.
void SdlHost::on_arrow_key(SDL_Keycode k) {
  Game& g = *game_;
  MoveKey key;
  switch (k) {
    case SDLK_UP:
    case SDLK_LEFT: key = MoveKey::Back; break;
    case SDLK_DOWN:
    case SDLK_RIGHT: key = MoveKey::Forward; break;
    case SDLK_PAGEUP: key = MoveKey::PageBack; break;
    case SDLK_PAGEDOWN: key = MoveKey::PageForward; break;
    case SDLK_HOME: key = MoveKey::Home; break;
    case SDLK_END: key = MoveKey::End; break;
    default: return;
  }
  recorder_.move_key(g, key);
}

void SdlHost::on_key_up(const SDL_KeyboardEvent& key) {
  if (key.keysym.sym != SDLK_SPACE || space_held_ == ctl::form) return;
  Game& g = *game_;
  const ctl::Id id = space_held_;
  space_held_ = ctl::form;
  if (g.form.focus == id && g.form.clickable(id)) recorder_.click(g, id);
}

// Tab and Shift+Tab: the next or previous button (or the slider) a player could use, in the
// window's order, round the end.
void SdlHost::move_focus(int direction) { recorder_.move_focus(*game_, direction); }

void SdlHost::slide_to(ctl::Id id, int x) {
  Game& g = *game_;
  const Control& c = g.form[id];
  const SliderGeometry sg = slider_geometry(g.form.window_rect(id), c);
  const int pos = slider_position_at(sg, c, x);
  if (pos != c.position) recorder_.slide(g, id, pos);
}

// A press on a list box: on its scroll bar it scrolls (or grabs the thumb), on a row it selects.
void SdlHost::press_list(ctl::Id id, const Point& p) {
  Game& g = *game_;
  if (press_scroll_bar(g.form, id, p.x, p.y, thumb_grab_)) return;
  const Control& c = g.form[id];
  const int index = list_item_at(list_geometry(g.form.window_rect(id), c), c, p.x, p.y);
  if (index >= 0) recorder_.select(g, id, index);
}

void SdlHost::on_mouse_down(const Point& p) {
  Game& g = *game_;
  tip_.pressed();
  if (!p.inside || capture_ != ctl::form) return;
  space_held_ = ctl::form;
  const ctl::Id id = g.form.hit_test(p.x, p.y);
  if (id == ctl::form) return;
  switch (g.form[id].kind) {
    case Kind::Button:
      capture_ = id;
      capture_inside_ = true;
      g.form.focus = id;  // a pressed button takes the focus, as on the desktop
      break;
    case Kind::Slider:
      capture_ = id;
      g.form.focus = id;
      slide_to(id, p.x);
      break;
    case Kind::ListBox:
      capture_ = id;
      press_list(id, p);
      break;
    default: break;
  }
}

void SdlHost::on_mouse_up(const Point& p) {
  Game& g = *game_;
  const ctl::Id id = capture_;
  if (id == ctl::form) return;
  const bool over = p.inside && g.form.shown(id) && g.form.visible_rect(id).contains(p.x, p.y) &&
                    g.form.hit_test(p.x, p.y) == id;
  const bool button = g.form[id].kind == Kind::Button;
  drop_capture();
  // Released over the button it was pressed on: a click. The button is drawn raised again
  // before the handler runs, so the handler's repaints show it so.
  if (button && over) recorder_.click(g, id);
}

void SdlHost::on_mouse_motion(const Point& p) {
  Game& g = *game_;
  if (capture_ != ctl::form) {
    const Control& c = g.form[capture_];
    switch (c.kind) {
      case Kind::Button:
        capture_inside_ = p.inside && g.form.shown(capture_) && g.form.visible_rect(capture_).contains(p.x, p.y);
        break;
      case Kind::Slider: slide_to(capture_, p.x); break;
      case Kind::ListBox:
        if (thumb_grab_) drag_thumb(g.form, capture_, p.y, *thumb_grab_);
        break;
      default: break;
    }
    // While a control holds the mouse, the moves are its own.
    recorder_.hover(g, capture_);
    return;
  }
  if (!p.inside) return;
  const ctl::Id over = g.form.hit_test(p.x, p.y);
  tip_.moved(g.form, over, p.x, p.y, now_ms());
  recorder_.hover(g, over);
}

// The wheel scrolls the list box under the pointer.
void SdlHost::on_wheel(const SDL_MouseWheelEvent& wheel) {
  Game& g = *game_;
  const Point p = mouse_now();
  if (!p.inside) return;
  const ctl::Id over = g.form.hit_test(p.x, p.y);
  if (g.form[over].kind != Kind::ListBox) return;
  int dy = wheel.y;
  if (wheel.direction == SDL_MOUSEWHEEL_FLIPPED) dy = -dy;
  wheel_list(g.form, over, dy);
}
