#include "sprite.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace art {

namespace {
constexpr double kPi = std::numbers::pi;

// A triangle wave from 0 to 1 and back over one period, for jagged hair edges.
double tri(double x, double period) {
  double f = std::fmod(x / period, 1.0);
  if (f < 0) f += 1;
  return 1 - std::abs(f * 2 - 1);
}
}  // namespace

Sprite::Sprite(Image base, double ox_, double oy_, double s_) : img(std::move(base)), ox(ox_), oy(oy_), s(s_) {}

Mask Sprite::circle(double x, double y, double r) const { return ellipse(x, y, r, r); }

Mask Sprite::ellipse(double x, double y, double rx, double ry) const {
  const Pt c = P(x, y);
  return art::ellipse(img.w, img.h, c.x, c.y, S(rx), S(ry));
}

Mask Sprite::rellipse(double x, double y, double rx, double ry, double angle) const {
  const Pt c = P(x, y);
  return art::rotated_ellipse(img.w, img.h, c.x, c.y, S(rx), S(ry), angle);
}

Mask Sprite::capsule(Pt a, Pt b, double r0, double r1) const {
  return art::capsule(img.w, img.h, P(a), P(b), S(r0), S(r1));
}

Mask Sprite::poly(std::vector<Pt> pts) const {
  for (Pt& p : pts) p = P(p);
  return art::poly(img.w, img.h, pts);
}

Mask Sprite::box(double x0, double y0, double x1, double y1) const {
  const Pt a = P(x0, y0), b = P(x1, y1);
  return art::box(img.w, img.h, a.x, a.y, b.x, b.y);
}

Mask Sprite::ring(double x, double y, double r_out, double r_in) const {
  const Pt c = P(x, y);
  return art::ring_shape(img.w, img.h, c.x, c.y, S(r_out), S(r_in));
}

Mask Sprite::shape(const std::function<bool(double, double)>& inside) const {
  return fn_mask(img.w, img.h, [&](double x, double y) { return inside((x - ox) / s, (y - oy) / s); });
}

void Sprite::dot(double x, double y, Rgb c, double w, double h) {
  const Pt a = P(x, y);
  const int x0 = static_cast<int>(std::floor(a.x + 0.001)), y0 = static_cast<int>(std::floor(a.y + 0.001));
  const int pw = std::max(1, static_cast<int>(std::lround(S(w)))), ph = std::max(1, static_cast<int>(std::lround(S(h))));
  img.rect(x0, y0, pw, ph, c);
}

void Sprite::line(Pt a, Pt b, Rgb c) {
  const Pt p = P(a), q = P(b);
  art::line(img, static_cast<int>(std::floor(p.x)), static_cast<int>(std::floor(p.y)), static_cast<int>(std::floor(q.x)),
            static_cast<int>(std::floor(q.y)), c);
}

// ---- people -------------------------------------------------------------------------------

void draw_shadow(Image& bg, double cx, double cy, double rx, double ry, double strength) {
  for (int y = 0; y < bg.h; ++y)
    for (int x = 0; x < bg.w; ++x) {
      const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
      const double d = dx * dx + dy * dy;
      if (d <= 1) bg.tint(x, y, hex(0x0a0614), d < 0.55 ? strength : strength * 0.6);
    }
}

void draw_legs(Sprite& sp, const Look& lk, double spread) {
  const Pt foot_l{28.5 - spread, 54.0}, foot_r{35.5 + spread, 54.0};
  sp.paint(sp.capsule({29, 42}, foot_l, 3.3, 2.8), lk.legs, {Shade::CylX});
  sp.paint(sp.capsule({35, 42}, foot_r, 3.3, 2.8), lk.legs, {Shade::CylX});
  for (const Pt f : {foot_l, foot_r}) {
    const double toe = f.x < 32 ? -0.7 : 0.7;
    Mask boot = sp.ellipse(f.x + toe, 56.6, 4.1, 2.5) | sp.box(f.x - 3, 52.5, f.x + 3, 56.5);
    sp.paint(boot, lk.boots, {Shade::Sphere});
  }
}

