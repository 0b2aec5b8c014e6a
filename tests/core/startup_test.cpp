#include <gtest/gtest.h>

#include <SDL.h>

#include <map>

#include "core/operations.hpp"
#include "game/input.hpp"
#include "support/test_game.hpp"

namespace {

TEST(StartUp, CreationPlacesThePanelsAndShowsTheStartPanel) {
  TestGame t;
  Game& g = t.g();
  EXPECT_TRUE(t.lines("error-box: ").empty());
  EXPECT_EQ(g.message_delay_ms, 800);
  struct Place {
    ctl::Id id;
    int x, y;
  } places[] = {{ctl::end_box, 0, 0},  {ctl::help_box, 0, 0}, {ctl::item_box, 204, 0},
                {ctl::star_box, 0, 0}, {ctl::yado_box, 0, 0}, {ctl::dougu_box, 0, 0},
                {ctl::card_box, 0, 0}, {ctl::ken_box, 0, 0},  {ctl::start_box, 0, 0},
                {ctl::toy_box, 0, 0},  {ctl::my_box, 0, 0}};
  for (const auto& p : places) {
    EXPECT_EQ(g.form[p.id].x, p.x) << Form::name(p.id);
    EXPECT_EQ(g.form[p.id].y, p.y) << Form::name(p.id);
  }
  EXPECT_FALSE(g.form[ctl::e_state].visible);
  // Only the start panel's buttons can be reached; the developer row is out of sight.
  std::vector<std::string> clickable;
  for (int i = 1; i < ctl::count; ++i)
    if (g.form[static_cast<ctl::Id>(i)].kind == Kind::Button && g.form.clickable(static_cast<ctl::Id>(i)))
      clickable.push_back(Form::name(static_cast<ctl::Id>(i)));
  EXPECT_EQ(clickable, (std::vector<std::string>{"Button39", "Button1"}));
}

TEST(StartUp, ContinueKeepsTheSaveAndAddsTheStartMoney) {
  TestGame t;
  const int32_t saved_money = t.g().hero.money - 100;
  const std::string name = t.g().hero.name;
  t.clear_transcript();
  click(t.g(), ctl::Button39);
  EXPECT_EQ(t.lines("sound: "), std::vector<std::string>{"1.wav"});
  EXPECT_FALSE(t.g().form[ctl::start_box].visible);
  EXPECT_TRUE(t.g().form[ctl::map_box].visible);
  EXPECT_EQ(t.g().hero.money, saved_money + 100);
  EXPECT_EQ(t.g().hero.name, name);
}

TEST(StartUp, NewHero) {
  struct Case {
    int life_draw, money_draw;
  } cases[] = {{0, 0}, {29, 99}, {7, 42}};
  for (const auto& c : cases) {
    TestGame t;
    Hero& h = t.g().hero;
    h.tech_lv(0) = 9;
    h.tech_exp(30) = 8;
    h.status = 0;
    h.world_flags(203) = 1;
    h.item_count[5] = 1;
    h.owned_flags[2] = 1;
    h.stars = 12;
    h.tech_lv(5) = 3;
    h.tech_exp(1) = 4;
    t.g().rng.rig(c.life_draw);
    t.g().rng.rig(c.money_draw);
    t.clear_transcript();
    click(t.g(), ctl::Button1);
    EXPECT_FALSE(t.g().rng.rigged()) << "exactly two draws";
    EXPECT_EQ(t.lines("sound: "), std::vector<std::string>{"1.wav"});
    EXPECT_EQ(t.utf8(h.name), "ライズ");
    EXPECT_EQ(t.utf8(h.spirit_name), "ｽﾀｰﾀﾞﾝｽ");
    EXPECT_EQ(h.life, 100 + c.life_draw);
    EXPECT_EQ(h.money, c.money_draw);
    EXPECT_EQ(h.hp, 30);
    EXPECT_EQ(h.max_hp, 30);
    EXPECT_EQ(h.mp, 10);
    EXPECT_EQ(h.max_mp, 10);
    EXPECT_EQ(h.level, 1);
    EXPECT_EQ(h.exp, 0);
    EXPECT_EQ(h.spirit_power, 15);
    EXPECT_EQ(h.stars, 0);
    EXPECT_EQ(h.tech_lv(1), 1);
    EXPECT_EQ(h.tech_lv(5), 0);
    EXPECT_EQ(h.tech_exp(1), 0);
    EXPECT_EQ(h.tech_lv(0), 9) << "pair 0 is left alone";
    EXPECT_EQ(h.tech_exp(30), 8) << "pairs 25 to 99 are left alone";
    EXPECT_EQ(h.world_flags(203), 0);
    EXPECT_EQ(h.item_count[5], 0);
    EXPECT_EQ(h.owned_flags[2], 0);
    EXPECT_TRUE(t.g().form[ctl::first_b].visible);
    EXPECT_TRUE(t.g().form[ctl::map_box].visible);
    EXPECT_FALSE(t.g().form[ctl::start_box].visible);
  }
}

TEST(RandomName, PoolEntryOrFourSyllables) {
  TestGame t;
  Game& g = t.g();
  struct Case {
    std::vector<int> draws;
    std::string expected;  // UTF-8
  } cases[] = {
      {{0, 0}, t.utf8(g.name_pool[0])},
      {{225, 99}, t.utf8(g.name_pool[225])},
      {{3, 1, 0, 1, 65, 66}, "アイポﾁｬ"},
      {{3, 1, 91, 91, 91, 91}, "ﾐｰﾐｰﾐｰﾐｰ"},
  };
  for (const auto& c : cases) {
    for (int d : c.draws) g.rng.rig(d);
    EXPECT_EQ(t.utf8(random_name(g)), c.expected);
    EXPECT_FALSE(g.rng.rigged());
  }
  EXPECT_EQ(g.sj("アイウエオカキクケコサシスセソナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲンガギグゲゴ"
                 "ザジズゼゾダヂヅデドバビブベボパピプペポﾁｬｷｬｼｬﾋｬﾋｭﾋｮｷｭｷｮｼｭｼｮﾁｭﾁｮﾐｬﾐｭﾐｮｱｯｲｯﾃｰｸｰﾏｰﾁｰﾉｯﾉｰﾗｰﾅｯﾐｰ")
                .size(),
            184u);
}

TEST(RandomName, AboutOneInAHundredIsMadeUp) {
  TestGame t;
  int made_up = 0;
  std::map<std::string, int> pool_hits;
  for (int i = 0; i < 20000; ++i) {
    const std::string n = random_name(t.g());
    bool in_pool = false;
    for (const auto& p : t.g().name_pool) in_pool |= (p == n);
    if (!in_pool) {
      ++made_up;
      EXPECT_EQ(n.size(), 8u);
    }
  }
  EXPECT_GT(made_up, 120);
  EXPECT_LT(made_up, 300);
}

// Writes a bitmap whose column x has the colour cell_colour(x / cell) (24-bit, via SDL).
void write_bmp(const std::filesystem::path& path, int w, int h, int cell = 0) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_RGB24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      auto* p = static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * 3;
      const int k = cell ? x / cell : 0;
      p[0] = static_cast<uint8_t>(10 + 20 * k);
      p[1] = static_cast<uint8_t>(w & 0xFF);
      p[2] = static_cast<uint8_t>(h & 0xFF);
    }
  SDL_SaveBMP(s, path.c_str());
  SDL_FreeSurface(s);
}

