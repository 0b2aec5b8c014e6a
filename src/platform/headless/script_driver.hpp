// The scripted driver's entry point.
#pragma once
#include <istream>
#include <ostream>

#include "ui/form.hpp"

struct Game;
class HeadlessHost;

// What a script may do to a control, the game as it stands: what the window's player could do.
// The driver refuses anything else; a scripted player asks the same before it acts.
bool can_click(const Game& g, ctl::Id id);     // a click; for the item list, picking an entry
bool can_point_at(const Game& g, ctl::Id id);  // pointing at it (any part of it that shows)

// Runs a script of player actions against a game on the headless host and writes the
// transcript: one command a line, '#' starts a comment. The game's creation step has run
// already. Returns when the script ends or the window is closed.
void run_script(Game& g, HeadlessHost& host, std::istream& script, std::ostream& transcript);
