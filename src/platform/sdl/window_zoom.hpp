// The window's zoom: the largest that fits the screen, the one a first start opens at, and the
// one the player chose last, kept in a small settings file of the window's own.
#pragma once
#include <optional>
#include <string>

#include "render/form_renderer.hpp"  // kMaxZoom

// The largest zoom up to `asked` (1 to kMaxZoom) at which a client area of w x h fits in the
// usable part of the screen; 1 when none does.
int fitting_scale(int asked, int w, int h, int usable_w, int usable_h);

// The zoom of a window opened with none asked and none remembered: the largest whose client area
// takes at most 85 % of the usable screen each way, so the window's frame, the desktop's panels
// and a little of the desktop still show around it.
int first_zoom(int w, int h, int usable_w, int usable_h);

// "$XDG_CONFIG_HOME/lushera/window.ini" (or under ~/.config): "[window]" with "zoom=N".
std::string zoom_settings_path();
// The zoom kept in the file, if it holds one from 1 to kMaxZoom. A missing file says nothing; a
// file that cannot be read or holds no such zoom is said on standard error and passed over.
std::optional<int> remembered_zoom(const std::string& path);
// Keeps the zoom for the next start (the folder is made if missing). Written aside and renamed
// over, so a start at the same moment reads the old zoom or the new, never half a file; false,
// said on standard error, when it could not be written.
bool remember_zoom(const std::string& path, int zoom);
