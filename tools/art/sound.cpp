// The game's sound effects, synthesised. They are written as 8-bit unsigned mono at 11025 Hz,
// the mixer's own output format, so it plays them as they are, with no conversion on loading.
// Every sound starts and ends on silence through short fades, so none of them clicks, and each
// is levelled to the same peak, 3 dB below full scale.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include "art.hpp"

namespace art {

namespace {

constexpr int kRate = 11025;
constexpr double kPi = std::numbers::pi;
constexpr double kPeak = 0.708;  // -3 dBFS

using Buffer = std::vector<double>;

Buffer silence(double seconds) { return Buffer(static_cast<size_t>(std::lround(seconds * kRate)), 0.0); }

double time_of(size_t i) { return static_cast<double>(i) / kRate; }

// A rise from 0 over `attack` seconds, then an exponential fall with time constant `tau`.
double pluck(double t, double attack, double tau) {
  if (t < 0) return 0;
  const double rise = attack > 0 ? std::min(1.0, t / attack) : 1.0;
  return rise * std::exp(-t / tau);
}

// Adds a bell-like note: a sine with a little of its octave and twelfth, while they stay below
// half the sample rate.
void add_note(Buffer& b, double start, double freq, double gain, double attack, double tau, double detune = 0) {
  const double partials[][2] = {{1, 1.0}, {2, 0.28}, {3, 0.08}};
  for (size_t i = 0; i < b.size(); ++i) {
    const double t = time_of(i) - start;
    if (t < 0) continue;
    const double e = pluck(t, attack, tau);
    if (e < 1e-5) continue;
    double v = 0;
    for (const auto& p : partials) {
      const double f = freq * p[0];
      if (f >= kRate * 0.45) continue;
      // The octave fades faster than the fundamental, as on a struck bar.
      v += p[1] * std::sin(2 * kPi * f * (1 + detune) * t) * std::exp(-t * (p[0] - 1) * 6);
    }
    b[i] += gain * e * v;
  }
}

// Fades the first and the last few milliseconds so the sound starts and stops on silence.
void fade_edges(Buffer& b, double in_s, double out_s) {
  const size_t n = b.size(), fi = static_cast<size_t>(in_s * kRate), fo = static_cast<size_t>(out_s * kRate);
  for (size_t i = 0; i < fi && i < n; ++i) b[i] *= static_cast<double>(i) / static_cast<double>(fi);
  for (size_t i = 0; i < fo && i < n; ++i) {
    const double g = static_cast<double>(i) / static_cast<double>(fo);
    b[n - 1 - i] *= g * g;
  }
}

// A one-pole low-pass filter, for softening noise and square waves.
void lowpass(Buffer& b, double cutoff) {
  const double a = 1 - std::exp(-2 * kPi * cutoff / kRate);
  double y = 0;
  for (double& x : b) {
    y += a * (x - y);
    x = y;
  }
}

void write_wave(Buffer b, const std::string& path, uint64_t seed) {
  double peak = 0;
  for (const double x : b) peak = std::max(peak, std::abs(x));
  if (peak <= 0) throw std::runtime_error("silent sound " + path);
  for (double& x : b) x *= kPeak / peak;
  // Round to 8 bits with a little triangular dither while the sound is audible; where it has
  // died away the samples are exact silence, so the tails carry no hiss.
  Rng rng(seed);
  std::vector<uint8_t> data;
  data.reserve(b.size() + 1);
  double level = 0;
  for (const double x : b) {
    level = std::max(std::abs(x), level * 0.995);
    const double gate = std::clamp(level * 60, 0.0, 1.0);
    const double u1 = rng.uniform(), u2 = rng.uniform();  // two statements keep the draw order fixed
    const double d = (u1 - u2) * gate;
    const long v = std::lround(x * 127 + d);
    data.push_back(static_cast<uint8_t>(128 + std::clamp(v, -127L, 127L)));
  }
  if (data.size() % 2) data.push_back(128);  // keep the data chunk even, no pad byte needed
  std::vector<uint8_t> out;
  auto u16 = [&out](uint32_t v) { put_u16(out, v); };
  auto u32 = [&out](uint32_t v) { put_u32(out, v); };
  auto tag = [&out](const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(t[i]));
  };
  const auto n = static_cast<uint32_t>(data.size());
  tag("RIFF");
  u32(36 + n);
  tag("WAVE");
  tag("fmt ");
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(kRate);
  u32(kRate);  // bytes per second
  u16(1);      // block alignment
  u16(8);      // bits per sample
  tag("data");
  u32(n);
  out.insert(out.end(), data.begin(), data.end());
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (!f) throw std::runtime_error("cannot write " + path);
  f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  if (!f) throw std::runtime_error("cannot write " + path);
}

// 1.wav: a short, soft click for buttons: a woody tick with a rounded body.
Buffer click() {
  Buffer b = silence(0.040);
  Rng rng(11);
  Buffer noise(b.size());
  for (size_t i = 0; i < b.size(); ++i) noise[i] = (rng.uniform() * 2 - 1) * pluck(time_of(i), 0.0005, 0.0025);
  lowpass(noise, 2500);
  for (size_t i = 0; i < b.size(); ++i) {
    const double t = time_of(i);
    b[i] = 0.55 * std::sin(2 * kPi * 1500 * t) * pluck(t, 0.0008, 0.0045) + 0.6 * std::sin(2 * kPi * 620 * t) * pluck(t, 0.0012, 0.009) +
           0.5 * noise[i];
  }
  fade_edges(b, 0.0005, 0.012);
  return b;
}

// on1.wav: a bright chime of three rising notes (C, E, G), the last one left to ring.
Buffer purchase() {
  Buffer b = silence(0.300);
  add_note(b, 0.000, 1046.5, 0.8, 0.003, 0.07);
  add_note(b, 0.065, 1318.5, 0.8, 0.003, 0.07);
  add_note(b, 0.130, 1568.0, 1.0, 0.003, 0.085);
  add_note(b, 0.130, 2093.0, 0.25, 0.004, 0.06, 0.002);
  fade_edges(b, 0.001, 0.030);
  return b;
}

// off1.wav: a low, buzzing "no" in two short pulses, the second a step lower.
Buffer refusal() {
  Buffer b = silence(0.250);
  struct Pulse {
    double start, len, freq;
  };
  for (const Pulse p : {Pulse{0.0, 0.095, 146.8}, Pulse{0.125, 0.125, 130.8}}) {
    for (size_t i = 0; i < b.size(); ++i) {
      const double t = time_of(i) - p.start;
      if (t < 0 || t > p.len) continue;
      // A band-limited square (odd harmonics up to 2 kHz), two voices slightly apart so
      // the tone beats and buzzes.
      double v = 0;
      for (int h = 1; h * p.freq < 2000; h += 2) {
        v += std::sin(2 * kPi * p.freq * h * t) / h;
        v += 0.7 * std::sin(2 * kPi * p.freq * 1.012 * h * t) / h;
      }
      const double rise = std::min(1.0, t / 0.004), fall = std::min(1.0, (p.len - t) / 0.015);
      b[i] += v * rise * fall * std::exp(-t / 0.12);
    }
  }
  lowpass(b, 1800);
  fade_edges(b, 0.001, 0.005);
  return b;
}

// item.wav: a quick glittering arpeggio climbing two octaves, then a shimmer that fades.
Buffer sparkle_sound() {
  Buffer b = silence(0.400);
  const double notes[] = {1046.5, 1318.5, 1568.0, 2093.0, 2637.0, 3136.0};
  for (int k = 0; k < 6; ++k) add_note(b, k * 0.034, notes[k], 0.7, 0.002, 0.06 + k * 0.008);
  // The shimmer: the top two notes with a fast flutter.
  for (size_t i = 0; i < b.size(); ++i) {
    const double t = time_of(i) - 0.17;
    if (t < 0) continue;
    const double flutter = 0.6 + 0.4 * std::sin(2 * kPi * 22 * t);
    b[i] += 0.35 * flutter * pluck(t, 0.01, 0.08) * (std::sin(2 * kPi * 2093 * t) + std::sin(2 * kPi * 2637 * 1.003 * t));
  }
  fade_edges(b, 0.001, 0.040);
  return b;
}

// walk.wav: three soft footsteps on an earth road, each a dull thump with a little crunch.
Buffer footsteps() {
  Buffer b = silence(0.500);
  Rng rng(55);
  Buffer crunch(b.size());
  for (size_t i = 0; i < b.size(); ++i) crunch[i] = rng.uniform() * 2 - 1;
  lowpass(crunch, 1400);
  const double steps[][2] = {{0.010, 1.0}, {0.180, 0.85}, {0.350, 0.95}};
  for (int k = 0; k < 3; ++k) {
    const double start = steps[k][0], gain = steps[k][1];
    double phase = 0;
    for (size_t i = 0; i < b.size(); ++i) {
      const double t = time_of(i) - start;
      if (t < 0 || t > 0.12) continue;
      // The heel: a low tone that drops in pitch as it dies.
      const double f = 95 + 60 * std::exp(-t / 0.02) + (k == 1 ? 8 : 0);
      phase += 2 * kPi * f / kRate;
      b[i] += gain * (0.9 * std::sin(phase) * pluck(t, 0.003, 0.03) + 0.55 * crunch[i] * pluck(t - 0.006, 0.002, 0.018));
    }
  }
  lowpass(b, 2200);
  fade_edges(b, 0.001, 0.040);
  return b;
}

}  // namespace

void write_sounds(const std::string& dir) {
  write_wave(click(), dir + "/1.wav", 1);
  write_wave(purchase(), dir + "/on1.wav", 2);
  write_wave(refusal(), dir + "/off1.wav", 3);
  write_wave(sparkle_sound(), dir + "/item.wav", 4);
  write_wave(footsteps(), dir + "/walk.wav", 5);
}

}  // namespace art
