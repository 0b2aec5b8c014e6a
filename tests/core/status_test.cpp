#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/operations.hpp"
#include "game/input.hpp"
#include "support/test_game.hpp"

// Every allocation of the test program is counted, to see that a tick that changes nothing
// allocates nothing; the library's operator delete frees with free(). A sanitizer build keeps its
// own allocator, which checks that every kind of new meets its own delete; there the count is not
// taken.
#if defined(__SANITIZE_ADDRESS__)
#define LUSHERA_COUNTS_ALLOCATIONS 0
#else
#define LUSHERA_COUNTS_ALLOCATIONS 1
#endif
namespace {
std::atomic<size_t> allocations{0};
}  // namespace

#if LUSHERA_COUNTS_ALLOCATIONS
void* operator new(size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
#endif

namespace {

struct StatusTest : ::testing::Test {
  TestGame t;
  Game& g = t.g();
  Hero& h = g.hero;
  void SetUp() override {
    new_hero(g);
    refresh_status(g);
    t.clear_transcript();
  }
  std::string caption(ctl::Id id) { return t.utf8(g.form[id].caption); }
};

TEST_F(StatusTest, HeroStatusText) {
  h.name = t.sj("ライズ");
  h.level = 3;
  h.exp = 42;
  h.hp = 25;
  h.max_hp = 30;
  h.mp = 4;
  h.max_mp = 10;
  h.attack = 5;
  h.magic = 6;
  h.defense = 7;
  h.luck = -2;
  h.life = 111;
  h.status = 2;
  h.spirit_name = t.sj("ｽﾀｰﾀﾞﾝｽ");
  h.spirit_power = 15;
  h.money = 77;
  h.attr_sun = 1;
  h.attr_water = 2;
  h.attr_magic = 3;
  h.attr_angel = 4;
  h.stars = 0;
  refresh_status(g);
  EXPECT_EQ(caption(ctl::state_l),
            "ライズ\rLv：3　exp：42/100\rHp：25/30\r\rMp：4/10\r\r攻撃：5 魔力：6 防御：7\r"
            "　運：-2 寿命：111\r<毒>\r精霊【ｽﾀｰﾀﾞﾝｽ】△15");
  EXPECT_EQ(caption(ctl::state_l2), "77円");
  EXPECT_EQ(caption(ctl::z_l), "属性：陽1 水2 魔3 天4");
  EXPECT_EQ(caption(ctl::star_l), "Star 0個");
  EXPECT_EQ(caption(ctl::star_cl), "0個の星が天へ昇った････");
  EXPECT_EQ(g.form[ctl::hp_l].max, 30);
  EXPECT_EQ(g.form[ctl::hp_l].position, 25);
  EXPECT_EQ(g.form[ctl::mp_l].position, 4);
}

TEST_F(StatusTest, HpColour) {
  struct Case {
    int hp, max_hp;
    uint32_t colour;
    int hp_after;
  } cases[] = {
      {3, 30, cl::red, 3},      {4, 30, cl::white, 4},   {0, 30, cl::maroon, 0},
      {-5, 30, cl::maroon, 0},  {1, 9, cl::white, 1},    {30, 30, cl::white, 30},
  };
  for (const auto& c : cases) {
    h.hp = c.hp;
    h.max_hp = c.max_hp;
    refresh_status(g);
    EXPECT_EQ(g.form[ctl::state_l].look.fore, c.colour) << c.hp << "/" << c.max_hp;
    EXPECT_EQ(h.hp, c.hp_after);
  }
}

TEST_F(StatusTest, CapsApplyAfterTheTextsAreWritten) {
  h.attack = 150;
  h.defense = 1001;
  h.life = 200;
  h.money = -3;
  h.hp = 50;
  h.max_hp = 30;
  h.mp = 20;
  h.max_mp = 10;
  h.attr_angel = 100;
  g.enemy.hp = 90;
  g.enemy.max_hp = 40;
  refresh_status(g);
  EXPECT_NE(caption(ctl::state_l).find("攻撃：150"), std::string::npos) << "shown once uncapped";
  EXPECT_EQ(caption(ctl::state_l2), "0円") << "money is capped before its text";
  EXPECT_EQ(h.attack, 99);
  EXPECT_EQ(h.defense, 1000);
  EXPECT_EQ(h.life, 150);
  EXPECT_EQ(h.hp, 30);
  EXPECT_EQ(h.mp, 10);
  EXPECT_EQ(h.attr_angel, 99);
  EXPECT_EQ(g.enemy.hp, 40);
  refresh_status(g);
  EXPECT_NE(caption(ctl::state_l).find("攻撃：99"), std::string::npos);
  h.defense = 1000;
  h.life = 150;
  refresh_status(g);
  EXPECT_EQ(h.defense, 1000);
  EXPECT_EQ(h.life, 150);
}

TEST_F(StatusTest, UnlocksByStars) {
  const ctl::Id watched[] = {ctl::card_b, ctl::ken_b, ctl::toy_b, ctl::f_b2, ctl::f_b, ctl::map1};
  struct Case {
    int stars;
    std::vector<bool> shown;
  } cases[] = {
      {0, {false, false, false, false, false, false}},
      {4, {true, false, false, false, false, false}},
      {5, {true, true, false, false, false, false}},
      {10, {true, true, true, false, false, false}},
      {30, {true, true, true, true, false, false}},
      {40, {true, true, true, true, true, false}},
      {50, {true, true, true, true, true, true}},
  };
  for (const auto& c : cases) {
    TestGame fresh;
    fresh.g().hero.stars = c.stars;
    refresh_status(fresh.g());
    for (size_t i = 0; i < std::size(watched); ++i)
      EXPECT_EQ(fresh.g().form[watched[i]].visible, c.shown[i])
          << c.stars << " stars, " << Form::name(watched[i]);
  }
  h.stars = 40;
  refresh_status(g);
  EXPECT_EQ(caption(ctl::f_l), "9000円／ｵｸﾀﾋﾞｱﾝの別ver.");
  EXPECT_EQ(caption(ctl::f_l2), "1000円／ロラン");
  h.stars = 0;
  refresh_status(g);
  EXPECT_TRUE(g.form[ctl::f_b].visible) << "nothing hides an unlocked control";
}

TEST_F(StatusTest, HundredStarsTeachTheCardTechniqueOnce) {
  h.stars = 100;
  refresh_status(g);
  refresh_status(g);
  EXPECT_EQ(h.tech_lv(22), 1);
  EXPECT_EQ(t.messages(), std::vector<std::string>{"【カード化】の技を修得した！"});
}

TEST_F(StatusTest, UnlocksByWorldFlags) {
  const ctl::Id maps[] = {ctl::map3, ctl::map4, ctl::map5, ctl::map6, ctl::map7};
  for (int i = 0; i < 5; ++i) {
    EXPECT_FALSE(g.form[maps[i]].visible);
    h.world_flags(203 + i) = 1;
    refresh_status(g);
    EXPECT_TRUE(g.form[maps[i]].visible) << Form::name(maps[i]);
  }
  h.world_flags(202) = 1;
  h.world_flags(208) = 1;
  EXPECT_FALSE(g.form[ctl::map0].visible);
  h.world_flags(200) = 1;
  refresh_status(g);
  EXPECT_TRUE(g.form[ctl::map0].visible);
}

TEST_F(StatusTest, LevelUpsAndTheTechniquesTheyTeach) {
  struct Case {
    const char* name;
    int tech, level;
    std::vector<std::pair<int, int>> before;  // other techniques' levels
    int gift;                                  // 0: none
  } cases[] = {
      {"level 3 to 4", 2, 3, {}, 0},
      {"flick to Max teaches flick 2", 1, 9, {}, 17},
      {"sword to Max teaches the onion sword", 2, 9, {}, 18},
      {"dance to Max teaches eating", 16, 9, {}, 23},
      {"a known gift is not taught again", 1, 9, {{17, 3}}, 0},
      {"any level-up checks the gifts", 5, 2, {{16, 10}}, 23},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestGame fresh;
    Game& g2 = fresh.g();
    new_hero(g2);
    for (auto [t2, lv] : c.before) g2.hero.tech_lv(t2) = static_cast<uint8_t>(lv);
    g2.hero.tech_lv(c.tech) = static_cast<uint8_t>(c.level);
    g2.hero.tech_exp(c.tech) = 10;
    fresh.clear_transcript();
    refresh_status(g2);
    EXPECT_EQ(g2.hero.tech_lv(c.tech), c.level + 1);
    EXPECT_EQ(g2.hero.tech_exp(c.tech), 0);
    auto name = [&](int t2, int lv) { return fresh.utf8(g2.tech_record(t2, lv)[0]); };
    std::vector<std::string> expected{"【" + name(c.tech, c.level) + "】\\r↓\\r【" +
                                      name(c.tech, c.level + 1) + "】へLvup！"};
    if (c.gift) {
      expected.push_back("なんと・・・・");
      const char* learned = c.gift == 17   ? "【でこぴん２】を修得した！"
                            : c.gift == 18 ? "【タマネギ剣】を修得した！"
                                           : "【食べる】を修得した！";
      expected.push_back(learned);
      EXPECT_EQ(g2.hero.tech_lv(c.gift), 1);
    }
    EXPECT_EQ(fresh.messages(), expected);
  }
}

TEST_F(StatusTest, TechniqueInfoPanelFollowsTheHoveredTechnique) {
  h.tech_lv(3) = 4;
  h.tech_exp(3) = 7;
  mouse_move(g, ctl::w3);
  EXPECT_EQ(g.hovered_tech, 3);
  refresh_status(g);
  EXPECT_EQ(caption(ctl::w_lv), "Lv.4");
  EXPECT_EQ(caption(ctl::w_exp), "7exp");
  EXPECT_EQ(g.form[ctl::w_exp2].position, 7);
  EXPECT_EQ(g.form[ctl::w_exp2].look.fore, 0xFF8000u);
  EXPECT_TRUE(g.form[ctl::w_exp2].visible);
  EXPECT_EQ(caption(ctl::w_name), "弓矢狼\r【" + t.utf8(g.tech_table[23][0]) + "】");
  const TechRecord& first = g.tech_table[20];
  EXPECT_EQ(caption(ctl::w_about), "精霊力：" + t.utf8(first[2]) + "／消費Mp：" + t.utf8(first[3]) +
                                       "\r" + (first[4] == "0" ? "" : t.utf8(first[4])));
  // A use of the technique, then a level, each shown at the next refresh.
  h.tech_exp(3) = 8;
  refresh_status(g);
  EXPECT_EQ(caption(ctl::w_exp), "8exp");
  EXPECT_EQ(g.form[ctl::w_exp2].position, 8);
  h.tech_lv(3) = 5;
  refresh_status(g);
  EXPECT_EQ(caption(ctl::w_lv), "Lv.5");

  h.tech_lv(3) = 12;
  h.tech_exp(3) = 10;
  refresh_status(g);
  EXPECT_EQ(caption(ctl::w_lv), "Max");
  EXPECT_EQ(caption(ctl::w_exp), "Max");
  EXPECT_EQ(h.tech_lv(3), 10);
  EXPECT_EQ(h.tech_exp(3), 0) << "a hovered technique at Max never levels up";
  EXPECT_EQ(g.form[ctl::w_exp2].position, 10);
  EXPECT_EQ(g.form[ctl::w_exp2].look.fore, cl::fuchsia);
  EXPECT_TRUE(t.messages().empty());

  mouse_move(g, ctl::m_box);  // the bare magic panel keeps the technique
  EXPECT_EQ(g.hovered_tech, 3);
  mouse_move(g, ctl::w_box);
  EXPECT_EQ(g.hovered_tech, 0);
  mouse_move(g, ctl::w24);
  EXPECT_EQ(g.hovered_tech, 24);
  mouse_move(g, ctl::form);
  EXPECT_EQ(g.hovered_tech, 0);
  refresh_status(g);
  for (ctl::Id id : {ctl::w_lv, ctl::w_exp, ctl::w_about, ctl::w_name}) EXPECT_EQ(caption(id), "");
  EXPECT_FALSE(g.form[ctl::w_exp2].visible);
}

TEST_F(StatusTest, InfoTextZeroMeansNoDescription) {
  g.tech_table[0][4] = "0";
  h.tech_lv(1) = 1;
  mouse_move(g, ctl::w1);
  refresh_status(g);
  EXPECT_EQ(g.tech_table[0][4], "");
  EXPECT_EQ(caption(ctl::w_about).back(), '\r');
}

TEST_F(StatusTest, OpponentStatusText) {
  struct Case {
    int job;
    const char* klass;
  } cases[] = {{0, "訓練生"}, {20, "コネコ"}, {21, "野良猫"}, {25, "野良猫"},
               {9999, "野良猫"}, {10000, ""}, {-1, ""}};
  Enemy& e = g.enemy;
  e.name = t.sj("スライム");
  e.level = 2;
  e.hp = 5;
  e.max_hp = 9;
  e.mp = 1;
  e.max_mp = 3;
  e.spirit_name = t.sj("ほこり");
  e.spirit_power = 4;
  e.attribute = 2;
  e.status = 1;
  for (const auto& c : cases) {
    e.job = c.job;
    refresh_status(g);
    EXPECT_EQ(caption(ctl::e_state), std::string("▼:スライム／") + c.klass +
                                         "\rLv:2\rHp:5/9\rMp:1/3\r精霊【ほこり】△4\r属性 <水><眠>");
    EXPECT_EQ(g.form[ctl::e_state2].caption, g.form[ctl::e_state].caption);
  }
  e.attribute = 7;
  e.status = 0;
  refresh_status(g);
  EXPECT_EQ(caption(ctl::e_state).substr(caption(ctl::e_state).size() - 7), "属性 ");
  EXPECT_FALSE(g.form[ctl::e_state2].visible);
  g.form.show(ctl::e_state);
  refresh_status(g);
  EXPECT_TRUE(g.form[ctl::e_state2].visible);
}

// The 10 ms timer runs all the time the window is open; on the map it finds nothing to write.
TEST_F(StatusTest, ATickThatChangesNothingAllocatesNothing) {
  if (!LUSHERA_COUNTS_ALLOCATIONS) GTEST_SKIP() << "the sanitizer's allocator is not counted";
  g.location.name = t.sj("君ヶ丘");
  timer_tick(g);
  const uint64_t revision = g.form.revision();
  const size_t before = allocations.load();
  for (int i = 0; i < 100; ++i) timer_tick(g);
  EXPECT_EQ(allocations.load() - before, 0u);
  EXPECT_EQ(g.form.revision(), revision);
  h.hp -= 1;  // a real change is still written
  timer_tick(g);
  EXPECT_NE(g.form.revision(), revision);
}

// A host stops its timer once a tick says it changed nothing, so after such a tick no further tick
// may change anything: not the hero, the opponent, the window or the messages.
TEST_F(StatusTest, OnceATickChangesNothingNoTickDoes) {
  struct Case {
    const char* name;
    void (*change)(Game&);
  } cases[] = {
      {"nothing", [](Game&) {}},
      {"Hp over the maximum", [](Game& g) { g.hero.hp = g.hero.max_hp + 50; }},
      {"Hp below 0", [](Game& g) { g.hero.hp = -5; }},
      {"money below 0", [](Game& g) { g.hero.money = -3; }},
      {"figures over their caps", [](Game& g) { g.hero.life = 200, g.hero.attack = 120, g.hero.defense = 2000; }},
      {"the opponent's Hp over its maximum, shown at the maximum before",
       [](Game& g) {
         g.enemy.max_hp = g.enemy.hp = 100;
         for (int i = 0; i < 5; ++i) timer_tick(g);
         g.enemy.hp = 150;
       }},
      {"a figure over its cap again, as the tick before showed it",
       [](Game& g) {
         g.hero.attack = 120;
         timer_tick(g);  // shows 120, then caps it
         g.hero.attack = 120;
       }},
      {"a hovered technique past Max", [](Game& g) {
         g.hero.tech_lv(3) = 11, g.hero.tech_exp(3) = 4;
         mouse_move(g, ctl::w3);
       }},
      {"a level-up", [](Game& g) { g.hero.tech_lv(1) = 9, g.hero.tech_exp(1) = 10; }},
      {"a hundred stars", [](Game& g) { g.hero.stars = 100; }},
      {"a step on the road", [](Game& g) { g.location.length = 30, ++g.location.progress; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestGame fresh;
    Game& g2 = fresh.g();
    new_hero(g2);
    for (int i = 0; i < 5 && timer_tick(g2); ++i) {
    }
    c.change(g2);
    int ticks = 1;
    while (timer_tick(g2)) ASSERT_LT(++ticks, 5) << "the ticks never settle";
    const Hero hero = g2.hero;
    const Enemy enemy = g2.enemy;
    const uint64_t revision = g2.form.revision();
    const size_t messages = fresh.messages().size();
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(timer_tick(g2));
    EXPECT_TRUE(g2.hero == hero);
    EXPECT_TRUE(g2.enemy == enemy);
    EXPECT_EQ(g2.form.revision(), revision);
    EXPECT_EQ(fresh.messages().size(), messages);
  }
}

TEST_F(StatusTest, LocationLine) {
  g.location.name = t.sj("君ヶ丘");
  g.location.length = 30;
  g.location.progress = 4;
  refresh_status(g);
  EXPECT_EQ(caption(ctl::d_state), "君ヶ丘\r残り距離：26km");
}

TEST(StatusStartUp, SavedUnlocksAppearOnTheFirstTickAndSurviveANewHero) {
  TestGame t;
  t.g().hero.stars = 60;
  t.g().hero.world_flags(203) = 1;
  timer_tick(t.g());
  for (ctl::Id id : {ctl::map1, ctl::map3, ctl::toy_b, ctl::ken_b, ctl::card_b, ctl::f_b, ctl::f_b2})
    EXPECT_TRUE(t.g().form[id].visible) << Form::name(id);
  EXPECT_TRUE(t.g().form.shown(ctl::start_box));
  new_hero(t.g());
  timer_tick(t.g());
  for (ctl::Id id : {ctl::map1, ctl::map3, ctl::toy_b, ctl::ken_b, ctl::card_b, ctl::f_b, ctl::f_b2})
    EXPECT_TRUE(t.g().form[id].visible) << Form::name(id);
}

}  // namespace
