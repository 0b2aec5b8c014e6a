// One game per save: the lock on the save's folder.
#pragma once
#include <string>

// One game per save: the folder holding the save is locked while a game runs on it, so a second
// window on the same folder cannot overwrite the first one's progress when it closes. The system
// releases the lock when the process ends, however it ends, so a crash never leaves the folder
// locked.
class SaveLock {
 public:
  enum class State { held, busy, unavailable };

  // Tries to take the lock on `folder` at once, without waiting.
  explicit SaveLock(const std::string& folder);
  ~SaveLock();
  SaveLock(const SaveLock&) = delete;
  SaveLock& operator=(const SaveLock&) = delete;

  // held: this process has it; busy: another game holds it; unavailable: the folder could not be
  // opened or locked (one the player may write but not read, a file system without locks), for
  // the reason error() gives.
  State state() const { return state_; }
  int error() const { return error_; }

 private:
  int fd_ = -1;
  State state_ = State::unavailable;
  int error_ = 0;  // errno
};
