// The game's host, which each platform provides.
#pragma once
#include <cstdint>
#include <string>

class AudioDevice;
class Canvas;
struct Font;

// What the game needs from the machine it runs on. The SDL host is the real window; the headless
// host runs on a virtual clock for tests, benchmarks and the scripted driver.
class Host {
 public:
  virtual ~Host() = default;
  virtual int64_t now_ms() = 0;
  // Blocks the game for ms milliseconds; the window stays alive, input waits in its queue.
  virtual void sleep_ms(int ms) = 0;
  // Draws the window now, as the form says.
  virtual void repaint() = 0;
  // The modal question box (title "確認", question icon, buttons "はい(&Y)" and "いいえ(&N)"):
  // true for yes. While it waits, the 10 ms timer keeps running and clicks elsewhere are refused.
  virtual bool ask_yes_no(const std::string& text) = 0;
  // The toolkit's standard error box (Shift-JIS text).
  virtual void show_error(const std::string& text) = 0;
  // Replaces the canvas by a Windows bitmap file; false (canvas untouched) if it cannot be read.
  virtual bool load_bitmap(const std::string& path, Canvas& into) = 0;
  // Moves the window by (dx, dy) pixels, for the battle's shake. A host whose window cannot be
  // moved shakes its contents instead; one without a window ignores it.
  virtual void move_window(int dx, int dy) {
    (void)dx;
    (void)dy;
  }
  // Writes text (Shift-JIS) on a canvas at (x, y) in the font and colour, over a box of the
  // canvas's brush colour, as the toolkit's text output does. Needs the platform's fonts; a
  // host without them leaves the canvas as it is.
  virtual void draw_text(Canvas& canvas, int x, int y, const std::string& text, const Font& font,
                         uint32_t colour) {
    (void)canvas, (void)x, (void)y, (void)text, (void)font, (void)colour;
  }
  // The wave output the mixer plays through, or nullptr when there is none (the game is silent).
  virtual AudioDevice* audio_device() { return nullptr; }
  // A sound the game asked for, by file name (heard once the mixer is in; recorded always).
  virtual void sound_played(const std::string& name) = 0;
  // A message the game typed out (Shift-JIS), for hosts that keep a transcript.
  virtual void message_shown(const std::string& text) = 0;
};

// A host with no window, clock, pictures or sound, for the tools that only read and write the
// game's data files.
class QuietHost : public Host {
 public:
  int64_t now_ms() override { return 0; }
  void sleep_ms(int) override {}
  void repaint() override {}
  bool ask_yes_no(const std::string&) override { return false; }
  void show_error(const std::string&) override {}
  bool load_bitmap(const std::string&, Canvas&) override { return false; }
  void sound_played(const std::string&) override {}
  void message_shown(const std::string&) override {}
};
