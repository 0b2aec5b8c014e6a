// Opening M+'s bitmap strikes and drawing their glyphs bold where the strokes have room.
#include "render/small_bold_strikes.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <zlib.h>

#include <algorithm>
#include <iostream>
#include <string>

#include "render/font_files.hpp"
#include "storage/storage.hpp"

namespace {

// M+ 12, from Debian's X11 bitmap fonts: its kanji reach from 11 rows above the baseline to one
// below, as the outline fonts' 12-pixel lines do, and its half-width letters sit on the same
// baseline in six-pixel cells (the fixed-width outline face's half width at 12 and 13 pixels is
// 6 and 7). fontconfig does not list them (the kanji strike has no Unicode character map, and the
// system's configuration turns bitmap fonts away), so they are opened by their paths
// (strike_file). The regular
// strikes, made bold here: M+'s own bold doubles every pixel to the right, which closes the
// one-pixel gaps of dense kanji (確 becomes a block, 魔 and 属 blots) and of "M".
constexpr const char* kKanjiFile = "mplus_j12r.pcf.gz";
constexpr const char* kLatinFile = "mplus_f12r.pcf.gz";

// Bold as far as the strokes stay apart: each pixel of ink takes the one to its right too, unless
// that would close a gap (the pixel after it is ink) or reach past the cell. Open strokes get the
// weight of the bold kana beside them; where strokes lie a pixel apart they keep one pixel each.
void embolden_where_clear(StrikeGlyph& g, int cell) {
  const int wide = std::min(g.width + 1, cell - g.left);  // one column more where the cell has it
  if (wide <= 0) return;
  std::vector<uint8_t> bold(static_cast<size_t>(wide) * g.height, 0);
  const auto ink = [&](int x, int y) { return x < g.width && g.alpha[static_cast<size_t>(y) * g.width + x] != 0; };
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < wide; ++x)
      if (ink(x, y) || (x > 0 && ink(x - 1, y) && !ink(x + 1, y)))
        bold[static_cast<size_t>(y) * wide + x] = 255;
  g.width = wide;
  g.alpha = std::move(bold);
}

}  // namespace

unsigned long SmallBoldStrikes::jis_code(char32_t c) const {
  // The game's own code page gives the Shift-JIS pair, which is JIS X 0208's row and cell folded
  // into two bytes. Rows past 84 are the vendors' extensions, which the strike does not have.
  char utf8[4];
  const auto u = static_cast<uint32_t>(c);  // a kanji: three bytes of UTF-8
  utf8[0] = static_cast<char>(0xE0 | u >> 12);
  utf8[1] = static_cast<char>(0x80 | (u >> 6 & 0x3F));
  utf8[2] = static_cast<char>(0x80 | (u & 0x3F));
  const std::string pair = sjis_.from_utf8(std::string_view(utf8, 3));
  if (pair.size() != 2) return 0;
  const int lead = static_cast<unsigned char>(pair[0]), trail = static_cast<unsigned char>(pair[1]);
  int row = (lead <= 0x9F ? lead - 0x81 : lead - 0xC1) * 2 + 1;
  int cell = trail <= 0x7E ? trail - 0x3F : trail - 0x40;
  if (trail >= 0x9F) {
    ++row;
    cell = trail - 0x9E;
  }
  if (row < 1 || row > 84) return 0;
  return static_cast<unsigned long>((row + 0x20) << 8 | (cell + 0x20));
}

bool is_kanji(char32_t c) {
  return (c >= 0x3005 && c <= 0x3007) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF);
}

namespace {

std::string missing_strike(const std::string& file) {
  return "the bitmap font " + file + " (the glyphs of the small bold sizes) is missing or cannot be read; " +
         missing_strike_advice();
}

// A packed file's bytes unpacked, at most `most` of them (all for 0); empty when the file cannot
// be read through the storage or is no whole gzip stream (one cut short is refused unless `most`
// stops before its cut).
std::string unpacked(const std::string& file, size_t most) {
  InputFile packed = storage().read_file(file, kMaxFontFileBytes);
  if (packed.fault != InputFile::Fault::none) return "";
  z_stream z{};
  if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) return "";  // 16: a gzip header and trailer
  z.next_in = reinterpret_cast<Bytef*>(packed.bytes.data());
  z.avail_in = static_cast<uInt>(packed.bytes.size());
  std::string out;
  unsigned char buffer[1 << 16];
  int status = Z_OK;
  while (status == Z_OK && (most == 0 || out.size() < most)) {
    // No more than is asked for: the start's check needs four bytes, not the first 64 KB.
    const size_t room = most == 0 ? sizeof buffer : std::min(sizeof buffer, most - out.size());
    z.next_out = buffer;
    z.avail_out = static_cast<uInt>(room);
    status = inflate(&z, Z_NO_FLUSH);
    out.append(reinterpret_cast<const char*>(buffer), room - z.avail_out);
  }
  inflateEnd(&z);
  const bool whole = status == Z_STREAM_END || (status == Z_OK && most != 0);
  if (!whole) out.clear();
  if (most != 0 && out.size() > most) out.resize(most);
  return out;
}

