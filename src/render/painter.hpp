// The window's frame in our own memory, and the painter that draws on it at a zoom.
#pragma once
#include <cstdint>
#include <vector>

#include "render/text_layout.hpp"
#include "ui/form.hpp"

// The picture of the whole window, composed in our own memory: SDL's software renderer fills
// and blends slowly, and one upload of a finished frame costs less than many draw calls.
// Pixels are 0x00RRGGBB (SDL's RGB888).
struct Frame {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  void resize(int w, int h) {
    if (w == width && h == height) return;
    width = w;
    height = h;
    pixels.assign(static_cast<size_t>(w) * h, 0);
  }
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Drawing on a frame at an integer zoom. Shapes take window coordinates (one unit is scale
// pixels, so a one-unit line is scale pixels wide); the *_px calls take screen pixels. Everything
// is clipped to the clip rectangle. Colours are 0xRRGGBB.
class Painter {
 public:
  Painter(Frame& frame, int scale);

  int scale() const { return s_; }
  // The clip and the bound back to the whole frame (after the frame was resized).
  void reset() { bound_ = clip_ = {0, 0, f_.width, f_.height}; }
  // Keeps every clip inside `px` until the next reset: the part of the frame drawn again.
  void bound_to(const Rect& px) { bound_ = clip_ = px.intersect({0, 0, f_.width, f_.height}); }
  // The clip, in window units (screen pixels for set_clip_px); always inside the frame and the
  // bound.
  void set_clip(const Rect& r);
  void set_clip_px(const Rect& r);
  const Rect& clip_px() const { return clip_; }
  Rect to_px(const Rect& r) const { return {r.x * s_, r.y * s_, r.w * s_, r.h * s_}; }

  void fill(const Rect& r, uint32_t rgb) { fill_px(to_px(r), rgb); }
  void fill_px(const Rect& r, uint32_t rgb);
  // A one-unit outline.
  void frame(const Rect& r, uint32_t rgb);
  // One ring of a 3-D edge: top and left in one colour, bottom and right in the other.
  void edge(const Rect& r, uint32_t top_left, uint32_t bottom_right);
  void pixel(int x, int y, uint32_t rgb) { fill({x, y, 1, 1}, rgb); }
  // The toolkit's focus rectangle: every other unit along the outline.
  void dotted_frame(const Rect& r, uint32_t rgb);

  // Text ink in a colour, its top-left at a screen pixel.
  void ink_px(const Coverage& ink, int x, int y, uint32_t rgb);
  // A laid out block: lines from the top of box (screen pixels), each aligned in the box's width.
  void text_px(const TextBlock& block, const Rect& box, Align align, uint32_t rgb);

  // Copies 0xRRGGBB pixels (row length stride) with their top-left at a screen pixel.
  void image_px(const uint32_t* src, int w, int h, int stride, int x, int y);
  // The same pixels zoomed nearest-neighbour to dw x dh: pixel (x, y) of the result is source
  // pixel (x * w / dw, y * h / dh).
  void zoomed_image_px(const uint32_t* src, int w, int h, int stride, int x, int y, int dw, int dh);

 private:
  Frame& f_;
  int s_;
  Rect clip_;
  Rect bound_;
  std::vector<int> columns_;  // the source column of each pixel of a zoomed row
};
