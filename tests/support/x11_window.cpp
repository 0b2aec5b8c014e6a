// Kept apart from the game's headers: Xlib's names (Font, None, Status) clash with ours.
#include "support/x11_window.hpp"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

std::vector<unsigned long> window_icon(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return {};
  Display* d = info.info.x11.display;
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(d, info.info.x11.window, XInternAtom(d, "_NET_WM_ICON", False), 0, 1 << 20, False,
                         XA_CARDINAL, &type, &format, &count, &after, &data) != Success || !data)
    return {};
  const auto* longs = reinterpret_cast<const unsigned long*>(data);
  std::vector<unsigned long> out(longs, longs + count);
  XFree(data);
  return out;
}


ServerPixels window_pixels(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  ServerPixels out;
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return out;
  Display* d = info.info.x11.display;
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, info.info.x11.window, &a)) return out;
  XImage* img = XGetImage(d, info.info.x11.window, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
  if (!img) return out;
  out.width = a.width;
  out.height = a.height;
  out.pixels.reserve(static_cast<size_t>(a.width) * a.height);
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) out.pixels.push_back(static_cast<uint32_t>(XGetPixel(img, x, y)) & 0xFFFFFF);
  XDestroyImage(img);
  return out;
}
