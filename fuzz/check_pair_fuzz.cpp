// Two chosen files as the web page's import hands them over, as broken as the fuzzer can make
// them: the first two bytes say where the first file ends. The check must take the pair or refuse
// it with a message that names a chosen file; a pair it takes must load whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/game.hpp"
#include "core/savefile.hpp"
#include "ui/sjis.hpp"

namespace {

const Sjis& sjis() {
  static const Sjis s;
  return s;
}

// Built once: reading a file into it overwrites every value the file holds.
Game& game() {
  static QuietHost host;
  static Game g(host, "");
  return g;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t split = std::min<size_t>(size - 2, static_cast<size_t>(data[0]) << 8 | data[1]);
  const char* bytes = reinterpret_cast<const char*>(data) + 2;
  const ChosenFile files[2] = {{"my (1).dat", std::string(bytes, split)},
                               {"item.dat", std::string(bytes + split, size - 2 - split)}};
  const PairCheck check = check_save_pair(sjis(), files);
  if (check.save < 0) {
    if (check.problem.find("my (1).dat") == std::string::npos && check.problem.find("item.dat") == std::string::npos)
      std::abort();
    return 0;
  }
  if (check.save > 1) std::abort();
  // What the check took, the game's loader reads without an error.
  try {
    read_data_file(game(), DataFile::save, files[check.save].bytes, "my.dat");
    read_data_file(game(), DataFile::items, files[1 - check.save].bytes, "item.dat");
  } catch (const IoError&) {
    std::abort();
  }
  return 0;
}
