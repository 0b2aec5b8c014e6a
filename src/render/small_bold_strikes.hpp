// The glyphs of the small bold gothic sizes drawn from bitmap fonts made for them: kanji, and the
// letters, digits and signs of ASCII in the fixed-width face.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "render/text_raster.hpp"
#include "ui/sjis.hpp"

struct FT_FaceRec_;
struct FT_LibraryRec_;

// An outline kanji of 12 or 13 pixels made bold by one more pixel to the side fills its gaps and
// reads as a blot, and the outline's letters and digits beside it come out grey-edged and of
// another weight ("Mp" reads "Wp"). These are drawn pixel by pixel on the grid instead, from M+'s
// 12-pixel strikes made bold where the strokes have room (see embolden_where_clear). Kana and
// signs keep the outline fonts, and every character keeps the width the outline font gives it,
// so the layout is measured as before. ASCII is taken only in the fixed-width face,
// whose cells the strike's fit; the proportional face keeps its own.
class SmallBoldStrikes {
 public:
  // Finds the bitmap fonts; throws FontError naming the package to install if one is missing.
  // Each is unpacked when its first glyph is asked for: most screens draw none of them.
  SmallBoldStrikes();
  ~SmallBoldStrikes();
  SmallBoldStrikes(const SmallBoldStrikes&) = delete;
  SmallBoldStrikes& operator=(const SmallBoldStrikes&) = delete;

  // Whether text in that font takes glyphs from the strikes.
  static bool covers(const FontKey& key);
  // The hand-drawn form of c in that font; null when the font is not covered or the strikes lack
  // c (c not a kanji of JIS X 0208, nor ASCII in the fixed-width face).
  const StrikeGlyph* glyph(const FontKey& key, char32_t c);

 private:
  struct Strike {
    std::string file;
    std::vector<unsigned char> bytes;  // the font file, unpacked; the face reads from it
    FT_FaceRec_* face = nullptr;
    bool tried = false;  // unpacked, or found broken (then face stays null)
  };
  FT_FaceRec_* face_of(Strike& strike);
  void release();
  const StrikeGlyph* drawn(FT_FaceRec_* face, unsigned long code, char32_t c);
  // The kanji strike's index of c, its JIS X 0208 code; 0 when c has none.
  unsigned long jis_code(char32_t c) const;

  FT_LibraryRec_* library_ = nullptr;
  Strike kanji_, latin_;  // their files set in the constructor
  Sjis sjis_;
  std::unordered_map<char32_t, std::unique_ptr<StrikeGlyph>> glyphs_;  // null: not in the strike
};

// Kanji: the characters the kanji strike may stand in for.
bool is_kanji(char32_t c);
