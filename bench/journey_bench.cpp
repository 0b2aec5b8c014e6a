// The whole game played by a scripted player, from a new hero to the end panel.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "platform/headless/headless_host.hpp"
#include "support/journey.hpp"

namespace {

void whole_game(benchmark::State& state) {
  for (auto _ : state) {
    HeadlessHost host;
    host.keep_transcript = false;
    Game g(host, LUSHERA_BUILD_DIR);
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
BENCHMARK(whole_game)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
