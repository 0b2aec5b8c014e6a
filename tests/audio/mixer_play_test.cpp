// Playing: what reaches the device, byte for byte, on the virtual device. The rig's clock starts
// at 1000 ms and the tests move it in multiples of 40 ms, where the millisecond clock and the
// device count the same number of bytes at 11025 Hz (441 per 40 ms).
#include <gtest/gtest.h>

#include <tuple>

#include "audio/audio_support.hpp"

using namespace audio_test;

namespace {

const std::string kRemix2 = "[default]\nRemix=2\n";

Bytes silence(size_t n) { return filled(n, 128); }

// What a window is told when its sounds end.
struct Recorder : MixerWindow {
  std::vector<std::tuple<uint32_t, int32_t, const Wave*>> got;
  void post_message(uint32_t message, int32_t channel, const Wave* wave) override { got.emplace_back(message, channel, wave); }
};

}  // namespace

// The device rests (paused) while nothing is left to play, and runs again for the next sound.
TEST(MixerPlay, ASoundReachesTheDeviceAtOnceFilledToTheBlockWithSilence) {
  MixerRig rig;
  EXPECT_TRUE(rig.device.is_paused()) << "nothing to play yet";
  const Bytes a = ramp(300, 1);
  rig.mixer->play_wave(0, rig.sound(a), 0, 0);
  EXPECT_EQ(rig.device.given(), cat({a, silence(2048 - 300)}));
  EXPECT_FALSE(rig.device.is_paused());
  rig.device.advance(185);  // the block plays for 185.8 ms
  EXPECT_FALSE(rig.device.is_paused());
  rig.device.advance(400 - 185);
  EXPECT_TRUE(rig.device.is_paused()) << "the block has played";
  EXPECT_EQ(slice(rig.device.played(), 0, 2048), cat({a, silence(2048 - 300)}));
  EXPECT_EQ(rig.device.given().size(), 2048u);  // nothing more was mixed
  EXPECT_EQ(rig.status().queued[0], 0);
  rig.mixer->play_wave(0, rig.sound(a), 0, 0);
  EXPECT_FALSE(rig.device.is_paused());
  rig.device.advance(30);
  EXPECT_EQ(slice(rig.device.played(), 400 * 11025 / 1000, 300), a) << "heard at once";
}

TEST(MixerPlay, TwoPlaysOnOneChannelPlayOneAfterTheOther) {
  {
    // The second sound starts where mixing stands when the first has already been mixed.
    MixerRig rig;
    const Bytes a = ramp(300, 1), b = ramp(500, 50);
    rig.mixer->play_wave(0, rig.sound(a), 0, 0);
    rig.mixer->play_wave(0, rig.sound(b), 0, 0);
    rig.device.advance(1000);
    EXPECT_EQ(rig.device.given(), cat({a, silence(1748), b, silence(1548)}));
    EXPECT_EQ(slice(rig.device.played(), 0, 4096), rig.device.given());
  }
  {
    // A first sound still being mixed is followed directly.
    MixerRig rig;
    const Bytes a = ramp(7000, 1), b = ramp(500, 50);
    rig.mixer->play_wave(0, rig.sound(a), 0, 0);
    rig.mixer->play_wave(0, rig.sound(b), 0, 0);
    EXPECT_EQ(rig.status().queued[0], 2);
    rig.device.advance(2000);
    EXPECT_EQ(slice(rig.device.played(), 0, 8192), cat({a, b, silence(692)}));
    EXPECT_EQ(rig.status().queued[0], 0);
  }
}

TEST(MixerPlay, TwoPlaysOnTwoChannelsPlayTogether) {
  {
    MixerRig rig;
    const Bytes a = ramp(10000, 0), b = ramp(3000, 90, 3);
    rig.mixer->play_wave(0, rig.sound(a), 0, 0);
    rig.mixer->play_wave(1, rig.sound(b), 0, 0);  // starts where mixing stands: 3 blocks on
    rig.device.advance(2000);
    EXPECT_EQ(slice(rig.device.played(), 0, 10240),
              cat({slice(a, 0, 6144), mixed({slice(a, 6144, 3000), b}), slice(a, 9144, 856), silence(240)}));
  }
  {
    // Committed together, they start together.
    MixerRig rig;
    const Bytes a = ramp(1500, 0), b = ramp(1000, 200, 7);
    rig.mixer->play_wave(0, rig.sound(a), 0, kPlayDeferred);
    rig.mixer->play_wave(1, rig.sound(b), 0, 0);
    EXPECT_EQ(rig.device.given(), cat({mixed({a, b}), silence(548)}));
  }
}

