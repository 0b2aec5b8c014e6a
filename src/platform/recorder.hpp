// The recording of a session (--record FILE): every operation the input path hands the game,
// written down as a script for the scripted driver.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "storage/storage.hpp"

struct Game;

// Attached to the input path only when recording, it writes a bug report's session so that,
// played headless on a copy of the data as it was when the window opened, the script replays it
// exactly and ends in the same state.
//
// Each operation is written with what it took from outside the game, queued before it: the
// random draws as a `draws` line, the answers to its questions as `answer` lines (with the ticks
// of the timer that ran while the question waited). The timer's ticks between operations are
// written as `tick N`.
class Recorder {
 public:
  // Records into `path` when it is not empty; `header` is written first, as comments.
  explicit Recorder(const std::string& path = "", const std::string& header = "");
  bool recording() const { return out_ != nullptr; }

  // From the end of the creation step on, the game's draws are written down.
  void start(Game& g);
  // Runs one operation of the player's and writes it as `command`, after what it took.
  void record(const std::string& command, const std::function<void()>& run);
  // Pointing: the mouse moving within one control points at it again and again, and pointing
  // sets nothing but what the control names, so one line stands for the run, up to the next
  // other operation.
  void record_hover(const std::string& command, const std::function<void()>& run);
  // A tick of the 10 ms timer; returns what it says (whether it changed anything).
  bool record_tick(const std::function<bool()>& run);
  // The answer the question box got.
  void answered(bool yes);
  // The window closes: the last ticks and `close`, and the file is flushed.
  void close();

 private:
  void write(const std::string& line);
  void report_failure(const std::string& why);  // said on standard error, once; nothing more is written
  void write_ticks();

  std::unique_ptr<OutputFile> out_;  // each line written as it comes, so a crash keeps the session
  std::string path_;
  bool failed_ = false;
  int depth_ = 0;               // operations running (a question's ticks run inside one)
  int ticks_ = 0;               // ticks between operations not written yet
  int question_ticks_ = 0;      // ticks while the current question waits
  std::vector<int32_t> draws_;  // drawn by the running operation
  std::vector<std::string> answers_;
  std::string last_;  // the last operation written (ticks aside)
};
