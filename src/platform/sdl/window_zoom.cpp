// The window's zoom: what fits, what a first start takes, and the zoom remembered between starts.
#include "platform/sdl/window_zoom.hpp"

#include <algorithm>
#include <cstdio>

#include "audio/settings_file.hpp"
#include "storage/storage.hpp"

int fitting_scale(int asked, int w, int h, int usable_w, int usable_h) {
  int s = std::clamp(asked, 1, kMaxZoom);
  while (s > 1 && (w * s > usable_w || h * s > usable_h)) --s;
  return s;
}

int first_zoom(int w, int h, int usable_w, int usable_h) {
  return fitting_scale(kMaxZoom, w, h, usable_w * 85 / 100, usable_h * 85 / 100);
}

std::string zoom_settings_path() { return settings_path("window.ini"); }

std::optional<int> remembered_zoom(const std::string& path) {
  if (path.empty()) return std::nullopt;
  if (storage().entry_kind(path) == EntryKind::none) return std::nullopt;  // the usual case: no zoom chosen yet
  SettingsFile file;
  if (!file.load(path)) {
    std::fprintf(stderr, "lushera: %s cannot be read; the window takes the zoom that fits\n", path.c_str());
    return std::nullopt;
  }
  const std::string* text = file.find("window", "zoom");
  const int zoom = text ? settings_number(*text, 0) : 0;
  if (zoom >= 1 && zoom <= kMaxZoom) return zoom;
  std::fprintf(stderr, "lushera: %s: %s; the window takes the zoom that fits\n", path.c_str(),
               text ? ("zoom \"" + *text + "\" is not 1 to " + std::to_string(kMaxZoom)).c_str()
                    : "no \"zoom\" in its [window] section");
  return std::nullopt;
}

bool remember_zoom(const std::string& path, int zoom) {
  if (path.empty()) return false;
  make_folders(folder_of(path), false);
  const std::string why = storage().put_file(
      path, "# The window's zoom, as last chosen with Ctrl+plus and Ctrl+minus.\n[window]\nzoom=" +
                std::to_string(zoom) + '\n');
  if (why.empty()) return true;
  std::fprintf(stderr, "lushera: the zoom could not be kept in %s (%s)\n", path.c_str(), why.c_str());
  return false;
}
