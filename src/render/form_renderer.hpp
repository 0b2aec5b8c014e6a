// The form composed into one frame of pixels at a zoom, with the question box and the tip.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
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

  // Composes the window: every shown control in painting order, each clipped by its panels,
  // then the tip and the question box if there are any. After the first frame only the parts
  // where something drawn changed are drawn again: the controls that changed, where they were
  // and where they are, and a picture's pixels only where its canvas changed. The frame is the
  // same as one composed whole.
  void compose(const Form& form, const UiState& ui = {});
  const Frame& frame() const { return frame_; }

  // Where the frames composed since the last call were drawn again, in pixels (nothing else
  // differs from the frame shown then);
  // nothing when all of the frame is to be shown (the first frame, a new size, or after
  // show_all_again).
  std::optional<Rect> take_changes();
  // The host lost what it showed: the next take_changes asks for the whole frame.
  void show_all_again() { all_unshown_ = true; }

  QuestionGeometry question_geometry(const Form& form, const QuestionView& q);
  TextCache& text() { return text_; }

 private:
  // A control as the frame shows it: what its drawing depends on, and the pixels it painted.
  struct Seen {
    bool painted = false;
    Rect extent;  // in pixels, inside the frame
    Rect window, visible;  // visible: the clip it is drawn in, in window units
    std::string caption;
    Look look;
    uint32_t back = 0;  // its own colour or its panel's
    int min = 0, max = 0, position = 0;
    std::vector<std::string> items;
    int selected = -1, top_index = 0;
    bool focused = false, pressed = false;
    int canvas_w = 0, canvas_h = 0;
    // Everything above that its drawing depends on, to compare with and take from the live
    // state, in the same order as FormRenderer::note_changes lists that.
    auto depends_on() {
      return std::tie(window, visible, caption, look, back, min, max, position, items, selected, top_index, focused,
                      pressed, canvas_w, canvas_h);
    }
    uint64_t canvas_revision = 0;
    std::vector<uint32_t> shown;  // pictures: the part of the canvas shown, as the frame shows it
  };
  // How a picture's canvas lies on its control: the part shown (sw x sh, from its top-left) and
  // the pixels that part covers (dw x dh from rp's top-left).
  struct PictureFit {
    Rect rp;
    int sw = 0, sh = 0, dw = 0, dh = 0;
    bool empty() const { return sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0; }
  };
  PictureFit picture_fit(const Form& form, ctl::Id id) const;

  // Whether the control is painted at all: shown, not outside its panels, not wholly under an
  // opaque panel painted after it (the i-th in painting order).
  bool painted(const Form& form, size_t i) const;
  // The pixels a painted control may write, `visible` being what its panels let through.
  Rect extent(const Form& form, ctl::Id id, const Rect& visible);
  const TextBlock& label_text(const Form& form, ctl::Id id);
  Rect label_box(const Form& form, ctl::Id id, const TextBlock& t) const;
  // Compares the control with the frame, notes where the frame must be drawn again, and keeps
  // what it is now.
  void note_changes(const Form& form, ctl::Id id, bool painted, const UiState& ui);
  void note_canvas_changes(const Form& form, ctl::Id id);
  // Draws everything that lies in `px` again.
  void draw_part(const Form& form, const UiState& ui, const Rect& px);

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
  Painter paint_;
  std::vector<Seen> seen_;  // by control
  UiState seen_ui_;
  uint32_t seen_back_ = 0;  // the window's own colour
  bool composed_ = false;   // the frame holds a composed form
  std::vector<Rect> redraw_;  // this frame's parts to draw again
  std::vector<std::pair<size_t, Rect>> opaque_;  // painted panels: index in painting order, rectangle

  // Where the frames composed since the last take differ from the frame shown then, in pixels;
  // everything when the host does not hold that frame.
  Rect unshown_;
  bool all_unshown_ = true;
};
