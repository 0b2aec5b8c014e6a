#include <gtest/gtest.h>

#include "support/journey.hpp"
#include "support/test_game.hpp"
#include "core/operations.hpp"
#include "game/input.hpp"

namespace {

TEST(Journey, APlayerFinishesTheGame) {
  TestGame t;
  t.host.keep_transcript = false;
  click(t.g(), ctl::Button1);
  Journey j{t.g()};
  EXPECT_TRUE(j.play(400000)) << j.clicks << " clicks, " << j.deaths << " deaths, level " << t.g().hero.level;
  for (int id = 2; id <= 7; ++id) EXPECT_EQ(t.g().hero.world_flags(201 + id), 1) << id;
}

}  // namespace
