// The form built from the layout table: its controls changed, hit-tested and focused.
#include "ui/form.hpp"

#include <algorithm>

#include "ui/sjis.hpp"

namespace {
bool drawn_only(Kind k) {
  return k == Kind::Label || k == Kind::Picture || k == Kind::Gauge || k == Kind::Shape;
}
}  // namespace

Rect Rect::intersect(const Rect& o) const {
  const int x1 = std::max(x, o.x), y1 = std::max(y, o.y);
  const int x2 = std::min(x + w, o.x + o.w), y2 = std::min(y + h, o.y + o.h);
  return {x1, y1, std::max(0, x2 - x1), std::max(0, y2 - y1)};
}

Form::Form(const Sjis& sjis, int client_width, int client_height)
    : client_w_(client_width), client_h_(client_height) {
  for (int i = 0; i < ctl::count; ++i) {
    const auto id = static_cast<ctl::Id>(i);
    const ControlSpec& s = spec(id);
    Control& c = controls_[i];
    c.id = id;
    c.kind = s.kind;
    c.parent = s.parent;
    c.x = s.x;
    c.y = s.y;
    c.w = s.w;
    c.h = s.h;
    c.visible = s.visible;
    c.caption = sjis.from_utf8(s.caption);
    c.look = s.look;
  }
  Control& slider = controls_[ctl::e_sp_l];
  slider.min = 0;
  slider.max = 10;
  slider.position = 5;
  controls_[ctl::w_exp2].max = 9;

  for (int i = 0; i < ctl::count; ++i)
    if (controls_[i].kind == Kind::Picture) pictures_.push_back(static_cast<ctl::Id>(i));

  // Painting order: depth first from the window, each parent's drawn-only children first.
  std::vector<std::vector<ctl::Id>> children(ctl::count);
  for (int i = 1; i < ctl::count; ++i) children[controls_[i].parent].push_back(static_cast<ctl::Id>(i));
  auto visit = [&](auto&& self, ctl::Id id) -> void {
    const size_t at = paint_order_.size();
    paint_order_.push_back(id);
    after_.push_back(0);
    for (int pass = 0; pass < 2; ++pass)
      for (ctl::Id child : children[id])
        if (drawn_only(controls_[child].kind) == (pass == 0)) self(self, child);
    after_[at] = static_cast<int>(paint_order_.size());
  };
  visit(visit, ctl::form);
}

const char* Form::name(ctl::Id id) { return spec(id).name; }

ctl::Id Form::find(std::string_view n) {
  // The scripted driver names a control at every command: the names sorted once, searched.
  static const std::vector<std::pair<std::string_view, ctl::Id>> by_name = [] {
    std::vector<std::pair<std::string_view, ctl::Id>> v;
    for (int i = 0; i < ctl::count; ++i) v.emplace_back(spec(static_cast<ctl::Id>(i)).name, static_cast<ctl::Id>(i));
    std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return v;
  }();
  const auto it = std::lower_bound(by_name.begin(), by_name.end(), n,
                                   [](const auto& e, std::string_view key) { return e.first < key; });
  return it != by_name.end() && it->first == n ? it->second : ctl::count;
}

void Form::set_caption(ctl::Id id, const std::string& text) {
  if (controls_[id].caption == text) return;
  controls_[id].caption = text;
  ++revision_;
}

void Form::append_caption(ctl::Id id, std::string_view text) {
  if (text.empty()) return;
  controls_[id].caption += text;
  ++revision_;
}

void Form::set_visible(ctl::Id id, bool v) {
  if (controls_[id].visible == v) return;
  controls_[id].visible = v;
  ++revision_;
}

void Form::move(ctl::Id id, int x, int y) {
  controls_[id].x = x;
  controls_[id].y = y;
  placed_ = false;
  ++revision_;
}

void Form::resize(ctl::Id id, int w, int h) {
  controls_[id].w = w;
  controls_[id].h = h;
  placed_ = false;
  ++revision_;
}

void Form::set_back(ctl::Id id, uint32_t colour) {
  if (controls_[id].look.back == colour) return;
  controls_[id].look.back = colour;
  ++revision_;
}

