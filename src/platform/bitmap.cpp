#include "platform/bitmap.hpp"

#include <SDL.h>

#include <cstring>

#include "ui/canvas.hpp"

bool load_bmp_file(const std::string& path, Canvas& into) {
  SDL_Surface* raw = SDL_LoadBMP(path.c_str());
  if (!raw) return false;
  SDL_Surface* s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGB888, 0);
  SDL_FreeSurface(raw);
  if (!s) return false;
  if (s->w <= 0 || s->h <= 0 || s->w > 8192 || s->h > 8192) {
    SDL_FreeSurface(s);
    return false;
  }
  into.resize(s->w, s->h);
  uint32_t* out = into.writable();
  SDL_LockSurface(s);
  for (int y = 0; y < s->h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) +
                                                        static_cast<ptrdiff_t>(y) * s->pitch);
    for (int x = 0; x < s->w; ++x) out[static_cast<size_t>(y) * s->w + x] = row[x] & 0xFFFFFF;
  }
  SDL_UnlockSurface(s);
  SDL_FreeSurface(s);
  return true;
}
