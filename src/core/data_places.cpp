// Finding the pack and the save's folder: beside the program, installed, or the player's own.
#include "core/data_places.hpp"

#include "storage/storage.hpp"

DataPlaces places_in(const std::string& dir) { return {dir, ""}; }

DataPlaces default_places(const std::string& program_folder) {
  const std::string above = folder_of(program_folder);
  const std::string installed = (above == "/" ? "" : above) + "/share/lushera";
  // An installed pack belongs to the system: the save never goes into it, even for a user who
  // could write there. On POSIX the pack is installed apart from the program; on Windows it
  // stays beside the program, in the system's folder of programs.
  const bool is_installed = storage().stamp(installed + "/dat/name.dat").has_value();
  DataPlaces p{is_installed ? installed : program_folder, ""};
  if (is_installed || storage().among_installed_programs(program_folder) || !storage().may_write(p.pack + "/dat"))
    p.saves = storage().user_folder(UserFolder::data);
  return p;
}