void Form::set_fore(ctl::Id id, uint32_t colour) {
  if (controls_[id].look.fore == colour) return;
  controls_[id].look.fore = colour;
  ++revision_;
}

void Form::set_gauge(ctl::Id id, int max, int progress) {
  Control& c = controls_[id];
  if (c.max == max && c.position == progress) return;
  c.max = max;
  c.position = progress;
  ++revision_;
}

void Form::set_position(ctl::Id id, int position) {
  Control& c = controls_[id];
  position = std::clamp(position, c.min, c.max);
  if (c.position == position) return;
  c.position = position;
  ++revision_;
}

void Form::set_client_size(int w, int h) {
  client_w_ = w;
  client_h_ = h;
  placed_ = false;
  ++revision_;
}

bool Form::shown(ctl::Id id) const {
  for (ctl::Id i = id; i != ctl::form; i = controls_[i].parent)
    if (!controls_[i].visible) return false;
  return true;
}

void Form::place() const {
  // The window's own rectangle is the client area; a control lies at its offset in its parent
  // (which comes before it in painting order), and shows within what every panel lets through.
  for (const ctl::Id id : paint_order_) {
    Placement& p = placements_[id];
    if (id == ctl::form) {
      p = {{0, 0, client_w_, client_h_}, {0, 0, client_w_, client_h_}};
      continue;
    }
    const Control& c = controls_[id];
    const Placement& in = placements_[c.parent];
    p.window = {in.window.x + c.x, in.window.y + c.y, c.w, c.h};
    p.visible = p.window.intersect(in.visible);
  }
  placed_ = true;
}

Rect Form::window_rect(ctl::Id id) const { return placed(id).window; }

Rect Form::visible_rect(ctl::Id id) const { return placed(id).visible; }

ctl::Id Form::hit_test(int x, int y) const {
  // The last shown control under the point in painting order is the topmost. A hidden control,
  // or one whose visible part the point lies outside, hides everything in it: passed over whole.
  if (!placed(ctl::form).visible.contains(x, y)) return ctl::form;
  ctl::Id top = ctl::form;
  const int n = static_cast<int>(paint_order_.size());
  for (int i = 1; i < n;) {
    const ctl::Id id = paint_order_[i];
    if (!controls_[id].visible || !placements_[id].visible.contains(x, y)) {
      i = after_[i];
      continue;
    }
    top = id;
    ++i;
  }
  return top;
}

bool Form::clickable(ctl::Id id) const {
  if (id == ctl::form || !shown(id)) return false;
  const Rect r = window_rect(id);
  const int cx = r.x + r.w / 2, cy = r.y + r.h / 2;
  if (!visible_rect(id).contains(cx, cy)) return false;
  return hit_test(cx, cy) == id;
}

int moved_position(int position, int min, int max, MoveKey key, int page) {
  switch (key) {
    case MoveKey::Back: position -= 1; break;
    case MoveKey::Forward: position += 1; break;
    case MoveKey::PageBack: position -= page; break;
    case MoveKey::PageForward: position += page; break;
    case MoveKey::Home: return min;
    case MoveKey::End: return max;
  }
  return std::clamp(position, min, max);
}

ctl::Id Form::next_focus(int direction) const {
  const int n = static_cast<int>(paint_order_.size());
  int at = -1;
  for (int i = 0; i < n; ++i)
    if (paint_order_[i] == focus) at = i;
  for (int step = 1; step <= n; ++step) {
    int i = at < 0 ? (direction > 0 ? step - 1 : n - step) : at + direction * step;
    i = ((i % n) + n) % n;
    const ctl::Id id = paint_order_[i];
    const Kind kind = controls_[id].kind;
    if ((kind == Kind::Button || kind == Kind::Slider) && clickable(id)) return id;
  }
  return ctl::form;
}

uint64_t Form::revision() const {
  uint64_t r = revision_;
  for (ctl::Id id : pictures_) r += controls_[id].canvas.revision;
  return r;
}
