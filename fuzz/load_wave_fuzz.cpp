// Wave files from memory, as broken as the fuzzer can make them. The first byte chooses the
// session (its rate, mono or stereo, and whether the wave is then played for a moment); the rest
// is the file's image. Any input must load or give a MixerError, and leak nothing.
#include <cstddef>
#include <cstdint>

#include "audio/mixer_session.hpp"
#include "audio/virtual_audio_device.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t choice = data[0];
  VirtualAudioDevice device(1000);
  device.options.caps_channels = 2;
  device.options.record = false;
  MixerSystem system(device, "");
  InitRequest request;
  static constexpr uint16_t kRates[4] = {11, 22, 44, 11};
  request.flags = kInitRate | ((choice & 4) ? kInitStereo : 0u);
  request.channels = (choice & 4) ? 2 : 1;
  request.rate = kRates[choice & 3];
  MixerSession* session = mixer_init(system, &request);
  try {
    std::unique_ptr<Wave> wave = mixer_load_wave_image(session, data + 1, size - 1, "fuzz");
    if (choice & 8) {
      mixer_activate(session, true);
      open_channel(session, 0, 0);
      PlayParams params;
      params.session = session;
      params.wave = wave.get();
      params.loops = (choice >> 4) & 3;
      params.flags = (choice & 0x40) ? kPlayFromDevice : 0;
      mixer_play(&params);
      device.advance(20);
      mixer_play(&params);
      device.advance(300);
    }
    close_session(session);
  } catch (const MixerError&) {
  }
  return 0;
}
