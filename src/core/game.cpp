// The game's construction and teardown, and the paths of its data and save files.
#include "core/game.hpp"

#include <algorithm>
#include <utility>

#include "core/codes.hpp"

Game::Game(Host& h, std::string data_folder, bool dev_layout)
    : host(h),
      form(sjis, kClientWidth, dev_layout ? kDesignHeight : kClientHeight),
      data_dir(std::move(data_folder)) {}

// The mixer goes before its system, and both before the host's device.
Game::~Game() {
  sound.mixer.reset();
  sound.system.reset();
}

namespace {
// A file in a folder, with one slash between them ("" and "/x" stay as they are).
std::string in_folder(std::string folder, const std::string& file) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder + file;
}
}  // namespace

std::string Game::path(const char* folder, const std::string& file) const {
  return in_folder(in_folder(data_dir, folder), file);
}

const TechRecord& Game::tech_record(int t, int level) const {
  const int index = (t - 1) * kTechLevels + (std::max(level, 1) - 1);
  return tech_table[std::clamp(index, 0, kTechRecords - 1)];
}

TechRecord& Game::tech_record(int t, int level) {
  return const_cast<TechRecord&>(std::as_const(*this).tech_record(t, level));
}

std::string Game::save_path(const std::string& file) const {
  return save_dir.empty() ? path("dat", file) : in_folder(save_dir, file);
}
