// FreeType's text raster, with the same pixels as the window's.
#pragma once
#include <map>
#include <string>
#include <tuple>

#include "render/font_files.hpp"
#include "render/hand_drawn_glyphs.hpp"
#include "render/outline_faces.hpp"
#include "render/text_raster.hpp"

// The layout's fonts drawn by FreeType itself, for hosts without SDL. It places and blends glyphs
// as SDL_ttf does for these fonts (hinted advances, no kerning, overlapping ink combined bit by
// bit, bold smeared sideways by a tenth of the em, italic slanted), so a line comes out pixel for
// pixel as in the window.
class FreeTypeRaster : public TextRaster {
 public:
  // Finds the three font files; throws FontError naming the packages to install if one is
  // missing.
  FreeTypeRaster();
  FreeTypeRaster(const FreeTypeRaster&) = delete;
  FreeTypeRaster& operator=(const FreeTypeRaster&) = delete;

  FontMetrics metrics(const FontKey& key) override;
  int width(const FontKey& key, std::string_view utf8) override;
  Coverage render(const FontKey& key, const std::string& utf8) override;
  int advance(const FontKey& key, char32_t c) override;
  const StrikeGlyph* hand_drawn(const FontKey& key, char32_t c) override { return drawn_.glyph(key, c); }

 private:
  struct Glyph {
    int left = 0, top = 0;  // of the ink from the pen, in pixels (top upwards)
    int width = 0, rows = 0;
    long advance = 0;  // 26.6 fixed point
    std::vector<uint8_t> ink;
  };
  // A line's glyphs at their places, and the box holding them.
  struct Placed {
    const Glyph* glyph;
    int x, y;  // of the ink's top-left, from the box's top-left
  };
  struct Line {
    std::vector<Placed> glyphs;
    int width = 0, height = 0;
  };

  const Glyph& glyph(const FontKey& key, char32_t c);
  Line lay_out(const FontKey& key, std::string_view utf8);

  FontFiles files_;
  OutlineFaces faces_;
  std::map<std::tuple<Face, int, bool, bool, char32_t>, Glyph> glyphs_;
  HandDrawnGlyphs drawn_;
};
