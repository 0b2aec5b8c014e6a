#include "platform/sdl/sdl_host.hpp"
#include "platform/sdl/unmanaged_window.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <utility>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "platform/bitmap.hpp"
#include "platform/sdl/first_fonts.hpp"
#include "platform/sdl/widgets.hpp"

namespace {

constexpr int kTimerMs = 10;
// How long the mouse rests on a control before its tip comes up.
constexpr int kTipDelayMs = 500;
constexpr int kSleepSliceMs = 8;  // how often a sleeping handler still looks after the window
constexpr int kWheelLines = 3;
constexpr int kPumpMs = 100;

int floor_div(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

bool is_technique(ctl::Id id) { return id >= ctl::w1 && id <= ctl::w24; }

bool is_enter(SDL_Keycode k) { return k == SDLK_RETURN || k == SDLK_KP_ENTER; }

bool real_video_driver() {
  const char* d = SDL_GetCurrentVideoDriver();
  return d && std::strcmp(d, "dummy") != 0 && std::strcmp(d, "offscreen") != 0;
}

}  // namespace

SdlHost::SdlHost(SdlOptions options) : options_(std::move(options)), clock_(*options_.clock) {}

SdlHost::~SdlHost() {
  audio_.reset();
  waiter_.reset();
  view_.reset();
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  fonts_.reset();
  if (video_started_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int64_t SdlHost::now_ms() { return clock_.now_ms(); }

void SdlHost::report(const std::string& utf8) {
  std::fprintf(stderr, "%s\n", utf8.c_str());
  std::fflush(stderr);
  // Before the window is open SDL does not know its driver yet; the box then opens on its own
  // unless a driver without a screen was asked for.
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  const bool screen = video_started_ ? real_video_driver()
                                     : !(asked && (std::strcmp(asked, "dummy") == 0 ||
                                                   std::strcmp(asked, "offscreen") == 0));
  if (screen) {
    SDL_Window* parent = window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) ? window_ : nullptr;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "ルシェラ", utf8.c_str(), parent);
  }
}

void SdlHost::show_error(const std::string& text) { report(sjis_.to_utf8(text)); }

bool SdlHost::load_bitmap(const std::string& path, Canvas& into) { return bitmaps_.load(path, into); }

int fitting_scale(int asked, int w, int h, int usable_w, int usable_h) {
  int s = std::clamp(asked, 1, 4);
  while (s > 1 && (w * s > usable_w || h * s > usable_h)) --s;
  return s;
}

// The zoom asked for, or the display's (its dots per inch over 96), as large as still fits on
// the screen: a window larger than the screen would put its title bar out of reach. A screen
// that cannot be asked (no display at all) takes what was asked.
int SdlHost::choose_scale(int w, int h) const {
  int s = options_.scale;
  if (s <= 0) {
    float ddpi = 0, hdpi = 0, vdpi = 0;
    s = SDL_GetDisplayDPI(0, &ddpi, &hdpi, &vdpi) == 0 && hdpi > 0 ? static_cast<int>(hdpi / 96.0f) : 1;
  }
  s = std::clamp(s, 1, 4);
  SDL_Rect usable;
  if (!real_video_driver() || SDL_GetDisplayUsableBounds(0, &usable) != 0) return s;
  const int fitting = fitting_scale(s, w, h, usable.w, usable.h);
  if (fitting < s && options_.scale > 0)
    std::fprintf(stderr, "lushera: --scale %d does not fit on the screen (%d x %d usable); using %d\n",
                 s, usable.w, usable.h, fitting);
  return fitting;
}

bool SdlHost::open(int client_width, int client_height) {
  if (window_) return true;
  // The picture effects repaint every frame of their animations themselves; waiting for the
  // display's refresh at each of them would slow the effects down.
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // The software renderer's window surface straight from the window system, not through a
  // graphics driver's texture.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // The application's own title, as the task bar and the sound server name it.
  SDL_SetHint(SDL_HINT_APP_NAME, "ルシェラ２");
  // Finding the fonts (fontconfig reads its whole configuration) runs while SDL connects to the
  // window system, which is mostly waiting for the display's answers; the fonts the first
  // frame draws with are opened there too.
  std::future<std::unique_ptr<FontLibrary>> found;
  if (!fonts_)
    found = std::async(std::launch::async | std::launch::deferred, [keys = std::move(first_fonts_)] {
      auto fonts = std::make_unique<FontLibrary>();
      fonts->open_ahead(keys);
      return fonts;
    });
  if (!video_started_) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      report(std::string("cannot open a window: ") + SDL_GetError());
      return false;
    }
    video_started_ = true;
  }
  if (!fonts_) {
    try {
      fonts_ = found.get();
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
  // The frame is composed in our own memory and only copied out, which the software renderer
  // does as fast as any; it also spares the process a graphics driver (tens of megabytes).
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (!renderer_) {
    report(std::string("cannot draw in the window: ") + SDL_GetError());
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    return false;
  }
  view_ = std::make_unique<FormRenderer>(sjis_, *fonts_, scale_);
  waiter_ = std::make_unique<EventWait>(window_);
  // Keys are commands here, never typed text; no input method needs to see them.
  SDL_StopTextInput();
  drawn_ = false;
  return true;
}

int SdlHost::run(Game& g) {
  if (options_.dev && g.form.client_height() < kDesignHeight)
    g.form.set_client_size(g.form.client_width(), kDesignHeight);
  first_fonts_ = fonts_shown(g.form, std::max(1, options_.scale));
  if (!open(g.form.client_width(), g.form.client_height())) return 1;
  game_ = &g;
  quit_ = false;
  create_window(g);
  if (g.locked_out) {  // another game runs on this save: the window is never shown
    game_ = nullptr;
    return 0;
  }
  redraw_if_needed();
  SDL_ShowWindow(window_);
  present(true);
  // For measuring the start-up: the first frame is on the screen, and the data is left as it was.
  if (const char* v = std::getenv("LUSHERA_EXIT_AFTER_FIRST_FRAME"); v && std::strcmp(v, "1") == 0) {
    SDL_PumpEvents();
    game_ = nullptr;
    return 0;
  }
  next_tick_ = now_ms() + kTimerMs;
  while (!quit_) loop_once(false);
  close_window(g);
  destroy_window(g);
  game_ = nullptr;
  return 0;
}

// One turn of a message loop: input first, in order, then the timer when it is due (the
// toolkit's timer fires only when no input is waiting). With nothing waiting it sleeps until the
// next tick or until the window system has something, whichever comes first. Inside the
// question, it gives the answer once there is one, else -1.
//
// Reading the window system's events costs several system calls, so a turn that follows a
// quiet tick (nothing came, nothing was drawn) does not read them; they are read after anything
// happened, when the connection has data, and at least every kPumpMs for what SDL makes itself
// (a quit request from a signal).
int SdlHost::loop_once(bool in_question) {
  if (redraw_if_needed()) must_pump_ = true;
  int64_t now = now_ms();
  if (must_pump_ || now - last_pump_ >= kPumpMs) {
    SDL_PumpEvents();
    last_pump_ = now;
  }
  must_pump_ = true;
  SDL_Event ev;
  if (SDL_PeepEvents(&ev, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
    if (audio_ && audio_->handle_event(ev)) return -1;
    if (in_question) return question_event(ev);
    dispatch(ev);
    return -1;
  }
  const int64_t wait = std::clamp<int64_t>(next_tick_ - now, 0, kTimerMs);
  if (waiter_ && clock_.wait(*waiter_, static_cast<int>(wait))) return -1;  // read on the next turn
  now = now_ms();
  if (now >= next_tick_) tick(now);
  must_pump_ = !waiter_ || !waiter_->native();
  return -1;
}

void SdlHost::handle_pending_input() {
  if (!window_ || !game_) return;
  SDL_PumpEvents();
  SDL_Event ev;
  while (!quit_ && SDL_PeepEvents(&ev, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
    dispatch(ev);
    redraw_if_needed();
  }
}

void SdlHost::tick(int64_t now) {
  next_tick_ += kTimerMs;
  // After a long handler the timer fires once, not once for every period missed.
  if (next_tick_ <= now) next_tick_ = now + kTimerMs;
  if (game_) timer_tick(*game_);
  if (tip_control_ != ctl::form && !tip_shown_ && now - tip_since_ >= kTipDelayMs) tip_shown_ = true;
}

void SdlHost::sleep_ms(int ms) {
  using Duration = HostClock::Duration;
  // Pauses that follow one another closely (an effect's frames) keep to their sum: the drawing
  // between them comes out of the next pause instead of adding to it. A pause long after the
  // last one counts from now.
  constexpr Duration kChained = std::chrono::milliseconds(5);
  const Duration now = clock_.now();
  const Duration start = pause_end_ && now - *pause_end_ <= kChained ? *pause_end_ : now;
  const Duration deadline = start + std::chrono::milliseconds(std::max(0, ms));
  pause_end_ = deadline;
  for (;;) {
    if (window_) {
      SDL_PumpEvents();
      SDL_Event ev;
      // Only what keeps the window alive; input stays queued for after the handler.
      while (SDL_PeepEvents(&ev, 1, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT) > 0)
        handle_window_event(ev);
      while (SDL_PeepEvents(&ev, 1, SDL_GETEVENT, SDL_RENDER_TARGETS_RESET, SDL_RENDER_DEVICE_RESET) > 0)
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

UiState SdlHost::ui_state() const {
  UiState ui;
  if (capture_ != ctl::form && capture_inside_ && game_ && game_->form[capture_].kind == Kind::Button)
    ui.pressed = capture_;
  else if (space_held_ != ctl::form)
    ui.pressed = space_held_;
  if (tip_shown_ && game_ && game_->form.shown(tip_control_)) ui.tip = TipView{tip_control_, tip_x_, tip_y_};
  ui.question = question_;
  return ui;
}

bool SdlHost::redraw_if_needed() {
  if (!view_ || !game_) return false;
  const Form& form = game_->form;
  const UiState ui = ui_state();
  if (drawn_ && form.revision() == drawn_revision_ && form.focus == drawn_focus_ && ui == drawn_ui_ &&
      form.client_width() == drawn_width_ && form.client_height() == drawn_height_)
    return false;
  if (drawn_ && (form.client_width() != drawn_width_ || form.client_height() != drawn_height_))
    SDL_SetWindowSize(window_, form.client_width() * scale_, form.client_height() * scale_);
  // The drawing's own cost, on the machine's clock whatever clock the game runs on.
  const auto t0 = std::chrono::steady_clock::now();
  view_->compose(form, ui);
  const auto t1 = std::chrono::steady_clock::now();
  drawn_ = true;
  drawn_revision_ = form.revision();
  drawn_focus_ = form.focus;
  drawn_ui_ = ui;
  drawn_width_ = form.client_width();
  drawn_height_ = form.client_height();
  present();
  const auto t2 = std::chrono::steady_clock::now();
  ++stats_.frames;
  stats_.compose_ms += std::chrono::duration<double, std::milli>(t1 - t0).count();
  stats_.present_ms += std::chrono::duration<double, std::milli>(t2 - t1).count();
  return true;
}

// Where the window's picture lies in the renderer's output, and its extra zoom: centred on
// black, zoomed by the largest whole factor that fits (1 in a window of the picture's own size).
SDL_Rect SdlHost::picture_rect(int& zoom) const {
  int fw = 0, fh = 0;
  if (game_) {
    fw = game_->form.client_width() * scale_;
    fh = game_->form.client_height() * scale_;
  } else if (view_) {
    fw = view_->frame().width;
    fh = view_->frame().height;
  }
  int ow = 0, oh = 0;
  if (!renderer_ || SDL_GetRendererOutputSize(renderer_, &ow, &oh) != 0 || ow <= 0 || oh <= 0) {
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
  if (!renderer_ || !view_) return;
  const Frame& f = view_->frame();
  if (f.width <= 0 || f.height <= 0) return;
  int zoom = 1;
  SDL_Rect dst = picture_rect(zoom);
  int ow = 0, oh = 0;
  SDL_GetRendererOutputSize(renderer_, &ow, &oh);
  if (dst.w != f.width * zoom || dst.h != f.height * zoom) {
    // The form changed size since this frame was composed: show it as it is, centred.
    dst = {(ow - f.width) / 2, (oh - f.height) / 2, f.width, f.height};
  }
  dst.x += shake_x_ * scale_ * zoom;
  dst.y += shake_y_ * scale_ * zoom;
  const bool covers = dst.x == 0 && dst.y == 0 && dst.w == ow && dst.h == oh && zoom == 1;
  // The window's surface keeps what the last frame put there; when that frame covered it at the
  // same place, only what changed since is copied (an effect's frame changes its picture only).
  const bool changes_only = covers && !whole && shown_whole_;
  if (!covers) {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
  }
  shown_whole_ = view_->copy_to(renderer_, &dst, changes_only) && covers;
  SDL_RenderPresent(renderer_);
}

void SdlHost::handle_window_event(const SDL_Event& ev) {
  if (ev.type == SDL_RENDER_TARGETS_RESET || ev.type == SDL_RENDER_DEVICE_RESET) {
    if (view_) view_->release_target();
    present(true);
    return;
  }
  if (ev.type != SDL_WINDOWEVENT) return;
  switch (ev.window.event) {
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED:
      present(true);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      // A button held while the player switches away is let go without a click.
      drop_capture();
      question_capture_ = -1;
      if (question_) question_->pressed = -1;
      break;
    default: break;
  }
}

SdlHost::Point SdlHost::map_mouse(int wx, int wy) const {
  Point p;
  if (!window_ || !renderer_) return p;
  int ww = 0, wh = 0, ow = 0, oh = 0;
  SDL_GetWindowSize(window_, &ww, &wh);
  if (SDL_GetRendererOutputSize(renderer_, &ow, &oh) != 0 || ww <= 0 || wh <= 0) {
    ow = ww;
    oh = wh;
  }
  // Window coordinates to output pixels (the same unless the display has more pixels than
  // points), then back through the centring and both zooms.
  const int px = ww > 0 ? static_cast<int>(static_cast<int64_t>(wx) * ow / ww) : wx;
  const int py = wh > 0 ? static_cast<int>(static_cast<int64_t>(wy) * oh / wh) : wy;
  int zoom = 1;
  const SDL_Rect pic = picture_rect(zoom);
  const int unit = zoom * scale_;
  p.x = floor_div(px - pic.x, unit);
  p.y = floor_div(py - pic.y, unit);
  p.inside = px >= pic.x && py >= pic.y && px < pic.x + pic.w && py < pic.y + pic.h;
  return p;
}

SdlHost::Point SdlHost::mouse_now() const {
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

void SdlHost::drop_capture() {
  capture_ = ctl::form;
  capture_inside_ = false;
  thumb_drag_ = false;
  space_held_ = ctl::form;
}

void SdlHost::dispatch(const SDL_Event& ev) {
  if (audio_ && audio_->handle_event(ev)) return;
  switch (ev.type) {
    case SDL_QUIT: quit_ = true; break;
    case SDL_WINDOWEVENT:
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET: handle_window_event(ev); break;
    case SDL_KEYDOWN: on_key_down(ev.key); break;
    case SDL_KEYUP: on_key_up(ev.key); break;
    case SDL_MOUSEBUTTONDOWN:
      if (ev.button.button == SDL_BUTTON_LEFT) on_mouse_down(map_mouse(ev.button.x, ev.button.y));
      break;
    case SDL_MOUSEBUTTONUP:
      if (ev.button.button == SDL_BUTTON_LEFT) on_mouse_up(map_mouse(ev.button.x, ev.button.y));
      break;
    case SDL_MOUSEMOTION: on_mouse_motion(map_mouse(ev.motion.x, ev.motion.y)); break;
    case SDL_MOUSEWHEEL: on_wheel(ev.wheel); break;
    default: break;
  }
}

void SdlHost::on_key_down(const SDL_KeyboardEvent& key) {
  Game& g = *game_;
  const SDL_Keycode k = key.keysym.sym;
  if (k == SDLK_F11 || (is_enter(k) && (key.keysym.mod & KMOD_ALT))) {
    if (!key.repeat) toggle_fullscreen();
    return;
  }
  switch (k) {
    case SDLK_TAB: move_focus(key.keysym.mod & KMOD_SHIFT ? -1 : 1); break;
    case SDLK_SPACE:
      if (!key.repeat && capture_ == ctl::form && focused_button()) space_held_ = g.form.focus;
      break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      if (!key.repeat && capture_ == ctl::form && space_held_ == ctl::form && focused_button())
        click(g, g.form.focus);
      break;
    default: on_arrow_key(k); break;
  }
}

// A button has the focus and could be clicked (the slider takes the focus too, but no press).
bool SdlHost::focused_button() const {
  const Form& form = game_->form;
  return form.focus != ctl::form && form[form.focus].kind == Kind::Button && form.clickable(form.focus);
}

// The arrows, the page keys, Home and End: the focused slider's, as a track bar takes them, or
// else the item list's, as the list box takes them. A page is two of the slider's positions, or
// the rows the list shows less one.
void SdlHost::on_arrow_key(SDL_Keycode k) {
  Game& g = *game_;
  constexpr int kToTheEnd = 1 << 20;
  int step = 0, pages = 0;
  switch (k) {
    case SDLK_UP:
    case SDLK_LEFT: step = -1; break;
    case SDLK_DOWN:
    case SDLK_RIGHT: step = 1; break;
    case SDLK_PAGEUP: pages = -1; break;
    case SDLK_PAGEDOWN: pages = 1; break;
    case SDLK_HOME: step = -kToTheEnd; break;
    case SDLK_END: step = kToTheEnd; break;
    default: return;
  }
  const ctl::Id focus = g.form.focus;
  if (focus != ctl::form && g.form[focus].kind == Kind::Slider && g.form.clickable(focus)) {
    const Control& c = g.form[focus];
    const int pos = std::clamp(c.position + step + 2 * pages, c.min, c.max);
    if (pos != c.position) slider_changed(g, pos);
    return;
  }
  step_list(step + pages * list_page());
}

void SdlHost::on_key_up(const SDL_KeyboardEvent& key) {
  if (key.keysym.sym != SDLK_SPACE || space_held_ == ctl::form) return;
  Game& g = *game_;
  const ctl::Id id = space_held_;
  space_held_ = ctl::form;
  if (g.form.focus == id && g.form.clickable(id)) click(g, id);
}

// Tab and Shift+Tab: the next or previous button (or the slider) a player could use, in the
// window's order, round the end.
void SdlHost::move_focus(int direction) {
  Game& g = *game_;
  const std::vector<ctl::Id>& order = g.form.paint_order();
  const int n = static_cast<int>(order.size());
  int at = -1;
  for (int i = 0; i < n; ++i)
    if (order[i] == g.form.focus) at = i;
  for (int step = 1; step <= n; ++step) {
    int i = at < 0 ? (direction > 0 ? step - 1 : n - step) : at + direction * step;
    i = ((i % n) + n) % n;
    const ctl::Id id = order[i];
    const Kind kind = g.form[id].kind;
    if ((kind != Kind::Button && kind != Kind::Slider) || !g.form.clickable(id)) continue;
    g.form.focus = id;
    // A technique button with the focus is pointed at, so the info panel follows the focus.
    if (is_technique(id)) mouse_move(g, id);
    return;
  }
}

void SdlHost::scroll_list(int top) {
  Form& form = game_->form;
  Control& list = form[ctl::item_list];
  const ListGeometry lg = list_geometry(form.window_rect(ctl::item_list), list);
  top = std::clamp(top, 0, lg.max_top);
  if (top == list.top_index) return;
  list.top_index = top;
  form.touch();
}

int SdlHost::list_page() const {
  const Form& form = game_->form;
  const ListGeometry lg = list_geometry(form.window_rect(ctl::item_list), form[ctl::item_list]);
  return std::max(1, lg.visible_rows - 1);
}

// The arrow keys move the item list's selection, keeping it in view.
void SdlHost::step_list(int delta) {
  Game& g = *game_;
  if (!g.form.shown(ctl::item_list)) return;
  const Control& list = g.form[ctl::item_list];
  const int n = static_cast<int>(list.items.size());
  if (n == 0) return;
  // With nothing selected, the first step down lands on the first entry.
  const int from = list.selected < 0 ? (delta > 0 ? -1 : 0) : list.selected;
  const int next = std::clamp(from + delta, 0, n - 1);
  if (next == list.selected) return;
  list_select(g, next);
  const Control& after = g.form[ctl::item_list];
  if (after.selected < 0) return;
  const ListGeometry lg = list_geometry(g.form.window_rect(ctl::item_list), after);
  if (after.selected < after.top_index) scroll_list(after.selected);
  else if (after.selected >= after.top_index + std::max(1, lg.visible_rows))
    scroll_list(after.selected - std::max(1, lg.visible_rows) + 1);
}

void SdlHost::slide_to(int x) {
  Game& g = *game_;
  const Control& c = g.form[ctl::e_sp_l];
  const SliderGeometry sg = slider_geometry(g.form.window_rect(ctl::e_sp_l), c);
  const int pos = slider_position_at(sg, c, x);
  if (pos != c.position) slider_changed(g, pos);
}

void SdlHost::on_mouse_down(const Point& p) {
  Game& g = *game_;
  tip_control_ = ctl::form;  // pressing puts a tip away
  tip_shown_ = false;
  if (!p.inside || capture_ != ctl::form) return;
  space_held_ = ctl::form;
  const ctl::Id id = g.form.hit_test(p.x, p.y);
  if (id == ctl::form) return;
  const Control& c = g.form[id];
  switch (c.kind) {
    case Kind::Button:
      capture_ = id;
      capture_inside_ = true;
      g.form.focus = id;  // a pressed button takes the focus, as on the desktop
      break;
    case Kind::Slider:
      if (id != ctl::e_sp_l) break;
      capture_ = id;
      g.form.focus = id;
      slide_to(p.x);
      break;
    case Kind::ListBox: {
      if (id != ctl::item_list) break;
      capture_ = id;
      const ListGeometry lg = list_geometry(g.form.window_rect(id), c);
      if (lg.scroll_bar && lg.bar.contains(p.x, p.y)) {
        const int rows = std::max(1, lg.visible_rows);
        if (lg.up.contains(p.x, p.y)) scroll_list(c.top_index - 1);
        else if (lg.down.contains(p.x, p.y)) scroll_list(c.top_index + 1);
        else if (lg.thumb.contains(p.x, p.y)) {
          thumb_drag_ = true;
          thumb_grab_ = p.y - lg.thumb.y;
        } else if (p.y < lg.thumb.y) scroll_list(c.top_index - rows);
        else scroll_list(c.top_index + rows);
      } else {
        const int index = list_item_at(lg, c, p.x, p.y);
        if (index >= 0) list_select(g, index);
      }
      break;
    }
    default: break;
  }
}

void SdlHost::on_mouse_up(const Point& p) {
  Game& g = *game_;
  const ctl::Id id = capture_;
  if (id == ctl::form) return;
  const bool over = p.inside && g.form.shown(id) && g.form.visible_rect(id).contains(p.x, p.y) &&
                    g.form.hit_test(p.x, p.y) == id;
  const bool button = g.form[id].kind == Kind::Button;
  drop_capture();
  // Released over the button it was pressed on: a click. The button is drawn raised again
  // before the handler runs, so the handler's repaints show it so.
  if (button && over) click(g, id);
}

void SdlHost::on_mouse_motion(const Point& p) {
  Game& g = *game_;
  if (capture_ != ctl::form) {
    const Control& c = g.form[capture_];
    if (c.kind == Kind::Button)
      capture_inside_ = p.inside && g.form.shown(capture_) && g.form.visible_rect(capture_).contains(p.x, p.y);
    else if (capture_ == ctl::e_sp_l)
      slide_to(p.x);
    else if (capture_ == ctl::item_list && thumb_drag_) {
      const ListGeometry lg = list_geometry(g.form.window_rect(ctl::item_list), c);
      if (lg.scroll_bar) scroll_list(list_top_for_thumb(lg, p.y - thumb_grab_));
    }
    // While a control holds the mouse, the moves are its own.
    mouse_move(g, capture_);
    return;
  }
  if (!p.inside) return;
  const ctl::Id over = g.form.hit_test(p.x, p.y);
  // A tip comes up once the mouse has rested half a second on a control that has one.
  if (over != tip_control_) {
    tip_control_ = g.form[over].look.hint ? over : ctl::form;
    tip_shown_ = false;
    tip_x_ = p.x;
    tip_y_ = p.y;
  }
  if (!tip_shown_) tip_since_ = now_ms();
  mouse_move(g, over);
}

void SdlHost::on_wheel(const SDL_MouseWheelEvent& wheel) {
  Game& g = *game_;
  const Point p = mouse_now();
  if (!p.inside || !g.form.shown(ctl::item_list) || !g.form.visible_rect(ctl::item_list).contains(p.x, p.y))
    return;
  int dy = wheel.y;
  if (wheel.direction == SDL_MOUSEWHEEL_FLIPPED) dy = -dy;
  if (dy != 0) scroll_list(g.form[ctl::item_list].top_index - dy * kWheelLines);
}

bool SdlHost::ask_yes_no(const std::string& text) {
  // Once the window is closing, every further question of the handler is answered no too.
  if (!window_ || question_ || quit_) return false;
  drop_capture();
  question_ = QuestionView{text, 0, -1};
  question_capture_ = -1;
  // Presses already waiting were made before the box appeared (the second click of a double
  // click on the button that asked): meant for the window under it, they answer nothing. Their
  // releases find no press of the box's and are ignored.
  SDL_FlushEvent(SDL_MOUSEBUTTONDOWN);
  if (next_tick_ == 0) next_tick_ = now_ms() + kTimerMs;
  int answer = -1;
  while (answer < 0) answer = loop_once(true);
  question_.reset();
  question_capture_ = -1;
  return answer == 0;
}

// Inside the question: its buttons answer to the mouse and to Y and N; Enter or the space bar
// takes the focused one; clicks anywhere else on the window are refused. A request to close the
// window answers no (nothing is given away) and closes it once the handler has finished.
int SdlHost::question_event(const SDL_Event& ev) {
  QuestionView& q = *question_;
  auto button_at = [&](const Point& p) {
    if (!p.inside || !game_ || !view_) return -1;
    const QuestionGeometry g = view_->question_geometry(game_->form, q);
    if (g.yes.contains(p.x, p.y)) return 0;
    if (g.no.contains(p.x, p.y)) return 1;
    return -1;
  };
  switch (ev.type) {
    case SDL_QUIT: quit_ = true; return 1;
    case SDL_WINDOWEVENT:
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET: handle_window_event(ev); return -1;
    case SDL_KEYDOWN: {
      const SDL_Keycode k = ev.key.keysym.sym;
      if (k == SDLK_F11 || (is_enter(k) && (ev.key.keysym.mod & KMOD_ALT))) {
        if (!ev.key.repeat) toggle_fullscreen();
        return -1;
      }
      if (question_capture_ >= 0) return -1;
      if (k == SDLK_y) return 0;
      if (k == SDLK_n) return 1;
      if (is_enter(k) && !ev.key.repeat && q.pressed < 0) return q.focus;
      if (k == SDLK_SPACE && !ev.key.repeat) q.pressed = q.focus;
      if (k == SDLK_TAB || k == SDLK_LEFT || k == SDLK_RIGHT || k == SDLK_UP || k == SDLK_DOWN) {
        if (q.pressed < 0) q.focus = 1 - q.focus;
      }
      return -1;
    }
    case SDL_KEYUP:
      if (ev.key.keysym.sym == SDLK_SPACE && question_capture_ < 0 && q.pressed >= 0) {
        const int answer = q.pressed;
        q.pressed = -1;
        return answer;
      }
      return -1;
    case SDL_MOUSEBUTTONDOWN: {
      if (ev.button.button != SDL_BUTTON_LEFT) return -1;
      const int b = button_at(map_mouse(ev.button.x, ev.button.y));
      if (b < 0) return -1;  // refused: only the question can be answered now
      question_capture_ = b;
      q.focus = b;
      q.pressed = b;
      return -1;
    }
    case SDL_MOUSEMOTION:
      if (question_capture_ >= 0)
        q.pressed = button_at(map_mouse(ev.motion.x, ev.motion.y)) == question_capture_ ? question_capture_ : -1;
      return -1;
    case SDL_MOUSEBUTTONUP: {
      if (ev.button.button != SDL_BUTTON_LEFT || question_capture_ < 0) return -1;
      const int b = question_capture_;
      question_capture_ = -1;
      q.pressed = -1;
      return button_at(map_mouse(ev.button.x, ev.button.y)) == b ? b : -1;
    }
    default: return -1;
  }
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
  if (!view_ || canvas.empty()) return;
  const TextBlock& block = view_->text().caption(text, font, 1, 0);
  canvas.fill_rect(x, y, x + block.width, y + block.height());
  for (size_t i = 0; i < block.lines.size(); ++i) {
    const auto& ink = block.lines[i].ink;
    if (!ink) continue;
    const int top = y + static_cast<int>(i) * block.line_height + block.ink_top;
    canvas.blend_mask(x, top, ink->width, ink->height, ink->alpha.data(), colour);
  }
}

AudioDevice* SdlHost::audio_device() {
  if (!audio_) audio_ = std::make_unique<SdlAudioDevice>();
  return audio_->started() ? audio_.get() : nullptr;
}
