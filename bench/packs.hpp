#pragma once
#include <unistd.h>

#include <filesystem>
#include <string>

// A scratch copy of the default pack with its pictures folder empty: the floor of work that
// otherwise reads and draws pictures. Removed by the caller.
inline std::string pictureless_pack() {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("lushera-bench-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "cg");
  fs::copy(fs::path(LUSHERA_BUILD_DIR) / "dat", dir / "dat", fs::copy_options::recursive);
  return dir.string();
}
