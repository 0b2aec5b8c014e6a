// Line breaking by the Japanese rules, alignment, mnemonics, and the text cache.
#include "render/text_layout.hpp"

#include <algorithm>
#include <functional>

#include "ui/canvas.hpp"
#include "ui/sjis.hpp"

namespace {

char32_t code_point(std::string_view s) {
  const auto b = [&](size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(s[i])); };
  const size_t n = std::min(s.size(), utf8_length(static_cast<unsigned char>(s[0])));
  if (n == 1) return b(0);
  char32_t cp = b(0) & (0x7F >> n);
  for (size_t i = 1; i < n; ++i) cp = cp << 6 | (b(i) & 0x3F);
  return cp;
}

// The usual Japanese rules of where a line may not break.
// Never at a line's start: closing brackets, the punctuation, the long vowel mark, small kana.
bool no_line_start(char32_t c) {
  static constexpr std::u32string_view kNoStart =
      U")]}>,.:;!?%"
      U"」』）】〉》〕］｝＞’”、。，．・：；？！ー～％"
      U"ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶゝゞヽヾ々"
      U"｡｣､･ｧｨｩｪｫｬｭｮｯｰﾞﾟ";
  return kNoStart.find(c) != std::u32string_view::npos;
}
// Never at a line's end: opening brackets.
bool no_line_end(char32_t c) {
  static constexpr std::u32string_view kNoEnd = U"([{<「『（【〈《〔［｛＜‘“｢";
  return kNoEnd.find(c) != std::u32string_view::npos;
}
// Runs of these stay together: digits, and Latin letters.
int run_kind(char32_t c) {
  if ((c >= U'0' && c <= U'9') || (c >= U'０' && c <= U'９')) return 1;
  if ((c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || (c >= U'Ａ' && c <= U'Ｚ') ||
      (c >= U'ａ' && c <= U'ｚ'))
    return 2;
  return 0;
}
bool may_break_between(char32_t before, char32_t after) {
  if (no_line_start(after) || no_line_end(before)) return false;
  const int kind = run_kind(before);
  return kind == 0 || kind != run_kind(after);
}

void break_paragraph(std::string_view para, int wrap_width, TextMeasure& measure,
                     std::vector<LaidLine>& out) {
  if (wrap_width <= 0 || para.empty()) {
    out.push_back({std::string(para), para.empty() ? 0 : measure.width(para)});
    return;
  }
  // Character boundaries of the paragraph.
  std::vector<size_t> bounds{0};
  for (size_t i = 0; i < para.size();) {
    i = std::min(para.size(), i + utf8_length(static_cast<unsigned char>(para[i])));
    bounds.push_back(i);
  }
  size_t first = 0;  // index into bounds of the current line's start
  const size_t last = bounds.size() - 1;
  while (first < last) {
    const size_t start = bounds[first];
    // The widest start that fits; a line keeps at least its first character.
    const Fit fit = measure.fit(para.substr(start), wrap_width);
    size_t lo = std::upper_bound(bounds.begin() + first, bounds.end(), start + fit.bytes) - bounds.begin() - 1;
    int lo_width = bounds[lo] == start + fit.bytes ? fit.width : -1;
    if (lo == first) lo = first + 1, lo_width = -1;
    // Back to the nearest place the rules let a line break; a line with none anywhere (a run of
    // digits longer than the box) breaks where it is full.
    if (lo < last) {
      auto char_at = [&](size_t k) { return code_point(para.substr(bounds[k])); };
      size_t k = lo;
      while (k > first + 1 && !may_break_between(char_at(k - 1), char_at(k))) --k;
      if (may_break_between(char_at(k - 1), char_at(k)) && k != lo) lo = k, lo_width = -1;
    }
    const std::string_view line = para.substr(start, bounds[lo] - start);
    out.push_back({std::string(line), lo_width >= 0 ? lo_width : measure.width(line)});
    first = lo;
  }
}

// The coverage squeezed to `ratio` of its width, each new column the average of the old ones it
// covers.
std::shared_ptr<const Coverage> condensed(const Coverage& in, double ratio) {
  auto out = std::make_shared<Coverage>();
  out->height = in.height;
  out->width = std::max(1, static_cast<int>(in.width * ratio + 0.5));
  out->alpha.assign(static_cast<size_t>(out->width) * out->height, 0);
  const double step = static_cast<double>(in.width) / out->width;
  for (int y = 0; y < in.height; ++y) {
    const uint8_t* row = in.alpha.data() + static_cast<size_t>(y) * in.width;
    for (int x = 0; x < out->width; ++x) {
      const double from = x * step, to = from + step;
      double sum = 0;
      for (int k = static_cast<int>(from); k < in.width && k < to; ++k)
        sum += row[k] * (std::min<double>(k + 1, to) - std::max<double>(k, from));
      out->alpha[static_cast<size_t>(y) * out->width + x] =
          static_cast<uint8_t>(std::min(255.0, sum / step + 0.5));
    }
  }
  return out;
}

// Draws a hand-drawn glyph into the line at (x, y), its top left corner; the line grows to the
// right and downwards where the glyph reaches beyond it.
void stamp(Coverage& ink, const StrikeGlyph& g, int x, int y) {
  const int width = std::max(ink.width, x + g.width), height = std::max(ink.height, y + g.height);
  if (width != ink.width || height != ink.height) {
    std::vector<uint8_t> grown(static_cast<size_t>(width) * height, 0);
    for (int row = 0; row < ink.height; ++row)
      std::copy_n(ink.alpha.begin() + static_cast<ptrdiff_t>(row) * ink.width, ink.width,
                  grown.begin() + static_cast<ptrdiff_t>(row) * width);
    ink.alpha = std::move(grown);
    ink.width = width;
    ink.height = height;
  }
  for (int gy = std::max(0, -y); gy < g.height; ++gy)
    for (int gx = std::max(0, -x); gx < g.width; ++gx) {
      uint8_t& a = ink.alpha[static_cast<size_t>(y + gy) * ink.width + x + gx];
      a = std::max(a, g.alpha[static_cast<size_t>(gy) * g.width + gx]);
    }
}

// A hand-drawn glyph stamped into the gap an outline line left for it. The outline glyph before
// it may reach into the cell by its bold pixel; where the stamped glyph has ink in its first
// column and the outline's ink reaches it, the glyph moves into the spare column its cell has on
// the right (a 12-pixel glyph in a 13-pixel cell), and the column before it is kept clear, so
// "0個" keeps a gap between the figure and the kanji and the figure its own weight.
void stamp_in_gap(Coverage& ink, const StrikeGlyph& g, int x, int y, int spare) {
  bool first_column = false;
  for (int gy = 0; gy < g.height && g.width > 0; ++gy) first_column |= g.alpha[static_cast<size_t>(gy) * g.width] != 0;
  const auto inked = [&](int column) {
    if (column < 0 || column >= ink.width) return false;
    for (int row = 0; row < ink.height; ++row)
      if (ink.alpha[static_cast<size_t>(row) * ink.width + column] != 0) return true;
    return false;
  };
  if (first_column && spare > 0 && (inked(x - 1) || inked(x))) ++x;
  if (first_column && x >= 1 && x <= ink.width)
    for (int row = 0; row < ink.height; ++row) ink.alpha[static_cast<size_t>(row) * ink.width + x - 1] = 0;
  stamp(ink, g, x, y);
}

class FontMeasure : public TextMeasure {
 public:
  FontMeasure(TextRaster& raster, const FontKey& key) : raster_(raster), key_(key) {}
  int width(std::string_view utf8) override { return raster_.width(key_, utf8); }
  Fit fit(std::string_view utf8, int room) override { return raster_.fit(key_, utf8, room); }

 private:
  TextRaster& raster_;
  FontKey key_;
};

size_t mix(size_t seed, size_t v) { return seed ^ (v + 0x9E3779B97F4A7C15ULL + (seed << 6) + (seed >> 2)); }

size_t hash_font(const FontKey& f) {
  return (static_cast<size_t>(f.face) << 20) ^ (static_cast<size_t>(f.px) << 2) ^
         (f.bold ? 1u : 0u) ^ (f.italic ? 2u : 0u);
}

}  // namespace

