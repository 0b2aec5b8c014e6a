#include "ui/canvas.hpp"

#include <algorithm>

void Canvas::resize(int w, int h) {
  width = std::max(0, w);
  height = std::max(0, h);
  pixels_.assign(static_cast<size_t>(width) * height, bgr_to_rgb(cl::white));
  solid_.reset();
  copy_of_ = {};
  ++revision;
}

void Canvas::clear() {
  width = height = 0;
  pixels_.clear();
  solid_.reset();
  copy_of_ = {};
  ++revision;
}

void Canvas::settle() const {
  if (!solid_) return;
  std::fill(pixels_.begin(), pixels_.end(), *solid_);
  solid_.reset();
  copy_of_ = {};
}

const uint32_t* Canvas::data() const {
  settle();
  return pixels_.data();
}

uint32_t* Canvas::change() {
  settle();
  copy_of_ = {};
  ++revision;
  return pixels_.data();
}

uint32_t* Canvas::writable() { return change(); }

void Canvas::put(int x, int y, uint32_t rgb) {
  if (x >= 0 && y >= 0 && x < width && y < height) pixels_[static_cast<size_t>(y) * width + x] = rgb;
}

void Canvas::fill_rect(int x1, int y1, int x2, int y2) {
  const uint32_t rgb = bgr_to_rgb(brush);
  if (empty()) return;
  if (covers(x1, y1, x2, y2)) {
    solid_ = rgb;  // the buffer (and what it is a copy of) stays underneath
    ++revision;
    return;
  }
  x1 = std::max(x1, 0);
  y1 = std::max(y1, 0);
  x2 = std::min(x2, width);
  y2 = std::min(y2, height);
  if (x2 <= x1 || y2 <= y1) return;
  uint32_t* p = change();
  for (int y = y1; y < y2; ++y) std::fill_n(p + static_cast<ptrdiff_t>(y) * width + x1, x2 - x1, rgb);
}

void Canvas::outline(int x1, int y1, int x2, int y2, uint32_t rgb) {
  if (x2 <= x1 || y2 <= y1) return;
  change();
  for (int x = x1; x < x2; ++x) {
    put(x, y1, rgb);
    put(x, y2 - 1, rgb);
  }
  for (int y = y1; y < y2; ++y) {
    put(x1, y, rgb);
    put(x2 - 1, y, rgb);
  }
}

void Canvas::rectangle(int x1, int y1, int x2, int y2) {
  if (pen == brush) return fill_rect(x1, y1, x2, y2);  // the same pixels, and a whole fill is cheap
  fill_rect(x1 + 1, y1 + 1, x2 - 1, y2 - 1);
  outline(x1, y1, x2, y2, bgr_to_rgb(pen));
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
  const int dw = dx2 - dx1, dh = dy2 - dy1, sw = sx2 - sx1, sh = sy2 - sy1;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || src.empty() || empty()) return;
  // A copy over the whole picture from inside the source writes every pixel.
  const bool whole = &src != this && covers(dx1, dy1, dx2, dy2) && sx1 >= 0 && sy1 >= 0 &&
                     sx2 <= src.width && sy2 <= src.height;
  const CopyOf wanted{&src, src.revision, {dx1, dy1, dx2, dy2, sx1, sy1, sx2, sy2}};
  if (whole && copy_of_.src == wanted.src && copy_of_.src_revision == wanted.src_revision &&
      std::equal(std::begin(wanted.rect), std::end(wanted.rect), copy_of_.rect)) {
    solid_.reset();  // the buffer under the noted fill is this very copy
    ++revision;
    return;
  }
  if (whole) solid_.reset();
  uint32_t* out = change();
  const uint32_t* in = src.data();
  const int xa = std::max(dx1, 0), xb = std::min(dx2, width);
  const int ya = std::max(dy1, 0), yb = std::min(dy2, height);
  int last_sy = -1;
  const uint32_t* last_row = nullptr;
  for (int y = ya; y < yb; ++y) {
    const int sy = sy1 + static_cast<int>(static_cast<int64_t>(y - dy1) * sh / dh);
    if (sy < 0 || sy >= src.height) continue;
    uint32_t* row = out + static_cast<ptrdiff_t>(y) * width;
    if (sy == last_sy && last_row) {  // a stretched row repeats the one above it
      std::copy(last_row + xa, last_row + xb, row + xa);
      continue;
    }
    const uint32_t* from = in + static_cast<ptrdiff_t>(sy) * src.width;
    // Step through the source columns without a division per pixel.
    int64_t acc = static_cast<int64_t>(xa - dx1) * sw;
    int sx = sx1 + static_cast<int>(acc / dw);
    acc %= dw;
    for (int x = xa; x < xb; ++x) {
      if (sx >= 0 && sx < src.width) row[x] = from[sx];
      acc += sw;
      while (acc >= dw) acc -= dw, ++sx;
    }
    last_sy = sy;
    last_row = row;
  }
  if (whole) copy_of_ = wanted;
}
