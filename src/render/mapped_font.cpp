// Mapping a font file on first use, or saying why it cannot be.
#include "render/mapped_font.hpp"

#include "render/text_raster.hpp"

const MappedFile& MappedFont::get(const FontFile& file, Face face) {
  if (!mapped_ && !(mapped_ = storage().map_file(file.path)))
    throw FontError("cannot open the font file " + file.path + ": " + map_failure(file.path, kMaxFontFileBytes) +
                    " (" + missing_font_message(face) + ")");
  return *mapped_;
}
