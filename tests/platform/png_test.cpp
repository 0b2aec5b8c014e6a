// The PNG writer and reader used for the window's pictures.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <random>

#include "render/png.hpp"

namespace {

RgbImage sample(int w, int h) {
  RgbImage img;
  img.width = w;
  img.height = h;
  std::mt19937 rng(7);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.pixels.push_back(x < w / 2 ? static_cast<uint32_t>(rng() & 0xFFFFFF)
                                     : static_cast<uint32_t>((x * 3) << 16 | (y * 5) << 8 | 0x80));
  return img;
}

// A PNG of our own making with a different filter on every row, to check the reader undoes
// each of them.
std::vector<uint8_t> png_with_every_filter(const RgbImage& img, int channels) {
  const int bpp = channels;
  const size_t row_bytes = static_cast<size_t>(img.width) * bpp;
  std::vector<uint8_t> plain(row_bytes * img.height);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const uint32_t p = img.at(x, y);
      uint8_t* d = &plain[y * row_bytes + x * bpp];
      d[0] = p >> 16;
      d[1] = p >> 8;
      d[2] = p;
      if (channels == 4) d[3] = static_cast<uint8_t>(x * 7);
    }
  std::vector<uint8_t> raw;
  for (int y = 0; y < img.height; ++y) {
    const int f = y % 5;
    raw.push_back(static_cast<uint8_t>(f));
    const uint8_t* cur = &plain[y * row_bytes];
    const uint8_t* up = y > 0 ? &plain[(y - 1) * row_bytes] : nullptr;
    for (size_t i = 0; i < row_bytes; ++i) {
      const int a = i >= static_cast<size_t>(bpp) ? cur[i - bpp] : 0;
      const int b = up ? up[i] : 0;
      const int c = up && i >= static_cast<size_t>(bpp) ? up[i - bpp] : 0;
      int pred = 0;
      if (f == 1) pred = a;
      if (f == 2) pred = b;
      if (f == 3) pred = (a + b) / 2;
      if (f == 4) {
        const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        pred = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
      }
      raw.push_back(static_cast<uint8_t>(cur[i] - pred));
    }
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> z(size);
  compress2(z.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6);
  z.resize(size);

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
    const uint32_t n = static_cast<uint32_t>(data.size());
    for (int k = 3; k >= 0; --k) out.push_back(static_cast<uint8_t>(n >> (8 * k)));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uint32_t crc = static_cast<uint32_t>(crc32(0, &out[start], static_cast<uInt>(out.size() - start)));
    for (int k = 3; k >= 0; --k) out.push_back(static_cast<uint8_t>(crc >> (8 * k)));
  };
  std::vector<uint8_t> ihdr;
  for (uint32_t v : {static_cast<uint32_t>(img.width), static_cast<uint32_t>(img.height)})
    for (int k = 3; k >= 0; --k) ihdr.push_back(static_cast<uint8_t>(v >> (8 * k)));
  ihdr.insert(ihdr.end(), {8, static_cast<uint8_t>(channels == 4 ? 6 : 2), 0, 0, 0});
  chunk("IHDR", ihdr);
  chunk("tEXt", {'a', 0, 'b'});  // an ancillary chunk is skipped
  const size_t half = z.size() / 2;  // image data may come in several chunks
  chunk("IDAT", std::vector<uint8_t>(z.begin(), z.begin() + half));
  chunk("IDAT", std::vector<uint8_t>(z.begin() + half, z.end()));
  chunk("IEND", {});
  return out;
}

TEST(Png, WritesAndReadsBackTheSamePixels) {
  const RgbImage img = sample(37, 23);
  const auto path = std::filesystem::temp_directory_path() / "lushera_png_test.png";
  ASSERT_TRUE(write_png(path.string(), img));
  RgbImage back;
  ASSERT_TRUE(read_png(path.string(), back));
  EXPECT_EQ(back, img);
  std::filesystem::remove(path);
}

TEST(Png, TheTopByteOfAPixelIsIgnored) {
  RgbImage img = sample(4, 3);
  RgbImage flagged = img;
  for (uint32_t& p : flagged.pixels) p |= 0xFF000000;
  RgbImage back;
  ASSERT_TRUE(decode_png(encode_png(4, 3, flagged.pixels.data(), 4), back));
  EXPECT_EQ(back, img);
}

TEST(Png, ReadsEveryFilterTypeInRgbAndRgba) {
  const RgbImage img = sample(19, 15);
  for (int channels : {3, 4}) {
    RgbImage back;
    ASSERT_TRUE(decode_png(png_with_every_filter(img, channels), back)) << channels;
    EXPECT_EQ(back, img) << channels;
  }
}

TEST(Png, BrokenFilesAreRefusedWithoutHarm) {
  const RgbImage img = sample(8, 8);
  const std::vector<uint8_t> good = encode_png(8, 8, img.pixels.data(), 8);
  RgbImage out;
  ASSERT_TRUE(decode_png(good, out));
  // Cut short anywhere.
  for (size_t n = 0; n < good.size(); n += 7) {
    RgbImage r;
    EXPECT_FALSE(decode_png(std::vector<uint8_t>(good.begin(), good.begin() + n), r)) << n;
  }
  // A flipped byte anywhere after the signature breaks a checksum or the header.
  for (size_t i = 8; i < good.size(); i += 5) {
    std::vector<uint8_t> bad = good;
    bad[i] ^= 0x40;
    RgbImage r;
    EXPECT_FALSE(decode_png(bad, r)) << i;
  }
  RgbImage r;
  EXPECT_FALSE(read_png("/nonexistent/lushera.png", r));
  EXPECT_FALSE(decode_png({}, r));
}

}  // namespace
