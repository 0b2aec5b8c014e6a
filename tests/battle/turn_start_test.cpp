#include <gtest/gtest.h>

#include "battle/turns.hpp"
#include "support/battle_game.hpp"

namespace {

using Lines = std::vector<std::string>;

TEST(HeroTurnStart, Ailments) {
  struct Case {
    int status;
    std::vector<int> draws;
    Lines messages;
    NextTurn next;
    int status_after, hp_after, spirit_after;
    bool attack_shown, magic_shown;
  } cases[] = {
      {1, {2}, {"ライズは眠っている････"}, NextTurn::Opponent, 1, 40, 15, true, true},
      {1, {0, 1}, {"ライズは目を覚ました！", "ライズの攻撃"}, NextTurn::None, 0, 40, 15, true, true},
      {2, {3, 1}, {"ライズは毒に苦しんでいる････\\r＞5のダメージ", "ライズの攻撃"}, NextTurn::None, 2, 35, 15, true, true},
      {3, {1}, {"ライズは石化して動けない････"}, NextTurn::Opponent, 3, 40, 15, true, true},
      {3, {0, 1}, {"ライズは石化から復活した", "ライズの攻撃"}, NextTurn::None, 0, 40, 15, true, true},
      {4, {3, 1}, {"ライズは癒された････\\r＞8の回復", "ライズの攻撃"}, NextTurn::None, 4, 48, 15, true, true},
      {5, {2, 3, 1}, {"ライズは凶暴化している････\\r＞ライズの精霊が3上昇", "ライズの攻撃"}, NextTurn::None, 5, 40, 18, true, true},
      {5, {0, 0, 1}, {"ライズは冷静に戻った", "ライズの攻撃"}, NextTurn::None, 0, 40, 16, true, true},
      {6, {1}, {"ライズの攻撃"}, NextTurn::None, 6, 40, 15, false, true},
      {6, {0, 1}, {"ライズは攻撃技が使えるようになった", "ライズの攻撃"}, NextTurn::None, 0, 40, 15, true, true},
      {7, {4}, {"ライズの攻撃"}, NextTurn::None, 7, 40, 15, true, false},
      {7, {0, 1}, {"ライズは魔法が使えるようになった", "ライズの攻撃"}, NextTurn::None, 0, 40, 15, true, true},
      {8, {1, 0}, {"ライズは混乱している････", "何もしなかった"}, NextTurn::Opponent, 8, 40, 15, true, true},
      {8, {2, 1}, {"ライズは混乱している････", "自分を攻撃した\\r\\r0ダメージ受けた"}, NextTurn::Opponent, 8, 40, 15, true, true},
      {8, {0, 1}, {"ライズは正気を取り戻した！", "ライズの攻撃"}, NextTurn::None, 0, 40, 15, true, true},
      {9, {1}, {"ライズの攻撃"}, NextTurn::None, 9, 40, 15, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.messages[0]);
    BattleGame b;
    Game& g = b.g();
    b.face(0);
    g.hero.hp = 40;
    g.hero.max_hp = 100;
    g.hero.status = c.status;
    g.form.hide(ctl::w1_b);
    g.form.hide(ctl::w2_b);
    for (int d : c.draws) g.rng.rig(d);
    EXPECT_EQ(hero_turn(g), c.next);
    EXPECT_EQ(b.messages(), c.messages);
    EXPECT_EQ(g.hero.status, c.status_after);
    EXPECT_EQ(g.hero.hp, c.hp_after);
    EXPECT_EQ(g.hero.spirit_power, c.spirit_after);
    if (c.next == NextTurn::None) {
      EXPECT_TRUE(g.form.shown(ctl::battle_box));
      EXPECT_EQ(g.form[ctl::w1_b].visible, c.attack_shown);
      EXPECT_EQ(g.form[ctl::w2_b].visible, c.magic_shown);
      EXPECT_TRUE(g.form.shown(ctl::w3_b));
    }
    EXPECT_TRUE(b.no_draws_left());
  }
}

TEST(HeroTurnStart, PoisonStopsAtOneAndHealingAtTheMaximum) {
  BattleGame b;
  Game& g = b.g();
  b.face(0);
  g.hero.hp = 2;
  g.hero.status = 2;
  b.rig({3, 1});
  hero_turn(g);
  EXPECT_EQ(g.hero.hp, 1);
  EXPECT_EQ(b.messages()[0], "ライズは毒に苦しんでいる････\\r＞0のダメージ");
  b.clear_transcript();
  g.hero.status = 4;
  g.hero.hp = 29;
  b.rig({3, 1});
  hero_turn(g);
  EXPECT_EQ(g.hero.hp, 30);
  EXPECT_EQ(b.messages()[0], "ライズは癒された････\\r＞0の回復");
}

TEST(HeroTurnStart, ConfusedBlowAtTheOpponent) {
  BattleGame b;
  Game& g = b.g();
  b.face(0);
  g.hero.status = 8;
  g.hero.spirit_power = 45;
  b.rig({1, 2});
  EXPECT_EQ(hero_turn(g), NextTurn::Opponent);
  EXPECT_EQ(b.messages()[1], "敵を攻撃した\\r\\r2ダメージ与えた");
  EXPECT_EQ(g.enemy.hp, 48);
}

TEST(FigureAssist, TheTenFigures) {
  struct Case {
    int k;
    const char* message;
    std::function<void(const Game&)> check;
  } cases[] = {
      {1, "【でこぴんlv1】\\r↓\\r↓\\r敵に20ダメージ与えた", [](const Game& g) { EXPECT_EQ(g.enemy.hp, 180); }},
      {2, "【毒攻撃】\\r↓\\r↓\\r敵を毒におかさせた！", [](const Game& g) { EXPECT_EQ(g.enemy.status, 2); }},
      {3, "【眠りのキッス】\\r↓\\r↓\\r敵を眠らせた！", [](const Game& g) { EXPECT_EQ(g.enemy.status, 1); }},
      {4, "【悪魔のベーゼ】\\r↓\\r↓\\r敵を石化させた！", [](const Game& g) { EXPECT_EQ(g.enemy.status, 3); }},
      {5, "【優しさの傷跡】\\r↓\\r↓\\rライズを癒し状態にした", [](const Game& g) { EXPECT_EQ(g.hero.status, 4); }},
      {6, "【神様の御水】\\r↓\\r↓\\rライズのHpを完全回復させた", [](const Game& g) { EXPECT_EQ(g.hero.hp, 30); }},
      {7, "【沸き上がる力】\\r↓\\r↓\\rライズのMpを完全回復させた", [](const Game& g) { EXPECT_EQ(g.hero.mp, 10); }},
      {8, "【精霊への呼びかけ】\\r↓\\r↓\\rライズの精霊を33上昇させた", [](const Game& g) { EXPECT_EQ(g.hero.spirit_power, 48); }},
      {9, "【ｍ刻印】\\r↓\\r↓\\r敵のHpを1/2にした！", [](const Game& g) { EXPECT_EQ(g.enemy.hp, 100); }},
      {10, "【イタズラ】\\r↓\\r↓\\r敵とライズのHpを入れ替えてしまった！", [](const Game& g) {
         EXPECT_EQ(g.hero.hp, 30) << "capped by the refresh after the message";
         EXPECT_EQ(g.enemy.hp, 5);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.k);
    BattleGame b;
    Game& g = b.g();
    b.face(0, 0, 1, 200);
    g.hero.hp = 5;
    g.hero.mp = 1;
    g.hero.item_count[34 + c.k] = 1;
    b.rig({0, c.k - 1});  // the assist comes, and picks figure k
    hero_turn(g);
    const Lines m = b.messages();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0], "ﾌｨｷﾞｭｱ【" + b.utf8(g.items[34 + c.k].name) + "】の攻撃");
    EXPECT_EQ(m[1], c.message);
    EXPECT_EQ(m[2], "ライズの攻撃");
    c.check(g);
    EXPECT_TRUE(b.no_draws_left());
  }
}

