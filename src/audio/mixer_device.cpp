// The mixer's device pump: blocks written to the device, taken back as it finishes them and
// refilled, the play position's clock, and taking or releasing the device.
#include "audio/mixer_internals.hpp"

#include <new>

namespace mixer_internals {

namespace {

void reset_device(MixerSession& s) {
  const int64_t p = play_position(s);
  device_of(s).reset();
  set_clock(s, p);
}

void release_blocks(MixerSession& s) {
  AudioDevice& d = device_of(s);
  for (auto& b : s.blocks) {
    if (!b) continue;
    if (b->header.prepared) d.unprepare(b->header);
    b.reset();
  }
}

}  // namespace

int64_t play_position(MixerSession& s) {
  AudioDevice& d = device_of(s);
  if (s.device_position) return static_cast<int64_t>(d.position()) + s.clock_correction;
  int64_t p = (d.now_ms() - s.clock_base_ms) * s.format.avg_bytes_per_sec / 1000;
  if (s.format.block_align >= 2) p &= ~int64_t{1};
  return p;
}

void set_clock(MixerSession& s, int64_t p) {
  AudioDevice& d = device_of(s);
  s.clock_correction = p - static_cast<int64_t>(d.position());
  s.clock_base_ms = d.now_ms() - p * 1000 / s.format.avg_bytes_per_sec;
  s.mix_position = p;
}

void write_block(MixerSession& s, OutputBlock& b) {
  b.header.length = s.block_length;
  b.next_written = nullptr;
  OutputBlock* before = s.written_tail;
  if (before)
    before->next_written = &b;
  else
    s.written_head = &b;
  s.written_tail = &b;
  if (device_of(s).write(b.header) != 0) {
    if (before)
      before->next_written = nullptr;
    else
      s.written_head = nullptr;
    s.written_tail = before;
    b.free = true;
    s.mix_position = b.start;
    throw MixerError("Failed to write block to device");
  }
}

OutputBlock* free_block(MixerSession& s) {
  for (int i = 0; i < s.block_count; ++i)
    if (s.blocks[i] && s.blocks[i]->free) return s.blocks[i].get();
  return nullptr;
}

void mix_and_write(MixerSession& s) {
  while (OutputBlock* b = free_block(s)) {
    if (!mix_block(s, *b)) break;
    write_block(s, *b);
  }
}

void take_back_written(MixerSession& s) {
  for (OutputBlock* b = s.written_head; b;) {
    OutputBlock* next = b->next_written;
    b->next_written = nullptr;
    b->free = true;
    b = next;
  }
  s.written_head = s.written_tail = nullptr;
}

void pump(MixerSession& s) {
  if (!s.active) return;
  OutputBlock* last = nullptr;
  for (OutputBlock** link = &s.written_head; *link;) {
    OutputBlock* b = *link;
    if (b->header.done) {
      *link = b->next_written;
      b->next_written = nullptr;
      b->free = true;
    } else {
      last = b;
      link = &b->next_written;
    }
  }
  s.written_tail = last;

  const int64_t p = play_position(s);
  for (int c = 0; c < kChannels; ++c) {
    if (!s.open[c]) continue;
    while (s.queue[c] && s.queue[c]->end <= p) {
      RequestNode* r = s.queue[c];
      s.queue[c] = r->next;
      if (r->params.notify) post(s, r->params.notify, c, r->params.wave);
      give_node(*s.system, r);
    }
  }
  mix_and_write(s);
  // Nothing left to play and nothing at the device: it rests until the next sound, which
  // starts it again (commit and remix_from restart it after writing).
  if (!s.written_head && !any_queue(s)) device_of(s).pause();
}

void activate(MixerSession& s) {
  AudioDevice& d = device_of(s);
  const int code = d.open(s.device, s.format, &s.listener);
  if (code == kDeviceAllocated) throw MixerError("Resource is already allocated to a process");
  if (code == kDeviceNoCallback) throw MixerError("Failed to create callback window");
  if (code != 0) throw MixerError("Failed to open waveform output device #" + std::to_string(code));
  for (auto& b : s.blocks) {
    b.reset(new (std::nothrow) OutputBlock);
    if (!b) {
      release_blocks(s);
      d.close();
      throw out_of_memory_error();
    }
    b->header.data = b->data;
    b->header.length = s.block_length;
    const int prepared = d.prepare(b->header);
    if (prepared != 0) {
      release_blocks(s);
      d.close();
      throw MixerError("Unable to prepare wave header #" + std::to_string(prepared));
    }
  }
  s.active = true;
  set_clock(s, s.remembered_position);
  pump(s);
}

void deactivate(MixerSession& s) {
  AudioDevice& d = device_of(s);
  s.remembered_position = play_position(s);
  reset_device(s);
  take_back_written(s);
  release_blocks(s);
  d.close();
  s.active = false;
}

}  // namespace mixer_internals

using namespace mixer_internals;

void SessionListener::block_done() {
  if (!session || session->check_head != kCheckWord || session->check_tail != kCheckWord) return;
  Operation op(*session);
  try {
    pump(*session);
  } catch (const MixerError&) {
    // Nobody to tell: the block that could not be written is free again, and the next report
    // or play tries once more.
  }
}
