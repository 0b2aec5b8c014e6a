// Opening M+'s bitmap strikes and drawing their glyphs bold where the strokes have room.
#include "render/small_bold_strikes.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <iconv.h>
#include <zlib.h>

#include <algorithm>
#include <string>

namespace {

// M+ 12, from Debian's X11 bitmap fonts: its kanji reach from 11 rows above the baseline to one
// below, as the outline fonts' 12-pixel lines do, and its half-width letters sit on the same
// baseline in six-pixel cells (the fixed-width outline face's half width at 12 and 13 pixels is
// 6 and 7). fontconfig does not list them (the kanji strike has no Unicode character map, and the
// system's configuration turns bitmap fonts away), so they are opened by their paths. The regular
// strikes, made bold here: M+'s own bold doubles every pixel to the right, which closes the
// one-pixel gaps of dense kanji (確 becomes a block, 魔 and 属 blots) and of "M".
constexpr const char* kKanjiFile = "/usr/share/fonts/X11/misc/mplus_j12r.pcf.gz";
constexpr const char* kLatinFile = "/usr/share/fonts/X11/misc/mplus_f12r.pcf.gz";
constexpr const char* kPackage = "xfonts-mplus";

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

bool is_kanji(char32_t c) {
  return (c >= 0x3005 && c <= 0x3007) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF);
}

namespace {

std::string missing_strike(const char* file) {
  return std::string("the bitmap font ") + file +
         " (the glyphs of the small bold sizes) is missing or cannot be read; install the Debian package " + kPackage;
}

// Whether the file opens as a packed PCF font: its first bytes unpacked are the format's mark.
// Enough to tell a missing or foreign file at start without unpacking the whole font.
bool looks_like_pcf(const char* file) {
  gzFile packed = gzopen(file, "rb");
  if (!packed) return false;
  unsigned char mark[4] = {};
  const bool ok = gzread(packed, mark, sizeof mark) == sizeof mark && mark[0] == 1 && mark[1] == 'f' &&
                  mark[2] == 'c' && mark[3] == 'p';
  gzclose(packed);
  return ok;
}

}  // namespace

SmallBoldStrikes::SmallBoldStrikes() {
  kanji_.file = kKanjiFile;
  latin_.file = kLatinFile;
  for (const char* file : {kKanjiFile, kLatinFile})
    if (!looks_like_pcf(file)) throw FontError(missing_strike(file));
  if (FT_Init_FreeType(&library_) != 0) throw FontError("FreeType could not be started");
  to_jis_ = iconv_open("EUC-JP", "UTF-32BE");
  if (to_jis_ == reinterpret_cast<void*>(-1)) {
    to_jis_ = nullptr;
    release();
    throw FontError("the C library cannot convert text to EUC-JP");
  }
}

// A strike whose file passed the check at start but cannot be unpacked now (cut short since)
// is left out, its characters drawn by the outline fonts as the other sizes draw them, rather
// than stopping the game in the middle of a screen.
FT_Face SmallBoldStrikes::face_of(Strike& strike) {
  if (strike.tried) return strike.face;
  strike.tried = true;
  // Unpacked whole: FreeType reads a packed font as a stream, and finding one glyph in it
  // unpacks it again from the start, most of a millisecond a kanji.
  if (gzFile packed = gzopen(strike.file, "rb")) {
    unsigned char buffer[1 << 16];
    int n = 0;
    while ((n = gzread(packed, buffer, sizeof buffer)) > 0) strike.bytes.insert(strike.bytes.end(), buffer, buffer + n);
    if (n < 0) strike.bytes.clear();
    gzclose(packed);
  }
  FT_Face& face = strike.face;
  if (strike.bytes.empty() ||
      FT_New_Memory_Face(library_, strike.bytes.data(), static_cast<FT_Long>(strike.bytes.size()), 0, &face) != 0 ||
      face->num_charmaps < 1 || face->num_fixed_sizes < 1 || FT_Set_Charmap(face, face->charmaps[0]) != 0 ||
      FT_Select_Size(face, 0) != 0) {
    if (face) FT_Done_Face(face);
    face = nullptr;
    strike.bytes.clear();
  }
  return face;
}

SmallBoldStrikes::~SmallBoldStrikes() { release(); }

void SmallBoldStrikes::release() {
  if (to_jis_) iconv_close(static_cast<iconv_t>(to_jis_));
  to_jis_ = nullptr;
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

  // The kanji strike is indexed by JIS X 0208 code: the EUC-JP bytes without their high bits.
  char in[4] = {0, 0, static_cast<char>(c >> 8 & 0xFF), static_cast<char>(c & 0xFF)};
  unsigned char out[4] = {};
  char* in_p = in;
  char* out_p = reinterpret_cast<char*>(out);
  size_t in_left = sizeof in, out_left = sizeof out;
  iconv(static_cast<iconv_t>(to_jis_), nullptr, nullptr, nullptr, nullptr);
  if (iconv(static_cast<iconv_t>(to_jis_), &in_p, &in_left, &out_p, &out_left) == static_cast<size_t>(-1) ||
      sizeof out - out_left != 2 || out[0] < 0xA1 || out[1] < 0xA1)
    return glyphs_[c].get();
  return drawn(face_of(kanji_), static_cast<unsigned long>((out[0] & 0x7F) << 8 | (out[1] & 0x7F)), c);
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
