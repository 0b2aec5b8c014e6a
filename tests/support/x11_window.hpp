#pragma once
#include <SDL.h>

#include <cstdint>
#include <vector>

// The icon the window system shows for the window, as its _NET_WM_ICON property: width, height,
// then the pixels as ARGB. Empty off X or without an icon.
std::vector<unsigned long> window_icon(SDL_Window* window);

// What the X server shows of the window, as 0xRRGGBB pixels in rows of its width. Empty off X.
struct ServerPixels {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
ServerPixels window_pixels(SDL_Window* window);

// Whether the X server shows a dialog window (an error box) over a window of the process `pid`.
// Off X, false.
bool dialog_shown(long pid);