void draw_robe(Sprite& sp, const Look& lk, double flare) {
  const double l = 20.0 - flare, r = 44.0 + flare;
  Mask robe = sp.poly({{24.5, 30}, {39.5, 30}, {41, 36}, {r, 56.5}, {32, 57.8}, {l, 56.5}, {23, 36}});
  robe |= sp.ellipse(32, 56, (r - l) / 2, 2.3);
  sp.paint(robe, lk.robe_ramp, {Shade::CylX});
  // Soft folds hanging down the skirt.
  const Rgb fold = lk.robe_ramp[1];
  for (const double fx : {28.0, 36.0}) {
    for (double y = 46; y < 57; y += 1) sp.dot(fx + (fx < 32 ? -(y - 46) * 0.25 : (y - 46) * 0.25), y, fold);
  }
}

void draw_torso(Sprite& sp, const Look& lk) {
  Mask body = sp.poly({{24.5, 29.5}, {39.5, 29.5}, {41, 33}, {39.6, 44.6}, {24.4, 44.6}, {23, 33}});
  sp.paint(body, lk.top, {Shade::CylX});
  if (lk.armour) {
    // A plate that catches the light, and rounded pauldrons.
    sp.paint(sp.poly({{27, 31}, {37, 31}, {36.5, 40}, {32, 42.5}, {27.5, 40}}), lk.top, {Shade::Sphere, true, 0.08});
    sp.paint(sp.ellipse(23.8, 31.8, 4.4, 3.4), lk.top, {Shade::Sphere, true, 0.05});
    sp.paint(sp.ellipse(40.2, 31.8, 4.4, 3.4), lk.top, {Shade::Sphere, true, 0.05});
  } else {
    // A little V of the neck.
    sp.fill(sp.poly({{30, 29.5}, {34, 29.5}, {32, 32.2}}), lk.skin[1]);
  }
}

void draw_belt(Sprite& sp, const Ramp& r, double y) {
  sp.paint(sp.box(24.2, y, 39.8, y + 2.2), r, {Shade::Flat, true, 0, 0, 2});
  sp.dot(31, y, pal::kGold[3], 2, 2);
}

void draw_head(Sprite& sp, const Look& lk) {
  sp.paint(sp.ellipse(32, 20, 10.2, 9.8), lk.skin, {Shade::Sphere, true, 0.08});
}

void draw_face(Sprite& sp, const Look& lk) {
  const Rgb ink = pal::kInk;
  const double ey = 20.5;
  for (const double ex : {26.5, 36.0}) {
    switch (lk.eyes) {
      case Eyes::Normal:
        sp.dot(ex, ey, ink, 1.5, 4);
        sp.dot(ex + 1.5, ey, ink, 0.5, 1);
        sp.dot(ex, ey + 0.5, pal::kEyeWhite, 0.8, 1);
        sp.dot(ex, ey + 2.5, lk.iris, 1.5, 1.5);
        break;
      case Eyes::Angry:
        sp.dot(ex, ey + 1, ink, 1.5, 3);
        sp.dot(ex, ey + 1.5, pal::kEyeWhite, 0.8, 1);
        sp.dot(ex, ey + 3, lk.iris, 1.5, 1);
        // Brows slanting down towards the nose.
        if (ex < 32) sp.line({ex - 1.5, ey - 1.5}, {ex + 1.8, ey}, ink);
        else sp.line({ex - 0.5, ey}, {ex + 2.8, ey - 1.5}, ink);
        break;
      case Eyes::Closed:
        sp.line({ex - 1, ey + 2}, {ex + 2, ey + 2}, ink);
        break;
      case Eyes::Happy:
        sp.dot(ex - 0.5, ey + 2, ink);
        sp.dot(ex + 0.5, ey + 1, ink, 1, 1);
        sp.dot(ex + 1.5, ey + 2, ink);
        break;
      case Eyes::Narrow:
        sp.dot(ex - 0.5, ey + 2, ink, 2.5, 1);
        sp.dot(ex + 0.5, ey + 3, lk.iris, 1, 1);
        break;
      case Eyes::Cat:
        sp.dot(ex - 0.5, ey, lk.iris, 2.5, 4);
        sp.dot(ex + 0.5, ey, ink, 1, 4);
        sp.dot(ex - 0.5, ey, pal::kEyeWhite, 1, 1);
        break;
      case Eyes::Sleepy:
        sp.dot(ex - 0.5, ey + 1.5, ink, 2.5, 1);
        sp.dot(ex, ey + 2.5, ink, 1.5, 1.5);
        break;
    }
  }
  if (lk.blush) {
    sp.dot(24.5, 25, pal::kBlush, 2, 1);
    sp.dot(38, 25, pal::kBlush, 2, 1);
  }
  if (lk.mouth) sp.dot(31.5, 26.5, pal::kMouth, 1.5, 1);
}

