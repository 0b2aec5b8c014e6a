#pragma once
#include <SDL_ttf.h>

#include <array>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sdl/font_match_cache.hpp"
#include "platform/sdl/mapped_file.hpp"
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

// The three families of the layout, mapped through fontconfig to the IPA fonts that were drawn to
// the same metrics, and the opened TrueType fonts, one per size and style.
class FontLibrary {
 public:
  // Finds the three font files (kept in `match_cache` from one start to the next); throws
  // FontError naming the packages to install if one is missing.
  explicit FontLibrary(const std::string& match_cache = font_match_file());
  ~FontLibrary();
  FontLibrary(const FontLibrary&) = delete;
  FontLibrary& operator=(const FontLibrary&) = delete;

  // The opened font; throws FontError if the file cannot be opened at that size.
  TTF_Font* get(const FontKey& key);
  // Opens the fonts now, so that drawing finds them open. One that cannot be opened is left to
  // get(), which says why when it is needed.
  void open_ahead(const std::vector<FontKey>& keys);
  const std::string& file(Face face) const { return files_[static_cast<int>(face)].path; }

  // The family name the layout uses, and the one it stands for here.
  static const char* layout_family(Face face);
  static const char* installed_family(Face face);

 private:
  FontFiles files_;
  std::array<MappedFile, 3> mapped_;  // the font files, mapped when a size of them is first opened
  std::map<FontKey, TTF_Font*> open_;
};