TEST(FigureAssist, ChanceRedrawsAndNoFigure) {
  {
    SCOPED_TRACE("luck 35 gives 1 in 15");
    BattleGame b;
    b.face(0);
    b.g().hero.luck = 35;
    b.g().hero.item_count[36] = 1;
    b.rig({14});
    hero_turn(b.g());
    EXPECT_TRUE(b.g().rng.take_error().empty());
    EXPECT_EQ(b.messages(), Lines{"ライズの攻撃"});
  }
  {
    SCOPED_TRACE("negative luck makes it rarer");
    BattleGame b;
    b.face(0);
    b.g().hero.luck = -20;
    b.rig({69});
    hero_turn(b.g());
    EXPECT_TRUE(b.g().rng.take_error().empty());
  }
  {
    SCOPED_TRACE("redraws until a held figure, at most ten more times");
    BattleGame b;
    b.face(0);
    b.g().hero.item_count[40] = 1;  // figure 6
    b.rig({0, 0, 1, 2, 5});
    hero_turn(b.g());
    EXPECT_EQ(b.messages()[1], "【神様の御水】\\r↓\\r↓\\rライズのHpを完全回復させた");
    EXPECT_TRUE(b.no_draws_left());
  }
  {
    SCOPED_TRACE("no figure held: eleven draws, no assist");
    BattleGame b;
    b.face(0);
    b.rig({0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0});
    hero_turn(b.g());
    EXPECT_EQ(b.messages(), Lines{"ライズの攻撃"});
    EXPECT_TRUE(b.no_draws_left());
  }
  {
    SCOPED_TRACE("a held item that is no figure does not assist");
    BattleGame b;
    b.face(0);
    b.g().hero.item_count[35] = 1;
    b.g().items[35].kind = 3;
    b.rig({0, 0});
    hero_turn(b.g());
    EXPECT_EQ(b.messages(), Lines{"ライズの攻撃"});
  }
}

TEST(Turns, ALongRunOfLostTurnsKeepsTheStackFlat) {
  BattleGame b;
  Game& g = b.g();
  b.face(0);
  g.hero.status = 1;
  g.enemy.status = 1;
  // 100,000 turns of both sides sleeping on, then both wake up.
  for (int i = 0; i < 100000; ++i) {
    g.rng.rig(1);
    g.rng.rig(1);
  }
  b.rig({0, 1});  // the hero wakes; no figure
  b.host.keep_transcript = false;
  hero_turn_start(g);
  EXPECT_TRUE(g.form.shown(ctl::battle_box));
  EXPECT_EQ(g.hero.status, 0);
  EXPECT_TRUE(b.no_draws_left());
}

}  // namespace