namespace {
// The lower edge of the front hair at column x, by style.
double hairline(Hair st, double x) {
  const double dx = std::abs(x - 32);
  switch (st) {
    case Hair::Short: return dx > 8 ? 23.5 : 16.5 + 2.0 * tri(x - 24, 4);
    case Hair::Spiky: return dx > 8.5 ? 22.5 : 15.5 + 3.2 * tri(x - 24.5, 3.5);
    case Hair::Messy: return dx > 8 ? 24.0 : 16.0 + 2.8 * tri(x - 23, 3) + (dx < 3 ? 1.5 : 0);
    case Hair::Long:
    case Hair::Twin: return dx > 7.5 ? 30.0 : 16.5 + 1.5 * tri(x - 25, 5);
    case Hair::Ponytail: return dx > 8 ? 24.5 : 16.0 + 2.0 * tri(x - 26, 6);
    case Hair::Bob: return dx > 7.8 ? 27.5 : 17.2;
    case Hair::None: return 0;
  }
  return 0;
}
}  // namespace

void draw_hair_back(Sprite& sp, const Look& lk) {
  const Ramp& h = lk.hair;
  switch (lk.hair_style) {
    case Hair::Long:
      sp.paint(sp.poly({{21, 18}, {43, 18}, {45, 40}, {40, 43}, {32, 41}, {24, 43}, {19, 40}}), h, {Shade::CylX, true, -0.1});
      break;
    case Hair::Bob:
      sp.paint(sp.ellipse(32, 21, 12.5, 10), h, {Shade::Sphere, true, -0.1});
      break;
    case Hair::Ponytail:
      sp.paint(sp.capsule({40, 15}, {46, 24}, 3.6, 2.4) | sp.capsule({46, 24}, {44.5, 33}, 2.4, 1.2), h, {Shade::Sphere, true, -0.05});
      break;
    case Hair::Twin:
      sp.paint(sp.rellipse(18.5, 28, 3.4, 8, 0.25), h, {Shade::Sphere, true, -0.05});
      sp.paint(sp.rellipse(45.5, 28, 3.4, 8, -0.25), h, {Shade::Sphere, true, -0.05});
      break;
    default:
      break;
  }
}

void draw_hair_front(Sprite& sp, const Look& lk) {
  if (lk.hair_style == Hair::None) return;
  const Hair st = lk.hair_style;
  Mask hair = sp.ellipse(32, 18.6, 11.3, 10.8);
  hair.keep([&](double x, double y) { return (y - sp.oy) / sp.s < hairline(st, (x - sp.ox) / sp.s); });
  if (st == Hair::Spiky || st == Hair::Messy) {
    // Tufts standing up from the crown.
    const double spread = st == Hair::Spiky ? 1.0 : 0.8;
    for (int k = -2; k <= 2; ++k) {
      const double a = -kPi / 2 + k * 0.42 * spread;
      const double bx = 32 + std::cos(a) * 7, by = 16 + std::sin(a) * 7;
      const double tx = 32 + std::cos(a) * 14.5, ty = 17 + std::sin(a) * 13.5;
      const double px = -std::sin(a) * 3.4, py = std::cos(a) * 3.4;
      hair |= sp.poly({{bx - px, by - py}, {tx, ty}, {bx + px, by + py}});
    }
  }
  if (st == Hair::Twin) {
    hair |= sp.circle(21.5, 13.5, 3) | sp.circle(42.5, 13.5, 3);
  }
  sp.paint(hair, lk.hair, {Shade::Sphere, true, 0.05});
  // A shine band across the crown.
  for (double x = 26; x <= 31; x += 1) sp.dot(x, 12.5 - 0.15 * (x - 26) + (x > 29 ? 0.5 : 0), lk.hair[4]);
}

void draw_arm(Sprite& sp, Pt shoulder, Pt hand, const Ramp& sleeve) {
  sp.paint(sp.capsule(shoulder, hand, 2.7, 2.2), sleeve, {Shade::Sphere});
}

void draw_hand(Sprite& sp, Pt hand, const Ramp& r, double size) {
  sp.paint(sp.circle(hand.x, hand.y, size), r, {Shade::Sphere, true, 0.05});
}

