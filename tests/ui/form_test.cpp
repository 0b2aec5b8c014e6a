#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <set>

#include "support/test_game.hpp"
#include "ui/form.hpp"
#include "ui/sjis.hpp"

namespace {

TEST(Layout, IsWellFormed) {
  std::set<std::string> names;
  for (int i = 0; i < ctl::count; ++i) {
    const auto id = static_cast<ctl::Id>(i);
    const ControlSpec& s = Form::spec(id);
    EXPECT_TRUE(names.insert(s.name).second) << "duplicate " << s.name;
    EXPECT_EQ(Form::find(s.name), id);
    if (id == ctl::form) continue;
    const Kind parent_kind = Form::spec(s.parent).kind;
    EXPECT_TRUE(parent_kind == Kind::Panel || parent_kind == Kind::Window) << s.name;
    EXPECT_LT(s.parent, id) << s.name << " comes before its panel";
    if (s.parent != ctl::form && s.w > 0) {
      const ControlSpec& p = Form::spec(s.parent);
      EXPECT_GE(s.x, 0) << s.name;
      EXPECT_GE(s.y, 0) << s.name;
      EXPECT_LE(s.x + s.w, p.w) << s.name << " sticks out of " << p.name;
      EXPECT_LE(s.y + s.h, p.h) << s.name << " sticks out of " << p.name;
    }
  }
  EXPECT_EQ(Form::find("no_such_control"), ctl::count);
}

TEST(Layout, PanelsOnTheWindowFitIt) {
  Sjis sjis;
  Form f(sjis, 551, 360);
  for (ctl::Id id : {ctl::battle_box, ctl::danjyon_box, ctl::map_box, ctl::about_box, ctl::shop_box,
                     ctl::w_box, ctl::m_box, ctl::t_box}) {
    const Rect r = f.window_rect(id);
    EXPECT_LE(r.x + r.w, 551) << Form::name(id);
    EXPECT_LE(r.y + r.h, 360) << Form::name(id);
  }
}

TEST(Layout, StackingFollowsTheTable) {
  TestGame t;
  Form& f = t.g().form;
  // The item panel lies above the card counter's neighbour slot and over everything else.
  f.hide(ctl::start_box);
  f.show(ctl::card_box);
  f.show(ctl::item_box);
  EXPECT_EQ(f.window_rect(ctl::card_box).x, 0);
  EXPECT_EQ(f.window_rect(ctl::item_box).x, 204);
  EXPECT_TRUE(f.clickable(ctl::item_use));
  EXPECT_FALSE(f.clickable(ctl::BitBtn1)) << "the item panel covers its own button";
  // A later panel lies above an earlier one in the same slot.
  f.hide(ctl::item_box);
  f.show(ctl::battle_box);
  EXPECT_TRUE(f.clickable(ctl::Button50));
  f.show(ctl::danjyon_box);
  EXPECT_FALSE(f.clickable(ctl::Button50)) << "the dungeon panel lies above the battle panel";
  f.show(ctl::map_box);
  EXPECT_TRUE(f.clickable(ctl::map2)) << "the map panel lies above both";
  // Drawn-only controls lie below panels, whatever the table order.
  EXPECT_EQ(f.hit_test(210, 300), ctl::state_l);
  f.show(ctl::help_box);
  const ctl::Id over = f.hit_test(210, 300);
  EXPECT_TRUE(over == ctl::help_box || f[over].parent == ctl::help_box) << Form::name(over);
}

TEST(Layout, HiddenPanelsHideTheirControls) {
  TestGame t;
  Form& f = t.g().form;
  EXPECT_TRUE(f[ctl::Button19].visible);
  EXPECT_FALSE(f.shown(ctl::Button19));
  EXPECT_FALSE(f.clickable(ctl::Button19));
  f.hide(ctl::start_box);
  f.show(ctl::shop_box);
  EXPECT_TRUE(f.clickable(ctl::Button19));
  EXPECT_FALSE(f.clickable(ctl::card_b)) << "hidden until unlocked";
}

TEST(Form, RevisionChangesOnlyWithRealChanges) {
  Sjis sjis;
  Form f(sjis, 551, 360);
  const uint64_t r0 = f.revision();
  f.set_caption(ctl::moji_l, f[ctl::moji_l].caption);
  f.show(ctl::moji_l);
  f.set_fore(ctl::state_l, f[ctl::state_l].look.fore);
  EXPECT_EQ(f.revision(), r0);
  f.set_caption(ctl::moji_l, "x");
  EXPECT_NE(f.revision(), r0);
  const uint64_t r1 = f.revision();
  f[ctl::cg].canvas.resize(4, 4);
  EXPECT_NE(f.revision(), r1);
  // Every way of changing what is drawn tells the renderer so.
  struct Change {
    const char* what;
    void (*run)(Form&);
  };
  const Change changes[] = {
      {"move", [](Form& f) { f.move(ctl::moji_l, 3, 4); }},
      {"resize", [](Form& f) { f.resize(ctl::moji_l, 50, 60); }},
      {"hide", [](Form& f) { f.hide(ctl::moji_l); }},
      {"fore", [](Form& f) { f.set_fore(ctl::moji_l, cl::red); }},
      {"back", [](Form& f) { f.set_back(ctl::moji_l, cl::yellow); }},
      {"gauge", [](Form& f) { f.set_gauge(ctl::hp_l, 100, 37); }},
      {"append", [](Form& f) { f.append_caption(ctl::moji_l, "y"); }},
      {"canvas", [](Form& f) { f[ctl::cg].canvas.fill_rect(0, 0, 2, 2); }},
  };
  for (const Change& c : changes) {
    const uint64_t before = f.revision();
    c.run(f);
    EXPECT_NE(f.revision(), before) << c.what;
  }
}

TEST(Sjis, RoundTripsAndMarksBadBytes) {
  Sjis s;
  for (const char* text : {"ルシェラ", "ｽﾀｰﾀﾞﾝｽ", "①～－", "abc\r", "精霊【】△"})
    EXPECT_EQ(s.to_utf8(s.from_utf8(text)), text);
  EXPECT_EQ(s.from_utf8("\\"), "\\") << "0x5C stays a backslash";
  EXPECT_EQ(s.to_utf8("a\x82"), "a") << "an incomplete last character is left out";
  EXPECT_EQ(s.to_utf8("\xFF" "b"), "\xEF\xBF\xBD" "b");
  EXPECT_EQ(s.from_utf8("😀"), "?");
}

TEST(Sjis, ReadsTheExtensionsAndWritesOnePairForEachCharacter) {
  Sjis s;
  const struct {
    const char* sjis;
    const char* utf8;
  } reads[] = {
      {"\x87\x40\x87\x54\x87\x8A", "①Ⅰ㈱"},  // NEC's row 13
      {"\xED\x40\xEE\xEF", "纊ⅰ"},          // NEC's selection of IBM's characters
      {"\xFA\x40\xFA\x5B\xFC\x4B", "ⅰ∵黑"},  // IBM's extensions
      {"\xF0\x40", "\xEE\x80\x80"},          // the user-defined area
      {"\x81\x20", "\xEF\xBF\xBD "},          // a lead byte before no trail byte
      {"\x85\x40", "\xEF\xBF\xBD@"},          // an empty pair
      {"\x80\xA0\xFD", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"\xB1\x87", "ｱ"},
  };
  for (const auto& r : reads) EXPECT_EQ(s.to_utf8(r.sjis), r.utf8) << r.utf8;
  const struct {
    const char* utf8;
    const char* sjis;
  } writes[] = {
      {"ⅰⅠ", "\xFA\x40\x87\x54"},  // IBM's small numerals, NEC's capital ones
      {"∵≒¬", "\x81\xE6\x81\xE0\x81\xCA"},  // JIS X 0208's own pairs first
      {"¥‾", "\\~"},
      {"\xE3\x81", ""},  // an incomplete last character
      {"\xE3\x81" "a", "?a"},
      {"\xC0\x80" "a\xED\xA0\x80\x80", "?a?"},  // too long a form; a surrogate
      {"a\xF3\xA0\x80\x81", "a"},  // a tag character is written as nothing
  };
  for (const auto& w : writes) EXPECT_EQ(s.from_utf8(w.utf8), w.sjis) << w.utf8;
}

// The C library's own converter, with the error handling Sjis promises: `bad` for a sequence it
// cannot convert, then one byte skipped (in UTF-8 with its continuation bytes); an incomplete
// last character left out.
std::string c_library_converts(iconv_t cd, std::string_view in, std::string_view bad) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  char* src = const_cast<char*>(in.data());
  size_t left = in.size();
  while (left > 0) {
    char buf[64];
    char* dst = buf;
    size_t room = sizeof buf;
    const size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buf, dst - buf);
    if (r != static_cast<size_t>(-1) || errno == E2BIG) continue;
    if (errno == EINVAL) break;
    out.append(bad);
    ++src, --left;
    if (bad == "?")
      while (left > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80) ++src, --left;
  }
  return out;
}

