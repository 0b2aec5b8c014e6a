// The opponent's turn: the moves of each class, and the hero falling.
#include <array>
#include <string>

#include "battle/ailments.hpp"
#include "battle/battle.hpp"
#include "battle/turns.hpp"
#include "core/codes.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "effects/effects.hpp"

namespace {

// Which move each class makes: one draw from 0 .. draws-1 picks a move from the row.
struct ClassMoves {
  int draws;
  std::array<int8_t, 23> moves;
};
constexpr ClassMoves kClassMoves[21] = {
    {11, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 6}},          // 0 訓練生
    {12, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 6, 13}},      // 1 格闘家
    {11, {0, 0, 0, 0, 0, 0, 15, 15, 13, 1, 6}},       // 2 剣士
    {11, {0, 0, 0, 14, 14, 14, 14, 14, 14, 1, 6}},    // 3 機工士
    {11, {0, 0, 0, 0, 2, 2, 2, 8, 0, 1, 6}},          // 4 魔法使い
    {11, {0, 0, 0, 0, 0, 7, 7, 7, 7, 1, 6}},          // 5 毒使い
    {11, {0, 0, 0, 3, 3, 15, 15, 13, 13, 1, 6}},      // 6 魔剣士
    {11, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 6}},          // 7 呪術士
    {11, {18, 18, 9, 2, 0, 0, 0, 0, 0, 1, 6}},        // 8 占い師
    {11, {3, 8, 8, 12, 21, 0, 0, 0, 0, 1, 6}},        // 9 催眠術師
    {11, {17, 17, 17, 20, 13, 0, 0, 0, 0, 1, 6}},     // 10 ドラゴン使い
    {11, {7, 8, 9, 10, 11, 12, 0, 0, 0, 6, 6}},       // 11 召喚士
    {11, {5, 5, 10, 10, 11, 0, 0, 0, 0, 1, 6}},       // 12 ﾎﾜｲﾄﾅｲﾄ
    {11, {13, 13, 21, 18, 18, 18, 19, 0, 0, 1, 6}},   // 13 ﾀﾞｰｸﾅｲﾄ
    {11, {7, 7, 13, 13, 17, 17, 17, 20, 0, 0, 6}},    // 14 ﾄﾞﾗｺﾞﾝﾅｲﾄ
    {11, {4, 4, 12, 14, 15, 0, 0, 0, 0, 1, 6}},       // 15 ゴート兵
    {11, {4, 4, 19, 19, 19, 0, 0, 0, 0, 1, 6}},       // 16 八ノ地教兵
    {11, {20, 20, 4, 16, 16, 0, 0, 0, 0, 1, 6}},      // 17 ｽﾍﾟｼｬﾘｽﾄ
    {11, {4, 4, 20, 20, 0, 0, 0, 0, 0, 1, 6}},        // 18 妖精
    {11, {3, 3, 16, 16, 0, 0, 0, 0, 0, 1, 6}},        // 19 猫
    // 20 コネコ and every stray cat up to 9999
    {23, {0, 1, 3, 7, 8, 10, 11, 12, 21, 14, 16, 17, 18, 19, 20, 22, 22, 22, 22, 22, 22, 22, 0}},
};

// The context of one move: the opponent's spirit and level as the move starts, and a value
// drawn before the announcement where the move needs one.
struct MoveContext {
  int32_t s, l, pre;
};

enum class After { CheckHero, HeroTurn };

struct Move {
  const char* announcement;
  int cost;      // Mp; 0: no cost and no flash
  int pre_draw;  // drawn (0 .. n-1) before the announcement; 0 for none
  After (*run)(Game&, const MoveContext&);
};

// A summoning that lays an ailment on the hero unless a draw of 0 .. n-1 comes out 0.
After afflict_hero(Game& g, int n, int status, const char* message) {
  if (g.rng.draw(n) != 0) {
    g.hero.status = status;
    refresh_status(g);
    show_message(g, g.hero.name + g.sj(message));
  } else {
    show_message(g, g.hero.name + g.sj("は攻撃をかわした"));
  }
  return After::CheckHero;
}

After heal_enemy(Game& g, int32_t n, bool cures) {
  g.enemy.hp += n;
  std::string text = g.enemy.name + g.sj("のHpが") + num(n) + g.sj("回復した");
  if (cures) {
    g.enemy.status = ailment::none;
    text += "\r" + g.sj("ステータス異常が治った");
  }
  show_message(g, text);
  return After::CheckHero;
}

After hurt_directly(Game& g, int32_t d) {
  g.hero.hp -= d;
  shake_window(g);
  refresh_status(g);
  return After::CheckHero;
}

