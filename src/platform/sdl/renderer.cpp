// The composed form copied onto SDL surfaces: the window's, or one of its own.
#include "platform/sdl/renderer.hpp"

#include "render/freetype_raster.hpp"

std::optional<SDL_Rect> WindowRenderer::copy_to(SDL_Surface* target, const SDL_Rect& dst, bool changes_only) {
  const Frame& f = frame();
  if (!target || f.width <= 0 || f.height <= 0 || dst.w < f.width) return std::nullopt;
  const std::optional<Rect> changed = take_changes();
  SDL_Rect from{0, 0, f.width, f.height};
  if (changes_only && changed) from = {changed->x, changed->y, changed->w, changed->h};
  if (from.w <= 0 || from.h <= 0) return SDL_Rect{0, 0, 0, 0};
  SDL_Surface* src = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(f.pixels.data()), f.width, f.height,
                                                        32, f.width * 4, SDL_PIXELFORMAT_RGB888);
  if (!src) {
    show_all_again();
    return std::nullopt;
  }
  const int zoom = dst.w / f.width;
  SDL_Rect to{dst.x + from.x * zoom, dst.y + from.y * zoom, from.w * zoom, from.h * zoom};
  int failed = 0;
  if (zoom == 1) {
    failed = SDL_BlitSurface(src, &from, target, &to);  // `to` becomes the part written
  } else if (to.x >= 0 && to.y >= 0 && to.x + to.w <= target->w && to.y + to.h <= target->h) {
    failed = SDL_BlitScaled(src, &from, target, &to);
  } else {
    // Zoomed first and clipped after: SDL clips a zoomed copy in the source's pixels, which
    // would move the picture by a fraction at the surface's edge (the shake in full screen).
    SDL_Surface* zoomed = SDL_CreateRGBSurfaceWithFormat(0, to.w, to.h, 32, SDL_PIXELFORMAT_RGB888);
    failed = !zoomed || SDL_BlitScaled(src, &from, zoomed, nullptr) != 0 ||
             SDL_BlitSurface(zoomed, nullptr, target, &to) != 0;
    SDL_FreeSurface(zoomed);
  }
  SDL_FreeSurface(src);
  if (failed) {
    show_all_again();
    return std::nullopt;
  }
  return to;
}

OffscreenRenderer::OffscreenRenderer(const Sjis& sjis, TextRaster& fonts, int scale)
    : renderer_(sjis, fonts, scale) {}

OffscreenRenderer::~OffscreenRenderer() {
  if (surface_) SDL_FreeSurface(surface_);
}

bool OffscreenRenderer::draw(const Form& form, const UiState& ui) {
  renderer_.compose(form, ui);
  const Frame& f = renderer_.frame();
  if (!surface_ || surface_->w != f.width || surface_->h != f.height) {
    if (surface_) SDL_FreeSurface(surface_);
    surface_ = SDL_CreateRGBSurfaceWithFormat(0, f.width, f.height, 32, SDL_PIXELFORMAT_RGB888);
    if (!surface_) return false;
    renderer_.show_all_again();
  }
  return renderer_.copy_to(surface_, {0, 0, f.width, f.height}, true).has_value();
}

RgbImage surface_image(SDL_Surface* surface) {
  RgbImage img;
  if (!surface) return img;
  SDL_Surface* s = surface->format->format == SDL_PIXELFORMAT_RGB888
                       ? surface
                       : SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_RGB888, 0);
  if (!s) return img;
  img.width = s->w;
  img.height = s->h;
  img.pixels.resize(static_cast<size_t>(s->w) * s->h);
  SDL_LockSurface(s);
  for (int y = 0; y < s->h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) +
                                                        static_cast<ptrdiff_t>(y) * s->pitch);
    for (int x = 0; x < s->w; ++x) img.pixels[static_cast<size_t>(y) * s->w + x] = row[x] & 0xFFFFFF;
  }
  SDL_UnlockSurface(s);
  if (s != surface) SDL_FreeSurface(s);
  return img;
}

bool write_png(const std::string& path, SDL_Surface* surface) {
  const RgbImage img = surface_image(surface);
  return img.width > 0 && write_png(path, img);
}

RgbImage render_form_image(const Form& form, const Sjis& sjis, TextRaster& fonts, int scale) {
  OffscreenRenderer r(sjis, fonts, scale);
  if (!r.draw(form)) return {};
  return surface_image(r.surface());
}

RgbImage render_form_image(const Form& form, const Sjis& sjis, int scale) {
  FreeTypeRaster fonts;
  return render_form_image(form, sjis, fonts, scale);
}
