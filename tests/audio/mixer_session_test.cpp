// The session: creation and its settings, activation, channels, and every refusal.
#include <gtest/gtest.h>

#include <functional>

#include "audio/audio_support.hpp"

using namespace audio_test;

namespace {

std::string error_of(const std::function<void()>& f) {
  try {
    f();
  } catch (const MixerError& e) {
    return e.what();
  }
  return "(no error)";
}

}  // namespace

TEST(MixerSession, DefaultsWithoutASettingsFile) {
  Rig rig;
  MixerSession* s = mixer_init(*rig.system, nullptr);
  const MixerStatus st = mixer_status(s);
  EXPECT_FALSE(st.active);
  EXPECT_EQ(st.format, (PcmFormat{1, 1, 11025, 11025, 1, 8}));
  EXPECT_EQ(st.device, 0);
  EXPECT_EQ(st.device_name, "Virtual Output");
  EXPECT_EQ(st.remix, 1);
  EXPECT_FALSE(st.device_position);
  EXPECT_EQ(st.block_count, 3);
  EXPECT_EQ(st.block_length, 2048u);
  EXPECT_EQ(st.open_channels, 0);
  EXPECT_EQ(st.free_requests, 99);
  close_session(s);
}

TEST(MixerSession, TheComponentCreatesAMonoSessionAtTheConfiguredRate) {
  Rig rig("[default]\nSamplesPerSec=22\n");
  rig.device.options.caps_channels = 2;
  SoundMixer mixer(*rig.system);
  const MixerStatus st = mixer_status(mixer.session());
  EXPECT_EQ(st.format, (PcmFormat{1, 1, 22050, 22050, 1, 8}));
  EXPECT_EQ(st.block_length, 4096u);
  EXPECT_FALSE(mixer.activated());
  EXPECT_EQ(mixer.channels(), 0);
}

TEST(MixerSession, TheRequestMayAskForARate) {
  Rig rig("[default]\nSamplesPerSec=22\n");
  InitRequest request;
  request.flags = kInitRate;
  request.rate = 44;
  MixerSession* s = mixer_init(*rig.system, &request);
  EXPECT_EQ(mixer_status(s).format.samples_per_sec, 44100u);
  close_session(s);
  request.size = 12;  // not a request of ours: the setting holds
  s = mixer_init(*rig.system, &request);
  EXPECT_EQ(mixer_status(s).format.samples_per_sec, 22050u);
  close_session(s);
}

TEST(MixerSession, StereoNeedsTheRequestAndADeviceWithTwoChannels) {
  Rig rig;
  rig.device.options.caps_channels = 2;
  InitRequest request;
  request.flags = kInitStereo;
  request.channels = 2;
  MixerSession* s = mixer_init(*rig.system, &request);
  EXPECT_EQ(mixer_status(s).format, (PcmFormat{1, 2, 11025, 22050, 2, 8}));
  close_session(s);
  request.channels = 1;
  s = mixer_init(*rig.system, &request);
  EXPECT_EQ(mixer_status(s).format.channels, 1);
  close_session(s);
}

TEST(MixerSession, ActivatingTakesTheDeviceInTheSessionsFormat) {
  Rig rig("[default]\nSamplesPerSec=44\n");
  SoundMixer mixer(*rig.system);
  mixer.set_activated(true);
  EXPECT_TRUE(mixer.activated());
  EXPECT_TRUE(rig.device.is_open());
  EXPECT_EQ(rig.device.format(), (PcmFormat{1, 1, 44100, 44100, 1, 8}));
  mixer.set_activated(true);  // no change, nothing done
  mixer.set_activated(false);
  EXPECT_FALSE(mixer.activated());
  EXPECT_FALSE(rig.device.is_open());
}

TEST(MixerSession, TheChannelsPropertyOpensAndClosesByBit) {
  Rig rig;
  SoundMixer mixer(*rig.system);
  mixer.set_channels(3);
  EXPECT_EQ(mixer.channels(), 3);
  mixer.set_channels(0x06);
  EXPECT_EQ(mixer.channels(), 0x06);
  mixer.set_channels(255);
  EXPECT_EQ(mixer.channels(), 255);
  mixer.set_channels(0x81);
  EXPECT_EQ(mixer.channels(), 0x81);
  mixer.set_channels(0);
  EXPECT_EQ(mixer.channels(), 0);
}

