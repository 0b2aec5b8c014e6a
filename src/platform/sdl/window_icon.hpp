// The window's icon from the pack.
#pragma once
#include <SDL.h>

#include <string>

// The window's icon, drawn by the art generator with the desktop's icons and kept in the pack as
// a 32-bit bitmap with an alpha channel (cg/icon.bmp). Null when the file is missing, broken, not
// a regular file, or of more pixels than 512 x 512.
SDL_Surface* load_window_icon(const std::string& path);
// Gives the window its icon; a pack without one leaves the window system's default.
void set_window_icon(SDL_Window* window, const std::string& path);
