#include "platform/sdl/fonts.hpp"

#include <fontconfig/fontconfig.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace {

constexpr const char* kLayoutFamilies[] = {"ＭＳ Ｐゴシック", "ＭＳ ゴシック", "ＭＳ 明朝"};
constexpr const char* kInstalledFamilies[] = {"IPAPGothic", "IPAGothic", "IPAMincho"};

// The IPA packages ship no aliases for the families the layout names, so without these the
// names fall through to whatever sans-serif font is the default.
constexpr const char* kAliases = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <alias binding="same"><family>ＭＳ ゴシック</family><prefer><family>IPAGothic</family></prefer></alias>
  <alias binding="same"><family>ＭＳ Ｐゴシック</family><prefer><family>IPAPGothic</family></prefer></alias>
  <alias binding="same"><family>ＭＳ 明朝</family><prefer><family>IPAMincho</family></prefer></alias>
</fontconfig>
)";

struct ConfigDeleter {
  void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};
struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

std::string missing_message(Face face) {
  const int i = static_cast<int>(face);
  return std::string("the font ") + kInstalledFamilies[i] + " (drawn for \"" + kLayoutFamilies[i] +
         "\") is not installed; install the Debian packages fonts-ipafont-gothic and "
         "fonts-ipafont-mincho";
}

bool has_family(FcPattern* p, const char* family) {
  FcChar8* value = nullptr;
  for (int n = 0; FcPatternGetString(p, FC_FAMILY, n, &value) == FcResultMatch; ++n)
    if (std::strcmp(reinterpret_cast<const char*>(value), family) == 0) return true;
  return false;
}

// Asks fontconfig for the three families' files (with the aliases above).
FontFiles match_with_fontconfig() {
  FontFiles files;
  std::unique_ptr<FcConfig, ConfigDeleter> config(FcInitLoadConfigAndFonts());
  if (!config) throw FontError("fontconfig could not be started");
  if (!FcConfigParseAndLoadFromMemory(config.get(), reinterpret_cast<const FcChar8*>(kAliases),
                                      FcTrue))
    throw FontError("fontconfig refused the font aliases");

  for (int i = 0; i < 3; ++i) {
    const Face face = static_cast<Face>(i);
    PatternPtr pattern(FcPatternCreate());
    if (!pattern) throw FontError("fontconfig is out of memory");
    FcPatternAddString(pattern.get(), FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(kLayoutFamilies[i]));
    FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config.get(), pattern.get(), &result));
    // fontconfig always finds some font; only the right family will do, since the layout was
    // measured with it.
    if (!match || !has_family(match.get(), kInstalledFamilies[i])) throw FontError(missing_message(face));
    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file)
      throw FontError(missing_message(face));
    int index = 0;
    if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) != FcResultMatch) index = 0;
    files[i] = FontFile{reinterpret_cast<const char*>(file), index};
  }
  return files;
}

}  // namespace

const char* FontLibrary::layout_family(Face face) { return kLayoutFamilies[static_cast<int>(face)]; }
const char* FontLibrary::installed_family(Face face) {
  return kInstalledFamilies[static_cast<int>(face)];
}

FontLibrary::FontLibrary(const std::string& match_cache) {
  if (std::optional<FontFiles> kept = read_font_match(match_cache)) {
    files_ = *kept;
  } else {
    files_ = match_with_fontconfig();
    write_font_match(match_cache, files_);
  }
  if (TTF_Init() != 0) throw FontError(std::string("SDL_ttf could not be started: ") + TTF_GetError());
}

FontLibrary::~FontLibrary() {
  for (auto& [key, font] : open_) TTF_CloseFont(font);
  TTF_Quit();
}

TTF_Font* FontLibrary::get(const FontKey& key) {
  auto it = open_.find(key);
  if (it != open_.end()) return it->second;
  const int i = static_cast<int>(key.face);
  // At SDL_ttf's 72 dpi a size in points is the em height in pixels, which is how the layout
  // gives its font sizes.
  MappedFile& mapped = mapped_[i];
  if (!mapped.data() && !mapped.map(files_[i].path))
    throw FontError("cannot open the font file " + files_[i].path + ": " + std::strerror(errno) + " (" +
                    missing_message(key.face) + ")");
  SDL_RWops* bytes = SDL_RWFromConstMem(mapped.data(), static_cast<int>(mapped.size()));
  TTF_Font* font = bytes ? TTF_OpenFontIndexRW(bytes, 1, key.px < 1 ? 1 : key.px, files_[i].index) : nullptr;
  if (!font)
    throw FontError("cannot open the font file " + files_[i].path + ": " + TTF_GetError() + " (" +
                    missing_message(key.face) + ")");
  int style = TTF_STYLE_NORMAL;
  if (key.bold) style |= TTF_STYLE_BOLD;
  if (key.italic) style |= TTF_STYLE_ITALIC;
  TTF_SetFontStyle(font, style);
  // Kerning would move characters of the same line against each other between captions that
  // differ only at their end (the typewriter), and the toolkit did not kern.
  TTF_SetFontKerning(font, 0);
  open_.emplace(key, font);
  return font;
}

void FontLibrary::open_ahead(const std::vector<FontKey>& keys) {
  for (const FontKey& key : keys) {
    try {
      get(key);
    } catch (const FontError&) {
    }
  }
}
