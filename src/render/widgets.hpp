// Where the parts of the slider and of the list box lie, in window coordinates: the renderer
// draws them there and the window hit-tests the mouse against the same rectangles.
#pragma once
#include "ui/form.hpp"

// The text-speed slider: a channel, a thumb pointing down at the ticks, one tick per position.
struct SliderGeometry {
  Rect channel;
  int first_x = 0, last_x = 0;  // centres of the thumb at the lowest and highest position
  Rect thumb;                   // its box, the point included
  int thumb_point = 0;          // rows of the point at the thumb's bottom
  int tick_y = 0, tick_h = 0;
  int tick_x(const Control& c, int position) const;
};
SliderGeometry slider_geometry(const Rect& r, const Control& c);
// The position whose tick is nearest to x.
int slider_position_at(const SliderGeometry& g, const Control& c, int x);

// The list box: a sunken border, rows of items, and a vertical scroll bar when they overflow.
struct ListGeometry {
  Rect inner;  // inside the border
  Rect rows;   // where the items are drawn
  int item_h = 13;
  int visible_rows = 0;  // rows seen in full
  int max_top = 0;       // the highest useful top_index
  bool scroll_bar = false;
  Rect bar, up, down, track, thumb;
};
ListGeometry list_geometry(const Rect& r, const Control& c);
// The entry under a point, or -1.
int list_item_at(const ListGeometry& g, const Control& c, int x, int y);
// The top_index that puts the thumb's top at track offset y (dragging the thumb).
int list_top_for_thumb(const ListGeometry& g, int thumb_top);
