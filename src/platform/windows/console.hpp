// A window program's console and arguments on Windows.
#pragma once
#include <string>
#include <vector>

// The game is a program of Windows' window subsystem, so Explorer opens no console beside it.
// Started from a console (cmd, PowerShell) it writes to that one: what it prints goes where the
// console shows it, unless the output was redirected, which stays as it was.
void use_parent_console();
// The arguments as the system holds them (UTF-16), in UTF-8 as the game takes them.
std::vector<std::string> utf8_arguments(int argc, wchar_t** argv);
