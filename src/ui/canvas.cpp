// The canvas's drawing, noted and written into its buffer when somebody reads the pixels.
#include "ui/canvas.hpp"

#include <algorithm>

namespace {

// Past this many noted operations the buffer is written, so a long run without readers keeps no
// more than this (the closing square notes a hundred rings).
constexpr size_t kMostPending = 256;

constexpr size_t kSlots = 2 * kMostPending;  // a power of two

// A clipped rectangle's corners in 16 bits each (a picture is never 65,536 pixels wide), and its
// first slot.
uint64_t key_of(int x1, int y1, int x2, int y2) {
  return static_cast<uint64_t>(x1) | static_cast<uint64_t>(y1) << 16 | static_cast<uint64_t>(x2) << 32 |
         static_cast<uint64_t>(y2) << 48;
}
size_t slot_of(uint64_t key) { return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 55) & (kSlots - 1); }

}  // namespace

void Canvas::resize(int w, int h) {
  width = std::max(0, w);
  height = std::max(0, h);
  pixels_ = std::make_shared<Pixels>(static_cast<size_t>(width) * height, bgr_to_rgb(cl::white));
  forget_pending();
  holds_ = {};
  ++revision;
}

void Canvas::clear() {
  width = height = 0;
  pixels_ = std::make_shared<Pixels>();
  forget_pending();
  holds_ = {};
  ++revision;
}

void Canvas::share(const Canvas& other) {
  if (&other == this) return;
  other.settle();
  width = other.width;
  height = other.height;
  pixels_ = other.pixels_;
  forget_pending();
  holds_ = {};
  ++revision;
}

void Canvas::own_pixels() const {
  // Shared with a noted copy's source or a bitmap kept decoded: those keep what they were given.
  if (pixels_.use_count() > 1) pixels_ = std::make_shared<Pixels>(*pixels_);
}

Canvas::Slot& Canvas::slot_for(const Clip& c) const {
  if (slots_.empty()) slots_.resize(kSlots);
  const uint64_t key = key_of(c.x1, c.y1, c.x2, c.y2);
  for (size_t s = slot_of(key);; s = (s + 1) & (kSlots - 1)) {
    Slot& slot = slots_[s];
    if (slot.generation != generation_) {
      slot.key = key;  // still empty until its generation is set
      return slot;
    }
    if (slot.key == key) return slot;
  }
}

void Canvas::index_in(Slot& slot, size_t i) const {
  slot.index = static_cast<uint32_t>(i);
  slot.generation = generation_;
}

void Canvas::empty_index() const {
  // Counted round to 0, the generation of slots never used: those are emptied for real.
  if (++generation_ == 0) {
    std::fill(slots_.begin(), slots_.end(), Slot{});
    generation_ = 1;
  }
}

void Canvas::forget_pending() const {
  pending_.clear();
  clips_.clear();
  empty_index();
  covered_ = 0;
  least_area_ = kNoArea;
}

void Canvas::settle() const {
  if (pending_.empty()) return;
  own_pixels();
  for (size_t i = 0; i < pending_.size(); ++i)
    if (!clips_[i].covered()) apply(pending_[i]);
  forget_pending();
}

const uint32_t* Canvas::data() const {
  settle();
  return pixels_->data();
}

uint32_t* Canvas::change() {
  settle();
  own_pixels();
  holds_ = {};
  ++revision;
  return pixels_->data();
}

uint32_t* Canvas::writable() { return change(); }

