// The window's input: SDL's keys, mouse and wheel turned into the input path's calls, and the
// window's own keys (full screen, the zoom).
#include <optional>

#include "core/game.hpp"
#include "platform/sdl/sdl_host.hpp"

namespace {

bool is_enter(SDL_Keycode k) { return k == SDLK_RETURN || k == SDLK_KP_ENTER; }

// F11 or Alt+Enter.
bool toggles_fullscreen(const SDL_KeyboardEvent& key) {
  return key.keysym.sym == SDLK_F11 || (is_enter(key.keysym.sym) && (key.keysym.mod & KMOD_ALT));
}

std::optional<Key> key_of(SDL_Keycode k) {
  switch (k) {
    case SDLK_TAB: return Key::Tab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return Key::Enter;
    case SDLK_SPACE: return Key::Space;
    case SDLK_ESCAPE: return Key::Escape;
    case SDLK_y: return Key::Yes;
    case SDLK_n: return Key::No;
    case SDLK_LEFT: return Key::Left;
    case SDLK_RIGHT: return Key::Right;
    case SDLK_UP: return Key::Up;
    case SDLK_DOWN: return Key::Down;
    case SDLK_PAGEUP: return Key::PageUp;
    case SDLK_PAGEDOWN: return Key::PageDown;
    case SDLK_HOME: return Key::Home;
    case SDLK_END: return Key::End;
    default: return std::nullopt;
  }
}

}  // namespace

int SdlHost::zoom_step(const SDL_KeyboardEvent& key) {
  if (!(key.keysym.mod & KMOD_CTRL)) return 0;
  switch (key.keysym.sym) {
    // Plus is shifted on most keyboards: Ctrl+= (US) and Ctrl+; (Japanese) count as Ctrl+plus,
    // as browsers take them.
    case SDLK_PLUS:
    case SDLK_EQUALS:
    case SDLK_SEMICOLON:
    case SDLK_KP_PLUS: return 1;
    case SDLK_MINUS:
    case SDLK_KP_MINUS: return -1;
    default: return 0;
  }
}

void SdlHost::dispatch(const SDL_Event& ev) {
  if (audio_ && audio_->handle_event(ev)) return;
  switch (ev.type) {
    case SDL_QUIT: quit_ = true; break;
    case SDL_WINDOWEVENT: handle_window_event(ev); break;
    case SDL_KEYDOWN: {
      if (toggles_fullscreen(ev.key)) {
        if (!ev.key.repeat) toggle_fullscreen();
        break;
      }
      if (const int step = zoom_step(ev.key)) {
        if (!ev.key.repeat) change_zoom(step);
        break;
      }
      if (const auto key = key_of(ev.key.keysym.sym))
        input_.key_down(*key, (ev.key.keysym.mod & KMOD_SHIFT) != 0, ev.key.repeat != 0);
      break;
    }
    case SDL_KEYUP:
      if (const auto key = key_of(ev.key.keysym.sym)) input_.key_up(*key);
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (ev.button.button == SDL_BUTTON_LEFT) input_.pointer_pressed(map_mouse(ev.button.x, ev.button.y));
      break;
    case SDL_MOUSEBUTTONUP:
      if (ev.button.button == SDL_BUTTON_LEFT) input_.pointer_released(map_mouse(ev.button.x, ev.button.y));
      break;
    case SDL_MOUSEMOTION: input_.pointer_moved(map_mouse(ev.motion.x, ev.motion.y), now_ms()); break;
    case SDL_MOUSEWHEEL:
      input_.wheel_turned(ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y, mouse_now());
      break;
    default: break;
  }
}