void draw_cape(Sprite& sp, const Ramp& r, double width, double length) {
  const double l = 32 - 13 * width, rr = 32 + 13 * width;
  std::vector<Pt> pts{{24, 28}, {40, 28}, {rr, length - 2}};
  // A wavy hem.
  for (int k = 1; k < 6; ++k) {
    const double x = rr - (rr - l) * k / 6.0;
    pts.push_back({x, length + ((k & 1) ? 1.5 : -0.5)});
  }
  pts.push_back({l, length - 2});
  sp.paint(sp.poly(pts), r, {Shade::CylX, true, -0.12});
}

void draw_person(Sprite& sp, const Look& lk, Pt hand_l, Pt hand_r) {
  draw_hair_back(sp, lk);
  if (lk.robe) {
    draw_robe(sp, lk);
  } else {
    draw_legs(sp, lk);
  }
  draw_torso(sp, lk);
  draw_arm(sp, kShoulderL, hand_l, lk.sleeves);
  draw_arm(sp, kShoulderR, hand_r, lk.sleeves);
  draw_hand(sp, hand_l, lk.hands);
  draw_hand(sp, hand_r, lk.hands);
  draw_head(sp, lk);
  draw_face(sp, lk);
  draw_hair_front(sp, lk);
}

// ---- props --------------------------------------------------------------------------------

void prop_stick(Sprite& sp, Pt a, Pt b, const Ramp& r, double rad) {
  sp.paint(sp.capsule(a, b, rad, rad * 0.9), r, {Shade::Sphere});
}

void prop_sword(Sprite& sp, Pt hilt, double dx, double dy, double length, const Ramp& blade, const Ramp& guard, double width) {
  const double l = std::hypot(dx, dy);
  dx /= l;
  dy /= l;
  const double px = -dy, py = dx;
  auto at = [&](double t, double side) { return Pt{hilt.x + dx * t + px * side, hilt.y + dy * t + py * side}; };
  // Blade first, so the guard and the fist sit on top of it.
  Mask b = sp.poly({at(1.5, -width), at(length - 3.5, -width), at(length, 0), at(length - 3.5, width), at(1.5, width)});
  sp.paint(b, blade, {Shade::Bevel});
  // The fuller: a bright line down the middle of the blade.
  for (double t = 3; t < length - 4; t += 0.7) {
    const Pt q = at(t, -0.3);
    sp.dot(q.x, q.y, blade[4]);
  }
  sp.paint(sp.capsule(at(-3.2, 0), at(0, 0), 1.1), pal::kLeather, {Shade::Sphere});
  sp.paint(sp.circle(at(-4, 0).x, at(-4, 0).y, 1.4), guard, {Shade::Sphere});
  sp.paint(sp.capsule(at(1, -3.8), at(1, 3.8), 1.1), guard, {Shade::Sphere});
}

void prop_gear(Sprite& sp, Pt c, double r, int teeth, const Ramp& ramp, double turn) {
  Mask g = sp.shape([=](double x, double y) {
    const double d = std::hypot(x - c.x, y - c.y);
    double a = std::atan2(y - c.y, x - c.x) / (2 * kPi) * teeth + turn;
    a -= std::floor(a);
    const double rr = a < 0.5 ? r : r * 0.78;
    return d <= rr && d >= r * 0.3;
  });
  sp.paint(g, ramp, {Shade::Sphere, true, 0.05});
  sp.paint(sp.ring(c.x, c.y, r * 0.55, r * 0.42), ramp, {Shade::Flat, false, 0, 0, 1});
}

void prop_flask(Sprite& sp, Pt c, double r, const Ramp& liquid) {
  // Glass, then the liquid inside it, then the neck and the cork.
  const Mask body = sp.circle(c.x, c.y, r);
  sp.paint(sp.box(c.x - r * 0.35, c.y - r * 1.8, c.x + r * 0.35, c.y - r * 0.6), pal::kGlass, {Shade::CylX});
  sp.paint(body, pal::kGlass, {Shade::Sphere});
  Mask fluid = body;
  fluid.keep([&](double, double y) { return (y - sp.oy) / sp.s > c.y - r * 0.15; });
  Mask inner = sp.circle(c.x, c.y, r - 1);
  sp.paint(fluid & inner, liquid, {Shade::Sphere, false, 0.05});
  sp.dot(c.x - r * 0.5, c.y - r * 0.5, pal::kEyeWhite, 1, 1);
  sp.paint(sp.box(c.x - r * 0.45, c.y - r * 2.3, c.x + r * 0.45, c.y - r * 1.7), pal::kWood, {Shade::Flat, true, 0, 0, 3});
}

