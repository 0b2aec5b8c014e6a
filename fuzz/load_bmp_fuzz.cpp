// Bitmap files from memory, as broken as the fuzzer can make them. Any input must either give a
// picture within the game's 8192 x 8192 or be refused with the canvas left as it was, and leak
// nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/bitmap.hpp"
#include "ui/canvas.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Canvas canvas;
  canvas.resize(1, 1);
  const uint64_t revision = canvas.revision;
  if (!decode_bmp(data, size, canvas)) {
    if (canvas.width < 1 || canvas.height < 1 || canvas.width > 8192 || canvas.height > 8192)
      std::abort();
  } else if (canvas.width != 1 || canvas.height != 1 || canvas.revision != revision) {
    std::abort();
  }
  return 0;
}
