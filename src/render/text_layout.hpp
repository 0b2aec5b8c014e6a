// Captions laid out: line breaking, alignment, mnemonics, and the cache of rendered text.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "render/text_raster.hpp"
#include "ui/form.hpp"

class Sjis;

// How wide a run of text is drawn; all the line breaking needs to know.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual int width(std::string_view utf8) = 0;
  // The longest start of the text no wider than room (> 0).
  virtual Fit fit(std::string_view utf8, int room) {
    return fit_by_measuring(utf8, room, [&](std::string_view s) { return width(s); });
  }
};

struct LaidLine {
  std::string text;  // UTF-8
  int width = 0;
};

// Breaks UTF-8 text into lines. CR is the line break (an LF right after it belongs to it; a lone
// LF breaks as well). With wrap_width > 0 a line that would be wider is broken before the first
// character that does not fit (Japanese has no spaces to break at), moved back as the usual
// Japanese rules ask: no line starts with a closing bracket, a punctuation mark, the long vowel
// mark or a small kana; none ends with an opening bracket; a run of digits or of Latin letters
// stays whole. Where the rules leave no place on the line, it breaks where it is full. A line keeps
// at least one character, however narrow the box. An empty text has no lines.
std::vector<LaidLine> break_lines(std::string_view utf8, int wrap_width, TextMeasure& measure);

// Where a line of line_width starts inside a box of box_width.
int align_offset(Align align, int box_width, int line_width);

// A button caption's mnemonic: "&Y" shows "Y" underlined, "&&" shows one "&".
struct Mnemonic {
  std::string text;     // without the markers
  int marked = -1;      // byte offset of the underlined character in text, -1 for none
  int marked_size = 0;  // its length in bytes
};
Mnemonic strip_mnemonic(std::string_view utf8);

// A laid out caption, in screen pixels.
struct TextBlock {
  struct Line {
    std::shared_ptr<const Coverage> ink;  // null for an empty line
    int width = 0;                        // advance width, what alignment uses
  };
  std::vector<Line> lines;
  int width = 0;        // of the widest line
  int line_height = 0;  // from one line's top to the next: the font's em, as the toolkit spaced
  int ink_top = 0;      // where each line's coverage starts below the line's top
  // The mnemonic's underline on the first line (x from the line's start), when there is one.
  int underline_x = -1;
  int underline_width = 0;
  int underline_y = 0;  // below the line's top
  int height() const { return static_cast<int>(lines.size()) * line_height; }
};

// Lays out and renders captions, and keeps the results: the 10 ms status refresh sets the same
// captions again and again, and the typewriter only ever adds to the last line, so a repaint
// renders text only where it really changed.
class TextCache {
 public:
  TextCache(TextRaster& raster, const Sjis& sjis);

  // A Shift-JIS caption in the layout's font at the zoom; wrap_width > 0 (screen pixels) wraps.
  const TextBlock& caption(const std::string& sjis, const Font& font, int scale, int wrap_width);
  // A Shift-JIS caption whose lines must keep within their room: the first line within
  // `first_room` screen pixels, the others within `room`. A line a little too wide is drawn
  // condensed to its room (down to 80 % of its own width), as a narrower face would set it; one far
  // too wide stays as it is, to be clipped.
  const TextBlock& fitted_caption(const std::string& sjis, const Font& font, int scale,
                                  int wrap_width, int first_room, int room);
  // UTF-8 text of our own (the question box).
  const TextBlock& text(const std::string& utf8, const Font& font, int scale, int wrap_width);
  // A push button's caption: one line (line breaks dropped), its mnemonic underlined.
  const TextBlock& button(const std::string& text, bool is_sjis, const Font& font, int scale);

  // Width of a UTF-8 run in that font, in screen pixels.
  int measure(const std::string& utf8, const Font& font, int scale);

  // Called when a frame is complete: when the cache has grown large, forgets what that frame
  // did not use.
  void end_frame();

  // Lines rendered since the cache was made (a repaint of an unchanged form renders none).
  uint64_t lines_rendered() const { return lines_rendered_; }

 private:
  enum Mode : uint8_t { kSjis, kUtf8, kButtonSjis, kButtonUtf8 };
  struct BlockKey {
    std::string bytes;
    Mode mode;
    FontKey font;
    int wrap;
    int first_room, room;  // > 0: the room the first line and the others are condensed to
    bool operator==(const BlockKey&) const = default;
  };
  struct LineKey {
    std::string text;
    FontKey font;
    bool operator==(const LineKey&) const = default;
  };
  struct Hash {
    size_t operator()(const BlockKey& k) const;
    size_t operator()(const LineKey& k) const;
  };
  template <class T>
  struct Entry {
    T value;
    uint64_t used = 0;
  };

  const TextBlock& get(const std::string& bytes, Mode mode, const Font& font, int scale, int wrap,
                       int first_room = 0, int room = 0);
  std::shared_ptr<const Coverage> render_line(const std::string& utf8, const FontKey& key);
  // A line composed of the raster's hand-drawn glyphs alone; null when it lacks one of them.
  std::shared_ptr<const Coverage> composed_line(const std::string& utf8, const FontKey& key);

  TextRaster& raster_;
  const Sjis& sjis_;
  std::unordered_map<BlockKey, Entry<TextBlock>, Hash> blocks_;
  std::unordered_map<LineKey, Entry<std::shared_ptr<const Coverage>>, Hash> lines_;
  uint64_t frame_ = 1;
  uint64_t lines_rendered_ = 0;
};

class Canvas;
// Writes a Shift-JIS caption on a canvas at (x, y) in the font and colour at 1x, over a box of the
// canvas's brush colour, as the toolkit's text output does (the hosts' draw_text).
void write_text(Canvas& canvas, TextCache& text, int x, int y, const std::string& sjis, const Font& font,
                uint32_t colour);
