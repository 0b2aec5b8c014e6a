// The text raster of the web build.
#pragma once
#include "render/text_raster.hpp"

// The layout's fonts drawn by the browser: the page serves the IPA fonts under the families
// "IPAPGothic", "IPAGothic" and "IPAMincho", and each line is drawn on a canvas of its own and
// its coverage read back. Line breaking, alignment and colour stay ours.
class WebRaster : public TextRaster {
 public:
  FontMetrics metrics(const FontKey& key) override;
  int width(const FontKey& key, std::string_view utf8) override;
  Coverage render(const FontKey& key, const std::string& utf8) override;
  // The browser's width of the character alone. The small bold kanji are left to the browser's
  // font too: there is no hand-drawn strike in the page.
  int advance(const FontKey& key, char32_t c) override;
};
