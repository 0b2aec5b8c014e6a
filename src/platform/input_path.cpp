// The player's input turned into the game's operations, the same for every host.
#include "platform/input_path.hpp"

#include <algorithm>
#include <cstdlib>

#include "core/game.hpp"
#include "game/input.hpp"
#include "platform/recorder.hpp"
#include "render/widgets.hpp"
#include "ui/panel_exits.hpp"
#include "ui/technique_buttons.hpp"

void InputPath::attach(Game& g, Recorder* recorder) {
  game_ = &g;
  recorder_ = recorder;
  drawn_ = false;
}

// ---- The game's operations, each written down when recording ----

void InputPath::click(ctl::Id id) {
  if (!recorder_) return ::click(g(), id);
  recorder_->record("click " + std::string(Form::name(id)), [&] { ::click(g(), id); });
}

void InputPath::hover(ctl::Id over) {
  if (!recorder_) return mouse_move(g(), over);
  recorder_->record_hover("hover " + std::string(over == ctl::form ? "form" : Form::name(over)),
                          [&] { mouse_move(g(), over); });
}

void InputPath::select(ctl::Id list, int index) {
  if (!recorder_) return list_select(g(), list, index);
  recorder_->record("select " + std::to_string(index), [&] { list_select(g(), list, index); });
}

void InputPath::slide(ctl::Id slider, int position) {
  if (!recorder_) return slider_changed(g(), slider, position);
  recorder_->record("slider " + std::to_string(position), [&] { slider_changed(g(), slider, position); });
}

// Tab and Shift+Tab: the next or previous button (or the slider) a player could use, in the
// window's order, round the end. A technique button with the focus is pointed at, so the info
// panel follows it.
void InputPath::move_focus(int direction) {
  const ctl::Id id = g().form.next_focus(direction);
  if (id != ctl::form) focus_on(id);
}

void InputPath::focus_on(ctl::Id id) {
  g().form.focus = id;
  if (technique_of(id) != 0) hover(id);
}

// The arrows, the page keys, Home and End: the focused slider's, as a track bar takes them, or
// else the shown list's selection, kept in view.
void InputPath::move_key(MoveKey key) {
  const KeyMove move = move_key_target(g().form, key);
  if (move.id == ctl::form) return;
  if (g().form[move.id].kind == Kind::Slider) return slide(move.id, move.value);
  select(move.id, move.value);
  scroll_to_selection(g().form, move.id);
}

bool InputPath::tab_leaves(bool back) const {
  if (!game_ || question_) return false;
  const Form& form = g().form;
  if (form.focus == ctl::form) return false;
  const ctl::Id next = form.next_focus(back ? -1 : 1);
  const auto& order = form.paint_order();
  const auto at = [&](ctl::Id id) { return std::find(order.begin(), order.end(), id) - order.begin(); };
  return back ? at(next) >= at(form.focus) : at(next) <= at(form.focus);
}

void InputPath::focus_left_game() {
  drop_capture();
  g().form.focus = ctl::form;
}

// ---- The window's controls ----

void InputPath::drop_capture() {
  capture_ = ctl::form;
  capture_inside_ = false;
  thumb_grab_.reset();
  space_held_ = ctl::form;
}

void InputPath::focus_lost() {
  drop_capture();
  finger_.held = false;
  held_ = {};
  stick_.reset();
  question_capture_ = -1;
  if (question_) question_->pressed = -1;
}

// A button has the focus and could be clicked (the slider takes the focus too, but no press).
bool InputPath::focused_button() const {
  const Form& form = g().form;
  return form.focus != ctl::form && form[form.focus].kind == Kind::Button && form.clickable(form.focus);
}

void InputPath::slide_to(ctl::Id id, int x) {
  const Control& c = g().form[id];
  const int pos = slider_position_at(slider_geometry(g().form.window_rect(id), c), c, x);
  if (pos != c.position) slide(id, pos);
}

// A press on a list box: on its scroll bar it scrolls (or grabs the thumb), on a row it selects.
void InputPath::press_list(ctl::Id id, Pointer p) {
  if (press_scroll_bar(g().form, id, p.x, p.y, thumb_grab_)) return;
  const Control& c = g().form[id];
  const int index = list_item_at(list_geometry(g().form.window_rect(id), c), c, p.x, p.y);
  if (index >= 0) select(id, index);
}

