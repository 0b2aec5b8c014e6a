#pragma once
#include <SDL_ttf.h>

#include <map>
#include <string>

#include "render/font_files.hpp"
#include "render/text_raster.hpp"

// The layout's fonts opened through SDL_ttf, one per size and style: the window's text.
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

 private:
  FontFiles files_;
  std::map<FontKey, TTF_Font*> open_;
  std::string buffer_;  // a run measured, with its terminating zero
};
