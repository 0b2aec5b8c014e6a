// The battle's operations: opening and closing it, the turns, the techniques, the damage.
#pragma once
#include <cstdint>
#include <optional>

struct Game;

// Opening and closing battles.
void start_random_battle(Game& g);
void start_boss_battle(Game& g);
void end_battle(Game& g);
void open_attack_group(Game& g);   // w1_b
void open_magic_group(Game& g);    // w2_b
void open_special_group(Game& g);  // w3_b
void flee(Game& g);                // Button50

// The turns. Each call plays turns until the hero has to choose a command or the battle is
// over; the two sides hand the turn to each other through a loop, so however long a run of lost
// turns lasts the stack stays flat.
void hero_turn_start(Game& g);
void opponent_turn(Game& g);

// Techniques: the click on any technique button, and the technique it performs.
void use_technique(Game& g);
void perform_technique(Game& g);

// Damage and victory.
void damage_enemy(Game& g, int32_t d);
void damage_hero(Game& g, int32_t d);
void win_battle(Game& g);
// A named item among ids 0 to 252 that the hero does not hold, or nothing.
std::optional<int> pick_item(Game& g);
