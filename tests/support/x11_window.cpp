// Kept apart from the game's headers: Xlib's names (Font, None, Status) clash with ours.
#include "support/x11_window.hpp"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>

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

bool dialog_shown(long pid) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return false;
  const Atom type_atom = XInternAtom(d, "_NET_WM_WINDOW_TYPE", False);
  const Atom dialog = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DIALOG", False);
  const Atom pid_atom = XInternAtom(d, "_NET_WM_PID", False);
  // A property of a window as a list of longs (what Xlib hands over for 32-bit formats).
  const auto longs = [d](Window w, Atom property, Atom type) {
    Atom got = 0;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> out;
    if (XGetWindowProperty(d, w, property, 0, 16, False, type, &got, &format, &n, &after, &data) == Success && data) {
      const auto* values = reinterpret_cast<const long*>(data);
      out.assign(values, values + n);
      XFree(data);
    }
    return out;
  };
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  bool shown = false;
  if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) {
    for (unsigned int i = 0; i < count && !shown; ++i) {
      XWindowAttributes a;
      if (!XGetWindowAttributes(d, children[i], &a) || a.map_state != IsViewable) continue;
      const std::vector<long> types = longs(children[i], type_atom, XA_ATOM);
      if (std::find(types.begin(), types.end(), static_cast<long>(dialog)) == types.end()) continue;
      // The box stands over the game's own window, which names the game's process.
      Window over = 0;
      if (!XGetTransientForHint(d, children[i], &over) || !over) continue;
      const std::vector<long> owner = longs(over, pid_atom, XA_CARDINAL);
      shown = !owner.empty() && owner.front() == pid;
    }
    if (children) XFree(children);
  }
  XCloseDisplay(d);
  return shown;
}
