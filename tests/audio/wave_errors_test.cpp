// Broken wave files: each gives its MixerError, nothing is kept, and the mixer plays on.
// (Run under the sanitizers, these also show that nothing leaks.)
#include <gtest/gtest.h>

#include "audio/audio_support.hpp"

using namespace audio_test;

namespace {

std::string load_error(MixerRig& rig, const Bytes& image) {
  try {
    rig.load(image);
  } catch (const MixerError& e) {
    return e.what();
  }
  return "(loaded)";
}

std::string load_error(const Bytes& image) {
  MixerRig rig;
  const std::string message = load_error(rig, image);
  // The failure took nothing: the mixer still loads and plays.
  Wave* w = rig.sound({1, 2, 3});
  rig.mixer->play_wave(0, w, 0, 0);
  EXPECT_EQ(slice(rig.device.given(), 0, 3), (Bytes{1, 2, 3}));
  return message;
}

Bytes fmt_chunk(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  return chunk("fmt ", format_record(tag, channels, rate, bits));
}

}  // namespace

TEST(WaveErrors, EachBrokenFileGivesItsMessage) {
  const Bytes pcm = format_record(1, 1, 11025, 8);
  const Bytes some = ramp(20, 100);
  struct Case {
    const char* what;
    Bytes image;
    const char* message;
  };
  Bytes short_record = pcm;
  short_record.resize(14);
  Bytes fmt_past_end = chunk("fmt ", pcm, 1000);
  Bytes fmt_cut = chunk("fmt ", pcm, 16);
  fmt_cut.resize(8 + 10);
  Bytes riff_too_small = plain_wave(some);
  riff_too_small[4] = 4;
  riff_too_small[5] = riff_too_small[6] = riff_too_small[7] = 0;
  const Case cases[] = {
      {"one byte", {'R'}, "This is not a WAVE file"},
      {"too short for a header", {'R', 'I', 'F', 'F', 4, 0}, "This is not a WAVE file"},
      {"big-endian RIFX", riff("WAVE", {fmt_chunk(1, 1, 11025, 8), chunk("data", some)}, "RIFX"), "This is not a WAVE file"},
      {"another form", riff("AVI ", {fmt_chunk(1, 1, 11025, 8), chunk("data", some)}), "This is not a WAVE file"},
      {"no chunks", riff("WAVE", {}), "WAVE file is corrupted"},
      {"no format chunk", riff("WAVE", {chunk("data", some)}), "WAVE file is corrupted"},
      {"RIFF size leaves out the chunks", riff_too_small, "WAVE file is corrupted"},
      {"short format chunk", riff("WAVE", {chunk("fmt ", short_record), chunk("data", some)}), "Failed to read format chunk"},
      {"format chunk cut off by the file's end", riff("WAVE", {fmt_cut}), "Failed to read format chunk"},
      {"format chunk larger than the file", riff("WAVE", {fmt_past_end}), "WAVE file has no data chunk"},
      {"IEEE float samples", riff("WAVE", {fmt_chunk(3, 1, 11025, 32), chunk("data", some)}), "The file is not a PCM file"},
      {"extensible format", riff("WAVE", {fmt_chunk(0xFFFE, 2, 44100, 16), chunk("data", some)}), "The file is not a PCM file"},
      {"no data chunk", riff("WAVE", {fmt_chunk(1, 1, 11025, 8)}), "WAVE file has no data chunk"},
      {"data chunk before the format", riff("WAVE", {chunk("data", some), fmt_chunk(1, 1, 11025, 8)}), "WAVE file has no data chunk"},
      {"empty data chunk", riff("WAVE", {fmt_chunk(1, 1, 11025, 8), chunk("data", {})}), "The data chunk has no data"},
      {"data chunk larger than the file", riff("WAVE", {fmt_chunk(1, 1, 11025, 8), chunk("data", some, 5000)}), "Failed to read data chunk"},
      {"data chunk size near 4 GiB", riff("WAVE", {fmt_chunk(1, 1, 11025, 8), chunk("data", some, 0xFFFFFFFF)}), "Failed to read data chunk"},
      {"24-bit samples", wave_file(1, 11025, 24, ramp(30, 0)), "File format not supported"},
      {"32-bit samples", wave_file(1, 11025, 32, ramp(32, 0)), "File format not supported"},
      {"4-bit samples", wave_file(1, 11025, 4, ramp(32, 0)), "File format not supported"},
      {"zero channels", wave_file(0, 11025, 8, some), "Failed to convert wave format"},
      {"three channels", wave_file(3, 11025, 8, some), "Failed to convert wave format"},
      {"sample rate 0", wave_file(1, 0, 8, some), "Failed to convert wave format"},
      {"sample rate near 2^32", wave_file(1, 0xFFFFFFFF, 8, some), "Failed to convert wave format"},
      {"half a 16-bit sample", wave_file(1, 11025, 16, {7}), "Failed to convert wave format"},
      {"less than one group of frames", wave_file(1, 44100, 8, {1, 2, 3}), "Failed to convert wave format"},
      {"a sound too big to hold", wave_file(1, 1, 8, ramp(7000, 0)),
       "Unable to allocate memory for waveform data.  Try making more memory available by closing other applications."},
  };
  for (const Case& c : cases) EXPECT_EQ(load_error(c.image), c.message) << c.what;
}

