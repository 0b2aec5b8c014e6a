// What a technique's effect is given and gives back, and the reactions the effects share.
#pragma once
#include <cstdint>

struct Game;

// What a technique's effect leaves to the frame that runs it.
enum class Afterwards {
  Continue,    // the frame goes on: the opponent's turn, or the victory
  EndsAction,  // the effect has handed the turn on itself
};

// The state a technique's effect works from: its level and the hero's spirit power after the
// click has paid for it.
struct TechContext {
  int lv;
  int32_t sp;
};

using TechEffect = Afterwards (*)(Game&, const TechContext&);

// The effect of technique t (1 .. 24), or nullptr for one that does nothing yet.
TechEffect technique_effect(int t);

// The attribute reactions several techniques share, and the critical roll.
int32_t weaker(Game& g, int32_t m, int divisor);  // fall_white, "あまり効かない", m / divisor
int32_t stronger(Game& g, int32_t m);             // rise_white, "効果増大", m * 3
// Draws the critical roll; on a hit shows the message and returns the damage tripled.
int32_t critical_roll(Game& g, int32_t d, const char* message);
