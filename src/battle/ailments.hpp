// The ailments both sides share, and each side as they see it.
#pragma once
#include <cstdint>
#include <string>

struct Game;

// One side of a battle as the ailments they share (sleep, poison, stone, healing, berserk) see
// it: its name, its values, and the effect each ailment plays for it.
struct Side {
  const std::string& name;
  int32_t& hp;
  int32_t max_hp;
  int32_t& status;
  int32_t& spirit_power;
  int32_t heal_base;          // healing adds a draw of 0 .. 3 plus a twentieth of this
  void (*poisoned)(Game&);    // the hero's window shakes, the opponent's picture flashes
  void (*healed)(Game&);
  void (*raging)(Game&);
};
Side hero_side(Game& g);
Side opponent_side(Game& g);

enum class AilmentOutcome { GoesOn, LosesTurn };
// Statuses 1 to 5 act as they do for both sides; any other leaves the turn alone.
AilmentOutcome shared_ailment(Game& g, const Side& side);
