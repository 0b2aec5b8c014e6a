// Writing the recording: the header, and each operation after its ticks, draws and answers.
#include "platform/recorder.hpp"

#include <cstdio>

#include "core/game.hpp"

Recorder::Recorder(const std::string& path, const std::string& header) : path_(path) {
  if (path.empty()) return;
  std::string error;
  out_ = storage().create_file(path, error);
  if (!out_) {
    report_failure(error);
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
  g.rng.on_draw = [this](int32_t v) { draws_.push_back(v); };
}

void Recorder::report_failure(const std::string& why) {
  std::fprintf(stderr, "lushera: cannot write the recording %s: %s\n", path_.c_str(), why.c_str());
  failed_ = true;
}

void Recorder::write(const std::string& line) {
  if (!recording() || failed_) return;
  const std::string text = line + '\n';
  if (std::string error = out_->write(text.data(), text.size()); !error.empty()) report_failure(error);
}

void Recorder::write_ticks() {
  if (ticks_ > 0) write(ticks_ == 1 ? "tick" : "tick " + std::to_string(ticks_));
  ticks_ = 0;
}

// The replay must queue the draws and the answers before running the operation.
void Recorder::record(const std::string& command, const std::function<void()>& run) {
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

void Recorder::record_hover(const std::string& command, const std::function<void()>& run) {
  if (depth_ == 0 && command == last_) return run();
  record(command, run);
}

// The timer also runs while a question waits, inside the operation that asked: those ticks go
// with the question's answer, which the driver gives after running them.
bool Recorder::record_tick(const std::function<bool()>& run) {
  bool changed = false;
  if (depth_ > 0) {
    ++question_ticks_;
    return run();
  }
  record("tick", [&] { changed = run(); });
  return changed;
}

void Recorder::answered(bool yes) {
  std::string line = yes ? "answer yes" : "answer no";
  if (question_ticks_ > 0) line += ' ' + std::to_string(question_ticks_);
  answers_.push_back(line);
  question_ticks_ = 0;
}

void Recorder::close() {
  write_ticks();
  write("close");
  if (!out_) return;
  if (std::string error = out_->close(false); !error.empty() && !failed_) report_failure(error);
  out_.reset();
}
