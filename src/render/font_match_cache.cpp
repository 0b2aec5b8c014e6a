#include "render/font_match_cache.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/data_places.hpp"

namespace {

// What tells a changed file: its size and its modification time in nanoseconds.
std::optional<std::pair<long long, long long>> stamp_of(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return std::make_pair(static_cast<long long>(st.st_size),
                        static_cast<long long>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec);
}

}  // namespace

std::string font_match_file() {
  const std::string folder = user_folder("XDG_CACHE_HOME", ".cache");
  return folder.empty() ? "" : folder + "/font-match";
}

// One line a family: index, size, modification time, path (to the end of the line).
std::optional<FontFiles> read_font_match(const std::string& file) {
  if (file.empty()) return std::nullopt;
  std::ifstream in(file);
  FontFiles files;
  for (FontFile& f : files) {
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    std::istringstream fields(line);
    long long size = 0, written = 0;
    if (!(fields >> f.index >> size >> written) || fields.get() != ' ' || !std::getline(fields, f.path))
      return std::nullopt;
    if (stamp_of(f.path) != std::make_pair(size, written)) return std::nullopt;
  }
  return files;
}

void write_font_match(const std::string& file, const FontFiles& files) {
  if (file.empty()) return;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
  // Written aside and renamed over, so a reader never sees half of it (a start at the same
  // moment writes its own).
  const std::string aside = file + "." + std::to_string(getpid());
  bool complete = false;
  {
    std::ofstream out(aside, std::ios::trunc);
    for (const FontFile& f : files) {
      const auto stamp = stamp_of(f.path);
      if (!stamp) out.setstate(std::ios::failbit);
      if (!out) break;
      out << f.index << ' ' << stamp->first << ' ' << stamp->second << ' ' << f.path << '\n';
    }
    complete = static_cast<bool>(out.flush());
  }
  if (complete) std::filesystem::rename(aside, file, ec);
  std::filesystem::remove(aside, ec);  // left only when it could not be completed
}
