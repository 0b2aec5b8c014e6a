// The fonts the game draws with: the three families of the layout, mapped to the IPA fonts that
// were drawn to the same metrics (through fontconfig, or shipped beside the program on Windows),
// and M+'s bitmap strikes.
#pragma once
#include <array>
#include <cstddef>
#include <string>

#include "ui/form.hpp"

struct FontFile {
  std::string path;
  int index = 0;  // of the face within the file
  bool operator==(const FontFile&) const = default;
};
using FontFiles = std::array<FontFile, 3>;  // by Face

// No font the game draws with comes near this (the IPA outlines are some 6 MB each); a larger
// file is not one of them, and is not read into memory.
constexpr size_t kMaxFontFileBytes = size_t{64} << 20;

// Where the packages put the three families: Debian's fonts-ipafont-gothic and -mincho, or, in the
// Windows package, their names in the fonts folder beside the program.
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

// The file of one of M+'s bitmap strikes (the small bold glyphs), by its name, and what the
// player does when it is missing.
std::string strike_file(const std::string& name);
std::string missing_strike_advice();
