#include <gtest/gtest.h>

#include <set>

#include "core/savefile.hpp"
#include "support/test_game.hpp"

namespace {

// The default data pack holds what the game's rules rely on.
struct PackTest : ::testing::Test {
  ScratchData data;
  HeadlessHost host;
  Game g{host, data.dir().string()};
  void SetUp() override { load_game(g); }
};

TEST_F(PackTest, CataloguesAreFull) {
  std::set<std::string> names(g.name_pool.begin(), g.name_pool.end());
  EXPECT_EQ(names.size(), 226u) << "opponent names are distinct";
  EXPECT_EQ(names.count(""), 0u);
  for (const auto& s : g.spirit_names) EXPECT_FALSE(s.empty());
  for (int k = 0; k < 10; ++k) EXPECT_FALSE(g.figure_names[k].empty()) << k;
  for (int t = 1; t <= 24; ++t)
    for (int lv = 1; lv <= 10; ++lv) EXPECT_FALSE(g.tech_record(t, lv)[0].empty()) << t << "/" << lv;
}

TEST_F(PackTest, ItemIdsTheGameReliesOn) {
  std::set<int> kinds;
  for (int id = 0; id <= 252; ++id) {
    EXPECT_FALSE(g.items[id].name.empty()) << id;
    EXPECT_NE(g.items[id].kind, 111) << id << " must not be a card";
    kinds.insert(g.items[id].kind);
  }
  for (int k = 0; k <= 24; ++k) EXPECT_TRUE(kinds.count(k)) << "no item of kind " << k;
  for (int k = 100; k <= 105; ++k) EXPECT_TRUE(kinds.count(k)) << "no sword of kind " << k;
  for (int id = 35; id <= 44; ++id) EXPECT_EQ(g.items[id].kind, 8) << "figure item " << id;
  for (int id = 256; id <= 512; ++id) EXPECT_TRUE(g.items[id].name.empty()) << "card slot " << id;
  // What the tool shop sells under its ids.
  EXPECT_EQ(g.items[0].kind, 0);
  EXPECT_EQ(g.items[1].kind, 0);
  EXPECT_EQ(g.items[14].kind, 3);
  EXPECT_EQ(g.items[47].kind, 18);
}

TEST_F(PackTest, TheBundledSaveIsAFreshHero) {
  EXPECT_EQ(g.sjis.to_utf8(g.hero.name), "ライズ");
  EXPECT_EQ(g.hero.level, 1);
  EXPECT_EQ(g.hero.max_hp, 30);
  EXPECT_EQ(g.hero.tech_lv(1), 1);
  EXPECT_EQ(g.hero.stars, 0);
}

}  // namespace
