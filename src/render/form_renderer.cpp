// Composing the window's frame: every control, the tip and the question box, and what changed.
#include "render/form_renderer.hpp"

#include <algorithm>
#include <cstring>

#include "render/widgets.hpp"
#include "ui/sjis.hpp"

namespace {

// The classic desktop's 3-D colours, as 0xRRGGBB.
constexpr uint32_t kFace = bgr_to_rgb(cl::btn_face);
constexpr uint32_t kShadow = bgr_to_rgb(cl::btn_shadow);
constexpr uint32_t kHighlight = bgr_to_rgb(cl::btn_highlight);
constexpr uint32_t kDark = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kSelection = bgr_to_rgb(cl::highlight);

constexpr Font kDialogFont{Face::PGothic, 12, false, false};
constexpr Font kTitleFont{Face::PGothic, 12, true, false};
constexpr Font kIconFont{Face::PGothic, 24, true, false};

// The question box's measures, in window units, after the desktop's message box.
constexpr int kBorder = 3;
constexpr int kTitleH = 18;
constexpr int kMargin = 11;
constexpr int kIcon = 32;
constexpr int kIconGap = 16;
constexpr int kButtonW = 75, kButtonH = 23, kButtonGap = 6;

Rect inset(const Rect& r, int d) { return {r.x + d, r.y + d, r.w - 2 * d, r.h - 2 * d}; }

bool covers(const Rect& outer, const Rect& inner) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
         inner.y + inner.h <= outer.y + outer.h;
}

int ceil_div(int a, int b) { return (a + b - 1) / b; }

// A control's colour, or its parent's when it has none of its own (the toolkit's ParentColor).
uint32_t own_or_parent_back(const Form& form, ctl::Id id) {
  for (ctl::Id i = id;; i = form[i].parent) {
    if (form[i].look.back != cl::none) return bgr_to_rgb(form[i].look.back);
    if (i == ctl::form) return bgr_to_rgb(cl::teal);
  }
}

}  // namespace

FormRenderer::FormRenderer(const Sjis& sjis, TextRaster& raster, int scale)
    : text_(raster, sjis),
      scale_(std::clamp(scale, 1, 8)),
      paint_(frame_, scale_),
      seen_(ctl::count) {}

std::optional<Rect> FormRenderer::take_changes() {
  const bool all = all_unshown_;
  const Rect changed = unshown_;
  all_unshown_ = false;
  unshown_ = {};
  if (all) return std::nullopt;
  return changed;
}

namespace {

Rect united(const Rect& a, const Rect& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  const int x = std::min(a.x, b.x), y = std::min(a.y, b.y);
  return {x, y, std::max(a.x + a.w, b.x + b.w) - x, std::max(a.y + a.h, b.y + b.h) - y};
}

// Where the shown part of a canvas (sw x sh from its top-left) differs from the copy kept of it,
// in canvas pixels; the copy is brought up to date.
Rect canvas_changes(std::vector<uint32_t>& kept, const Canvas& cv, int sw, int sh) {
  const uint32_t* pixels = cv.data();
  int top = sh, bottom = 0, left = sw, right = 0;
  for (int y = 0; y < sh; ++y) {
    const uint32_t* p = pixels + static_cast<size_t>(y) * cv.width;
    uint32_t* k = kept.data() + static_cast<size_t>(y) * sw;
    if (std::memcmp(p, k, sizeof(uint32_t) * sw) == 0) continue;
    int x = 0;
    while (x < left && p[x] == k[x]) ++x;
    left = std::min(left, x);
    x = sw;
    while (x > right && p[x - 1] == k[x - 1]) --x;
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = y + 1;
    std::memcpy(k, p, sizeof(uint32_t) * sw);
  }
  if (bottom == 0) return {};
  return {left, top, right - left, bottom - top};
}

// The first pixel whose source (pixel * from / to, rounded down) is at or past `source`.
int first_zoomed(int source, int from, int to) {
  return static_cast<int>((static_cast<int64_t>(source) * to + from - 1) / from);
}

}  // namespace

