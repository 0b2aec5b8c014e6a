// The save folder's lock, taken with flock.
#include "core/save_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

// flock on the folder itself: nothing is created in it, and the lock belongs to this open
// description, so even a second game in the same process is refused.
SaveLock::SaveLock(const std::string& folder) {
  fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
    state_ = State::held;
    return;
  }
  error_ = errno;
  state_ = error_ == EWOULDBLOCK ? State::busy : State::unavailable;
  ::close(fd_);
  fd_ = -1;
}

SaveLock::~SaveLock() {
  if (fd_ >= 0) ::close(fd_);
}
