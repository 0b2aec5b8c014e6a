// The cache of the font files fontconfig found.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "render/font_files.hpp"

// The font files fontconfig found for the layout's three families, kept in the user's cache
// folder: reading fontconfig's configuration costs 5 to 15 ms of every start, its answer a few
// microseconds. A file counts while it has the size and modification time it had then; else,
// or when the cache cannot be read, fontconfig is asked again and the cache rewritten.

// A font file as the cache keeps it: with what tells it changed, its size and its modification
// time in nanoseconds.
struct KeptFont {
  FontFile file;
  long long size = 0, written = 0;
  bool operator==(const KeptFont&) const = default;
};
using KeptFonts = std::array<KeptFont, 3>;  // by Face

// "font-match" in the player's cache folder (on the desktop "$XDG_CACHE_HOME/lushera", else
// "$HOME/.cache/lushera"); empty when the player has none.
std::string font_match_file();
// The files kept in `file`, if every one of them is unchanged since. Only a regular file of the
// size a cache can have is read: a FIFO is not waited on, a device not read to its end.
std::optional<FontFiles> read_font_match(const std::string& file);
// Keeps the files in `file` (best effort: a cache that cannot be written is only not kept).
void write_font_match(const std::string& file, const FontFiles& files);

// The cache's text: one line a family, "index size time path", the path to the end of the line.
std::string font_match_text(const KeptFonts& fonts);
// The fonts a cache's text keeps; nothing when it is not three such lines with a path each.
std::optional<KeptFonts> parse_font_match(std::string_view text);
