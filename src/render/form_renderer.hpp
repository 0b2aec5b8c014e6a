// The form composed into one frame of pixels at a zoom, with the question box and the tip.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "render/painter.hpp"
#include "render/text_layout.hpp"
#include "ui/form.hpp"

class Sjis;

// The modal question as the window shows it.
// No picture larger than this is composed: a screen with room for more is rare, and each step
// costs the frame's memory and its copy as the square of the zoom.
constexpr int kMaxZoom = 8;

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
// The frame is composed in our own memory; a host shows it as it can (the window uploads it as one
// texture), and a screenshot is the frame itself.
class FormRenderer {
 public:
  FormRenderer(const Sjis& sjis, TextRaster& raster, int scale);
  FormRenderer(const FormRenderer&) = delete;
  FormRenderer& operator=(const FormRenderer&) = delete;

  int scale() const { return scale_; }

  // Composes the whole window: every shown control in painting order, each clipped by its
  // panels, then the question box if there is one.
  void compose(const Form& form, const UiState& ui = {});
  const Frame& frame() const { return frame_; }

  // Where the frames composed since the last call differ from the frame shown then, in pixels;
  // nothing when all of the frame is to be shown (the first frame, a new size, or after
  // show_all_again).
  std::optional<Rect> take_changes();
  // The host lost what it showed: the next take_changes asks for the whole frame.
  void show_all_again() { all_unshown_ = true; }

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

  TextCache text_;
  int scale_;
  Frame frame_;
  Frame previous_;  // the frame composed before this one
  Painter paint_;
  std::vector<Scaled> scaled_;  // zoomed or stretched pictures, by control

  // Where the frames composed since the last take differ from the frame shown then, in pixels;
  // everything when the host does not hold that frame.
  Rect unshown_;
  bool all_unshown_ = true;
};
