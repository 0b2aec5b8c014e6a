// Drawing on a canvas: what a reader sees is what drawing at once gives, whenever it looks.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "ui/canvas.hpp"

namespace {

std::vector<uint32_t> pixels(const Canvas& c) { return {c.data(), c.data() + c.width * c.height}; }

void paint_noise(Canvas& c, uint32_t seed) {
  uint32_t* p = c.writable();
  for (int i = 0; i < c.width * c.height; ++i) p[i] = (static_cast<uint32_t>(i) * 2654435761u + seed) & 0xFFFFFF;
}

// The drawing calls done a pixel at a time, straight from what each call means, for the canvas's
// noted and merged operations to be checked against.
struct PlainPicture {
  int w, h;
  std::vector<uint32_t> px;
  PlainPicture(int w, int h) : w(w), h(h), px(static_cast<size_t>(w) * h, bgr_to_rgb(cl::white)) {}

  void put(int x, int y, uint32_t rgb) {
    if (x >= 0 && y >= 0 && x < w && y < h) px[static_cast<size_t>(y) * w + x] = rgb;
  }
  static bool on_edge(int x, int y, int x1, int y1, int x2, int y2) {
    return x == x1 || y == y1 || x == x2 - 1 || y == y2 - 1;
  }
  void fill(int x1, int y1, int x2, int y2, uint32_t colour) {
    for (int y = y1; y < y2; ++y)
      for (int x = x1; x < x2; ++x) put(x, y, bgr_to_rgb(colour));
  }
  void rectangle(int x1, int y1, int x2, int y2, uint32_t brush, uint32_t pen) {
    for (int y = y1; y < y2; ++y)
      for (int x = x1; x < x2; ++x) put(x, y, bgr_to_rgb(on_edge(x, y, x1, y1, x2, y2) ? pen : brush));
  }
  void frame(int x1, int y1, int x2, int y2, uint32_t brush) {
    for (int y = y1; y < y2; ++y)
      for (int x = x1; x < x2; ++x)
        if (on_edge(x, y, x1, y1, x2, y2)) put(x, y, bgr_to_rgb(brush));
  }
  // Nearest-neighbour: the source pixel under each destination pixel, the source as it was. A
  // stretched row repeats the row above it whole, the part beside the source included.
  void copy(int dx1, int dy1, int dx2, int dy2, const std::vector<uint32_t>& from, int fw, int fh,
            int sx1, int sy1, int sx2, int sy2) {
    if (dx2 <= dx1 || dy2 <= dy1 || sx2 <= sx1 || sy2 <= sy1) return;
    const int xa = std::max(dx1, 0), xb = std::min(dx2, w);
    int last_sy = -1, last_y = -1;
    for (int y = std::max(dy1, 0); y < std::min(dy2, h); ++y) {
      const int sy = sy1 + static_cast<int>(int64_t{y - dy1} * (sy2 - sy1) / (dy2 - dy1));
      if (sy < 0 || sy >= fh) continue;
      for (int x = xa; x < xb; ++x) {
        const int sx = sx1 + static_cast<int>(int64_t{x - dx1} * (sx2 - sx1) / (dx2 - dx1));
        if (sy == last_sy) put(x, y, px[static_cast<size_t>(last_y) * w + x]);
        else if (sx >= 0 && sx < fw) put(x, y, from[static_cast<size_t>(sy) * fw + sx]);
      }
      last_sy = sy;
      last_y = y;
    }
  }
  void blend(int x0, int y0, int mw, int mh, const uint8_t* alpha, uint32_t colour) {
    const uint32_t fg = bgr_to_rgb(colour);
    for (int j = 0; j < mh; ++j)
      for (int i = 0; i < mw; ++i) {
        const int x = x0 + i, y = y0 + j;
        const uint32_t a = alpha[j * mw + i];
        if (x < 0 || y < 0 || x >= w || y >= h) continue;
        uint32_t& d = px[static_cast<size_t>(y) * w + x];
        uint32_t out = 0;
        for (int shift : {16, 8, 0})
          out |= ((((fg >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * (255 - a) + 127) / 255) << shift;
        d = out;
      }
  }
};

// Random sequences of the effects' drawing calls, on two canvases alike: one looked at after
// every call (each call written at once), one only now and then. They must agree at every look,
// with each other and with the calls done a pixel at a time.
TEST(Canvas, WhatAReaderSeesDoesNotDependOnWhenItLooks) {
  std::mt19937 rng(12345);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 200; ++round) {
    Canvas src, eager, lazy;
    src.resize(64, 64);
    paint_noise(src, 1);
    for (Canvas* c : {&eager, &lazy}) c->resize(40, 30);
    PlainPicture plain(40, 30);
    const uint8_t mask[4] = {0, 80, 200, 255};
    std::vector<std::array<int, 4>> drawn;  // rectangles drawn before, to draw on again
    for (int step = 0; step < 60; ++step) {
      int x1 = pick(-5, 40), y1 = pick(-5, 30);
      int x2 = x1 + pick(0, 45), y2 = y1 + pick(0, 35);
      if (!drawn.empty() && pick(0, 2) == 0) {
        const auto& again = drawn[static_cast<size_t>(pick(0, static_cast<int>(drawn.size()) - 1))];
        x1 = again[0], y1 = again[1], x2 = again[2], y2 = again[3];
      }
      drawn.push_back({x1, y1, x2, y2});
      const bool whole = pick(0, 4) == 0;
      const uint32_t colour = static_cast<uint32_t>(pick(0, 0xFFFFFF));
      const int op = pick(0, 7);
      const int sx = pick(-8, 60), sy = pick(-8, 60), sw = pick(0, 70), sh = pick(0, 70);
      if (op == 6) {
        paint_noise(src, static_cast<uint32_t>(step));  // the source changes under noted copies
        continue;
      }
      const uint32_t pen = op == 1 ? colour : colour ^ 0x00FF00;
      const std::vector<uint32_t> source = pixels(src), itself = plain.px;
      switch (op) {
        case 0: whole ? plain.fill(0, 0, 40, 30, colour) : plain.fill(x1, y1, x2, y2, colour); break;
        case 1: case 2: plain.rectangle(x1, y1, x2, y2, colour, pen); break;
        case 3: whole ? plain.copy(0, 0, 40, 30, source, 64, 64, 0, 0, 64, 64)
                      : plain.copy(x1, y1, x2, y2, source, 64, 64, sx, sy, sx + sw, sy + sh);
                break;
        case 4: plain.copy(x1, y1, x2, y2, itself, 40, 30, 0, 0, 20, 15); break;
        case 5: plain.blend(x1, y1, 2, 2, mask, colour); break;
        case 7: plain.frame(x1, y1, x2, y2, colour); break;
      }
      for (Canvas* c : {&eager, &lazy}) {
        c->brush = colour;
        c->pen = pen;
        switch (op) {
          case 0: whole ? c->fill_rect(0, 0, 40, 30) : c->fill_rect(x1, y1, x2, y2); break;
          case 1: case 2: c->rectangle(x1, y1, x2, y2); break;
          case 3: whole ? c->copy_rect(0, 0, 40, 30, src, 0, 0, 64, 64)
                        : c->copy_rect(x1, y1, x2, y2, src, sx, sy, sx + sw, sy + sh);
                  break;
          case 4: c->copy_rect(x1, y1, x2, y2, *c, 0, 0, 20, 15); break;
          case 5: c->blend_mask(x1, y1, 2, 2, mask, colour); break;
          case 7: c->frame_rect(x1, y1, x2, y2); break;
        }
      }
      (void)eager.data();  // looks at every step
      if (pick(0, 9) == 0) {
        ASSERT_EQ(pixels(lazy), pixels(eager)) << "round " << round << " step " << step;
        ASSERT_EQ(pixels(lazy), plain.px) << "round " << round << " step " << step;
      }
    }
    ASSERT_EQ(pixels(lazy), pixels(eager)) << "round " << round;
    ASSERT_EQ(pixels(lazy), plain.px) << "round " << round;
  }
}

TEST(Canvas, AWholeCopyIsWrittenAgainOnceItsSourceChanged) {
  Canvas src, c;
  src.resize(8, 8);
  c.resize(16, 16);
  paint_noise(src, 1);
  c.copy_rect(0, 0, 16, 16, src, 0, 0, 8, 8);
  const uint64_t seen = c.revision;
  EXPECT_EQ(c.at(15, 15), src.at(7, 7));
  paint_noise(src, 99);
  c.copy_rect(0, 0, 16, 16, src, 0, 0, 8, 8);
  EXPECT_EQ(c.at(15, 15), src.at(7, 7));
  EXPECT_GT(c.revision, seen) << "a renderer must upload it again";
}

TEST(Canvas, DrawingNobodyLooksAtIsOnlyNoted) {
  Canvas src, c;
  src.resize(64, 64);
  c.resize(200, 200);
  const uint64_t before = c.revision;
  // A battle's sweep: a band, the opponent over the whole picture, a band...
  for (int k = 0; k < 1000; ++k) {
    c.brush = c.pen = cl::red;
    c.rectangle(0, 8 * (k % 25), 200, 8 * (k % 25) + 25);
    c.copy_rect(0, 0, 200, 200, src, 0, 0, 64, 64);
  }
  EXPECT_LE(c.pending(), 1u);
  EXPECT_EQ(c.revision, before + 2000) << "every call is a change to a renderer";
  // The road's steps: two-coloured rings, each drawn over by the next, the same ones every step.
  c.pen = cl::black;
  for (int step = 0; step < 100; ++step)
    for (int i = 0; i <= 25; ++i)
      for (uint32_t colour : {cl::maroon, cl::black}) {
        c.brush = colour;
        c.rectangle(75 - 3 * i, 8 * i, 125 + 3 * i, 8 * i + 25);
      }
  EXPECT_LE(c.pending(), 27u) << "what a later ring covers is never written";
}

}  // namespace
