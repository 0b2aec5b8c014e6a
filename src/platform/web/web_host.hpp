#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "core/host.hpp"
#include "platform/bitmap.hpp"
#include "platform/recorder.hpp"
#include "platform/web/web_audio_device.hpp"
#include "platform/web/web_raster.hpp"
#include "render/control_input.hpp"
#include "render/form_renderer.hpp"
#include "ui/sjis.hpp"

struct Game;

// The game in a web page: the composed frame drawn on the page's canvas, the mouse, touch and the
// keyboard from the browser's events, and the game's blocking pauses as real waits in which the
// browser goes on (Asyncify), so the game code runs as it does on the desktop.
class WebHost : public Host {
 public:
  // The canvas is the page element with that CSS selector; the zoom is 1 to 4.
  WebHost(const char* canvas, int scale);
  ~WebHost() override;

  // Runs the game until the page goes: the creation step, then input and the 10 ms timer.
  int run(Game& g);

  int64_t now_ms() override;
  void sleep_ms(int ms) override;
  void repaint() override;
  bool ask_yes_no(const std::string& text) override;
  void show_error(const std::string& text) override;
  bool load_bitmap(const std::string& path, Canvas& into) override;
  void draw_text(Canvas& canvas, int x, int y, const std::string& text, const Font& font,
                 uint32_t colour) override;
  // Shows a UTF-8 text on the page (and on the console).
  void report(const std::string& utf8);
  AudioDevice* audio_device() override { return &audio_; }
  void sound_played(const std::string&) override {}
  void message_shown(const std::string&) override {}

  // What the browser's callbacks hand over, in window coordinates.
  struct Input {
    enum Kind { Down, Up, Move, Key, Wheel, Resize } kind;
    int x = 0, y = 0;  // Wheel: y is the notches turned, up positive
    std::string key;  // Key: the DOM key name ("Tab", "Enter", "y" ...)
    bool shift = false;
  };
  void queue(Input in);
  // A position on the canvas in CSS pixels, in window units.
  int window_units(double css) const { return static_cast<int>(css * screen_pixels_) / scale_; }
  Game* game() { return game_; }
  // Writes the save and hands it to the browser's storage (when the data was read).
  void save();

 private:
  void redraw(bool force = false);
  void publish_controls();
  void handle_input();
  void dispatch(const Input& in);
  // Inside the question box: 0 yes, 1 no, -1 not yet.
  int question_input(const Input& in);
  void tick_if_due();
  // The page changed size: the picture takes the largest zoom that fits it now.
  void rezoom();
  // The page's fonts changed: the text is laid out and drawn anew, the whole frame with it.
  void refont();
  // Until the next tick; once the ticks have settled and no sound plays, until the page hands
  // over input or asks for a save.
  void wait();

  std::string canvas_;
  int scale_;
  double screen_pixels_ = 1;  // the screen's pixels to a CSS pixel
  Game* game_ = nullptr;
  Sjis sjis_;
  WebRaster raster_;
  std::unique_ptr<FormRenderer> view_;  // at the zoom that fits the page
  BitmapFiles bitmaps_;
  WebAudioDevice audio_;
  Recorder input_path_;  // the keys' shared path to the game (the page records nothing)
  std::deque<Input> input_;
  std::optional<QuestionView> question_;
  ctl::Id pressed_ = ctl::form;  // the button under a held mouse button
  ctl::Id held_list_ = ctl::form;   // the list whose scroll thumb is held
  std::optional<int> thumb_grab_;
  TipTimer tip_;
  int mouse_x_ = 0, mouse_y_ = 0;
  int64_t next_tick_ = 0;
  double pause_end_ = 0;  // when the last pause was due to end (emscripten_get_now)
  struct {
    double asked = 0, first_start = 0, last_end = 0;
  } pauses_;  // the running handler's, for the page's figures
  bool ticks_settled_ = false;  // the last tick changed nothing, and nothing came since
  uint64_t drawn_revision_ = 0;
  bool published_ = false;  // the controls as the page's tests see them: published when the loop waits
  uint64_t published_revision_ = 0;
  ctl::Id published_focus_ = ctl::form;
  ctl::Id drawn_focus_ = ctl::form;
  UiState drawn_ui_;
  bool drawn_ = false;
  uint64_t saved_revision_ = 0;  // what the window showed when the save was last written
};
