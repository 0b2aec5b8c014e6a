// From a click to its sound at the output, through SDL's "disk" driver (which plays in real time):
// the time the game's play_sound takes to hand the sound's first bytes to SDL, and the time until
// SDL's audio thread has taken the first of them for the output (the device's position moves),
// with the mixer idle as it is between clicks (the device resting). The floor: the same bytes
// queued on a device of the same format that was left running.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "audio/mixer_session.hpp"
#include "audio/sound_mixer.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "platform/headless/headless_host.hpp"
#include "platform/sdl/sdl_audio_device.hpp"

namespace {

using Clock = std::chrono::steady_clock;

// The headless host, but with the real audio output.
class SdlAudioHost : public HeadlessHost {
 public:
  AudioDevice* audio_device() override { return device.started() ? &device : nullptr; }
  void sleep_ms(int ms) override {
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    SDL_Event ev;
    while (Clock::now() < until) {
      SDL_PumpEvents();
      while (device.event_type() && SDL_PeepEvents(&ev, 1, SDL_GETEVENT, device.event_type(), device.event_type()) > 0)
        device.handle_event(ev);
      SDL_Delay(1);
    }
  }
  SdlAudioDevice device;
};

void use_disk_output(const std::string& raw) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "5", 1);
}

double ms_since(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

void click_to_output(benchmark::State& state) {
  const std::string raw = (std::filesystem::temp_directory_path() / "lushera-latency.raw").string();
  use_disk_output(raw);
  SdlAudioHost host;
  host.keep_transcript = false;
  Game g(host, LUSHERA_BUILD_DIR);
  create_window(g);
  if (!g.sound.mixer || !std::filesystem::exists(g.path("dat", "1.wav"))) {
    state.SkipWithError("no sound output or no dat/1.wav");
    return;
  }
  play_sound(g, "1.wav");  // opened once, as after the first click
  double handed_ms = 0, taken_ms = 0;
  for (auto _ : state) {
    state.PauseTiming();
    host.sleep_ms(600);  // the last click has played out and the device rests
    if (!host.device.resting()) {
      state.SkipWithError("the device did not rest after the sound");
      break;
    }
    const uint64_t before = host.device.position();
    state.ResumeTiming();
    const auto t0 = Clock::now();
    play_sound(g, "1.wav");
    handed_ms += ms_since(t0);
    while (host.device.position() == before && ms_since(t0) < 1000) {
    }
    taken_ms += ms_since(t0);
  }
  state.counters["to_output_ms"] = handed_ms / static_cast<double>(state.iterations());
  state.counters["at_device_ms"] = taken_ms / static_cast<double>(state.iterations());
  std::filesystem::remove(raw);
}
BENCHMARK(click_to_output)->Iterations(20)->Unit(benchmark::kMillisecond);

// The floor: a device of the mixer's format (11025 Hz, 8 bits, mono, 256-sample periods) left
// playing silence, given a block at once.
void queue_to_device_floor(benchmark::State& state) {
  const std::string raw = (std::filesystem::temp_directory_path() / "lushera-latency-floor.raw").string();
  use_disk_output(raw);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    state.SkipWithError("no sound output");
    return;
  }
  SDL_AudioSpec want{};
  want.freq = 11025;
  want.format = AUDIO_U8;
  want.channels = 1;
  want.samples = 256;
  const SDL_AudioDeviceID dev = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
  SDL_PauseAudioDevice(dev, 0);
  const std::vector<uint8_t> block(2048, 168);
  double taken_ms = 0;
  for (auto _ : state) {
    state.PauseTiming();
    SDL_Delay(300);
    state.ResumeTiming();
    const auto t0 = Clock::now();
    SDL_QueueAudio(dev, block.data(), static_cast<Uint32>(block.size()));
    while (SDL_GetQueuedAudioSize(dev) == block.size() && ms_since(t0) < 1000) {
    }
    taken_ms += ms_since(t0);
    SDL_ClearQueuedAudio(dev);
  }
  state.counters["at_device_ms"] = taken_ms / static_cast<double>(state.iterations());
  SDL_CloseAudioDevice(dev);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  std::filesystem::remove(raw);
}
BENCHMARK(queue_to_device_floor)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
