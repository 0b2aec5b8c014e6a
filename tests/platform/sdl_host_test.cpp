// The window's event loop on SDL's dummy video driver: input queued with SDL_PushEvent, as the
// window system would deliver it. The loop runs on a scripted clock: waiting costs no real time,
// and input that comes later is pushed at a planned virtual time.
#include <gtest/gtest.h>

#include <SDL.h>

#include <signal.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "effects/effects.hpp"
#include "game/input.hpp"
#include "platform/sdl/sdl_host.hpp"
#include "platform/sdl/unmanaged_window.hpp"
#include "render/widgets.hpp"
#include "support/scripted_clock.hpp"
#include "support/test_game.hpp"
#include "support/x11_window.hpp"
#include "ui/technique_buttons.hpp"

namespace {

struct HostGame {
  explicit HostGame(int scale = 1, const char* driver = "dummy", std::string record = "",
                    std::string zoom_file = "")
      : host(SdlOptions{scale, false, clock, std::move(record), "", std::move(zoom_file)}) {
    setenv("SDL_VIDEODRIVER", driver, 1);
    game = std::make_unique<Game>(host, data.dir().string());
    game->fixed_seed = 1;
    opened = host.open(kClientWidth, kClientHeight);
  }
  ScratchData data;
  std::shared_ptr<ScriptedClock> clock = std::make_shared<ScriptedClock>();
  SdlHost host;
  std::unique_ptr<Game> game;
  bool opened = false;
  Game& g() { return *game; }
  int64_t now() { return clock->now_ms(); }

