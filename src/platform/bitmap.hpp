#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "ui/canvas.hpp"

// Reads a Windows bitmap into a canvas. The header is checked before anything is decoded: a
// picture of more than 8192 pixels either way, or one whose header promises more than the file
// holds, is refused at once, so a small file cannot make the game allocate gigabytes. Only then
// does SDL decode the pixels. On any failure the canvas is left as it was, false is returned and
// SDL_GetError() tells why.
bool load_bmp_file(const std::string& path, Canvas& into);
// The same for a file's bytes already in memory.
bool decode_bmp(const uint8_t* data, size_t size, Canvas& into);

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
