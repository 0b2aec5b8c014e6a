// The bosses at the end of each location's road. They are drawn larger than the ordinary
// opponents, each before the place where it waits, and lit by a light of its own.
#include <cmath>
#include <numbers>

#include "art.hpp"
#include "sprite.hpp"

namespace art {

namespace {

using namespace pal;
constexpr double kPi = std::numbers::pi;

// The design space drawn 15 % larger, with the feet near the bottom edge.
constexpr double kBossScale = 1.15;
Sprite boss_stage(Image bg) { return Sprite(std::move(bg), 32 - kBossScale * 32, 62.5 - kBossScale * 58, kBossScale); }

void stars(Image& bg, uint64_t seed, int count, int y_max) {
  Rng rng(seed);
  for (int k = 0; k < count; ++k) {
    const int x = rng.below(bg.w), y = rng.below(y_max);
    bg.put(x, y, k % 4 == 0 ? hex(0xfff2c0) : hex(0xa8b0e0));
  }
}

// ---- backdrops ----------------------------------------------------------------------------

// Under the earth tower: a cave of dark rock lit by teal crystals.
Image cave_backdrop() {
  Image bg(64, 64);
  vbands(bg, 0, 0, 64, 64, {hex(0x120c18), hex(0x1c1424), hex(0x261c2e), hex(0x2e2234), hex(0x241a28)}, 0.25);
  Sprite sp(std::move(bg));
  Rng rng(201);
  for (int k = 0; k < 7; ++k) {
    const double x = rng.range(0, 64), y = rng.range(0, 30), r = rng.range(5, 10);
    sp.paint(sp.ellipse(x, y, r, r * 0.7), kStone, {Shade::Sphere, true, -0.45});
  }
  sp.paint(sp.ellipse(32, 70, 44, 16), kStone, {Shade::Sphere, true, -0.35});
  for (const auto& [x, y, h] : std::initializer_list<std::tuple<double, double, double>>{{8, 50, 9}, {56, 47, 11}, {50, 24, 6}, {12, 20, 5}}) {
    const Pt q = sp.P(x, y - h / 2);
    glow(sp.img, q.x, q.y, h * 1.8, hex(0x60f0e0), 0.45);
    sp.paint(sp.poly({{x - 2.5, y}, {x - 1, y - h}, {x + 0.5, y - h * 1.15}, {x + 2.5, y}}), kTeal, {Shade::Bevel, true, 0.1});
    sp.paint(sp.poly({{x + 1.5, y}, {x + 3.5, y - h * 0.6}, {x + 5, y}}), kTeal, {Shade::Bevel, true, 0.0});
  }
  return sp.img;
}

// The hill of 君ヶ丘 under a great crescent moon.
Image moon_hill_backdrop() {
  Image bg(64, 64);
  vbands(bg, 0, 0, 64, 64, {hex(0x0e1230), hex(0x161c44), hex(0x1e2a58), hex(0x2a3a6a), hex(0x384c78)}, 0.25);
  stars(bg, 202, 16, 40);
  Sprite sp(std::move(bg));
  glow(sp.img, 44, 16, 22, hex(0xfff4c0), 0.5);
  sp.paint(sp.circle(44, 16, 10) - sp.circle(49, 12.5, 8.5), kGold, {Shade::Sphere, true, 0.25});
  for (int x = 0; x < 64; ++x) {
    const double top = 44 - 6 * std::exp(-((x - 32.0) * (x - 32.0)) / 500.0) + std::sin(x * 0.4) * 0.6;
    for (int y = static_cast<int>(top); y < 64; ++y) sp.img.put(x, y, y < top + 1 ? hex(0x3a6a50) : y < 52 ? hex(0x24463c) : hex(0x1c3832));
  }
  return sp.img;
}

// The snowfield of イルモール under a pale sky, snow still falling.
Image snow_backdrop() {
  Image bg(64, 64);
  vbands(bg, 0, 0, 64, 44, {hex(0x3a4668), hex(0x4c5a80), hex(0x62749a), hex(0x7a8eb2)}, 0.25);
  for (int x = 0; x < 64; ++x) {
    const double top = 38 + 3 * std::sin(x * 0.09 + 0.5) + 1.5 * std::sin(x * 0.31);
    for (int y = static_cast<int>(top); y < 46; ++y) bg.put(x, y, hex(0x8c9cc0));
  }
  vbands(bg, 0, 44, 64, 64, {hex(0xb8c4e0), hex(0xd0daee), hex(0xe4ecf8)}, 0.25);
  return bg;
}

void snowfall(Image& img, uint64_t seed) {
  Rng rng(seed);
  for (int k = 0; k < 26; ++k) {
    const int x = rng.below(64), y = rng.below(60);
    img.put(x, y, hex(0xffffff));
    if (k % 3 == 0) {
      img.put(x + 1, y, hex(0xdce6f6));
      img.put(x, y + 1, hex(0xdce6f6));
    }
  }
}

// 三度湖 at dusk: mountains, mist and the still lake.
Image lake_backdrop() {
  Image bg(64, 64);
  vbands(bg, 0, 0, 64, 36, {hex(0x2a1e44), hex(0x4a2c58), hex(0x7a3e60), hex(0xb45e62), hex(0xe08a6a)}, 0.25);
  for (int x = 0; x < 64; ++x) {
    const double top = 26 + 6 * std::abs(std::sin(x * 0.07 + 0.4)) + 2 * std::sin(x * 0.23);
    for (int y = static_cast<int>(top); y < 36; ++y) bg.put(x, y, hex(0x3a2a50));
  }
  vbands(bg, 0, 36, 64, 64, {hex(0x6a4a6e), hex(0x3e3a66), hex(0x2a3058), hex(0x1e2448)}, 0.25);
  // Streaks of light on the water, and a band of mist along the far shore.
  Rng rng(204);
  for (int k = 0; k < 14; ++k) {
    const int y = 38 + rng.below(24), x = rng.below(56), len = 2 + rng.below(6);
    for (int i = 0; i < len; ++i) bg.tint(x + i, y, hex(0xf0a080), 0.35);
  }
  for (int y = 33; y < 39; ++y)
    for (int x = 0; x < 64; ++x)
      if (bayer(x, y) < 0.5 - std::abs(y - 36) * 0.12) bg.tint(x, y, hex(0xe0c8d8), 0.5);
  return bg;
}

// Inside カノン塔: cut stone, an arched window and a torch on each side.
Image tower_backdrop() {
  Image bg(64, 64, hex(0x2a2432));
  for (int y = 0; y < 64; ++y) {
    const int row = y / 6;
    for (int x = 0; x < 64; ++x) {
      const int xo = (x + (row & 1) * 5) % 10;
      Rgb c = (y % 6 == 0 || xo == 0) ? hex(0x1c1824) : ((x / 10 + row) % 3 == 0 ? hex(0x342c3c) : hex(0x2e2838));
      bg.put(x, y, c);
    }
  }
  Sprite sp(std::move(bg));
  // The window: a red sky through an arch.
  Mask arch = sp.box(22, 12, 42, 40) | sp.circle(32, 12, 10);
  sp.paint(arch.grown(), kStone, {Shade::Bevel});
  Image& img = sp.img;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      if (arch.get(x, y)) img.put(x, y, mix(hex(0x4a1428), hex(0xd05050), (y - 2) / 40.0));
  sp.paint(sp.circle(36, 12, 3.5), kCream, {Shade::Sphere, false, 0.3});
  sp.fill(sp.box(31.5, 2, 32.5, 40) | sp.box(22, 22, 42, 23), hex(0x1c1824));
  for (const double tx : {8.0, 56.0}) {
    const Pt q = sp.P(tx, 22);
    glow(img, q.x, q.y, 14, kWarmLight, 0.5);
    sp.paint(sp.box(tx - 1.5, 24, tx + 1.5, 31), kWood, {Shade::CylX});
    sp.paint(sp.ellipse(tx, 21, 2.4, 3.6) | sp.poly({{tx - 2, 21}, {tx, 14.5}, {tx + 2, 21}}), kOrange, {Shade::Sphere, true, 0.2});
    sp.fill(sp.ellipse(tx, 21.5, 1, 1.8), kGold[4]);
  }
  vbands(img, 0, 50, 64, 64, {hex(0x3a3040), hex(0x2c2434), hex(0x221c2a)}, 0.25);
  return img;
}

// 猫の島: a bright shore with sea and sand.
Image island_backdrop() {
  Image bg(64, 64);
  vbands(bg, 0, 0, 64, 34, {hex(0x3a70c8), hex(0x4c88d8), hex(0x66a4e4), hex(0x8cc4ee)}, 0.25);
  Sprite sp(std::move(bg));
  sp.paint(sp.ellipse(12, 10, 7, 3) | sp.ellipse(18, 8, 5, 3.5) | sp.ellipse(22, 10.5, 5, 2.5), kCloud, {Shade::Sphere, true, 0.2});
  sp.paint(sp.ellipse(52, 18, 6, 2.2) | sp.ellipse(56, 16.5, 4, 2.5), kCloud, {Shade::Sphere, true, 0.2});
  vbands(sp.img, 0, 34, 64, 46, {hex(0x2a78b8), hex(0x3490c8), hex(0x40a4d0)}, 0.25);
  for (int x = 0; x < 64; ++x) {
    const double top = 45 + std::sin(x * 0.35) * 0.8;
    for (int y = static_cast<int>(top); y < 64; ++y) sp.img.put(x, y, y < top + 1.2 ? hex(0xffffff) : y < 52 ? hex(0xf0dca0) : hex(0xe4c888));
  }
  Rng rng(206);
  for (int k = 0; k < 8; ++k) {
    const int x = rng.below(60), y = 36 + rng.below(8);
    sp.img.put(x, y, hex(0xc0ecff));
    sp.img.put(x + 1, y, hex(0xc0ecff));
  }
  // A palm leaning in from the left.
  sp.paint(sp.capsule({3, 60}, {9, 14}, 2.2, 1.5), kWood, {Shade::CylX});
  for (int k = 0; k < 5; ++k) {
    const double a = -kPi * 0.95 + k * 0.42;
    sp.paint(sp.capsule({9, 14}, {9 + std::cos(a) * 12, 14 + std::sin(a) * 6 + 5}, 2.2, 0.6), kGreen, {Shade::Sphere});
  }
  return sp.img;
}

// 名も無き塔: a violet nowhere with drifting runes and the tower's shadow far behind.
Image void_backdrop() {
  Image bg(64, 64);
  vbands(bg, 0, 0, 64, 64, {hex(0x0c0818), hex(0x1a0e2c), hex(0x2a1440), hex(0x3a1a52), hex(0x24103a)}, 0.25);
  stars(bg, 207, 12, 64);
  Sprite sp(std::move(bg));
  sp.fill(sp.poly({{40, 64}, {43, 6}, {46, 2}, {49, 6}, {52, 64}}), hex(0x160c24));
  sp.fill(sp.poly({{8, 64}, {10, 24}, {12, 20}, {14, 24}, {16, 64}}), hex(0x1c1030));
  glow(sp.img, 32, 34, 30, hex(0xb040ff), 0.35);
  Rng rng(217);
  for (int k = 0; k < 7; ++k) {
    const int x = 4 + rng.below(56), y = 4 + rng.below(50);
    const Rgb c = hex(0xd890ff);
    switch (k % 3) {
      case 0: sp.img.put(x, y, c), sp.img.put(x + 1, y + 1, c), sp.img.put(x + 2, y, c), sp.img.put(x + 1, y - 1, c); break;
      case 1: line(sp.img, x, y, x + 2, y, c), line(sp.img, x + 1, y - 1, x + 1, y + 2, c); break;
      default: line(sp.img, x, y, x + 2, y + 2, c), sp.img.put(x + 2, y, c); break;
    }
  }
  return sp.img;
}

// ---- the bosses ---------------------------------------------------------------------------

// 1 ビンタ・キング: a kitten king, crowned and caped, one enormous paw raised for the slap.
Image binta_king() {
  Image bg = cave_backdrop();
  draw_shadow(bg, 32, 60, 22, 3.5);
  Sprite sp(std::move(bg));
  const Ramp& fur = kCloud;
  // Royal cape with an ermine collar.
  sp.paint(sp.poly({{18, 30}, {46, 30}, {56, 61}, {8, 61}}), kCrimson, {Shade::CylX, true, 0});
  sp.paint(sp.ellipse(32, 31, 15, 4.5), kCream, {Shade::Sphere, true, 0.1});
  for (double x = 20; x < 45; x += 4) sp.dot(x, 31, kInk, 1, 1.5);
  // Body and the tail.
  sp.paint(sp.capsule({46, 56}, {55, 48}, 3, 2.4) | sp.circle(55.5, 46, 2.6), fur, {Shade::Sphere});
  sp.paint(sp.ellipse(32, 48, 13, 12), fur, {Shade::Sphere, true, 0.05});
  sp.paint(sp.ellipse(32, 47, 5.5, 6.5), kCream, {Shade::Sphere, false, 0.1});
  for (const double x : {24.0, 40.0}) sp.paint(sp.ellipse(x, 59, 5, 3), fur, {Shade::Sphere});
  // The paw that slaps: raised high, with motion lines.
  for (int k = 0; k < 3; ++k) {
    const double a = -0.5 - k * 0.35;
    sp.line({50 + std::cos(a) * 11, 14 + std::sin(a) * 11}, {50 + std::cos(a) * 15, 14 + std::sin(a) * 15}, hex(0xffffff));
  }
  sp.paint(sp.capsule({42, 38}, {51, 20}, 4, 3.6), fur, {Shade::Sphere});
  sp.paint(sp.circle(51.5, 15.5, 7), fur, {Shade::Sphere, true, 0.1});
  sp.paint(sp.ellipse(51.5, 16.5, 3, 2.6), kPink, {Shade::Flat, false, 0, 0, 3});
  for (int k = 0; k < 3; ++k) sp.paint(sp.circle(47.5 + k * 3.8, 11 - (k == 1 ? 1 : 0), 1.4), kPink, {Shade::Flat, false, 0, 0, 3});
  // The other paw on the hip.
  sp.paint(sp.capsule({22, 38}, {17, 46}, 4, 3.5), fur, {Shade::Sphere});
  // The head: big, round, ears up.
  sp.paint(sp.poly({{16, 22}, {17, 5}, {27, 13}}), fur, {Shade::Bevel});
  sp.paint(sp.poly({{48, 22}, {47, 5}, {37, 13}}), fur, {Shade::Bevel});
  sp.fill(sp.poly({{18.5, 17}, {19, 9}, {24, 13.5}}), kPink[3]);
  sp.fill(sp.poly({{45.5, 17}, {45, 9}, {40, 13.5}}), kPink[3]);
  sp.paint(sp.ellipse(32, 22, 16, 12.5), fur, {Shade::Sphere, true, 0.05});
  // A fierce, proud face.
  for (const double ex : {23.5, 36.5}) {
    sp.paint(sp.ellipse(ex + 2, 22, 3, 3.2), kGold, {Shade::Flat, true, 0, 0, 3});
    sp.dot(ex + 1.5, 19.5, kInk, 1.5, 5);
    sp.dot(ex + 0.5, 20, kEyeWhite, 1, 1);
  }
  sp.line({21, 17}, {27, 18.5}, kInk);
  sp.line({43, 17}, {37, 18.5}, kInk);
  sp.dot(31, 26, kPink[2], 2, 1);
  sp.paint(sp.ellipse(32, 29.2, 2.4, 1.5), kCrimson, {Shade::Flat, true, 0, 0, 1});
  sp.dot(30.5, 28, kEyeWhite, 1, 1), sp.dot(33, 28, kEyeWhite, 1, 1);
  for (const double y : {25.0, 28.0}) {
    sp.line({13, y - 1}, {20, y}, kCloud[4]);
    sp.line({51, y - 1}, {44, y}, kCloud[4]);
  }
  // The crown.
  sp.paint(sp.poly({{22, 12}, {22, 3}, {26, 7}, {29, 1}, {32, 6}, {35, 1}, {38, 7}, {42, 3}, {42, 12}}), kGold, {Shade::Bevel, true, 0.05});
  sp.paint(sp.circle(32, 9, 1.8), kRed, {Shade::Flat, true, 0, 0, 3});
  sp.dot(25, 9, kTeal[3], 1, 1), sp.dot(38, 9, kTeal[3], 1, 1);
  return sp.img;
}

// 2 聖戦士・月光: the holy warrior of the hill, silver armour, moonlit blade, white wings.
Image gekkou() {
  Image bg = moon_hill_backdrop();
  draw_shadow(bg, 32, 61, 16, 3);
  Sprite sp = boss_stage(std::move(bg));
  Look lk;
  lk.hair = kHairSilver;
  lk.hair_style = Hair::Long;
  lk.eyes = Eyes::Narrow;
  lk.iris = hex(0x4a6ab0);
  lk.top = kSteel;
  lk.armour = true;
  lk.sleeves = kSteel;
  lk.legs = kNavy;
  lk.boots = kSteel;
  lk.hands = kSteel;
  lk.blush = false;
  // Feathered wings: three long feathers a side, fanned up and out.
  for (const double side : {-1.0, 1.0}) {
    for (int k = 2; k >= 0; --k) {
      const double a = side * (0.55 + k * 0.38);
      const double len = 12 - k * 2;
      const double cx = 32 + side * 9 + std::sin(a) * len * 0.8, cy = 27 - std::cos(a) * len * 0.8;
      sp.paint(sp.rellipse(cx, cy, 3.2, len * 0.75, a), kCloud, {Shade::Sphere, true, 0.05 - k * 0.05});
    }
  }
  draw_cape(sp, kNavy, 1.05, 57);
  draw_hair_back(sp, lk);
  draw_legs(sp, lk);
  draw_torso(sp, lk);
  // A crescent on the breastplate.
  sp.paint(sp.circle(32, 36, 3.2) - sp.circle(33.6, 35, 2.8), kGold, {Shade::Flat, true, 0, 0, 3});
  draw_belt(sp, kGold);
  draw_arm(sp, kShoulderL, {22, 41}, lk.sleeves);
  draw_arm(sp, kShoulderR, {43, 37}, lk.sleeves);
  // The sword raised at the side, shining with the moon's light.
  const Pt h = sp.P(47, 24);
  glow(sp.img, h.x, h.y, 16, hex(0xfff0b0), 0.55);
  prop_sword(sp, {43, 37}, 0.3, -1, 24, kGlass, kGold, 1.7);
  draw_hand(sp, {43, 37}, lk.hands);
  draw_hand(sp, {22, 41}, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  prop_helmet(sp, kSteel, kGold, 1);
  sp.paint(sp.circle(32, 7.5, 3) - sp.circle(33.5, 6.5, 2.6), kGold, {Shade::Flat, true, 0, 0, 3});
  sparkle(sp.img, static_cast<int>(sp.P(50.5, 13).x), static_cast<int>(sp.P(50.5, 13).y), 3, hex(0xffffff), hex(0xfff0b0));
  return sp.img;
}

// 3 亡霊ステファニア: a ghost girl over the snow, her dress fading to mist, gears circling her.
Image stefania() {
  Image bg = snow_backdrop();
  Sprite sp = boss_stage(std::move(bg));
  glow(sp.img, 32, 30, 28, hex(0xc0e0ff), 0.45);
  Look lk;
  lk.skin = kSkinPale;
  lk.hair = kHairSilver;
  lk.hair_style = Hair::Long;
  lk.eyes = Eyes::Sleepy;
  lk.iris = hex(0x4a6a9a);
  lk.top = kGhost;
  lk.sleeves = kGhost;
  lk.hands = kSkinPale;
  lk.blush = false;
  prop_gear(sp, {12, 16}, 6, 8, kSteel, 0.2);
  prop_gear(sp, {53, 24}, 4.5, 7, kSteel, 0.0);
  draw_hair_back(sp, lk);
  // The dress, thinning into wisps where legs would be.
  Mask dress = sp.poly({{24, 30}, {40, 30}, {46, 50}, {42, 54}, {39, 50}, {36, 57}, {32, 51}, {28, 57}, {25, 50}, {22, 54}, {18, 50}});
  sp.paint(dress, kGhost, {Shade::CylX, true, 0.05});
  for (int y = 48; y < 58; ++y)
    for (int x = 0; x < 64; ++x)
      if (dress.get(x, y) && bayer(x, y) < (y - 47) / 12.0) sp.img.tint(x, y, hex(0xe4ecf8), 0.6);
  draw_torso(sp, lk);
  sp.paint(sp.poly({{27, 30}, {37, 30}, {32, 35}}), kWhite, {Shade::Flat, true, 0, 0, 4});
  draw_arm(sp, kShoulderL, {22, 38}, lk.sleeves);
  draw_arm(sp, kShoulderR, {42, 38}, lk.sleeves);
  draw_hand(sp, {22, 38}, lk.hands, 2.4);
  draw_hand(sp, {42, 38}, lk.hands, 2.4);
  draw_head(sp, lk);
  draw_face(sp, lk);
  // A tear.
  sp.dot(27, 24.5, kGlass[3], 1, 2);
  draw_hair_front(sp, lk);
  // A little mechanical hair ornament, and the gear she holds.
  prop_gear(sp, {41, 11}, 3, 6, kGold, 0);
  prop_gear(sp, {32, 44}, 4.8, 8, kGold, 0.3);
  snowfall(sp.img, 203);
  return sp.img;
}

// 4 カンフー: a kung fu master by the lake, a water dragon summoned coiling behind.
Image kungfu() {
  Image bg = lake_backdrop();
  draw_shadow(bg, 32, 61, 16, 3);
  Sprite sp = boss_stage(std::move(bg));
  // The water dragon: a serpent body rising behind in one great curve, head turned to the hero.
  Mask coil(sp.img.w, sp.img.h);
  auto body_at = [](double t) {
    const double a = 0.9 - t * 3.45, r = 22 - t * 3;
    return Pt{32 + std::cos(a) * r, 30 + std::sin(a) * r * 0.95};
  };
  for (int k = 0; k < 28; ++k) {
    const double t0 = k / 28.0, t1 = (k + 1) / 28.0;
    coil |= sp.capsule(body_at(t0), body_at(t1), 1.6 + t0 * 2.4, 1.6 + t1 * 2.4);
  }
  glow(sp.img, sp.P(32, 20).x, sp.P(32, 20).y, 30, hex(0x80e0ff), 0.3);
  sp.paint(coil, kTeal, {Shade::Sphere, true, 0.05});
  for (int k = 3; k < 27; k += 3) {
    const Pt q = body_at(k / 28.0);
    sp.dot(q.x, q.y - 1, kTeal[4], 1, 1);
  }
  const Pt head = body_at(1.0);
  // A white mane along the neck, horns, then the head looking down at the hero.
  for (int k = 0; k < 3; ++k) {
    const Pt q = body_at(0.86 + k * 0.045);
    sp.paint(sp.poly({{q.x - 2, q.y - 2}, {q.x + 1, q.y - 8}, {q.x + 2.5, q.y - 1.5}}), kCloud, {Shade::Bevel});
  }
  sp.paint(sp.capsule({head.x + 1, head.y - 3}, {head.x + 5, head.y - 9}, 1.3, 0.5), kGold, {Shade::Sphere});
  sp.paint(sp.capsule({head.x - 2, head.y - 3}, {head.x - 2, head.y - 9}, 1.3, 0.5), kGold, {Shade::Sphere});
  sp.paint(sp.ellipse(head.x, head.y, 5.2, 4.2) | sp.rellipse(head.x - 3.5, head.y + 3.5, 3.4, 2.4, 0.8), kTeal, {Shade::Sphere, true, 0.1});
  sp.dot(head.x - 2.5, head.y - 1, kGold[4], 1.5, 1.5);
  sp.dot(head.x - 2, head.y - 1, kInk, 0.8, 1.5);
  sp.dot(head.x - 5.5, head.y + 5, kTeal[0], 1, 1);
  sp.line({head.x - 6, head.y + 5}, {head.x - 10, head.y + 11}, kCloud[3]);
  sp.line({head.x - 3, head.y + 6}, {head.x - 4, head.y + 12}, kCloud[3]);
  Look lk;
  lk.hair = kHairBlack;
  lk.hair_style = Hair::Short;
  lk.eyes = Eyes::Angry;
  lk.top = kRed;
  lk.sleeves = kRed;
  lk.legs = kDark;
  lk.boots = kCloth;
  lk.hands = kSkin;
  // A hair bun.
  sp.paint(sp.circle(32, 7.5, 4), kHairBlack, {Shade::Sphere});
  draw_legs(sp, lk, 3);
  draw_torso(sp, lk);
  // Gold frog buttons down a high collar.
  sp.paint(sp.box(29, 28.5, 35, 31), kRed, {Shade::Flat, true, 0, 0, 3});
  for (double y = 32; y < 42; y += 3) sp.dot(30.5, y, kGold[3], 3, 1);
  draw_belt(sp, kGold, 42);
  // One palm thrust forward, the other fist drawn back.
  draw_arm(sp, kShoulderL, {17, 34}, lk.sleeves);
  draw_arm(sp, kShoulderR, {43, 40}, lk.sleeves);
  sp.paint(sp.ellipse(14.5, 32.5, 2.8, 3.8) | sp.capsule({16, 34.5}, {18.5, 31}, 1.1), kSkin, {Shade::Sphere, true, 0.05});
  sp.dot(14, 30, kSkin[1], 1, 3);
  draw_hand(sp, {43, 40}, lk.hands, 3);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  return sp.img;
}

// 5 ローズ: the dark knight of the tower, crimson hair, black armour grown with roses.
Image rose() {
  Image bg = tower_backdrop();
  draw_shadow(bg, 32, 61, 17, 3);
  Sprite sp = boss_stage(std::move(bg));
  Look lk;
  lk.hair = kCrimson;
  lk.hair_style = Hair::Long;
  lk.eyes = Eyes::Narrow;
  lk.iris = hex(0xc02040);
  lk.top = kBlackSteel;
  lk.armour = true;
  lk.sleeves = kBlackSteel;
  lk.legs = kDark;
  lk.boots = kBlackSteel;
  lk.hands = kBlackSteel;
  lk.blush = false;
  draw_cape(sp, kCrimson, 1.2, 57);
  draw_hair_back(sp, lk);
  draw_legs(sp, lk, 1);
  draw_torso(sp, lk);
  draw_belt(sp, kCrimson);
  draw_arm(sp, kShoulderL, {22, 40}, lk.sleeves);
  draw_arm(sp, kShoulderR, {42, 38}, lk.sleeves);
  // The great sword resting point-down, then the rose on the breast.
  prop_sword(sp, {42, 38}, 0.25, 1, 19, kBlackSteel, kCrimson, 2.2);
  draw_hand(sp, {42, 38}, lk.hands);
  draw_hand(sp, {22, 40}, lk.hands);
  prop_flower(sp, {28.5, 35}, 3.4, kRed, kCrimson);
  sp.paint(sp.capsule({25, 38}, {21, 41}, 0.7), kGreen, {Shade::Flat, false, 0, 0, 2});
  draw_head(sp, lk);
  draw_face(sp, lk);
  sp.dot(31.5, 26.5, kRed[2], 1.5, 1);
  draw_hair_front(sp, lk);
  // A thorned circlet.
  sp.paint(sp.box(21.4, 12.5, 42.6, 14), kBlackSteel, {Shade::Flat, true, 0, 0, 3});
  prop_flower(sp, {39.5, 12}, 2.4, kRed, kCrimson);
  // Petals drifting in the tower air.
  Rng rng(205);
  for (int k = 0; k < 7; ++k) {
    const int x = rng.below(62), y = rng.below(60);
    sp.img.put(x, y, kRed[3]);
    sp.img.put(x + 1, y, kRed[2]);
  }
  return sp.img;
}

// 6 ビクトリー: the island's champion cat, standing tall in a sailor cape, paw up in a V.
Image victory() {
  Image bg = island_backdrop();
  draw_shadow(bg, 32, 61, 15, 3);
  Sprite sp = boss_stage(std::move(bg));
  const Ramp& fur = kSteel;
  // Cape and tail.
  sp.paint(sp.poly({{22, 30}, {42, 30}, {48, 55}, {16, 55}}), kBlue, {Shade::CylX, true, -0.05});
  sp.paint(sp.capsule({40, 52}, {50, 50}, 2.6, 2.2) | sp.capsule({50, 50}, {52, 41}, 2.2, 2) | sp.circle(52, 40, 2.3), fur, {Shade::Sphere});
  // Legs and feet.
  sp.paint(sp.capsule({28, 46}, {27, 55}, 3.6, 3.2), fur, {Shade::CylX});
  sp.paint(sp.capsule({36, 46}, {37, 55}, 3.6, 3.2), fur, {Shade::CylX});
  sp.paint(sp.ellipse(26.5, 57, 4.2, 2.6) | sp.ellipse(37.5, 57, 4.2, 2.6), kCloud, {Shade::Sphere});
  // Body with a sailor shirt.
  sp.paint(sp.ellipse(32, 39, 10, 10), kCloud, {Shade::Sphere, true, 0.05});
  sp.dot(24, 41, kBlue[2], 16, 1.3);
  sp.dot(24, 44, kBlue[2], 16, 1.3);
  sp.paint(sp.poly({{24, 30}, {40, 30}, {36, 37}, {32, 40}, {28, 37}}), kBlue, {Shade::Flat, true, 0, 0, 2});
  sp.paint(sp.poly({{29, 35}, {35, 35}, {32, 40}}), kRed, {Shade::Flat, true, 0, 0, 2});
  // Left paw on the hip, right paw raised in a V.
  sp.paint(sp.capsule({23, 33}, {19, 42}, 3, 2.6), fur, {Shade::Sphere});
  sp.paint(sp.capsule({41, 33}, {48, 20}, 3, 2.6), fur, {Shade::Sphere});
  sp.paint(sp.capsule({48, 19}, {46.5, 11}, 1.3) | sp.capsule({48.5, 19}, {52, 12}, 1.3), kCloud, {Shade::Sphere});
  sp.paint(sp.circle(48.5, 20, 3), kCloud, {Shade::Sphere});
  // Head.
  sp.paint(sp.poly({{19, 18}, {20, 3}, {28, 11}}), fur, {Shade::Bevel});
  sp.paint(sp.poly({{45, 18}, {44, 3}, {36, 11}}), fur, {Shade::Bevel});
  sp.fill(sp.poly({{21, 14}, {21.5, 7.5}, {25.5, 11.5}}), kPink[3]);
  sp.fill(sp.poly({{43, 14}, {42.5, 7.5}, {38.5, 11.5}}), kPink[3]);
  sp.paint(sp.ellipse(32, 20, 13.5, 10.5), fur, {Shade::Sphere, true, 0.05});
  sp.paint(sp.ellipse(32, 25, 6.5, 4), kCloud, {Shade::Sphere, false});
  for (const double ex : {25.0, 36.0}) {
    sp.paint(sp.ellipse(ex + 1.5, 19.5, 2.6, 3), kTeal, {Shade::Flat, true, 0, 0, 3});
    sp.dot(ex + 1, 17.5, kInk, 1.5, 4);
    sp.dot(ex, 17.5, kEyeWhite, 1, 1);
  }
  sp.dot(31, 23.5, kPink[2], 2, 1);
  sp.dot(29.5, 25.5, kInk, 1, 1), sp.dot(33.5, 25.5, kInk, 1, 1), sp.dot(30.5, 26, kInk, 3, 1);
  sp.line({18, 23}, {24, 24}, kCloud[4]);
  sp.line({46, 23}, {40, 24}, kCloud[4]);
  // A sailor cap.
  sp.paint(sp.ellipse(32, 10, 9, 3.5), kCloud, {Shade::Sphere, true, 0.1});
  sp.paint(sp.box(24, 10, 40, 12), kBlue, {Shade::Flat, true, 0, 0, 2});
  prop_star(sp, {32, 8.5}, 2, kGold);
  return sp.img;
}

// 7 メフィスト: the master of the nameless tower, horned, hatted, pipe in hand.
Image mephisto() {
  Image bg = void_backdrop();
  draw_shadow(bg, 32, 61, 17, 3);
  Sprite sp = boss_stage(std::move(bg));
  Look lk;
  lk.skin = {{hex(0x2a1438), hex(0x8a6aa8), hex(0xb89ad0), hex(0xd8c0ea), hex(0xf2e8fa)}};
  lk.hair = kHairBlack;
  lk.hair_style = Hair::Short;
  lk.eyes = Eyes::Narrow;
  lk.iris = hex(0xffd040);
  lk.top = kPlum;
  lk.sleeves = kPlum;
  lk.legs = kCloth;
  lk.boots = kDark;
  lk.hands = kWhite;
  lk.blush = false;
  lk.mouth = false;
  // The coat's tails and its high collar behind the head.
  sp.paint(sp.poly({{23, 30}, {41, 30}, {47, 57}, {38, 54}, {32, 57}, {26, 54}, {17, 57}}), kPlum, {Shade::CylX, true, -0.1});
  sp.paint(sp.poly({{19, 16}, {24, 29}, {32, 30}, {40, 29}, {45, 16}, {40, 22}, {32, 24}, {24, 22}}), kCrimson, {Shade::Bevel});
  draw_legs(sp, lk);
  draw_torso(sp, lk);
  sp.paint(sp.poly({{29, 29.6}, {35, 29.6}, {33, 40}, {31, 40}}), kWhite, {Shade::Flat, false, 0, 0, 3});
  sp.paint(sp.circle(32, 31.5, 1.4), kRed, {Shade::Flat, true, 0, 0, 3});
  draw_belt(sp, kGold);
  // One hand holds the pipe, smoke curling up; the other beckons.
  draw_arm(sp, kShoulderL, {20, 34}, lk.sleeves);
  draw_arm(sp, kShoulderR, {42, 33}, lk.sleeves);
  draw_head(sp, lk);
  draw_face(sp, lk);
  // A thin smile and a pointed beard.
  sp.line({28.5, 26.5}, {35, 25.5}, kInk);
  sp.paint(sp.poly({{29.5, 28}, {34.5, 28}, {32, 33}}), kHairBlack, {Shade::Flat, true, 0, 0, 2});
  draw_hair_front(sp, lk);
  sp.dot(27, 21.5, lk.iris, 2, 1), sp.dot(35.5, 21.5, lk.iris, 2, 1);
  glow(sp.img, sp.P(27.5, 22).x, sp.P(27.5, 22).y, 4, hex(0xffd040), 0.35);
  glow(sp.img, sp.P(36.5, 22).x, sp.P(36.5, 22).y, 4, hex(0xffd040), 0.35);
  // A monocle.
  outline(sp.img, sp.circle(36.5, 21.8, 2.6), kGold[3]);
  prop_horns(sp, kCream, 0.75);
  // The tall hat.
  sp.paint(sp.poly({{24, 13}, {40, 13}, {38.5, -4}, {25.5, -4}}), kCloth, {Shade::CylX});
  sp.paint(sp.box(24.5, 8, 39.5, 11), kPurple, {Shade::Flat, false, 0, 0, 2});
  sp.paint(sp.ellipse(32, 13, 14, 2.2), kCloth, {Shade::Sphere, true, 0.1});
  // The pipe.
  sp.paint(sp.capsule({42, 33}, {47, 28}, 0.9), kWood, {Shade::Flat, true, 0, 0, 2});
  sp.paint(sp.box(46, 24.5, 50, 29), kWood, {Shade::CylX});
  for (int k = 0; k < 6; ++k) {
    const double y = 22 - k * 3.2, x = 48 + std::sin(k * 1.3) * 2.2;
    sp.paint(sp.circle(x, y, 1.2 + k * 0.25), kCloud, {Shade::Sphere, false, -0.1 * k});
  }
  draw_hand(sp, {42, 33}, lk.hands);
  draw_hand(sp, {20, 34}, lk.hands);
  const Pt q = sp.P(19, 30);
  glow(sp.img, q.x, q.y, 7, hex(0xd070ff), 0.6);
  sparkle(sp.img, static_cast<int>(q.x), static_cast<int>(q.y) - 3, 2, hex(0xffffff), hex(0xd070ff));
  return sp.img;
}

}  // namespace

Image boss_picture(int location) {
  switch (location) {
    case 1: return binta_king();
    case 2: return gekkou();
    case 3: return stefania();
    case 4: return kungfu();
    case 5: return rose();
    case 6: return victory();
    default: return mephisto();
  }
}

}  // namespace art
