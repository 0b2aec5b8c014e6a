// The folders of the data pack and of the save, and how the game finds them.
#pragma once
#include <string>

// Where the game reads its data and keeps its save. The pack holds dat/ (catalogues, sounds) and
// cg/ (pictures); the save (my.dat) and the item catalogue (item.dat, which also holds the cards
// made in battle) live in its dat/ too, unless the pack is installed or cannot be written: then
// they live in the player's own data folder, and the rest is still read from the pack.
struct DataPlaces {
  std::string pack;
  // The folder of my.dat and item.dat; empty: the pack's dat/.
  std::string saves;
  std::string save_folder() const { return saves.empty() ? pack + "/dat" : saves; }
};

// --data DIR: everything in DIR, the save in DIR/dat.
DataPlaces places_in(const std::string& dir);

// The game's own data, found from the folder of the program: the installed pack in
// ../share/lushera, else the pack beside the program (a build tree, an unpacked folder).
DataPlaces default_places(const std::string& program_folder);

// The game's own folder of a kind: $VARIABLE/lushera, or ~/IN_HOME/lushera when the variable is
// not set (or not absolute); empty when not even a home folder is known.
std::string user_folder(const char* variable, const char* in_home);
// $XDG_DATA_HOME/lushera, or ~/.local/share/lushera.
std::string user_save_folder();
