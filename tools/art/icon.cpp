// The game's icon: a gold star over a sword on a night-blue disc, drawn anew at each size so the
// small ones stay crisp instead of being shrunk from the large one.
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <vector>

#include <zlib.h>

#include "art.hpp"
#include "palette.hpp"

namespace art {

Image app_icon(int size) {
  Image img(size, size, {}, false);
  const double s = size, c = s / 2;
  paint(img, circle(size, size, c, c, 0.47 * s), pal::kNavy, {Shade::Sphere, true, 0.1});
  // The sword, lying across the disc from lower left to upper right.
  const Pt tip{0.78 * s, 0.2 * s}, guard{0.33 * s, 0.65 * s}, pommel{0.2 * s, 0.78 * s};
  paint(img, capsule(size, size, guard, tip, 0.05 * s, 0.02 * s), pal::kSteel, {Shade::Bevel});
  paint(img, capsule(size, size, pommel, guard, 0.035 * s, 0.035 * s), pal::kLeather, {Shade::Flat});
  paint(img, capsule(size, size, {0.25 * s, 0.57 * s}, {0.41 * s, 0.73 * s}, 0.035 * s, 0.035 * s), pal::kGold,
        {Shade::Flat, true, 0, 0.06, 3});
  // The star, a little above the centre.
  std::vector<Pt> star;
  for (int k = 0; k < 10; ++k) {
    const double a = -M_PI / 2 + k * M_PI / 5, r = (k % 2 ? 0.13 : 0.3) * s;
    star.push_back({c + r * std::cos(a), 0.47 * s + r * std::sin(a)});
  }
  paint(img, poly(size, size, star), pal::kGold);
  if (size >= 32) sparkle(img, static_cast<int>(0.75 * s), static_cast<int>(0.72 * s), size / 16, hex(0xffffff), hex(0xfff0b0));
  return img;
}

namespace {

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  put32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  put32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

void write_file(const std::vector<uint8_t>& bytes, const std::string& path) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + path);
}

}  // namespace

void write_png(const Image& img, const std::string& path) {
  std::vector<uint8_t> raw;
  for (int y = 0; y < img.h; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < img.w; ++x) {
      const Rgb c = img.at(x, y);
      const bool on = img.opaque(x, y);
      for (uint8_t v : {on ? c.r : uint8_t{0}, on ? c.g : uint8_t{0}, on ? c.b : uint8_t{0}, on ? uint8_t{255} : uint8_t{0}})
        raw.push_back(v);
    }
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packed_size);
  if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
    throw std::runtime_error("cannot compress " + path);
  packed.resize(packed_size);
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<uint8_t> header;
  put32(header, static_cast<uint32_t>(img.w));
  put32(header, static_cast<uint32_t>(img.h));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
  chunk(out, "IHDR", header);
  chunk(out, "IDAT", packed);
  chunk(out, "IEND", {});
  write_file(out, path);
}

void write_bmp_with_alpha(const Image& img, const std::string& path) {
  const uint32_t data = static_cast<uint32_t>(img.w) * static_cast<uint32_t>(img.h) * 4;
  std::vector<uint8_t> out;
  auto u16 = [&out](uint32_t v) { put_u16(out, v); };
  auto u32 = [&out](uint32_t v) { put_u32(out, v); };
  constexpr uint32_t kHeader = 14 + 108;  // file header, BITMAPV4HEADER
  out.push_back('B');
  out.push_back('M');
  u32(kHeader + data);
  u32(0);
  u32(kHeader);
  u32(108);
  u32(static_cast<uint32_t>(img.w));
  u32(static_cast<uint32_t>(img.h));  // bottom-up
  u16(1);
  u16(32);
  u32(3);  // BI_BITFIELDS: the masks below
  u32(data);
  u32(2835);
  u32(2835);
  u32(0);
  u32(0);
  for (uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) u32(mask);
  u32(0x73524742);  // 'sRGB'
  for (int i = 0; i < 12; ++i) u32(0);  // end points and gamma, unused for sRGB
  for (int y = img.h - 1; y >= 0; --y)
    for (int x = 0; x < img.w; ++x) {
      const Rgb c = img.opaque(x, y) ? img.at(x, y) : Rgb{};
      for (uint8_t v : {c.b, c.g, c.r, img.opaque(x, y) ? uint8_t{255} : uint8_t{0}}) out.push_back(v);
    }
  write_file(out, path);
}

}  // namespace art
