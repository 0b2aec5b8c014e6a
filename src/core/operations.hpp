// The operations every feature shares: messages, the status panel, sounds, the window's life.
#pragma once
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/form.hpp"

struct Game;

// A number as every status text and message writes it: plain decimal.
inline std::string num(int32_t v) { return std::to_string(v); }

// A text of strings and figures (written as `num` writes them), built in one buffer: the status
// panel writes its texts at every blow.
inline void append_part(std::string& s, std::string_view text) { s.append(text); }
inline void append_part(std::string& s, int32_t v) {
  char digits[12];
  s.append(digits, std::to_chars(digits, digits + sizeof digits, v).ptr);
}
template <class... Parts>
std::string joined(const Parts&... parts) {
  std::string s;
  s.reserve(256);
  (append_part(s, parts), ...);
  return s;
}

// Output: the message window, the status panel, sounds.
void show_message(Game& g, const std::string& text);
void refresh_status(Game& g);
// Whether a refresh now would leave the game as it is: the status shows the hero and the
// opponent as they are, and its caps have nothing left to bring down.
bool status_settled(const Game& g);
void play_sound(Game& g, const char* name);
// A message without the pause after it (the pause is set to 0 for it and put back).
void show_message_quickly(Game& g, const std::string& text);
// A refusal: the buzz, then the message.
void refuse(Game& g, const char* message);
// A move between two screens: the click sound, one panel hidden, the other shown.
void switch_panels(Game& g, ctl::Id hide, ctl::Id show);

// The window's life.
void create_window(Game& g);  // the creation step: loads everything, lays out the panels, starts the sound
// The same in two, for a host that shows the window's first frame between them: opening the sound
// output (a thread, and with a sound server a connection) is nothing the first frame needs.
void create_window_but_sound(Game& g);
void start_sound(Game& g);
void show_ending(Game& g);    // the ending's panel, its picture read the first time
void continue_game(Game& g);  // Button39
void new_hero(Game& g);       // Button1
void close_window(Game& g);   // saves (when the data was read)
void destroy_window(Game& g); // releases the current wave
std::string random_name(Game& g);
