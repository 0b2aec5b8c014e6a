// Line breaking, alignment and mnemonics of captions, and the text cache.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/audio_support.hpp"
#include "render/freetype_raster.hpp"
#include "render/text_layout.hpp"
#include "core/operations.hpp"
#include "game/input.hpp"
#include "render/widgets.hpp"
#include "support/journey.hpp"
#include "support/sdl_ttf_raster.hpp"
#include "support/test_game.hpp"
#include "town/town.hpp"
#include "ui/sjis.hpp"

namespace {

// Every character 10 pixels wide, whatever its byte length.
class TenPixels : public TextMeasure {
 public:
  int width(std::string_view s) override {
    int n = 0;
    for (unsigned char c : s)
      if ((c & 0xC0) != 0x80) ++n;
    return 10 * n;
  }
};

std::vector<std::string> texts(const std::vector<LaidLine>& lines) {
  std::vector<std::string> out;
  for (const LaidLine& l : lines) out.push_back(l.text);
  return out;
}

using Lines = std::vector<std::string>;

TEST(TextLayout, CarriageReturnBreaksTheLineAndAnLfAfterItIsPartOfIt) {
  TenPixels m;
  struct Case {
    const char* text;
    Lines lines;
  };
  const Case cases[] = {
      {"ab\rcd", {"ab", "cd"}},
      {"ab\r\ncd", {"ab", "cd"}},
      {"ab\r\rcd", {"ab", "", "cd"}},
      {"ab\r\n\r\ncd", {"ab", "", "cd"}},
      {"ab\ncd", {"ab", "cd"}},
      {"あい\rう", {"あい", "う"}},
      {"\rab", {"", "ab"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(texts(break_lines(c.text, 0, m)), c.lines) << c.text;
    EXPECT_EQ(texts(break_lines(c.text, 1000, m)), c.lines) << c.text;
  }
}

TEST(TextLayout, WrapsWhereTheLineIsFullAsJapaneseLineBreakingAllows) {
  TenPixels m;
  struct Case {
    const char* text;
    int width;
    Lines lines;
  };
  const Case cases[] = {
      {"あいうえお", 25, {"あい", "うえ", "お"}},
      {"あいうえお", 30, {"あいう", "えお"}},
      {"あいうえお", 50, {"あいうえお"}},
      {"ab cd ef", 40, {"ab ", "cd ", "ef"}},  // a word stays whole
      {"「まほう」は強い", 40, {"「まほ", "う」は強", "い"}},  // no line starts with a closing bracket
      {"寿命回復、寿命", 40, {"寿命回", "復、寿命"}},       // nor with a comma
      {"きょうはちょっと", 50, {"きょうは", "ちょっと"}},   // nor with a small kana
      {"ダメージー", 40, {"ダメー", "ジー"}},              // nor with the long vowel mark
      {"攻撃<太陽>", 30, {"攻撃", "<太", "陽>"}},          // no line ends with an opening one
      {"Mpを10回復する", 40, {"Mpを", "10回復", "する"}},  // a number stays whole
      {"Mpを１０回復", 40, {"Mpを", "１０回復"}},
      {"1234567", 30, {"123", "456", "7"}},  // unless it is longer than the line
      {"」」」」", 20, {"」」", "」」"}},      // nowhere to break: where the line is full
      {"あいう\rえおかきく", 20, {"あい", "う", "えお", "かき", "く"}},
      {"あいう", 5, {"あ", "い", "う"}},  // a box narrower than a character
  };
  for (const Case& c : cases) EXPECT_EQ(texts(break_lines(c.text, c.width, m)), c.lines) << c.text;
  const std::vector<LaidLine> lines = break_lines("あいうえお", 25, m);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].width, 20);
  EXPECT_EQ(lines[2].width, 10);
}

TEST(TextLayout, AlignmentOffsets) {
  EXPECT_EQ(align_offset(Align::Left, 100, 30), 0);
  EXPECT_EQ(align_offset(Align::Right, 100, 30), 70);
  EXPECT_EQ(align_offset(Align::Center, 100, 30), 35);
  EXPECT_EQ(align_offset(Align::Right, 20, 30), -10);  // wider than its box: runs off the left
}

TEST(TextLayout, MnemonicsAreUnderlinedAndDoubleAmpersandsShowOne) {
  const Mnemonic yes = strip_mnemonic("はい(&Y)");
  EXPECT_EQ(yes.text, "はい(Y)");
  EXPECT_EQ(yes.text.substr(yes.marked, yes.marked_size), "Y");
  const Mnemonic amp = strip_mnemonic("A&&B");
  EXPECT_EQ(amp.text, "A&B");
  EXPECT_EQ(amp.marked, -1);
  const Mnemonic kana = strip_mnemonic("&あい");
  EXPECT_EQ(kana.marked, 0);
  EXPECT_EQ(kana.marked_size, 3);
  EXPECT_EQ(strip_mnemonic("end&").text, "end&");
}

// Measures with the game's fonts, through the cache.
class FontWidth : public TextMeasure {
 public:
  FontWidth(TextCache& cache, Font font, int scale) : cache_(cache), font_(font), scale_(scale) {}
  int width(std::string_view s) override { return cache_.measure(std::string(s), font_, scale_); }

