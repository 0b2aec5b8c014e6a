// The window's life: opening it, the message loop with its 10 ms timer, the blocking pauses,
// drawing and presenting frames, full screen and the shake.
#include "platform/sdl/sdl_host.hpp"
#include "platform/sdl/unmanaged_window.hpp"

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "game/input.hpp"
#include "platform/bitmap.hpp"
#include "platform/sdl/window_icon.hpp"
#include "render/font_match_cache.hpp"

namespace {

constexpr int kSleepSliceMs = 8;  // how often a sleeping handler still looks after the window
constexpr int kPumpMs = 100;

int floor_div(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// A closed terminal (SIGHUP) ends the game as a system shutting down does: SIGTERM, which SDL
// turns into a quit request, so the game closes its window and saves. (raise() may be called
// from a signal handler.) Windows has no such signal: a game started from a console has a window
// of its own, which outlives the console.
#ifdef SIGHUP
void hang_up(int) { raise(SIGTERM); }

void close_on_hang_up() {
  struct sigaction current {};
  sigaction(SIGHUP, nullptr, &current);
  if (current.sa_handler != SIG_DFL) return;  // ignored (nohup) or taken by someone else
  struct sigaction sa {};
  sa.sa_handler = hang_up;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGHUP, &sa, nullptr);
}
#else
void close_on_hang_up() {}
#endif

// SDL shows its error box on X11 from a forked copy of the game and waits for it to end; the copy
// inherits the handler that turns SIGTERM and SIGINT into a quit request, which nothing in it
// reads, so a stop sent to the game's process group (a terminal's Ctrl+C, timeout, a session
// ending) would leave both waiting. The stops are held back while the box is up, and a forked
// copy takes the default actions back (where the signal is not ignored) before it lets them in:
// a stop that came between the fork and that moment waits for it instead of being caught. The
// copy ends, the wait returns, and the game reads its own quit request once the box is gone.
#ifndef _WIN32
sigset_t stops() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  return set;
}

void default_signals_in_child() {
  for (int sig : {SIGTERM, SIGINT}) {
    struct sigaction current {};
    if (sigaction(sig, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) signal(sig, SIG_DFL);
  }
  const sigset_t set = stops();
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

class StopsReachTheErrorBox {
 public:
  StopsReachTheErrorBox() {
    static const bool registered = pthread_atfork(nullptr, nullptr, default_signals_in_child) == 0;
    (void)registered;
    const sigset_t set = stops();
    pthread_sigmask(SIG_BLOCK, &set, &before_);
  }
  ~StopsReachTheErrorBox() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }
  StopsReachTheErrorBox(const StopsReachTheErrorBox&) = delete;
  StopsReachTheErrorBox& operator=(const StopsReachTheErrorBox&) = delete;

 private:
  sigset_t before_;
};
#else
// Windows shows the box in the game's own process, where a stop ends it with the game.
struct StopsReachTheErrorBox {};
#endif

bool real_video_driver() {
  const char* d = SDL_GetCurrentVideoDriver();
  return d && std::strcmp(d, "dummy") != 0 && std::strcmp(d, "offscreen") != 0;
}

}  // namespace

SdlHost::SdlHost(SdlOptions options)
    : options_(std::move(options)), clock_(*options_.clock), recorder_(options_.record, options_.record_header) {}

