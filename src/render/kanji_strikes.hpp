#pragma once
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "render/text_raster.hpp"

struct FT_FaceRec_;
struct FT_LibraryRec_;

// The kanji of the small bold gothic sizes, from a bitmap font drawn for them. An outline kanji of
// 12 or 13 pixels made bold by one more pixel to the side fills its gaps and reads as a blot;
// these are drawn stroke by stroke on the grid, bold as they come. Only kanji are taken from
// them: kana, Latin letters and signs keep the outline fonts, and every character keeps the width
// the outline font gives it, so the layout is measured as before.
class KanjiStrikes {
 public:
  // Opens the bitmap font; throws FontError naming the package to install if it is missing.
  KanjiStrikes();
  ~KanjiStrikes();
  KanjiStrikes(const KanjiStrikes&) = delete;
  KanjiStrikes& operator=(const KanjiStrikes&) = delete;

  // Whether text in that font takes its kanji from the strike.
  static bool covers(const FontKey& key);
  // The hand-drawn form of c in that font; null when the font is not covered or the strike lacks
  // c (c not a kanji, or not among the kanji of JIS X 0208).
  const KanjiGlyph* glyph(const FontKey& key, char32_t c);

 private:
  void release();

  FT_LibraryRec_* library_ = nullptr;
  std::vector<unsigned char> font_bytes_;  // the font file, unpacked; the face reads from it
  FT_FaceRec_* face_ = nullptr;
  void* to_jis_ = nullptr;  // iconv_t, UTF-32 to EUC-JP
  std::unordered_map<char32_t, std::unique_ptr<KanjiGlyph>> glyphs_;  // null: not in the strike
};

// Kanji: the characters the strike may stand in for.
bool is_kanji(char32_t c);
