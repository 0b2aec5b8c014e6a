#pragma once
#include <initializer_list>

#include "battle/battle.hpp"
#include "core/operations.hpp"
#include "support/test_game.hpp"
#include "world/world.hpp"

// A new hero standing in a location, ready for rigged walks and battles.
struct BattleGame : TestGame {
  explicit BattleGame(uint8_t location = 2) {
    new_hero(g());
    g().hero.life = 120;
    enter_location(g(), location);
    refresh_status(g());
    clear_transcript();
  }
  void rig(std::initializer_list<int> draws) {
    for (int d : draws) g().rng.rig(d);
  }
  // A plain opponent in front of the hero, with the battle panel up.
  void face(int job, int attribute = 0, int level = 1, int hp = 50) {
    Enemy& e = g().enemy;
    e.name = sj("テキ");
    e.spirit_name = sj("ほこり");
    e.level = level;
    e.hp = e.max_hp = hp;
    e.mp = e.max_mp = 50;
    e.job = job;
    e.attribute = attribute;
    e.spirit_power = 30;
    e.status = 0;
    g().form.hide(ctl::danjyon_box);
    g().form.show(ctl::e_state);
  }
  bool no_draws_left() const { return !game->rng.rigged(); }
};
