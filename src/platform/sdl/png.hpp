#pragma once
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

class Form;
class Sjis;
class FontLibrary;

// An RGB picture: 0x00RRGGBB pixels, row after row.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool operator==(const RgbImage&) const = default;
};

// Writes 8-bit RGB PNG files (the top byte of each pixel is ignored), and reads back non-interlaced
// 8-bit RGB or RGBA ones with any filter (the alpha is dropped): enough to keep pictures of the
// window and compare them. Reading never trusts the file: a broken one gives false.
bool write_png(const std::string& path, int width, int height, const uint32_t* pixels, int stride);
bool write_png(const std::string& path, const RgbImage& image);
bool write_png(const std::string& path, SDL_Surface* surface);
bool read_png(const std::string& path, RgbImage& out);

// The PNG file's bytes without a file (write_png writes exactly these).
std::vector<uint8_t> encode_png(int width, int height, const uint32_t* pixels, int stride);
bool decode_png(const std::vector<uint8_t>& bytes, RgbImage& out);

// The surface's pixels as an RGB picture.
RgbImage surface_image(SDL_Surface* surface);

// The window as it would be drawn, through SDL's software renderer and without a window, at the
// zoom. The first form uses fonts of its own (found through fontconfig, which takes a moment);
// throws FontError when the fonts are missing. An empty image if SDL fails.
RgbImage render_form_image(const Form& form, const Sjis& sjis, int scale);
RgbImage render_form_image(const Form& form, const Sjis& sjis, FontLibrary& fonts, int scale);
// The same, written to a PNG file; false if it could not be drawn or written.
bool render_form_png(const Form& form, const Sjis& sjis, int scale, const std::string& path);
