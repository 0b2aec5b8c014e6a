#include <gtest/gtest.h>

#include "support/battle_game.hpp"

namespace {

using Lines = std::vector<std::string>;

TEST(Victory, ExperienceByLevelDifference) {
  struct Case {
    int delta;
    std::vector<int> draws;  // experience draw, if any
    int gain;
  } cases[] = {{-5, {}, 0}, {-3, {}, 0}, {-2, {1}, 2}, {-1, {0}, 5}, {0, {2}, 12},
               {1, {7}, 32},  {2, {17}, 72}, {3, {0}, 75}, {9, {23}, 98}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.delta);
    BattleGame b;
    Game& g = b.g();
    g.hero.level = 10;
    b.face(7, 0, 10 + c.delta);
    g.enemy.hp = 0;
    for (int d : c.draws) g.rng.rig(d);
    b.rig({1, 1});  // no gold-bar money, no item
    win_battle(g);
    EXPECT_EQ(g.hero.exp, c.gain);
    const Lines m = b.messages();
    EXPECT_EQ(m[0], "テキを倒した");
    EXPECT_EQ(m[1], std::to_string(c.gain) + "expの経験値を得た\\r10円手に入れた");
    EXPECT_EQ(b.lines("question: ").size(), 1u);
    EXPECT_TRUE(b.no_draws_left());
  }
}

TEST(Victory, Money) {
  for (auto [job, luck_draw, money] : {std::tuple{0, 1, 5}, {4, 3, 5}, {5, 1, 10}, {19, 9, 20}, {3, 0, 100}}) {
    BattleGame b;
    b.face(job, 0, 1);
    b.g().hero.money = 0;
    b.g().rng.rig(2);  // exp
    b.g().rng.rig(luck_draw);
    b.g().rng.rig(1);
    win_battle(b.g());
    EXPECT_EQ(b.g().hero.money, money) << job;
  }
}

TEST(Victory, LevelUpAndTechniqueGain) {
  struct Case {
    const char* name;
    int tech, level_before;
    std::vector<int> gain_draws;  // after the level-up's Hp and Mp draws
    const char* message;          // "" for none
    int level_after, money;
  } cases[] = {
      {"no technique", 5, 0, {1}, "", 0, 10},
      {"learns a technique", 5, 0, {0, 3}, "【暗黒剣】を修得した！", 1, 10},
      {"levels a technique", 14, 4, {0, 12}, "【Ｍ法】のLvが1あがった！", 5, 10},
      {"a mastered technique pays", 16, 10, {0, 14}, "ボーナス1000円を入手した！", 10, 1010},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BattleGame b;
    Game& g = b.g();
    b.face(7, 0, 1);
    g.hero.exp = 95;
    g.hero.money = 0;
    g.hero.tech_lv(c.tech) = static_cast<uint8_t>(c.level_before);
    b.rig({2, 1, 2, 1});  // 12 exp, no bonus money; Hp +7, Mp +2
    for (int d : c.gain_draws) g.rng.rig(d);
    b.rig({1});  // no item
    win_battle(g);
    Lines expected{"テキを倒した", "12expの経験値を得た\\r10円手に入れた", "ライズはLVUPした", "最大Hpが7増えた",
                   "最大Mpが2増えた", "ライズは回復した"};
    if (*c.message) expected.push_back(c.message);
    const Lines m = b.messages();
    EXPECT_EQ(Lines(m.begin(), m.begin() + std::min(m.size(), expected.size())), expected);
    EXPECT_EQ(g.hero.level, 2);
    EXPECT_EQ(g.hero.exp, 0) << "the excess is dropped";
    EXPECT_EQ(g.hero.max_hp, 37);
    EXPECT_EQ(g.hero.max_mp, 12);
    EXPECT_EQ(g.hero.hp, 37 + 37 / 4) << "full, plus the battle end's quarter until the next refresh";
    EXPECT_EQ(g.hero.tech_lv(c.tech), c.level_after);
    EXPECT_EQ(g.hero.money, c.money);
    EXPECT_TRUE(b.no_draws_left());
  }
}

