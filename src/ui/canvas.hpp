// The canvas of the game's pictures.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "ui/clip_list.hpp"
#include "ui/color.hpp"

// A picture's pixel buffer with the brush and pen the game's effects draw with. Pixels are
// 0xRRGGBB. Rectangles are given by their corners (x1, y1)-(x2, y2), the right and bottom edges
// excluded, as the drawing calls of the window toolkit take them.
//
// The battle's effects fill bands, squares and the whole picture and copy the opponent back over
// them, hundreds of times a battle, and a headless battle never looks at the result. Fills and
// copies from other canvases are therefore only noted, in order, and written into the buffer when
// somebody reads the pixels (the renderer, a screenshot, a test) or draws in a way that needs
// them. An operation that covers the whole picture makes every noted one before it moot, and a
// whole-picture copy of what the buffer already holds writes nothing at all. What a reader sees
// is always what drawing at once would have given.
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

  // Takes the other's size and pixels, sharing them until either draws (brush and pen stay).
  void share(const Canvas& other);

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

  // Operations noted and not yet written, for tests and benchmarks.
  size_t pending() const { return pending_.size() - covered_; }

 private:
  using Pixels = std::vector<uint32_t>;
  // A whole-picture copy of another canvas, as the buffer holds it or as it was asked for.
  struct CopyOf {
    const Canvas* src = nullptr;
    uint64_t src_revision = 0;
    int rect[8] = {};
    bool operator==(const CopyOf&) const = default;
  };
  // A noted fill (src null) or copy. A copy keeps the source's pixels as they were, shared: the
  // source copies its buffer before it next changes (copy on write). A fill may be outlined: its
  // edge pixels take another colour, as a filled rectangle drawn with a pen.
  struct Op {
    int d[4] = {};
    uint32_t rgb = 0;
    bool outlined = false;
    uint32_t edge = 0;
    std::shared_ptr<const Pixels> src = nullptr;
    int src_w = 0, src_h = 0;
    int s[4] = {};
    bool opaque = false;  // writes every pixel of its rectangle
    CopyOf whole = {};  // a whole-picture copy: what the buffer holds once it is written
  };

  void settle() const;   // writes the noted operations into the buffer
  void forget_pending() const;
  uint32_t* change();    // settles, makes the buffer this canvas's own, counts a change
  void note(Op op);
  void own_pixels() const;  // makes the buffer this canvas's alone
  void apply(const Op& op) const;
  void fill(int x1, int y1, int x2, int y2, uint32_t rgb);  // notes a fill of an RGB colour
  void fill_outlined(int x1, int y1, int x2, int y2, uint32_t rgb, uint32_t edge);
  void outline(int x1, int y1, int x2, int y2, uint32_t rgb);
  bool covers(int x1, int y1, int x2, int y2) const {
    return x1 <= 0 && y1 <= 0 && x2 >= width && y2 >= height;
  }

  mutable std::shared_ptr<Pixels> pixels_ = std::make_shared<Pixels>();
  // The rectangle of each noted operation within the picture, beside it rather than in it: a
  // noted opaque operation looks among them for the ones it covers, and reads only these.
  mutable std::vector<Op> pending_;
  mutable ClipList clips_;
  // Where the latest noted operation on each rectangle lies in the list, by its rectangle: one
  // drawn again on the very same rectangle (the road's step, twice on each of its rings at every
  // step) covers the one before without a scan. Open addressing, with twice as many slots as
  // operations are ever noted; slots of an earlier generation are empty, so the whole index is
  // emptied by counting one on. Made when first needed: most canvases never draw.
  struct Slot {
    uint64_t key = 0;
    uint32_t index = 0, generation = 0;
  };
  mutable std::vector<Slot> slots_;
  mutable uint32_t generation_ = 1;
  // The slot of the rectangle's latest operation, or the empty one where it goes.
  Slot& slot_for(const Clip& clip) const;
  void index_in(Slot& slot, size_t i) const;  // the rectangle's latest operation is the i-th
  void index_at(const Clip& clip, size_t i) const { index_in(slot_for(clip), i); }
  void empty_index() const;
  mutable size_t covered_ = 0;  // how many of them are covered
  // The smallest area among them: a rectangle smaller than that covers none.
  static constexpr int64_t kNoArea = INT64_MAX;
  mutable int64_t least_area_ = kNoArea;
  mutable CopyOf holds_;  // what the buffer holds, when it is a whole copy of another canvas
};