void FormRenderer::compose(const Form& form, const UiState& ui) {
  const int w = form.client_width() * scale_, h = form.client_height() * scale_;
  const uint32_t back = own_or_parent_back(form, ctl::form);
  const Rect whole{0, 0, w, h};
  redraw_.clear();
  if (frame_.width != w || frame_.height != h) {
    frame_.resize(w, h);
    all_unshown_ = true;
    composed_ = false;
  }
  paint_.reset();
  // The tip and the question lie over everything; a new one is drawn with the whole frame.
  if (!composed_ || back != seen_back_ || ui.tip != seen_ui_.tip || ui.question != seen_ui_.question)
    redraw_.push_back(whole);

  const std::vector<ctl::Id>& order = form.paint_order();
  opaque_.clear();
  for (size_t i = 0; i < order.size(); ++i)
    if (form[order[i]].kind == Kind::Panel && form.shown(order[i]))
      opaque_.emplace_back(i, form.visible_rect(order[i]));
  for (size_t i = 0; i < order.size(); ++i) note_changes(form, order[i], painted(form, i), ui);

  // Many small parts cost more in drawing the controls over them than one that holds them all.
  constexpr size_t kMostParts = 8;
  if (redraw_.size() > kMostParts) {
    Rect all;
    for (const Rect& r : redraw_) all = united(all, r);
    redraw_.assign(1, all);
  }
  for (const Rect& r : redraw_) {
    draw_part(form, ui, r);
    if (!all_unshown_) unshown_ = united(unshown_, r);
  }
  paint_.reset();
  text_.end_frame();
  composed_ = true;
  seen_back_ = back;
  seen_ui_ = ui;
}

bool FormRenderer::painted(const Form& form, size_t i) const {
  const ctl::Id id = form.paint_order()[i];
  const Control& c = form[id];
  if (id == ctl::form || c.kind == Kind::Window || !form.shown(id)) return false;
  const bool autosized = c.kind == Kind::Label && (c.w == 0 || c.h == 0);
  // A label sized to its text has no size in the form; its panels still clip it.
  const Rect visible = autosized ? form.visible_rect(c.parent) : form.visible_rect(id);
  if (visible.empty()) return false;
  // Panels are opaque: whatever lies wholly under a shown panel above it is not drawn at all
  // (the start panel covers the whole main screen).
  if (!autosized)
    for (const auto& [index, rect] : opaque_)
      if (index > i && covers(rect, visible)) return false;
  return true;
}

const TextBlock& FormRenderer::label_text(const Form& form, ctl::Id id) {
  const Control& c = form[id];
  const bool autosized = c.w == 0 || c.h == 0;
  const int wrap = c.look.wrap && !autosized ? c.w * scale_ : 0;
  // A one-line label of fixed width keeps its whole text, condensed a little if need be; so does
  // the first line of a label that another control covers in part.
  const bool fitted = !autosized && (c.look.first_line_room > 0 || !c.look.wrap);
  const int first_room = c.look.first_line_room > 0 ? c.look.first_line_room : c.w;
  return fitted ? text_.fitted_caption(c.caption, c.look.font, scale_, wrap, first_room * scale_, c.w * scale_)
                : text_.caption(c.caption, c.look.font, scale_, wrap);
}

Rect FormRenderer::label_box(const Form& form, ctl::Id id, const TextBlock& t) const {
  const Control& c = form[id];
  const Rect r = form.window_rect(id);
  return c.w == 0 || c.h == 0 ? Rect{r.x * scale_, r.y * scale_, t.width, t.height()} : paint_.to_px(r);
}

Rect FormRenderer::extent(const Form& form, ctl::Id id, const Rect& visible) {
  const Control& c = form[id];
  const Rect px = paint_.to_px(visible).intersect({0, 0, frame_.width, frame_.height});
  return c.kind == Kind::Label ? px.intersect(label_box(form, id, label_text(form, id))) : px;
}

