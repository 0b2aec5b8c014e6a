// Writes the code page 932 table the game's text codec reads (src/ui/cp932_table.inc), from the C
// library's own CP932 converter (iconv), so every build of the game reads and writes the same
// bytes the same way, whether its C library knows CP932 or not.
//
//   make_cp932_table OUT_FILE
//
// Reading: what each single byte is, and for each lead byte the character of every trail byte.
// Writing: CP932 reads some characters from several byte pairs (NEC's and IBM's duplicates) but
// writes each of them as one chosen pair, and writes a few characters no pair reads as (¥ as the
// backslash byte, for one). Both are taken from the converter's own writing of every character, not
// chosen here: the table lists the sequences it reads but does not write back, the characters it
// writes though nothing reads as them, and those it writes as nothing (Unicode's tag characters).
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kFirstTrail = 0x40, kLastTrail = 0xFC, kTrails = kLastTrail - kFirstTrail + 1;

// What the converter makes of a whole input: its output, or that it stopped on an invalid or an
// incomplete sequence.
struct Converted {
  std::string out;
  int error = 0;  // 0, EILSEQ or EINVAL
};

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("the C library cannot convert ") + from + " to " + to);
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  Converted operator()(const std::string& in) const {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    char buf[64];
    char* dst = buf;
    size_t room = sizeof buf;
    Converted c;
    if (iconv(cd_, &src, &left, &dst, &room) == static_cast<size_t>(-1)) c.error = errno;
    c.out.assign(buf, dst - buf);
    return c;
  }

 private:
  iconv_t cd_;
};

std::string utf32(char32_t cp) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(cp >> (8 * i) & 0xFF);
  return s;
}

// The one character a conversion to UTF-32LE gave, if it gave exactly one.
std::optional<char32_t> one_character(const Converted& c) {
  if (c.error != 0 || c.out.size() != 4) return std::nullopt;
  char32_t cp = 0;
  for (int i = 3; i >= 0; --i) cp = cp << 8 | static_cast<unsigned char>(c.out[i]);
  return cp;
}

std::string hex(uint32_t v, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%0*X", digits, v);
  return buf;
}

// A byte sequence as the table names it: a byte, or lead * 256 + trail.
using Sequence = uint16_t;

struct Table {
  uint32_t byte[256];  // a code point, or kLeadByte / kNoCharacter below
  std::vector<uint8_t> leads;
  std::vector<std::vector<uint16_t>> pairs;  // per lead, per trail 0x40..0xFC; 0: no character
  std::vector<Sequence> not_written;
  std::vector<std::pair<char32_t, Sequence>> written_only;
  std::vector<std::pair<char32_t, char32_t>> dropped;  // ranges of characters written as nothing
};

constexpr uint32_t kLeadByte = 0xFFFFFFFF, kNoCharacter = 0xFFFFFFFE;

Table read_cp932() {
  const Converter read("UTF-32LE", "CP932"), write("CP932", "UTF-32LE");
  Table t;
  std::map<char32_t, std::vector<Sequence>> readers;  // every sequence that reads as a character
  for (int b = 0; b < 256; ++b) {
    const Converted alone = read(std::string(1, static_cast<char>(b)));
    if (alone.error == EINVAL) {
      t.byte[b] = kLeadByte;
      t.leads.push_back(static_cast<uint8_t>(b));
    } else if (auto cp = one_character(alone)) {
      if (*cp > 0xFFFF) throw std::runtime_error("byte " + hex(b, 2) + " is outside the table's shape");
      t.byte[b] = *cp;
      readers[*cp].push_back(static_cast<Sequence>(b));
    } else if (alone.error == EILSEQ) {
      t.byte[b] = kNoCharacter;
    } else {
      throw std::runtime_error("byte " + hex(b, 2) + " reads as more than one character");
    }
  }
  for (uint8_t lead : t.leads) {
    std::vector<uint16_t>& row = t.pairs.emplace_back(kTrails, 0);
    for (int trail = 0; trail < 256; ++trail) {
      const Sequence pair = static_cast<Sequence>(lead << 8 | trail);
      const Converted c = read({static_cast<char>(lead), static_cast<char>(trail)});
      const auto cp = one_character(c);
      if (!cp) {
        // The codec reads a lead byte whose pair is no character as one bad byte, then goes on
        // with the trail byte: the converter must stop on the lead byte itself.
        if (c.error != EILSEQ || !c.out.empty()) throw std::runtime_error("pair " + hex(pair, 4) + " reads oddly");
        continue;
      }
      if (trail < kFirstTrail || trail > kLastTrail || *cp == 0 || *cp > 0xFFFF)
        throw std::runtime_error("pair " + hex(pair, 4) + " is outside the table's shape");
      row[trail - kFirstTrail] = static_cast<uint16_t>(*cp);
      readers[*cp].push_back(pair);
    }
  }
  // What the converter writes for every character.
  for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    const Converted w = write(utf32(cp));
    std::optional<Sequence> written;
    if (w.error == 0 && w.out.empty()) {
      if (!t.dropped.empty() && t.dropped.back().second == cp - 1) t.dropped.back().second = cp;
      else t.dropped.emplace_back(cp, cp);
      continue;
    }
    if (w.error == 0 && w.out.size() == 1) written = static_cast<unsigned char>(w.out[0]);
    else if (w.error == 0 && w.out.size() == 2)
      written = static_cast<Sequence>(static_cast<unsigned char>(w.out[0]) << 8 | static_cast<unsigned char>(w.out[1]));
    else if (w.error != EILSEQ) throw std::runtime_error("character " + hex(cp, 4) + " writes oddly");
    const auto found = readers.find(cp);
    bool read_back = false;
    if (found != readers.end())
      for (Sequence s : found->second) {
        if (written && s == *written) read_back = true;
        else t.not_written.push_back(s);
      }
    if (written && !read_back) {
      if (cp > 0xFFFF) throw std::runtime_error("character " + hex(cp, 4) + " is outside the table's shape");
      t.written_only.emplace_back(cp, *written);
    }
  }
  std::sort(t.not_written.begin(), t.not_written.end());
  return t;
}