TEST(MixerPlay, LoopsTwoPlaysTheWaveThreeTimesBackToBack) {
  MixerRig rig;
  const Bytes w = ramp(700, 10);
  rig.mixer->play_wave(0, rig.sound(w), 2, 0);
  rig.device.advance(1000);
  EXPECT_EQ(rig.device.given(), cat({w, w, w, silence(4096 - 2100)}));
  EXPECT_EQ(slice(rig.device.played(), 0, 4096), rig.device.given());
}

TEST(MixerPlay, LoopingForEverGoesOnUntilFlushed) {
  MixerRig rig;
  const Bytes w = ramp(1000, 3);
  rig.mixer->play_wave(0, rig.sound(w), kLoopForever, 0);
  rig.device.advance(2000);
  Bytes expected;
  while (expected.size() < 22050) expected = cat({expected, w});
  EXPECT_EQ(slice(rig.device.played(), 0, 22050), slice(expected, 0, 22050));
  EXPECT_EQ(rig.status().queued[0], 1);
  flush_channel(rig.session(), 0, 0);
  EXPECT_EQ(rig.status().queued[0], 0);
  EXPECT_EQ(rig.status().blocks_at_device, 0);
}

TEST(MixerPlay, ThreeFullScaleSourcesSaturateInsteadOfWrapping) {
  MixerRig rig;
  const Bytes high = filled(100, 255), low = filled(100, 0), swing = cat({filled(50, 255), filled(50, 0)});
  for (const Bytes* w : {&high, &low, &swing}) {
    rig.mixer->play_wave(0, rig.sound(*w), 0, kPlayDeferred);
    rig.mixer->play_wave(1, rig.sound(*w), 0, kPlayDeferred);
    rig.mixer->play_wave(2, rig.sound(*w), 0, 0);
    rig.device.advance(1000);
  }
  // Each play found the device idle and started the stream over; each filled one block.
  const Bytes& given = rig.device.given();
  ASSERT_EQ(given.size(), 3u * 2048u);
  EXPECT_EQ(slice(given, 0, 100), filled(100, 255));
  EXPECT_EQ(slice(given, 2048, 100), filled(100, 0));
  EXPECT_EQ(slice(given, 4096, 100), swing);
}

TEST(MixerPlay, MixingSumsAroundTheSilenceLevel) {
  MixerRig rig;
  const Bytes a = {200, 200, 10, 128, 255}, b = {200, 0, 10, 128, 1}, c = {10, 255, 10, 128, 128};
  rig.mixer->play_wave(0, rig.sound(a), 0, kPlayDeferred);
  rig.mixer->play_wave(3, rig.sound(b), 0, kPlayDeferred);
  rig.mixer->play_wave(7, rig.sound(c), 0, 0);
  // 128 + 72 + 72 − 118 = 154; 128 + 72 − 128 + 127 = 199; 128 − 3 × 118 → 0; 128; 128 + 127 − 127 = 128.
  EXPECT_EQ(slice(rig.device.given(), 0, 5), (Bytes{154, 199, 0, 128, 128}));
}

TEST(MixerPlay, ReleasingAWaveQueuedOnTwoChannelsRemovesBothAndTheWrittenBlocksStillPlay) {
  MixerRig rig;
  const Bytes w = ramp(10000, 0, 3);
  Wave* wave = rig.sound(w);
  rig.mixer->play_wave(0, wave, 0, kPlayDeferred);
  rig.mixer->play_wave(1, wave, 0, 0);
  ASSERT_EQ(rig.status().blocks_at_device, 3);
  rig.mixer->release_wave(wave);
  EXPECT_EQ(rig.status().queued[0], 0);
  EXPECT_EQ(rig.status().queued[1], 0);
  EXPECT_EQ(rig.status().free_requests, 99);
  rig.device.advance(2000);
  EXPECT_EQ(slice(rig.device.played(), 0, 6144), slice(mixed({w, w}), 0, 6144));
  EXPECT_EQ(slice(rig.device.played(), 6144, 100), silence(100));
  EXPECT_EQ(rig.device.given().size(), 6144u);
}

