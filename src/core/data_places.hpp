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

// The game's own data, found from the folder of the program (absolute, without "." or ".."
// parts): the installed pack in ../share/lushera, else the pack beside the program (a build tree,
// an unpacked folder). The save goes to the player's own folder for it (on the desktop
// $XDG_DATA_HOME/lushera, or ~/.local/share/lushera) when the pack is installed or cannot be written.
DataPlaces default_places(const std::string& program_folder);
