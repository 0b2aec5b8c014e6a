// The composed form uploaded and copied through SDL's renderers.
#include "platform/sdl/renderer.hpp"

WindowRenderer::~WindowRenderer() { release_target(); }

void WindowRenderer::release_target() {
  if (texture_) SDL_DestroyTexture(texture_);
  texture_ = nullptr;
  target_ = nullptr;
  texture_w_ = texture_h_ = 0;
  show_all_again();
}

bool WindowRenderer::copy_to(SDL_Renderer* target, const SDL_Rect* dst, bool changes_only) {
  const Frame& f = frame();
  if (!target || f.width <= 0 || f.height <= 0) return false;
  if (target != target_ || texture_w_ != f.width || texture_h_ != f.height) {
    release_target();
    // Pictures are zoomed nearest-neighbour, also when a full screen scales the whole frame.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    texture_ = SDL_CreateTexture(target, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                 f.width, f.height);
    if (!texture_) return false;
    SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    target_ = target;
    texture_w_ = f.width;
    texture_h_ = f.height;
  }
  const std::optional<Rect> changed = take_changes();
  const SDL_Rect part = changed ? SDL_Rect{changed->x, changed->y, changed->w, changed->h}
                                : SDL_Rect{0, 0, f.width, f.height};
  const bool only_part = changes_only && changed;
  if (part.w > 0 && part.h > 0 &&
      SDL_UpdateTexture(texture_, &part, f.pixels.data() + static_cast<size_t>(part.y) * f.width + part.x,
                        f.width * 4) != 0) {
    show_all_again();
    return false;
  }
  if (!only_part) return SDL_RenderCopy(target, texture_, nullptr, dst) == 0;
  if (part.w <= 0 || part.h <= 0) return true;
  const SDL_Rect at{part.x + (dst ? dst->x : 0), part.y + (dst ? dst->y : 0), part.w, part.h};
  return SDL_RenderCopy(target, texture_, &part, &at) == 0;
}

OffscreenRenderer::OffscreenRenderer(const Sjis& sjis, FontLibrary& fonts, int scale)
    : renderer_(sjis, fonts, scale) {}

OffscreenRenderer::~OffscreenRenderer() {
  renderer_.release_target();
  if (soft_) SDL_DestroyRenderer(soft_);
  if (surface_) SDL_FreeSurface(surface_);
}

bool OffscreenRenderer::draw(const Form& form, const UiState& ui) {
  renderer_.compose(form, ui);
  const Frame& f = renderer_.frame();
  if (!surface_ || surface_->w != f.width || surface_->h != f.height) {
    renderer_.release_target();
    if (soft_) SDL_DestroyRenderer(soft_);
    if (surface_) SDL_FreeSurface(surface_);
    soft_ = nullptr;
    surface_ = SDL_CreateRGBSurfaceWithFormat(0, f.width, f.height, 32, SDL_PIXELFORMAT_RGB888);
    if (!surface_) return false;
    soft_ = SDL_CreateSoftwareRenderer(surface_);
    if (!soft_) return false;
  }
  return renderer_.copy_to(soft_, nullptr);
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

RgbImage render_form_image(const Form& form, const Sjis& sjis, FontLibrary& fonts, int scale) {
  OffscreenRenderer r(sjis, fonts, scale);
  if (!r.draw(form)) return {};
  return surface_image(r.surface());
}

RgbImage render_form_image(const Form& form, const Sjis& sjis, int scale) {
  FontLibrary fonts;
  return render_form_image(form, sjis, fonts, scale);
}
