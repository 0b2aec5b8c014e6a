// The click table: which operation of which feature each control starts, and the other input
// the window delivers (pointing, the slider, the item list, the timer).
#include "game/input.hpp"

#include "battle/battle.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "town/town.hpp"
#include "ui/technique_buttons.hpp"
#include "world/world.hpp"

namespace {

void open_help(Game& g) {
  play_sound(g, "1.wav");
  g.form.show(ctl::help_box);
}

void close_help(Game& g) {
  play_sound(g, "1.wav");
  g.form.hide(ctl::help_box);
}

// Developer buttons.
void dev_own_figure(Game& g) { g.hero.owned_flags[g.rng.draw(9)] = 1; }
void dev_level_up(Game& g) { g.hero.level += 1; }
void dev_to_map(Game& g) {
  play_sound(g, "1.wav");
  g.form.show(ctl::map_box);
}
void dev_all_techniques(Game& g) {
  for (int t = 1; t <= kTechniques; ++t) g.hero.tech_lv(t) = 1;
  g.hero.max_hp = g.hero.hp = 30;
  g.hero.max_mp = g.hero.mp = 8;
}

struct ClickHandler {
  ctl::Id id;
  void (*run)(Game&);
};

template <uint8_t id>
void enter(Game& g) {
  enter_location(g, id);
}

constexpr ClickHandler kClicks[] = {
    {ctl::Button39, continue_game},
    {ctl::Button1, new_hero},
    {ctl::BitBtn3, open_help},
    {ctl::BitBtn2, close_help},
    // the world map
    {ctl::map1, enter<1>},
    {ctl::map2, enter<2>},
    {ctl::map3, enter<3>},
    {ctl::map4, enter<4>},
    {ctl::map5, enter<5>},
    {ctl::map6, enter<6>},
    {ctl::map7, enter<7>},
    {ctl::map0, open_star_shop},
    {ctl::Button14, open_shop},
    {ctl::Button15, close_shop},
    {ctl::Button23, open_home},
    {ctl::Button24, close_home},
    // the road
    {ctl::Button27, walk_forward},
    {ctl::Button16, walk_back},
    {ctl::wana_b, disarm_trap},
    {ctl::sira_b, search_spot},
    // battle
    {ctl::w1_b, open_attack_group},
    {ctl::w2_b, open_magic_group},
    {ctl::w3_b, open_special_group},
    {ctl::Button50, flee},
    // items and the town
    {ctl::BitBtn1, open_item_panel},
    {ctl::Button17, close_item_panel},
    {ctl::item_use, use_selected_item},
    {ctl::ken_b, open_sword_shop},
    {ctl::Button18, leave_sword_shop},
    {ctl::card_b, open_card_shop},
    {ctl::Button30, leave_card_shop},
    {ctl::Button19, enter_inn},
    {ctl::Button20, leave_inn},
    {ctl::Button21, enter_tool_shop},
    {ctl::Button31, leave_tool_shop},
    {ctl::Button10, leave_star_shop},
    {ctl::toy_b, enter_toy_shop},
    {ctl::Button41, leave_toy_shop},
    // developer buttons
    {ctl::Button6, hero_turn_start},
    {ctl::Button5, opponent_turn},
    {ctl::Button4, end_battle},
    {ctl::Button3, start_random_battle},
    {ctl::Button25, dev_own_figure},
    {ctl::Button40, dev_level_up},
    {ctl::first_b, dev_to_map},
    {ctl::Button2, dev_all_techniques},
};

}  // namespace

namespace {

void run_click(Game& g, ctl::Id id) {
  // Every technique button shares one handler: it performs the technique last pointed at.
  if (technique_of(id) != 0) return use_technique(g);
  for (const ClickHandler& h : kClicks)
    if (h.id == id) return h.run(g);
  buy(g, id);  // the goods of the inn and the shops
}

}  // namespace

void click(Game& g, ctl::Id id) {
  run_click(g, id);
  // A battle that took the hero out of the location: the road acts on its outcome.
  if (g.battle_left_location) {
    g.battle_left_location = false;
    leave_location(g);
  }
}

void mouse_move(Game& g, ctl::Id over) {
  if (const int t = technique_of(over)) g.hovered_tech = static_cast<uint8_t>(t);
  else if (over == ctl::form || over == ctl::w_box) g.hovered_tech = 0;
  else preview_toy(g, over);
}

// The text-speed slider is the window's only slider, and the item list its only list.
void slider_changed(Game& g, ctl::Id slider, int position) {
  if (slider != ctl::e_sp_l) return;
  g.form.set_position(ctl::e_sp_l, position);
  g.message_delay_ms = g.form[ctl::e_sp_l].position * 100 + 300;
}

void list_select(Game& g, ctl::Id list_id, int index) {
  if (list_id != ctl::item_list) return;
  Control& list = g.form[ctl::item_list];
  if (index < -1 || index >= static_cast<int>(list.items.size())) index = -1;
  list.selected = index;
  g.form.touch();
  item_list_selected(g);
}

bool timer_tick(Game& g) {
  const uint64_t drawn = g.form.revision();
  refresh_status(g);
  return g.form.revision() != drawn || !status_settled(g);
}
