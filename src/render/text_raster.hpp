// The fonts as the renderer asks for them, and the font engine each host draws lines with.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ui/form.hpp"

// Raised when a font the layout needs is not installed, or cannot be opened.
class FontError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A font as the renderer asks for it: px is the em height in screen pixels (the layout's size
// times the zoom).
struct FontKey {
  Face face = Face::PGothic;
  int px = 12;
  bool bold = false;
  bool italic = false;
  auto operator<=>(const FontKey&) const = default;
};

// The layout's font at a zoom.
inline FontKey key_of(const Font& font, int scale) {
  return FontKey{font.face, font.px * scale < 1 ? 1 : font.px * scale, font.bold, font.italic};
}

// A font's measures at its size, in screen pixels.
struct FontMetrics {
  int height = 0;  // from the top of the highest ink the font has to the bottom of the lowest
  int ascent = 0;  // from that top to the baseline
};

// One rendered line: its coverage (0 = none, 255 = full ink), drawn in any colour.
struct Coverage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> alpha;
};

// One glyph the layout stamps itself instead of taking the raster's: a kanji drawn by hand on the
// pixel grid (0 or 255 coverage), or an outline glyph made bold inside its own box.
struct StrikeGlyph {
  int advance = 0;  // the width of the cell it was drawn in: how far the pen moves past it
  int left = 0;     // from the cell's left edge (the pen) to the bitmap
  int top = 0;      // rows of the bitmap above the baseline
  int width = 0, height = 0;
  std::vector<uint8_t> alpha;
};

// Bold text from 14 pixels up (the help panel's headings, and every bold text at 2x and more).
// The raster's bold adds a tenth of the em to the right of each glyph without moving the pen, so
// neighbouring kanji touch ("距離") and dense ones fill; such lines are composed by the layout
// glyph by glyph, each made bold inside its own box, at the raster's pen positions.
inline bool bold_drawn_by_glyph(const FontKey& key) { return key.bold && !key.italic && key.px >= 14; }

// The one part of drawing text that needs a font engine: single lines of UTF-8 text in the
// layout's fonts, measured and rendered. Breaking, aligning and colouring them is ours. The
// window draws through SDL_ttf, the headless host through FreeType itself (with the same pixels).
class TextRaster {
 public:
  virtual ~TextRaster() = default;
  virtual FontMetrics metrics(const FontKey& key) = 0;
  // How wide the line is rendered: its ink and its advance together.
  virtual int width(const FontKey& key, std::string_view utf8) = 0;
  // The line's ink, at least the font's height tall, with the baseline at the font's ascent
  // unless a glyph reaches above the font's top.
  virtual Coverage render(const FontKey& key, const std::string& utf8) = 0;
  // How far the pen moves past c, in pixels; -1 when the font lacks c.
  virtual int advance(const FontKey& key, char32_t c) = 0;
  // The form of c the layout stamps in place of the raster's: the small bold sizes' kanji (see
  // SmallBoldStrikes) and the larger bold sizes' glyphs (see BoldOutlines); null where the
  // raster's is drawn.
  virtual const StrikeGlyph* hand_drawn(const FontKey& /*key*/, char32_t /*c*/) { return nullptr; }
};