  static void push(SDL_Event ev) { ASSERT_EQ(SDL_PushEvent(&ev), 1) << SDL_GetError(); }
  void press(int x, int y) {
    SDL_Event ev{};
    ev.type = SDL_MOUSEBUTTONDOWN;
    ev.button.button = SDL_BUTTON_LEFT;
    ev.button.state = SDL_PRESSED;
    ev.button.x = x;
    ev.button.y = y;
    push(ev);
  }
  void release(int x, int y) {
    SDL_Event ev{};
    ev.type = SDL_MOUSEBUTTONUP;
    ev.button.button = SDL_BUTTON_LEFT;
    ev.button.x = x;
    ev.button.y = y;
    push(ev);
  }
  void motion(int x, int y) {
    SDL_Event ev{};
    ev.type = SDL_MOUSEMOTION;
    ev.motion.x = x;
    ev.motion.y = y;
    push(ev);
  }
  void click_at(int x, int y) {
    press(x, y);
    release(x, y);
  }
  void key(SDL_Keycode k, Uint16 mod = KMOD_NONE) {
    SDL_Event ev{};
    ev.type = SDL_KEYDOWN;
    ev.key.state = SDL_PRESSED;
    ev.key.keysym.sym = k;
    ev.key.keysym.mod = mod;
    push(ev);
    ev.type = SDL_KEYUP;
    ev.key.state = SDL_RELEASED;
    push(ev);
  }
  void quit() {
    SDL_Event ev{};
    ev.type = SDL_QUIT;
    push(ev);
  }
  // The centre of a start-panel button once start-up has put the panel at the top left.
  SDL_Point start_button(ctl::Id id, int scale = 1) const {
    const Control& c = (*game).form[id];
    return {(c.x + c.w / 2) * scale, (c.y + c.h / 2) * scale};
  }
  bool continued() { return !g().form.shown(ctl::start_box) && g().form.shown(ctl::map_box); }
};

TEST(SdlHost, AClickOnAButtonRunsItsHandler) {
  HostGame t;
  ASSERT_TRUE(t.opened);
  const SDL_Point p = t.start_button(ctl::Button39);
  t.motion(p.x, p.y);
  t.click_at(p.x, p.y);
  t.quit();
  EXPECT_EQ(t.host.run(t.g()), 0);
  EXPECT_TRUE(t.continued());
  EXPECT_EQ(t.g().form.focus, ctl::Button39);  // a pressed button takes the focus
}

TEST(SdlHost, PressingAndLeavingTheButtonBeforeReleasingIsNoClick) {
  HostGame t;
  const SDL_Point p = t.start_button(ctl::Button39);
  t.press(p.x, p.y);
  t.motion(p.x, p.y + 40);
  t.release(p.x, p.y + 40);
  t.quit();
  t.host.run(t.g());
  EXPECT_TRUE(t.g().form.shown(ctl::start_box));
}

TEST(SdlHost, MousePositionsAreMappedBackAtTheZoom) {
  HostGame t(2);
  ASSERT_EQ(t.host.scale(), 2);
  const SDL_Point p = t.start_button(ctl::Button39, 2);
  t.click_at(p.x + 1, p.y + 1);
  t.quit();
  t.host.run(t.g());
  EXPECT_TRUE(t.continued());
}

TEST(SdlHost, TabFocusesTheClickableButtonsAndEnterOrSpacePressesThem) {
  {
    HostGame t;
    t.key(SDLK_TAB);  // the first button a player could click: コンティニュー
    t.key(SDLK_RETURN);
    t.quit();
    t.host.run(t.g());
    EXPECT_TRUE(t.continued());
    EXPECT_FALSE(t.g().form.visible_rect(ctl::first_b).w > 0 && t.g().form[ctl::first_b].visible);
  }
  {
    HostGame t;
    t.key(SDLK_TAB);
    t.key(SDLK_TAB);                // 初期化して最初からプレイ
    t.key(SDLK_TAB, KMOD_LSHIFT);   // back to コンティニュー
    t.key(SDLK_SPACE);
    t.quit();
    t.host.run(t.g());
    EXPECT_TRUE(t.continued());
    EXPECT_FALSE(t.g().form[ctl::first_b].visible) << "the new-hero button was pressed instead";
  }
  {
    HostGame t;
    t.key(SDLK_TAB);
    t.key(SDLK_TAB);
    t.key(SDLK_RETURN);
    t.quit();
    t.host.run(t.g());
    EXPECT_TRUE(t.g().form[ctl::first_b].visible) << "初期化して最初からプレイ was pressed";
  }
}

// A game controller (SDL's virtual one) as it comes: its D-pad takes the focus, its A presses,
// its stick moves the focus on.
TEST(SdlHost, AControllerPlaysThroughTheInputPath) {
  HostGame t;
  t.host.attach(t.g());
  create_window(t.g());
  // The hidden window of the dummy driver never has the system's focus, which SDL otherwise
  // waits for before it passes a controller on.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  ASSERT_GE(index, 0) << SDL_GetError();
  SDL_Joystick* pad = SDL_JoystickOpen(index);
  ASSERT_NE(pad, nullptr) << SDL_GetError();
  t.host.handle_pending_input();  // the host opens it as it comes
  const auto button = [&](SDL_GameControllerButton b) {
    for (const Uint8 state : {1, 0}) {
      SDL_JoystickSetVirtualButton(pad, b, state);
      t.host.handle_pending_input();
    }
  };
  button(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  EXPECT_EQ(t.g().form.focus, ctl::Button39) << "the first control, as Tab gives it";
  button(SDL_CONTROLLER_BUTTON_A);
  EXPECT_TRUE(t.continued());
  // The stick down (past its dead zone), back, and down again.
  for (const Sint16 y : {20000, 0, 20000}) {
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, y);
    t.host.handle_pending_input();
  }
  EXPECT_EQ(t.g().form.focus, ctl::map2) << "the map's first control, then the one below it";
  SDL_JoystickClose(pad);
  SDL_JoystickDetachVirtual(index);
  t.host.handle_pending_input();
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

// The item list: the arrow keys, a click on an entry, the scroll bar and the wheel.
TEST(SdlHost, TheItemListAnswersToKeysClicksAndItsScrollBar) {
  HostGame t;
  t.host.attach(t.g());
  create_window(t.g());
  Form& f = t.g().form;
  f.hide(ctl::start_box);
  f.show(ctl::item_box);
  Control& list = f[ctl::item_list];
  for (int i = 0; i < 30; ++i) list.items.push_back(t.g().sj("やくそう") + std::to_string(i));
  list.selected = -1;
  f.touch();
  t.key(SDLK_DOWN);
  t.key(SDLK_DOWN);
  t.key(SDLK_UP);
  t.host.handle_pending_input();
  EXPECT_EQ(list.selected, 0);
  t.key(SDLK_END);
  t.host.handle_pending_input();
  EXPECT_EQ(list.selected, 29);
  const ListGeometry g = list_geometry(f.window_rect(ctl::item_list), list);
  EXPECT_EQ(list.top_index, g.max_top) << "the selection is kept in view";
  t.key(SDLK_HOME);
  t.host.handle_pending_input();
  EXPECT_EQ(list.selected, 0);
  EXPECT_EQ(list.top_index, 0);
  // A click on the third row selects entry 2; one on the down arrow scrolls a row.
  t.click_at(g.rows.x + 10, g.rows.y + 2 * g.item_h + 3);
  t.host.handle_pending_input();
  EXPECT_EQ(list.selected, 2);
  t.click_at(g.down.x + 4, g.down.y + 4);
  t.host.handle_pending_input();
  EXPECT_EQ(list.top_index, 1);
  t.click_at(g.rows.x + 10, g.rows.y + 3);
  t.host.handle_pending_input();
  EXPECT_EQ(list.selected, 1) << "rows count from the top entry shown";
  // Below the thumb in the track: a page down.
  const ListGeometry g1 = list_geometry(f.window_rect(ctl::item_list), list);
  t.click_at(g1.track.x + 4, g1.track.y + g1.track.h - 2);
  t.host.handle_pending_input();
  EXPECT_EQ(list.top_index, std::min(g1.max_top, 1 + g1.visible_rows));
  // Dragging the thumb to the top scrolls back to the first entry.
  const ListGeometry g2 = list_geometry(f.window_rect(ctl::item_list), list);
  t.press(g2.thumb.x + 4, g2.thumb.y + 2);
  t.motion(g2.thumb.x + 4, g2.track.y - 30);
  t.release(g2.thumb.x + 4, g2.track.y - 30);
  t.host.handle_pending_input();
  EXPECT_EQ(list.top_index, 0);
}

TEST(SdlHost, TheSliderFollowsClicksAndDrags) {
  HostGame t;
  t.host.attach(t.g());
  create_window(t.g());
  Form& f = t.g().form;
  f.show(ctl::help_box);
  const Control& c = f[ctl::e_sp_l];
  const SliderGeometry g = slider_geometry(f.window_rect(ctl::e_sp_l), c);
  t.click_at(g.tick_x(c, 2), g.channel.y + 1);
  t.host.handle_pending_input();
  EXPECT_EQ(c.position, 2);
  EXPECT_EQ(t.g().message_delay_ms, 500);
  t.press(g.tick_x(c, 2), g.channel.y + 1);
  t.motion(g.tick_x(c, 8), g.channel.y + 40);  // dragging need not stay on the slider
  t.motion(g.tick_x(c, 10) + 30, g.channel.y);
  t.release(g.tick_x(c, 10) + 30, g.channel.y);
  t.host.handle_pending_input();
  EXPECT_EQ(c.position, 10);
  EXPECT_EQ(t.g().message_delay_ms, 1300);
}

TEST(SdlHost, TabReachesTheSliderAndItsKeysMoveIt) {
  HostGame t;
  t.host.attach(t.g());
  create_window(t.g());
  Form& f = t.g().form;
  click(t.g(), ctl::Button39);
  f.show(ctl::help_box);
  int tabs = 0;
  for (; tabs < 100 && f.focus != ctl::e_sp_l; ++tabs) {
    t.key(SDLK_TAB);
    t.host.handle_pending_input();
  }
  ASSERT_EQ(f.focus, ctl::e_sp_l) << "Tab never reached the slider";
  const Control& c = f[ctl::e_sp_l];
  struct Step {
    SDL_Keycode key;
    int position;
  } steps[] = {{SDLK_LEFT, 4}, {SDLK_UP, 3}, {SDLK_RIGHT, 4}, {SDLK_END, 10}, {SDLK_RIGHT, 10},
               {SDLK_PAGEUP, 8}, {SDLK_HOME, 0}, {SDLK_LEFT, 0}, {SDLK_DOWN, 1}};
  for (const Step& s : steps) {
    t.key(s.key);
    t.host.handle_pending_input();
    EXPECT_EQ(c.position, s.position) << SDL_GetKeyName(s.key);
  }
  EXPECT_EQ(t.g().message_delay_ms, 400);
  const auto shown_before = t.g().form.revision();
  t.key(SDLK_RETURN);  // nothing to press
  t.key(SDLK_SPACE);
  t.host.handle_pending_input();
  EXPECT_EQ(t.g().form.revision(), shown_before);
}

TEST(SdlHost, FocusingATechniqueButtonPointsAtIt) {
  // One technique of each group: the groups' buttons lie in three panels.
  for (int tech : {3, 12, 24}) {
    SCOPED_TRACE(tech);
    HostGame t;
    t.host.attach(t.g());
    create_window(t.g());
    Form& f = t.g().form;
    const ctl::Id button = technique_button(tech);
    const ctl::Id panel = f[button].parent;
    f.hide(ctl::start_box);
    f.show(panel);
    f.show(button);
    f.focus = panel;  // just before the group's first button in the window's order
    t.g().hovered_tech = 0;
    t.key(SDLK_TAB);
    t.host.handle_pending_input();
    EXPECT_EQ(f.focus, button);
    EXPECT_EQ(t.g().hovered_tech, tech);
  }
}

TEST(SdlHost, SleepingKeepsInputQueuedForLater) {
  HostGame t;
  t.key(SDLK_TAB);
  const int64_t start = t.now();
  t.clock->at(start + 15, [&t] { t.key(SDLK_SPACE); });  // typed while the handler sleeps
  t.host.sleep_ms(30);
  EXPECT_EQ(t.now() - start, 30) << "a sleep lasts its time, no less and no more";
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYUP), 4);
}

