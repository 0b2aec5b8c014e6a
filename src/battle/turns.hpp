// The hand-over of the turn between the hero and the opponent.
#pragma once

struct Game;

// Who moves next, as one side's turn hands over to the other.
enum class NextTurn { Hero, Opponent, None };

// One turn of each side; they return who moves next instead of calling each other.
NextTurn hero_turn(Game& g);
NextTurn opponent_move(Game& g);
// Plays turns from `first` until one ends with nobody to move (a command to choose, or the end).
void play_turns(Game& g, NextTurn first);