FormRenderer::PictureFit FormRenderer::picture_fit(const Form& form, ctl::Id id) const {
  const Control& c = form[id];
  const Canvas& cv = c.canvas;
  PictureFit f;
  const Rect r = form.window_rect(id);
  f.rp = paint_.to_px(r);
  if (cv.empty() || f.rp.empty()) return f;
  // The part of the canvas that is shown, and the pixels it covers: only that much is zoomed,
  // however large a bitmap was loaded into a small picture.
  const bool stretch = c.look.stretch;
  f.sw = stretch ? cv.width : std::min(cv.width, r.w);
  f.sh = stretch ? cv.height : std::min(cv.height, r.h);
  f.dw = stretch ? f.rp.w : f.sw * scale_;
  f.dh = stretch ? f.rp.h : f.sh * scale_;
  return f;
}

void FormRenderer::note_changes(const Form& form, ctl::Id id, bool painted, const UiState& ui) {
  Seen& s = seen_[id];
  if (!painted && !s.painted) return;
  const Control& c = form[id];
  // A label sized to its text is clipped by its panels alone.
  const bool autosized = c.kind == Kind::Label && (c.w == 0 || c.h == 0);
  const Rect window = form.window_rect(id);
  const Rect visible = autosized ? form.visible_rect(c.parent) : form.visible_rect(id);
  const uint32_t back = own_or_parent_back(form, id);
  const bool focused = form.focus == id, pressed = ui.pressed == id;
  const auto now = std::tie(window, visible, c.caption, c.look, back, c.min, c.max, c.position, c.items, c.selected,
                            c.top_index, focused, pressed, c.canvas.width, c.canvas.height);
  const bool same_now = painted && s.painted && s.depends_on() == now;
  if (same_now) {
    if (c.kind == Kind::Picture && s.canvas_revision != c.canvas.revision) note_canvas_changes(form, id);
    return;
  }
  if (s.painted) redraw_.push_back(s.extent);
  s.painted = painted;
  if (!painted) return;
  s.extent = extent(form, id, visible);
  redraw_.push_back(s.extent);
  s.depends_on() = now;
  s.canvas_revision = c.canvas.revision;
  s.shown.clear();
  if (c.kind != Kind::Picture) return;
  const PictureFit f = picture_fit(form, id);
  if (f.empty()) return;
  s.shown.resize(static_cast<size_t>(f.sw) * f.sh);
  for (int y = 0; y < f.sh; ++y)
    std::memcpy(s.shown.data() + static_cast<size_t>(y) * f.sw,
                c.canvas.data() + static_cast<size_t>(y) * c.canvas.width, sizeof(uint32_t) * f.sw);
}

// A picture whose canvas was drawn on: only the pixels showing what changed are drawn again.
void FormRenderer::note_canvas_changes(const Form& form, ctl::Id id) {
  Seen& s = seen_[id];
  const Control& c = form[id];
  s.canvas_revision = c.canvas.revision;
  const PictureFit f = picture_fit(form, id);
  if (f.empty()) return;
  const Rect part = canvas_changes(s.shown, c.canvas, f.sw, f.sh);
  if (part.empty()) return;
  const int x0 = first_zoomed(part.x, f.sw, f.dw), x1 = first_zoomed(part.x + part.w, f.sw, f.dw);
  const int y0 = first_zoomed(part.y, f.sh, f.dh), y1 = first_zoomed(part.y + part.h, f.sh, f.dh);
  const Rect px = Rect{f.rp.x + x0, f.rp.y + y0, x1 - x0, y1 - y0}.intersect(s.extent);
  if (!px.empty()) redraw_.push_back(px);
}

