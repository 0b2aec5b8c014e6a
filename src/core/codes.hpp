// The numbers the records and the data files hold, by name: what a status, an attribute, an
// item's kind or a world flag means. The values are fixed by the save and the catalogues.
#pragma once
#include <cstdint>

// An ailment of either side (hero.status, enemy.status); the opponent only ever has 0 to 5.
namespace ailment {
enum : int32_t {
  none = 0,
  asleep = 1,
  poisoned = 2,
  stone = 3,
  healing = 4,
  frenzied = 5,
  attack_sealed = 6,
  magic_sealed = 7,
  confused = 8,
};
}  // namespace ailment

// The attribute of an opponent (enemy.attribute, location.boss_attribute). Sun stands against
// water and magic against angel.
namespace attribute {
enum : int32_t { none = 0, sun = 1, water = 2, magic = 3, angel = 4 };
}  // namespace attribute

// The kind of an item of the catalogue.
namespace item_kind {
constexpr int32_t figure = 8;    // a toy figure that helps in battle (ids 35 .. 44)
constexpr int32_t nothing = 23;  // an item that does nothing when used, and stays
constexpr int32_t card = 111;    // a card made in battle (ids 256 .. 512)
// A sword, for the sword counter: its value is the fee.
constexpr bool is_sword(int32_t kind) { return kind >= 100 && kind <= 110; }
}  // namespace item_kind

// The part of the catalogue that searches and victories find items in: the first draw is among
// ids 0 .. 251, every further one among 0 .. 252, and after this many redraws an owned item is
// taken as it is.
namespace findable {
constexpr int first_draw = 252;
constexpr int redraw = 253;
constexpr int redraw_budget = 253;
}  // namespace findable

// The world flags (hero.world_flags, indexes 200 .. 299).
namespace world_flag {
constexpr int last_boss_reached = 200;  // the walk through location 7 reached its boss: the star shop opens
// Set when the boss of location 1 .. 7 is beaten; the next location's button shows from then on.
constexpr int boss_beaten(int location) { return 201 + location; }
}  // namespace world_flag

// The technique table holds ten levels of each technique in a row.
constexpr int kTechLevels = 10;
