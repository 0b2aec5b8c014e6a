#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

class Canvas;

// Reads a Windows bitmap into a canvas. The header is checked before anything is decoded: a
// picture of more than 8192 pixels either way, or one whose header promises more than the file
// holds, is refused at once, so a small file cannot make the game allocate gigabytes. Only then
// does SDL decode the pixels. On any failure the canvas is left as it was, false is returned and
// SDL_GetError() tells why.
bool load_bmp_file(const std::string& path, Canvas& into);
// The same for a file's bytes already in memory.
bool decode_bmp(const uint8_t* data, size_t size, Canvas& into);
