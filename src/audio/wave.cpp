// Waves read from a RIFF file or image, and their samples converted to the output format.
#include "audio/wave.hpp"

#include <cerrno>
#include <new>

#include "audio/mixer_error.hpp"
#include "audio/riff_reader.hpp"

namespace {

constexpr size_t kNameLength = 15;

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

MixerError conversion_failed() { return MixerError("Failed to convert wave format"); }

// An output buffer of n bytes, refused when a sound would grow beyond what we hold.
std::vector<uint8_t> output_buffer(uint64_t n) {
  if (n > kMaxWaveBytes) throw out_of_memory_error();
  return std::vector<uint8_t>(static_cast<size_t>(n));
}

// 16-bit signed samples to 8-bit unsigned: the high byte, its top bit inverted. A trailing odd
// byte is half a sample and is left out.
std::vector<uint8_t> to_8_bits(const std::vector<uint8_t>& in) {
  std::vector<uint8_t> out = output_buffer(in.size() / 2);
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<uint8_t>(in[2 * i + 1] ^ 0x80);
  return out;
}

std::vector<uint8_t> mono_to_stereo(const std::vector<uint8_t>& in) {
  std::vector<uint8_t> out = output_buffer(uint64_t{in.size()} * 2);
  for (size_t i = 0; i < in.size(); ++i) out[2 * i] = out[2 * i + 1] = in[i];
  return out;
}

std::vector<uint8_t> stereo_to_mono(const std::vector<uint8_t>& in) {
  std::vector<uint8_t> out = output_buffer(in.size() / 2);
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<uint8_t>((in[2 * i] + in[2 * i + 1]) / 2);
  return out;
}

// To a rate f times higher: each frame, then f − 1 frames stepping toward the next one by
// (next − this) / f each; the last frame is held f times.
std::vector<uint8_t> raise_rate(const std::vector<uint8_t>& in, size_t frame, uint32_t f) {
  const size_t frames = in.size() / frame;
  std::vector<uint8_t> out = output_buffer(uint64_t{frames} * f * frame);
  uint8_t* o = out.data();
  for (size_t i = 0; i < frames; ++i) {
    const uint8_t* now = &in[i * frame];
    const uint8_t* next = i + 1 < frames ? now + frame : now;
    for (uint32_t k = 0; k < f; ++k)
      for (size_t c = 0; c < frame; ++c) {
        const int step = (next[c] - now[c]) / static_cast<int>(f);
        *o++ = static_cast<uint8_t>(now[c] + static_cast<int>(k) * step);
      }
  }
  return out;
}

// To a rate f times lower: n = frames / f output frames; each of the first n − 1 is the average
// of a group of f frames, the last is the first frame of the last group.
std::vector<uint8_t> lower_rate(const std::vector<uint8_t>& in, size_t frame, size_t f) {
  const size_t n = in.size() / frame / f;
  std::vector<uint8_t> out = output_buffer(uint64_t{n} * frame);
  for (size_t j = 0; j < n; ++j) {
    const uint8_t* group = &in[j * f * frame];
    for (size_t c = 0; c < frame; ++c) {
      if (j + 1 == n) {
        out[j * frame + c] = group[c];
        continue;
      }
      int sum = 0;
      for (size_t k = 0; k < f; ++k) sum += group[k * frame + c] - 128;
      out[j * frame + c] = static_cast<uint8_t>(128 + sum / static_cast<int>(f));
    }
  }
  return out;
}

}  // namespace

