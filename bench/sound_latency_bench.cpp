// From a click to its sound at the output: the time the game's play_sound takes to hand the
// sound's first bytes to SDL's audio output (the "disk" driver, which plays in real time), with
// the mixer idle as it is between clicks. After that only SDL's own period stands before the
// speaker.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "audio/mixer_session.hpp"
#include "audio/sound_mixer.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "platform/headless/headless_host.hpp"
#include "platform/sdl/sdl_audio_device.hpp"

namespace {

// The headless host, but with the real audio output.
class SdlAudioHost : public HeadlessHost {
 public:
  AudioDevice* audio_device() override { return device.started() ? &device : nullptr; }
  void sleep_ms(int ms) override {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    SDL_Event ev;
    while (std::chrono::steady_clock::now() < until) {
      SDL_PumpEvents();
      while (device.event_type() && SDL_PeepEvents(&ev, 1, SDL_GETEVENT, device.event_type(), device.event_type()) > 0)
        device.handle_event(ev);
      SDL_Delay(1);
    }
  }
  SdlAudioDevice device;
};

void click_to_output(benchmark::State& state) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  const std::string raw = (std::filesystem::temp_directory_path() / "lushera-latency.raw").string();
  setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "5", 1);
  SdlAudioHost host;
  host.keep_transcript = false;
  Game g(host, LUSHERA_BUILD_DIR);
  create_window(g);
  if (!g.sound.mixer || !std::filesystem::exists(g.path("dat", "1.wav"))) {
    state.SkipWithError("no sound output or no dat/1.wav");
    return;
  }
  play_sound(g, "1.wav");  // opened once, as after the first click
  double total_us = 0;
  for (auto _ : state) {
    state.PauseTiming();
    host.sleep_ms(300);  // the last click has played out
    state.ResumeTiming();
    const auto t0 = std::chrono::steady_clock::now();
    play_sound(g, "1.wav");
    total_us += std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
  }
  state.counters["to_output_us"] = total_us / static_cast<double>(state.iterations());
  std::filesystem::remove(raw);
}
BENCHMARK(click_to_output)->Iterations(20)->Unit(benchmark::kMicrosecond);

}  // namespace
