#include "core/game.hpp"
#include "core/operations.hpp"

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

constexpr ClickHandler kClicks[] = {
    {ctl::Button39, continue_game},
    {ctl::Button1, new_hero},
    {ctl::BitBtn3, open_help},
    {ctl::BitBtn2, close_help},
    {ctl::Button25, dev_own_figure},
    {ctl::Button40, dev_level_up},
    {ctl::first_b, dev_to_map},
    {ctl::Button2, dev_all_techniques},
};

}  // namespace

void click(Game& g, ctl::Id id) {
  for (const ClickHandler& h : kClicks)
    if (h.id == id) return h.run(g);
}

void mouse_move(Game& g, ctl::Id over) {
  if (over >= ctl::w1 && over <= ctl::w8) g.hovered_tech = static_cast<uint8_t>(over - ctl::w1 + 1);
  else if (over >= ctl::w9 && over <= ctl::w16) g.hovered_tech = static_cast<uint8_t>(over - ctl::w9 + 9);
  else if (over >= ctl::w17 && over <= ctl::w24) g.hovered_tech = static_cast<uint8_t>(over - ctl::w17 + 17);
  else if (over == ctl::form || over == ctl::w_box) g.hovered_tech = 0;
}

void slider_changed(Game& g, int position) {
  g.form.set_position(ctl::e_sp_l, position);
  g.message_delay_ms = g.form[ctl::e_sp_l].position * 100 + 300;
}

void list_select(Game& g, int index) {
  Control& list = g.form[ctl::item_list];
  if (index < -1 || index >= static_cast<int>(list.items.size())) index = -1;
  list.selected = index;
  g.form.touch();
}

void timer_tick(Game& g) { refresh_status(g); }
