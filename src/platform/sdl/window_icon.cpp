#include "platform/sdl/window_icon.hpp"

SDL_Surface* load_window_icon(const std::string& path) { return SDL_LoadBMP(path.c_str()); }

void set_window_icon(SDL_Window* window, const std::string& path) {
  SDL_Surface* icon = load_window_icon(path);
  if (!icon) return;
  SDL_SetWindowIcon(window, icon);
  SDL_FreeSurface(icon);
}
