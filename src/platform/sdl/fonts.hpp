#pragma once
#include <SDL_ttf.h>

#include <map>
#include <string>

#include "render/font_files.hpp"
#include "render/kanji_strikes.hpp"
#include "render/text_raster.hpp"

// The layout's fonts opened through SDL_ttf, one per size and style, and the hand-drawn kanji of
// the small bold sizes: the window's text.
class FontLibrary : public TextRaster {
 public:
  // Finds the three font files; throws FontError naming the packages to install if one is
  // missing.
  FontLibrary();
  ~FontLibrary() override;
  FontLibrary(const FontLibrary&) = delete;
  FontLibrary& operator=(const FontLibrary&) = delete;

  // The opened font; throws FontError if the file cannot be opened at that size.
  TTF_Font* get(const FontKey& key);
  const std::string& file(Face face) const { return files_[static_cast<int>(face)].path; }

  FontMetrics metrics(const FontKey& key) override;
  int width(const FontKey& key, std::string_view utf8) override;
  Coverage render(const FontKey& key, const std::string& utf8) override;
  int advance(const FontKey& key, char32_t c) override;
  const KanjiGlyph* hand_drawn(const FontKey& key, char32_t c) override { return kanji_.glyph(key, c); }

 private:
  FontFiles files_;
  std::map<FontKey, TTF_Font*> open_;
  KanjiStrikes kanji_;
  std::string buffer_;  // a run measured, with its terminating zero
};
