#pragma once
#include <SDL.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/sdl/fonts.hpp"
#include "platform/sdl/painter.hpp"
#include "platform/sdl/text_layout.hpp"
#include "ui/form.hpp"

class Sjis;

// The modal question as the window shows it.
struct QuestionView {
  std::string text;  // Shift-JIS, as the game asks it
  int focus = 0;     // 0: "はい", 1: "いいえ"
  int pressed = -1;  // the button held down, -1 for none
  bool operator==(const QuestionView&) const = default;
};

// A control's tip, shown below the mouse pointer (window coordinates).
struct TipView {
  ctl::Id control = ctl::form;
  int x = 0, y = 0;
  bool operator==(const TipView&) const = default;
};

// What the window shows besides the form itself.
struct UiState {
  ctl::Id pressed = ctl::form;  // the push button held down (sunken), ctl::form for none
  std::optional<TipView> tip;
  std::optional<QuestionView> question;
  bool operator==(const UiState&) const = default;
};

// Where the question box and its parts lie, in window coordinates.
struct QuestionGeometry {
  Rect box, title, icon, text, yes, no;
};

// Draws a whole form the way the classic desktop toolkit it was laid out for drew it, at an
// integer zoom: window coordinates become scale × scale blocks of pixels (pictures are zoomed
// nearest-neighbour), and text is rendered at the zoomed size so it stays sharp. At 1× every
// control is exactly where the layout puts it.
//
// The frame is composed in our own memory, then uploaded as one texture and copied to whatever
// SDL renderer is given (a window's, or a software renderer over a surface).
class FormRenderer {
 public:
  FormRenderer(const Sjis& sjis, FontLibrary& fonts, int scale);
  ~FormRenderer();
  FormRenderer(const FormRenderer&) = delete;
  FormRenderer& operator=(const FormRenderer&) = delete;

  int scale() const { return scale_; }

  // Composes the whole window: every shown control in painting order, each clipped by its
  // panels, then the question box if there is one.
  void compose(const Form& form, const UiState& ui = {});
  const Frame& frame() const { return frame_; }

  // Copies the last composed frame onto the target's current render target, into dst (the whole
  // target when null). Only what changed since the last copy is uploaded; with `changes_only`,
  // only that part is copied too, for a target that still shows the last copy at the same place
  // at the frame's own size.
  bool copy_to(SDL_Renderer* target, const SDL_Rect* dst = nullptr, bool changes_only = false);
  // Forgets the texture made on the last target; call before that renderer is destroyed, or
  // when it reports that its textures were lost.
  void release_target();

  QuestionGeometry question_geometry(const Form& form, const QuestionView& q);
  TextCache& text() { return text_; }

 private:
  struct Scaled {
    uint64_t revision = 0;
    int src_w = 0, src_h = 0, dst_w = 0, dst_h = 0;
    std::vector<uint32_t> pixels;
  };

  void draw_panel(const Form& form, ctl::Id id);
  void draw_label(const Form& form, ctl::Id id, const Rect& visible_px);
  void draw_button(const Rect& r, const std::string& caption, bool sjis, const Font& font,
                   uint32_t fore, bool pressed, bool focused);
  void draw_gauge(const Form& form, ctl::Id id);
  void draw_slider(const Form& form, ctl::Id id);
  void draw_list(const Form& form, ctl::Id id);
  void draw_picture(const Form& form, ctl::Id id);
  void draw_question(const Form& form, const QuestionView& q);
  void draw_tip(const Form& form, const TipView& tip);
  void draw_question_icon(const Rect& r);
  void draw_scroll_button(const Rect& r, bool up);

  const Sjis& sjis_;
  TextCache text_;
  int scale_;
  Frame frame_;
  Frame previous_;  // the frame composed before this one
  Painter paint_;
  std::vector<Scaled> scaled_;  // zoomed or stretched pictures, by control

  SDL_Renderer* target_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int texture_w_ = 0, texture_h_ = 0;
  // Where the frames composed since the last copy differ from the frame that copy showed, in
  // pixels; everything when the texture does not hold that frame.
  Rect unshown_;
  bool all_unshown_ = true;
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
  FormRenderer& form_renderer() { return renderer_; }

 private:
  FormRenderer renderer_;
  SDL_Surface* surface_ = nullptr;
  SDL_Renderer* soft_ = nullptr;
};
