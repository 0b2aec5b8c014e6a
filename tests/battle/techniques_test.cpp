#include <gtest/gtest.h>

#include "support/battle_game.hpp"
#include "ui/technique_buttons.hpp"

namespace {

using Lines = std::vector<std::string>;

// Messages of the hero's action, up to the opponent's turn.
Lines action(const Lines& all) {
  Lines out;
  for (const auto& m : all) {
    if (m == "テキの攻撃") break;
    out.push_back(m);
  }
  return out;
}

// Opens the technique's group, points at its button and clicks it, as a player would.
void use(BattleGame& b, int t) {
  Game& g = b.g();
  static constexpr ctl::Id kGroups[3] = {ctl::w1_b, ctl::w2_b, ctl::w3_b};
  g.form.show(ctl::battle_box);
  g.form.show(ctl::w1_b);
  g.form.show(ctl::w2_b);
  click(g, kGroups[(t - 1) / 8]);
  const ctl::Id button = technique_button(t);
  ASSERT_TRUE(g.form.clickable(button));
  mouse_move(g, button);
  b.clear_transcript();
  click(g, button);
}

struct AttackCase {
  const char* name;
  int t, lv, attribute;
  std::vector<int> draws;  // the technique's own draws
  Lines messages;          // after the announcement
  int enemy_hp;
  std::function<void(const Game&)> check;
};

TEST(AttackTechniques, EffectsAndAttributeReactions) {
  const AttackCase cases[] = {
      {"flick", 1, 1, 0, {1}, {"2ダメージ与えた"}, 48, nullptr},
      {"flick critical", 1, 1, 0, {0}, {"でこぴんｸﾘﾃｨｶﾙ！", "6ダメージ与えた"}, 44, nullptr},
      {"sword", 2, 1, 0, {5}, {"7ダメージ与えた"}, 43, nullptr},
      {"sword critical at level 3", 2, 3, 0, {0}, {"剣ｸﾘﾃｨｶﾙ！", "33ダメージ与えた"}, 17, nullptr},
      {"bow against a demon", 3, 1, 3, {}, {"あまり効かない", "1ダメージ与えた"}, 49, nullptr},
      {"bow against an angel", 3, 2, 4, {}, {"効果増大", "7ダメージ与えた"}, 43, nullptr},
      {"machine against none", 4, 5, 0, {}, {"あまり効かない", "1ダメージ与えた"}, 49, nullptr},
      {"machine against water", 4, 5, 2, {}, {"6ダメージ与えた"}, 44, nullptr},
      {"dark sword", 5, 1, 0, {}, {"8ダメージ与えた", "暗黒の契約\\r････2のダメージを受けた"}, 42,
       [](const Game& g) { EXPECT_EQ(g.hero.hp, 28); }},
      {"dark sword against an angel", 5, 1, 4, {}, {"効果増大", "14ダメージ与えた", "暗黒の契約\\r････3のダメージを受けた"}, 36, nullptr},
      {"beast against a demon, berserk", 6, 1, 3, {0}, {"効果増大", "4ダメージ与えた", "ライズは凶暴化した"}, 46,
       [](const Game& g) { EXPECT_EQ(g.hero.status, 5); }},
      {"beast against an angel", 6, 1, 4, {1}, {"あまり効かない", "1ダメージ与えた"}, 49,
       [](const Game& g) { EXPECT_EQ(g.hero.status, 0); }},
      {"sealing sword", 7, 1, 0, {}, {"11ダメージ与えた", "テキの精霊に5ダメージ与えた"}, 39,
       [](const Game& g) { EXPECT_EQ(g.enemy.spirit_power, 30 - 5 - 1); }},
      {"slap, two hits and a miss", 8, 2, 0, {1, 3, 1, 7, 0, 0, 5}, {"電光石火ホトバシル", "5ダメージ与えた", "ミスした", "2ダメージ与えた"}, 43,
       [](const Game& g) {
         EXPECT_EQ(g.hero.spirit_power, 14 - 3);
         EXPECT_EQ(g.message_delay_ms, 800);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BattleGame b;
    Game& g = b.g();
    b.face(0, c.attribute);
    g.hero.level = 3;
    g.hero.tech_lv(c.t) = static_cast<uint8_t>(c.lv);
    for (int d : c.draws) g.rng.rig(d);
    b.rig({10, 1});  // the opponent misses; no figure
    use(b, c.t);
    Lines m = action(b.messages());
    ASSERT_FALSE(m.empty());
    EXPECT_EQ(m[0], "【" + b.utf8(g.tech_record(c.t, c.lv)[0]) + "】で攻撃した");
    EXPECT_EQ(Lines(m.begin() + 1, m.end()), c.messages);
    EXPECT_EQ(g.enemy.hp, c.enemy_hp);
    EXPECT_EQ(g.hero.mp, 10 - c.t / 2);
    EXPECT_EQ(g.hero.tech_exp(c.t), 1);
    if (c.check) c.check(g);
    EXPECT_TRUE(b.no_draws_left());
  }
}

TEST(AttackTechniques, BonusesOfDamageEnemy) {
  BattleGame b;
  Game& g = b.g();
  b.face(0, 1);  // sun: the hero's water counts
  g.hero.attack = 3;
  g.hero.magic = 40;
  g.hero.attr_water = 2;
  g.hero.attr_sun = 50;
  b.rig({1, 10, 1});
  use(b, 1);
  EXPECT_EQ(action(b.messages())[1], "12ダメージ与えた") << "2 + 2 x attack + 2 x water";
}

TEST(Techniques, PayingForATechnique) {
  BattleGame b;
  Game& g = b.g();
  b.face(0);
  g.hero.tech_lv(24) = 1;
  g.hero.mp = 11;
  use(b, 24);
  EXPECT_EQ(b.lines("sound: "), Lines{"1.wav"});
  EXPECT_EQ(b.messages(), Lines{"Mpが足りません"});
  EXPECT_EQ(g.hero.mp, 11);
  EXPECT_EQ(g.hero.spirit_power, 15);
  EXPECT_TRUE(g.form.shown(ctl::t_box)) << "the box stays open";

  g.hero.mp = 0;
  g.hero.spirit_power = 1;
  b.rig({1, 10, 1});
  use(b, 1);
  EXPECT_EQ(g.hero.mp, 0) << "the flick costs nothing";
  EXPECT_EQ(g.hero.spirit_power, 1);
}

TEST(Techniques, ALevelUpOnUseActsAtTheNewLevel) {
  BattleGame b;
  Game& g = b.g();
  b.face(0);
  g.hero.tech_lv(1) = 1;
  g.hero.tech_exp(1) = 9;
  b.rig({1, 10, 1});
  use(b, 1);
  const Lines m = b.messages();
  EXPECT_EQ(m[0], "【" + b.utf8(g.tech_table[0][0]) + "】\\r↓\\r【" + b.utf8(g.tech_table[1][0]) + "】へLvup！");
  EXPECT_EQ(m[1], "【" + b.utf8(g.tech_table[1][0]) + "】で攻撃した");
  EXPECT_EQ(m[2], "3ダメージ与えた") << "m 1 x level 2 + 1";
}

TEST(Techniques, NothingPointedAtWastesTheTurn) {
  BattleGame b;
  Game& g = b.g();
  b.face(0);
  g.hovered_tech = 0;
  b.rig({10, 1});
  use_technique(g);
  EXPECT_EQ(b.messages().front(), "テキの攻撃");
  EXPECT_EQ(g.hero.spirit_power, 14);
  EXPECT_EQ(g.enemy.hp, 50);
}

TEST(Techniques, CriticalChanceFollowsLuck) {
  for (auto [luck, n] : {std::pair{0, 10}, {79, 3}, {80, 2}, {500, 2}, {-30, 13}}) {
    BattleGame b;
    b.face(0);
    b.g().hero.luck = luck;
    b.rig({n - 1, 10, 1});
    use(b, 1);
    EXPECT_TRUE(b.g().rng.take_error().empty()) << luck;
    b.rig({n, 10, 1});
    use(b, 1);
    EXPECT_FALSE(b.g().rng.take_error().empty()) << luck << ": the draw is 0 .. " << n - 1;
  }
}

TEST(Techniques, TechniqueButtonsAppearOnlyWhenLearned) {
  BattleGame b;
  Game& g = b.g();
  b.face(0);
  g.hero.tech_lv(3) = 2;
  g.form.show(ctl::battle_box);
  g.form.show(ctl::shop_box);
  click(g, ctl::w1_b);
  EXPECT_TRUE(g.form[ctl::w1].visible);
  EXPECT_FALSE(g.form[ctl::w2].visible);
  EXPECT_TRUE(g.form[ctl::w3].visible);
  EXPECT_FALSE(g.form[ctl::shop_box].visible);
  EXPECT_TRUE(g.form[ctl::about_box].visible);
  click(g, ctl::w2_b);
  EXPECT_FALSE(g.form[ctl::w_box].visible);
  EXPECT_TRUE(g.form[ctl::m_box].visible);
  EXPECT_FALSE(g.form[ctl::w9].visible);
}

}  // namespace
