#include "canvas.hpp"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "art.hpp"

namespace art {

Rgb mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto ch = [t](uint8_t x, uint8_t y) {
    return static_cast<uint8_t>(std::lround(x + (static_cast<double>(y) - x) * t));
  };
  return Rgb{ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b)};
}

uint64_t Rng::next() {
  // splitmix64: small, fast and the same everywhere.
  uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Rng::uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

int Rng::below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(n)); }

double bayer(int x, int y) {
  static constexpr int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return (m[y & 3][x & 3] + 0.5) / 16.0;
}

Image::Image(int w_, int h_, Rgb fill, bool opaque)
    : w(w_), h(h_),
      px_(static_cast<size_t>(w_) * static_cast<size_t>(h_), fill),
      on_(static_cast<size_t>(w_) * static_cast<size_t>(h_), opaque ? 1 : 0) {}

void Image::put(int x, int y, Rgb c) {
  if (!inside(x, y)) return;
  px_[idx(x, y)] = c;
  on_[idx(x, y)] = 1;
}

void Image::clear(int x, int y) {
  if (inside(x, y)) on_[idx(x, y)] = 0;
}

void Image::rect(int x, int y, int rw, int rh, Rgb c) {
  for (int j = y; j < y + rh; ++j)
    for (int i = x; i < x + rw; ++i) put(i, j, c);
}

void Image::blit(const Image& src, int dx, int dy) {
  for (int y = 0; y < src.h; ++y)
    for (int x = 0; x < src.w; ++x)
      if (src.opaque(x, y)) put(x + dx, y + dy, src.at(x, y));
}

Image Image::scaled(int k) const {
  Image out(w * k, h * k, Rgb{}, false);
  for (int y = 0; y < out.h; ++y)
    for (int x = 0; x < out.w; ++x)
      if (opaque(x / k, y / k)) out.put(x, y, at(x / k, y / k));
  return out;
}

void Image::tint(int x, int y, Rgb c, double t) {
  if (!inside(x, y)) return;
  px_[idx(x, y)] = mix(px_[idx(x, y)], c, t);
}

bool Mask::empty() const {
  return std::none_of(m_.begin(), m_.end(), [](uint8_t v) { return v != 0; });
}

Mask& Mask::operator|=(const Mask& o) {
  for (size_t i = 0; i < m_.size(); ++i) m_[i] = (m_[i] | o.m_[i]);
  return *this;
}
Mask& Mask::operator&=(const Mask& o) {
  for (size_t i = 0; i < m_.size(); ++i) m_[i] = (m_[i] & o.m_[i]);
  return *this;
}
Mask& Mask::operator-=(const Mask& o) {
  for (size_t i = 0; i < m_.size(); ++i) m_[i] = o.m_[i] ? 0 : m_[i];
  return *this;
}

Mask& Mask::keep(const std::function<bool(double, double)>& test) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (get(x, y) && !test(x + 0.5, y + 0.5)) set(x, y, false);
  return *this;
}

