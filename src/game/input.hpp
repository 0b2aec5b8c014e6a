// The game's input: clicks, the pointer, the slider, the list and the 10 ms timer.
#pragma once
#include "ui/form.hpp"

struct Game;

// The window's input, as the window delivers it: the one place that knows which operation of
// which feature a control starts. Every host (the window, the scripted driver) calls these.
void click(Game& g, ctl::Id id);
void mouse_move(Game& g, ctl::Id over);  // the control under the pointer, ctl::form if none
void slider_changed(Game& g, ctl::Id slider, int position);
void list_select(Game& g, ctl::Id list, int index);  // a click on entry `index` (-1: none)
// The 10 ms timer. False when a tick right after this one would change nothing: a tick depends on
// nothing but the game, so no tick changes anything until something else (input) changes the
// game, and a host may let its timer rest until then.
bool timer_tick(Game& g);