 private:
  TextCache& cache_;
  Font font_;
  int scale_;
};

// The first n characters of UTF-8 text.
std::string first_characters(const std::string& s, int n) {
  size_t end = 0;
  for (int k = 0; k < n && end < s.size(); ++k)
    do ++end;
    while (end < s.size() && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80);
  return s.substr(0, end);
}

// The files fontconfig found are kept from one start to the next, and taken only while they are
// unchanged; a cache that does not hold three good lines is not taken.
TEST(FontFiles, TheFontFilesFoundAreKeptWhileTheyAreUnchanged) {
  audio_test::ScratchFolder folder;
  const std::string cache = folder.file("cache/font-match");
  const FontFiles asked = find_font_files(cache);
  const std::optional<FontFiles> kept = read_font_match(cache);
  ASSERT_TRUE(kept.has_value());
  for (int i = 0; i < 3; ++i) EXPECT_EQ((*kept)[i].path, asked[i].path);
  // Kept files are taken as they are (here a copy stands for the first family's file)...
  const std::string copy = folder.file("copy.ttf");
  std::filesystem::copy_file(asked[0].path, copy);
  FontFiles other = *kept;
  other[0].path = copy;
  write_font_match(cache, other);
  EXPECT_EQ(find_font_files(cache)[0].path, copy);
  // ...until one changes: then fontconfig is asked again, and its answer kept.
  std::ofstream(copy, std::ios::app) << 'x';
  EXPECT_EQ(find_font_files(cache)[0].path, asked[0].path);
  EXPECT_EQ(read_font_match(cache), kept);
  for (const char* broken : {"", "0 1 2\n", "x 1 2 /a\n0 1 2 /b\n0 1 2 /c\n"}) {
    folder.write("cache/font-match", std::string(broken));
    EXPECT_FALSE(read_font_match(cache).has_value()) << broken;
    EXPECT_EQ(find_font_files(cache)[2].path, asked[2].path) << broken;
  }
  // Nor is anything but a file: a FIFO nobody writes into is not waited on, a device that never
  // ends not read.
  std::filesystem::remove(cache);
  ASSERT_EQ(mkfifo(cache.c_str(), 0600), 0);
  EXPECT_FALSE(read_font_match(cache).has_value());
  std::filesystem::remove(cache);
  std::filesystem::create_symlink("/dev/zero", cache);
  EXPECT_FALSE(read_font_match(cache).has_value());
}

// The cache lies in the player's cache folder, by the desktop's rules.
TEST(FontFiles, TheCacheIsInThePlayersCacheFolder) {
  const struct {
    const char* cache_home;
    const char* home;
    const char* file;
  } cases[] = {
      {"/somewhere/cache", "/home/player", "/somewhere/cache/lushera/font-match"},
      {"/somewhere/cache/", "/home/player", "/somewhere/cache/lushera/font-match"},
      {nullptr, "/home/player", "/home/player/.cache/lushera/font-match"},
      {"relative/cache", "/home/player", "/home/player/.cache/lushera/font-match"},  // not absolute: not used
  };
  for (const auto& c : cases) {
    audio_test::ScopedEnv cache_home("XDG_CACHE_HOME", c.cache_home);
    audio_test::ScopedEnv home("HOME", c.home);
    EXPECT_EQ(font_match_file(), c.file) << (c.cache_home ? c.cache_home : "(not set)");
  }
}

// Without a kept answer the packaged files are taken, each only while it holds its own family:
// a file of another family at a packaged place sends the search to fontconfig.
TEST(FontFiles, PackagedFilesAreTakenOnlyForTheirOwnFamily) {
  const FontFiles packaged = find_font_files("", kPackagedFonts);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(packaged[i].path, kPackagedFonts[i]);
  const FontPaths mixed = {kPackagedFonts[2], kPackagedFonts[1], kPackagedFonts[0]};
  const FontFiles asked = find_font_files("", mixed);
  EXPECT_NE(asked[0].path, kPackagedFonts[2]) << "the mincho taken for the proportional gothic";
  EXPECT_EQ(std::filesystem::canonical(asked[2].path), std::filesystem::canonical(kPackagedFonts[2]));
}

// With the real fonts: every line fits its box, every line but the last is full, and no character
// is lost.
TEST(TextLayout, RealFontsWrapInsideTheBox) {
  FreeTypeRaster fonts;
  Sjis sjis;
  TextCache cache(fonts, sjis);
  const std::string utf8 =
      "続きからプレーする場合はコレを選んでね。（ソフトを閉じると自動的にセーブします）";
  const Font font{Face::PGothic, 12, false, false};
  for (int scale : {1, 2}) {
    const int wrap = 120 * scale;
    FontWidth measure(cache, font, scale);
    const std::vector<LaidLine> lines = break_lines(utf8, wrap, measure);
    ASSERT_GE(lines.size(), 3u) << "scale " << scale;
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_LE(lines[i].width, wrap);
      joined += lines[i].text;
      if (i + 1 < lines.size()) {
        // Full up to the next character, or to the one after it where the line breaking rules
        // held a character back (a full stop may not start the next line).
        EXPECT_GT(measure.width(lines[i].text + first_characters(lines[i + 1].text, 2)), wrap)
            << "line " << i;
      }
    }
    EXPECT_EQ(joined, utf8);
    const TextBlock& b = cache.caption(sjis.from_utf8(utf8), font, scale, wrap);
    ASSERT_EQ(b.lines.size(), lines.size());
    EXPECT_EQ(b.line_height, 12 * scale);
    for (const auto& line : b.lines) ASSERT_TRUE(line.ink);
  }
}