void FormRenderer::draw_part(const Form& form, const UiState& ui, const Rect& px) {
  paint_.bound_to(px);
  paint_.fill_px(px, own_or_parent_back(form, ctl::form));
  for (ctl::Id id : form.paint_order()) {
    const Seen& s = seen_[id];
    if (!s.painted || s.extent.intersect(px).empty()) continue;
    const Control& c = form[id];
    paint_.set_clip(s.visible);
    const Rect& r = s.window;
    switch (c.kind) {
      case Kind::Panel: draw_panel(form, id); break;
      case Kind::Label: draw_label(form, id, paint_.to_px(s.visible)); break;
      case Kind::Button:
        draw_button(r, c.caption, true, c.look.font, bgr_to_rgb(c.look.fore), ui.pressed == id,
                    form.focus == id);
        break;
      case Kind::Picture: draw_picture(form, id); break;
      case Kind::Gauge: draw_gauge(form, id); break;
      case Kind::Slider: draw_slider(form, id); break;
      case Kind::ListBox: draw_list(form, id); break;
      case Kind::Shape: paint_.frame(r, bgr_to_rgb(c.look.fore)); break;
      case Kind::Window: break;
    }
  }
  if (ui.tip) {
    paint_.set_clip({0, 0, form.client_width(), form.client_height()});
    draw_tip(form, *ui.tip);
  }
  if (ui.question) {
    paint_.set_clip({0, 0, form.client_width(), form.client_height()});
    draw_question(form, *ui.question);
  }
}

// A group box: its colour, an etched frame whose top runs through the middle of the caption,
// and the caption on the panel's colour, 8 units from the left.
void FormRenderer::draw_panel(const Form& form, ctl::Id id) {
  const Control& c = form[id];
  const Rect r = form.window_rect(id);
  const uint32_t back = own_or_parent_back(form, id);
  paint_.fill(r, back);
  const int top = c.look.font.px / 2 - 1;
  paint_.frame({r.x + 1, r.y + top + 1, r.w - 1, r.h - top - 1}, kHighlight);
  paint_.frame({r.x, r.y + top, r.w - 1, r.h - top - 1}, kShadow);
  if (c.caption.empty()) return;
  const TextBlock& t = text_.caption(c.caption, c.look.font, scale_, 0);
  if (t.lines.empty()) return;
  const Rect box{(r.x + 8) * scale_, r.y * scale_, t.width, t.line_height};
  paint_.fill_px(box, back);
  paint_.text_px(t, box, Align::Left, bgr_to_rgb(c.look.fore));
}

void FormRenderer::draw_label(const Form& form, ctl::Id id, const Rect& visible_px) {
  const Control& c = form[id];
  const TextBlock& t = label_text(form, id);
  const Rect box = label_box(form, id, t);
  paint_.set_clip_px(visible_px.intersect(box));
  if (c.look.back != cl::none) paint_.fill_px(box, bgr_to_rgb(c.look.back));
  paint_.text_px(t, box, c.look.align, bgr_to_rgb(c.look.fore));
}

// A push button: raised, with a black frame and a dotted focus rectangle when it has the focus,
// sunken with its caption one unit down and right while it is held.
void FormRenderer::draw_button(const Rect& r, const std::string& caption, bool sjis,
                               const Font& font, uint32_t fore, bool pressed, bool focused) {
  const Rect outer_clip = paint_.clip_px();
  paint_.fill(r, kFace);
  if (pressed) {
    paint_.frame(r, kDark);
    paint_.frame(inset(r, 1), kShadow);
  } else {
    Rect b = r;
    if (focused) {
      paint_.frame(b, kDark);
      b = inset(b, 1);
    }
    paint_.edge(b, kHighlight, kDark);
    paint_.edge(inset(b, 1), kFace, kShadow);
  }
  const TextBlock& t = text_.button(caption, sjis, font, scale_);
  const Rect rp = paint_.to_px(r);
  const int shift = pressed ? scale_ : 0;
  const int x = rp.x + (rp.w - t.width) / 2 + shift;
  const int y = rp.y + (rp.h - t.line_height) / 2 + shift;
  paint_.set_clip_px(outer_clip.intersect(paint_.to_px(inset(r, 2))));
  paint_.text_px(t, {x, y, t.width, t.height()}, Align::Left, fore);
  if (t.underline_x >= 0 && !t.lines.empty())
    paint_.fill_px({x + t.underline_x, y + t.underline_y, t.underline_width, scale_}, fore);
  paint_.set_clip_px(outer_clip);
  if (focused) paint_.dotted_frame(inset(r, 4), kDark);
}

