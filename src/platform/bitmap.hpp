#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "ui/canvas.hpp"

// Reads a Windows bitmap into a canvas: uncompressed at 1, 4, 8, 24 or 32 bits a pixel (32 also
// with 8-bit colour masks), or run-length coded at 8 bits, stored from the bottom row up or from
// the top down. The header is checked before anything is decoded: a picture of more than 8192
// pixels either way, or one whose header promises more than the file holds, is refused at once,
// so a small file cannot make the game allocate gigabytes. On any failure the canvas is left as
// it was and the reason is returned; nothing is returned when the picture was read.
std::optional<std::string> load_bmp_file(const std::string& path, Canvas& into);
// The same for a file's bytes already in memory.
std::optional<std::string> decode_bmp(const uint8_t* data, size_t size, Canvas& into);

// The bitmaps read so far, decoded, by file: a picture the game asks for again (an opponent's,
// each battle) is decoded once as long as the file keeps its size and modification time. The
// canvas it is read into shares the decoded pixels until one of them draws.
class BitmapFiles {
 public:
  bool load(const std::string& path, Canvas& into);

 private:
  struct Entry {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written;
    Canvas picture;
  };
  std::map<std::string, Entry> files_;
};
