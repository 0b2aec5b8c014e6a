#include "render/kanji_strikes.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <iconv.h>
#include <zlib.h>

#include <algorithm>
#include <string>

namespace {

// M+ bold 12, from Debian's X11 bitmap fonts: its kanji reach from 11 rows above the baseline to
// one below, as the outline fonts' 12-pixel lines do. fontconfig does not list it (it has no
// Unicode character map, and the system's configuration turns bitmap fonts away), so it is opened
// by its path.
constexpr const char* kStrikeFile = "/usr/share/fonts/X11/misc/mplus_j12b.pcf.gz";
constexpr const char* kPackage = "xfonts-mplus";

}  // namespace

bool is_kanji(char32_t c) {
  return (c >= 0x3005 && c <= 0x3007) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF);
}

KanjiStrikes::KanjiStrikes() {
  if (FT_Init_FreeType(&library_) != 0) throw FontError("FreeType could not be started");
  to_jis_ = iconv_open("EUC-JP", "UTF-32BE");
  if (to_jis_ == reinterpret_cast<void*>(-1)) {
    to_jis_ = nullptr;
    release();
    throw FontError("the C library cannot convert text to EUC-JP");
  }
  // Unpacked whole: FreeType reads a packed font as a stream, and finding one glyph in it
  // unpacks it again from the start, most of a millisecond a kanji.
  if (gzFile packed = gzopen(kStrikeFile, "rb")) {
    unsigned char buffer[1 << 16];
    int n = 0;
    while ((n = gzread(packed, buffer, sizeof buffer)) > 0) font_bytes_.insert(font_bytes_.end(), buffer, buffer + n);
    if (n < 0) font_bytes_.clear();
    gzclose(packed);
  }
  if (font_bytes_.empty() ||
      FT_New_Memory_Face(library_, font_bytes_.data(), static_cast<FT_Long>(font_bytes_.size()), 0, &face_) != 0 ||
      face_->num_charmaps < 1 || face_->num_fixed_sizes < 1 || FT_Set_Charmap(face_, face_->charmaps[0]) != 0 ||
      FT_Select_Size(face_, 0) != 0) {
    release();
    throw FontError(std::string("the bitmap font ") + kStrikeFile +
                    " (the kanji of the small bold sizes) is missing or cannot be read; install the "
                    "Debian package " + kPackage);
  }
}

KanjiStrikes::~KanjiStrikes() { release(); }

void KanjiStrikes::release() {
  if (to_jis_) iconv_close(static_cast<iconv_t>(to_jis_));
  to_jis_ = nullptr;
  // Closes the face too.
  if (library_) FT_Done_FreeType(library_);
  library_ = nullptr;
  face_ = nullptr;
}

// 13 pixels has no strike of its own; the 12-pixel kanji sit in its 13-pixel cells.
bool KanjiStrikes::covers(const FontKey& key) {
  return key.bold && !key.italic && key.face != Face::Mincho && (key.px == 12 || key.px == 13);
}

const KanjiGlyph* KanjiStrikes::glyph(const FontKey& key, char32_t c) {
  if (!covers(key) || !is_kanji(c)) return nullptr;
  auto [it, added] = glyphs_.try_emplace(c);
  if (!added) return it->second.get();

  // The strike is indexed by JIS X 0208 code: the EUC-JP bytes without their high bits.
  char in[4] = {0, 0, static_cast<char>(c >> 8 & 0xFF), static_cast<char>(c & 0xFF)};
  unsigned char out[4] = {};
  char* in_p = in;
  char* out_p = reinterpret_cast<char*>(out);
  size_t in_left = sizeof in, out_left = sizeof out;
  iconv(static_cast<iconv_t>(to_jis_), nullptr, nullptr, nullptr, nullptr);
  if (iconv(static_cast<iconv_t>(to_jis_), &in_p, &in_left, &out_p, &out_left) == static_cast<size_t>(-1) ||
      sizeof out - out_left != 2 || out[0] < 0xA1 || out[1] < 0xA1)
    return nullptr;
  const FT_ULong jis = static_cast<FT_ULong>((out[0] & 0x7F) << 8 | (out[1] & 0x7F));
  const FT_UInt index = FT_Get_Char_Index(face_, jis);
  if (index == 0 || FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT) != 0 ||
      face_->glyph->format != FT_GLYPH_FORMAT_BITMAP || face_->glyph->bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
    return nullptr;

  const FT_GlyphSlot slot = face_->glyph;
  auto g = std::make_unique<KanjiGlyph>();
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
  it->second = std::move(g);
  return it->second.get();
}
