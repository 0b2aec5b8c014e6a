// The headless host, the game without a window.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "audio/virtual_audio_device.hpp"
#include "core/host.hpp"
#include "platform/bitmap.hpp"
#include "ui/sjis.hpp"

// The host of tests, benchmarks and the scripted driver: a virtual clock that sleeping advances
// at once, and a transcript of what a player would have seen and heard (UTF-8 lines).
class HeadlessHost : public Host {
 public:
  int64_t now_ms() override { return clock_ms; }
  void sleep_ms(int ms) override {
    if (ms <= 0) return;
    clock_ms += ms;
    if (with_audio) audio.advance(ms);
  }
  // The virtual output, for tests that listen; off unless asked for (then the game is silent).
  AudioDevice* audio_device() override { return with_audio ? &audio : nullptr; }
  void repaint() override {
    ++repaints;
    if (on_repaint) on_repaint();
  }
  bool ask_yes_no(const std::string& text) override;
  void show_error(const std::string& text) override {
    if (listening()) note("error-box: ", sjis_.to_utf8(text));
  }
  bool load_bitmap(const std::string& path, Canvas& into) override;
  void sound_played(const std::string& name) override {
    if (listening()) note("sound: ", name);
  }
  void message_shown(const std::string& text) override {
    if (listening()) note("message: ", sjis_.to_utf8(text));
  }

  void move_window(int dx, int dy) override {
    window_x += dx;
    window_y += dy;
    ++window_moves;
  }

  // Whether anybody keeps or prints the transcript; without one, nothing is written down.
  bool listening() const { return keep_transcript || on_line != nullptr; }
  // A transcript line, of a head and the rest; CRs are written as \r.
  void note(std::string_view head, std::string_view rest = {});

  // An answer for a coming question, given after the 10 ms timer has run `ticks` times while the
  // question waited (as the window's timer goes on under its question box).
  struct Answer {
    Answer(bool yes, int ticks = 0) : yes(yes), ticks(ticks) {}
    bool yes;
    int ticks;
  };
  // Answers for the coming questions; a question with none queued is answered no.
  std::deque<Answer> answers;
  // The timer, for the ticks of a question's wait (the driver sets it).
  std::function<void()> on_timer;
  bool with_audio = false;
  VirtualAudioDevice audio;
  int64_t clock_ms = 0;
  int window_x = 0, window_y = 0;
  int64_t window_moves = 0;
  int64_t repaints = 0;
  // How often each bitmap file was read, by path.
  std::map<std::string, int> bitmap_reads;
  bool keep_transcript = true;
  std::vector<std::string> transcript;
  // Where each transcript line also goes as it happens (the driver prints it).
  std::function<void(const std::string&)> on_line;
  std::function<void()> on_repaint;

 private:
  Sjis sjis_;
  BitmapFiles bitmaps_;
  std::string line_;  // the transcript line being written, its buffer kept from line to line
};