void prop_orb(Sprite& sp, Pt c, double r, const Ramp& ramp, Rgb light) {
  const Pt q = sp.P(c);
  glow(sp.img, q.x, q.y, sp.S(r * 2.4), light, 0.7);
  sp.paint(sp.circle(c.x, c.y, r), ramp, {Shade::Sphere, true, 0.05});
  sp.dot(c.x - r * 0.45, c.y - r * 0.55, pal::kEyeWhite, std::max(1.0, r * 0.3), std::max(1.0, r * 0.3));
}

void prop_swirl(Sprite& sp, Pt c, double r, Rgb a, Rgb b, double turns) {
  sp.fill(sp.circle(c.x, c.y, r), b);
  outline(sp.img, sp.circle(c.x, c.y, r), pal::kInk);
  const double end = turns * 2 * kPi;
  for (double t = 0; t < end; t += 0.04) {
    const double rr = r * t / end;
    sp.dot(c.x + std::cos(t) * rr - 0.5, c.y + std::sin(t) * rr - 0.5, a);
  }
}

void prop_shield(Sprite& sp, Pt c, double w, double h, const Ramp& face, const Ramp& rim) {
  // A heater shield: straight top, round sides narrowing to a point.
  Mask shield = sp.shape([=](double x, double y) {
    const double u = (x - c.x) / w, v = (y - c.y) / h;  // v from -1 (top) to 1 (point)
    if (v < -1 || v > 1) return false;
    const double half = v < 0 ? 1.0 : std::sqrt(std::max(0.0, 1 - v * v));
    return std::abs(u) <= half;
  });
  sp.paint(shield.grown(), rim, {Shade::Bevel});
  sp.paint(shield, face, {Shade::Sphere, false});
}

void prop_spear(Sprite& sp, Pt butt, Pt tip, const Ramp& shaft, const Ramp& head) {
  const double dx = tip.x - butt.x, dy = tip.y - butt.y, l = std::hypot(dx, dy);
  const double ux = dx / l, uy = dy / l, px = -uy, py = ux;
  const Pt base{tip.x - ux * 7, tip.y - uy * 7};
  sp.paint(sp.capsule(butt, base, 1.1), shaft, {Shade::Sphere});
  sp.paint(sp.poly({{base.x + px * 2.6, base.y + py * 2.6}, tip, {base.x - px * 2.6, base.y - py * 2.6},
                    {base.x - ux * 1.5, base.y - uy * 1.5}}),
           head, {Shade::Bevel});
}

void prop_book(Sprite& sp, Pt c, const Ramp& cover) {
  sp.paint(sp.box(c.x - 4.5, c.y - 3.2, c.x + 4.5, c.y + 3.2), cover, {Shade::Bevel});
  sp.fill(sp.box(c.x - 3.5, c.y - 2.2, c.x - 0.5, c.y + 2.2), pal::kCream[3]);
  sp.fill(sp.box(c.x + 0.5, c.y - 2.2, c.x + 3.5, c.y + 2.2), pal::kCream[2]);
  for (double y = c.y - 1.2; y < c.y + 2; y += 1.2) {
    sp.dot(c.x - 3, y, pal::kCream[1], 2, 0.6);
    sp.dot(c.x + 1, y, pal::kCream[1], 2, 0.6);
  }
}

