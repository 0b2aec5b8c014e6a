// Loading waves: the RIFF reading and every conversion path, with exact bytes.
#include <gtest/gtest.h>

#include "audio/audio_support.hpp"

using namespace audio_test;

namespace {

// 16-bit little-endian samples.
Bytes samples16(std::initializer_list<int> values) {
  Bytes b;
  for (int v : values) put16(b, static_cast<uint16_t>(v));
  return b;
}

// The samples of a wave loaded into a session made by mixer_init with this request.
Bytes converted_in(const InitRequest& request, uint16_t device_channels, const Bytes& image) {
  Rig rig;
  rig.device.options.caps_channels = device_channels;
  MixerSession* s = mixer_init(*rig.system, &request);
  std::unique_ptr<Wave> w = mixer_load_wave_image(s, image.data(), image.size());
  Bytes out(w->data(), w->data() + w->length());
  close_session(s);
  return out;
}

InitRequest stereo_request(uint16_t rate = 0) {
  InitRequest r;
  r.flags = kInitStereo | (rate ? kInitRate : 0);
  r.channels = 2;
  r.rate = rate;
  return r;
}

}  // namespace

TEST(WaveConversion, OutputFormatSamplesPassUnchanged) {
  const Bytes s = ramp(1000, 3, 7);
  EXPECT_EQ(converted(plain_wave(s)), s);
}

TEST(WaveConversion, SixteenBitsKeepTheHighByteWithItsTopBitInverted) {
  Bytes data = samples16({0x0000, 0x7FFF, -32768, -1, 0x1234, 0x00FF});
  data.push_back(0x55);  // half a sample at the end is left out
  EXPECT_EQ(converted(wave_file(1, 11025, 16, data)), (Bytes{0x80, 0xFF, 0x00, 0x7F, 0x92, 0x80}));
}

TEST(WaveConversion, StereoBecomesMonoByHalfTheSumOfEachPair) {
  const Bytes data{10, 20, 255, 254, 0, 1, 128, 128, 3};  // the odd byte is half a frame
  EXPECT_EQ(converted(wave_file(2, 11025, 8, data)), (Bytes{15, 254, 0, 128}));
}

TEST(WaveConversion, SixteenBitStereoIsReducedInSizeThenInChannels) {
  // (0x1000, 0x3000) → bytes 0x90, 0xB0 → 0xA0; (−0x8000, 0x7FFF) → 0x00, 0xFF → 0x7F.
  EXPECT_EQ(converted(wave_file(2, 11025, 16, samples16({0x1000, 0x3000, -32768, 0x7FFF}))), (Bytes{0xA0, 0x7F}));
}

TEST(WaveConversion, MonoBecomesStereoInAStereoSessionByRepeatingEachSample) {
  EXPECT_EQ(converted_in(stereo_request(), 2, plain_wave({10, 20, 30})), (Bytes{10, 10, 20, 20, 30, 30}));
}