TEST(TextLayout, CacheRendersEachLineOnce) {
  FreeTypeRaster fonts;
  Sjis sjis;
  TextCache cache(fonts, sjis);
  const Font font{Face::Gothic, 13, true, false};
  const std::string status = sjis.from_utf8("ライズ\rLv：1\rHp：30/30");
  cache.caption(status, font, 1, 189);
  const uint64_t first = cache.lines_rendered();
  EXPECT_EQ(first, 3u);
  for (int frame = 0; frame < 5; ++frame) {
    cache.caption(status, font, 1, 189);
    cache.end_frame();
  }
  EXPECT_EQ(cache.lines_rendered(), first);
  // A change on the last line renders that line only.
  cache.caption(sjis.from_utf8("ライズ\rLv：1\rHp：29/30"), font, 1, 189);
  EXPECT_EQ(cache.lines_rendered(), first + 1);
}

TEST(TextLayout, ShiftJisCaptionsAreShownWithoutAnIncompleteLastCharacter) {
  FreeTypeRaster fonts;
  Sjis sjis;
  TextCache cache(fonts, sjis);
  const Font font{Face::Mincho, 16, true, false};
  const std::string full = sjis.from_utf8("どこへ");
  // The typewriter may stop between the two bytes of a character.
  const TextBlock& half = cache.caption(full.substr(0, 3), font, 1, 0);
  const TextBlock& one = cache.caption(full.substr(0, 2), font, 1, 0);
  ASSERT_EQ(half.lines.size(), 1u);
  EXPECT_EQ(half.width, one.width);
}

// How many strokes the scan lines of a rendered line cross: the separate runs of ink (pixels at
// least half covered) down every column, and along every row when `rows` is set. Strokes merged
// into a blot are crossed once where they should be crossed several times.
int strokes_crossed(const Coverage& ink, bool rows) {
  auto runs = [&](int lines, int length, auto at) {
    int n = 0;
    for (int l = 0; l < lines; ++l)
      for (int k = 0; k < length; ++k) n += at(l, k) >= 128 && (k == 0 || at(l, k - 1) < 128);
    return n;
  };
  auto pixel = [&](int x, int y) { return ink.alpha[static_cast<size_t>(y) * ink.width + x]; };
  int n = runs(ink.width, ink.height, [&](int x, int y) { return pixel(x, y); });
  if (rows) n += runs(ink.height, ink.width, [&](int y, int x) { return pixel(x, y); });
  return n;
}