void prop_dragon(Sprite& sp, Pt c, double size, const Ramp& body, const Ramp& belly, bool facing_left) {
  const double f = facing_left ? -1 : 1;
  auto Q = [&](double x, double y) { return Pt{c.x + f * x * size, c.y + y * size}; };
  // Wing behind, tail, body, head, wing in front.
  sp.paint(sp.poly({Q(-1, -2), Q(-4, -10), Q(-7, -6), Q(-9, -8), Q(-8, -2), Q(-3, 1)}), body, {Shade::Bevel, true, -0.1});
  sp.paint(sp.capsule(Q(-3, 3), Q(-8, 6), 2.2 * size, 1.4 * size) | sp.capsule(Q(-8, 6), Q(-11, 3), 1.4 * size, 0.6 * size),
           body, {Shade::Sphere});
  sp.paint(sp.ellipse(c.x, c.y + 2 * size, 5 * size, 4 * size), body, {Shade::Sphere});
  sp.paint(sp.ellipse(Q(1, 3).x, Q(1, 3).y, 2.6 * size, 2.6 * size), belly, {Shade::Sphere, false});
  sp.paint(sp.circle(Q(4, -3).x, Q(4, -3).y, 3.4 * size) | sp.ellipse(Q(7, -2).x, Q(7, -2).y, 2.6 * size, 2 * size), body,
           {Shade::Sphere, true, 0.05});
  sp.paint(sp.poly({Q(3, -6), Q(1.5, -9.5), Q(5, -6.5)}), belly, {Shade::Flat, true, 0, 0, 3});
  sp.dot(Q(5, -4).x - 0.5, Q(5, -4).y, pal::kInk, 1, 1.5);
  sp.paint(sp.poly({Q(1, -1), Q(4, -9), Q(8, -7), Q(9.5, -9), Q(9, -3), Q(3, 1)}), body, {Shade::Bevel, true, 0.05});
}

void prop_wizard_hat(Sprite& sp, const Ramp& r, const Ramp& band, double lean) {
  sp.paint(sp.poly({{21.5, 12.5}, {42.5, 12.5}, {37.5, 3}, {32 + 9 * lean, -1.5}, {34.5, 2}, {27, 4}}), r, {Shade::CylX});
  sp.paint(sp.box(22.8, 9.6, 41.2, 12.4), band, {Shade::Flat, true, 0, 0, 2});
  sp.paint(sp.ellipse(32, 13, 15, 2.8), r, {Shade::Sphere, true, 0.1});
}

void prop_hood(Sprite& sp, const Ramp& r, bool back) {
  Mask hood = sp.ellipse(32, 19.5, 13.2, 12.6) | sp.poly({{19.8, 22}, {44.2, 22}, {42, 33}, {22, 33}});
  const Mask face = sp.ellipse(32, 22, 9.4, 9.2);
  if (back) {
    sp.paint(hood, r, {Shade::Sphere, true, -0.1});
  } else {
    Mask rim = hood - face;
    rim.keep([&](double, double y) { return (y - sp.oy) / sp.s < 31; });
    sp.paint(rim, r, {Shade::Sphere, true, 0.02});
  }
}

void prop_helmet(Sprite& sp, const Ramp& r, const Ramp& trim, int kind) {
  if (kind == 0) {
    // A closed great helm with a dark eye slit.
    sp.paint(sp.ellipse(32, 19.5, 11, 10.8), r, {Shade::Sphere, true, 0.05});
    sp.fill(sp.box(24.5, 19.5, 39.5, 22.5), r[0]);
    sp.fill(sp.box(25.5, 20.5, 38.5, 21.5), pal::kInk);
    sp.paint(sp.box(31, 9, 33, 29), trim, {Shade::Flat, true, 0, 0, 3});
    for (double y = 24; y < 28; y += 1.5) sp.dot(28, y, r[1], 1, 1), sp.dot(35, y, r[1], 1, 1);
  } else if (kind == 1) {
    // An open helm: a cap with a nose guard and cheek plates.
    Mask cap = sp.ellipse(32, 18, 11.4, 10.2);
    cap.keep([&](double x, double y) {
      const double dx = std::abs((x - sp.ox) / sp.s - 32), dy = (y - sp.oy) / sp.s;
      return dy < 17.5 || dx > 8.5;
    });
    sp.paint(cap, r, {Shade::Sphere, true, 0.05});
    sp.paint(sp.box(20.7, 15.5, 43.3, 18), trim, {Shade::Flat, true, 0, 0, 3});
    sp.paint(sp.box(31, 15.5, 33, 23), r, {Shade::Flat, true, 0, 0, 3});
  } else {
    // A dragon helm: a crest like a snout over the brow and swept-back horns.
    sp.paint(sp.capsule({22, 14}, {14, 5}, 2.2, 0.8), trim, {Shade::Sphere});
    sp.paint(sp.capsule({42, 14}, {50, 5}, 2.2, 0.8), trim, {Shade::Sphere});
    Mask cap = sp.ellipse(32, 18, 11.4, 10.2);
    cap.keep([&](double x, double y) {
      const double dx = std::abs((x - sp.ox) / sp.s - 32), dy = (y - sp.oy) / sp.s;
      return dy < 17.5 || dx > 8.5;
    });
    sp.paint(cap, r, {Shade::Sphere, true, 0.05});
    sp.paint(sp.poly({{27, 16}, {37, 16}, {32, 21.5}}), trim, {Shade::Bevel});
    sp.paint(sp.poly({{29.5, 9}, {34.5, 9}, {32, 2}}), trim, {Shade::Bevel});
  }
}

