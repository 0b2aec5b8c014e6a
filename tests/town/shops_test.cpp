#include <gtest/gtest.h>

#include "support/test_game.hpp"
#include "core/operations.hpp"
#include "game/input.hpp"
#include "town/town.hpp"

namespace {

using Lines = std::vector<std::string>;

// A hero in town with the shop panel open.
struct Shop : TestGame {
  Shop() {
    click(g(), ctl::Button1);
    click(g(), ctl::Button14);
    clear_transcript();
  }
  Hero& h() { return g().hero; }
  void press(ctl::Id button) {
    ASSERT_TRUE(g().form.clickable(button)) << Form::name(button);
    clear_transcript();
    click(g(), button);
  }
};

TEST(Inn, Rooms) {
  struct Case {
    ctl::Id room;
    int price;
    const char* message;
    int mp, life;
  } cases[] = {
      {ctl::Button26, 10, "Hpが完全回復した\\rMpが10回復した", 10, 100},
      {ctl::Button29, 50, "Hpが完全回復した\\rMpが完全回復した", 10, 100},
      {ctl::Button28, 100, "Hpが完全回復した\\rMpが完全回復した\\r寿命が90回復した", 10, 150},
      {ctl::Button22, 300, "Hpが完全回復した\\rMpが完全回復した\\r寿命が150回復した", 10, 150},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.price);
    Shop s;
    s.press(ctl::Button19);
    EXPECT_TRUE(s.g().form.shown(ctl::yado_box));
    Hero& h = s.h();
    h.money = c.price - 1;
    s.press(c.room);
    EXPECT_EQ(s.lines("sound: "), Lines{"off1.wav"});
    EXPECT_EQ(s.messages(), Lines{"お金が足りないヨ"});
    h.money = c.price;
    h.hp = 1;
    h.mp = 3;
    h.life = 100;
    h.status = 2;
    s.g().rng.rig(4);  // the star room's dream: forgotten
    s.press(c.room);
    EXPECT_EQ(s.lines("sound: "), Lines{"on1.wav"});
    EXPECT_EQ(s.messages()[0], c.message);
    EXPECT_EQ(h.money, 0);
    EXPECT_EQ(h.hp, 30);
    EXPECT_EQ(h.mp, c.mp) << "capped by the refresh";
    EXPECT_EQ(h.life, c.life);
    EXPECT_EQ(h.status, 2) << "an ailment survives the night";
  }
}

TEST(Inn, TheStarRoomDreams) {
  const Lines expected[6] = {
      {"星が1つ降ってきた。\\r星を1個手にいれた"}, {"恐い夢をみた････", "属性<魔>が1上がった"},
      {"懐かしい夢をみた････", "属性<水>が1上がった"}, {"暖かい夢をみた････", "【防御力】が1上がった"},
      {"夢を見たけど忘れてしまった"}, {"へびの夢をみた････", "【運】が1上がった"}};
  for (int row = 0; row < 6; ++row) {
    Shop s;
    s.press(ctl::Button19);
    s.h().money = 300;
    s.g().rng.rig(row);
    s.press(ctl::Button22);
    Lines m = s.messages();
    m.erase(m.begin());
    EXPECT_EQ(m, expected[row]);
  }
  Shop s;
  s.press(ctl::Button19);
  s.h().money = 300;
  s.g().rng.rig(6);
  s.press(ctl::Button22);
  EXPECT_FALSE(s.g().rng.take_error().empty()) << "the inn draws only the first six dreams";
}

