// Damage both ways with the attributes and stats, and the victory: experience, money, the
// level-up with its chance of a technique, and the item found.
#include <string>

#include "battle/battle.hpp"
#include "core/codes.hpp"
#include "core/game.hpp"
#include "core/names.hpp"
#include "core/operations.hpp"
#include "effects/effects.hpp"
#include "ui/technique_buttons.hpp"

namespace {

// Against an opponent of each attribute: the hero's value that adds to the hero's blows, and
// the one that softens the opponent's.
struct AttributeRule {
  int32_t Hero::*strength;
  int32_t Hero::*resistance;
};
const AttributeRule* attribute_rule(int attribute) {
  static constexpr AttributeRule kRules[5] = {
      {nullptr, nullptr},
      {&Hero::attr_water, &Hero::attr_sun},
      {&Hero::attr_sun, &Hero::attr_water},
      {&Hero::attr_angel, &Hero::attr_magic},
      {&Hero::attr_magic, &Hero::attr_angel},
  };
  return attribute >= 1 && attribute <= 4 ? &kRules[attribute] : nullptr;
}

// Experience for beating an opponent `delta` levels above the hero: a draw of 0 .. span-1 plus
// the base.
struct ExpBand {
  int32_t base, span;
};
ExpBand exp_band(int32_t delta) {
  if (delta <= -3) return {0, 0};
  if (delta >= 3) return {75, 24};
  static constexpr ExpBand kBands[5] = {{1, 2}, {5, 2}, {10, 3}, {25, 8}, {55, 18}};
  return kBands[delta + 2];
}

void level_up(Game& g) {
  Hero& h = g.hero;
  h.level += 1;
  h.exp = 0;
  refresh_status(g);
  show_message(g, h.name + g.sj("はLVUPした"));
  const int32_t hp = 5 + g.rng.draw(3);
  h.max_hp += hp;
  refresh_status(g);
  show_message(g, g.sj("最大Hpが") + num(hp) + g.sj("増えた"));
  const int32_t mp = 1 + g.rng.draw(2);
  h.max_mp += mp;
  refresh_status(g);
  show_message(g, g.sj("最大Mpが") + num(mp) + g.sj("増えた"));
  show_message(g, h.name + g.sj("は回復した"));
  h.hp = h.max_hp;
  h.mp = h.max_mp;
  refresh_status(g);
  if (g.rng.draw(3) != 0) return;
  const int t = 2 + g.rng.draw(15);
  const std::string& name = g.sj(tech_short_name(t));
  if (h.tech_lv(t) == 0) {
    h.tech_lv(t) = 1;
    show_message(g, g.sj("【") + name + g.sj("】を修得した！"));
  } else if (h.tech_lv(t) >= 10) {
    h.money += 1000;
    show_message(g, g.sj("ボーナス1000円を入手した！"));
  } else {
    h.tech_lv(t) += 1;
    show_message(g, g.sj("【") + name + g.sj("】のLvが1あがった！"));
  }
}

}  // namespace

void damage_enemy(Game& g, int32_t d) {
  const Hero& h = g.hero;
  if (const AttributeRule* r = attribute_rule(g.enemy.attribute)) d += 2 * (h.*(r->strength));
  const int t = g.hovered_tech;
  if (technique::group_of(t) == technique::Group::attack) d += 2 * h.attack;
  else if (technique::group_of(t) == technique::Group::magic) d += 2 * h.magic;
  flash_hit(g);
  g.enemy.hp -= d;
  refresh_status(g);
  show_message(g, num(d) + g.sj("ダメージ与えた"));
}

void damage_hero(Game& g, int32_t d) {
  Hero& h = g.hero;
  d += 2 * g.location.id;
  if (const AttributeRule* r = attribute_rule(g.enemy.attribute)) d -= 2 * (h.*(r->resistance));
  d -= 2 * h.defense;
  if (d <= 1) d = 1;
  h.hp -= d;
  shake_window(g);
  refresh_status(g);
  show_message(g, num(d) + g.sj("のダメージを受けた"));
}

std::optional<int> pick_item(Game& g) {
  int i = g.rng.draw(findable::first_draw);
  int redraws = 0;
  // An unnamed entry is always drawn again; a held one only while the budget lasts. With no
  // named entry at all the unnamed rule would never end, so it shares a (much larger) bound.
  constexpr int kUnnamedBudget = findable::redraw * 64;
  int unnamed = 0;
  while ((g.items[i].name.empty() && unnamed < kUnnamedBudget) ||
         (!g.items[i].name.empty() && g.hero.item_count[i] == 1 && redraws <= findable::redraw_budget)) {
    if (g.items[i].name.empty()) ++unnamed;
    i = g.rng.draw(findable::redraw);
    redraws += 1;
  }
  if (!g.items[i].name.empty() && g.hero.item_count[i] == 0) return i;
  return std::nullopt;
}

void win_battle(Game& g) {
  Hero& h = g.hero;
  Enemy& e = g.enemy;
  e.hp = 0;
  refresh_status(g);
  show_message(g, e.name + g.sj("を倒した"));
  const ExpBand band = exp_band(e.level - h.level);
  const int32_t gain = band.span ? band.base + g.rng.draw(band.span) : 0;
  h.exp += gain;
  int32_t m = (e.job / 5) * 5 + 5;
  if (g.rng.draw(10) == 0) m = 100;
  h.money += m;
  refresh_status(g);
  show_message(g, num(gain) + g.sj("expの経験値を得た") + "\r" + num(m) + g.sj("円手に入れた"));
  if (h.exp >= 100) level_up(g);
  int n = 6 - h.luck / 10;
  if (n < 2) n = 2;
  if (g.rng.draw(n) == 0) {
    if (auto item = pick_item(g)) {
      h.item_count[*item] = 1;
      show_message(g, h.name + g.sj("は【") + g.items[*item].name + g.sj("】を見つけた！"));
    }
  }
  const std::string question = g.sj("敵の精霊【") + e.spirit_name + g.sj("】△") +
                               num(e.spirit_power) + g.sj("を奪いますか？") + "\r\r" +
                               g.sj("アナタの精霊") + "\r" + g.sj("＞【") + h.spirit_name +
                               g.sj("】△") + num(h.spirit_power);
  if (g.host.ask_yes_no(question)) {
    h.spirit_name = e.spirit_name;
    h.spirit_power = e.spirit_power;
    show_message(g, g.sj("敵の精霊【") + e.spirit_name + g.sj("】を奪った"));
  }
  end_battle(g);
}
