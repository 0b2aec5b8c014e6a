// The sound component: its session switched on and off, its channels, its waves loaded and played.
#include "audio/sound_mixer.hpp"

SoundMixer::SoundMixer(MixerSystem& system) {
  // Mono, at the rate the settings file gives.
  InitRequest request;
  request.size = 10;
  try {
    session_ = mixer_init(system, &request);
  } catch (const MixerError&) {
    throw MixerError("Initialization failed (mixer_init)");
  }
  params_.size = 24;
  params_.session = session_;
}

SoundMixer::~SoundMixer() {
  try {
    set_channels(0);
    set_activated(false);
  } catch (const MixerError&) {
    // Closing the session below gives everything up in any case.
  }
  try {
    close_session(session_);
  } catch (const MixerError&) {
  }
  while (loaded_) {
    Wave* next = loaded_->next_loaded_;
    delete loaded_;
    loaded_ = next;
  }
}

bool SoundMixer::activated() const { return mixer_active(session_); }

void SoundMixer::set_activated(bool on) {
  if (on != activated()) mixer_activate(session_, on);
}

uint8_t SoundMixer::channels() const { return mixer_open_channels(session_); }

void SoundMixer::set_channels(uint8_t mask) {
  if (mask == 255) {
    open_channel(session_, 0, 1);
    return;
  }
  if (mask == 0) {
    close_channel(session_, 0, true);
    return;
  }
  const uint8_t now = channels();
  for (int c = 0; c < 8; ++c) {
    const uint8_t bit = static_cast<uint8_t>(1u << c);
    if ((mask & bit) == (now & bit)) continue;
    if (mask & bit)
      open_channel(session_, c, 0);
    else
      close_channel(session_, c, false);
  }
}

Wave* SoundMixer::keep(std::unique_ptr<Wave> wave) {
  Wave* w = wave.release();
  w->next_loaded_ = loaded_;
  if (loaded_) loaded_->prev_loaded_ = w;
  loaded_ = w;
  return w;
}

Wave* SoundMixer::load_wave(const std::string& path) { return keep(mixer_load_wave(session_, path)); }

Wave* SoundMixer::load_wave_image(const void* image, size_t size, const std::string& name) {
  return keep(mixer_load_wave_image(session_, image, size, name));
}

void SoundMixer::release_wave(Wave* wave) {
  // Only a wave this component handed out can be released; the list is searched by address,
  // so a stray pointer is never followed.
  Wave* w = loaded_;
  while (w && w != wave) w = w->next_loaded_;
  if (!w) throw MixerError("The given pointer was not valid");
  mixer_forget_wave(session_, w);
  if (w->prev_loaded_)
    w->prev_loaded_->next_loaded_ = w->next_loaded_;
  else
    loaded_ = w->next_loaded_;
  if (w->next_loaded_) w->next_loaded_->prev_loaded_ = w->prev_loaded_;
  delete w;
}

void SoundMixer::play_wave(int32_t channel, Wave* wave, uint16_t loops, uint32_t flags, MixerWindow* control) {
  params_.channel = channel;
  params_.wave = wave;
  params_.loops = loops;
  params_.flags = flags;
  params_.notify = control;
  mixer_play(&params_);
}