std::vector<LaidLine> break_lines(std::string_view text, int wrap_width, TextMeasure& measure) {
  std::vector<LaidLine> out;
  if (text.empty()) return out;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\r' && text[i] != '\n') continue;
    break_paragraph(text.substr(start, i - start), wrap_width, measure, out);
    if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  return out;
}

int align_offset(Align align, int box_width, int line_width) {
  switch (align) {
    case Align::Right: return box_width - line_width;
    case Align::Center: return (box_width - line_width) / 2;
    case Align::Left: break;
  }
  return 0;
}

Mnemonic strip_mnemonic(std::string_view s) {
  Mnemonic m;
  m.text.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&' && i + 1 < s.size()) {
      ++i;
      if (s[i] != '&' && m.marked < 0) {
        m.marked = static_cast<int>(m.text.size());
        m.marked_size = static_cast<int>(
            std::min(s.size() - i, utf8_length(static_cast<unsigned char>(s[i]))));
      }
    }
    m.text += s[i];
  }
  return m;
}

size_t TextCache::Hash::operator()(const BlockKey& k) const {
  size_t h = std::hash<std::string>{}(k.bytes);
  h = mix(h, hash_font(k.font));
  h = mix(h, static_cast<size_t>(k.wrap) * 4 + k.mode);
  h = mix(h, static_cast<size_t>(k.first_room) << 16 ^ static_cast<size_t>(k.room));
  return h;
}

