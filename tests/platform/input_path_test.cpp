#include <gtest/gtest.h>

#include <functional>

#include "platform/input_path.hpp"
#include "support/test_game.hpp"

namespace {

// The centre of a control, as a host hands it over.
Pointer centre(const Game& g, ctl::Id id) {
  const Rect r = g.form.window_rect(id);
  return {r.x + r.w / 2, r.y + r.h / 2};
}

// A finger on the start screen's continue button: only a short tap where it came down presses it.
TEST(InputPath, AFingerPressesAButtonOnlyWhenTapped) {
  struct Case {
    const char* what;
    int held_ms;
    int slid;  // window units it moved before it was lifted
    bool pressed;
  } cases[] = {
      {"a tap", 120, 0, true},
      {"a tap that wanders a little", 120, 6, true},
      {"held as long as a tip waits", TipTimer::kDelayMs, 0, false},
      {"slid off", 120, 20, false},
  };
  for (const Case& c : cases) {
    TestGame t;
    InputPath path;
    path.attach(t.g());
    const Pointer at = centre(t.g(), ctl::Button39);
    path.finger_down(at, 1000);
    const Pointer to{at.x + c.slid, at.y};
    path.finger_moved(to, 1000 + c.held_ms / 2);
    path.finger_up(to, 1000 + c.held_ms);
    EXPECT_EQ(t.g().form.shown(ctl::map_box), c.pressed) << c.what;
  }
}

// The question box answers to its keys the same in every host.
TEST(InputPath, TheQuestionsKeys) {
  struct Press {
    Key key;
    bool up = false;  // let go rather than pressed
  };
  struct Case {
    const char* what;
    std::vector<Press> keys;
    int answer;
  } cases[] = {
      {"Y", {{Key::Yes}}, 0},
      {"N", {{Key::No}}, 1},
      {"Escape gives nothing away", {{Key::Escape}}, 1},
      {"Enter takes the focused yes", {{Key::Enter}}, 0},
      {"an arrow moves the focus to no", {{Key::Right}, {Key::Enter}}, 1},
      {"Tab moves it back", {{Key::Right}, {Key::Tab}, {Key::Enter}}, 0},
      {"the space bar answers when let go", {{Key::Right}, {Key::Space}}, -1},
      {"the space bar let go", {{Key::Right}, {Key::Space}, {Key::Space, true}}, 1},
      {"keys of the window answer nothing", {{Key::PageDown}, {Key::Home}}, -1},
  };
  for (const Case& c : cases) {
    TestGame t;
    InputPath path;
    path.attach(t.g());
    path.ask(t.sj("よろしいですか？"), {});
    for (const Press& p : c.keys) {
      if (p.up) path.key_up(p.key);
      else path.key_down(p.key, false, false);
    }
    EXPECT_EQ(path.answer(), c.answer) << c.what;
  }
}

}  // namespace
