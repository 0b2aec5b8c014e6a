// The mixer's pool of play requests, the channels' queues and the end-of-sound messages posted
// to the windows that asked for them.
#include "audio/mixer_internals.hpp"

namespace mixer_internals {

void deliver_posted(MixerSession& s) {
  State& st = *s.system;
  while (s.posted_count > 0) {
    const PostedMessage m = s.posted[s.posted_first];
    s.posted_first = (s.posted_first + 1) % kPostRoom;
    --s.posted_count;
    const uint64_t generation = st.generation;
    ++s.depth;
    try {
      m.window->post_message(kSoundDoneMessage, m.channel, m.wave);
    } catch (...) {
      // The window's trouble is its own; the sound has ended either way.
    }
    if (st.generation != generation) return;  // the handler closed the session
    --s.depth;
  }
}

void post(MixerSession& s, MixerWindow* window, int32_t channel, const Wave* wave) {
  // A full message queue loses the message, as a window's would.
  if (s.posted_count == kPostRoom) return;
  s.posted[(s.posted_first + s.posted_count) % kPostRoom] = {window, channel, wave};
  ++s.posted_count;
}

RequestNode* take_node(State& st) {
  RequestNode* r = st.free_nodes;
  if (r) {
    st.free_nodes = r->next;
    *r = RequestNode{};
  }
  return r;
}

void give_node(State& st, RequestNode* r) {
  r->next = st.free_nodes;
  st.free_nodes = r;
}

void free_queue(MixerSession& s, int c) {
  for (RequestNode* r = s.queue[c]; r;) {
    RequestNode* next = r->next;
    give_node(*s.system, r);
    r = next;
  }
  s.queue[c] = nullptr;
}

void drop_waiting(MixerSession& s, int c) {
  drop_requests(s, s.waiting_head, &s.waiting_tail, [c](const RequestNode& r) { return r.params.channel == c; });
}

bool any_queue(const MixerSession& s) {
  for (int c = 0; c < kChannels; ++c)
    if (s.queue[c]) return true;
  return false;
}

int64_t request_end(const RequestNode& r) {
  if (r.params.loops == kLoopForever || r.start == kNever) return kNever;
  const int64_t total = (static_cast<int64_t>(r.params.loops) + 1) * r.length;
  return r.start > kNever - total ? kNever : r.start + total;
}

}  // namespace mixer_internals
