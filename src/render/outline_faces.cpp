// Opening the outline fonts with FreeType at the layout's sizes.
#include "render/outline_faces.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>


OutlineFaces::OutlineFaces(const FontFiles& files) : files_(files) {
  if (FT_Init_FreeType(&library_) != 0) throw FontError("FreeType could not be started");
}

OutlineFaces::~OutlineFaces() {
  for (auto& [key, f] : faces_) FT_Done_Face(f);
  FT_Done_FreeType(library_);
}

FT_FaceRec_* OutlineFaces::get(Face face, int px) {
  px = std::max(1, px);
  auto it = faces_.find({face, px});
  if (it != faces_.end()) return it->second;
  const FontFile& file = files_[static_cast<int>(face)];
  const MappedFile& mapped = mapped_[static_cast<int>(face)].get(file, face);
  FT_Face f = nullptr;
  if (FT_New_Memory_Face(library_, static_cast<const FT_Byte*>(mapped.data()), static_cast<FT_Long>(mapped.size()),
                         file.index, &f) != 0)
    throw FontError("cannot open the font file " + file.path + " (" + missing_font_message(face) + ")");
  // The em is px pixels high: a size in points at 72 dots an inch.
  if (FT_Set_Char_Size(f, 0, px * 64, 72, 72) != 0) {
    FT_Done_Face(f);
    throw FontError("cannot size the font file " + file.path);
  }
  faces_.emplace(std::make_pair(face, px), f);
  return f;
}