TEST(MixerPlay, DeactivatingAndActivatingAgainResumesAtTheRememberedPosition) {
  MixerRig rig;
  const Bytes w = ramp(20000, 3, 5);
  rig.mixer->play_wave(0, rig.sound(w), 0, 0);
  rig.device.advance(200);
  EXPECT_EQ(rig.status().play_position, 2205);
  rig.mixer->set_activated(false);
  EXPECT_FALSE(rig.device.is_open());
  EXPECT_EQ(rig.status().queued[0], 1);  // the queue waits
  rig.device.forget_recordings();
  rig.device.advance(1000);
  rig.mixer->set_activated(true);
  EXPECT_EQ(rig.device.given(), slice(w, 2205, 6144));
  rig.device.advance(3000);
  EXPECT_EQ(slice(rig.device.played(), 0, 20000 - 2205 + 637), cat({slice(w, 2205, 20000 - 2205), silence(637)}));
}

TEST(MixerPlay, Flag1ClearsTheChannelAndStartsTheNewSoundNow) {
  MixerRig rig;
  const Bytes a = ramp(20000, 0), b = ramp(1000, 77, 3);
  rig.mixer->play_wave(0, rig.sound(a), 0, 0);
  rig.device.advance(200);
  Recorder window;
  rig.mixer->play_wave(0, rig.sound(b), 0, kPlayRestart, &window);
  EXPECT_EQ(rig.status().queued[0], 1);
  EXPECT_EQ(rig.device.resets(), 1);
  // The device now plays the stream from the mix position (8192) on, and the clock says so:
  // the window hears of the end when the block holding it has been played. (The clock keeps
  // whole milliseconds: 8192 bytes are 743.03 ms, which read back as 8191.)
  EXPECT_EQ(rig.status().play_position, 8191);
  rig.device.advance(200);
  EXPECT_EQ(window.got.size(), 1u);
  rig.device.advance(800);
  EXPECT_EQ(slice(rig.device.played(), 0, 2205 + 2048), cat({slice(a, 0, 2205), b, silence(1048)}));
}

TEST(MixerPlay, Flag1WithoutFlag4GoesOnFromTheMixPositionAndWithFlag4FromThePlayPosition) {
  const Bytes a = ramp(20000, 0), b = ramp(1000, 77, 3), c = ramp(20000, 11, 7);
  for (uint32_t flags : {kPlayRestart, kPlayRestart | kPlayFromDevice}) {
    MixerRig rig;
    rig.mixer->play_wave(0, rig.sound(a), 0, kPlayDeferred);
    rig.mixer->play_wave(1, rig.sound(c), 0, 0);
    rig.device.advance(200);
    ASSERT_EQ(rig.status().mix_position, 8192);
    rig.mixer->play_wave(0, rig.sound(b), 0, flags);
    rig.device.advance(1000);
    // Without flag 4 the new sound starts at the mix position, heard at once: channel 1 goes on
    // from there too. With it, the new sound starts at the play position.
    const size_t from = flags & kPlayFromDevice ? 2205 : 8192;
    EXPECT_EQ(slice(rig.device.played(), 0, 2205), slice(mixed({a, c}), 0, 2205)) << flags;
    EXPECT_EQ(slice(rig.device.played(), 2205, 3000), cat({mixed({b, slice(c, from, 1000)}), slice(c, from + 1000, 2000)}))
        << flags;
  }
}

