#include "ui/canvas.hpp"

#include <algorithm>

void Canvas::resize(int w, int h) {
  width = std::max(0, w);
  height = std::max(0, h);
  pixels.assign(static_cast<size_t>(width) * height, bgr_to_rgb(cl::white));
  ++revision;
}

void Canvas::clear() {
  width = height = 0;
  pixels.clear();
  ++revision;
}

void Canvas::put(int x, int y, uint32_t rgb) {
  if (x >= 0 && y >= 0 && x < width && y < height) pixels[static_cast<size_t>(y) * width + x] = rgb;
}

void Canvas::fill_rect(int x1, int y1, int x2, int y2) {
  const uint32_t rgb = bgr_to_rgb(brush);
  x1 = std::max(x1, 0);
  y1 = std::max(y1, 0);
  x2 = std::min(x2, width);
  y2 = std::min(y2, height);
  for (int y = y1; y < y2; ++y)
    std::fill_n(pixels.begin() + static_cast<ptrdiff_t>(y) * width + x1, std::max(0, x2 - x1), rgb);
  ++revision;
}

static void outline(Canvas& c, int x1, int y1, int x2, int y2, uint32_t rgb,
                    void (*put)(Canvas&, int, int, uint32_t)) {
  if (x2 <= x1 || y2 <= y1) return;
  for (int x = x1; x < x2; ++x) {
    put(c, x, y1, rgb);
    put(c, x, y2 - 1, rgb);
  }
  for (int y = y1; y < y2; ++y) {
    put(c, x1, y, rgb);
    put(c, x2 - 1, y, rgb);
  }
}

void Canvas::rectangle(int x1, int y1, int x2, int y2) {
  fill_rect(x1 + 1, y1 + 1, x2 - 1, y2 - 1);
  outline(*this, x1, y1, x2, y2, bgr_to_rgb(pen),
          [](Canvas& c, int x, int y, uint32_t v) { c.put(x, y, v); });
  ++revision;
}

void Canvas::frame_rect(int x1, int y1, int x2, int y2) {
  outline(*this, x1, y1, x2, y2, bgr_to_rgb(brush),
          [](Canvas& c, int x, int y, uint32_t v) { c.put(x, y, v); });
  ++revision;
}

void Canvas::copy_rect(int dx1, int dy1, int dx2, int dy2, const Canvas& src, int sx1, int sy1,
                       int sx2, int sy2) {
  const int dw = dx2 - dx1, dh = dy2 - dy1, sw = sx2 - sx1, sh = sy2 - sy1;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || src.empty()) return;
  const int xa = std::max(dx1, 0), xb = std::min(dx2, width);
  const int ya = std::max(dy1, 0), yb = std::min(dy2, height);
  int last_sy = -1;
  uint32_t* last_row = nullptr;
  for (int y = ya; y < yb; ++y) {
    const int sy = sy1 + static_cast<int>(static_cast<int64_t>(y - dy1) * sh / dh);
    if (sy < 0 || sy >= src.height) continue;
    uint32_t* row = pixels.data() + static_cast<ptrdiff_t>(y) * width;
    if (sy == last_sy && last_row) {  // a stretched row repeats the one above it
      std::copy(last_row + xa, last_row + xb, row + xa);
      continue;
    }
    const uint32_t* from = src.pixels.data() + static_cast<ptrdiff_t>(sy) * src.width;
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
  ++revision;
}

void Canvas::blend_mask(int x, int y, int w, int h, const uint8_t* alpha, uint32_t colour) {
  const uint32_t rgb = bgr_to_rgb(colour);
  for (int j = 0; j < h; ++j) {
    const int py = y + j;
    if (py < 0 || py >= height) continue;
    for (int i = 0; i < w; ++i) {
      const int px = x + i;
      const uint32_t a = alpha[static_cast<size_t>(j) * w + i];
      if (px < 0 || px >= width || a == 0) continue;
      uint32_t& d = pixels[static_cast<size_t>(py) * width + px];
      auto mix = [&](int shift) {
        const uint32_t fg = (rgb >> shift) & 0xFF, bg = (d >> shift) & 0xFF;
        return ((fg * a + bg * (255 - a) + 127) / 255) << shift;
      };
      d = mix(16) | mix(8) | mix(0);
    }
  }
  ++revision;
}
