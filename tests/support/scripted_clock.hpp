#pragma once
#include <cstdint>
#include <functional>
#include <map>

#include "platform/sdl/host_clock.hpp"

// A clock for the window's loop in tests, on virtual time starting at 0. Time stands still while
// the game works and moves on only when the host sleeps or waits for the window system, and then
// at once: to the end of the wait, or to the next time the test planned something for, whichever
// comes first. What was planned (input pushed, a signal raised, a look at the window) runs at its
// time, and a wait it cuts short counts as woken by the window system, as the input would wake it.
//
// A loop that never ends would run on through virtual time, or read the clock over and over
// while none passes: past the limit, or after a million reads at the same time, the clock
// throws, so the test fails instead of hanging.
class ScriptedClock : public HostClock {
 public:
  explicit ScriptedClock(int64_t limit_ms = 60'000);
  // Runs action once virtual time reaches ms; what is planned for the same time runs in the
  // order it was planned.
  void at(int64_t ms, std::function<void()> action);

  // Time the game's own work takes (drawing a frame, say): the clock moves on by it at once.
  void pass(int64_t ms) { sleep(std::chrono::milliseconds(ms)); }

  // True while the window's loop waits for input with nothing to do (or a question box waits for
  // its answer), false while a handler sleeps: what a test plans for then lands on a screen at
  // rest.
  bool idle() const { return idle_; }
  // How often the loop has waited so far: each wait is a wake-up of a real program.
  int waits() const { return waits_; }

  Duration now() override;
  void sleep(Duration d) override;
  bool wait(const EventWait&, int ms) override;

 private:
  // Moves time on to `to`, or to the first planned time before it and runs what is due then:
  // true in that case.
  bool advance(Duration to);

  Duration now_{};
  Duration limit_;
  int64_t reads_ = 0;  // since time last moved on
  bool idle_ = false;
  int waits_ = 0;
  std::multimap<Duration, std::function<void()>> plan_;
};
