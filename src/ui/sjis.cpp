#include "ui/sjis.hpp"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace {
iconv_t open(const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1))
    throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  return cd;
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

Sjis::Sjis() : to_sjis_(open("CP932", "UTF-8")), to_utf8_(open("UTF-8", "CP932")) {}

Sjis::~Sjis() {
  iconv_close(static_cast<iconv_t>(to_sjis_));
  iconv_close(static_cast<iconv_t>(to_utf8_));
}

std::string Sjis::from_utf8(std::string_view utf8) const { return convert(to_sjis_, utf8, "?", 1); }

std::string Sjis::to_utf8(std::string_view sjis) const {
  return convert(to_utf8_, sjis, "\xEF\xBF\xBD", 1);
}

const std::string& Sjis::literal(const char* utf8) const {
  auto it = literals_.find(utf8);
  if (it == literals_.end()) it = literals_.emplace(utf8, from_utf8(utf8)).first;
  return it->second;
}