void write_pictures(const ScratchData& d) {
  write_bmp(d.cg("map.bmp"), 200, 200, 20);
  write_bmp(d.cg("unit19.bmp"), 64, 64);
  write_bmp(d.cg("f.bmp"), 640, 64, 64);
  write_bmp(d.cg("room.bmp"), 120, 90);
  write_bmp(d.cg("title.bmp"), 300, 200);
}

TEST(StartUp, PicturesAndTheFigureStrip) {
  TestGame t(false);
  write_pictures(t.data);
  create_window(t.g());
  const Form& f = t.g().form;
  EXPECT_EQ(f[ctl::cg].canvas.width, 200);
  EXPECT_EQ(f[ctl::room].canvas.width, 120);
  // The ending's picture is read when the ending shows, once.
  EXPECT_TRUE(f[ctl::end_cg].canvas.empty());
  for (int i = 0; i < 2; ++i) show_ending(t.g());
  EXPECT_EQ(f[ctl::end_cg].canvas.height, 200);
  EXPECT_EQ(t.host.bitmap_reads[t.g().path("cg", "title.bmp")], 1);
  // The toy shop's preview starts as a teal square of 160 x 160.
  EXPECT_EQ(f[ctl::cg_f].w, 160);
  EXPECT_EQ(f[ctl::cg_f].h, 160);
  EXPECT_EQ(f[ctl::cg_f].canvas.at(0, 0), bgr_to_rgb(cl::teal));
  EXPECT_EQ(f[ctl::cg_f].canvas.at(159, 159), bgr_to_rgb(cl::teal));
  EXPECT_NE(f[ctl::cg_f].canvas.at(160, 160), bgr_to_rgb(cl::teal));
  // The map, its backdrop and the preview under the square are one picture, read once and held
  // once until one of them is drawn on.
  EXPECT_EQ(t.host.bitmap_reads[t.g().path("cg", "map.bmp")], 1);
  EXPECT_EQ(f[ctl::bakmap].canvas.data(), f[ctl::cg].canvas.data());
  ASSERT_EQ(f[ctl::bakmap].canvas.width, 200);
  ASSERT_EQ(f[ctl::cg_f].canvas.width, 200);
  for (int x : {5, 45, 165, 195}) {
    EXPECT_EQ(f[ctl::bakmap].canvas.at(x, 170), f[ctl::cg].canvas.at(x, 170)) << x;
    EXPECT_EQ(f[ctl::cg_f].canvas.at(x, 170), f[ctl::cg].canvas.at(x, 170)) << x;
  }
  EXPECT_EQ(f[ctl::cg].canvas.at(195, 170) >> 16, 10u + 20 * 9);
  // Figure k's cell of the strip is on home picture k + 1.
  const ctl::Id home[] = {ctl::Image1, ctl::Image2, ctl::Image3, ctl::Image4, ctl::Image5,
                          ctl::Image6, ctl::Image7, ctl::Image8, ctl::Image9, ctl::Image10};
  for (int k = 0; k < 10; ++k) {
    const Canvas& c = f[home[k]].canvas;
    ASSERT_EQ(c.width, 64);
    EXPECT_EQ(c.at(5, 5), f[ctl::f_bak].canvas.at(64 * k + 5, 5)) << k;
    EXPECT_EQ(c.at(5, 5) >> 16, static_cast<uint32_t>(10 + 20 * k)) << k;
  }
}

