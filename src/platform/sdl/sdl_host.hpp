// The real window's host and its options.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/host.hpp"
#include "platform/bitmap.hpp"
#include "platform/input_path.hpp"
#include "platform/recorder.hpp"
#include "platform/sdl/event_wait.hpp"
#include "platform/sdl/host_clock.hpp"
#include "platform/sdl/sdl_audio_device.hpp"
#include "platform/sdl/renderer.hpp"
#include "platform/sdl/window_zoom.hpp"
#include "render/control_input.hpp"
#include "render/freetype_raster.hpp"
#include "ui/form.hpp"
#include "ui/sjis.hpp"

struct Game;

struct SdlOptions {
  // The zoom, 1 to kMaxZoom, cut to what fits on the screen; 0: the one remembered in
  // `zoom_file`, else the first zoom (first_zoom) of the screen.
  int scale = 0;
  // The full design height of the window, with the developer buttons below the game's area.
  bool dev = false;
  // What the loop reads the time from and waits on (never null): the machine's clock, unless a
  // test brings its own.
  std::shared_ptr<HostClock> clock = std::make_shared<SystemClock>();
  // --record FILE: the player's input is written there as a script for the driver, headed by
  // these comment lines.
  std::string record{};
  std::string record_header{};
  // The settings file the zoom chosen with Ctrl+plus and Ctrl+minus is kept in; none when empty.
  std::string zoom_file{};
};

// The real window. Its work lies in three files: the window's life and loop (sdl_host.cpp), its
// events and a game controller's turned into the input path's (sdl_input.cpp) and the modal
// question (question_box.cpp).
// The game's handlers block, as the toolkit it was written for let them: while a handler sleeps
// the window stays alive (it is presented again when uncovered) but input waits in its queue, to
// be dispatched in order once the handler has returned. The 10 ms timer runs between handlers
// and inside the modal question only.
class SdlHost : public Host {
 public:
  explicit SdlHost(SdlOptions options = {});
  SdlHost(int scale, bool dev) : SdlHost(SdlOptions{scale, dev}) {}
  ~SdlHost() override;
  SdlHost(const SdlHost&) = delete;
  SdlHost& operator=(const SdlHost&) = delete;

  // Opens the window, runs create_window, then the event loop until the window is closed (or
  // the process is asked to end), then close_window. 0 when done, 1 if no window could be made.
  int run(Game& g);
  // Opens the (still hidden) window for a client area of that size; run() does it itself. Input
  // queued after this is handled by run(). False, with the reason reported, on failure.
  bool open(int client_width, int client_height);

  // The game whose window this is, without running the loop (run() attaches it itself).
  void attach(Game& g);
  // Handles the input queued so far as the loop would, without the timer, and returns once the
  // queue is empty (or the window was asked to close).
  void handle_pending_input();
  bool quit_requested() const { return quit_; }

  // Time spent drawing frames ourselves and handing them to the window system, for benchmarks.
  struct DrawStats {
    int64_t frames = 0;
    double compose_ms = 0;
    double present_ms = 0;
  };
  const DrawStats& draw_stats() const { return stats_; }
  void reset_draw_stats() { stats_ = {}; }

  int scale() const { return scale_; }
  bool fullscreen() const { return fullscreen_; }
  SDL_Window* window() const { return window_; }
  // What draws the window (null until it is open).
  WindowRenderer* view() { return view_.get(); }

  int64_t now_ms() override;
  void sleep_ms(int ms) override;
  void repaint() override;
  bool ask_yes_no(const std::string& text) override;
  void show_error(const std::string& text) override;
  bool load_bitmap(const std::string& path, Canvas& into) override;
  void move_window(int dx, int dy) override;
  void draw_text(Canvas& canvas, int x, int y, const std::string& text, const Font& font,
                 uint32_t colour) override;
  // The system's sound output, opened on first use; nullptr when SDL has no audio at all.
  AudioDevice* audio_device() override;
  // The mixer plays the sound; nothing else is kept of it here.
  void sound_played(const std::string&) override {}
  // The window shows messages itself; nothing keeps a transcript here.
  void message_shown(const std::string&) override {}

 private:
  // Says what went wrong on stderr and in a box; `starting` while the window was never shown.
  void report(const std::string& utf8, bool starting = true);
  void show_window();  // the form as it stands, drawn and shown
  int choose_scale(int w, int h) const;
  SDL_Rect picture_rect(int ow, int oh, int& zoom) const;
  // Shows the last composed frame; `whole` when the window may have lost what it showed.
  void present(bool whole = false);
  bool compose_if_needed();  // true when it composed a frame
  bool redraw_if_needed();   // composes and presents; true when it drew
  // Nothing can change before the next input: the input path's timer has settled and no sound
  // is being fed. The timer then rests.
  bool at_rest() const;
  void loop_once();
  // A point of the window in the game's units (not `inside` on the black around the picture).
  Pointer map_mouse(int window_x, int window_y) const;
  Pointer mouse_now() const;
  void toggle_fullscreen();
  // Ctrl+plus and Ctrl+minus: one zoom up or down, as far as the screen has room, kept for the
  // next start.
  void change_zoom(int step);
  static int zoom_step(const SDL_KeyboardEvent& key);  // +1, -1, or 0 for any other key
  void handle_window_event(const SDL_Event& ev);
  void dispatch(const SDL_Event& ev);
  // Game controllers: looked for once the window shows (its first turn of the loop), each opened
  // as it comes and closed as it goes; their buttons and left stick go to the input path.
  void watch_pads();
  void pad_event(const SDL_Event& ev);
  // What the window system brings must be read on every turn: SDL's own waiting stands in for
  // the X connection's, or a controller's events come from elsewhere.
  bool pump_every_turn() const;

  SdlOptions options_;
  HostClock& clock_;
  Sjis sjis_;
  BitmapFiles bitmaps_;
  bool video_started_ = false;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<FreeTypeRaster> fonts_;
  std::unique_ptr<WindowRenderer> view_;
  std::unique_ptr<EventWait> waiter_;
  std::unique_ptr<SdlAudioDevice> audio_;
  int scale_ = 1;
  bool fullscreen_ = false;
  // Where the window's surface shows the last frame copied, on a surface of that size.
  struct Shown {
    SDL_Rect at;
    int w, h;
    bool operator==(const Shown& o) const {
      return at.x == o.at.x && at.y == o.at.y && at.w == o.at.w && at.h == o.at.h && w == o.w && h == o.h;
    }
  };
  std::optional<Shown> shown_;
  PauseChain<HostClock::Duration> pauses_;

  Game* game_ = nullptr;
  // Every input the game gets from the window goes through it; the recorder listens with --record.
  InputPath input_;
  Recorder recorder_;
  bool quit_ = false;
  bool pads_watched_ = false, pads_started_ = false;
  std::vector<SDL_GameController*> pads_;
  int stick_x_ = 0, stick_y_ = 0;  // the left stick, as SDL last said
  bool must_pump_ = true;
  int64_t last_pump_ = 0;

  // Where the window system does not let a program move its window (full screen, Wayland), the
  // shake moves the picture inside it instead, by this many window pixels.
  int shake_x_ = 0, shake_y_ = 0;
  // Where the window stood before it went full screen.
  int windowed_x_ = SDL_WINDOWPOS_CENTERED, windowed_y_ = SDL_WINDOWPOS_CENTERED;
  DrawStats stats_;
  int drawn_width_ = 0, drawn_height_ = 0;  // the client area the window was last sized for
};
