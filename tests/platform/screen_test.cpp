// The screens as the player sees them, against their committed pictures: drawn by the window's
// renderer through SDL_ttf and SDL's software renderer, and composed by the headless host with
// FreeType, which must give the same pixels. After an intended change of the look, run the test
// with LUSHERA_UPDATE_GOLDEN=1 to rewrite the picture, and look at it before committing.
//
// The match is exact: the renderer is deterministic, and the fonts and FreeType come from the
// Debian packages; an update of those that moves glyph edges shows here first.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/operations.hpp"
#include "game/input.hpp"
#include "platform/sdl/renderer.hpp"
#include "render/freetype_raster.hpp"
#include "render/png.hpp"
#include "support/test_game.hpp"

namespace {

std::string golden(const char* name) { return std::string(LUSHERA_SOURCE_DIR) + "/tests/golden/" + name; }

bool updating() {
  const char* v = std::getenv("LUSHERA_UPDATE_GOLDEN");
  return v && std::string(v) == "1";
}

// Pixels inside `unchecked` are not compared.
void expect_matches_golden(const RgbImage& actual, const char* name, const std::vector<Rect>& unchecked = {}) {
  const std::string path = golden(name);
  if (updating()) {
    ASSERT_TRUE(write_png(path, actual)) << path;
    GTEST_SKIP() << "rewrote " << path;
  }
  RgbImage expected;
  ASSERT_TRUE(read_png(path, expected)) << path << " is missing; run with LUSHERA_UPDATE_GOLDEN=1";
  ASSERT_EQ(actual.width, expected.width);
  ASSERT_EQ(actual.height, expected.height);
  int differing = 0, first_x = -1, first_y = -1;
  for (int y = 0; y < actual.height; ++y)
    for (int x = 0; x < actual.width; ++x)
      if (actual.at(x, y) != expected.at(x, y) &&
          std::none_of(unchecked.begin(), unchecked.end(), [&](const Rect& r) { return r.contains(x, y); })) {
        if (differing++ == 0) {
          first_x = x;
          first_y = y;
        }
      }
  if (differing > 0) {
    const std::string out = std::string(LUSHERA_BUILD_DIR) + "/" + name + ".actual.png";
    write_png(out, actual);
    ADD_FAILURE() << differing << " pixels differ from " << path << ", the first at (" << first_x
                  << ", " << first_y << "); this run's picture is " << out;
  }
}

// The window's picture and the headless one, both against the committed picture. FreeType's
// italic is placed up to a pixel away from SDL_ttf's, so the headless picture is compared outside
// the shown italic captions.
void expect_screen_matches_golden(const Game& g, const char* name) {
  {
    SCOPED_TRACE("drawn through SDL");
    expect_matches_golden(render_form_image(g.form, g.sjis, 1), name);
  }
  if (updating()) return;
  SCOPED_TRACE("composed with FreeType, without SDL");
  std::vector<Rect> italic;
  for (int i = 0; i < ctl::count; ++i)
    if (g.form[static_cast<ctl::Id>(i)].look.font.italic && g.form.shown(static_cast<ctl::Id>(i)))
      italic.push_back(g.form.window_rect(static_cast<ctl::Id>(i)));
  FreeTypeRaster fonts;
  expect_matches_golden(compose_form_image(g.form, g.sjis, fonts, 1), name, italic);
}

TEST(Screen, StartPanelLooksAsCommitted) {
  TestGame t;
  timer_tick(t.g());
  ASSERT_TRUE(t.g().form.shown(ctl::start_box));
  ASSERT_EQ(t.g().form.window_rect(ctl::start_box).y, 0) << "the start-up did not place the panels";
  const RgbImage img = render_form_image(t.g().form, t.g().sjis, 1);
  ASSERT_EQ(img.width, 551);
  ASSERT_EQ(img.height, 360);
  expect_screen_matches_golden(t.g(), "start_panel.png");
}

// A new hero on the first hill, as the dungeon panel shows it after a quiet step.
TEST(Screen, DungeonPanel) {
  TestGame t;
  click(t.g(), ctl::Button1);
  click(t.g(), ctl::map2);
  t.g().rng.rig(4);
  click(t.g(), ctl::Button27);
  timer_tick(t.g());
  expect_screen_matches_golden(t.g(), "dungeon_panel.png");
}

// A battle with the attack box open and the flick pointed at.
TEST(Screen, BattleWithTheTechniqueBoxOpen) {
  TestGame t;
  click(t.g(), ctl::Button1);
  t.g().hero.tech_lv(2) = 3;
  click(t.g(), ctl::map2);
  for (int d : {0, 4, 5, 0, 0, 0, 0, 0, 1, 1}) t.g().rng.rig(d);
  click(t.g(), ctl::Button27);
  click(t.g(), ctl::w1_b);
  mouse_move(t.g(), ctl::w1);
  timer_tick(t.g());
  expect_screen_matches_golden(t.g(), "battle_attack_box.png");
}

// The card counter with the item panel beside it, a card picked.
TEST(Screen, ItemPanelBesideTheCardCounter) {
  TestGame t;
  click(t.g(), ctl::Button1);
  t.g().hero.stars = 1;
  t.g().items[300] = {t.sj("card･白熊ドン"), "", 111, 4};
  t.g().hero.item_count[300] = 1;
  t.g().hero.item_count[0] = 1;
  timer_tick(t.g());
  click(t.g(), ctl::Button14);
  click(t.g(), ctl::card_b);
  list_select(t.g(), ctl::item_list, 1);
  timer_tick(t.g());
  expect_screen_matches_golden(t.g(), "card_counter.png");
}

// The toy shop with every figure on sale.
TEST(Screen, ToyShop) {
  TestGame t;
  click(t.g(), ctl::Button1);
  t.g().hero.stars = 40;
  timer_tick(t.g());
  click(t.g(), ctl::Button14);
  click(t.g(), ctl::toy_b);
  timer_tick(t.g());
  expect_screen_matches_golden(t.g(), "toy_shop.png");
}

// The world map, as a new hero first sees it.
TEST(Screen, TheMap) {
  TestGame t;
  click(t.g(), ctl::Button1);
  timer_tick(t.g());
  expect_screen_matches_golden(t.g(), "map.png");
}

// The home with three figures bought.
TEST(Screen, TheHomeWithFigures) {
  TestGame t;
  click(t.g(), ctl::Button1);
  for (int k : {0, 4, 9}) t.g().hero.owned_flags[k] = 1;
  click(t.g(), ctl::Button23);
  timer_tick(t.g());
  expect_screen_matches_golden(t.g(), "home.png");
}

// The message window after the item panel was opened and cancelled: its face white again, the
// entry message of the first hill in its own teal.
TEST(Screen, AMessageAfterTheItemPanelWasCancelled) {
  TestGame t;
  click(t.g(), ctl::Button39);
  click(t.g(), ctl::BitBtn1);
  click(t.g(), ctl::Button17);
  click(t.g(), ctl::map2);
  timer_tick(t.g());
  expect_screen_matches_golden(t.g(), "message_after_item_panel.png");
}

// An item taking effect: the message window's face turns yellow, its text stays teal.
TEST(Screen, AMessageAfterAnItemWasUsed) {
  TestGame t;
  click(t.g(), ctl::Button1);
  t.g().hero.item_count[0] = 1;
  click(t.g(), ctl::BitBtn1);
  list_select(t.g(), ctl::item_list, 0);
  t.g().rng.rig(0);
  click(t.g(), ctl::item_use);
  timer_tick(t.g());
  expect_screen_matches_golden(t.g(), "message_after_item_use.png");
}

}  // namespace
