// Whole numbers in the texts the game is given: a field's value, a script's counts.
#pragma once
#include <cstdint>
#include <string_view>

// A decimal number that is the whole text and fits in 32 bits; false for anything else (empty,
// trailing characters, out of range), leaving `out` as it was.
bool parse_whole_number(std::string_view text, int32_t& out);
