// The settings files of the mixer and of the window: their reader, and where they lie.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Settings files of the desktop's kind ("[section]" and "key=value" lines): the mixer's
// SOUNDMIX.INI and the window's own. Both are read by this one reader (kept with the mixer, the
// lowest layer that reads one), and looked up by section and key the way desktop settings files are:
// section and key names in any case, the first of a repeated key counts, a number is read as far
// as it goes (leading blanks, a sign, decimal digits; nothing numeric reads as 0) and a key that
// is missing, or has no value, gives the default. Lines may be indented.
class SettingsFile {
 public:
  // False, and no settings, if the file cannot be read (a missing file is the usual case).
  bool load(const std::string& path);
  void load_text(std::string_view text);

  int32_t read_int(std::string_view section, std::string_view key, int32_t default_value) const;
  // The raw text of a key, or nullptr.
  const std::string* find(std::string_view section, std::string_view key) const;

 private:
  struct Entry {
    std::string section, key, value;
  };
  std::vector<Entry> entries_;
};

// "$XDG_CONFIG_HOME/lushera/NAME", else "$HOME/.config/lushera/NAME"; empty when neither folder
// is known (then the defaults hold).
std::string settings_path(std::string_view name);
// The mixer's settings file, SOUNDMIX.INI, read once when a session is created.
inline std::string mixer_settings_path() { return settings_path("SOUNDMIX.INI"); }

// Reads a number as the settings file holds it; `fallback` when the text has no value at all.
int32_t settings_number(std::string_view text, int32_t fallback);
