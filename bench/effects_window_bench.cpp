// The picture effects in the real window (run under Xvfb or on a desktop): the wall time of the
// entering animation's closing square and of the hit flash, against the sum of their pauses,
// split into our own drawing and the window system's presenting.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "battle/effects.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "platform/sdl/sdl_host.hpp"

namespace {

template <class Effect>
void effect_in_window(benchmark::State& state, Effect effect, double pauses_ms) {
  if (!std::getenv("DISPLAY")) {
    state.SkipWithError("needs a display (DISPLAY), e.g. Xvfb");
    return;
  }
  SdlHost host(static_cast<int>(state.range(0)), false);
  Game g(host, LUSHERA_BUILD_DIR);
  if (!host.open(kClientWidth, kClientHeight)) {
    state.SkipWithError("no window");
    return;
  }
  host.attach(g);
  create_window(g);
  continue_game(g);
  g.hovered_tech = 1;
  g.form[ctl::cg].canvas.resize(200, 200);
  g.form[ctl::bak].canvas.resize(64, 64);
  host.repaint();
  double wall = 0;
  host.reset_draw_stats();
  for (auto _ : state) {
    // Each run on its own, as after the player's click: not chained to the run before.
    state.PauseTiming();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    state.ResumeTiming();
    const auto t0 = std::chrono::steady_clock::now();
    effect(g);
    wall += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  }
  const double n = static_cast<double>(state.iterations());
  const SdlHost::DrawStats& s = host.draw_stats();
  state.counters["pauses_ms"] = pauses_ms;
  state.counters["wall_ms"] = wall / n;
  state.counters["drawing_ms"] = s.compose_ms / n;
  state.counters["presenting_ms"] = s.present_ms / n;
  state.counters["drawing_pct"] = 100.0 * s.compose_ms / n / pauses_ms;
  state.counters["frames"] = static_cast<double>(s.frames) / n;
}

void closing_square(benchmark::State& state) { effect_in_window(state, close_black, 26.0); }
void hit_flash(benchmark::State& state) { effect_in_window(state, flash_hit, 80.0); }

BENCHMARK(closing_square)->Arg(1)->Arg(2)->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK(hit_flash)->Arg(1)->Arg(2)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
