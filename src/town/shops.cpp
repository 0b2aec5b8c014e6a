// The town's shops: the inn, the tool shop, the star shop and the toy shop.
#include <string>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "town/town.hpp"
#include "ui/technique_buttons.hpp"

namespace {

// The money test of every purchase; on success the price is taken and the chime plays.
bool pay(Game& g, int32_t price, const char* short_of_money) {
  if (g.hero.money < price) {
    refuse(g, short_of_money);
    return false;
  }
  g.hero.money -= price;
  play_sound(g, "on1.wav");
  return true;
}

constexpr const char* kShortOfMoney = "お金が足りないヨ";

// The inn's rooms.
struct Room {
  ctl::Id button;
  int32_t price;
  void (*effect)(Hero&);
  const char* message;
  bool dream;
};
void rest(Hero& h) {
  h.hp = h.max_hp;
  h.mp = h.max_mp;
}
const Room kRooms[] = {
    {ctl::Button26, 10,
     [](Hero& h) {
       h.hp = h.max_hp;
       h.mp += 10;
     },
     "Hpが完全回復した\rMpが10回復した", false},
    {ctl::Button29, 50, rest, "Hpが完全回復した\rMpが完全回復した", false},
    {ctl::Button28, 100,
     [](Hero& h) {
       rest(h);
       h.life += 90;
     },
     "Hpが完全回復した\rMpが完全回復した\r寿命が90回復した", false},
    {ctl::Button22, 300,
     [](Hero& h) {
       rest(h);
       h.life += 150;
     },
     "Hpが完全回復した\rMpが完全回復した\r寿命が150回復した", true},
};

// The tool shop: one of each item at a time.
struct Tool {
  ctl::Id button;
  int32_t price;
  int item;
  const char* message;
};
const Tool kTools[] = {
    {ctl::Button32, 10, 0, "【ｽﾃｨｯｸﾊﾟﾝ】を購入した"},
    {ctl::Button35, 30, 1, "【ﾛﾝｸﾞ･ｽﾃｨｯｸﾊﾟﾝ】を購入した"},
    {ctl::Button33, 20, 14, "【スミレ草】を購入した"},
    {ctl::Button34, 40, 47, "【エリスの石のかけら】を購入した"},
};

// The star shop: as often as the money lasts.
struct StarGood {
  ctl::Id button;
  int32_t price;
  void (*effect)(Hero&);
  const char* message;
};
const StarGood kStarGoods[] = {
    {ctl::Button13, 30, [](Hero& h) { h.stars += 1; }, "【星】を１つ購入した"},
    {ctl::Button38, 500, [](Hero& h) { h.attr_sun += 1; }, "<太陽>の属性が1増えた"},
    {ctl::Button36, 500, [](Hero& h) { h.attr_angel += 1; }, "<天使>の属性が1増えた"},
    {ctl::Button37, 500, [](Hero& h) { h.defense += 1; }, "防御力が1増えた"},
};

// The toy figures, k = 0 .. 9, and the techniques three of them teach.
struct Toy {
  ctl::Id button;
  int32_t price;
  int tech;              // 0: none
  bool message_first;    // the technique's message comes before it is learned
  bool only_if_unknown;  // teaches only a technique not yet learned
  const char* learned;
};
const Toy kToys[10] = {
    {ctl::Button42, 100, 0, false, false, nullptr},
    {ctl::Button43, 200, 0, false, false, nullptr},
    {ctl::Button45, 300, 0, false, false, nullptr},
    {ctl::Button44, 500, 21, true, false, "【泣く】の技を修得した！"},
    {ctl::Button48, 1000, 24, false, false, "【星を見上げる】の技を修得した！"},
    {ctl::Button47, 1000, 0, false, false, nullptr},
    {ctl::Button46, 1000, 19, false, false, "【カード投げ】の技を修得した！"},
    {ctl::Button49, 1000, 0, false, false, nullptr},
    {ctl::f_b, 9000, 24, false, true, "【星を見上げる】の技を修得した！"},
    {ctl::f_b2, 1000, 0, false, false, nullptr},
};

void take_room(Game& g, const Room& r) {
  if (!pay(g, r.price, kShortOfMoney)) return;
  r.effect(g.hero);
  refresh_status(g);
  show_message(g, g.sj(r.message));
  if (r.dream) dream(g, g.rng.draw(6));
}

void buy_tool(Game& g, const Tool& t) {
  if (g.hero.money < t.price) return refuse(g, kShortOfMoney);
  if (g.hero.item_count[t.item] == 1) return refuse(g, "それはもうもってるよ？");
  pay(g, t.price, kShortOfMoney);
  g.hero.item_count[t.item] = 1;
  show_message(g, g.sj(t.message));
}

void buy_star_good(Game& g, const StarGood& s) {
  if (!pay(g, s.price, kShortOfMoney)) return;
  s.effect(g.hero);
  show_message(g, g.sj(s.message));
}

void buy_secret(Game& g) {
  if (g.hero.money < 1000) return refuse(g, "1000円なんだ、お金が足りないヨ");
  if (g.hero.tech_lv(technique::steal) != 0) return refuse(g, "君はもうもってるだろ？");
  pay(g, 1000, kShortOfMoney);
  g.hero.tech_lv(technique::steal) = 1;
  show_message(g, g.sj("【盗む】の技を修得した"));
}

void buy_toy(Game& g, int k) {
  const Toy& t = kToys[k];
  if (g.hero.money < t.price) return refuse(g, kShortOfMoney);
  if (g.hero.owned_flags[k] == 1) return refuse(g, "それはもうもってるよ？");
  pay(g, t.price, kShortOfMoney);
  g.hero.owned_flags[k] = 1;
  show_message(g, g.sj("【") + g.figure_names[k] + g.sj("】のＳＲフィギュアを購入した"));
  if (!t.tech || (t.only_if_unknown && g.hero.tech_lv(t.tech) != 0)) return;
  if (t.message_first) show_message(g, g.sj(t.learned));
  g.hero.tech_lv(t.tech) = 1;
  if (!t.message_first) show_message(g, g.sj(t.learned));
}

}  // namespace

