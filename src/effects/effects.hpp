// The picture effects of battle, the road and the map, as the game's features call them.
#pragma once
#include <cstdint>
#include <string>

struct Game;

// The picture effects of battle, the road and the way in and out of a location, drawn on the
// 200 x 200 picture `cg`. Each one blocks while it plays, repainting the window at every frame.
void redraw_opponent(Game& g);  // bak's top-left 64 x 64, stretched over cg (not repainted)
void flash_hit(Game& g);
void shake_window(Game& g);
void rise_white(Game& g);
void fall_white(Game& g);
void rise_white_thin(Game& g);
void rise_red(Game& g);
void close_red(Game& g);
void close_green(Game& g);
void flash_white(Game& g);
void flash_blue(Game& g);
void rise_caption(Game& g, const std::string& text);
// The growing square that shows a new opponent; no pause between frames.
void reveal_opponent(Game& g);
// A black square growing from the centre over the whole picture, 1 ms a frame.
void close_black(Game& g);
// The world map growing from the centre over the picture, 1 ms a frame.
void reveal_map(Game& g);

// The road: a floor stripe sliding down (a step forward, 1 ms a frame) or up (back, no pause).
void step_animation(Game& g, bool forward);
// A square of the colour growing to 80 x 80 and shrinking again, 1 ms a frame, leaving the
// picture black: white for a spot to search, red for a trap.
void flash_spot(Game& g, uint32_t colour);
