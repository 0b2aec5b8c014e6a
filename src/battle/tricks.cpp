// The special group (とくしゅ): techniques 17 to 24.
#include <string>

#include "battle/battle.hpp"
#include "battle/technique_effects.hpp"
#include "core/codes.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "effects/effects.hpp"

namespace {

Afterwards lose_turn(Game& g) {
  opponent_turn(g);
  return Afterwards::EndsAction;
}

// What the opponent does when the hero cries, by the draw 0 .. lv.
struct CryAnswer {
  const char* with_name;  // said by the opponent (its name first), or nullptr
  const char* message;    // then this, or nullptr
  void (*change)(Game&);  // nullptr: nothing changes
  bool refresh;           // the status panel is refreshed after the change
};
const CryAnswer kCryAnswers[11] = {
    {nullptr, "敵は無視した", nullptr, false},
    {nullptr, "敵は無視した", nullptr, false},
    {"「もっと強くなるんだよ」", "精霊を5増やしてくれた", [](Game& g) { g.hero.spirit_power += 5; }, true},
    {"「イタイのイタイのとんでけー」", "傷をなおしてくれた", [](Game& g) { g.hero.hp += 15; }, true},
    {"「もっと強くなるんだよ」", "精霊を5増やしてくれた", [](Game& g) { g.hero.spirit_power += 5; }, true},
    {nullptr, "敵が同情して100円くれた", [](Game& g) { g.hero.money += 100; }, true},
    {"「よしよしもう泣かないで？", "敵は降伏した", [](Game& g) { g.enemy.hp = 0; }, false},
    {nullptr, "敵が同情して100円くれた", [](Game& g) { g.hero.money += 100; }, true},
    {"「イタイのイタイのとんでけー」", "傷をなおしてくれた", [](Game& g) { g.hero.hp += 15; }, true},
    {"「泣くなっうるさい！」", nullptr, nullptr, false},
    {"「よしよしもう泣かないで？", "敵は降伏した", [](Game& g) { g.enemy.hp = 0; }, false},
};

// What eating the opponent does, by the draw 0 .. 9: messages first, then the change.
struct Taste {
  const char* first;   // nullptr: only the second message
  const char* second;  // the hero's name first when `named`
  bool named;
  void (*change)(Game&);
};
const Taste kTastes[10] = {
    {nullptr, "のＨＰが完全回復した", true, [](Game& g) { g.hero.hp = g.hero.max_hp; }},
    {"｢まずいっ！｣", "HPが半減した", false, [](Game& g) { g.hero.hp /= 2; }},
    {"｢ガフガフ｣", "MPが完全回復した", false, [](Game& g) { g.hero.mp = g.hero.max_mp; }},
    {"｢いけるっ！｣", "【攻撃力】が1上がった", false, [](Game& g) { g.hero.attack += 1; }},
    {"｢おいしいっ！｣", "【防御力】が1上がった", false, [](Game& g) { g.hero.defense += 1; }},
    {"｢美味っ！｣", "【魔力】が1上がった", false, [](Game& g) { g.hero.magic += 1; }},
    {"｢げえええっ！｣", "【攻撃力】が1下がった", false, [](Game& g) { g.hero.attack -= 1; }},
    {"｢・・・♪｣", "【運】が1上がった", false, [](Game& g) { g.hero.luck += 1; }},
    {"｢んっ？｣", "精霊に獣の魂が宿った！", false,
     [](Game& g) {
       g.hero.spirit_power *= 2;
       g.hero.spirit_name = g.sj("獣神ｲﾘｭｰｶﾞ");
     }},
    {"｢いい味！｣", "属性<太陽>が1上がった", false, [](Game& g) { g.hero.attr_sun += 1; }},
};

}  // namespace

Afterwards flick2(Game& g, const TechContext& c) {
  const int32_t m = c.sp / 20 + 1;
  damage_enemy(g, critical_roll(g, 2 * m * c.lv + 1, "でこぴん完成ｸﾘﾃｨｶﾙ！"));
  return Afterwards::Continue;
}

Afterwards onion_sword(Game& g, const TechContext& c) {
  damage_enemy(g, (c.sp / 20 + 1) * c.lv + 5);
  if (g.rng.draw(5) == 0) {
    show_message(g, g.sj("タマネギ登場"));
    g.enemy.status = ailment::asleep;
    refresh_status(g);
    show_message(g, g.sj("敵を眠らせた"));
  }
  return Afterwards::Continue;
}

