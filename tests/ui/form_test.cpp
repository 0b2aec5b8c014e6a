#include <gtest/gtest.h>

#include <set>

#include "support/test_game.hpp"
#include "ui/form.hpp"
#include "ui/sjis.hpp"

namespace {

TEST(Layout, IsWellFormed) {
  std::set<std::string> names;
  for (int i = 0; i < ctl::count; ++i) {
    const auto id = static_cast<ctl::Id>(i);
    const ControlSpec& s = Form::spec(id);
    EXPECT_TRUE(names.insert(s.name).second) << "duplicate " << s.name;
    EXPECT_EQ(Form::find(s.name), id);
    if (id == ctl::form) continue;
    const Kind parent_kind = Form::spec(s.parent).kind;
    EXPECT_TRUE(parent_kind == Kind::Panel || parent_kind == Kind::Window) << s.name;
    EXPECT_LT(s.parent, id) << s.name << " comes before its panel";
    if (s.parent != ctl::form && s.w > 0) {
      const ControlSpec& p = Form::spec(s.parent);
      EXPECT_GE(s.x, 0) << s.name;
      EXPECT_GE(s.y, 0) << s.name;
      EXPECT_LE(s.x + s.w, p.w) << s.name << " sticks out of " << p.name;
      EXPECT_LE(s.y + s.h, p.h) << s.name << " sticks out of " << p.name;
    }
  }
  EXPECT_EQ(Form::find("no_such_control"), ctl::count);
}

TEST(Layout, PanelsOnTheWindowFitIt) {
  Sjis sjis;
  Form f(sjis, 551, 360);
  for (ctl::Id id : {ctl::battle_box, ctl::danjyon_box, ctl::map_box, ctl::about_box, ctl::shop_box,
                     ctl::w_box, ctl::m_box, ctl::t_box}) {
    const Rect r = f.window_rect(id);
    EXPECT_LE(r.x + r.w, 551) << Form::name(id);
    EXPECT_LE(r.y + r.h, 360) << Form::name(id);
  }
}

TEST(Layout, StackingFollowsTheTable) {
  TestGame t;
  Form& f = t.g().form;
  // The item panel lies above the card counter's neighbour slot and over everything else.
  f.hide(ctl::start_box);
  f.show(ctl::card_box);
  f.show(ctl::item_box);
  EXPECT_EQ(f.window_rect(ctl::card_box).x, 0);
  EXPECT_EQ(f.window_rect(ctl::item_box).x, 204);
  EXPECT_TRUE(f.clickable(ctl::item_use));
  EXPECT_FALSE(f.clickable(ctl::BitBtn1)) << "the item panel covers its own button";
  // A later panel lies above an earlier one in the same slot.
  f.hide(ctl::item_box);
  f.show(ctl::battle_box);
  EXPECT_TRUE(f.clickable(ctl::Button50));
  f.show(ctl::danjyon_box);
  EXPECT_FALSE(f.clickable(ctl::Button50)) << "the dungeon panel lies above the battle panel";
  f.show(ctl::map_box);
  EXPECT_TRUE(f.clickable(ctl::map2)) << "the map panel lies above both";
  // Drawn-only controls lie below panels, whatever the table order.
  EXPECT_EQ(f.hit_test(210, 300), ctl::state_l);
  f.show(ctl::help_box);
  const ctl::Id over = f.hit_test(210, 300);
  EXPECT_TRUE(over == ctl::help_box || f[over].parent == ctl::help_box) << Form::name(over);
}

TEST(Layout, HiddenPanelsHideTheirControls) {
  TestGame t;
  Form& f = t.g().form;
  EXPECT_TRUE(f[ctl::Button19].visible);
  EXPECT_FALSE(f.shown(ctl::Button19));
  EXPECT_FALSE(f.clickable(ctl::Button19));
  f.hide(ctl::start_box);
  f.show(ctl::shop_box);
  EXPECT_TRUE(f.clickable(ctl::Button19));
  EXPECT_FALSE(f.clickable(ctl::card_b)) << "hidden until unlocked";
}

TEST(Form, RevisionChangesOnlyWithRealChanges) {
  Sjis sjis;
  Form f(sjis, 551, 360);
  const uint64_t r0 = f.revision();
  f.set_caption(ctl::moji_l, f[ctl::moji_l].caption);
  f.show(ctl::moji_l);
  f.set_fore(ctl::state_l, f[ctl::state_l].look.fore);
  EXPECT_EQ(f.revision(), r0);
  f.set_caption(ctl::moji_l, "x");
  EXPECT_NE(f.revision(), r0);
  const uint64_t r1 = f.revision();
  f[ctl::cg].canvas.resize(4, 4);
  EXPECT_NE(f.revision(), r1);
  // Every way of changing what is drawn tells the renderer so.
  struct Change {
    const char* what;
    void (*run)(Form&);
  };
  const Change changes[] = {
      {"move", [](Form& f) { f.move(ctl::moji_l, 3, 4); }},
      {"resize", [](Form& f) { f.resize(ctl::moji_l, 50, 60); }},
      {"hide", [](Form& f) { f.hide(ctl::moji_l); }},
      {"fore", [](Form& f) { f.set_fore(ctl::moji_l, cl::red); }},
      {"back", [](Form& f) { f.set_back(ctl::moji_l, cl::yellow); }},
      {"gauge", [](Form& f) { f.set_gauge(ctl::hp_l, 100, 37); }},
      {"append", [](Form& f) { f.append_caption(ctl::moji_l, "y"); }},
      {"canvas", [](Form& f) { f[ctl::cg].canvas.fill_rect(0, 0, 2, 2); }},
  };
  for (const Change& c : changes) {
    const uint64_t before = f.revision();
    c.run(f);
    EXPECT_NE(f.revision(), before) << c.what;
  }
}

TEST(Sjis, RoundTripsAndMarksBadBytes) {
  Sjis s;
  for (const char* text : {"ルシェラ", "ｽﾀｰﾀﾞﾝｽ", "①～－", "abc\r", "精霊【】△"})
    EXPECT_EQ(s.to_utf8(s.from_utf8(text)), text);
  EXPECT_EQ(s.from_utf8("\\"), "\\") << "0x5C stays a backslash";
  EXPECT_EQ(s.to_utf8("a\x82"), "a") << "an incomplete last character is left out";
  EXPECT_EQ(s.to_utf8("\xFF" "b"), "\xEF\xBF\xBD" "b");
  EXPECT_EQ(s.from_utf8("😀"), "?");
}

}  // namespace
