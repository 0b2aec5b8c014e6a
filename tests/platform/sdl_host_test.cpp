// The window's event loop on SDL's dummy video driver: input queued with SDL_PushEvent, as the
// window system would deliver it.
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <csignal>
#include <cstdlib>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "platform/sdl/sdl_host.hpp"
#include "support/test_game.hpp"

namespace {

struct HostGame {
  explicit HostGame(int scale = 1) : host(SdlOptions{scale, false}) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    game = std::make_unique<Game>(host, data.dir().string());
    game->fixed_seed = 1;
    opened = host.open(kClientWidth, kClientHeight);
  }
  ScratchData data;
  SdlHost host;
  std::unique_ptr<Game> game;
  bool opened = false;
  Game& g() { return *game; }

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

TEST(SdlHost, SleepingKeepsInputQueuedForLater) {
  HostGame t;
  t.key(SDLK_TAB);
  const auto start = std::chrono::steady_clock::now();
  t.host.sleep_ms(30);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYUP), 2);
}

TEST(SdlHost, TheTimerRunsBetweenHandlersButNotWhileOneSleeps) {
  HostGame t;
  t.host.attach(t.g());
  create_window(t.g());
  t.g().hero.hp = t.g().hero.max_hp + 50;
  t.host.sleep_ms(40);
  EXPECT_EQ(t.g().hero.hp, t.g().hero.max_hp + 50) << "no tick inside a sleep";
  t.quit();
  t.host.run(t.g());
  SUCCEED();
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

TEST(SdlHost, TheQuestionTakesClicksOnItsButtonsOnlyAndRefusesTheRest) {
  HostGame t;
  t.host.attach(t.g());
  create_window(t.g());
  const std::string q = t.g().sj("剣を手放しますか？");
  const QuestionGeometry geo = t.host.view()->question_geometry(t.g().form, QuestionView{q, 0, -1});
  const SDL_Point yes{geo.yes.x + geo.yes.w / 2, geo.yes.y + geo.yes.h / 2};
  const SDL_Point no{geo.no.x + geo.no.w / 2, geo.no.y + geo.no.h / 2};
  t.click_at(yes.x, yes.y);
  EXPECT_TRUE(t.host.ask_yes_no(q));
  t.click_at(no.x, no.y);
  EXPECT_FALSE(t.host.ask_yes_no(q));
  // A click on the window outside the box is refused; pressing はい and letting go over いいえ
  // answers nothing; the answer is the key pressed after.
  const SDL_Point p = t.start_button(ctl::Button1);
  t.click_at(p.x, p.y);
  t.press(yes.x, yes.y);
  t.motion(no.x, no.y);
  t.release(no.x, no.y);
  t.key(SDLK_n);
  EXPECT_FALSE(t.host.ask_yes_no(q));
  EXPECT_TRUE(t.g().form.shown(ctl::start_box));
  EXPECT_FALSE(t.g().form[ctl::first_b].visible) << "the click went through to the window";
}

Uint32 push_n_key(Uint32, void*) {
  SDL_Event ev{};
  ev.type = SDL_KEYDOWN;
  ev.key.keysym.sym = SDLK_n;
  SDL_PushEvent(&ev);
  return 0;
}

TEST(SdlHost, TheTimerKeepsRunningWhileTheQuestionWaits) {
  HostGame t;
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_TIMER), 0);
  t.host.attach(t.g());
  create_window(t.g());
  t.g().hero.hp = t.g().hero.max_hp + 50;
  const SDL_TimerID timer = SDL_AddTimer(80, push_n_key, nullptr);
  EXPECT_FALSE(t.host.ask_yes_no(t.g().sj("剣を手放しますか？")));
  SDL_RemoveTimer(timer);
  SDL_QuitSubSystem(SDL_INIT_TIMER);
  EXPECT_EQ(t.g().hero.hp, t.g().hero.max_hp) << "the status refresh ran during the question";
}

TEST(SdlHost, ClosingDuringTheQuestionAnswersNo) {
  HostGame t;
  t.host.attach(t.g());
  create_window(t.g());
  t.quit();
  EXPECT_FALSE(t.host.ask_yes_no(t.g().sj("剣を手放しますか？")));
}

Uint32 raise_sigterm(Uint32, void*) {
  std::raise(SIGTERM);
  return 0;
}

TEST(SdlHost, SigtermClosesTheWindowAndTheGameSaves) {
  HostGame t;
  struct sigaction current {};
  sigaction(SIGTERM, nullptr, &current);
  if (current.sa_handler == SIG_DFL) GTEST_SKIP() << "SDL did not take SIGTERM in this process";
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_TIMER), 0);
  const std::string before = t.data.read(t.data.dat("my.dat"));
  const SDL_TimerID timer = SDL_AddTimer(100, raise_sigterm, nullptr);
  EXPECT_EQ(t.host.run(t.g()), 0);
  SDL_RemoveTimer(timer);
  SDL_QuitSubSystem(SDL_INIT_TIMER);
  // Start-up gave the hero 100 more money, and closing saved it.
  EXPECT_NE(t.data.read(t.data.dat("my.dat")), before);
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

}  // namespace