TEST(ToolShop, OneOfEach) {
  struct Case {
    ctl::Id button;
    int price, item;
    const char* message;
  } cases[] = {{ctl::Button32, 10, 0, "【ｽﾃｨｯｸﾊﾟﾝ】を購入した"},
               {ctl::Button35, 30, 1, "【ﾛﾝｸﾞ･ｽﾃｨｯｸﾊﾟﾝ】を購入した"},
               {ctl::Button33, 20, 14, "【スミレ草】を購入した"},
               {ctl::Button34, 40, 47, "【エリスの石のかけら】を購入した"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    Shop s;
    s.press(ctl::Button21);
    s.h().money = c.price;
    s.press(c.button);
    EXPECT_EQ(s.lines("sound: "), Lines{"on1.wav"});
    EXPECT_EQ(s.messages(), Lines{c.message});
    EXPECT_EQ(s.h().item_count[c.item], 1);
    EXPECT_EQ(s.h().money, 0);
    s.press(c.button);
    EXPECT_EQ(s.messages(), Lines{"お金が足りないヨ"}) << "the money test comes first";
    s.h().money = c.price;
    s.press(c.button);
    EXPECT_EQ(s.messages(), Lines{"それはもうもってるよ？"});
    EXPECT_EQ(s.h().money, c.price);
  }
}

TEST(StarShop, GoodsAndTheSecret) {
  Shop s;
  click(s.g(), ctl::Button15);
  s.h().world_flags(200) = 1;
  timer_tick(s.g());
  s.press(ctl::map0);
  EXPECT_TRUE(s.g().form.shown(ctl::star_box));
  struct Case {
    ctl::Id button;
    int price;
    const char* message;
  } cases[] = {{ctl::Button13, 30, "【星】を１つ購入した"}, {ctl::Button38, 500, "<太陽>の属性が1増えた"},
               {ctl::Button36, 500, "<天使>の属性が1増えた"}, {ctl::Button37, 500, "防御力が1増えた"}};
  for (const auto& c : cases) {
    s.h().money = c.price * 2;
    s.press(c.button);
    s.press(c.button);
    EXPECT_EQ(s.messages(), Lines{c.message});
    EXPECT_EQ(s.h().money, 0);
    s.press(c.button);
    EXPECT_EQ(s.messages(), Lines{"お金が足りないヨ"});
  }
  EXPECT_EQ(s.h().stars, 2);
  EXPECT_EQ(s.h().attr_sun, 2);
  EXPECT_EQ(s.h().attr_angel, 2);
  EXPECT_EQ(s.h().defense, 2);
  s.h().attr_sun = 99;
  s.h().money = 500;
  s.press(ctl::Button38);
  timer_tick(s.g());
  EXPECT_EQ(s.h().attr_sun, 99);

  s.h().money = 1000;
  s.press(ctl::Button7);
  EXPECT_EQ(s.messages(), Lines{"【盗む】の技を修得した"});
  EXPECT_EQ(s.h().tech_lv(20), 1);
  s.press(ctl::Button7);
  EXPECT_EQ(s.messages(), Lines{"1000円なんだ、お金が足りないヨ"});
  s.h().money = 1000;
  s.press(ctl::Button7);
  EXPECT_EQ(s.messages(), Lines{"君はもうもってるだろ？"});
  EXPECT_EQ(s.h().money, 1000);
  s.press(ctl::Button10);
  EXPECT_TRUE(s.g().form.shown(ctl::map_box));
}

TEST(StarShop, TheFifthStarOpensTheSwordShop) {
  Shop s;
  click(s.g(), ctl::Button15);
  s.h().world_flags(200) = 1;
  s.h().stars = 4;
  timer_tick(s.g());
  s.press(ctl::map0);
  s.h().money = 30;
  s.press(ctl::Button13);
  EXPECT_FALSE(s.g().form[ctl::ken_b].visible);
  timer_tick(s.g());
  EXPECT_TRUE(s.g().form[ctl::ken_b].visible);
}

TEST(ToyShop, FiguresAndTheirTechniques) {
  struct Case {
    ctl::Id button;
    int k, price, tech;
    Lines after;  // after the purchase message
  } cases[] = {
      {ctl::Button42, 0, 100, 0, {}},
      {ctl::Button44, 3, 500, 21, {"【泣く】の技を修得した！"}},
      {ctl::Button48, 4, 1000, 24, {"【星を見上げる】の技を修得した！"}},
      {ctl::Button46, 6, 1000, 19, {"【カード投げ】の技を修得した！"}},
      {ctl::Button49, 7, 1000, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.k);
    Shop s;
    s.h().stars = 10;
    timer_tick(s.g());
    s.press(ctl::toy_b);
    EXPECT_TRUE(s.g().form.shown(ctl::toy_box));
    s.h().money = c.price - 1;
    s.press(c.button);
    EXPECT_EQ(s.messages(), Lines{"お金が足りないヨ"});
    s.h().money = c.price;
    s.press(c.button);
    Lines expected{"【" + s.utf8(s.g().figure_names[c.k]) + "】のＳＲフィギュアを購入した"};
    expected.insert(expected.end(), c.after.begin(), c.after.end());
    EXPECT_EQ(s.messages(), expected);
    EXPECT_EQ(s.h().owned_flags[c.k], 1);
    if (c.tech) {
      EXPECT_EQ(s.h().tech_lv(c.tech), 1);
    }
    s.h().money = c.price;
    s.press(c.button);
    EXPECT_EQ(s.messages(), Lines{"それはもうもってるよ？"});
  }
}

TEST(ToyShop, LateFiguresCoverTheOlderButtons) {
  Shop s;
  s.h().stars = 40;
  timer_tick(s.g());
  s.press(ctl::toy_b);
  EXPECT_FALSE(s.g().form.clickable(ctl::Button48));
  EXPECT_FALSE(s.g().form.clickable(ctl::Button49));
  EXPECT_TRUE(s.g().form.clickable(ctl::f_b));
  EXPECT_TRUE(s.g().form.clickable(ctl::f_b2));
  s.h().money = 9000;
  s.press(ctl::f_b);
  EXPECT_EQ(s.messages()[1], "【星を見上げる】の技を修得した！");
  EXPECT_EQ(s.h().owned_flags[8], 1);
  // The first queen version already taught it: no second lesson.
  Shop again;
  again.h().stars = 40;
  again.h().tech_lv(24) = 3;
  timer_tick(again.g());
  again.press(ctl::toy_b);
  again.h().money = 9000;
  again.press(ctl::f_b);
  EXPECT_EQ(again.messages().size(), 1u);
  EXPECT_EQ(again.h().tech_lv(24), 3);
}

TEST(ToyShop, ThePreviewFollowsTheMouse) {
  Shop s;
  s.h().stars = 40;
  timer_tick(s.g());
  Canvas& strip = s.g().form[ctl::f_bak].canvas;
  strip.resize(640, 64);
  for (int k = 0; k < 10; ++k) {
    strip.brush = static_cast<uint32_t>(0x101010 * (k + 1));
    strip.fill_rect(64 * k, 0, 64 * k + 64, 64);
  }
  s.press(ctl::toy_b);
  mouse_move(s.g(), ctl::Button42);
  EXPECT_EQ(s.g().form[ctl::cg_f].canvas.at(80, 80), bgr_to_rgb(0x101010));
  mouse_move(s.g(), ctl::f_b2);
  EXPECT_EQ(s.g().form[ctl::cg_f].canvas.at(159, 159), bgr_to_rgb(0x101010 * 10));
  mouse_move(s.g(), ctl::form);
  EXPECT_EQ(s.g().form[ctl::cg_f].canvas.at(0, 0), bgr_to_rgb(0x101010 * 10)) << "the last figure stays";
}

TEST(Home, ShowsExactlyTheFiguresBought) {
  Shop s;
  click(s.g(), ctl::Button15);
  s.h().owned_flags[0] = 1;
  s.h().owned_flags[9] = 1;
  s.press(ctl::Button23);
  static constexpr ctl::Id kHome[10] = {ctl::Image1, ctl::Image2, ctl::Image3, ctl::Image4, ctl::Image5,
                                        ctl::Image6, ctl::Image7, ctl::Image8, ctl::Image9, ctl::Image10};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(s.g().form.shown(kHome[k]), k == 0 || k == 9) << k;
  EXPECT_EQ(s.g().form.window_rect(ctl::Image10).x, 296);
  EXPECT_EQ(s.g().form.window_rect(ctl::Image10).y, 112);
  s.press(ctl::Button24);
  EXPECT_TRUE(s.g().form.shown(ctl::map_box));
}

}  // namespace

