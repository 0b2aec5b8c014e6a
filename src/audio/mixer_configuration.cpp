// The mixer session's configuration: the device, the format and the blocks, from the settings
// file and the request.
#include "audio/mixer_internals.hpp"

#include <algorithm>

namespace mixer_internals {

namespace {

int32_t rate_of(int32_t setting) {
  switch (setting) {
    case 22: return 22050;
    case 44: return 44100;
    default: return 11025;
  }
}

}  // namespace

void configure(MixerSession& s, const SettingsFile& ini, const InitRequest* request) {
  AudioDevice& d = device_of(s);
  int device = ini.read_int("general", "OutputDevice", 0);
  if (device < 0 || device >= d.count()) device = AudioDevice::kDefaultDevice;
  s.device = device;
  DeviceCaps caps;
  const bool have_caps = d.capabilities(device, caps);
  s.device_name = have_caps ? caps.name : "Unknown Device";

  // Each key is read from "default", then from the device's own section, which wins.
  auto setting = [&](const char* key, int32_t fallback) {
    return ini.read_int(s.device_name, key, ini.read_int("default", key, fallback));
  };
  s.remix = setting("Remix", 1);
  s.device_position = setting("DevicePosition", 0) != 0;
  s.block_count = std::clamp(setting("BlockCount", 3), 2, kBlocks);
  const int32_t default_length = ini.read_int("default", "BlockLength", 0) & ~3;
  const int32_t length = ini.read_int(s.device_name, "BlockLength", default_length);
  int32_t rate = rate_of(setting("SamplesPerSec", 11));
  uint16_t channels = 1;
  if (request && request->size == 10) {
    if (request->flags & kInitRate) rate = rate_of(request->rate);
    if ((request->flags & kInitStereo) && request->channels > 1 && caps.channels > 1) channels = 2;
  }
  s.format = PcmFormat{1, channels, static_cast<uint32_t>(rate), static_cast<uint32_t>(rate) * channels, channels, 8};
  uint32_t block = length == 0 ? std::min<uint32_t>(kBlockRoom, static_cast<uint32_t>(rate / 11025) * 2048)
                               : static_cast<uint32_t>(std::clamp<int32_t>(length, 512, kBlockRoom));
  block -= block % s.format.block_align;  // whole frames in every block
  s.block_length = block;

  if (have_caps && (caps.flags & kCapsSynchronous))
    throw MixerError(s.device_name + " is a syncronous (blocking) " +
                     "wave output device.  This will not permit audio to play while other " +
                     "applications are running");
  if (ini.read_int("not compatible", s.device_name, 0) != 0)
    throw MixerError(s.device_name + " is not compatible with " + "the realtime mixer");
}

}  // namespace mixer_internals
