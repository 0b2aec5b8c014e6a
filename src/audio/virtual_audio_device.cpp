// The virtual output device: its clock, the blocks it plays, and what it records.
#include "audio/virtual_audio_device.hpp"

#include <algorithm>

namespace {

// write() answers, as a device driver would for these mistakes.
constexpr int kWriteNotOpen = 1;
constexpr int kWriteUnprepared = 2;
constexpr int kWriteRefused = 3;

}  // namespace

VirtualAudioDevice::VirtualAudioDevice(int64_t start_ms) : now_(start_ms) {}

int VirtualAudioDevice::held_blocks() const { return queue_.size(); }

void VirtualAudioDevice::forget_recordings() {
  given_.clear();
  played_.clear();
}

bool VirtualAudioDevice::capabilities(int device, DeviceCaps& caps) {
  if (!options.caps_readable || device < kDefaultDevice || device >= options.device_count) return false;
  caps.name = options.name;
  caps.channels = options.caps_channels;
  caps.flags = options.caps_flags;
  return true;
}

bool VirtualAudioDevice::supports(int device, const PcmFormat&) {
  return options.accepts_format && device >= kDefaultDevice && device < options.device_count;
}

int VirtualAudioDevice::open(int device, const PcmFormat& format, BlockDoneListener* listener) {
  if (open_) return kDeviceAllocated;
  if (options.open_result != 0) return options.open_result;
  open_ = true;
  paused_ = false;
  device_ = device;
  format_ = format;
  listener_ = listener;
  position_ = 0;
  finished_ = 0;
  return 0;
}

void VirtualAudioDevice::close() {
  queue_.release_all();
  head_offset_ = 0;
  open_ = false;
  paused_ = false;
  listener_ = nullptr;
  finished_ = 0;
  position_ = 0;
}

int VirtualAudioDevice::prepare(DeviceBlock& block) {
  if (options.prepare_result != 0) return options.prepare_result;
  block.prepared = true;
  block.done = false;
  return 0;
}

void VirtualAudioDevice::unprepare(DeviceBlock& block) { block.prepared = false; }

int VirtualAudioDevice::write(DeviceBlock& block) {
  if (!open_) return kWriteNotOpen;
  if (!block.prepared) return kWriteUnprepared;
  if (options.writes_before_failure == 0) return kWriteRefused;
  if (options.writes_before_failure > 0) --options.writes_before_failure;
  ++writes_;
  if (options.record) given_.insert(given_.end(), block.data, block.data + block.length);
  queue_.push(block);
  return 0;
}

void VirtualAudioDevice::reset() {
  finished_ += queue_.release_all();
  head_offset_ = 0;
  position_ = 0;
  ++resets_;
}

void VirtualAudioDevice::play(uint64_t bytes) {
  while (bytes > 0) {
    const DeviceBlock* head = queue_.front();
    if (!head) {
      // Ran dry: the output goes on in silence, and the position stands still.
      if (options.record) played_.insert(played_.end(), bytes, uint8_t{128});
      return;
    }
    const uint64_t take = std::min<uint64_t>(bytes, head->length - head_offset_);
    if (options.record)
      played_.insert(played_.end(), head->data + head_offset_, head->data + head_offset_ + take);
    head_offset_ += static_cast<uint32_t>(take);
    position_ += take;
    bytes -= take;
    if (head_offset_ >= head->length) {
      queue_.pop();
      head_offset_ = 0;
      ++finished_;
    }
  }
}

void VirtualAudioDevice::report_finished() {
  // The listener may write, reset or close the device; each report is taken from the count
  // afresh, and a close drops the rest.
  while (finished_ > 0 && listener_) {
    --finished_;
    listener_->block_done();
  }
}

void VirtualAudioDevice::advance(int64_t ms) {
  const int64_t end = now_ + ms;
  while (now_ < end) {
    const int64_t before = now_;
    const int64_t rate = format_.avg_bytes_per_sec;
    // Only a finished block is told, and only the one told can change what happens next, so the
    // clock goes at once to the millisecond in which the head block plays its last byte (to the
    // end when there is none, or the device is paused or closed).
    now_ = end;
    if (open_ && !paused_ && finished_ == 0 && rate > 0) {
      if (const DeviceBlock* head = queue_.front()) {
        const int64_t last_byte = before * rate / 1000 + (head->length - head_offset_);
        now_ = std::clamp((last_byte * 1000 + rate - 1) / rate, before + 1, end);
      }
    } else if (finished_ > 0) {
      now_ = before + 1;
    }
    if (open_) {
      const auto due = static_cast<uint64_t>(now_ * rate / 1000 - before * rate / 1000);
      // A paused device is heard as silence, and its position stands still.
      if (!paused_) play(due);
      else if (options.record) played_.insert(played_.end(), due, uint8_t{128});
    }
    report_finished();
  }
}