std::vector<uint8_t> convert_samples(std::vector<uint8_t> data, const PcmFormat& from, const PcmFormat& to) {
  if (from.bits_per_sample != to.bits_per_sample) {
    if ((from.bits_per_sample != 8 && from.bits_per_sample != 16) || to.bits_per_sample != 8)
      throw MixerError("File format not supported");
    data = to_8_bits(data);
  }
  if (from.channels != to.channels) {
    if (from.channels == 1 && to.channels == 2)
      data = mono_to_stereo(data);
    else if (from.channels == 2 && to.channels == 1)
      data = stereo_to_mono(data);
    else
      throw conversion_failed();
  }
  if (from.samples_per_sec != to.samples_per_sec) {
    if (from.samples_per_sec == 0 || to.samples_per_sec == 0) throw conversion_failed();
    const size_t frame = to.channels;
    if (from.samples_per_sec < to.samples_per_sec)
      data = raise_rate(data, frame, to.samples_per_sec / from.samples_per_sec);
    else
      // In 64 bits: a file may claim a rate near 2^32.
      data = lower_rate(data, frame, (uint64_t{from.samples_per_sec} + to.samples_per_sec / 2) / to.samples_per_sec);
  }
  // Nothing left (less than one sample, or less than one group of frames): there is no sound to
  // play, and a wave of no length cannot be looped.
  if (data.empty()) throw conversion_failed();
  return data;
}

std::unique_ptr<Wave> new_wave(const std::string& name) {
  try {
    std::unique_ptr<Wave> wave(new Wave);
    wave->name_ = name.substr(0, kNameLength);
    return wave;
  } catch (const std::bad_alloc&) {
    throw out_of_memory_error();
  }
}

std::unique_ptr<Wave> read_wave(const RiffSource& source, const PcmFormat& output, std::unique_ptr<Wave> wave) {
  RiffChunk form;
  if (!find_riff_form(source, fourcc("WAVE"), form)) throw MixerError("This is not a WAVE file");
  RiffChunk fmt;
  if (!find_chunk(source, fourcc("fmt "), form.data_offset, form.declared_end, fmt))
    throw MixerError("WAVE file is corrupted");
  uint8_t record[16];
  if (fmt.size < sizeof record || !source.read(fmt.data_offset, record, sizeof record))
    throw MixerError("Failed to read format chunk");
  PcmFormat& f = wave->file_format_;
  f.format_tag = le16(record);
  f.channels = le16(record + 2);
  f.samples_per_sec = le32(record + 4);
  f.avg_bytes_per_sec = le32(record + 8);
  f.block_align = le16(record + 12);
  f.bits_per_sample = le16(record + 14);
  if (f.format_tag != 1) throw MixerError("The file is not a PCM file");
  // The data chunk is looked for after the format chunk, as a wave file has them.
  RiffChunk data_chunk;
  if (!find_chunk(source, fourcc("data"), fmt.next(), form.declared_end, data_chunk))
    throw MixerError("WAVE file has no data chunk");
  if (data_chunk.size == 0) throw MixerError("The data chunk has no data");
  if (data_chunk.data_offset > source.size() || source.size() - data_chunk.data_offset < data_chunk.size)
    throw MixerError("Failed to read data chunk");
  try {
    std::vector<uint8_t> samples(data_chunk.size);
    if (!source.read(data_chunk.data_offset, samples.data(), samples.size()))
      throw MixerError("Failed to read data chunk");
    wave->data_ = convert_samples(std::move(samples), f, output);
  } catch (const std::bad_alloc&) {
    throw out_of_memory_error();
  }
  return wave;
}

std::unique_ptr<Wave> read_wave_file(const std::string& path, const PcmFormat& output) {
  std::unique_ptr<Wave> wave = new_wave(path);
  FileRiffSource file;
  if (!file.open(path)) throw MixerError("Failed to open wave file " + path);
  return read_wave(file, output, std::move(wave));
}

std::unique_ptr<Wave> read_wave_image(const void* image, size_t size, const std::string& name, const PcmFormat& output) {
  std::unique_ptr<Wave> wave = new_wave(name);
  // An image that is not there cannot be opened as a memory file: the reader's "invalid argument".
  if (!image || size == 0)
    throw MixerError("Failed to open memory file, mmioOpen error=" + std::to_string(EINVAL) +
                     ".\rMay need to make sure memory is read-write");
  MemoryRiffSource memory(image, size);
  return read_wave(memory, output, std::move(wave));
}
