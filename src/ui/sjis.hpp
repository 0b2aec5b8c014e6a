// The game's text codec.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

// Conversion between the game's Shift-JIS texts (code page 932) and UTF-8, the encoding of our
// sources, of the transcript and of the font renderer. The code page is our own table
// (cp932_table.inc, made from the C library's converter), so every build, whatever its C library,
// reads and writes the same bytes the same way.
class Sjis {
 public:
  Sjis() = default;
  Sjis(const Sjis&) = delete;
  Sjis& operator=(const Sjis&) = delete;

  // UTF-8 -> Shift-JIS. Characters without a Shift-JIS form become "?", and so does each broken
  // UTF-8 sequence; an incomplete last character is left out.
  std::string from_utf8(std::string_view utf8) const;
  // Shift-JIS -> UTF-8. Bytes that are not Shift-JIS become U+FFFD, one byte at a time; an
  // incomplete last character is left out.
  std::string to_utf8(std::string_view sjis) const;

  // A literal of the source, converted the first time it is asked for and kept. The status
  // panel asks for dozens at every tick, so the last text seen at each slot of a small table, by
  // the literal's address, is answered before the map is looked at.
  const std::string& literal(const char* utf8) const {
    Recent& r = recent_[(reinterpret_cast<uintptr_t>(utf8) >> 3) % kRecent];
    if (r.utf8 != utf8) r = {utf8, &converted(utf8)};
    return *r.sjis;
  }

 private:
  const std::string& converted(const char* utf8) const;

  struct Recent {
    const char* utf8 = nullptr;
    const std::string* sjis = nullptr;  // a node of literals_, which never moves
  };
  static constexpr size_t kRecent = 512;
  mutable std::unordered_map<const char*, std::string> literals_;
  mutable std::array<Recent, kRecent> recent_{};
};
