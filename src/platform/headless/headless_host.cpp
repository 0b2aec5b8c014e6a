// The headless host's bitmaps, its transcript lines and its scripted answers to questions.
#include "platform/headless/headless_host.hpp"

#include "platform/bitmap.hpp"

bool HeadlessHost::load_bitmap(const std::string& path, Canvas& into) {
  ++bitmap_reads[path];
  return bitmaps_.load(path, into);
}

void HeadlessHost::note(const std::string& line) {
  std::string out;
  out.reserve(line.size());
  for (char c : line) {
    if (c == '\r') out += "\\r";
    else out += c;
  }
  if (on_line) on_line(out);
  if (keep_transcript) transcript.push_back(std::move(out));
}

bool HeadlessHost::ask_yes_no(const std::string& text) {
  note("question: " + sjis_.to_utf8(text));
  bool yes = false;
  if (!answers.empty()) {
    const Answer a = answers.front();
    answers.pop_front();
    for (int i = 0; i < a.ticks && on_timer; ++i) on_timer();
    yes = a.yes;
  }
  note(yes ? "answer: yes" : "answer: no");
  return yes;
}
