// The tests and benchmarks work on the system's own files, handed to the game as the programs hand them.
#include "platform/system_storage.hpp"

namespace {

const bool handed = (use_storage(system_storage()), true);

}  // namespace
