// The mixer's output through SDL's audio queue, and the timer that tells of finished blocks.
#include "platform/sdl/sdl_audio_device.hpp"

#include <cstdint>

namespace {

// open() error codes of our own (SDL gives none): SDL refused the device, or the numbered
// device is no longer listed.
constexpr int kOpenRefused = 1;
constexpr int kOpenNoSuchDevice = 2;
// write() error codes: the device is not open, the block was not prepared, SDL refused it.
constexpr int kWriteNotOpen = 1;
constexpr int kWriteUnprepared = 2;
constexpr int kWriteRefused = 3;

// How often the timer looks whether to wake the game's thread. SDL drains its queue a device
// period (23 ms at 11025 Hz) at a time, so a few milliseconds notice each step in time.
constexpr Uint32 kWatchMs = 5;

// Small periods, so that the queue drains in small steps and finished blocks are seen early.
Uint16 period_for(uint32_t rate) { return rate <= 11025 ? 256 : 512; }

// Runs on SDL's timer thread. It touches nothing of ours (the event type travels in the
// parameter), so a tick that races with the device's end is harmless; and it never queues a
// second event while one is waiting.
Uint32 watch_tick(Uint32 interval, void* param) {
  const auto type = static_cast<Uint32>(reinterpret_cast<uintptr_t>(param));
  if (!SDL_HasEvent(type)) {
    SDL_Event event;
    SDL_zero(event);
    event.type = type;
    SDL_PushEvent(&event);
  }
  return interval;
}

}  // namespace

SdlAudioDevice::SdlAudioDevice() {
  started_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  timer_started_ = SDL_InitSubSystem(SDL_INIT_TIMER) == 0;
}

