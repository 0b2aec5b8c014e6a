// The sound component the game plays its waves through.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "audio/mixer_session.hpp"

// The game's sound component: it owns one mixer session and plays waves on its channels.
// The window creates it, switches it on and opens channels 0 and 1:
//
//   SoundMixer mixer(system);        // MixerError "Initialization failed (mixer_init)"
//   mixer.set_activated(true);
//   mixer.set_channels(3);
//   Wave* w = mixer.load_wave(path);
//   mixer.play_wave(0, w, 0, 0);     // appended to channel 0's queue
//   ...
//   mixer.release_wave(w);
//
// Every failure is a MixerError; the game catches and ignores them all.
class SoundMixer {
 public:
  explicit SoundMixer(MixerSystem& system);
  // Closes the channels, switches off, closes the session, and frees the waves still loaded.
  ~SoundMixer();
  SoundMixer(const SoundMixer&) = delete;
  SoundMixer& operator=(const SoundMixer&) = delete;

  // The property Activated: whether the session holds the wave output device.
  bool activated() const;
  void set_activated(bool on);

  // The property Channels: a bit mask of the open channels 0 to 7 (255 all, 0 none).
  uint8_t channels() const;
  void set_channels(uint8_t mask);

  // A wave file, converted to the session's output format. Owned by the component until
  // release_wave.
  Wave* load_wave(const std::string& path);
  // The same from a wave file's image in memory (read at once, not kept), named `name`.
  Wave* load_wave_image(const void* image, size_t size, const std::string& name = {});
  // Takes the wave off every channel (what is at the device still plays) and frees it.
  void release_wave(Wave* wave);

  // Plays the wave on a channel, loops + 1 times (kLoopForever: until stopped), with the play
  // flags; `control` is told with kSoundDoneMessage when the sound has ended.
  void play_wave(int32_t channel, Wave* wave, uint16_t loops, uint32_t flags, MixerWindow* control = nullptr);

  MixerSession* session() const { return session_; }

 private:
  Wave* keep(std::unique_ptr<Wave> wave);

  MixerSession* session_ = nullptr;
  PlayParams params_;
  Wave* loaded_ = nullptr;  // the waves handed out and not released
};
