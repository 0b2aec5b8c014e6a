#include "platform/recorder.hpp"

#include <cstdio>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "game/input.hpp"
#include "ui/technique_buttons.hpp"

Recorder::Recorder(const std::string& path, const std::string& header) : path_(path) {
  if (path.empty()) return;
  out_.open(path, std::ios::trunc);
  if (!out_) {
    report_failure();
    return;
  }
  size_t start = 0;
  while (start < header.size()) {
    const size_t end = header.find('\n', start);
    write("# " + header.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

void Recorder::start(Game& g) {
  if (!recording()) return;
  g.rng.on_draw = [this](int32_t v) { draws_.push_back(v); };
}

void Recorder::report_failure() {
  std::fprintf(stderr, "lushera: cannot write the recording %s\n", path_.c_str());
  failed_ = true;
}

void Recorder::write(const std::string& line) {
  if (!recording() || failed_) return;
  out_ << line << '\n';
  if (!out_) report_failure();
}

void Recorder::write_ticks() {
  if (ticks_ > 0) write(ticks_ == 1 ? "tick" : "tick " + std::to_string(ticks_));
  ticks_ = 0;
}

// Runs one operation and writes it after what it took: the replay must queue the draws and the
// answers before running it.
template <class Op>
void Recorder::record(const std::string& command, Op run) {
  ++depth_;
  run();
  --depth_;
  if (depth_ > 0) return;
  if (command == "tick" && draws_.empty() && answers_.empty()) {
    ++ticks_;
    return;
  }
  write_ticks();
  constexpr size_t kDrawsPerLine = 32;
  for (size_t i = 0; i < draws_.size(); i += kDrawsPerLine) {
    std::string line = "draws";
    for (size_t k = i; k < draws_.size() && k < i + kDrawsPerLine; ++k) line += ' ' + std::to_string(draws_[k]);
    write(line);
  }
  for (const std::string& a : answers_) write(a);
  write(command);
  last_ = command;
  draws_.clear();
  answers_.clear();
}

void Recorder::click(Game& g, ctl::Id id) {
  if (!recording()) return ::click(g, id);
  record("click " + std::string(Form::name(id)), [&] { ::click(g, id); });
}

// The mouse moving within one control points at it again and again; pointing sets nothing but
// what the control names, so one line stands for the run, up to the next other operation.
void Recorder::hover(Game& g, ctl::Id over) {
  if (!recording()) return mouse_move(g, over);
  const std::string command = "hover " + std::string(over == ctl::form ? "form" : Form::name(over));
  if (depth_ == 0 && command == last_) return mouse_move(g, over);
  record(command, [&] { mouse_move(g, over); });
}

void Recorder::select(Game& g, ctl::Id list, int index) {
  if (!recording()) return list_select(g, list, index);
  record("select " + std::to_string(index), [&] { list_select(g, list, index); });
}

void Recorder::slide(Game& g, ctl::Id slider, int position) {
  if (!recording()) return slider_changed(g, slider, position);
  record("slider " + std::to_string(position), [&] { slider_changed(g, slider, position); });
}

void Recorder::move_focus(Game& g, int direction) {
  const ctl::Id id = g.form.next_focus(direction);
  if (id == ctl::form) return;
  g.form.focus = id;
  if (technique_of(id) != 0) hover(g, id);
}

void Recorder::move_key(Game& g, MoveKey key) {
  const KeyMove move = move_key_target(g.form, key);
  if (move.id == ctl::form) return;
  if (g.form[move.id].kind == Kind::Slider) return slide(g, move.id, move.value);
  select(g, move.id, move.value);
  scroll_to_selection(g.form, move.id);
}

// The timer also runs while a question waits, inside the operation that asked: those ticks go
// with the question's answer, which the driver gives after running them.
bool Recorder::tick(Game& g) {
  if (!recording()) return timer_tick(g);
  if (depth_ > 0) {
    ++question_ticks_;
    return timer_tick(g);
  }
  bool changed = false;
  record("tick", [&] { changed = timer_tick(g); });
  return changed;
}

bool Recorder::answered(bool yes) {
  if (recording()) {
    std::string line = yes ? "answer yes" : "answer no";
    if (question_ticks_ > 0) line += ' ' + std::to_string(question_ticks_);
    answers_.push_back(line);
  }
  question_ticks_ = 0;
  return yes;
}

void Recorder::close() {
  if (!recording()) return;
  write_ticks();
  write("close");
  out_.flush();
  if (!out_ && !failed_) report_failure();
  out_.close();
}