// Small bold text at 1x shows the strokes it shows at 3x, where it is drawn large enough to be
// clean: the status panel's kanji ("Star 0個", "属性", "魔力", "残り距離"), the info box's, the
// opponent's ("訓練"), the question box's title ("確認"), and Latin letters ("Mp" keeps the middle
// of its M, which only the columns see). At 3x each stroke is crossed by
// three times as many scan lines.
TEST(TextLayout, SmallBoldTextKeepsItsStrokesApart) {
  FreeTypeRaster fonts;
  Sjis sjis;
  struct Case {
    const char* text;
    Font font;
    bool rows;
  } cases[] = {
      {"個", {Face::PGothic, 13, true, false}, true},  {"属", {Face::Gothic, 12, true, false}, true},
      {"魔", {Face::Gothic, 13, true, false}, true},   {"魔", {Face::PGothic, 12, true, false}, true},
      {"M", {Face::Gothic, 13, true, false}, false},   {"確", {Face::PGothic, 12, true, false}, true},
      {"認", {Face::PGothic, 12, true, false}, true},  {"訓", {Face::Gothic, 12, true, false}, true},
      {"練", {Face::Gothic, 12, true, false}, true},   {"威", {Face::PGothic, 12, true, false}, true},
      {"削", {Face::PGothic, 12, true, false}, false}, {"敵", {Face::PGothic, 12, true, false}, true},
      {"残", {Face::Gothic, 12, true, false}, true},   {"距", {Face::Gothic, 13, true, false}, true},
  };
  TextCache cache(fonts, sjis);
  for (const Case& c : cases) {
    int crossed[2];
    for (int scale : {1, 3}) {
      const TextBlock& b = cache.text(c.text, c.font, scale, 0);
      ASSERT_EQ(b.lines.size(), 1u);
      ASSERT_TRUE(b.lines[0].ink);
      crossed[scale / 3] = strokes_crossed(*b.lines[0].ink, c.rows);
    }
    // Nine tenths of them at least; an outline kanji made bold by a pixel to the side shows
    // half to four fifths.
    EXPECT_GE(crossed[0] * 10, crossed[1] * 3)
        << c.text << " at " << c.font.px
        << " px bold crosses " << crossed[0] << " strokes at 1x, " << crossed[1] << " at 3x";
  }
}

// A hand-drawn glyph after an outline one leaves it whole and keeps a clear column between them
// ("Star 0個" in the status panel, "ン程" and "い敵" in the help text):
// the outline glyph's strong pixels are those it has alone, and a column without ink parts it
// from the stamped glyph.
TEST(TextLayout, HandDrawnGlyphsKeepApartFromTheOutlineGlyphBefore) {
  FreeTypeRaster fonts;
  Sjis sjis;
  struct Case {
    const char* before;
    const char* drawn;
    Font font;
  } cases[] = {
      {"Star 0", "個", {Face::PGothic, 13, true, false}},
      {"ダンジョン", "程", {Face::PGothic, 13, true, false}},
      {"強い", "敵", {Face::PGothic, 13, true, false}},
  };
  const auto at = [](const Coverage& c, int x, int y) {
    return x < c.width && y < c.height ? c.alpha[static_cast<size_t>(y) * c.width + x] : 0;
  };
  TextCache cache(fonts, sjis);
  for (const Case& c : cases) {
    const std::string where = std::string(c.before) + c.drawn;
    const Coverage alone = *cache.text(c.before, c.font, 1, 0).lines.at(0).ink;
    const Coverage line = *cache.text(std::string(c.before) + c.drawn, c.font, 1, 0).lines.at(0).ink;
    int last = -1;  // the outline glyph's last strong column
    for (int x = 0; x < alone.width; ++x)
      for (int y = 0; y < alone.height; ++y)
        if (at(alone, x, y) >= 160) {
          last = x;
          EXPECT_GE(at(line, x, y), 160) << where << ": the outline glyph lost its pixel (" << x << ", " << y << ")";
        }
    bool parted = false;
    for (int x = last + 1; x < line.width && !parted; ++x) {
      int most = 0;
      for (int y = 0; y < line.height; ++y) most = std::max<int>(most, at(line, x, y));
      if (most >= 160) break;
      parted = most == 0;
    }
    EXPECT_TRUE(parted) << where << ": no clear column after x = " << last;
  }
}

