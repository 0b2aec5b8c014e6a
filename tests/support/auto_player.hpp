#pragma once

struct Game;

// A simple player: walks on, disarms and searches what is found, and in battle strikes with the
// sword when it knows it and has the Mp, else with the flick, until the opponent falls. Used by
// the road tests and the benchmarks.
struct AutoPlayer {
  Game& g;
  // One click of the player; false when nothing on the screen is for this player to click.
  bool act();
  // Clicks until the hero is back on the world map or the game has ended; at most `limit` clicks.
  // Returns the clicks made.
  long walk_location(long limit);
  // Fights the battle on screen to its end; returns the clicks made.
  long fight(long limit);
};
