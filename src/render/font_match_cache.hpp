#pragma once
#include <optional>
#include <string>

#include "render/font_files.hpp"

// The font files fontconfig found for the layout's three families, kept in the user's cache
// folder: reading fontconfig's configuration costs 5 to 15 ms of every start, its answer a few
// microseconds. A file counts while it has the size and modification time it had then; else,
// or when the cache cannot be read, fontconfig is asked again and the cache rewritten.

// "$XDG_CACHE_HOME/lushera/font-match", else "$HOME/.cache/lushera/font-match"; empty when
// neither is set.
std::string font_match_file();
// The files kept in `file`, if every one of them is unchanged since.
std::optional<FontFiles> read_font_match(const std::string& file);
// Keeps the files in `file` (best effort: a cache that cannot be written is only not kept).
void write_font_match(const std::string& file, const FontFiles& files);
