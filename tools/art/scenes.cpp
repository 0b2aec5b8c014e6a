// The larger pictures: the world map, the room at home and the closing picture.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "art.hpp"
#include "sprite.hpp"

namespace art {

namespace {

using namespace pal;
constexpr double kPi = std::numbers::pi;

// Smooth value noise in [0, 1): a lattice of fixed random values, blended with a smoothstep.
class Noise {
 public:
  explicit Noise(uint64_t seed) : seed_(seed) {}
  double at(double x, double y) const {
    const int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
    const double fx = x - xi, fy = y - yi;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double a = lattice(xi, yi), b = lattice(xi + 1, yi), c = lattice(xi, yi + 1), d = lattice(xi + 1, yi + 1);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
  }
  // A few octaves summed, still in [0, 1).
  double fractal(double x, double y, int octaves = 3) const {
    double sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
      sum += at(x, y) * amp;
      norm += amp;
      amp *= 0.5;
      x *= 2;
      y *= 2;
    }
    return sum / norm;
  }

 private:
  double lattice(int x, int y) const {
    uint64_t h = seed_ ^ (static_cast<uint64_t>(static_cast<uint32_t>(x)) * 0x9E3779B97F4A7C15ull) ^
                 (static_cast<uint64_t>(static_cast<uint32_t>(y)) * 0xC2B2AE3D27D4EB4Full);
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
  }
  uint64_t seed_;
};

// ---- world map ----------------------------------------------------------------------------
//
// Drawn on a 100 × 100 grid and doubled, so its pixels match the chunky pixels of the battle
// pictures. North is up: the snowfield in the north-west, the nameless tower in the dark waste
// of the north, Kanon tower in the north-east, the lake in the middle, the hill and home in the
// south-west, the town in the south, the earth tower's pit in the stony south-east and the cat
// island off the east coast.

enum class Ground { Sea, Shallow, Sand, Grass, Snow, Waste, Stone };

struct MapSite {
  double x, y;
};
constexpr MapSite kHome{15, 79};
constexpr MapSite kTown{40, 79};
constexpr MapSite kHill{25, 60};
constexpr MapSite kSnow{20, 24};
constexpr MapSite kLake{50, 50};
constexpr MapSite kKanon{77, 31};
constexpr MapSite kNameless{50, 15};
constexpr MapSite kEarth{69, 78};
constexpr MapSite kCatIsland{88, 71};

double land_value(const Noise& n, double x, double y) {
  const double dx = (x - 45) / 41.0, dy = (y - 49) / 41.0;
  double v = 1 - (dx * dx + dy * dy);
  v += (n.fractal(x / 14.0, y / 14.0, 3) - 0.5) * 0.7;
  // The cat island: its own small round blob with two ears.
  const double cx = (x - kCatIsland.x) / 7.0, cy = (y - kCatIsland.y) / 6.0;
  double island = 1 - (cx * cx + cy * cy);
  for (const double ex : {-4.5, 4.5}) {
    const double ux = (x - (kCatIsland.x + ex)) / 2.6, uy = (y - (kCatIsland.y - 6.5)) / 3.2;
    island = std::max(island, 1 - (ux * ux + uy * uy));
  }
  // Keep a channel of sea between the island and the mainland.
  if (x > 78 && y > 60) v = std::min(v, 0.0);
  return std::max(v, island);
}

Ground ground_at(const Noise& n, double x, double y) {
  const double v = land_value(n, x, y);
  if (v < -0.12) return Ground::Sea;
  if (v < 0) return Ground::Shallow;
  if (v < 0.07) return Ground::Sand;
  // Regions by place, with ragged borders from the noise.
  const double wob = (n.at(x / 5.0 + 40, y / 5.0) - 0.5) * 8;
  if (x + wob < 36 && y + wob < 38) return Ground::Snow;
  if (std::hypot(x - kNameless.x, (y - kNameless.y) * 1.2) + wob < 15) return Ground::Waste;
  if (std::hypot(x - kEarth.x, y - kEarth.y) + wob < 11) return Ground::Stone;
  return Ground::Grass;
}

void map_tree(Sprite& sp, double x, double y, bool snowy) {
  const Ramp& leaf = snowy ? kTeal : kGreen;
  sp.paint(sp.poly({{x - 3, y + 1}, {x, y - 5}, {x + 3, y + 1}}), leaf, {Shade::Bevel, true, -0.15});
  if (snowy) sp.dot(x - 1, y - 4, hex(0xffffff), 2, 1), sp.dot(x - 2, y - 1, hex(0xffffff), 1, 1);
  sp.dot(x, y + 1, kWood[1]);
}

void map_mountain(Sprite& sp, double x, double y, double h, bool snowy) {
  sp.paint(sp.poly({{x - h, y}, {x, y - h}, {x + h, y}}), kStone, {Shade::Bevel, true, -0.05});
  Mask cap = sp.poly({{x - h * 0.4, y - h * 0.6}, {x, y - h}, {x + h * 0.4, y - h * 0.6}});
  sp.fill(cap, snowy ? hex(0xffffff) : kStone[4]);
}

}  // namespace

