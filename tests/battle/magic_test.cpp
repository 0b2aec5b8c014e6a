#include <gtest/gtest.h>

#include "battle/technique_effects.hpp"
#include "support/battle_game.hpp"

namespace {

using Lines = std::vector<std::string>;

// Runs one effect straight from the technique table, as the frame would after the click.

TEST(Magic, Sorcery) {
  EffectRun r;
  r.g.hero.status = 3;
  r.run(9, 2, 40, {});
  EXPECT_EQ(r.messages(), (Lines{"ライズは21回復した", "ステータス状態が戻った"}));
  EXPECT_EQ(r.g.hero.hp, 41);
  EXPECT_EQ(r.g.hero.status, 0);
  EffectRun full;
  full.g.hero.hp = 95;
  full.run(9, 10, 0, {});
  EXPECT_EQ(full.messages(), Lines{"ライズは25回復した"}) << "the uncapped amount is shown";
  EXPECT_EQ(full.g.hero.hp, 100);
}

TEST(Magic, AstrologyAndItsFallingStars) {
  EffectRun r(2);
  r.run(10, 2, 15, {1, 3, 0});
  EXPECT_EQ(r.messages(), (Lines{"14ダメージ与えた", "星が昇る\\r13ダメージ与えた", "星が昇る\\r10ダメージ与えた"}));
  EXPECT_EQ(r.g.enemy.hp, 200 - 14 - 13 - 10);
  EXPECT_EQ(r.g.message_delay_ms, 800);
  EffectRun sun(1);
  sun.run(10, 2, 15, {});
  EXPECT_EQ(sun.messages(), (Lines{"あまり効かない", "10ダメージ与えた"})) << "(2 / 3 + 5) x 2, no stars";
  EXPECT_TRUE(sun.b.no_draws_left());
}

TEST(Magic, DragonTongueIsTheHerosWounds) {
  EffectRun r;
  r.run(11, 1, 0, {});
  EXPECT_EQ(r.messages(), Lines{"80ダメージ与えた"});
  EffectRun full;
  full.g.hero.hp = 100;
  full.run(11, 7, 0, {});
  EXPECT_EQ(full.messages(), Lines{"0ダメージ与えた"});
}

TEST(Magic, CatSummoningAllOutcomes) {
  struct Case {
    int draw;
    std::vector<int> more;
    Lines after_hit;  // after "12ダメージ与えた"
    std::function<void(const Game&)> check;
  } cases[] = {
      {0, {}, {"ｶﾞﾆｭﾒｰﾄが現れた。\\r「････牢ジカケを味わうがいい」", "テキは石化した"},
       [](const Game& g) { EXPECT_EQ(g.enemy.status, 3); }},
      {1, {}, {"アリランが現れた。\\r「････オレ、手助けスル」", "テキは毒を浴びた"}, [](const Game& g) { EXPECT_EQ(g.enemy.status, 2); }},
      {8, {}, {"アリランが現れた。\\r「････オレ、手助けスル」", "テキは毒を浴びた"}, [](const Game& g) { EXPECT_EQ(g.enemy.status, 2); }},
      {2, {}, {"ミルテが現れた。\\r「････あなたに癒しあれ」", "ライズは癒し状態になった"}, [](const Game& g) { EXPECT_EQ(g.hero.status, 4); }},
      {3, {}, {"ジルが現れた。\\r「････俺の剣、うけてみよ」", "ジルの攻撃", "テキに100ダメージ与えた"},
       [](const Game& g) { EXPECT_EQ(g.enemy.hp, 88); }},
      {4, {}, {"ｼｭｰﾃｨﾝｸﾞ･ﾌﾗﾜｰが現れた。\\r「････ボクは争いを好まない」", "テキは100回復した\\rライズは100回復した"},
       [](const Game& g) {
         EXPECT_EQ(g.enemy.hp, 200);
         EXPECT_EQ(g.hero.hp, 100);
       }},
      {5, {}, {"スターダストが現れた。\\r「････冒険という名の闇へ」", "スターダンスの攻撃", "テキのHpが1になった。\\rライズのHpが1になった。"},
       [](const Game& g) {
         EXPECT_EQ(g.enemy.hp, 1);
         EXPECT_EQ(g.hero.hp, 1);
       }},
      {6, {0}, {"ビクトリーが現れた。\\r「････にゃーーーん」", "ビクトリーの攻撃", "9999ダメージ与えた"},
       [](const Game& g) { EXPECT_EQ(g.enemy.hp, 0); }},
      {6, {3}, {"ビクトリーが現れた。\\r「････にゃーーーん」", "ビクトリーの攻撃", "0ダメージ与えた"},
       [](const Game& g) { EXPECT_EQ(g.enemy.hp, 188); }},
      {7, {}, {"シルヴィアが現れた。\\r「････力がほしいの？」", "ライズの精霊が20上昇した"},
       [](const Game& g) { EXPECT_EQ(g.hero.spirit_power, 49); }},
      {9, {}, {"誰も召喚されなかった"}, nullptr},
      {10, {}, {"誰も召喚されなかった"}, nullptr},
      {11, {}, {"誰も召喚されなかった"}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.draw);
    EffectRun r(2);
    r.g.rng.rig(c.draw);
    for (int d : c.more) r.g.rng.rig(d);
    EXPECT_EQ(r.run(12, 2, 29, {}), Afterwards::Continue);
    Lines expected{"12ダメージ与えた"};
    expected.insert(expected.end(), c.after_hit.begin(), c.after_hit.end());
    EXPECT_EQ(r.messages(), expected);
    if (c.check) c.check(r.g);
    EXPECT_TRUE(r.b.no_draws_left());
  }
}

TEST(Magic, CatSummoningAgainstDemonsAndAngelsEndsTheAction) {
  EffectRun demon(3, 100);
  demon.g.enemy.hp = 50;
  demon.b.rig({10, 1});  // the opponent's turn: a miss; no figure
  EXPECT_EQ(demon.run(12, 1, 0, {}), Afterwards::EndsAction);
  const Lines m = demon.messages();
  EXPECT_EQ(Lines(m.begin(), m.begin() + 3), (Lines{"テキは魔法を吸収した", "テキは6回復した", "テキの攻撃"}));
  EffectRun angel(4);
  angel.b.rig({10, 1});
  EXPECT_EQ(angel.run(12, 1, 0, {}), Afterwards::EndsAction);
  EXPECT_EQ(angel.messages()[1], "ライズは6ダメージ受けた");
  EXPECT_EQ(angel.g.hero.hp, 14);
}

TEST(Magic, Drain) {
  EffectRun r;
  r.run(13, 3, 20, {});
  EXPECT_EQ(r.messages(), Lines{"11のダメージを吸い取った"});
  EXPECT_EQ(r.g.enemy.hp, 189);
  EXPECT_EQ(r.g.hero.hp, 31);
}

TEST(Magic, HalvingShowsOneChanceAndUsesAnother) {
  struct Case {
    int lv, shown, n;
  } cases[] = {{1, 10, 11}, {2, 11, 10}, {3, 12, 9}, {4, 14, 8}, {5, 16, 7},
               {6, 20, 6},  {7, 25, 5},  {8, 33, 4}, {9, 40, 3}, {10, 60, 2}};
  for (const auto& c : cases) {
    EffectRun win;
    EXPECT_EQ(win.run(14, c.lv, 0, {0}), Afterwards::Continue);
    EXPECT_EQ(win.messages(), (Lines{"成功確率" + std::to_string(c.shown) + "％\\r↓\\r↓\\r↓", "↓\\r↓\\rテキのHpを1/2にした！"}));
    EXPECT_EQ(win.g.enemy.hp, 100);
    EffectRun lose;
    lose.b.rig({c.n - 1});
    lose.b.rig({10, 1});
    EXPECT_EQ(lose.run(14, c.lv, 0, {}), Afterwards::EndsAction);
    EXPECT_EQ(lose.messages()[1], "↓\\r↓\\r失敗した");
    EXPECT_TRUE(lose.g.rng.take_error().empty()) << c.lv;
  }
}

TEST(Magic, FairyBurst) {
  EffectRun r(2);
  r.run(15, 2, 10, {0});
  EXPECT_EQ(r.messages(), (Lines{"精霊【ｽﾀｰﾀﾞﾝｽ】達の妖精力が爆発する", "20ダメージ与えた", "ライズの精霊が7減少した", "テキは癒し状態になった"}));
  EXPECT_EQ(r.g.hero.spirit_power, 3);
  EXPECT_EQ(r.g.enemy.status, 4);
  EffectRun none(0);
  none.run(15, 2, 10, {1});
  EXPECT_EQ(none.messages()[1], "あまり効かない");
  EXPECT_EQ(none.messages()[2], "15ダメージ与えた");
}

TEST(Magic, DanceAllOutcomes) {
  struct Case {
    int draw;
    Lines messages;
    std::function<void(const Game&)> check;
  } cases[] = {
      {0, {"ライズのMpが30回復した"}, [](const Game& g) { EXPECT_EQ(g.hero.mp, 10); }},
      {1, {"ライズの経験値が30上昇した"}, [](const Game& g) { EXPECT_EQ(g.hero.exp, 30); }},
      {2, {"ライズの魔力が解放する！", "40ダメージ与えた", "Mpが0になった"},
       [](const Game& g) {
         EXPECT_EQ(g.enemy.hp, 160);
         EXPECT_EQ(g.hero.mp, 0);
       }},
      {3, {"大地震が起きた！", "ライズと敵のHpは最大Hpの1/10になった"},
       [](const Game& g) {
         EXPECT_EQ(g.hero.hp, 10);
         EXPECT_EQ(g.enemy.hp, 20);
       }},
      {4, {"地球と太陽の位置が逆転する", "ライズの属性<太陽>と<水>、<魔>と<天使>がそれぞれ入れ替わった"},
       [](const Game& g) {
         EXPECT_EQ(g.hero.attr_sun, 2);
         EXPECT_EQ(g.hero.attr_water, 1);
         EXPECT_EQ(g.hero.attr_magic, 4);
         EXPECT_EQ(g.hero.attr_angel, 3);
       }},
      {5, {"ライズの【攻撃力】が1上昇した", "Mpが０になってしまった"},
       [](const Game& g) {
         EXPECT_EQ(g.hero.attack, 1);
         EXPECT_EQ(g.hero.mp, 0);
       }},
      {6, {"ライズの【防御力】が1上昇した", "Mpが０になってしまった"}, [](const Game& g) { EXPECT_EQ(g.hero.defense, 1); }},
      {7, {"ライズに眠る過去の記憶が呼び覚まされた", "【過去】が1上昇した", "【裏切り】が1上昇した", "Mpが1/3になってしまった"},
       [](const Game& g) { EXPECT_EQ(g.hero.mp, 1); }},
      {8, {"イナヅマが落ちた", "テキのHpを1にした"}, [](const Game& g) { EXPECT_EQ(g.enemy.hp, 1); }},
      {9, {"なにも起こらなかった････"}, nullptr},
      {10, {"精霊達がテキに味方した", "テキの精霊が100増えた"},
       [](const Game& g) {
         EXPECT_EQ(g.enemy.spirit_power, 130);
         EXPECT_EQ(g.sjis.to_utf8(g.enemy.spirit_name), "精霊神");
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.draw);
    EffectRun r;
    r.g.hero.mp = 4;
    r.g.hero.attr_sun = 1;
    r.g.hero.attr_water = 2;
    r.g.hero.attr_magic = 3;
    r.g.hero.attr_angel = 4;
    r.run(16, 1, 0, {c.draw});
    EXPECT_EQ(r.messages(), c.messages);
    if (c.check) c.check(r.g);
    EXPECT_TRUE(r.b.no_draws_left());
  }
}

TEST(Magic, DamageEnemyAddsTheMagicBonus) {
  EffectRun r;
  r.g.hero.magic = 10;
  r.g.hero.attack = 50;
  r.run(10, 1, 0, {2, 0});
  EXPECT_EQ(r.messages()[0], "26ダメージ与えた") << "(1 + 5) x 1 + 2 x magic";
}

}  // namespace
