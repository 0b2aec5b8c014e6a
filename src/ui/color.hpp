// The colours of the window toolkit and of the layout, and their conversion for the renderer.
#pragma once
#include <cstdint>

// Colours are kept in the toolkit's own format, 0xBBGGRR (blue in the high byte), because the
// game's rules give every colour that way. The renderer converts them once per use.
namespace cl {
constexpr uint32_t black = 0x000000;
constexpr uint32_t maroon = 0x000080;
constexpr uint32_t green = 0x008000;
constexpr uint32_t olive = 0x008080;
constexpr uint32_t navy = 0x800000;
constexpr uint32_t purple = 0x800080;
constexpr uint32_t teal = 0x808000;
constexpr uint32_t gray = 0x808080;
constexpr uint32_t silver = 0xC0C0C0;
constexpr uint32_t red = 0x0000FF;
constexpr uint32_t lime = 0x00FF00;
constexpr uint32_t yellow = 0x00FFFF;
constexpr uint32_t blue = 0xFF0000;
constexpr uint32_t fuchsia = 0xFF00FF;
constexpr uint32_t aqua = 0xFFFF00;
constexpr uint32_t white = 0xFFFFFF;
// The layout's own colours, written in decimal as the layout gives them.
constexpr uint32_t orange = 33023;           // 0x0080FF: the Mp gauge
constexpr uint32_t pink = 16744703;          // 0xFF80FF: behind the life-span warning
constexpr uint32_t sky_blue = 16744448;      // 0xFF8000: the proficiency gauge
constexpr uint32_t dark_blue = 10485760;     // 0xA00000: the technique info box
constexpr uint32_t midnight_blue = 6750208;  // 0x670000: behind the attributes line
// The classic 3-D control colours of the desktop the window was laid out for.
constexpr uint32_t btn_face = 0xC0C0C0;
constexpr uint32_t btn_shadow = 0x808080;
constexpr uint32_t btn_highlight = 0xFFFFFF;
constexpr uint32_t highlight = 0x800000;  // selection bar
constexpr uint32_t none = 0xFF000000;     // "no colour": transparent or inherited
}  // namespace cl

// 0xBBGGRR -> 0xRRGGBB
constexpr uint32_t bgr_to_rgb(uint32_t c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
