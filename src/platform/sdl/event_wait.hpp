// The window loop's wait for events: on the X connection itself where there is one.
#pragma once
#include <SDL.h>

// Waiting for the window system without SDL's own waiting: SDL_WaitEventTimeout reads the X
// connection three times or more per call, which a loop that wakes every 10 ms for its timer
// pays a hundred times a second, window or no window activity. Waiting on the connection's file
// descriptor costs one system call.
class EventWait {
 public:
  // Uses the window's X connection when it has one; otherwise wait() falls back to SDL.
  explicit EventWait(SDL_Window* window);
  bool native() const { return fd_ >= 0; }
  // Sleeps until the window system has something for us or ms milliseconds have passed.
  // True when something came (the caller then polls SDL's queue); false on the timeout.
  bool wait(int ms) const;

 private:
  int fd_ = -1;
};
