// Filling, edging and inking the frame at its zoom, within the clip.
#include "render/painter.hpp"

#include <algorithm>
#include <cstring>

Painter::Painter(Frame& frame, int scale) : f_(frame), s_(std::max(1, scale)) { reset(); }

void Painter::set_clip(const Rect& r) { set_clip_px(to_px(r)); }

void Painter::set_clip_px(const Rect& r) { clip_ = r.intersect(bound_); }

void Painter::fill_px(const Rect& r, uint32_t rgb) {
  const Rect c = r.intersect(clip_);
  if (c.empty()) return;
  // One row by hand, the others copied from it: the C library's copy is far faster than a
  // loop of single stores.
  uint32_t* first = f_.pixels.data() + static_cast<size_t>(c.y) * f_.width + c.x;
  std::fill_n(first, c.w, rgb);
  for (int y = 1; y < c.h; ++y)
    std::memcpy(first + static_cast<size_t>(y) * f_.width, first, sizeof(uint32_t) * c.w);
}

void Painter::frame(const Rect& r, uint32_t rgb) { edge(r, rgb, rgb); }

void Painter::edge(const Rect& r, uint32_t tl, uint32_t br) {
  if (r.w <= 0 || r.h <= 0) return;
  fill({r.x, r.y, r.w, 1}, tl);
  fill({r.x, r.y, 1, r.h}, tl);
  fill({r.x, r.y + r.h - 1, r.w, 1}, br);
  fill({r.x + r.w - 1, r.y, 1, r.h}, br);
}

void Painter::dotted_frame(const Rect& r, uint32_t rgb) {
  if (r.w <= 0 || r.h <= 0) return;
  // The toolkit draws it with a checkered brush, so the dots lie where x + y is even.
  auto dot = [&](int x, int y) {
    if (((x + y) & 1) == 0) pixel(x, y, rgb);
  };
  for (int x = r.x; x < r.x + r.w; ++x) {
    dot(x, r.y);
    dot(x, r.y + r.h - 1);
  }
  for (int y = r.y + 1; y < r.y + r.h - 1; ++y) {
    dot(r.x, y);
    dot(r.x + r.w - 1, y);
  }
}

void Painter::ink_px(const Coverage& ink, int x, int y, uint32_t rgb) {
  const Rect c = Rect{x, y, ink.width, ink.height}.intersect(clip_);
  if (c.empty()) return;
  const uint32_t fr = (rgb >> 16) & 0xFF, fg = (rgb >> 8) & 0xFF, fb = rgb & 0xFF;
  for (int py = c.y; py < c.y + c.h; ++py) {
    const uint8_t* a = ink.alpha.data() + static_cast<size_t>(py - y) * ink.width + (c.x - x);
    uint32_t* d = f_.pixels.data() + static_cast<size_t>(py) * f_.width + c.x;
    for (int px = 0; px < c.w; ++px) {
      const uint32_t k = a[px];
      if (k == 0) continue;
      if (k == 255) {
        d[px] = rgb;
        continue;
      }
      const uint32_t v = d[px];
      const uint32_t r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
      const uint32_t nr = (fr * k + r * (255 - k) + 127) / 255;
      const uint32_t ng = (fg * k + g * (255 - k) + 127) / 255;
      const uint32_t nb = (fb * k + b * (255 - k) + 127) / 255;
      d[px] = (nr << 16) | (ng << 8) | nb;
    }
  }
}

void Painter::text_px(const TextBlock& block, const Rect& box, Align align, uint32_t rgb) {
  int y = box.y;
  for (const TextBlock::Line& line : block.lines) {
    if (y >= clip_.y + clip_.h) break;
    if (line.ink) ink_px(*line.ink, box.x + align_offset(align, box.w, line.width), y + block.ink_top, rgb);
    y += block.line_height;
  }
}

void Painter::image_px(const uint32_t* src, int w, int h, int stride, int x, int y) {
  const Rect c = Rect{x, y, w, h}.intersect(clip_);
  if (c.empty()) return;
  for (int py = c.y; py < c.y + c.h; ++py)
    std::memcpy(f_.pixels.data() + static_cast<size_t>(py) * f_.width + c.x,
                src + static_cast<size_t>(py - y) * stride + (c.x - x), sizeof(uint32_t) * c.w);
}

void Painter::zoomed_image_px(const uint32_t* src, int w, int h, int stride, int x, int y, int dw, int dh) {
  const Rect c = Rect{x, y, dw, dh}.intersect(clip_);
  if (c.empty()) return;
  columns_.resize(static_cast<size_t>(c.w));
  for (int i = 0; i < c.w; ++i)
    columns_[i] = static_cast<int>(static_cast<int64_t>(c.x - x + i) * w / dw);
  int last_row = -1;
  for (int py = c.y; py < c.y + c.h; ++py) {
    uint32_t* out = f_.pixels.data() + static_cast<size_t>(py) * f_.width + c.x;
    const int row = static_cast<int>(static_cast<int64_t>(py - y) * h / dh);
    if (row == last_row) {  // the row above came from the same source row
      std::memcpy(out, out - f_.width, sizeof(uint32_t) * c.w);
      continue;
    }
    const uint32_t* in = src + static_cast<size_t>(row) * stride;
    for (int i = 0; i < c.w; ++i) out[i] = in[columns_[i]];
    last_row = row;
  }
}
