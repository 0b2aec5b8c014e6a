// The modal question box, drawn in the window: a nested loop that keeps the timer running while
// the input path takes only the box's buttons and keys.
#include "core/game.hpp"
#include "platform/sdl/sdl_host.hpp"

bool SdlHost::ask_yes_no(const std::string& text) {
  if (input_.asking()) return false;
  input_.ask(text, view_ && game_ ? view_->question_geometry(game_->form, QuestionView{text, 0, -1})
                                  : QuestionGeometry{});
  // Once the window is closing, every further question of the handler is answered no too:
  // nothing is given away.
  if (!window_ || quit_) input_.press_answer(false);
  // Presses already waiting were made before the box appeared (the second click of a double
  // click on the button that asked): meant for the window under it, they answer nothing. Their
  // releases find no press of the box's and are ignored.
  SDL_FlushEvent(SDL_MOUSEBUTTONDOWN);
  if (!input_.timer_started()) input_.restart_timer(now_ms());
  while (input_.answer() < 0) {
    loop_once();
    if (quit_) input_.press_answer(false);
  }
  return input_.finish_question();
}
