#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

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

// The question box answers to its keys (and a controller's buttons) the same in every host.
TEST(InputPath, TheQuestionsKeys) {
  struct Press {
    Key key = Key::Tab;
    bool up = false;                // let go rather than pressed
    std::optional<PadButton> pad{};  // a controller's button rather than the key
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
      {"B says no", {{.pad = PadButton::B}}, 1},
      {"A answers when let go", {{.pad = PadButton::Right}, {.pad = PadButton::A}, {.up = true, .pad = PadButton::A}}, 1},
      {"A held answers nothing yet", {{.pad = PadButton::A}}, -1},
  };
  for (const Case& c : cases) {
    TestGame t;
    InputPath path;
    path.attach(t.g());
    path.ask(t.sj("よろしいですか？"), {});
    for (const Press& p : c.keys) {
      if (p.pad) p.up ? path.pad_released(*p.pad) : path.pad_pressed(*p.pad);
      else if (p.up) path.key_up(p.key);
      else path.key_down(p.key, false, false);
    }
    EXPECT_EQ(path.answer(), c.answer) << c.what;
  }
}

// A game on the screen its own clicks bring up, with the focus given.
struct Played {
  Played(std::initializer_list<ctl::Id> clicks, ctl::Id focus) {
    path.attach(t.g());
    for (const ctl::Id id : clicks) path.press(id);
    t.g().form.focus = focus;
  }
  TestGame t;
  InputPath path;
  const Form& form() { return t.g().form; }
};

// The D-pad takes the focus to the nearest control that way, and nowhere when there is none.
TEST(InputPath, TheDPadMovesTheFocusToTheNearestControlThatWay) {
  using enum PadButton;
  struct Case {
    const char* what;
    std::initializer_list<ctl::Id> clicks;
    ctl::Id from;
    PadButton way;
    ctl::Id to;
    int selected = -1;  // the item list's selection after it
  } cases[] = {
      {"start: down to the new game", {}, ctl::Button39, Down, ctl::Button1},
      {"start: up again", {}, ctl::Button1, Up, ctl::Button39},
      {"start: nothing beside it", {}, ctl::Button39, Right, ctl::Button39},
      {"no focus yet: the first, as Tab", {}, ctl::form, Left, ctl::Button39},
      {"map: up from the hill to the button above it", {ctl::Button39}, ctl::map2, Up, ctl::BitBtn3},
      {"map: down the second column", {ctl::Button39}, ctl::Button14, Down, ctl::Button23},
      {"map: left to the hill", {ctl::Button39}, ctl::Button23, Left, ctl::map2},
      {"map: the focused panel went: the first, as Tab", {ctl::Button39}, ctl::Button39, Down, ctl::BitBtn3},
      {"shop: across to the button on the same line", {ctl::Button39, ctl::Button14}, ctl::Button19, Left, ctl::BitBtn1},
      {"shop: down past the hidden counters to the exit", {ctl::Button39, ctl::Button14}, ctl::Button21, Down, ctl::Button15},
      {"items: left onto the list", {ctl::Button39, ctl::BitBtn1}, ctl::item_use, Left, ctl::item_list},
      {"items: the list takes down itself, an item bought",
       {ctl::Button39, ctl::Button14, ctl::Button21, ctl::Button32, ctl::Button31, ctl::Button15, ctl::BitBtn1},
       ctl::item_list, Down, ctl::item_list, 0},
      {"items: and right leaves it", {ctl::Button39, ctl::BitBtn1}, ctl::item_list, Right, ctl::item_use},
  };
  for (const Case& c : cases) {
    Played p(c.clicks, c.from);
    p.path.pad_pressed(c.way);
    p.path.pad_released(c.way);
    EXPECT_EQ(Form::name(p.form().focus), std::string(Form::name(c.to))) << c.what;
    EXPECT_EQ(p.form()[ctl::item_list].selected, c.selected) << c.what;
  }
}

