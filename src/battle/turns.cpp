// The loop that hands the turn from one side to the other.
#include "battle/turns.hpp"

#include "battle/battle.hpp"

void play_turns(Game& g, NextTurn next) {
  while (next != NextTurn::None) next = next == NextTurn::Hero ? hero_turn(g) : opponent_move(g);
}

void hero_turn_start(Game& g) { play_turns(g, NextTurn::Hero); }
void opponent_turn(Game& g) { play_turns(g, NextTurn::Opponent); }
