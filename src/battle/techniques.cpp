// A click on a technique: its cost, its proficiency and level, then its effect; the attribute
// reactions and the critical roll the effects share.
#include "battle/techniques.hpp"

#include "battle/technique_effects.hpp"

#include <string>

#include "battle/battle.hpp"
#include "battle/turns.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "effects/effects.hpp"
#include "ui/technique_buttons.hpp"

int32_t weaker(Game& g, int32_t m, int divisor) {
  fall_white(g);
  show_message(g, g.sj("あまり効かない"));
  return m / divisor;
}

int32_t stronger(Game& g, int32_t m) {
  rise_white(g);
  show_message(g, g.sj("効果増大"));
  return m * 3;
}

int32_t critical_roll(Game& g, int32_t d, const char* message) {
  int n = 10 - g.hero.luck / 10;
  if (n < 2) n = 2;
  if (g.rng.draw(n) != 0) return d;
  show_message(g, g.sj(message));
  return d * 3;
}

TechEffect technique_effect(int t) {
  static constexpr TechEffect kEffects[25] = {
      nullptr,       flick,         swordsmanship, bow_wolf,   machine,      dark_sword,
      beast,         sealing_sword, slap,          sorcery,    astrology,    dragon_tongue,
      cat_summoning, drain,         halving,       fairy_art,  dance,        flick2,
      onion_sword,   card_throw,    steal,         cry,        make_card,    eat,
      star_gazing,
  };
  return t >= 1 && t <= 24 ? kEffects[t] : nullptr;
}

void use_technique(Game& g) {
  Hero& h = g.hero;
  const int t = g.hovered_tech;
  play_sound(g, "1.wav");
  const int32_t cost = t / 2;
  if (cost > h.mp) {
    show_message(g, g.sj("Mpが足りません"));
    return;
  }
  h.mp -= cost;
  h.spirit_power -= 1;
  if (h.spirit_power <= 1) h.spirit_power = 1;
  refresh_status(g);
  if (t >= 1 && t <= kTechniques) h.tech_exp(t) += 1;
  refresh_status(g);
  for (ctl::Id id : {ctl::battle_box, ctl::w_box, ctl::m_box, ctl::t_box}) g.form.hide(id);
  g.host.repaint();
  perform_technique(g);
}

void perform_technique(Game& g) {
  const int t = g.hovered_tech;
  if (t >= 1 && t <= kTechniques) {
    const TechContext c{g.hero.tech_lv(t), g.hero.spirit_power};
    static constexpr const char* kAnnouncements[3] = {"】で攻撃した", "】を唱えた", "】を使った"};
    show_message(g, g.sj("【") + g.tech_record(t, c.lv)[0] +
                        g.sj(kAnnouncements[static_cast<int>(technique::group_of(t))]));
    if (TechEffect effect = technique_effect(t))
      if (effect(g, c) == Afterwards::EndsAction) return;
  }
  if (g.enemy.hp > 0) opponent_turn(g);
  else win_battle(g);
}
