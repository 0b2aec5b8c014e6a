// SOUNDMIX.INI: where it is, how it is read, and what each key does to the session.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>

#include "audio/audio_support.hpp"

using namespace audio_test;

namespace {

MixerStatus session_with(const std::string& settings, const std::string& device_name = "Virtual Output",
                         int device_count = 1) {
  Rig rig(settings);
  rig.device.options.name = device_name;
  rig.device.options.device_count = device_count;
  MixerSession* s = mixer_init(*rig.system, nullptr);
  const MixerStatus st = mixer_status(s);
  close_session(s);
  return st;
}

}  // namespace

TEST(MixerSettings, NumbersAreReadAsFarAsTheyGo) {
  EXPECT_EQ(settings_number("42", 7), 42);
  EXPECT_EQ(settings_number("  -13", 7), -13);
  EXPECT_EQ(settings_number("+5", 7), 5);
  EXPECT_EQ(settings_number("22 kHz", 7), 22);
  EXPECT_EQ(settings_number("0x10", 7), 0);
  EXPECT_EQ(settings_number("fast", 7), 0);
  EXPECT_EQ(settings_number("", 7), 7);
  EXPECT_EQ(settings_number("4294967297", 7), 1);  // 32 bits, wrapping
}

TEST(MixerSettings, SectionsAndKeysInAnyCaseTheFirstOneCounting) {
  SettingsFile ini;
  ini.load_text(
      "; the mixer's settings\r\n"
      "[Default]\r\n"
      "remix = 2\r\n"
      "REMIX=3\r\n"
      "   BlockCount=4\r\n"
      "\tDevicePosition=1 ; read from the card\r\n"
      "not a setting\r\n"
      "Empty=\r\n"
      "[other]\r\n"
      "Remix=5\r\n"
      "[default]\r\n"
      "SamplesPerSec=44");
  EXPECT_EQ(ini.read_int("default", "Remix", 1), 2);
  EXPECT_EQ(ini.read_int("DEFAULT", "blockcount", 3), 4);  // an indented line is a line of its own
  EXPECT_EQ(ini.read_int("default", "DevicePosition", 0), 1);
  EXPECT_EQ(ini.read_int("default", "Empty", 9), 9);
  EXPECT_EQ(ini.read_int("default", "Missing", 9), 9);
  EXPECT_EQ(ini.read_int("other", "Remix", 1), 5);
  EXPECT_EQ(ini.read_int("default", "SamplesPerSec", 11), 44);  // a section may come back
  EXPECT_EQ(ini.read_int("nowhere", "Remix", 1), 1);
}

// Each line's shapes as settings files are read: what a key then holds (nothing: not there).
TEST(MixerSettings, EachLineIsReadAsSettingsFilesAreRead) {
  const std::string nul(1, '\0');
  const struct Case {
    const char* what;
    std::string text;
    std::optional<std::string> remix;  // [default] Remix
  } cases[] = {
      {"a colon for the equals sign", "[default]\nRemix: 2\n", "2"},
      {"a comment after a blank", "[default]\nRemix = 2 ; two\n", "2"},
      {"a semicolon without a blank before it", "[default]\nRemix=2;3\n", "2;3"},
      {"comment lines, blank lines", "# mine\n\n[default]\n;Remix=3\n  \t\r\nRemix=4\n", "4"},
      {"the byte order mark of a UTF-8 file", "\xEF\xBB\xBF[default]\nRemix=5\n", "5"},
      {"what follows a section's bracket", "[default] of the mixer\nRemix=6\n", "6"},
      {"a section name as the brackets hold it", "[ default ]\nRemix=7\n", std::nullopt},
      {"a section cut by a comment", "[default]\n[other ;x]\nRemix=7\n", "7"},
      {"a line without an equals sign", "[default]\nRemix\nremix=8\n", "8"},
      {"a line of a key's value continued", "[default]\nBlockCount=2\n\vRemix=9\n", std::nullopt},
      {"a NUL ends the line", "[default]\nRemix=3" + nul + "4\n", "3"},
      {"an empty value", "[default]\nRemix=\n", ""},
      {"a line cut at its room", "[default]\nRemix=" + std::string(192, '1') + "23\n", std::string(192, '1')},
      {"a picture for a settings file", "\x89PNG\r\n\x1a\n" + nul + nul + "\n[default]\nRemix=2\n", "2"},
  };
  for (const Case& c : cases) {
    SettingsFile ini;
    ini.load_text(c.text);
    const std::string* remix = ini.find("default", "Remix");
    EXPECT_EQ(remix ? std::optional<std::string>(*remix) : std::nullopt, c.remix) << c.what;
  }
}

TEST(MixerSettings, AVeryLongLineIsCutWithoutSpoilingTheNextOne) {
  SettingsFile ini;
  ini.load_text("[default]\nComment=" + std::string(5000, 'x') + "\nBlockCount=5\n");
  EXPECT_EQ(ini.read_int("default", "BlockCount", 3), 5);
}

TEST(MixerSettings, AMissingOrUnreadableFileGivesTheDefaults) {
  SettingsFile ini;
  EXPECT_FALSE(ini.load("/nonexistent/lushera/SOUNDMIX.INI"));
  EXPECT_FALSE(ini.load(""));
  ScratchFolder folder;
  EXPECT_FALSE(ini.load(folder.path().string()));
  const std::string fifo = folder.file("SOUNDMIX.INI");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_FALSE(ini.load(fifo));  // never waited on: nobody writes into it
  EXPECT_EQ(ini.read_int("default", "Remix", 1), 1);
  const MixerStatus st = session_with("");
  EXPECT_EQ(st.remix, 1);
  EXPECT_EQ(st.block_count, 3);
  EXPECT_EQ(st.block_length, 2048u);
}

