// The game's colour ramps. Every picture takes its colours from here, so the opponents, the
// figures, the map and the rooms look like they belong to one world. Each ramp runs from its
// outline colour through shadow, base and light to a highlight; shadows lean towards violet and
// highlights towards warm yellow, which keeps neighbouring ramps friendly with each other.
#pragma once

#include "canvas.hpp"

namespace art::pal {

inline constexpr Ramp kSkin{{hex(0x4a2430), hex(0xc06a5e), hex(0xeba283), hex(0xf8c9a4), hex(0xfde8cc)}};
inline constexpr Ramp kSkinTan{{hex(0x3e2024), hex(0x93523e), hex(0xc47c56), hex(0xe2a47a), hex(0xf4caa0)}};
inline constexpr Ramp kSkinPale{{hex(0x3a2c44), hex(0xa88aa6), hex(0xd8c4d0), hex(0xf0e4ea), hex(0xffffff)}};

inline constexpr Ramp kHairBrown{{hex(0x2b161c), hex(0x5e3226), hex(0x8c5434), hex(0xb87e4a), hex(0xdcaa68)}};
inline constexpr Ramp kHairBlack{{hex(0x120f1c), hex(0x232036), hex(0x38375a), hex(0x56588a), hex(0x8086b4)}};
inline constexpr Ramp kHairBlond{{hex(0x47301a), hex(0xb27a28), hex(0xe2b23e), hex(0xf6d86e), hex(0xfff4b4)}};
inline constexpr Ramp kHairSilver{{hex(0x2c2d44), hex(0x6a6e92), hex(0xa4aac8), hex(0xd4d9ec), hex(0xf8faff)}};

inline constexpr Ramp kRed{{hex(0x380e1e), hex(0x8c1e30), hex(0xcc3a3c), hex(0xee6e50), hex(0xffa878)}};
inline constexpr Ramp kCrimson{{hex(0x2a0818), hex(0x62122c), hex(0x9a1e3a), hex(0xc83c4c), hex(0xec7466)}};
inline constexpr Ramp kOrange{{hex(0x3d1c10), hex(0xa44a1c), hex(0xe27a2a), hex(0xf6a64c), hex(0xffd47c)}};
inline constexpr Ramp kGold{{hex(0x3d280e), hex(0xa26a14), hex(0xdca22a), hex(0xf4d052), hex(0xfff6aa)}};
inline constexpr Ramp kGreen{{hex(0x10261c), hex(0x22543a), hex(0x3a8a4a), hex(0x6cbe5a), hex(0xb6e87c)}};
inline constexpr Ramp kMoss{{hex(0x1a2216), hex(0x3a4a26), hex(0x5c7034), hex(0x8a9c48), hex(0xbcca70)}};
inline constexpr Ramp kTeal{{hex(0x0e2430), hex(0x1a5460), hex(0x2c8a8a), hex(0x50c0b0), hex(0xa2ecd8)}};
inline constexpr Ramp kBlue{{hex(0x131838), hex(0x233a7a), hex(0x3a62b8), hex(0x5c94e0), hex(0xa6d2ff)}};
inline constexpr Ramp kNavy{{hex(0x0b0d22), hex(0x1a1f46), hex(0x2b3472), hex(0x40549e), hex(0x6c84c6)}};
inline constexpr Ramp kPurple{{hex(0x1d0f30), hex(0x4a2472), hex(0x7a3caa), hex(0xa866d2), hex(0xdaa6f2)}};
inline constexpr Ramp kPlum{{hex(0x1a0c22), hex(0x3a1640), hex(0x5a2660), hex(0x824086), hex(0xae6cae)}};
inline constexpr Ramp kPink{{hex(0x3a1230), hex(0x9a3a72), hex(0xd8609a), hex(0xf08cba), hex(0xffc6de)}};
inline constexpr Ramp kWhite{{hex(0x383a5a), hex(0x8a90b4), hex(0xc6cbe2), hex(0xecf0f8), hex(0xffffff)}};
inline constexpr Ramp kCloud{{hex(0x4a4c6e), hex(0xa4aac8), hex(0xd6dbee), hex(0xf2f4fb), hex(0xffffff)}};
inline constexpr Ramp kSteel{{hex(0x1c2032), hex(0x4a5268), hex(0x7c8aa2), hex(0xb4c2d4), hex(0xeef4fa)}};
inline constexpr Ramp kBlackSteel{{hex(0x0a0810), hex(0x2a2a3e), hex(0x4a4a66), hex(0x8a8cb0), hex(0xd8dcf0)}};
inline constexpr Ramp kDark{{hex(0x08080e), hex(0x1c1c2a), hex(0x303048), hex(0x4e4e6e), hex(0x7e80a4)}};
inline constexpr Ramp kCloth{{hex(0x0c0a12), hex(0x1e1a28), hex(0x302b40), hex(0x4a4462), hex(0x6e6890)}};
inline constexpr Ramp kWood{{hex(0x28140c), hex(0x5e3418), hex(0x8e5828), hex(0xb88042), hex(0xdcaa68)}};
inline constexpr Ramp kLeather{{hex(0x24120e), hex(0x5a3020), hex(0x80502e), hex(0xa8743e), hex(0xcc9c5e)}};
inline constexpr Ramp kCream{{hex(0x3c2e24), hex(0x9a8466), hex(0xcfbc94), hex(0xece0bc), hex(0xfff8e4)}};
inline constexpr Ramp kStone{{hex(0x1e1c28), hex(0x4a4656), hex(0x6e6a7c), hex(0x9894a4), hex(0xc6c2cc)}};
inline constexpr Ramp kGlass{{hex(0x1a2a44), hex(0x4a7ab0), hex(0x86bce6), hex(0xc2e6fa), hex(0xffffff)}};
inline constexpr Ramp kPoison{{hex(0x122410), hex(0x2e6a1e), hex(0x58b030), hex(0x98e04c), hex(0xe2ffa0)}};
inline constexpr Ramp kGhost{{hex(0x243050), hex(0x6a86b8), hex(0xa4c4e8), hex(0xd4eafa), hex(0xffffff)}};

// Single colours used for details.
inline constexpr Rgb kInk = hex(0x120c1a);        // eyes, deepest lines
inline constexpr Rgb kEyeWhite = hex(0xffffff);
inline constexpr Rgb kBlush = hex(0xf08a8a);
inline constexpr Rgb kMouth = hex(0x8a2a3a);
inline constexpr Rgb kMagic = hex(0x9ee8ff);       // cold magic light
inline constexpr Rgb kWarmLight = hex(0xffe08a);   // lamp and star light
inline constexpr Rgb kEvilRed = hex(0xff3a3a);

}  // namespace art::pal
