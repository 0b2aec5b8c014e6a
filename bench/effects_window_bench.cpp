// The picture effects in the real window (run under Xvfb or on a desktop): the wall time of the
// entering animation's closing square and of the hit flash against the sum of their pauses, run
// by run, split into our own drawing and the window system's presenting. The presenting's floor:
// the same frames' changed rectangles presented by plain SDL in the same window.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "effects/effects.hpp"
#include "platform/sdl/renderer.hpp"
#include "platform/sdl/sdl_host.hpp"
#include "samples.hpp"

namespace {

using Clock = std::chrono::steady_clock;
double ms_since(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

// A frame as the window showed it: the rectangle where it differs from the frame before, and
// that rectangle's pixels, row by row.
struct NotedFrame {
  SDL_Rect changed;
  std::vector<uint32_t> pixels;
};

// The window's host, noting each frame it shows while `noting`.
class NotingHost : public SdlHost {
 public:
  using SdlHost::SdlHost;
  void repaint() override {
    const int64_t before = draw_stats().frames;
    SdlHost::repaint();
    if (noting && draw_stats().frames != before && view()) note(view()->frame());
  }
  // The frame on screen now, as the one the next is compared with.
  void note_start() { last_ = view()->frame(); }
  bool noting = false;
  std::vector<NotedFrame> shown;

 private:
  void note(const Frame& f) {
    int x0 = f.width, y0 = f.height, x1 = -1, y1 = -1;
    for (int y = 0; y < f.height; ++y)
      for (int x = 0; x < f.width; ++x) {
        const size_t i = static_cast<size_t>(y) * f.width + x;
        if (f.pixels[i] == last_.pixels[i]) continue;
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
      }
    NotedFrame noted{x1 < 0 ? SDL_Rect{0, 0, 0, 0} : SDL_Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1}, {}};
    const SDL_Rect& r = noted.changed;
    for (int y = r.y; y < r.y + r.h; ++y) {
      const auto row = f.pixels.begin() + static_cast<ptrdiff_t>(y) * f.width + r.x;
      noted.pixels.insert(noted.pixels.end(), row, row + r.w);
    }
    shown.push_back(std::move(noted));
    last_ = f;
  }
  Frame last_;
};

// Plain SDL presenting the noted frames' changed rectangles the way the window presents: each
// rectangle blitted onto the window's own surface and only it sent to the window system. It
// presents in the game's own window, one run after each of the game's, so both meet the window
// system in the same state. Like the window, which composes every frame into one buffer of its
// own, it reads one buffer: each frame's changed rectangle is written into it before its
// presenting is timed, as composing writes it, not read from 25 whole frames out of the cache;
// only those rectangles are ever read from it.
class PresentFloor {
 public:
  PresentFloor(SDL_Window* window, std::vector<NotedFrame> shown, int w, int h)
      : window_(window), shown_(std::move(shown)), w_(w), composed_(static_cast<size_t>(w) * h) {
    frame_ = SDL_CreateRGBSurfaceWithFormatFrom(composed_.data(), w, h, 32, w * 4, SDL_PIXELFORMAT_RGB888);
  }
  ~PresentFloor() {
    if (frame_) SDL_FreeSurface(frame_);
  }
  PresentFloor(const PresentFloor&) = delete;
  PresentFloor& operator=(const PresentFloor&) = delete;

  // One run of the effect's frames, after the same rest as the game's; the milliseconds per frame.
  void run() {
    SDL_Surface* out = SDL_GetWindowSurface(window_);
    if (!out || !frame_ || shown_.empty()) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    SDL_PumpEvents();  // what the window system said meanwhile, as the game's wait reads it
    double ms = 0;
    for (const NotedFrame& f : shown_) {
      SDL_Rect r = f.changed;
      if (r.w <= 0) continue;
      for (int y = 0; y < r.h; ++y)
        std::copy_n(f.pixels.begin() + static_cast<ptrdiff_t>(y) * r.w, r.w,
                    composed_.begin() + static_cast<ptrdiff_t>(r.y + y) * w_ + r.x);
      const auto t0 = Clock::now();
      SDL_Rect to = r;
      SDL_BlitSurface(frame_, &r, out, &to);
      SDL_UpdateWindowSurfaceRects(window_, &r, 1);
      ms += ms_since(t0);
    }
    per_frame.add(ms / static_cast<double>(shown_.size()));
  }
  Samples per_frame;

