#pragma once
#include <string>

#include "support/auto_player.hpp"

struct Game;

// A player who plays the whole game: rests at the inn and buys tools when back on the map, uses
// what it holds, and walks the places in the order they open, fighting with AutoPlayer's blows,
// until the end panel shows; with a script file given, everything it does is written there as the
// scripted driver's commands (AutoPlayer). Used by the full-game test and benchmark.
struct Journey {
  explicit Journey(Game& game, const std::string& script = "") : g(game), player(game, script) {}
  Game& g;
  AutoPlayer player;
  long clicks = 0;
  long deaths = 0;
  // Plays until the end panel or `limit` clicks; true when the game was finished. With
  // `until_battles`, it stops on the map once the player has begun that many battles.
  bool play(long limit, long until_battles = -1);

 private:
  void press(ctl::Id id);
  void visit_town();
  void use_items();
  int next_place() const;
};
