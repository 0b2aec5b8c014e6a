// The PNG files of the window's pictures: RGB images written and read back.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class Form;
class Sjis;
class TextRaster;

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
bool read_png(const std::string& path, RgbImage& out);

// The PNG file's bytes without a file (write_png writes exactly these).
std::vector<uint8_t> encode_png(int width, int height, const uint32_t* pixels, int stride);
bool decode_png(const std::vector<uint8_t>& bytes, RgbImage& out);

// The window as it would be drawn, composed in our own memory at the zoom, its text through the
// raster given. The same pixels the window shows.
RgbImage compose_form_image(const Form& form, const Sjis& sjis, TextRaster& raster, int scale);
