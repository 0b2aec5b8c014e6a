#pragma once

struct Game;

// A player who plays the whole game: rests at the inn and buys tools when back on the map, uses
// what it holds, and walks the places in the order they open, fighting with AutoPlayer's blows,
// until the end panel shows. Used by the full-game test and benchmark.
struct Journey {
  Game& g;
  long clicks = 0;
  long deaths = 0;
  // Plays until the end panel or `limit` clicks; true when the game was finished.
  bool play(long limit);

 private:
  void press(int id);
  void visit_town();
  void use_items();
  int next_place() const;
};
