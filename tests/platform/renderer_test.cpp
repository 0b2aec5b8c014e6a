// What the renderer draws for each kind of control, pixel by pixel where the look is fixed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

#include "core/operations.hpp"
#include "effects/effects.hpp"
#include "game/input.hpp"
#include "platform/sdl/renderer.hpp"
#include "render/freetype_raster.hpp"
#include "render/widgets.hpp"
#include "support/test_game.hpp"

namespace {

constexpr uint32_t kTeal = 0x008080, kWhite = 0xFFFFFF, kBlack = 0x000000, kGray = 0x808080,
                   kFace = 0xC0C0C0, kNavy = 0x000080;

// A game past its start-up, and a renderer for it.
struct Drawn : TestGame {
  FreeTypeRaster fonts;
  FormRenderer renderer{g().sjis, fonts, 1};
  Form& form() { return g().form; }
  // The map screen, with the status texts written.
  void to_map() {
    continue_game(g());
    timer_tick(g());
  }
  const Frame& draw(int scale = 1, const UiState& ui = {}) {
    if (scale != renderer_scale) {
      other = std::make_unique<FormRenderer>(g().sjis, fonts, scale);
      renderer_scale = scale;
    }
    FormRenderer& r = scale == 1 ? renderer : *other;
    r.compose(form(), ui);
    return r.frame();
  }
  std::unique_ptr<FormRenderer> other;
  int renderer_scale = 1;
};

bool any_pixel(const Frame& f, const Rect& r, uint32_t rgb) {
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x)
      if (f.at(x, y) == rgb) return true;
  return false;
}

// Text is antialiased: its ink comes near its colour without always reaching it.
bool any_near(const Frame& f, const Rect& r, uint32_t rgb, int tolerance = 0x30) {
  auto near = [&](uint32_t a, int shift) {
    return std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((rgb >> shift) & 0xFF)) <= tolerance;
  };
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x) {
      const uint32_t p = f.at(x, y);
      if (near(p, 16) && near(p, 8) && near(p, 0)) return true;
    }
  return false;
}

// Columns of a rectangle holding pixels unlike the background.
std::pair<int, int> ink_columns(const Frame& f, const Rect& r, uint32_t background) {
  int lo = -1, hi = -1;
  for (int x = r.x; x < r.x + r.w; ++x)
    for (int y = r.y; y < r.y + r.h; ++y)
      if (f.at(x, y) != background) {
        if (lo < 0) lo = x;
        hi = x;
        break;
      }
  return {lo, hi};
}

TEST(Renderer, FrameIsTheClientAreaAtTheZoom) {
  Drawn d;
  EXPECT_EQ(d.draw(1).width, 551);
  EXPECT_EQ(d.draw(1).height, 360);
  EXPECT_EQ(d.draw(2).width, 1102);
  EXPECT_EQ(d.draw(2).height, 720);
}

TEST(Renderer, PushButtonsAreRaisedFocusedOrSunken) {
  Drawn d;
  const Rect r = d.form().window_rect(ctl::Button39);
  const int right = r.x + r.w - 1, bottom = r.y + r.h - 1;
  {
    const Frame& f = d.draw();
    EXPECT_EQ(f.at(r.x, r.y), kWhite);
    EXPECT_EQ(f.at(right, bottom), kBlack);
    EXPECT_EQ(f.at(right - 1, bottom - 1), kGray);
    EXPECT_EQ(f.at(r.x + 1, r.y + 1), kFace);
    EXPECT_EQ(f.at(r.x + 3, r.y + 3), kFace);
    EXPECT_FALSE(any_pixel(f, {r.x + 4, r.y + 4, r.w - 8, 1}, kBlack)) << "no focus rectangle";
  }
  d.form().focus = ctl::Button39;
  {
    const Frame& f = d.draw();
    EXPECT_EQ(f.at(r.x, r.y), kBlack);  // the focused button's black frame
    EXPECT_EQ(f.at(r.x + 1, r.y + 1), kWhite);
    EXPECT_TRUE(any_pixel(f, {r.x + 4, r.y + 4, r.w - 8, 1}, kBlack)) << "dotted focus rectangle";
    EXPECT_EQ(f.at(r.x + 4, r.y + 4), kBlack);
    EXPECT_EQ(f.at(r.x + 5, r.y + 4), kFace);  // dotted, not solid
  }
  d.form().focus = ctl::form;
  UiState held;
  held.pressed = ctl::Button39;
  const Rect caption{r.x + 5, r.y + 5, r.w - 10, r.h - 10};
  const std::pair<int, int> up = ink_columns(d.draw(), caption, kFace);
  const Frame& f = d.draw(1, held);
  EXPECT_EQ(f.at(r.x, r.y), kBlack);
  EXPECT_EQ(f.at(r.x + 1, r.y + 1), kGray);  // sunken
  EXPECT_EQ(f.at(right - 1, bottom - 1), kGray);
  const std::pair<int, int> down = ink_columns(f, caption, kFace);
  ASSERT_GE(up.first, 0);
  EXPECT_EQ(down.first, up.first + 1) << "the caption moves one unit right while held";
}

