// Font cache files from memory, as broken as the fuzzer can make them. What the reader takes must
// be what the writer would write for it: the writer's text of it reads back as the same fonts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "render/font_match_cache.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto kept = parse_font_match(text);
  if (!kept) return 0;
  for (const KeptFont& f : *kept)
    if (f.file.path.empty() || f.file.path.find('\n') != std::string::npos || f.file.index < 0) std::abort();
  if (parse_font_match(font_match_text(*kept)) != kept) std::abort();
  return 0;
}
