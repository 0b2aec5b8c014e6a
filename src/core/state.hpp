// The game's records. Texts are Shift-JIS bytes; integers are 32-bit and wrap (built -fwrapv).
#pragma once
#include <array>
#include <cassert>
#include <cstdint>
#include <string>

// The hero (saved, all but `status`).
struct Hero {
  std::string name;
  std::string spirit_name;
  int32_t hp = 0, mp = 0, max_hp = 0, max_mp = 0;
  int32_t spirit_power = 0;
  int32_t money = 0;
  int32_t level = 0, exp = 0;
  int32_t stars = 0;
  int32_t life = 0, luck = 0;
  std::array<uint8_t, 200> tech{};  // 100 pairs: level then proficiency of technique t
  std::array<uint8_t, 100> world{};  // world flags 200 .. 299
  std::array<uint8_t, 513> item_count{};
  int32_t attr_sun = 0, attr_water = 0, attr_magic = 0, attr_angel = 0;
  int32_t attack = 0, magic = 0, defense = 0;
  std::array<uint8_t, 100> owned_flags{};
  int32_t status = 0;  // ailment; not saved

  uint8_t& tech_lv(int t) { return tech[2 * t]; }
  uint8_t& tech_exp(int t) { return tech[2 * t + 1]; }
  uint8_t tech_lv(int t) const { return tech[2 * t]; }
  uint8_t tech_exp(int t) const { return tech[2 * t + 1]; }
  bool operator==(const Hero&) const = default;
  uint8_t& world_flags(int index) {
    assert(index >= 200 && index < 300);
    return world[index - 200];
  }
};

// The opponent of the current battle.
struct Enemy {
  std::string name, spirit_name;
  int32_t level = 0, hp = 0, mp = 0, max_hp = 0, max_mp = 0;
  int32_t attribute = 0, job = 0, spirit_power = 0, status = 0;
  bool operator==(const Enemy&) const = default;
};

// The location being walked through.
struct Location {
  std::string name, boss_line;
  int32_t length = 0, progress = 0, job_range = 0;
  std::string boss_name, boss_spirit;
  int32_t id = 0, boss_level = 0, boss_hp = 0, boss_mp = 0, boss_attribute = 0, boss_job = 0,
          boss_spirit_power = 0;
};

// A technique at one level: [0] name, [1] unused text, [2] spirit-power text, [3] Mp-cost text,
// [4] description ("0" for none).
using TechRecord = std::array<std::string, 5>;

struct Item {
  std::string name, description;
  int32_t kind = 0, value = 0;
};

constexpr int kNamePool = 226;
constexpr int kTechRecords = 256;
constexpr int kSpiritNames = 256;
constexpr int kItems = 513;
constexpr int kFigureNames = 100;
constexpr int kTechniques = 24;
