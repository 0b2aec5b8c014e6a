#include <gtest/gtest.h>

#include "support/auto_player.hpp"
#include "support/battle_game.hpp"

namespace {

using Lines = std::vector<std::string>;

// The first hill, walked with nothing on the way: the distance counts down and the boss waits
// where it would reach 0.
TEST(Road, TheFirstHillStepByStep) {
  BattleGame b;
  Game& g = b.g();
  for (int step = 1; step <= 28; ++step) {
    b.rig({4});
    click(g, ctl::Button27);
    refresh_status(g);
    EXPECT_EQ(b.utf8(g.form[ctl::d_state].caption), "君ヶ丘\r残り距離：" + std::to_string(29 - step) + "km");
  }
  EXPECT_TRUE(b.no_draws_left());
  EXPECT_EQ(g.boss_battle, 0);
  b.clear_transcript();
  b.rig({1, 1});
  click(g, ctl::Button27);
  EXPECT_EQ(g.boss_battle, 1);
  EXPECT_EQ(b.messages(), (Lines{"聖戦士・月光が現れた", "「この場所に何のようかね」", "ライズの攻撃"}));
  EXPECT_EQ(g.hero.world_flags(200), 0) << "only the last tower opens the star shop";
}

TEST(Road, TheWholeFirstHillToItsBossAndTheNextPlace) {
  TestGame t;
  Game& g = t.g();
  click(g, ctl::Button1);
  g.hero.attack = 99;  // every flick fells what it hits
  g.hero.max_hp = g.hero.hp = 5000;
  click(g, ctl::map2);
  AutoPlayer player{g};
  const long clicks = player.walk_location(10000);
  EXPECT_LT(clicks, 10000);
  EXPECT_EQ(g.hero.world_flags(203), 1);
  EXPECT_EQ(g.boss_battle, 0);
  EXPECT_TRUE(g.form[ctl::map_box].visible);
  const Lines m = t.messages();
  EXPECT_NE(std::find(m.begin(), m.end(), "聖戦士・月光を倒した"), m.end());
  EXPECT_NE(std::find(m.begin(), m.end(), "金塊300円を発見した"), m.end());
  EXPECT_EQ(m.back(), "････ライズは君ヶ丘から地上へ出た");
  EXPECT_FALSE(g.form[ctl::map3].visible);
  timer_tick(g);
  EXPECT_TRUE(g.form.clickable(ctl::map3));
}

TEST(Road, TheLastTowerOpensTheStarShopWhateverBecomesOfTheBoss) {
  BattleGame b(7);
  Game& g = b.g();
  g.location.progress = 49;
  g.hero.hp = 1;
  b.rig({0, 0, 0});  // the boss strikes first and fells the hero
  click(g, ctl::Button27);
  EXPECT_EQ(g.hero.world_flags(200), 1);
  EXPECT_TRUE(g.form[ctl::map_box].visible);
  timer_tick(g);
  EXPECT_TRUE(g.form.clickable(ctl::map0));
}

TEST(Road, TheLastBossEndsTheGame) {
  BattleGame b(7);
  Game& g = b.g();
  g.location.progress = 49;
  g.hero.attack = 99;
  g.hero.hp = g.hero.max_hp = 99999;
  b.host.keep_transcript = true;
  AutoPlayer player{g};
  player.walk_location(100000);
  EXPECT_TRUE(g.form.shown(ctl::end_box));
  EXPECT_EQ(g.hero.world_flags(208), 1);
  timer_tick(g);
  EXPECT_EQ(b.utf8(g.form[ctl::star_cl].caption), std::to_string(g.hero.stars) + "個の星が天へ昇った････");
}

}  // namespace
