// Text between the game's UTF-8 and Windows' UTF-16, and paths between '/' and '\'.
#pragma once
#include <string>
#include <string_view>

// UTF-16 to UTF-8 and back; a broken sequence becomes U+FFFD.
std::string utf8_of(std::wstring_view wide);
std::wstring wide_of(std::string_view utf8);
// A path of the game's (UTF-8, '/') as the system's wide calls take it ('\'), and back.
std::wstring wide_path(std::string_view utf8);
std::string utf8_path(std::wstring_view wide);
