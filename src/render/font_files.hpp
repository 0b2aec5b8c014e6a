// The three families of the layout, mapped through fontconfig to the IPA fonts that were drawn to
// the same metrics.
#pragma once
#include <array>
#include <string>

#include "ui/form.hpp"

struct FontFile {
  std::string path;
  int index = 0;  // of the face within the file
  bool operator==(const FontFile&) const = default;
};
using FontFiles = std::array<FontFile, 3>;  // by Face

// Where Debian's fonts-ipafont-gothic and fonts-ipafont-mincho install the three families.
using FontPaths = std::array<const char*, 3>;  // by Face
extern const FontPaths kPackagedFonts;

// Finds the three font files; throws FontError naming the packages to install if one is missing.
// The answer is kept in `match_cache` (see font_match_cache.hpp) and taken from there while the
// files are unchanged; "" looks every time. Without a kept answer the files at `packaged` are
// taken when each holds its family, and fontconfig is asked only when they do not.
FontFiles find_font_files(const std::string& match_cache = "", const FontPaths& packaged = kPackagedFonts);
// The same message, for a font file found but not opened.
std::string missing_font_message(Face face);

// The family name the layout uses, and the one it stands for here.
const char* layout_family(Face face);
const char* installed_family(Face face);
