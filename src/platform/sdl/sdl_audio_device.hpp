// The desktop's audio device: SDL's output, fed and watched on the game's thread.
#pragma once
#include <SDL.h>

#include <cstdint>

#include "audio/audio_device.hpp"
#include "audio/block_queue.hpp"

// The system's audio output for the mixer, through SDL's audio queue.
//
// Devices: 0 is the system's default output (also AudioDevice::kDefaultDevice), 1 … n are the
// outputs SDL lists, in its order. With no audio driver at all the device lists none, and the
// mixer then refuses to start (the game plays silent).
//
// Finished blocks: SDL takes the queued bytes a device period (256 or 512 samples) at a time on
// its own thread. While blocks are queued an SDL timer puts an event of event_type() in the event
// queue every few milliseconds (never more than one at a time); the game's thread passes each
// event to handle_event(), which sees how far the queue has drained, marks the blocks played and
// tells the mixer, on the game's thread; once the queue has run dry it tells once more when SDL's
// own buffer has played out, one period later. Every loop that takes events — the main loop, the sleep
// inside a handler, the modal question — must hand these events over, or the sound stops after
// the blocks already queued (about half a second).
//
// Resting: the mixer pauses the device when nothing is left to play. SDL's thread would go on
// waking every period to play silence, so while nothing is queued it is held at the device's lock
// until the next restart() (see pause()).
class SdlAudioDevice : public AudioDevice {
 public:
  SdlAudioDevice();
  ~SdlAudioDevice() override;
  SdlAudioDevice(const SdlAudioDevice&) = delete;
  SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

  // Whether SDL's audio could be started at all.
  bool started() const { return started_; }
  // True if the event was this device's (it has then been handled).
  bool handle_event(const SDL_Event& event);
  // The SDL event type of this device's events (0 until the device was first opened).
  Uint32 event_type() const { return event_type_; }
  SDL_AudioDeviceID sdl_device() const { return device_; }
  // Paused with nothing queued, SDL's thread held (see pause()).
  bool resting() const { return resting_; }
  // While blocks are out, events of event_type() keep coming, which the window system's
  // connection knows nothing of: a loop must not wait on that connection alone then.
  bool sending_events() const { return timer_ != 0; }

  int64_t now_ms() override;
  int count() override;
  bool capabilities(int device, DeviceCaps& caps) override;
  bool supports(int device, const PcmFormat& format) override;
  int open(int device, const PcmFormat& format, BlockDoneListener* listener) override;
  void close() override;
  int prepare(DeviceBlock& block) override;
  void unprepare(DeviceBlock& block) override;
  int write(DeviceBlock& block) override;
  void pause() override;
  void restart() override;
  void reset() override;
  uint64_t position() override;

 private:
  void watch();
  void stop_watching();
  void collect_finished();
  void wake();  // lets SDL's thread go on after a rest

  bool started_ = false;
  bool timer_started_ = false;
  Uint32 event_type_ = 0;
  SDL_AudioDeviceID device_ = 0;
  SDL_TimerID timer_ = 0;
  BlockDoneListener* listener_ = nullptr;
  BlockQueue queue_;  // device_mark of each = written_ at its end
  uint64_t written_ = 0;  // bytes queued since open or the last reset
  int finished_ = 0;      // blocks done and not yet reported
  Uint32 period_ms_ = 0;  // how long SDL's own buffer (one device period) plays
  Uint64 played_out_at_ = 0;  // when the queue ran dry: the time its last period has been heard
  bool resting_ = false;      // paused with nothing queued: SDL's thread held at the device's lock
};