void InputPath::pointer_pressed(Pointer p) {
  if (question_) return question_pointer(true, p);
  tip_.pressed();
  if (!p.inside || capture_ != ctl::form) return;
  space_held_ = ctl::form;
  Form& form = g().form;
  const ctl::Id id = form.hit_test(p.x, p.y);
  if (id == ctl::form) return;
  switch (form[id].kind) {
    case Kind::Button:
      capture_ = id;
      capture_inside_ = true;
      form.focus = id;  // a pressed button takes the focus, as on the desktop
      break;
    case Kind::Slider:
      capture_ = id;
      form.focus = id;
      slide_to(id, p.x);
      break;
    case Kind::ListBox:
      capture_ = id;
      press_list(id, p);
      break;
    default: break;
  }
}

void InputPath::pointer_released(Pointer p) {
  if (question_) return question_pointer(false, p);
  const ctl::Id id = capture_;
  if (id == ctl::form) return;
  const Form& form = g().form;
  const bool over = p.inside && form.shown(id) && form.visible_rect(id).contains(p.x, p.y) &&
                    form.hit_test(p.x, p.y) == id;
  const bool button = form[id].kind == Kind::Button;
  drop_capture();
  // Released over the button it was pressed on: a click. The button is drawn raised again
  // before the handler runs, so the handler's repaints show it so.
  if (button && over) click(id);
}

void InputPath::pointer_moved(Pointer p, int64_t now_ms) {
  pointer_ = p;
  if (question_) {
    if (question_capture_ >= 0)
      question_->pressed = question_button_at(p) == question_capture_ ? question_capture_ : -1;
    return;
  }
  Form& form = g().form;
  if (capture_ != ctl::form) {
    const Control& c = form[capture_];
    switch (c.kind) {
      case Kind::Button:
        capture_inside_ = p.inside && form.shown(capture_) && form.visible_rect(capture_).contains(p.x, p.y);
        break;
      case Kind::Slider: slide_to(capture_, p.x); break;
      case Kind::ListBox:
        if (thumb_grab_) drag_thumb(form, capture_, p.y, *thumb_grab_);
        break;
      default: break;
    }
    // While a control holds the mouse, the moves are its own.
    hover(capture_);
    return;
  }
  if (!p.inside) return;
  const ctl::Id over = form.hit_test(p.x, p.y);
  tip_.moved(form, over, p.x, p.y, now_ms);
  hover(over);
}

void InputPath::wheel_turned(int notches, std::optional<Pointer> at) {
  const Pointer p = at.value_or(pointer_);
  if (question_ || !p.inside) return;
  Form& form = g().form;
  const ctl::Id over = form.hit_test(p.x, p.y);
  if (form[over].kind == Kind::ListBox) wheel_list(form, over, notches);
}

void InputPath::finger_down(Pointer p, int64_t at_ms) {
  pointer_moved(p, at_ms);
  if (!question_ && g().form[g().form.hit_test(p.x, p.y)].kind == Kind::Button) {
    finger_ = {true, false, p, at_ms};
    return;
  }
  finger_.held = false;
  pointer_pressed(p);
}

void InputPath::finger_moved(Pointer p, int64_t at_ms) {
  constexpr int kSlop = 8;  // window units a tap may wander
  if (finger_.held && (std::abs(p.x - finger_.at.x) > kSlop || std::abs(p.y - finger_.at.y) > kSlop))
    finger_.moved = true;
  pointer_moved(p, at_ms);
}

void InputPath::finger_up(Pointer p, int64_t at_ms) {
  if (!finger_.held) return pointer_released(p);
  finger_.held = false;
  if (finger_.moved || at_ms - finger_.since >= TipTimer::kDelayMs) return;
  pointer_pressed(finger_.at);
  pointer_released(finger_.at);
}

void InputPath::key_down(Key key, bool shift, bool repeat) {
  if (question_) return question_key_down(key, repeat);
  Form& form = g().form;
  switch (key) {
    case Key::Tab: move_focus(shift ? -1 : 1); break;
    case Key::Space:
      if (!repeat && capture_ == ctl::form && focused_button()) space_held_ = form.focus;
      break;
    case Key::Enter:
      if (!repeat && capture_ == ctl::form && space_held_ == ctl::form && focused_button()) click(form.focus);
      break;
    case Key::Left:
    case Key::Up: move_key(MoveKey::Back); break;
    case Key::Right:
    case Key::Down: move_key(MoveKey::Forward); break;
    case Key::PageUp: move_key(MoveKey::PageBack); break;
    case Key::PageDown: move_key(MoveKey::PageForward); break;
    case Key::Home: move_key(MoveKey::Home); break;
    case Key::End: move_key(MoveKey::End); break;
    default: break;
  }
}

