// The clock the window's loop reads and waits on, and the machine's own.
#pragma once
#include <chrono>
#include <cstdint>

class EventWait;

// Where the window's loop reads the time and waits: the timer, a handler's sleep, the tip's
// delay. The machine's own clock in the game; a test gives the host a clock of its own, on which
// waiting moves time on at once, so what it checks does not depend on how busy the machine is.
class HostClock {
 public:
  using Duration = std::chrono::steady_clock::duration;
  virtual ~HostClock() = default;
  // The time since some fixed moment; it never goes back.
  virtual Duration now() = 0;
  // Blocks for d: one slice of a handler's sleep.
  virtual void sleep(Duration d) = 0;
  // The idle loop's wait: until the window system has something for `events` or ms
  // milliseconds have passed, whichever comes first. True when something came.
  virtual bool wait(const EventWait& events, int ms) = 0;

  int64_t now_ms() { return std::chrono::duration_cast<std::chrono::milliseconds>(now()).count(); }
};

// The machine's monotonic clock; waits on the window system's connection.
class SystemClock : public HostClock {
 public:
  Duration now() override;
  void sleep(Duration d) override;
  bool wait(const EventWait& events, int ms) override;
};