SdlHost::~SdlHost() {
  for (SDL_GameController* pad : pads_) SDL_GameControllerClose(pad);
  if (pads_started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  audio_.reset();
  waiter_.reset();
  view_.reset();
  if (window_) SDL_DestroyWindow(window_);
  fonts_.reset();
  if (video_started_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int64_t SdlHost::now_ms() { return clock_.now_ms(); }

void SdlHost::report(const std::string& utf8, bool starting) {
  std::fprintf(stderr, "%s\n", utf8.c_str());
  std::fflush(stderr);
  // Before the window is open SDL does not know its driver yet; the box then opens on its own
  // unless a driver without a screen was asked for.
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  const bool screen = video_started_ ? real_video_driver()
                                     : !(asked && (std::strcmp(asked, "dummy") == 0 ||
                                                   std::strcmp(asked, "offscreen") == 0));
  if (!screen) return;
  [[maybe_unused]] const StopsReachTheErrorBox stops_end_it;
  SDL_Window* parent = window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) ? window_ : nullptr;
  // While the game is starting, a quit request can only be a stop (a terminal's Ctrl+C, timeout)
  // that came before the box: the message stays on stderr and the game ends, rather than
  // waiting on a box the stop can no longer reach.
  if (starting && (quit_ || (SDL_WasInit(SDL_INIT_EVENTS) && SDL_QuitRequested()))) return;
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "ルシェラ", utf8.c_str(), parent);
}

void SdlHost::show_error(const std::string& text) {
  // An error of the start-up (a data file that cannot be read) comes before the window is shown:
  // it is shown first, saying in its message window what went wrong, so the box stands over the
  // game's window and not over nothing. A second game on a locked save never shows its window.
  const bool starting = !window_ || !(SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN);
  if (starting && window_ && game_ && !game_->locked_out) show_window();
  report(sjis_.to_utf8(text), starting);
}

void SdlHost::show_window() {
  // Composed while hidden and presented once shown: what is handed to a window not yet on the
  // screen is not kept, so presenting it then copied the frame and sent it to the X server for
  // nothing.
  compose_if_needed();
  SDL_ShowWindow(window_);
  present(true);
}

bool SdlHost::load_bitmap(const std::string& path, Canvas& into) { return bitmaps_.load(path, into); }

// The zoom asked for, cut to what fits on the screen (a window larger than the screen would put
// its title bar out of reach); else the one the player chose last time, else the first zoom of
// the screen. A screen that cannot be asked (no display at all) takes what was asked, or 1.
int SdlHost::choose_scale(int w, int h) const {
  SDL_Rect usable;
  const bool screen = real_video_driver() && SDL_GetDisplayUsableBounds(0, &usable) == 0;
  const int asked = options_.scale > 0 ? std::clamp(options_.scale, 1, kMaxZoom) : 0;
  const int wanted = asked ? asked : remembered_zoom(options_.zoom_file).value_or(0);
  if (!screen) return std::max(1, wanted);
  if (!wanted) return first_zoom(w, h, usable.w, usable.h);
  const int fitting = fitting_scale(wanted, w, h, usable.w, usable.h);
  if (fitting < asked)
    std::fprintf(stderr, "lushera: --scale %d does not fit on the screen (%d x %d usable); using %d\n",
                 asked, usable.w, usable.h, fitting);
  return fitting;
}

bool SdlHost::open(int client_width, int client_height) {
  if (window_) return true;
  // The application's own title, as the task bar and the sound server name it.
  SDL_SetHint(SDL_HINT_APP_NAME, "ルシェラ２");
  if (!video_started_) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      report(std::string("cannot open a window: ") + SDL_GetError());
      return false;
    }
    video_started_ = true;
    close_on_hang_up();
  }
  // The window's surface straight from the window system where it has one to give, not through
  // a graphics driver's texture (with Mesa that cost 85 MB and 50 ms of start-up); elsewhere
  // SDL makes the surface over a texture.
  const char* driver = SDL_GetCurrentVideoDriver();
  for (const char* native : {"x11", "windows", "dummy", "offscreen"})
    if (driver && std::strcmp(driver, native) == 0) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // The fonts are found (and kept in the player's cache folder for the next start) once SDL is
  // connected; each face is opened when a caption first needs it.
  if (!fonts_) {
    try {
      fonts_ = std::make_unique<FreeTypeRaster>(font_match_file());
    } catch (const FontError& e) {
      report(e.what());
      return false;
    }
  }
  scale_ = choose_scale(client_width, client_height);
  window_ = SDL_CreateWindow("ルシェラ", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             client_width * scale_, client_height * scale_, SDL_WINDOW_HIDDEN);
  if (!window_) {
    report(std::string("cannot open a window: ") + SDL_GetError());
    return false;
  }
  // The frame is composed in our own memory and only its changed part copied onto the window's
  // surface and handed to the window system.
  if (!SDL_GetWindowSurface(window_)) {
    report(std::string("cannot draw in the window: ") + SDL_GetError());
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    return false;
  }
  view_ = std::make_unique<WindowRenderer>(sjis_, *fonts_, scale_);
  waiter_ = std::make_unique<EventWait>(window_);
  // Keys are commands here, never typed text; no input method needs to see them.
  SDL_StopTextInput();
  return true;
}

void SdlHost::attach(Game& g) {
  game_ = &g;
  input_.attach(g, recorder_.recording() ? &recorder_ : nullptr);
}