 private:
  SDL_Window* window_;
  std::vector<NotedFrame> shown_;
  int w_;
  std::vector<uint32_t> composed_;
  SDL_Surface* frame_ = nullptr;
};

// The place's picture as the effects find it: the world map's picture, or a grey one.
void show_picture(Game& g) {
  Canvas& c = g.form[ctl::cg].canvas;
  const Canvas& map = g.form[ctl::bakmap].canvas;
  if (map.width >= 200 && map.height >= 200) {
    c.copy_rect(0, 0, 200, 200, map, 0, 0, 200, 200);
  } else {
    c.brush = cl::gray;
    c.fill_rect(0, 0, 200, 200);
  }
  g.form.touch();
  g.host.repaint();
}

template <class Effect>
void effect_in_window(benchmark::State& state, Effect effect, double pauses_ms) {
  if (!std::getenv("DISPLAY")) {
    state.SkipWithError("needs a display (DISPLAY), e.g. Xvfb");
    return;
  }
  const int scale = static_cast<int>(state.range(0));
  Samples over_pauses, drawing, presenting, floor;
  double changed_px = 0;
  int64_t frames = 0, frames_noted = 0;
  int shown_scale = 0;
  {
    NotingHost host(scale, false);
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
    // Once first, noting the frames shown, for the floor.
    show_picture(g);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    host.note_start();
    host.noting = true;
    effect(g);
    host.noting = false;
    frames_noted = static_cast<int64_t>(host.shown.size());
    for (const NotedFrame& f : host.shown) changed_px += static_cast<double>(f.changed.w) * f.changed.h;
    if (frames_noted) changed_px /= static_cast<double>(frames_noted);
    PresentFloor present_floor(host.window(), std::move(host.shown), host.view()->frame().width,
                               host.view()->frame().height);
    shown_scale = host.scale();
    for (auto _ : state) {
      // Each run on its own, as after the player's click: not chained to the run before.
      state.PauseTiming();
      show_picture(g);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      host.reset_draw_stats();
      state.ResumeTiming();
      const auto t0 = Clock::now();
      effect(g);
      over_pauses.add(ms_since(t0) / pauses_ms);
      const SdlHost::DrawStats& s = host.draw_stats();
      drawing.add(s.compose_ms / pauses_ms);
      presenting.add(s.frames ? s.present_ms / static_cast<double>(s.frames) : 0);
      frames = s.frames;
      state.PauseTiming();
      present_floor.run();
      state.ResumeTiming();
    }
    floor = std::move(present_floor.per_frame);
  }
  state.counters["pauses_ms"] = pauses_ms;
  state.counters["frames"] = static_cast<double>(frames);
  state.counters["scale"] = shown_scale;  // the window's zoom: smaller when the screen has no room
  state.counters["frames_noted"] = static_cast<double>(frames_noted);
  state.counters["changed_px_per_frame"] = changed_px;
  over_pauses.publish(state, "wall_over_pauses");
  drawing.publish(state, "drawing_over_pauses");
  presenting.publish(state, "present_ms");
  floor.publish(state, "present_floor_ms");
}

void closing_square(benchmark::State& state) { effect_in_window(state, close_black, 26.0); }
void hit_flash(benchmark::State& state) { effect_in_window(state, flash_hit, 80.0); }

BENCHMARK(closing_square)->Arg(1)->Arg(2)->Arg(3)->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(hit_flash)->Arg(1)->Arg(2)->Arg(3)->Iterations(30)->Unit(benchmark::kMillisecond);

}  // namespace