// A gauge: a black border, the bar in the fore colour for the share of position in max, the rest
// in the back colour.
void FormRenderer::draw_gauge(const Form& form, ctl::Id id) {
  const Control& c = form[id];
  const Rect r = form.window_rect(id);
  paint_.frame(r, kDark);
  const Rect in = paint_.to_px(inset(r, 1));
  if (in.empty()) return;
  const int pos = c.max > 0 ? std::clamp(c.position, 0, c.max) : 0;
  const int bar = c.max > 0 ? static_cast<int>(static_cast<int64_t>(in.w) * pos / c.max) : 0;
  const uint32_t back = c.look.back == cl::none ? kWhite : bgr_to_rgb(c.look.back);
  paint_.fill_px({in.x, in.y, bar, in.h}, bgr_to_rgb(c.look.fore));
  paint_.fill_px({in.x + bar, in.y, in.w - bar, in.h}, back);
}

// The slider: a sunken channel, a thumb pointing down, a tick below for every position.
void FormRenderer::draw_slider(const Form& form, ctl::Id id) {
  const Control& c = form[id];
  const Rect r = form.window_rect(id);
  const SliderGeometry g = slider_geometry(r, c);
  paint_.fill(r, kFace);
  paint_.edge(g.channel, kShadow, kHighlight);
  paint_.edge(inset(g.channel, 1), kDark, kFace);
  for (int p = c.min; p <= c.max && p - c.min < 1000; ++p)
    paint_.fill({g.tick_x(c, p), g.tick_y, 1, g.tick_h}, kDark);

  const Rect& t = g.thumb;
  const int body = t.h - g.thumb_point;
  paint_.fill({t.x, t.y, t.w, body}, kFace);
  paint_.fill({t.x, t.y, t.w - 1, 1}, kHighlight);
  paint_.fill({t.x, t.y, 1, body}, kHighlight);
  paint_.fill({t.x + t.w - 1, t.y, 1, body}, kDark);
  paint_.fill({t.x + t.w - 2, t.y + 1, 1, body - 1}, kShadow);
  for (int i = 0; i < g.thumb_point; ++i) {
    const int y = t.y + body + i;
    const int left = t.x + i, right = t.x + t.w - 1 - i;
    if (right < left) break;
    paint_.fill({left, y, right - left + 1, 1}, kFace);
    paint_.pixel(left, y, kHighlight);
    if (right - 1 > left) paint_.pixel(right - 1, y, kShadow);
    paint_.pixel(right, y, kDark);
  }
  if (form.focus == id) paint_.dotted_frame(r, kDark);
}

void FormRenderer::draw_scroll_button(const Rect& r, bool up) {
  paint_.fill(r, kFace);
  paint_.edge(r, kFace, kDark);
  paint_.edge(inset(r, 1), kHighlight, kShadow);
  // A black triangle of 4 rows, centred.
  const int cx = r.x + r.w / 2 - 1, cy = r.y + r.h / 2 - 2;
  for (int i = 0; i < 4; ++i) {
    const int row = up ? cy + i : cy + 3 - i;
    paint_.fill({cx - i, row, 2 * i + 1, 1}, kDark);
  }
}

