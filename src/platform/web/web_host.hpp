// The web page's host.
#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "core/host.hpp"
#include "core/savefile.hpp"
#include "platform/bitmap.hpp"
#include "platform/input_path.hpp"
#include "platform/web/web_audio_device.hpp"
#include "platform/web/web_raster.hpp"
#include "render/control_input.hpp"
#include "render/form_renderer.hpp"
#include "ui/sjis.hpp"

struct Game;

// The game in a web page: the composed frame drawn on the page's canvas, the mouse, touch and the
// keyboard from the browser's events (a game controller from the page's Gamepad API), and the game's blocking pauses as real waits in which the
// browser goes on (Asyncify), so the game code runs as it does on the desktop. Its work lies in
// files by job: the picture and errors (web_host.cpp), the input (web_input.cpp), the loop, pauses
// and question (web_loop.cpp), the save (web_save.cpp), the controls published to the page
// (web_controls.cpp), and the page's scripts it calls (page_calls.cpp).
class WebHost : public Host {
 public:
  // The canvas is the page element with that CSS selector; the zoom is 1 to kMaxZoom.
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
  // Read out by screen readers, and the moment to store what the game just did: the game tells
  // of a change once it is made.
  void message_shown(const std::string& text) override;

  // What the browser's callbacks hand over, in window coordinates. Touch*: the first finger.
  // Press: a control pressed from the page by its name (a screen reader's button; "yes" and "no"
  // answer the question). LeaveFocus: Tab took the focus out of the game to the page's own
  // controls. Pad*: a game controller's button, Stick its left stick at x, y, PadGone: it went.
  struct Input {
    enum Kind { Down, Up, Move, KeyDown, KeyUp, Wheel, Resize, TouchStart, TouchMove, TouchEnd, Press, LeaveFocus,
                PadDown, PadUp, Stick, PadGone };
    Input(Kind k, int at_x = 0, int at_y = 0) : kind(k), x(at_x), y(at_y) {}
    Kind kind;
    int x = 0, y = 0;  // Wheel: y is the notches turned, up positive
    Key key = Key::Tab;
    PadButton pad = PadButton::A;
    bool shift = false, repeat = false;
    std::string name;
    int64_t at = 0;  // Touch*: when it came (now_ms)
  };
  void queue(Input in);
  // A position on the canvas in CSS pixels, in window units, as the page lays the canvas out now
  // (the game may not have heard of a new size yet).
  static int window_units(double css);
  // Whether Tab (or Shift+Tab) would take the focus round the end of the game's controls: the
  // page's own controls come next.
  bool tab_leaves_game(bool back) const;
  // Writes the save and hands it to the browser's storage, when the data was read and the pair
  // differs from the one last handed over.
  void save();

 private:
  void redraw();
  void publish_controls();
  void handle_input();
  void dispatch(const Input& in);
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
  Game* game_ = nullptr;
  Sjis sjis_;
  WebRaster raster_;
  std::unique_ptr<FormRenderer> view_;  // at the zoom that fits the page
  BitmapFiles bitmaps_;
  WebAudioDevice audio_;
  InputPath input_;
  std::deque<Input> input_queue_;
  PauseChain<double> chain_;  // the handlers' pauses, on the page's clock (ms)
  struct {
    double asked = 0, first_start = 0, last_end = 0;
  } pauses_;  // the running handler's, for the page's figures
  bool published_ = false;  // the controls as the page's tests see them: published when the loop waits
  uint64_t published_revision_ = 0;
  ctl::Id published_focus_ = ctl::form;
  bool published_question_ = false;
  uint64_t saved_revision_ = 0;  // what the window showed when the save was last written
  SavePair saved_;  // the pair last handed to the browser's storage
};
