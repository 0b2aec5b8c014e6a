// Reading the driver's scripts: lines within their bound, then each line's words into a command.
#include "platform/headless/script_reader.hpp"

#include <string_view>

#include "core/whole_number.hpp"

namespace {

std::string trim(std::string_view s) {
  const size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string_view::npos) return "";
  const size_t e = s.find_last_not_of(" \t\r");
  return std::string(s.substr(b, e - b + 1));
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

ScriptLine read_script_command(const std::string& line) {
  Words words{line};
  const std::string_view cmd = words.next();
  const std::string rest = trim(words.text);
  ScriptCommand c;
  c.name = rest;

  if (cmd == "click" || cmd == "hover" || cmd == "get" || cmd == "caption" || cmd == "visible") {
    c.kind = cmd == "click"     ? Kind::click
             : cmd == "hover"   ? Kind::hover
             : cmd == "get"     ? Kind::get
             : cmd == "caption" ? Kind::caption
                                : Kind::visible;
    return command(c);
  }
  if (cmd == "select") {
    c.kind = Kind::select;
    if (!parse_whole_number(rest, c.number)) return fault("select needs an entry number");
    return command(c);
  }
  if (cmd == "slider") {
    c.kind = Kind::slider;
    if (!parse_whole_number(rest, c.number)) return fault("slider needs a position");
    return command(c);
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
    return command(c);
  }
  if (cmd == "draws") {
    c.kind = Kind::draws;
    Words values{rest};
    for (std::string_view v = values.next(); !v.empty(); v = values.next()) {
      int n = 0;
      if (!parse_whole_number(v, n)) return fault("not a draw: " + std::string(v));
      c.draws.push_back(n);
    }
    return command(c);
  }
  if (cmd == "set") {
    // set FIELD VALUE: the value is the rest of the line after one space
    c.kind = Kind::set;
    Words parts{rest};
    c.name = parts.next();
    std::string_view value = parts.text;
    if (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    c.value = value;
    return command(c);
  }
  if (cmd == "tick") {
    c.kind = Kind::tick;
    c.number = 1;
    if (!rest.empty() && !tick_count(rest, c.number))
      return fault("tick needs a count from 0 to " + std::to_string(kMaxScriptTicks));
    return command(c);
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
    return command(c);
  }
  if (cmd == "close") {
    c.kind = Kind::close;
    return command(c);
  }
  return fault("unknown command " + std::string(cmd));
}

std::optional<ScriptLine> ScriptReader::next() {
  while (!ended_) {
    // The line, kept only to its bound: what lies past it is never held.
    std::string line;
    bool too_long = false, ended_line = false;
    std::streambuf* in = in_.rdbuf();
    for (int c; (c = in->sbumpc()) != std::char_traits<char>::eof();) {
      if (c == '\n') {
        ended_line = true;
        break;
      }
      if (line.size() == kMaxScriptLine) {
        too_long = true;
        break;
      }
      line += static_cast<char>(c);
    }
    ++line_;
    if (too_long) {
      ended_ = true;
      return ScriptLine{std::nullopt,
                        "line " + std::to_string(line_) + " is longer than " +
                            std::to_string(kMaxScriptLine) + " bytes; the script is read no further",
                        true};
    }
    if (!ended_line) ended_ = true;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    line = trim(line);
    if (!line.empty()) return read_script_command(line);
  }
  return std::nullopt;
}
