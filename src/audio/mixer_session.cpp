// The real-time mixer's session: its pool of requests, the channels' queues, and the blocks
// mixed from them and kept filled on the device.
#include "audio/mixer_session.hpp"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

constexpr uint32_t kCheckWord = 0x5432;
constexpr int kChannels = 8;
constexpr int kPoolSize = 99;
constexpr int kBlocks = 6;
constexpr uint32_t kBlockRoom = 4096;
constexpr int64_t kNever = INT64_MAX;  // the end of a request that loops for ever
// Room for the end-of-sound messages not yet delivered: every request of the pool twice over.
constexpr int kPostRoom = 2 * kPoolSize;

}  // namespace

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

namespace {

using State = MixerSystem::State;

MixerSession& checked(MixerSession* handle) {
  if (!handle || handle->check_head != kCheckWord || handle->check_tail != kCheckWord)
    throw MixerError("Invalid Session handle");
  return *handle;
}

AudioDevice& device_of(MixerSession& s) { return s.system->device; }

MixerError channel_number_error() { return MixerError("Invalid channel number"); }
MixerError channel_not_open_error() { return MixerError("The specified channel was not open"); }

// Delivers the posted end-of-sound messages once the outermost operation is done, so that a
// window's handler finds the mixer between operations, as a posted message would.
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

void drop_waiting(MixerSession& s, int c) {
  drop_requests(s, s.waiting_head, &s.waiting_tail, [c](const RequestNode& r) { return r.params.channel == c; });
}

bool any_queue(const MixerSession& s) {
  for (int c = 0; c < kChannels; ++c)
    if (s.queue[c]) return true;
  return false;
}

// The play position: from the device's own count, or from the millisecond clock.
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

void reset_device(MixerSession& s) {
  const int64_t p = play_position(s);
  device_of(s).reset();
  set_clock(s, p);
}

int64_t request_end(const RequestNode& r) {
  if (r.params.loops == kLoopForever || r.start == kNever) return kNever;
  const int64_t total = (static_cast<int64_t>(r.params.loops) + 1) * r.length;
  return r.start > kNever - total ? kNever : r.start + total;
}

// Mix rule: one source is copied; several are summed around the silence level 128 and held to
// 0 … 255. Sixteen samples go at a time in the compiler's vector types, their sum kept in
// registers: the sum of at most kChannels sources around 128 fits in 16 bits.
using Samples16 = uint8_t __attribute__((vector_size(16)));
using Sums16 = int16_t __attribute__((vector_size(32)));
static_assert(128 * (kChannels + 1) <= INT16_MAX);

void mix_sources(uint8_t* out, const uint8_t* const* src, int k, size_t len) {
  if (k == 1) {
    std::memcpy(out, src[0], len);
    return;
  }
  size_t i = 0;
  for (; i + 16 <= len; i += 16) {
    Sums16 sum = {};
    for (int j = 0; j < k; ++j) {
      Samples16 v;
      std::memcpy(&v, src[j] + i, sizeof v);
      sum += __builtin_convertvector(v, Sums16) - 128;
    }
    sum += 128;
    sum = sum < 0 ? 0 : sum;
    sum = sum > 255 ? 255 : sum;
    const Samples16 held = __builtin_convertvector(sum, Samples16);
    std::memcpy(out + i, &held, sizeof held);
  }
  for (; i < len; ++i) {
    int v = 128;
    for (int j = 0; j < k; ++j) v += src[j][i] - 128;
    out[i] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
  }
}

// Mixes one block at the mix position. False (the block stays free) when no channel has
// anything left to play from there.
bool mix_block(MixerSession& s, OutputBlock& b) {
  int64_t p = s.mix_position;
  const int64_t block_start = p;
  const int64_t block_end = p + s.block_length;
  RequestNode* taken[kChannels];
  int n = 0;
  for (int c = 0; c < kChannels; ++c) {
    if (!s.open[c]) continue;
    RequestNode* r = s.queue[c];
    while (r && r->end <= p) r = r->next;  // ended ones are passed over, not removed
    if (r) taken[n++] = r;
  }
  if (n == 0) return false;

  while (p < block_end) {
    int64_t first_start = kNever;
    for (int i = 0; i < n; ++i) first_start = std::min(first_start, taken[i]->start);
    if (p < first_start) {
      const int64_t q = std::min(first_start, block_end);
      std::memset(b.data + (p - block_start), 128, static_cast<size_t>(q - p));
      p = q;
      continue;
    }
    // The chunk up to the next change: a block's end, a sound's end or start, a loop's turn.
    int64_t q = block_end;
    const uint8_t* src[kChannels];
    int k = 0;
    for (int i = 0; i < n; ++i) {
      const RequestNode& r = *taken[i];
      if (r.start > p) {
        q = std::min(q, r.start);
        continue;
      }
      q = std::min(q, r.end);
      int64_t offset = p - r.start;
      if (r.params.loops != 0) {
        offset %= r.length;
        q = std::min(q, p + (r.length - offset));
      }
      src[k++] = r.data + offset;
    }
    mix_sources(b.data + (p - block_start), src, k, static_cast<size_t>(q - p));
    p = q;
    int m = 0;
    for (int i = 0; i < n; ++i) {
      RequestNode* r = taken[i];
      while (r && r->end <= p) r = r->next;
      if (r) taken[m++] = r;
    }
    n = m;
  }
  b.start = block_start;
  b.free = false;
  s.mix_position = block_end;
  return true;
}

// Hands a mixed block to the device. On failure the block is free again and the mix position
// goes back to its start, so the stream has no hole.
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

// Mixes the stream again from `from`: the blocks at the device are taken back, mixed anew, and
// the device is reset and given them, so a change is heard at once. The device then plays the
// stream from `from` on, so that is where the clock is set.
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

void release_blocks(MixerSession& s) {
  AudioDevice& d = device_of(s);
  for (auto& b : s.blocks) {
    if (!b) continue;
    if (b->header.prepared) d.unprepare(b->header);
    b.reset();
  }
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

int32_t rate_of(int32_t setting) {
  switch (setting) {
    case 22: return 22050;
    case 44: return 44100;
    default: return 11025;
  }
}

// The session's configuration from the settings file and the request.
void configure(MixerSession& s, const SettingsFile& ini, const InitRequest* request) {
  AudioDevice& d = device_of(s);
  int device = ini.read_int("general", "OutputDevice", 0);
  if (device < 0 || device >= d.count()) device = AudioDevice::kDefaultDevice;
  s.device = device;
  DeviceCaps caps;
  const bool have_caps = d.capabilities(device, caps);
  s.device_name = have_caps ? caps.name : "Unknown Device";

  // Each key is read from "default", then from the device's own section, which wins.
  auto setting = [&](const char* key, int32_t fallback) {
    return ini.read_int(s.device_name, key, ini.read_int("default", key, fallback));
  };
  s.remix = setting("Remix", 1);
  s.device_position = setting("DevicePosition", 0) != 0;
  s.block_count = std::clamp(setting("BlockCount", 3), 2, kBlocks);
  const int32_t default_length = ini.read_int("default", "BlockLength", 0) & ~3;
  const int32_t length = ini.read_int(s.device_name, "BlockLength", default_length);
  int32_t rate = rate_of(setting("SamplesPerSec", 11));
  uint16_t channels = 1;
  if (request && request->size == 10) {
    if (request->flags & kInitRate) rate = rate_of(request->rate);
    if ((request->flags & kInitStereo) && request->channels > 1 && caps.channels > 1) channels = 2;
  }
  s.format = PcmFormat{1, channels, static_cast<uint32_t>(rate), static_cast<uint32_t>(rate) * channels, channels, 8};
  uint32_t block = length == 0 ? std::min<uint32_t>(kBlockRoom, static_cast<uint32_t>(rate / 11025) * 2048)
                               : static_cast<uint32_t>(std::clamp<int32_t>(length, 512, kBlockRoom));
  block -= block % s.format.block_align;  // whole frames in every block
  s.block_length = block;

  if (have_caps && (caps.flags & kCapsSynchronous))
    throw MixerError(s.device_name + " is a syncronous (blocking) " +
                     "wave output device.  This will not permit audio to play while other " +
                     "applications are running");
  if (ini.read_int("not compatible", s.device_name, 0) != 0)
    throw MixerError(s.device_name + " is not compatible with " + "the realtime mixer");
}

void wipe(State& st) {
  st.session = MixerSession{};
  st.session_in_use = false;
  ++st.generation;
}

void open_one(MixerSession& s, int c) {
  if (s.open[c]) return;
  s.open[c] = true;
  s.queue[c] = nullptr;
  ++s.open_count;
}

}  // namespace

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

MixerSystem::MixerSystem(AudioDevice& device, std::string settings_path)
    : state_(std::make_unique<State>(device, std::move(settings_path))) {}

MixerSystem::~MixerSystem() {
  if (state_->session_in_use) {
    try {
      close_session(&state_->session);
    } catch (...) {
    }
  }
}

AudioDevice& MixerSystem::device() { return state_->device; }
const std::string& MixerSystem::settings_path() const { return state_->settings_path; }

MixerSession* mixer_init(MixerSystem& system, const InitRequest* request) {
  State& st = *system.state_;
  if (st.session_in_use) throw MixerError("Session already initialized");
  st.free_nodes = nullptr;
  for (int i = kPoolSize - 1; i >= 0; --i) give_node(st, &st.nodes[i]);
  if (st.device.count() <= 0) throw MixerError("No wave output devices available");
  MixerSession& s = st.session;
  s = MixerSession{};
  s.system = &st;
  s.listener.session = &s;
  try {
    SettingsFile ini;
    ini.load(st.settings_path);
    configure(s, ini, request);
  } catch (const std::bad_alloc&) {
    wipe(st);
    throw out_of_memory_error();
  } catch (...) {
    wipe(st);
    throw;
  }
  s.check_head = s.check_tail = kCheckWord;
  st.session_in_use = true;
  ++st.generation;
  return &s;
}

void mixer_activate(MixerSession* session, bool on) {
  MixerSession& s = checked(session);
  Operation op(s);
  if (on == s.active) return;
  if (on)
    activate(s);
  else
    deactivate(s);
}

void open_channel(MixerSession* session, int32_t n, uint32_t mode) {
  MixerSession& s = checked(session);
  switch (mode) {
    case 0:
      if (n < 0 || n >= kChannels) throw channel_number_error();
      if (s.open[n]) throw MixerError("The channel has already been opened");
      open_one(s, n);
      return;
    case 1:
      for (int c = 0; c < kChannels; ++c) open_one(s, c);
      return;
    case 2:
      if (n < 1 || n > kChannels) throw MixerError("Invalid number of channels");
      for (int c = 0; c < n; ++c) open_one(s, c);
      return;
    default:
      throw MixerError("Invalid Flags");
  }
}

void close_channel(MixerSession* session, int32_t n, bool all) {
  MixerSession& s = checked(session);
  if (!all) {
    if (n < 0 || n >= kChannels) throw channel_number_error();
    if (!s.open[n]) throw channel_not_open_error();
  }
  for (int c = 0; c < kChannels; ++c) {
    if (!s.open[c] || (!all && c != n)) continue;
    free_queue(s, c);
    drop_waiting(s, c);
    s.open[c] = false;
    --s.open_count;
  }
}

void flush_channel(MixerSession* session, int32_t n, uint32_t flags) {
  MixerSession& s = checked(session);
  Operation op(s);
  const bool all = flags & 1;
  if (!all) {
    if (n < 0 || n >= kChannels) throw channel_number_error();
    if (!s.open[n]) throw channel_not_open_error();
  }
  bool dropped = false;
  for (int c = 0; c < kChannels; ++c) {
    if (!s.open[c] || (!all && c != n)) continue;
    if (s.queue[c]) dropped = true;
    free_queue(s, c);
    drop_waiting(s, c);
  }
  if (dropped && !(flags & 2) && s.active) {
    if (s.remix == 2)
      pump(s);
    else
      remix_from(s, play_position(s));
  }
}

void mixer_play(const PlayParams* params) {
  if (!params) throw MixerError("nil parameters pointer passed to mixer_play");
  if (!params->wave) throw MixerError("nil wave pointer passed to mixer_play!");
  MixerSession& s = checked(params->session);
  Operation op(s);
  if (!s.active) throw MixerError("Wave device not allocated, call mixer_activate(hSession,TRUE)");
  if (s.open_count == 0) throw MixerError("You must open a channel before you can play a wave");
  int32_t c = params->channel;
  if (params->flags & kPlayAnyChannel) {
    // The oldest-used open channel, or the first idle one at once.
    int best = -1;
    for (int i = 0; i < kChannels; ++i) {
      if (!s.open[i]) continue;
      if (!s.queue[i]) {
        best = i;
        break;
      }
      if (best < 0 || s.stamp[i] < s.stamp[best]) best = i;
    }
    c = best;
  } else if (c < 0 || c >= kChannels) {
    throw channel_number_error();
  }
  if (!s.open[c]) throw channel_not_open_error();
  RequestNode* r = take_node(*s.system);
  if (!r) throw MixerError("Not enough memory");
  s.stamp[c] = ++s.use_counter;
  r->params = *params;
  r->params.channel = c;
  r->data = params->wave->data();
  r->length = params->wave->length();
  if (s.waiting_tail)
    s.waiting_tail->next = r;
  else
    s.waiting_head = r;
  s.waiting_tail = r;
  if (params->flags & kPlayDeferred) return;
  commit(s);
}

void close_session(MixerSession* session) {
  MixerSession& s = checked(session);
  State& st = *s.system;
  if (s.active) deactivate(s);
  for (int c = 0; c < kChannels; ++c) free_queue(s, c);
  drop_requests(s, s.waiting_head, &s.waiting_tail, [](const RequestNode&) { return true; });
  wipe(st);
}

std::unique_ptr<Wave> mixer_load_wave(MixerSession* session, const std::string& path) {
  MixerSession& s = checked(session);
  if (!device_of(s).supports(s.device, s.format)) throw MixerError("The waveform device can\xB4t play this format");
  return read_wave_file(path, s.format);
}

std::unique_ptr<Wave> mixer_load_wave_image(MixerSession* session, const void* image, size_t size,
                                            const std::string& name) {
  MixerSession& s = checked(session);
  if (!device_of(s).supports(s.device, s.format)) throw MixerError("The waveform device can\xB4t play this format");
  return read_wave_image(image, size, name, s.format);
}

void mixer_forget_wave(MixerSession* session, const Wave* wave) {
  MixerSession& s = checked(session);
  auto of_wave = [wave](const RequestNode& r) { return r.params.wave == wave; };
  for (int c = 0; c < kChannels; ++c) drop_requests(s, s.queue[c], nullptr, of_wave);
  drop_requests(s, s.waiting_head, &s.waiting_tail, of_wave);
}

bool mixer_active(MixerSession* session) { return checked(session).active; }

uint8_t mixer_open_channels(MixerSession* session) {
  MixerSession& s = checked(session);
  uint8_t mask = 0;
  for (int c = 0; c < kChannels; ++c)
    if (s.open[c]) mask = static_cast<uint8_t>(mask | 1u << c);
  return mask;
}

MixerStatus mixer_status(MixerSession* session) {
  MixerSession& s = checked(session);
  MixerStatus st;
  st.active = s.active;
  st.format = s.format;
  st.device = s.device;
  st.device_name = s.device_name;
  st.remix = s.remix;
  st.device_position = s.device_position;
  st.block_count = s.block_count;
  st.block_length = s.block_length;
  st.open_channels = mixer_open_channels(session);
  for (int c = 0; c < kChannels; ++c)
    for (const RequestNode* r = s.queue[c]; r; r = r->next) ++st.queued[c];
  for (const RequestNode* r = s.waiting_head; r; r = r->next) ++st.waiting;
  for (const OutputBlock* b = s.written_head; b; b = b->next_written) ++st.blocks_at_device;
  for (const RequestNode* r = s.system->free_nodes; r; r = r->next) ++st.free_requests;
  st.mix_position = s.mix_position;
  st.play_position = s.active ? play_position(s) : 0;
  return st;
}
