// Opening the outline fonts with FreeType at the layout's sizes.
#include "render/outline_faces.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H

#include <algorithm>


OutlineFaces::OutlineFaces(const FontFiles& files) : files_(files) {
  if (FT_Init_FreeType(&library_) != 0) throw FontError("FreeType could not be started");
}

OutlineFaces::~OutlineFaces() {
  for (FT_Face f : faces_)
    if (f) FT_Done_Face(f);  // with its sizes
  FT_Done_FreeType(library_);
}

FT_FaceRec_* OutlineFaces::get(Face face, int px) {
  px = std::max(1, px);
  FT_Face& f = faces_[static_cast<int>(face)];
  const FontFile& file = files_[static_cast<int>(face)];
  const bool opening = !f;
  if (opening) {
    const MappedFile& mapped = mapped_[static_cast<int>(face)].get(file, face);
    if (FT_New_Memory_Face(library_, static_cast<const FT_Byte*>(mapped.data()), static_cast<FT_Long>(mapped.size()),
                           file.index, &f) != 0) {
      f = nullptr;
      throw FontError("cannot open the font file " + file.path + " (" + missing_font_message(face) + ")");
    }
  }
  if (auto it = sizes_.find({face, px}); it != sizes_.end()) {
    FT_Activate_Size(it->second);
    return f;
  }
  // The face's first size is the one it was opened with; each later em gets a size of its own.
  FT_Size size = f->size;
  if (!opening && (FT_New_Size(f, &size) != 0 || FT_Activate_Size(size) != 0))
    throw FontError("cannot size the font file " + file.path);
  // The em is px pixels high: a size in points at 72 dots an inch.
  if (FT_Set_Char_Size(f, 0, px * 64, 72, 72) != 0) {
    if (!opening) FT_Done_Size(size);
    FT_Activate_Size(f->size);
    throw FontError("cannot size the font file " + file.path);
  }
  sizes_.emplace(std::make_pair(face, px), size);
  return f;
}
