#include <gtest/gtest.h>

#include <functional>

#include "battle/turns.hpp"
#include "game/input.hpp"
#include "support/battle_game.hpp"

namespace {

using Lines = std::vector<std::string>;

// Messages from the opponent's announcement of its move up to the hero's prompt.
Lines move_messages(const Lines& all) {
  Lines out;
  bool on = false;
  for (const auto& m : all) {
    if (m == "テキの攻撃") {
      on = true;
      continue;
    }
    if (m == "ライズの攻撃") break;
    if (on) out.push_back(m);
  }
  return out;
}

struct MoveCase {
  int move, job;
  std::vector<int> draws;  // the class draw r first, then the move's own
  Lines messages;
  std::function<void(const Game&)> check;
};

TEST(OpponentTurn, AllMoves) {
  const MoveCase cases[] = {
      {0, 0, {0, 1}, {"でこぴん>Lv1でこぴん", "7のダメージを受けた"},
       [](const Game& g) { EXPECT_EQ(g.hero.hp, 93); }},
      {1, 20, {1, 0}, {"でこぴん>でこぴんｸﾘﾃｨｶﾙ", "8のダメージを受けた"},
       [](const Game& g) { EXPECT_EQ(g.hero.hp, 92); }},
      {2, 4, {4, 1}, {"魔術>天使の雫", "テキのHpが3回復した"},
       [](const Game& g) {
         EXPECT_EQ(g.enemy.hp, 43);
         EXPECT_EQ(g.enemy.mp, 48);
       }},
      {3, 20, {2, 1}, {"魔術>天使の水", "テキのHpが4回復した\\rステータス異常が治った"},
       [](const Game& g) {
         EXPECT_EQ(g.enemy.hp, 44);
         EXPECT_EQ(g.enemy.status, 0);
       }},
      {4, 15, {0, 0}, {"魔術>天使の風", "テキのHpが6回復した\\rステータス異常が治った"},
       [](const Game& g) { EXPECT_EQ(g.enemy.hp, 46); }},
      {5, 12, {0}, {"魔術>神の御水", "テキのHpが50回復した\\rステータス異常が治った"},
       [](const Game& g) { EXPECT_EQ(g.enemy.mp, 47); }},
      {6, 0, {10}, {"でこぴん>Lv1でこぴん\\r\\rミスした"}, [](const Game& g) { EXPECT_EQ(g.hero.hp, 100); }},
      {7, 20, {3, 1}, {"猫召喚>アリラン", "ライズは毒に犯された"},
       [](const Game& g) { EXPECT_EQ(g.hero.status, 2); }},
      {7, 20, {3, 0}, {"猫召喚>アリラン", "ライズは攻撃をかわした"},
       [](const Game& g) { EXPECT_EQ(g.hero.status, 0); }},
      {8, 20, {4, 3}, {"猫召喚>白川冷子", "ライズは眠ってしまった"},
       [](const Game& g) { EXPECT_EQ(g.hero.status, 1); }},
      {9, 8, {2, 2}, {"猫召喚>ｶﾞﾆｭﾒｰﾄ", "ライズは石化してしまった"},
       [](const Game& g) {
         EXPECT_EQ(g.hero.status, 3);
         EXPECT_EQ(g.enemy.mp, 43);
       }},
      {10, 20, {5, 1}, {"猫召喚>ミルテ", "テキは癒し状態になった"},
       [](const Game& g) { EXPECT_EQ(g.enemy.status, 4); }},
      {10, 20, {5, 0}, {"猫召喚>ミルテ", "テキは召喚に失敗した"},
       [](const Game& g) { EXPECT_EQ(g.enemy.status, 0); }},
      {11, 20, {6, 1}, {"猫召喚>林", "ライズは攻撃を封印されてしまった"},
       [](const Game& g) { EXPECT_EQ(g.hero.status, 6); }},
      {12, 20, {7, 2}, {"猫召喚>ﾋﾞｳﾞｧﾙﾃﾞｨ竹原", "ライズは魔法を封印されてしまった"},
       [](const Game& g) { EXPECT_EQ(g.hero.status, 7); }},
      {13, 1, {11, 6}, {"獣>無想", "テキは凶暴化した"}, [](const Game& g) { EXPECT_EQ(g.enemy.status, 5); }},
      {13, 1, {11, 0}, {"獣>無想", "テキは失敗した"}, [](const Game& g) { EXPECT_EQ(g.enemy.status, 0); }},
      {14, 20, {9, 1}, {"機械>トロッコ銃", "3のダメージを受けた"}, [](const Game& g) { EXPECT_EQ(g.hero.hp, 97); }},
      {15, 2, {6, 1}, {"封印剣>ブッカ・ブー刀", "ライズの精霊が3削られた"},
       [](const Game& g) { EXPECT_EQ(g.hero.spirit_power, 12); }},
      {16, 20, {10, 1, 2, 4}, {"占星術>光り輝く星", "星が降る\\r4ダメージ受けた", "星が降る\\r6ダメージ受けた"},
       [](const Game& g) {
         EXPECT_EQ(g.hero.hp, 90);
         EXPECT_EQ(g.message_delay_ms, 800);
       }},
      {17, 20, {11}, {"竜言語魔法>ダークドラゴン", "テキのダメージ分10ダメージ受けた"},
       [](const Game& g) { EXPECT_EQ(g.hero.hp, 90); }},
      {18, 20, {12}, {"禁呪>ネクロマンス", "8のダメージを吸い取られた"},
       [](const Game& g) {
         EXPECT_EQ(g.hero.hp, 92);
         EXPECT_EQ(g.enemy.hp, 48);
       }},
      {19, 20, {13, 0, 0}, {"ｍ法>月光", "成功確率100％\\r↓\\r↓\\r↓", "↓\\r↓\\rライズのHpが1/2にされた！"},
       [](const Game& g) { EXPECT_EQ(g.hero.hp, 50); }},
      {19, 20, {13, 2, 1}, {"ｍ法>月光", "成功確率33％\\r↓\\r↓\\r↓", "↓\\r↓\\r失敗した"},
       [](const Game& g) { EXPECT_EQ(g.hero.hp, 100); }},
      {20, 20, {14, 0},
       {"妖精術>インプ", "精霊【ほこり】達の妖精力が爆発する", "33のダメージを受けた", "テキの精霊が21減少した",
        "ライズは癒し状態になった"},
       [](const Game& g) {
         EXPECT_EQ(g.hero.hp, 67);
         EXPECT_EQ(g.enemy.spirit_power, 7);
         EXPECT_EQ(g.hero.status, 4);
       }},
      {21, 20, {8, 2}, {"猫召喚>アーサー", "ライズは混乱してしまった"},
       [](const Game& g) { EXPECT_EQ(g.hero.status, 8); }},
      {22, 20, {15, 5}, {"ビンタ>真ビンタ", "11のダメージを受けた"}, [](const Game& g) { EXPECT_EQ(g.hero.hp, 89); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("move " + std::to_string(c.move));
    BattleGame b;
    Game& g = b.g();
    b.face(c.job, 0, 1, 50);
    g.enemy.hp = 40;
    g.enemy.spirit_power = 30;  // 29 once the turn has paid its spirit
    g.hero.hp = g.hero.max_hp = 100;
    for (int d : c.draws) g.rng.rig(d);
    EXPECT_EQ(opponent_move(g), NextTurn::Hero);
    EXPECT_EQ(move_messages(b.messages()), c.messages);
    EXPECT_TRUE(b.no_draws_left());
    c.check(g);
  }
}

TEST(OpponentTurn, TooLittleMpStillFlashesAndPassesTheTurn) {
  BattleGame b;
  Game& g = b.g();
  b.face(8);
  g.enemy.mp = 6;
  b.rig({2, 1});
  opponent_turn(g);
  EXPECT_EQ(move_messages(b.messages()), (Lines{"猫召喚>ｶﾞﾆｭﾒｰﾄ", "Mpが足らなかった"}));
  EXPECT_EQ(g.enemy.mp, 6);
  EXPECT_EQ(g.hero.status, 0);
  EXPECT_TRUE(b.no_draws_left());
}

TEST(OpponentTurn, ClassTables) {
  struct Case {
    int job, r;
    const char* announcement;  // "" when no draw is made
  } cases[] = {
      {14, 9, "でこぴん>Lv1でこぴん"},  {14, 10, "でこぴん>Lv1でこぴん\\r\\rミスした"},
      {11, 9, "でこぴん>Lv1でこぴん\\r\\rミスした"}, {11, 10, "でこぴん>Lv1でこぴん\\r\\rミスした"},
      {20, 22, "でこぴん>Lv1でこぴん"},  {9999, 21, "ビンタ>真ビンタ"}, {21, 16, "ビンタ>真ビンタ"},
      {-1, -1, "でこぴん>Lv1でこぴん"}, {10000, -1, "でこぴん>Lv1でこぴん"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.job);
    BattleGame b;
    Game& g = b.g();
    b.face(c.job);
    g.hero.hp = g.hero.max_hp = 999;
    if (c.r >= 0) g.rng.rig(c.r);
    for (int i = 0; i < 4; ++i) g.rng.rig(1);
    opponent_turn(g);
    const Lines m = move_messages(b.messages());
    ASSERT_FALSE(m.empty());
    EXPECT_EQ(m[0], c.announcement);
    EXPECT_TRUE(g.rng.take_error().empty());
  }
}

TEST(OpponentTurn, Ailments) {
  struct Case {
    int status;
    std::vector<int> draws;
    Lines first;  // the ailment's messages
    bool acts;    // the opponent still moves
    int status_after, hp_after, spirit_after;
  } cases[] = {
      {1, {1}, {"テキは眠っている････"}, false, 1, 45, 30},
      {1, {0}, {"テキは目を覚ました！"}, true, 0, 45, 29},
      {2, {3}, {"テキは毒に苦しんでいる････\\r＞5のダメージ"}, true, 2, 40, 29},
      {3, {5}, {"テキは石化して動けない････"}, false, 3, 45, 30},
      {3, {0}, {"テキは石化から復活した"}, true, 0, 45, 29},
      {4, {2}, {"テキは癒された････\\r＞4の回復"}, true, 4, 49, 29},
      {5, {3, 1}, {"テキは凶暴化している････\\r＞テキの精霊が4上昇"}, true, 5, 45, 33},
      {5, {0, 0}, {"テキは冷静に戻った"}, true, 0, 45, 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first[0]);
    BattleGame b;
    Game& g = b.g();
    b.face(0, 0, 1, 60);
    g.enemy.hp = 45;
    g.enemy.status = c.status;
    g.hero.hp = g.hero.max_hp = 100;
    for (int d : c.draws) g.rng.rig(d);
    g.rng.rig(10);  // the move: a miss
    g.rng.rig(1);   // no figure
    opponent_turn(g);
    Lines m = b.messages();
    ASSERT_GE(m.size(), c.first.size());
    EXPECT_EQ(Lines(m.begin(), m.begin() + c.first.size()), c.first);
    EXPECT_EQ(std::find(m.begin(), m.end(), "テキの攻撃") != m.end(), c.acts);
    EXPECT_EQ(g.enemy.status, c.status_after);
    EXPECT_EQ(g.enemy.hp, c.hp_after);
    EXPECT_EQ(g.enemy.spirit_power, c.spirit_after);
    if (c.acts) {
      EXPECT_TRUE(b.no_draws_left());
    }
  }
}

TEST(OpponentTurn, PoisonLeavesTheOpponentAtOneAndTheSpiritFloorIsOne) {
  BattleGame b;
  Game& g = b.g();
  b.face(0);
  g.enemy.hp = 2;
  g.enemy.status = 2;
  g.enemy.spirit_power = 1;
  b.rig({3, 10, 1});
  opponent_turn(g);
  EXPECT_EQ(b.messages()[0], "テキは毒に苦しんでいる････\\r＞0のダメージ");
  EXPECT_EQ(g.enemy.hp, 1);
  EXPECT_EQ(g.enemy.spirit_power, 1);
}

TEST(HeroDeath, InAnOrdinaryBattle) {
  BattleGame b;
  Game& g = b.g();
  b.face(0, 0, 50);
  g.hero.hp = 3;
  g.hero.money = 101;
  g.hero.status = 2;
  b.rig({0, 0});
  click(g, ctl::Button5);  // the opponent's turn, through the click table: the road acts on the outcome
  EXPECT_EQ(b.messages(), (Lines{"テキの攻撃", "でこぴん>Lv1でこぴん", "55のダメージを受けた", "ライズは死んでしまった",
                                 "ライズの精霊【ｽﾀｰﾀﾞﾝｽ】が奪われた", "お金が1/2になった\\r････復活した",
                                 "････ライズは君ヶ丘から地上へ出た"}));
  EXPECT_EQ(g.hero.money, 50);
  EXPECT_EQ(g.hero.spirit_power, 0);
  EXPECT_EQ(b.utf8(g.hero.spirit_name), "ぬけがら");
  EXPECT_EQ(g.hero.hp, 30 + 7) << "full, plus the quarter of the battle's end until the next refresh";
  EXPECT_EQ(g.hero.status, 0);
  EXPECT_TRUE(g.form[ctl::map_box].visible);
  EXPECT_FALSE(g.form[ctl::danjyon_box].visible);
  EXPECT_FALSE(g.form[ctl::battle_box].visible);
  EXPECT_TRUE(b.no_draws_left());
}

TEST(HeroDeath, InABossBattleTheBossMustBeReachedAgain) {
  BattleGame b;
  Game& g = b.g();
  b.face(0, 0, 50);
  g.boss_battle = 1;
  g.hero.hp = 1;
  b.rig({0, 0});
  click(g, ctl::Button5);  // the opponent's turn, through the click table: the road acts on the outcome
  EXPECT_EQ(g.boss_battle, 0);
  EXPECT_EQ(g.hero.world_flags(203), 0) << "no place cleared";
  EXPECT_TRUE(g.form[ctl::map_box].visible);
  const Lines m = b.messages();
  EXPECT_EQ(std::count_if(m.begin(), m.end(), [](const std::string& s) { return s.find("金塊") != std::string::npos; }), 0);
}

TEST(HeroDeath, OnlyCheckedAfterAMove) {
  BattleGame b;
  Game& g = b.g();
  b.face(0);
  g.hero.hp = 0;
  g.enemy.status = 1;
  b.rig({1, 1});
  opponent_turn(g);
  EXPECT_TRUE(g.form.shown(ctl::battle_box)) << "an asleep opponent hands the turn back, at 0 Hp";
}

}  // namespace
