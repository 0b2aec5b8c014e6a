// The wave mixer on the virtual device: what mixing costs against real time, and how late a
// sound reaches the device.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "audio/mixer_session.hpp"
#include "audio/sound_mixer.hpp"
#include "audio/virtual_audio_device.hpp"

namespace {

std::vector<uint8_t> wave_image(const std::vector<uint8_t>& samples, uint32_t rate) {
  std::vector<uint8_t> b;
  auto put = [&b](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto id = [&b](const char* s) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(s[i]));
  };
  id("RIFF");
  put(static_cast<uint32_t>(4 + 24 + 8 + samples.size() + (samples.size() & 1)), 4);
  id("WAVE");
  id("fmt ");
  put(16, 4);
  put(1, 2);
  put(1, 2);
  put(rate, 4);
  put(rate, 4);
  put(1, 2);
  put(8, 2);
  id("data");
  put(static_cast<uint32_t>(samples.size()), 4);
  b.insert(b.end(), samples.begin(), samples.end());
  if (samples.size() & 1) b.push_back(0);
  return b;
}

// A mixer on the virtual device with the given settings file contents (written to a scratch
// file beside the benchmark).
struct Bench {
  explicit Bench(const std::string& settings) {
    path = std::string(LUSHERA_BUILD_DIR) + "/mixer_bench_SOUNDMIX.INI";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
      std::fputs(settings.c_str(), f);
      std::fclose(f);
    }
    system = std::make_unique<MixerSystem>(device, path);
    mixer = std::make_unique<SoundMixer>(*system);
    mixer->set_activated(true);
    mixer->set_channels(255);
  }
  ~Bench() {
    mixer.reset();
    system.reset();
    std::remove(path.c_str());
  }
  Wave* sound(const std::vector<uint8_t>& samples) {
    const std::vector<uint8_t> image = wave_image(samples, 11025);
    return mixer->load_wave_image(image.data(), image.size());
  }

  VirtualAudioDevice device{1000};
  std::string path;
  std::unique_ptr<MixerSystem> system;
  std::unique_ptr<SoundMixer> mixer;
};

// Eight channels each looping a second of noise: one iteration plays one second of sound.
void mix_8_channels(benchmark::State& state) {
  const int rate_setting = static_cast<int>(state.range(0));
  Bench b(rate_setting == 11 ? "" : "[default]\nSamplesPerSec=" + std::to_string(rate_setting) + "\n");
  b.device.options.record = false;
  uint32_t seed = 12345;
  for (int c = 0; c < 8; ++c) {
    std::vector<uint8_t> noise(11025 + 97 * c);
    for (auto& v : noise) {
      seed = seed * 1103515245u + 12345u;
      v = static_cast<uint8_t>(96 + (seed >> 24) % 64);
    }
    b.mixer->play_wave(c, b.sound(noise), kLoopForever, c < 7 ? kPlayDeferred : 0);
  }
  for (auto _ : state) b.device.advance(1000);
  // Seconds of sound mixed per second of work: the multiple of real time.
  state.counters["x_real_time"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["bytes_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * b.device.format().avg_bytes_per_sec,
                         benchmark::Counter::kIsRate);
}
BENCHMARK(mix_8_channels)->ArgName("SamplesPerSec")->Arg(11)->Arg(22)->Arg(44)->Unit(benchmark::kMicrosecond);

// The floor of mix_8_channels/11: a loop written in the compiler's vector types that sums eight
// streams of a second's bytes around 128 and holds the sum to 0 … 255, sixteen bytes at a time.
using Bytes16 = uint8_t __attribute__((vector_size(16)));
using Words16 = int16_t __attribute__((vector_size(32)));

void sum_and_hold(uint8_t* out, const uint8_t* const* src, int k, size_t len) {
  size_t i = 0;
  for (; i + 16 <= len; i += 16) {
    Words16 acc = {};
    for (int j = 0; j < k; ++j) {
      Bytes16 v;
      std::memcpy(&v, src[j] + i, 16);
      acc += __builtin_convertvector(v, Words16) - 128;
    }
    acc += 128;
    acc = acc < 0 ? 0 : acc;
    acc = acc > 255 ? 255 : acc;
    const Bytes16 o = __builtin_convertvector(acc, Bytes16);
    std::memcpy(out + i, &o, 16);
  }
  for (; i < len; ++i) {
    int v = 128;
    for (int j = 0; j < k; ++j) v += src[j][i] - 128;
    out[i] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
  }
}

void mix_loop_floor(benchmark::State& state) {
  constexpr size_t kSecond = 11025;
  std::vector<std::vector<uint8_t>> noise(8, std::vector<uint8_t>(kSecond));
  uint32_t seed = 12345;
  for (auto& channel : noise)
    for (auto& v : channel) {
      seed = seed * 1103515245u + 12345u;
      v = static_cast<uint8_t>(96 + (seed >> 24) % 64);
    }
  const uint8_t* src[8];
  for (int c = 0; c < 8; ++c) src[c] = noise[c].data();
  std::vector<uint8_t> out(kSecond);
  for (auto _ : state) {
    sum_and_hold(out.data(), src, 8, kSecond);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.counters["x_real_time"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(mix_loop_floor)->Unit(benchmark::kMicrosecond);

// Milliseconds of virtual time from play_wave to the first byte of the sound at the device:
// handed to it (written) and played by it (heard). Scenarios: 0 the mixer idle; 1 another
// channel playing, flags 0; 2 another channel playing, flag 4 (start at the play position).
void latency(benchmark::State& state) {
  const int remix = static_cast<int>(state.range(0));
  const int scenario = static_cast<int>(state.range(1));
  double written_ms = 0, heard_ms = 0;
  for (auto _ : state) {
    Bench b(remix == 2 ? "[default]\nRemix=2\n" : "");
    Wave* background = b.sound(std::vector<uint8_t>(11025, 148));
    Wave* sound = b.sound(std::vector<uint8_t>(2000, 168));  // alone 168, over the background 188
    if (scenario > 0) {
      b.mixer->play_wave(1, background, kLoopForever, 0);
      b.device.advance(100);
    }
    const size_t written_from = b.device.given().size();
    const size_t heard_from = b.device.played().size();
    b.mixer->play_wave(0, sound, 0, scenario == 2 ? kPlayFromDevice : 0);
    // The index of the sound's first byte, or kNotYet.
    constexpr size_t kNotYet = SIZE_MAX;
    auto first = [](const std::vector<uint8_t>& bytes, size_t from) -> size_t {
      for (size_t i = from; i < bytes.size(); ++i)
        if (bytes[i] >= 168) return i;
      return kNotYet;
    };
    int ms = 0;
    bool written = false;
    size_t heard_at = kNotYet;
    while (ms < 3000 && (heard_at = first(b.device.played(), heard_from)) == kNotYet) {
      if (!written && first(b.device.given(), written_from) != kNotYet) {
        written = true;
        written_ms = ms;
      }
      b.device.advance(1);
      ++ms;
    }
    if (!written) written_ms = ms;
    if (heard_at == kNotYet) {
      state.SkipWithError("the sound never reached the device");
      break;
    }
    // The device plays without a pause here (silence while it has nothing), so the bytes it
    // played before the sound are the time it took.
    heard_ms = static_cast<double>(heard_at - heard_from) * 1000.0 / b.device.format().avg_bytes_per_sec;
  }
  state.counters["written_ms"] = written_ms;
  state.counters["heard_ms"] = heard_ms;
}
BENCHMARK(latency)
    ->ArgNames({"Remix", "scenario"})
    ->ArgsProduct({{1, 2}, {0, 1, 2}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
