// Data files from memory, as broken as the fuzzer can make them. The first byte chooses the file
// (the save or one of the catalogues), the rest is its bytes. Any input must be read or refused
// with an IoError whose message names the file and is UTF-8 for the error box; a file that is
// read holds only texts that fit on one line of it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/game.hpp"
#include "core/savefile.hpp"

namespace {

// Built once: the game's form and encoder take far longer to make than a file takes to read. Each
// read overwrites every value its file holds, so what an earlier input left does not matter.
Game& game() {
  static QuietHost host;
  static Game g(host, "");
  return g;
}

// A text read from a line: no line break inside, and no longer than a line may be.
void check_line(const std::string& s) {
  if (s.size() > kMaxLineBytes || s.find_first_of("\r\n") != std::string::npos) std::abort();
}

template <typename Texts>
void check_lines(const Texts& texts) {
  for (const std::string& s : texts) check_line(s);
}

void check_read(const Game& g, DataFile file) {
  switch (file) {
    case DataFile::save:
      check_line(g.hero.name);
      check_line(g.hero.spirit_name);
      break;
    case DataFile::names:
      check_lines(g.name_pool);
      break;
    case DataFile::techniques:
      for (const TechRecord& rec : g.tech_table) check_lines(rec);
      break;
    case DataFile::spirits:
      check_lines(g.spirit_names);
      break;
    case DataFile::items:
      for (const Item& it : g.items) {
        check_line(it.name);
        check_line(it.description);
      }
      break;
    case DataFile::figures:
      check_lines(g.figure_names);
      break;
  }
}

// Well-formed UTF-8 (no stray, overlong or surrogate sequences), as the error box's font needs.
bool valid_utf8(const std::string& s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t extra;
    uint32_t cp;
    if (c < 0x80) extra = 0, cp = c;
    else if (c >= 0xC2 && c < 0xE0) extra = 1, cp = c & 0x1F;
    else if (c >= 0xE0 && c < 0xF0) extra = 2, cp = c & 0x0F;
    else if (c >= 0xF0 && c < 0xF5) extra = 3, cp = c & 0x07;
    else return false;
    if (s.size() - i <= extra) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const auto cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp < 0xE000))) ||
        (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
      return false;
    i += extra + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const auto file = static_cast<DataFile>(data[0] % 6);
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string label = "fuzz.dat";
  Game& g = game();
  try {
    read_data_file(g, file, bytes, label);
  } catch (const IoError& e) {
    const std::string what = e.what();
    if (what.compare(0, label.size(), label) != 0 || !valid_utf8(what)) std::abort();
    return 0;
  }
  check_read(g, file);
  return 0;
}
