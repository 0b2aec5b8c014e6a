// Drawing on a canvas: what a reader sees is what drawing at once gives, whenever it looks.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "ui/canvas.hpp"

namespace {

std::vector<uint32_t> pixels(const Canvas& c) { return {c.data(), c.data() + c.width * c.height}; }

void paint_noise(Canvas& c, uint32_t seed) {
  uint32_t* p = c.writable();
  for (int i = 0; i < c.width * c.height; ++i) p[i] = (static_cast<uint32_t>(i) * 2654435761u + seed) & 0xFFFFFF;
}

// Random sequences of the effects' drawing calls, on two canvases alike: one looked at after
// every call (each call written at once), one only now and then. They must agree at every look.
TEST(Canvas, WhatAReaderSeesDoesNotDependOnWhenItLooks) {
  std::mt19937 rng(12345);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 200; ++round) {
    Canvas src, eager, lazy;
    src.resize(64, 64);
    paint_noise(src, 1);
    for (Canvas* c : {&eager, &lazy}) c->resize(40, 30);
    const uint8_t mask[4] = {0, 80, 200, 255};
    for (int step = 0; step < 60; ++step) {
      const int x1 = pick(-5, 40), y1 = pick(-5, 30);
      const int x2 = x1 + pick(0, 45), y2 = y1 + pick(0, 35);
      const bool whole = pick(0, 4) == 0;
      const uint32_t colour = static_cast<uint32_t>(pick(0, 0xFFFFFF));
      const int op = pick(0, 7);
      const int sx = pick(-8, 60), sy = pick(-8, 60), sw = pick(0, 70), sh = pick(0, 70);
      if (op == 6) {
        paint_noise(src, static_cast<uint32_t>(step));  // the source changes under noted copies
        continue;
      }
      for (Canvas* c : {&eager, &lazy}) {
        c->brush = colour;
        c->pen = op == 1 ? colour : colour ^ 0x00FF00;
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
      }
    }
    ASSERT_EQ(pixels(lazy), pixels(eager)) << "round " << round;
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
}

}  // namespace