TEST(MixerPlay, Flag2ChoosesAnIdleChannelElseTheOldestUsed) {
  MixerRig rig("", 0x07);
  Wave* w = rig.sound(ramp(20000, 0));
  rig.mixer->play_wave(0, w, 0, 0);
  rig.mixer->play_wave(99, w, 0, kPlayAnyChannel);  // the channel given is not looked at
  rig.mixer->play_wave(0, w, 0, kPlayAnyChannel);
  MixerStatus st = rig.status();
  EXPECT_EQ((std::vector<int>{st.queued[0], st.queued[1], st.queued[2]}), (std::vector<int>{1, 1, 1}));
  rig.mixer->play_wave(0, w, 0, kPlayAnyChannel);  // channel 0 was used longest ago
  rig.mixer->play_wave(0, w, 0, kPlayAnyChannel);  // now channel 1
  st = rig.status();
  EXPECT_EQ((std::vector<int>{st.queued[0], st.queued[1], st.queued[2]}), (std::vector<int>{2, 2, 1}));
  rig.mixer->play_wave(2, w, 0, 0);                // every play counts as a use
  rig.mixer->play_wave(0, w, 0, kPlayAnyChannel);  // so the oldest is channel 0 again
  st = rig.status();
  EXPECT_EQ((std::vector<int>{st.queued[0], st.queued[1], st.queued[2]}), (std::vector<int>{3, 2, 2}));
}

TEST(MixerPlay, Flag4RemixesWhatIsAtTheDeviceSoTheSoundIsHeardAtOnce) {
  MixerRig rig;
  const Bytes a = ramp(20000, 0), b = ramp(1000, 60, 3);
  rig.mixer->play_wave(0, rig.sound(a), 0, 0);
  rig.device.advance(200);
  rig.mixer->play_wave(1, rig.sound(b), 0, kPlayFromDevice);
  EXPECT_EQ(rig.device.resets(), 1);
  rig.device.advance(1000);
  EXPECT_EQ(slice(rig.device.played(), 0, 5000),
            cat({slice(a, 0, 2205), mixed({slice(a, 2205, 1000), b}), slice(a, 3205, 5000 - 3205)}));
}

TEST(MixerPlay, Remix2ShiftsTheSoundToTheMixPositionAndLeavesTheDeviceAlone) {
  MixerRig rig(kRemix2);
  const Bytes a = ramp(20000, 0), b = ramp(1000, 60, 3);
  rig.mixer->play_wave(0, rig.sound(a), 0, 0);
  rig.device.advance(200);
  rig.mixer->play_wave(1, rig.sound(b), 0, kPlayFromDevice);
  EXPECT_EQ(rig.device.resets(), 0);
  rig.device.advance(1000);
  EXPECT_EQ(slice(rig.device.played(), 0, 10000),
            cat({slice(a, 0, 8192), mixed({slice(a, 8192, 1000), b}), slice(a, 9192, 808)}));
}

TEST(MixerPlay, Remix2KeepsALoopingSoundLoopingForEver) {
  MixerRig rig(kRemix2);
  const Bytes a = ramp(20000, 0), b = ramp(300, 60, 3);
  rig.mixer->play_wave(0, rig.sound(a), 0, 0);
  rig.device.advance(200);
  rig.mixer->play_wave(1, rig.sound(b), kLoopForever, kPlayFromDevice);
  rig.device.advance(3000);
  EXPECT_EQ(rig.status().queued[1], 1);
  // a has ended; b loops on in passes from 8192: one of them starts at 8192 + 40 × 300.
  EXPECT_EQ(slice(rig.device.played(), 20192, 300), b);
  EXPECT_EQ(slice(rig.device.played(), 8192, 300), mixed({slice(a, 8192, 300), b}));
}

TEST(MixerPlay, Flag4AfterASoundStillToBePlayedFollowsItWithoutCuttingIt) {
  MixerRig rig;
  const Bytes a = ramp(3000, 1), b = ramp(500, 40, 3);
  rig.mixer->play_wave(0, rig.sound(a), 0, 0);
  rig.device.advance(40);
  rig.mixer->play_wave(0, rig.sound(b), 0, kPlayFromDevice);
  rig.device.advance(1000);
  EXPECT_EQ(slice(rig.device.played(), 0, 3500 + 1000), cat({a, b, silence(1000)}));
}

TEST(MixerPlay, Flag8OnlyQueuesUntilTheNextPlay) {
  MixerRig rig;
  const Bytes a = ramp(400, 5), b = ramp(400, 150);
  rig.mixer->play_wave(0, rig.sound(a), 0, kPlayDeferred);
  EXPECT_EQ(rig.status().waiting, 1);
  EXPECT_EQ(rig.status().queued[0], 0);
  rig.device.advance(400);
  EXPECT_EQ(rig.device.writes(), 0);
  rig.mixer->play_wave(2, rig.sound(b), 0, 0);
  EXPECT_EQ(rig.status().waiting, 0);
  EXPECT_EQ(rig.device.given(), cat({mixed({a, b}), silence(1648)}));
}

