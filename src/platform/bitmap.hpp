// The bitmap reader: the game's BMP pictures, bounded by what their files can hold.
#pragma once
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <map>
#include <optional>
#include <string>

#include "storage/storage.hpp"
#include "ui/canvas.hpp"

// The most a picture's pixels may take, decoded: 8192 x 8192 at 4 bytes.
constexpr uint64_t kMaxPictureBytes = uint64_t{4} * 8192 * 8192;
// The most all the pictures of one start may take together, decoded. The default pack's take
// under 2 MB; a pack far past this one is broken, not big.
constexpr uint64_t kPictureBudget = uint64_t{64} << 20;

// Reads a Windows bitmap into a canvas: uncompressed at 1, 4, 8, 24 or 32 bits a pixel (32 also
// with 8-bit colour masks), or run-length coded at 8 bits, stored from the bottom row up or from
// the top down. The header is checked before anything is decoded: a picture of more than 8192
// pixels either way, one whose pixels would take more than `budget` bytes, one whose header
// promises more than the file holds, or a run-length coded one larger than its data could fill,
// is refused at once, so a small file cannot make the game allocate gigabytes. Only a regular
// file is read, and only one its picture could need. On any failure the canvas is left as it was
// and the reason is returned; nothing is returned when the picture was read.
std::optional<std::string> load_bmp_file(const std::string& path, Canvas& into,
                                         uint64_t budget = kMaxPictureBytes);
// The same for a file's bytes already in memory.
std::optional<std::string> decode_bmp(const uint8_t* data, size_t size, Canvas& into,
                                      uint64_t budget = kMaxPictureBytes);

// The bitmaps read so far, decoded, by file: a picture the game asks for again (an opponent's,
// each battle, or the map in its three places) is decoded once as long as the file keeps its
// size and modification time, and a broken one is refused once. The canvas it is read into
// shares the decoded pixels until one of them draws. All of them together stay within
// kPictureBudget; a picture that would pass it is refused.
class BitmapFiles {
 public:
  bool load(const std::string& path, Canvas& into);
  // Where a refused picture is told, with its file and the reason (none: nowhere). A missing
  // file is not told: a pack need not have every opponent's picture.
  std::ostream* log = &std::cerr;

 private:
  struct Entry {
    FileStamp stamp;
    Canvas picture;
    std::optional<std::string> refused;
    uint64_t bytes() const { return uint64_t{4} * static_cast<uint64_t>(picture.width) * picture.height; }
  };
  std::map<std::string, Entry> files_;
  uint64_t used_ = 0;  // by the decoded pictures kept
};
