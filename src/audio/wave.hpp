// The sounds the mixer plays, and their loading from wave files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/audio_device.hpp"

class RiffSource;

// A sound ready to mix: the samples converted once, at load time, to the session's output
// format, so that playing is a byte-wise sum. Made only by the loaders below, so a wave always
// holds at least one byte.
class Wave {
 public:
  // The file's own format record, as it was read.
  const PcmFormat& file_format() const { return file_format_; }
  // The samples in the output format.
  const uint8_t* data() const { return data_.data(); }
  uint32_t length() const { return static_cast<uint32_t>(data_.size()); }
  // The file name as passed, cut to 15 characters.
  const std::string& name() const { return name_; }

 private:
  friend std::unique_ptr<Wave> read_wave(const RiffSource& source, const PcmFormat& output, std::unique_ptr<Wave> wave);
  friend std::unique_ptr<Wave> new_wave(const std::string& name);
  friend class SoundMixer;
  Wave() = default;

  PcmFormat file_format_;
  std::vector<uint8_t> data_;
  std::string name_;
  // The component's list of the waves it handed out, so that none outlives it.
  Wave* prev_loaded_ = nullptr;
  Wave* next_loaded_ = nullptr;
};

// No sound may hold more than this after conversion: a file whose size fields or rate would
// make it bigger is refused as too big for memory, as it would be on a small machine.
constexpr size_t kMaxWaveBytes = size_t{64} << 20;

// An empty wave record named after `name` (cut to 15 characters).
std::unique_ptr<Wave> new_wave(const std::string& name);

// Reads the wave of a RIFF source into `wave` and converts it to `output`. MixerError on any
// fault of the source; nothing is kept then.
std::unique_ptr<Wave> read_wave(const RiffSource& source, const PcmFormat& output, std::unique_ptr<Wave> wave);

// Converts PCM samples of format `from` to `to` (8 bits a sample): sample size, then channels,
// then rate. MixerError when it cannot.
std::vector<uint8_t> convert_samples(std::vector<uint8_t> data, const PcmFormat& from, const PcmFormat& to);

// The two ways in: a file, and a wave file's image in memory (not copied; only read here).
std::unique_ptr<Wave> read_wave_file(const std::string& path, const PcmFormat& output);
std::unique_ptr<Wave> read_wave_image(const void* image, size_t size, const std::string& name, const PcmFormat& output);
