// Windows bitmaps: the header checked against the file, then the pixels decoded by our own code.
#include "platform/bitmap.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <ostream>
#include <vector>

#include "storage/storage.hpp"

namespace {

constexpr int kMaxSide = 8192;  // the largest picture the game takes, either way
// Beyond its pixels a file holds only headers and a palette: room for them, with some to spare.
constexpr size_t kRoomForHeaders = 65536;
// The most pixels run-length data can place, a byte at a time: a run of 255 for every two bytes.
constexpr uint64_t kMostRunPixelsPerTwoBytes = 255;
constexpr size_t kFileHeaderSize = 14;

enum Compression : uint32_t { kPlain = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t le32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// What the header says about the pixels, once it has been checked against the file.
struct Layout {
  int width = 0, rows = 0;
  bool top_down = false;  // the rows are stored from the top
  int bits = 0;
  uint32_t compression = kPlain;
  std::vector<uint32_t> palette;      // 0xRRGGBB
  std::array<int, 3> shifts{16, 8, 0};  // where red, green and blue lie in a 32-bit pixel
  size_t pixels_at = 0;
};

// The lowest bit of an 8-bit colour mask, or -1 when the mask is not 8 bits in a row.
int byte_mask_shift(uint32_t mask) {
  if (mask == 0) return -1;
  const int shift = std::countr_zero(mask);
  return mask >> shift == 0xFF ? shift : -1;
}

std::string cannot(const char* what, const std::string& error) {
  return std::string("bitmap: cannot ") + what + " the file (" + error + ")";
}

// A size as a player reads it: in MB, rounded up, from one MB on.
std::string amount(uint64_t bytes) {
  if (bytes < (1 << 20)) return std::to_string(bytes) + " bytes";
  return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MB";
}

// The header is checked against the file's bytes before anything is allocated for the pixels:
// the size of the picture, and that the palette and the pixels it promises are there.
std::optional<std::string> read_layout(const uint8_t* data, size_t size, uint64_t budget, Layout& out) {
  if (size < kFileHeaderSize + 4) return "bitmap: the header is cut short";
  if (data[0] != 'B' || data[1] != 'M') return "bitmap: not a BMP file (no 'BM' at the start)";
  const uint32_t offset = le32(data + 10);
  const uint8_t* info = data + kFileHeaderSize;
  const uint32_t info_size = le32(info);
  // The old OS/2 header of 12 bytes, or one of the Windows headers (versions 1 to 5).
  const bool core = info_size == 12;
  if (!core && info_size != 40 && info_size != 52 && info_size != 56 && info_size != 108 &&
      info_size != 124)
    return "bitmap: unknown kind of info header";
  if (size - kFileHeaderSize < info_size) return "bitmap: the header is cut short";

  int64_t width = 0, height = 0;
  uint16_t planes = 0, bits = 0;
  uint32_t compression = kPlain, colours = 0;
  if (core) {
    width = le16(info + 4);
    height = le16(info + 6);
    planes = le16(info + 8);
    bits = le16(info + 10);
  } else {
    width = static_cast<int32_t>(le32(info + 4));
    height = static_cast<int32_t>(le32(info + 8));
    planes = le16(info + 12);
    bits = le16(info + 14);
    compression = le32(info + 16);
    colours = le32(info + 32);
  }
  const bool top_down = height < 0;
  const int64_t rows = top_down ? -height : height;
  if (width < 1 || rows < 1) return "bitmap: the width or the height is 0 or negative";
  if (width > kMaxSide || rows > kMaxSide)
    return "bitmap: " + std::to_string(width) + " x " + std::to_string(rows) +
           " pixels, more than " + std::to_string(kMaxSide) + " either way";
  if (planes != 1) return "bitmap: the number of planes is not 1";
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
    return "bitmap: unsupported bits per pixel (" + std::to_string(bits) + ")";
  if (!(compression == kPlain || (compression == kRle8 && bits == 8) ||
        (compression == kBitFields && bits == 32)))
    return "bitmap: unsupported compression for its bits per pixel";
  if (compression == kRle8 && top_down) return "bitmap: a top-down picture cannot be run-length coded";

  // Between the headers and the pixels: the colour masks (after a version 1 header; the later
  // headers hold them), then the palette.
  uint64_t end = kFileHeaderSize + info_size;
  if (compression == kBitFields) {
    if (info_size == 40) {
      end += 12;
      if (end > size) return "bitmap: the colour masks run past the end of the file";
    }
    const uint8_t* masks = info + 40;
    uint32_t taken = 0;
    for (int c = 0; c < 3; ++c) {
      const uint32_t mask = le32(masks + 4 * c);
      out.shifts[c] = byte_mask_shift(mask);
      if (out.shifts[c] < 0) return "bitmap: a colour mask other than 8 bits in a row";
      if (taken & mask) return "bitmap: two colour masks share bits";
      taken |= mask;
    }
  }
  if (bits <= 8) {
    const uint32_t most = 1u << bits;
    if (colours > most) return "bitmap: more palette colours than the pixels can pick";
    const uint32_t count = colours ? colours : most;
    const size_t entry = core ? 3 : 4;
    const size_t at = static_cast<size_t>(end);
    end += uint64_t{count} * entry;
    if (end > size) return "bitmap: the palette runs past the end of the file";
    out.palette.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* p = data + at + i * entry;  // blue, green, red
      out.palette[i] = uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    }
  }
  if (offset < end || offset >= size) return "bitmap: the pixel data offset lies outside the file";
  const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(rows);
  if (compression == kRle8) {
    // Run-length data says how far it reaches only as it is decoded, but its length bounds how
    // many pixels it can place: a picture far larger is a few bytes swollen to gigabytes.
    const uint64_t most = (size - offset) / 2 * kMostRunPixelsPerTwoBytes;
    if (pixels > most)
      return "bitmap: " + std::to_string(width) + " x " + std::to_string(rows) + " pixels, more than its " +
             std::to_string(size - offset) + " bytes of run-length data can hold";
  } else {
    const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    if (stride * static_cast<uint64_t>(rows) > size - offset)
      return "bitmap: the pixels run past the end of the file";
  }
  if (pixels * 4 > budget)
    return "bitmap: " + std::to_string(width) + " x " + std::to_string(rows) + " pixels take " +
           amount(pixels * 4) + ", more than the " + amount(budget) + " left for pictures";
  out.width = static_cast<int>(width);
  out.rows = static_cast<int>(rows);
  out.top_down = top_down;
  out.bits = bits;
  out.compression = compression;
  out.pixels_at = offset;
  return std::nullopt;
}

constexpr char kOffPalette[] = "bitmap: a pixel picks a colour the palette does not have";

// Uncompressed rows, each padded to whole 32-bit words. The depth is settled once a row, not once
// a pixel: the pictures a screen opens with are decoded before it shows.
std::optional<std::string> decode_rows(const uint8_t* data, const Layout& l, uint32_t* out) {
  const size_t stride = (static_cast<size_t>(l.width) * l.bits + 31) / 32 * 4;
  const size_t colours = l.palette.size();
  for (int r = 0; r < l.rows; ++r) {
    const uint8_t* row = data + l.pixels_at + static_cast<size_t>(r) * stride;
    uint32_t* dst = out + static_cast<size_t>(l.top_down ? r : l.rows - 1 - r) * l.width;
    if (l.bits == 8) {
      for (int x = 0; x < l.width; ++x) {
        if (row[x] >= colours) return kOffPalette;
        dst[x] = l.palette[row[x]];
      }
    } else if (l.bits < 8) {
      const int per_byte = 8 / l.bits;
      for (int x = 0; x < l.width; ++x) {
        const int shift = 8 - l.bits * (x % per_byte + 1);
        const uint32_t index = (row[x / per_byte] >> shift) & ((1u << l.bits) - 1);
        if (index >= colours) return kOffPalette;
        dst[x] = l.palette[index];
      }
    } else if (l.bits == 24) {
      for (int x = 0; x < l.width; ++x) {
        const uint8_t* p = row + x * 3;
        dst[x] = uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
      }
    } else {
      for (int x = 0; x < l.width; ++x) {
        const uint32_t v = le32(row + x * 4);
        dst[x] = (v >> l.shifts[0] & 0xFF) << 16 | (v >> l.shifts[1] & 0xFF) << 8 | (v >> l.shifts[2] & 0xFF);
      }
    }
  }
  return std::nullopt;
}

// Run-length coded 8-bit pixels from the bottom row up: a count and a colour; or 0 and then 0
// (end of the row), 1 (end of the picture), 2 and two bytes (move right and up) or a count of
// colours given one by one, padded to an even length. Pixels the data never reaches keep colour
// 0; a pixel placed outside the picture is an error.
std::optional<std::string> decode_rle8(const uint8_t* data, size_t size, const Layout& l, uint32_t* out) {
  std::vector<uint8_t> index(static_cast<size_t>(l.width) * l.rows, 0);
  size_t at = l.pixels_at;
  int64_t x = 0, y = l.rows - 1;  // y counted from the top
  auto put = [&](uint8_t v) {
    if (x >= l.width || y < 0) return false;
    index[static_cast<size_t>(y) * l.width + static_cast<size_t>(x++)] = v;
    return true;
  };
  constexpr char kUnended[] = "bitmap: the run-length data stops before its end mark";
  constexpr char kOutside[] = "bitmap: the run-length data places a pixel outside the picture";
  for (;;) {
    if (size - at < 2) return kUnended;
    const uint8_t count = data[at], value = data[at + 1];
    at += 2;
    if (count) {
      for (int i = 0; i < count; ++i)
        if (!put(value)) return kOutside;
    } else if (value == 0) {
      x = 0;
      --y;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (size - at < 2) return kUnended;
      x += data[at];
      y -= data[at + 1];
      at += 2;
    } else {
      const size_t padded = value + (value & 1u);
      if (size - at < value) return kUnended;
      for (int i = 0; i < value; ++i)
        if (!put(data[at + i])) return kOutside;
      at += std::min(padded, size - at);
    }
  }
  for (size_t i = 0; i < index.size(); ++i) {
    if (index[i] >= l.palette.size()) return kOffPalette;
    out[i] = l.palette[index[i]];
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> decode_bmp(const uint8_t* data, size_t size, Canvas& into, uint64_t budget) {
  Layout l;
  if (auto why = read_layout(data, size, budget, l)) return why;
  std::vector<uint32_t> pixels(static_cast<size_t>(l.width) * l.rows);
  if (auto why = l.compression == kRle8 ? decode_rle8(data, size, l, pixels.data())
                                        : decode_rows(data, l, pixels.data()))
    return why;
  into.resize(l.width, l.rows);
  std::copy(pixels.begin(), pixels.end(), into.writable());
  return std::nullopt;
}

std::optional<std::string> load_bmp_file(const std::string& path, Canvas& into, uint64_t budget) {
  // No picture within the budget needs a larger file: its pixels at 32 bits and its headers.
  // The size is known before anything is read, so a huge file costs nothing.
  const size_t most = static_cast<size_t>(std::min(budget, kMaxPictureBytes)) + kRoomForHeaders;
  const InputFile f = storage().read_file(path, most);
  switch (f.fault) {
    case InputFile::Fault::none:
      break;
    case InputFile::Fault::cannot_open:
      return cannot("open", f.error);
    case InputFile::Fault::cannot_read:
      return cannot("read", f.error);
    case InputFile::Fault::not_regular:
      return std::string("bitmap: not a regular file (a ") + f.kind + ")";
    case InputFile::Fault::too_large:
      return "bitmap: the file is larger than any picture" +
             (budget < kMaxPictureBytes ? " within the " + amount(budget) + " left for pictures" : "") +
             " can need (" + amount(f.size) + ")";
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(f.bytes.data());
  return decode_bmp(bytes, f.bytes.size(), into, budget);
}

bool BitmapFiles::load(const std::string& path, Canvas& into) {
  const std::optional<FileStamp> now = storage().stamp(path);
  if (!now && storage().entry_kind(path) == EntryKind::none) return false;
  // Anything but a regular file is refused below, and told once.
  const FileStamp stamp = now.value_or(FileStamp{});
  auto it = files_.find(path);
  if (it == files_.end() || it->second.stamp != stamp) {
    // A picture read again gives back what the old one took.
    if (it != files_.end()) used_ -= it->second.bytes();
    Entry e{stamp, {}, {}};
    e.refused = load_bmp_file(path, e.picture, kPictureBudget - used_);
    // Said once, when the file is read: the game goes on without the picture.
    if (e.refused && log) *log << "lushera: " << path << ": " << *e.refused << '\n';
    used_ += e.bytes();
    it = files_.insert_or_assign(path, std::move(e)).first;
  }
  if (it->second.refused) return false;
  into.share(it->second.picture);
  return true;
}
