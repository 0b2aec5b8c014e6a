// The mixer session's records (the pool's requests, the output blocks, the session and the
// process's state) and the operations its parts share: the request pool, the mixing, the device
// pump, the remix, the configuration and the session operations.
#pragma once
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "audio/mixer_session.hpp"

constexpr uint32_t kCheckWord = 0x5432;
constexpr int kChannels = 8;
constexpr int kPoolSize = 99;
constexpr int kBlocks = 6;
constexpr uint32_t kBlockRoom = 4096;
constexpr int64_t kNever = INT64_MAX;  // the end of a request that loops for ever
// Room for the end-of-sound messages not yet delivered: every request of the pool twice over.
constexpr int kPostRoom = 2 * kPoolSize;

// One play request: a node of the fixed pool, on the free list, the waiting list or a channel's
// queue (linked through `next`).
struct RequestNode {
  PlayParams params;
  const uint8_t* data = nullptr;
  int64_t length = 0;
  int64_t start = 0;  // stream positions, in bytes of the output format
  int64_t end = 0;
  RequestNode* next = nullptr;
};

// An output block: the device's header and the data it points at, allocated together.
struct OutputBlock {
  DeviceBlock header;
  int64_t start = 0;  // the stream position of its first byte
  bool free = true;
  OutputBlock* next_written = nullptr;
  uint8_t data[kBlockRoom];
};

struct PostedMessage {
  MixerWindow* window = nullptr;
  int32_t channel = 0;
  const Wave* wave = nullptr;
};

// The device tells the session about finished blocks through this.
struct SessionListener final : BlockDoneListener {
  MixerSession* session = nullptr;
  void block_done() override;
};

struct MixerSession {
  uint32_t check_head = 0;
  MixerSystem::State* system = nullptr;
  SessionListener listener;
  int device = 0;
  std::string device_name;
  bool active = false;
  bool open[kChannels] = {};
  RequestNode* queue[kChannels] = {};
  int open_count = 0;
  uint32_t use_counter = 0;
  uint32_t stamp[kChannels] = {};
  PcmFormat format;
  uint32_t block_length = 0;
  int block_count = 0;
  bool device_position = false;
  int32_t remix = 0;
  int64_t mix_position = 0;  // blocks have been mixed up to here
  // The clock: the play position is (now − base) in bytes, or the device's position + correction.
  int64_t clock_base_ms = 0;
  int64_t clock_correction = 0;
  int64_t remembered_position = 0;  // where deactivating left off
  RequestNode* waiting_head = nullptr;
  RequestNode* waiting_tail = nullptr;
  std::unique_ptr<OutputBlock> blocks[kBlocks];
  OutputBlock* written_head = nullptr;  // at the device, in the order written
  OutputBlock* written_tail = nullptr;
  PostedMessage posted[kPostRoom] = {};
  int posted_first = 0;
  int posted_count = 0;
  int depth = 0;  // operations under way (a window's handler may start another)
  uint32_t check_tail = 0;
};

struct MixerSystem::State {
  State(AudioDevice& d, std::string path) : device(d), settings_path(std::move(path)) {}
  AudioDevice& device;
  std::string settings_path;
  RequestNode nodes[kPoolSize];
  RequestNode* free_nodes = nullptr;
  MixerSession session;
  bool session_in_use = false;
  uint64_t generation = 0;  // counts sessions opened and closed
};

// The operations of the session's parts, each in the file of its job.
namespace mixer_internals {

using State = MixerSystem::State;

inline AudioDevice& device_of(MixerSession& s) { return s.system->device; }

// ---- mixer_requests.cpp: the pool of requests, the channels' queues and the posted messages ----

// Delivers the posted end-of-sound messages once the outermost operation is done, so that a
// window's handler finds the mixer between operations, as a posted message would.
void deliver_posted(MixerSession& s);

// An operation of the session under way; the outermost one delivers the posted messages as it ends.
class Operation {
 public:
  explicit Operation(MixerSession& s) : s_(s), st_(*s.system), generation_(st_.generation) { ++s_.depth; }
  ~Operation() {
    if (st_.generation != generation_) return;
    if (--s_.depth == 0) deliver_posted(s_);
  }
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

 private:
  MixerSession& s_;
  State& st_;
  uint64_t generation_;
};

void post(MixerSession& s, MixerWindow* window, int32_t channel, const Wave* wave);
RequestNode* take_node(State& st);
void give_node(State& st, RequestNode* r);
void free_queue(MixerSession& s, int c);

// Takes off every request of one list that `drop` picks, back to the pool.
template <class Pick>
void drop_requests(MixerSession& s, RequestNode*& head, RequestNode** tail, Pick drop) {
  RequestNode* last = nullptr;
  for (RequestNode** link = &head; *link;) {
    RequestNode* r = *link;
    if (drop(*r)) {
      *link = r->next;
      give_node(*s.system, r);
    } else {
      last = r;
      link = &r->next;
    }
  }
  if (tail) *tail = last;
}

void drop_waiting(MixerSession& s, int c);
bool any_queue(const MixerSession& s);
int64_t request_end(const RequestNode& r);

// ---- mixer_mixing.cpp: the channels' sounds summed into a block ----

// Mixes one block at the mix position. False (the block stays free) when no channel has
// anything left to play from there.
bool mix_block(MixerSession& s, OutputBlock& b);

// ---- mixer_device.cpp: the blocks written to the device and taken back, the clock ----

// The play position: from the device's own count, or from the millisecond clock.
int64_t play_position(MixerSession& s);
void set_clock(MixerSession& s, int64_t p);
// Hands a mixed block to the device. On failure the block is free again and the mix position
// goes back to its start, so the stream has no hole.
void write_block(MixerSession& s, OutputBlock& b);
OutputBlock* free_block(MixerSession& s);
void mix_and_write(MixerSession& s);
void take_back_written(MixerSession& s);
void pump(MixerSession& s);
void activate(MixerSession& s);
void deactivate(MixerSession& s);

// ---- mixer_remix.cpp: new requests committed, the stream mixed again ----

// Mixes the stream again from `from`: the blocks at the device are taken back, mixed anew, and
// the device is reset and given them, so a change is heard at once. The device then plays the
// stream from `from` on, so that is where the clock is set.
void remix_from(MixerSession& s, int64_t from);
void commit(MixerSession& s);

// ---- mixer_configuration.cpp: the settings file read into the session ----

// The session's configuration from the settings file and the request.
void configure(MixerSession& s, const SettingsFile& ini, const InitRequest* request);

}  // namespace mixer_internals
