#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/color.hpp"

// A picture's pixel buffer with the brush and pen the game's effects draw with. Pixels are
// 0xRRGGBB. Rectangles are given by their corners (x1, y1)-(x2, y2), the right and bottom edges
// excluded, as the drawing calls of the window toolkit take them.
struct Canvas {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t brush = cl::white;  // toolkit colours
  uint32_t pen = cl::black;
  uint64_t revision = 0;  // bumped by every change, so a renderer knows when to upload again

  bool empty() const { return width <= 0 || height <= 0; }
  void resize(int w, int h);
  void clear();
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

  // Fills with the brush.
  void fill_rect(int x1, int y1, int x2, int y2);
  // Fills with the brush and outlines with the pen (one pixel).
  void rectangle(int x1, int y1, int x2, int y2);
  // Outlines with the brush colour, as the toolkit's frame call does.
  void frame_rect(int x1, int y1, int x2, int y2);
  // Blends a colour through a coverage mask (0 none .. 255 full) with its top-left at (x, y).
  void blend_mask(int x, int y, int w, int h, const uint8_t* alpha, uint32_t colour);
  // Copies src's rectangle onto this canvas's rectangle, stretching nearest-neighbour.
  void copy_rect(int dx1, int dy1, int dx2, int dy2, const Canvas& src, int sx1, int sy1, int sx2,
                 int sy2);

 private:
  void put(int x, int y, uint32_t rgb);
};
