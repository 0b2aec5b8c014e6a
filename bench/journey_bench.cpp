// The whole game played by a scripted player, from a new hero to the end panel.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "platform/headless/headless_host.hpp"
#include "support/journey.hpp"
#include "packs.hpp"

namespace {

void play_whole_game(benchmark::State& state, const std::string& pack) {
  for (auto _ : state) {
    HeadlessHost host;
    host.keep_transcript = false;
    Game g(host, pack);
    g.fixed_seed = 1;
    create_window(g);
    new_hero(g);
    Journey j{g};
    const bool finished = j.play(2000000);
    state.counters["finished"] = finished;
    state.counters["clicks"] = static_cast<double>(j.clicks);
    state.counters["level"] = g.hero.level;
    state.counters["virtual_hours"] = static_cast<double>(host.clock_ms) / 3600000.0;
  }
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  state.counters["peak_rss_mb"] = static_cast<double>(u.ru_maxrss) / 1024.0;
}

void whole_game(benchmark::State& state) { play_whole_game(state, LUSHERA_BUILD_DIR); }

void whole_game_without_pictures(benchmark::State& state) {
  const std::string pack = pictureless_pack();
  play_whole_game(state, pack);
  std::filesystem::remove_all(pack);
}
BENCHMARK(whole_game_without_pictures)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(whole_game)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
