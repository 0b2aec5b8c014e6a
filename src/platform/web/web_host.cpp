// The web page's host: the picture on the canvas at the zoom that fits, with its text and fonts,
// and the errors the page shows.
#include "platform/web/web_host.hpp"

#include <emscripten.h>

#include <algorithm>
#include <iostream>

#include "core/game.hpp"
#include "platform/web/page_calls.hpp"
#include "render/widgets.hpp"

int64_t WebHost::now_ms() { return static_cast<int64_t>(emscripten_get_now()); }

void WebHost::repaint() { redraw(); }

void WebHost::redraw() {
  if (!game_ || !input_.needs_redraw()) return;
  view_->compose(game_->form, input_.ui());
  const Frame& f = view_->frame();
  // Only where the frame changed since the last one put on the canvas.
  const Rect part = view_->take_changes().value_or(Rect{0, 0, f.width, f.height});
  if (!part.empty()) web_put_frame(canvas_.c_str(), f.pixels.data(), f.width, f.height, part.x, part.y, part.w, part.h);
  input_.drawn();
}

void WebHost::report(const std::string& utf8) {
  std::cerr << utf8 << '\n';
  web_show_error(utf8.c_str());
}

void WebHost::show_error(const std::string& text) { report(sjis_.to_utf8(text)); }

bool WebHost::load_bitmap(const std::string& path, Canvas& into) { return bitmaps_.load(path, into); }

void WebHost::draw_text(Canvas& canvas, int x, int y, const std::string& text, const Font& font,
                        uint32_t colour) {
  write_text(canvas, view_->text(), x, y, text, font, colour);
}

void WebHost::rezoom() {
  const int zoom = std::clamp(EM_ASM_INT({ return Module.lusheraScale(); }), 1, kMaxZoom);
  // The next frame goes to the canvas whole, and the page sizes it for the screen's pixels.
  input_.draw_again();
  view_->show_all_again();
  if (zoom == scale_) return;
  scale_ = zoom;
  view_ = std::make_unique<FormRenderer>(sjis_, raster_, scale_);
}

void WebHost::refont() {
  view_ = std::make_unique<FormRenderer>(sjis_, raster_, scale_);
  input_.draw_again();
}
