// The page's scripts as the game calls them: each defined with its script in page_calls.cpp.
#pragma once
#include <emscripten/em_macros.h>

#include <cstdint>

// clang-format off
extern "C" {
void web_put_frame(const char* canvas, const uint32_t* pixels, int width, int height, int x, int y, int w, int h) EM_IMPORT(web_put_frame);
void web_show_error(const char* text) EM_IMPORT(web_show_error);
void web_persist_save(const char* folder) EM_IMPORT(web_persist_save);
void web_publish_controls(const char* json, const char* question) EM_IMPORT(web_publish_controls);
void web_announce(const char* text) EM_IMPORT(web_announce);
double web_units_per_css() EM_IMPORT(web_units_per_css);
int web_take_rigged_draw() EM_IMPORT(web_take_rigged_draw);
int web_take_save_request() EM_IMPORT(web_take_save_request);
int web_take_fonts_changed() EM_IMPORT(web_take_fonts_changed);
void web_note_pauses(double asked, double taken) EM_IMPORT(web_note_pauses);
void web_pause(double ms) EM_IMPORT(__asyncjs__web_pause);
void web_rest(int ms) EM_IMPORT(__asyncjs__web_rest);
void web_wake() EM_IMPORT(web_wake);
}
// clang-format on
