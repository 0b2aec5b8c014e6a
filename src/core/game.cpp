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

std::string Game::path(const char* folder, const std::string& file) const {
  std::string p = data_dir;
  if (!p.empty() && p.back() != '/') p += '/';
  return p + folder + '/' + file;
}

const TechRecord& Game::tech_record(int t, int level) const {
  const int index = (t - 1) * kTechLevels + (std::max(level, 1) - 1);
  return tech_table[std::clamp(index, 0, kTechRecords - 1)];
}

TechRecord& Game::tech_record(int t, int level) {
  return const_cast<TechRecord&>(std::as_const(*this).tech_record(t, level));
}

std::string Game::save_path(const std::string& file) const {
  if (save_dir.empty()) return path("dat", file);
  std::string p = save_dir;
  if (p.back() != '/') p += '/';
  return p + file;
}
