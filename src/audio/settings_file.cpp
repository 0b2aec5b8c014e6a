// Reading settings files: their lines, sections and keys, and where the player keeps them.
#include "audio/settings_file.hpp"

#include <algorithm>

#include "storage/storage.hpp"

namespace {

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Far above any settings file (a few lines); a larger one is not read, and the defaults hold.
constexpr size_t kMaxSettingsBytes = 1 << 20;
// What of a line is read: settings files' readers keep lines of 200 bytes with their line end.
constexpr size_t kLineRoom = 198;

bool blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view without_blanks_before(std::string_view s) {
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view without_blanks_after(std::string_view s) {
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Where the first of `stops` lies in `s`, or a comment after the line's text (a ';' with a blank
// before it); the end of `s` when neither does.
size_t stop_in(std::string_view s, std::string_view stops) {
  for (size_t i = 0; i < s.size(); ++i)
    if (stops.find(s[i]) != std::string_view::npos || (s[i] == ';' && i > 0 && blank(s[i - 1]))) return i;
  return s.size();
}

}  // namespace

bool SettingsFile::load(const std::string& path) {
  entries_.clear();
  if (path.empty()) return false;
  const InputFile file = storage().read_file(path, kMaxSettingsBytes);
  if (file.fault != InputFile::Fault::none) return false;
  load_text(file.bytes);
  return true;
}

// A line is "[section]" or "key=value" ("key: value" too), with blanks around either part, a
// comment after a ';' that follows a blank, and a whole line a comment when it starts with ';' or
// '#'. The lines of any other shape are passed over (no "=", no closing bracket), and so is a line
// that begins with a blank other than a space or a tab after a key: settings files' readers take
// that as more of the key's value, and the key's first value is the one that counts. Only a
// line's first kLineRoom bytes (after its indent) are read, up to a NUL.
void SettingsFile::load_text(std::string_view text) {
  entries_.clear();
  std::string section;
  bool after_key = false;  // a key of a name has been read in this section
  for (size_t pos = 0, number = 1; pos < text.size(); ++number) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
    line = line.substr(0, std::min({line.size(), kLineRoom, line.find('\0')}));
    bool indented = false;
    if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3), indented = true;
    const std::string_view bare = without_blanks_after(line);
    line = without_blanks_before(bare);
    indented = indented || line.size() < bare.size();
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (indented && after_key) continue;
    if (line[0] == '[') {
      const size_t close = stop_in(line.substr(1), "]") + 1;
      if (close == line.size() || line[close] != ']') continue;
      section = line.substr(1, close - 1);
      after_key = false;
      continue;
    }
    const size_t sep = stop_in(line, "=:");
    if (sep == line.size() || line[sep] == ';') continue;
    const std::string_view key = without_blanks_after(line.substr(0, sep));
    std::string_view value = line.substr(sep + 1);
    value = without_blanks_after(without_blanks_before(value.substr(0, stop_in(value, ""))));
    entries_.push_back({section, std::string(key), std::string(value)});
    after_key = !key.empty();
  }
}

const std::string* SettingsFile::find(std::string_view section, std::string_view key) const {
  for (const Entry& e : entries_)
    if (same_name(e.section, section) && same_name(e.key, key)) return &e.value;
  return nullptr;
}

int32_t SettingsFile::read_int(std::string_view section, std::string_view key, int32_t default_value) const {
  const std::string* value = find(section, key);
  return value ? settings_number(*value, default_value) : default_value;
}

int32_t settings_number(std::string_view text, int32_t fallback) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i == text.size()) return fallback;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  uint32_t value = 0;  // 32 bits, wrapping as the game's integers do
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') value = value * 10u + static_cast<uint32_t>(text[i++] - '0');
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

std::string settings_path(std::string_view name) {
  const std::string folder = storage().user_folder(UserFolder::config);
  return folder.empty() ? "" : folder + "/" + std::string(name);
}
