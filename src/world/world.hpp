// The world map's operations: the locations, the shop and home, and the road.
#pragma once
#include <cstdint>

struct Game;

// The world map and its locations.
void enter_location(Game& g, uint8_t id);
void leave_location(Game& g);
void open_shop(Game& g);        // Button14
void close_shop(Game& g);       // Button15
void open_star_shop(Game& g);   // map0
void open_home(Game& g);        // Button23
void close_home(Game& g);       // Button24

// The road through a location.
void walk_forward(Game& g);  // Button27
void walk_back(Game& g);     // Button16
void disarm_trap(Game& g);   // wana_b
void search_spot(Game& g);   // sira_b
// One day of life span for a step in either direction.
void spend_life(Game& g);