// The space bar presses when it is let go, as a pressed button does.
void InputPath::key_up(Key key) {
  if (key != Key::Space) return;
  if (question_) {
    if (question_capture_ >= 0 || question_->pressed < 0) return;
    answer_ = question_->pressed;
    question_->pressed = -1;
    return;
  }
  if (space_held_ == ctl::form) return;
  const ctl::Id id = space_held_;
  space_held_ = ctl::form;
  if (g().form.focus == id && g().form.clickable(id)) click(id);
}

// ---- A game controller ----

namespace {

// Held, a direction moves the focus again after 0.4 s, then every 0.15 s.
constexpr int kRepeatDelayTicks = 40;
constexpr int kRepeatTicks = 15;
// The stick points once pushed half way, and lets go only once back within a third: a stick
// resting near the edge of its dead zone does not point again and again.
constexpr int kStickPoints = InputPath::kStickFull / 2;
constexpr int kStickLetGo = InputPath::kStickFull / 3;

Direction way_of(PadButton b) {
  switch (b) {
    case PadButton::Up: return Direction::Up;
    case PadButton::Down: return Direction::Down;
    case PadButton::Left: return Direction::Left;
    default: return Direction::Right;
  }
}

Key key_of(Direction way) {
  switch (way) {
    case Direction::Up: return Key::Up;
    case Direction::Down: return Key::Down;
    case Direction::Left: return Key::Left;
    default: return Key::Right;
  }
}

}  // namespace

// A direction: in the question it moves the box's focus as an arrow key does. Where nothing a
// player could use has the focus (none yet, or its panel went), the first control takes it, as
// Tab gives it.
void InputPath::point(Direction way) {
  if (question_) return question_key_down(key_of(way), false);
  const Form& form = g().form;
  if (form.focus == ctl::form || !form.clickable(form.focus)) return move_focus(1);
  // A focused slider takes left and right, a focused list up and down, as the arrow keys.
  const bool across = way == Direction::Left || way == Direction::Right;
  const Kind kind = form[form.focus].kind;
  if ((kind == Kind::Slider && across) || (kind == Kind::ListBox && !across))
    return move_key(way == Direction::Left || way == Direction::Up ? MoveKey::Back : MoveKey::Forward);
  const ctl::Id to = focus_toward(form, way);
  if (to != ctl::form) focus_on(to);
}

void InputPath::hold(Direction way, bool stick) {
  held_.way = way;
  held_.stick = stick;
  held_.ticks = 0;
  point(way);
}

// B on a panel: the way out of the one on top, pressed as its button would be.
void InputPath::leave_panel() {
  const Form& form = g().form;
  if (capture_ != ctl::form) return;
  for (const PanelExit& e : kPanelExits)
    if (form.shown(e.panel) && form.clickable(e.button)) return click(e.button);
}

void InputPath::pad_pressed(PadButton button) {
  switch (button) {
    case PadButton::A: return key_down(Key::Space, false, false);
    case PadButton::B: return question_ ? question_key_down(Key::Escape, false) : leave_panel();
    default: return hold(way_of(button), false);
  }
}

void InputPath::pad_released(PadButton button) {
  if (button == PadButton::A) return key_up(Key::Space);
  if (button == PadButton::B) return;
  if (!held_.stick && held_.way == way_of(button)) held_ = {};
}

// The stick points the way it leans most; moving it on the same way points nowhere new.
void InputPath::stick_moved(int x, int y) {
  const int reach = std::max(std::abs(x), std::abs(y));
  std::optional<Direction> way = stick_;
  if (reach < kStickLetGo) way.reset();
  else if (reach >= kStickPoints)
    way = std::abs(x) >= std::abs(y) ? (x > 0 ? Direction::Right : Direction::Left)
                                     : (y > 0 ? Direction::Down : Direction::Up);
  if (way == stick_) return;
  stick_ = way;
  if (way) hold(*way, true);
  else if (held_.stick) held_ = {};
}

void InputPath::press(ctl::Id id) {
  if (question_ || id == ctl::count) return;
  if (g().form[id].kind == Kind::Button && g().form.clickable(id)) click(id);
}

