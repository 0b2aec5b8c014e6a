#pragma once
#include <SDL.h>

#include <vector>

// The icon the window system shows for the window, as its _NET_WM_ICON property: width, height,
// then the pixels as ARGB. Empty off X or without an icon.
std::vector<unsigned long> window_icon(SDL_Window* window);