TEST(WaveErrors, AFileCutAtEveryOffsetGivesTheMessageOfWhatIsMissing) {
  // RIFF header 0–11, format chunk header 12–19, its record 20–35, data header 36–43, data 44–…
  const Bytes whole = plain_wave(ramp(25, 60));
  ASSERT_EQ(whole.size(), 44u + 26u);  // 25 bytes of data and a pad byte
  MixerRig rig;
  for (size_t cut = 0; cut < whole.size(); ++cut) {
    const Bytes image(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
    const char* expected = cut < 12   ? "This is not a WAVE file"
                           : cut < 20 ? "WAVE file is corrupted"
                           : cut < 36 ? "Failed to read format chunk"
                           : cut < 44 ? "WAVE file has no data chunk"
                           : cut < 69 ? "Failed to read data chunk"
                                      : "(loaded)";  // only the pad byte is missing
    if (cut == 0) expected = "Failed to open memory file, mmioOpen error=22.\rMay need to make sure memory is read-write";
    EXPECT_EQ(load_error(rig, image), expected) << "cut at " << cut;
  }
  EXPECT_EQ(rig.status().free_requests, 99);
}

TEST(WaveErrors, AMissingImageCannotBeOpenedAsAMemoryFile) {
  MixerRig rig;
  const char* message = "Failed to open memory file, mmioOpen error=22.\rMay need to make sure memory is read-write";
  try {
    rig.mixer->load_wave_image(nullptr, 100);
    ADD_FAILURE();
  } catch (const MixerError& e) {
    EXPECT_STREQ(e.what(), message);
  }
  const Bytes image = plain_wave({1});
  try {
    rig.mixer->load_wave_image(image.data(), 0);
    ADD_FAILURE();
  } catch (const MixerError& e) {
    EXPECT_STREQ(e.what(), message);
  }
}

TEST(WaveErrors, AFileThatCannotBeOpenedIsNamed) {
  MixerRig rig;
  const std::string missing = rig.folder.file("nothing.wav");
  try {
    rig.mixer->load_wave(missing);
    ADD_FAILURE();
  } catch (const MixerError& e) {
    EXPECT_EQ(e.what(), "Failed to open wave file " + missing);
  }
  try {
    rig.mixer->load_wave(rig.folder.path().string());  // a folder is no wave file
    ADD_FAILURE();
  } catch (const MixerError& e) {
    EXPECT_EQ(e.what(), "Failed to open wave file " + rig.folder.path().string());
  }
}

TEST(WaveErrors, BrokenFilesOnDiskGiveTheSameMessages) {
  MixerRig rig;
  rig.folder.write("cut.wav", slice(plain_wave(ramp(25, 60)), 0, 50));
  rig.folder.write("float.wav", riff("WAVE", {fmt_chunk(3, 1, 11025, 32), chunk("data", {1, 2, 3, 4})}));
  rig.folder.write("empty.wav", Bytes{});
  for (auto [name, message] : {std::pair{"cut.wav", "Failed to read data chunk"},
                               {"float.wav", "The file is not a PCM file"},
                               {"empty.wav", "This is not a WAVE file"}}) {
    try {
      rig.mixer->load_wave(rig.folder.file(name));
      ADD_FAILURE() << name;
    } catch (const MixerError& e) {
      EXPECT_STREQ(e.what(), message) << name;
    }
  }
}

TEST(WaveErrors, ADeviceThatRefusesTheFormatIsAskedFirst) {
  MixerRig rig;
  rig.device.options.accepts_format = false;
  try {
    rig.mixer->load_wave(rig.folder.file("nothing.wav"));
    ADD_FAILURE();
  } catch (const MixerError& e) {
    EXPECT_STREQ(e.what(), "The waveform device can\xB4t play this format");
  }
  EXPECT_EQ(load_error(rig, plain_wave({1})), "The waveform device can\xB4t play this format");
}
