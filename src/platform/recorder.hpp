#pragma once
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "render/control_input.hpp"
#include "ui/form.hpp"

struct Game;

// Passes the player's input from a host (the window, the page) on to the game and, when recording
// (the window's --record FILE), writes it down as a script for the scripted driver, so that a bug
// report can carry the session: played headless on a copy of the data as it was when the window
// opened, the script replays the session exactly and ends in the same state.
//
// Each operation is written with what it took from outside the game, queued before it: the
// random draws as a `draws` line, the answers to its questions as `answer` lines (with the ticks
// of the timer that ran while the question waited). The timer's ticks between operations are
// written as `tick N`.
class Recorder {
 public:
  // Records into `path` when it is not empty; `header` is written first, as comments.
  explicit Recorder(const std::string& path = "", const std::string& header = "");
  bool recording() const { return out_.is_open(); }

  // From the end of the creation step on, the game's draws are written down.
  void start(Game& g);
  // The operations of the window, run on the game.
  void click(Game& g, ctl::Id id);
  void hover(Game& g, ctl::Id over);
  // The driver's `select` and `slider` stand for the window's only list and slider.
  void select(Game& g, ctl::Id list, int index);
  void slide(Game& g, ctl::Id slider, int position);
  // The keys every host takes alike: Tab (+1) or Shift+Tab (-1) moves the focus (a technique
  // button with the focus is pointed at, so the info panel follows it); a move key moves the
  // focused slider, or else the shown list's selection, kept in view.
  void move_focus(Game& g, int direction);
  void move_key(Game& g, MoveKey key);
  bool tick(Game& g);  // what timer_tick() says
  // The answer the question box got; returns it.
  bool answered(bool yes);
  // The window closes: the last ticks and `close`, and the file is flushed.
  void close();

 private:
  template <class Op>
  void record(const std::string& command, Op run);
  void write(const std::string& line);
  void report_failure();  // said on standard error, once; nothing more is written
  void write_ticks();

  std::ofstream out_;
  std::string path_;
  bool failed_ = false;
  int depth_ = 0;               // operations running (a question's ticks run inside one)
  int ticks_ = 0;               // ticks between operations not written yet
  int question_ticks_ = 0;      // ticks while the current question waits
  std::vector<int32_t> draws_;  // drawn by the running operation
  std::vector<std::string> answers_;
  std::string last_;  // the last operation written (ticks aside)
};
