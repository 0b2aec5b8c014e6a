// The mixer's error, and its out-of-memory message.
#pragma once
#include <stdexcept>
#include <string>

// The mixer's one error class. Every failure of the mixer, of loading a wave and of the device
// arrives as one of these, carrying its message; the game catches them all and goes on silent.
// Messages are bytes in the Windows Latin-1 code page (one holds the byte 0xB4).
class MixerError : public std::runtime_error {
 public:
  explicit MixerError(const std::string& message) : std::runtime_error(message) {}
};

// Memory ran out (or a wave would be too big to hold).
inline MixerError out_of_memory_error() {
  return MixerError(
      "Unable to allocate memory for waveform data.  Try making more memory available by closing "
      "other applications.");
}
