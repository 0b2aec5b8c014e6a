// The fonts as the renderer asks for them, and the font engine each host draws lines with.
#pragma once
#include <algorithm>
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

// The longest start of a line that keeps within its room.
struct Fit {
  size_t bytes = 0;  // whole characters; 0 when the first is already wider than the room
  int width = 0;
  bool operator==(const Fit&) const = default;
};

// Byte length of the UTF-8 sequence starting with lead (a stray continuation byte counts as one,
// so broken text still advances).
inline size_t utf8_length(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// The longest start of utf8 no wider than room, found by measuring starts: widths only grow as
// characters are added, so each measure halves what is left to try. Each measure shapes its start
// whole, which is why an engine that measures a line in one pass does it itself.
template <class Width>
Fit fit_by_measuring(std::string_view utf8, int room, Width&& width) {
  std::vector<size_t> ends;  // of each character
  for (size_t i = 0; i < utf8.size();) ends.push_back(i = std::min(utf8.size(), i + utf8_length(utf8[i])));
  if (ends.empty()) return {};
  if (const int whole = width(utf8); whole <= room) return {utf8.size(), whole};
  Fit best;
  size_t lo = 0, hi = ends.size() - 1;  // ends[hi] is known not to fit; ends[lo - 1] to fit
  while (lo < hi) {
    const size_t mid = (lo + hi) / 2;
    if (const int w = width(utf8.substr(0, ends[mid])); w <= room) best = {ends[mid], w}, lo = mid + 1;
    else hi = mid;
  }
  return best;
}

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
  // The longest start of the line no wider than room (> 0), as width() measures it.
  virtual Fit fit(const FontKey& key, std::string_view utf8, int room) {
    return fit_by_measuring(utf8, room, [&](std::string_view s) { return width(key, s); });
  }
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
