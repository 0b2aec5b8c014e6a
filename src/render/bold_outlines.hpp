// The outline fonts' bold from 14 pixels up, made bold inside each glyph's own box.
#pragma once
#include <map>
#include <memory>
#include <tuple>

#include "render/outline_faces.hpp"
#include "render/text_raster.hpp"

// The raster's bold (a tenth of the em smeared to the right, the pen not moved) makes neighbouring
// kanji touch and fills the gaps of dense ones. Here each outline is thickened by FreeType and
// squeezed back into the box its regular glyph has, so the ink stays clear of the neighbours and
// the pen moves as the raster's does: the lines keep their widths.
class BoldOutlines {
 public:
  explicit BoldOutlines(OutlineFaces& faces) : faces_(faces) {}

  // The bold glyph of c in that font (one that bold_drawn_by_glyph takes); null when the font
  // lacks c.
  const StrikeGlyph* glyph(const FontKey& key, char32_t c);

 private:
  OutlineFaces& faces_;
  std::map<std::tuple<Face, int, char32_t>, std::unique_ptr<StrikeGlyph>> glyphs_;  // null: lacking
};
