// The picture effects: sweeps, flashes, growing squares, the rising caption and the road's step.
#include "effects/effects.hpp"

#include "core/game.hpp"
#include "ui/technique_buttons.hpp"

namespace {

Canvas& picture(Game& g) {
  // Drawing on a picture that has none gives it a blank one of the control's size first.
  Canvas& c = g.form[ctl::cg].canvas;
  if (c.empty()) c.resize(g.form[ctl::cg].w, g.form[ctl::cg].h);
  return c;
}

void set_colour(Canvas& c, uint32_t colour) { c.brush = c.pen = colour; }

// Frame i (0 .. 25) of a square growing from the centre of the picture stands this far inside
// each edge: 100 pixels at the first frame, none at the last.
constexpr int square_inset(int i) { return (25 - i) * 4; }

enum class Shape { Band, ThinBand, Square };

// One shape a frame, moving 8 pixels a frame; the opponent is drawn back after each shown frame.
struct SweepEffect {
  uint32_t colour;
  Shape shape;
  bool upwards;  // frames 25 down to 0
  int pause_ms;  // after each repaint; 0 for none
};

void sweep(Game& g, const SweepEffect& e) {
  Canvas& c = picture(g);
  set_colour(c, e.colour);
  for (int i = 0; i <= 25; ++i) {
    const int k = e.upwards ? 25 - i : i;
    switch (e.shape) {
      case Shape::Band: c.rectangle(0, 8 * k, 200, 8 * k + 25); break;
      case Shape::ThinBand: c.rectangle(0, 8 * k, 200, 8 * k + 12); break;
      case Shape::Square: c.rectangle(8 * k, 8 * k, 200 - 8 * k, 200 - 8 * k); break;
    }
    g.host.repaint();
    if (e.pause_ms) g.host.sleep_ms(e.pause_ms);
    redraw_opponent(g);
  }
  set_colour(c, cl::black);
}

// Four flashes of the whole picture, each followed by the opponent again.
void flash(Game& g, uint32_t colour, bool with_colour, int second_pause_ms) {
  Canvas& c = picture(g);
  for (int pass = 0; pass < 4; ++pass) {
    if (with_colour) {
      set_colour(c, colour);
      c.rectangle(0, 0, 200, 200);
    } else {
      redraw_opponent(g);
    }
    g.host.repaint();
    g.host.sleep_ms(10);
    redraw_opponent(g);
    g.host.repaint();
    g.host.sleep_ms(second_pause_ms);
  }
  set_colour(c, cl::black);
}

}  // namespace

void redraw_opponent(Game& g) {
  picture(g).copy_rect(0, 0, 200, 200, g.form[ctl::bak].canvas, 0, 0, 64, 64);
}

void flash_hit(Game& g) {
  const int t = g.hovered_tech;
  using technique::Group;
  const Group group = technique::group_of(t);
  const uint32_t colour = group == Group::attack ? cl::red : group == Group::magic ? cl::white : cl::fuchsia;
  flash(g, colour, group != Group::none, 10);
}

void flash_white(Game& g) { flash(g, cl::white, true, 5); }
void flash_blue(Game& g) { flash(g, cl::blue, true, 5); }

void rise_white(Game& g) { sweep(g, {cl::white, Shape::Band, true, 0}); }
void fall_white(Game& g) { sweep(g, {cl::white, Shape::Band, false, 0}); }
void rise_white_thin(Game& g) { sweep(g, {cl::white, Shape::ThinBand, true, 0}); }
void rise_red(Game& g) { sweep(g, {cl::red, Shape::Band, true, 1}); }
void close_red(Game& g) { sweep(g, {cl::red, Shape::Square, false, 1}); }
void close_green(Game& g) { sweep(g, {cl::green, Shape::Square, false, 1}); }

void shake_window(Game& g) {
  for (int i = 0; i < 5; ++i) {
    g.host.move_window(-4, 4);
    g.host.repaint();
    g.host.move_window(4, -4);
    g.host.repaint();
  }
}

void rise_caption(Game& g, const std::string& text) {
  g.form.hide(ctl::e_state);
  g.form.hide(ctl::e_state2);
  Canvas& c = picture(g);
  const Font font{Face::PGothic, 24, true, false};  // 18 points
  auto frames = [&](int from, int to) {
    for (int k = from; k <= to; ++k) {
      g.host.draw_text(c, 0, 200 - 4 * k, text, font, cl::white);
      g.host.repaint();
      redraw_opponent(g);
    }
  };
  frames(0, 25);
  g.host.sleep_ms(400);
  frames(26, 50);
  g.form.show(ctl::e_state);
  g.form.show(ctl::e_state2);
}

void reveal_opponent(Game& g) {
  Canvas& c = picture(g);
  for (int i = 0; i <= 25; ++i) {
    const int a = square_inset(i);
    c.copy_rect(a, a, 200 - a, 200 - a, g.form[ctl::bak].canvas, 0, 0, 64, 64);
    g.host.repaint();
  }
}

void close_black(Game& g) {
  Canvas& c = picture(g);
  c.brush = cl::black;
  for (int i = 0; i <= 25; ++i) {
    const int a = square_inset(i);
    if (i == 0 || a == 0) {
      c.fill_rect(a, a, 200 - a, 200 - a);
    } else {
      // The square of the frame before is black already: only the ring around it is new.
      const int b = a + 4;
      c.fill_rect(a, a, 200 - a, b);
      c.fill_rect(a, 200 - b, 200 - a, 200 - a);
      c.fill_rect(a, b, b, 200 - b);
      c.fill_rect(200 - b, b, 200 - a, 200 - b);
    }
    g.host.repaint();
    g.host.sleep_ms(1);
  }
}

void reveal_map(Game& g) {
  Canvas& c = picture(g);
  const Canvas& map = g.form[ctl::bakmap].canvas;
  for (int i = 0; i <= 25; ++i) {
    const int a = square_inset(i);
    c.copy_rect(a, a, 200 - a, 200 - a, map, a, a, 200 - a, 200 - a);
    g.host.repaint();
    g.host.sleep_ms(1);
  }
}

void step_animation(Game& g, bool forward) {
  Canvas& c = picture(g);
  c.pen = cl::black;
  for (int j = 0; j <= 25; ++j) {
    const int i = forward ? j : 25 - j;
    c.brush = cl::maroon;
    c.rectangle(75 - 3 * i, 8 * i, 125 + 3 * i, 8 * i + 25);
    g.host.repaint();
    if (forward) g.host.sleep_ms(1);
    c.brush = cl::black;
    c.rectangle(75 - 3 * i, 8 * i, 125 + 3 * i, 8 * i + 25);
  }
}

void flash_spot(Game& g, uint32_t colour) {
  Canvas& c = picture(g);
  c.pen = cl::black;
  c.brush = colour;
  auto frame = [&](int i) {
    const int a = square_inset(i);
    c.rectangle(a, a, 200 - a, 200 - a);
    g.host.repaint();
    g.host.sleep_ms(1);
  };
  for (int i = 0; i <= 10; ++i) frame(i);
  for (int i = 10; i >= 0; --i) frame(i);
  c.brush = cl::black;
  c.rectangle(0, 0, 200, 200);
}