TEST(Renderer, AtTwiceTheZoomEveryUnitIsTwoByTwoPixels) {
  Drawn d;
  const Rect r = d.form().window_rect(ctl::Button39);
  const Frame& f = d.draw(2);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(f.at(2 * r.x + k % 2, 2 * r.y + k / 2), kWhite);
    EXPECT_EQ(f.at(2 * (r.x + r.w) - 1 - k % 2, 2 * (r.y + r.h) - 1 - k / 2), kBlack);
    EXPECT_EQ(f.at(2 * (r.x + r.w) - 3 - k % 2, 2 * (r.y + r.h) - 3 - k / 2), kGray);
  }
}

TEST(Renderer, GroupBoxHasAnEtchedFrameAndItsCaptionOnThePanelColour) {
  Drawn d;
  const Frame& f = d.draw();
  // start_box at (0, 0), 549 × 353, bold 12 px caption: the frame's top is at y = 5.
  EXPECT_EQ(f.at(3, 5), kGray);
  EXPECT_EQ(f.at(3, 6), kWhite);
  EXPECT_EQ(f.at(0, 100), kGray);
  EXPECT_EQ(f.at(1, 100), kWhite);
  EXPECT_EQ(f.at(547, 100), kGray);
  EXPECT_EQ(f.at(548, 100), kWhite);
  EXPECT_EQ(f.at(100, 351), kGray);
  EXPECT_EQ(f.at(100, 352), kWhite);
  // The caption "STARTER" interrupts the top line from x = 8 on.
  EXPECT_FALSE(any_pixel(f, {9, 6, 20, 1}, kWhite));
  EXPECT_TRUE(any_pixel(f, {8, 0, 60, 12}, kBlack));
  // Outside the panel the window's teal shows.
  EXPECT_EQ(f.at(550, 100), kTeal);
  EXPECT_EQ(f.at(100, 356), kTeal);
}

TEST(Renderer, LabelsAreTransparentOrFilledAndRightAlignedOnesEndAtTheirRightEdge) {
  Drawn d;
  d.to_map();
  const Frame& f = d.draw();
  // moji_l: teal text on white.
  const Rect moji = d.form().window_rect(ctl::moji_l);
  EXPECT_EQ(f.at(moji.x + moji.w - 2, moji.y + moji.h - 2), kWhite);
  EXPECT_TRUE(any_near(f, {moji.x, moji.y, moji.w, 16}, kTeal));
  // Label1 "じゅくれんど" is transparent: the panel's teal shows around its black ink.
  const Rect about = d.form().window_rect(ctl::about_box);
  EXPECT_EQ(f.at(about.x + 3, about.y + 12), kTeal);
  EXPECT_TRUE(any_near(f, {about.x + 4, about.y + 10, 60, 12}, kBlack));
  // star_l "Star 0個", yellow, right-aligned in 86 units, over the black status label, whose
  // right edge it keeps clear of.
  const Rect star = d.form().window_rect(ctl::star_l);
  const Rect state = d.form().window_rect(ctl::state_l);
  const auto [lo, hi] = ink_columns(f, star, kBlack);
  ASSERT_GE(lo, 0);
  EXPECT_GE(hi, star.x + star.w - 3);
  EXPECT_LT(hi, star.x + star.w);
  EXPECT_LE(hi, state.x + state.w - 3);
  EXPECT_GT(lo, star.x + 20);
  // Left-aligned text starts at the label's left edge.
  const auto [slo, shi] = ink_columns(f, {state.x, state.y, 60, 13}, kBlack);
  EXPECT_LE(slo, state.x + 2);
  (void)shi;
}

