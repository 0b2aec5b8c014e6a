// What the window's input does to its controls before the game hears of it, the same for every
// host (the desktop window, the web page): the tip's delay, the move keys on a slider or the list,
// scrolling a list. The host passes on to the game what the player chose (a slider's position, a
// list entry), through its own path (the window records it).
#pragma once
#include <cstdint>
#include <optional>

#include "render/form_renderer.hpp"
#include "ui/form.hpp"

// The tip of the control the mouse rests on: it comes up once the mouse has rested half a second
// on a control that has one, and goes away with a press or a move onto another control.
class TipTimer {
 public:
  static constexpr int kDelayMs = 500;
  void moved(const Form& form, ctl::Id over, int x, int y, int64_t now_ms);
  void pressed() { control_ = ctl::form, shown_ = false; }
  void tick(int64_t now_ms);
  // A tip waits for its delay: the host's timer must keep running.
  bool waiting() const { return control_ != ctl::form && !shown_; }
  std::optional<TipView> view(const Form& form) const;

 private:
  ctl::Id control_ = ctl::form;
  int x_ = 0, y_ = 0;
  int64_t since_ = 0;
  bool shown_ = false;
};

// Where a move key (arrows, page keys, Home, End) goes: the focused slider's position, as a track
// bar takes them (a page is two positions), or else the selection of the list a player can see
// (a page is the rows it shows less one). `id` is ctl::form when the key changes nothing.
struct KeyMove {
  ctl::Id id = ctl::form;
  int value = 0;
};
KeyMove move_key_target(const Form& form, MoveKey key);

// A way on the screen, as a game controller's D-pad or stick points.
enum class Direction : uint8_t { Up, Down, Left, Right };
// The control a controller's direction takes the focus to from the focused one: among the
// buttons, the slider and the list a player could use (the list only a controller focuses), whose centre lies beyond the focused one's centre
// that way, the one nearest, a step off the line counting twice a step along it (so the next
// control in a row or column wins over a nearer one beside it). ctl::form when there is none.
ctl::Id focus_toward(const Form& form, Direction way);

// Scrolls a list box so that `top` is its first row shown (kept within its rows).
void scroll_list(Form& form, ctl::Id list, int top);
// A press on a list box's scroll bar: its arrows scroll a row, the track beside the thumb a page.
// On the thumb, `thumb_grab` becomes where it was taken (for drag_thumb). False when the press
// was not on the bar (it then falls on a row, or nowhere).
bool press_scroll_bar(Form& form, ctl::Id list, int x, int y, std::optional<int>& thumb_grab);
// The thumb taken at `grab` follows the pointer to y.
void drag_thumb(Form& form, ctl::Id list, int y, int grab);
// The wheel turned by `notches` (up positive) over a list box.
void wheel_list(Form& form, ctl::Id list, int notches);
// Scrolls a list box just enough to show its selected entry.
void scroll_to_selection(Form& form, ctl::Id list);
