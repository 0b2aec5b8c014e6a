// From a click to its sound at the output, through SDL's "disk" driver (which plays in real time):
// the time the game's play_sound takes to hand the sound's first bytes to SDL, and the time until
// SDL's audio thread has taken the first of them for the output (the device's position moves),
// with the mixer idle as it is between clicks (the device resting), run by run. The floor: a
// device of the same format resting (paused) woken by plain SDL at the click, until its thread
// asks for the first block.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "audio/mixer_session.hpp"
#include "audio/sound_mixer.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "platform/headless/headless_host.hpp"
#include "platform/sdl/sdl_audio_device.hpp"
#include "samples.hpp"

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
  Samples handed, taken;
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
    handed.add(ms_since(t0));
    // Looking at the queue takes the device's lock: looked at without a pause, the audio
    // thread could wait for it. Both this and the floor look the same way.
    while (host.device.position() == before && ms_since(t0) < 1000) std::this_thread::yield();
    taken.add(ms_since(t0));
  }
  handed.publish(state, "to_output_ms");
  taken.publish(state, "at_device_ms");
  std::filesystem::remove(raw);
}
BENCHMARK(click_to_output)->Iterations(30)->Unit(benchmark::kMillisecond);

// The floor: a device of the mixer's format (11025 Hz, 8 bits, mono, 256-sample periods) set
// resting the least SDL allows (paused, its thread held at the device's lock, as SDL's thread
// otherwise plays silence a period at a time while paused), woken by plain SDL at the click with
// a block queued; the time until its thread has taken the block's first bytes.
void resting_device_floor(benchmark::State& state) {
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
  const std::vector<uint8_t> block(2048, 168);
  Samples taken;
  for (auto _ : state) {
    state.PauseTiming();
    SDL_PauseAudioDevice(dev, 1);
    SDL_LockAudioDevice(dev);
    SDL_Delay(600);
    state.ResumeTiming();
    const auto t0 = Clock::now();
    SDL_QueueAudio(dev, block.data(), static_cast<Uint32>(block.size()));
    SDL_PauseAudioDevice(dev, 0);
    SDL_UnlockAudioDevice(dev);
    while (SDL_GetQueuedAudioSize(dev) == block.size() && ms_since(t0) < 1000) std::this_thread::yield();
    taken.add(ms_since(t0));
    state.PauseTiming();
    SDL_ClearQueuedAudio(dev);
    state.ResumeTiming();
  }
  taken.publish(state, "at_device_ms");
  SDL_CloseAudioDevice(dev);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  std::filesystem::remove(raw);
}
BENCHMARK(resting_device_floor)->Iterations(30)->Unit(benchmark::kMillisecond);

}  // namespace
