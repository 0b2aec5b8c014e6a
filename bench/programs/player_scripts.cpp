// Writes the driver scripts the headless figures replay: the whole game by the scripted player
// from a new hero, and, from saves that player made on the way at several levels, a stretch of
// ordinary play (walking the places, fighting, the town between them).
//   player_scripts PACK OUT [BATTLES]
// OUT receives whole_game.script, and for each level a folder level-N (the pack with the save
// made there) and battles-N.script, to replay with --data on a copy of level-N. Prints what each
// script should end with, as JSON, for bench/figures.py to check the replay.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "core/fields.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "core/savefile.hpp"
#include "platform/headless/headless_host.hpp"
#include "platform/system_storage.hpp"
#include "support/journey.hpp"

namespace fs = std::filesystem;

namespace {

// The levels whose saves the battle scripts start from.
constexpr int kLevels[] = {10, 50, 150};
// The fields whose values say where a replay ended.
constexpr const char* kEnd[] = {"hero.level", "hero.exp", "money", "hero.hp", "location.id"};

void copy_pack(const fs::path& from, const fs::path& to) {
  fs::remove_all(to);
  fs::create_directories(to);
  fs::copy(from / "dat", to / "dat", fs::copy_options::recursive);
  fs::copy(from / "cg", to / "cg", fs::copy_options::recursive);
}

// Writes the end's values into the script as `get` lines, closes it, and returns them as the
// JSON list of the transcript lines the replay should write.
std::string finish(Game& g, AutoPlayer& p) {
  std::string json = "[";
  for (const char* field : kEnd) {
    p.script.record(std::string("get ") + field, [] {});
    json += std::string(json.size() > 1 ? ", " : "") + "\"" + field + " = " + *FieldAccess::get(g, field) + "\"";
  }
  p.script.close();
  return json + "]";
}

struct Headless {
  explicit Headless(const fs::path& pack, uint64_t seed) : g(host, pack.string()) {
    host.keep_transcript = false;
    g.fixed_seed = seed;
    create_window(g);
  }
  HeadlessHost host;
  Game g;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: player_scripts PACK OUT [BATTLES]\n";
    return 2;
  }
  const fs::path pack = argv[1], out = argv[2];
  const long battles = argc > 3 ? std::stol(argv[3]) : 300;
  use_storage(system_storage());
  fs::create_directories(out);
  const fs::path scratch = out / "scratch";
  copy_pack(pack, scratch);

  std::string json = "{\"whole_game\": {";
  std::vector<int> saved;
  {
    Headless h(scratch, 1);
    Journey j{h.g, (out / "whole_game.script").string()};
    j.player.press(ctl::Button1);
    // On the map between stretches of 20 battles: a save is made there at each level reached.
    size_t next = 0;
    while (!h.g.form.shown(ctl::end_box) && j.play(2000000, j.player.battles + 20) == false &&
           j.clicks < 2000000) {
      if (next < std::size(kLevels) && h.g.hero.level >= kLevels[next] && h.g.form.shown(ctl::map_box)) {
        const fs::path at = out / ("level-" + std::to_string(kLevels[next]));
        copy_pack(pack, at);
        const std::string kept = h.g.save_dir;
        h.g.save_dir = (at / "dat").string();
        save_game(h.g);
        h.g.save_dir = kept;
        saved.push_back(kLevels[next++]);
      }
      if (!h.g.form.shown(ctl::map_box)) break;  // the player found nothing to click
    }
    json += "\"finished\": " + std::string(h.g.form.shown(ctl::end_box) ? "true" : "false") +
            ", \"clicks\": " + std::to_string(j.clicks) + ", \"battles\": " + std::to_string(j.player.battles) +
            ", \"seed\": 1, \"end\": " + finish(h.g, j.player) + "}";
  }
  json += ", \"battles\": [";
  for (size_t i = 0; i < saved.size(); ++i) {
    const std::string level = std::to_string(saved[i]);
    copy_pack(out / ("level-" + level), scratch);
    Headless h(scratch, 7);
    Journey j{h.g, (out / ("battles-" + level + ".script")).string()};
    j.player.press(ctl::Button39);
    j.play(2000000, battles);
    json += std::string(i ? ", " : "") + "{\"level\": " + level + ", \"pack\": \"level-" + level +
            "\", \"script\": \"battles-" + level + ".script\", \"seed\": 7, \"battles\": " +
            std::to_string(j.player.battles) + ", \"clicks\": " + std::to_string(j.clicks) +
            ", \"end\": " + finish(h.g, j.player) + "}";
  }
  fs::remove_all(scratch);
  std::cout << json << "]}\n";
  return 0;
}
