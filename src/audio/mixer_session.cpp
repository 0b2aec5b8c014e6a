// The real-time mixer's session operations: opening and closing the session, its channels, and
// the play requests handed to it.
#include "audio/mixer_internals.hpp"

#include <new>

using namespace mixer_internals;

namespace {

MixerSession& checked(MixerSession* handle) {
  if (!handle || handle->check_head != kCheckWord || handle->check_tail != kCheckWord)
    throw MixerError("Invalid Session handle");
  return *handle;
}

MixerError channel_number_error() { return MixerError("Invalid channel number"); }
MixerError channel_not_open_error() { return MixerError("The specified channel was not open"); }

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