const Move kMoves[23] = {
    {"でこぴん>Lv1でこぴん", 0, 0,
     [](Game& g, const MoveContext& c) {
       damage_hero(g, c.s / 15 + c.l + g.rng.draw(2));
       return After::CheckHero;
     }},
    {"でこぴん>でこぴんｸﾘﾃｨｶﾙ", 0, 0,
     [](Game& g, const MoveContext& c) {
       damage_hero(g, 2 * (c.s / 15 + c.l) + g.rng.draw(2));
       return After::CheckHero;
     }},
    {"魔術>天使の雫", 2, 2,
     [](Game& g, const MoveContext& c) { return heal_enemy(g, c.s / 15 + c.l + c.pre, false); }},
    {"魔術>天使の水", 2, 2,
     [](Game& g, const MoveContext& c) { return heal_enemy(g, c.s / 10 + c.l + c.pre, true); }},
    {"魔術>天使の風", 2, 2,
     [](Game& g, const MoveContext& c) { return heal_enemy(g, c.s / 5 + c.l + c.pre, true); }},
    {"魔術>神の御水", 3, 0,
     [](Game& g, const MoveContext&) { return heal_enemy(g, g.enemy.max_hp, true); }},
    {"でこぴん>Lv1でこぴん\r\rミスした", 0, 0,
     [](Game&, const MoveContext&) { return After::HeroTurn; }},
    {"猫召喚>アリラン", 2, 0,
     [](Game& g, const MoveContext&) { return afflict_hero(g, 4, ailment::poisoned, "は毒に犯された"); }},
    {"猫召喚>白川冷子", 3, 0,
     [](Game& g, const MoveContext&) { return afflict_hero(g, 4, ailment::asleep, "は眠ってしまった"); }},
    {"猫召喚>ｶﾞﾆｭﾒｰﾄ", 7, 0,
     [](Game& g, const MoveContext&) { return afflict_hero(g, 3, ailment::stone, "は石化してしまった"); }},
    {"猫召喚>ミルテ", 2, 0,
     [](Game& g, const MoveContext&) {
       if (g.rng.draw(4) != 0) {
         g.enemy.status = ailment::healing;
         refresh_status(g);
         show_message(g, g.enemy.name + g.sj("は癒し状態になった"));
       } else {
         show_message(g, g.enemy.name + g.sj("は召喚に失敗した"));
       }
       return After::CheckHero;
     }},
    {"猫召喚>林", 5, 0,
     [](Game& g, const MoveContext&) { return afflict_hero(g, 3, ailment::attack_sealed, "は攻撃を封印されてしまった"); }},
    {"猫召喚>ﾋﾞｳﾞｧﾙﾃﾞｨ竹原", 5, 0,
     [](Game& g, const MoveContext&) { return afflict_hero(g, 3, ailment::magic_sealed, "は魔法を封印されてしまった"); }},
    {"獣>無想", 2, 0,
     [](Game& g, const MoveContext&) {
       if (g.rng.draw(7) != 0) {
         g.enemy.status = ailment::frenzied;
         refresh_status(g);
         show_message(g, g.enemy.name + g.sj("は凶暴化した"));
       } else {
         show_message(g, g.enemy.name + g.sj("は失敗した"));
       }
       return After::CheckHero;
     }},
    {"機械>トロッコ銃", 0, 0,
     [](Game& g, const MoveContext& c) {
       const int32_t d = 2 * c.l + g.rng.draw(2);
       hurt_directly(g, d);
       show_message(g, num(d) + g.sj("のダメージを受けた"));
       return After::CheckHero;
     }},
    {"封印剣>ブッカ・ブー刀", 0, 0,
     [](Game& g, const MoveContext& c) {
       const int32_t n = c.s / 25 + c.l + g.rng.draw(2);
       g.hero.spirit_power -= n;
       shake_window(g);
       refresh_status(g);
       show_message(g, g.hero.name + g.sj("の精霊が") + num(n) + g.sj("削られた"));
       return After::CheckHero;
     }},
    {"占星術>光り輝く星", 3, 0,
     [](Game& g, const MoveContext& c) {
       const int32_t saved = g.message_delay_ms;
       g.message_delay_ms = 300;
       if (g.enemy.attribute != attribute::sun) {
         const int stars = 1 + g.rng.draw(3);
         for (int i = 0; i < stars; ++i) {
           const int32_t n = g.rng.draw(5) + c.s / 25 + c.l;
           hurt_directly(g, n);
           show_message(g, g.sj("星が降る\r") + num(n) + g.sj("ダメージ受けた"));
         }
       }
       g.message_delay_ms = saved;
       return After::CheckHero;
     }},
    {"竜言語魔法>ダークドラゴン", 2, 0,
     [](Game& g, const MoveContext&) {
       const int32_t n = g.enemy.max_hp - g.enemy.hp;
       hurt_directly(g, n);
       show_message(g, g.enemy.name + g.sj("のダメージ分") + num(n) + g.sj("ダメージ受けた"));
       if (g.hero.hp <= 0) g.hero.hp = 1;
       refresh_status(g);
       return After::CheckHero;
     }},
    {"禁呪>ネクロマンス", 3, 0,
     [](Game& g, const MoveContext& c) {
       const int32_t n = c.s / 20 + c.l + 6;
       g.hero.hp -= n;
       g.enemy.hp += n;
       shake_window(g);
       refresh_status(g);
       show_message(g, num(n) + g.sj("のダメージを吸い取られた"));
       return After::CheckHero;
     }},
    {"ｍ法>月光", 3, 0,
     [](Game& g, const MoveContext&) {
       const int32_t d = g.rng.draw(10);
       show_message(g, g.sj("成功確率") + num(100 / (d + 1)) + g.sj("％") + g.sj("\r↓\r↓\r↓"));
       if (g.rng.draw(d + 1) == 0) {
         hurt_directly(g, g.hero.hp - g.hero.hp / 2);
         show_message(g, g.sj("↓\r↓\r") + g.hero.name + g.sj("のHpが1/2にされた！"));
         return After::CheckHero;
       }
       show_message(g, g.sj("↓\r↓\r失敗した"));
       return After::HeroTurn;
     }},
    {"妖精術>インプ", 7, 0,
     [](Game& g, const MoveContext& c) {
       show_message(g, g.sj("精霊【") + g.enemy.spirit_name + g.sj("】達の妖精力が爆発する"));
       damage_hero(g, c.s);
       g.enemy.spirit_power = c.s / 4;
       refresh_status(g);
       show_message(g, g.enemy.name + g.sj("の精霊が") + num((c.s / 4) * 3) + g.sj("減少した"));
       if (g.rng.draw(3) == 0) {
         g.hero.status = ailment::healing;
         refresh_status(g);
         show_message(g, g.hero.name + g.sj("は癒し状態になった"));
       }
       return After::CheckHero;
     }},
    {"猫召喚>アーサー", 4, 0,
     [](Game& g, const MoveContext&) { return afflict_hero(g, 3, ailment::confused, "は混乱してしまった"); }},
    {"ビンタ>真ビンタ", 0, 0,
     [](Game& g, const MoveContext& c) {
       damage_hero(g, c.s / 15 + c.l + g.rng.draw(20));
       return After::CheckHero;
     }},
};