// The frames a window must show whole however little of them is copied: a screen change,
// typing, an opponent, the closing square over it and the hit flash.
void play_frames(HostGame& t, const std::function<void(const char*)>& look) {
  click(t.g(), ctl::Button39);
  look("continued");
  show_message(t.g(), t.g().sj("ためしに"));
  look("typed");
  t.g().form[ctl::cg].canvas.resize(200, 200);
  Canvas& opponent = t.g().form[ctl::bak].canvas;
  opponent.resize(64, 64);
  uint32_t* px = opponent.writable();
  for (int i = 0; i < 64 * 64; ++i) px[i] = 0x203040u * static_cast<uint32_t>(i % 5);
  redraw_opponent(t.g());
  t.host.repaint();
  look("opponent");
  close_black(t.g());
  look("closing square");
  t.g().hovered_tech = 1;
  flash_hit(t.g());
  look("hit flash");
}

// Frames after the first are copied to the window only where they changed; the window must
// still show each frame whole, through typing, effects, a shake and a panel change.
TEST(SdlHost, TheWindowShowsEveryFrameWholeThoughOnlyChangesAreCopied) {
  HostGame t;
  ASSERT_TRUE(t.opened);
  t.host.attach(t.g());
  create_window(t.g());
  std::vector<std::string> wrong;
  auto look = [&](const char* when) {
    SDL_Surface* s = SDL_GetWindowSurface(t.host.window());
    ASSERT_NE(s, nullptr);
    const Frame& f = t.host.view()->frame();
    ASSERT_EQ(s->w, f.width);
    for (int y = 0; y < f.height; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) + y * s->pitch);
      for (int x = 0; x < f.width; ++x)
        if ((row[x] & 0xFFFFFF) != f.at(x, y)) return wrong.push_back(when);
    }
  };
  t.host.repaint();
  look("first frame");
  play_frames(t, look);
  shake_window(t.g());
  look("shaken");
  t.g().form.show(ctl::help_box);
  t.host.repaint();
  look("help");
  EXPECT_TRUE(wrong.empty()) << "wrong after: " << wrong.front();
}