size_t TextCache::Hash::operator()(const LineKey& k) const {
  return mix(std::hash<std::string>{}(k.text), hash_font(k.font));
}

TextCache::TextCache(TextRaster& raster, const Sjis& sjis) : raster_(raster), sjis_(sjis) {}

const TextBlock& TextCache::caption(const std::string& sjis, const Font& font, int scale,
                                    int wrap_width) {
  return get(sjis, kSjis, font, scale, wrap_width);
}

const TextBlock& TextCache::fitted_caption(const std::string& sjis, const Font& font, int scale,
                                           int wrap_width, int first_room, int room) {
  return get(sjis, kSjis, font, scale, wrap_width, first_room, room);
}

const TextBlock& TextCache::text(const std::string& utf8, const Font& font, int scale,
                                 int wrap_width) {
  return get(utf8, kUtf8, font, scale, wrap_width);
}

const TextBlock& TextCache::button(const std::string& text, bool is_sjis, const Font& font,
                                   int scale) {
  return get(text, is_sjis ? kButtonSjis : kButtonUtf8, font, scale, 0);
}

int TextCache::measure(const std::string& utf8, const Font& font, int scale) {
  return raster_.width(key_of(font, scale), utf8);
}

const TextBlock& TextCache::get(const std::string& bytes, Mode mode, const Font& font, int scale,
                                int wrap, int first_room, int room) {
  BlockKey key{bytes, mode, key_of(font, scale), std::max(0, wrap), std::max(0, first_room),
               std::max(0, room)};
  auto it = blocks_.find(key);
  if (it != blocks_.end()) {
    it->second.used = frame_;
    return it->second.value;
  }

  const FontMetrics metrics = raster_.metrics(key.font);
  std::string utf8 = (mode == kSjis || mode == kButtonSjis) ? sjis_.to_utf8(bytes) : bytes;
  TextBlock block;
  block.line_height = key.font.px;
  block.ink_top = (block.line_height - metrics.height) / 2;
  FontMeasure measure(raster_, key.font);
  std::vector<LaidLine> laid;
  if (mode == kButtonSjis || mode == kButtonUtf8) {
    // A push button shows its caption on one line.
    std::erase_if(utf8, [](char c) { return c == '\r' || c == '\n'; });
    const Mnemonic m = strip_mnemonic(utf8);
    if (!m.text.empty()) laid.push_back({m.text, measure.width(m.text)});
    if (m.marked >= 0) {
      block.underline_x = measure.width(std::string_view(m.text).substr(0, m.marked));
      block.underline_width =
          measure.width(std::string_view(m.text).substr(0, m.marked + m.marked_size)) -
          block.underline_x;
      block.underline_y = block.ink_top + metrics.ascent + std::max(1, scale / 2);
    }
  } else {
    laid = break_lines(utf8, key.wrap, measure);
  }
  for (LaidLine& l : laid) {
    std::shared_ptr<const Coverage> ink = render_line(l.text, key.font);
    int width = l.width;
    constexpr double kMostCondensed = 0.8;
    const int room = block.lines.empty() ? key.first_room : key.room;
    if (ink && room > 0 && width > room && room >= width * kMostCondensed) {
      ink = condensed(*ink, static_cast<double>(room) / width);
      width = room;
    }
    block.width = std::max(block.width, width);
    block.lines.push_back({std::move(ink), width});
  }
  auto [pos, inserted] = blocks_.emplace(std::move(key), Entry<TextBlock>{std::move(block), frame_});
  return pos->second.value;
}

