// Finding the pack and the save's folder: beside the program, installed, or the player's own.
#include "core/data_places.hpp"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

DataPlaces places_in(const std::string& dir) { return {dir, ""}; }

std::string user_folder(const char* variable, const char* in_home) {
  // A folder must be absolute to count, as the desktop's rules say.
  const char* xdg = std::getenv(variable);
  if (xdg && xdg[0] == '/') return (fs::path(xdg) / "lushera").string();
  const char* home = std::getenv("HOME");
  std::string base = home && home[0] == '/' ? home : "";
  if (base.empty())
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/') base = pw->pw_dir;
  if (base.empty()) return "";
  return (fs::path(base) / in_home / "lushera").string();
}

std::string user_save_folder() { return user_folder("XDG_DATA_HOME", ".local/share"); }

DataPlaces default_places(const std::string& program_folder) {
  const fs::path beside = program_folder;
  const fs::path installed = (beside / ".." / "share" / "lushera").lexically_normal();
  std::error_code ec;
  // An installed pack belongs to the system: the save never goes into it, even for a user who
  // could write there.
  const bool is_installed = fs::is_regular_file(installed / "dat" / "name.dat", ec);
  DataPlaces p{is_installed ? installed.string() : beside.string(), ""};
  const bool writable = ::faccessat(AT_FDCWD, (fs::path(p.pack) / "dat").c_str(), W_OK, AT_EACCESS) == 0;
  if (is_installed || !writable) p.saves = user_save_folder();
  return p;
}
