// The stand-in for a sound card that tests and benchmarks play the mixer on.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "audio/audio_device.hpp"
#include "audio/block_queue.hpp"

// An output device on a virtual clock, for tests and benchmarks: time only moves in advance(),
// the device then plays its blocks at the rate of the format it was opened in, and it reports
// each finished block at the millisecond it finished, on the caller's thread, as the window's
// message loop would. It keeps what it was given (every byte written, in order) and what a
// listener would have heard (the bytes played, with silence while it ran dry or was paused).
class VirtualAudioDevice : public AudioDevice {
 public:
  // What the device claims to be, and the failures it is to show. Tests may change them at any
  // time; they act from the next call on.
  struct Options {
    int device_count = 1;
    bool caps_readable = true;
    std::string name = "Virtual Output";
    uint16_t caps_channels = 2;
    uint32_t caps_flags = 0;
    bool accepts_format = true;
    int open_result = 0;       // what open() answers: 0, kDeviceAllocated, kDeviceNoCallback, a code
    int prepare_result = 0;    // what prepare() answers
    int writes_before_failure = -1;  // after this many more writes, write() fails (−1: never)
    bool record = true;        // keep given() and played(); off for long benchmarks
  };

  explicit VirtualAudioDevice(int64_t start_ms = 0);
  VirtualAudioDevice(const VirtualAudioDevice&) = delete;
  VirtualAudioDevice& operator=(const VirtualAudioDevice&) = delete;

  Options options;

  // Moves the clock on by ms; each finished block is told at the millisecond it finished.
  void advance(int64_t ms);

  bool is_open() const { return open_; }
  bool is_paused() const { return paused_; }
  const PcmFormat& format() const { return format_; }
  int opened_device() const { return device_; }
  // Blocks written and not yet played.
  int held_blocks() const;
  int writes() const { return writes_; }
  int resets() const { return resets_; }
  // Every byte written, in the order written (reset or not).
  const std::vector<uint8_t>& given() const { return given_; }
  // What came out: played bytes, and 128 for each byte of time it was paused or had nothing to
  // play.
  const std::vector<uint8_t>& played() const { return played_; }
  void forget_recordings();

  int64_t now_ms() override { return now_; }
  int count() override { return options.device_count; }
  bool capabilities(int device, DeviceCaps& caps) override;
  bool supports(int device, const PcmFormat& format) override;
  int open(int device, const PcmFormat& format, BlockDoneListener* listener) override;
  void close() override;
  int prepare(DeviceBlock& block) override;
  void unprepare(DeviceBlock& block) override;
  int write(DeviceBlock& block) override;
  void pause() override { paused_ = true; }
  void restart() override { paused_ = false; }
  void reset() override;
  uint64_t position() override { return position_; }

 private:
  void play(uint64_t bytes);
  void report_finished();

  int64_t now_;
  bool open_ = false;
  bool paused_ = false;
  int device_ = 0;
  PcmFormat format_;
  BlockDoneListener* listener_ = nullptr;
  BlockQueue queue_;
  uint32_t head_offset_ = 0;  // bytes of the head block already played
  uint64_t position_ = 0;
  int finished_ = 0;  // blocks finished and not yet reported
  int writes_ = 0;
  int resets_ = 0;
  std::vector<uint8_t> given_;
  std::vector<uint8_t> played_;
};
