// The picture effects in the real window (run under Xvfb or on a desktop): the wall time of the
// entering animation's closing square and of the hit flash, against the sum of their pauses,
// split into our own drawing and the window system's presenting.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "effects/effects.hpp"
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
  state.counters["present_per_frame_ms"] = s.frames ? s.present_ms / static_cast<double>(s.frames) : 0;
  state.counters["wall_over_pauses"] = wall / n / pauses_ms;
}

void closing_square(benchmark::State& state) { effect_in_window(state, close_black, 26.0); }
void hit_flash(benchmark::State& state) { effect_in_window(state, flash_hit, 80.0); }

// The floor of presenting a frame: one copy of a texture of the window's size, then present.
void present_floor(benchmark::State& state) {
  if (!std::getenv("DISPLAY")) {
    state.SkipWithError("needs a display (DISPLAY), e.g. Xvfb");
    return;
  }
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_InitSubSystem(SDL_INIT_VIDEO);
  SDL_Window* w = SDL_CreateWindow("floor", 0, 0, kClientWidth, kClientHeight, 0);
  SDL_Renderer* r = w ? SDL_CreateRenderer(w, -1, SDL_RENDERER_SOFTWARE) : nullptr;
  SDL_Texture* t = r ? SDL_CreateTexture(r, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                         kClientWidth, kClientHeight)
                     : nullptr;
  if (!t) {
    state.SkipWithError("no window");
    return;
  }
  SDL_SetTextureBlendMode(t, SDL_BLENDMODE_NONE);
  for (auto _ : state) {
    SDL_RenderCopy(r, t, nullptr, nullptr);
    SDL_RenderPresent(r);
  }
  SDL_DestroyTexture(t);
  SDL_DestroyRenderer(r);
  SDL_DestroyWindow(w);
}
BENCHMARK(present_floor)->Unit(benchmark::kMicrosecond);

BENCHMARK(closing_square)->Arg(1)->Arg(2)->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK(hit_flash)->Arg(1)->Arg(2)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
