// Lines of text rendered by FreeType, placed and blended as SDL_ttf does.
#include "render/freetype_raster.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>

namespace {

int floor_px(long v) { return static_cast<int>((v & -64) / 64); }
int ceil_px(long v) { return floor_px(v + 63); }

// The next code point of UTF-8 text; a broken sequence gives U+FFFD and moves on by one byte.
char32_t next_code_point(std::string_view s, size_t& i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (lead >= 0x80 && extra == 0) return ++i, U'\uFFFD';
  if (i + extra >= s.size()) return ++i, U'\uFFFD';
  char32_t c = extra ? lead & (0x3F >> extra) : lead;
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return ++i, U'\uFFFD';
    c = c << 6 | (b & 0x3F);
  }
  i += 1 + extra;
  return c;
}

}  // namespace

FreeTypeRaster::FreeTypeRaster(const std::string& match_cache)
    : files_(find_font_files(match_cache)), faces_(files_), drawn_(faces_) {}

FontMetrics FreeTypeRaster::metrics(const FontKey& key) {
  FT_Face f = faces_.get(key.face, key.px);
  const FT_Fixed scale = f->size->metrics.y_scale;
  return {ceil_px(FT_MulFix(f->ascender - f->descender, scale)), ceil_px(FT_MulFix(f->ascender, scale))};
}

const FreeTypeRaster::Glyph& FreeTypeRaster::glyph(const FontKey& key, char32_t c) {
  const auto id = std::make_tuple(key.face, std::max(1, key.px), key.bold, key.italic, c);
  auto it = glyphs_.find(id);
  if (it != glyphs_.end()) return it->second;
  FT_Face f = faces_.get(key.face, key.px);
  Glyph g;
  const bool loaded = FT_Load_Glyph(f, FT_Get_Char_Index(f, c), FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) == 0;
  // Italic: the outline slanted by a fifth of its height, as the window's fonts slant it.
  if (loaded && key.italic && f->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
    const FT_Matrix shear{1 << 16, static_cast<FT_Fixed>(0.207f * (1 << 16)), 0, 1 << 16};
    FT_Outline_Transform(&f->glyph->outline, &shear);
  }
  if (loaded && FT_Render_Glyph(f->glyph, FT_RENDER_MODE_NORMAL) == 0) {
    const FT_GlyphSlot slot = f->glyph;
    const FT_Bitmap& b = slot->bitmap;
    // Bold: each row smeared a tenth of the em to the right, the ink added up.
    const int smear = key.bold ? static_cast<int>(f->size->metrics.y_ppem / 10) : 0;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(b.width) + smear;
    g.rows = static_cast<int>(b.rows);
    g.advance = slot->advance.x;
    g.ink.assign(static_cast<size_t>(g.width) * g.rows, 0);
    for (int y = 0; y < g.rows; ++y) {
      const uint8_t* src = b.buffer + static_cast<ptrdiff_t>(y) * b.pitch;
      uint8_t* row = g.ink.data() + static_cast<size_t>(y) * g.width;
      std::copy(src, src + b.width, row);
      for (int pass = 0; pass < smear; ++pass)
        for (int x = g.width - 1; x > 0; --x) row[x] = static_cast<uint8_t>(std::min(255, row[x] + row[x - 1]));
    }
  }
  return glyphs_.emplace(id, std::move(g)).first->second;
}

FreeTypeRaster::Line FreeTypeRaster::lay_out(const FontKey& key, std::string_view utf8, int room) {
  const FontMetrics m = metrics(key);
  Line line;
  long pen = 0;  // 26.6
  int min_x = 0, max_x = 0, min_y = 0, max_y = m.height;
  while (line.bytes < utf8.size()) {
    size_t next = line.bytes;
    const Glyph& g = glyph(key, next_code_point(utf8, next));
    const int x = floor_px(pen) + g.left, y = m.ascent - g.top;
    // The line up to this glyph is as wide as its ink or its advance reaches, whichever is
    // further, so widths only grow as glyphs are added.
    if (room > 0 && std::max({max_x, x + g.width, floor_px(pen + g.advance)}) - std::min(min_x, x) > room) break;
    min_x = std::min(min_x, x);
    max_x = std::max(max_x, x + g.width);
    min_y = std::min(min_y, y);
    max_y = std::max(max_y, y + g.rows);
    line.glyphs.push_back({&g, x, y});
    pen += g.advance;
    line.bytes = next;
  }
  max_x = std::max(max_x, floor_px(pen));
  for (Placed& p : line.glyphs) {
    p.x -= min_x;
    p.y -= min_y;
  }
  line.width = max_x - min_x;
  line.height = max_y - min_y;
  return line;
}

int FreeTypeRaster::advance(const FontKey& key, char32_t c) {
  FT_Face f = faces_.get(key.face, key.px);
  if (FT_Get_Char_Index(f, c) == 0) return -1;
  // As SDL_ttf reports a glyph's advance: the hinted advance in whole pixels, and in bold the
  // smear added (though its lines do not move the pen by it).
  const int smear = key.bold ? static_cast<int>(f->size->metrics.y_ppem / 10) : 0;
  return ceil_px(glyph(key, c).advance) + smear;
}

int FreeTypeRaster::width(const FontKey& key, std::string_view utf8) { return lay_out(key, utf8).width; }

Fit FreeTypeRaster::fit(const FontKey& key, std::string_view utf8, int room) {
  const Line line = lay_out(key, utf8, room);
  return {line.bytes, line.width};
}

Coverage FreeTypeRaster::render(const FontKey& key, const std::string& utf8) {
  const Line line = lay_out(key, utf8);
  Coverage ink;
  if (line.glyphs.empty() || line.width <= 0) return ink;
  ink.width = line.width;
  ink.height = line.height;
  ink.alpha.assign(static_cast<size_t>(ink.width) * ink.height, 0);
  for (const Placed& p : line.glyphs)
    for (int y = 0; y < p.glyph->rows; ++y)
      for (int x = 0; x < p.glyph->width; ++x)
        ink.alpha[static_cast<size_t>(p.y + y) * ink.width + p.x + x] |=
            p.glyph->ink[static_cast<size_t>(y) * p.glyph->width + x];
  return ink;
}
