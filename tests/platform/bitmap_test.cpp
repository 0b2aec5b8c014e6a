// The bitmap reader: the header is checked against the file before anything is decoded.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "audio/audio_support.hpp"
#include "platform/bitmap.hpp"
#include "ui/canvas.hpp"

namespace {

// A BMP file made field by field, so that each field can be broken on its own.
struct Bmp {
  bool core = false;  // the old 12-byte header, with 3-byte palette entries
  uint32_t info_size = 40;
  int32_t width = 2, height = 2;
  uint16_t planes = 1, bits = 24;
  uint32_t compression = 0, colours = 0;
  std::vector<uint32_t> palette;  // 0xRRGGBB, written right after the header
  std::vector<uint8_t> pixels;    // as stored
  int64_t offset = -1;            // of the pixels; -1: right after the palette

  std::vector<uint8_t> bytes() const {
    std::vector<uint8_t> out;
    auto put = [&out](uint32_t v, int n) {
      for (int i = 0; i < n; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    const uint32_t header = 14 + (core ? 12 : info_size);
    const uint32_t start = header + static_cast<uint32_t>(palette.size()) * (core ? 3 : 4);
    out = {'B', 'M'};
    put(start + static_cast<uint32_t>(pixels.size()), 4);
    put(0, 4);
    put(offset < 0 ? start : static_cast<uint32_t>(offset), 4);
    if (core) {
      put(12, 4);
      put(static_cast<uint32_t>(width), 2);
      put(static_cast<uint32_t>(height), 2);
      put(planes, 2);
      put(bits, 2);
    } else {
      put(info_size, 4);
      put(static_cast<uint32_t>(width), 4);
      put(static_cast<uint32_t>(height), 4);
      put(planes, 2);
      put(bits, 2);
      put(compression, 4);
      put(static_cast<uint32_t>(pixels.size()), 4);
      put(2835, 4);
      put(2835, 4);
      put(colours, 4);
      put(0, 4);
      out.resize(header, 0);
    }
    for (uint32_t c : palette) put(c, core ? 3 : 4);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
  }
};

// 2 x 2 at 24 bits, bottom row first: blue, 0x123456; then red, green.
Bmp rgb24() {
  Bmp b;
  b.pixels = {0xFF, 0, 0, 0x56, 0x34, 0x12, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0};
  return b;
}

Bmp sized(int32_t w, int32_t h) {
  Bmp b = rgb24();
  b.width = w;
  b.height = h;
  return b;
}

// 2 x 2 at 8 bits with three palette colours.
Bmp paletted() {
  Bmp b;
  b.bits = 8;
  b.colours = 3;
  b.palette = {0x112233, 0x445566, 0x778899};
  b.pixels = {2, 0, 0, 0, 1, 2, 0, 0};
  return b;
}

// 2 x 2 run-length coded: two of colour 1; end of line; one of 0, one of 1; end of the picture.
Bmp rle8() {
  Bmp b;
  b.bits = 8;
  b.compression = 1;
  b.colours = 2;
  b.palette = {0xFF8000, 0x0080FF};
  b.pixels = {2, 1, 0, 0, 1, 0, 1, 1, 0, 1};
  return b;
}

// 1 x 1 at 32 bits with colour masks. They follow a version 1 header where a palette would be,
// and are written as palette entries are.
Bmp masked32() {
  Bmp b;
  b.width = b.height = 1;
  b.bits = 32;
  b.compression = 3;
  b.palette = {0xFF0000, 0x00FF00, 0x0000FF};
  b.pixels = {0x30, 0x20, 0x10, 0};
  return b;
}

template <typename Change>
std::vector<uint8_t> with(Bmp b, Change change) {
  change(b);
  return b.bytes();
}

std::vector<uint8_t> padded(std::vector<uint8_t> v, size_t size) {
  v.resize(size, 0x5A);
  return v;
}

std::vector<uint8_t> cut(std::vector<uint8_t> v, size_t size) {
  v.resize(size);
  return v;
}

std::vector<uint8_t> poked(std::vector<uint8_t> v, size_t at, uint8_t byte) {
  v[at] = byte;
  return v;
}

// A canvas with something on it, to see that a refused file leaves it alone.
Canvas marked() {
  Canvas c;
  c.resize(3, 1);
  c.writable()[1] = 0xABCDEF;
  return c;
}

void expect_untouched(const Canvas& c, uint64_t revision) {
  EXPECT_EQ(c.width, 3);
  EXPECT_EQ(c.height, 1);
  EXPECT_EQ(c.at(1, 0), 0xABCDEFu);
  EXPECT_EQ(c.revision, revision);
}

TEST(Bitmap, GoodFilesLoad) {
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
    int w, h;
    std::vector<uint32_t> pixels;  // rows from the top
  } cases[] = {
      {"24 bits, bottom row first", rgb24().bytes(), 2, 2,
       {0xFF0000, 0x00FF00, 0x0000FF, 0x123456}},
      {"24 bits, top row first", sized(2, -2).bytes(), 2, 2,
       {0x0000FF, 0x123456, 0xFF0000, 0x00FF00}},
      {"8 bits with a short palette", paletted().bytes(), 2, 2,
       {0x445566, 0x778899, 0x778899, 0x112233}},
      {"1 bit under the old OS/2 header",
       with(Bmp{},
            [](Bmp& b) {
              b.core = true;
              b.width = 3;
              b.bits = 1;
              b.palette = {0xA0B0C0, 0x102030};
              b.pixels = {0xA0, 0, 0, 0, 0x60, 0, 0, 0};
            }),
       3, 2, {0xA0B0C0, 0x102030, 0x102030, 0x102030, 0xA0B0C0, 0x102030}},
      {"run-length coded 8 bits", rle8().bytes(), 2, 2, {0xFF8000, 0x0080FF, 0x0080FF, 0x0080FF}},
      {"32 bits with colour masks", masked32().bytes(), 1, 1, {0x102030}},
      {"8192 wide, the widest there is",
       with(sized(8192, 1), [](Bmp& b) { b.pixels.assign(8192 * 3, 0x40); }), 8192, 1,
       std::vector<uint32_t>(8192, 0x404040)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Canvas canvas = marked();
    const auto refused = decode_bmp(c.file.data(), c.file.size(), canvas);
    ASSERT_FALSE(refused) << *refused;
    ASSERT_EQ(canvas.width, c.w);
    ASSERT_EQ(canvas.height, c.h);
    EXPECT_EQ(std::vector<uint32_t>(canvas.data(), canvas.data() + c.w * c.h), c.pixels);
  }
}

// Each is refused with its own reason; the headers before anything is decoded (or allocated), so
// even the 60000 x 60000 one costs nothing.
TEST(Bitmap, BrokenOrOversizedFilesAreRefused) {
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
    const char* error;  // part of the reason given
  } cases[] = {
      {"30000 x 30000 in 1 KB", padded(sized(30000, 30000).bytes(), 1024), "30000 x 30000 pixels"},
      {"60000 x 60000 in 1 KB", padded(sized(60000, 60000).bytes(), 1024), "60000 x 60000 pixels"},
      {"top row first, 60000 high", padded(sized(2, -60000).bytes(), 1024), "2 x 60000 pixels"},
      {"8193 wide", padded(sized(8193, 1).bytes(), 1024), "8193 x 1 pixels"},
      {"no width", sized(0, 2).bytes(), "0 or negative"},
      {"a negative width", sized(-2, 2).bytes(), "0 or negative"},
      {"4000 x 4000 in 1 KB", padded(sized(4000, 4000).bytes(), 1024), "pixels run past the end"},
      {"the last pixel byte missing", cut(rgb24().bytes(), 14 + 40 + 15), "pixels run past"},
      {"the header cut short", cut(rgb24().bytes(), 30), "header is cut short"},
      {"only the file header", cut(rgb24().bytes(), 14), "header is cut short"},
      {"a palette past the end", with(paletted(), [](Bmp& b) { b.colours = 0; }),
       "palette runs past the end"},
      {"more colours than 8 bits pick", with(paletted(), [](Bmp& b) { b.colours = 257; }),
       "more palette colours"},
      {"colour masks past the end", with(masked32(), [](Bmp& b) { b.palette.clear(); }),
       "colour masks run past the end"},
      {"pixels beyond the end", with(rgb24(), [](Bmp& b) { b.offset = 5000; }),
       "offset lies outside"},
      {"pixels inside the palette", with(paletted(), [](Bmp& b) { b.offset = 14 + 40 + 4; }),
       "offset lies outside"},
      {"run-length data starting at the end",
       with(rle8(), [](Bmp& b) { b.offset = 14 + 40 + 8 + 10; }), "offset lies outside"},
      {"not a bitmap", poked(rgb24().bytes(), 1, 'X'), "no 'BM'"},
      {"an OS/2 2.x header", with(rgb24(), [](Bmp& b) { b.info_size = 64; }),
       "unknown kind of info"},
      {"two planes", with(rgb24(), [](Bmp& b) { b.planes = 2; }), "planes is not 1"},
      {"7 bits a pixel", with(rgb24(), [](Bmp& b) { b.bits = 7; }), "bits per pixel"},
      {"run-length coded 24 bits", with(rgb24(), [](Bmp& b) { b.compression = 1; }),
       "unsupported compression"},
      {"run-length coded, top row first", with(rle8(), [](Bmp& b) { b.height = -2; }),
       "cannot be run-length coded"},
      {"16 bits a pixel", with(rgb24(), [](Bmp& b) { b.bits = 16; }), "bits per pixel (16)"},
      {"run-length coded 4 bits",
       with(rle8(), [](Bmp& b) { b.bits = 4; b.compression = 2; }), "unsupported compression"},
      {"colour masks of 5 bits", with(masked32(), [](Bmp& b) { b.palette[1] = 0x1F00; }),
       "other than 8 bits"},
      {"two colour masks the same", with(masked32(), [](Bmp& b) { b.palette[1] = 0xFF0000; }),
       "share bits"},
      {"a pixel past the palette", with(paletted(), [](Bmp& b) { b.pixels[1] = 3; }),
       "palette does not have"},
      {"a run past the palette", with(rle8(), [](Bmp& b) { b.pixels[1] = 2; }),
       "palette does not have"},
      {"a run past the end of its row", with(rle8(), [](Bmp& b) { b.pixels[0] = 3; }),
       "outside the picture"},
      {"run-length data with no end mark", with(rle8(), [](Bmp& b) { b.pixels.resize(8); }),
       "before its end mark"},
      {"8192 x 8192 run-length coded in 1 KB, nothing but the end mark",
       with(rle8(), [](Bmp& b) { b.width = b.height = 8192, b.pixels = {0, 1}; }),
       "8192 x 8192 pixels, more than its 2 bytes of run-length data can hold"},
      {"more pixels than the runs could ever fill",
       with(rle8(), [](Bmp& b) { b.width = 256, b.height = 1, b.pixels = {255, 1}; }),
       "256 x 1 pixels, more than its 2 bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Canvas canvas = marked();
    const uint64_t revision = canvas.revision;
    const auto refused = decode_bmp(c.file.data(), c.file.size(), canvas);
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->find(c.error), std::string::npos) << *refused;
    expect_untouched(canvas, revision);
  }
}

// The file written into the folder, by its path.
std::string written(const audio_test::ScratchFolder& folder, const char* name, const std::vector<uint8_t>& bytes) {
  folder.write(name, bytes);
  return folder.file(name);
}

TEST(Bitmap, FilesAreReadWholeAndChecked) {
  audio_test::ScratchFolder folder;
  const std::filesystem::path dir = folder.path();
  Canvas canvas;
  ASSERT_FALSE(load_bmp_file(written(folder, "good.bmp", paletted().bytes()), canvas));
  EXPECT_EQ(canvas.at(0, 1), 0x778899u);

  // A file larger than the largest picture could need is refused by its size, unread: this one
  // is all holes after a good header for 8192 x 8192 at 32 bits.
  const std::string huge = written(folder, "huge.bmp", with(Bmp{}, [](Bmp& b) {
    b.width = b.height = 8192;
    b.bits = 32;
  }));
  std::filesystem::resize_file(huge, size_t{4} * 8192 * 8192 + 65536 + 1);
  // Never waited on: nobody writes into the FIFO.
  const std::string fifo = (dir / "fifo.bmp").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  const struct {
    std::string path;
    const char* error;
  } refused[] = {
      {(dir / "missing.bmp").string(), "cannot open the file (No such file or directory)"},
      {fifo, "not a regular file (a FIFO)"},
      {dir.string(), "not a regular file (a folder)"},
      {"/dev/zero", "not a regular file (a device)"},
      {written(folder, "empty.bmp", {}), "header is cut short"},
      {huge, "larger than any picture"},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.path);
    Canvas c = marked();
    const uint64_t revision = c.revision;
    const auto refused = load_bmp_file(r.path, c);
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->find(r.error), std::string::npos) << *refused;
    expect_untouched(c, revision);
  }
}

