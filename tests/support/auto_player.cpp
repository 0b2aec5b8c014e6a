#include "support/auto_player.hpp"

#include "core/game.hpp"
#include "core/operations.hpp"
#include "game/input.hpp"

bool AutoPlayer::act() {
  Form& f = g.form;
  if (f.shown(ctl::battle_box)) {
    if (!f.shown(ctl::w_box)) click(g, ctl::w1_b);
    for (ctl::Id button : {ctl::w2, ctl::w1}) {
      if (!f.clickable(button) || (button == ctl::w2 && g.hero.mp < 1)) continue;
      mouse_move(g, button);
      click(g, button);
      return true;
    }
    return false;
  }
  if (f.shown(ctl::danjyon_box)) {
    if (f.clickable(ctl::wana_b)) click(g, ctl::wana_b);
    else if (f.clickable(ctl::sira_b)) click(g, ctl::sira_b);
    else click(g, ctl::Button27);
    return true;
  }
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