void Canvas::note(Op op) {
  ++revision;
  // Rectangles drawn are never empty within the picture (the drawing calls skip those), so the
  // one that holds the fewest pixels says which can lie within another.
  const Clip clip{std::max(op.d[0], 0), std::max(op.d[1], 0), std::min(op.d[2], width), std::min(op.d[3], height)};
  Slot* slot = nullptr;  // where the index keeps this rectangle, once looked up
  if (op.opaque && covers(op.d[0], op.d[1], op.d[2], op.d[3])) {
    forget_pending();
    // The buffer holds this very copy already: nothing to write.
    if (op.whole.src && op.whole == holds_) return;
  } else if (op.opaque && clip.area() >= least_area_) {
    // What this writes over in full, nobody will see. No noted operation reads this canvas (a
    // copy from it writes the buffer first), so one under it can go wherever it lies. It is only
    // marked at first: moving the ones after it down at every mark would cost more than the scan.
    const auto cover = [this](size_t i) {
      clips_.set(i, Clip::covered_one());
      pending_[i].src.reset();
      ++covered_;
    };
    // The same rectangle drawn again covers the one drawn there before, and what that one
    // covered is gone already: the scan for the others would find none in the game's drawing.
    // (One it misses is only written and written over again.)
    slot = &slot_for(clip);
    const bool on_same = slot->generation == generation_;
    const size_t same = slot->index;
    if (on_same && same + 1 == pending_.size()) {
      // Drawn over the latest one (the road's step blackens each ring it has just drawn): this
      // one takes its place, and the index already points there.
      pending_.back() = std::move(op);
      return;
    }
    // Any other within it holds fewer pixels (the same rectangle is the index's to answer): with
    // none smaller noted there is nothing to scan for.
    if (on_same && clips_[same].within(clip)) {
      cover(same);
    } else if (clip.area() > least_area_ && clips_.any_within(clip)) [[unlikely]] {
      for (size_t i = 0; i < clips_.size(); ++i)
        if (clips_[i].within(clip)) cover(i);
    }
  }
  least_area_ = std::min(least_area_, clip.area());
  index_in(slot ? *slot : slot_for(clip), pending_.size());
  pending_.push_back(std::move(op));
  clips_.push_back(clip);
  // Dropped once they are three quarters of the list: the road's steps cover a ring at every note,
  // and a scan reads four at a time.
  if (covered_ * 4 > pending_.size() * 3) {
    size_t kept = 0;
    least_area_ = kNoArea;
    empty_index();
    for (size_t i = 0; i < pending_.size(); ++i) {
      const Clip c = clips_[i];
      if (c.covered()) continue;
      least_area_ = std::min(least_area_, c.area());
      if (kept != i) {
        pending_[kept] = std::move(pending_[i]);
        clips_.set(kept, c);
      }
      index_at(c, kept);
      ++kept;
    }
    pending_.resize(kept);
    clips_.shrink_to(kept);
    covered_ = 0;
  }
  if (pending_.size() >= kMostPending) settle();
}

void Canvas::apply(const Op& op) const {
  uint32_t* out = pixels_->data();
  const int xa = std::max(op.d[0], 0), xb = std::min(op.d[2], width);
  const int ya = std::max(op.d[1], 0), yb = std::min(op.d[3], height);
  holds_ = op.whole;
  if (xb <= xa || yb <= ya) return;
  if (!op.src) {
    for (int y = ya; y < yb; ++y) std::fill_n(out + static_cast<ptrdiff_t>(y) * width + xa, xb - xa, op.rgb);
    if (!op.outlined) return;
    for (const int y : {op.d[1], op.d[3] - 1})
      if (y >= ya && y < yb) std::fill_n(out + static_cast<ptrdiff_t>(y) * width + xa, xb - xa, op.edge);
    for (const int x : {op.d[0], op.d[2] - 1})
      if (x >= xa && x < xb)
        for (int y = ya; y < yb; ++y) out[static_cast<ptrdiff_t>(y) * width + x] = op.edge;
    return;
  }
  const int dw = op.d[2] - op.d[0], dh = op.d[3] - op.d[1];
  const int sw = op.s[2] - op.s[0], sh = op.s[3] - op.s[1];
  const uint32_t* in = op.src->data();
  int last_sy = -1;
  const uint32_t* last_row = nullptr;
  for (int y = ya; y < yb; ++y) {
    const int sy = op.s[1] + static_cast<int>(static_cast<int64_t>(y - op.d[1]) * sh / dh);
    if (sy < 0 || sy >= op.src_h) continue;
    uint32_t* row = out + static_cast<ptrdiff_t>(y) * width;
    if (sy == last_sy && last_row) {  // a stretched row repeats the one above it
      std::copy(last_row + xa, last_row + xb, row + xa);
      continue;
    }
    const uint32_t* from = in + static_cast<ptrdiff_t>(sy) * op.src_w;
    // Step through the source columns without a division per pixel.
    int64_t acc = static_cast<int64_t>(xa - op.d[0]) * sw;
    int sx = op.s[0] + static_cast<int>(acc / dw);
    acc %= dw;
    for (int x = xa; x < xb; ++x) {
      if (sx >= 0 && sx < op.src_w) row[x] = from[sx];
      acc += sw;
      while (acc >= dw) acc -= dw, ++sx;
    }
    last_sy = sy;
    last_row = row;
  }
}