TEST(MixerSettings, TheFileIsInTheUsersConfigurationFolder) {
  {
    ScopedEnv config("XDG_CONFIG_HOME", "/somewhere/config");
    ScopedEnv home("HOME", "/home/player");
    EXPECT_EQ(mixer_settings_path(), "/somewhere/config/lushera/SOUNDMIX.INI");
  }
  {
    ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", "/home/player");
    EXPECT_EQ(mixer_settings_path(), "/home/player/.config/lushera/SOUNDMIX.INI");
  }
  {
    ScopedEnv config("XDG_CONFIG_HOME", "relative/config");  // not absolute: not used
    ScopedEnv home("HOME", "/home/player");
    EXPECT_EQ(mixer_settings_path(), "/home/player/.config/lushera/SOUNDMIX.INI");
  }
  {
    ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", nullptr);
    EXPECT_EQ(mixer_settings_path(), "");
  }
}

TEST(MixerSettings, TheSessionReadsTheFileFromTheConfigurationFolder) {
  ScratchFolder config;
  std::filesystem::create_directories(config.path() / "lushera");
  config.write("lushera/SOUNDMIX.INI", std::string("[default]\nBlockCount=6\n"));
  ScopedEnv xdg("XDG_CONFIG_HOME", config.path().c_str());
  VirtualAudioDevice device;
  MixerSystem system(device);
  EXPECT_EQ(system.settings_path(), (config.path() / "lushera/SOUNDMIX.INI").string());
  SoundMixer mixer(system);
  EXPECT_EQ(mixer_status(mixer.session()).block_count, 6);
}

TEST(MixerSettings, TheDevicesSectionWinsOverDefault) {
  const std::string ini =
      "[default]\nRemix=2\nDevicePosition=1\nBlockCount=4\nSamplesPerSec=22\n"
      "[Card A]\nRemix=1\nBlockCount=5\nSamplesPerSec=44\n";
  MixerStatus st = session_with(ini, "Card A");
  EXPECT_EQ(st.remix, 1);
  EXPECT_TRUE(st.device_position);
  EXPECT_EQ(st.block_count, 5);
  EXPECT_EQ(st.format.samples_per_sec, 44100u);
  st = session_with(ini, "Card B");
  EXPECT_EQ(st.remix, 2);
  EXPECT_EQ(st.block_count, 4);
  EXPECT_EQ(st.format.samples_per_sec, 22050u);
}

TEST(MixerSettings, BlockCountIsHeldTo2To6) {
  EXPECT_EQ(session_with("[default]\nBlockCount=1\n").block_count, 2);
  EXPECT_EQ(session_with("[default]\nBlockCount=-4\n").block_count, 2);
  EXPECT_EQ(session_with("[default]\nBlockCount=6\n").block_count, 6);
  EXPECT_EQ(session_with("[default]\nBlockCount=9\n").block_count, 6);
}

TEST(MixerSettings, BlockLength) {
  // Rounded down to a multiple of 4 in "default" only, then held to 512 … 4096.
  EXPECT_EQ(session_with("[default]\nBlockLength=1003\n").block_length, 1000u);
  EXPECT_EQ(session_with("[Virtual Output]\nBlockLength=1003\n").block_length, 1003u);
  EXPECT_EQ(session_with("[default]\nBlockLength=100\n").block_length, 512u);
  EXPECT_EQ(session_with("[default]\nBlockLength=-3\n").block_length, 512u);
  EXPECT_EQ(session_with("[default]\nBlockLength=9000\n").block_length, 4096u);
  EXPECT_EQ(session_with("[default]\nBlockLength=2\n").block_length, 2048u);  // 2 rounds to 0
  // 0 means 2048 bytes for each 11025 samples a second, at most 4096.
  EXPECT_EQ(session_with("[default]\nBlockLength=0\n").block_length, 2048u);
  EXPECT_EQ(session_with("[default]\nSamplesPerSec=22\n").block_length, 4096u);
  EXPECT_EQ(session_with("[default]\nSamplesPerSec=44\n").block_length, 4096u);
  EXPECT_EQ(session_with("[default]\nBlockLength=1000\n[Virtual Output]\nBlockLength=0\n").block_length, 2048u);
}

TEST(MixerSettings, SamplesPerSec) {
  EXPECT_EQ(session_with("[default]\nSamplesPerSec=11\n").format.samples_per_sec, 11025u);
  EXPECT_EQ(session_with("[default]\nSamplesPerSec=22\n").format, (PcmFormat{1, 1, 22050, 22050, 1, 8}));
  EXPECT_EQ(session_with("[default]\nSamplesPerSec=44\n").format.samples_per_sec, 44100u);
  EXPECT_EQ(session_with("[default]\nSamplesPerSec=48\n").format.samples_per_sec, 11025u);
  EXPECT_EQ(session_with("[default]\nSamplesPerSec=22050\n").format.samples_per_sec, 11025u);
}

TEST(MixerSettings, OutputDeviceChoosesTheDeviceByNumber) {
  EXPECT_EQ(session_with("", "Virtual Output", 3).device, 0);
  EXPECT_EQ(session_with("[general]\nOutputDevice=2\n", "Virtual Output", 3).device, 2);
  EXPECT_EQ(session_with("[general]\nOutputDevice=3\n", "Virtual Output", 3).device, AudioDevice::kDefaultDevice);
  EXPECT_EQ(session_with("[general]\nOutputDevice=-1\n", "Virtual Output", 3).device, AudioDevice::kDefaultDevice);
  Rig rig("[general]\nOutputDevice=2\n");
  rig.device.options.device_count = 3;
  SoundMixer mixer(*rig.system);
  mixer.set_activated(true);
  EXPECT_EQ(rig.device.opened_device(), 2);
}