// An effect's frames: the drawing between pauses comes out of the next pause, so the effect
// takes the sum of its pauses. A pause long after the last one lasts its own time from then.
TEST(SdlHost, PausesInARowKeepToTheirSum) {
  HostGame t;
  const int64_t start = t.now();
  for (int frame = 0; frame < 10; ++frame) {
    t.clock->pass(1);  // drawing the frame
    t.host.sleep_ms(2);
  }
  EXPECT_EQ(t.now() - start, 1 + 20) << "the first frame is drawn before any pause";
  t.clock->pass(50);
  const int64_t later = t.now();
  t.host.sleep_ms(2);
  EXPECT_EQ(t.now() - later, 2);
  // Work longer than the pause: the pause after it is taken in full, the debt not carried on.
  t.clock->pass(7);
  const int64_t slow = t.now();
  t.host.sleep_ms(3);
  EXPECT_EQ(t.now() - slow, 3);
}

TEST(SdlHost, TheTimerRunsBetweenHandlersButNotWhileOneSleeps) {
  {
    HostGame t;
    t.host.attach(t.g());
    create_window(t.g());
    t.g().hero.hp = t.g().hero.max_hp + 50;
    t.host.sleep_ms(40);
    EXPECT_EQ(t.g().hero.hp, t.g().hero.max_hp + 50) << "no tick inside a sleep";
  }
  {
    // Left alone, the loop runs the status refresh every 10 ms, which writes the status texts
    // and brings an Hp over the maximum back down. Each look tells whether a refresh ran since
    // the look before, then lifts the Hp again: looking 5 ms after each tick is due, the
    // refresh runs once in every 10 ms, and not before the first 10 ms are up.
    HostGame t;
    const int64_t start = t.now();
    auto lift = [&t] { t.g().hero.hp = t.g().hero.max_hp + 50; };
    std::vector<bool> refreshed;
    t.clock->at(start, lift);
    for (int at : {5, 15, 25, 35, 45, 55})
      t.clock->at(start + at, [&t, &refreshed, lift] {
        refreshed.push_back(t.g().hero.hp <= t.g().hero.max_hp);
        lift();
      });
    t.clock->at(start + 58, [&t] { t.quit(); });
    EXPECT_EQ(t.host.run(t.g()), 0);
    EXPECT_EQ(refreshed, (std::vector<bool>{false, true, true, true, true, true}));
    EXPECT_FALSE(t.g().form[ctl::state_l].caption.empty());
    EXPECT_FALSE(t.g().form[ctl::state_l2].caption.empty());
  }
}

TEST(SdlHost, TheTimerRestsWhileNothingChangesAndStartsAgainWhenSomethingComes) {
  // Once a tick finds nothing to change, the loop stops its 10 ms timer and wakes only to look at
  // SDL's queue now and then: a tenth of the wake-ups or fewer. What comes starts it again.
  HostGame t;
  std::vector<int> waits;
  for (int at : {1000, 2000})
    t.clock->at(at, [&t, &waits] { waits.push_back(t.clock->waits()); });
  bool refreshed = false;
  t.clock->at(2000, [&t] { t.g().hero.hp = t.g().hero.max_hp + 50; });
  t.clock->at(2015, [&t, &refreshed] {
    refreshed = t.g().hero.hp <= t.g().hero.max_hp;
    t.quit();
  });
  EXPECT_EQ(t.host.run(t.g()), 0);
  ASSERT_EQ(waits.size(), 2u);
  EXPECT_LE(waits[1] - waits[0], 12) << "the loop still woke for its timer";
  EXPECT_TRUE(refreshed) << "no tick after the wake-up";
}

TEST(SdlHost, TheQuestionAnswersToItsKeys) {
  HostGame t;
  t.host.attach(t.g());
  create_window(t.g());
  const std::string q = t.g().sj("敵の精霊を奪いますか？");
  t.key(SDLK_n);
  EXPECT_FALSE(t.host.ask_yes_no(q));
  t.key(SDLK_y);
  EXPECT_TRUE(t.host.ask_yes_no(q));
  t.key(SDLK_RETURN);  // はい has the focus
  EXPECT_TRUE(t.host.ask_yes_no(q));
  t.key(SDLK_TAB);
  t.key(SDLK_RETURN);
  EXPECT_FALSE(t.host.ask_yes_no(q));
  t.key(SDLK_RIGHT);
  t.key(SDLK_SPACE);
  EXPECT_FALSE(t.host.ask_yes_no(q));
}

// Input pushed a moment later, once the question is up.
struct Later {
  std::vector<SDL_Event> events;
  void click(int x, int y) {
    SDL_Event ev{};
    ev.type = SDL_MOUSEBUTTONDOWN;
    ev.button.button = SDL_BUTTON_LEFT;
    ev.button.x = x;
    ev.button.y = y;
    events.push_back(ev);
    ev.type = SDL_MOUSEBUTTONUP;
    events.push_back(ev);
  }
  void motion(int x, int y) {
    SDL_Event ev{};
    ev.type = SDL_MOUSEMOTION;
    ev.motion.x = x;
    ev.motion.y = y;
    events.push_back(ev);
  }
  void key(SDL_Keycode k) {
    SDL_Event ev{};
    ev.type = SDL_KEYDOWN;
    ev.key.keysym.sym = k;
    events.push_back(ev);
  }
};

