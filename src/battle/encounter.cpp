// A battle opening and closing: the random opponent and the boss appearing, the technique groups
// opened, the end of a battle and the flight.
#include <algorithm>
#include <string>

#include "battle/battle.hpp"
#include "core/codes.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "effects/effects.hpp"
#include "ui/technique_buttons.hpp"

namespace {

// Level offsets by a draw of 0 .. 11, and by the location's difficulty.
constexpr int kLevelOffset[12] = {-2, -1, -1, -1, 0, 0, 0, 0, 1, 2, -3, 0};
int range_offset(int job_range) { return job_range >= 0 && job_range <= 4 ? job_range - 1 : 0; }

bool load_picture(Game& g, const std::string& file) {
  const bool ok = g.host.load_bitmap(g.path("cg", file), g.form[ctl::bak].canvas);
  if (ok) g.form.touch();
  return ok;
}

void appear(Game& g) {
  reveal_opponent(g);
  g.enemy.status = ailment::none;
  g.form.show(ctl::e_state);
  refresh_status(g);
}

void first_strike(Game& g) {
  if (g.rng.draw(10) == 0) {
    show_message(g, g.sj("敵の先制攻撃"));
    opponent_turn(g);
  } else {
    hero_turn_start(g);
  }
}

// Opens one technique group's box, showing the buttons of the techniques learned.
struct Group {
  ctl::Id box, other1, other2;
  int first;
};

void open_group(Game& g, const Group& grp) {
  play_sound(g, "1.wav");
  g.form.hide(grp.other1);
  g.form.hide(grp.other2);
  g.form.hide(ctl::shop_box);
  g.form.show(ctl::about_box);
  for (int t = grp.first; t < grp.first + technique::per_group; ++t)
    if (g.hero.tech_lv(t) != 0) g.form.show(technique_button(t));
  g.form.show(grp.box);
}

}  // namespace

void start_random_battle(Game& g) {
  Enemy& e = g.enemy;
  const int offset = kLevelOffset[g.rng.draw(12)];
  e.level = g.hero.level + offset + range_offset(g.location.job_range);
  if (e.level <= 0) e.level = 1;
  const int32_t level = e.level;
  e.name = random_name(g);
  e.max_hp = g.rng.draw(level) + 6 * level + 10;
  e.hp = e.max_hp;
  e.max_mp = g.rng.draw(3) + 8;
  e.mp = e.max_mp;
  e.job = g.rng.draw(g.hero.level / 2 + g.location.job_range);
  e.attribute = g.rng.draw(5);
  e.spirit_power = g.rng.draw(10) + 3 * level;
  const int32_t spirit = e.spirit_power / 10;
  // Opponents far above any level of the game keep the grandest spirit of the list.
  e.spirit_name = g.spirit_names[std::clamp<int32_t>(spirit, 0, kSpiritNames - 1)];
  if (e.job < 19) {
    if (!load_picture(g, "unit" + num(e.job) + ".bmp")) load_picture(g, "unit19.bmp");
  } else {
    load_picture(g, "unit19.bmp");
  }
  appear(g);
  show_message(g, e.name + g.sj("が現れた"));
  first_strike(g);
}

void start_boss_battle(Game& g) {
  Enemy& e = g.enemy;
  const Location& l = g.location;
  e.level = l.boss_level;
  e.name = l.boss_name;
  e.max_hp = e.hp = l.boss_hp;
  e.max_mp = e.mp = l.boss_mp;
  e.job = l.boss_job;
  e.attribute = l.boss_attribute;
  e.spirit_power = l.boss_spirit_power;
  e.spirit_name = l.boss_spirit;
  if (!load_picture(g, "boss" + num(l.id) + ".bmp")) load_picture(g, "unit19.bmp");
  appear(g);
  show_message(g, e.name + g.sj("が現れた"));
  show_message(g, g.sj("「") + l.boss_line + g.sj("」"));
  first_strike(g);
}

void end_battle(Game& g) {
  for (ctl::Id id : {ctl::battle_box, ctl::w_box, ctl::t_box, ctl::m_box, ctl::e_state, ctl::e_state2})
    g.form.hide(id);
  Hero& h = g.hero;
  h.hp += h.max_hp / 4;
  h.mp += h.max_mp / 3;
  h.status = ailment::none;
  if (g.boss_battle == 1) {
    const int32_t gold = (g.location.id + 1) * 100;
    h.money += gold;
    show_message(g, g.sj("金塊") + num(gold) + g.sj("円を発見した"));
    const int flag = world_flag::boss_beaten(g.location.id);
    if (flag >= 200 && flag < 300) h.world_flags(flag) = 1;
    if (g.location.id == 7) {
      show_message(g, g.sj("この世界を統括した"));
      show_message(g, g.sj("クリア！！！"));
      show_ending(g);
      return;
    }
    g.boss_battle = 0;
    g.battle_left_location = true;
    return;
  }
  g.form.show(ctl::d_state);
  g.form.show(ctl::danjyon_box);
  close_black(g);
}

void open_attack_group(Game& g) { open_group(g, {ctl::w_box, ctl::m_box, ctl::t_box, 1}); }
void open_magic_group(Game& g) { open_group(g, {ctl::m_box, ctl::w_box, ctl::t_box, 9}); }
void open_special_group(Game& g) { open_group(g, {ctl::t_box, ctl::w_box, ctl::m_box, 17}); }

void flee(Game& g) {
  for (ctl::Id id : {ctl::battle_box, ctl::w_box, ctl::t_box, ctl::m_box}) g.form.hide(id);
  if (g.boss_battle == 1) {
    show_message(g, g.sj("逃げられない！"));
    opponent_turn(g);
    return;
  }
  show_message(g, g.hero.name + g.sj("＞逃げる") + "\r" + g.sj("↓") + "\r" + g.sj("↓") + "\r" +
                      g.sj("↓"));
  int n = 3 - g.hero.luck / 10;
  if (n < 0) n = 1;
  if (g.rng.draw(n) == 0) {
    show_message(g, g.sj("↓\r↓\r↓\r失敗！"));
    opponent_turn(g);
    return;
  }
  show_message(g, g.sj("↓\r↓\r↓\r成功！"));
  show_message(g, g.sj("経験値を10取得した"));
  g.hero.exp += 10;
  end_battle(g);
}
