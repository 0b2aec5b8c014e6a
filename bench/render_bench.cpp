// A full repaint of the window through SDL's software renderer, once the caches are warm: the
// start panel, and the map screen with the status texts, at 1× and 2×.
#include <benchmark/benchmark.h>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "game/input.hpp"
#include "platform/headless/headless_host.hpp"
#include "platform/sdl/renderer.hpp"
#include "render/freetype_raster.hpp"

namespace {

enum class Screen { Start, Map };

void repaint(benchmark::State& state, Screen screen) {
  HeadlessHost host;
  host.keep_transcript = false;
  Game g(host, LUSHERA_BUILD_DIR);
  g.fixed_seed = 1;
  create_window(g);
  timer_tick(g);
  if (screen == Screen::Map) {
    click(g, ctl::Button39);
    timer_tick(g);
  }
  FreeTypeRaster fonts;
  OffscreenRenderer r(g.sjis, fonts, static_cast<int>(state.range(0)));
  if (!r.draw(g.form)) {
    state.SkipWithError("SDL could not make the software renderer");
    return;
  }
  for (auto _ : state) {
    r.draw(g.form);
    benchmark::DoNotOptimize(r.surface()->pixels);
  }
}

void repaint_start_panel(benchmark::State& state) { repaint(state, Screen::Start); }
void repaint_map_screen(benchmark::State& state) { repaint(state, Screen::Map); }
BENCHMARK(repaint_start_panel)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(repaint_map_screen)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The typewriter's case: the message grows by two bytes before every repaint, and every
// message is a new one.
void repaint_while_typing(benchmark::State& state) {
  HeadlessHost host;
  host.keep_transcript = false;
  Game g(host, LUSHERA_BUILD_DIR);
  g.fixed_seed = 1;
  create_window(g);
  click(g, ctl::Button39);
  timer_tick(g);
  FreeTypeRaster fonts;
  OffscreenRenderer r(g.sjis, fonts, static_cast<int>(state.range(0)));
  r.draw(g.form);
  int message = 0;
  std::string text;
  size_t n = 0;
  for (auto _ : state) {
    if (n >= text.size()) {
      text = g.sj("ライズに") + std::to_string(++message) + g.sj("のダメージ！ライズは強くなった！");
      n = 0;
    }
    n += 2;
    g.form.set_caption(ctl::moji_l, text.substr(0, n));
    r.draw(g.form);
    benchmark::DoNotOptimize(r.surface()->pixels);
  }
}
BENCHMARK(repaint_while_typing)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