Mask Mask::ring() const {
  Mask r(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (!get(x, y) && (get(x - 1, y) || get(x + 1, y) || get(x, y - 1) || get(x, y + 1))) r.set(x, y);
  return r;
}

Mask Mask::grown() const { return *this | ring(); }

Mask fn_mask(int w, int h, const std::function<bool(double, double)>& inside) {
  Mask m(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (inside(x + 0.5, y + 0.5)) m.set(x, y);
  return m;
}

Mask circle(int w, int h, double cx, double cy, double r) { return ellipse(w, h, cx, cy, r, r); }

Mask ellipse(int w, int h, double cx, double cy, double rx, double ry) {
  return fn_mask(w, h, [=](double x, double y) {
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  });
}

Mask rotated_ellipse(int w, int h, double cx, double cy, double rx, double ry, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  return fn_mask(w, h, [=](double x, double y) {
    const double u = ((x - cx) * c + (y - cy) * s) / rx;
    const double v = (-(x - cx) * s + (y - cy) * c) / ry;
    return u * u + v * v <= 1.0;
  });
}

Mask poly(int w, int h, const std::vector<Pt>& pts) {
  return fn_mask(w, h, [&pts](double x, double y) {
    // Even-odd rule.
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const Pt a = pts[i], b = pts[j];
      if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
  });
}

Mask capsule(int w, int h, Pt a, Pt b, double r0, double r1) {
  return fn_mask(w, h, [=](double x, double y) {
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? ((x - a.x) * vx + (y - a.y) * vy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double px = a.x + vx * t - x, py = a.y + vy * t - y;
    const double r = r0 + (r1 - r0) * t;
    return px * px + py * py <= r * r;
  });
}

Mask box(int w, int h, double x0, double y0, double x1, double y1) {
  return fn_mask(w, h, [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; });
}

Mask ring_shape(int w, int h, double cx, double cy, double r_out, double r_in) {
  return fn_mask(w, h, [=](double x, double y) {
    const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
    return d2 <= r_out * r_out && d2 >= r_in * r_in;
  });
}

namespace {

// Position of a pixel across the run of mask pixels that holds it: -1 at one end, +1 at the other.
double across_row(const Mask& m, int x, int y) {
  int l = x, r = x;
  while (m.get(l - 1, y)) --l;
  while (m.get(r + 1, y)) ++r;
  const double half = (r - l + 1) / 2.0;
  return ((x + 0.5) - (l + half)) / half;
}

double across_col(const Mask& m, int x, int y) {
  int t = y, b = y;
  while (m.get(x, t - 1)) --t;
  while (m.get(x, b + 1)) ++b;
  const double half = (b - t + 1) / 2.0;
  return ((y + 0.5) - (t + half)) / half;
}

struct V3 {
  double x, y, z;
};

V3 norm(V3 v) {
  const double l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return l > 0 ? V3{v.x / l, v.y / l, v.z / l} : V3{0, 0, 1};
}

const V3 kLight = norm({-0.5, -0.62, 0.62});

double lit(V3 n) { return n.x * kLight.x + n.y * kLight.y + n.z * kLight.z; }

}  // namespace

void paint(Image& img, const Mask& m, const Ramp& r, const Paint& p) {
  if (p.outline) outline(img, m, r[0]);
  for (int y = 0; y < img.h; ++y) {
    for (int x = 0; x < img.w; ++x) {
      if (!m.get(x, y)) continue;
      int shade = p.flat;
      if (p.shade != Shade::Flat) {
        double t = 0.6;
        if (p.shade == Shade::Sphere) {
          // From the two runs through the pixel, recover the normal of an ellipse exactly; any
          // other rounded shape gets a pillow-like approximation of it.
          const double a = std::clamp(across_row(m, x, y), -0.999, 0.999);
          const double b = std::clamp(across_col(m, x, y), -0.999, 0.999);
          const double d = 1 - a * a * b * b;
          double nx = std::sqrt(std::max(0.0, a * a * (1 - b * b) / d));
          double ny = std::sqrt(std::max(0.0, b * b * (1 - a * a) / d));
          if (a < 0) nx = -nx;
          if (b < 0) ny = -ny;
          // Soften towards the viewer so the lit spot sits inside the shape, not on its rim.
          nx *= 0.85;
          ny *= 0.85;
          const double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
          t = 0.5 + 0.5 * lit({nx, ny, nz});
        } else if (p.shade == Shade::CylX) {
          const double a = std::clamp(across_row(m, x, y), -0.999, 0.999) * 0.9;
          t = 0.5 + 0.5 * lit(norm({a, -0.15, std::sqrt(1 - a * a)}));
        } else if (p.shade == Shade::CylY) {
          const double b = std::clamp(across_col(m, x, y), -0.999, 0.999) * 0.9;
          t = 0.5 + 0.5 * lit(norm({-0.2, b, std::sqrt(1 - b * b)}));
        } else {  // Bevel
          t = 0.7;
          if (!m.get(x - 1, y) || !m.get(x, y - 1)) t = 0.9;
          if (!m.get(x + 1, y) || !m.get(x, y + 1)) t = 0.45;
        }
        t += p.bias + (bayer(x, y) - 0.5) * 2 * p.band;
        shade = t < 0.5 ? 1 : t < 0.75 ? 2 : t < 0.93 ? 3 : 4;
      }
      shade = std::clamp(shade, p.lowest, p.highest);
      img.put(x, y, r[shade]);
    }
  }
}

void fill(Image& img, const Mask& m, Rgb c) {
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x)
      if (m.get(x, y)) img.put(x, y, c);
}

void outline(Image& img, const Mask& m, Rgb c) { fill(img, m.ring(), c); }

void line(Image& img, int x0, int y0, int x1, int y1, Rgb c) {
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    img.put(x0, y0, c);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void glow(Image& img, double cx, double cy, double r, Rgb c, double strength, bool only_opaque) {
  for (int y = static_cast<int>(cy - r) - 1; y <= static_cast<int>(cy + r) + 1; ++y) {
    for (int x = static_cast<int>(cx - r) - 1; x <= static_cast<int>(cx + r) + 1; ++x) {
      if (!img.inside(x, y) || (only_opaque && !img.opaque(x, y))) continue;
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / r;
      if (d >= 1) continue;
      double f = (1 - d) * (1 - d) * strength;
      // Steps of a quarter, chosen by the dither pattern, keep the light crisp like the rest.
      f = std::floor(f * 4 + bayer(x, y)) / 4;
      if (f > 0) img.tint(x, y, c, std::min(f, 1.0));
    }
  }
}

void vbands(Image& img, int x0, int y0, int x1, int y1, const std::vector<Rgb>& bands, double band) {
  const int n = static_cast<int>(bands.size());
  for (int y = y0; y < y1; ++y) {
    const double f = (y1 - y0 > 1 ? (y - y0) / static_cast<double>(y1 - y0 - 1) : 0) * (n - 1);
    for (int x = x0; x < x1; ++x) {
      int i = static_cast<int>(std::floor(f));
      const double frac = f - i;
      if (frac > 0.5 + (bayer(x, y) - 0.5) * 2 * band) ++i;
      img.put(x, y, bands[static_cast<size_t>(std::clamp(i, 0, n - 1))]);
    }
  }
}

void sparkle(Image& img, int x, int y, int arm, Rgb core, Rgb edge) {
  img.put(x, y, core);
  for (int k = 1; k <= arm; ++k) {
    const Rgb c = k == arm ? edge : core;
    img.put(x + k, y, c);
    img.put(x - k, y, c);
    img.put(x, y + k, c);
    img.put(x, y - k, c);
  }
}

void write_bmp(const Image& img, const std::string& path) {
  const int row = (img.w * 3 + 3) & ~3;
  const uint32_t data = static_cast<uint32_t>(row) * static_cast<uint32_t>(img.h);
  std::vector<uint8_t> out;
  auto u16 = [&out](uint32_t v) { put_u16(out, v); };
  auto u32 = [&out](uint32_t v) { put_u32(out, v); };
  out.push_back('B');
  out.push_back('M');
  u32(54 + data);  // file size
  u32(0);          // reserved
  u32(54);         // offset of the pixels
  u32(40);         // BITMAPINFOHEADER
  u32(static_cast<uint32_t>(img.w));
  u32(static_cast<uint32_t>(img.h));  // positive: rows run bottom-up
  u16(1);                             // planes
  u16(24);                            // bits per pixel
  u32(0);                             // BI_RGB, uncompressed
  u32(data);
  u32(2835);  // 72 dpi
  u32(2835);
  u32(0);
  u32(0);
  for (int y = img.h - 1; y >= 0; --y) {
    for (int x = 0; x < img.w; ++x) {
      // Pixels left uncovered are written black; every picture fills its background first.
      const Rgb c = img.opaque(x, y) ? img.at(x, y) : Rgb{};
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
    for (int pad = img.w * 3; pad < row; ++pad) out.push_back(0);
  }
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (!f) throw std::runtime_error("cannot write " + path);
  f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  if (!f) throw std::runtime_error("cannot write " + path);
}

}  // namespace art
