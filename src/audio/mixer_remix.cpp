// The mixer's commit of new requests and its remix: the stream mixed again from where a change
// is to be heard.
#include "audio/mixer_internals.hpp"

#include <algorithm>

namespace mixer_internals {

namespace {

// `now` is the play position the commit read.
void apply_remix(MixerSession& s, RequestNode& r, int64_t now) {
  if (s.remix == 2) {
    // Shift the sound to start where mixing stands; what is at the device plays unchanged.
    const int64_t m = s.mix_position;
    if (r.end != kNever) {
      const int64_t end = static_cast<int64_t>(static_cast<uint64_t>(r.end) + static_cast<uint64_t>(m - r.start));
      r.end = end < m ? kNever : end;
    }
    r.start = m;
    pump(s);
  } else if (r.params.flags & kPlayRestart) {
    // Start now: the stream goes on from the new sound's start.
    remix_from(s, r.start);
  } else {
    // A sound to follow another one that ends in the blocks still to be played: those blocks are
    // mixed again from where the device stands, so the end of the other sound is not lost.
    remix_from(s, std::min(r.start, now));
  }
}

}  // namespace

void remix_from(MixerSession& s, int64_t from) {
  AudioDevice& d = device_of(s);
  s.mix_position = from;
  take_back_written(s);
  OutputBlock* queued[kBlocks];
  int n = 0;
  while (OutputBlock* b = free_block(s)) {
    if (!mix_block(s, *b)) break;
    queued[n++] = b;
  }
  const int64_t mixed_to = s.mix_position;
  d.reset();
  set_clock(s, from);
  s.mix_position = mixed_to;
  d.pause();
  for (int i = 0; i < n; ++i) {
    try {
      write_block(s, *queued[i]);
    } catch (const MixerError&) {
      for (int j = i + 1; j < n; ++j) queued[j]->free = true;
      d.restart();
      throw;
    }
  }
  d.restart();
}

void commit(MixerSession& s) {
  AudioDevice& d = device_of(s);
  // Nothing at the device and nothing queued: the stream starts over.
  if (!s.written_head && !any_queue(s)) set_clock(s, 0);
  const int64_t now = play_position(s);
  const int64_t m = s.mix_position;
  bool remix = false;
  RequestNode* remix_with = nullptr;  // the last request that needed it
  while (RequestNode* r = s.waiting_head) {
    s.waiting_head = r->next;
    if (!s.waiting_head) s.waiting_tail = nullptr;
    r->next = nullptr;
    const int c = r->params.channel;
    const bool from_device = r->params.flags & kPlayFromDevice;
    if (r->params.flags & kPlayRestart) {
      // An earlier request of this commit that wanted a remix may be among those dropped here.
      if (remix_with && remix_with->params.channel == c) remix_with = nullptr;
      free_queue(s, c);
      s.queue[c] = r;
      r->start = from_device ? now : m;
      if (s.written_head) remix_with = r;
    } else if (RequestNode* last = s.queue[c]) {
      while (last->next) last = last->next;
      last->next = r;
      r->start = from_device ? last->end : std::max(last->end, m);
      if (r->start < m) remix_with = r;
    } else {
      s.queue[c] = r;
      r->start = from_device ? now : m;
      if (r->start < m) remix_with = r;
    }
    if (remix_with == r) remix = true;
    r->end = request_end(*r);
  }
  if (remix_with) {
    apply_remix(s, *remix_with, now);
  } else if (remix) {
    // The request that wanted it was replaced by a restart of its channel; others may still
    // start inside the written blocks, so what is still to be played is mixed again.
    if (s.remix == 2)
      pump(s);
    else
      remix_from(s, now);
  } else if (!s.written_head) {
    // Queue all the blocks before the device starts, so the first ones cannot run dry.
    d.pause();
    try {
      mix_and_write(s);
    } catch (const MixerError&) {
      d.restart();
      throw;
    }
    d.restart();
  } else {
    mix_and_write(s);
  }
}

}  // namespace mixer_internals
