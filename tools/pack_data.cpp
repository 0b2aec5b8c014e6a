// Builds the default data pack: converts the UTF-8 catalogue sources of data/ into the game's
// Shift-JIS, CR LF files in OUT/dat/, writes a save with a fresh hero, and copies the pictures
// of data/cg/ to OUT/cg/ and the sounds of data/wav/ to OUT/dat/.
//
//   pack_data DATA_DIR OUT_DIR [--fresh]
//
// The save my.dat and the item catalogue item.dat (which also keeps the cards made in battle)
// are player files: they are written only when missing, or with --fresh.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <tuple>
#include <vector>

#include "core/game.hpp"
#include "core/savefile.hpp"
#include "platform/system_storage.hpp"

namespace fs = std::filesystem;

namespace {

struct PackError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::vector<std::string> read_lines(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw PackError("cannot open " + file.string());
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> split_tabs(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream ss(line);
  std::string f;
  while (std::getline(ss, f, '\t')) fields.push_back(f);
  if (!line.empty() && line.back() == '\t') fields.emplace_back();
  return fields;
}

// Converts strictly: a character without a Shift-JIS form is an error, not a "?".
std::string to_sjis(const Sjis& sjis, const std::string& utf8, const fs::path& file, size_t line) {
  std::string out = sjis.from_utf8(utf8);
  if (sjis.to_utf8(out) != utf8)
    throw PackError(file.string() + ":" + std::to_string(line) +
                    ": has a character that Shift-JIS cannot hold: " + utf8);
  return out;
}

struct Packer {
  fs::path src, dat;
  Sjis sjis;

  std::vector<std::string> lines(const char* name, size_t count) {
    auto l = read_lines(src / name);
    if (l.size() != count)
      throw PackError((src / name).string() + ": " + std::to_string(l.size()) + " lines, expected " +
                      std::to_string(count));
    return l;
  }

  void write(const char* name, const std::vector<std::string>& utf8_lines, const char* from) {
    std::string out;
    for (size_t i = 0; i < utf8_lines.size(); ++i)
      out += to_sjis(sjis, utf8_lines[i], src / from, i + 1) + "\r\n";
    std::ofstream f(dat / name, std::ios::binary | std::ios::trunc);
    f << out;
    if (!f.flush()) throw PackError("cannot write " + (dat / name).string());
  }

  // Records of `fields` tab-separated fields, one a line, become one value a line.
  std::vector<std::string> records(const char* name, size_t count, size_t fields) {
    std::vector<std::string> out;
    const auto l = lines(name, count);
    for (size_t i = 0; i < l.size(); ++i) {
      const auto f = split_tabs(l[i]);
      if (f.size() != fields)
        throw PackError((src / name).string() + ":" + std::to_string(i + 1) + ": " +
                        std::to_string(f.size()) + " fields, expected " + std::to_string(fields));
      out.insert(out.end(), f.begin(), f.end());
    }
    return out;
  }
};

void write_fresh_save(const fs::path& out_dir, const Packer& p, const std::vector<std::string>& items) {
  QuietHost host;
  Game g(host, out_dir.string());
  for (int id = 0; id < kItems; ++id) {
    Item& it = g.items[id];
    it.name = to_sjis(p.sjis, items[4 * id], p.src / "item.tsv", id + 1);
    it.description = to_sjis(p.sjis, items[4 * id + 1], p.src / "item.tsv", id + 1);
    it.kind = std::stoi(items[4 * id + 2]);
    it.value = std::stoi(items[4 * id + 3]);
  }
  Hero& h = g.hero;
  h.name = g.sj("ライズ");
  h.spirit_name = g.sj("ｽﾀｰﾀﾞﾝｽ");
  h.hp = h.max_hp = 30;
  h.mp = h.max_mp = 10;
  h.spirit_power = 15;
  h.level = 1;
  h.life = 120;
  h.tech_lv(1) = 1;
  save_game(g);
}

}  // namespace

int main(int argc, char** argv) {
  use_storage(system_storage());
  if (argc < 3) {
    std::cerr << "usage: pack_data DATA_DIR OUT_DIR [--fresh]\n";
    return 2;
  }
  const bool fresh = argc > 3 && std::string(argv[3]) == "--fresh";
  try {
    Packer p{argv[1], fs::path(argv[2]) / "dat", {}};
    fs::create_directories(p.dat);
    fs::create_directories(fs::path(argv[2]) / "cg");
    p.write("name.dat", p.lines("name.txt", kNamePool), "name.txt");
    p.write("aiko.dat", p.lines("aiko.txt", kSpiritNames), "aiko.txt");
    p.write("f.dat", p.lines("f.txt", kFigureNames), "f.txt");
    p.write("magic.dat", p.records("magic.tsv", kTechRecords, 5), "magic.tsv");
    const auto items = p.records("item.tsv", kItems, 4);
    for (size_t i = 0; i < items.size(); i += 4)
      for (size_t k : {i + 2, i + 3})
        if (items[k].empty() || items[k].find_first_not_of("-0123456789") != std::string::npos)
          throw PackError("item.tsv:" + std::to_string(i / 4 + 1) + ": not a number: " + items[k]);
    for (auto [from, to, ext] : {std::tuple{"cg", "cg", ".bmp"}, {"wav", "dat", ".wav"}}) {
      if (!fs::is_directory(p.src / from)) continue;
      for (const auto& e : fs::directory_iterator(p.src / from))
        if (e.path().extension() == ext)
          fs::copy_file(e.path(), fs::path(argv[2]) / to / e.path().filename(),
                        fs::copy_options::overwrite_existing);
    }
    const bool have_save = fs::exists(p.dat / "my.dat") && fs::exists(p.dat / "item.dat");
    if (fresh || !have_save) write_fresh_save(argv[2], p, items);
    else std::cout << "pack_data: keeping the existing my.dat and item.dat (--fresh replaces them)\n";
  } catch (const std::exception& e) {
    std::cerr << "pack_data: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
