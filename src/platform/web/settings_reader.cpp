// Settings files for the web build: lines of "[section]" and "name = value" (or "name: value"),
// comments after ';' or '#' at the start and after a blank-preceded ';', blanks trimmed, lines
// that are neither passed over. The desktop builds link the Debian library that reads them so.
#include <ini.h>

#include <cstring>
#include <string>

namespace {

constexpr int kLineRoom = 200;  // longer lines are cut, as the desktop's reader cuts them

std::string trimmed(const std::string& s) {
  const char* blanks = " \t\r\n\v\f";
  const size_t b = s.find_first_not_of(blanks);
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(blanks) - b + 1);
}

}  // namespace

extern "C" int ini_parse_stream(ini_reader reader, void* stream, ini_handler handler, void* user) {
  char buffer[kLineRoom];
  std::string section;
  int line_number = 0, first_error = 0;
  while (reader(buffer, kLineRoom, stream)) {
    ++line_number;
    std::string line = buffer;
    if (line_number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    line = trimmed(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      const size_t end = line.find(']');
      if (end == std::string::npos) {
        if (!first_error) first_error = line_number;
        continue;
      }
      section = line.substr(1, end - 1);
      continue;
    }
    const size_t sep = line.find_first_of("=:");
    if (sep == std::string::npos) {
      if (!first_error) first_error = line_number;
      continue;
    }
    std::string value = line.substr(sep + 1);
    for (size_t i = 1; i < value.size(); ++i)
      if (value[i] == ';' && (value[i - 1] == ' ' || value[i - 1] == '\t')) {
        value.erase(i);
        break;
      }
    if (!handler(user, section.c_str(), trimmed(line.substr(0, sep)).c_str(), trimmed(value).c_str()) &&
        !first_error)
      first_error = line_number;
  }
  return first_error;
}
