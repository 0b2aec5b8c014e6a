// The ailments both sides share: sleep, poison, stone, healing and frenzy, as each turn meets them.
#include "battle/ailments.hpp"

#include "core/codes.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "effects/effects.hpp"

namespace {

// Sleep and stone: lost turns that wear off with one chance in `n`.
AilmentOutcome spell(Game& g, const Side& s, int n, const char* held, const char* freed) {
  if (g.rng.draw(n) != 0) {
    show_message(g, s.name + g.sj(held));
    return AilmentOutcome::LosesTurn;
  }
  show_message(g, s.name + g.sj(freed));
  s.status = ailment::none;
  return AilmentOutcome::GoesOn;
}
}  // namespace

Side hero_side(Game& g) {
  Hero& h = g.hero;
  return {h.name, h.hp, h.max_hp, h.status, h.spirit_power, h.max_hp, shake_window, flash_blue, rise_white_thin};
}

Side opponent_side(Game& g) {
  Enemy& e = g.enemy;
  return {e.name, e.hp, e.max_hp, e.status, e.spirit_power, e.hp, flash_hit, flash_white, rise_red};
}

AilmentOutcome shared_ailment(Game& g, const Side& s) {
  switch (s.status) {
    case ailment::asleep: return spell(g, s, 3, "は眠っている････", "は目を覚ました！");
    case ailment::stone: return spell(g, s, 6, "は石化して動けない････", "は石化から復活した");
    case ailment::poisoned: {  // poison never kills: it stops at 1 Hp and reports nothing then
      int32_t n = g.rng.draw(4) + s.hp / 20;
      s.hp -= n;
      s.poisoned(g);
      if (s.hp <= 0) s.hp = 1, n = 0;
      show_message(g, s.name + g.sj("は毒に苦しんでいる････") + "\r" + g.sj("＞") + num(n) + g.sj("のダメージ"));
      return AilmentOutcome::GoesOn;
    }
    case ailment::healing: {  // healing stops at the maximum, and reports nothing then
      int32_t n = g.rng.draw(4) + s.heal_base / 20;
      s.hp += n;
      if (s.hp >= s.max_hp) s.hp = s.max_hp, n = 0;
      s.healed(g);
      show_message(g, s.name + g.sj("は癒された････") + "\r" + g.sj("＞") + num(n) + g.sj("の回復"));
      return AilmentOutcome::GoesOn;
    }
    case ailment::frenzied: {  // berserk feeds the spirit whether it lasts or not
      const int32_t gain = 1 + g.rng.draw(4);
      s.spirit_power += gain;
      if (g.rng.draw(4) != 0) {
        s.raging(g);
        show_message(g, s.name + g.sj("は凶暴化している････") + "\r" + g.sj("＞") + s.name + g.sj("の精霊が") +
                            num(gain) + g.sj("上昇"));
      } else {
        show_message(g, s.name + g.sj("は冷静に戻った"));
        s.status = ailment::none;
      }
      return AilmentOutcome::GoesOn;
    }
    default:
      return AilmentOutcome::GoesOn;
  }
}
