// Draws the game's pictures and synthesises its sounds.
//
//   make_art OUT_DATA_DIR
//
// writes OUT_DATA_DIR/cg/*.bmp, OUT_DATA_DIR/wav/*.wav and the icons, OUT_DATA_DIR/icons/*.png
// for the desktop and OUT_DATA_DIR/cg/icon.bmp for the window. The output depends on nothing but
// this program (and, for the PNG icons, zlib's compressor), so every run writes the same bytes.
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
    fs::create_directories(out / "icons");
    auto save = [&cg](const art::Image& img, const std::string& name) { art::write_bmp(img, (cg / name).string()); };
    save(art::world_map(), "map.bmp");
    for (int job = 0; job <= 19; ++job) save(art::unit_picture(job), "unit" + std::to_string(job) + ".bmp");
    for (int loc = 1; loc <= 7; ++loc) save(art::boss_picture(loc), "boss" + std::to_string(loc) + ".bmp");
    save(art::figure_strip(), "f.bmp");
    save(art::home_room(), "room.bmp");
    save(art::title_picture(), "title.bmp");
    for (int size : {16, 24, 32, 48, 64, 128, 192, 256, 512})
      art::write_png(art::app_icon(size), (out / "icons" / ("lushera-" + std::to_string(size) + ".png")).string());
    art::write_bmp_with_alpha(art::app_icon(64), (cg / "icon.bmp").string());
    art::write_sounds(wav.string());
  } catch (const std::exception& e) {
    std::cerr << "make_art: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
