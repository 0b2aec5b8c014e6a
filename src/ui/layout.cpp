// The layout table: every control's design values, from layout.def.
#include <array>

#include "ui/form.hpp"

// Font shorthands of the layout table.
#define PGOTHIC(px) Font{Face::PGothic, px, false, false}
#define PGOTHIC_B(px) Font{Face::PGothic, px, true, false}
#define PGOTHIC_I(px) Font{Face::PGothic, px, false, true}
#define PGOTHIC_BI(px) Font{Face::PGothic, px, true, true}
#define GOTHIC_B(px) Font{Face::Gothic, px, true, false}
#define MINCHO_B(px) Font{Face::Mincho, px, true, false}
// The help panel's headings and texts.
#define HEADING .fore = cl::teal, .back = cl::white, .font = PGOTHIC_B(16)
#define HELP_TEXT .fore = cl::white, .font = PGOTHIC_B(13), .wrap = true

namespace {
constexpr ControlSpec kWindow{"form", Kind::Window, ctl::form, 0, 0, 551, 468, true, "",
                              Look{.back = cl::teal}};

constexpr std::array<ControlSpec, ctl::count - 1> kLayout{{
#define CONTROL(name, kind, parent, x, y, w, h, visible, caption, ...) \
  ControlSpec{#name, Kind::kind, ctl::parent, x, y, w, h, visible, caption, Look{__VA_ARGS__}},
#include "ui/layout.def"
#undef CONTROL
}};
}  // namespace

const ControlSpec& Form::spec(ctl::Id id) { return id == ctl::form ? kWindow : kLayout[id - 1]; }
