// The toy shop's collectible figures. Each one stands on a round display base before a soft
// card, like a small plastic figure in its box, so that the shelf at home reads as a collection.
#include <cmath>
#include <numbers>

#include "art.hpp"
#include "sprite.hpp"

namespace art {

namespace {

using namespace pal;
constexpr double kPi = std::numbers::pi;

inline constexpr Ramp kLavender{{hex(0x34265a), hex(0x7462b0), hex(0x9c8ad8), hex(0xc0b2f0), hex(0xe6defc)}};

// The card behind a figure (two soft colours, light at the top) and its base.
Image card(Rgb top, Rgb bottom, uint64_t seed) {
  Image bg(64, 64);
  std::vector<Rgb> bands;
  for (int k = 0; k < 5; ++k) bands.push_back(mix(top, bottom, k / 4.0));
  vbands(bg, 0, 0, 64, 64, bands, 0.25);
  // Faint diagonal stripes like printed card stock.
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      if (((x + y) / 3) % 4 == 0) bg.tint(x, y, hex(0xffffff), 0.12);
  Rng rng(seed);
  for (int k = 0; k < 4; ++k) {
    // One draw per statement: the order of function arguments is not fixed by the language.
    const int x = 4 + rng.below(56), y = 3 + rng.below(26);
    sparkle(bg, x, y, 1, hex(0xffffff), mix(top, hex(0xffffff), 0.5));
  }
  // A frame line just inside the edge.
  for (int i = 1; i < 63; ++i) {
    bg.tint(i, 1, hex(0xffffff), 0.4);
    bg.tint(i, 62, hex(0x000000), 0.15);
    bg.tint(1, i, hex(0xffffff), 0.4);
    bg.tint(62, i, hex(0x000000), 0.15);
  }
  return bg;
}

void base(Image& img, const Ramp& r) {
  Sprite sp(std::move(img));
  sp.paint(sp.ellipse(32, 59, 18, 4.2) | sp.box(14, 55.5, 50, 59), r, {Shade::CylX, true, -0.05});
  sp.paint(sp.ellipse(32, 55.5, 18, 4.2), r, {Shade::Sphere, true, 0.15});
  sp.paint(sp.ellipse(32, 55.5, 14.5, 3), r, {Shade::Flat, false, 0, 0, 3});
  img = std::move(sp.img);
}

constexpr double kFigScale = 0.84;
Sprite figure_stage(Rgb top, Rgb bottom, const Ramp& base_ramp, uint64_t seed) {
  Image bg = card(top, bottom, seed);
  base(bg, base_ramp);
  return Sprite(std::move(bg), 32 - kFigScale * 32, 56.5 - kFigScale * 58, kFigScale);
}

// 0 グーグー: the dream beast, round and sleepy, in a nightcap.
Image googoo() {
  Sprite sp = figure_stage(hex(0xd0dcff), hex(0x7c88cc), kNavy, 300);
  sp.paint(sp.ellipse(25, 56, 4.5, 3) | sp.ellipse(39, 56, 4.5, 3), kLavender, {Shade::Sphere});
  sp.paint(sp.ellipse(32, 41, 16, 14), kLavender, {Shade::Sphere, true, 0.05});
  sp.paint(sp.ellipse(32, 45, 9, 8), kCloud, {Shade::Sphere, false, 0.1});
  // Round ears, closed eyes, a short trunk.
  sp.paint(sp.circle(17, 28, 4.5) | sp.circle(47, 28, 4.5), kLavender, {Shade::Sphere});
  sp.fill(sp.circle(17, 28, 2.3) | sp.circle(47, 28, 2.3), kPink[3]);
  sp.paint(sp.ellipse(32, 32, 13, 10), kLavender, {Shade::Sphere, true, 0.08});
  sp.line({24, 32}, {28, 33}, kInk);
  sp.line({36, 33}, {40, 32}, kInk);
  sp.dot(22, 35, kBlush, 2.5, 1.5), sp.dot(40, 35, kBlush, 2.5, 1.5);
  sp.paint(sp.capsule({32, 34}, {32, 40}, 2.6, 2), kLavender, {Shade::Sphere, true, 0.1});
  // The nightcap flopping over to one side with its pompom.
  sp.paint(sp.poly({{21, 25}, {43, 25}, {41, 16}, {48, 10}, {34, 13}, {25, 18}}), kBlue, {Shade::CylX});
  sp.paint(sp.ellipse(32, 25, 12, 2.6), kCloud, {Shade::Sphere, true, 0.1});
  sp.paint(sp.circle(49, 10, 3), kCloud, {Shade::Sphere});
  for (const auto& [x, y] : std::initializer_list<std::pair<double, double>>{{34, 19}, {39, 17}}) prop_star(sp, {x, y}, 1.6, kGold);
  // Zz.
  sp.line({8, 14}, {11, 14}, kNavy[2]), sp.line({11, 14}, {8, 17}, kNavy[2]), sp.line({8, 17}, {11, 17}, kNavy[2]);
  sp.line({4, 6}, {6, 6}, kNavy[2]), sp.line({6, 6}, {4, 8}, kNavy[2]), sp.line({4, 8}, {6, 8}, kNavy[2]);
  return sp.img;
}

// 1 ビジョン: the younger of the assassin siblings, all in black with a long scarf and a dagger.
Image vision() {
  Sprite sp = figure_stage(hex(0xc8d0e8), hex(0x7884a8), kDark, 301);
  Look lk;
  lk.hair = kPlum;
  lk.hair_style = Hair::Ponytail;
  lk.eyes = Eyes::Narrow;
  lk.iris = hex(0x9a40c0);
  lk.top = kCloth;
  lk.sleeves = kCloth;
  lk.legs = kCloth;
  lk.boots = kDark;
  lk.hands = kCloth;
  sp.paint(sp.poly({{36, 29}, {48, 34}, {54, 44}, {49, 42}, {44, 46}, {41, 34}}), kCrimson, {Shade::CylX});
  draw_hair_back(sp, lk);
  draw_legs(sp, lk, 1.5);
  draw_torso(sp, lk);
  draw_belt(sp, kCrimson, 40);
  draw_arm(sp, kShoulderL, {21, 37}, lk.sleeves);
  draw_arm(sp, kShoulderR, {41, 40}, lk.sleeves);
  prop_sword(sp, {21, 36}, -0.5, -1, 10, kSteel, kCrimson, 1.2);
  draw_hand(sp, {21, 37}, lk.hands);
  draw_hand(sp, {41, 40}, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  sp.paint(sp.poly({{23, 27}, {41, 27}, {42, 31}, {22, 31}}), kCrimson, {Shade::CylX});
  return sp.img;
}

// 2 シューティング・フラワー: one of the specialists, a flower in her hair and a bow of vine.
Image shooting_flower() {
  Sprite sp = figure_stage(hex(0xffe0ec), hex(0xe890b4), kGreen, 302);
  Look lk;
  lk.hair = kPink;
  lk.hair_style = Hair::Bob;
  lk.iris = hex(0x2a8a4a);
  lk.top = kGreen;
  lk.sleeves = kGreen;
  lk.legs = kCream;
  lk.boots = kGreen;
  draw_hair_back(sp, lk);
  draw_legs(sp, lk);
  sp.paint(sp.poly({{24.5, 38}, {39.5, 38}, {43, 48}, {21, 48}}), kGreen, {Shade::CylX});
  draw_torso(sp, lk);
  draw_belt(sp, kGold, 38);
  // The bow held out to the side, the string drawn to the chest.
  draw_arm(sp, kShoulderL, {16, 33}, lk.sleeves);
  Mask bow = sp.ring(22, 33, 10, 8.6);
  bow.keep([&](double x, double) { return (x - sp.ox) / sp.s < 16; });
  sp.paint(bow, kWood, {Shade::Flat, true, 0, 0, 3});
  sp.line({14, 25}, {30, 33}, kCream[4]);
  sp.line({14, 41}, {30, 33}, kCream[4]);
  draw_arm(sp, kShoulderR, {30, 34}, lk.sleeves);
  prop_stick(sp, {31, 33}, {9, 33}, kWood, 0.7);
  prop_flower(sp, {8, 33}, 3.4, kPink, kGold);
  draw_hand(sp, {16, 33}, lk.hands);
  draw_hand(sp, {30, 34}, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  prop_flower(sp, {40, 12}, 5, kCloud, kGold);
  return sp.img;
}

// 3 マクベス: the young days of the one they call M, grinning, palm raised for his famous slap.
Image macbeth() {
  Sprite sp = figure_stage(hex(0xffe8c0), hex(0xe8a060), kWood, 303);
  Look lk;
  lk.hair = kRed;
  lk.hair_style = Hair::Spiky;
  lk.eyes = Eyes::Happy;
  lk.top = kRed;
  lk.sleeves = kRed;
  lk.legs = kNavy;
  lk.boots = kLeather;
  draw_cape(sp, kGold, 0.9, 52);
  draw_legs(sp, lk, 1.5);
  draw_torso(sp, lk);
  sp.paint(sp.poly({{28, 31}, {36, 31}, {35, 37}, {29, 37}}), kCream, {Shade::Flat, true, 0, 0, 3});
  sp.dot(31, 32.5, kRed[2], 2, 3);
  draw_belt(sp, kLeather);
  draw_arm(sp, kShoulderL, {22, 42}, lk.sleeves);
  draw_arm(sp, kShoulderR, {45, 23}, lk.sleeves);
  draw_hand(sp, {22, 42}, lk.hands);
  // The open palm.
  sp.paint(sp.ellipse(46, 19.5, 3.6, 4.4) | sp.capsule({43, 21}, {41.5, 17.5}, 1.1), kSkin, {Shade::Sphere, true, 0.05});
  for (int k = 0; k < 3; ++k) sp.line({50.5 + k * 0.3, 15.5 + k * 3}, {54 + k * 0.3, 14.5 + k * 3}, kCream[4]);
  draw_head(sp, lk);
  draw_face(sp, lk);
  sp.dot(30.5, 26, kMouth, 3, 1.2);
  draw_hair_front(sp, lk);
  return sp.img;
}

// Octavian, shared by both of her versions.
Look octavian_look() {
  Look lk;
  lk.hair = kHairBlond;
  lk.hair_style = Hair::Long;
  lk.iris = hex(0x2a5aa8);
  lk.top = kBlue;
  lk.sleeves = kBlue;
  lk.legs = kWhite;
  lk.boots = kNavy;
  lk.hands = kWhite;
  return lk;
}

// 4 オクタビアン: the princess in her blue riding coat, with a rapier.
Image octavian() {
  Sprite sp = figure_stage(hex(0xd4ecff), hex(0x78a8e0), kNavy, 304);
  Look lk = octavian_look();
  draw_hair_back(sp, lk);
  draw_legs(sp, lk);
  sp.paint(sp.poly({{24, 38}, {40, 38}, {44, 50}, {36, 48}, {32, 42}, {28, 48}, {20, 50}}), kBlue, {Shade::CylX});
  draw_torso(sp, lk);
  sp.paint(sp.ellipse(24, 31, 3.6, 2.2) | sp.ellipse(40, 31, 3.6, 2.2), kGold, {Shade::Sphere});
  for (double y = 32; y < 40; y += 2.5) sp.dot(31.5, y, kGold[3], 1.5, 1);
  draw_belt(sp, kWhite, 39);
  draw_arm(sp, kShoulderL, {22, 41}, lk.sleeves);
  draw_arm(sp, kShoulderR, {43, 36}, lk.sleeves);
  prop_sword(sp, {43, 36}, 0.55, -1, 20, kSteel, kGold, 1.0);
  draw_hand(sp, {22, 41}, lk.hands);
  draw_hand(sp, {43, 36}, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  sp.paint(sp.box(22, 12.5, 42, 14), kGold, {Shade::Flat, true, 0, 0, 3});
  sp.paint(sp.circle(32, 12.5, 1.6), kBlue, {Shade::Flat, true, 0, 0, 4});
  return sp.img;
}

// 5 ハジメロボット: a tin robot toy, the edition splashed with red paint.
Image hajime_robot() {
  Sprite sp = figure_stage(hex(0xe0e8ec), hex(0x98a8b4), kDark, 305);
  const Ramp& tin = kSteel;
  sp.paint(sp.box(25, 46, 30, 55) | sp.box(34, 46, 39, 55), tin, {Shade::CylX});
  sp.paint(sp.box(23, 53, 31, 57) | sp.box(33, 53, 41, 57), kDark, {Shade::Bevel});
  sp.paint(sp.capsule({20, 33}, {16, 44}, 2.5) | sp.capsule({44, 33}, {48, 44}, 2.5), tin, {Shade::Sphere});
  sp.paint(sp.ring(16, 46, 3.2, 1.5) | sp.ring(48, 46, 3.2, 1.5), kGold, {Shade::Flat, true, 0, 0, 2});
  sp.paint(sp.box(20, 30, 44, 48), tin, {Shade::Bevel});
  sp.paint(sp.box(24, 34, 40, 43), kDark, {Shade::Bevel});
  sp.dot(26, 36, kRed[3], 2, 2), sp.dot(30, 36, kGold[3], 2, 2), sp.dot(34, 36, kGreen[3], 2, 2);
  for (double x = 26; x < 39; x += 2) sp.dot(x, 40, kSteel[3], 1, 1);
  // The head with big round eyes and an antenna.
  sp.line({32, 12}, {32, 6}, kSteel[1]);
  sp.paint(sp.circle(32, 5, 2.2), kRed, {Shade::Sphere});
  sp.paint(sp.box(21, 12, 43, 29), tin, {Shade::Bevel});
  sp.paint(sp.circle(27, 20, 4) | sp.circle(37, 20, 4), kGlass, {Shade::Sphere});
  sp.fill(sp.circle(27.5, 20.5, 1.6) | sp.circle(37.5, 20.5, 1.6), kInk);
  sp.dot(28, 25.5, kDark[1], 8, 1.5);
  sp.paint(sp.box(18, 17, 21, 24) | sp.box(43, 17, 46, 24), kGold, {Shade::Bevel});
  // The splash: red drops across the body and head.
  Rng rng(315);
  Mask splash(sp.img.w, sp.img.h);
  splash |= sp.circle(36, 31, 3.2) | sp.circle(40, 28, 1.6) | sp.circle(24, 15, 1.8) | sp.circle(41, 42, 2.2);
  for (int k = 0; k < 9; ++k) {
    const double x = rng.range(20, 46), y = rng.range(12, 48), r = rng.range(0.6, 1.2);
    splash |= sp.circle(x, y, r);
  }
  splash |= sp.capsule({36, 33}, {36.5, 38}, 1.1, 0.6);
  sp.paint(splash, kRed, {Shade::Flat, false, 0, 0, 2});
  sp.dot(35, 30, kRed[4], 1, 1);
  return sp.img;
}

// 6 イチゴ: a girl in a strawberry cap with a fan of playing cards.
Image ichigo() {
  Sprite sp = figure_stage(hex(0xfff0f0), hex(0xf4a0a0), kRed, 306);
  Look lk;
  lk.hair = kHairBrown;
  lk.hair_style = Hair::Twin;
  lk.iris = hex(0xc02a3a);
  lk.top = kCloud;
  lk.sleeves = kRed;
  lk.legs = kRed;
  lk.boots = kRed;
  lk.robe = true;
  lk.robe_ramp = kRed;
  draw_hair_back(sp, lk);
  draw_robe(sp, lk, -2);
  sp.paint(sp.box(22, 52, 42, 53.5), kCloud, {Shade::Flat, false, 0, 0, 3});
  draw_torso(sp, lk);
  draw_arm(sp, kShoulderL, {22, 40}, lk.sleeves);
  draw_arm(sp, kShoulderR, {43, 34}, lk.sleeves);
  // Cards fanned out in the raised hand.
  for (int k = 0; k < 3; ++k) {
    const double a = -0.55 + k * 0.45;
    const double cx = 45 + std::sin(a) * 5, cy = 28 - std::cos(a) * 5;
    sp.paint(sp.rellipse(cx, cy, 2.6, 3.8, a) | sp.shape([=](double x, double y) {
      const double u = (x - cx) * std::cos(a) + (y - cy) * std::sin(a), v = -(x - cx) * std::sin(a) + (y - cy) * std::cos(a);
      return std::abs(u) < 2.6 && std::abs(v) < 3.8;
    }), kCloud, {Shade::Flat, true, 0, 0, 4});
    sp.dot(cx - 0.5, cy - 0.5, k == 1 ? kRed[2] : kInk, 1, 1.5);
  }
  draw_hand(sp, {22, 40}, lk.hands);
  draw_hand(sp, {43, 34}, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  // The strawberry cap: red with seeds and a crown of leaves.
  Mask cap = sp.ellipse(32, 13, 11.5, 7.5);
  cap.keep([&](double, double y) { return (y - sp.oy) / sp.s < 15.5; });
  sp.paint(cap, kRed, {Shade::Sphere, true, 0.05});
  for (const auto& [x, y] : std::initializer_list<std::pair<double, double>>{{26, 12}, {30, 10}, {35, 11}, {39, 13}, {32, 13.5}, {24, 14.5}}) sp.dot(x, y, kGold[4]);
  sp.paint(sp.poly({{27, 6}, {32, 2}, {37, 6}, {40, 4}, {37, 8}, {27, 8}, {24, 4}}), kGreen, {Shade::Bevel});
  return sp.img;
}

// 7 ハリー: a little hedgehog in a scarf. Nobody knows who he is.
Image harry() {
  Sprite sp = figure_stage(hex(0xe8f4d8), hex(0x9cc488), kWood, 307);
  // The spiny back: a ring of spikes round the body.
  std::vector<Pt> spikes;
  for (int k = 0; k <= 26; ++k) {
    const double a = kPi * 0.92 + k * (kPi * 1.16 / 26);
    const double r = (k & 1) ? 15 : 20.5;
    spikes.push_back({32 + std::cos(a) * r, 38 + std::sin(a) * r});
  }
  spikes.push_back({46, 52});
  spikes.push_back({18, 52});
  sp.paint(sp.poly(spikes), kHairBrown, {Shade::Sphere, true, -0.05});
  sp.paint(sp.ellipse(25, 56, 4, 2.6) | sp.ellipse(39, 56, 4, 2.6), kLeather, {Shade::Sphere});
  sp.paint(sp.ellipse(32, 42, 12.5, 12), kCream, {Shade::Sphere, true, 0.05});
  sp.paint(sp.ellipse(32, 34, 10, 8.5), kCream, {Shade::Sphere, true, 0.1});
  for (const double ex : {27.0, 36.0}) {
    sp.dot(ex, 32, kInk, 2, 3);
    sp.dot(ex, 32, kEyeWhite, 1, 1);
  }
  sp.fill(sp.ellipse(32, 37.5, 2, 1.5), kInk);
  sp.dot(24, 36.5, kBlush, 2, 1), sp.dot(38.5, 36.5, kBlush, 2, 1);
  // A blue scarf, its end blowing to the side.
  sp.paint(sp.box(21, 41, 43, 44.5) | sp.poly({{38, 43}, {46, 49}, {43, 51}, {36, 45}}), kBlue, {Shade::CylX});
  sp.paint(sp.capsule({22, 46}, {19, 50}, 2) | sp.capsule({42, 46}, {45, 50}, 2), kCream, {Shade::Sphere});
  return sp.img;
}

// 8 オクタビアン女王継承ver.: Octavian crowned queen, in a red robe trimmed with ermine, on gold.
Image octavian_queen() {
  Sprite sp = figure_stage(hex(0xfff4c8), hex(0xe0b050), kGold, 308);
  glow(sp.img, 32, 28, 30, hex(0xfffff0), 0.5);
  Look lk = octavian_look();
  lk.robe = true;
  lk.robe_ramp = kWhite;
  lk.top = kWhite;
  lk.sleeves = kWhite;
  lk.eyes = Eyes::Closed;
  sp.paint(sp.poly({{22, 29}, {42, 29}, {52, 58}, {12, 58}}), kCrimson, {Shade::CylX});
  sp.paint(sp.ellipse(32, 30, 12, 3.6), kCream, {Shade::Sphere, true, 0.1});
  for (double x = 23; x < 42; x += 4) sp.dot(x, 30, kInk, 1, 1);
  draw_hair_back(sp, lk);
  draw_robe(sp, lk, 1);
  for (double y = 36; y < 56; y += 4) sp.dot(31, y, kGold[3], 2, 2);
  draw_torso(sp, lk);
  draw_arm(sp, kShoulderL, {23, 40}, lk.sleeves);
  draw_arm(sp, kShoulderR, {42, 38}, lk.sleeves);
  // The sceptre.
  prop_stick(sp, {43, 50}, {45, 18}, kGold, 1.1);
  prop_orb(sp, {45.2, 16}, 2.6, kBlue, hex(0xc0e0ff));
  draw_hand(sp, {23, 40}, lk.hands);
  draw_hand(sp, {42, 38}, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  // The crown.
  sp.paint(sp.poly({{23, 13}, {23, 5}, {27, 9}, {32, 3}, {37, 9}, {41, 5}, {41, 13}}), kGold, {Shade::Bevel, true, 0.05});
  sp.paint(sp.circle(32, 10, 1.6), kRed, {Shade::Flat, true, 0, 0, 3});
  sparkle(sp.img, 10, 12, 2, hex(0xffffff), kGold[3]);
  sparkle(sp.img, 54, 30, 2, hex(0xffffff), kGold[3]);
  sparkle(sp.img, 12, 44, 1, hex(0xffffff), kGold[3]);
  return sp.img;
}

// 9 ロラン: a young knight of the road, green cloak, sword at the hip and a horn raised.
Image roland() {
  Sprite sp = figure_stage(hex(0xe4f0d0), hex(0x88a870), kLeather, 309);
  Look lk;
  lk.hair = kHairBrown;
  lk.hair_style = Hair::Short;
  lk.iris = hex(0x3a6a2a);
  lk.top = kSteel;
  lk.armour = true;
  lk.sleeves = kGreen;
  lk.legs = kLeather;
  lk.boots = kWood;
  lk.hands = kLeather;
  draw_cape(sp, kGreen, 1.0, 55);
  draw_legs(sp, lk);
  draw_torso(sp, lk);
  draw_belt(sp, kLeather);
  prop_sword(sp, {22, 42}, -0.2, 1, 12, kSteel, kGold, 1.0);
  draw_arm(sp, kShoulderL, {22, 42}, lk.sleeves);
  draw_arm(sp, kShoulderR, {42, 28}, lk.sleeves);
  draw_hand(sp, {22, 42}, lk.hands);
  // The horn raised high.
  sp.paint(sp.capsule({42, 27}, {50, 17}, 1.2, 2.8), kCream, {Shade::Sphere});
  sp.paint(sp.ellipse(50.5, 16.5, 3, 3.4), kGold, {Shade::Sphere});
  sp.fill(sp.circle(50.8, 16.2, 1.4), kGold[1]);
  draw_hand(sp, {42, 28}, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  for (int k = 0; k < 3; ++k) sp.line({54, 11.5 + k * 3.0}, {57, 10 + k * 3.5}, kGold[4]);
  return sp.img;
}

}  // namespace

Image figure_strip() {
  Image strip(640, 64);
  const Image cells[10] = {googoo(), vision(), shooting_flower(), macbeth(), octavian(), hajime_robot(),
                           ichigo(), harry(), octavian_queen(), roland()};
  for (int k = 0; k < 10; ++k) strip.blit(cells[k], 64 * k, 0);
  return strip;
}

}  // namespace art
