// Text between the game's UTF-8 and Windows' UTF-16, through the system's own converter.
#include "platform/windows/wide_text.hpp"

#include <windows.h>

#include <algorithm>

std::string utf8_of(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring wide_of(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::wstring wide_path(std::string_view utf8) {
  std::wstring w = wide_of(utf8);
  std::replace(w.begin(), w.end(), L'/', L'\\');
  return w;
}

std::string utf8_path(std::wstring_view wide) {
  std::string s = utf8_of(wide);
  std::replace(s.begin(), s.end(), '\\', '/');
  return s;
}
