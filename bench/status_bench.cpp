// The 10 ms refresh of the status panel, and the typewriter, on the headless host.
#include <benchmark/benchmark.h>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "platform/headless/headless_host.hpp"

namespace {

struct BenchGame {
  HeadlessHost host;
  Game g{host, LUSHERA_BUILD_DIR};
  BenchGame() {
    host.keep_transcript = false;
    g.fixed_seed = 1;
    create_window(g);
    continue_game(g);
  }
};

void refresh_status_on_the_map(benchmark::State& state) {
  BenchGame b;
  b.g.hovered_tech = 1;
  for (auto _ : state) refresh_status(b.g);
}
BENCHMARK(refresh_status_on_the_map);

void refresh_status_with_changing_values(benchmark::State& state) {
  BenchGame b;
  b.g.hovered_tech = 3;
  b.g.hero.tech_lv(3) = 2;
  int i = 0;
  for (auto _ : state) {
    b.g.hero.hp = 1 + (++i % 30);
    b.g.hero.money = i;
    refresh_status(b.g);
  }
}
BENCHMARK(refresh_status_with_changing_values);

void show_message_of_forty_bytes(benchmark::State& state) {
  BenchGame b;
  const std::string text = b.g.sj("ライズは強くなった！ライズは強くなった！");
  for (auto _ : state) show_message(b.g, text);
}
BENCHMARK(show_message_of_forty_bytes);

}  // namespace
