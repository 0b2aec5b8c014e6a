// Outline glyphs thickened by FreeType and squeezed back into their regular boxes.
#include "render/bold_outlines.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// How much thicker than the regular the strokes are, as a fraction of the em, across and along.
// Chosen by looking at the status panel, the distance line and the help panel's headings
// enlarged: a fourteenth of the em across (a twenty-eighth along) reads as bold beside the
// raster's bold at 2x and more and leaves the one-stroke gaps of 確, 魔 or 離 open; below 24 pixels
// that weight closes the gaps of 戦闘 and 撃, so the smaller sizes take a lighter one.
struct Weight {
  int from_px;
  double across, along;
};
constexpr Weight kWeights[] = {{24, 1.0 / 14, 1.0 / 28}, {0, 1.0 / 20, 1.0 / 40}};

const Weight& weight_at(int px) {
  for (const Weight& w : kWeights)
    if (px >= w.from_px) return w;
  return kWeights[std::size(kWeights) - 1];
}

// The outline thickened by strength (26.6 pixels, across and along) and scaled back about its
// box's lower left corner into the box it had.
void embolden_inside(FT_Outline& outline, FT_Pos across, FT_Pos along) {
  FT_BBox before, after;
  FT_Outline_Get_CBox(&outline, &before);
  if (before.xMax <= before.xMin || before.yMax <= before.yMin) return;
  FT_Outline_EmboldenXY(&outline, across, along);
  FT_Outline_Get_CBox(&outline, &after);
  FT_Outline_Translate(&outline, -after.xMin, -after.yMin);
  const FT_Matrix squeeze{FT_DivFix(before.xMax - before.xMin, after.xMax - after.xMin), 0, 0,
                          FT_DivFix(before.yMax - before.yMin, after.yMax - after.yMin)};
  FT_Outline_Transform(&outline, &squeeze);
  FT_Outline_Translate(&outline, before.xMin, before.yMin);
}

}  // namespace

const StrikeGlyph* BoldOutlines::glyph(const FontKey& key, char32_t c) {
  std::unique_ptr<StrikeGlyph>& kept = glyphs_[{key.face, key.px, c}];
  if (kept) return kept.get();
  FT_Face f = faces_.get(key.face, key.px);
  // Loaded and hinted as the raster loads it, so the pen moves by the same advance.
  const FT_UInt index = FT_Get_Char_Index(f, c);
  if (index == 0 || FT_Load_Glyph(f, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) != 0 ||
      f->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
    return nullptr;
  const FT_GlyphSlot slot = f->glyph;
  auto g = std::make_unique<StrikeGlyph>();
  g->advance = static_cast<int>((slot->advance.x + 32) >> 6);
  const Weight& w = weight_at(key.px);
  embolden_inside(slot->outline, std::lround(key.px * w.across * 64), std::lround(key.px * w.along * 64));
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return nullptr;
  const FT_Bitmap& b = slot->bitmap;
  g->left = slot->bitmap_left;
  g->top = slot->bitmap_top;
  g->width = static_cast<int>(b.width);
  g->height = static_cast<int>(b.rows);
  g->alpha.resize(static_cast<size_t>(g->width) * g->height);
  for (int y = 0; y < g->height; ++y)
    std::copy_n(b.buffer + static_cast<ptrdiff_t>(y) * b.pitch, g->width, g->alpha.begin() + static_cast<ptrdiff_t>(y) * g->width);
  kept = std::move(g);
  return kept.get();
}
