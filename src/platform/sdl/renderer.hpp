// The form shown through SDL: in the window, on a surface, in a PNG file.
#pragma once
#include <SDL.h>

#include "render/text_raster.hpp"
#include "render/form_renderer.hpp"
#include "render/png.hpp"

// The composed form shown on an SDL surface: the window's own (which the window system shows
// without a graphics driver in between), or one made for a picture without a window.
class WindowRenderer : public FormRenderer {
 public:
  using FormRenderer::FormRenderer;

  // Copies the last composed frame onto the surface with its top-left at dst and zoomed by the
  // whole factor dst.w / the frame's width (nearest-neighbour). With `changes_only` only what
  // was drawn again since the last copy is copied, for a surface that still shows that copy at
  // the same place. The part of the surface written (empty when nothing changed), nothing when
  // SDL failed.
  std::optional<SDL_Rect> copy_to(SDL_Surface* target, const SDL_Rect& dst, bool changes_only);
};

// A surface of its own: the window's pictures without a window.
class OffscreenRenderer {
 public:
  OffscreenRenderer(const Sjis& sjis, TextRaster& fonts, int scale);
  ~OffscreenRenderer();
  OffscreenRenderer(const OffscreenRenderer&) = delete;
  OffscreenRenderer& operator=(const OffscreenRenderer&) = delete;

  // Composes and copies the frame onto the surface, as the window shows it. False if SDL could
  // not make the surface.
  bool draw(const Form& form, const UiState& ui = {});
  // The surface drawn on (0x00RRGGBB pixels), null before the first draw.
  SDL_Surface* surface() const { return surface_; }
  WindowRenderer& form_renderer() { return renderer_; }

 private:
  WindowRenderer renderer_;
  SDL_Surface* surface_ = nullptr;
};

// The surface's pixels as an RGB picture, and written to a PNG file.
RgbImage surface_image(SDL_Surface* surface);
bool write_png(const std::string& path, SDL_Surface* surface);

// The window as it would be drawn, onto a surface without a window,
// at the zoom. The first form uses fonts of its own (found through fontconfig, which takes a
// moment); throws FontError when the fonts are missing. An empty image if SDL fails.
RgbImage render_form_image(const Form& form, const Sjis& sjis, int scale);
RgbImage render_form_image(const Form& form, const Sjis& sjis, TextRaster& fonts, int scale);
