#pragma once
#include <stdexcept>
#include <string>

struct Game;

// An input/output error of loading or saving: which file, which line, and what was wrong.
// The message is UTF-8, ready for the error box.
class IoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads my.dat, name.dat, magic.dat, aiko.dat, item.dat and f.dat, in that order, straight into
// the game state. Throws IoError at the first failure; what was read until then stays.
void load_game(Game& g);
// Writes my.dat, then item.dat, each through a temporary file renamed over the old one.
void save_game(Game& g);
