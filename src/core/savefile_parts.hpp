// What the save's own files share within core: the pair's names, a data file read, the pair written.
#pragma once
#include <string>

struct Game;

constexpr const char* kSaveFile = "my.dat";
constexpr const char* kItemFile = "item.dat";

// The whole file, or an IoError naming it and what was wrong: missing, unreadable, not a regular
// file (a FIFO would hold the start for ever, a device never ends), or larger than any data file.
std::string read_data_bytes(const std::string& path);

// Whether anything has the name (a dangling link counts).
bool exists(const std::string& path);

// Puts the bytes of a save, and of the item catalogue when given, in place as one pair: both
// are written to temporary files beside the old ones and flushed, then the catalogue and then the
// save are renamed over them (see save_game).
void write_pair(Game& g, const std::string* catalogue, const std::string& save_bytes);

// Finishes or forgets a save that was stopped part of the way (see save_game).
void settle_interrupted_save(Game& g);

// A save kept apart from the pack starts as a copy of the pack's pair.
void copy_first_save(Game& g);
