#pragma once
#include <array>
#include <string>

#include "ui/form.hpp"

// The three families of the layout, mapped through fontconfig to the IPA fonts that were drawn to
// the same metrics.
struct FontFile {
  std::string path;
  int index = 0;  // of the face within the file
};
using FontFiles = std::array<FontFile, 3>;  // by Face

// Finds the three font files; throws FontError naming the packages to install if one is missing.
FontFiles find_font_files();
// The same message, for a font file found but not opened.
std::string missing_font_message(Face face);

// The family name the layout uses, and the one it stands for here.
const char* layout_family(Face face);
const char* installed_family(Face face);
