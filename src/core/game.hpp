// The Game: everything the game is, in one object (records, tables, the form, the host).
#pragma once
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "audio/sound_mixer.hpp"
#include "core/host.hpp"
#include "core/random.hpp"
#include "core/state.hpp"
#include "storage/storage.hpp"
#include "ui/form.hpp"
#include "ui/sjis.hpp"

// Where the window's client area is cut off, and its design height with the developer row.
constexpr int kClientWidth = 551;
constexpr int kClientHeight = 360;
constexpr int kDesignHeight = 468;

// Everything the game is: its records and tables, the window, the host and the random source.
// One per run; tests make one per case.
// The window's sound component and the waves it has opened, by file name. Each wave is opened
// once and kept: replaying a click does not read the disk again, and nothing is released while
// it may still be queued.
struct Sound {
  std::unique_ptr<MixerSystem> system;
  std::unique_ptr<SoundMixer> mixer;
  std::map<std::string, Wave*> waves;
  Wave* current = nullptr;
};

struct Game {
  Game(Host& h, std::string data_folder, bool dev_layout = false);
  ~Game();

  Host& host;
  Sjis sjis;
  Random rng;
  Form form;
  std::string data_dir;  // the folder holding dat/ and cg/
  // The folder of the save and the item catalogue when they live apart from the pack (an
  // installed game keeps them in the player's home); empty: the pack's dat/.
  std::string save_dir;

  Sound sound;

  Hero hero;
  Enemy enemy;
  Location location;
  // What the status texts were last written from: the 10 ms tick builds them again only when
  // one of these changed, so a tick that changes nothing builds no text.
  struct Shown {
    bool written = false;
    Hero hero;
    Enemy enemy;
    std::string place;
    int32_t remaining = 0;
    // The technique the pointer is on, and its level and experience, as its info shows them.
    int tech = -1;
    int32_t tech_lv = 0, tech_exp = 0;
  } shown;

  std::array<std::string, kNamePool> name_pool;
  std::array<TechRecord, kTechRecords> tech_table;
  std::array<std::string, kSpiritNames> spirit_names;
  std::array<Item, kItems> items;
  std::array<std::string, kFigureNames> figure_names;

  int32_t message_delay_ms = 0;
  // A battle ended with the hero out of the location (a boss beaten, the hero fallen): the road
  // takes the hero out once the battle's handler has returned. A battle knows nothing of roads.
  bool battle_left_location = false;
  int32_t message_cursor = 0;
  uint8_t hovered_tech = 0;
  int32_t selected_item = 0;
  uint8_t boss_battle = 0;

  // False until every data file has been read: a game that could not read its save never
  // writes one, so nothing it did not read is overwritten.
  bool loaded = false;
  // Set when loading or saving failed (the error box was shown): the process then ends with a
  // failure status, so scripts and launchers can tell.
  bool io_failed = false;
  // The lock on the save's folder, held from the creation step until the game ends; another game
  // on the same save refuses to start meanwhile.
  std::unique_ptr<FolderLock> save_lock;
  // The creation step did nothing but say why: another game runs on this save, or the save's
  // folder could not be made or locked (then io_failed is set as well).
  bool locked_out = false;
  // The ending's picture is still to be read: the start-up's pictures before it all loaded.
  bool ending_picture_due = false;
  // Called before each system call of a save that changes a file, with a short name of the step;
  // a test throws from it to stop the save there, as a killed process would.
  std::function<void(std::string_view step)> before_file_step;
  // --seed: the generator starts from this instead of the clock.
  std::optional<uint64_t> fixed_seed;

  // A text of the source (UTF-8) in the game's encoding.
  const std::string& sj(const char* utf8) const { return sjis.literal(utf8); }
  std::string path(const char* folder, const std::string& file) const;
  // The technique table's record of technique t (1 .. 24) at a level. Level 0 (not learned)
  // reads the level-1 record; a place past the table's end reads its last record.
  const TechRecord& tech_record(int t, int level) const;
  TechRecord& tech_record(int t, int level);
  // A file of the save's folder (the save, the item catalogue, their temporary files); "" names
  // the folder itself, with a slash at its end.
  std::string save_path(const std::string& file) const;
};