// ---- The question box ----

void InputPath::ask(const std::string& text, const QuestionGeometry& where) {
  drop_capture();
  finger_.held = false;
  held_ = {};  // a direction held into the question does not run on in its box
  question_ = QuestionView{text, 0, -1};
  question_where_ = where;
  question_capture_ = -1;
  answer_ = -1;
}

bool InputPath::finish_question() {
  const bool yes = answer_ == 0;
  question_.reset();
  question_capture_ = -1;
  answer_ = -1;
  if (recorder_) recorder_->answered(yes);
  return yes;
}

void InputPath::press_answer(bool yes) {
  if (question_) answer_ = yes ? 0 : 1;
}

// Which of the box's buttons lies under a point of the window: 0 yes, 1 no, -1 neither.
int InputPath::question_button_at(Pointer p) const {
  if (!p.inside) return -1;
  if (question_where_.yes.contains(p.x, p.y)) return 0;
  if (question_where_.no.contains(p.x, p.y)) return 1;
  return -1;
}

// Its buttons answer to Y and N, Escape says no (nothing is given away); Enter, or the space bar
// let go, takes the focused one, which Tab and the arrows move.
void InputPath::question_key_down(Key key, bool repeat) {
  QuestionView& q = *question_;
  if (question_capture_ >= 0) return;  // the mouse holds a button
  switch (key) {
    case Key::Yes: answer_ = 0; break;
    case Key::No:
    case Key::Escape: answer_ = 1; break;
    case Key::Space:
      if (!repeat) q.pressed = q.focus;
      break;
    case Key::Tab:
    case Key::Left:
    case Key::Right:
    case Key::Up:
    case Key::Down:
      if (q.pressed < 0) q.focus = 1 - q.focus;
      break;
    case Key::Enter:
      if (!repeat && q.pressed < 0) answer_ = q.focus;
      break;
    default: break;
  }
}

// A button of the box answers when the mouse is let go over the button it was pressed on;
// presses anywhere else are refused: only the question can be answered now.
void InputPath::question_pointer(bool down, Pointer p) {
  QuestionView& q = *question_;
  const int b = question_button_at(p);
  if (down) {
    if (b < 0) return;
    question_capture_ = b;
    q.focus = b;
    q.pressed = b;
    return;
  }
  if (question_capture_ < 0) return;
  const int held = question_capture_;
  question_capture_ = -1;
  q.pressed = -1;
  if (b == held) answer_ = held;
}

// ---- The timer and the picture ----

int InputPath::ms_to_tick(int64_t now_ms) const {
  return static_cast<int>(std::clamp<int64_t>(next_tick_ - now_ms, 0, kTimerMs));
}

// After a long handler the timer fires once, not once for every period missed. The timer also
// runs while a question waits, inside the operation that asked. A controller's direction held
// down moves the focus again on its ticks.
void InputPath::tick(int64_t now_ms) {
  if (held_.way && ++held_.ticks >= kRepeatDelayTicks && (held_.ticks - kRepeatDelayTicks) % kRepeatTicks == 0)
    point(*held_.way);
  next_tick_ += kTimerMs;
  if (next_tick_ <= now_ms) next_tick_ = now_ms + kTimerMs;
  settled_ = !(recorder_ ? recorder_->record_tick([&] { return timer_tick(g()); }) : timer_tick(g()));
  tip_.tick(now_ms);
}

UiState InputPath::ui() const {
  UiState ui;
  if (!game_) return ui;
  if (capture_ != ctl::form && capture_inside_ && g().form[capture_].kind == Kind::Button) ui.pressed = capture_;
  else if (space_held_ != ctl::form) ui.pressed = space_held_;
  ui.tip = tip_.view(g().form);
  ui.question = question_;
  return ui;
}

bool InputPath::needs_redraw() const {
  if (!game_) return false;
  const Form& form = g().form;
  return !drawn_ || form.revision() != drawn_revision_ || form.focus != drawn_focus_ || ui() != drawn_ui_ ||
         form.client_width() != drawn_width_ || form.client_height() != drawn_height_;
}

void InputPath::drawn() {
  const Form& form = g().form;
  drawn_ = true;
  drawn_revision_ = form.revision();
  drawn_focus_ = form.focus;
  drawn_ui_ = ui();
  drawn_width_ = form.client_width();
  drawn_height_ = form.client_height();
}
