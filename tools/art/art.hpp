// The pictures and sounds of the game, drawn and synthesised from code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.hpp"

namespace art {

// Opponents in battle: one picture per class (0 to 19), 64 × 64.
Image unit_picture(int job);
// The boss of each location (1 to 7), 64 × 64.
Image boss_picture(int location);
// The ten toy figures side by side, 640 × 64.
Image figure_strip();
// The world map, 200 × 200.
Image world_map();
// The hero's room at home, 160 × 160.
Image home_room();
// The closing picture, 537 × 341.
Image title_picture();

// The game's icon, size × size, transparent around its disc.
Image app_icon(int size);
// Writes an 8-bit RGBA PNG (pixels left uncovered are transparent), for the desktop's icons.
void write_png(const Image& img, const std::string& path);
// Writes a 32-bit bottom-up Windows bitmap with an alpha channel, for the window's own icon.
void write_bmp_with_alpha(const Image& img, const std::string& path);

// Appends a number in the little-endian order the BMP and WAVE headers keep them in.
inline void put_u16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put_u32(std::vector<uint8_t>& out, uint32_t v) {
  put_u16(out, v & 0xFFFF);
  put_u16(out, v >> 16);
}

// Writes every sound into dir (1.wav, on1.wav, off1.wav, item.wav, walk.wav).
void write_sounds(const std::string& dir);

}  // namespace art