TEST(WaveConversion, StereoStaysStereoInAStereoSession) {
  EXPECT_EQ(converted_in(stereo_request(), 2, wave_file(2, 11025, 8, {1, 2, 3, 4})), (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(converted_in(stereo_request(), 2, wave_file(2, 11025, 16, samples16({0x0100, -256}))), (Bytes{0x81, 0x7F}));
}

TEST(WaveConversion, AStereoRequestOnAMonoDeviceGivesAMonoSession) {
  Rig rig;
  rig.device.options.caps_channels = 1;
  const InitRequest request = stereo_request();
  MixerSession* s = mixer_init(*rig.system, &request);
  EXPECT_EQ(mixer_status(s).format.channels, 1);
  close_session(s);
  EXPECT_EQ(converted_in(stereo_request(), 1, wave_file(2, 11025, 8, {10, 20})), (Bytes{15}));
}

TEST(WaveConversion, DoubleRateStepsHalfWayToTheNextFrameAndHoldsTheLast) {
  // Steps are (next − this) / 2, truncated: (15 − 20) / 2 = −2.
  EXPECT_EQ(converted(plain_wave({10, 20, 15, 200}), "[default]\nSamplesPerSec=22\n"),
            (Bytes{10, 15, 20, 18, 15, 107, 200, 200}));
}

TEST(WaveConversion, FourTimesTheRateStepsAQuarterAtATime) {
  // From 0 to 255: steps of 63; from 255 to 100: steps of −155 / 4 = −38.
  EXPECT_EQ(converted(plain_wave({0, 255, 100}), "[default]\nSamplesPerSec=44\n"),
            (Bytes{0, 63, 126, 189, 255, 217, 179, 141, 100, 100, 100, 100}));
  EXPECT_EQ(converted(wave_file(1, 22050, 8, {0, 255, 100}), "[default]\nSamplesPerSec=44\n"),
            (Bytes{0, 127, 255, 178, 100, 100}));
}

TEST(WaveConversion, ARateBelowTwiceTheFileRateIsNotRaised) {
  // 8000 Hz into 11025 Hz: the factor 11025 / 8000 is 1.
  const Bytes s = ramp(50, 0, 5);
  EXPECT_EQ(converted(wave_file(1, 8000, 8, s)), s);
}

TEST(WaveConversion, HalfTheRateAveragesPairsTowardZeroAndKeepsTheFirstFrameOfTheLastGroup) {
  // (10, 20) → 128 + (−118 − 108) / 2 = 15; (30, 41) → 128 + (−185 / 2 = −92) = 36;
  // the third group (0, 255) gives its first frame, 0; the seventh frame is no whole group.
  EXPECT_EQ(converted(wave_file(1, 22050, 8, {10, 20, 30, 41, 0, 255, 7})), (Bytes{15, 36, 0}));
}

TEST(WaveConversion, LowerRatesUseTheNearestWholeFactor) {
  // 48000 → 11025: (48000 + 5512) / 11025 = 4; 32000: 3; 16000: 1 (unchanged).
  EXPECT_EQ(converted(wave_file(1, 48000, 8, {128, 132, 136, 140, 200, 0, 0, 0, 9})), (Bytes{134, 200}));
  EXPECT_EQ(converted(wave_file(1, 32000, 8, {100, 110, 120, 50, 60, 70, 1})), (Bytes{110, 50}));
  const Bytes s = ramp(40, 7, 3);
  EXPECT_EQ(converted(wave_file(1, 16000, 8, s)), s);
}

TEST(WaveConversion, StereoRatesConvertWholeFrames) {
  // Half the rate: the left and right averages of the first pair of frames, then the third frame.
  EXPECT_EQ(converted_in(stereo_request(), 2, wave_file(2, 22050, 8, {10, 200, 20, 100, 30, 0, 40, 50})),
            (Bytes{15, 150, 30, 0}));
  // Twice the rate, each side stepping on its own.
  EXPECT_EQ(converted_in(stereo_request(22), 2, wave_file(2, 11025, 8, {0, 100, 10, 50})),
            (Bytes{0, 100, 5, 75, 10, 50, 10, 50}));
}

TEST(WaveConversion, SixteenBitStereo44100BecomesEightBitMono11025WithAQuarterOfTheFrames) {
  const size_t frames = 4003;
  Bytes data;
  Bytes mono;  // after the first two steps: high byte with top bit inverted, then (l + r) / 2
  for (size_t i = 0; i < frames; ++i) {
    const int left = static_cast<int>((i * 2654435761u) % 65536) - 32768;
    const int right = static_cast<int>((i * 40503u + 12345u) % 65536) - 32768;
    put16(data, static_cast<uint16_t>(left));
    put16(data, static_cast<uint16_t>(right));
    const int l8 = ((static_cast<uint16_t>(left) >> 8) ^ 0x80);
    const int r8 = ((static_cast<uint16_t>(right) >> 8) ^ 0x80);
    mono.push_back(static_cast<uint8_t>((l8 + r8) / 2));
  }
  Bytes expected;
  for (size_t j = 0; j < 1000; ++j) {
    if (j == 999) {
      expected.push_back(mono[j * 4]);
      break;
    }
    int sum = 0;
    for (size_t k = 0; k < 4; ++k) sum += mono[j * 4 + k] - 128;
    expected.push_back(static_cast<uint8_t>(128 + sum / 4));
  }
  MixerRig rig;
  const Wave* w = rig.load(wave_file(2, 44100, 16, data));
  EXPECT_EQ(w->length(), frames / 4);
  EXPECT_EQ(Bytes(w->data(), w->data() + w->length()), expected);
  EXPECT_EQ(w->file_format(), (PcmFormat{1, 2, 44100, 44100 * 4, 4, 16}));
}

TEST(WaveLoading, ChunksBeforeTheFormatAreSkippedWithTheirPadding) {
  const Bytes image = riff("WAVE", {chunk("LIST", {1, 2, 3}), chunk("fmt ", format_record(1, 1, 11025, 8)),
                                    chunk("junk", {9}), chunk("data", {5, 6, 7})});
  EXPECT_EQ(converted(image), (Bytes{5, 6, 7}));
}

TEST(WaveLoading, AFormatChunkLongerThanSixteenBytesIsRead) {
  Bytes record = format_record(1, 1, 11025, 8);
  put16(record, 0);  // the extra-size word some writers add
  EXPECT_EQ(converted(riff("WAVE", {chunk("fmt ", record), chunk("data", {1, 2})})), (Bytes{1, 2}));
}

TEST(WaveLoading, ARiffSizeBeyondTheFileIsHeldToTheFile) {
  Bytes image = plain_wave({1, 2, 3, 4});
  image[4] = 0xFF;
  image[5] = 0xFF;
  image[6] = 0xFF;
  EXPECT_EQ(converted(image), (Bytes{1, 2, 3, 4}));
}

TEST(WaveLoading, AnotherRiffFormBeforeTheWaveIsPassedOver) {
  const Bytes image = cat({riff("AVI ", {chunk("junk", {1, 2})}), plain_wave({8, 9})});
  EXPECT_EQ(converted(image), (Bytes{8, 9}));
}

TEST(WaveLoading, FromAFileWithItsNameCutToFifteenCharacters) {
  MixerRig rig;
  const std::string path = rig.folder.file("a-rather-long-name.wav");
  rig.folder.write("a-rather-long-name.wav", plain_wave({1, 2, 3}));
  const Wave* w = rig.mixer->load_wave(path);
  EXPECT_EQ(Bytes(w->data(), w->data() + w->length()), (Bytes{1, 2, 3}));
  EXPECT_EQ(w->name(), path.substr(0, 15));
  EXPECT_EQ(w->file_format(), (PcmFormat{1, 1, 11025, 11025, 1, 8}));
  EXPECT_EQ(rig.load(plain_wave({1}), "short.wav")->name(), "short.wav");
  EXPECT_EQ(rig.load(plain_wave({1}), "0123456789abcdefgh")->name(), "0123456789abcde");
}

TEST(WaveLoading, AWaveIsAlsoReadFromAnImageThatIsThenNotNeeded) {
  MixerRig rig;
  Bytes image = plain_wave(ramp(100, 1));
  Wave* w = rig.load(image);
  std::fill(image.begin(), image.end(), 0);
  EXPECT_EQ(Bytes(w->data(), w->data() + w->length()), ramp(100, 1));
  rig.mixer->release_wave(w);
}
