// Standing in for a missing window manager on X: full screen by moving and sizing the window.
#include "platform/sdl/unmanaged_window.hpp"

#include <SDL_syswm.h>
#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#endif

namespace {

#if defined(SDL_VIDEO_DRIVER_X11)
struct XWindow {
  Display* display = nullptr;
  Window window = 0;
};

XWindow x_window(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return {};
  return {info.info.x11.display, info.info.x11.window};
}
#endif

}  // namespace

bool unmanaged(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  const XWindow w = x_window(window);
  if (!w.display) return false;
  // A running manager that follows the desktop conventions names its check window on the root.
  const Atom check = XInternAtom(w.display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return true;
  Atom type = None;
  int format = 0;
  unsigned long items = 0, left = 0;
  unsigned char* data = nullptr;
  const int got = XGetWindowProperty(w.display, DefaultRootWindow(w.display), check, 0, 1, False,
                                     XA_WINDOW, &type, &format, &items, &left, &data);
  const bool none = got != Success || type != XA_WINDOW || items == 0;
  if (data) XFree(data);
  return none;
#else
  (void)window;
  return false;
#endif
}

void cover_display_if_unmanaged(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  if (!unmanaged(window)) return;
  SDL_Rect bounds;
  if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &bounds) != 0) return;
  const XWindow w = x_window(window);
  XMoveResizeWindow(w.display, w.window, bounds.x, bounds.y, static_cast<unsigned>(bounds.w),
                    static_cast<unsigned>(bounds.h));
  XRaiseWindow(w.display, w.window);
  XSync(w.display, False);
#else
  (void)window;
#endif
}

SDL_Rect server_geometry(SDL_Window* window) {
  SDL_Rect r{0, 0, 0, 0};
#if defined(SDL_VIDEO_DRIVER_X11)
  const XWindow w = x_window(window);
  XWindowAttributes a;
  if (w.display && XGetWindowAttributes(w.display, w.window, &a)) {
    Window child = 0;
    XTranslateCoordinates(w.display, w.window, DefaultRootWindow(w.display), 0, 0, &r.x, &r.y, &child);
    r.w = a.width;
    r.h = a.height;
    return r;
  }
#endif
  SDL_GetWindowPosition(window, &r.x, &r.y);
  SDL_GetWindowSize(window, &r.w, &r.h);
  return r;
}
