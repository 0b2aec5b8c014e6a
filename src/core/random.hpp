// The game's random draws.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <random>
#include <string>

// The game's one source of chance. draw(n) is a uniform integer 0 .. n-1; n <= 0 gives 0 and
// takes nothing. Tests and the scripted driver queue the results of the next draws.
class Random {
 public:
  explicit Random(uint64_t seed = 0) : engine_(seed) {}
  void seed(uint64_t s) { engine_.seed(s); }
  int32_t draw(int32_t n);
  // Queues rigged results; the driver checks each against the range asked for when it is drawn.
  void rig(int32_t value) { rigged_.push_back(value); }
  bool rigged() const { return !rigged_.empty(); }
  void clear_rig() { rigged_.clear(); }
  // Set when a rigged value lay outside the range of its draw (the value is then reduced into
  // the range); the driver reports it.
  std::string take_error();
  // Told every result drawn, rigged or not (the window's recorder writes them down).
  std::function<void(int32_t)> on_draw;

 private:
  // A uniform integer 0 .. range-1 from the engine, alike on every platform.
  uint64_t reduce(uint64_t range);

  std::mt19937_64 engine_;
  std::deque<int32_t> rigged_;
  std::string error_;
};