TEST(Renderer, GaugesShowTheirShareClampedToTheRange) {
  Drawn d;
  d.to_map();
  const Rect r = d.form().window_rect(ctl::hp_l);  // 157 × 13, red on white
  struct Case {
    int max, pos, bar;
  };
  const int inner = r.w - 2;
  for (const Case c : {Case{10, 5, inner / 2}, Case{10, 10, inner}, Case{10, 15, inner},
                       Case{10, -3, 0}, Case{0, 5, 0}, Case{30, 1, inner / 30}}) {
    d.form().set_gauge(ctl::hp_l, c.max, c.pos);
    const Frame& f = d.draw();
    EXPECT_EQ(f.at(r.x, r.y + 5), kBlack);
    int red = 0;
    for (int x = r.x + 1; x < r.x + r.w - 1; ++x) red += f.at(x, r.y + 6) == 0xFF0000;
    EXPECT_EQ(red, c.bar) << c.max << " " << c.pos;
    if (c.bar < inner) {
      EXPECT_EQ(f.at(r.x + r.w - 2, r.y + 6), kWhite);
    }
  }
}

TEST(Renderer, PicturesAreZoomedNearestNeighbourOrStretched) {
  Drawn d;
  d.to_map();
  Canvas& cg = d.form()[ctl::cg].canvas;
  cg.resize(2, 2);
  const uint32_t four[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
  std::copy(std::begin(four), std::end(four), cg.writable());
  const Rect r = d.form().window_rect(ctl::cg);  // (1, 4), 200 × 200
  {
    const Frame& f = d.draw(1);
    EXPECT_EQ(f.at(r.x, r.y), 0xFF0000u);
    EXPECT_EQ(f.at(r.x + 1, r.y + 1), 0xFFFF00u);
    EXPECT_EQ(f.at(r.x + 2, r.y), kTeal);  // drawn at its size, not stretched
  }
  {
    const Frame& f = d.draw(2);
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(f.at(2 * r.x + k % 2, 2 * r.y + k / 2), 0xFF0000u);
      EXPECT_EQ(f.at(2 * r.x + 2 + k % 2, 2 * r.y + 2 + k / 2), 0xFFFF00u);
    }
    EXPECT_EQ(f.at(2 * r.x + 4, 2 * r.y), kTeal);
  }
  // The end picture is stretched over its control: each canvas pixel covers a quarter.
  d.form().hide(ctl::start_box);
  d.form().show(ctl::end_box);
  Canvas& end = d.form()[ctl::end_cg].canvas;
  end = cg;
  ++end.revision;
  const Rect e = d.form().window_rect(ctl::end_cg);
  const Frame& f = d.draw(1);
  EXPECT_EQ(f.at(e.x, e.y), 0xFF0000u);
  EXPECT_EQ(f.at(e.x + e.w - 1, e.y), 0x00FF00u);
  EXPECT_EQ(f.at(e.x, e.y + e.h - 1), 0x0000FFu);
  EXPECT_EQ(f.at(e.x + e.w - 1, e.y + e.h - 1), 0xFFFF00u);
  // A changed canvas is drawn anew.
  end.writable()[0] = 0x123456;
  EXPECT_EQ(d.draw(1).at(e.x, e.y), 0x123456u);
}

TEST(Renderer, ABitmapLargerThanItsPictureIsClippedToIt) {
  Drawn d;
  d.to_map();
  Canvas& cg = d.form()[ctl::cg].canvas;
  cg.resize(3000, 2000);
  uint32_t* px = cg.writable();
  for (int y = 0; y < cg.height; ++y)
    for (int x = 0; x < cg.width; ++x) px[static_cast<size_t>(y) * cg.width + x] = (x & 0xFF) << 16 | (y & 0xFF);
  const Rect r = d.form().window_rect(ctl::cg);  // 200 × 200
  const Frame& f = d.draw(4);
  EXPECT_EQ(f.at(4 * (r.x + 199) + 3, 4 * (r.y + 199) + 3), (199u << 16) | 199u);
  EXPECT_EQ(f.at(4 * (r.x + 200), 4 * (r.y + 10)), kTeal);  // the picture ends at its control
}

