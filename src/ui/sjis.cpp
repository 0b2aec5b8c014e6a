#include "ui/sjis.hpp"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#include <utility>

namespace {
iconv_t open(const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1))
    throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  return cd;
}

bool has_cp932() {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  iconv_close(cd);
  return true;
}

// Where CP932 and plain Shift-JIS read the same bytes as different characters (UTF-8): CP932's,
// then plain Shift-JIS's.
constexpr std::pair<std::string_view, std::string_view> kCp932Differences[] = {
    {"\xEF\xBD\x9E", "\xE3\x80\x9C"},  // ～ FULLWIDTH TILDE, 〜 WAVE DASH
    {"\xEF\xBC\x8D", "\xE2\x88\x92"},  // － FULLWIDTH HYPHEN-MINUS, − MINUS SIGN
    {"\xE2\x88\xA5", "\xE2\x80\x96"},  // ∥ PARALLEL TO, ‖ DOUBLE VERTICAL LINE
    {"\xEF\xBC\xBC", "\x5C"},  // ＼ FULLWIDTH REVERSE SOLIDUS, the backslash
    {"\xEF\xBF\xA0", "\xC2\xA2"},  // ￠, ¢
    {"\xEF\xBF\xA1", "\xC2\xA3"},  // ￡, £
    {"\xEF\xBF\xA2", "\xC2\xAC"},  // ￢, ¬
};

std::string replaced(std::string text, bool to_plain) {
  for (const auto& [cp932, plain] : kCp932Differences) {
    const std::string_view from = to_plain ? cp932 : plain, to = to_plain ? plain : cp932;
    if (!to_plain && from == "\x5C") continue;  // a backslash read is the ASCII one
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
      text.replace(at, from.size(), to);
  }
  return text;
}

// Converts as much as possible; on a byte sequence that cannot be converted, writes `bad` and
// skips `skip` input bytes. An incomplete sequence at the end is dropped.
std::string convert(void* handle, std::string_view in, std::string_view bad, size_t skip) {
  iconv_t cd = static_cast<iconv_t>(handle);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  out.reserve(in.size() * 3 / 2 + 8);
  char* src = const_cast<char*>(in.data());
  size_t left = in.size();
  char buf[256];
  while (left > 0) {
    char* dst = buf;
    size_t room = sizeof buf;
    size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buf, dst - buf);
    if (r != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    if (errno == EINVAL) break;  // incomplete last character
    out.append(bad);             // EILSEQ
    size_t n = std::min(skip, left);
    src += n;
    left -= n;
    // In UTF-8, skip the continuation bytes of the character too.
    if (skip == 1 && bad == "?")
      while (left > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80) ++src, --left;
  }
  return out;
}
}  // namespace

Sjis::Sjis() : plain_(!has_cp932()) {
  const char* sjis = plain_ ? "SHIFT_JIS" : "CP932";
  to_sjis_ = open(sjis, "UTF-8");
  to_utf8_ = open("UTF-8", sjis);
}

Sjis::~Sjis() {
  iconv_close(static_cast<iconv_t>(to_sjis_));
  iconv_close(static_cast<iconv_t>(to_utf8_));
}

std::string Sjis::from_utf8(std::string_view utf8) const {
  if (plain_) return convert(to_sjis_, replaced(std::string(utf8), true), "?", 1);
  return convert(to_sjis_, utf8, "?", 1);
}

std::string Sjis::to_utf8(std::string_view sjis) const {
  std::string utf8 = convert(to_utf8_, sjis, "\xEF\xBF\xBD", 1);
  return plain_ ? replaced(std::move(utf8), false) : utf8;
}

const std::string& Sjis::literal(const char* utf8) const {
  auto it = literals_.find(utf8);
  if (it == literals_.end()) it = literals_.emplace(utf8, from_utf8(utf8)).first;
  return it->second;
}