void prop_horns(Sprite& sp, const Ramp& r, double size) {
  // Curling ram's horns: each starts on the crown, sweeps over and out, then curls down and back
  // in, built from short tapering segments along a shrinking spiral. The left one mirrors the
  // right one.
  auto point = [size](double side, double t) {
    const double a = std::atan2(-5.0, -6.0) + t * 3.9;
    const double rad = 7.6 * size * (1 - 0.5 * t);
    const double x = 32 + 11 * size + std::cos(a) * rad;
    return Pt{side > 0 ? x : 64 - x, 17 + std::sin(a) * rad};
  };
  for (const double side : {-1.0, 1.0}) {
    Mask horn(sp.img.w, sp.img.h);
    constexpr int kSteps = 14;
    for (int k = 0; k < kSteps; ++k) {
      const double t0 = k / double(kSteps), t1 = (k + 1) / double(kSteps);
      horn |= sp.capsule(point(side, t0), point(side, t1), 2.7 * size * (1 - 0.6 * t0), 2.7 * size * (1 - 0.6 * t1));
    }
    sp.paint(horn, r, {Shade::Sphere, true, 0.05});
    for (int k = 2; k < kSteps - 1; k += 3) {
      const Pt q = point(side, k / double(kSteps));
      sp.dot(q.x - 0.5, q.y - 0.5, r[1]);
    }
  }
}

void prop_wings(Sprite& sp, const Ramp& r, Pt c, double size) {
  for (const double side : {-1.0, 1.0}) {
    sp.paint(sp.rellipse(c.x + side * 9 * size, c.y - 6 * size, 8.5 * size, 5 * size, side * -0.6), r, {Shade::Sphere, true, 0.1});
    sp.paint(sp.rellipse(c.x + side * 7.5 * size, c.y + 4 * size, 6 * size, 3.5 * size, side * 0.5), r, {Shade::Sphere, true, 0.0});
  }
}

void prop_magic_circle(Sprite& sp, Pt c, double rx, double ry, Rgb col) {
  const Pt q = sp.P(c);
  glow(sp.img, q.x, q.y, sp.S(rx * 1.1), col, 0.45);
  auto ring_at = [&](double k) {
    Mask outer = sp.ellipse(c.x, c.y, rx * k, ry * k);
    return outer.ring();
  };
  sp.fill(ring_at(1.0), col);
  sp.fill(ring_at(0.72), mix(col, hex(0xffffff), 0.4));
  // Runes: dots around the band between the two rings.
  for (int k = 0; k < 12; ++k) {
    const double a = k * kPi / 6 + 0.2;
    sp.dot(c.x + std::cos(a) * rx * 0.86 - 0.5, c.y + std::sin(a) * ry * 0.86 - 0.5, hex(0xffffff));
  }
}

void prop_star(Sprite& sp, Pt c, double r, const Ramp& ramp) {
  std::vector<Pt> pts;
  for (int k = 0; k < 10; ++k) {
    const double a = -kPi / 2 + k * kPi / 5;
    const double rr = (k & 1) ? r * 0.45 : r;
    pts.push_back({c.x + std::cos(a) * rr, c.y + std::sin(a) * rr});
  }
  sp.paint(sp.poly(pts), ramp, {Shade::Sphere, true, 0.1});
}

void prop_flower(Sprite& sp, Pt c, double r, const Ramp& petals, const Ramp& heart) {
  Mask m(sp.img.w, sp.img.h);
  for (int k = 0; k < 5; ++k) {
    const double a = -kPi / 2 + k * 2 * kPi / 5;
    m |= sp.circle(c.x + std::cos(a) * r * 0.6, c.y + std::sin(a) * r * 0.6, r * 0.5);
  }
  sp.paint(m, petals, {Shade::Sphere, true, 0.05});
  sp.paint(sp.circle(c.x, c.y, r * 0.32), heart, {Shade::Flat, false, 0, 0, 3});
}

}  // namespace art