void Canvas::fill(int x1, int y1, int x2, int y2, uint32_t rgb) {
  if (empty() || std::max(x1, 0) >= std::min(x2, width) || std::max(y1, 0) >= std::min(y2, height)) return;
  note(Op{.d = {x1, y1, x2, y2}, .rgb = rgb, .opaque = true});
}

void Canvas::fill_outlined(int x1, int y1, int x2, int y2, uint32_t rgb, uint32_t edge) {
  if (empty() || std::max(x1, 0) >= std::min(x2, width) || std::max(y1, 0) >= std::min(y2, height)) return;
  note(Op{.d = {x1, y1, x2, y2}, .rgb = rgb, .outlined = true, .edge = edge, .opaque = true});
}

void Canvas::fill_rect(int x1, int y1, int x2, int y2) { fill(x1, y1, x2, y2, bgr_to_rgb(brush)); }

// An outline is four one-pixel fills, noted like any other: the road's step outlines a band at
// every frame, and writing it at once would write every fill noted before it too.
void Canvas::outline(int x1, int y1, int x2, int y2, uint32_t rgb) {
  if (x2 <= x1 || y2 <= y1) return;
  fill(x1, y1, x2, y1 + 1, rgb);
  fill(x1, y2 - 1, x2, y2, rgb);
  fill(x1, y1, x1 + 1, y2, rgb);
  fill(x2 - 1, y1, x2, y2, rgb);
}

void Canvas::rectangle(int x1, int y1, int x2, int y2) {
  if (pen == brush) return fill_rect(x1, y1, x2, y2);  // the same pixels
  // One noted operation rather than a fill and four edges: it covers the rectangle before it.
  fill_outlined(x1, y1, x2, y2, bgr_to_rgb(brush), bgr_to_rgb(pen));
}

void Canvas::frame_rect(int x1, int y1, int x2, int y2) { outline(x1, y1, x2, y2, bgr_to_rgb(brush)); }

void Canvas::blend_mask(int x, int y, int w, int h, const uint8_t* alpha, uint32_t colour) {
  const uint32_t rgb = bgr_to_rgb(colour);
  uint32_t* p = change();
  for (int j = 0; j < h; ++j) {
    const int py = y + j;
    if (py < 0 || py >= height) continue;
    for (int i = 0; i < w; ++i) {
      const int px = x + i;
      const uint32_t a = alpha[static_cast<size_t>(j) * w + i];
      if (px < 0 || px >= width || a == 0) continue;
      uint32_t& d = p[static_cast<size_t>(py) * width + px];
      auto mix = [&](int shift) {
        const uint32_t fg = (rgb >> shift) & 0xFF, bg = (d >> shift) & 0xFF;
        return ((fg * a + bg * (255 - a) + 127) / 255) << shift;
      };
      d = mix(16) | mix(8) | mix(0);
    }
  }
}

void Canvas::copy_rect(int dx1, int dy1, int dx2, int dy2, const Canvas& src, int sx1, int sy1,
                       int sx2, int sy2) {
  if (dx2 <= dx1 || dy2 <= dy1 || sx2 <= sx1 || sy2 <= sy1 || src.empty() || empty()) return;
  // The source's pixels as they are now; a copy from this very canvas reads them too, since the
  // buffer is copied before anything is written into it while the copy holds it.
  src.settle();
  // A copy from inside the source writes every pixel of its rectangle.
  const bool inside = sx1 >= 0 && sy1 >= 0 && sx2 <= src.width && sy2 <= src.height;
  Op op{.d = {dx1, dy1, dx2, dy2},
        .src = src.pixels_,
        .src_w = src.width,
        .src_h = src.height,
        .s = {sx1, sy1, sx2, sy2},
        .opaque = inside};
  if (inside && &src != this && covers(dx1, dy1, dx2, dy2))
    op.whole = CopyOf{&src, src.revision, {dx1, dy1, dx2, dy2, sx1, sy1, sx2, sy2}};
  note(std::move(op));
}
