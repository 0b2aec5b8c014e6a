// The fonts of the window's first frame.
#pragma once
#include <vector>

#include "platform/sdl/fonts.hpp"
#include "ui/form.hpp"

// The fonts the captions of the form's shown controls are drawn with at a zoom: what the first
// frame needs, opened ahead while the window is still being made.
std::vector<FontKey> fonts_shown(const Form& form, int scale);