TEST(MixerSession, OpenChannelModes) {
  Rig rig;
  MixerSession* s = mixer_init(*rig.system, nullptr);
  open_channel(s, 5, 0);
  EXPECT_EQ(mixer_status(s).open_channels, 0x20);
  open_channel(s, 3, 2);  // channels 0 to 2; those open stay open
  EXPECT_EQ(mixer_status(s).open_channels, 0x27);
  open_channel(s, 0, 1);
  EXPECT_EQ(mixer_status(s).open_channels, 0xFF);
  close_channel(s, 7, false);
  EXPECT_EQ(mixer_status(s).open_channels, 0x7F);
  close_channel(s, 0, true);
  EXPECT_EQ(mixer_status(s).open_channels, 0);
  open_channel(s, 8, 2);
  EXPECT_EQ(mixer_status(s).open_channels, 0xFF);
  close_session(s);
}

TEST(MixerSession, ChannelRefusals) {
  Rig rig;
  MixerSession* s = mixer_init(*rig.system, nullptr);
  EXPECT_EQ(error_of([&] { open_channel(s, 0, 3); }), "Invalid Flags");
  EXPECT_EQ(error_of([&] { open_channel(s, 0, 0xFFFFFFFF); }), "Invalid Flags");
  EXPECT_EQ(error_of([&] { open_channel(s, 8, 0); }), "Invalid channel number");
  EXPECT_EQ(error_of([&] { open_channel(s, -1, 0); }), "Invalid channel number");
  EXPECT_EQ(error_of([&] { open_channel(s, 0, 2); }), "Invalid number of channels");
  EXPECT_EQ(error_of([&] { open_channel(s, 9, 2); }), "Invalid number of channels");
  open_channel(s, 4, 0);
  EXPECT_EQ(error_of([&] { open_channel(s, 4, 0); }), "The channel has already been opened");
  EXPECT_EQ(error_of([&] { close_channel(s, 8, false); }), "Invalid channel number");
  EXPECT_EQ(error_of([&] { close_channel(s, 3, false); }), "The specified channel was not open");
  EXPECT_EQ(error_of([&] { flush_channel(s, -2, 0); }), "Invalid channel number");
  EXPECT_EQ(error_of([&] { flush_channel(s, 3, 0); }), "The specified channel was not open");
  EXPECT_EQ(mixer_status(s).open_channels, 0x10);  // the refusals changed nothing
  close_session(s);
}

TEST(MixerSession, InitRefusals) {
  {
    Rig rig;
    MixerSession* s = mixer_init(*rig.system, nullptr);
    EXPECT_EQ(error_of([&] { mixer_init(*rig.system, nullptr); }), "Session already initialized");
    EXPECT_EQ(error_of([&] { SoundMixer second(*rig.system); }), "Initialization failed (mixer_init)");
    EXPECT_EQ(mixer_status(s).device_name, "Virtual Output");  // the first one is untouched
    close_session(s);
  }
  {
    Rig rig;
    rig.device.options.device_count = 0;
    EXPECT_EQ(error_of([&] { mixer_init(*rig.system, nullptr); }), "No wave output devices available");
    EXPECT_EQ(error_of([&] { SoundMixer mixer(*rig.system); }), "Initialization failed (mixer_init)");
    rig.device.options.device_count = 1;
    SoundMixer mixer(*rig.system);  // a refused session leaves nothing behind
  }
  {
    Rig rig;
    rig.device.options.name = "Slow Card";
    rig.device.options.caps_flags = kCapsSynchronous;
    EXPECT_EQ(error_of([&] { mixer_init(*rig.system, nullptr); }),
              "Slow Card is a syncronous (blocking) wave output device.  This will not permit audio to play "
              "while other applications are running");
  }
  {
    Rig rig("[not compatible]\nOld Card=1\n");
    rig.device.options.name = "Old Card";
    EXPECT_EQ(error_of([&] { mixer_init(*rig.system, nullptr); }),
              "Old Card is not compatible with the realtime mixer");
    rig.device.options.name = "New Card";
    close_session(mixer_init(*rig.system, nullptr));
  }
  {
    Rig rig("[not compatible]\nOld Card=0\n");
    rig.device.options.name = "Old Card";
    close_session(mixer_init(*rig.system, nullptr));
  }
}