// A presses as the space bar does; B takes the way out of the panel on top.
TEST(InputPath, AControllersAAndB) {
  struct Case {
    const char* what;
    std::initializer_list<ctl::Id> clicks;
    ctl::Id focus;
    std::vector<std::pair<PadButton, bool>> presses;  // a button, and whether let go
    ctl::Id shown, hidden;
  } cases[] = {
      {"A let go presses", {}, ctl::Button39, {{PadButton::A, false}, {PadButton::A, true}}, ctl::map_box, ctl::start_box},
      {"A held presses nothing yet", {}, ctl::Button39, {{PadButton::A, false}}, ctl::start_box, ctl::map_box},
      {"B leaves the shop", {ctl::Button39, ctl::Button14}, ctl::form, {{PadButton::B, false}}, ctl::map_box, ctl::shop_box},
      {"B leaves a counter for the shop", {ctl::Button39, ctl::Button14, ctl::Button21}, ctl::form, {{PadButton::B, false}}, ctl::shop_box, ctl::dougu_box},
      {"B closes the help over the shop first", {ctl::Button39, ctl::Button14, ctl::BitBtn3}, ctl::form, {{PadButton::B, false}}, ctl::shop_box, ctl::help_box},
      {"B closes the item panel", {ctl::Button39, ctl::BitBtn1}, ctl::form, {{PadButton::B, false}}, ctl::map_box, ctl::item_box},
      {"B on the map leaves nothing", {ctl::Button39}, ctl::form, {{PadButton::B, false}}, ctl::map_box, ctl::shop_box},
  };
  for (const Case& c : cases) {
    Played p(c.clicks, c.focus);
    for (const auto& [button, up] : c.presses) up ? p.path.pad_released(button) : p.path.pad_pressed(button);
    EXPECT_TRUE(p.form().shown(c.shown)) << c.what;
    EXPECT_FALSE(p.form().shown(c.hidden)) << c.what;
  }
}

// A direction held moves the focus again on the timer's ticks; the stick points only out of its
// dead zone. On the map, down from the help button: the hill, the shop, home.
TEST(InputPath, HeldDirectionsAndTheSticksDeadZone) {
  struct Step {
    bool dpad;  // the D-pad's down held (y > 0) or let go, rather than the stick moved
    int x, y;
    int ticks;  // the timer's ticks after it
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
    ctl::Id to;
  } cases[] = {
      {"the stick within its dead zone", {{false, 0, 400, 100}}, ctl::BitBtn3},
      {"pushed past half way: one step", {{false, 0, 600, 39}}, ctl::map2},
      {"held: again after 0.4 s", {{false, 0, 600, 40}}, ctl::Button14},
      {"held on: every 0.15 s after", {{false, 0, 600, 55}}, ctl::Button23},
      {"let go and pushed again: a step each", {{false, 0, 600, 1}, {false, 0, 100, 1}, {false, 0, 600, 1}}, ctl::Button14},
      {"resting at the dead zone's edge: no step more", {{false, 0, 600, 1}, {false, 0, 400, 1}, {false, 0, 600, 1}}, ctl::map2},
      {"leaning most downward", {{false, 300, 600, 1}}, ctl::map2},
      {"the D-pad held repeats too", {{true, 0, 1, 40}}, ctl::Button14},
      {"and stops when let go", {{true, 0, 1, 1}, {true, 0, 0, 100}}, ctl::map2},
  };
  for (const Case& c : cases) {
    Played p({ctl::Button39}, ctl::BitBtn3);
    int64_t now = 1000;
    p.path.restart_timer(now);
    for (const Step& s : c.steps) {
      if (!s.dpad) p.path.stick_moved(s.x, s.y);
      else if (s.y > 0) p.path.pad_pressed(PadButton::Down);
      else p.path.pad_released(PadButton::Down);
      for (int i = 0; i < s.ticks; ++i) p.path.tick(now += InputPath::kTimerMs);
    }
    EXPECT_EQ(Form::name(p.form().focus), std::string(Form::name(c.to))) << c.what;
  }
}

}  // namespace