TEST(Renderer, AnEmptyPictureDrawsNothing) {
  Drawn d;
  d.to_map();
  d.form()[ctl::cg].canvas.clear();
  const Rect r = d.form().window_rect(ctl::cg);
  const Frame& f = d.draw();
  EXPECT_EQ(f.at(r.x + 50, r.y + 50), kTeal);
}

TEST(Renderer, ControlsAreClippedByTheirPanels) {
  Drawn d;
  // Button39 pushed half out of the start panel (549 wide): the part outside is not drawn.
  d.form().move(ctl::Button39, 500, 160);
  const Frame& f = d.draw();
  EXPECT_EQ(f.at(510, 160), kWhite);  // its top edge, inside the panel
  EXPECT_EQ(f.at(510, 170), kFace);
  EXPECT_EQ(f.at(549, 170), kTeal);
  EXPECT_EQ(f.at(550, 170), kTeal);
}

TEST(Renderer, TheListShowsItsSelectionAndAScrollBarWhenItOverflows) {
  Drawn d;
  d.to_map();
  d.form().show(ctl::item_box);
  Control& list = d.form()[ctl::item_list];
  const Rect r = d.form().window_rect(ctl::item_list);
  list.items = {d.sj("やくそう"), d.sj("どくけし")};
  list.selected = 1;
  d.form().touch();
  {
    const Frame& f = d.draw();
    const ListGeometry g = list_geometry(r, list);
    EXPECT_FALSE(g.scroll_bar);
    EXPECT_EQ(f.at(r.x, r.y), kGray);          // sunken border
    EXPECT_EQ(f.at(r.x + 1, r.y + 1), kBlack);
    EXPECT_EQ(f.at(r.x + r.w - 1, r.y + r.h - 1), kWhite);
    EXPECT_EQ(f.at(g.rows.x + g.rows.w - 1, g.rows.y + 1), kWhite);  // first row, not selected
    EXPECT_EQ(f.at(g.rows.x + g.rows.w - 1, g.rows.y + g.item_h + 1), kNavy);
    EXPECT_TRUE(any_near(f, {g.rows.x, g.rows.y + g.item_h, 80, g.item_h}, kWhite));  // white text
    const Rect bottom{g.rows.x, g.rows.y + g.rows.h - 1, g.rows.w, 1};
    EXPECT_FALSE(any_pixel(f, bottom, kBlack));
    d.form().focus = ctl::item_list;  // as a controller gives it
    EXPECT_TRUE(any_pixel(d.draw(), bottom, kBlack)) << "dotted focus frame round the rows";
    d.form().focus = ctl::form;
  }
  for (int i = 0; i < 40; ++i) list.items.push_back(d.sj("カード") + std::to_string(i));
  list.top_index = 5;
  d.form().touch();
  const Frame& f = d.draw();
  const ListGeometry g = list_geometry(r, list);
  ASSERT_TRUE(g.scroll_bar);
  EXPECT_EQ(g.bar.x + g.bar.w, r.x + r.w - 2);
  EXPECT_EQ(f.at(g.up.x + 1, g.up.y + 1), kWhite);  // the arrow button's raised edge
  EXPECT_TRUE(any_pixel(f, g.up, kBlack));         // its arrow
  EXPECT_GT(g.thumb.y, g.track.y);                 // scrolled down a little
  EXPECT_EQ(f.at(g.thumb.x + 1, g.thumb.y + 1), kWhite);
  // The selected entry 1 is above the top one now: no selection bar is seen.
  EXPECT_FALSE(any_pixel(f, g.rows, kNavy));
}

