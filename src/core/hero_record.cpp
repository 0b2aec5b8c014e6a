// The table of the hero's saved fields.
#include "core/hero_record.hpp"

#include <array>

namespace {

template <auto Member>
std::span<uint8_t> run(Hero& h) {
  return h.*Member;
}

const HeroField kHeroFields[] = {
    {.name = "hero.name", .text = &Hero::name},
    {.name = "hero.spirit_name", .text = &Hero::spirit_name},
    {.name = "hero.hp", .number = &Hero::hp},
    {.name = "hero.mp", .number = &Hero::mp},
    {.name = "hero.max_hp", .number = &Hero::max_hp},
    {.name = "hero.max_mp", .number = &Hero::max_mp},
    {.name = "hero.spirit_power", .number = &Hero::spirit_power},
    {.name = "money", .number = &Hero::money},
    {.name = "hero.level", .number = &Hero::level},
    {.name = "hero.exp", .number = &Hero::exp},
    {.name = "stars", .number = &Hero::stars},
    {.name = "hero.life", .number = &Hero::life},
    {.name = "hero.luck", .number = &Hero::luck},
    // Level then proficiency of each technique; the driver reads them as tech_lv[t], tech_exp[t].
    {.name = "tech", .bytes = run<&Hero::tech>},
    {.name = "world_flags", .bytes = run<&Hero::world>, .first = 200},
    {.name = "item_count", .bytes = run<&Hero::item_count>},
    {.name = "attr_sun", .number = &Hero::attr_sun},
    {.name = "attr_water", .number = &Hero::attr_water},
    {.name = "attr_magic", .number = &Hero::attr_magic},
    {.name = "attr_angel", .number = &Hero::attr_angel},
    {.name = "hero.attack", .number = &Hero::attack},
    {.name = "hero.magic", .number = &Hero::magic},
    {.name = "hero.defense", .number = &Hero::defense},
    {.name = "owned_flags", .bytes = run<&Hero::owned_flags>},
};

}  // namespace

int HeroField::lines() const {
  Hero h;
  return bytes ? static_cast<int>(bytes(h).size()) : 1;
}

std::span<const HeroField> hero_fields() { return kHeroFields; }

int hero_record_lines() {
  static const int lines = [] {
    int n = 0;
    for (const HeroField& f : kHeroFields) n += f.lines();
    return n;
  }();
  return lines;
}
