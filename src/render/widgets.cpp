// The slider's and the list box's geometry, and hit-testing against it.
#include "render/widgets.hpp"

#include <algorithm>

namespace {
constexpr int kScrollBar = 16;  // the classic desktop's scroll bar width and arrow size
constexpr int kMinThumb = 8;
constexpr int kThumbHalf = 5;
}  // namespace

int SliderGeometry::tick_x(const Control& c, int position) const {
  const int span = c.max - c.min;
  if (span <= 0) return first_x;
  const int p = std::clamp(position, c.min, c.max) - c.min;
  return first_x + static_cast<int>((static_cast<int64_t>(last_x - first_x) * p + span / 2) / span);
}

SliderGeometry slider_geometry(const Rect& r, const Control& c) {
  SliderGeometry g;
  g.first_x = r.x + 12;
  g.last_x = std::max(g.first_x, r.x + r.w - 13);
  g.channel = {r.x + 8, r.y + 8, std::max(0, r.w - 16), 4};
  g.thumb_point = 5;
  const int x = g.tick_x(c, c.position);
  g.thumb = {x - kThumbHalf, r.y + 2, 2 * kThumbHalf + 1, 18};
  // The ticks end three rows above the bottom edge, where the dotted focus frame runs: with one
  // row between them the dots read as touching the ticks at 1x. The thumb's point reaches its tick.
  g.tick_y = r.y + 20;
  g.tick_h = 2;
  return g;
}

int slider_position_at(const SliderGeometry& g, const Control& c, int x) {
  const int span = c.max - c.min;
  if (span <= 0 || g.last_x <= g.first_x) return c.min;
  const int width = g.last_x - g.first_x;
  const int64_t offset = std::clamp(x - g.first_x, 0, width);
  return c.min + static_cast<int>((offset * span + width / 2) / width);
}

ListGeometry list_geometry(const Rect& r, const Control& c) {
  ListGeometry g;
  g.inner = {r.x + 2, r.y + 2, std::max(0, r.w - 4), std::max(0, r.h - 4)};
  g.item_h = std::max(1, c.look.font.px + 1);
  g.visible_rows = g.inner.h / g.item_h;
  const int count = static_cast<int>(c.items.size());
  g.max_top = std::max(0, count - std::max(1, g.visible_rows));
  g.scroll_bar = count > g.visible_rows && g.inner.w > kScrollBar;
  g.rows = g.inner;
  if (!g.scroll_bar) return g;
  g.rows.w -= kScrollBar;
  g.bar = {g.inner.x + g.inner.w - kScrollBar, g.inner.y, kScrollBar, g.inner.h};
  const int arrow = std::min(kScrollBar, g.bar.h / 2);
  g.up = {g.bar.x, g.bar.y, kScrollBar, arrow};
  g.down = {g.bar.x, g.bar.y + g.bar.h - arrow, kScrollBar, arrow};
  g.track = {g.bar.x, g.up.y + g.up.h, kScrollBar, std::max(0, g.bar.h - 2 * arrow)};
  if (g.track.h >= kMinThumb && count > 0) {
    const int len = std::clamp(g.track.h * std::max(1, g.visible_rows) / count, kMinThumb, g.track.h);
    const int top = std::clamp(c.top_index, 0, g.max_top);
    const int y = g.max_top > 0 ? (g.track.h - len) * top / g.max_top : 0;
    g.thumb = {g.track.x, g.track.y + y, kScrollBar, len};
  }
  return g;
}

int list_item_at(const ListGeometry& g, const Control& c, int x, int y) {
  if (!g.rows.contains(x, y)) return -1;
  const int index = std::max(0, c.top_index) + (y - g.rows.y) / g.item_h;
  return index < static_cast<int>(c.items.size()) ? index : -1;
}

int list_top_for_thumb(const ListGeometry& g, int thumb_top) {
  const int room = g.track.h - g.thumb.h;
  if (room <= 0 || g.max_top <= 0) return 0;
  const int offset = std::clamp(thumb_top - g.track.y, 0, room);
  return (offset * g.max_top + room / 2) / room;
}
