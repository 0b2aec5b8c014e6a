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
  const auto v = static_cast<int32_t>(std::uniform_int_distribution<int64_t>(0, n - 1)(engine_));
  if (on_draw) on_draw(v);
  return v;
}

std::string Random::take_error() {
  std::string e;
  e.swap(error_);
  return e;
}
