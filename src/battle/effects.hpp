#pragma once
#include <string>

struct Game;

// The picture effects of battle and the dungeon, drawn on the 200 x 200 picture `cg`. Each one
// blocks while it plays, repainting the window at every frame.
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
