// The real-time mixer: one session that owns up to 8 numbered channels, each with a queue of
// play requests, and a ring of output blocks kept filled on the wave output device. Sounds on
// different channels are summed into the blocks; sounds on one channel follow one another.
// Everything happens on the game's thread: the device reports each finished block and the mixer
// refills blocks there. Every failure is a MixerError, and leaves the caller's state as it was.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "audio/audio_device.hpp"
#include "audio/mixer_error.hpp"
#include "audio/settings_file.hpp"
#include "audio/wave.hpp"

struct MixerSession;  // the session, known to callers only by its handle

// mixer_init's request: mono at the configured rate unless its flags ask otherwise.
struct InitRequest {
  uint16_t size = 10;  // a request of another size is not looked at
  uint32_t flags = 0;
  uint16_t channels = 0;
  uint16_t rate = 0;  // 11, 22 or 44
};
constexpr uint32_t kInitStereo = 1;  // with channels above 1: stereo, if the device has it
constexpr uint32_t kInitRate = 2;    // use `rate` instead of the setting

// Play flags.
constexpr uint32_t kPlayRestart = 1;     // clear the channel's queue and start now
constexpr uint32_t kPlayAnyChannel = 2;  // the mixer chooses the channel
constexpr uint32_t kPlayFromDevice = 4;  // start at the device's actual play position
constexpr uint32_t kPlayDeferred = 8;    // only queue the request; the next play commits it

constexpr uint16_t kLoopForever = 0xFFFF;

// The message a window gets when one of its sounds has ended.
constexpr uint32_t kSoundDoneMessage = 0x3BD;

// A window that asked to be told when its sound ends. The message is posted: it arrives after
// the mixer's own work is done, so the window may play, flush or release from there.
class MixerWindow {
 public:
  virtual void post_message(uint32_t message, int32_t channel, const Wave* wave) = 0;

 protected:
  ~MixerWindow() = default;
};

// The play parameters, in the order the mixer takes them.
struct PlayParams {
  uint16_t size = 24;
  MixerSession* session = nullptr;
  int32_t channel = 0;
  Wave* wave = nullptr;
  MixerWindow* notify = nullptr;
  uint32_t flags = 0;
  uint16_t loops = 0;  // plays loops + 1 times; kLoopForever plays until stopped
};

// What the process has once for the mixer: the device, the settings file, the pool of 99
// play requests and the room of the one session. The game context owns it.
class MixerSystem {
 public:
  explicit MixerSystem(AudioDevice& device, std::string settings_path = mixer_settings_path());
  ~MixerSystem();  // closes a session still open
  MixerSystem(const MixerSystem&) = delete;
  MixerSystem& operator=(const MixerSystem&) = delete;

  AudioDevice& device();
  const std::string& settings_path() const;

  struct State;

 private:
  std::unique_ptr<State> state_;
  friend MixerSession* mixer_init(MixerSystem& system, const InitRequest* request);
};

// The session operations.
MixerSession* mixer_init(MixerSystem& system, const InitRequest* request);
void mixer_activate(MixerSession* session, bool on);
// mode 0 opens channel n; 1 opens all 8; 2 opens channels 0 to n − 1.
void open_channel(MixerSession* session, int32_t n, uint32_t mode);
// Flushes channel n (every channel when `all`) without remixing, and closes it.
void close_channel(MixerSession* session, int32_t n, bool all);
// Drops channel n's requests (flag 1: every channel's); unless flag 2, the sound stops at once.
void flush_channel(MixerSession* session, int32_t n, uint32_t flags);
void mixer_play(const PlayParams* params);
void close_session(MixerSession* session);

// Loads a wave in the session's output format: from a file, or a wave file's image in memory.
std::unique_ptr<Wave> mixer_load_wave(MixerSession* session, const std::string& path);
std::unique_ptr<Wave> mixer_load_wave_image(MixerSession* session, const void* image, size_t size,
                                            const std::string& name = {});
// Takes every request of the wave off all channels (the blocks at the device play out); the
// wave may then be freed.
void mixer_forget_wave(MixerSession* session, const Wave* wave);

// Whether the session holds the device, and its open channels as a bit mask (cheap enough to
// ask at any time).
bool mixer_active(MixerSession* session);
uint8_t mixer_open_channels(MixerSession* session);

// A look at the session, for tests and tools.
struct MixerStatus {
  bool active = false;
  PcmFormat format;
  int device = 0;  // AudioDevice::kDefaultDevice for the system's default
  std::string device_name;
  int32_t remix = 0;
  bool device_position = false;
  int block_count = 0;
  uint32_t block_length = 0;
  uint8_t open_channels = 0;  // bit mask
  int queued[8] = {};         // requests in each channel's queue
  int waiting = 0;            // requests waiting to be committed
  int blocks_at_device = 0;
  int free_requests = 0;      // nodes left in the pool
  int64_t mix_position = 0;
  int64_t play_position = 0;  // 0 when inactive
};
MixerStatus mixer_status(MixerSession* session);
