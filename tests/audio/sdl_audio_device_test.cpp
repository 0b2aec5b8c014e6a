// The mixer through SDL's real audio output: with the file-writing driver, the bytes the mixer
// wrote must come out in the file; with no driver at all, the mixer refuses to start.
#include <gtest/gtest.h>

#include <SDL.h>

#include <fstream>
#include <iterator>

#include "audio/audio_support.hpp"
#include "platform/sdl/sdl_audio_device.hpp"

using namespace audio_test;

namespace {

// Passes everything to the real device and keeps the bytes of each block written.
class RecordingDevice : public AudioDevice {
 public:
  explicit RecordingDevice(AudioDevice& inner) : inner_(inner) {}
  Bytes written;

  int64_t now_ms() override { return inner_.now_ms(); }
  int count() override { return inner_.count(); }
  bool capabilities(int device, DeviceCaps& caps) override { return inner_.capabilities(device, caps); }
  bool supports(int device, const PcmFormat& format) override { return inner_.supports(device, format); }
  int open(int device, const PcmFormat& format, BlockDoneListener* listener) override {
    return inner_.open(device, format, listener);
  }
  void close() override { inner_.close(); }
  int prepare(DeviceBlock& block) override { return inner_.prepare(block); }
  void unprepare(DeviceBlock& block) override { inner_.unprepare(block); }
  int write(DeviceBlock& block) override {
    const int result = inner_.write(block);
    if (result == 0) written.insert(written.end(), block.data, block.data + block.length);
    return result;
  }
  void pause() override { inner_.pause(); }
  void restart() override { inner_.restart(); }
  void reset() override { inner_.reset(); }
  uint64_t position() override { return inner_.position(); }

 private:
  AudioDevice& inner_;
};

// The disk driver plays in real time, so a busy machine only makes the sound take longer. This is
// no measure of speed: it only ends the test, failed, if the sound never finishes.
constexpr Uint64 kHangGuardMs = 20'000;  // well inside the test's own 60 s limit, so a hang says which

bool contains(const Bytes& haystack, const Bytes& needle) {
  return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

}  // namespace

TEST(SdlAudioDevice, TheBytesTheMixerWroteReachTheOutput) {
  ASSERT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "another test left SDL's audio running";
  ScratchFolder folder;
  const std::string out = folder.file("output.raw");
  ScopedEnv driver("SDL_AUDIODRIVER", "disk");
  ScopedEnv file("SDL_DISKAUDIOFILE", out.c_str());
  // Two sounds on two channels: the second starts where mixing stands after the first (6144).
  const Bytes first = ramp(5000, 1, 3), second = ramp(4000, 200, 5);
  Bytes written;
  Uint64 took_ms = 0;
  {
    SdlAudioDevice sdl;
    ASSERT_TRUE(sdl.started()) << SDL_GetError();
    ASSERT_STREQ(SDL_GetCurrentAudioDriver(), "disk");
    RecordingDevice device(sdl);
    MixerSystem system(device, folder.file("SOUNDMIX.INI"));
    SoundMixer mixer(system);
    mixer.set_activated(true);
    mixer.set_channels(3);
    EXPECT_EQ(mixer_status(mixer.session()).format, (PcmFormat{1, 1, 11025, 11025, 1, 8}));
    Wave* a = mixer.load_wave_image(plain_wave(first).data(), plain_wave(first).size());
    Wave* b = mixer.load_wave_image(plain_wave(second).data(), plain_wave(second).size());
    const Uint64 start = SDL_GetTicks64();
    mixer.play_wave(0, a, 0, 0);
    mixer.play_wave(1, b, 0, 0);
    // The event loop: the device's events refill the blocks until everything has been played.
    for (;;) {
      const MixerStatus st = mixer_status(mixer.session());
      if (st.queued[0] + st.queued[1] == 0 && st.blocks_at_device == 0) break;
      ASSERT_LT(SDL_GetTicks64() - start, kHangGuardMs) << "the sound never finished";
      SDL_Event event;
      if (SDL_WaitEventTimeout(&event, 50)) sdl.handle_event(event);
    }
    took_ms = SDL_GetTicks64() - start;
    written = device.written;
    // Once the last period has been heard the device rests until the next sound.
    while (!sdl.resting()) {
      ASSERT_LT(SDL_GetTicks64() - start, kHangGuardMs) << "the device never rested";
      SDL_Event event;
      if (SDL_WaitEventTimeout(&event, 50)) sdl.handle_event(event);
    }
  }  // closing the device closes the file
  // first from 0, second from 6144 (where mixing stood), to the end of the fifth block
  ASSERT_EQ(written.size(), 5u * 2048u);
  EXPECT_EQ(slice(written, 0, 5000), first);
  EXPECT_EQ(slice(written, 6144, 4000), second);
  EXPECT_GE(took_ms, 900u);  // played no faster than real time: 10240 bytes at 11025 a second
  std::ifstream in(out, std::ios::binary);
  const Bytes output((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_GE(output.size(), written.size());
  EXPECT_TRUE(contains(output, written)) << "output of " << output.size() << " bytes";
}

TEST(SdlAudioDevice, WithoutAnyAudioDriverThereIsNoDeviceAndNoMixer) {
  ASSERT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
  SdlAudioDevice sdl;
  EXPECT_FALSE(sdl.started());
  EXPECT_EQ(sdl.count(), 0);
  MixerSystem system(sdl, "");
  try {
    SoundMixer mixer(system);
    ADD_FAILURE();
  } catch (const MixerError& e) {
    EXPECT_STREQ(e.what(), "Initialization failed (mixer_init)");
  }
}

TEST(SdlAudioDevice, DevicesAreTheDefaultThenThoseSdlLists) {
  ASSERT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  SdlAudioDevice sdl;
  ASSERT_TRUE(sdl.started());
  ASSERT_EQ(sdl.count(), SDL_GetNumAudioDevices(0) + 1);
  DeviceCaps caps;
  ASSERT_TRUE(sdl.capabilities(1, caps));
  EXPECT_EQ(caps.name, SDL_GetAudioDeviceName(0, 0));
  EXPECT_FALSE(sdl.capabilities(sdl.count(), caps));
  EXPECT_TRUE(sdl.supports(0, PcmFormat{1, 1, 11025, 11025, 1, 8}));
  EXPECT_FALSE(sdl.supports(0, PcmFormat{3, 1, 11025, 44100, 4, 32}));
  // The dummy driver opens in the format asked for; a second open is refused.
  BlockDoneListener* none = nullptr;
  ASSERT_EQ(sdl.open(0, PcmFormat{1, 1, 22050, 22050, 1, 8}, none), 0);
  EXPECT_EQ(sdl.open(0, PcmFormat{1, 1, 22050, 22050, 1, 8}, none), kDeviceAllocated);
  EXPECT_NE(sdl.event_type(), 0u);
  SDL_Event other;
  SDL_zero(other);
  other.type = SDL_KEYDOWN;
  EXPECT_FALSE(sdl.handle_event(other));  // not the device's: left to the window
  SDL_Event own;
  SDL_zero(own);
  own.type = sdl.event_type();
  EXPECT_TRUE(sdl.handle_event(own));
  sdl.close();
}
