// Text through the browser's canvas.
#include "platform/web/web_raster.hpp"

#include <emscripten.h>

#include <cstdlib>
#include <string>

// clang-format off
EM_JS(void, web_text_metrics, (int face, int px, int bold, int italic, int* out), {
  const m = Module.lusheraText.metrics(face, px, bold, italic);
  HEAP32[out >> 2] = m.height;
  HEAP32[(out >> 2) + 1] = m.ascent;
});

EM_JS(int, web_text_width, (int face, int px, int bold, int italic, const char* text, int length), {
  return Module.lusheraText.width(face, px, bold, italic, UTF8ToString(text, length));
});

// Draws the line; returns malloc'ed coverage (width * height bytes) and its size in out[0..1].
EM_JS(unsigned char*, web_text_render, (int face, int px, int bold, int italic, const char* text, int* out), {
  const ink = Module.lusheraText.render(face, px, bold, italic, UTF8ToString(text));
  HEAP32[out >> 2] = ink.width;
  HEAP32[(out >> 2) + 1] = ink.height;
  if (ink.width * ink.height === 0) return 0;
  const ptr = _malloc(ink.width * ink.height);
  HEAPU8.set(ink.alpha, ptr);
  return ptr;
});
// clang-format on

FontMetrics WebRaster::metrics(const FontKey& key) {
  int out[2] = {0, 0};
  web_text_metrics(static_cast<int>(key.face), key.px, key.bold, key.italic, out);
  return {out[0], out[1]};
}

int WebRaster::width(const FontKey& key, std::string_view utf8) {
  if (utf8.empty()) return 0;
  return web_text_width(static_cast<int>(key.face), key.px, key.bold, key.italic, utf8.data(),
                        static_cast<int>(utf8.size()));
}

int WebRaster::advance(const FontKey& key, char32_t c) {
  std::string utf8;
  if (c < 0x80) {
    utf8 += static_cast<char>(c);
  } else if (c < 0x800) {
    utf8 += static_cast<char>(0xC0 | c >> 6);
    utf8 += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    utf8 += static_cast<char>(0xE0 | c >> 12);
    utf8 += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    utf8 += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    utf8 += static_cast<char>(0xF0 | c >> 18);
    utf8 += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    utf8 += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    utf8 += static_cast<char>(0x80 | (c & 0x3F));
  }
  return width(key, utf8);
}

Coverage WebRaster::render(const FontKey& key, const std::string& utf8) {
  Coverage ink;
  if (utf8.empty()) return ink;
  int size[2] = {0, 0};
  unsigned char* alpha =
      web_text_render(static_cast<int>(key.face), key.px, key.bold, key.italic, utf8.c_str(), size);
  if (!alpha) return ink;
  ink.width = size[0];
  ink.height = size[1];
  ink.alpha.assign(alpha, alpha + static_cast<size_t>(size[0]) * size[1]);
  std::free(alpha);
  return ink;
}