void enter_inn(Game& g) { switch_panels(g, ctl::shop_box, ctl::yado_box); }
void leave_inn(Game& g) { switch_panels(g, ctl::yado_box, ctl::shop_box); }
void enter_tool_shop(Game& g) { switch_panels(g, ctl::shop_box, ctl::dougu_box); }
void leave_tool_shop(Game& g) { switch_panels(g, ctl::dougu_box, ctl::shop_box); }
void leave_star_shop(Game& g) { switch_panels(g, ctl::star_box, ctl::map_box); }
void leave_toy_shop(Game& g) { switch_panels(g, ctl::toy_box, ctl::shop_box); }
void enter_toy_shop(Game& g) {
  play_sound(g, "1.wav");
  g.form.show(ctl::toy_box);
  g.form.hide(ctl::shop_box);
}

bool buy(Game& g, ctl::Id button) {
  for (const Room& r : kRooms)
    if (r.button == button) return take_room(g, r), true;
  for (const Tool& t : kTools)
    if (t.button == button) return buy_tool(g, t), true;
  for (const StarGood& s : kStarGoods)
    if (s.button == button) return buy_star_good(g, s), true;
  if (button == ctl::Button7) return buy_secret(g), true;
  for (int k = 0; k < 10; ++k)
    if (kToys[k].button == button) return buy_toy(g, k), true;
  return false;
}

bool preview_toy(Game& g, ctl::Id button) {
  for (int k = 0; k < 10; ++k) {
    if (kToys[k].button != button) continue;
    Canvas& c = g.form[ctl::cg_f].canvas;
    if (c.empty()) c.resize(160, 160);
    c.copy_rect(0, 0, 160, 160, g.form[ctl::f_bak].canvas, 64 * k, 0, 64 * k + 64, 64);
    return true;
  }
  return false;
}