TEST(Renderer, TheSliderHasATickForEveryPositionAndTheThumbOverThePosition) {
  Drawn d;
  d.form().show(ctl::help_box);
  d.form().focus = ctl::e_sp_l;
  const Control& c = d.form()[ctl::e_sp_l];
  const Rect r = d.form().window_rect(ctl::e_sp_l);
  const SliderGeometry g = slider_geometry(r, c);
  const Frame& f = d.draw();
  int ticks = 0;
  for (int x = r.x + 1; x < r.x + r.w - 1; ++x) ticks += f.at(x, g.tick_y + 1) == kBlack;  // inside the frame
  EXPECT_EQ(ticks, 11);
  // The dotted focus frame runs along the slider's bottom edge, clear of the ticks: two rows of
  // the face lie between them (one reads as touching at 1x).
  for (int p = c.min; p <= c.max; ++p) {
    EXPECT_EQ(f.at(g.tick_x(c, p), g.tick_y + g.tick_h - 1), kBlack) << p;
    for (int y : {r.y + r.h - 3, r.y + r.h - 2}) EXPECT_EQ(f.at(g.tick_x(c, p), y), kFace) << "below the tick of " << p;
  }
  EXPECT_EQ(g.tick_x(c, 0), g.first_x);
  EXPECT_EQ(g.tick_x(c, 10), g.last_x);
  EXPECT_EQ(slider_position_at(g, c, g.tick_x(c, 7)), 7);
  EXPECT_EQ(slider_position_at(g, c, r.x), 0);
  EXPECT_EQ(slider_position_at(g, c, r.x + r.w + 50), 10);
  const int x5 = g.tick_x(c, 5);
  EXPECT_EQ(f.at(x5 - 5, g.thumb.y + 3), kWhite);  // the thumb's lit left edge
  EXPECT_EQ(f.at(x5 + 5, g.thumb.y + 3), kBlack);
}

TEST(Renderer, TheQuestionBoxLiesInTheMiddleWithBothButtons) {
  Drawn d;
  d.to_map();
  UiState ui;
  ui.question = QuestionView{d.sj("敵の精霊を奪いますか？"), 0, -1};
  const QuestionGeometry g = d.renderer.question_geometry(d.form(), *ui.question);
  const Frame& f = d.draw(1, ui);
  EXPECT_NEAR(g.box.x + g.box.w / 2, 551 / 2, 1);
  EXPECT_NEAR(g.box.y + g.box.h / 2, 360 / 2, 1);
  EXPECT_LT(g.yes.x + g.yes.w, g.no.x);
  EXPECT_EQ(f.at(g.yes.x, g.yes.y), kBlack);  // the focused "はい" has the black frame
  EXPECT_EQ(f.at(g.no.x, g.no.y), kWhite);
  EXPECT_EQ(f.at(g.title.x, g.title.y + 5), kNavy);
  EXPECT_TRUE(any_near(f, g.icon, 0x0000FF));  // the blue question mark
  EXPECT_TRUE(any_near(f, g.text, kBlack));
  ui.question->focus = 1;
  const Frame& f2 = d.draw(1, ui);
  EXPECT_EQ(f2.at(g.no.x, g.no.y), kBlack);
  EXPECT_EQ(f2.at(g.yes.x, g.yes.y), kWhite);
}

TEST(Renderer, AMnemonicIsUnderlinedAndOnlyThat) {
  Drawn d;
  const Rect r = d.form().window_rect(ctl::Button39);
  d.form().set_caption(ctl::Button39, d.sj("はい(Y)"));
  const Frame plain = d.draw();
  d.form().set_caption(ctl::Button39, d.sj("はい(&Y)"));
  const Frame& marked = d.draw();
  int differing = 0, top = 1 << 30, bottom = -1;
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x)
      if (plain.at(x, y) != marked.at(x, y)) {
        ++differing;
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        EXPECT_EQ(marked.at(x, y), kBlack);
      }
  EXPECT_GE(differing, 4);
  EXPECT_EQ(top, bottom) << "a one-pixel line";
}

TEST(Renderer, RepaintingAnUnchangedFormRendersNoText) {
  Drawn d;
  d.to_map();
  d.draw();
  const uint64_t lines = d.renderer.text().lines_rendered();
  for (int i = 0; i < 3; ++i) {
    timer_tick(d.g());
    d.draw();
  }
  EXPECT_EQ(d.renderer.text().lines_rendered(), lines);
  d.form().set_caption(ctl::state_l2, d.sj("12345円"));
  d.draw();
  EXPECT_EQ(d.renderer.text().lines_rendered(), lines + 1);
}