// Whether the file opens as a packed PCF font: its first bytes unpacked are the format's mark.
// Enough to tell a missing or foreign file at start without unpacking the whole font.
bool looks_like_pcf(const std::string& file) {
  const std::string mark = unpacked(file, 4);
  return mark.size() == 4 && mark[0] == 1 && mark[1] == 'f' && mark[2] == 'c' && mark[3] == 'p';
}

}  // namespace

SmallBoldStrikes::SmallBoldStrikes() {
  kanji_.file = strike_file(kKanjiFile);
  latin_.file = strike_file(kLatinFile);
  for (const Strike* strike : {&kanji_, &latin_})
    if (!looks_like_pcf(strike->file)) throw FontError(missing_strike(strike->file));
  if (FT_Init_FreeType(&library_) != 0) throw FontError("FreeType could not be started");
}

// A strike whose file passed the check at start but cannot be unpacked now (cut short since)
// is left out, its characters drawn by the outline fonts as the other sizes draw them, rather
// than stopping the game in the middle of a screen; stderr says so, once.
FT_Face SmallBoldStrikes::face_of(Strike& strike) {
  if (strike.tried) return strike.face;
  strike.tried = true;
  // Unpacked whole: FreeType reads a packed font as a stream, and finding one glyph in it
  // unpacks it again from the start, most of a millisecond a kanji.
  const std::string bytes = unpacked(strike.file, 0);
  strike.bytes.assign(bytes.begin(), bytes.end());
  FT_Face& face = strike.face;
  if (strike.bytes.empty() ||
      FT_New_Memory_Face(library_, strike.bytes.data(), static_cast<FT_Long>(strike.bytes.size()), 0, &face) != 0 ||
      face->num_charmaps < 1 || face->num_fixed_sizes < 1 || FT_Set_Charmap(face, face->charmaps[0]) != 0 ||
      FT_Select_Size(face, 0) != 0) {
    if (face) FT_Done_Face(face);
    face = nullptr;
    strike.bytes.clear();
    std::cerr << "the bitmap font " << strike.file
              << " could not be read whole since the game started; the small bold sizes are drawn from the outline fonts"
              << std::endl;
  }
  return face;
}

SmallBoldStrikes::~SmallBoldStrikes() { release(); }

void SmallBoldStrikes::release() {
  // Closes the faces too.
  if (library_) FT_Done_FreeType(library_);
  library_ = nullptr;
  kanji_.face = latin_.face = nullptr;
}

// 13 pixels has no strike of its own; the 12-pixel glyphs sit in its 13-pixel cells.
bool SmallBoldStrikes::covers(const FontKey& key) {
  return key.bold && !key.italic && key.face != Face::Mincho && (key.px == 12 || key.px == 13);
}

const StrikeGlyph* SmallBoldStrikes::glyph(const FontKey& key, char32_t c) {
  if (!covers(key)) return nullptr;
  const bool latin = key.face == Face::Gothic && c > U' ' && c < 0x7F;
  if (!latin && !is_kanji(c)) return nullptr;
  if (auto it = glyphs_.find(c); it != glyphs_.end()) return it->second.get();
  if (latin) return drawn(face_of(latin_), c, c);  // the half-width strike is indexed by Unicode

  const unsigned long jis = jis_code(c);
  if (!jis) return glyphs_[c].get();
  return drawn(face_of(kanji_), jis, c);
}

const StrikeGlyph* SmallBoldStrikes::drawn(FT_Face face, unsigned long code, char32_t c) {
  std::unique_ptr<StrikeGlyph>& kept = glyphs_[c];
  const FT_UInt index = face ? FT_Get_Char_Index(face, code) : 0;
  if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0 ||
      face->glyph->format != FT_GLYPH_FORMAT_BITMAP || face->glyph->bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
    return nullptr;

  const FT_GlyphSlot slot = face->glyph;
  auto g = std::make_unique<StrikeGlyph>();
  g->advance = static_cast<int>(slot->advance.x >> 6);
  g->left = slot->bitmap_left;
  g->top = slot->bitmap_top;
  g->width = static_cast<int>(slot->bitmap.width);
  g->height = static_cast<int>(slot->bitmap.rows);
  g->alpha.resize(static_cast<size_t>(g->width) * g->height);
  for (int y = 0; y < g->height; ++y) {
    const unsigned char* row = slot->bitmap.buffer + static_cast<ptrdiff_t>(y) * slot->bitmap.pitch;
    for (int x = 0; x < g->width; ++x)
      g->alpha[static_cast<size_t>(y) * g->width + x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
  }
  // The cells end in a blank row, the bitmap font's spacing between lines; the outline fonts'
  // lines are spaced by the layout.
  while (g->height > 0 && std::all_of(g->alpha.end() - g->width, g->alpha.end(), [](uint8_t a) { return a == 0; })) {
    --g->height;
    g->alpha.resize(g->alpha.size() - g->width);
  }
  embolden_where_clear(*g, g->advance);
  kept = std::move(g);
  return kept.get();
}
