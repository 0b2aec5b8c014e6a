// The opponents met on the roads, one picture per class. The battle screen shows the 64 × 64
// picture stretched about three times, so every class is told apart by its silhouette first
// (hats, weapons, beasts) and by its colours second.
#include <cmath>
#include <numbers>

#include "art.hpp"
#include "sprite.hpp"

namespace art {

namespace {

using namespace pal;
constexpr double kPi = std::numbers::pi;

// The road at dusk behind every ordinary opponent: the same backdrop for all of them, so that
// the figure is what changes from battle to battle.
Image road_backdrop(uint64_t seed) {
  Image bg(64, 64);
  vbands(bg, 0, 0, 64, 40, {hex(0x17142c), hex(0x1f1c3c), hex(0x29284f), hex(0x343863), hex(0x414d77)}, 0.22);
  Rng rng(seed);
  for (int k = 0; k < 9; ++k) {
    const int x = rng.below(64), y = rng.below(24);
    bg.put(x, y, k % 3 == 0 ? hex(0xfff2c0) : hex(0x9aa4d0));
  }
  // Far hills, then the near ground with a lighter path running towards us.
  for (int x = 0; x < 64; ++x) {
    const double top = 35 + 2.5 * std::sin(x * 0.11 + 1.3) + 1.5 * std::sin(x * 0.27);
    for (int y = static_cast<int>(top); y < 42; ++y) bg.put(x, y, hex(0x262c4a));
  }
  vbands(bg, 0, 41, 64, 64, {hex(0x28323c), hex(0x2f3b40), hex(0x364544), hex(0x3d4d47)}, 0.22);
  for (int y = 41; y < 64; ++y) {
    const double half = 4 + (y - 41) * 0.9;
    for (int x = 0; x < 64; ++x) {
      const double d = std::abs(x + 0.5 - 32) / half;
      if (d < 1 && (d < 0.85 || bayer(x, y) > 0.5)) bg.put(x, y, y < 50 ? hex(0x3c4248) : hex(0x454a4e));
    }
  }
  // Tufts of grass beside the path.
  for (int k = 0; k < 10; ++k) {
    const int x = rng.below(64), y = 44 + rng.below(19);
    if (std::abs(x - 32) < 6 + (y - 41)) continue;
    bg.put(x, y, hex(0x4c6048));
    bg.put(x + 1, y - 1, hex(0x5a7452));
    bg.put(x + 2, y, hex(0x4c6048));
  }
  return bg;
}

Sprite stage(uint64_t seed, double shadow_rx = 14) {
  Image bg = road_backdrop(seed);
  draw_shadow(bg, 32, 58.5, shadow_rx, 3.2);
  return Sprite(std::move(bg));
}

void headband(Sprite& sp, const Ramp& r, bool tails) {
  sp.paint(sp.box(21.4, 13.2, 42.6, 15.6), r, {Shade::Flat, true, 0, 0, 2});
  sp.dot(22, 13.2, r[3], 20, 1);
  if (tails) {
    sp.paint(sp.poly({{41, 14}, {47.5, 11}, {46.5, 14.5}}), r, {Shade::Flat, true, 0, 0, 2});
    sp.paint(sp.poly({{41, 15}, {48, 17.5}, {45.5, 19}}), r, {Shade::Flat, true, 0, 0, 1});
  }
}

// ---- the classes --------------------------------------------------------------------------

// 0 trainee: a beginner in a plain tunic with a wooden practice stick.
Image trainee() {
  Sprite sp = stage(100);
  Look lk;
  lk.hair = kHairBrown;
  lk.top = kCream;
  lk.sleeves = kCream;
  lk.legs = kLeather;
  lk.boots = kWood;
  const Pt hl{22.5, 41}, hr{42, 37};
  draw_legs(sp, lk);
  draw_torso(sp, lk);
  draw_belt(sp, kWood);
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  prop_stick(sp, {37.5, 47}, {51, 18}, kWood, 1.5);
  draw_hand(sp, hl, lk.hands);
  draw_hand(sp, hr, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  headband(sp, kRed, true);
  // A bandage on the cheek: still learning.
  sp.dot(37, 23.5, kCream[4], 2.5, 1.5);
  return sp.img;
}

// 1 fighter: bare-armed, fists up, feet apart.
Image fighter() {
  Sprite sp = stage(101, 15);
  Look lk;
  lk.skin = kSkinTan;
  lk.hair = kHairBlack;
  lk.hair_style = Hair::Spiky;
  lk.eyes = Eyes::Angry;
  lk.top = kWhite;
  lk.legs = kWhite;
  lk.boots = kSkinTan;
  lk.sleeves = kSkinTan;
  lk.hands = kCream;
  const Pt hl{25, 35}, hr{39.5, 32.5};
  draw_legs(sp, lk, 2.5);
  draw_torso(sp, lk);
  // An open gi: skin and a strong chest down the middle.
  sp.paint(sp.poly({{29, 29.6}, {35, 29.6}, {33, 40}, {31, 40}}), kSkinTan, {Shade::CylX, false});
  draw_belt(sp, kDark);
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  headband(sp, kRed, true);
  // Wrapped fists, the nearer one bigger.
  draw_hand(sp, hl, lk.hands, 3.4);
  draw_hand(sp, hr, lk.hands, 3.8);
  sp.dot(38, 32, kCream[1], 3, 1);
  sp.dot(23.5, 34.5, kCream[1], 3, 1);
  return sp.img;
}

// 2 swordsman: a travelling blade with a short cape.
Image swordsman() {
  Sprite sp = stage(102);
  Look lk;
  lk.hair = kHairBrown;
  lk.hair_style = Hair::Messy;
  lk.eyes = Eyes::Angry;
  lk.iris = hex(0x2a4a8a);
  lk.top = kBlue;
  lk.sleeves = kBlue;
  lk.legs = kNavy;
  lk.hands = kLeather;
  const Pt hl{22.5, 41}, hr{42.5, 36};
  draw_cape(sp, kRed, 0.85, 50);
  draw_legs(sp, lk);
  draw_torso(sp, lk);
  sp.paint(sp.ellipse(40, 31.5, 3.8, 3), kSteel, {Shade::Sphere});
  draw_belt(sp, kLeather);
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  prop_sword(sp, hr, 0.4, -1, 25, kSteel);
  draw_hand(sp, hl, lk.hands);
  draw_hand(sp, hr, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  return sp.img;
}

// 3 machinist: overalls, goggles pushed up, a big wrench and a gear on the back.
Image machinist() {
  Sprite sp = stage(103);
  Look lk;
  lk.hair = kHairBlond;
  lk.hair_style = Hair::Short;
  lk.top = kOrange;
  lk.legs = kOrange;
  lk.sleeves = kCream;
  lk.hands = kLeather;
  lk.boots = kDark;
  const Pt hl{23, 40.5}, hr{42.5, 37};
  prop_gear(sp, {16.5, 33}, 8.5, 8, kGold, 0.1);
  draw_legs(sp, lk);
  draw_torso(sp, lk);
  // Overall bib and straps over a cream shirt.
  sp.paint(sp.box(27, 33, 37, 40), kOrange, {Shade::Bevel});
  sp.dot(27.5, 29.5, kOrange[1], 1.5, 4);
  sp.dot(35.5, 29.5, kOrange[1], 1.5, 4);
  sp.dot(28, 33.5, kGold[3]);
  sp.dot(36, 33.5, kGold[3]);
  draw_belt(sp, kLeather, 41.5);
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  // The wrench: a bar with an open jaw at the top.
  prop_stick(sp, {40, 45}, {47.5, 23}, kSteel, 1.4);
  Mask jaw = sp.circle(48.5, 20.5, 4) - sp.box(47.2, 14, 50, 20.5);
  sp.paint(jaw, kSteel, {Shade::Sphere});
  draw_hand(sp, hl, lk.hands);
  draw_hand(sp, hr, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  sp.dot(27, 25.5, kDark[2], 2, 1);  // a smudge of oil
  draw_hair_front(sp, lk);
  // Goggles on the forehead.
  sp.paint(sp.box(20.8, 12, 43.2, 15), kLeather, {Shade::Flat, true, 0, 0, 1});
  sp.paint(sp.circle(27, 12.5, 4.2) | sp.circle(37, 12.5, 4.2), kSteel, {Shade::Sphere});
  sp.paint(sp.circle(27, 12.5, 2.7), kGlass, {Shade::Sphere, false, 0.1});
  sp.paint(sp.circle(37, 12.5, 2.7), kGlass, {Shade::Sphere, false, 0.1});
  return sp.img;
}

// 4 magician: the pointed hat, a long robe and a staff with a glowing orb.
Image magician() {
  Sprite sp = stage(104);
  Look lk;
  lk.hair = kHairSilver;
  lk.hair_style = Hair::Long;
  lk.robe = true;
  lk.robe_ramp = kPurple;
  lk.top = kPurple;
  lk.sleeves = kPurple;
  lk.iris = hex(0x6a2a9a);
  lk.boots = kDark;
  const Pt hl{23, 37}, hr{43, 38};
  draw_hair_back(sp, lk);
  draw_robe(sp, lk, 1);
  draw_torso(sp, lk);
  sp.paint(sp.box(30.5, 30, 33.5, 56), kGold, {Shade::CylX, true});
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  prop_stick(sp, {44.5, 57}, {46, 15}, kWood, 1.3);
  draw_hand(sp, hl, lk.hands);
  draw_hand(sp, hr, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  prop_wizard_hat(sp, kPurple, kGold, 1.1);
  prop_star(sp, {36, 7}, 2.2, kGold);
  prop_orb(sp, {46, 12}, 3.4, kBlue, kMagic);
  sparkle(sp.img, 18, 30, 2, hex(0xffffff), kMagic);
  return sp.img;
}

// 5 poisoner: hooded, masked, with a bubbling flask.
Image poisoner() {
  Sprite sp = stage(105);
  Look lk;
  lk.hair = kHairBlack;
  lk.hair_style = Hair::None;
  lk.eyes = Eyes::Angry;
  lk.iris = hex(0xa8d030);
  lk.robe = true;
  lk.robe_ramp = kMoss;
  lk.top = kMoss;
  lk.sleeves = kMoss;
  lk.hands = kPlum;
  lk.mouth = false;
  lk.blush = false;
  const Pt hl{22, 42}, hr{43, 35};
  prop_hood(sp, kMoss, true);
  draw_robe(sp, lk);
  draw_torso(sp, lk);
  draw_belt(sp, kLeather, 40);
  // Little vials on the belt.
  for (const double x : {26.0, 35.0}) sp.paint(sp.box(x, 41.5, x + 2.5, 45), kPoison, {Shade::Flat, true, 0, 0, 3});
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  draw_head(sp, lk);
  draw_face(sp, lk);
  // A cloth mask over nose and mouth.
  sp.paint(sp.poly({{22.5, 24.5}, {41.5, 24.5}, {40, 29}, {32, 31}, {24, 29}}), kPlum, {Shade::CylX});
  prop_hood(sp, kMoss, false);
  draw_hand(sp, hl, lk.hands);
  prop_flask(sp, {47, 31}, 4.5, kPoison);
  draw_hand(sp, hr, lk.hands);
  // Bubbles rising from the flask.
  sp.dot(47, 21, kPoison[3], 1, 1);
  sp.dot(49, 18, kPoison[4], 1, 1);
  sp.dot(46, 15, kPoison[3], 1, 1);
  return sp.img;
}

// 6 magic swordsman: dark armour, long hair and a blade of cold light.
Image magic_swordsman() {
  Sprite sp = stage(106);
  Look lk;
  lk.hair = kHairBlack;
  lk.hair_style = Hair::Long;
  lk.eyes = Eyes::Narrow;
  lk.iris = hex(0x40c8e8);
  lk.top = kPlum;
  lk.armour = true;
  lk.sleeves = kPlum;
  lk.legs = kDark;
  lk.boots = kDark;
  lk.hands = kDark;
  lk.blush = false;
  const Pt hl{22.5, 41}, hr{41.5, 38};
  draw_cape(sp, kNavy, 1.0, 56);
  draw_hair_back(sp, lk);
  draw_legs(sp, lk);
  draw_torso(sp, lk);
  draw_belt(sp, kDark);
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  // The blade held low and forward, wrapped in its light.
  const Pt h = sp.P(hr);
  glow(sp.img, h.x + 9, h.y - 11, 16, kMagic, 0.55);
  prop_sword(sp, hr, 0.62, -0.78, 25, kGlass, kPurple, 1.8);
  draw_hand(sp, hl, lk.hands);
  draw_hand(sp, hr, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  sparkle(sp.img, 52, 11, 2, hex(0xffffff), kMagic);
  sparkle(sp.img, 45, 25, 1, hex(0xffffff), kMagic);
  return sp.img;
}

// 7 curser: a shadowed hood, red eyes, talismans and a pinned straw doll.
Image curser() {
  Sprite sp = stage(107);
  Look lk;
  lk.skin = kSkinPale;
  lk.hair_style = Hair::None;
  lk.robe = true;
  lk.robe_ramp = kCloth;
  lk.top = kCloth;
  lk.sleeves = kCloth;
  lk.hands = kSkinPale;
  lk.blush = false;
  lk.mouth = false;
  const Pt hl{22.5, 37}, hr{43, 40};
  prop_hood(sp, kCloth, true);
  draw_robe(sp, lk, 2);
  draw_torso(sp, lk);
  // Talismans down the robe.
  for (const double x : {26.0, 33.5}) {
    sp.paint(sp.box(x, 38, x + 3.5, 46), kCream, {Shade::Flat, true, 0, 0, 3});
    sp.dot(x + 1, 39, kRed[2], 1.5, 1);
    sp.dot(x + 1.5, 41, kRed[2], 0.8, 3);
  }
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  draw_head(sp, lk);
  // The face sinks into the hood's shadow; only the eyes burn.
  Mask face = sp.ellipse(32, 20, 10.2, 9.8);
  face.keep([&](double, double y) { return (y - sp.oy) / sp.s < 22.5; });
  sp.fill(face, kCloth[1]);
  sp.dot(27, 21, kEvilRed, 2, 1.5);
  sp.dot(35, 21, kEvilRed, 2, 1.5);
  glow(sp.img, 28, 21.5, 4, kEvilRed, 0.4);
  glow(sp.img, 36, 21.5, 4, kEvilRed, 0.4);
  sp.dot(29.5, 26.5, kSkinPale[1], 5, 1);  // a thin grin
  prop_hood(sp, kCloth, false);
  // The straw doll, held up, with its nail.
  sp.paint(sp.ellipse(19, 32, 3, 3) | sp.box(17, 33, 21, 41) | sp.capsule({14.5, 36}, {23.5, 36}, 1.2), kGold, {Shade::Sphere, true, -0.1});
  sp.dot(18, 31, kInk, 1, 1);
  sp.dot(20, 31, kInk, 1, 1);
  sp.line({23, 34}, {15, 38}, kSteel[3]);
  draw_hand(sp, hl, lk.hands);
  draw_hand(sp, hr, lk.hands);
  return sp.img;
}

// 8 fortune-teller: veiled, with a crystal ball between the hands.
Image fortune_teller() {
  Sprite sp = stage(108);
  Look lk;
  lk.hair = kHairBlack;
  lk.hair_style = Hair::Long;
  lk.eyes = Eyes::Sleepy;
  lk.robe = true;
  lk.robe_ramp = kPlum;
  lk.top = kPlum;
  lk.sleeves = kPink;
  lk.hands = kSkin;
  const Pt hl{26, 43}, hr{38, 43};
  // A scarf hanging down the back, behind the hair.
  sp.paint(sp.poly({{20, 16}, {44, 16}, {47, 42}, {17, 42}}), kTeal, {Shade::CylX, true, -0.15});
  draw_hair_back(sp, lk);
  draw_robe(sp, lk, 2);
  draw_torso(sp, lk);
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  // The scarf over the crown, with a row of gold coins along its edge and a jewel.
  Mask veil = sp.ellipse(32, 17.5, 12.3, 10.5);
  veil.keep([&](double, double y) { return (y - sp.oy) / sp.s < 14.5; });
  sp.paint(veil, kTeal, {Shade::Sphere, true, 0.0});
  for (double x = 21.5; x <= 42; x += 3) sp.paint(sp.circle(x, 15, 1.1), kGold, {Shade::Flat, false, 0, 0, 3});
  sp.paint(sp.circle(32, 11.5, 1.6), kRed, {Shade::Flat, true, 0, 0, 3});
  // A veil across the mouth.
  sp.paint(sp.poly({{24, 25}, {40, 25}, {38, 29.5}, {32, 31}, {26, 29.5}}), kPink, {Shade::Flat, true, 0, 0, 3});
  sp.dot(26, 25, kPink[4], 12, 1);
  // The ball on a little stand, lit from within.
  sp.paint(sp.poly({{28, 48}, {36, 48}, {38, 51}, {26, 51}}), kGold, {Shade::Bevel});
  prop_orb(sp, {32, 42.5}, 5.5, kPurple, hex(0xd0a0ff));
  sp.dot(31, 42, kPink[4], 2, 1);
  draw_hand(sp, hl, lk.hands, 2.4);
  draw_hand(sp, hr, lk.hands, 2.4);
  sparkle(sp.img, 17, 40, 1, hex(0xffffff), hex(0xd0a0ff));
  sparkle(sp.img, 47, 45, 1, hex(0xffffff), hex(0xd0a0ff));
  return sp.img;
}

// 9 hypnotist: a top hat, swirling spectacles and a swirl disc on a stick.
Image hypnotist() {
  Sprite sp = stage(109);
  Look lk;
  lk.hair = kHairBlack;
  lk.hair_style = Hair::Short;
  lk.top = kCloth;
  lk.sleeves = kCloth;
  lk.legs = kCloth;
  lk.boots = kDark;
  lk.hands = kWhite;
  lk.blush = false;
  const Pt hl{23, 40}, hr{43, 34};
  draw_legs(sp, lk);
  draw_torso(sp, lk);
  // White shirt front and a red bow tie.
  sp.paint(sp.poly({{29, 29.6}, {35, 29.6}, {33.5, 42}, {30.5, 42}}), kWhite, {Shade::Flat, false, 0, 0, 3});
  sp.paint(sp.poly({{28.5, 29.5}, {32, 31.2}, {35.5, 29.5}, {35.5, 33.5}, {32, 31.8}, {28.5, 33.5}}), kRed, {Shade::Flat, true, 0, 0, 2});
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  prop_stick(sp, {43.5, 35}, {47.5, 22}, kDark, 0.9);
  prop_swirl(sp, {48, 17}, 6.5, kPink[2], kWhite[4], 2.8);
  draw_hand(sp, hl, lk.hands);
  draw_hand(sp, hr, lk.hands);
  draw_head(sp, lk);
  lk.eyes = Eyes::Closed;
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  // Round spectacles, each a tiny swirl.
  for (const double ex : {27.0, 37.0}) {
    sp.fill(sp.circle(ex, 21.5, 3.4), kWhite[4]);
    outline(sp.img, sp.circle(ex, 21.5, 3.4), kInk);
    sp.fill(sp.ring(ex, 21.5, 2.3, 1.4), kPink[1]);
    sp.dot(ex - 0.5, 21, kInk, 1, 1);
  }
  sp.dot(30.4, 21, kInk, 3.2, 1);
  // A curled moustache.
  sp.paint(sp.poly({{28, 25}, {32, 24}, {36, 25}, {37.5, 23.5}, {36.5, 26.2}, {32, 25.5}, {27.5, 26.2}, {26.5, 23.5}}), kHairBlack,
           {Shade::Flat, false, 0, 0, 1});
  // The top hat.
  sp.paint(sp.box(24.5, -1, 39.5, 11.5), kCloth, {Shade::CylX});
  sp.paint(sp.box(24.5, 7.5, 39.5, 10.5), kRed, {Shade::Flat, false, 0, 0, 2});
  sp.paint(sp.ellipse(32, 11.8, 14, 2.4), kCloth, {Shade::Sphere, true, 0.1});
  return sp.img;
}

// 10 dragon master: a leather-clad handler and the little red dragon that follows.
Image dragon_master() {
  Sprite sp = stage(110);
  Look lk;
  lk.hair = kHairBrown;
  lk.hair_style = Hair::Spiky;
  lk.eyes = Eyes::Normal;
  lk.iris = hex(0x8a3a10);
  lk.top = kLeather;
  lk.sleeves = kLeather;
  lk.legs = kMoss;
  lk.boots = kWood;
  lk.hands = kLeather;
  const Pt hl{21, 30}, hr{41, 41};
  draw_legs(sp, lk);
  draw_torso(sp, lk);
  draw_belt(sp, kWood);
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  // A coiled whip at the hip.
  sp.paint(sp.ring(41.5, 44, 3.2, 1.8), kWood, {Shade::Flat, true, 0, 0, 2});
  draw_hand(sp, hl, lk.hands);
  draw_hand(sp, hr, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  // A green scarf.
  sp.paint(sp.poly({{24, 28}, {40, 28}, {39, 31}, {25, 31}}) | sp.poly({{36, 29}, {42, 37}, {38.5, 38}}), kGreen, {Shade::CylX});
  // The dragon, flying over the raised hand.
  prop_dragon(sp, {50, 13.5}, 1.25, kRed, kGold, true);
  return sp.img;
}

// 11 summoner: standing in a glowing circle, book open, a spirit called above the hand.
Image summoner() {
  Image bg = road_backdrop(111);
  Sprite sp(std::move(bg));
  prop_magic_circle(sp, {32, 57}, 20, 5, hex(0x60e0d0));
  Look lk;
  lk.hair = kHairSilver;
  lk.hair_style = Hair::Bob;
  lk.iris = hex(0x2a8a8a);
  lk.robe = true;
  lk.robe_ramp = kWhite;
  lk.top = kWhite;
  lk.sleeves = kTeal;
  const Pt hl{23, 40}, hr{43, 28};
  draw_hair_back(sp, lk);
  draw_robe(sp, lk, 1);
  draw_torso(sp, lk);
  sp.paint(sp.box(30, 30, 34, 56), kTeal, {Shade::CylX});
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  prop_book(sp, {21, 42}, kTeal);
  draw_hand(sp, hl, lk.hands, 2.3);
  draw_hand(sp, hr, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  // A circlet with a green stone.
  sp.paint(sp.box(21.5, 13.5, 42.5, 15), kGold, {Shade::Flat, true, 0, 0, 3});
  sp.paint(sp.circle(32, 14, 1.6), kTeal, {Shade::Flat, true, 0, 0, 4});
  // The summoned wisp: a teardrop of light with two eyes.
  const Pt w = sp.P(47, 15);
  glow(sp.img, w.x, w.y, 11, hex(0x80ffe0), 0.6);
  sp.paint(sp.circle(47, 16, 4.2) | sp.poly({{43.2, 14.5}, {50.8, 14.5}, {47.5, 6}}), kTeal, {Shade::Sphere, true, 0.25});
  sp.dot(45.5, 16, kInk, 1, 1.5);
  sp.dot(48.5, 16, kInk, 1, 1.5);
  return sp.img;
}

// 12 white knight: shining plate, a closed helm with a blue plume, shield and sword.
Image white_knight() {
  Sprite sp = stage(112, 15);
  Look lk;
  lk.top = kWhite;
  lk.armour = true;
  lk.sleeves = kWhite;
  lk.legs = kSteel;
  lk.boots = kWhite;
  lk.hands = kSteel;
  const Pt hl{22, 40}, hr{43, 37};
  draw_cape(sp, kBlue, 1.0, 56);
  draw_legs(sp, lk);
  draw_torso(sp, lk);
  draw_belt(sp, kGold);
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  prop_sword(sp, hr, 0.18, -1, 26, kSteel, kGold, 1.7);
  draw_hand(sp, hr, lk.hands);
  // The plume, then the helm.
  sp.paint(sp.capsule({32, 8}, {38, 1.5}, 2.8, 1.5) | sp.capsule({38, 1.5}, {44, 4}, 1.5, 0.8), kBlue, {Shade::Sphere});
  prop_helmet(sp, kWhite, kGold, 0);
  prop_shield(sp, {21, 42}, 7, 9, kWhite, kGold);
  sp.paint(sp.box(20, 35.5, 22, 48), kBlue, {Shade::Flat, false, 0, 0, 2});
  sp.paint(sp.box(15.5, 39, 26.5, 41), kBlue, {Shade::Flat, false, 0, 0, 2});
  return sp.img;
}

// 13 dark knight: black spiked plate, burning eyes, a huge dark blade and a torn red cape.
Image dark_knight() {
  Sprite sp = stage(113, 16);
  Look lk;
  lk.top = kDark;
  lk.armour = true;
  lk.sleeves = kDark;
  lk.legs = kDark;
  lk.boots = kDark;
  lk.hands = kDark;
  const Pt hl{23, 39}, hr{38, 40};
  draw_cape(sp, kCrimson, 1.15, 57);
  draw_legs(sp, lk, 1.5);
  draw_torso(sp, lk);
  // Spikes on the pauldrons.
  sp.paint(sp.poly({{19, 30}, {21.5, 24}, {24, 29}}) | sp.poly({{40, 29}, {42.5, 24}, {45, 30}}), kSteel, {Shade::Bevel});
  draw_belt(sp, kCrimson);
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  const Pt h = sp.P(hr);
  glow(sp.img, h.x + 8, h.y - 12, 14, kEvilRed, 0.25);
  prop_sword(sp, hr, 0.55, -0.83, 28, kBlackSteel, kCrimson, 2.4);
  draw_hand(sp, hl, lk.hands);
  draw_hand(sp, hr, lk.hands);
  prop_helmet(sp, kDark, kCrimson, 0);
  sp.paint(sp.poly({{22, 14}, {17, 5}, {24.5, 11}}) | sp.poly({{42, 14}, {47, 5}, {39.5, 11}}), kSteel, {Shade::Bevel});
  sp.dot(27, 20.5, kEvilRed, 2.5, 1);
  sp.dot(34.5, 20.5, kEvilRed, 2.5, 1);
  glow(sp.img, 28.5, 21, 4, kEvilRed, 0.5);
  glow(sp.img, 36, 21, 4, kEvilRed, 0.5);
  return sp.img;
}

// 14 dragon knight: scaled green armour, a dragon helm and a long lance with a pennant.
Image dragon_knight() {
  Sprite sp = stage(114, 15);
  Look lk;
  lk.hair = kHairBlond;
  lk.hair_style = Hair::Short;
  lk.eyes = Eyes::Angry;
  lk.top = kTeal;
  lk.armour = true;
  lk.sleeves = kTeal;
  lk.legs = kNavy;
  lk.boots = kTeal;
  lk.hands = kGold;
  const Pt hl{22, 41}, hr{43, 39};
  // Wing-like plates rising behind the shoulders.
  sp.paint(sp.poly({{23, 32}, {10, 20}, {13, 30}, {9, 33}, {16, 38}}), kTeal, {Shade::Bevel, true, -0.1});
  sp.paint(sp.poly({{41, 32}, {54, 20}, {51, 30}, {55, 33}, {48, 38}}), kTeal, {Shade::Bevel, true, -0.1});
  draw_legs(sp, lk);
  draw_torso(sp, lk);
  // Scales on the chest plate.
  for (double y = 33; y < 40; y += 2.5)
    for (double x = 28.5 + (int(y) % 2); x < 36; x += 3) sp.dot(x, y, kTeal[1], 2, 1);
  draw_belt(sp, kGold);
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  prop_spear(sp, {45, 58}, {46.5, 3}, kWood, kSteel);
  sp.paint(sp.poly({{46.2, 11}, {55, 13}, {46.2, 16}}), kRed, {Shade::Flat, true, 0, 0, 2});
  draw_hand(sp, hl, lk.hands);
  draw_hand(sp, hr, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  prop_helmet(sp, kTeal, kGold, 2);
  return sp.img;
}

// 15 goat soldier: a goat-headed footman with curled horns, leather armour and a spear.
Image goat_soldier() {
  Sprite sp = stage(115);
  Look lk;
  lk.top = kLeather;
  lk.armour = true;
  lk.sleeves = kCream;
  lk.legs = kMoss;
  lk.boots = kDark;
  lk.hands = kCream;
  const Pt hl{22.5, 41}, hr{42, 38};
  draw_legs(sp, lk);
  draw_torso(sp, lk);
  draw_belt(sp, kWood);
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  prop_spear(sp, {41, 58}, {45, 4}, kWood, kSteel);
  draw_hand(sp, hl, lk.hands);
  draw_hand(sp, hr, lk.hands);
  // The goat's head: floppy ears, a long face and a beard.
  sp.paint(sp.rellipse(19, 19, 5.5, 2.4, 0.45), kCream, {Shade::Sphere});
  sp.paint(sp.rellipse(45, 19, 5.5, 2.4, -0.45), kCream, {Shade::Sphere});
  sp.paint(sp.poly({{29.5, 29}, {34.5, 29}, {32, 35}}), kCream, {Shade::Flat, true, 0, 0, 3});
  sp.paint(sp.ellipse(32, 17.5, 8.5, 8) | sp.ellipse(32, 25, 5.6, 5), kCream, {Shade::Sphere, true, 0.05});
  sp.dot(29.5, 27.5, kCream[0], 1, 1);
  sp.dot(33.5, 27.5, kCream[0], 1, 1);
  sp.dot(31, 29.5, kCream[1], 2, 1);
  // Yellow eyes with a goat's flat pupil.
  for (const double ex : {25.5, 36.0}) {
    sp.dot(ex, 18.5, kGold[3], 2.5, 2);
    sp.dot(ex, 19, kInk, 2.5, 1);
  }
  prop_horns(sp, kStone, 0.8);
  return sp.img;
}

// 16 sect soldier: the robes and white mask of the Eight Lands, with a halberd.
Image sect_soldier() {
  Sprite sp = stage(116);
  Look lk;
  lk.robe = true;
  lk.robe_ramp = kCrimson;
  lk.top = kCrimson;
  lk.sleeves = kCrimson;
  lk.hands = kCloth;
  lk.hair_style = Hair::None;
  const Pt hl{23, 40}, hr{42, 39};
  prop_hood(sp, kCloth, true);
  draw_robe(sp, lk, 1.5);
  draw_torso(sp, lk);
  // A black tabard with the eight-pointed sign in gold.
  sp.paint(sp.box(27, 31, 37, 56.5), kCloth, {Shade::CylX});
  {
    std::vector<Pt> star;
    for (int k = 0; k < 16; ++k) {
      const double a = k * kPi / 8, r = (k & 1) ? 1.6 : 3.8;
      star.push_back({32 + std::cos(a) * r, 38 + std::sin(a) * r});
    }
    sp.paint(sp.poly(star), kGold, {Shade::Flat, true, 0, 0, 3});
  }
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  prop_spear(sp, {42, 58}, {45, 5}, kDark, kSteel);
  sp.paint(sp.poly({{44.3, 12}, {51, 10}, {52, 15}, {44.6, 16}}), kSteel, {Shade::Bevel});
  draw_hand(sp, hl, lk.hands);
  draw_hand(sp, hr, lk.hands);
  // The mask, expressionless, in the hood.
  sp.paint(sp.ellipse(32, 21, 8.8, 9.6), kWhite, {Shade::Sphere, true, 0.1});
  sp.fill(sp.poly({{25.5, 20}, {29.5, 21}, {29.5, 22.5}, {26, 22}}), kInk);
  sp.fill(sp.poly({{38.5, 20}, {34.5, 21}, {34.5, 22.5}, {38, 22}}), kInk);
  sp.dot(31.5, 14.5, kCrimson[2], 1, 3);
  sp.dot(30.5, 15.5, kCrimson[2], 3, 1);
  prop_hood(sp, kCloth, false);
  return sp.img;
}

// 17 specialist: a long dark coat, a red scarf in the wind, dark glasses and twin knives.
Image specialist() {
  Sprite sp = stage(117);
  Look lk;
  lk.hair = kHairSilver;
  lk.hair_style = Hair::Spiky;
  lk.top = kNavy;
  lk.sleeves = kNavy;
  lk.legs = kCloth;
  lk.boots = kDark;
  lk.hands = kCloth;
  lk.blush = false;
  lk.mouth = true;
  const Pt hl{21, 37}, hr{43, 37};
  // The scarf's tail streams out behind.
  sp.paint(sp.poly({{36, 29}, {50, 26}, {56, 30}, {51, 31}, {55, 35}, {42, 33}}), kCrimson, {Shade::CylY});
  draw_legs(sp, lk, 1);
  // The coat's long skirts.
  sp.paint(sp.poly({{24, 40}, {40, 40}, {44, 53}, {36.5, 52}, {32, 45}, {27.5, 52}, {20, 53}}), kNavy, {Shade::CylX, true, -0.05});
  draw_torso(sp, lk);
  sp.paint(sp.poly({{30, 29.6}, {34, 29.6}, {32.6, 44}, {31.4, 44}}), kCloth, {Shade::Flat, false, 0, 0, 2});
  draw_belt(sp, kDark, 40);
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  // Knives held point-down along the forearms.
  prop_sword(sp, {hl.x, hl.y - 1}, -0.35, 1, 9, kSteel, kDark, 1.1);
  prop_sword(sp, {hr.x, hr.y - 1}, 0.35, 1, 9, kSteel, kDark, 1.1);
  draw_hand(sp, hl, lk.hands);
  draw_hand(sp, hr, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  // Dark glasses with a glint.
  sp.paint(sp.box(24, 19.5, 40, 23.5) - sp.box(30.5, 21.5, 33.5, 23.5), kDark, {Shade::Flat, true, 0, 0, 1});
  sp.dot(25.5, 20.5, kSteel[4], 2, 1);
  sp.dot(35, 20.5, kSteel[4], 2, 1);
  sp.paint(sp.poly({{24, 27.5}, {40, 27.5}, {41, 31}, {23, 31}}), kCrimson, {Shade::CylX});
  return sp.img;
}

// 18 fairy: small and hovering, glass wings, a flower wand and a trail of sparkles.
Image fairy() {
  Image bg = road_backdrop(118);
  draw_shadow(bg, 32, 58.5, 7, 1.8, 0.3);
  Sprite sp(std::move(bg), 6.4, 1, 0.8);
  glow(sp.img, 32, 30, 24, hex(0xffd0f0), 0.35);
  Look lk;
  lk.hair = kHairBlond;
  lk.hair_style = Hair::Twin;
  lk.iris = hex(0x3a8a5a);
  lk.robe = true;
  lk.robe_ramp = kPink;
  lk.top = kPink;
  lk.sleeves = kSkin;
  lk.boots = kGreen;
  const Pt hl{20.5, 30}, hr{43, 38};
  prop_wings(sp, kGlass, {32, 30}, 1.25);
  draw_hair_back(sp, lk);
  // A short petal dress, and dangling legs: she does not touch the ground.
  sp.paint(sp.capsule({29, 44}, {28, 52}, 2, 1.6) | sp.capsule({35, 44}, {37, 51}, 2, 1.6), kSkin, {Shade::CylX});
  sp.paint(sp.ellipse(28, 53, 2.6, 1.8) | sp.ellipse(37.5, 52, 2.6, 1.8), kGreen, {Shade::Sphere});
  sp.paint(sp.poly({{24.5, 30}, {39.5, 30}, {46, 46}, {40, 44}, {36, 48}, {32, 45}, {28, 48}, {24, 44}, {18, 46}}), kPink, {Shade::CylX});
  draw_torso(sp, lk);
  draw_arm(sp, kShoulderL, hl, lk.sleeves);
  draw_arm(sp, kShoulderR, hr, lk.sleeves);
  prop_stick(sp, {19.5, 33}, {17, 17}, kGreen, 1.0);
  prop_flower(sp, {16.5, 14.5}, 4.5, kCloud, kGold);
  draw_hand(sp, hl, lk.hands);
  draw_hand(sp, hr, lk.hands);
  draw_head(sp, lk);
  lk.eyes = Eyes::Normal;
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
  prop_flower(sp, {40, 12}, 3.2, kPink, kGold);
  for (const auto& [x, y] : std::initializer_list<std::pair<int, int>>{{8, 10}, {54, 20}, {50, 46}, {12, 50}, {5, 30}}) {
    sparkle(sp.img, x, y, 1, hex(0xffffff), hex(0xffb0e0));
  }
  return sp.img;
}

// 19 cat: a sitting cat with a bell. Also stands in for any opponent without a picture.
Image cat() {
  Sprite sp = stage(119, 16);
  const Ramp& fur = kOrange;
  // Tail curling round the side.
  sp.paint(sp.capsule({44, 55}, {52, 50}, 3.2, 2.6) | sp.capsule({52, 50}, {53, 40}, 2.6, 2.2) | sp.circle(52, 39, 2.6), fur,
           {Shade::Sphere});
  // Body, chest, paws.
  sp.paint(sp.ellipse(32, 47, 13, 11.5), fur, {Shade::Sphere, true, 0.05});
  sp.paint(sp.ellipse(32, 45, 6.5, 8), kCloud, {Shade::Sphere, false});
  for (const double x : {26.0, 38.0}) sp.paint(sp.ellipse(x, 56.5, 4, 2.8), kCloud, {Shade::Sphere});
  sp.dot(25, 56.5, kCloud[1], 1, 1), sp.dot(27, 56.5, kCloud[1], 1, 1);
  sp.dot(37, 56.5, kCloud[1], 1, 1), sp.dot(39, 56.5, kCloud[1], 1, 1);
  // Stripes on the flanks.
  for (const double y : {42.0, 46.0, 50.0}) {
    sp.dot(20, y, fur[1], 3, 1);
    sp.dot(41.5, y, fur[1], 3, 1);
  }
  // Head with ears.
  sp.paint(sp.poly({{19, 20}, {20, 5}, {29, 13}}), fur, {Shade::Bevel});
  sp.paint(sp.poly({{45, 20}, {44, 5}, {35, 13}}), fur, {Shade::Bevel});
  sp.fill(sp.poly({{21, 16}, {21.5, 9}, {26, 13.5}}), kPink[3]);
  sp.fill(sp.poly({{43, 16}, {42.5, 9}, {38, 13.5}}), kPink[3]);
  sp.paint(sp.ellipse(32, 22, 13.5, 11), fur, {Shade::Sphere, true, 0.05});
  sp.paint(sp.ellipse(32, 27, 6.5, 4.5), kCloud, {Shade::Sphere, false});
  sp.dot(29.5, 12, fur[1], 1, 3), sp.dot(32, 11.5, fur[1], 1, 3.5), sp.dot(34.5, 12, fur[1], 1, 3);
  // Big eyes.
  for (const double ex : {25.0, 36.0}) {
    sp.paint(sp.ellipse(ex + 1.5, 21.5, 2.6, 3), kGreen, {Shade::Flat, true, 0, 0, 3});
    sp.dot(ex + 1, 19.5, kInk, 1.5, 4);
    sp.dot(ex, 19.5, kEyeWhite, 1, 1);
  }
  sp.dot(31, 25.5, kPink[2], 2, 1);
  sp.dot(30, 27, kInk, 1, 1), sp.dot(33, 27, kInk, 1, 1), sp.dot(31, 26.5, kInk, 2, 1);
  // Whiskers.
  sp.line({18, 25}, {24, 26}, kCloud[4]);
  sp.line({18, 28}, {24, 27.5}, kCloud[4]);
  sp.line({46, 25}, {40, 26}, kCloud[4]);
  sp.line({46, 28}, {40, 27.5}, kCloud[4]);
  // A red collar and a gold bell.
  sp.paint(sp.box(23, 32, 41, 34.5), kRed, {Shade::Flat, true, 0, 0, 2});
  sp.paint(sp.circle(32, 36, 2.4), kGold, {Shade::Sphere});
  sp.dot(31.5, 36.5, kGold[0], 1, 1);
  return sp.img;
}

}  // namespace

Image unit_picture(int job) {
  switch (job) {
    case 0: return trainee();
    case 1: return fighter();
    case 2: return swordsman();
    case 3: return machinist();
    case 4: return magician();
    case 5: return poisoner();
    case 6: return magic_swordsman();
    case 7: return curser();
    case 8: return fortune_teller();
    case 9: return hypnotist();
    case 10: return dragon_master();
    case 11: return summoner();
    case 12: return white_knight();
    case 13: return dark_knight();
    case 14: return dragon_knight();
    case 15: return goat_soldier();
    case 16: return sect_soldier();
    case 17: return specialist();
    case 18: return fairy();
    default: return cat();
  }
}

}  // namespace art
