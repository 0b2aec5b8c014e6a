// The desktop's text raster: FreeType itself, placing and blending glyphs as SDL_ttf does.
#pragma once
#include <map>
#include <string>
#include <tuple>

#include "render/font_files.hpp"
#include "render/hand_drawn_glyphs.hpp"
#include "render/outline_faces.hpp"
#include "render/text_raster.hpp"

// The layout's fonts drawn by FreeType itself, in the window and by the headless host. It places and blends glyphs
// as SDL_ttf does for these fonts (hinted advances, no kerning, overlapping ink combined bit by
// bit, bold smeared sideways by a tenth of the em, italic slanted), so a line comes out pixel for
// pixel as in the window.
class FreeTypeRaster : public TextRaster {
 public:
  // Finds the three font files (kept in `match_cache` from one start to the next, when it names
  // a file); throws FontError naming the packages to install if one is missing.
  explicit FreeTypeRaster(const std::string& match_cache = "");
  FreeTypeRaster(const FreeTypeRaster&) = delete;
  FreeTypeRaster& operator=(const FreeTypeRaster&) = delete;

  FontMetrics metrics(const FontKey& key) override;
  int width(const FontKey& key, std::string_view utf8) override;
  Fit fit(const FontKey& key, std::string_view utf8, int room) override;
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
    size_t bytes = 0;  // of the text laid out
  };

  const Glyph& glyph(const FontKey& key, char32_t c);
  // The line's glyphs placed; with room > 0 only as many as keep the line within it.
  Line lay_out(const FontKey& key, std::string_view utf8, int room = 0);

  FontFiles files_;
  OutlineFaces faces_;
  std::map<std::tuple<Face, int, bool, bool, char32_t>, Glyph> glyphs_;
  HandDrawnGlyphs drawn_;
};
