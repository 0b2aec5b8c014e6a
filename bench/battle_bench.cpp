// Random battles fought to their end by a scripted player, on the headless host.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "packs.hpp"

#include "battle/battle.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "platform/headless/headless_host.hpp"
#include "support/auto_player.hpp"
#include "world/world.hpp"

namespace {

long resident_kb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * 4;
}

struct Arena {
  explicit Arena(const std::string& pack = LUSHERA_BUILD_DIR) : g(host, pack) {
    host.keep_transcript = false;
    g.fixed_seed = 7;
    create_window(g);
    new_hero(g);
    enter_location(g, 4);
  }
  HeadlessHost host;
  Game g;
  AutoPlayer player{g};
  // One battle from the opponent's appearance to its end, with the hero kept fit for the next.
  void battle() {
    Hero& h = g.hero;
    h.hp = h.max_hp = 400;
    h.mp = h.max_mp = 40;
    h.level = 12;
    h.spirit_power = 40;
    h.status = 0;
    // what a hero of this level has learned by now
    for (int t = 1; t <= 8; ++t) h.tech_lv(t) = 3;
    h.tech_lv(2) = 6;
    g.location.progress = 2;
    g.form.hide(ctl::danjyon_box);
    start_random_battle(g);
    player.fight(10000);
    if (g.form.shown(ctl::map_box)) enter_location(g, 4);  // the hero fell
  }
};

void random_battles(benchmark::State& state) {
  Arena a;
  for (auto _ : state) a.battle();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(random_battles)->Unit(benchmark::kMicrosecond);

void random_battles_without_pictures(benchmark::State& state) {
  const std::string pack = pictureless_pack();
  {
    Arena a(pack);
    for (auto _ : state) a.battle();
  }
  std::filesystem::remove_all(pack);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(random_battles_without_pictures)->Unit(benchmark::kMicrosecond);

// Memory over a long run: the resident size after 1,000 and after 100,000 battles.
void memory_over_100k_battles(benchmark::State& state) {
  for (auto _ : state) {
    Arena a;
    for (int i = 0; i < 1000; ++i) a.battle();
    const long early = resident_kb();
    for (int i = 0; i < 99000; ++i) a.battle();
    state.counters["rss_kb_after_1k"] = static_cast<double>(early);
    state.counters["rss_kb_after_100k"] = static_cast<double>(resident_kb());
  }
}
BENCHMARK(memory_over_100k_battles)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
