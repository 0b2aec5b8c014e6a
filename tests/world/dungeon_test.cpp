#include <gtest/gtest.h>

#include "support/battle_game.hpp"

namespace {

using Lines = std::vector<std::string>;

TEST(Location, EnteringAndLeaving) {
  TestGame t;
  click(t.g(), ctl::Button1);
  t.clear_transcript();
  const int32_t delay = t.g().message_delay_ms;
  const int64_t before = t.host.clock_ms;
  click(t.g(), ctl::map2);
  EXPECT_EQ(t.lines("sound: "), Lines{"walk.wav"});
  EXPECT_EQ(t.messages(), Lines{"････ライズは君ヶ丘に侵入した"});
  EXPECT_EQ(t.g().message_delay_ms, delay);
  // 26 frames of 1 ms, then the typing without a pause after it.
  const size_t n = t.sj("････ライズは君ヶ丘に侵入した").size();
  EXPECT_EQ(t.host.clock_ms - before, static_cast<int64_t>(26 + 10 * ((n + 1) / 2 + 1)));
  EXPECT_FALSE(t.g().form[ctl::map_box].visible);
  EXPECT_TRUE(t.g().form.clickable(ctl::Button27));
  EXPECT_EQ(t.g().location.progress, 1);
  EXPECT_EQ(t.g().location.length, 30);
  EXPECT_EQ(t.g().form[ctl::cg].canvas.at(100, 100), 0u) << "the picture closes to black";
  timer_tick(t.g());
  EXPECT_EQ(t.utf8(t.g().form[ctl::d_state].caption), "君ヶ丘\r残り距離：29km");
  t.clear_transcript();
  click(t.g(), ctl::Button16);
  EXPECT_EQ(t.messages(), Lines{"････ライズは君ヶ丘から地上へ出た"});
  EXPECT_TRUE(t.g().form[ctl::map_box].visible);
  EXPECT_FALSE(t.g().form[ctl::danjyon_box].visible);
  EXPECT_FALSE(t.g().form[ctl::d_state].visible);
}

TEST(Location, TheLocationTable) {
  struct Row {
    uint8_t id;
    const char* name;
    int length, job_range, boss_level, boss_hp, boss_job, boss_attr;
  } rows[] = {{1, "地球塔地下", 199, 4, 99, 9999, 20, 0}, {2, "君ヶ丘", 30, 0, 10, 100, 6, 4},
              {3, "イルモール雪原", 60, 1, 20, 200, 3, 3}, {4, "三度湖", 40, 2, 30, 400, 11, 0},
              {5, "カノン塔", 50, 2, 40, 500, 13, 3},     {6, "猫の島", 40, 3, 50, 777, 19, 2},
              {7, "名も無き塔", 50, 3, 60, 1999, 17, 3}};
  for (const Row& r : rows) {
    TestGame t;
    enter_location(t.g(), r.id);
    const Location& l = t.g().location;
    EXPECT_EQ(t.utf8(l.name), r.name);
    EXPECT_EQ(l.length, r.length);
    EXPECT_EQ(l.job_range, r.job_range);
    EXPECT_EQ(l.boss_level, r.boss_level);
    EXPECT_EQ(l.boss_hp, r.boss_hp);
    EXPECT_EQ(l.boss_job, r.boss_job);
    EXPECT_EQ(l.boss_attribute, r.boss_attr);
    EXPECT_EQ(l.id, r.id);
  }
  TestGame t;
  enter_location(t.g(), 2);
  enter_location(t.g(), 9);
  EXPECT_EQ(t.utf8(t.g().location.name), "君ヶ丘") << "an unknown id keeps the record";
  EXPECT_EQ(t.g().location.id, 9);
}

TEST(Dungeon, StepsDrawEvents) {
  struct Case {
    int draw;
    bool battle, search, trap;
  } cases[] = {{0, true, false, false}, {3, true, false, false}, {1, false, true, false},
               {2, false, false, true}, {4, false, false, false}, {14, false, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.draw);
    BattleGame b;
    // a battle needs its draws too: level, name, made-up name, hp, mp, attribute, spirit, first
    // strike, figure
    b.rig({c.draw});
    if (c.battle) b.rig({4, 0, 0, 0, 0, 0, 5, 1, 1});
    const int life = b.g().hero.life;
    click(b.g(), ctl::Button27);
    EXPECT_EQ(b.g().location.progress, 2);
    EXPECT_EQ(b.g().hero.life, life - 1);
    EXPECT_EQ(b.g().form.shown(ctl::battle_box), c.battle);
    EXPECT_EQ(b.g().form[ctl::danjyon_box].visible, !c.battle);
    EXPECT_EQ(b.g().form.shown(ctl::sira_b), c.search);
    EXPECT_EQ(b.g().form.shown(ctl::wana_b), c.trap);
    EXPECT_TRUE(b.no_draws_left());
  }
}

TEST(Dungeon, TrapOutcomes) {
  struct Case {
    int r;
    std::vector<int> more;
    const char* message;
    int hp, mp, exp, money, spirit;
    bool shakes;
  } cases[] = {
      {0, {}, "ライズは足をケガした。\\r↓\\rHpが半分になってしまった", 3, 10, 9, 50, 15, true},
      {1, {}, "ライズは頭をケガした。\\r↓\\rMpが半分になってしまった", 7, 5, 9, 50, 15, true},
      {2, {}, "ライズは素早くかわした。", 7, 10, 9, 50, 15, false},
      {3, {}, "ライズは腕を大ケガした。\\r↓\\r経験値が半分になってしまった", 7, 10, 4, 50, 15, true},
      {4, {89}, "ライズはつまづいた。\\r↓\\rお金を99円落としてしまった", 7, 10, 9, 0, 15, true},
      {5, {}, "ライズは胸をケガした。\\r↓\\r精霊達が半分減少した", 7, 10, 9, 50, 7, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.r);
    BattleGame b;
    Hero& h = b.g().hero;
    h.hp = 7;
    h.exp = 9;
    h.money = 50;
    b.rig({2});
    click(b.g(), ctl::Button27);
    ASSERT_TRUE(b.g().form.shown(ctl::wana_b));
    const int progress = b.g().location.progress;
    const int life = h.life;
    b.clear_transcript();
    b.rig({c.r});
    for (int m : c.more) b.rig({m});
    const int64_t moves = b.host.window_moves;
    click(b.g(), ctl::Button27);
    EXPECT_EQ(b.messages(), (Lines{"トラップ！！", c.message}));
    EXPECT_EQ(h.hp, c.hp);
    EXPECT_EQ(h.mp, c.mp);
    EXPECT_EQ(h.exp, c.exp);
    EXPECT_EQ(h.money, c.money);
    EXPECT_EQ(h.spirit_power, c.spirit);
    EXPECT_EQ(b.host.window_moves - moves, c.shakes ? 10 : 0);
    EXPECT_EQ(b.g().location.progress, progress) << "a sprung trap does not move the hero";
    EXPECT_EQ(h.life, life);
    EXPECT_FALSE(b.g().form[ctl::wana_b].visible);
    EXPECT_TRUE(b.no_draws_left());
  }
}

TEST(Dungeon, GoingBackEscapesATrap) {
  BattleGame b;
  b.rig({2});
  click(b.g(), ctl::Button27);
  b.clear_transcript();
  click(b.g(), ctl::Button16);
  EXPECT_TRUE(b.messages().empty());
  EXPECT_FALSE(b.g().form[ctl::wana_b].visible);
  EXPECT_EQ(b.g().location.progress, 1);
}

TEST(Dungeon, Disarming) {
  for (int draw : {0, 1, 4}) {
    BattleGame b;
    Hero& h = b.g().hero;
    h.exp = 95;
    h.hp = 8;
    b.rig({2});
    click(b.g(), ctl::Button27);
    b.clear_transcript();
    b.rig({draw});
    click(b.g(), ctl::wana_b);
    if (draw) {
      EXPECT_EQ(b.messages(), (Lines{"カチャカチャ\\r↓\\r↓\\r↓", "↓\\r↓\\r↓\\rワナの解除に成功した！",
                                     "経験値を10取得した"}));
      EXPECT_EQ(h.exp, 100) << "capped at 100";
      EXPECT_EQ(h.hp, 8);
    } else {
      EXPECT_EQ(b.messages(), (Lines{"カチャカチャ\\r↓\\r↓\\r↓", "↓\\r↓\\r失敗！！", "Hpが10減った"}));
      EXPECT_EQ(h.hp, 1) << "never below 1";
    }
    EXPECT_FALSE(b.g().form[ctl::wana_b].visible);
  }
}

TEST(Dungeon, SearchOutcomes) {
  struct Case {
    std::vector<int> draws;  // after the item draw
    Lines messages;
    int spirit, money, stars;
    bool gets_item;
  } cases[] = {
      {{0}, {"ゴソゴソ\\r↓\\r↓\\r↓", "↓\\r↓\\r↓\\r何かを発見した！", "【ITEM】を手に入れた"}, 15, 50, 0, true},
      {{4}, {"ゴソゴソ\\r↓\\r↓\\r↓", "↓\\r↓\\r↓\\r何かを発見した！", "【ITEM】を手に入れた"}, 15, 50, 0, true},
      {{5, 4}, {"ゴソゴソ\\r↓\\r↓\\r↓", "↓\\r↓\\r↓\\r何かを発見した！", "精霊達を見つけた！\\r精霊が9増えた"}, 24, 50, 0, false},
      {{8, 44}, {"ゴソゴソ\\r↓\\r↓\\r↓", "↓\\r↓\\r↓\\r何かを発見した！", "お金49円を手に入れた"}, 15, 99, 0, false},
      {{9}, {"ゴソゴソ\\r↓\\r↓\\r↓", "↓\\r↓\\r↓\\r何かを発見した！", "なんと星を1個見つけた！"}, 15, 50, 1, false},
      {{10}, {"ゴソゴソ\\r↓\\r↓\\r↓", "↓\\r↓\\r何も無かった････"}, 15, 50, 0, false},
      {{11}, {"ゴソゴソ\\r↓\\r↓\\r↓", "↓\\r↓\\r何も無かった････"}, 15, 50, 0, false},
  };
  for (const auto& c : cases) {
    BattleGame b;
    Hero& h = b.g().hero;
    h.money = 50;
    b.rig({1});
    click(b.g(), ctl::Button27);
    ASSERT_TRUE(b.g().form.shown(ctl::sira_b));
    b.clear_transcript();
    b.rig({7});
    for (int d : c.draws) b.rig({d});
    click(b.g(), ctl::sira_b);
    Lines expected = c.messages;
    for (auto& m : expected) {
      const size_t at = m.find("ITEM");
      if (at != std::string::npos) m.replace(at, 4, b.utf8(b.g().items[7].name));
    }
    EXPECT_EQ(b.messages(), expected);
    EXPECT_EQ(h.spirit_power, c.spirit);
    EXPECT_EQ(h.money, c.money);
    EXPECT_EQ(h.stars, c.stars);
    EXPECT_EQ(h.item_count[7], c.gets_item ? 1 : 0);
    EXPECT_FALSE(b.g().form[ctl::sira_b].visible);
    EXPECT_TRUE(b.no_draws_left());
  }
}

TEST(Dungeon, SearchRedrawsCardsUnnamedAndOwnedItems) {
  BattleGame b;
  Game& g = b.g();
  g.items[3] = {b.sj("card･x"), "", 111, 1};
  g.items[5] = {"", "", 0, 0};
  g.hero.item_count[6] = 1;
  b.rig({1});
  click(g, ctl::Button27);
  b.rig({3, 5, 6, 8, 0});
  click(g, ctl::sira_b);
  EXPECT_EQ(g.hero.item_count[8], 1);
  EXPECT_TRUE(b.no_draws_left());
}

TEST(Dungeon, SearchGivesUpOnOwnedItemsAfter253Redraws) {
  BattleGame b;
  Game& g = b.g();
  g.hero.item_count.fill(1);
  b.rig({1});
  click(g, ctl::Button27);
  b.clear_transcript();
  for (int i = 0; i < 254; ++i) g.rng.rig(i % 252);
  click(g, ctl::sira_b);
  EXPECT_EQ(b.messages(), (Lines{"ゴソゴソ\\r↓\\r↓\\r↓", "↓\\r↓\\r何も無かった････"}));
  EXPECT_TRUE(b.no_draws_left()) << "one first draw and 253 redraws";
}

TEST(Dungeon, ASearchInATableWithoutUsableItemsEnds) {
  BattleGame b;
  Game& g = b.g();
  for (Item& it : g.items) it = {};
  b.rig({1});
  click(g, ctl::Button27);
  b.clear_transcript();
  click(g, ctl::sira_b);
  EXPECT_EQ(b.messages(), (Lines{"ゴソゴソ\\r↓\\r↓\\r↓", "↓\\r↓\\r何も無かった････"}));
}

TEST(Dungeon, LifeSpanRunsOut) {
  BattleGame b;
  Hero& h = b.g().hero;
  h.life = 1;
  h.hp = 5;
  h.spirit_power = 2;
  b.rig({4});
  click(b.g(), ctl::Button27);
  EXPECT_EQ(h.life, 0);
  EXPECT_EQ(h.hp, 4);
  EXPECT_EQ(h.spirit_power, 1);
  EXPECT_TRUE(b.g().form[ctl::moji_l2].visible);
  EXPECT_EQ(b.utf8(b.g().form[ctl::moji_l2].caption), "寿命が0です＞Hp,精霊-1");
  h.hp = 1;
  click(b.g(), ctl::Button16);
  EXPECT_EQ(h.life, 0);
  EXPECT_EQ(h.hp, 1) << "never below 1";
  EXPECT_EQ(h.spirit_power, 1);
  h.life = 10;
  enter_location(b.g(), 2);
  b.rig({4});
  click(b.g(), ctl::Button27);
  EXPECT_FALSE(b.g().form[ctl::moji_l2].visible);
}

}  // namespace
