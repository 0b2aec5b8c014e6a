// The floor of the window's whole-process figures: the least a program of the same window needs.
//   minimal_window first-frame   opens a 551 x 360 window, presents one frame and exits;
//   minimal_window idle          opens it and waits in SDL_WaitEvent until it is closed.
#include <SDL.h>

#include <cstring>

int main(int argc, char** argv) {
  const bool idle = argc > 1 && std::strcmp(argv[1], "idle") == 0;
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* w = SDL_CreateWindow("floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 551, 360, 0);
  SDL_Renderer* r = w ? SDL_CreateRenderer(w, -1, SDL_RENDERER_SOFTWARE) : nullptr;
  if (!r) return 1;
  SDL_SetRenderDrawColor(r, 0, 128, 128, 255);
  SDL_RenderClear(r);
  SDL_RenderPresent(r);
  SDL_Event ev;
  while (idle && SDL_WaitEvent(&ev) && ev.type != SDL_QUIT) {
  }
  SDL_DestroyRenderer(r);
  SDL_DestroyWindow(w);
  SDL_Quit();
  return 0;
}
