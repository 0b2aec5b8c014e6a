// The road through a location: steps and life span, battles, traps and spots to search, the boss.
#include <string>

#include "battle/battle.hpp"
#include "core/codes.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "effects/effects.hpp"
#include "world/world.hpp"

namespace {

void spring_trap(Game& g) {
  Hero& h = g.hero;
  g.form.hide(ctl::wana_b);
  show_message(g, g.sj("トラップ！！"));
  const int r = g.rng.draw(6);
  if (r == 2) {
    show_message(g, h.name + g.sj("は素早くかわした。"));
    return;
  }
  shake_window(g);
  std::string text;
  switch (r) {
    case 0:
      h.hp /= 2;
      text = h.name + g.sj("は足をケガした。\r↓\rHpが半分になってしまった");
      break;
    case 1:
      h.mp /= 2;
      text = h.name + g.sj("は頭をケガした。\r↓\rMpが半分になってしまった");
      break;
    case 3:
      h.exp /= 2;
      text = h.name + g.sj("は腕を大ケガした。\r↓\r経験値が半分になってしまった");
      break;
    case 4: {
      const int32_t n = 10 + g.rng.draw(90);
      h.money -= n;
      text = h.name + g.sj("はつまづいた。\r↓\rお金を") + num(n) + g.sj("円落としてしまった");
      break;
    }
    default:
      h.spirit_power /= 2;
      text = h.name + g.sj("は胸をケガした。\r↓\r精霊達が半分減少した");
      break;
  }
  refresh_status(g);
  show_message(g, text);
}

// The item a search finds: a named, non-card entry among 0 .. 252 the hero does not hold.
int draw_search_item(Game& g) {
  int id = g.rng.draw(findable::first_draw);
  int redraws = 0;
  // Unnamed entries and cards are always drawn again, owned ones only while the budget lasts;
  // a table with no usable entry at all gives up after many rounds instead of hanging.
  constexpr int kUnusableBudget = findable::redraw * 64;
  int unusable = 0;
  for (;;) {
    const Item& it = g.items[id];
    const bool unusable_entry = it.kind == item_kind::card || it.name.empty();
    const bool owned = g.hero.item_count[id] == 1;
    if (unusable_entry ? unusable >= kUnusableBudget : !(owned && redraws < findable::redraw_budget)) break;
    if (unusable_entry) ++unusable;
    id = g.rng.draw(findable::redraw);
    ++redraws;
  }
  return id;
}

}  // namespace

void spend_life(Game& g) {
  Hero& h = g.hero;
  h.life -= 1;
  if (h.life > 0) {
    g.form.hide(ctl::moji_l2);
    return;
  }
  h.life = 0;
  g.form.show(ctl::moji_l2);
  h.hp -= 1;
  h.spirit_power -= 1;
  if (h.hp <= 1) h.hp = 1;
  if (h.spirit_power <= 1) h.spirit_power = 1;
  g.form.set_caption(ctl::moji_l2, g.sj("寿命が0です＞Hp,精霊-1"));
}

void walk_forward(Game& g) {
  if (g.form[ctl::wana_b].visible) {
    spring_trap(g);
    return;
  }
  g.form.hide(ctl::sira_b);
  g.form.hide(ctl::wana_b);
  step_animation(g, true);
  g.location.progress += 1;
  spend_life(g);
  if (g.location.progress < g.location.length) {
    switch (g.rng.draw(15)) {
      case 0:
      case 3:
        g.form.hide(ctl::d_state);
        g.form.hide(ctl::danjyon_box);
        start_random_battle(g);
        break;
      case 1:
        flash_spot(g, cl::white);
        g.form.show(ctl::sira_b);
        break;
      case 2:
        flash_spot(g, cl::red);
        g.form.show(ctl::wana_b);
        break;
      default:
        break;
    }
    return;
  }
  g.boss_battle = 1;
  g.form.hide(ctl::d_state);
  g.form.hide(ctl::danjyon_box);
  start_boss_battle(g);
  if (g.location.id == 7) g.hero.world_flags(world_flag::last_boss_reached) = 1;
}

void walk_back(Game& g) {
  g.form.hide(ctl::sira_b);
  g.form.hide(ctl::wana_b);
  step_animation(g, false);
  g.location.progress -= 1;
  spend_life(g);
  refresh_status(g);
  if (g.location.progress <= 0) leave_location(g);
}

void disarm_trap(Game& g) {
  Hero& h = g.hero;
  show_message(g, g.sj("カチャカチャ\r↓\r↓\r↓"));
  if (g.rng.draw(5) != 0) {
    show_message(g, g.sj("↓\r↓\r↓\rワナの解除に成功した！"));
    h.exp += 10;
    if (h.exp >= 100) h.exp = 100;
    refresh_status(g);
    show_message(g, g.sj("経験値を10取得した"));
  } else {
    show_message(g, g.sj("↓\r↓\r失敗！！"));
    shake_window(g);
    h.hp -= 10;
    if (h.hp <= 1) h.hp = 1;
    refresh_status(g);
    show_message(g, g.sj("Hpが10減った"));
  }
  g.form.hide(ctl::wana_b);
}

void search_spot(Game& g) {
  Hero& h = g.hero;
  show_message(g, g.sj("ゴソゴソ\r↓\r↓\r↓"));
  const int id = draw_search_item(g);
  const Item& it = g.items[id];
  const std::string found = g.sj("↓\r↓\r↓\r何かを発見した！");
  const std::string nothing = g.sj("↓\r↓\r何も無かった････");
  if (it.kind == item_kind::card || it.name.empty() || h.item_count[id] == 1) {
    show_message(g, nothing);
    g.form.hide(ctl::sira_b);
    return;
  }
  const int r = g.rng.draw(12);
  if (r <= 4) {
    show_message(g, found);
    h.item_count[id] = 1;
    show_message(g, g.sj("【") + it.name + g.sj("】を手に入れた"));
  } else if (r <= 6) {
    show_message(g, found);
    const int32_t n = 5 + g.rng.draw(5);
    h.spirit_power += n;
    show_message(g, g.sj("精霊達を見つけた！\r精霊が") + num(n) + g.sj("増えた"));
  } else if (r <= 8) {
    show_message(g, found);
    const int32_t n = 5 + g.rng.draw(45);
    h.money += n;
    show_message(g, g.sj("お金") + num(n) + g.sj("円を手に入れた"));
  } else if (r == 9) {
    show_message(g, found);
    h.stars += 1;
    show_message(g, g.sj("なんと星を1個見つけた！"));
  } else {
    show_message(g, nothing);
  }
  g.form.hide(ctl::sira_b);
}