TEST(MixerSession, ACardWithoutCapabilitiesIsAnUnknownDevice) {
  Rig rig("[Unknown Device]\nBlockCount=5\n");
  rig.device.options.caps_readable = false;
  MixerSession* s = mixer_init(*rig.system, nullptr);
  EXPECT_EQ(mixer_status(s).device_name, "Unknown Device");
  EXPECT_EQ(mixer_status(s).block_count, 5);
  close_session(s);
}

TEST(MixerSession, ActivationRefusalsLeaveTheSessionInactive) {
  Rig rig;
  SoundMixer mixer(*rig.system);
  rig.device.options.open_result = 2;
  EXPECT_EQ(error_of([&] { mixer.set_activated(true); }), "Failed to open waveform output device #2");
  rig.device.options.open_result = kDeviceNoCallback;
  EXPECT_EQ(error_of([&] { mixer.set_activated(true); }), "Failed to create callback window");
  rig.device.options.open_result = 0;
  rig.device.options.prepare_result = 11;
  EXPECT_EQ(error_of([&] { mixer.set_activated(true); }), "Unable to prepare wave header #11");
  EXPECT_FALSE(rig.device.is_open());  // closed again
  EXPECT_FALSE(mixer.activated());
  rig.device.options.prepare_result = 0;
  mixer.set_activated(true);
  EXPECT_TRUE(mixer.activated());
}

TEST(MixerSession, ADeviceHeldByAnotherSessionIsRefused) {
  Rig rig;
  MixerSystem other_system(rig.device, rig.settings_path);
  SoundMixer first(*rig.system);
  SoundMixer second(other_system);
  first.set_activated(true);
  EXPECT_EQ(error_of([&] { second.set_activated(true); }), "Resource is already allocated to a process");
  first.set_activated(false);
  second.set_activated(true);
  EXPECT_TRUE(second.activated());
}

TEST(MixerSession, AHandleWithoutItsCheckWordsIsRefused) {
  Rig rig;
  EXPECT_EQ(error_of([&] { mixer_activate(nullptr, true); }), "Invalid Session handle");
  MixerSession* s = mixer_init(*rig.system, nullptr);
  close_session(s);
  // The closed session's record was wiped, so the old handle is known to be stale.
  EXPECT_EQ(error_of([&] { mixer_activate(s, true); }), "Invalid Session handle");
  EXPECT_EQ(error_of([&] { open_channel(s, 0, 0); }), "Invalid Session handle");
  EXPECT_EQ(error_of([&] { close_channel(s, 0, true); }), "Invalid Session handle");
  EXPECT_EQ(error_of([&] { flush_channel(s, 0, 1); }), "Invalid Session handle");
  EXPECT_EQ(error_of([&] { close_session(s); }), "Invalid Session handle");
  EXPECT_EQ(error_of([&] { mixer_load_wave(s, "x.wav"); }), "Invalid Session handle");
  EXPECT_EQ(error_of([&] { mixer_status(s); }), "Invalid Session handle");
  Bytes image = plain_wave({1});
  EXPECT_EQ(error_of([&] { mixer_load_wave_image(s, image.data(), image.size()); }), "Invalid Session handle");
  MixerRig other;
  PlayParams p;
  p.session = s;
  p.wave = other.sound({1});
  EXPECT_EQ(error_of([&] { mixer_play(&p); }), "Invalid Session handle");
}