void write_table(const Table& t, std::ostream& out) {
  out << "// Generated by tools/make_cp932_table.cpp from the C library's CP932 converter (iconv); do not\n"
         "// edit: `cmake --build build --target cp932_table` writes it anew.\n"
         "//\n"
         "// What each byte reads as on its own: a code point, kLeadByte (a trail byte follows) or\n"
         "// kNoCharacter.\n"
      << "constexpr uint32_t kLeadByte = " << hex(kLeadByte, 8) << ", kNoCharacter = " << hex(kNoCharacter, 8) << ";\n"
      << "constexpr uint32_t kByte[256] = {";
  for (int b = 0; b < 256; ++b) {
    const uint32_t v = t.byte[b];
    out << (b % 8 ? " " : "\n    ") << (v == kLeadByte ? "kLeadByte" : v == kNoCharacter ? "kNoCharacter" : hex(v, 4)) << ",";
  }
  out << "\n};\n\n// The trail bytes of a pair.\nconstexpr int kFirstTrail = " << hex(kFirstTrail, 2)
      << ", kLastTrail = " << hex(kLastTrail, 2) << ";\n"
      << "// The lead bytes in order, and for each the code points its trail bytes read as (0: none).\n"
      << "constexpr uint8_t kLeads[" << t.leads.size() << "] = {";
  for (size_t i = 0; i < t.leads.size(); ++i) out << (i % 16 ? " " : "\n    ") << hex(t.leads[i], 2) << ",";
  out << "\n};\nconstexpr uint16_t kPairs[" << t.leads.size() << "][" << kTrails << "] = {\n";
  for (size_t i = 0; i < t.leads.size(); ++i) {
    out << "    {  // " << hex(t.leads[i], 2);
    for (int j = 0; j < kTrails; ++j) out << (j % 12 ? " " : "\n        ") << hex(t.pairs[i][j], 4) << ",";
    out << "\n    },\n";
  }
  out << "};\n\n// Sequences (a byte, or lead * 256 + trail) read as a character that is written otherwise.\n"
      << "constexpr uint16_t kNotWritten[" << t.not_written.size() << "] = {";
  for (size_t i = 0; i < t.not_written.size(); ++i) out << (i % 12 ? " " : "\n    ") << hex(t.not_written[i], 4) << ",";
  out << "\n};\n\n// Characters written though nothing reads as them, and the sequence written.\n"
      << "constexpr struct {\n  uint16_t code_point, sequence;\n} kWrittenOnly[" << t.written_only.size() << "] = {";
  for (size_t i = 0; i < t.written_only.size(); ++i)
    out << (i % 6 ? " " : "\n    ") << "{" << hex(t.written_only[i].first, 4) << ", " << hex(t.written_only[i].second, 4) << "},";
  out << "\n};\n\n// Characters written as nothing at all, from first to last.\n"
      << "constexpr struct {\n  uint32_t first, last;\n} kDropped[" << t.dropped.size() << "] = {";
  for (size_t i = 0; i < t.dropped.size(); ++i)
    out << (i % 6 ? " " : "\n    ") << "{" << hex(t.dropped[i].first, 4) << ", " << hex(t.dropped[i].second, 4) << "},";
  out << "\n};\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_cp932_table OUT_FILE\n";
    return 2;
  }
  try {
    std::ostringstream text;
    write_table(read_cp932(), text);
    std::ofstream out(argv[1], std::ios::binary);
    if (!(out << text.str()) || !out.flush()) throw std::runtime_error(std::string("cannot write ") + argv[1]);
  } catch (const std::exception& e) {
    std::cerr << "make_cp932_table: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
