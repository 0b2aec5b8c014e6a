// Game values by name, for the scripted driver and bug reports.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct Game;

// Game values by the names the game's rules use ("hero.hp", "money", "tech_lv[3]",
// "world_flags[203]", "item[260].name" ...), for the scripted driver and bug reports.
// Texts are read and written in UTF-8.
struct FieldAccess {
  // The value as text, or nothing when there is no such field.
  static std::optional<std::string> get(Game& g, std::string_view name);
  // Sets the value; an error message when the field or the value is not right.
  static std::optional<std::string> set(Game& g, std::string_view name, std::string_view value);
};