int choose_move(Game& g) {
  const int32_t job = g.enemy.job;
  if (job < 0 || job > 9999) return 0;
  const ClassMoves& row = kClassMoves[job < 20 ? job : 20];
  return row.moves[g.rng.draw(row.draws)];
}

void hero_dies(Game& g) {
  Hero& h = g.hero;
  h.hp = 0;
  show_message(g, g.hero.name + g.sj("は死んでしまった"));
  h.spirit_power = 0;
  refresh_status(g);
  show_message(g, g.hero.name + g.sj("の精霊【") + h.spirit_name + g.sj("】が奪われた"));
  h.spirit_name = g.sj("ぬけがら");
  refresh_status(g);
  h.money = h.money / 2;
  refresh_status(g);
  show_message(g, g.sj("お金が1/2になった\r････復活した"));
  h.hp = h.max_hp;
  h.mp = h.max_mp;
  g.boss_battle = 0;
  end_battle(g);
  g.battle_left_location = true;
}

}  // namespace

NextTurn opponent_move(Game& g) {
  Enemy& e = g.enemy;
  if (shared_ailment(g, opponent_side(g)) == AilmentOutcome::LosesTurn) return NextTurn::Hero;
  refresh_status(g);
  show_message(g, g.enemy.name + g.sj("の攻撃"));
  e.spirit_power -= 1;
  if (e.spirit_power <= 1) e.spirit_power = 1;
  const Move& move = kMoves[choose_move(g)];
  MoveContext c{e.spirit_power, e.level, 0};
  if (move.pre_draw) c.pre = g.rng.draw(move.pre_draw);
  show_message(g, g.sj(move.announcement));
  if (move.cost) {
    flash_white(g);
    if (e.mp < move.cost) {
      show_message(g, g.sj("Mpが足らなかった"));
      return NextTurn::Hero;
    }
    e.mp -= move.cost;
  }
  if (move.run(g, c) == After::HeroTurn) return NextTurn::Hero;
  if (g.hero.hp > 0) return NextTurn::Hero;
  hero_dies(g);
  return NextTurn::None;
}