SdlAudioDevice::~SdlAudioDevice() {
  close();
  if (timer_started_) SDL_QuitSubSystem(SDL_INIT_TIMER);
  if (started_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int64_t SdlAudioDevice::now_ms() { return static_cast<int64_t>(SDL_GetTicks64()); }

int SdlAudioDevice::count() {
  if (!started_) return 0;
  const int listed = SDL_GetNumAudioDevices(0);
  if (listed < 0) return 1;  // SDL cannot list them; there is still the default output
  if (listed == 0) return 0;
  return listed + 1;
}

bool SdlAudioDevice::capabilities(int device, DeviceCaps& caps) {
  if (!started_) return false;
  SDL_AudioSpec layout;
  SDL_zero(layout);
  if (device == 0 || device == kDefaultDevice) {
    char* name = nullptr;
    if (SDL_GetDefaultAudioInfo(&name, &layout, 0) != 0) return false;
    caps.name = name ? name : "";
    SDL_free(name);
    caps.channels = layout.channels;
    caps.flags = 0;
    return true;
  }
  const char* name = SDL_GetAudioDeviceName(device - 1, 0);
  if (!name) return false;
  caps.name = name;
  caps.channels = SDL_GetAudioDeviceSpec(device - 1, 0, &layout) == 0 ? layout.channels : 0;
  caps.flags = 0;
  return true;
}

bool SdlAudioDevice::supports(int device, const PcmFormat& format) {
  // SDL converts any rate and sample layout to what the hardware takes.
  return started_ && device >= kDefaultDevice && device < count() && format.format_tag == 1 &&
         (format.bits_per_sample == 8 || format.bits_per_sample == 16) && format.channels >= 1 &&
         format.channels <= 2 && format.samples_per_sec > 0 && format.samples_per_sec <= 384000;
}

int SdlAudioDevice::open(int device, const PcmFormat& format, BlockDoneListener* listener) {
  if (device_) return kDeviceAllocated;
  if (!started_) return kOpenRefused;
  if (event_type_ == 0) {
    const Uint32 type = SDL_RegisterEvents(1);
    if (type == static_cast<Uint32>(-1)) return kDeviceNoCallback;
    event_type_ = type;
  }
  if (!timer_started_) return kDeviceNoCallback;
  const char* name = nullptr;
  if (device >= 1) {
    name = SDL_GetAudioDeviceName(device - 1, 0);
    if (!name) return kOpenNoSuchDevice;
  }
  SDL_AudioSpec want;
  SDL_zero(want);
  want.freq = static_cast<int>(format.samples_per_sec);
  want.format = format.bits_per_sample == 16 ? AUDIO_S16LSB : AUDIO_U8;
  want.channels = static_cast<Uint8>(format.channels);
  want.samples = period_for(format.samples_per_sec);
  SDL_AudioSpec have;
  SDL_zero(have);
  // No changes allowed: SDL converts to what the hardware takes, so the queue is in our format.
  const SDL_AudioDeviceID id = SDL_OpenAudioDevice(name, 0, &want, &have, 0);
  if (id == 0) return kOpenRefused;
  device_ = id;
  listener_ = listener;
  period_ms_ = static_cast<Uint32>(have.samples * 1000u / static_cast<unsigned>(have.freq > 0 ? have.freq : 1));
  played_out_at_ = 0;
  written_ = 0;
  finished_ = 0;
  queue_.release_all();
  SDL_PauseAudioDevice(device_, 0);  // a wave output plays what it is given at once
  return 0;
}

void SdlAudioDevice::close() {
  if (!device_) return;
  wake();  // closing waits for SDL's thread, which must not be held
  stop_watching();
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  queue_.release_all();
  listener_ = nullptr;
  written_ = 0;
  finished_ = 0;
}

int SdlAudioDevice::prepare(DeviceBlock& block) {
  block.prepared = true;
  block.done = false;
  return 0;
}

void SdlAudioDevice::unprepare(DeviceBlock& block) { block.prepared = false; }

int SdlAudioDevice::write(DeviceBlock& block) {
  if (!device_) return kWriteNotOpen;
  if (!block.prepared) return kWriteUnprepared;
  // SDL copies the bytes; the block stays ours to account for until the queue has drained it.
  if (SDL_QueueAudio(device_, block.data, block.length) != 0) return kWriteRefused;
  written_ += block.length;
  block.device_mark = written_;
  queue_.push(block);
  watch();
  return 0;
}

void SdlAudioDevice::pause() {
  if (!device_) return;
  SDL_PauseAudioDevice(device_, 1);
  // SDL's thread goes on playing silence, a period at a time, while its device is paused. With
  // nothing queued it is held at the device's lock instead, where it sleeps until restart().
  // The queue functions take the same lock, which this thread may take again.
  if (!resting_ && queue_.empty() && SDL_GetQueuedAudioSize(device_) == 0) {
    SDL_LockAudioDevice(device_);
    resting_ = true;
  }
}

void SdlAudioDevice::restart() {
  if (!device_) return;
  SDL_PauseAudioDevice(device_, 0);
  wake();
}

void SdlAudioDevice::wake() {
  if (!resting_) return;
  resting_ = false;
  SDL_UnlockAudioDevice(device_);
}

void SdlAudioDevice::reset() {
  if (!device_) return;
  SDL_ClearQueuedAudio(device_);
  finished_ += queue_.release_all();
  written_ = 0;
  if (finished_ > 0) watch();  // the returned blocks are reported like played ones
}

uint64_t SdlAudioDevice::position() {
  if (!device_) return 0;
  const uint64_t queued = SDL_GetQueuedAudioSize(device_);
  return written_ > queued ? written_ - queued : 0;
}

void SdlAudioDevice::watch() {
  if (timer_ == 0)
    timer_ = SDL_AddTimer(kWatchMs, watch_tick, reinterpret_cast<void*>(static_cast<uintptr_t>(event_type_)));
}

void SdlAudioDevice::stop_watching() {
  if (timer_ != 0) SDL_RemoveTimer(timer_);
  timer_ = 0;
}

void SdlAudioDevice::collect_finished() {
  const uint64_t played = position();
  while (!queue_.empty() && queue_.front()->device_mark <= played) {
    queue_.pop();
    ++finished_;
  }
}

bool SdlAudioDevice::handle_event(const SDL_Event& event) {
  if (event_type_ == 0 || event.type != event_type_) return false;
  if (!device_) return true;  // a last tick from before the device was closed
  collect_finished();
  // The listener may write, reset or close the device; each report is taken afresh.
  while (finished_ > 0 && listener_) {
    --finished_;
    listener_->block_done();
  }
  if (!device_ || !queue_.empty() || finished_ > 0) {
    played_out_at_ = 0;
    return true;
  }
  // The queue is dry, but SDL still plays the period it took last.
  const Uint64 now = SDL_GetTicks64();
  if (played_out_at_ == 0) {
    played_out_at_ = now + period_ms_ + kWatchMs;
  } else if (now >= played_out_at_) {
    played_out_at_ = 0;
    stop_watching();
    if (listener_) listener_->block_done();
  }
  return true;
}
