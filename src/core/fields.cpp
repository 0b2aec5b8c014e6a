// The game's values by their names, for the driver's get and set.
#include "core/fields.hpp"

#include <functional>
#include <variant>

#include "core/game.hpp"
#include "core/hero_record.hpp"
#include "core/savefile.hpp"
#include "core/whole_number.hpp"

namespace {

using Ref = std::variant<int32_t*, uint8_t*, std::string*>;

struct Scalar {
  const char* name;
  std::function<Ref(Game&)> at;
};

#define INT(expr) [](Game& g) -> Ref { return &(expr); }
const Scalar kScalars[] = {
    {"hero.status", INT(g.hero.status)},
    {"enemy.name", INT(g.enemy.name)},
    {"enemy.spirit_name", INT(g.enemy.spirit_name)},
    {"enemy.level", INT(g.enemy.level)},
    {"enemy.hp", INT(g.enemy.hp)},
    {"enemy.mp", INT(g.enemy.mp)},
    {"enemy.max_hp", INT(g.enemy.max_hp)},
    {"enemy.max_mp", INT(g.enemy.max_mp)},
    {"enemy.attribute", INT(g.enemy.attribute)},
    {"enemy.job", INT(g.enemy.job)},
    {"enemy.spirit_power", INT(g.enemy.spirit_power)},
    {"enemy.status", INT(g.enemy.status)},
    {"location.name", INT(g.location.name)},
    {"location.boss_line", INT(g.location.boss_line)},
    {"location.length", INT(g.location.length)},
    {"location.progress", INT(g.location.progress)},
    {"location.job_range", INT(g.location.job_range)},
    {"location.boss_name", INT(g.location.boss_name)},
    {"location.boss_spirit", INT(g.location.boss_spirit)},
    {"location.id", INT(g.location.id)},
    {"location.boss_level", INT(g.location.boss_level)},
    {"location.boss_hp", INT(g.location.boss_hp)},
    {"location.boss_mp", INT(g.location.boss_mp)},
    {"location.boss_attribute", INT(g.location.boss_attribute)},
    {"location.boss_job", INT(g.location.boss_job)},
    {"location.boss_spirit_power", INT(g.location.boss_spirit_power)},
    {"message_delay_ms", INT(g.message_delay_ms)},
    {"message_cursor", INT(g.message_cursor)},
    {"hovered_tech", INT(g.hovered_tech)},
    {"selected_item", INT(g.selected_item)},
    {"boss_battle", INT(g.boss_battle)},
};
#undef INT

// Indexed fields: NAME[i] or NAME[i].FIELD, with the valid index range.
struct Indexed {
  const char* name;
  int first, last;
  std::function<Ref(Game&, int, std::string_view member)> at;  // nullptr member: not found
};

std::optional<Ref> none() { return std::nullopt; }

const Indexed kIndexed[] = {
    {"tech_lv", 0, 99, [](Game& g, int i, std::string_view) -> Ref { return &g.hero.tech_lv(i); }},
    {"tech_exp", 0, 99, [](Game& g, int i, std::string_view) -> Ref { return &g.hero.tech_exp(i); }},
    {"name_pool", 0, kNamePool - 1,
     [](Game& g, int i, std::string_view) -> Ref { return &g.name_pool[i]; }},
    {"spirit_names", 0, kSpiritNames - 1,
     [](Game& g, int i, std::string_view) -> Ref { return &g.spirit_names[i]; }},
    {"figure_names", 0, kFigureNames - 1,
     [](Game& g, int i, std::string_view) -> Ref { return &g.figure_names[i]; }},
    {"item", 0, kItems - 1,
     [](Game& g, int i, std::string_view m) -> Ref {
       Item& it = g.items[i];
       if (m == "name") return &it.name;
       if (m == "description") return &it.description;
       if (m == "kind") return &it.kind;
       if (m == "value") return &it.value;
       return static_cast<std::string*>(nullptr);
     }},
};

bool is_null(const Ref& r) {
  return std::visit([](auto* p) { return p == nullptr; }, r);
}

std::optional<Ref> resolve(Game& g, std::string_view name) {
  for (const HeroField& f : hero_fields()) {
    if (name != f.name) continue;
    if (f.text) return &(g.hero.*f.text);
    if (f.number) return &(g.hero.*f.number);
  }
  for (const Scalar& s : kScalars)
    if (name == s.name) return s.at(g);
  const size_t open = name.find('[');
  const size_t close = name.find(']');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open)
    return none();
  const std::string_view base = name.substr(0, open);
  int index = 0;
  const char* b = name.data() + open + 1;
  const char* e = name.data() + close;
  if (!parse_whole_number(std::string_view(b, static_cast<size_t>(e - b)), index)) return none();
  std::string_view member;
  if (close + 1 < name.size()) {
    if (name[close + 1] != '.') return none();
    member = name.substr(close + 2);
  }
  for (const HeroField& f : hero_fields()) {
    if (!f.bytes || base != f.name || !member.empty()) continue;
    const std::span<uint8_t> run = f.bytes(g.hero);
    if (index < f.first || index - f.first >= static_cast<int>(run.size())) return none();
    return &run[static_cast<size_t>(index - f.first)];
  }
  for (const Indexed& f : kIndexed) {
    if (base != f.name || index < f.first || index > f.last) continue;
    if (!member.empty() && std::string_view(f.name) != "item") return none();
    Ref r = f.at(g, index, member);
    if (is_null(r)) return none();
    return r;
  }
  return none();
}

}  // namespace

std::optional<std::string> FieldAccess::get(Game& g, std::string_view name) {
  const auto ref = resolve(g, name);
  if (!ref) return std::nullopt;
  return std::visit(
      [&](auto* p) -> std::string {
        using T = std::remove_pointer_t<decltype(p)>;
        if constexpr (std::is_same_v<T, std::string>) return g.sjis.to_utf8(*p);
        else return std::to_string(static_cast<int32_t>(*p));
      },
      *ref);
}

std::optional<std::string> FieldAccess::set(Game& g, std::string_view name, std::string_view value) {
  const auto ref = resolve(g, name);
  if (!ref) return "no field " + std::string(name);
  return std::visit(
      [&](auto* p) -> std::optional<std::string> {
        using T = std::remove_pointer_t<decltype(p)>;
        if constexpr (std::is_same_v<T, std::string>) {
          // Every text of the game is one line of a data file; one that could not be saved and
          // read back as the same line is refused here already.
          if (value.find_first_of("\r\n") != std::string_view::npos)
            return "a text cannot hold a line break: " + std::string(name);
          std::string text = g.sjis.from_utf8(value);
          if (text.size() > kMaxLineBytes)
            return "a text of " + std::to_string(text.size()) + " bytes is longer than the " +
                   std::to_string(kMaxLineBytes) + " a line can hold: " + std::string(name);
          *p = std::move(text);
        } else {
          int32_t v = 0;
          if (!parse_whole_number(value, v)) return "not a 32-bit number: " + std::string(value);
          *p = static_cast<T>(v);  // bytes keep their low 8 bits
        }
        return std::nullopt;
      },
      *ref);
}