TEST(Victory, ItemFind) {
  struct Case {
    int luck, n;
  } cases[] = {{0, 6}, {40, 2}, {100, 2}, {-10, 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.luck);
    BattleGame b;
    Game& g = b.g();
    b.face(0, 0, 1);
    g.hero.luck = c.luck;
    g.hero.item_count[20] = 1;
    b.rig({2, 1, 0, 20, 21});  // exp, money; the find; a held item, then a free one
    win_battle(g);
    EXPECT_EQ(g.hero.item_count[21], 1);
    EXPECT_EQ(b.messages()[2], "ライズは【" + b.utf8(g.items[21].name) + "】を見つけた！");
    BattleGame miss;
    miss.face(0, 0, 1);
    miss.g().hero.luck = c.luck;
    miss.rig({2, 1, c.n - 1});
    win_battle(miss.g());
    EXPECT_TRUE(miss.g().rng.take_error().empty()) << "the find draws 0 .. " << c.n - 1;
    EXPECT_EQ(miss.messages().size(), 2u);
  }
}

TEST(Victory, PickItemGivesUpQuietly) {
  BattleGame b;
  Game& g = b.g();
  g.hero.item_count.fill(1);
  for (int i = 0; i < 255; ++i) g.rng.rig(i % 252);
  EXPECT_FALSE(pick_item(g).has_value());
  EXPECT_TRUE(b.no_draws_left()) << "one first draw and 254 redraws";
  for (Item& it : g.items) it = {};
  EXPECT_FALSE(pick_item(g).has_value()) << "a table without names ends too";
}

TEST(Victory, TheSpiritOffer) {
  for (bool yes : {true, false}) {
    BattleGame b;
    Game& g = b.g();
    b.face(0, 0, 1);
    g.enemy.spirit_power = 7;
    b.host.answers.push_back(yes);
    b.rig({2, 1, 1});
    const int64_t refreshes_before = b.host.repaints;
    win_battle(g);
    EXPECT_EQ(b.lines("question: "),
              Lines{"敵の精霊【ほこり】△7を奪いますか？\\r\\rアナタの精霊\\r＞【ｽﾀｰﾀﾞﾝｽ】△15"});
    EXPECT_EQ(b.lines("answer: "), Lines{yes ? "yes" : "no"});
    EXPECT_EQ(b.utf8(g.hero.spirit_name), yes ? "ほこり" : "ｽﾀｰﾀﾞﾝｽ");
    EXPECT_EQ(g.hero.spirit_power, yes ? 7 : 15) << "a weaker spirit replaces the hero's too";
    const Lines m = b.messages();
    EXPECT_EQ(m.back() == "敵の精霊【ほこり】を奪った", yes);
    EXPECT_GT(b.host.repaints, refreshes_before);
    EXPECT_TRUE(g.form[ctl::danjyon_box].visible) << "the battle ends";
  }
}

TEST(DamageHero, Adjustments) {
  struct Case {
    int attribute, base, defense, sun, water, magic, angel, expected;
  } cases[] = {
      {0, 10, 0, 9, 9, 9, 9, 14},  // + 2 x location 2
      {1, 10, 0, 3, 0, 0, 0, 8},   {2, 10, 0, 0, 3, 0, 0, 8},  {3, 10, 0, 0, 0, 3, 0, 8},
      {4, 10, 0, 0, 0, 0, 3, 8},   {1, 10, 0, 0, 3, 0, 0, 14}, {0, 10, 500, 0, 0, 0, 0, 1},
      {0, -50, 0, 0, 0, 0, 0, 1},
  };
  for (const auto& c : cases) {
    BattleGame b;
    Game& g = b.g();
    b.face(0, c.attribute);
    Hero& h = g.hero;
    h.hp = h.max_hp = 100;
    h.defense = c.defense;
    h.attr_sun = c.sun;
    h.attr_water = c.water;
    h.attr_magic = c.magic;
    h.attr_angel = c.angel;
    damage_hero(g, c.base);
    EXPECT_EQ(h.hp, 100 - c.expected);
    EXPECT_EQ(b.messages().back(), std::to_string(c.expected) + "のダメージを受けた");
  }
}

TEST(DamageEnemy, NoFloorAndNegativeHeals) {
  BattleGame b;
  Game& g = b.g();
  b.face(0);
  g.hovered_tech = 20;
  g.hero.attack = 50;
  damage_enemy(g, -5);
  EXPECT_EQ(g.enemy.hp, 50) << "healed by 5, then capped at the maximum by the refresh";
  EXPECT_EQ(b.messages().back(), "-5ダメージ与えた");
}

}  // namespace
