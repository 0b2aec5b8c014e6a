#pragma once
// Helpers for the mixer's tests: wave file images made byte by byte, a scratch folder for
// settings files, and a mixer on the virtual device.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "audio/mixer_session.hpp"
#include "audio/sound_mixer.hpp"
#include "audio/virtual_audio_device.hpp"

namespace audio_test {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(Bytes& b, uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}
inline void put_id(Bytes& b, const char* id) { b.insert(b.end(), id, id + 4); }

// A chunk with the given header size (which may lie) and contents, padded to an even length.
inline Bytes chunk(const char* id, const Bytes& contents, int64_t declared = -1) {
  Bytes b;
  put_id(b, id);
  put32(b, declared < 0 ? static_cast<uint32_t>(contents.size()) : static_cast<uint32_t>(declared));
  b.insert(b.end(), contents.begin(), contents.end());
  if (contents.size() & 1) b.push_back(0);
  return b;
}

// A RIFF file of the form type holding the chunks one after the other.
inline Bytes riff(const char* form, const std::vector<Bytes>& chunks, const char* id = "RIFF") {
  Bytes body;
  put_id(body, form);
  for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
  Bytes b;
  put_id(b, id);
  put32(b, static_cast<uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

// The 16 bytes of a format chunk.
inline Bytes format_record(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  Bytes b;
  const uint32_t align = channels * ((bits + 7u) / 8u);
  put16(b, tag);
  put16(b, channels);
  put32(b, rate);
  put32(b, rate * align);
  put16(b, align);
  put16(b, bits);
  return b;
}

// A well-formed PCM wave file image.
inline Bytes wave_file(uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& samples) {
  return riff("WAVE", {chunk("fmt ", format_record(1, channels, rate, bits)), chunk("data", samples)});
}

// 8-bit mono 11025 Hz: the format every default session plays, so the samples pass unchanged.
inline Bytes plain_wave(const Bytes& samples) { return wave_file(1, 11025, 8, samples); }

// n bytes: value, value + step, … (wrapping).
inline Bytes ramp(size_t n, uint8_t value, uint8_t step = 1) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(value + i * step);
  return b;
}

inline Bytes filled(size_t n, uint8_t value) { return Bytes(n, value); }

inline Bytes cat(std::initializer_list<Bytes> parts) {
  Bytes b;
  for (const Bytes& p : parts) b.insert(b.end(), p.begin(), p.end());
  return b;
}

inline Bytes slice(const Bytes& b, size_t from, size_t n) {
  return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + n));
}

// The mix rule, for expected outputs.
inline Bytes mixed(std::initializer_list<Bytes> sources) {
  size_t n = 0;
  for (const Bytes& s : sources) n = std::max(n, s.size());
  Bytes out(n);
  for (size_t i = 0; i < n; ++i) {
    int v = 128;
    for (const Bytes& s : sources) v += (i < s.size() ? s[i] : 128) - 128;
    out[i] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
  }
  return out;
}

// A folder of its own, removed at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  void write(const std::string& name, const std::string& text) const;
  void write(const std::string& name, const Bytes& bytes) const;

 private:
  std::filesystem::path path_;
};

// A mixer on the virtual device, its clock starting at 1000 ms (a multiple of 40 ms, so that
// the clock and the device count the same bytes at 11025 Hz whenever time is a multiple of 40 ms).
// The settings file holds `settings` (none if empty).
struct Rig {
  explicit Rig(const std::string& settings = "");
  ScratchFolder folder;
  VirtualAudioDevice device{1000};
  std::unique_ptr<MixerSystem> system;
  std::string settings_path;
};

// A SoundMixer switched on with channels open, as the game has it.
struct MixerRig : Rig {
  explicit MixerRig(const std::string& settings = "", uint8_t channels = 0xFF);
  std::unique_ptr<SoundMixer> mixer;
  MixerSession* session() const { return mixer->session(); }
  MixerStatus status() const { return mixer_status(mixer->session()); }
  Wave* load(const Bytes& image, const std::string& name = "test") {
    return mixer->load_wave_image(image.data(), image.size(), name);
  }
  // A wave whose samples pass unchanged.
  Wave* sound(const Bytes& samples) { return load(plain_wave(samples)); }
};

// The converted samples of a wave image in a default session.
Bytes converted(const Bytes& image, const std::string& settings = "");

// Sets an environment variable for the scope, and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  bool had_ = false;
  std::string old_;
};

}  // namespace audio_test