int SdlHost::run(Game& g) {
  if (options_.dev && g.form.client_height() < kDesignHeight)
    g.form.set_client_size(g.form.client_width(), kDesignHeight);
  if (!open(g.form.client_width(), g.form.client_height())) return 1;
  set_window_icon(window_, g.path("cg", "icon.bmp"));
  attach(g);
  quit_ = false;
  create_window_but_sound(g);
  if (g.locked_out) {  // another game runs on this save: the window is never shown
    game_ = nullptr;
    return 0;
  }
  if (recorder_.recording()) recorder_.start(g);
  if (!(SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN)) show_window();
  // For measuring the start-up: the first frame is on the screen (presenting waits until the X
  // server has drawn it), and the data is left as it was.
  if (const char* v = std::getenv("LUSHERA_EXIT_AFTER_FIRST_FRAME"); v && std::strcmp(v, "1") == 0) {
    game_ = nullptr;
    return 0;
  }
  // The sound once the window shows: before any input is read, after what the player sees first.
  start_sound(g);
  input_.restart_timer(now_ms());
  input_.input_came();
  while (!quit_) loop_once();
  if (recorder_.recording()) recorder_.close();
  close_window(g);
  destroy_window(g);
  game_ = nullptr;
  return 0;
}

// One turn of a message loop: input first, in order, then the timer when it is due (the
// toolkit's timer fires only when no input is waiting). With nothing waiting it sleeps until the
// next tick or until the window system has something, whichever comes first. Inside the
// question the input path takes only the question's input.
//
// Reading the window system's events costs several system calls, so a turn that follows a
// quiet tick (nothing came, nothing was drawn) does not read them; they are read after anything
// happened, when the connection has data, and at least every kPumpMs for what SDL makes itself
// (a quit request from a signal).
//
// Once a tick has changed nothing, no tick will until input comes: the loop then stops its timer
// and sleeps until the window system has something, looking at SDL's queue every kPumpMs.
void SdlHost::loop_once() {
  watch_pads();
  if (redraw_if_needed()) must_pump_ = true;
  int64_t now = now_ms();
  if (must_pump_ || now - last_pump_ >= kPumpMs) {
    SDL_PumpEvents();
    last_pump_ = now;
  }
  must_pump_ = true;
  SDL_Event ev;
  if (SDL_PeepEvents(&ev, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
    input_.input_came();
    dispatch(ev);
    return;
  }
  if (at_rest()) {
    // A controller's events do not come on the window system's connection: with one open, the
    // rest looks at SDL's queue as often as the timer would.
    const bool came = waiter_ && clock_.wait(*waiter_, pads_.empty() ? kPumpMs : InputPath::kTimerMs);
    input_.restart_timer(now_ms());  // the timer starts afresh after what came
    if (came) input_.input_came();
    else must_pump_ = pump_every_turn();
    return;
  }
  if (waiter_ && clock_.wait(*waiter_, input_.ms_to_tick(now))) {
    input_.input_came();
    return;  // read on the next turn
  }
  now = now_ms();
  if (input_.tick_due(now)) input_.tick(now);
  must_pump_ = pump_every_turn();
}

bool SdlHost::pump_every_turn() const { return !waiter_ || !waiter_->native() || !pads_.empty(); }

bool SdlHost::at_rest() const { return input_.at_rest() && !(audio_ && audio_->sending_events()); }

void SdlHost::handle_pending_input() {
  if (!window_ || !game_) return;
  watch_pads();
  SDL_PumpEvents();
  SDL_Event ev;
  while (!quit_ && SDL_PeepEvents(&ev, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
    input_.input_came();
    dispatch(ev);
    redraw_if_needed();
  }
}

void SdlHost::sleep_ms(int ms) {
  using Duration = HostClock::Duration;
  const Duration deadline = pauses_.deadline(clock_.now(), std::chrono::milliseconds(std::max(0, ms)),
                                             std::chrono::milliseconds(5));
  for (;;) {
    if (window_) {
      SDL_PumpEvents();
      SDL_Event ev;
      // Only what keeps the window alive; input stays queued for after the handler.
      while (SDL_PeepEvents(&ev, 1, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT) > 0)
        handle_window_event(ev);
      // The sound goes on while a handler sleeps: the output's finished blocks are refilled.
      if (audio_ && audio_->event_type())
        while (SDL_PeepEvents(&ev, 1, SDL_GETEVENT, audio_->event_type(), audio_->event_type()) > 0)
          audio_->handle_event(ev);
    }
    const Duration left = deadline - clock_.now();
    if (left <= Duration::zero()) return;
    clock_.sleep(std::min<Duration>(left, std::chrono::milliseconds(kSleepSliceMs)));
  }
}

void SdlHost::repaint() { redraw_if_needed(); }

bool SdlHost::compose_if_needed() {
  if (!view_ || !game_ || !input_.needs_redraw()) return false;
  const Form& form = game_->form;
  if (drawn_width_ && (form.client_width() != drawn_width_ || form.client_height() != drawn_height_))
    SDL_SetWindowSize(window_, form.client_width() * scale_, form.client_height() * scale_);
  // The drawing's own cost, on the machine's clock whatever clock the game runs on.
  const auto t0 = std::chrono::steady_clock::now();
  view_->compose(form, input_.ui());
  stats_.compose_ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  ++stats_.frames;
  input_.drawn();
  drawn_width_ = form.client_width();
  drawn_height_ = form.client_height();
  return true;
}

bool SdlHost::redraw_if_needed() {
  if (!compose_if_needed()) return false;
  const auto t0 = std::chrono::steady_clock::now();
  present();
  stats_.present_ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  return true;
}

// Where the window's picture lies on an output of ow x oh pixels, and its extra zoom: centred on
// black, zoomed by the largest whole factor that fits (1 in a window of the picture's own size).
SDL_Rect SdlHost::picture_rect(int ow, int oh, int& zoom) const {
  int fw = 0, fh = 0;
  if (game_) {
    fw = game_->form.client_width() * scale_;
    fh = game_->form.client_height() * scale_;
  } else if (view_) {
    fw = view_->frame().width;
    fh = view_->frame().height;
  }
  if (ow <= 0 || oh <= 0) {
    ow = fw;
    oh = fh;
  }
  zoom = 1;
  if (fw <= 0 || fh <= 0) return {0, 0, ow, oh};
  // In a window the picture fills it from its corner, whatever size the window system left it.
  if (!fullscreen_) return {0, 0, fw, fh};
  zoom = std::max(1, std::min(ow / fw, oh / fh));
  return {(ow - fw * zoom) / 2, (oh - fh * zoom) / 2, fw * zoom, fh * zoom};
}

void SdlHost::present(bool whole) {
  if (!window_ || !view_) return;
  const Frame& f = view_->frame();
  SDL_Surface* out = SDL_GetWindowSurface(window_);
  if (!out || f.width <= 0 || f.height <= 0) return;
  int zoom = 1;
  SDL_Rect dst = picture_rect(out->w, out->h, zoom);
  if (dst.w != f.width * zoom || dst.h != f.height * zoom) {
    // The form changed size since this frame was composed: show it as it is, centred.
    dst = {(out->w - f.width) / 2, (out->h - f.height) / 2, f.width, f.height};
    zoom = 1;
  }
  dst.x += shake_x_ * scale_ * zoom;
  dst.y += shake_y_ * scale_ * zoom;
  // The window's surface keeps what the last frame put there; while the picture stays where it
  // was, only what was drawn again since is copied and handed to the window system. Elsewhere
  // the surface is black around the picture.
  const Shown now{dst, out->w, out->h};
  const bool changes_only = !whole && shown_ && *shown_ == now;
  const bool covers = dst.x == 0 && dst.y == 0 && dst.w == out->w && dst.h == out->h;
  if (!changes_only && !covers) SDL_FillRect(out, nullptr, SDL_MapRGB(out->format, 0, 0, 0));
  const std::optional<SDL_Rect> put = view_->copy_to(out, dst, changes_only);
  shown_.reset();
  if (!put) return;
  shown_ = now;
  if (!changes_only) SDL_UpdateWindowSurface(window_);
  else if (put->w > 0 && put->h > 0) SDL_UpdateWindowSurfaceRects(window_, &*put, 1);
}

void SdlHost::handle_window_event(const SDL_Event& ev) {
  if (ev.type != SDL_WINDOWEVENT) return;
  switch (ev.window.event) {
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED:
      present(true);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      // A button held while the player switches away is let go without a click.
      if (game_) input_.focus_lost();
      break;
    default: break;
  }
}

Pointer SdlHost::map_mouse(int wx, int wy) const {
  Pointer p;
  p.inside = false;
  if (!window_) return p;
  int ww = 0, wh = 0, ow = 0, oh = 0;
  SDL_GetWindowSize(window_, &ww, &wh);
  SDL_GetWindowSizeInPixels(window_, &ow, &oh);
  if (ow <= 0 || oh <= 0) {
    ow = ww;
    oh = wh;
  }
  // Window coordinates to output pixels (the same unless the display has more pixels than
  // points), then back through the centring and both zooms.
  const int px = ww > 0 ? static_cast<int>(static_cast<int64_t>(wx) * ow / ww) : wx;
  const int py = wh > 0 ? static_cast<int>(static_cast<int64_t>(wy) * oh / wh) : wy;
  int zoom = 1;
  const SDL_Rect pic = picture_rect(ow, oh, zoom);
  const int unit = zoom * scale_;
  p.x = floor_div(px - pic.x, unit);
  p.y = floor_div(py - pic.y, unit);
  p.inside = px >= pic.x && py >= pic.y && px < pic.x + pic.w && py < pic.y + pic.h;
  return p;
}

Pointer SdlHost::mouse_now() const {
  int x = 0, y = 0;
  SDL_GetMouseState(&x, &y);
  return map_mouse(x, y);
}

void SdlHost::toggle_fullscreen() {
  if (!window_) return;
  const bool want = !fullscreen_;
  if (want) SDL_GetWindowPosition(window_, &windowed_x_, &windowed_y_);
  if (SDL_SetWindowFullscreen(window_, want ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
  fullscreen_ = want;
  shake_x_ = shake_y_ = 0;
  if (want) cover_display_if_unmanaged(window_);
  if (!want && game_) {
    // Without a window manager nothing gives the window its size and place back.
    SDL_SetWindowSize(window_, game_->form.client_width() * scale_, game_->form.client_height() * scale_);
    SDL_SetWindowPosition(window_, windowed_x_, windowed_y_);
  }
  present(true);
}

void SdlHost::change_zoom(int step) {
  if (!window_ || !game_ || !fonts_) return;
  const Form& form = game_->form;
  const int w = form.client_width(), h = form.client_height();
  SDL_Rect usable{0, 0, w * kMaxZoom, h * kMaxZoom};
  const bool screen = real_video_driver() &&
                      SDL_GetDisplayUsableBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &usable) == 0;
  const int zoom = std::clamp(scale_ + step, 1, fitting_scale(kMaxZoom, w, h, usable.w, usable.h));
  if (zoom == scale_) return;
  int x = 0, y = 0;
  SDL_GetWindowPosition(window_, &x, &y);
  const int old_w = w * scale_, old_h = h * scale_;
  scale_ = zoom;
  // Text is drawn anew at the new size, never enlarged from the old one.
  view_ = std::make_unique<WindowRenderer>(sjis_, *fonts_, scale_);
  input_.draw_again();
  if (!fullscreen_) {
    // The window grows and shrinks about its centre, kept on the screen.
    const int new_w = w * scale_, new_h = h * scale_;
    SDL_SetWindowSize(window_, new_w, new_h);
    if (screen)
      SDL_SetWindowPosition(window_, std::clamp(x + (old_w - new_w) / 2, usable.x, usable.x + usable.w - new_w),
                            std::clamp(y + (old_h - new_h) / 2, usable.y, usable.y + usable.h - new_h));
  }
  redraw_if_needed();
  present(true);
  remember_zoom(options_.zoom_file, scale_);
}

void SdlHost::move_window(int dx, int dy) {
  if (!window_) return;
  const char* driver = SDL_GetCurrentVideoDriver();
  const bool movable = !fullscreen_ && driver &&
                       (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "windows") == 0 ||
                        std::strcmp(driver, "cocoa") == 0);
  if (movable) {
    int x = 0, y = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    SDL_SetWindowPosition(window_, x + dx * scale_, y + dy * scale_);
    return;
  }
  shake_x_ += dx;
  shake_y_ += dy;
  present();
}

void SdlHost::draw_text(Canvas& canvas, int x, int y, const std::string& text, const Font& font,
                        uint32_t colour) {
  if (view_) write_text(canvas, view_->text(), x, y, text, font, colour);
}

AudioDevice* SdlHost::audio_device() {
  if (!audio_) audio_ = std::make_unique<SdlAudioDevice>();
  return audio_->started() ? audio_.get() : nullptr;
}
