#include "support/journey.hpp"

#include "core/game.hpp"

void Journey::press(ctl::Id id) {
  if (player.press(id)) ++clicks;
}

void Journey::use_items() {
  press(ctl::BitBtn1);
  for (int guard = 0; guard < 20 && !g.form[ctl::item_list].items.empty(); ++guard) {
    const int before = static_cast<int>(g.form[ctl::item_list].items.size());
    int pick = -1;
    for (int i = 0; i < before && pick < 0 && player.pick(i); ++i) {
      const int kind = g.items[g.selected_item].kind;
      if (kind != 8 && kind != 23 && kind < 100) pick = i;  // figures stay; swords and cards wait
    }
    if (pick < 0) break;
    player.pick(pick);
    press(ctl::item_use);
  }
  press(ctl::Button17);
}

void Journey::visit_town() {
  Hero& h = g.hero;
  press(ctl::Button14);
  press(ctl::Button19);
  for (ctl::Id room : {ctl::Button22, ctl::Button28, ctl::Button29, ctl::Button26}) {
    const int32_t price = room == ctl::Button22 ? 300 : room == ctl::Button28 ? 100 : room == ctl::Button29 ? 50 : 10;
    if (h.money >= price && (h.hp < h.max_hp || h.life < 100)) {
      press(room);
      break;
    }
  }
  press(ctl::Button20);
  press(ctl::Button21);
  for (ctl::Id tool : {ctl::Button32, ctl::Button35, ctl::Button33, ctl::Button34}) press(tool);
  press(ctl::Button31);
  press(ctl::Button15);
  use_items();
}

int Journey::next_place() const {
  // The first place whose boss still stands, in the order the places open.
  Hero& h = g.hero;
  for (int id : {2, 3, 4, 5, 6, 7})
    if (h.world_flags(201 + id) == 0) return id;
  return 7;
}

bool Journey::play(long limit, long until_battles) {
  static constexpr ctl::Id kPlaces[8] = {ctl::form, ctl::map1, ctl::map2, ctl::map3,
                                         ctl::map4, ctl::map5, ctl::map6, ctl::map7};
  while (clicks < limit && !g.form.shown(ctl::end_box)) {
    player.tick();
    if (g.form.shown(ctl::map_box)) {
      if (until_battles >= 0 && player.battles >= until_battles) break;
      visit_town();
      player.tick();
      press(kPlaces[next_place()]);
      continue;
    }
    const int32_t money_before = g.hero.money;
    const bool fighting = g.form.shown(ctl::battle_box);
    if (!player.act()) break;
    ++clicks;
    if (fighting && g.form.shown(ctl::map_box) && g.hero.spirit_power == 0 && g.hero.money <= money_before)
      ++deaths;
  }
  return g.form.shown(ctl::end_box);
}
