// The first start of a save kept apart from the pack: the pack's pair copied into its folder.
#include "core/game.hpp"
#include "core/savefile_parts.hpp"

// Its save, and its item catalogue unless the folder holds one already (the cards of an earlier
// hero). The copy goes through the same temporary files and renames as a save, so a copy stopped
// half-way is settled or done again at the next start, and never taken for a save. A save folder
// holding a save but no catalogue is left alone: the load then names the missing file, and
// nothing is overwritten.
void copy_first_save(Game& g) {
  if (g.save_dir.empty() || exists(g.save_path(kSaveFile))) return;
  const std::string save = read_data_bytes(g.path("dat", kSaveFile));
  if (exists(g.save_path(kItemFile))) return write_pair(g, nullptr, save);
  const std::string catalogue = read_data_bytes(g.path("dat", kItemFile));
  write_pair(g, &catalogue, save);
}
