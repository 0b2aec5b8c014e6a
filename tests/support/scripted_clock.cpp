#include "support/scripted_clock.hpp"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

using std::chrono::milliseconds;

ScriptedClock::ScriptedClock(int64_t limit_ms) : limit_(milliseconds(limit_ms)) {}

void ScriptedClock::at(int64_t ms, std::function<void()> action) {
  plan_.emplace(milliseconds(ms), std::move(action));
}

HostClock::Duration ScriptedClock::now() {
  if (++reads_ > 1'000'000) throw std::runtime_error("no time passed in a million reads: the loop spins");
  return now_;
}

void ScriptedClock::sleep(Duration d) {
  const Duration end = now_ + d;
  while (advance(end)) {
  }
}

bool ScriptedClock::wait(const EventWait&, int ms) {
  idle_ = true;
  ++waits_;
  const bool woken = advance(now_ + milliseconds(ms));
  idle_ = false;
  return woken;
}

bool ScriptedClock::advance(Duration to) {
  const bool due = !plan_.empty() && plan_.begin()->first <= to;
  const Duration next = due ? std::max(now_, plan_.begin()->first) : to;
  if (next > limit_)
    throw std::runtime_error("virtual time passed " +
                             std::to_string(std::chrono::duration_cast<milliseconds>(limit_).count()) +
                             " ms: the loop did not end");
  if (next != now_ || due) reads_ = 0;
  now_ = next;
  if (!due) return false;
  // An action may plan more for the same moment; that runs now too.
  while (!plan_.empty() && plan_.begin()->first <= now_) {
    std::function<void()> action = std::move(plan_.begin()->second);
    plan_.erase(plan_.begin());
    action();
  }
  return true;
}
