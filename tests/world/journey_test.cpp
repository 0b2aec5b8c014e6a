#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/journey.hpp"
#include "support/test_game.hpp"
#include "core/operations.hpp"
#include "platform/headless/script_driver.hpp"

namespace {

// The player finishes the game clicking only what the driver lets a script click: the clicks it
// wrote down replay through the driver, refused nowhere, to the same hero at the same moment.
TEST(Journey, APlayerFinishesTheGameAndItsScriptReplaysIt) {
  TestGame t;
  t.host.keep_transcript = false;
  const std::string script = (t.data.dir() / "journey.script").string();
  Journey j{t.g(), script};
  ASSERT_TRUE(j.player.press(ctl::Button1));
  EXPECT_TRUE(j.play(400000)) << j.clicks << " clicks, " << j.deaths << " deaths, level " << t.g().hero.level;
  for (int id = 2; id <= 7; ++id) EXPECT_EQ(t.g().hero.world_flags(201 + id), 1) << id;
  j.player.script.close();

  TestGame replay;
  std::ifstream in(script);
  std::ostringstream transcript;
  run_script(replay.g(), replay.host, in, transcript);
  EXPECT_EQ(transcript.str().find("error:"), std::string::npos)
      << transcript.str().substr(transcript.str().find("error:"), 200);
  const Hero &a = t.g().hero, &b = replay.g().hero;
  EXPECT_EQ(replay.host.clock_ms, t.host.clock_ms);
  EXPECT_EQ(std::tie(b.level, b.exp, b.money, b.hp, b.stars), std::tie(a.level, a.exp, a.money, a.hp, a.stars));
}

}  // namespace
