// The scripted player's choices, and its actions as the driver's commands.
#include "support/auto_player.hpp"

#include "core/game.hpp"
#include "core/operations.hpp"
#include "game/input.hpp"
#include "platform/headless/script_driver.hpp"

bool AutoPlayer::press(ctl::Id id) {
  if (!can_click(g, id)) return false;
  const bool in_battle = g.form.shown(ctl::battle_box);
  script.record(std::string("click ") + Form::name(id), [&] { click(g, id); });
  if (!in_battle && g.form.shown(ctl::battle_box)) ++battles;
  return true;
}

bool AutoPlayer::point_at(ctl::Id id) {
  if (!can_point_at(g, id)) return false;
  script.record_hover(std::string("hover ") + Form::name(id), [&] { mouse_move(g, id); });
  return true;
}

bool AutoPlayer::pick(int entry) {
  if (!can_click(g, ctl::item_list) || entry < 0 || entry >= static_cast<int>(g.form[ctl::item_list].items.size()))
    return false;
  script.record("select " + std::to_string(entry), [&] { list_select(g, ctl::item_list, entry); });
  return true;
}

void AutoPlayer::tick() {
  script.record_tick([&] { return timer_tick(g); });
}

bool AutoPlayer::act() {
  Form& f = g.form;
  if (f.shown(ctl::battle_box)) {
    if (!f.shown(ctl::w_box)) press(ctl::w1_b);
    for (ctl::Id button : {ctl::w2, ctl::w1}) {
      if (!can_click(g, button) || (button == ctl::w2 && g.hero.mp < 1)) continue;
      point_at(button);
      return press(button);
    }
    // The blows are sealed: run.
    return press(ctl::Button50);
  }
  if (f.shown(ctl::danjyon_box)) return press(ctl::wana_b) || press(ctl::sira_b) || press(ctl::Button27);
  return false;
}

long AutoPlayer::walk_location(long limit) {
  long clicks = 0;
  while (clicks < limit && !g.form.shown(ctl::map_box) && !g.form.shown(ctl::end_box) && act())
    ++clicks;
  return clicks;
}

long AutoPlayer::fight(long limit) {
  long clicks = 0;
  while (clicks < limit && g.form.shown(ctl::battle_box) && act()) ++clicks;
  return clicks;
}
