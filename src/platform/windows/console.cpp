// Attaching to the console the game was started from, and its arguments in UTF-8.
#include "platform/windows/console.hpp"

#include <windows.h>

#include <cstdio>

#include "platform/windows/wide_text.hpp"

namespace {

// Whether the standard handle leads anywhere: a program of the window subsystem started from
// Explorer or a console has none, one whose output was redirected has the file or pipe.
bool handed(DWORD which) {
  const HANDLE h = GetStdHandle(which);
  return h && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void use_parent_console() {
  const bool in = handed(STD_INPUT_HANDLE), out = handed(STD_OUTPUT_HANDLE), err = handed(STD_ERROR_HANDLE);
  if ((in && out && err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  // The game's text is UTF-8; the console shows it as such.
  SetConsoleOutputCP(CP_UTF8);
  if (!in) std::freopen("CONIN$", "r", stdin);
  if (!out) std::freopen("CONOUT$", "w", stdout);
  if (!err) std::freopen("CONOUT$", "w", stderr);
}

std::vector<std::string> utf8_arguments(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(utf8_of(argv[i]));
  return args;
}
