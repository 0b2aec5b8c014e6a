// PNG files written and read by our own code over zlib, and the window composed for one.
#include "render/png.hpp"

#include <zlib.h>

#include <cstdlib>
#include <cstring>

#include "render/form_renderer.hpp"
#include "storage/storage.hpp"

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr int kMaxSide = 16384;
// Far above any picture of the window (a few hundred kilobytes at the largest zoom).
constexpr size_t kMaxPngBytes = size_t{64} << 20;

void put32(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 24));
  out.push_back(static_cast<uint8_t>(v >> 16));
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

uint32_t get32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  put32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
  put32(out, static_cast<uint32_t>(crc));
}

int paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

}  // namespace

std::vector<uint8_t> encode_png(int width, int height, const uint32_t* pixels, int stride) {
  std::vector<uint8_t> out(kSignature, kSignature + 8);
  if (width <= 0 || height <= 0 || !pixels) return {};
  std::vector<uint8_t> header;
  put32(header, static_cast<uint32_t>(width));
  put32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no interlace
  chunk(out, "IHDR", header);

  // Each row with the "sub" filter: a window picture is mostly runs of one colour.
  const size_t row_bytes = 1 + static_cast<size_t>(width) * 3;
  std::vector<uint8_t> raw(row_bytes * height);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = raw.data() + y * row_bytes;
    row[0] = 1;
    const uint32_t* src = pixels + static_cast<size_t>(y) * stride;
    uint8_t prev[3] = {0, 0, 0};
    for (int x = 0; x < width; ++x) {
      const uint8_t rgb[3] = {static_cast<uint8_t>(src[x] >> 16), static_cast<uint8_t>(src[x] >> 8),
                              static_cast<uint8_t>(src[x])};
      for (int k = 0; k < 3; ++k) {
        row[1 + x * 3 + k] = static_cast<uint8_t>(rgb[k] - prev[k]);
        prev[k] = rgb[k];
      }
    }
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packed_size);
  if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
    return {};
  packed.resize(packed_size);
  chunk(out, "IDAT", packed);
  chunk(out, "IEND", {});
  return out;
}

bool decode_png(const std::vector<uint8_t>& in, RgbImage& out) {
  if (in.size() < 8 || std::memcmp(in.data(), kSignature, 8) != 0) return false;
  size_t pos = 8;
  int width = 0, height = 0, channels = 0;
  std::vector<uint8_t> packed;
  bool header = false, end = false;
  while (!end) {
    if (in.size() - pos < 12) return false;
    const uint32_t length = get32(&in[pos]);
    if (length > in.size() - pos - 12) return false;
    const uint8_t* type = &in[pos + 4];
    const uint8_t* data = &in[pos + 8];
    const uLong crc = crc32(0L, type, length + 4);
    if (crc != get32(data + length)) return false;
    if (std::memcmp(type, "IHDR", 4) == 0) {
      if (header || length != 13) return false;
      const uint32_t w = get32(data), h = get32(data + 4);
      if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) return false;
      if (data[8] != 8 || (data[9] != 2 && data[9] != 6) || data[10] != 0 || data[11] != 0 ||
          data[12] != 0)
        return false;
      width = static_cast<int>(w);
      height = static_cast<int>(h);
      channels = data[9] == 2 ? 3 : 4;
      header = true;
    } else if (!header) {
      return false;
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      packed.insert(packed.end(), data, data + length);
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      end = true;
    }
    pos += 12 + length;
  }
  if (!header || packed.empty()) return false;

  const size_t row_bytes = static_cast<size_t>(width) * channels;
  std::vector<uint8_t> raw((row_bytes + 1) * height);
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = packed.data();
  z.avail_in = static_cast<uInt>(packed.size());
  z.next_out = raw.data();
  z.avail_out = static_cast<uInt>(raw.size());
  const int rc = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  if ((rc != Z_STREAM_END && rc != Z_OK && rc != Z_BUF_ERROR) || z.avail_out != 0) return false;

  // Undo the filters, row by row, against the row above.
  std::vector<uint8_t> prev(row_bytes, 0), cur(row_bytes);
  RgbImage img;
  img.width = width;
  img.height = height;
  img.pixels.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = raw.data() + y * (row_bytes + 1);
    const uint8_t filter = row[0];
    if (filter > 4) return false;
    for (size_t i = 0; i < row_bytes; ++i) {
      const int a = i >= static_cast<size_t>(channels) ? cur[i - channels] : 0;
      const int b = prev[i];
      const int c = i >= static_cast<size_t>(channels) ? prev[i - channels] : 0;
      int v = row[1 + i];
      switch (filter) {
        case 1: v += a; break;
        case 2: v += b; break;
        case 3: v += (a + b) / 2; break;
        case 4: v += paeth(a, b, c); break;
        default: break;
      }
      cur[i] = static_cast<uint8_t>(v);
    }
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &cur[static_cast<size_t>(x) * channels];
      img.pixels[static_cast<size_t>(y) * width + x] = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
    std::swap(prev, cur);
  }
  out = std::move(img);
  return true;
}

bool write_png(const std::string& path, int width, int height, const uint32_t* pixels, int stride) {
  const std::vector<uint8_t> bytes = encode_png(width, height, pixels, stride);
  if (bytes.empty()) return false;
  return storage().put_file(path, std::string(bytes.begin(), bytes.end())).empty();
}

bool write_png(const std::string& path, const RgbImage& image) {
  if (image.pixels.size() < static_cast<size_t>(image.width) * image.height) return false;
  return write_png(path, image.width, image.height, image.pixels.data(), image.width);
}

bool read_png(const std::string& path, RgbImage& out) {
  const InputFile file = storage().read_file(path, kMaxPngBytes);
  if (file.fault != InputFile::Fault::none) return false;
  return decode_png(std::vector<uint8_t>(file.bytes.begin(), file.bytes.end()), out);
}

RgbImage compose_form_image(const Form& form, const Sjis& sjis, TextRaster& raster, int scale) {
  FormRenderer r(sjis, raster, scale);
  r.compose(form);
  const Frame& f = r.frame();
  return {f.width, f.height, f.pixels};
}