TEST(MixerPlay, FlushingStopsTheSoundAtOnceOrLetsTheWrittenBlocksPlay) {
  const Bytes a = ramp(20000, 0);
  struct Case {
    std::string settings;
    uint32_t flags;
    size_t heard;
  } cases[] = {{"", 0, 2205}, {kRemix2, 0, 8192}, {"", 2, 8192}};
  for (const Case& c : cases) {
    MixerRig rig(c.settings);
    rig.mixer->play_wave(0, rig.sound(a), 0, 0);
    rig.device.advance(200);
    flush_channel(rig.session(), 0, c.flags);
    rig.device.advance(1000);
    EXPECT_EQ(slice(rig.device.played(), 0, c.heard + 500), cat({slice(a, 0, c.heard), silence(500)})) << c.flags;
    EXPECT_EQ(rig.status().queued[0], 0);
  }
}

TEST(MixerPlay, FlushingAllChannelsAndClosingOne) {
  MixerRig rig;
  Wave* w = rig.sound(ramp(20000, 0));
  rig.mixer->play_wave(0, w, 0, 0);
  rig.mixer->play_wave(4, w, 0, 0);
  rig.mixer->play_wave(5, w, 0, kPlayDeferred);
  flush_channel(rig.session(), 0, 1 | 2);
  MixerStatus st = rig.status();
  EXPECT_EQ(st.queued[0] + st.queued[4] + st.waiting, 0);
  EXPECT_EQ(st.free_requests, 99);
  rig.mixer->play_wave(3, w, 0, 0);
  close_channel(rig.session(), 3, false);  // without remixing: the written blocks play out
  EXPECT_EQ(rig.status().open_channels, 0xF7);
  EXPECT_EQ(rig.device.resets(), 0);
  EXPECT_THROW(rig.mixer->play_wave(3, w, 0, 0), MixerError);
}

TEST(MixerPlay, TheWindowIsToldWhenItsSoundHasEnded) {
  MixerRig rig;
  Recorder window;
  Wave* w = rig.sound(ramp(300, 1));
  Wave* other = rig.sound(ramp(300, 1));
  rig.mixer->play_wave(0, other, 0, 0);  // no window: nobody told
  rig.mixer->play_wave(1, w, 2, 0, &window);
  rig.device.advance(40);
  EXPECT_TRUE(window.got.empty());  // the block holding its end has not been played yet
  rig.device.advance(400);
  ASSERT_EQ(window.got.size(), 1u);
  EXPECT_EQ(window.got[0], std::make_tuple(kSoundDoneMessage, 1, static_cast<const Wave*>(w)));
  EXPECT_EQ(kSoundDoneMessage, 0x3BDu);
}

TEST(MixerPlay, AFlushedSoundTellsNobody) {
  MixerRig rig;
  Recorder window;
  rig.mixer->play_wave(0, rig.sound(ramp(300, 1)), 0, 0, &window);
  flush_channel(rig.session(), 0, 0);
  rig.device.advance(1000);
  EXPECT_TRUE(window.got.empty());
}

TEST(MixerPlay, TheToldWindowMayPlayTheNextSound) {
  struct Chain : MixerWindow {
    SoundMixer* mixer = nullptr;
    Wave* next = nullptr;
    int told = 0;
    void post_message(uint32_t, int32_t channel, const Wave*) override {
      if (++told == 1) mixer->play_wave(channel, next, 0, 0, this);
    }
  };
  MixerRig rig;
  Chain chain;
  const Bytes a = ramp(300, 1), b = ramp(200, 99);
  chain.mixer = rig.mixer.get();
  chain.next = rig.sound(b);
  rig.mixer->play_wave(0, rig.sound(a), 0, 0, &chain);
  rig.device.advance(2000);
  EXPECT_EQ(chain.told, 2);
  EXPECT_EQ(rig.device.given(), cat({a, silence(1748), b, silence(1848)}));
}

