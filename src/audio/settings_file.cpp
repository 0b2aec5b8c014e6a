// Reading settings files: lines handed to the settings parser, sections and keys looked up.
#include "audio/settings_file.hpp"

#include <ini.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

struct TextLines {
  std::string_view text;
  size_t pos = 0;
};

// Hands the parser one line at a time. Leading blanks are taken off first: the parser would
// read an indented line as more of the value above it, where settings files take it as a line of
// its own. A line longer than the parser's buffer is cut, and the rest of it dropped.
char* next_line(char* out, int room, void* stream) {
  auto* lines = static_cast<TextLines*>(stream);
  if (lines->pos >= lines->text.size() || room < 2) return nullptr;
  const size_t newline = lines->text.find('\n', lines->pos);
  const size_t stop = newline == std::string_view::npos ? lines->text.size() : newline + 1;
  std::string_view line = lines->text.substr(lines->pos, stop - lines->pos);
  lines->pos = stop;
  const size_t lead = line.find_first_not_of(" \t");
  line = lead == std::string_view::npos ? std::string_view() : line.substr(lead);
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  const size_t n = std::min(line.size(), static_cast<size_t>(room) - 2);
  std::memcpy(out, line.data(), n);
  out[n] = '\n';
  out[n + 1] = '\0';
  return out;
}

}  // namespace

int SettingsFile::on_entry(void* user, const char* section, const char* name, const char* value) {
  auto* entries = static_cast<std::vector<Entry>*>(user);
  entries->push_back({section ? section : "", name ? name : "", value ? value : ""});
  return 1;
}

bool SettingsFile::load(const std::string& path) {
  entries_.clear();
  if (path.empty()) return false;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::string text;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  const bool ok = !std::ferror(file);
  std::fclose(file);
  if (!ok) return false;
  load_text(text);
  return true;
}

void SettingsFile::load_text(std::string_view text) {
  entries_.clear();
  TextLines lines{text, 0};
  // Lines the parser cannot read (no "=", no closing bracket) are passed over, as settings
  // files are read; what it could read stays.
  ini_parse_stream(next_line, &lines, on_entry, &entries_);
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
  const char* config = std::getenv("XDG_CONFIG_HOME");
  // The folder must be absolute to count; a relative one is ignored, as the desktop's rules say.
  if (config && config[0] == '/') return std::string(config) + "/lushera/" + std::string(name);
  const char* home = std::getenv("HOME");
  if (home && home[0] != '\0') return std::string(home) + "/.config/lushera/" + std::string(name);
  return {};
}