bool ask_with(HostGame& t, const std::string& q, const Later& later) {
  t.clock->at(t.now() + 30, [events = later.events] {
    for (const SDL_Event& ev : events) HostGame::push(ev);
  });
  return t.host.ask_yes_no(q);
}

TEST(SdlHost, TheQuestionTakesClicksOnItsButtonsOnlyAndRefusesTheRest) {
  HostGame t;
  t.host.attach(t.g());
  create_window(t.g());
  const std::string q = t.g().sj("剣を手放しますか？");
  const QuestionGeometry geo = t.host.view()->question_geometry(t.g().form, QuestionView{q, 0, -1});
  const SDL_Point yes{geo.yes.x + geo.yes.w / 2, geo.yes.y + geo.yes.h / 2};
  const SDL_Point no{geo.no.x + geo.no.w / 2, geo.no.y + geo.no.h / 2};
  {
    Later later;
    later.click(yes.x, yes.y);
    EXPECT_TRUE(ask_with(t, q, later));
  }
  {
    Later later;
    later.click(no.x, no.y);
    EXPECT_FALSE(ask_with(t, q, later));
  }
  {
    // A click on the window outside the box is refused; pressing はい and letting go over
    // いいえ answers nothing; the answer is the key pressed after.
    Later later;
    const SDL_Point p = t.start_button(ctl::Button1);
    later.click(p.x, p.y);
    later.click(yes.x, yes.y);
    later.events.pop_back();  // the press only
    later.motion(no.x, no.y);
    SDL_Event up{};
    up.type = SDL_MOUSEBUTTONUP;
    up.button.button = SDL_BUTTON_LEFT;
    up.button.x = no.x;
    up.button.y = no.y;
    later.events.push_back(up);
    later.key(SDLK_n);
    EXPECT_FALSE(ask_with(t, q, later));
    EXPECT_TRUE(t.g().form.shown(ctl::start_box));
    EXPECT_FALSE(t.g().form[ctl::first_b].visible) << "the click went through to the window";
  }
  // A click made before the question appeared (a double click on the button that asks) is
  // not an answer.
  t.click_at(yes.x, yes.y);
  Later later;
  later.key(SDLK_n);
  EXPECT_FALSE(ask_with(t, q, later));
}

TEST(SdlHost, TheTimerKeepsRunningWhileTheQuestionWaits) {
  HostGame t;
  t.host.attach(t.g());
  create_window(t.g());
  t.g().hero.hp = t.g().hero.max_hp + 50;
  t.clock->at(t.now() + 80, [&t] { t.key(SDLK_n); });
  EXPECT_FALSE(t.host.ask_yes_no(t.g().sj("剣を手放しますか？")));
  EXPECT_EQ(t.g().hero.hp, t.g().hero.max_hp) << "the status refresh ran during the question";
}

TEST(SdlHost, ClosingDuringTheQuestionAnswersNo) {
  HostGame t;
  t.host.attach(t.g());
  create_window(t.g());
  t.quit();
  EXPECT_FALSE(t.host.ask_yes_no(t.g().sj("剣を手放しますか？")));
}

TEST(SdlHost, SigtermOrAClosedTerminalClosesTheWindowAndTheGameSaves) {
  // As a system shutting down sends SIGTERM, or a closed terminal SIGHUP, while the loop waits;
  // SDL makes a quit request of SIGTERM, and the window of SIGHUP.
  for (int sig : {SIGTERM, SIGHUP}) {
    SCOPED_TRACE(sig);
    HostGame t;
    struct sigaction current {};
    sigaction(SIGTERM, nullptr, &current);
    if (current.sa_handler == SIG_DFL) GTEST_SKIP() << "SDL did not take SIGTERM in this process";
    const std::string before = t.data.read(t.data.dat("my.dat"));
    t.clock->at(t.now() + 100, [sig] { raise(sig); });
    EXPECT_EQ(t.host.run(t.g()), 0);
    // Start-up gave the hero 100 more money, and closing saved it.
    EXPECT_NE(t.data.read(t.data.dat("my.dat")), before);
  }
}

TEST(SdlHost, FullScreenCentresThePictureAndClicksStillLandOnTheirButtons) {
  HostGame t;
  t.key(SDLK_F11);
  t.quit();
  t.host.run(t.g());
  if (!t.host.fullscreen()) GTEST_SKIP() << "this video driver has no full screen";
  int w = 0, h = 0;
  SDL_DisplayMode mode;
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &mode), 0);
  w = mode.w;
  h = mode.h;
  const int zoom = std::max(1, std::min(w / kClientWidth, h / kClientHeight));
  const int ox = (w - kClientWidth * zoom) / 2, oy = (h - kClientHeight * zoom) / 2;
  // The window stays full screen for the next run of the loop on the same host.
  const SDL_Point p = t.start_button(ctl::Button39);
  t.click_at(ox / 2, oy / 2);  // on the black border: nothing
  t.click_at(ox + p.x * zoom, oy + p.y * zoom);
  t.quit();
  t.host.run(t.g());
  EXPECT_TRUE(t.continued());
}

