// The modal question box, drawn in the window: a nested loop that keeps the timer running and
// answers to its own buttons and keys only.
#include "core/game.hpp"
#include "platform/sdl/sdl_host.hpp"

bool SdlHost::ask_yes_no(const std::string& text) { return recorder_.answered(ask(text)); }

bool SdlHost::ask(const std::string& text) {
  // Once the window is closing, every further question of the handler is answered no too.
  if (!window_ || question_ || quit_) return false;
  drop_capture();
  question_ = QuestionView{text, 0, -1};
  question_capture_ = -1;
  // Presses already waiting were made before the box appeared (the second click of a double
  // click on the button that asked): meant for the window under it, they answer nothing. Their
  // releases find no press of the box's and are ignored.
  SDL_FlushEvent(SDL_MOUSEBUTTONDOWN);
  if (next_tick_ == 0) next_tick_ = now_ms() + kTimerMs;
  int answer = -1;
  while (answer < 0) answer = loop_once(true);
  question_.reset();
  question_capture_ = -1;
  return answer == 0;
}

// Which of the box's buttons lies under a point of the window: 0 yes, 1 no, -1 neither.
int SdlHost::question_button_at(const Point& p) const {
  if (!p.inside || !game_ || !view_) return -1;
  const QuestionGeometry g = view_->question_geometry(game_->form, *question_);
  if (g.yes.contains(p.x, p.y)) return 0;
  if (g.no.contains(p.x, p.y)) return 1;
  return -1;
}

// Inside the question: its buttons answer to the mouse and to Y and N; Enter or the space bar
// takes the focused one; clicks anywhere else on the window are refused. A request to close the
// window answers no (nothing is given away) and closes it once the handler has finished.
int SdlHost::question_event(const SDL_Event& ev) {
  switch (ev.type) {
    case SDL_QUIT: quit_ = true; return 1;
    case SDL_WINDOWEVENT:
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET: handle_window_event(ev); return -1;
    case SDL_KEYDOWN: return question_key_down(ev.key);
    case SDL_KEYUP: return question_key_up(ev.key);
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (ev.button.button != SDL_BUTTON_LEFT) return -1;
      return question_mouse(ev.type == SDL_MOUSEBUTTONDOWN, map_mouse(ev.button.x, ev.button.y));
    case SDL_MOUSEMOTION:
      if (question_capture_ >= 0)
        question_->pressed = question_button_at(map_mouse(ev.motion.x, ev.motion.y)) == question_capture_
                                 ? question_capture_
                                 : -1;
      return -1;
    default: return -1;
  }
}

int SdlHost::question_key_down(const SDL_KeyboardEvent& key) {
  QuestionView& q = *question_;
  const SDL_Keycode k = key.keysym.sym;
  if (toggles_fullscreen(key)) {
    if (!key.repeat) toggle_fullscreen();
    return -1;
  }
  if (question_capture_ >= 0) return -1;  // the mouse holds a button
  switch (k) {
    case SDLK_y: return 0;
    case SDLK_n: return 1;
    case SDLK_SPACE:
      if (!key.repeat) q.pressed = q.focus;
      return -1;
    case SDLK_TAB:
    case SDLK_LEFT:
    case SDLK_RIGHT:
    case SDLK_UP:
    case SDLK_DOWN:
      if (q.pressed < 0) q.focus = 1 - q.focus;
      return -1;
    default:
      return is_enter(k) && !key.repeat && q.pressed < 0 ? q.focus : -1;
  }
}

// The space bar answers when it is let go, as a pressed button does.
int SdlHost::question_key_up(const SDL_KeyboardEvent& key) {
  QuestionView& q = *question_;
  if (key.keysym.sym != SDLK_SPACE || question_capture_ >= 0 || q.pressed < 0) return -1;
  const int answer = q.pressed;
  q.pressed = -1;
  return answer;
}

// A button of the box answers when the mouse is let go over the button it was pressed on.
int SdlHost::question_mouse(bool down, const Point& p) {
  QuestionView& q = *question_;
  const int b = question_button_at(p);
  if (down) {
    if (b < 0) return -1;  // refused: only the question can be answered now
    question_capture_ = b;
    q.focus = b;
    q.pressed = b;
    return -1;
  }
  if (question_capture_ < 0) return -1;
  const int held = question_capture_;
  question_capture_ = -1;
  q.pressed = -1;
  return b == held ? held : -1;
}
