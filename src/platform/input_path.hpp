// What the player's input does, decided once for every host: the window and the web page turn
// their events into these calls and draw what the path says has changed. It holds the mouse's
// capture, the focus, the question box's keys and buttons, a finger's tap or hold, a game
// controller's held direction, the 10 ms timer's schedule and what was last drawn; the recorder, attached with --record, writes down
// every operation it hands the game.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "render/control_input.hpp"
#include "render/form_renderer.hpp"
#include "ui/form.hpp"

struct Game;
class Recorder;

// A key as every host names it.
enum class Key { Tab, Enter, Space, Escape, Yes, No, Left, Right, Up, Down, PageUp, PageDown, Home, End };

// A game controller's buttons as every host names them: the D-pad's four, A (press) and B (back).
enum class PadButton { Up, Down, Left, Right, A, B };

// A point of the window in its own units; not `inside` on the black around a full-screen picture.
struct Pointer {
  int x = 0, y = 0;
  bool inside = true;
};

class InputPath {
 public:
  static constexpr int kTimerMs = 10;

  // The game the input goes to, and the recorder that writes it down (null: nothing is written).
  void attach(Game& g, Recorder* recorder = nullptr);

  void pointer_moved(Pointer p, int64_t now_ms);
  void pointer_pressed(Pointer p);
  void pointer_released(Pointer p);
  // The wheel, up positive, over the list box under the pointer (where the host says it is, or
  // where it last moved).
  void wheel_turned(int notches, std::optional<Pointer> at = std::nullopt);
  // A finger: on a button it presses only when lifted within the tip's delay near where it came
  // down; held longer it has shown the button's tip (and a technique's description, which follows
  // the pointer) and presses nothing. Anywhere else it presses at once, so it can drag.
  void finger_down(Pointer p, int64_t at_ms);
  void finger_moved(Pointer p, int64_t at_ms);
  void finger_up(Pointer p, int64_t at_ms);
  void key_down(Key key, bool shift, bool repeat);
  void key_up(Key key);
  // A game controller. The D-pad, or the left stick pushed past its dead zone, moves the focus to
  // the nearest control that way (a focused slider takes left and right, a focused list up and
  // down, as the arrow keys), again and again while held, on the timer's ticks; A presses the
  // focused button as the space bar does; B answers no to the question, or else presses the way
  // out of the panel on top.
  void pad_pressed(PadButton button);
  void pad_released(PadButton button);
  // The left stick, each way -kStickFull (left, up) to kStickFull (right, down).
  static constexpr int kStickFull = 1000;
  void stick_moved(int x, int y);
  // A button pressed by name from outside the picture (a screen reader's), or an answer.
  void press(ctl::Id id);
  void press_answer(bool yes);
  // The host's own controls took the focus (Tab went past the game's last control).
  void focus_left_game();
  // The window lost the system's focus, or the controller went: a held button or direction is let
  // go without a click.
  void focus_lost();
  // Whether Tab (Shift+Tab with `back`) would take the focus round the end of the game's controls.
  bool tab_leaves(bool back) const;

  // The modal question: from ask() on, input goes to its buttons and keys until answered.
  void ask(const std::string& text, const QuestionGeometry& where);
  bool asking() const { return question_.has_value(); }
  // 0 yes, 1 no, -1 not answered yet.
  int answer() const { return answer_; }
  // The question is done: the box goes, the recorder hears the answer.
  bool finish_question();

  // The timer: due, and how long until it is (0 to kTimerMs).
  bool tick_due(int64_t now_ms) const { return now_ms >= next_tick_; }
  int ms_to_tick(int64_t now_ms) const;
  void tick(int64_t now_ms);
  void restart_timer(int64_t now_ms) { next_tick_ = now_ms + kTimerMs; }
  bool timer_started() const { return next_tick_ != 0; }
  // Input came: a tick may change something again.
  void input_came() { settled_ = false; }
  // Nothing can change before the next input: the last tick changed nothing and no tip waits for
  // its delay. The host's timer may rest (unless it feeds sound).
  bool at_rest() const { return settled_ && !tip_.waiting() && !held_.way; }

  // What the picture shows beside the form (a pressed button, the question, a tip), and whether
  // anything changed since the host last drew.
  UiState ui() const;
  bool needs_redraw() const;
  void drawn();
  // The whole picture is to be drawn again (a new zoom).
  void draw_again() { drawn_ = false; }

 private:
  Game& g() const { return *game_; }
  void click(ctl::Id id);
  void hover(ctl::Id over);
  void select(ctl::Id list, int index);
  void slide(ctl::Id slider, int position);
  void slide_to(ctl::Id slider, int x);
  void press_list(ctl::Id list, Pointer p);
  void move_focus(int direction);
  void focus_on(ctl::Id id);
  void point(Direction way);
  void hold(Direction way, bool stick);
  void leave_panel();
  void move_key(MoveKey key);
  bool focused_button() const;
  void drop_capture();
  int question_button_at(Pointer p) const;
  void question_key_down(Key key, bool repeat);
  void question_pointer(bool down, Pointer p);

  Game* game_ = nullptr;
  Recorder* recorder_ = nullptr;

  // The control holding the mouse between press and release, as the toolkit captures it.
  ctl::Id capture_ = ctl::form;
  bool capture_inside_ = false;    // a captured button: the pointer is over it (drawn sunken)
  std::optional<int> thumb_grab_;  // the list's scroll thumb is being dragged, taken there
  ctl::Id space_held_ = ctl::form;  // the focused button held down with the space bar
  Pointer pointer_;                 // where the mouse was last
  struct {
    bool held = false;   // a finger on a button, not pressed yet
    bool moved = false;  // it slid away: no press when lifted
    Pointer at;
    int64_t since = 0;
  } finger_;
  TipTimer tip_;
  // The controller's direction held down, and the ticks since it moved the focus first.
  struct {
    std::optional<Direction> way;
    bool stick = false;  // held by the stick, not the D-pad
    int ticks = 0;
  } held_;
  std::optional<Direction> stick_;  // where the stick points now

  std::optional<QuestionView> question_;
  QuestionGeometry question_where_;
  int question_capture_ = -1;
  int answer_ = -1;

  int64_t next_tick_ = 0;
  bool settled_ = false;  // the last tick changed nothing, and nothing came since

  bool drawn_ = false;
  uint64_t drawn_revision_ = 0;
  ctl::Id drawn_focus_ = ctl::form;
  UiState drawn_ui_;
  int drawn_width_ = 0, drawn_height_ = 0;
};

// Pauses that follow one another closely (an effect's frames) keep to their sum: the drawing
// between them comes out of the next pause instead of adding to it. A pause long after the last
// one counts from now. `Time` is the host's clock's type.
template <class Time>
class PauseChain {
 public:
  Time deadline(Time now, Time length, Time chained) {
    const Time start = end_ && now - *end_ <= chained ? *end_ : now;
    end_ = start + length;
    return *end_;
  }

 private:
  std::optional<Time> end_;
};
