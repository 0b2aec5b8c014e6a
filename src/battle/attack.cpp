// The attack group (こうげき): techniques 1 to 8.
#include <string>

#include "battle/battle.hpp"
#include "battle/technique_effects.hpp"
#include "core/codes.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "effects/effects.hpp"

// 1 でこぴん, 2 剣術: a blow that may land critically.
Afterwards flick(Game& g, const TechContext& c) {
  const int32_t m = c.sp / 20 + 1;
  damage_enemy(g, critical_roll(g, m * c.lv + 1, "でこぴんｸﾘﾃｨｶﾙ！"));
  return Afterwards::Continue;
}

Afterwards swordsmanship(Game& g, const TechContext& c) {
  const int32_t m = c.sp / 10 + 1;
  damage_enemy(g, critical_roll(g, m * c.lv + 5, "剣ｸﾘﾃｨｶﾙ！"));
  return Afterwards::Continue;
}

// 3 弓矢狼: weak against demons, strong against angels.
Afterwards bow_wolf(Game& g, const TechContext& c) {
  int32_t m = c.sp / 20 + 1;
  if (g.enemy.attribute == attribute::magic) m = weaker(g, m, 3);
  else if (g.enemy.attribute == attribute::angel) m = stronger(g, m);
  damage_enemy(g, m * c.lv + 1);
  return Afterwards::Continue;
}

// 4 機械: powered by the hero's level; a direct hit past every bonus.
Afterwards machine(Game& g, const TechContext& c) {
  int32_t m = g.hero.level / 2;
  if (g.enemy.attribute == attribute::none) m = weaker(g, m, 2);
  const int32_t d = m * c.lv + 1;
  flash_hit(g);
  g.enemy.hp -= d;
  refresh_status(g);
  show_message(g, num(d) + g.sj("ダメージ与えた"));
  return Afterwards::Continue;
}

// 5 暗黒剣: strong against angels; the hero pays for it in Hp.
Afterwards dark_sword(Game& g, const TechContext& c) {
  int32_t m = c.sp / 5 + 1;
  if (g.enemy.attribute == attribute::angel) m = stronger(g, m);
  const int32_t d = m * c.lv + 5;
  damage_enemy(g, d);
  const int32_t r = d / 5 + 1;
  g.hero.hp -= r;
  shake_window(g);
  refresh_status(g);
  show_message(g, g.sj("暗黒の契約\r････") + num(r) + g.sj("のダメージを受けた"));
  return Afterwards::Continue;
}

// 6 獣: strong against demons, weak against angels; may leave the hero berserk.
Afterwards beast(Game& g, const TechContext& c) {
  int32_t m = c.sp / 15 + 1;
  if (g.enemy.attribute == attribute::magic) m = stronger(g, m);
  else if (g.enemy.attribute == attribute::angel) m = weaker(g, m, 3);
  damage_enemy(g, m * c.lv + 1);
  if (g.rng.draw(3) == 0) {
    g.hero.status = ailment::frenzied;
    show_message(g, g.hero.name + g.sj("は凶暴化した"));
    refresh_status(g);
  }
  return Afterwards::Continue;
}

// 7 封印剣: also cuts the opponent's spirit.
Afterwards sealing_sword(Game& g, const TechContext& c) {
  const int32_t m = c.sp / 15 + 1;
  const int32_t d = m * c.lv + 10;
  damage_enemy(g, d);
  const int32_t s = d / 2;
  g.enemy.spirit_power -= s;
  if (g.enemy.spirit_power <= 1) g.enemy.spirit_power = 1;
  refresh_status(g);
  show_message(g, g.enemy.name + g.sj("の精霊に") + num(s) + g.sj("ダメージ与えた"));
  return Afterwards::Continue;
}

// 8 ビンタ: a flurry of 2 to lv + 1 slaps, each paid with a spirit.
Afterwards slap(Game& g, const TechContext& c) {
  show_message(g, g.sj("電光石火ホトバシル"));
  const int32_t saved_delay = g.message_delay_ms;
  g.message_delay_ms = 300;
  const int32_t m = c.sp / 50 + 1;
  const int hits = 2 + g.rng.draw(c.lv);
  for (int i = 0; i < hits; ++i) {
    g.hero.spirit_power -= 1;
    const int32_t d = g.rng.draw(8) + m * c.lv;
    if (g.rng.draw(10) != 0) damage_enemy(g, d);
    else show_message(g, g.sj("ミスした"));
  }
  g.message_delay_ms = saved_delay;
  return Afterwards::Continue;
}