TEST(Sjis, ConvertsAsTheCLibrarysCodePage932) {
  const iconv_t read = iconv_open("UTF-8", "CP932"), write = iconv_open("CP932", "UTF-8");
  if (read == reinterpret_cast<iconv_t>(-1) || write == reinterpret_cast<iconv_t>(-1))
    GTEST_SKIP() << "the C library has no CP932 to compare with";
  Sjis s;
  int wrong = 0;
  std::string first_wrong;
  auto compare = [&](const std::string& in, bool reading) {
    const std::string ours = reading ? s.to_utf8(in) : s.from_utf8(in);
    if (ours == c_library_converts(reading ? read : write, in, reading ? "\xEF\xBF\xBD" : "?")) return;
    if (wrong++ == 0)
      for (unsigned char c : in) first_wrong += std::to_string(c) + " ";
  };
  // Every byte and byte pair, read as Shift-JIS and as (mostly broken) UTF-8.
  for (int a = 0; a < 256; ++a) {
    for (bool reading : {true, false}) compare(std::string(1, static_cast<char>(a)), reading);
    for (int b = 0; b < 256; ++b)
      for (bool reading : {true, false}) compare({static_cast<char>(a), static_cast<char>(b)}, reading);
  }
  // Every character written; the longer forms cut short or broken.
  for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    std::string utf8;
    if (cp < 0x80) utf8 = {static_cast<char>(cp)};
    else if (cp < 0x800) utf8 = {static_cast<char>(0xC0 | cp >> 6), static_cast<char>(0x80 | (cp & 0x3F))};
    else if (cp < 0x10000)
      utf8 = {static_cast<char>(0xE0 | cp >> 12), static_cast<char>(0x80 | (cp >> 6 & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
    else
      utf8 = {static_cast<char>(0xF0 | cp >> 18), static_cast<char>(0x80 | (cp >> 12 & 0x3F)),
              static_cast<char>(0x80 | (cp >> 6 & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
    compare(utf8 + "a", false);
  }
  for (int lead = 0xE0; lead < 0x100; ++lead)
    for (int b : {0x41, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0})
      for (const char* end : {"", "\x80", "\x80\x80", "\x80\x80\x80", "\x80\x80\x80\x80", "\x80" "a"})
        compare(std::string{static_cast<char>(lead), static_cast<char>(b)} + end, false);
  EXPECT_EQ(wrong, 0) << "first differing input (bytes): " << first_wrong;
  iconv_close(read);
  iconv_close(write);
}

}  // namespace