std::shared_ptr<const Coverage> TextCache::render_line(const std::string& utf8, const FontKey& font) {
  if (utf8.empty()) return nullptr;
  LineKey key{utf8, font};
  auto it = lines_.find(key);
  if (it != lines_.end()) {
    it->second.used = frame_;
    return it->second.value;
  }
  ++lines_rendered_;
  if (bold_drawn_by_glyph(font))
    if (auto ink = composed_line(utf8, font)) {
      lines_.emplace(std::move(key), Entry<std::shared_ptr<const Coverage>>{ink, frame_});
      return ink;
    }
  // A character the raster has hand-drawn leaves a space of the same width and length in the
  // outline text (an ideographic space for a kanji, a space for a letter), so everything else
  // keeps its place; the glyph is stamped into the gap.
  struct Gap {
    size_t at;  // byte offset
    std::string_view space;
    const StrikeGlyph* glyph;
  };
  std::string outline = utf8;
  std::vector<Gap> hand_drawn;
  for (size_t i = 0; i < outline.size(); i += utf8_length(static_cast<unsigned char>(outline[i]))) {
    const char32_t c = code_point(std::string_view(outline).substr(i));
    const StrikeGlyph* g = raster_.hand_drawn(font, c);
    if (!g) continue;
    const std::string_view space = c < 0x80 ? " " : "\u3000";
    if (raster_.advance(font, c) != raster_.advance(font, code_point(space))) continue;
    outline.replace(i, space.size(), space);
    hand_drawn.push_back({i, space, g});
  }
  auto ink = std::make_shared<Coverage>(raster_.render(font, outline));
  if (!hand_drawn.empty()) {
    const int ascent = raster_.metrics(font).ascent;
    for (const Gap& gap : hand_drawn) {
      const std::string two = std::string(gap.space) + std::string(gap.space);
      const int cell = raster_.width(font, two) - raster_.width(font, gap.space);
      // The space's right edge is the line's width up to it: no ink reaches that far.
      const int pen = raster_.width(font, std::string_view(outline).substr(0, gap.at + gap.space.size())) - cell;
      const int offset = (cell - gap.glyph->advance) / 2 + gap.glyph->left;
      stamp_in_gap(*ink, *gap.glyph, pen + offset, ascent - gap.glyph->top, cell - offset - gap.glyph->width);
    }
  }
  std::shared_ptr<const Coverage> result = std::move(ink);
  lines_.emplace(std::move(key), Entry<std::shared_ptr<const Coverage>>{result, frame_});
  return result;
}

std::shared_ptr<const Coverage> TextCache::composed_line(const std::string& utf8, const FontKey& font) {
  struct Placed {
    const StrikeGlyph* glyph;
    int x, y;  // of its bitmap's top left, from the pen's start on the baseline's top
  };
  std::vector<Placed> placed;
  const FontMetrics metrics = raster_.metrics(font);
  int pen = 0, min_x = 0, min_y = 0;
  for (size_t i = 0; i < utf8.size(); i += utf8_length(static_cast<unsigned char>(utf8[i]))) {
    const StrikeGlyph* g = raster_.hand_drawn(font, code_point(std::string_view(utf8).substr(i)));
    if (!g) return nullptr;  // the raster draws the line
    placed.push_back({g, pen + g->left, metrics.ascent - g->top});
    min_x = std::min(min_x, placed.back().x);
    min_y = std::min(min_y, placed.back().y);
    pen += g->advance;
  }
  // The raster's box: as wide as it measures the line, the pen starting where the first ink
  // reaches left of it, the baseline lowered where a glyph reaches above the font's top.
  auto ink = std::make_shared<Coverage>();
  ink->width = std::max(1, raster_.width(font, utf8));
  ink->height = metrics.height - min_y;
  ink->alpha.assign(static_cast<size_t>(ink->width) * ink->height, 0);
  for (const Placed& p : placed) stamp(*ink, *p.glyph, p.x - min_x, p.y - min_y);
  return ink;
}

void TextCache::end_frame() {
  // Generous limits: a screen holds a few dozen captions; only the typewriter and changing
  // numbers make new ones, and those are not needed again once replaced.
  constexpr size_t kMaxBlocks = 1024, kMaxLines = 4096;
  if (blocks_.size() > kMaxBlocks) std::erase_if(blocks_, [&](const auto& e) { return e.second.used != frame_; });
  if (lines_.size() > kMaxLines) std::erase_if(lines_, [&](const auto& e) { return e.second.used != frame_; });
  ++frame_;
}

void write_text(Canvas& canvas, TextCache& text, int x, int y, const std::string& sjis, const Font& font,
                uint32_t colour) {
  if (canvas.empty()) return;
  const TextBlock& block = text.caption(sjis, font, 1, 0);
  canvas.fill_rect(x, y, x + block.width, y + block.height());
  for (size_t i = 0; i < block.lines.size(); ++i) {
    const auto& ink = block.lines[i].ink;
    if (!ink) continue;
    const int top = y + static_cast<int>(i) * block.line_height + block.ink_top;
    canvas.blend_mask(x, top, ink->width, ink->height, ink->alpha.data(), colour);
  }
}
