// Drawing people, creatures and their props on a small canvas.
//
// All body parts are laid out in one 64 × 64 design space: a standing figure centred on x = 32
// with the head around (32, 20) and the feet on y = 58. A Sprite maps that space onto its canvas
// with an offset and a scale, so the same parts draw a battle opponent (scale 1), a grand boss
// (larger) or a toy figure on its stand (smaller).
#pragma once

#include <vector>

#include "canvas.hpp"
#include "palette.hpp"

namespace art {

enum class Hair { None, Short, Spiky, Long, Ponytail, Bob, Messy, Twin };
enum class Eyes { Normal, Angry, Closed, Happy, Narrow, Cat, Sleepy };

struct Sprite {
  // Draws straight onto base (usually a finished background), so outlines and glows blend
  // with what is behind them.
  explicit Sprite(Image base, double ox = 0, double oy = 0, double s = 1);

  Image img;
  double ox, oy, s;

  // Design space to canvas.
  Pt P(double x, double y) const { return {ox + s * x, oy + s * y}; }
  Pt P(Pt p) const { return P(p.x, p.y); }
  double S(double v) const { return v * s; }

  Mask circle(double x, double y, double r) const;
  Mask ellipse(double x, double y, double rx, double ry) const;
  Mask rellipse(double x, double y, double rx, double ry, double angle) const;
  Mask capsule(Pt a, Pt b, double r0, double r1) const;
  Mask capsule(Pt a, Pt b, double r) const { return capsule(a, b, r, r); }
  Mask poly(std::vector<Pt> pts) const;
  Mask box(double x0, double y0, double x1, double y1) const;
  Mask ring(double x, double y, double r_out, double r_in) const;
  // A shape given in design coordinates.
  Mask shape(const std::function<bool(double, double)>& inside) const;

  void paint(const Mask& m, const Ramp& r, const Paint& p = {}) { art::paint(img, m, r, p); }
  void fill(const Mask& m, Rgb c) { art::fill(img, m, c); }
  // One design pixel (or block, at larger scales) of a colour.
  void dot(double x, double y, Rgb c, double w = 1, double h = 1);
  void line(Pt a, Pt b, Rgb c);
};

// ---- people -------------------------------------------------------------------------------

struct Look {
  Ramp skin = pal::kSkin;
  Ramp hair = pal::kHairBrown;
  Hair hair_style = Hair::Short;
  Eyes eyes = Eyes::Normal;
  Rgb iris = hex(0x3a2a5a);
  Ramp top = pal::kBlue;       // shirt, tunic or chest armour
  Ramp legs = pal::kNavy;      // trousers
  Ramp boots = pal::kLeather;
  Ramp sleeves = pal::kBlue;
  Ramp hands = pal::kSkin;     // bare hands or gloves
  bool robe = false;           // a long robe hides the legs
  Ramp robe_ramp = pal::kPurple;
  bool blush = true;
  bool mouth = true;
  bool armour = false;         // boxy shoulders and a plate chest
};

// Standard anchors of the body in design space.
inline constexpr Pt kHead{32, 20};
inline constexpr Pt kShoulderL{24.5, 32};
inline constexpr Pt kShoulderR{39.5, 32};

void draw_shadow(Image& bg, double cx, double cy, double rx, double ry, double strength = 0.45);

void draw_legs(Sprite& sp, const Look& lk, double spread = 0);
void draw_robe(Sprite& sp, const Look& lk, double flare = 0);
void draw_torso(Sprite& sp, const Look& lk);
void draw_belt(Sprite& sp, const Ramp& r, double y = 41);
void draw_head(Sprite& sp, const Look& lk);
void draw_face(Sprite& sp, const Look& lk);
void draw_hair_back(Sprite& sp, const Look& lk);
void draw_hair_front(Sprite& sp, const Look& lk);
// An arm from a shoulder to a hand position; the hand is drawn separately so that props can sit
// between the arm and the fingers.
void draw_arm(Sprite& sp, Pt shoulder, Pt hand, const Ramp& sleeve);
void draw_hand(Sprite& sp, Pt hand, const Ramp& r, double size = 2.7);
void draw_cape(Sprite& sp, const Ramp& r, double width = 1, double length = 56);

// A whole standing person without props, for the simple cases: back hair, legs or robe, torso,
// arms to the given hands, head, face, front hair.
void draw_person(Sprite& sp, const Look& lk, Pt hand_l, Pt hand_r);

// ---- props --------------------------------------------------------------------------------

void prop_stick(Sprite& sp, Pt a, Pt b, const Ramp& r = pal::kWood, double rad = 1.3);
// A sword held at hilt, pointing along the unit direction (dx, dy).
void prop_sword(Sprite& sp, Pt hilt, double dx, double dy, double length, const Ramp& blade,
                const Ramp& guard = pal::kGold, double width = 1.6);
void prop_gear(Sprite& sp, Pt c, double r, int teeth, const Ramp& ramp, double turn = 0);
void prop_flask(Sprite& sp, Pt c, double r, const Ramp& liquid);
void prop_orb(Sprite& sp, Pt c, double r, const Ramp& ramp, Rgb light);
void prop_swirl(Sprite& sp, Pt c, double r, Rgb a, Rgb b, double turns = 2.5);
void prop_shield(Sprite& sp, Pt c, double w, double h, const Ramp& face, const Ramp& rim);
void prop_spear(Sprite& sp, Pt butt, Pt tip, const Ramp& shaft, const Ramp& head);
void prop_book(Sprite& sp, Pt c, const Ramp& cover);
void prop_dragon(Sprite& sp, Pt c, double size, const Ramp& body, const Ramp& belly, bool facing_left);
void prop_wizard_hat(Sprite& sp, const Ramp& r, const Ramp& band, double lean = 1);
void prop_hood(Sprite& sp, const Ramp& r, bool back);
void prop_helmet(Sprite& sp, const Ramp& r, const Ramp& trim, int kind);
void prop_horns(Sprite& sp, const Ramp& r, double size = 1);
void prop_wings(Sprite& sp, const Ramp& r, Pt c, double size);
void prop_magic_circle(Sprite& sp, Pt c, double rx, double ry, Rgb col);
void prop_star(Sprite& sp, Pt c, double r, const Ramp& ramp);
void prop_flower(Sprite& sp, Pt c, double r, const Ramp& petals, const Ramp& heart);

}  // namespace art
