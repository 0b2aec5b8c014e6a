// The wave output the mixer writes its blocks to, and the millisecond clock it keeps time with.
// The real one is SDL's audio output (platform/sdl); tests and benchmarks use the virtual device,
// which plays on a virtual clock and records what it was given.
#pragma once
#include <cstdint>
#include <string>

// A PCM format: the 16-byte format record of a wave file, and the format a device is opened in.
struct PcmFormat {
  uint16_t format_tag = 1;  // 1 = PCM
  uint16_t channels = 1;
  uint32_t samples_per_sec = 11025;
  uint32_t avg_bytes_per_sec = 11025;
  uint16_t block_align = 1;
  uint16_t bits_per_sample = 8;
  bool operator==(const PcmFormat&) const = default;
};

// Capability flag: the device blocks the caller while it plays (no use for a real-time mixer).
constexpr uint32_t kCapsSynchronous = 0x10;

struct DeviceCaps {
  std::string name;
  uint16_t channels = 0;  // how many the device can play; 0 when it does not say
  uint32_t flags = 0;
};

// The header that goes with each block of samples to the device. The device owns the block from
// write until it sets `done` (it played it, or a reset gave it back); the last two fields are the
// device's own bookkeeping while it holds the block, so that no list is allocated while playing.
struct DeviceBlock {
  uint8_t* data = nullptr;
  uint32_t length = 0;
  bool prepared = false;
  bool done = false;
  DeviceBlock* device_next = nullptr;
  uint64_t device_mark = 0;
};

// Told on the game's thread, once for each block the device has finished with. A device whose
// blocks count as finished before their last sound is heard (handed on to a buffer of its own)
// also tells once more when that buffer has played out, so the play position has caught up.
class BlockDoneListener {
 public:
  virtual void block_done() = 0;

 protected:
  ~BlockDoneListener() = default;
};

// open(): results other than 0 and a positive error code.
constexpr int kDeviceAllocated = -1;   // someone else holds the device
constexpr int kDeviceNoCallback = -2;  // no way to tell the game's thread about finished blocks

// One output device at a time is open. Devices are numbered 0 … count() − 1;
// kDefaultDevice is the system's default output.
class AudioDevice {
 public:
  static constexpr int kDefaultDevice = -1;

  virtual ~AudioDevice() = default;

  // The milliseconds the play position is computed from when the device's own is not used.
  virtual int64_t now_ms() = 0;

  virtual int count() = 0;
  // False when the device's capabilities cannot be read.
  virtual bool capabilities(int device, DeviceCaps& caps) = 0;
  // Whether the device would accept the format (without opening it).
  virtual bool supports(int device, const PcmFormat& format) = 0;

  // Opens the device in the format, playing at once whatever is written. Finished blocks are
  // reported to the listener. 0, kDeviceAllocated, kDeviceNoCallback or an error code.
  virtual int open(int device, const PcmFormat& format, BlockDoneListener* listener) = 0;
  virtual void close() = 0;

  // A block is prepared once before it is written (0 or an error code) and unprepared at the end.
  virtual int prepare(DeviceBlock& block) = 0;
  virtual void unprepare(DeviceBlock& block) = 0;
  // Queues the block after those already written; 0 or an error code.
  virtual int write(DeviceBlock& block) = 0;

  virtual void pause() = 0;
  virtual void restart() = 0;
  // Stops at once: every block held is marked done (and reported), the position starts over at 0.
  virtual void reset() = 0;
  // Bytes played since the device was opened or last reset.
  virtual uint64_t position() = 0;
};
