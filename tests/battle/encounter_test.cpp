#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/battle_game.hpp"

namespace {

using Lines = std::vector<std::string>;

TEST(RandomOpponent, IsMadeFromTheDraws) {
  struct Case {
    const char* name;
    int hero_level, job_range, level_draw;
    std::vector<int> rest;  // name, made-up check, hp, mp, class (if n > 0), attribute, spirit
    int level, hp, mp, job, attribute, spirit;
  } cases[] = {
      {"level 1 on the first hill", 1, 0, 4, {5, 0, 0, 2, 3, 9}, 1, 16, 10, 0, 3, 12},
      {"the +2 offset", 1, 0, 9, {5, 0, 1, 0, 0, 0}, 2, 23, 8, 0, 0, 6},
      {"-3 floors at 1", 1, 0, 10, {5, 0, 0, 0, 0, 0}, 1, 16, 8, 0, 0, 3},
      {"a hard place", 20, 4, 8, {5, 0, 7, 1, 12, 4, 2}, 24, 161, 9, 12, 4, 74},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BattleGame b;
    Game& g = b.g();
    g.hero.level = c.hero_level;
    g.location.job_range = c.job_range;
    g.rng.rig(c.level_draw);
    for (int d : c.rest) g.rng.rig(d);
    b.rig({1, 1});  // the hero moves first; no figure
    start_random_battle(g);
    const Enemy& e = g.enemy;
    EXPECT_EQ(e.level, c.level);
    EXPECT_EQ(e.name, g.name_pool[5]);
    EXPECT_EQ(e.hp, c.hp);
    EXPECT_EQ(e.max_hp, c.hp);
    EXPECT_EQ(e.mp, c.mp);
    EXPECT_EQ(e.job, c.job);
    EXPECT_EQ(e.attribute, c.attribute);
    EXPECT_EQ(e.spirit_power, c.spirit);
    EXPECT_EQ(e.spirit_name, g.spirit_names[c.spirit / 10]);
    EXPECT_EQ(e.status, 0);
    EXPECT_TRUE(g.form[ctl::e_state].visible);
    EXPECT_EQ(b.messages(), (Lines{b.utf8(e.name) + "が現れた", "ライズの攻撃"}));
    EXPECT_TRUE(g.form.shown(ctl::battle_box));
    EXPECT_TRUE(b.no_draws_left());
  }
}

TEST(RandomOpponent, FirstStrike) {
  BattleGame b;
  Game& g = b.g();
  b.rig({4, 5, 0, 0, 0, 0, 0, 0});  // ... and the opponent strikes first
  b.rig({10, 1});                    // it misses; no figure
  start_random_battle(g);
  EXPECT_EQ(b.messages(), (Lines{b.utf8(g.enemy.name) + "が現れた", "敵の先制攻撃", b.utf8(g.enemy.name) + "の攻撃",
                                 "でこぴん>Lv1でこぴん\\r\\rミスした", "ライズの攻撃"}));
  EXPECT_TRUE(b.no_draws_left());
}

TEST(RandomOpponent, ExtremeValuesStillMakeAnOpponent) {
  for (int level : {9999, 100000}) {
    BattleGame b;
    Game& g = b.g();
    g.hero.level = level;
    g.location.job_range = 4;
    b.host.keep_transcript = false;
    start_random_battle(g);
    EXPECT_GE(g.enemy.level, level - 1);
    EXPECT_EQ(g.enemy.spirit_name, g.spirit_names[255]) << "the grandest spirit";
  }
}

TEST(BossBattle, ComesFromTheLocation) {
  BattleGame b;
  Game& g = b.g();
  g.boss_battle = 1;
  b.rig({1, 1});
  start_boss_battle(g);
  EXPECT_EQ(b.utf8(g.enemy.name), "聖戦士・月光");
  EXPECT_EQ(g.enemy.hp, 100);
  EXPECT_EQ(g.enemy.job, 6);
  EXPECT_EQ(g.enemy.attribute, 4);
  EXPECT_EQ(b.messages(), (Lines{"聖戦士・月光が現れた", "「この場所に何のようかね」", "ライズの攻撃"}));
}

TEST(Flee, ByLuck) {
  struct Case {
    int luck, n;
  } cases[] = {{-19, 4}, {-10, 4}, {-9, 3}, {9, 3}, {10, 2}, {19, 2}, {20, 1}, {29, 1}, {30, 0}, {45, 1}, {-40, 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.luck);
    for (bool success : {true, false}) {
      if (success && c.n <= 1) continue;
      BattleGame b;
      Game& g = b.g();
      b.face(0);
      g.hero.luck = c.luck;
      g.form.show(ctl::battle_box);
      if (c.n > 0) g.rng.rig(success ? c.n - 1 : 0);
      if (!success) b.rig({10, 1});
      click(g, ctl::Button50);
      const Lines m = b.messages();
      EXPECT_EQ(m[0], "ライズ＞逃げる\\r↓\\r↓\\r↓");
      if (success) {
        EXPECT_EQ(m[1], "↓\\r↓\\r↓\\r成功！");
        EXPECT_EQ(m[2], "経験値を10取得した");
        EXPECT_EQ(g.hero.exp, 10);
        EXPECT_TRUE(g.form[ctl::danjyon_box].visible);
      } else {
        EXPECT_EQ(m[1], "↓\\r↓\\r↓\\r失敗！");
        EXPECT_EQ(m[2], "テキの攻撃");
        EXPECT_EQ(g.hero.exp, 0);
      }
      EXPECT_TRUE(b.no_draws_left());
      EXPECT_TRUE(g.rng.take_error().empty());
    }
  }
}

TEST(Flee, NotFromABoss) {
  BattleGame b;
  Game& g = b.g();
  b.face(0);
  g.boss_battle = 1;
  g.form.show(ctl::battle_box);
  b.rig({10, 1});
  click(g, ctl::Button50);
  EXPECT_EQ(b.messages()[0], "逃げられない！");
  EXPECT_EQ(b.messages()[1], "テキの攻撃");
}

TEST(EndBattle, Paths) {
  {
    SCOPED_TRACE("an ordinary opponent");
    BattleGame b;
    Game& g = b.g();
    b.face(0);
    g.hero.hp = 29;
    g.hero.mp = 9;
    g.hero.status = 3;
    end_battle(g);
    EXPECT_EQ(g.hero.hp, 29 + 7) << "not capped until the next refresh";
    EXPECT_EQ(g.hero.mp, 12);
    EXPECT_EQ(g.hero.status, 0);
    EXPECT_TRUE(g.form[ctl::danjyon_box].visible);
    EXPECT_TRUE(g.form[ctl::d_state].visible);
    EXPECT_FALSE(g.form[ctl::e_state].visible);
    EXPECT_TRUE(b.messages().empty());
    EXPECT_TRUE(b.lines("sound: ").empty());
  }
  {
    SCOPED_TRACE("the boss of the third place");
    BattleGame b(3);
    Game& g = b.g();
    b.face(0);
    g.boss_battle = 1;
    g.hero.money = 0;
    end_battle(g);
    EXPECT_EQ(g.hero.money, 400);
    EXPECT_EQ(g.hero.world_flags(204), 1);
    EXPECT_EQ(g.boss_battle, 0);
    EXPECT_EQ(b.messages(), (Lines{"金塊400円を発見した"}));
    EXPECT_TRUE(g.battle_left_location) << "the road is to take the hero out";
    refresh_status(g);
    EXPECT_TRUE(g.form[ctl::map4].visible);
  }
  {
    SCOPED_TRACE("the last boss");
    BattleGame b(7);
    Game& g = b.g();
    b.face(0);
    g.boss_battle = 1;
    g.hero.money = 0;
    end_battle(g);
    EXPECT_EQ(g.hero.money, 800);
    EXPECT_EQ(g.boss_battle, 1);
    EXPECT_EQ(b.messages(), (Lines{"金塊800円を発見した", "この世界を統括した", "クリア！！！"}));
    EXPECT_TRUE(g.form.shown(ctl::end_box));
    EXPECT_FALSE(g.form[ctl::map_box].visible);
  }
  {
    SCOPED_TRACE("the boss under the earth tower opens no button");
    BattleGame b(1);
    Game& g = b.g();
    b.face(0);
    g.boss_battle = 1;
    end_battle(g);
    EXPECT_EQ(g.hero.world_flags(202), 1);
    refresh_status(g);
    for (ctl::Id id : {ctl::map3, ctl::map4, ctl::map5, ctl::map6, ctl::map7, ctl::map1})
      EXPECT_FALSE(g.form[id].visible) << Form::name(id);
  }
}

TEST(OpponentPictures, UnitAndBossFiles) {
  BattleGame b;
  Game& g = b.g();
  auto make = [&](const char* file, int w) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, 64, 24, SDL_PIXELFORMAT_RGB24);
    SDL_SaveBMP(s, b.data.cg(file).c_str());
    SDL_FreeSurface(s);
  };
  for (const auto& e : std::filesystem::directory_iterator(b.data.dir() / "cg")) std::filesystem::remove(e.path());
  make("unit19.bmp", 65);
  make("unit3.bmp", 66);
  make("unit20.bmp", 67);
  make("boss2.bmp", 68);
  struct Case {
    int job;
    int width;
  } cases[] = {{3, 66}, {4, 65}, {20, 65}, {19, 65}};
  for (const auto& c : cases) {
    g.hero.level = 100;
    b.rig({4, 5, 0, 0, 0, c.job, 0, 0, 1, 1});
    g.location.job_range = 0;
    g.hero.level = 2 * (c.job + 1);
    start_random_battle(g);
    EXPECT_EQ(g.enemy.job, c.job);
    EXPECT_EQ(g.form[ctl::bak].canvas.width, c.width) << c.job;
  }
  b.rig({1, 1});
  start_boss_battle(g);
  EXPECT_EQ(g.form[ctl::bak].canvas.width, 68);
  std::filesystem::remove(b.data.cg("boss2.bmp"));
  b.rig({1, 1});
  start_boss_battle(g);
  EXPECT_EQ(g.form[ctl::bak].canvas.width, 65) << "a missing boss picture falls back";
}

}  // namespace
