// The rectangles of a canvas's noted operations, kept four to a block so a scan compares four
// at a time.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// A rectangle within the picture, the right and bottom edges excluded. One written over in full
// has the whole plane instead, which lies within no rectangle.
struct Clip {
  int x1, y1, x2, y2;
  static constexpr int kFar = 1 << 30;
  static Clip covered_one() { return {-kFar, -kFar, kFar, kFar}; }
  bool covered() const { return x1 == -kFar; }
  bool within(const Clip& o) const { return x1 >= o.x1 && y1 >= o.y1 && x2 <= o.x2 && y2 <= o.y2; }
  int64_t area() const { return static_cast<int64_t>(x2 - x1) * (y2 - y1); }
};

// The closing square notes a hundred bands, each of which looks among the ones before it for one
// it covers, and finds none: that scan was a tenth of a headless battle. The left edges of four
// rectangles lie in one vector, their top edges in another, and so on, and the places after the
// last rectangle hold covered ones, so a scan is four vector compares for four rectangles, with no
// tail.
class ClipList {
 public:
  size_t size() const { return size_; }
  Clip operator[](size_t i) const {
    const Block& b = blocks_[i / 4];
    const size_t l = i % 4;
    return {b.x1[l], b.y1[l], b.x2[l], b.y2[l]};
  }
  void set(size_t i, const Clip& c) {
    Block& b = blocks_[i / 4];
    const size_t l = i % 4;
    b.x1[l] = c.x1, b.y1[l] = c.y1, b.x2[l] = c.x2, b.y2[l] = c.y2;
  }
  void push_back(const Clip& c) {
    if (size_ % 4 == 0) blocks_.push_back(empty_block());
    set(size_++, c);
  }
  // Keeps the first n.
  void shrink_to(size_t n) {
    for (size_t i = n; i < size_ && i % 4 != 0; ++i) set(i, Clip::covered_one());
    blocks_.resize((n + 3) / 4);
    size_ = n;
  }
  void clear() { shrink_to(0); }
  // Whether any of them lies within o.
  bool any_within(const Clip& o) const {
    // Strict compares against the edges moved out by one (they are far from overflowing): SSE2
    // has a greater-than compare only.
    const V4 x1 = V4{} + (o.x1 - 1), y1 = V4{} + (o.y1 - 1), x2 = V4{} + (o.x2 + 1), y2 = V4{} + (o.y2 + 1);
    V4 found = {};
    for (const Block& b : blocks_) found |= (b.x1 > x1) & (b.y1 > y1) & (x2 > b.x2) & (y2 > b.y2);
    return (found[0] | found[1] | found[2] | found[3]) != 0;
  }

 private:
  using V4 = int32_t __attribute__((vector_size(16)));
  struct Block {
    V4 x1, y1, x2, y2;
  };
  static Block empty_block() {
    const Clip c = Clip::covered_one();
    return {V4{} + c.x1, V4{} + c.y1, V4{} + c.x2, V4{} + c.y2};
  }
  std::vector<Block> blocks_;
  size_t size_ = 0;
};
