// Waiting on the X connection's file descriptor, or on SDL when there is none.
#include "platform/sdl/event_wait.hpp"

#include <SDL_syswm.h>
#if defined(SDL_VIDEO_DRIVER_X11)
#include <poll.h>

#include <cerrno>
#endif

EventWait::EventWait(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11 &&
      info.info.x11.display)
    fd_ = ConnectionNumber(info.info.x11.display);
#else
  (void)window;
#endif
}

bool EventWait::wait(int ms) const {
  if (ms <= 0) return false;
#if defined(SDL_VIDEO_DRIVER_X11)
  if (fd_ >= 0) {
    pollfd p{fd_, POLLIN, 0};
    const int n = poll(&p, 1, ms);
    // A signal (SIGTERM, which SDL turns into a quit request) counts as something that came.
    return n > 0 || (n < 0 && errno == EINTR);
  }
#endif
  return SDL_WaitEventTimeout(nullptr, ms) == 1;
}
