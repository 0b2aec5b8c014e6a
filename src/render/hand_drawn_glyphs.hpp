// The glyphs the layout stamps itself, the same for every host that draws with FreeType.
#pragma once
#include "render/bold_outlines.hpp"
#include "render/small_bold_strikes.hpp"

// The small bold sizes' kanji from the bitmap strikes, and the larger bold sizes' outlines made
// bold inside their boxes.
class HandDrawnGlyphs {
 public:
  explicit HandDrawnGlyphs(OutlineFaces& faces) : outlines_(faces) {}
  const StrikeGlyph* glyph(const FontKey& key, char32_t c) {
    return bold_drawn_by_glyph(key) ? outlines_.glyph(key, c) : strikes_.glyph(key, c);
  }

 private:
  SmallBoldStrikes strikes_;
  BoldOutlines outlines_;
};
