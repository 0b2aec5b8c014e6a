#include <gtest/gtest.h>

#include "core/operations.hpp"
#include "game/input.hpp"
#include "support/test_game.hpp"

namespace {

struct Frame {
  std::string caption;
  int64_t at_ms;
};

std::vector<Frame> type_out(TestGame& t, const std::string& sjis_text, int delay_ms) {
  std::vector<Frame> frames;
  t.g().message_delay_ms = delay_ms;
  const int64_t start = t.host.clock_ms;
  t.host.on_repaint = [&] {
    frames.push_back({t.g().form[ctl::moji_l].caption, t.host.clock_ms - start});
  };
  show_message(t.g(), sjis_text);
  t.host.on_repaint = nullptr;
  frames.push_back({"(end)", t.host.clock_ms - start});
  return frames;
}

TEST(ShowMessage, TypesTwoBytesEvery10msThenPauses) {
  TestGame t;
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> captions;
  } cases[] = {
      {"empty text: one empty caption", "", {""}},
      {"three full-width characters", t.sj("あいう"), {"", t.sj("あ"), t.sj("あい"), t.sj("あいう")}},
      {"odd half-width run splits a full-width character",
       "a" + t.sj("あ"),
       {"", "a\x82", "a" + t.sj("あ")}},
      {"five bytes", "abcde", {"", "ab", "abcd", "abcde"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto frames = type_out(t, c.text, 800);
    ASSERT_EQ(frames.size(), c.captions.size() + 1);
    for (size_t i = 0; i < c.captions.size(); ++i) {
      EXPECT_EQ(frames[i].caption, c.captions[i]) << i;
      EXPECT_EQ(frames[i].at_ms, static_cast<int64_t>(10 * i));
    }
    EXPECT_EQ(frames.back().at_ms, static_cast<int64_t>(10 * c.captions.size() + 800));
    EXPECT_EQ(t.g().message_cursor, 0);
  }
}

TEST(ShowMessage, ALongTextTypesOutInTimeProportionalToItsLength) {
  // Typed by copying the whole prefix at each step, 4 MB would take hours: the test's timeout
  // catches it.
  TestGame t;
  const std::string text(4 << 20, 'a');
  int64_t frames = 0;
  t.host.on_repaint = [&] { ++frames; };
  show_message(t.g(), text);
  t.host.on_repaint = nullptr;
  EXPECT_EQ(frames, static_cast<int64_t>(text.size() / 2 + 1));
  EXPECT_EQ(t.g().form[ctl::moji_l].caption, text);
}

TEST(ShowMessage, EachMessageReplacesTheLastAndIsRecordedInOrder) {
  TestGame t;
  t.clear_transcript();
  show_message(t.g(), t.sj("ひとつめ"));
  show_message(t.g(), t.sj("ふたつめ\rつぎの行"));
  EXPECT_EQ(t.messages(), (std::vector<std::string>{"ひとつめ", "ふたつめ\\rつぎの行"}));
  EXPECT_EQ(t.utf8(t.g().form[ctl::moji_l].caption), "ふたつめ\rつぎの行");
}

TEST(TextSpeed, SliderSetsThePauseFrom300To1300) {
  TestGame t;
  EXPECT_EQ(t.g().message_delay_ms, 800);
  EXPECT_EQ(t.g().form[ctl::e_sp_l].position, 5);
  for (auto [pos, delay] : {std::pair{0, 300}, {10, 1300}, {3, 600}, {5, 800}}) {
    slider_changed(t.g(), ctl::e_sp_l, pos);
    EXPECT_EQ(t.g().message_delay_ms, delay) << pos;
  }
}

}  // namespace
