// Reading the driver's scripts: lines within their bound, then each line's words into a command.
#include "platform/headless/script_reader.hpp"

#include <string_view>
#include <utility>

#include "core/whole_number.hpp"

namespace {

// Without the blanks (spaces, tabs, carriage returns) at either end.
std::string_view trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// The words of a text as a stream reads them: runs of anything but white space.
struct Words {
  std::string_view text;

  static bool space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
  // The next word, or "" at the end; `text` keeps what follows it.
  std::string_view next() {
    size_t b = 0;
    while (b < text.size() && space(text[b])) ++b;
    size_t e = b;
    while (e < text.size() && !space(text[e])) ++e;
    const std::string_view word = text.substr(b, e - b);
    text.remove_prefix(e);
    return word;
  }
};

using Kind = ScriptCommand::Kind;

ScriptLine fault(std::string why) { return {std::nullopt, std::move(why)}; }
ScriptLine command(ScriptCommand c) { return {std::move(c), ""}; }

// A count of ticks: a whole number from 0 to kMaxScriptTicks.
bool tick_count(std::string_view text, int& out) {
  int n = 0;
  if (!parse_whole_number(text, n) || n < 0 || n > kMaxScriptTicks) return false;
  out = n;
  return true;
}

}  // namespace

ScriptLine read_script_command(std::string_view line) {
  Words words{line};
  const std::string_view cmd = words.next();
  const std::string_view rest = trim(words.text);
  ScriptCommand c;
  c.name = rest;

  if (cmd == "click" || cmd == "hover" || cmd == "get" || cmd == "caption" || cmd == "visible") {
    c.kind = cmd == "click"     ? Kind::click
             : cmd == "hover"   ? Kind::hover
             : cmd == "get"     ? Kind::get
             : cmd == "caption" ? Kind::caption
                                : Kind::visible;
    return command(std::move(c));
  }
  if (cmd == "select") {
    c.kind = Kind::select;
    if (!parse_whole_number(rest, c.number)) return fault("select needs an entry number");
    return command(std::move(c));
  }
  if (cmd == "slider") {
    c.kind = Kind::slider;
    if (!parse_whole_number(rest, c.number)) return fault("slider needs a position");
    return command(std::move(c));
  }
  if (cmd == "answer") {
    c.kind = Kind::answer;
    Words parts{rest};
    const std::string_view word = parts.next(), ticks = parts.next();
    const bool counted = ticks.empty() || tick_count(ticks, c.number);
    if ((word != "yes" && word != "no") || !counted || !parts.next().empty())
      return fault("answer yes or answer no, then the ticks before it (0 to " +
                   std::to_string(kMaxScriptTicks) + ")");
    c.yes = word == "yes";
    return command(std::move(c));
  }
  if (cmd == "draws") {
    c.kind = Kind::draws;
    Words values{rest};
    for (std::string_view v = values.next(); !v.empty(); v = values.next()) {
      int n = 0;
      if (!parse_whole_number(v, n)) return fault("not a draw: " + std::string(v));
      c.draws.push_back(n);
    }
    return command(std::move(c));
  }
  if (cmd == "set") {
    // set FIELD VALUE: the value is the rest of the line after one space
    c.kind = Kind::set;
    Words parts{rest};
    c.name = parts.next();
    std::string_view value = parts.text;
    if (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    c.value = value;
    return command(std::move(c));
  }
  if (cmd == "tick") {
    c.kind = Kind::tick;
    c.number = 1;
    if (!rest.empty() && !tick_count(rest, c.number))
      return fault("tick needs a count from 0 to " + std::to_string(kMaxScriptTicks));
    return command(std::move(c));
  }
  if (cmd == "screenshot") {
    // screenshot FILE [SCALE]: the window as it stands, drawn as the window draws it, as a PNG
    c.kind = Kind::screenshot;
    Words parts{rest};
    c.name = parts.next();
    const std::string_view zoom = parts.next();
    c.number = 1;
    if (c.name.empty() || (!zoom.empty() && !parse_whole_number(zoom, c.number)) || c.number < 1 ||
        c.number > 4)
      return fault("screenshot FILE [SCALE 1-4]");
    return command(std::move(c));
  }
  if (cmd == "close") {
    c.kind = Kind::close;
    return command(std::move(c));
  }
  return fault("unknown command " + std::string(cmd));
}

std::optional<ScriptLine> ScriptReader::next() {
  while (!ended_) {
    // The line, kept only to its bound: what lies past it is never held. The stream's own line
    // reading stops at the bound, at a line end (taken, not kept) or at the end of the script.
    in_.getline(line_buffer_.data(), static_cast<std::streamsize>(line_buffer_.size()));
    const auto got = static_cast<size_t>(in_.gcount());
    const bool ended_line = !in_.fail() && !in_.eof();
    ++line_;
    if (in_.fail() && !in_.eof() && !in_.bad() && got == kMaxScriptLine) {
      ended_ = true;
      return ScriptLine{std::nullopt,
                        "line " + std::to_string(line_) + " is longer than " +
                            std::to_string(kMaxScriptLine) + " bytes; the script is read no further",
                        true};
    }
    if (!ended_line) ended_ = true;
    std::string_view line(line_buffer_.data(), ended_line ? got - 1 : got);
    line = trim(line.substr(0, line.find('#')));
    if (!line.empty()) return read_script_command(line);
  }
  return std::nullopt;
}
