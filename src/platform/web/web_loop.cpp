// The page's loop: input handed on, the 10 ms timer, the rests between, a handler's pauses and
// the modal question, all as Asyncify's waits in which the browser goes on.
#include "platform/web/web_host.hpp"

#include <emscripten.h>

#include <algorithm>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "platform/web/page_calls.hpp"

namespace {

constexpr int kRestMs = 1000;  // the longest rest without anything coming

}  // namespace

// The browser paints and gathers input meanwhile; input waits for after the handler, while the
// sound goes on: its finished blocks are refilled every few milliseconds. Pauses that follow one
// another closely (an effect's frames) keep to their sum, as in the window: the drawing between
// them comes out of the next pause instead of adding to it.
void WebHost::sleep_ms(int ms) {
  const double start = emscripten_get_now();
  if (pauses_.asked == 0) pauses_.first_start = start;
  pauses_.asked += std::max(0, ms);
  const double end = chain_.deadline(start, std::max(0, ms), 5.0);
  for (double left = end - emscripten_get_now(); left > 0; left = end - emscripten_get_now()) {
    web_pause(std::min<double>(left, InputPath::kTimerMs));
    audio_.poll();
    // A page being closed does not wait for the handler: what it has done so far is kept.
    if (web_take_save_request()) save();
  }
  pauses_.last_end = emscripten_get_now();
}

void WebHost::tick_if_due() {
  const int64_t now = now_ms();
  if (input_.tick_due(now)) input_.tick(now);
}

void WebHost::wait() {
  publish_controls();
  if (input_.at_rest() && input_queue_.empty() && !audio_.playing()) {
    web_rest(kRestMs);
    input_.restart_timer(now_ms());  // the timer starts afresh after what came
    return;
  }
  web_pause(std::max(1, input_.ms_to_tick(now_ms())));
}

void WebHost::handle_input() {
  audio_.poll();
  for (int v = web_take_rigged_draw(); v >= 0; v = web_take_rigged_draw()) game_->rng.rig(v);
  if (web_take_save_request()) save();
  if (web_take_fonts_changed()) refont();
  while (!input_queue_.empty()) {
    const Input in = input_queue_.front();
    input_queue_.pop_front();
    pauses_ = {};
    const uint64_t before = game_->form.revision();
    dispatch(in);
    redraw();
    if (pauses_.asked > 0) web_note_pauses(pauses_.asked, pauses_.last_end - pauses_.first_start);
    // What a handler did is stored as soon as it ends: a page may be closed at any moment.
    if (game_->form.revision() != before) save();
  }
}

bool WebHost::ask_yes_no(const std::string& text) {
  if (!game_ || input_.asking()) return false;
  input_.ask(text, view_->question_geometry(game_->form, QuestionView{text, 0, -1}));
  web_announce(sjis_.to_utf8(text).c_str());
  redraw();
  while (input_.answer() < 0) {
    while (input_.answer() < 0 && !input_queue_.empty()) {
      const Input in = input_queue_.front();
      input_queue_.pop_front();
      dispatch(in);
      redraw();
    }
    if (input_.answer() >= 0) break;
    tick_if_due();
    redraw();
    wait();
    audio_.poll();
  }
  const bool yes = input_.finish_question();
  redraw();
  return yes;
}

int WebHost::run(Game& g) {
  game_ = &g;
  input_.attach(g);
  create_window(g);
  if (g.locked_out) return g.io_failed ? 1 : 3;
  redraw();
  input_.restart_timer(now_ms());
  input_.input_came();
  saved_revision_ = g.form.revision();
  for (;;) {
    handle_input();
    tick_if_due();
    redraw();
    // What the ticks change is stored once they have settled (what input does is stored as soon
    // as its handler ends, and at each message it shows).
    if (input_.at_rest() && input_queue_.empty() && g.form.revision() != saved_revision_) {
      saved_revision_ = g.form.revision();
      save();
    }
    wait();
  }
}
