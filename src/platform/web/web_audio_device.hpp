// The web page's audio device.
#pragma once
#include "audio/audio_device.hpp"
#include "audio/block_queue.hpp"

// The mixer's output in a web page: each block is copied into a Web Audio buffer and scheduled
// right after the one before. The page starts its audio at the player's first click or key (a
// browser allows no sound before one); blocks written before that count as played at once. The
// page cannot call into the game, so the host polls the device: poll() marks the blocks heard
// by now as done and tells the mixer, on the game's thread.
class WebAudioDevice : public AudioDevice {
 public:
  ~WebAudioDevice() override { close(); }
  void poll();
  // Blocks are out, to be polled for.
  bool playing() const { return !queue_.empty(); }

  int64_t now_ms() override;
  int count() override { return 1; }
  bool capabilities(int device, DeviceCaps& caps) override;
  bool supports(int device, const PcmFormat& format) override;
  int open(int device, const PcmFormat& format, BlockDoneListener* listener) override;
  void close() override;
  int prepare(DeviceBlock& block) override;
  void unprepare(DeviceBlock& block) override { block.prepared = false; }
  int write(DeviceBlock& block) override;
  void pause() override;
  void restart() override;
  void reset() override;
  uint64_t position() override;

 private:
  bool open_ = false;
  BlockDoneListener* listener_ = nullptr;
  BlockQueue queue_;  // device_mark of each = written_ at its end
  uint64_t written_ = 0;
};
