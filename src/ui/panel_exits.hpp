// Each panel's own way out: the button of the layout that leaves it, as a player presses it.
#pragma once
#include "ui/form.hpp"

struct PanelExit {
  ctl::Id panel;
  ctl::Id button;
};

// Panels that lie over others come first: where several are open, the way out of the one on top
// is taken (a counter before the item panel beside it, the item panel before the shop under it).
// The road and the battle have no way out of their own: stepping back and fleeing are moves of
// the game, never a "back".
inline constexpr PanelExit kPanelExits[] = {
    {ctl::help_box, ctl::BitBtn2},  {ctl::ken_box, ctl::Button18},  {ctl::card_box, ctl::Button30},
    {ctl::item_box, ctl::Button17}, {ctl::yado_box, ctl::Button20}, {ctl::dougu_box, ctl::Button31},
    {ctl::star_box, ctl::Button10}, {ctl::toy_box, ctl::Button41},  {ctl::my_box, ctl::Button24},
    {ctl::shop_box, ctl::Button15},
};
