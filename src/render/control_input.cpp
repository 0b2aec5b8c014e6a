// The tip's delay, the move keys and a list's scrolling, shared by the window and the page.
#include "render/control_input.hpp"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "render/widgets.hpp"

void TipTimer::moved(const Form& form, ctl::Id over, int x, int y, int64_t now_ms) {
  if (over != control_) {
    control_ = form[over].look.hint ? over : ctl::form;
    shown_ = false;
    x_ = x;
    y_ = y;
  }
  if (!shown_) since_ = now_ms;
}

void TipTimer::tick(int64_t now_ms) {
  if (waiting() && now_ms - since_ >= kDelayMs) shown_ = true;
}

std::optional<TipView> TipTimer::view(const Form& form) const {
  if (!shown_ || control_ == ctl::form || !form.shown(control_)) return std::nullopt;
  return TipView{control_, x_, y_};
}

namespace {

// The list box a player can see, if any.
ctl::Id shown_list(const Form& form) {
  for (ctl::Id id : form.paint_order())
    if (form[id].kind == Kind::ListBox && form.shown(id)) return id;
  return ctl::form;
}

}  // namespace

KeyMove move_key_target(const Form& form, MoveKey key) {
  const ctl::Id focus = form.focus;
  if (focus != ctl::form && form[focus].kind == Kind::Slider && form.clickable(focus)) {
    const Control& c = form[focus];
    const int pos = moved_position(c.position, c.min, c.max, key, 2);
    return pos != c.position ? KeyMove{focus, pos} : KeyMove{};
  }
  const ctl::Id list = shown_list(form);
  if (list == ctl::form) return {};
  const Control& c = form[list];
  const int n = static_cast<int>(c.items.size());
  if (n == 0) return {};
  const ListGeometry lg = list_geometry(form.window_rect(list), c);
  // With nothing selected, the first step down lands on the first entry.
  const int from = c.selected < 0 ? (moves_forward(key) ? -1 : 0) : c.selected;
  const int next = moved_position(from, 0, n - 1, key, std::max(1, lg.visible_rows - 1));
  return next != c.selected ? KeyMove{list, next} : KeyMove{};
}

ctl::Id focus_toward(const Form& form, Direction way) {
  const auto centre = [&](ctl::Id id) {
    const Rect r = form.window_rect(id);
    return std::pair{2 * r.x + r.w, 2 * r.y + r.h};  // doubled: whole numbers
  };
  const auto [fx, fy] = centre(form.focus);
  const bool across = way == Direction::Left || way == Direction::Right;
  const int sign = way == Direction::Down || way == Direction::Right ? 1 : -1;
  ctl::Id best = ctl::form;
  int best_score = 0;
  for (ctl::Id id : form.paint_order()) {
    const Kind kind = form[id].kind;
    if (id == form.focus || (kind != Kind::Button && kind != Kind::Slider && kind != Kind::ListBox) || !form.clickable(id))
      continue;
    const auto [x, y] = centre(id);
    const int along = sign * (across ? x - fx : y - fy);
    const int off = std::abs(across ? y - fy : x - fx);
    if (along <= 0) continue;
    const int score = along + 2 * off;
    if (best == ctl::form || score < best_score) best = id, best_score = score;
  }
  return best;
}

void scroll_list(Form& form, ctl::Id id, int top) {
  Control& list = form[id];
  const ListGeometry lg = list_geometry(form.window_rect(id), list);
  top = std::clamp(top, 0, lg.max_top);
  if (top == list.top_index) return;
  list.top_index = top;
  form.touch();
}

bool press_scroll_bar(Form& form, ctl::Id id, int x, int y, std::optional<int>& thumb_grab) {
  const Control& c = form[id];
  const ListGeometry lg = list_geometry(form.window_rect(id), c);
  if (!lg.scroll_bar || !lg.bar.contains(x, y)) return false;
  const int rows = std::max(1, lg.visible_rows);
  if (lg.up.contains(x, y)) scroll_list(form, id, c.top_index - 1);
  else if (lg.down.contains(x, y)) scroll_list(form, id, c.top_index + 1);
  else if (lg.thumb.contains(x, y)) thumb_grab = y - lg.thumb.y;
  else if (y < lg.thumb.y) scroll_list(form, id, c.top_index - rows);
  else scroll_list(form, id, c.top_index + rows);
  return true;
}

void drag_thumb(Form& form, ctl::Id id, int y, int grab) {
  const ListGeometry lg = list_geometry(form.window_rect(id), form[id]);
  if (lg.scroll_bar) scroll_list(form, id, list_top_for_thumb(lg, y - grab));
}

void wheel_list(Form& form, ctl::Id id, int notches) {
  constexpr int kRowsANotch = 3;
  if (notches != 0) scroll_list(form, id, form[id].top_index - notches * kRowsANotch);
}

void scroll_to_selection(Form& form, ctl::Id id) {
  const Control& list = form[id];
  if (list.selected < 0) return;
  const int rows = std::max(1, list_geometry(form.window_rect(id), list).visible_rows);
  if (list.selected < list.top_index) scroll_list(form, id, list.selected);
  else if (list.selected >= list.top_index + rows) scroll_list(form, id, list.selected - rows + 1);
}
