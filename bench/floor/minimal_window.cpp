// The floor of the window's whole-process figures: the least a program of the same window needs.
//   minimal_window first-frame   opens a 551 x 360 window, presents one frame and exits;
//   minimal_window idle          opens it and waits in SDL_WaitEvent until it is closed;
//   minimal_window idle-paused   the same with a paused sound output of the mixer's format open.
#include <SDL.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  const bool paused_sound = argc > 1 && std::strcmp(argv[1], "idle-paused") == 0;
  const bool idle = paused_sound || (argc > 1 && std::strcmp(argv[1], "idle") == 0);
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  if (paused_sound) {
    SDL_AudioSpec want{};
    want.freq = 11025;
    want.format = AUDIO_U8;
    want.channels = 1;
    want.samples = 256;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 || SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0) == 0) return 1;
  }
  SDL_Window* w = SDL_CreateWindow("floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 551, 360, 0);
  SDL_Renderer* r = w ? SDL_CreateRenderer(w, -1, SDL_RENDERER_SOFTWARE) : nullptr;
  if (!r) return 1;
  SDL_SetRenderDrawColor(r, 0, 128, 128, 255);
  SDL_RenderClear(r);
  SDL_RenderPresent(r);
  SDL_Event ev;
  while (idle && SDL_WaitEvent(&ev) && ev.type != SDL_QUIT) {
  }
  // Gone at once, as the game goes once its save is written: tearing SDL down (its sound thread
  // above all) would be waiting the game does not do.
  std::_Exit(0);
}
