// The driver's screenshots, drawn with FreeType and written as PNG; none in the node build.
#include "platform/headless/screenshot.hpp"

#include "render/text_raster.hpp"
#ifndef __EMSCRIPTEN__
#include "render/freetype_raster.hpp"
#include "render/png.hpp"
#endif

Screenshots::Screenshots() = default;
Screenshots::~Screenshots() = default;

#ifdef __EMSCRIPTEN__
// The driver built for node has neither FreeType nor zlib: it plays, but draws nothing.
std::optional<std::string> Screenshots::take(const Form&, const Sjis&, const std::string&, int) {
  return "screenshots need the desktop build (lushera_headless): this one has no fonts to draw with";
}
#else
std::optional<std::string> Screenshots::take(const Form& form, const Sjis& sjis, const std::string& file,
                                             int scale) {
  try {
    if (!fonts_) fonts_ = std::make_unique<FreeTypeRaster>();
    if (!write_png(file, compose_form_image(form, sjis, *fonts_, scale))) return "cannot write " + file;
  } catch (const FontError& e) {
    return std::string("cannot draw the window: ") + e.what();
  }
  return std::nullopt;
}
#endif