// On a real X server with no window manager (the suite runs this under Xvfb): full screen covers
// the display, and leaving it gives the window back its size, its place and its clicks.
TEST(SdlHostOnX, FullScreenWithoutAWindowManagerCoversTheScreenAndLeavesItAsItWas) {
  if (!getenv("LUSHERA_X11_TESTS")) GTEST_SKIP() << "runs under Xvfb only (ctest's window.x11)";
  HostGame t(1, "x11");
  ASSERT_TRUE(t.opened);
  ASSERT_TRUE(unmanaged(t.host.window()));
  const SDL_Rect windowed = server_geometry(t.host.window());
  t.key(SDLK_F11);
  t.quit();
  t.host.run(t.g());
  ASSERT_TRUE(t.host.fullscreen());
  SDL_Rect display;
  ASSERT_EQ(SDL_GetDisplayBounds(0, &display), 0);
  SDL_Rect now = server_geometry(t.host.window());
  EXPECT_EQ(std::vector<int>({now.x, now.y, now.w, now.h}),
            std::vector<int>({display.x, display.y, display.w, display.h}));
  t.key(SDLK_F11);
  t.quit();
  t.host.run(t.g());
  ASSERT_FALSE(t.host.fullscreen());
  now = server_geometry(t.host.window());
  EXPECT_EQ(std::vector<int>({now.x, now.y, now.w, now.h}),
            std::vector<int>({windowed.x, windowed.y, kClientWidth, kClientHeight}));
  const SDL_Point p = t.start_button(ctl::Button39);
  t.click_at(p.x, p.y);
  t.quit();
  t.host.run(t.g());
  EXPECT_TRUE(t.continued());
}

// What the X server shows is the composed frame, though only the part drawn again is handed
// to it: through the effects, and zoomed on black in full screen.
TEST(SdlHostOnX, TheServerShowsTheComposedFrameThroughEffectsAndInFullScreen) {
  if (!getenv("LUSHERA_X11_TESTS")) GTEST_SKIP() << "runs under Xvfb only (ctest's window.x11)";
  HostGame t(1, "x11");
  ASSERT_TRUE(t.opened);
  t.host.attach(t.g());
  create_window(t.g());
  std::vector<std::string> wrong;
  auto look = [&](const char* when) {
    const Frame& f = t.host.view()->frame();
    const ServerPixels shown = window_pixels(t.host.window());
    ASSERT_GE(shown.width, f.width) << when;
    const int zoom = std::min(shown.width / f.width, shown.height / f.height);
    const int ox = (shown.width - f.width * zoom) / 2, oy = (shown.height - f.height * zoom) / 2;
    for (int y = 0; y < shown.height; ++y)
      for (int x = 0; x < shown.width; ++x) {
        const int fx = x - ox, fy = y - oy;
        const bool inside = fx >= 0 && fy >= 0 && fx < f.width * zoom && fy < f.height * zoom;
        if (shown.at(x, y) != (inside ? f.at(fx / zoom, fy / zoom) : 0u)) return wrong.push_back(when);
      }
  };
  SDL_ShowWindow(t.host.window());
  t.host.repaint();
  t.host.handle_pending_input();
  look("first frame");
  play_frames(t, look);
  t.key(SDLK_F11);
  t.host.handle_pending_input();
  ASSERT_TRUE(t.host.fullscreen());
  look("full screen");  // the picture at twice its size on the test's display
  redraw_opponent(t.g());
  close_black(t.g());
  look("closing square in full screen");
  EXPECT_TRUE(wrong.empty()) << "wrong after: " << wrong.front();
}

// A session played in the window on Xvfb with --record replays headless, on a copy of the data as
// it was, to the same saved files. The player clicks what the screen offers, answers the
// questions, picks from the item list with the keys and moves the slider with the mouse.
// A stop sent to the game's process group (Ctrl+C in a terminal, timeout) while the error box of
// a failed start is up ends the game, with the status of a data file that could not be read,
// and leaves the data as it was. The box is a forked copy of the game, waited for.
TEST(SdlHostOnX, AStopEndsTheErrorBoxOfAFailedStart) {
  if (!getenv("LUSHERA_X11_TESTS")) GTEST_SKIP() << "runs under Xvfb only (ctest's window.x11)";
  ScratchData d;
  const std::string broken = std::string(5000, 'a') + "\r\n";  // a line longer than any the game writes
  d.write(d.dat("item.dat"), broken);
  const std::string binary = std::string(LUSHERA_BUILD_DIR) + "/lushera", folder = d.dir().string();
  const pid_t game = fork();
  ASSERT_GE(game, 0);
  if (game == 0) {
    setpgid(0, 0);
    execl(binary.c_str(), binary.c_str(), "--data", folder.c_str(), "--scale", "1", static_cast<char*>(nullptr));
    _exit(127);
  }
  setpgid(game, game);
  // Waits, a tenth of a second at a time and 30 seconds at most, for a condition.
  const auto within_30_s = [](const std::function<bool()>& done) {
    for (int i = 0; i < 300; ++i, usleep(100000))
      if (done()) return true;
    return false;
  };
  // The box is the dialog window on the server over the game's window: the copy of the game that
  // shows it has taken its signals back by then, while a child forked before it (libdbus starting
  // dbus-launch) may still be a copy of the game for a moment. Another program's box on the same
  // display is not it.
  EXPECT_TRUE(within_30_s([game] { return dialog_shown(game); })) << "no error box";
  killpg(game, SIGTERM);
  int status = -1;
  const bool ended = within_30_s([&] { return waitpid(game, &status, WNOHANG) == game; });
  if (!ended) {
    killpg(game, SIGKILL);
    waitpid(game, &status, 0);
  }
  ASSERT_TRUE(ended) << "the game went on after SIGTERM";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_EQ(d.read(d.dat("item.dat")), broken);
}