// Two pictures of 32 MB fill the 64 MB of one start only if the one shown in two places counts
// once; then a picture of a few bytes is one too many, and the log says which and why, once.
TEST(Bitmap, ThePicturesOfOneStartShareABudgetAndAreDecodedOnce) {
  audio_test::ScratchFolder folder;
  // 4096 x 2048 at 4 bytes a pixel, decoded: every row 16 runs of 255 and one of 16.
  const auto big = with(rle8(), [](Bmp& b) {
    b.width = 4096, b.height = 2048;
    b.pixels.clear();
    for (int row = 0; row < 2048; ++row) {
      for (int run = 0; run < 16; ++run) b.pixels.insert(b.pixels.end(), {255, 1});
      b.pixels.insert(b.pixels.end(), {16, 0, 0, 0});
    }
    b.pixels.insert(b.pixels.end(), {0, 1});
  });
  ASSERT_EQ(uint64_t{4} * 4096 * 2048 * 2, kPictureBudget);
  const std::string map = written(folder, "map.bmp", big), title = written(folder, "title.bmp", big);
  const std::string small = written(folder, "small.bmp", paletted().bytes());
  BitmapFiles files;
  std::ostringstream log;
  files.log = &log;
  Canvas shown, backdrop, end, extra;
  ASSERT_TRUE(files.load(map, shown));
  ASSERT_TRUE(files.load(map, backdrop));
  EXPECT_EQ(shown.data(), backdrop.data()) << "decoded twice";
  EXPECT_TRUE(files.load(title, end)) << log.str();
  for (int i = 0; i < 2; ++i) EXPECT_FALSE(files.load(small, extra));
  EXPECT_FALSE(files.load(folder.file("missing.bmp"), extra));
  EXPECT_EQ(log.str(), "lushera: " + small + ": bitmap: 2 x 2 pixels take 16 bytes, more than the 0 bytes left for pictures\n");
}

}  // namespace
