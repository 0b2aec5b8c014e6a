// The screens as the player sees them, against their committed pictures: drawn by the window's
// renderer through SDL_ttf and SDL's software renderer, and composed by the headless host with
// FreeType, which must give the same pixels. After an intended change of the look, run the test
// with LUSHERA_UPDATE_GOLDEN=1 to rewrite the picture, and look at it before committing.
//
// The match is exact: the renderer is deterministic, and the fonts and FreeType come from the
// Debian packages; an update of those that moves glyph edges shows here first.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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

void expect_matches_golden(const RgbImage& actual, const char* name) {
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
      if (actual.at(x, y) != expected.at(x, y)) {
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

// The window's picture and the headless one, both against the committed picture.
void expect_screen_matches_golden(const Game& g, const char* name) {
  {
    SCOPED_TRACE("drawn through SDL");
    expect_matches_golden(render_form_image(g.form, g.sjis, 1), name);
  }
  if (updating()) return;
  SCOPED_TRACE("composed without SDL");
  FreeTypeRaster fonts;
  expect_matches_golden(compose_form_image(g.form, g.sjis, fonts, 1), name);
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

// The parts of the screen a player reads most, at 1x (where the small bold text takes the hand-drawn
// glyphs) and at 3x (where every glyph is the outline's at that size), each against its picture:
// the question box, the status and opponent panels, the dungeon's distance line, the info box and
// the help panel. These pictures were looked at glyph by glyph, enlarged; a change of a glyph's
// pixels shows here.
TEST(Screen, ThePartsOfTheScreenAt1xAnd3x) {
  const auto in_battle = [](Game& g) {
    click(g, ctl::Button1);
    click(g, ctl::map2);
    for (int d : {0, 4, 5, 0, 0, 0, 0, 0, 1, 1}) g.rng.rig(d);
    click(g, ctl::Button27);
    click(g, ctl::w1_b);
    mouse_move(g, ctl::w1);
  };
  const auto on_the_road = [](Game& g) {
    click(g, ctl::Button1);
    click(g, ctl::map2);
    g.rng.rig(4);
    click(g, ctl::Button27);
  };
  struct Case {
    const char* name;
    std::function<void(Game&)> setup;
    std::function<Rect(Game&, FormRenderer&, UiState&)> part;
  } cases[] = {
      {"status", on_the_road, [](Game& g, FormRenderer&, UiState&) { return g.form.window_rect(ctl::state_l); }},
      {"distance", on_the_road, [](Game& g, FormRenderer&, UiState&) { return g.form.window_rect(ctl::d_state); }},
      {"opponent", in_battle, [](Game& g, FormRenderer&, UiState&) { return g.form.window_rect(ctl::e_state); }},
      {"info", in_battle, [](Game& g, FormRenderer&, UiState&) { return g.form.window_rect(ctl::about_box); }},
      {"help", [](Game& g) { click(g, ctl::BitBtn3); },
       [](Game& g, FormRenderer&, UiState&) { return g.form.window_rect(ctl::help_box); }},
      {"question", [](Game&) {},
       [](Game& g, FormRenderer& r, UiState& ui) {
         ui.question = QuestionView{g.sj("このカードを交換してもらいますか？"), 0, -1};
         return r.question_geometry(g.form, *ui.question).box;
       }},
  };
  FreeTypeRaster fonts;
  for (const Case& c : cases) {
    TestGame t;
    c.setup(t.g());
    timer_tick(t.g());
    for (int scale : {1, 3}) {
      OffscreenRenderer r(t.g().sjis, fonts, scale);
      UiState ui;
      const Rect part = c.part(t.g(), r.form_renderer(), ui);
      ASSERT_TRUE(r.draw(t.g().form, ui));
      const RgbImage whole = surface_image(r.surface());
      RgbImage crop{part.w * scale, part.h * scale, {}};
      for (int y = 0; y < crop.height; ++y)
        for (int x = 0; x < crop.width; ++x) crop.pixels.push_back(whole.at(part.x * scale + x, part.y * scale + y));
      const std::string name = std::string("parts/") + c.name + "_" + std::to_string(scale) + "x.png";
      SCOPED_TRACE(name);
      expect_matches_golden(crop, name.c_str());
    }
  }
}

}  // namespace