TEST(StartUp, MissingOrBrokenPicturesLeaveThemEmpty) {
  struct Case {
    const char* file;
    std::string bytes;  // written over the file; empty: the file is removed
    std::vector<ctl::Id> empty, loaded;
  } cases[] = {
      {"f.bmp", "", {ctl::f_bak}, {ctl::Image1, ctl::Image10, ctl::cg}},
      {"unit19.bmp", "", {ctl::bak, ctl::Image1, ctl::Image10, ctl::end_cg}, {ctl::cg, ctl::room}},
      {"map.bmp", "BM not really", {ctl::cg, ctl::bakmap, ctl::cg_f}, {ctl::room, ctl::end_cg}},
      {"room.bmp", "\x89PNG\r\n", {ctl::room}, {ctl::cg, ctl::Image4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    TestGame t(false);
    write_pictures(t.data);
    if (c.bytes.empty()) std::filesystem::remove(t.data.cg(c.file));
    else t.data.write(t.data.cg(c.file), c.bytes);
    create_window(t.g());
    show_ending(t.g());
    for (ctl::Id id : c.empty) EXPECT_TRUE(t.g().form[id].canvas.empty()) << Form::name(id);
    for (ctl::Id id : c.loaded) EXPECT_FALSE(t.g().form[id].canvas.empty()) << Form::name(id);
    EXPECT_TRUE(t.lines("error-box: ").empty());
  }
}

TEST(StartUp, ATruncatedBitmapIsSkipped) {
  TestGame t(false);
  write_pictures(t.data);
  const std::string whole = t.data.read(t.data.cg("map.bmp"));
  for (size_t cut : {size_t{2}, size_t{14}, size_t{40}, size_t{54}}) {
    t.data.write(t.data.cg("map.bmp"), whole.substr(0, cut));
    Canvas c;
    EXPECT_FALSE(t.host.load_bitmap(t.data.cg("map.bmp").string(), c)) << cut;
    EXPECT_TRUE(c.empty()) << cut;
  }
  // Cut inside the pixels: either refused or read at its full size, never out of bounds.
  t.data.write(t.data.cg("map.bmp"), whole.substr(0, whole.size() / 2));
  Canvas c;
  if (t.host.load_bitmap(t.data.cg("map.bmp").string(), c)) {
    EXPECT_EQ(c.width * c.height, 200 * 200);
  }
}

TEST(Help, OpensAndClosesOverTheSameScreen) {
  TestGame t;
  click(t.g(), ctl::Button39);
  t.clear_transcript();
  ASSERT_TRUE(t.g().form.clickable(ctl::BitBtn3));
  click(t.g(), ctl::BitBtn3);
  EXPECT_TRUE(t.g().form.shown(ctl::help_box));
  EXPECT_FALSE(t.g().form.clickable(ctl::map2)) << "the help panel covers the map";
  EXPECT_TRUE(t.g().form.clickable(ctl::BitBtn2));
  click(t.g(), ctl::BitBtn2);
  EXPECT_FALSE(t.g().form[ctl::help_box].visible);
  EXPECT_TRUE(t.g().form.clickable(ctl::map2));
  EXPECT_EQ(t.lines("sound: "), (std::vector<std::string>{"1.wav", "1.wav"}));
}

TEST(DeveloperButtons, OnlyReachableWithTheFullLayout) {
  TestGame normal;
  click(normal.g(), ctl::Button39);
  EXPECT_FALSE(normal.g().form.clickable(ctl::Button40));
  TestGame dev(true, true);
  click(dev.g(), ctl::Button39);
  for (ctl::Id id : {ctl::Button25, ctl::Button40, ctl::Button2, ctl::Button3})
    EXPECT_TRUE(dev.g().form.clickable(id)) << Form::name(id);
  Hero& h = dev.g().hero;
  const int level = h.level;
  click(dev.g(), ctl::Button40);
  EXPECT_EQ(h.level, level + 1);
  click(dev.g(), ctl::Button2);
  for (int tn = 1; tn <= 24; ++tn) EXPECT_EQ(h.tech_lv(tn), 1);
  EXPECT_EQ(h.max_mp, 8);
  EXPECT_EQ(h.hp, 30);
  h.owned_flags.fill(0);
  dev.g().rng.rig(8);
  click(dev.g(), ctl::Button25);
  EXPECT_EQ(h.owned_flags[8], 1);
}

}  // namespace
