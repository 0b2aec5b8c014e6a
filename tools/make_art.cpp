// Draws the game's pictures and synthesises its sounds.
//
//   make_art OUT_DATA_DIR
//
// writes OUT_DATA_DIR/cg/*.bmp and OUT_DATA_DIR/wav/*.wav. The output depends on nothing but
// this program, so every run writes the same bytes.
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "art/art.hpp"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_art OUT_DATA_DIR\n";
    return 2;
  }
  try {
    const fs::path out = argv[1];
    const fs::path cg = out / "cg", wav = out / "wav";
    fs::create_directories(cg);
    fs::create_directories(wav);
    auto save = [&cg](const art::Image& img, const std::string& name) { art::write_bmp(img, (cg / name).string()); };
    save(art::world_map(), "map.bmp");
    for (int job = 0; job <= 19; ++job) save(art::unit_picture(job), "unit" + std::to_string(job) + ".bmp");
    for (int loc = 1; loc <= 7; ++loc) save(art::boss_picture(loc), "boss" + std::to_string(loc) + ".bmp");
    save(art::figure_strip(), "f.bmp");
    save(art::home_room(), "room.bmp");
    save(art::title_picture(), "title.bmp");
    art::write_sounds(wav.string());
  } catch (const std::exception& e) {
    std::cerr << "make_art: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
