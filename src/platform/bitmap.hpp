#pragma once
#include <string>

struct Canvas;

// Reads a Windows bitmap file into a canvas (SDL's BMP reader). On any failure the canvas is
// left as it was and false is returned.
bool load_bmp_file(const std::string& path, Canvas& into);
