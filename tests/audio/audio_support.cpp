#include "audio/audio_support.hpp"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace audio_test {

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lushera-audio-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void ScratchFolder::write(const std::string& name, const std::string& text) const {
  std::ofstream out(path_ / name, std::ios::binary);
  out << text;
}

void ScratchFolder::write(const std::string& name, const Bytes& bytes) const {
  std::ofstream out(path_ / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Rig::Rig(const std::string& settings) : settings_path(folder.file("SOUNDMIX.INI")) {
  if (!settings.empty()) folder.write("SOUNDMIX.INI", settings);
  system = std::make_unique<MixerSystem>(device, settings_path);
}

MixerRig::MixerRig(const std::string& settings, uint8_t channels) : Rig(settings) {
  mixer = std::make_unique<SoundMixer>(*system);
  mixer->set_activated(true);
  mixer->set_channels(channels);
}

Bytes converted(const Bytes& image, const std::string& settings) {
  MixerRig rig(settings);
  const Wave* w = rig.load(image);
  return Bytes(w->data(), w->data() + w->length());
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (const char* old = std::getenv(name)) {
    had_ = true;
    old_ = old;
  }
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
  if (had_)
    setenv(name_.c_str(), old_.c_str(), 1);
  else
    unsetenv(name_.c_str());
}

}  // namespace audio_test
