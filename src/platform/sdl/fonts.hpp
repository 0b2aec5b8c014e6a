#pragma once
#include <SDL_ttf.h>

#include <array>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "ui/form.hpp"

class KanjiStrikes;

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

// The three families of the layout, mapped through fontconfig to the IPA fonts that were drawn to
// the same metrics, and the opened TrueType fonts, one per size and style; and the hand-drawn
// kanji that the small bold sizes draw in place of the outlines'.
class FontLibrary {
 public:
  // Finds the three font files; throws FontError naming the packages to install if one is
  // missing.
  FontLibrary();
  ~FontLibrary();
  FontLibrary(const FontLibrary&) = delete;
  FontLibrary& operator=(const FontLibrary&) = delete;

  // The opened font; throws FontError if the file cannot be opened at that size.
  TTF_Font* get(const FontKey& key);
  const std::string& file(Face face) const { return files_[static_cast<int>(face)]; }
  KanjiStrikes& kanji() { return *kanji_; }

  // The family name the layout uses, and the one it stands for here.
  static const char* layout_family(Face face);
  static const char* installed_family(Face face);

 private:
  std::array<std::string, 3> files_;
  std::array<int, 3> indices_{};
  std::map<FontKey, TTF_Font*> open_;
  std::unique_ptr<KanjiStrikes> kanji_;
};
