// A tiny pixel-art toolkit for the picture generator: an RGB image with a coverage flag per
// pixel, masks built from shapes, and a painter that fills a mask with one colour ramp (shaded
// and dithered) and rings it with the ramp's outline colour.
//
// Everything here is deterministic: no clock, no library random numbers, only our own generator.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace art {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

constexpr Rgb hex(uint32_t v) {
  return Rgb{static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

Rgb mix(Rgb a, Rgb b, double t);

// Five shades of one material: 0 is the outline, 1 shadow, 2 base, 3 light, 4 highlight.
struct Ramp {
  std::array<Rgb, 5> c;
  Rgb operator[](int i) const { return c[static_cast<size_t>(i)]; }
};

struct Pt {
  double x = 0, y = 0;
};

// Our own small generator, so that every run draws the same pictures on every machine.
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  uint64_t next();
  double uniform();                 // [0, 1)
  int below(int n);                 // 0 .. n-1
  double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

 private:
  uint64_t s_;
};

// The 4 × 4 ordered-dither threshold at a pixel, in (0, 1).
double bayer(int x, int y);

class Image {
 public:
  Image() = default;
  Image(int w, int h, Rgb fill = {}, bool opaque = true);

  int w = 0, h = 0;

  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
  Rgb at(int x, int y) const { return px_[idx(x, y)]; }
  bool opaque(int x, int y) const { return inside(x, y) && on_[idx(x, y)] != 0; }
  void put(int x, int y, Rgb c);
  void clear(int x, int y);
  void rect(int x, int y, int rw, int rh, Rgb c);
  // Draws the opaque pixels of src with its top-left at (dx, dy).
  void blit(const Image& src, int dx, int dy);
  // Nearest-neighbour enlargement by a whole factor (for art drawn at a coarse pixel size).
  Image scaled(int k) const;
  // Blends c over the pixel by t (0 .. 1), keeping coverage.
  void tint(int x, int y, Rgb c, double t);

 private:
  size_t idx(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x); }
  std::vector<Rgb> px_;
  std::vector<uint8_t> on_;
};

// Which pixels a shape covers; sampled at pixel centres.
class Mask {
 public:
  Mask(int w, int h) : w(w), h(h), m_(static_cast<size_t>(w) * static_cast<size_t>(h), 0) {}
  int w, h;

  bool get(int x, int y) const {
    return x >= 0 && y >= 0 && x < w && y < h && m_[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] != 0;
  }
  void set(int x, int y, bool v = true) {
    if (x >= 0 && y >= 0 && x < w && y < h) m_[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = v ? 1 : 0;
  }
  bool empty() const;

  Mask& operator|=(const Mask& o);
  Mask& operator&=(const Mask& o);
  Mask& operator-=(const Mask& o);
  friend Mask operator|(Mask a, const Mask& b) { return a |= b; }
  friend Mask operator&(Mask a, const Mask& b) { return a &= b; }
  friend Mask operator-(Mask a, const Mask& b) { return a -= b; }

  // Keeps the pixels that pass a test of their centre.
  Mask& keep(const std::function<bool(double, double)>& test);
  // The pixels one step outside the mask (4-neighbours).
  Mask ring() const;
  Mask grown() const;   // mask plus its ring

 private:
  std::vector<uint8_t> m_;
};

// Shape builders, all sized to the target (w × h).
Mask fn_mask(int w, int h, const std::function<bool(double, double)>& inside);
Mask circle(int w, int h, double cx, double cy, double r);
Mask ellipse(int w, int h, double cx, double cy, double rx, double ry);
Mask rotated_ellipse(int w, int h, double cx, double cy, double rx, double ry, double angle);
Mask poly(int w, int h, const std::vector<Pt>& pts);
// A thick segment with round ends whose radius goes from r0 to r1.
Mask capsule(int w, int h, Pt a, Pt b, double r0, double r1);
Mask box(int w, int h, double x0, double y0, double x1, double y1);
Mask ring_shape(int w, int h, double cx, double cy, double r_out, double r_in);

enum class Shade {
  Flat,     // one shade (opt.flat)
  Sphere,   // lit like a ball or pillow from the top left
  CylX,     // round across x (a standing limb or trunk)
  CylY,     // round across y (a lying limb)
  Bevel,    // flat with a lit upper-left edge and a dark lower-right edge
};

struct Paint {
  Shade shade = Shade::Sphere;
  bool outline = true;
  double bias = 0;        // brightens (+) or darkens (-) the whole shape
  double band = 0.06;     // width of the dithered band between two shades
  int flat = 2;           // the shade used by Shade::Flat
  int lowest = 1;         // darkest interior shade allowed
  int highest = 4;        // brightest interior shade allowed
};

// Fills the mask with the ramp's shades and rings it with shade 0.
void paint(Image& img, const Mask& m, const Ramp& r, const Paint& p = {});
// Fills the mask with one colour, no outline.
void fill(Image& img, const Mask& m, Rgb c);
// Draws only the ring of the mask, in a colour.
void outline(Image& img, const Mask& m, Rgb c);

// A 1-pixel line.
void line(Image& img, int x0, int y0, int x1, int y1, Rgb c);
// Soft light: blends c into existing pixels, strongest at the centre, in dithered steps.
void glow(Image& img, double cx, double cy, double r, Rgb c, double strength, bool only_opaque = false);
// A vertical banded gradient between consecutive colours, dithered at the band edges.
void vbands(Image& img, int x0, int y0, int x1, int y1, const std::vector<Rgb>& bands, double band = 0.35);
// A small four-pointed twinkle.
void sparkle(Image& img, int x, int y, int arm, Rgb core, Rgb edge);

// Writes a 24-bit uncompressed bottom-up Windows bitmap.
void write_bmp(const Image& img, const std::string& path);

}  // namespace art
