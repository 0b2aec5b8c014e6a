// The world map: entering and leaving a location, the shop and home panels.
#include <string>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "effects/effects.hpp"
#include "world/world.hpp"

namespace {

struct LocationRow {
  const char* name;
  int32_t length, job_range;
  const char* boss_name;
  const char* boss_spirit;
  const char* boss_line;
  int32_t boss_level, boss_hp, boss_mp, boss_attribute, boss_job, boss_spirit_power;
};

// The seven locations, by id 1 to 7.
constexpr LocationRow kLocations[8] = {
    {},
    {"地球塔地下", 199, 4, "ビンタ・キング", "Mの形見", "ははは久しぶりだな！、オレのビンタ、うけてみよ！！",
     99, 9999, 999, 0, 20, 199},
    {"君ヶ丘", 30, 0, "聖戦士・月光", "月光", "この場所に何のようかね", 10, 100, 10, 4, 6, 44},
    {"イルモール雪原", 60, 1, "亡霊ステファニア", "夕暮れ", "貴方もロマンシア兄さんの敵ね!?", 20, 200, 10,
     3, 3, 45},
    {"三度湖", 40, 2, "カンフー", "司令杖", "タキオン王子の命は渡さない・・・・", 30, 400, 20, 0, 11, 56},
    {"カノン塔", 50, 2, "ローズ", "書記", "この塔は偽者だ・・・・", 40, 500, 20, 3, 13, 33},
    {"猫の島", 40, 3, "ビクトリー", "猫人形", "この町の平和を渡すものか・・・・", 50, 777, 30, 2, 19, 99},
    {"名も無き塔", 50, 3, "メフィスト", "パイプ", "またやってきたのか・・・・いいだろう、戦おう", 60, 1999, 40,
     3, 17, 150},
};

}  // namespace

void enter_location(Game& g, uint8_t id) {
  play_sound(g, "walk.wav");
  g.form.hide(ctl::map_box);
  Canvas& c = g.form[ctl::cg].canvas;
  c.pen = cl::black;
  close_black(g);
  g.form.show(ctl::d_state);
  Location& l = g.location;
  l.progress = 1;
  l.id = id;
  if (id >= 1 && id <= 7) {
    const LocationRow& r = kLocations[id];
    l.name = g.sj(r.name);
    l.length = r.length;
    l.job_range = r.job_range;
    l.boss_name = g.sj(r.boss_name);
    l.boss_spirit = g.sj(r.boss_spirit);
    l.boss_line = g.sj(r.boss_line);
    l.boss_level = r.boss_level;
    l.boss_hp = r.boss_hp;
    l.boss_mp = r.boss_mp;
    l.boss_attribute = r.boss_attribute;
    l.boss_job = r.boss_job;
    l.boss_spirit_power = r.boss_spirit_power;
  }
  show_message_quickly(g, g.sj("････") + g.hero.name + g.sj("は") + l.name + g.sj("に侵入した"));
  g.form.show(ctl::danjyon_box);
}

void leave_location(Game& g) {
  g.form.hide(ctl::d_state);
  g.form.show(ctl::map_box);
  g.form.hide(ctl::danjyon_box);
  reveal_map(g);
  show_message_quickly(g, g.sj("････") + g.hero.name + g.sj("は") + g.location.name + g.sj("から地上へ出た"));
}

void open_shop(Game& g) { switch_panels(g, ctl::map_box, ctl::shop_box); }

void close_shop(Game& g) { switch_panels(g, ctl::shop_box, ctl::map_box); }

void open_star_shop(Game& g) {
  play_sound(g, "1.wav");
  g.form.show(ctl::star_box);
  g.form.hide(ctl::map_box);
}

void open_home(Game& g) {
  static constexpr ctl::Id kHome[10] = {ctl::Image1, ctl::Image2, ctl::Image3, ctl::Image4,
                                        ctl::Image5, ctl::Image6, ctl::Image7, ctl::Image8,
                                        ctl::Image9, ctl::Image10};
  play_sound(g, "1.wav");
  g.form.hide(ctl::map_box);
  g.form.show(ctl::my_box);
  for (int k = 0; k < 10; ++k)
    if (g.hero.owned_flags[k] == 1) g.form.show(kHome[k]);
}

void close_home(Game& g) { switch_panels(g, ctl::my_box, ctl::map_box); }
