// The scripted driver's entry point.
#pragma once
#include <istream>
#include <ostream>

struct Game;
class HeadlessHost;

// Runs a script of player actions against a game on the headless host and writes the
// transcript: one command a line, '#' starts a comment. The game's creation step has run
// already. Returns when the script ends or the window is closed.
void run_script(Game& g, HeadlessHost& host, std::istream& script, std::ostream& transcript);
