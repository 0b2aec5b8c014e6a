// A save stopped part of the way, finished or forgotten at the next start.
#include "core/game.hpp"
#include "core/hero_record.hpp"
#include "core/savefile.hpp"
#include "core/savefile_parts.hpp"

namespace {

// Where a save writes its temporary files, anything but a regular file (a stopped save's) would
// make every save fail. What goes without loss goes (an empty folder, a link, a FIFO); anything
// else is named before the game is played, so no session is played for a save that cannot be made.
void clear_the_way(const std::string& tmp) {
  const EntryKind kind = storage().entry_kind(tmp);
  if (kind == EntryKind::none || kind == EntryKind::regular) return;
  const std::string why = storage().remove(tmp);
  if (why.empty()) return;
  throw IoError(tmp + " がセーブの一時ファイルの場所をふさいでいます（" + why +
                "）。取り除いてから始めてください。");
}

// A save as save_game writes it: exactly its lines, each ended by CR LF.
bool complete_save(const std::string& bytes) {
  if (bytes.size() < 2 || bytes.compare(bytes.size() - 2, 2, "\r\n") != 0) return false;
  size_t lines = 0;
  for (size_t p = bytes.find("\r\n"); p != std::string::npos; p = bytes.find("\r\n", p + 2)) ++lines;
  return static_cast<int>(lines) == hero_record_lines();
}

}  // namespace

bool exists(const std::string& path) { return storage().entry_kind(path) != EntryKind::none; }

// The catalogue's temporary file is renamed first, so a save's temporary file left alone means
// the catalogue is already in place and the save, written and flushed before that, only waits for
// its rename. Both left means the process stopped before either rename: the old pair stands, and
// the temporary files go.
void settle_interrupted_save(Game& g) {
  const std::string save = g.save_path(kSaveFile), items = g.save_path(kItemFile);
  const std::string save_tmp = save + ".tmp", items_tmp = items + ".tmp";
  clear_the_way(save_tmp);
  clear_the_way(items_tmp);
  if (!exists(save_tmp) && !exists(items_tmp)) return;
  if (!exists(items_tmp)) {
    try {
      if (complete_save(read_data_bytes(save_tmp)) && storage().replace(save_tmp, save).empty()) return;
    } catch (const IoError&) {
    }
  }
  storage().remove(save_tmp);
  storage().remove(items_tmp);
}
