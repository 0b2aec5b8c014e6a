// The mixer's blocks played through Web Audio.
#include "platform/web/web_audio_device.hpp"

#include <emscripten.h>

namespace {

constexpr int kWriteNotOpen = 1;
constexpr int kWriteUnprepared = 2;

// clang-format off
EM_JS(void, web_audio_open, (int rate, int channels, int bits), { Module.lusheraAudio.open(rate, channels, bits); });
EM_JS(void, web_audio_close, (), { Module.lusheraAudio.close(); });
EM_JS(void, web_audio_write, (const uint8_t* data, int length), {
  Module.lusheraAudio.write(HEAPU8.subarray(data, data + length));
});
EM_JS(void, web_audio_pause, (int paused), { Module.lusheraAudio.pause(paused); });
EM_JS(void, web_audio_reset, (), { Module.lusheraAudio.reset(); });
EM_JS(double, web_audio_played, (), { return Module.lusheraAudio.played(); });
// clang-format on

}  // namespace

int64_t WebAudioDevice::now_ms() { return static_cast<int64_t>(emscripten_get_now()); }

bool WebAudioDevice::capabilities(int device, DeviceCaps& caps) {
  if (device != 0 && device != kDefaultDevice) return false;
  caps.name = "Web Audio";
  caps.channels = 2;
  caps.flags = 0;
  return true;
}

bool WebAudioDevice::supports(int device, const PcmFormat& format) {
  // Web Audio takes buffers at any rate from 3000 Hz and resamples them itself.
  return (device == 0 || device == kDefaultDevice) && format.format_tag == 1 &&
         (format.bits_per_sample == 8 || format.bits_per_sample == 16) && format.channels >= 1 &&
         format.channels <= 2 && format.samples_per_sec >= 3000 && format.samples_per_sec <= 384000;
}

int WebAudioDevice::open(int device, const PcmFormat& format, BlockDoneListener* listener) {
  if (open_) return kDeviceAllocated;
  if (!supports(device, format)) return 1;
  web_audio_open(static_cast<int>(format.samples_per_sec), format.channels, format.bits_per_sample);
  open_ = true;
  listener_ = listener;
  written_ = 0;
  queue_.release_all();
  return 0;
}

void WebAudioDevice::close() {
  if (!open_) return;
  web_audio_close();
  open_ = false;
  queue_.release_all();
  listener_ = nullptr;
  written_ = 0;
}

int WebAudioDevice::prepare(DeviceBlock& block) {
  block.prepared = true;
  block.done = false;
  return 0;
}

int WebAudioDevice::write(DeviceBlock& block) {
  if (!open_) return kWriteNotOpen;
  if (!block.prepared) return kWriteUnprepared;
  web_audio_write(block.data, static_cast<int>(block.length));
  written_ += block.length;
  block.device_mark = written_;
  queue_.push(block);
  return 0;
}

void WebAudioDevice::pause() {
  if (open_) web_audio_pause(1);
}

void WebAudioDevice::restart() {
  if (open_) web_audio_pause(0);
}

void WebAudioDevice::reset() {
  if (!open_) return;
  web_audio_reset();
  int returned = queue_.release_all();
  written_ = 0;
  while (returned-- > 0 && listener_) listener_->block_done();
}

uint64_t WebAudioDevice::position() {
  if (!open_) return 0;
  const auto played = static_cast<uint64_t>(web_audio_played());
  return played < written_ ? played : written_;
}

void WebAudioDevice::poll() {
  if (!open_) return;
  const uint64_t played = position();
  int finished = 0;
  while (!queue_.empty() && queue_.front()->device_mark <= played) {
    queue_.pop();
    ++finished;
  }
  // The listener may write, reset or close the device; each report is taken afresh.
  while (finished-- > 0 && listener_ && open_) listener_->block_done();
}
