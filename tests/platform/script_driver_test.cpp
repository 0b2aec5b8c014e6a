// The scripted driver refuses what the game could not hold, and changes nothing then; its reader
// takes each line whole up to the bound.
#include <gtest/gtest.h>

#include <sstream>

#include "core/savefile.hpp"
#include "platform/headless/script_driver.hpp"
#include "platform/headless/script_reader.hpp"
#include "platform/sdl/renderer.hpp"
#include "support/test_game.hpp"

namespace {

TEST(ScriptDriver, RefusesValuesTheGameCannotHoldAndChangesNothing) {
  struct Case {
    std::string line;
    const char* error;  // part of the error line
  } cases[] = {
      {"set money 99999999999", "error: not a 32-bit number: 99999999999"},
      {"set money -2147483649", "error: not a 32-bit number"},
      {"set money 12abc", "error: not a 32-bit number"},
      {"set item[99999999999].name X", "error: no field item[99999999999].name"},
      {"set item[4294967296].kind 1", "error: no field item[4294967296].kind"},
      {"set hero.name A\rB", "error: a text cannot hold a line break: hero.name"},
      {"set item[0].description A\rB", "error: a text cannot hold a line break"},
      {"set hero.spirit_name " + std::string(kMaxLineBytes + 1, 'x'), "is longer than the 4096"},
      {"tick 99999999999", "error: tick needs a count"},
      {"tick 1000001", "error: tick needs a count from 0 to 1000000"},
      {"answer yes 1000001", "error: answer yes or answer no"},
      // A script with no line end in sight (a device, a binary file) is read no further.
      {std::string(kMaxScriptLine + 1, 'x'), "error: line 1 is longer than 8192 bytes; the script is read no further"},
      {"draws 1 99999999999", "error: not a draw: 99999999999"},
      {"answer perhaps", "error: answer yes or answer no, then the ticks before it"},
      {"answer yes -1", "error: answer yes or answer no"},
      {"answer no 2 3", "error: answer yes or answer no"},
      {"hover Button40", "error: Button40 cannot be pointed at"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TestGame t;
    const std::string save = t.data.read(t.data.dat("my.dat"));
    const std::string items = t.data.read(t.data.dat("item.dat"));
    t.g().hero.money -= 100;  // the start money, so that closing writes the save as it was
    std::istringstream script(c.line + "\nget money\nget item[0].name\nclose\n");
    std::ostringstream transcript;
    run_script(t.g(), t.host, script, transcript);
    const std::string out = transcript.str();
    EXPECT_NE(out.find(c.error), std::string::npos) << out;
    EXPECT_EQ(out.find("error: ", out.find("error: ") + 1), std::string::npos) << "one error: " << out;
    EXPECT_EQ(t.data.read(t.data.dat("my.dat")), save) << out;
    EXPECT_EQ(t.data.read(t.data.dat("item.dat")), items) << out;
  }
}

TEST(ScriptReader, ReadsEachLineUpToItsBound) {
  const std::string at_bound = "click A" + std::string(kMaxScriptLine - 7, ' ');
  struct Case {
    std::string script;
    std::vector<std::string> names;  // of the commands read, and "?" for each line refused
  } cases[] = {
      {at_bound + "\nclick B", {"A", "B"}},  // the last line without a line end
      {"click B\n" + at_bound, {"B", "A"}},  // the last line at the bound
      {"click A # a comment\n\n  # a comment alone\r\nclick B\r\n", {"A", "B"}},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.script);
    ScriptReader reader(in);
    std::vector<std::string> names;
    while (const auto line = reader.next()) names.push_back(line->command ? line->command->name : "?");
    EXPECT_EQ(names, c.names) << c.script.substr(0, 40);
  }
}

// The driver's screenshot is composed without SDL, and shows what the window shows: at 1x the
// committed picture of the start panel, at 2x what the window's renderer draws at 2x.
TEST(ScriptDriver, ScreenshotsShowWhatTheWindowShows) {
  TestGame t;
  const std::string one = t.data.dir() / "one.png", two = t.data.dir() / "two.png";
  std::istringstream script("tick\nscreenshot " + one + "\nscreenshot " + two + " 2\nscreenshot " + two + " 5\n");
  std::ostringstream transcript;
  run_script(t.g(), t.host, script, transcript);
  EXPECT_EQ(transcript.str(), "error: screenshot FILE [SCALE 1-4]\n");
  RgbImage shot, golden;
  ASSERT_TRUE(read_png(one, shot));
  ASSERT_TRUE(read_png(std::string(LUSHERA_SOURCE_DIR) + "/tests/golden/start_panel.png", golden));
  EXPECT_TRUE(shot == golden) << "the headless screenshot differs from the committed start panel";
  ASSERT_TRUE(read_png(two, shot));
  EXPECT_EQ(shot.width, 1102);
  EXPECT_TRUE(shot == render_form_image(t.g().form, t.g().sjis, 2)) << "differs from the window at 2x";
}

}  // namespace
