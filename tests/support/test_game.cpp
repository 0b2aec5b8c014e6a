#include "support/test_game.hpp"

#include <fstream>
#include <iterator>
#include <random>

#include "core/operations.hpp"

namespace fs = std::filesystem;

ScratchData::ScratchData() {
  std::random_device rd;
  dir_ = fs::temp_directory_path() / ("lushera-test-" + std::to_string(rd()) + std::to_string(rd()));
  fs::create_directories(dir_);
  const fs::path build = LUSHERA_BUILD_DIR;
  fs::copy(build / "dat", dir_ / "dat", fs::copy_options::recursive);
  fs::create_directories(dir_ / "cg");
  if (fs::exists(build / "cg")) fs::copy(build / "cg", dir_ / "cg", fs::copy_options::recursive);
}

ScratchData::~ScratchData() {
  std::error_code ec;
  fs::permissions(dir_ / "dat", fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(dir_, ec);
}

std::string ScratchData::read(const fs::path& p) const {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ScratchData::write(const fs::path& p, const std::string& bytes) const {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

TestGame::TestGame(bool create, bool dev) {
  game = std::make_unique<Game>(host, data.dir().string(), dev);
  game->fixed_seed = 1;
  if (create) create_window(*game);
}

std::vector<std::string> TestGame::lines(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& l : host.transcript)
    if (l.rfind(prefix, 0) == 0) out.push_back(l.substr(prefix.size()));
  return out;
}
