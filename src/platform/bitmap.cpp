#include "platform/bitmap.hpp"

#include <SDL.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "ui/canvas.hpp"

namespace {

constexpr int kMaxSide = 8192;  // the largest picture the game takes, either way
// No picture the game takes needs a larger file: the largest one's pixels at 32 bits, with room
// to spare for the headers and a palette. Anything bigger is refused before it is read.
constexpr size_t kMaxFileSize = size_t{4} * kMaxSide * kMaxSide + 65536;
constexpr char kTooLarge[] = "bitmap: the file is larger than any picture can be";
constexpr size_t kFileHeaderSize = 14;

enum Compression : uint32_t { kPlain = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t le32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

bool refuse(const char* why) {
  SDL_SetError("%s", why);
  return false;
}

// SDL allocates the whole picture from the header alone, whatever follows it, so the header is
// checked against the file's bytes before SDL sees them: the size of the picture, and that the
// palette and the pixels it promises are there.
bool check_header(const uint8_t* data, size_t size) {
  if (size < kFileHeaderSize + 4) return refuse("bitmap: the header is cut short");
  if (data[0] != 'B' || data[1] != 'M') return refuse("bitmap: not a BMP file (no 'BM' at the start)");
  const uint32_t offset = le32(data + 10);
  const uint8_t* info = data + kFileHeaderSize;
  const uint32_t info_size = le32(info);
  // The old OS/2 header of 12 bytes, or one of the Windows headers (versions 1 to 5).
  const bool core = info_size == 12;
  if (!core && info_size != 40 && info_size != 52 && info_size != 56 && info_size != 108 &&
      info_size != 124)
    return refuse("bitmap: unknown kind of info header");
  if (size - kFileHeaderSize < info_size) return refuse("bitmap: the header is cut short");

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
  const bool top_down = height < 0;  // the rows are stored from the top
  const int64_t rows = top_down ? -height : height;
  if (width < 1 || rows < 1) return refuse("bitmap: the width or the height is 0 or negative");
  if (width > kMaxSide || rows > kMaxSide) {
    SDL_SetError("bitmap: %lld x %lld pixels, more than %d either way", static_cast<long long>(width),
                 static_cast<long long>(rows), kMaxSide);
    return false;
  }
  if (planes != 1) return refuse("bitmap: the number of planes is not 1");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return refuse("bitmap: unsupported bits per pixel");
  const bool run_length = compression == kRle8 || compression == kRle4;
  if (!(compression == kPlain || (compression == kRle8 && bits == 8) ||
        (compression == kRle4 && bits == 4) ||
        (compression == kBitFields && (bits == 16 || bits == 32))))
    return refuse("bitmap: unsupported compression for its bits per pixel");
  if (run_length && top_down) return refuse("bitmap: a top-down picture cannot be run-length coded");

  // Between the headers and the pixels: the colour masks (after a version 1 header; the later
  // headers hold them), then the palette.
  uint64_t end = kFileHeaderSize + info_size;
  if (compression == kBitFields && info_size == 40) {
    end += 12;
    if (end > size) return refuse("bitmap: the colour masks run past the end of the file");
  }
  if (bits <= 8) {
    const uint32_t most = 1u << bits;
    if (colours > most) return refuse("bitmap: more palette colours than the pixels can pick");
    end += uint64_t{colours ? colours : most} * (core ? 3 : 4);
    if (end > size) return refuse("bitmap: the palette runs past the end of the file");
  }
  if (offset < end || offset >= size)
    return refuse("bitmap: the pixel data offset lies outside the file");
  // Run-length data says how far it reaches only as it is decoded; SDL stops at the end of it.
  if (!run_length) {
    const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    if (stride * static_cast<uint64_t>(rows) > size - offset)
      return refuse("bitmap: the pixels run past the end of the file");
  }
  return true;
}

}  // namespace

bool decode_bmp(const uint8_t* data, size_t size, Canvas& into) {
  if (size > kMaxFileSize) return refuse(kTooLarge);
  if (!check_header(data, size)) return false;
  SDL_Surface* raw = SDL_LoadBMP_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1);
  if (!raw) return false;
  SDL_Surface* s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGB888, 0);
  SDL_FreeSurface(raw);
  if (!s) return false;
  into.resize(s->w, s->h);
  uint32_t* out = into.writable();
  SDL_LockSurface(s);
  for (int y = 0; y < s->h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) +
                                                        static_cast<ptrdiff_t>(y) * s->pitch);
    for (int x = 0; x < s->w; ++x) out[static_cast<size_t>(y) * s->w + x] = row[x] & 0xFFFFFF;
  }
  SDL_UnlockSurface(s);
  SDL_FreeSurface(s);
  return true;
}

bool load_bmp_file(const std::string& path, Canvas& into) {
  std::ifstream f(path, std::ios::binary | std::ios::ate);
  if (!f) return refuse("bitmap: cannot open the file");
  const std::streamoff length = f.tellg();
  if (length < 0) return refuse("bitmap: cannot read the file");
  // Known from the directory alone, so a huge file costs nothing.
  if (static_cast<uint64_t>(length) > kMaxFileSize) return refuse(kTooLarge);
  std::vector<uint8_t> bytes(static_cast<size_t>(length));
  f.seekg(0);
  if (!f.read(reinterpret_cast<char*>(bytes.data()), length))
    return refuse("bitmap: cannot read the file");
  return decode_bmp(bytes.data(), bytes.size(), into);
}

bool BitmapFiles::load(const std::string& path, Canvas& into) {
  std::error_code e1, e2;
  const std::uintmax_t size = std::filesystem::file_size(path, e1);
  const auto written = std::filesystem::last_write_time(path, e2);
  if (e1 || e2) return load_bmp_file(path, into);
  auto it = files_.find(path);
  if (it == files_.end() || it->second.size != size || it->second.written != written) {
    Canvas picture;
    if (!load_bmp_file(path, picture)) return false;
    it = files_.insert_or_assign(path, Entry{size, written, std::move(picture)}).first;
  }
  into.share(it->second.picture);
  return true;
}
