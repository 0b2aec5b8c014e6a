#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "ui/color.hpp"

// A picture's pixel buffer with the brush and pen the game's effects draw with. Pixels are
// 0xRRGGBB. Rectangles are given by their corners (x1, y1)-(x2, y2), the right and bottom edges
// excluded, as the drawing calls of the window toolkit take them.
//
// The battle's flashes fill the whole picture and then copy the opponent back over it, dozens of
// times a turn. A whole-picture fill is therefore only noted (its pixels are written when
// somebody looks or draws a part), and a whole-picture copy of what the buffer already holds
// writes nothing, so a headless battle costs no pixel work for them.
class Canvas {
 public:
  int width = 0;
  int height = 0;
  uint32_t brush = cl::white;  // toolkit colours
  uint32_t pen = cl::black;
  uint64_t revision = 0;  // bumped by every change, so a renderer knows when to upload again

  bool empty() const { return width <= 0 || height <= 0; }
  void resize(int w, int h);
  void clear();
  // The pixels, rows of `width`, for reading.
  const uint32_t* data() const;
  // The pixels for writing directly (a bitmap loader, a test): counts as a change.
  uint32_t* writable();
  uint32_t at(int x, int y) const { return data()[static_cast<size_t>(y) * width + x]; }

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
  // What the buffer holds when it is a whole-picture copy of another canvas.
  struct CopyOf {
    const Canvas* src = nullptr;
    uint64_t src_revision = 0;
    int rect[8] = {};
  };

  void settle() const;     // writes a noted whole-picture fill into the buffer (forgets the copy)
  uint32_t* change();      // settles, forgets the copy, counts a change
  void put(int x, int y, uint32_t rgb);
  void outline(int x1, int y1, int x2, int y2, uint32_t rgb);
  bool covers(int x1, int y1, int x2, int y2) const {
    return x1 <= 0 && y1 <= 0 && x2 >= width && y2 >= height;
  }

  mutable std::vector<uint32_t> pixels_;
  mutable std::optional<uint32_t> solid_;
  mutable CopyOf copy_of_;  // settling the noted fill overwrites the copy, so it is forgotten then
};
