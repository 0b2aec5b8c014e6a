// The storage of the system the program was built for, which the programs hand to the game.
#pragma once
#include "storage/storage.hpp"

// One for the whole process: the POSIX one (the desktop, the page's emscripten file system).
Storage& system_storage();
