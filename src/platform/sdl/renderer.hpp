// The form shown through SDL: in the window, on a surface, in a PNG file.
#pragma once
#include <SDL.h>

#include "platform/sdl/fonts.hpp"
#include "render/form_renderer.hpp"
#include "render/png.hpp"

// The composed form shown through an SDL renderer (a window's, or a software renderer over a
// surface): the frame is uploaded as one texture and copied.
class WindowRenderer : public FormRenderer {
 public:
  using FormRenderer::FormRenderer;
  ~WindowRenderer();

  // Copies the last composed frame onto the target's current render target, into dst (the whole
  // target when null). Only what changed since the last copy is uploaded; with `changes_only`,
  // only that part is copied too, for a target that still shows the last copy at the same place
  // at the frame's own size.
  bool copy_to(SDL_Renderer* target, const SDL_Rect* dst = nullptr, bool changes_only = false);
  // Forgets the texture made on the last target; call before that renderer is destroyed, or
  // when it reports that its textures were lost.
  void release_target();

 private:
  SDL_Renderer* target_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int texture_w_ = 0, texture_h_ = 0;
};

// A software renderer over a surface of its own: the window's pictures without a window.
class OffscreenRenderer {
 public:
  OffscreenRenderer(const Sjis& sjis, FontLibrary& fonts, int scale);
  ~OffscreenRenderer();
  OffscreenRenderer(const OffscreenRenderer&) = delete;
  OffscreenRenderer& operator=(const OffscreenRenderer&) = delete;

  // A full repaint: compose, upload, and copy through SDL's software renderer onto the surface.
  // False if SDL could not make the surface or the renderer.
  bool draw(const Form& form, const UiState& ui = {});
  // The surface drawn on (0x00RRGGBB pixels), null before the first draw.
  SDL_Surface* surface() const { return surface_; }
  WindowRenderer& form_renderer() { return renderer_; }

 private:
  WindowRenderer renderer_;
  SDL_Surface* surface_ = nullptr;
  SDL_Renderer* soft_ = nullptr;
};

// The surface's pixels as an RGB picture, and written to a PNG file.
RgbImage surface_image(SDL_Surface* surface);
bool write_png(const std::string& path, SDL_Surface* surface);

// The window as it would be drawn, through SDL_ttf and SDL's software renderer without a window,
// at the zoom. The first form uses fonts of its own (found through fontconfig, which takes a
// moment); throws FontError when the fonts are missing. An empty image if SDL fails.
RgbImage render_form_image(const Form& form, const Sjis& sjis, int scale);
RgbImage render_form_image(const Form& form, const Sjis& sjis, FontLibrary& fonts, int scale);
