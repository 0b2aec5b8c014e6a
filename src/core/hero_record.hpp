// The hero's saved record described once: its fields in the save file's order, each with the name
// the scripted driver knows it by. The save's reader and writer and the driver's get and set all
// walk this table.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "core/state.hpp"

// One field of the save: a text line, a number line, or a run of byte lines (the driver's
// NAME[i], i counted from `first`).
struct HeroField {
  const char* name;
  std::string Hero::*text = nullptr;
  int32_t Hero::*number = nullptr;
  std::span<uint8_t> (*bytes)(Hero&) = nullptr;
  int first = 0;

  // The lines the field takes in the save.
  int lines() const;
};

std::span<const HeroField> hero_fields();
// The lines of a whole save.
int hero_record_lines();
