// The 24 techniques' groups and the ones the rules name, and which button performs which.
#pragma once
#include "ui/form.hpp"

// The 24 techniques, in three groups of eight (the battle's three panels of buttons), and the
// ones the rules name on their own.
namespace technique {
enum class Group { attack, magic, special, none };
constexpr int per_group = 8;
constexpr Group group_of(int t) {
  return t >= 1 && t <= 3 * per_group ? static_cast<Group>((t - 1) / per_group) : Group::none;
}
constexpr int flick = 1;   // でこぴん, which every new hero knows
constexpr int steal = 20;  // 盗む, the star shop's secret
constexpr int card = 22;   // カード化, learned with a hundred stars
}  // namespace technique

// The 24 technique buttons lie in three panels of eight, one per group (w1..w8, w9..w16,
// w17..w24); the panels' own rows stand between the groups in the layout, so the ids are not one
// run. These two are the only place that knows how a button and its technique correspond.

// The technique (1 .. 24) a control performs, or 0 when it is no technique button.
constexpr int technique_of(ctl::Id id) {
  constexpr ctl::Id kFirst[3] = {ctl::w1, ctl::w9, ctl::w17};
  for (int group = 0; group < 3; ++group)
    if (id >= kFirst[group] && id < kFirst[group] + technique::per_group)
      return group * technique::per_group + (id - kFirst[group]) + 1;
  return 0;
}

// The button of technique t (1 .. 24).
constexpr ctl::Id technique_button(int t) {
  constexpr ctl::Id kFirst[3] = {ctl::w1, ctl::w9, ctl::w17};
  return static_cast<ctl::Id>(kFirst[(t - 1) / technique::per_group] + (t - 1) % technique::per_group);
}

static_assert(ctl::w8 - ctl::w1 == 7 && ctl::w16 - ctl::w9 == 7 && ctl::w24 - ctl::w17 == 7,
              "each group's eight buttons stand in a row of the layout");
static_assert(technique_of(ctl::m_box) == 0 && technique_of(ctl::t_box) == 0);