// The list box: white, a sunken border, one row per entry from top_index, the selected one on
// the selection colour, and a scroll bar when the entries do not fit.
void FormRenderer::draw_list(const Form& form, ctl::Id id) {
  const Control& c = form[id];
  const Rect r = form.window_rect(id);
  const ListGeometry g = list_geometry(r, c);
  const Rect outer_clip = paint_.clip_px();
  paint_.fill(g.inner, c.look.back == cl::none ? kWhite : bgr_to_rgb(c.look.back));
  paint_.edge(r, kShadow, kHighlight);
  paint_.edge(inset(r, 1), kDark, kFace);

  paint_.set_clip_px(outer_clip.intersect(paint_.to_px(g.rows)));
  const int count = static_cast<int>(c.items.size());
  for (int i = std::max(0, c.top_index); i < count; ++i) {
    const int y = g.rows.y + (i - std::max(0, c.top_index)) * g.item_h;
    if (y >= g.rows.y + g.rows.h) break;
    const Rect row{g.rows.x, y, g.rows.w, g.item_h};
    uint32_t fore = bgr_to_rgb(c.look.fore);
    if (i == c.selected) {
      paint_.fill(row, kSelection);
      fore = kWhite;
    }
    const TextBlock& t = text_.caption(c.items[i], c.look.font, scale_, 0);
    const Rect rp = paint_.to_px(row);
    paint_.text_px(t, {rp.x + 2 * scale_, rp.y, rp.w, rp.h}, Align::Left, fore);
  }
  // A controller's focus on the list: a dotted frame round its rows.
  if (form.focus == id) paint_.dotted_frame(g.rows, kDark);
  paint_.set_clip_px(outer_clip);
  if (!g.scroll_bar) return;

  // The track is the desktop's checkered white and grey.
  for (int y = g.track.y; y < g.track.y + g.track.h; ++y)
    for (int x = g.track.x; x < g.track.x + g.track.w; ++x)
      paint_.pixel(x, y, ((x + y) & 1) ? kFace : kWhite);
  draw_scroll_button(g.up, true);
  draw_scroll_button(g.down, false);
  if (!g.thumb.empty()) {
    paint_.fill(g.thumb, kFace);
    paint_.edge(g.thumb, kFace, kDark);
    paint_.edge(inset(g.thumb, 1), kHighlight, kShadow);
  }
}

// A picture: its canvas at the control's top-left, clipped to the control, or stretched over it.
void FormRenderer::draw_picture(const Form& form, ctl::Id id) {
  const Canvas& cv = form[id].canvas;
  const PictureFit f = picture_fit(form, id);
  if (f.empty()) return;
  const Rect outer_clip = paint_.clip_px();
  paint_.set_clip_px(outer_clip.intersect(f.rp));
  if (f.dw == f.sw && f.dh == f.sh)
    paint_.image_px(cv.data(), f.sw, f.sh, cv.width, f.rp.x, f.rp.y);
  else
    paint_.zoomed_image_px(cv.data(), f.sw, f.sh, cv.width, f.rp.x, f.rp.y, f.dw, f.dh);
  paint_.set_clip_px(outer_clip);
}

// The question's text wraps where the box would come near the window's edges.
static int question_wrap(const Form& form) {
  return std::max(40, form.client_width() - 2 * 24 - 2 * kBorder - 2 * kMargin - kIcon - kIconGap);
}

QuestionGeometry FormRenderer::question_geometry(const Form& form, const QuestionView& q) {
  const int s = scale_;
  const TextBlock& t = text_.caption(q.text, kDialogFont, s, question_wrap(form) * s);
  const int tw = ceil_div(t.width, s), th = ceil_div(t.height(), s);
  const int text_x = kMargin + kIcon + kIconGap;
  const int text_y = th < kIcon ? kMargin + (kIcon - th) / 2 : kMargin;
  const int buttons_w = 2 * kButtonW + kButtonGap;
  const int content_w = std::max(text_x + tw + kMargin + 8, buttons_w + 2 * kMargin);
  const int buttons_y = std::max(kMargin + kIcon, text_y + th) + 12;
  const int content_h = buttons_y + kButtonH + kMargin;

  QuestionGeometry g;
  const int w = content_w + 2 * kBorder, h = content_h + kTitleH + 1 + 2 * kBorder;
  g.box = {(form.client_width() - w) / 2, (form.client_height() - h) / 2, w, h};
  g.title = {g.box.x + kBorder, g.box.y + kBorder, w - 2 * kBorder, kTitleH};
  const int cx = g.box.x + kBorder, cy = g.title.y + kTitleH + 1;
  g.icon = {cx + kMargin, cy + kMargin, kIcon, kIcon};
  g.text = {cx + text_x, cy + text_y, tw, th};
  const int bx = cx + (content_w - buttons_w) / 2;
  g.yes = {bx, cy + buttons_y, kButtonW, kButtonH};
  g.no = {bx + kButtonW + kButtonGap, cy + buttons_y, kButtonW, kButtonH};
  return g;
}

