#include <gtest/gtest.h>

#include "effects/effects.hpp"
#include "support/battle_game.hpp"

namespace {

// Records the picture at every repaint, or at every `every`-th one (the rest left unlooked at).
struct Film {
  TestGame t;
  std::vector<std::vector<uint32_t>> frames;
  int repaints = 0;
  explicit Film(int every = 1) {
    Canvas& cg = t.g().form[ctl::cg].canvas;
    cg.resize(200, 200);
    uint32_t* p = cg.writable();
    for (int i = 0; i < 200 * 200; ++i) p[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
    Canvas& bak = t.g().form[ctl::bak].canvas;
    bak.resize(64, 64);
    uint32_t* q = bak.writable();
    for (int i = 0; i < 64 * 64; ++i) q[i] = static_cast<uint32_t>(i * 40503u) & 0xFFFFFF;
    t.host.on_repaint = [this, every] {
      const Canvas& c = t.g().form[ctl::cg].canvas;
      if (repaints++ % every == 0) frames.emplace_back(c.data(), c.data() + 200 * 200);
    };
  }
  uint32_t at(size_t frame, int x, int y) const { return frames[frame][static_cast<size_t>(y) * 200 + x]; }
};

TEST(Effects, TheClosingSquareGrowsFromTheCentre) {
  Film f;
  const std::vector<uint32_t> before(f.t.g().form[ctl::cg].canvas.data(), f.t.g().form[ctl::cg].canvas.data() + 40000);
  close_black(f.t.g());
  ASSERT_EQ(f.frames.size(), 26u);
  for (int i = 0; i <= 25; ++i) {
    const int a = (25 - i) * 4;
    for (int y = 0; y < 200; y += 3)
      for (int x = 0; x < 200; x += 3) {
        const bool inside = x >= a && x < 200 - a && y >= a && y < 200 - a;
        ASSERT_EQ(f.at(i, x, y), inside ? 0u : before[static_cast<size_t>(y) * 200 + x]) << i << " " << x << "," << y;
      }
  }
  EXPECT_EQ(f.t.host.clock_ms, 26);
}

TEST(Effects, FlashHitAlternatesTheColourAndTheOpponent) {
  struct Case {
    int tech;
    uint32_t rgb;  // 0: no flash
  } cases[] = {{1, 0xFF0000}, {9, 0xFFFFFF}, {17, 0xFF00FF}, {0, 0}};
  for (const auto& c : cases) {
    Film f;
    f.t.g().hovered_tech = static_cast<uint8_t>(c.tech);
    const int64_t t0 = f.t.host.clock_ms;
    flash_hit(f.t.g());
    ASSERT_EQ(f.frames.size(), 8u);
    const Canvas& bak = f.t.g().form[ctl::bak].canvas;
    for (int k = 0; k < 8; ++k) {
      const bool colour = c.rgb && k % 2 == 0;
      // the opponent: bak's top-left 64 x 64 stretched over the picture
      EXPECT_EQ(f.at(k, 100, 100), colour ? c.rgb : bak.at(32, 32)) << c.tech << " frame " << k;
      EXPECT_EQ(f.at(k, 199, 0), colour ? c.rgb : bak.at(63, 0)) << c.tech << " frame " << k;
    }
    EXPECT_EQ(f.t.host.clock_ms - t0, 80);
    EXPECT_EQ(f.t.g().form[ctl::cg].canvas.brush, cl::black);
  }
}

TEST(Effects, BandsAndSquares) {
  {
    SCOPED_TRACE("rise_red: bands from the bottom up, 1 ms a frame");
    Film f;
    rise_red(f.t.g());
    ASSERT_EQ(f.frames.size(), 26u);
    EXPECT_NE(f.at(0, 10, 199), 0xFF0000u) << "a band at 200 is outside";
    EXPECT_EQ(f.at(1, 10, 199), 0xFF0000u) << "the next one enters from the bottom";
    EXPECT_EQ(f.at(1, 10, 100), f.t.g().form[ctl::bak].canvas.at(3, 32)) << "over the opponent";
    EXPECT_EQ(f.at(1, 10, 192), 0xFF0000u);
    EXPECT_EQ(f.at(25, 10, 24), 0xFF0000u);
    EXPECT_NE(f.at(25, 10, 25), 0xFF0000u);
    EXPECT_EQ(f.t.host.clock_ms, 26);
  }
  {
    SCOPED_TRACE("close_green: a square shrinking to the centre");
    Film f;
    close_green(f.t.g());
    EXPECT_EQ(f.at(0, 0, 0), 0x008000u);
    EXPECT_EQ(f.at(12, 96, 96), 0x008000u);
    EXPECT_NE(f.at(12, 95, 95), 0x008000u);
  }
  {
    SCOPED_TRACE("rise_white_thin: 12 pixels high, no pause");
    Film f;
    rise_white_thin(f.t.g());
    EXPECT_EQ(f.at(25, 0, 11), 0xFFFFFFu);
    EXPECT_NE(f.at(25, 0, 12), 0xFFFFFFu);
    EXPECT_EQ(f.t.host.clock_ms, 0);
  }
}

// The picture is drawn only when looked at; whichever frames are looked at show what drawing
// every frame at once shows.
TEST(Effects, AFrameLookedAtIsTheFrameDrawnAtOnce) {
  void (*const effects[])(Game&) = {close_black, flash_hit, rise_red, close_green, rise_white_thin,
                                    fall_white, flash_blue, reveal_opponent};
  for (auto* effect : effects) {
    for (int every : {2, 3, 7}) {
      Film all, some(every);
      all.t.g().hovered_tech = some.t.g().hovered_tech = 3;
      effect(all.t.g());
      effect(some.t.g());
      ASSERT_EQ(all.repaints, some.repaints);
      for (size_t k = 0; k < some.frames.size(); ++k)
        ASSERT_TRUE(some.frames[k] == all.frames[k * every]) << "frame " << k * every << ", every " << every;
    }
  }
}

TEST(Effects, ShakeMovesTheWindowFiveTimesAndBack) {
  TestGame t;
  shake_window(t.g());
  EXPECT_EQ(t.host.window_moves, 10);
  EXPECT_EQ(t.host.window_x, 0);
  EXPECT_EQ(t.host.window_y, 0);
}

TEST(Effects, NoPicturesAtAllStillPlay) {
  TestGame t;
  t.g().form[ctl::cg].canvas.clear();
  t.g().form[ctl::bak].canvas.clear();
  flash_hit(t.g());
  close_black(t.g());
  reveal_opponent(t.g());
  EXPECT_EQ(t.g().form[ctl::cg].canvas.width, 200) << "drawing gives the picture a blank canvas";
}

}  // namespace
