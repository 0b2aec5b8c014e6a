#pragma once
#include <initializer_list>

#include "battle/battle.hpp"
#include "battle/techniques.hpp"
#include "core/operations.hpp"
#include "game/input.hpp"
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

// One technique's effect straight from the technique table, as the frame runs it after the
// click: a plain opponent of 200 Hp (by default) and a wounded hero of level 5.
struct EffectRun {
  BattleGame b;
  Game& g = b.g();
  explicit EffectRun(int attribute = 0, int hp = 200) {
    b.face(0, attribute, 1, hp);
    g.hero.level = 5;
    g.hero.hp = 20;
    g.hero.max_hp = 100;
  }
  Afterwards run(int t, int lv, int sp, std::initializer_list<int> draws) {
    g.hovered_tech = static_cast<uint8_t>(t);
    g.hero.tech_lv(t) = static_cast<uint8_t>(lv);
    g.hero.spirit_power = sp;
    b.rig(draws);
    return technique_effect(t)(g, TechContext{lv, sp});
  }
  std::vector<std::string> messages() const { return b.messages(); }
};