TEST(SdlHostOnX, ARecordedSessionReplaysHeadlessToTheSameSave) {
  if (!getenv("LUSHERA_X11_TESTS")) GTEST_SKIP() << "runs under Xvfb only (ctest's window.x11)";
  ScratchData before;  // the data as the session finds it
  const std::string script = (before.dir() / "session.script").string();
  HostGame t(1, "x11", script);
  ASSERT_TRUE(t.opened);
  Game& g = t.g();
  // A hero strong enough to win a battle or two, saved in both copies.
  for (const ScratchData* data : {&before, &t.data}) {
    HeadlessHost quiet;
    Game strong(quiet, data->dir().string());
    create_window(strong);
    strong.hero.attack = 60;
    strong.hero.money = 90;
    close_window(strong);
  }
  auto centre = [&g](ctl::Id id) {
    const Rect r = g.form.window_rect(id);
    return SDL_Point{r.x + r.w / 2, r.y + r.h / 2};
  };
  // Pushed at once, though the game may still be busy with an earlier click: as an impatient
  // player's input, it waits in the queue and lands on whatever is there by then.
  auto click = [&](ctl::Id id) {
    const SDL_Point p = centre(id);
    t.motion(p.x, p.y);
    t.click_at(p.x, p.y);
  };
  // What a player would click next on the screen as it stands.
  auto next_click = [&g]() -> ctl::Id {
    const Form& f = g.form;
    if (f.shown(ctl::battle_box)) {
      if (!f.shown(ctl::w_box)) return ctl::w1_b;
      return g.hero.mp >= 1 && f.clickable(ctl::w2) ? ctl::w2 : ctl::w1;
    }
    for (ctl::Id id : {ctl::wana_b, ctl::sira_b, ctl::Button27, ctl::map2})
      if (f.clickable(id)) return id;
    return ctl::Button39;
  };
  // The hero reads the help and sets the text speed, buys two breads and picks one from the
  // item list with the keys, then walks the first hill.
  const ctl::Id kOpening[] = {ctl::Button39,  ctl::BitBtn3,  ctl::e_sp_l,   ctl::BitBtn2,  ctl::Button14,
                              ctl::Button21,  ctl::Button32, ctl::Button32, ctl::Button31, ctl::Button15,
                              ctl::BitBtn1,   ctl::form,     ctl::form,     ctl::Button17};
  constexpr int kOpeningSteps = sizeof kOpening / sizeof kOpening[0];
  // One step of the player a moment after the last, once the game is at rest.
  constexpr int kSteps = 60;
  std::function<void(int)> act = [&](int step) {
    if (!t.clock->idle() || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT))
      return t.clock->at(t.now() + 50, [&act, step] { act(step); });
    if (step + 1 < kSteps) t.clock->at(t.now() + 200, [&act, step] { act(step + 1); });
    t.key(step % 3 ? SDLK_y : SDLK_n);  // answers a question that waits; nothing otherwise
    if (step == kSteps - 1) return t.quit();
    if (step >= kOpeningSteps) return click(next_click());
    const ctl::Id id = kOpening[step];
    if (id == ctl::form) return t.key(SDLK_DOWN);
    if (id != ctl::e_sp_l) return click(id);
    const Rect r = g.form.window_rect(ctl::e_sp_l);
    t.click_at(r.x + 2, r.y + r.h / 2);  // the fastest text
  };
  t.clock->at(100, [&act] { act(0); });
  ASSERT_EQ(t.host.run(g), 0);
  // The window switches its sound on once it shows, before it reads any input.
  EXPECT_TRUE(g.sound.mixer) << "the window's sound was never switched on";
  // The window's icon: our 64 px picture, transparent around its disc.
  const std::vector<unsigned long> icon = window_icon(t.host.window());
  ASSERT_EQ(icon.size(), 2u + 64 * 64) << "the window has no icon";
  EXPECT_EQ((icon[2] >> 24) & 0xFF, 0u) << "the corner is not transparent";
  EXPECT_EQ((icon[2 + 32 * 64 + 32] >> 24) & 0xFF, 0xFFu) << "the middle is not opaque";

  const std::string recorded = before.read(script);
  for (const char* kind : {"\nclick w1\n", "\nhover w1\n", "\ndraws ", "\nanswer ", "\nselect ", "\nslider ", "\ntick", "\nclose\n"})
    EXPECT_NE(recorded.find(kind), std::string::npos) << "nothing like " << kind << " was recorded:\n" << recorded;
  const std::string command = std::string("'") + LUSHERA_BUILD_DIR + "/lushera' --headless --data '" +
                              before.dir().string() + "' --script '" + script + "' 2>&1";
  FILE* p = popen(command.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string transcript;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) transcript.append(buf, n);
  const int status = pclose(p);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << transcript;
  EXPECT_EQ(transcript.find("error"), std::string::npos) << transcript;
  for (const char* file : {"my.dat", "item.dat"})
    EXPECT_EQ(before.read(before.dat(file)), t.data.read(t.data.dat(file))) << file << " differs after the replay";
}

// Whether the tip's yellow shows in the band just below the pointer resting near r's top.
bool tip_below(const Frame& f, const Rect& r) {
  for (int y = r.y + 20; y < std::min(f.height, r.y + 60); ++y)
    for (int x = 0; x < f.width; ++x)
      if (f.at(x, y) == 0xFFFFE1u) return true;
  return false;
}