TEST(MixerPlay, ANewPlayOnAnIdleMixerStartsTheStreamOver) {
  MixerRig rig;
  const Bytes a = ramp(300, 1), b = ramp(100, 9);
  rig.mixer->play_wave(0, rig.sound(a), 0, 0);
  rig.device.advance(1000);
  EXPECT_EQ(rig.status().queued[0], 0);
  rig.mixer->play_wave(0, rig.sound(b), 0, 0);
  EXPECT_EQ(rig.status().mix_position, 2048);
  EXPECT_EQ(rig.status().play_position, 0);
  EXPECT_EQ(slice(rig.device.given(), 2048, 2048), cat({b, silence(1948)}));
}

TEST(MixerPlay, ThePlayPositionComesFromTheClockOrFromTheDevice) {
  for (const char* settings : {"", "[default]\nDevicePosition=1\n"}) {
    MixerRig rig(settings);
    rig.mixer->play_wave(0, rig.sound(ramp(20000, 0)), 0, 0);
    rig.device.advance(200);
    EXPECT_EQ(rig.status().play_position, 2205);
    rig.device.pause();  // the device stalls: its count stops, the clock goes on
    rig.device.advance(200);
    EXPECT_EQ(rig.status().play_position, settings[0] ? 2205 : 4410) << settings;
  }
}

TEST(MixerPlay, InStereoThePlayPositionIsAWholeFrame) {
  Rig rig;
  rig.device.options.caps_channels = 2;
  InitRequest request;
  request.flags = kInitStereo;
  request.channels = 2;
  MixerSession* s = mixer_init(*rig.system, &request);
  mixer_activate(s, true);
  open_channel(s, 0, 0);
  const Bytes image = wave_file(2, 11025, 8, ramp(4000, 0));
  std::unique_ptr<Wave> w = mixer_load_wave_image(s, image.data(), image.size());
  PlayParams p;
  p.session = s;
  p.wave = w.get();
  mixer_play(&p);
  rig.device.advance(60);  // 60 ms of 22050 bytes a second: 1323 bytes, held to 1322
  EXPECT_EQ(mixer_status(s).play_position, 1322);
  EXPECT_EQ(slice(rig.device.given(), 0, 4000), ramp(4000, 0));
  close_session(s);
}

TEST(MixerPlay, TheBlocksComeFromTheSettings) {
  MixerRig rig("[default]\nBlockCount=5\nBlockLength=1001\n");
  rig.mixer->play_wave(0, rig.sound(ramp(10000, 0)), 0, 0);
  EXPECT_EQ(rig.device.writes(), 5);
  EXPECT_EQ(rig.status().mix_position, 5000);
  rig.device.advance(2000);
  EXPECT_EQ(slice(rig.device.played(), 0, 10000), ramp(10000, 0));
}

TEST(MixerPlay, AtTwiceTheRateTheSoundIsConvertedAndMixedInLongerBlocks) {
  MixerRig rig("[default]\nSamplesPerSec=22\n");
  rig.mixer->play_wave(0, rig.load(plain_wave({10, 20, 30})), 0, 0);
  EXPECT_EQ(rig.device.given(), cat({Bytes{10, 15, 20, 25, 30, 30}, silence(4090)}));
}

TEST(MixerPlay, ARestartCommittedAfterAWaitingRequestOfItsChannelReplacesIt) {
  MixerRig rig;
  const Bytes a = ramp(20000, 0), b = ramp(1000, 60, 3), c = ramp(1000, 20, 7);
  rig.mixer->play_wave(0, rig.sound(a), 0, 0);
  rig.device.advance(200);
  rig.mixer->play_wave(1, rig.sound(b), 0, kPlayFromDevice | kPlayDeferred);
  rig.mixer->play_wave(1, rig.sound(c), 0, kPlayRestart);
  EXPECT_EQ(rig.status().queued[1], 1);
  EXPECT_EQ(rig.status().free_requests, 97);
  rig.device.advance(1000);
  EXPECT_EQ(slice(rig.device.played(), 0, 2205 + 1000),
            cat({slice(a, 0, 2205), mixed({slice(a, 8192, 1000), c})}));
}