// After the first frame only what changed is drawn again: each frame must still be the one
// composed whole, whatever changed and at every zoom.
TEST(Renderer, AFrameDrawnAgainInPartsIsTheFrameComposedWhole) {
  struct Step {
    const char* what;
    std::function<void(Game&, UiState&)> change;
  };
  const std::vector<Step> steps = {
      {"a caption", [](Game& g, UiState&) { g.form.set_caption(ctl::state_l2, g.sjis.from_utf8("12345円")); }},
      {"a label sized to its text", [](Game& g, UiState&) { g.form.set_caption(ctl::Label16, g.sjis.from_utf8("おかね：")); }},
      {"a panel shown", [](Game& g, UiState&) { g.form.show(ctl::shop_box); }},
      {"the panel hidden", [](Game& g, UiState&) { g.form.hide(ctl::shop_box); }},
      {"a label moved", [](Game& g, UiState&) { g.form.move(ctl::state_l2, 430, 320); }},
      {"a colour", [](Game& g, UiState&) { g.form.set_back(ctl::moji_l, cl::yellow); }},
      {"a gauge", [](Game& g, UiState&) { g.form.set_gauge(ctl::hp_l, 100, 37); }},
      {"the picture drawn on", [](Game& g, UiState&) {
         Canvas& c = g.form[ctl::cg].canvas;
         c.brush = cl::red;
         c.fill_rect(30, 40, 90, 70);
       }},
      {"the closing square", [](Game& g, UiState&) { close_black(g); }},
      {"the picture's canvas resized", [](Game& g, UiState&) { g.form[ctl::cg].canvas.resize(120, 80); }},
      {"a caption over the picture", [](Game& g, UiState&) {
         g.form.set_caption(ctl::e_state, g.sjis.from_utf8("こうげき！"));
         g.form.show(ctl::e_state);
       }},
      {"a button held and the focus", [](Game& g, UiState& ui) {
         ui.pressed = ctl::map2;
         g.form.focus = ctl::Button39;
       }},
      {"the list", [](Game& g, UiState&) {
         g.form.show(ctl::item_box);
         g.form[ctl::item_list].items = {g.sjis.from_utf8("やくそう"), g.sjis.from_utf8("どくけし")};
         g.form[ctl::item_list].selected = 1;
         g.form.touch();
       }},
      {"the button let go, the focus on it", [](Game& g, UiState& ui) {
         ui.pressed = ctl::form;
         g.form.focus = ctl::map2;
       }},
      {"a tip", [](Game&, UiState& ui) { ui.tip = TipView{ctl::item_use, 200, 150}; }},
      {"the tip gone", [](Game&, UiState& ui) { ui.tip.reset(); }},
      {"a question", [](Game& g, UiState& ui) { ui.question = QuestionView{g.sjis.from_utf8("よろしいですか？"), 1, -1}; }},
      {"the question's button held", [](Game&, UiState& ui) { ui.question->pressed = 1; }},
      {"the question gone", [](Game&, UiState& ui) { ui.question.reset(); }},
      {"the window's size", [](Game& g, UiState&) { g.form.set_client_size(kClientWidth, kClientHeight - 40); }},
  };
  FreeTypeRaster fonts;
  for (int scale : {1, 3}) {
    TestGame t;
    continue_game(t.g());
    timer_tick(t.g());
    FormRenderer parts(t.g().sjis, fonts, scale);
    UiState ui;
    parts.compose(t.g().form, ui);
    for (const Step& step : steps) {
      step.change(t.g(), ui);
      parts.compose(t.g().form, ui);
      FormRenderer whole(t.g().sjis, fonts, scale);
      whole.compose(t.g().form, ui);
      const Frame &a = parts.frame(), &b = whole.frame();
      ASSERT_EQ(a.width, b.width) << step.what;
      ASSERT_EQ(a.height, b.height) << step.what;
      size_t i = 0;
      while (i < a.pixels.size() && a.pixels[i] == b.pixels[i]) ++i;
      EXPECT_EQ(i, a.pixels.size()) << "after " << step.what << " at " << scale << "x: first wrong pixel ("
                                    << i % a.width << ", " << i / a.width << ")";
    }
  }
}

TEST(Renderer, TheSoftwareRendererOverASurfaceShowsTheComposedFrame) {
  Drawn d;
  d.to_map();
  OffscreenRenderer off(d.g().sjis, d.fonts, 2);
  ASSERT_TRUE(off.draw(d.form()));
  const RgbImage img = surface_image(off.surface());
  const Frame& f = off.form_renderer().frame();
  ASSERT_EQ(img.width, f.width);
  ASSERT_EQ(img.height, f.height);
  for (int y = 0; y < f.height; y += 7)
    for (int x = 0; x < f.width; x += 5) ASSERT_EQ(img.at(x, y), f.at(x, y)) << x << "," << y;
}

}  // namespace