TEST(SdlHost, TheZoomIsTheLargestThatFitsTheScreen) {
  struct Case {
    int asked, usable_w, usable_h, zoom;
  } cases[] = {
      {4, 1600, 1200, 2}, {3, 1600, 1200, 2}, {2, 1600, 1200, 2}, {1, 1600, 1200, 1},
      {4, 3840, 2160, 4}, {3, 1653, 1080, 3}, {3, 1652, 1080, 2}, {2, 500, 300, 1}, {9, 8000, 8000, 8},
      {7, 3840, 2160, 6},
  };
  for (const Case& c : cases)
    EXPECT_EQ(fitting_scale(c.asked, kClientWidth, kClientHeight, c.usable_w, c.usable_h), c.zoom)
        << c.asked << " on " << c.usable_w << " x " << c.usable_h;
}

TEST(SdlHost, TheFirstZoomLeavesAFifthOfTheScreenOrLessAround) {
  struct Case {
    int screen_w, screen_h, zoom;
  } cases[] = {
      {1024, 768, 1}, {1366, 768, 1}, {1920, 1080, 2}, {2560, 1440, 3}, {3840, 2160, 5},
      {1920, 1200, 2}, {3000, 2000, 4}, {400, 300, 1}, {7680, 4320, 8}, {9000, 9000, 8},
  };
  for (const Case& c : cases)
    EXPECT_EQ(first_zoom(kClientWidth, kClientHeight, c.screen_w, c.screen_h), c.zoom)
        << c.screen_w << " x " << c.screen_h;
}

TEST(SdlHost, OnlyAGoodRememberedZoomCounts) {
  ScratchData scratch;
  const std::string file = (scratch.dir() / "window.ini").string();
  EXPECT_EQ(remembered_zoom(file), std::nullopt);  // none yet
  EXPECT_EQ(remembered_zoom(scratch.dir().string()), std::nullopt);  // a folder, not a file
  struct Case {
    const char* text;
    std::optional<int> zoom;
  } cases[] = {
      {"[window]\nzoom=3\n", 3},      {"; mine\r\n[Window]\r\n  ZOOM = 5\r\n", 5},
      {"[window]\nzoom=8", 8},         {"[window]\nzoom=9\n", std::nullopt},
      {"[window]\nzoom=0\n", std::nullopt}, {"[window]\nzoom=-2\n", std::nullopt},
      {"[window]\nzoom=big\n", std::nullopt}, {"zoom=3\n", std::nullopt},
      {"[sound]\nzoom=3\n", std::nullopt}, {"\x89PNG\r\n\x1a\n\0\0", std::nullopt},
  };
  for (const Case& c : cases) {
    scratch.write(file, c.text);
    EXPECT_EQ(remembered_zoom(file), c.zoom) << c.text;
  }
}

TEST(SdlHost, CtrlPlusAndMinusZoomTheWindowAndTheNextStartOpensAtTheLastZoom) {
  ScratchData scratch;
  const std::string file = (scratch.dir() / "config" / "lushera" / "window.ini").string();
  {
    HostGame t(0, "dummy", "", file);
    ASSERT_EQ(t.host.scale(), 1);  // nothing remembered, no screen to fit
    t.key(SDLK_MINUS, KMOD_LCTRL);  // no zoom below 1
    t.key(SDLK_EQUALS, KMOD_LCTRL);
    t.key(SDLK_KP_PLUS, KMOD_RCTRL);
    t.key(SDLK_PLUS, KMOD_LCTRL);
    t.key(SDLK_MINUS, KMOD_LCTRL);
    t.key(SDLK_EQUALS);  // without Ctrl no zoom
    t.quit();
    t.host.run(t.g());
    EXPECT_EQ(t.host.scale(), 3);
    int w = 0, h = 0;
    SDL_GetWindowSize(t.host.window(), &w, &h);
    EXPECT_EQ(std::vector<int>({w, h}), std::vector<int>({kClientWidth * 3, kClientHeight * 3}));
    EXPECT_EQ(t.host.view()->frame().width, kClientWidth * 3);
  }
  EXPECT_EQ(remembered_zoom(file), 3);
  EXPECT_EQ(HostGame(0, "dummy", "", file).host.scale(), 3);
  EXPECT_EQ(HostGame(2, "dummy", "", file).host.scale(), 2);  // --scale before the remembered zoom
}

TEST(SdlHost, TheUseButtonShowsItsTipWhenTheMouseRestsOnIt) {
  HostGame t;
  t.host.attach(t.g());
  create_window(t.g());
  click(t.g(), ctl::Button39);
  click(t.g(), ctl::BitBtn1);
  const Rect r = t.g().form.window_rect(ctl::item_use);
  t.motion(r.x + 10, r.y + 10);
  t.host.handle_pending_input();
  // Left alone, the loop puts the tip up once the mouse has rested half a second, not before.
  const int64_t rested = t.now();
  bool early = true;
  t.clock->at(rested + 450, [&] { early = tip_below(t.host.view()->frame(), r); });
  t.clock->at(rested + 800, [&t] { t.quit(); });
  t.host.run(t.g());
  EXPECT_FALSE(early) << "the tip came up before the half second";
  EXPECT_TRUE(tip_below(t.host.view()->frame(), r)) << "no tip below the pointer";
}

}  // namespace
