// The font files found, kept from one start to the next in the user's cache folder.
#include "render/font_match_cache.hpp"

#include <charconv>

#include "storage/storage.hpp"

namespace {

// Three lines of a path and three numbers: no file system's paths come near it.
constexpr size_t kMaxCacheBytes = 16384;

// The file's size and modification time, if it is a regular file.
std::optional<KeptFont> kept_as_now(const FontFile& file) {
  const std::optional<FileStamp> now = storage().stamp(file.path);
  if (!now) return std::nullopt;
  return KeptFont{file, static_cast<long long>(now->size), now->written_ns};
}

// A decimal number and the one space after it, taken off the front of `text`.
template <typename T>
bool take_number(std::string_view& text, T& out) {
  const char* end = text.data() + text.size();
  const auto [p, ec] = std::from_chars(text.data(), end, out);
  if (ec != std::errc() || p == end || *p != ' ') return false;
  text.remove_prefix(static_cast<size_t>(p - text.data()) + 1);
  return true;
}

}  // namespace

std::string font_match_file() {
  const std::string folder = storage().user_folder(UserFolder::cache);
  return folder.empty() ? "" : folder + "/font-match";
}

std::string font_match_text(const KeptFonts& fonts) {
  std::string text;
  for (const KeptFont& f : fonts)
    text += std::to_string(f.file.index) + ' ' + std::to_string(f.size) + ' ' + std::to_string(f.written) +
            ' ' + f.file.path + '\n';
  return text;
}

std::optional<KeptFonts> parse_font_match(std::string_view text) {
  KeptFonts fonts;
  for (KeptFont& f : fonts) {
    const size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (!take_number(line, f.file.index) || f.file.index < 0 || !take_number(line, f.size) ||
        !take_number(line, f.written) || line.empty())
      return std::nullopt;
    f.file.path = line;
  }
  return fonts;
}

std::optional<FontFiles> read_font_match(const std::string& file) {
  if (file.empty()) return std::nullopt;
  const InputFile cache = storage().read_file(file, kMaxCacheBytes);
  if (cache.fault != InputFile::Fault::none) return std::nullopt;
  const std::optional<KeptFonts> kept = parse_font_match(cache.bytes);
  if (!kept) return std::nullopt;
  FontFiles files;
  for (size_t i = 0; i < files.size(); ++i) {
    if (kept_as_now((*kept)[i].file) != (*kept)[i]) return std::nullopt;
    files[i] = (*kept)[i].file;
  }
  return files;
}

void write_font_match(const std::string& file, const FontFiles& files) {
  if (file.empty()) return;
  KeptFonts kept;
  for (size_t i = 0; i < files.size(); ++i) {
    const std::optional<KeptFont> now = kept_as_now(files[i]);
    if (!now) return;
    kept[i] = *now;
  }
  make_folders(folder_of(file), false);
  // Put whole, so a reader never sees half of it (a start at the same moment writes its own).
  storage().put_file(file, font_match_text(kept));
}
