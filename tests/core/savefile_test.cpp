#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>

#include "core/fields.hpp"
#include "core/hero_record.hpp"
#include "core/operations.hpp"
#include "core/savefile.hpp"
#include "support/test_game.hpp"

namespace fs = std::filesystem;

namespace {

// The save file's lines, as the loader numbers them.
std::vector<std::string> split_crlf(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string join_crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

TEST(SaveFile, DefaultSaveHas933LinesAndItemCatalogue2052) {
  ScratchData data;
  EXPECT_EQ(split_crlf(data.read(data.dat("my.dat"))).size(), 933u);
  EXPECT_EQ(split_crlf(data.read(data.dat("item.dat"))).size(), 2052u);
}

// Every field a value of its own: the save puts each on its line of the file's format (named by
// the driver's names), and loading gives back the whole record but the ailment, and the catalogue.
TEST(SaveFile, SavingAndLoadingReproducesTheWholeRecordOnItsLines) {
  TestGame t;
  Hero& h = t.g().hero;
  int32_t v = -5;
  for (const HeroField& f : hero_fields()) {
    if (f.text) h.*f.text = t.sj("テスト") + std::to_string(v += 7);
    else if (f.number) h.*f.number = v += 7;
    else
      for (uint8_t& b : f.bytes(h)) b = static_cast<uint8_t>(v += 7);
  }
  h.money = -2147483647 - 1;
  h.status = 4;
  t.g().items[300] = {t.sj("card･スライム"), "", 111, 17};
  Hero saved = h;
  save_game(t.g());

  const std::vector<std::string> lines = split_crlf(t.data.read(t.data.dat("my.dat")));
  ASSERT_EQ(lines.size(), 933u);
  const std::pair<const char*, int> kLines[] = {
      {"hero.name", 1},       {"hero.spirit_name", 2}, {"hero.hp", 3},          {"hero.mp", 4},
      {"hero.max_hp", 5},     {"hero.max_mp", 6},      {"hero.spirit_power", 7}, {"money", 8},
      {"hero.level", 9},      {"hero.exp", 10},        {"stars", 11},            {"hero.life", 12},
      {"hero.luck", 13},      {"tech_lv[0]", 14},      {"tech_exp[0]", 15},      {"tech_exp[99]", 213},
      {"world_flags[200]", 214}, {"world_flags[299]", 313}, {"item_count[0]", 314},
      {"item_count[512]", 826}, {"attr_sun", 827},     {"attr_water", 828},      {"attr_magic", 829},
      {"attr_angel", 830},    {"hero.attack", 831},    {"hero.magic", 832},      {"hero.defense", 833},
      {"owned_flags[0]", 834}, {"owned_flags[99]", 933},
  };
  for (const auto& [name, line] : kLines)
    EXPECT_EQ(FieldAccess::get(t.g(), name), t.utf8(lines[static_cast<size_t>(line - 1)])) << name;

  HeadlessHost host2;
  Game g2(host2, t.data.dir().string());
  load_game(g2);
  EXPECT_TRUE(g2.loaded);
  EXPECT_EQ(g2.hero.status, 0) << "the ailment is not saved";
  saved.status = 0;
  EXPECT_EQ(g2.hero, saved);
  for (int id = 0; id < kItems; ++id) {
    EXPECT_EQ(g2.items[id].name, t.g().items[id].name) << id;
    EXPECT_EQ(g2.items[id].kind, t.g().items[id].kind) << id;
    EXPECT_EQ(g2.items[id].value, t.g().items[id].value) << id;
  }
}

// Each case writes one save file; `check` looks at what was loaded.
struct ReadingCase {
  const char* name;
  std::function<std::string(std::vector<std::string>)> edit;
  std::function<void(const Hero&)> check;
};

TEST(SaveFile, ReadingRules) {
  const ReadingCase cases[] = {
      {"a short file leaves the rest 0 and empty",
       [](std::vector<std::string> l) {
         l.resize(5);
         return join_crlf(l);
       },
       [](const Hero& h) {
         EXPECT_EQ(h.max_hp, 30);
         EXPECT_EQ(h.max_mp, 0);
         EXPECT_EQ(h.tech_lv(1), 0);
         EXPECT_EQ(h.defense, 0);
       }},
      {"an empty file loads",
       [](std::vector<std::string>) { return std::string(); },
       [](const Hero& h) {
         EXPECT_EQ(h.name, "");
         EXPECT_EQ(h.hp, 0);
       }},
      {"a level byte keeps its low 8 bits",
       [](std::vector<std::string> l) {
         l[13 + 2] = "300";  // tech_lv[1]
         l[313] = "-1";      // item_count[0]
         return join_crlf(l);
       },
       [](const Hero& h) {
         EXPECT_EQ(h.tech_lv(1), 44);
         EXPECT_EQ(h.item_count[0], 255);
       }},
      {"a blank line before a number is skipped",
       [](std::vector<std::string> l) {
         l.insert(l.begin() + 2, "");
         l.insert(l.begin() + 2, "   ");
         l.pop_back();
         l.pop_back();
         return join_crlf(l);
       },
       [](const Hero& h) {
         EXPECT_EQ(h.hp, 30);
         EXPECT_EQ(h.mp, 10);
       }},
      {"a number followed by text reads the number",
       [](std::vector<std::string> l) {
         l[2] = "12 abc";
         l[3] = "\t-7\tzzz";
         return join_crlf(l);
       },
       [](const Hero& h) {
         EXPECT_EQ(h.hp, 12);
         EXPECT_EQ(h.mp, -7);
       }},
      {"lines ended by LF alone read as lines",
       [](std::vector<std::string> l) {
         std::string out;
         for (auto& s : l) out += s + "\n";
         return out;
       },
       [](const Hero& h) {
         EXPECT_EQ(h.max_hp, 30);
         EXPECT_EQ(h.tech_lv(1), 1);
       }},
      {"a name line as long as a line may be is read whole",
       [](std::vector<std::string> l) {
         l[0] = std::string(kMaxLineBytes, 'A');
         return join_crlf(l);
       },
       [](const Hero& h) {
         EXPECT_EQ(h.name.size(), kMaxLineBytes);
         EXPECT_EQ(h.hp, 30);
       }},
      {"bytes that are not Shift-JIS stay as they are",
       [](std::vector<std::string> l) {
         l[0] = "\x81\xFF\xA0\x80z\x82";
         return join_crlf(l);
       },
       [](const Hero& h) { EXPECT_EQ(h.name, "\x81\xFF\xA0\x80z\x82"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchData data;
    data.write(data.dat("my.dat"), c.edit(split_crlf(data.read(data.dat("my.dat")))));
    HeadlessHost host;
    Game g(host, data.dir().string());
    ASSERT_NO_THROW(load_game(g));
    c.check(g.hero);
  }
}

TEST(SaveFile, BrokenFilesStopLoadingWithFileLineAndReason) {
  struct Case {
    const char* file;
    std::function<std::string(std::vector<std::string>)> edit;
    const char* expect;  // part of the error text
  } cases[] = {
      {"my.dat",
       [](std::vector<std::string> l) {
         l[2] = "abc";
         return join_crlf(l);
       },
       "my.dat の 3 行目：数値として読めません「abc」"},
      {"my.dat",
       [](std::vector<std::string> l) {
         l[6] = "12abc";
         return join_crlf(l);
       },
       "my.dat の 7 行目"},
      {"my.dat",
       [](std::vector<std::string> l) {
         l[4] = std::string(40, '9');
         return join_crlf(l);
       },
       "my.dat の 5 行目：数が大きすぎます"},
      {"my.dat",
       [](std::vector<std::string> l) {
         l[0] = std::string(1 << 20, 'A');
         return join_crlf(l);
       },
       "my.dat の 1 行目：行が長すぎます"},
      {"my.dat",
       [](std::vector<std::string> l) {
         l[6] = "12 " + std::string(kMaxLineBytes, ' ');
         return join_crlf(l);
       },
       "my.dat の 7 行目：行が長すぎます"},
      {"aiko.dat",
       [](std::vector<std::string> l) {
         l[200] = std::string(kMaxLineBytes + 1, 'x');
         return join_crlf(l);
       },
       "aiko.dat の 201 行目：行が長すぎます"},
      {"item.dat",
       [](std::vector<std::string> l) {
         l[4 * 10 + 2] = "\x83\x41";  // a katakana where a kind belongs
         return join_crlf(l);
       },
       "item.dat の 43 行目：数値として読めません「ア」"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expect);
    ScratchData data;
    data.write(data.dat(c.file), c.edit(split_crlf(data.read(data.dat(c.file)))));
    HeadlessHost host;
    Game g(host, data.dir().string());
    try {
      load_game(g);
      ADD_FAILURE() << "loaded";
    } catch (const IoError& e) {
      EXPECT_NE(std::string(e.what()).find(c.expect), std::string::npos) << e.what();
    }
    EXPECT_FALSE(g.loaded);
  }
}

TEST(SaveFile, MissingFileNamesTheFile) {
  ScratchData data;
  fs::remove(data.dat("aiko.dat"));
  HeadlessHost host;
  Game g(host, data.dir().string());
  try {
    load_game(g);
    FAIL() << "loaded";
  } catch (const IoError& e) {
    EXPECT_NE(std::string(e.what()).find("aiko.dat を開けません"), std::string::npos) << e.what();
  }
  // What came before aiko.dat was read; what comes after it was not.
  EXPECT_FALSE(g.name_pool[0].empty());
  EXPECT_FALSE(g.tech_table[0][0].empty());
  EXPECT_TRUE(g.items[0].name.empty());
}

TEST(SaveFile, AnUnreadableFileStopsLoading) {
  ScratchData data;
  fs::remove(data.dat("magic.dat"));
  fs::create_directory(data.dat("magic.dat"));
  HeadlessHost host;
  Game g(host, data.dir().string());
  try {
    load_game(g);
    FAIL() << "loaded";
  } catch (const IoError& e) {
    EXPECT_NE(std::string(e.what()).find("magic.dat"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(g.loaded);
}

TEST(SaveFile, FailedStartUpShowsTheErrorAndNeverSaves) {
  TestGame t(false);
  t.data.write(t.data.dat("my.dat"), "name\r\nspirit\r\nnot-a-number\r\n");
  const std::string items_before = t.data.read(t.data.dat("item.dat"));
  create_window(t.g());
  const auto errors = t.lines("error-box: ");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("my.dat の 3 行目"), std::string::npos) << errors[0];
  EXPECT_EQ(t.g().hero.money, 0) << "the start-up 100 yen come after loading";
  EXPECT_EQ(t.g().form[ctl::start_box].y, 480) << "the panels stay where they were laid out";
  EXPECT_EQ(t.utf8(t.g().form[ctl::moji_l].caption),
            "データを読み込めませんでした。\rmy.dat の 3 行目：数値として読めません「not-a-number」"
            "\rウィンドウを閉じると、セーブせずに終了します。");
  for (ctl::Id status : {ctl::state_l, ctl::star_l, ctl::hp_l, ctl::mp_l, ctl::z_l})
    EXPECT_FALSE(t.g().form.shown(status)) << "no hero was read, and none is shown";
  refresh_status(t.g());
  EXPECT_FALSE(t.g().form.shown(ctl::state_l)) << "the status refresh shows no hero either";
  close_window(t.g());
  EXPECT_EQ(t.data.read(t.data.dat("item.dat")), items_before);
  EXPECT_EQ(t.data.read(t.data.dat("my.dat")), "name\r\nspirit\r\nnot-a-number\r\n");
}

TEST(SaveFile, AFailedSaveLeavesTheOldFilesWholeAndSkipsTheCatalogue) {
  TestGame t;
  const std::string my_before = t.data.read(t.data.dat("my.dat"));
  const std::string items_before = t.data.read(t.data.dat("item.dat"));
  t.g().hero.money = 12345;
  t.g().items[256] = {"x", "", 111, 1};
  // A folder where the temporary file must go: creating it fails, whoever we are.
  fs::create_directory(t.data.dat("my.dat.tmp"));
  close_window(t.g());
  const auto errors = t.lines("error-box: ");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("my.dat.tmp を作れません"), std::string::npos) << errors[0];
  EXPECT_EQ(t.data.read(t.data.dat("my.dat")), my_before);
  EXPECT_EQ(t.data.read(t.data.dat("item.dat")), items_before);
}

TEST(SaveFile, SavingLeavesNoTemporaryFileAndWritesPlainDecimals) {
  TestGame t;
  t.g().hero.money = -40;
  t.g().hero.tech_lv(1) = 255;
  close_window(t.g());
  for (auto& e : fs::directory_iterator(t.data.dir() / "dat"))
    EXPECT_NE(e.path().extension(), ".tmp") << e.path();
  const auto lines = split_crlf(t.data.read(t.data.dat("my.dat")));
  ASSERT_EQ(lines.size(), 933u);
  EXPECT_EQ(lines[7], "-40");
  EXPECT_EQ(lines[15], "255");
}

TEST(SaveFile, EachStartAddsOneHundredYen) {
  ScratchData data;
  int32_t money = 0;
  for (int run = 0; run < 3; ++run) {
    HeadlessHost host;
    Game g(host, data.dir().string());
    create_window(g);
    if (run == 0) money = g.hero.money;
    else EXPECT_EQ(g.hero.money, money + 100 * run);
    continue_game(g);
    close_window(g);
  }
}

TEST(SaveFile, ANewHeroKeepsTheCardsOfEarlierGames) {
  ScratchData data;
  {
    HeadlessHost host;
    Game g(host, data.dir().string());
    create_window(g);
    g.items[256] = {g.sj("card･ネコ"), "", 111, 3};
    close_window(g);
  }
  HeadlessHost host;
  Game g(host, data.dir().string());
  create_window(g);
  new_hero(g);
  close_window(g);
  HeadlessHost host3;
  Game g3(host3, data.dir().string());
  load_game(g3);
  EXPECT_EQ(g3.sjis.to_utf8(g3.items[256].name), "card･ネコ");
  EXPECT_EQ(g3.items[256].kind, 111);
}

// Thrown from the file-step hook: the save stops there, with nothing after it run, as when the
// process is killed.
struct Stopped {};

// The two places a save lives: the pack's own dat/, or a folder apart (an installed game's).
struct Layout {
  const char* what;
  bool apart;
  fs::path folder(const ScratchData& d) const { return apart ? d.home() : d.dir() / "dat"; }
  std::unique_ptr<Game> game(HeadlessHost& host, const ScratchData& d) const {
    auto g = std::make_unique<Game>(host, d.dir().string());
    if (apart) g->save_dir = d.home().string();
    return g;
  }
};
constexpr Layout kLayouts[] = {{"in the pack", false}, {"apart from the pack", true}};

void expect_no_temporary_files(const fs::path& folder) {
  for (auto& e : fs::directory_iterator(folder)) EXPECT_NE(e.path().extension(), ".tmp") << "left behind: " << e.path();
}

TEST(SaveFile, ASaveStoppedAtAnyStepLeavesTheOldPairOrTheNewOne) {
  const std::string kCard = "card\xA5\x83\x65\x83\x4C";  // a card made in this run
  for (const Layout& layout : kLayouts) {
    SCOPED_TRACE(layout.what);
    // One save run to the end names its steps.
    std::vector<std::string> steps;
    {
      ScratchData data;
      HeadlessHost host;
      auto g = layout.game(host, data);
      create_window(*g);
      g->before_file_step = [&](std::string_view s) { steps.emplace_back(s); };
      close_window(*g);
    }
    ASSERT_GT(steps.size(), 8u);
    const size_t catalogue_renamed = static_cast<size_t>(
        std::find_if(steps.begin(), steps.end(),
                     [](const std::string& s) {
                       return s.starts_with("rename ") && s.ends_with("item.dat.tmp");
                     }) -
        steps.begin());
    ASSERT_LT(catalogue_renamed, steps.size());
    int old_pairs = 0, new_pairs = 0;
    for (size_t stop = 0; stop <= steps.size(); ++stop) {
      SCOPED_TRACE(stop < steps.size() ? "stopped before " + steps[stop] : "not stopped");
      ScratchData data;
      const std::string pack_save = data.read(data.dat("my.dat"));
      {
        HeadlessHost host;
        auto g = layout.game(host, data);
        create_window(*g);
        g->hero.money = 777777;
        g->items[300] = {kCard, "", 111, 5};
        g->hero.item_count[300] = 1;
        size_t seen = 0;
        g->before_file_step = [&](std::string_view) {
          if (seen++ == stop) throw Stopped{};
        };
        try {
          close_window(*g);
        } catch (const Stopped&) {
        }
      }  // the process is gone: its lock with it
      HeadlessHost host;
      auto g = layout.game(host, data);
      create_window(*g);
      ASSERT_TRUE(g->loaded);
      const bool new_save = g->hero.money == 777777 + 100;
      const bool new_catalogue = g->items[300].name == kCard;
      EXPECT_EQ(new_save, new_catalogue) << "a save split between two runs";
      EXPECT_EQ(g->hero.item_count[300], new_save ? 1 : 0);
      (new_save ? new_pairs : old_pairs) += 1;
      // Once the catalogue has been renamed, the new pair is what the next start finds.
      EXPECT_EQ(new_save, stop > catalogue_renamed);
      expect_no_temporary_files(layout.folder(data));
      if (layout.apart) {
        EXPECT_EQ(data.read(data.dat("my.dat")), pack_save) << "the pack was written";
      }
    }
    EXPECT_GT(old_pairs, 0);
    EXPECT_GT(new_pairs, 0);
  }
}

// The first start of an installed game copies the pack's pair into the save's folder; stopped
// at any step, the next start still finds exactly the pack's pair, never half a file.
TEST(SaveFile, AFirstStartStoppedAtAnyStepCopiesThePacksPairWhole) {
  const Layout& apart = kLayouts[1];
  std::vector<std::string> steps;
  {
    ScratchData data;
    HeadlessHost host;
    auto g = apart.game(host, data);
    g->before_file_step = [&](std::string_view s) { steps.emplace_back(s); };
    create_window(*g);
    ASSERT_TRUE(g->loaded);
  }
  ASSERT_GE(steps.size(), 6u) << "the copy writes, flushes and renames both files";
  for (size_t stop = 0; stop <= steps.size(); ++stop) {
    SCOPED_TRACE(stop < steps.size() ? "stopped before " + steps[stop] : "not stopped");
    ScratchData data;
    {
      HeadlessHost host;
      auto g = apart.game(host, data);
      size_t seen = 0;
      g->before_file_step = [&](std::string_view) {
        if (seen++ == stop) throw Stopped{};
      };
      try {
        create_window(*g);
      } catch (const Stopped&) {
      }
    }
    HeadlessHost host;
    auto g = apart.game(host, data);
    create_window(*g);
    ASSERT_TRUE(g->loaded);
    for (const char* file : {"my.dat", "item.dat"})
      EXPECT_EQ(data.read(data.home(file)), data.read(data.dat(file))) << file;
    expect_no_temporary_files(data.home());
  }
}

// Apart from the pack, the save keeps its rules: a catalogue of an earlier hero stays, a save
// without its catalogue is refused, and a save that could not be read is never written over.
TEST(SaveFile, ASaveApartFromThePackKeepsItsRules) {
  struct Case {
    const char* what;
    std::function<void(const ScratchData&)> prepare;
    const char* error;          // empty: loads
    const char* items_expected; // the catalogue after closing: the pack's, or the one before
  } cases[] = {
      {"a first start", [](const ScratchData&) {}, "", "pack"},
      {"a catalogue without its save keeps its cards",
       [](const ScratchData& d) {
         auto lines = split_crlf(d.read(d.dat("item.dat")));
         lines[4 * 300] = "card";
         d.write(d.home("item.dat"), join_crlf(lines));
       },
       "", "kept"},
      {"a save without its catalogue",
       [](const ScratchData& d) { d.write(d.home("my.dat"), d.read(d.dat("my.dat"))); },
       "item.dat を開けません", "none"},
      {"a broken save", [](const ScratchData& d) { d.write(d.home("my.dat"), "name\r\nspirit\r\nabc\r\n"); },
       "my.dat の 3 行目", "none"},
      // The folder that could not be made is named, not the first file that would have gone in.
      {"a file where the save's folder goes",
       [](const ScratchData& d) {
         fs::remove_all(d.dir() / "home");
         d.write(d.dir() / "home", "");
       },
       "home を作れません（File exists）", "none"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchData data;
    fs::create_directories(data.home());
    c.prepare(data);
    const std::string my_before = data.read(data.home("my.dat"));
    const std::string items_before = data.read(data.home("item.dat"));
    HeadlessHost host;
    auto g = kLayouts[1].game(host, data);
    create_window(*g);
    EXPECT_EQ(g->loaded, !*c.error);
    close_window(*g);
    const std::string errors = host.transcript.empty() ? "" : host.transcript[0];
    if (*c.error) {
      EXPECT_NE(errors.find(c.error), std::string::npos) << errors;
      EXPECT_EQ(data.read(data.home("my.dat")), my_before);
    } else {
      EXPECT_EQ(errors, "");
      EXPECT_NE(data.read(data.home("my.dat")), data.read(data.dat("my.dat"))) << "the start money was saved";
    }
    const bool from_pack = std::string(c.items_expected) == "pack";
    EXPECT_EQ(data.read(data.home("item.dat")), from_pack ? data.read(data.dat("item.dat")) : items_before);
  }
}

TEST(SaveFile, AnIncompleteSaveLeftAloneIsNotTakenForANewOne) {
  ScratchData data;
  const std::string before = data.read(data.dat("my.dat"));
  data.write(data.dat("my.dat.tmp"), before.substr(0, before.size() / 2));
  HeadlessHost host;
  Game g(host, data.dir().string());
  create_window(g);
  EXPECT_TRUE(g.loaded);
  EXPECT_EQ(data.read(data.dat("my.dat")), before);
  EXPECT_FALSE(fs::exists(data.dat("my.dat.tmp")));
}

TEST(SaveFile, TextsThatWouldBreakTheFileAreRefusedAndNothingIsWritten) {
  struct Case {
    const char* what;
    std::function<void(Game&)> spoil;
    const char* expect;
  } cases[] = {
      {"a line break in the name", [](Game& g) { g.hero.name = "a\rb"; },
       "my.dat の 1 行目：改行を含む文字列は書けません"},
      {"an LF in an item description", [](Game& g) { g.items[2].description = "x\ny"; },
       "item.dat の 10 行目：改行を含む"},
      {"a spirit name longer than a line",
       [](Game& g) { g.hero.spirit_name = std::string(kMaxLineBytes + 1, 'a'); },
       "my.dat の 2 行目：長すぎる文字列は書けません"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TestGame t;
    const std::string my_before = t.data.read(t.data.dat("my.dat"));
    const std::string items_before = t.data.read(t.data.dat("item.dat"));
    t.g().hero.money = 5;
    c.spoil(t.g());
    close_window(t.g());
    const auto errors = t.lines("error-box: ");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(c.expect), std::string::npos) << errors[0];
    EXPECT_TRUE(t.g().io_failed);
    EXPECT_EQ(t.data.read(t.data.dat("my.dat")), my_before);
    EXPECT_EQ(t.data.read(t.data.dat("item.dat")), items_before);
  }
}

TEST(SaveFile, ASecondGameOnTheSameSaveRefusesToStartAndTouchesNothing) {
  TestGame first;
  const std::string my_before = first.data.read(first.data.dat("my.dat"));
  HeadlessHost host;
  Game second(host, first.data.dir().string());
  create_window(second);
  EXPECT_TRUE(second.locked_out);
  EXPECT_FALSE(second.loaded);
  ASSERT_EQ(host.transcript.size(), 1u);
  EXPECT_NE(host.transcript[0].find("ほかのルシェラ２がすでに動いています"), std::string::npos)
      << host.transcript[0];
  close_window(second);
  EXPECT_EQ(first.data.read(first.data.dat("my.dat")), my_before);
  // Once the first game has closed, the next one starts.
  close_window(first.g());
  HeadlessHost host3;
  Game third(host3, first.data.dir().string());
  create_window(third);
  EXPECT_FALSE(third.locked_out);
  EXPECT_TRUE(third.loaded);
}

}  // namespace

// Two files a player chose to bring in: only a whole save with a whole catalogue, in either
// order, is taken; everything else is refused with what is wrong, naming the chosen files.
TEST(SaveFile, AChosenPairIsTakenOnlyWhenBothFilesReadWhole) {
  ScratchData data;
  const std::string save = data.read(data.dat("my.dat")), items = data.read(data.dat("item.dat"));
  std::vector<std::string> dead = split_crlf(save);
  dead[8] = "0";  // the level
  struct Case {
    const char* what;
    ChosenFile a, b;
    int save;             // which file is the save, -1 refused
    const char* problem;  // a part of the message
  } cases[] = {
      {"the pair", {"my.dat", save}, {"item.dat", items}, 0, ""},
      {"renamed and swapped by the browser", {"item (1).dat", items}, {"my (1).dat", save}, 1, ""},
      {"a text file as the save", {"my.dat", "hello\nworld\n"}, {"item.dat", items}, -1, "「my.dat」"},
      {"ten bytes as the save", {"my.dat", save.substr(0, 10)}, {"item.dat", items}, -1, "途中で終わっています"},
      {"a hero of level 0", {"my.dat", join_crlf(dead)}, {"item.dat", items}, -1, "レベル 0"},
      {"a cut catalogue", {"my.dat", save}, {"item.dat", items.substr(0, items.size() / 2)}, -1,
       "アイテムの表（item.dat）として読めません"},
      {"two saves", {"my.dat", save}, {"my (1).dat", save}, -1, "item.dat"},
      {"a huge file", {"my.dat", std::string(kMaxChosenSaveBytes + 1, '\n')}, {"item.dat", items}, -1, "大きすぎます"},
  };
  Sjis sjis;
  for (const Case& c : cases) {
    const ChosenFile files[2] = {c.a, c.b};
    const PairCheck got = check_save_pair(sjis, files);
    EXPECT_EQ(got.save, c.save) << c.what << ": " << got.problem;
    EXPECT_NE(got.problem.find(c.problem), std::string::npos) << c.what << ": " << got.problem;
    EXPECT_EQ(got.problem.find("/"), std::string::npos) << c.what << " names no path: " << got.problem;
  }
}