Image world_map() {
  constexpr int N = 100;
  Noise noise(401);
  Image img(N, N);
  // Ground colours, each with a second shade chosen by a finer noise for texture.
  for (int y = 0; y < N; ++y) {
    for (int x = 0; x < N; ++x) {
      const Ground g = ground_at(noise, x + 0.5, y + 0.5);
      const double t = noise.at(x / 3.0 + 100, y / 3.0);
      const bool alt = t + (bayer(x, y) - 0.5) * 0.3 > 0.58;
      Rgb c;
      switch (g) {
        case Ground::Sea: c = ((x * 7 + y * 13) % 23 == 0 && y % 3 == 0) ? hex(0x4a86cc) : (alt ? hex(0x24508e) : hex(0x1e4682)); break;
        case Ground::Shallow: c = alt ? hex(0x3a7cc0) : hex(0x3270b4); break;
        case Ground::Sand: c = alt ? hex(0xf0dca2) : hex(0xe4ca8a); break;
        case Ground::Grass: c = alt ? hex(0x5aae54) : hex(0x4c9a4a); break;
        case Ground::Snow: c = alt ? hex(0xffffff) : hex(0xdce4f4); break;
        case Ground::Waste: c = alt ? hex(0x5a4a6e) : hex(0x4a3c5c); break;
        case Ground::Stone: c = alt ? hex(0xb49468) : hex(0x9c7c54); break;
      }
      img.put(x, y, c);
    }
  }
  // A dark line where land meets water.
  for (int y = 0; y < N; ++y)
    for (int x = 0; x < N; ++x) {
      const Ground g = ground_at(noise, x + 0.5, y + 0.5);
      if (g != Ground::Shallow) continue;
      for (const auto& [dx, dy] : std::initializer_list<std::pair<int, int>>{{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        if (ground_at(noise, x + dx + 0.5, y + dy + 0.5) == Ground::Sand) {
          img.put(x, y, hex(0x8cc4ee));
          break;
        }
      }
    }
  Sprite sp(std::move(img));

  // Roads: from home through the town and out to every place.
  auto road = [&](MapSite a, MapSite b, double bend) {
    const double mx = (a.x + b.x) / 2 + (b.y - a.y) * bend, my = (a.y + b.y) / 2 - (b.x - a.x) * bend;
    for (double t = 0; t <= 1; t += 0.01) {
      const double u = 1 - t;
      const double x = u * u * a.x + 2 * u * t * mx + t * t * b.x, y = u * u * a.y + 2 * u * t * my + t * t * b.y;
      const int ix = static_cast<int>(x), iy = static_cast<int>(y);
      if (((ix + iy) & 1) == 0 && ground_at(noise, ix + 0.5, iy + 0.5) != Ground::Sea) sp.img.put(ix, iy, hex(0xd8bc84));
    }
  };
  road(kHome, kTown, 0.1);
  road(kHome, kHill, -0.1);
  road(kTown, kHill, 0.1);
  road(kHill, kSnow, 0.12);
  road(kHill, kLake, -0.1);
  road(kLake, kNameless, 0.1);
  road(kLake, kKanon, 0.1);
  road(kTown, kEarth, 0.08);

  // Woods and mountains, kept clear of the places.
  Rng rng(402);
  const MapSite sites[] = {kHome, kTown, kHill, kSnow, kLake, kKanon, kNameless, kEarth, kCatIsland};
  auto clear = [&](double x, double y, double r) {
    for (const MapSite& s : sites)
      if (std::hypot(x - s.x, y - s.y) < r) return false;
    return true;
  };
  for (const auto& [x, y, h] : std::initializer_list<std::tuple<double, double, double>>{
           {30, 13, 6}, {37, 18, 5}, {66, 14, 6}, {72, 19, 5}, {11, 40, 5}, {86, 42, 5}, {62, 64, 4}}) {
    map_mountain(sp, x, y, h, y < 30 && x < 45);
  }
  for (int k = 0; k < 140; ++k) {
    const double x = rng.range(4, 92), y = rng.range(8, 94);
    const Ground g = ground_at(noise, x, y);
    if ((g != Ground::Grass && g != Ground::Snow) || !clear(x, y, 11) || ground_at(noise, x, y + 3) == Ground::Sand) continue;
    if (noise.at(x / 9.0 + 7, y / 9.0) < 0.48) continue;  // trees gather into woods
    map_tree(sp, std::round(x), std::round(y), g == Ground::Snow);
  }

  // The lake, 三度湖, with reeds and a tiny islet.
  sp.paint(sp.ellipse(kLake.x, kLake.y, 10, 6.5) | sp.ellipse(kLake.x + 6, kLake.y + 3, 6, 4), kBlue, {Shade::Flat, true, 0, 0, 2});
  sp.fill(sp.ellipse(kLake.x - 1, kLake.y - 1, 7.5, 4.2), kBlue[3]);
  for (int k = 0; k < 4; ++k) sp.dot(kLake.x - 6 + k * 4, kLake.y - 2 + (k & 1) * 3, kBlue[4], 2, 1);
  sp.paint(sp.ellipse(kLake.x + 3, kLake.y + 1, 2, 1.3), kGreen, {Shade::Flat, true, 0, 0, 3});
  sp.dot(kLake.x - 11, kLake.y + 2, kMoss[3], 1, 2), sp.dot(kLake.x - 10, kLake.y + 3, kMoss[2], 1, 2);

  // 君ヶ丘: a round green hill with a lone tree on top.
  sp.paint(sp.ellipse(kHill.x, kHill.y + 2, 8, 5.5), kGreen, {Shade::Sphere, true, 0.08});
  sp.paint(sp.capsule({kHill.x + 1, kHill.y - 1}, {kHill.x + 1, kHill.y - 5}, 0.6), kWood, {Shade::Flat, true, 0, 0, 2});
  sp.paint(sp.circle(kHill.x + 1, kHill.y - 6.5, 3), kGreen, {Shade::Sphere, true, 0.1});

  // イルモール雪原: drifts and a snowman-like cairn among snowy pines.
  sp.paint(sp.ellipse(kSnow.x, kSnow.y + 2, 7, 3), kCloud, {Shade::Sphere, true, 0.0});
  sp.paint(sp.circle(kSnow.x, kSnow.y - 1, 2.6), kCloud, {Shade::Sphere, true, 0.1});
  sp.paint(sp.circle(kSnow.x, kSnow.y - 4.5, 1.8), kCloud, {Shade::Sphere, true, 0.1});
  sp.dot(kSnow.x - 1, kSnow.y - 5, kInk), sp.dot(kSnow.x + 1, kSnow.y - 5, kInk);
  sp.dot(kSnow.x, kSnow.y - 4, kOrange[2]);
  for (const double dx : {-6.0, 6.0}) map_tree(sp, kSnow.x + dx, kSnow.y, true);

  // 名も無き塔: a black, leaning spire with a violet light at its top.
  {
    const double x = kNameless.x, y = kNameless.y;
    sp.paint(sp.poly({{x - 3.5, y + 6}, {x - 2, y - 6}, {x + 0.5, y - 11}, {x + 2.5, y - 6}, {x + 3.5, y + 6}}), kCloth, {Shade::Bevel});
    sp.dot(x - 0.5, y - 3, hex(0xc070ff), 1, 2);
    sp.dot(x - 0.5, y + 2, hex(0xc070ff), 1, 2);
    glow(sp.img, x + 0.5, y - 9, 5, hex(0xc070ff), 0.7);
    sp.img.put(static_cast<int>(x), static_cast<int>(y - 10), hex(0xffffff));
  }

  // カノン塔: a white bell tower with a blue roof.
  {
    const double x = kKanon.x, y = kKanon.y;
    sp.paint(sp.box(x - 2.5, y - 8, x + 2.5, y + 6), kWhite, {Shade::CylX});
    sp.paint(sp.poly({{x - 4, y - 7.5}, {x, y - 14}, {x + 4, y - 7.5}}), kBlue, {Shade::Bevel});
    sp.fill(sp.box(x - 1, y - 6, x + 1, y - 3), kNavy[1]);
    sp.dot(x - 0.5, y - 4, kGold[3], 1, 1);
    sp.fill(sp.box(x - 0.5, y + 2, x + 0.5, y + 6), kNavy[1]);
    sp.paint(sp.box(x - 3.5, y + 5, x + 3.5, y + 7), kStone, {Shade::Flat, true, 0, 0, 3});
  }

  // 地球塔地下: the broken stump of the brown earth tower, and the stair that leads under it.
  {
    const double x = kEarth.x, y = kEarth.y;
    sp.paint(sp.box(x - 5, y - 5, x + 5, y + 4) | sp.ellipse(x, y + 4, 5, 1.5), kLeather, {Shade::CylX});
    // Broken battlements along the top.
    for (const double bx : {-5.0, -2.0, 1.5}) sp.paint(sp.box(x + bx, y - 7 + (bx > 0 ? 1 : 0), x + bx + 2, y - 4.5), kLeather, {Shade::Flat, true, 0, 0, 2});
    for (double by = y - 3; by < y + 3; by += 2) sp.dot(x - 4 + (int(by) % 2) * 2, by, kLeather[1], 2, 0.6), sp.dot(x + 1 + (int(by) % 2), by, kLeather[1], 2, 0.6);
    // The dark arch of the stair going down, with steps.
    sp.paint(sp.box(x - 2.5, y, x + 2.5, y + 4.5) | sp.ellipse(x, y, 2.5, 2.5), kStone, {Shade::Flat, true, 0, 0, 1});
    sp.fill(sp.box(x - 1.5, y, x + 1.5, y + 4.5) | sp.ellipse(x, y, 1.5, 1.5), kInk);
    sp.dot(x - 1.5, y + 2, kStone[1], 3, 0.6);
    sp.dot(x - 1, y + 3.5, kStone[2], 2, 0.6);
  }

  // The town: a wall with a gate, roofs of different colours, a flag.
  {
    const double x = kTown.x, y = kTown.y;
    sp.paint(sp.box(x - 7, y - 2, x + 7, y + 5), kStone, {Shade::Bevel});
    const Ramp* roofs[] = {&kRed, &kBlue, &kOrange};
    for (int k = 0; k < 3; ++k) {
      const double hx = x - 5 + k * 5, hy = y - 3 - (k == 1 ? 2 : 0);
      sp.paint(sp.box(hx - 2, hy, hx + 2, hy + 4), kCream, {Shade::Flat, true, 0, 0, 3});
      sp.paint(sp.poly({{hx - 3, hy + 0.5}, {hx, hy - 3}, {hx + 3, hy + 0.5}}), *roofs[k], {Shade::Bevel});
    }
    sp.fill(sp.box(x - 1, y + 2, x + 1, y + 5), kInk);
    sp.line({x + 7, y - 2}, {x + 7, y - 8}, kWood[1]);
    sp.fill(sp.poly({{x + 7.5, y - 8}, {x + 10.5, y - 7}, {x + 7.5, y - 6}}), kGold[3]);
  }

  // Home: one small house with a red roof, smoke from the chimney and a heart over the door.
  {
    const double x = kHome.x, y = kHome.y;
    sp.paint(sp.box(x - 3.5, y - 1, x + 3.5, y + 4), kCream, {Shade::Bevel});
    sp.paint(sp.poly({{x - 5, y - 0.5}, {x, y - 5.5}, {x + 5, y - 0.5}}), kRed, {Shade::Bevel});
    sp.fill(sp.box(x - 1, y + 1, x + 1, y + 4), kWood[1]);
    sp.dot(x + 2, y + 0.5, kWarmLight, 1, 1);
    sp.paint(sp.box(x + 2, y - 5, x + 3.5, y - 2), kStone, {Shade::Flat, true, 0, 0, 2});
    sp.dot(x + 3, y - 7, kCloud[3]), sp.dot(x + 4, y - 9, kCloud[2]), sp.dot(x + 3, y - 11, kCloud[1]);
    sp.dot(x - 4, y - 8, kPink[2]), sp.dot(x - 2, y - 8, kPink[2]), sp.dot(x - 4, y - 7, kPink[2], 3, 1), sp.dot(x - 3, y - 6, kPink[2]);
  }

  // 猫の島: the island is cat-shaped; a face in the grass and a tiny harbour post.
  {
    const double x = kCatIsland.x, y = kCatIsland.y;
    sp.dot(x - 3, y - 1, kInk), sp.dot(x + 2, y - 1, kInk);
    sp.dot(x - 1, y + 1, kPink[2], 2, 1);
    sp.line({x - 8, y + 1}, {x - 5, y + 1}, hex(0xffffff));
    sp.line({x + 4, y + 1}, {x + 7, y + 1}, hex(0xffffff));
    sp.dot(x - 4.5, y - 6.5, kPink[3]), sp.dot(x + 4, y - 6.5, kPink[3]);
  }

  // A small compass in the south-west sea, and a frame.
  {
    const double x = 8, y = 92;
    sp.fill(sp.poly({{x, y - 5}, {x + 1.5, y}, {x, y + 5}, {x - 1.5, y}}), kCloud[2]);
    sp.fill(sp.poly({{x - 5, y}, {x, y - 1.5}, {x + 5, y}, {x, y + 1.5}}), kCloud[1]);
    sp.fill(sp.poly({{x, y - 5}, {x + 1.5, y}, {x - 1.5, y}}), kRed[3]);
  }
  Image big = sp.img.scaled(2);
  for (int i = 0; i < big.w; ++i) {
    big.put(i, 0, hex(0x0e1a36)), big.put(i, big.h - 1, hex(0x0e1a36));
    big.put(0, i, hex(0x0e1a36)), big.put(big.w - 1, i, hex(0x0e1a36));
  }
  return big;
}

// ---- the room at home ---------------------------------------------------------------------
//
// Drawn on an 80 × 80 grid and doubled: a warm bedroom at night, the lamp lit, a shelf waiting
// for toys.

Image home_room() {
  constexpr int N = 80;
  Image img(N, N);
  // Wallpaper with soft stripes and little dots, a wooden wainscot, then the floorboards.
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < N; ++x) {
      Rgb c = (x / 4) % 2 ? hex(0xf2d8b0) : hex(0xeacba0);
      if (x % 8 == 2 && y % 8 == 4) c = hex(0xd8a888);
      // The top of the wall is in the lamp's shadow.
      if (y < 6 && bayer(x, y) < (6 - y) / 8.0) c = mix(c, hex(0xb08a78), 0.5);
      img.put(x, y, c);
    }
  for (int y = 42; y < 52; ++y)
    for (int x = 0; x < N; ++x) img.put(x, y, y == 42 ? kWood[4] : y == 51 ? kWood[0] : (x % 10 == 0 ? kWood[1] : kWood[2]));
  for (int y = 52; y < N; ++y)
    for (int x = 0; x < N; ++x) {
      const int plank = (y - 52) / 5;
      const int seam = (x + plank * 13) % 23;
      Rgb c = (plank & 1) ? kWood[3] : hex(0xc48a4a);
      if ((y - 52) % 5 == 4) c = kWood[1];
      else if (seam == 0) c = kWood[1];
      img.put(x, y, c);
    }
  Sprite sp(std::move(img));

  // The window: night sky, a moon, curtains.
  sp.paint(sp.box(6, 8, 30, 32), kWood, {Shade::Bevel});
  vbands(sp.img, 8, 10, 28, 30, {hex(0x1a2050), hex(0x2a3470), hex(0x3a4a8a)}, 0.3);
  sp.paint(sp.circle(23, 15, 3), kCream, {Shade::Sphere, false, 0.3});
  for (const auto& [x, y] : std::initializer_list<std::pair<int, int>>{{11, 13}, {15, 22}, {19, 12}, {25, 25}, {12, 27}}) sp.img.put(x, y, hex(0xffffff));
  sp.fill(sp.box(17.5, 10, 18.5, 30) | sp.box(8, 19.5, 28, 20.5), kWood[2]);
  sp.paint(sp.poly({{4, 6}, {11, 6}, {9, 20}, {11, 34}, {4, 34}}), kPink, {Shade::CylX});
  sp.paint(sp.poly({{25, 6}, {32, 6}, {32, 34}, {25, 34}, {27, 20}}), kPink, {Shade::CylX});
  sp.paint(sp.box(3, 4.5, 33, 6.5), kWood, {Shade::Flat, true, 0, 0, 1});
  sp.paint(sp.box(5, 32, 31, 34.5), kWood, {Shade::Bevel});

  // A picture on the wall: a star in a gold frame.
  sp.paint(sp.box(38, 9, 48, 19), kGold, {Shade::Bevel});
  sp.fill(sp.box(39.5, 10.5, 46.5, 17.5), hex(0x2a3470));
  prop_star(sp, {43, 14}, 3, kGold);

  // The toy shelf, with a few little figures already on it.
  sp.paint(sp.box(52, 14, 76, 16), kWood, {Shade::Bevel});
  sp.paint(sp.box(52, 28, 76, 30), kWood, {Shade::Bevel});
  sp.paint(sp.box(53, 16, 54.5, 28) | sp.box(73.5, 16, 75, 28), kWood, {Shade::Flat, true, 0, 0, 1});
  // Books on the lower shelf.
  const Ramp* books[] = {&kRed, &kTeal, &kGold, &kPurple, &kBlue};
  for (int k = 0; k < 5; ++k) {
    const double bx = 56 + k * 3.4, top = 19.5 + (k % 3);
    sp.paint(sp.box(bx, top, bx + 3, 28), *books[k], {Shade::CylX});
  }
  // Little figures on the top shelf.
  sp.paint(sp.circle(58, 11.5, 2.3) | sp.box(56.5, 12, 59.5, 14), kSteel, {Shade::Sphere});
  sp.dot(57, 11, kInk), sp.dot(58.7, 11, kInk);
  sp.paint(sp.circle(64, 11, 2.5) | sp.box(62, 11.5, 66, 14), kOrange, {Shade::Sphere});
  sp.fill(sp.poly({{61.8, 10}, {62.5, 7}, {64, 9}}) | sp.poly({{66.2, 10}, {65.5, 7}, {64, 9}}), kOrange[2]);
  sp.paint(sp.circle(70.5, 11.5, 2.3) | sp.box(69, 12, 72, 14), kPink, {Shade::Sphere});

  // The bed on the right with a patchwork quilt.
  sp.paint(sp.box(46, 38, 78, 41), kWood, {Shade::Bevel});
  sp.paint(sp.box(74, 30, 78, 58), kWood, {Shade::Bevel});
  sp.paint(sp.box(44, 41, 77, 52), kBlue, {Shade::Bevel});
  for (int k = 0; k < 4; ++k) sp.fill(sp.box(47 + k * 7, 44, 50 + k * 7, 47), k % 2 ? kGold[3] : kBlue[4]);
  sp.paint(sp.ellipse(68, 39, 6, 3.2), kCloud, {Shade::Sphere});
  sp.paint(sp.box(44, 52, 47, 60), kWood, {Shade::Bevel});

  // The round rug.
  sp.paint(sp.ellipse(28, 66, 20, 6.5), kRed, {Shade::Flat, true, 0, 0, 2});
  outline(sp.img, sp.ellipse(28, 66, 16.5, 4.5), kGold[3]);
  sp.fill(sp.ellipse(28, 66, 8, 2.2), kOrange[3]);

  // A bedside table with the lamp, and its warm light.
  sp.paint(sp.box(34, 40, 42, 54), kWood, {Shade::Bevel});
  sp.fill(sp.box(35, 45, 41, 46), kWood[1]);
  sp.dot(37.5, 43, kGold[3], 1, 1);
  glow(sp.img, 38, 33, 18, kWarmLight, 0.6);
  sp.paint(sp.box(37, 34, 39, 40), kGold, {Shade::CylX});
  sp.paint(sp.poly({{34, 34.5}, {42, 34.5}, {40, 28}, {36, 28}}), kCream, {Shade::CylX, true, 0.2});
  // A potted plant in the corner.
  sp.paint(sp.poly({{4, 58}, {12, 58}, {11, 66}, {5, 66}}), kOrange, {Shade::CylX});
  for (int k = 0; k < 5; ++k) {
    const double a = -kPi / 2 + (k - 2) * 0.45;
    sp.paint(sp.rellipse(8 + std::cos(a) * 5, 56 + std::sin(a) * 5, 4, 1.8, a), kGreen, {Shade::Sphere});
  }
  return sp.img.scaled(2);
}

// ---- the closing picture ------------------------------------------------------------------
//
// A night sky full of stars, some of them rising from the hill towards one bright star, and the
// hero small on the hilltop looking up. The top left stays calm: the star count is written there.

Image title_picture() {
  constexpr int W = 537, H = 341;
  Image img(W, H);
  vbands(img, 0, 0, W, H, {hex(0x05071a), hex(0x080c26), hex(0x0e1232), hex(0x16183e), hex(0x22204c), hex(0x362a5a), hex(0x5a3a6a), hex(0x8a4e72)},
         0.3);
  Noise noise(501);
  Rng rng(502);
  // The milky way: a soft band across the sky, brighter where the noise is.
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const double d = (y - (300 - x * 0.55)) / 70.0;  // distance from the band's axis
      const double cloud = noise.fractal(x / 60.0, y / 60.0, 4);
      double f = std::exp(-d * d) * (0.35 + cloud * 0.9) - 0.25;
      if (f <= 0) continue;
      f = std::floor(f * 6 + bayer(x, y)) / 6;
      if (f > 0) img.tint(x, y, hex(0x8a86d0), std::min(0.45, f * 0.5));
    }
  // Dust of faint stars, denser in the band.
  for (int k = 0; k < 1400; ++k) {
    const int x = rng.below(W), y = rng.below(H - 40);
    const double d = (y - (300 - x * 0.55)) / 70.0;
    if (rng.uniform() > 0.35 + std::exp(-d * d)) continue;
    const double b = rng.uniform();
    img.tint(x, y, b > 0.85 ? hex(0xfff4d0) : hex(0xc0c8ff), 0.35 + b * 0.6);
  }
  // Brighter stars, some with a cross of light.
  for (int k = 0; k < 70; ++k) {
    const int x = rng.below(W), y = rng.below(H - 70);
    if (x < 230 && y < 100) continue;  // leave the caption area quiet
    const Rgb c = k % 3 == 0 ? hex(0xfff0c0) : k % 3 == 1 ? hex(0xd8e0ff) : hex(0xffd8e8);
    if (k % 5 == 0) sparkle(img, x, y, 2 + k % 2, hex(0xffffff), c);
    else img.rect(x, y, 1 + (k % 2), 1 + (k % 2), c);
  }

  // The great star, and the stars rising to it from the hill.
  const double gx = 372, gy = 92;
  glow(img, gx, gy, 95, hex(0x7a70d0), 0.45);
  glow(img, gx, gy, 40, hex(0xfff4d0), 0.7);
  for (int r = -26; r <= 26; ++r) {
    const double t = 1 - std::abs(r) / 27.0;
    img.tint(static_cast<int>(gx) + r, static_cast<int>(gy), hex(0xffffff), t);
    img.tint(static_cast<int>(gx), static_cast<int>(gy) + r, hex(0xffffff), t);
    if (std::abs(r) < 12) {
      img.tint(static_cast<int>(gx) + r, static_cast<int>(gy) + r, hex(0xfff0d0), t * 0.7);
      img.tint(static_cast<int>(gx) + r, static_cast<int>(gy) - r, hex(0xfff0d0), t * 0.7);
    }
  }
  img.rect(static_cast<int>(gx) - 1, static_cast<int>(gy) - 1, 3, 3, hex(0xffffff));
  for (int k = 0; k < 9; ++k) {
    const double sx = 120 + k * 44 + rng.range(-12, 12), sy = 215 + rng.range(-25, 25);
    const double ex = gx + (sx - gx) * 0.25, ey = gy + (sy - gy) * 0.25 + 10;
    const double len = std::hypot(sx - ex, sy - ey);
    const Rgb c = k % 2 ? hex(0xfff0c0) : hex(0xc8d8ff);
    // A trail that brightens towards the moving head.
    for (double t = 0; t < 1; t += 0.5 / len) {
      const double x = sx + (ex - sx) * t * 0.55, y = sy + (ey - sy) * t * 0.55;
      img.tint(static_cast<int>(x), static_cast<int>(y), c, 0.15 + 0.6 * t);
    }
    const int hx = static_cast<int>(sx + (ex - sx) * 0.55), hy = static_cast<int>(sy + (ey - sy) * 0.55);
    sparkle(img, hx, hy, 2, hex(0xffffff), c);
  }

  // Two lines of hills, then the hilltop with its tree, the hero and the cat.
  for (int x = 0; x < W; ++x) {
    const double far = 268 + 18 * std::sin(x * 0.011 + 0.8) + 8 * std::sin(x * 0.031);
    const double nearh = 300 + 26 * std::sin(x * 0.008 + 2.2) + 6 * std::sin(x * 0.05) - 30 * std::exp(-std::pow((x - 140) / 90.0, 2));
    for (int y = static_cast<int>(far); y < H; ++y) img.put(x, y, y < far + 1 ? hex(0x3a2a58) : hex(0x1e1838));
    for (int y = static_cast<int>(nearh); y < H; ++y) img.put(x, y, y < nearh + 1 ? hex(0x2a2048) : hex(0x0e0c1e));
  }
  // Blades of grass against the sky along the near hill.
  for (int x = 2; x < W; x += 3 + rng.below(4)) {
    const double nearh = 300 + 26 * std::sin(x * 0.008 + 2.2) + 6 * std::sin(x * 0.05) - 30 * std::exp(-std::pow((x - 140) / 90.0, 2));
    const int h = 2 + rng.below(4);
    for (int i = 0; i < h; ++i) img.put(x + (i > 1 ? 1 : 0), static_cast<int>(nearh) - i, hex(0x0e0c1e));
  }
  // The hero, drawn in the battle pictures' pixel size, from behind, face raised to the sky.
  {
    const double base = 300 + 26 * std::sin(140 * 0.008 + 2.2) + 6 * std::sin(140 * 0.05) - 30;
    Sprite sp(std::move(img), 140 - 3 * 8, base - 3 * 17.5, 3);
    const Rgb ink = hex(0x0e0c1e);
    // Head tipped back, a tuft of hair, shoulders, arms at the sides, legs apart.
    Mask hero = sp.circle(8, 3.6, 2.6) | sp.poly({{7.6, 1.2}, {8.8, 0.2}, {9.6, 1.6}}) |
                sp.box(7.2, 5.5, 8.8, 7) | sp.poly({{5.2, 6.8}, {10.8, 6.8}, {10, 12}, {6, 12}}) |
                sp.capsule({5.4, 7.4}, {4.4, 11.8}, 0.85) | sp.capsule({10.6, 7.4}, {11.6, 11.8}, 0.85) |
                sp.capsule({7, 11.5}, {6.4, 17.2}, 1.05) | sp.capsule({9, 11.5}, {9.6, 17.2}, 1.05);
    // The cape lifted by the wind.
    hero |= sp.poly({{6, 6.8}, {10.4, 6.8}, {14.5, 8.6}, {17.5, 12.5}, {14.5, 11.8}, {15, 14.5}, {11.5, 12.5}});
    sp.fill(hero, ink);
    // The cat beside, sitting.
    sp.fill(sp.ellipse(-3, 15.5, 2.6, 2.2) | sp.circle(-3, 12, 1.8) | sp.poly({{-4.8, 11.5}, {-4.6, 9.2}, {-3.4, 10.6}}) |
                sp.poly({{-1.2, 11.5}, {-1.4, 9.2}, {-2.6, 10.6}}) | sp.capsule({-0.6, 17}, {1.5, 15}, 0.6),
            ink);
    img = std::move(sp.img);
  }
  return img;
}

}  // namespace art
