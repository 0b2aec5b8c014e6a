// What a window manager would have done for a window on an X display that has none. SDL asks the
// manager to make a window full screen; with no manager nobody answers, the X window keeps its
// size while SDL believes it covers the screen, and the picture is drawn for a screen the window
// does not have.
#pragma once
#include <SDL.h>

// Whether the window lies on an X display with no window manager running.
bool unmanaged(SDL_Window* window);
// Gives an unmanaged window the whole of its display, as full screen would; does nothing for a
// managed one.
void cover_display_if_unmanaged(SDL_Window* window);
// The window's place and size as the X server has it (SDL's own figures, off X).
SDL_Rect server_geometry(SDL_Window* window);