// Each price the shops' labels show is what the button beside it (to its left, or above it)
// takes from the hero.
TEST(Shops, EveryLabelledPriceIsWhatTheButtonTakes) {
  int checked = 0;
  for (int i = 0; i < ctl::count; ++i) {
    const auto label = static_cast<ctl::Id>(i);
    const ControlSpec& l = Form::spec(label);
    const std::string caption = l.caption;
    const size_t yen = caption.find("円／");
    if (l.kind != Kind::Label || yen == std::string::npos) continue;
    ctl::Id button = ctl::form;
    for (int j = 0; j < ctl::count; ++j) {
      const ControlSpec& b = Form::spec(static_cast<ctl::Id>(j));
      const bool left_of = b.y == l.y && b.x + b.w <= l.x;
      const bool above = b.x == l.x && l.y - (b.y + b.h) >= 0 && l.y - (b.y + b.h) <= 2;
      if (b.kind == Kind::Button && b.parent == l.parent && b.visible && (left_of || above))
        button = static_cast<ctl::Id>(j);
    }
    ASSERT_NE(button, ctl::form) << "no button beside " << Form::name(label);
    Shop s;
    s.h().money = 100000;
    s.h().hp = 1;  // the inn has something to heal
    click(s.g(), button);
    EXPECT_EQ(100000 - s.h().money, std::stoi(caption.substr(0, yen)))
        << Form::name(button) << " beside " << Form::name(label) << " 「" << caption << "」";
    ++checked;
  }
  EXPECT_EQ(checked, 20) << "the inn's four rooms, the tool shop's four, the star shop's four, the toy shop's eight";
}
