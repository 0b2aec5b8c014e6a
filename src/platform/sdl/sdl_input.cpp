// The window's input: SDL's keys, mouse, wheel and game controllers turned into the input path's
// calls, and the window's own keys (full screen, the zoom).
#include <algorithm>
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

std::optional<PadButton> pad_button_of(uint8_t button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::Down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::Right;
    case SDL_CONTROLLER_BUTTON_A: return PadButton::A;
    case SDL_CONTROLLER_BUTTON_B: return PadButton::B;
    default: return std::nullopt;
  }
}

// SDL's axis, -32768 to 32767, as the input path's stick.
int stick_of(int value) { return std::clamp(value * InputPath::kStickFull / 32767, -InputPath::kStickFull, InputPath::kStickFull); }

}  // namespace

void SdlHost::watch_pads() {
  if (pads_watched_) return;
  pads_watched_ = true;
  // Without controller support the mouse and the keys still play the game: nothing to say.
  pads_started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

void SdlHost::pad_event(const SDL_Event& ev) {
  switch (ev.type) {
    case SDL_CONTROLLERDEVICEADDED:
      if (SDL_GameController* pad = SDL_GameControllerOpen(ev.cdevice.which)) {
        // One already open is handed out again, counted twice.
        if (std::find(pads_.begin(), pads_.end(), pad) == pads_.end()) pads_.push_back(pad);
        else SDL_GameControllerClose(pad);
      }
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      for (auto it = pads_.begin(); it != pads_.end(); ++it) {
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(*it)) != ev.cdevice.which) continue;
        SDL_GameControllerClose(*it);
        pads_.erase(it);
        // What it held is let go without a press.
        stick_x_ = stick_y_ = 0;
        input_.focus_lost();
        break;
      }
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (const auto b = pad_button_of(ev.cbutton.button))
        ev.type == SDL_CONTROLLERBUTTONDOWN ? input_.pad_pressed(*b) : input_.pad_released(*b);
      break;
    case SDL_CONTROLLERAXISMOTION:
      if (ev.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) stick_x_ = ev.caxis.value;
      else if (ev.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) stick_y_ = ev.caxis.value;
      else break;
      input_.stick_moved(stick_of(stick_x_), stick_of(stick_y_));
      break;
    default: break;
  }
}

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
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION: pad_event(ev); break;
    case SDL_MOUSEWHEEL:
      input_.wheel_turned(ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y, mouse_now());
      break;
    default: break;
  }
}
