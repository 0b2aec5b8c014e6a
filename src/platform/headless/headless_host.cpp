// The headless host's bitmaps, its transcript lines and its scripted answers to questions.
#include "platform/headless/headless_host.hpp"

#include <algorithm>

#include "platform/bitmap.hpp"

bool HeadlessHost::load_bitmap(const std::string& path, Canvas& into) {
  ++bitmap_reads[path];
  return bitmaps_.load(path, into);
}

void HeadlessHost::note(std::string_view head, std::string_view rest) {
  line_.clear();
  for (std::string_view part : {head, rest})
    for (size_t at = 0; at < part.size();) {
      const size_t cr = std::min(part.find('\r', at), part.size());
      line_.append(part.substr(at, cr - at));
      if (cr == part.size()) break;
      line_ += "\\r";
      at = cr + 1;
    }
  if (on_line) on_line(line_);
  if (keep_transcript) transcript.push_back(line_);
}

bool HeadlessHost::ask_yes_no(const std::string& text) {
  note("question: ", sjis_.to_utf8(text));
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
