// A scripted player that clicks only what the driver would let it click, and can write its
// clicks down as a driver script.
#pragma once
#include <string>

#include "platform/recorder.hpp"
#include "ui/form.hpp"

struct Game;

// A simple player: walks on, disarms and searches what is found, and in battle strikes with the
// sword when it knows it and has the Mp, else with the flick, until the opponent falls; it flees
// when its blows are sealed. Every action is one the scripted driver accepts on the game as it
// stands, and with a script file given, each is written there as the driver's command, so that
// `lushera --headless --script FILE` on the same data, with the same --seed, replays the game.
// Used by the road tests, the whole-game test and the benchmarks.
struct AutoPlayer {
  explicit AutoPlayer(Game& game, const std::string& script = "") : g(game), script(script) {}
  Game& g;
  Recorder script;
  long battles = 0;  // battles that began under this player's clicks

  // One click of the player; false when nothing on the screen is for this player to click.
  bool act();
  // Clicks until the hero is back on the world map or the game has ended; at most `limit` clicks.
  // Returns the clicks made.
  long walk_location(long limit);
  // Fights the battle on screen to its end; returns the clicks made.
  long fight(long limit);

  // The driver's commands, each done only when the driver would accept it; false when not.
  bool press(ctl::Id id);     // click
  bool point_at(ctl::Id id);  // hover
  bool pick(int entry);       // select, in the item list
  void tick();                // one tick of the 10 ms timer
};
