// Shift-JIS to UTF-8 and back, through the code page table.
#include "ui/sjis.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <vector>

namespace {
#include "ui/cp932_table.inc"

constexpr size_t kTrails = kLastTrail - kFirstTrail + 1;

// The row of kPairs for each lead byte.
constexpr std::array<uint8_t, 256> kRowOf = [] {
  std::array<uint8_t, 256> row{};
  for (size_t i = 0; i < std::size(kLeads); ++i) row[kLeads[i]] = static_cast<uint8_t>(i);
  return row;
}();

char* put_utf8(char* out, uint32_t cp) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | cp >> 6);
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xE0 | cp >> 12);
    *out++ = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

bool continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// One UTF-8 character read the way the C library reads one: the lead byte tells the length (up to
// the six bytes of the old UTF-8), and the sequence is whole, incomplete at the end of the text, or
// broken (a byte missing, too long a form, a surrogate, beyond Unicode).
struct Utf8Char {
  enum { kWhole, kIncomplete, kBroken } state;
  char32_t code_point = 0;
  size_t length = 1;
};

Utf8Char read_utf8(std::string_view text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {Utf8Char::kWhole, lead, 1};
  size_t length;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF7) length = 4;
  else if (lead >= 0xF8 && lead <= 0xFB) length = 5;
  else if (lead == 0xFC || lead == 0xFD) length = 6;
  else return {Utf8Char::kBroken};
  const size_t have = std::min(length, text.size() - at);
  for (size_t i = 1; i < have; ++i)
    if (!continuation(text[at + i])) return {Utf8Char::kBroken};
  if (have < length) return {Utf8Char::kIncomplete};
  char32_t cp = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) cp = cp << 6 | (static_cast<unsigned char>(text[at + i]) & 0x3F);
  const bool too_long = length > 2 && cp >> (5 * length - 4) == 0;
  if (too_long || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return {Utf8Char::kBroken};
  return {Utf8Char::kWhole, cp, length};
}

bool dropped(char32_t cp) {
  return std::any_of(std::begin(kDropped), std::end(kDropped), [cp](const auto& r) { return cp >= r.first && cp <= r.last; });
}

// Calls write(code point, sequence) for every character CP932 writes: a byte, or lead * 256 + trail.
template <class Write>
void for_each_written(Write write) {
  // The sequences come in ascending order, as kNotWritten does.
  const uint16_t* not_written = std::begin(kNotWritten);
  auto read_back = [&](uint32_t cp, uint16_t sequence) {
    while (not_written != std::end(kNotWritten) && *not_written < sequence) ++not_written;
    if (not_written == std::end(kNotWritten) || *not_written != sequence) write(cp, sequence);
  };
  for (uint16_t b = 0; b < 256; ++b)
    if (kByte[b] != kLeadByte && kByte[b] != kNoCharacter) read_back(kByte[b], b);
  for (size_t row = 0; row < std::size(kLeads); ++row)
    for (size_t t = 0; t < kTrails; ++t)
      if (kPairs[row][t] != 0) read_back(kPairs[row][t], static_cast<uint16_t>(kLeads[row] << 8 | (kFirstTrail + t)));
  for (const auto& w : kWrittenOnly) write(w.code_point, w.sequence);
}

// How each character of the Basic Multilingual Plane is written, in pages of 256 characters;
// pages without any character share one empty page.
class WritingTable {
 public:
  static constexpr uint16_t kNoForm = 0xFFFF;  // 0xFF is no lead byte

  WritingTable() {
    for_each_written([this](uint32_t cp, uint16_t) { page_of_[cp >> 8] = 1; });
    uint16_t pages = 1;
    for (uint16_t& page : page_of_)
      if (page != 0) page = pages++;
    std::array<uint16_t, 256> empty;
    empty.fill(kNoForm);
    pages_.assign(pages, empty);
    for_each_written([this](uint32_t cp, uint16_t sequence) { pages_[page_of_[cp >> 8]][cp & 0xFF] = sequence; });
  }

  uint16_t operator()(char32_t cp) const {
    return cp > 0xFFFF ? kNoForm : pages_[page_of_[cp >> 8]][cp & 0xFF];
  }

 private:
  std::array<uint16_t, 256> page_of_{};
  std::vector<std::array<uint16_t, 256>> pages_;
};

// The writing table is made from the constant tables above, once, when first written with.
const WritingTable& writing_table() {
  static const WritingTable table;
  return table;
}
}  // namespace

// Both directions write into a string long enough for any outcome, then cut it to what was written.
std::string Sjis::from_utf8(std::string_view utf8) const {
  const WritingTable& written = writing_table();
  std::string out(utf8.size() * 2, '\0');
  char* o = out.data();
  for (size_t at = 0; at < utf8.size();) {
    const Utf8Char c = read_utf8(utf8, at);
    if (c.state == Utf8Char::kIncomplete) break;
    if (c.state == Utf8Char::kWhole) {
      if (const uint16_t sequence = written(c.code_point); sequence != WritingTable::kNoForm) {
        if (sequence > 0xFF) *o++ = static_cast<char>(sequence >> 8);
        *o++ = static_cast<char>(sequence & 0xFF);
        at += c.length;
        continue;
      }
      if (dropped(c.code_point)) {
        at += c.length;
        continue;
      }
    }
    // No Shift-JIS form, or not UTF-8: one "?" for the lead byte and its continuation bytes.
    *o++ = '?';
    for (++at; at < utf8.size() && continuation(utf8[at]); ++at) {}
  }
  out.resize(o - out.data());
  return out;
}

std::string Sjis::to_utf8(std::string_view sjis) const {
  std::string out(sjis.size() * 3, '\0');
  char* o = out.data();
  for (size_t at = 0; at < sjis.size();) {
    const auto b = static_cast<unsigned char>(sjis[at++]);
    uint32_t cp = kByte[b];
    if (cp == kLeadByte) {
      if (at == sjis.size()) break;  // an incomplete last character
      const auto trail = static_cast<unsigned char>(sjis[at]);
      cp = trail >= kFirstTrail && trail <= kLastTrail ? kPairs[kRowOf[b]][trail - kFirstTrail] : 0;
      if (cp != 0) ++at;
      else cp = kNoCharacter;  // the lead byte alone is bad; the trail byte is read on its own
    }
    o = put_utf8(o, cp == kNoCharacter ? 0xFFFD : cp);
  }
  out.resize(o - out.data());
  return out;
}

const std::string& Sjis::converted(const char* utf8) const {
  auto it = literals_.find(utf8);
  if (it == literals_.end()) it = literals_.emplace(utf8, from_utf8(utf8)).first;
  return it->second;
}