TEST(MixerSession, PlayRefusalsInTheirOrder) {
  Rig rig;
  SoundMixer mixer(*rig.system);
  Bytes image = plain_wave(ramp(100, 0));
  Wave* w = mixer.load_wave_image(image.data(), image.size());
  EXPECT_EQ(error_of([&] { mixer_play(nullptr); }), "nil parameters pointer passed to mixer_play");
  EXPECT_EQ(error_of([&] { mixer.play_wave(0, nullptr, 0, 0); }), "nil wave pointer passed to mixer_play!");
  EXPECT_EQ(error_of([&] { mixer.play_wave(0, w, 0, 0); }), "Wave device not allocated, call mixer_activate(hSession,TRUE)");
  mixer.set_activated(true);
  EXPECT_EQ(error_of([&] { mixer.play_wave(0, w, 0, 0); }), "You must open a channel before you can play a wave");
  mixer.set_channels(1);
  EXPECT_EQ(error_of([&] { mixer.play_wave(1, w, 0, 0); }), "The specified channel was not open");
  EXPECT_EQ(error_of([&] { mixer.play_wave(8, w, 0, 0); }), "Invalid channel number");
  EXPECT_EQ(error_of([&] { mixer.play_wave(-1, w, 0, 0); }), "Invalid channel number");
  const MixerStatus st = mixer_status(mixer.session());
  EXPECT_EQ(st.free_requests, 99);
  EXPECT_EQ(st.queued[0], 0);
  EXPECT_EQ(rig.device.writes(), 0);
}

TEST(MixerSession, TheFixedPoolHolds99Requests) {
  MixerRig rig;
  Wave* w = rig.sound(ramp(100, 0));
  for (int i = 0; i < 99; ++i) rig.mixer->play_wave(i % 8, w, 0, kPlayDeferred);
  EXPECT_EQ(rig.status().free_requests, 0);
  EXPECT_EQ(rig.status().waiting, 99);
  EXPECT_EQ(error_of([&] { rig.mixer->play_wave(0, w, 0, 0); }), "Not enough memory");
  EXPECT_EQ(rig.status().waiting, 99);  // nothing committed by the refused play
  rig.mixer->release_wave(w);
  EXPECT_EQ(rig.status().free_requests, 99);
  EXPECT_EQ(rig.status().waiting, 0);
}

TEST(MixerSession, ReleasingNeedsAWaveOfThisMixer) {
  MixerRig rig;
  MixerRig other;
  Wave* foreign = other.sound({1, 2});
  EXPECT_EQ(error_of([&] { rig.mixer->release_wave(nullptr); }), "The given pointer was not valid");
  EXPECT_EQ(error_of([&] { rig.mixer->release_wave(foreign); }), "The given pointer was not valid");
  Wave* w = rig.sound({1, 2});
  rig.mixer->release_wave(w);
  EXPECT_EQ(error_of([&] { rig.mixer->release_wave(w); }), "The given pointer was not valid");
  other.mixer->release_wave(foreign);
}

TEST(MixerSession, AFailedWriteFreesTheBlockAndPlayingGoesOnAfterwards) {
  MixerRig rig;
  Wave* w = rig.sound(ramp(3000, 1));
  rig.device.options.writes_before_failure = 1;  // the second block is refused
  EXPECT_EQ(error_of([&] { rig.mixer->play_wave(0, w, 0, 0); }), "Failed to write block to device");
  EXPECT_EQ(rig.status().blocks_at_device, 1);
  EXPECT_EQ(rig.status().mix_position, 2048);  // back at the start of the refused block
  EXPECT_FALSE(rig.device.is_paused());
  rig.device.options.writes_before_failure = -1;
  rig.device.advance(1000);
  // The device ran dry for a moment after the one block, but the stream has no hole.
  EXPECT_EQ(rig.device.given(), cat({ramp(3000, 1), filled(1096, 128)}));
}

TEST(MixerSession, TheSessionIsClosedWithTheComponent) {
  Rig rig;
  {
    SoundMixer mixer(*rig.system);
    mixer.set_activated(true);
    mixer.set_channels(3);
    Bytes image = plain_wave(ramp(10000, 0));
    mixer.play_wave(0, mixer.load_wave_image(image.data(), image.size()), kLoopForever, 0);
    EXPECT_TRUE(rig.device.is_open());
  }  // the waves still loaded are freed with it
  EXPECT_FALSE(rig.device.is_open());
  SoundMixer again(*rig.system);  // the session's place is free again
}