void FormRenderer::draw_question_icon(const Rect& r) {
  // A white speech balloon with a black outline and a blue question mark.
  auto inside = [&](int x, int y) {
    const double px = x + 0.5, py = y + 0.5;
    const double dx = px - 16.0, dy = py - 14.0;
    if (dx * dx + dy * dy <= 13.5 * 13.5) return true;
    // The balloon's tail, down and to the left.
    return py >= 22 && py <= 30 && px >= 6 && px <= 14 && (px - 6) >= (py - 22) * 0.25 &&
           (14 - px) >= (py - 22) * 1.0;
  };
  for (int y = 0; y < r.h; ++y)
    for (int x = 0; x < r.w; ++x) {
      if (!inside(x, y)) continue;
      const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
      paint_.pixel(r.x + x, r.y + y, edge ? kDark : kWhite);
    }
  const TextBlock& t = text_.text("?", kIconFont, scale_, 0);
  const Rect rp = paint_.to_px({r.x, r.y + 2, 32, 24});
  paint_.text_px(t, {rp.x + (rp.w - t.width) / 2, rp.y, t.width, t.height()}, Align::Left, 0x0000FF);
}

// A tip as the desktop drew it: black text on pale yellow in a thin black frame, below and right
// of the pointer, kept inside the window.
void FormRenderer::draw_tip(const Form& form, const TipView& tip) {
  const char* hint = form[tip.control].look.hint;
  if (!hint) return;
  const TextBlock& t = text_.text(hint, Font{}, scale_, 0);
  const int w = (t.width + scale_ - 1) / scale_ + 6, h = t.height() / scale_ + 4;
  const int x = std::clamp(tip.x, 0, std::max(0, form.client_width() - w));
  const int y = tip.y + 20 + h <= form.client_height() ? tip.y + 20 : std::max(0, tip.y - h - 2);
  const Rect box{x, y, w, h};
  paint_.fill(box, 0xFFFFE1);
  paint_.frame(box, 0x000000);
  const Rect rp = paint_.to_px({x + 3, y + 2, w - 6, h - 4});
  paint_.text_px(t, rp, Align::Left, 0x000000);
}

// The question box, drawn by us inside the window: the desktop's message box with a question
// icon, the title "確認" and the buttons "はい(&Y)" and "いいえ(&N)".
void FormRenderer::draw_question(const Form& form, const QuestionView& q) {
  const QuestionGeometry g = question_geometry(form, q);
  const Rect& b = g.box;
  paint_.fill(b, kFace);
  paint_.edge(b, kFace, kDark);
  paint_.edge(inset(b, 1), kHighlight, kShadow);

  // The active title bar fades from navy to light blue, as the desktop drew it.
  const Rect tp = paint_.to_px(g.title);
  for (int x = 0; x < tp.w; ++x) {
    const int k = tp.w > 1 ? x * 255 / (tp.w - 1) : 0;
    const auto mix = [k](int a, int z) { return static_cast<uint32_t>(a + (z - a) * k / 255); };
    const uint32_t rgb = (mix(0x00, 0x10) << 16) | (mix(0x00, 0x84) << 8) | mix(0x80, 0xD0);
    paint_.fill_px({tp.x + x, tp.y, 1, tp.h}, rgb);
  }
  const TextBlock& title = text_.text("確認", kTitleFont, scale_, 0);
  const Rect clip = paint_.clip_px();
  paint_.set_clip_px(clip.intersect(tp));
  paint_.text_px(title, {tp.x + 3 * scale_, tp.y + (tp.h - title.line_height) / 2, tp.w, tp.h}, Align::Left, kWhite);
  paint_.set_clip_px(clip);

  draw_question_icon(g.icon);
  const TextBlock& t = text_.caption(q.text, kDialogFont, scale_, question_wrap(form) * scale_);
  paint_.text_px(t, paint_.to_px(g.text), Align::Left, kDark);

  draw_button(g.yes, "はい(&Y)", false, kDialogFont, kDark, q.pressed == 0, q.focus == 0);
  draw_button(g.no, "いいえ(&N)", false, kDialogFont, kDark, q.pressed == 1, q.focus == 1);
}
