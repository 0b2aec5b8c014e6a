// The fonts shipped with the game in the fonts folder beside the program (Windows has no
// fontconfig, and none of these fonts).
#include <string>

#include "render/font_files.hpp"
#include "render/text_raster.hpp"
#include "storage/storage.hpp"

namespace {

std::string fonts_folder() { return storage().program_folder("") + "/fonts/"; }

}  // namespace

// By Face: the layout's ＭＳ Ｐゴシック, ＭＳ ゴシック and ＭＳ 明朝, by their names in the fonts folder.
const FontPaths kPackagedFonts = {"ipagp.ttf", "ipag.ttf", "ipam.ttf"};

std::string missing_font_message(Face face) {
  return "the font file " + fonts_folder() + kPackagedFonts[static_cast<int>(face)] +
         " is missing or cannot be read; unpack the whole game again";
}

FontFiles find_font_files(const std::string&, const FontPaths& packaged) {
  FontFiles files;
  for (int i = 0; i < 3; ++i) {
    files[i] = {fonts_folder() + packaged[i], 0};
    if (storage().entry_kind(files[i].path) != EntryKind::regular)
      throw FontError(missing_font_message(static_cast<Face>(i)));
  }
  return files;
}

std::string strike_file(const std::string& name) { return fonts_folder() + name; }
std::string missing_strike_advice() { return "unpack the whole game again"; }
