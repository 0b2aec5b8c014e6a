// The draws of chance: rigged results first, else the engine's word reduced to the range.
#include "core/random.hpp"

int32_t Random::draw(int32_t n) {
  if (n <= 0) return 0;
  if (!rigged_.empty()) {
    int32_t v = rigged_.front();
    rigged_.pop_front();
    if (v < 0 || v >= n) {
      error_ = "draw of " + std::to_string(v) + " outside 0.." + std::to_string(n - 1);
      v = ((v % n) + n) % n;
    }
    if (on_draw) on_draw(v);
    return v;
  }
  const auto v = static_cast<int32_t>(reduce(n));
  if (on_draw) on_draw(v);
  return v;
}

// The engine's words are the same with every standard library, its distributions' results are
// not (the web build's library picks bits and rejects where the desktop's multiplies), so a seed
// would play another game in the browser. The reduction is therefore ours: the word times the
// range, whose high half is the result, and the few products whose low half would favour some
// results drawn again (Lemire's method, which the desktop's library uses too, so its games are
// as they were).
uint64_t Random::reduce(uint64_t range) {
  unsigned __int128 product = static_cast<unsigned __int128>(engine_()) * range;
  if (static_cast<uint64_t>(product) < range) {
    const uint64_t threshold = (0 - range) % range;
    while (static_cast<uint64_t>(product) < threshold)
      product = static_cast<unsigned __int128>(engine_()) * range;
  }
  return static_cast<uint64_t>(product >> 64);
}

std::string Random::take_error() {
  std::string e;
  e.swap(error_);
  return e;
}