// Bold text large enough to be drawn from the outlines (every bold text at 2x and more, the help
// panel's 16-pixel headings at 1x) keeps a gap between neighbouring kanji: in each, the columns
// around the border of two full-width cells have one at most faintly inked. A bold that widens
// each glyph to the right without moving the pen joins 距 to 離.
TEST(TextLayout, LargeBoldKanjiKeepAGapBetweenThem) {
  FreeTypeRaster fonts;
  Sjis sjis;
  struct Case {
    const char* text;  // full-width characters only
    Font font;
    int scale;
  } cases[] = {
      {"残り距離", {Face::Gothic, 12, true, false}, 2}, {"残り距離", {Face::Gothic, 12, true, false}, 3},
      {"残り距離", {Face::Gothic, 13, true, false}, 4}, {"攻撃力魔力", {Face::PGothic, 12, true, false}, 3},
      {"確認", {Face::PGothic, 12, true, false}, 2},     {"戦闘", {Face::PGothic, 16, true, false}, 1},
      {"移動", {Face::PGothic, 16, true, false}, 3},
  };
  TextCache cache(fonts, sjis);
  for (const Case& c : cases) {
    const TextBlock& b = cache.text(c.text, c.font, c.scale, 0);
    ASSERT_EQ(b.lines.size(), 1u);
    const Coverage& ink = *b.lines[0].ink;
    const int cell = c.font.px * c.scale;
    for (int border = cell; border + 2 < ink.width; border += cell) {
      int faintest = 255;
      for (int x = border - 2; x <= border + 1; ++x) {
        int most = 0;
        for (int y = 0; y < ink.height; ++y) most = std::max<int>(most, ink.alpha[static_cast<size_t>(y) * ink.width + x]);
        faintest = std::min(faintest, most);
      }
      EXPECT_LT(faintest, 96) << c.text << " at "
                              << c.font.px << " px bold, " << c.scale << "x: no gap at x = " << border;
    }
  }
}

// With the real fonts at 1x, every label's own caption fits the label (a one-line label may be
// condensed a little), and every technique's info text, at every level, fits the info box as it
// shows it when the technique is pointed at. The test names each text that does not fit.
TEST(TextLayout, TextsFitTheirControls) {
  TestGame t;
  FreeTypeRaster fonts;
  TextCache cache(fonts, t.g().sjis);
  std::vector<std::string> cut;
  for (int i = 0; i < ctl::count; ++i) {
    const Control& c = t.g().form[static_cast<ctl::Id>(i)];
    if (c.kind != Kind::Label || c.w == 0 || c.h == 0 || c.caption.empty()) continue;
    const TextBlock& b = c.look.wrap ? cache.caption(c.caption, c.look.font, 1, c.w)
                                     : cache.fitted_caption(c.caption, c.look.font, 1, 0, c.w, c.w);
    if (b.width > c.w || b.height() > c.h)
      cut.push_back(std::string(Form::spec(static_cast<ctl::Id>(i)).name) + ": " + t.utf8(c.caption));
  }
  const Control& box = t.g().form[ctl::w_about];
  for (int tech = 1; tech <= kTechniques; ++tech)
    for (int lv = 1; lv <= 10; ++lv) {
      t.g().hero.tech_lv(tech) = static_cast<uint8_t>(lv);
      t.g().hovered_tech = static_cast<uint8_t>(tech);
      timer_tick(t.g());
      const std::string& text = box.caption;
      if (cache.caption(text, box.look.font, 1, box.w).height() > box.h)
        cut.push_back(std::to_string(tech) + " Lv" + std::to_string(lv) + ": " + t.utf8(text));
    }
  // The technique's short name, on the info box's first line, keeps left of the level figure.
  const Control& name = t.g().form[ctl::w_name];
  const int room = t.g().form[ctl::w_lv].x - name.x;
  for (int tech = 1; tech <= kTechniques; ++tech) {
    t.g().hovered_tech = static_cast<uint8_t>(tech);
    timer_tick(t.g());
    const TextBlock& b = cache.fitted_caption(name.caption, name.look.font, 1, 0, name.look.first_line_room, name.w);
    if (b.lines.empty() || b.lines[0].width > room || b.height() > name.h)
      cut.push_back(std::to_string(tech) + " (name): " + t.utf8(name.caption));
  }
  // Every catalogue item: its name in the item list (beside the scroll bar) and on the counters,
  // and what the item panel says of it.
  for (int id = 0; id < kItems; ++id) t.g().hero.item_count[id] = 1;
  refresh_item_list(t.g());
  Control& list = t.g().form[ctl::item_list];
  const int row = list_geometry(t.g().form.window_rect(ctl::item_list), list).rows.w - 2;
  const ctl::Id shown[] = {ctl::item_about, ctl::ken_l, ctl::card_l};
  for (list.selected = 0; list.selected < static_cast<int>(list.items.size()); ++list.selected) {
    if (cache.caption(list.items[list.selected], list.look.font, 1, 0).width > row)
      cut.push_back("item_list: " + t.utf8(list.items[list.selected]));
    item_list_selected(t.g());
    for (ctl::Id id : shown) {
      const Control& c = t.g().form[id];
      const TextBlock& b = c.look.wrap ? cache.caption(c.caption, c.look.font, 1, c.w)
                                       : cache.fitted_caption(c.caption, c.look.font, 1, 0, c.w, c.w);
      if (b.width > c.w || b.height() > c.h)
        cut.push_back(std::string(Form::name(id)) + ": " + t.utf8(c.caption));
    }
  }
  EXPECT_TRUE(cut.empty()) << cut.size() << " do not fit, the first: " << cut.front();
}

