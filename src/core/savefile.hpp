// Loading and saving the data files, a chosen save pair's check, and the errors that stop them.
#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

struct Game;
class Sjis;

// An input/output error of loading or saving: which file, which line, and what was wrong.
// The message is UTF-8, ready for the error box.
class IoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The longest line any data file may hold. The longest text the game shows (an item's or a
// technique's description) is a few dozen characters; a line far past that is a broken file, and
// typing it out would hold the window for hours.
constexpr size_t kMaxLineBytes = 4096;

// The data files in the order start-up reads them.
enum class DataFile { save, names, techniques, spirits, items, figures };

// Reads my.dat, name.dat, magic.dat, aiko.dat, item.dat and f.dat, in that order, straight into
// the game state. Throws IoError at the first failure; what was read until then stays. A save
// that was stopped between its two renames is first completed (see save_game). The save and the
// item catalogue come from the save's folder (Game::save_path), the rest from the pack; a save
// folder apart from the pack gets a copy of the pack's pair on the first start.
void load_game(Game& g);
// Reads the bytes of one data file into the game state as load_game reads that file; `label`
// names the file in the error.
void read_data_file(Game& g, DataFile file, const std::string& bytes, const std::string& label);

// A file the player chose to bring in as half of a save pair: its name as the player knows it,
// and its bytes.
struct ChosenFile {
  std::string name;
  std::string bytes;
};
// Far above any real save (a few kilobytes) or catalogue (tens of kilobytes).
constexpr size_t kMaxChosenSaveBytes = 1024 * 1024;
// Which of two chosen files is the save (0 or 1; the other is the item catalogue), or -1 with
// what is wrong, in the player's words (UTF-8, naming the files by their chosen names).
struct PairCheck {
  int save = -1;
  std::string problem;
};
// Reads two chosen files with the game's own readers, without touching any game: the pair is
// taken only when one holds a whole save of a hero and the other a whole item catalogue, in
// either order (a browser may rename a download "my (1).dat").
PairCheck check_save_pair(const Sjis& sjis, const ChosenFile (&files)[2]);

// Writes my.dat and item.dat as one pair: both are written to temporary files beside them and
// flushed, then the catalogue and then the save are renamed over the old ones. A process stopped
// at any moment leaves the old pair, or the new catalogue with the old save and the new save
// waiting complete in my.dat.tmp, which the next load_game puts in place. A text that would break
// the file's lines (a line break inside, or longer than kMaxLineBytes) is refused before anything
// is written.
void save_game(Game& g);
// The pair's bytes as save_game writes them (throwing as it does for a text it cannot write), and
// writing bytes so made.
struct SavePair {
  std::string save, catalogue;
  bool operator==(const SavePair&) const = default;
};
SavePair encode_save(const Game& g);
void save_game(Game& g, const SavePair& pair);
