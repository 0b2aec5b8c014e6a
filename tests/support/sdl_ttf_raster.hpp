// SDL_ttf's drawing of the layout's fonts: what the FreeType raster is held to, pixel for pixel.
#pragma once
#include <SDL_ttf.h>

#include <map>
#include <string>
#include <vector>

#include "render/font_files.hpp"
#include "render/font_match_cache.hpp"
#include "render/hand_drawn_glyphs.hpp"
#include "render/mapped_font.hpp"
#include "render/text_raster.hpp"

// The layout's fonts opened through SDL_ttf, one per size and style, and the glyphs the layout
// stamps itself (the small bold kanji, the larger bold sizes), as the window drew its text before
// it drew through FreeType itself.
class SdlTtfRaster : public TextRaster {
 public:
  // Finds the three font files (kept in `match_cache` from one start to the next); throws
  // FontError naming the packages to install if one is missing.
  explicit SdlTtfRaster(const std::string& match_cache = font_match_file());
  ~SdlTtfRaster() override;
  SdlTtfRaster(const SdlTtfRaster&) = delete;
  SdlTtfRaster& operator=(const SdlTtfRaster&) = delete;

  // The opened font; throws FontError if the file cannot be opened at that size.
  TTF_Font* get(const FontKey& key);

  FontMetrics metrics(const FontKey& key) override;
  int width(const FontKey& key, std::string_view utf8) override;
  Fit fit(const FontKey& key, std::string_view utf8, int room) override;
  Coverage render(const FontKey& key, const std::string& utf8) override;
  int advance(const FontKey& key, char32_t c) override;
  const StrikeGlyph* hand_drawn(const FontKey& key, char32_t c) override { return drawn_.glyph(key, c); }

 private:
  FontFiles files_;
  std::array<MappedFont, 3> mapped_;  // by Face
  std::map<FontKey, TTF_Font*> open_;
  OutlineFaces outlines_{files_};  // for the glyphs the layout stamps
  HandDrawnGlyphs drawn_{outlines_};
  std::string buffer_;  // a run measured, with its terminating zero
};
