// The window as data: every control is declared once in layout.def, which gives the control ids
// below (ctl::moji_l, ctl::Button27 ...) and the design values of each control.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/canvas.hpp"
#include "ui/color.hpp"

namespace ctl {
enum Id : uint16_t {
  form,  // the window itself, parent of the top-level controls
#define CONTROL(name, ...) name,
#include "ui/layout.def"
#undef CONTROL
  count
};
}  // namespace ctl

// The keys that move a slider or a list's selection, whatever the window system calls them: one
// back or forward, a page back or forward, or to an end.
enum class MoveKey : uint8_t { Back, Forward, PageBack, PageForward, Home, End };
constexpr bool moves_forward(MoveKey k) {
  return k == MoveKey::Forward || k == MoveKey::PageForward || k == MoveKey::End;
}
// Where the key takes a position within min .. max, a page being `page` positions.
int moved_position(int position, int min, int max, MoveKey key, int page);

enum class Kind : uint8_t { Window, Panel, Label, Button, Picture, Gauge, Slider, ListBox, Shape };

// The three font families of the layout; the platform maps them to real fonts.
enum class Face : uint8_t { PGothic, Gothic, Mincho };
enum class Align : uint8_t { Left, Right, Center };

struct Font {
  Face face = Face::PGothic;
  int px = 12;
  bool bold = false;
  bool italic = false;
  bool operator==(const Font&) const = default;
};

struct Look {
  uint32_t fore = cl::black;
  uint32_t back = cl::none;  // none: transparent (labels) or the parent's colour (panels)
  Font font = {};
  Align align = Align::Left;
  bool wrap = false;
  int first_line_room = 0;  // labels: > 0, the width the first line keeps within (a control covers the rest)
  bool stretch = false;  // pictures: stretch the canvas over the control
  const char* hint = nullptr;  // a tip shown when the mouse rests on the control (UTF-8)
  bool operator==(const Look&) const = default;
};

// One row of the layout table.
struct ControlSpec {
  const char* name;
  Kind kind;
  ctl::Id parent;
  int x, y, w, h;  // w or h 0: sized by the renderer to the caption (labels)
  bool visible;
  const char* caption;  // UTF-8
  Look look;
};

// A control's live state. Captions are Shift-JIS bytes.
struct Control {
  ctl::Id id = ctl::form;
  Kind kind = Kind::Window;
  ctl::Id parent = ctl::form;
  int x = 0, y = 0, w = 0, h = 0;
  bool visible = true;
  std::string caption;
  Look look;
  // gauge and slider
  int min = 0, max = 100, position = 0;
  // list box
  std::vector<std::string> items;
  int selected = -1;
  int top_index = 0;
  // picture
  Canvas canvas;
};

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
  Rect intersect(const Rect& o) const;
  bool empty() const { return w <= 0 || h <= 0; }
  bool operator==(const Rect&) const = default;
};

class Sjis;

class Form {
 public:
  // Builds every control from the layout table, converting captions to Shift-JIS.
  Form(const Sjis& sjis, int client_width, int client_height);

  Control& operator[](ctl::Id id) { return controls_[id]; }
  const Control& operator[](ctl::Id id) const { return controls_[id]; }
  static const char* name(ctl::Id id);
  // Finds a control by its layout name; ctl::count if there is none.
  static ctl::Id find(std::string_view name);
  static const ControlSpec& spec(ctl::Id id);

  // The only ways the game changes what the window shows; each notes a change for the renderer.
  void set_caption(ctl::Id id, const std::string& sjis_text);
  // Adds to the end of the caption, without copying what it already holds.
  void append_caption(ctl::Id id, std::string_view sjis_text);
  void show(ctl::Id id) { set_visible(id, true); }
  void hide(ctl::Id id) { set_visible(id, false); }
  void set_visible(ctl::Id id, bool v);
  void move(ctl::Id id, int x, int y);
  void resize(ctl::Id id, int w, int h);
  void set_fore(ctl::Id id, uint32_t colour);
  // A control's own colour: the face of a label or a panel behind its text.
  void set_back(ctl::Id id, uint32_t colour);
  void set_gauge(ctl::Id id, int max, int progress);
  void set_position(ctl::Id id, int position);
  void touch() { ++revision_; }

  // Shown means: the control and every panel it lies in are visible.
  bool shown(ctl::Id id) const;
  // The control's rectangle in window coordinates, and the part of it its panels let through.
  Rect window_rect(ctl::Id id) const;
  Rect visible_rect(ctl::Id id) const;
  // Controls in painting order (a parent before its children; within one parent the drawn-only
  // controls first, then the ones with windows of their own, each group in table order).
  const std::vector<ctl::Id>& paint_order() const { return paint_order_; }
  // The topmost shown control at a window point, or ctl::form over the bare window.
  ctl::Id hit_test(int x, int y) const;
  // Whether a player could click the control: shown, inside the client area at its centre, and
  // not covered there by anything above it.
  bool clickable(ctl::Id id) const;
  // Where Tab (+1) or Shift+Tab (-1) takes the focus: the next or previous button or slider a
  // player could use, in the window's order, round the end; ctl::form when there is none.
  ctl::Id next_focus(int direction) const;

  int client_width() const { return client_w_; }
  int client_height() const { return client_h_; }
  void set_client_size(int w, int h);

  // A number that changes whenever anything drawn changes (captions, visibility, canvases...).
  uint64_t revision() const;

  ctl::Id focus = ctl::form;  // keyboard focus (a button), ctl::form for none

 private:
  // Each control's rectangle in the window and the part of it its panels let through, worked
  // out for all of them at once when asked after a move or a resize (the game places its panels
  // as it starts): the driver hit-tests at every click, through every control.
  struct Placement {
    Rect window, visible;
  };
  const Placement& placed(ctl::Id id) const {
    if (!placed_) place();
    return placements_[id];
  }
  void place() const;

  std::array<Control, ctl::count> controls_;
  mutable std::array<Placement, ctl::count> placements_;
  mutable bool placed_ = false;
  std::vector<ctl::Id> paint_order_;
  // For each place in the painting order, the place after that control and everything in it.
  std::vector<int> after_;
  std::vector<ctl::Id> pictures_;  // the controls with a canvas
  int client_w_, client_h_;
  uint64_t revision_ = 0;
};