Afterwards card_throw(Game& g, const TechContext& c) {
  int card = 0;
  for (int i = kItems - 1; i >= 1 && !card; --i)
    if (g.items[i].kind == item_kind::card && g.hero.item_count[i] == 1) card = i;
  if (!card) {
    show_message(g, g.sj("カードを持っていなかった！"));
    return lose_turn(g);
  }
  g.hero.item_count[card] = 0;
  show_message(g, g.items[card].name + g.sj("を投げた"));
  show_message(g, g.sj("敵のHPを\rMAXHPの ") + num(5 * c.lv) + g.sj("％差し引く"));
  // The share grows with the level: 1/20 at level 1 up to 1/2 from level 7.
  const int divisor = c.lv >= 1 && c.lv <= 20 ? 20 / c.lv : c.lv > 20 ? 1 : 20;
  damage_enemy(g, g.enemy.max_hp / divisor);
  return Afterwards::Continue;
}

Afterwards steal(Game& g, const TechContext&) {
  show_message(g, g.sj("＞コッソリと\r↓\r↓\r↓"));
  const std::string failed = g.sj("↓\r↓\r↓\r失敗した！");
  switch (g.rng.draw(3)) {
    case 0:
      show_message(g, failed);
      break;
    case 1:
      if (auto item = pick_item(g)) {
        g.hero.item_count[*item] = 1;
        show_message(g, g.sj("↓\r↓\r↓\r") + g.hero.name + g.sj("は【") + g.items[*item].name +
                            g.sj("】を見つけた！"));
      } else {
        show_message(g, failed);
      }
      break;
    default: {
      const int32_t gold = g.rng.draw(200);
      show_message(g, g.sj("金塊") + num(gold) + g.sj("円を盗んだ"));
      g.hero.money += gold;
      refresh_status(g);
    }
  }
  return Afterwards::Continue;
}

Afterwards cry(Game& g, const TechContext& c) {
  show_message(g, g.hero.name + g.sj("は泣いた"));
  show_message(g, g.sj("「えーんえーん」"));
  if (g.boss_battle == 1) {
    show_message(g, g.sj("敵は無視した"));
    return lose_turn(g);
  }
  const int r = g.rng.draw(c.lv + 1);
  const CryAnswer& a = kCryAnswers[r >= 0 && r <= 10 ? r : 0];
  if (a.with_name) show_message(g, g.enemy.name + g.sj(a.with_name));
  if (a.message) show_message(g, g.sj(a.message));
  if (a.change) a.change(g);
  if (a.refresh) refresh_status(g);
  return Afterwards::Continue;
}

Afterwards make_card(Game& g, const TechContext& c) {
  const bool boss = g.boss_battle == 1;
  show_message(g, g.sj("成功確率") + num(boss ? 0 : shown_chance(c.lv)) + g.sj("％\r↓\r↓\r↓"));
  if (boss || g.rng.draw(12 - c.lv) != 0) {
    show_message(g, g.sj("↓\r↓\r失敗した！"));
    return Afterwards::Continue;
  }
  flash_hit(g);
  int slot = 0;
  for (int i = kItems - 1; i >= 256 && !slot; --i)
    if (g.items[i].name.empty()) slot = i;
  if (!slot) {
    show_message(g, g.sj("これ以上敵をカード化できません。"));
    return Afterwards::Continue;
  }
  const std::string card = g.sj("card･") + g.enemy.name;
  g.items[slot] = {card, "", item_kind::card, g.rng.draw(29)};
  g.hero.item_count[slot] = 1;
  g.enemy.hp = 0;
  refresh_status(g);
  show_message(g, g.sj("↓\r↓\r") + g.enemy.name + g.sj("をカードに変えた！"));
  show_message(g, g.sj("「") + card + g.sj("」を入手した!"));
  return Afterwards::Continue;
}

Afterwards eat(Game& g, const TechContext&) {
  show_message(g, g.hero.name + g.sj("は") + g.enemy.name + g.sj("の体を食べた！"));
  damage_enemy(g, g.enemy.hp / 2 - 1);
  const Taste& t = kTastes[g.rng.draw(10)];
  if (t.first) show_message(g, g.sj(t.first));
  show_message(g, (t.named ? g.hero.name : std::string()) + g.sj(t.second));
  t.change(g);
  return Afterwards::Continue;
}

Afterwards star_gazing(Game& g, const TechContext& c) {
  show_message(g, g.hero.name + g.sj("「星が奇麗だな・・・・」"));
  switch (g.rng.draw(3)) {
    case 0:
      show_message(g, g.hero.name + g.sj("「一番星みっけ」"));
      g.hero.stars += 1;
      refresh_status(g);
      show_message(g, g.sj("星を1コ手に入れた"));
      break;
    case 1:
      show_message(g, g.hero.name + g.sj("「わあ、星がたくさん」"));
      g.hero.stars += c.lv;
      refresh_status(g);
      show_message(g, g.sj("星を") + num(c.lv) + g.sj("コ手に入れた"));
      break;
    default:
      show_message(g, g.hero.name + g.sj("「今日は曇ってて星がミエナイ」"));
  }
  return Afterwards::Continue;
}
