// The special group (とくしゅ): techniques 17 to 24, each outcome.
#include <gtest/gtest.h>

#include "battle/technique_effects.hpp"
#include "core/savefile.hpp"
#include "support/battle_game.hpp"

namespace {

using Lines = std::vector<std::string>;


TEST(Special, FlickTwoAndTheOnionSword) {
  EffectRun r;
  r.run(17, 2, 20, {0});
  EXPECT_EQ(r.b.messages(), (Lines{"でこぴん完成ｸﾘﾃｨｶﾙ！", "27ダメージ与えた"}));
  EffectRun onion;
  onion.run(18, 1, 0, {0});
  EXPECT_EQ(onion.b.messages(), (Lines{"6ダメージ与えた", "タマネギ登場", "敵を眠らせた"}));
  EXPECT_EQ(onion.g.enemy.status, 1);
}

TEST(Special, CardThrowUsesTheHighestHeldCard) {
  struct Case {
    int lv, damage;
  } cases[] = {{1, 10}, {2, 20}, {3, 33}, {4, 40}, {5, 50}, {6, 66}, {7, 100}, {10, 100}};
  for (const auto& c : cases) {
    EffectRun r;
    Game& g = r.g;
    g.items[300] = {r.b.sj("card･A"), "", 111, 0};
    g.items[400] = {r.b.sj("card･B"), "", 111, 0};
    g.items[450] = {r.b.sj("card･C"), "", 111, 0};
    g.hero.item_count[300] = g.hero.item_count[400] = 1;
    r.run(19, c.lv, 0, {});
    EXPECT_EQ(r.b.messages(), (Lines{"card･Bを投げた", "敵のHPを\\rMAXHPの " + std::to_string(5 * c.lv) + "％差し引く",
                                     std::to_string(c.damage) + "ダメージ与えた"}));
    EXPECT_EQ(g.hero.item_count[400], 0);
    EXPECT_EQ(g.hero.item_count[300], 1);
  }
  EffectRun none;
  none.b.rig({10, 1});
  EXPECT_EQ(none.run(19, 3, 0, {}), Afterwards::EndsAction);
  EXPECT_EQ(none.b.messages()[0], "カードを持っていなかった！");
}

TEST(Special, Stealing) {
  EffectRun fail;
  fail.run(20, 1, 0, {0});
  EXPECT_EQ(fail.b.messages(), (Lines{"＞コッソリと\\r↓\\r↓\\r↓", "↓\\r↓\\r↓\\r失敗した！"}));
  EffectRun item;
  item.run(20, 1, 0, {1, 9});
  EXPECT_EQ(item.b.messages()[1], "↓\\r↓\\r↓\\rライズは【" + item.b.utf8(item.g.items[9].name) + "】を見つけた！");
  EXPECT_EQ(item.g.hero.item_count[9], 1);
  EffectRun gold;
  gold.g.hero.money = 10;
  gold.run(20, 1, 0, {2, 199});
  EXPECT_EQ(gold.b.messages()[1], "金塊199円を盗んだ");
  EXPECT_EQ(gold.g.hero.money, 209);
}

TEST(Special, CryingAllAnswers) {
  struct Case {
    int r;
    Lines after;
    std::function<void(const Game&)> check;
  } cases[] = {
      {0, {"敵は無視した"}, nullptr},
      {1, {"敵は無視した"}, nullptr},
      {2, {"テキ「もっと強くなるんだよ」", "精霊を5増やしてくれた"}, [](const Game& g) { EXPECT_EQ(g.hero.spirit_power, 15); }},
      {4, {"テキ「もっと強くなるんだよ」", "精霊を5増やしてくれた"}, [](const Game& g) { EXPECT_EQ(g.hero.spirit_power, 15); }},
      {3, {"テキ「イタイのイタイのとんでけー」", "傷をなおしてくれた"}, [](const Game& g) { EXPECT_EQ(g.hero.hp, 35); }},
      {8, {"テキ「イタイのイタイのとんでけー」", "傷をなおしてくれた"}, [](const Game& g) { EXPECT_EQ(g.hero.hp, 35); }},
      {5, {"敵が同情して100円くれた"}, [](const Game& g) { EXPECT_EQ(g.hero.money, 100); }},
      {7, {"敵が同情して100円くれた"}, [](const Game& g) { EXPECT_EQ(g.hero.money, 100); }},
      {6, {"テキ「よしよしもう泣かないで？", "敵は降伏した"}, [](const Game& g) { EXPECT_EQ(g.enemy.hp, 0); }},
      {10, {"テキ「よしよしもう泣かないで？", "敵は降伏した"}, [](const Game& g) { EXPECT_EQ(g.enemy.hp, 0); }},
      {9, {"テキ「泣くなっうるさい！」"}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.r);
    EffectRun r;
    r.g.hero.money = 0;
    r.run(21, 10, 10, {c.r});
    Lines expected{"ライズは泣いた", "「えーんえーん」"};
    expected.insert(expected.end(), c.after.begin(), c.after.end());
    EXPECT_EQ(r.b.messages(), expected);
    if (c.check) c.check(r.g);
  }
  EffectRun level1;
  level1.run(21, 1, 0, {1});
  EXPECT_TRUE(level1.g.rng.take_error().empty()) << "level 1 draws 0 .. 1";
  EffectRun boss;
  boss.g.boss_battle = 1;
  boss.b.rig({10, 1});
  EXPECT_EQ(boss.run(21, 10, 0, {}), Afterwards::EndsAction);
  EXPECT_EQ(boss.b.messages()[2], "敵は無視した");
}

TEST(Special, TurningTheOpponentIntoACard) {
  EffectRun r;
  Game& g = r.g;
  r.run(22, 10, 0, {0, 17});
  EXPECT_EQ(r.b.messages(), (Lines{"成功確率60％\\r↓\\r↓\\r↓", "↓\\r↓\\rテキをカードに変えた！", "「card･テキ」を入手した!"}));
  EXPECT_EQ(r.b.utf8(g.items[512].name), "card･テキ");
  EXPECT_EQ(g.items[512].kind, 111);
  EXPECT_EQ(g.items[512].value, 17);
  EXPECT_EQ(g.hero.item_count[512], 1);
  EXPECT_EQ(g.enemy.hp, 0);

  // The card is in the catalogue after the window closes, and can be thrown in the next run.
  close_window(g);
  HeadlessHost host;
  Game again(host, r.b.data.dir().string());
  create_window(again);
  EXPECT_EQ(again.sjis.to_utf8(again.items[512].name), "card･テキ");
  EXPECT_EQ(again.hero.item_count[512], 1);
  again.enemy = g.enemy;
  again.enemy.hp = again.enemy.max_hp = 100;
  again.hovered_tech = 19;
  technique_effect(19)(again, TechContext{1, 0});
  EXPECT_EQ(again.hero.item_count[512], 0);
  EXPECT_EQ(again.sjis.to_utf8(again.items[512].name), "card･テキ") << "thrown, the card stays in the catalogue";
}

TEST(Special, CardMakingFailsAgainstABossAndWithoutSlots) {
  EffectRun boss;
  boss.g.boss_battle = 1;
  boss.run(22, 10, 0, {});
  EXPECT_EQ(boss.b.messages(), (Lines{"成功確率0％\\r↓\\r↓\\r↓", "↓\\r↓\\r失敗した！"}));
  EXPECT_TRUE(boss.b.no_draws_left());
  EffectRun full;
  for (int i = 256; i <= 512; ++i) full.g.items[i].name = "x";
  full.run(22, 10, 0, {0});
  EXPECT_EQ(full.b.messages()[1], "これ以上敵をカード化できません。");
  EXPECT_EQ(full.g.enemy.hp, 200);
}

TEST(Special, EatingAllTastes) {
  struct Case {
    int draw;
    Lines tail;
    std::function<void(const Game&)> check;
  } cases[] = {
      {0, {"ライズのＨＰが完全回復した"}, [](const Game& g) { EXPECT_EQ(g.hero.hp, 100); }},
      {1, {"｢まずいっ！｣", "HPが半減した"}, [](const Game& g) { EXPECT_EQ(g.hero.hp, 10); }},
      {2, {"｢ガフガフ｣", "MPが完全回復した"}, [](const Game& g) { EXPECT_EQ(g.hero.mp, g.hero.max_mp); }},
      {3, {"｢いけるっ！｣", "【攻撃力】が1上がった"}, [](const Game& g) { EXPECT_EQ(g.hero.attack, 1); }},
      {4, {"｢おいしいっ！｣", "【防御力】が1上がった"}, [](const Game& g) { EXPECT_EQ(g.hero.defense, 1); }},
      {5, {"｢美味っ！｣", "【魔力】が1上がった"}, [](const Game& g) { EXPECT_EQ(g.hero.magic, 1); }},
      {6, {"｢げえええっ！｣", "【攻撃力】が1下がった"}, [](const Game& g) { EXPECT_EQ(g.hero.attack, -1); }},
      {7, {"｢・・・♪｣", "【運】が1上がった"}, [](const Game& g) { EXPECT_EQ(g.hero.luck, 1); }},
      {8, {"｢んっ？｣", "精霊に獣の魂が宿った！"},
       [](const Game& g) {
         EXPECT_EQ(g.hero.spirit_power, 12);
         EXPECT_EQ(g.sjis.to_utf8(g.hero.spirit_name), "獣神ｲﾘｭｰｶﾞ");
       }},
      {9, {"｢いい味！｣", "属性<太陽>が1上がった"}, [](const Game& g) { EXPECT_EQ(g.hero.attr_sun, 1); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.draw);
    EffectRun r;
    r.run(23, 1, 6, {c.draw});
    Lines expected{"ライズはテキの体を食べた！", "99ダメージ与えた"};
    expected.insert(expected.end(), c.tail.begin(), c.tail.end());
    EXPECT_EQ(r.b.messages(), expected);
    c.check(r.g);
  }
  EffectRun one(0, 10);
  one.g.enemy.hp = 1;
  one.run(23, 1, 0, {9});
  EXPECT_EQ(one.b.messages()[1], "-1ダメージ与えた");
  EXPECT_EQ(one.g.enemy.hp, 2);
}

TEST(Special, StarGazing) {
  EffectRun one;
  one.run(24, 10, 0, {0});
  EXPECT_EQ(one.b.messages(), (Lines{"ライズ「星が奇麗だな・・・・」", "ライズ「一番星みっけ」", "星を1コ手に入れた"}));
  EXPECT_EQ(one.g.hero.stars, 1);
  EffectRun many;
  many.run(24, 10, 0, {1});
  EXPECT_EQ(many.b.messages()[2], "星を10コ手に入れた");
  EXPECT_EQ(many.g.hero.stars, 10);
  EffectRun cloudy;
  cloudy.run(24, 10, 0, {2});
  EXPECT_EQ(cloudy.b.messages()[1], "ライズ「今日は曇ってて星がミエナイ」");
  EXPECT_EQ(cloudy.g.hero.stars, 0);
}

}  // namespace