// Every message a whole game shows, typed out in the message window.
TEST(TextLayout, EveryMessageOfAWholeGameFitsTheMessageWindow) {
  TestGame t;
  t.g().fixed_seed = 1;
  click(t.g(), ctl::Button1);
  Journey j{t.g()};
  ASSERT_TRUE(j.play(400000));
  FreeTypeRaster fonts;
  TextCache cache(fonts, t.g().sjis);
  const Control& m = t.g().form[ctl::moji_l];
  std::vector<std::string> cut;
  for (const std::string& text : t.messages())
    if (cache.caption(t.sj(text), m.look.font, 1, m.w).height() > m.h) cut.push_back(text);
  EXPECT_TRUE(cut.empty()) << cut.size() << " do not fit, the first: " << cut.front();
}

// The window and the headless host draw text with FreeType itself, as SDL_ttf draws it. Every
// caption of the layout, in its own font and in each face, plain and bold, at every zoom, must
// come out the same from both: measures, width, where a line is cut and every pixel of ink
// (overlapping glyphs included).
TEST(TextLayout, FreeTypeDrawsEveryCaptionAsSdlTtfDoes) {
  TestGame t;
  SdlTtfRaster sdl_ttf;
  FreeTypeRaster ours;
  std::vector<std::string> texts = {"確認", "はい(Y)", "いいえ(N)", "AVAWTo.,;:!? fij", "ー～－①「」"};
  TenPixels unused;
  for (int i = 0; i < ctl::count; ++i)
    for (const LaidLine& line : break_lines(t.utf8(t.g().form[static_cast<ctl::Id>(i)].caption), 0, unused))
      texts.push_back(line.text);
  std::vector<std::string> differ;
  for (int face = 0; face < 3; ++face)
    for (int px : {12, 15, 24, 36, 48})
      for (int style = 0; style < 4; ++style) {
        const bool bold = style & 1, italic = style & 2;
        const FontKey key{static_cast<Face>(face), px, bold, italic};
        if (italic) {
          for (const std::string& text : texts)
            if (sdl_ttf.render(key, text).height != ours.render(key, text).height)
              differ.push_back("the height of italic " + text);
          continue;
        }
        const FontMetrics a = sdl_ttf.metrics(key), b = ours.metrics(key);
        if (a.height != b.height || a.ascent != b.ascent) differ.push_back("metrics");
        // The layout stamps a hand-drawn kanji only where its advance is the ideographic space's.
        for (char32_t c : {U'魔', U'\u3000', U'A'})
          if (sdl_ttf.advance(key, c) != ours.advance(key, c)) differ.push_back("an advance");
        for (const std::string& text : texts) {
          const Coverage x = sdl_ttf.render(key, text), y = ours.render(key, text);
          const int w = sdl_ttf.width(key, text);
          if (w != ours.width(key, text) || x.width != y.width || x.height != y.height || x.alpha != y.alpha ||
              (w > 2 && sdl_ttf.fit(key, text, w / 2) != ours.fit(key, text, w / 2)) ||
              (w > 2 && sdl_ttf.fit(key, text, w - 1) != ours.fit(key, text, w - 1)))
            differ.push_back(std::to_string(face) + " " + std::to_string(px) + (bold ? " bold" : "") +
                             (italic ? " italic " : " ") + text);
        }
      }
  EXPECT_TRUE(differ.empty()) << differ.size() << " differ, the first: " << differ.front();
}

}  // namespace
