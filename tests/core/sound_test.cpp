#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "audio/audio_support.hpp"
#include "core/operations.hpp"
#include "game/input.hpp"
#include "support/test_game.hpp"

namespace {

using audio_test::Bytes;

// A game listening through the virtual output, with its own waves in dat/: each sound a ramp
// starting at its own value, so the output tells which sound played and in what order.
struct Listening {
  Listening() {
    setenv("XDG_CONFIG_HOME", "/nonexistent-lushera-config", 1);
    t = std::make_unique<TestGame>(false);
    t->host.with_audio = true;
    put("1.wav", 10);
    put("on1.wav", 60);
    put("off1.wav", 110);
    put("item.wav", 160);
    put("walk.wav", 210);
    create_window(t->g());
  }
  void put(const char* name, uint8_t first) {
    const Bytes image = audio_test::plain_wave(audio_test::ramp(kLength, first));
    t->data.write(t->data.dat(name), std::string(image.begin(), image.end()));
  }
  // The sounds heard, by the first value of each ramp found in what reached the device.
  std::vector<int> heard() const {
    std::vector<int> firsts;
    const Bytes& out = t->host.audio.given();
    for (size_t i = 0; i + kLength <= out.size(); ++i) {
      bool ramp = true;
      for (size_t k = 1; k < kLength && ramp; ++k) ramp = out[i + k] == static_cast<uint8_t>(out[i] + k);
      if (ramp && (out[i] % 50) == 10) {
        firsts.push_back(out[i]);
        i += kLength - 1;
      }
    }
    return firsts;
  }
  void listen(int ms) { t->host.sleep_ms(ms); }
  static constexpr size_t kLength = 40;
  std::unique_ptr<TestGame> t;
};

TEST(Sound, EachKindOfActionHasItsSound) {
  Listening l;
  Game& g = l.t->g();
  click(g, ctl::Button1);                 // a button: 1.wav
  click(g, ctl::map2);                    // entering a place: walk.wav
  click(g, ctl::Button16);                // back on the map
  click(g, ctl::Button14);                // the shop panel: 1.wav
  click(g, ctl::Button21);                // the tool shop: 1.wav
  g.hero.money = 10;
  click(g, ctl::Button32);                // a purchase: on1.wav
  click(g, ctl::Button32);                // refused: off1.wav
  click(g, ctl::Button31);                // 1.wav
  click(g, ctl::BitBtn1);                 // the item panel: 1.wav
  list_select(g, ctl::item_list, 0);
  click(g, ctl::item_use);                // an item takes effect: item.wav
  l.listen(3000);
  EXPECT_EQ(l.heard(), (std::vector<int>{10, 210, 10, 10, 60, 110, 10, 10, 160}));
  EXPECT_TRUE(l.t->lines("error-box: ").empty());
}

TEST(Sound, ThreeQuickClicksAreHeardOneAfterAnother) {
  Listening l;
  Game& g = l.t->g();
  click(g, ctl::Button39);
  click(g, ctl::BitBtn3);
  click(g, ctl::BitBtn2);
  l.listen(1000);
  EXPECT_EQ(l.heard(), (std::vector<int>{10, 10, 10}));
  // One after another on channel 0, never mixed over each other: every byte is silence or a
  // sample of one click.
  const Bytes& out = l.t->host.audio.given();
  EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](uint8_t b) {
    return b == 128 || (b >= 10 && b < 10 + Listening::kLength);
  }));
}

TEST(Sound, MissingOrBrokenWavesLeaveTheGameSilent) {
  for (const char* broken : {"", "RIFF\x04\x00\x00\x00WAVE", "not a wave at all"}) {
    setenv("XDG_CONFIG_HOME", "/nonexistent-lushera-config", 1);
    TestGame t(false);
    t.host.with_audio = true;
    for (const char* w : {"1.wav", "on1.wav", "off1.wav", "item.wav", "walk.wav"}) std::filesystem::remove(t.data.dat(w));
    if (*broken) t.data.write(t.data.dat("1.wav"), broken);
    create_window(t.g());
    click(t.g(), ctl::Button1);
    click(t.g(), ctl::BitBtn3);
    t.host.sleep_ms(500);
    EXPECT_TRUE(std::all_of(t.host.audio.given().begin(), t.host.audio.given().end(),
                            [](uint8_t b) { return b == 128; }));
    EXPECT_TRUE(t.lines("error-box: ").empty());
    EXPECT_TRUE(t.messages().empty());
    EXPECT_EQ(t.lines("sound: ").size(), 2u) << "asked for all the same";
  }
}

TEST(Sound, NoOutputDeviceStillPlays) {
  TestGame t;
  EXPECT_EQ(t.g().sound.mixer, nullptr);
  click(t.g(), ctl::Button1);
  EXPECT_TRUE(t.g().form[ctl::map_box].visible);
}

TEST(Sound, TheFirstWaveIsOpenedAndTheLastReleased) {
  Listening l;
  Game& g = l.t->g();
  ASSERT_NE(g.sound.mixer, nullptr);
  EXPECT_NE(g.sound.current, nullptr) << "start-up opens 1.wav";
  EXPECT_TRUE(l.heard().empty()) << "without playing it";
  click(g, ctl::Button1);
  destroy_window(g);
  EXPECT_EQ(g.sound.current, nullptr);
}

}  // namespace
