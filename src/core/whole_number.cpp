// Whole numbers read from texts.
#include "core/whole_number.hpp"

#include <charconv>

bool parse_whole_number(std::string_view text, int32_t& out) {
  int32_t v = 0;
  const char* b = text.data();
  const char* e = b + text.size();
  const auto [p, ec] = std::from_chars(b, e, v);
  if (b == e || p != e || ec != std::errc()) return false;
  out = v;
  return true;
}
