// The status panel's refresh: the hero's and opponent's texts, the caps, what stars teach.
#include <algorithm>
#include <string>

#include "core/codes.hpp"
#include "core/game.hpp"
#include "core/names.hpp"
#include "core/operations.hpp"
#include "ui/technique_buttons.hpp"

namespace {

const std::string& tech_name(const Game& g, int t, int level) { return g.tech_record(t, level)[0]; }

void learn_by_stars(Game& g) {
  Hero& h = g.hero;
  if (h.stars >= 100 && h.tech_lv(technique::card) == 0) {
    h.tech_lv(technique::card) = 1;
    show_message(g, g.sj("【カード化】の技を修得した！"));
  }
  Form& f = g.form;
  if (h.stars >= 50) f.show(ctl::map1);
  if (h.stars >= 40) {
    f.show(ctl::f_b);
    f.set_caption(ctl::f_l, g.sj("9000円／ｵｸﾀﾋﾞｱﾝの別ver."));
  }
  if (h.stars >= 30) {
    f.show(ctl::f_b2);
    f.set_caption(ctl::f_l2, g.sj("1000円／ロラン"));
  }
  if (h.stars >= 10) f.show(ctl::toy_b);
  if (h.stars >= 5) f.show(ctl::ken_b);
  if (h.stars >= 1) f.show(ctl::card_b);
  if (h.world_flags(world_flag::last_boss_reached) == 1) f.show(ctl::map0);
  // Beating the boss of locations 2 to 6 opens the next one.
  constexpr ctl::Id kMapButtons[] = {ctl::map3, ctl::map4, ctl::map5, ctl::map6, ctl::map7};
  for (int i = 0; i < 5; ++i)
    if (h.world_flags(world_flag::boss_beaten(2 + i)) == 1) f.show(kMapButtons[i]);
}

// `before` is what they were last written from, null when none was: a text whose figures are
// the same is left as it is (the hero's Hp changes at every blow, the attributes seldom).
void write_hero_texts(Game& g, const Hero* before) {
  Hero& h = g.hero;
  Form& f = g.form;
  if (h.money < 1) h.money = 0;
  if (!before || before->attr_sun != h.attr_sun || before->attr_water != h.attr_water ||
      before->attr_magic != h.attr_magic || before->attr_angel != h.attr_angel)
    f.set_caption(ctl::z_l, joined(g.sj("属性：陽"), h.attr_sun, g.sj(" 水"), h.attr_water, g.sj(" 魔"),
                                   h.attr_magic, g.sj(" 天"), h.attr_angel));
  if (!before || before->stars != h.stars) {
    f.set_caption(ctl::star_l, "Star " + num(h.stars) + g.sj("個"));
    f.set_caption(ctl::star_cl, num(h.stars) + g.sj("個の星が天へ昇った････"));
  }
  const std::string& a = g.sj(ailment_text(h.status));
  f.set_caption(ctl::state_l,
                joined(h.name, "\r", g.sj("Lv："), h.level, g.sj("　exp："), h.exp, "/100\r", g.sj("Hp："), h.hp, "/",
                       h.max_hp, "\r\r", g.sj("Mp："), h.mp, "/", h.max_mp, "\r\r", g.sj("攻撃："), h.attack,
                       g.sj(" 魔力："), h.magic, g.sj(" 防御："), h.defense, "\r", g.sj("　運："), h.luck,
                       g.sj(" 寿命："), h.life, "\r", a, "\r", g.sj("精霊【"), h.spirit_name, g.sj("】△"),
                       h.spirit_power));
  if (!before || before->money != h.money) f.set_caption(ctl::state_l2, num(h.money) + g.sj("円"));

  // White while Hp is above a tenth of its maximum, red at a tenth or below, dark red at 0.
  const int32_t d = h.max_hp / 10;
  if (d >= h.hp && h.hp > 0) f.set_fore(ctl::state_l, cl::red);
  if (h.hp <= 0) {
    h.hp = 0;
    f.set_fore(ctl::state_l, cl::maroon);
  }
  if (d < h.hp) f.set_fore(ctl::state_l, cl::white);
}

void apply_caps(Game& g) {
  Hero& h = g.hero;
  Enemy& e = g.enemy;
  h.hp = std::min(h.hp, h.max_hp);
  h.mp = std::min(h.mp, h.max_mp);
  e.hp = std::min(e.hp, e.max_hp);
  e.mp = std::min(e.mp, e.max_mp);
  if (h.life >= 150) h.life = 150;
  if (h.defense > 1000) h.defense = 1000;
  for (int32_t* v : {&h.attack, &h.magic, &h.attr_sun, &h.attr_angel, &h.attr_water, &h.attr_magic})
    if (*v > 99) *v = 99;
  g.form.set_gauge(ctl::hp_l, h.max_hp, h.hp);
  g.form.set_gauge(ctl::mp_l, h.max_mp, h.mp);
}

void write_enemy_texts(Game& g) {
  const Enemy& e = g.enemy;
  Form& f = g.form;
  const std::string text =
      joined(g.sj("▼:"), e.name, g.sj("／"), g.sj(class_name(e.job)), "\rLv:", e.level, "\rHp:", e.hp, "/",
             e.max_hp, "\rMp:", e.mp, "/", e.max_mp, "\r", g.sj("精霊【"), e.spirit_name, g.sj("】△"),
             e.spirit_power, "\r", g.sj("属性 "), g.sj(attribute_text(e.attribute)), g.sj(ailment_text(e.status)));
  f.set_caption(ctl::e_state, text);
  f.set_caption(ctl::e_state2, text);
}

// What the info shows depends on the technique pointed at, its level and its experience alone:
// with those as they were shown, it is left as it is.
void write_tech_info(Game& g) {
  Form& f = g.form;
  const int t = g.hovered_tech;
  Game::Shown& shown = g.shown;
  if (t > kTechniques) return;  // only the 24 technique buttons set it
  if (shown.written && shown.tech == t &&
      (t == 0 || (shown.tech_lv == g.hero.tech_lv(t) && shown.tech_exp == g.hero.tech_exp(t))))
    return;
  shown.tech = t;
  if (t == 0) {
    for (ctl::Id id : {ctl::w_lv, ctl::w_exp, ctl::w_about, ctl::w_name}) f.set_caption(id, "");
    f.hide(ctl::w_exp2);
    return;
  }
  Hero& h = g.hero;
  int level = h.tech_lv(t);
  if (level >= 10) {
    f.set_fore(ctl::w_exp2, cl::fuchsia);
    f.show(ctl::w_exp2);
    h.tech_exp(t) = 0;
    f.set_caption(ctl::w_exp, "Max");
    f.set_gauge(ctl::w_exp2, f[ctl::w_exp2].max, 10);
    f.set_caption(ctl::w_lv, "Max");
    h.tech_lv(t) = 10;
    level = 10;
  } else {
    f.set_caption(ctl::w_lv, "Lv." + num(level));
    f.set_fore(ctl::w_exp2, cl::sky_blue);
    f.set_caption(ctl::w_exp, num(h.tech_exp(t)) + "exp");
    f.show(ctl::w_exp2);
    f.set_gauge(ctl::w_exp2, f[ctl::w_exp2].max, h.tech_exp(t));
  }
  f.set_caption(ctl::w_name, g.sj(tech_short_name(t)) + "\r" + g.sj("【") + tech_name(g, t, level) +
                                 g.sj("】"));
  TechRecord& first = g.tech_record(t, 1);
  if (first[4] == "0") first[4].clear();
  f.set_caption(ctl::w_about, g.sj("精霊力：") + first[2] + g.sj("／消費Mp：") + first[3] + "\r" +
                                  first[4]);
  shown.tech_lv = h.tech_lv(t);
  shown.tech_exp = h.tech_exp(t);
}

// A technique learned when another one reaches its highest level.
struct MasteryGift {
  int master, gift;
  const char* learned;
};
constexpr MasteryGift kMasteryGifts[] = {
    {1, 17, "【でこぴん２】を修得した！"},
    {2, 18, "【タマネギ剣】を修得した！"},
    {16, 23, "【食べる】を修得した！"},
};

void level_up_techniques(Game& g) {
  Hero& h = g.hero;
  for (int t = 1; t <= kTechniques; ++t) {
    if (h.tech_exp(t) < 10) continue;
    const int old_level = h.tech_lv(t);
    h.tech_lv(t) += 1;
    show_message(g, g.sj("【") + tech_name(g, t, old_level) + g.sj("】") + "\r" + g.sj("↓") + "\r" +
                        g.sj("【") + tech_name(g, t, h.tech_lv(t)) + g.sj("】へLvup！"));
    h.tech_exp(t) = 0;
    for (const MasteryGift& m : kMasteryGifts) {
      if (h.tech_lv(m.master) == 10 && h.tech_lv(m.gift) == 0) {
        show_message(g, g.sj("なんと・・・・"));
        h.tech_lv(m.gift) = 1;
        show_message(g, g.sj(m.learned));
      }
    }
  }
}

}  // namespace

void refresh_status(Game& g) {
  learn_by_stars(g);
  Game::Shown& shown = g.shown;
  // The hero's texts show the figures before this tick's caps, the opponent's after them.
  if (!shown.written || !(shown.hero == g.hero)) {
    write_hero_texts(g, shown.written ? &shown.hero : nullptr);
    shown.hero = g.hero;
  }
  apply_caps(g);
  if (!shown.written || !(shown.enemy == g.enemy)) {
    write_enemy_texts(g);
    shown.enemy = g.enemy;
  }
  g.form.set_visible(ctl::e_state2, g.form[ctl::e_state].visible);
  write_tech_info(g);
  level_up_techniques(g);
  const int32_t remaining = g.location.length - g.location.progress;
  if (!shown.written || shown.place != g.location.name || shown.remaining != remaining) {
    g.form.set_caption(ctl::d_state, joined(g.location.name, "\r", g.sj("残り距離："), remaining, "km"));
    shown.place = g.location.name;
    shown.remaining = remaining;
  }
  shown.written = true;
}

bool status_settled(const Game& g) {
  return g.shown.written && g.shown.hero == g.hero && g.shown.enemy == g.enemy;
}
