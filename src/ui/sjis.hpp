#pragma once
#include <string>
#include <string_view>
#include <unordered_map>

// Conversion between the game's Shift-JIS texts (code page 932) and UTF-8, the encoding of our
// sources, of the transcript and of the font renderer.
class Sjis {
 public:
  Sjis();
  ~Sjis();
  Sjis(const Sjis&) = delete;
  Sjis& operator=(const Sjis&) = delete;

  // UTF-8 -> Shift-JIS. Characters without a Shift-JIS form become "?".
  std::string from_utf8(std::string_view utf8) const;
  // Shift-JIS -> UTF-8. Bytes that are not Shift-JIS become U+FFFD; an incomplete last
  // character is left out.
  std::string to_utf8(std::string_view sjis) const;

  // A literal of the source, converted the first time it is asked for and kept.
  const std::string& literal(const char* utf8) const;

 private:
  void* to_sjis_;
  void* to_utf8_;
  // The C library knows no CP932, only plain Shift-JIS (a browser's): the characters the two
  // map differently are put right around the conversion.
  bool plain_ = false;
  mutable std::unordered_map<const char*, std::string> literals_;
};
