// The fonts as Debian installs them: the layout's families found through fontconfig, M+'s strikes by path.
#include "render/font_files.hpp"

#include <fontconfig/fontconfig.h>

#include <cstring>
#include <memory>

#include "render/font_match_cache.hpp"
#include "render/text_raster.hpp"
#include "storage/storage.hpp"

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

bool has_family(FcPattern* p, const char* family) {
  FcChar8* value = nullptr;
  for (int n = 0; FcPatternGetString(p, FC_FAMILY, n, &value) == FcResultMatch; ++n)
    if (std::strcmp(reinterpret_cast<const char*>(value), family) == 0) return true;
  return false;
}

}  // namespace

std::string missing_font_message(Face face) {
  const int i = static_cast<int>(face);
  return std::string("the font ") + kInstalledFamilies[i] + " (drawn for \"" + kLayoutFamilies[i] +
         "\") is not installed; install the Debian packages fonts-ipafont-gothic and "
         "fonts-ipafont-mincho";
}

const char* layout_family(Face face) { return kLayoutFamilies[static_cast<int>(face)]; }
const char* installed_family(Face face) {
  return kInstalledFamilies[static_cast<int>(face)];
}

namespace {

// Asks fontconfig for the three families' files (with the aliases above).
FontFiles match_with_fontconfig() {
  std::unique_ptr<FcConfig, ConfigDeleter> config(FcInitLoadConfigAndFonts());
  if (!config) throw FontError("fontconfig could not be started");
  if (!FcConfigParseAndLoadFromMemory(config.get(), reinterpret_cast<const FcChar8*>(kAliases),
                                      FcTrue))
    throw FontError("fontconfig refused the font aliases");

  FontFiles files;
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
    if (!match || !has_family(match.get(), kInstalledFamilies[i])) throw FontError(missing_font_message(face));
    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file)
      throw FontError(missing_font_message(face));
    int index = 0;
    if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) != FcResultMatch) index = 0;
    files[i] = {reinterpret_cast<const char*>(file), index};
  }
  return files;
}

// Whether the font file's first face names itself `family` (its English family name, as
// FreeType reads it). Read from the file's own name table: opening the face with FreeType would
// also read and check its 230 KB character map.
bool names_family(const std::string& path, const char* family) {
  const std::unique_ptr<MappedFile> file = storage().map_file(path);
  if (!file) return false;
  const auto* b = static_cast<const unsigned char*>(file->data());
  const size_t size = file->size();
  const auto u16 = [&](size_t at) { return at + 2 <= size ? static_cast<unsigned>(b[at] << 8 | b[at + 1]) : 0u; };
  const auto u32 = [&](size_t at) { return at + 4 <= size ? static_cast<size_t>(u16(at)) << 16 | u16(at + 2) : 0u; };
  size_t font = 0;  // the first face's table directory; a collection lists where each starts
  if (size >= 16 && std::memcmp(b, "ttcf", 4) == 0) font = u32(12);
  size_t name = 0;
  for (size_t k = 0, n = u16(font + 4); k < n && !name; ++k)
    if (const size_t at = font + 12 + 16 * k; at + 16 <= size && std::memcmp(b + at, "name", 4) == 0) name = u32(at + 8);
  if (!name) return false;
  const size_t strings = name + u16(name + 4);
  const std::string_view want(family);
  for (size_t k = 0, n = u16(name + 2); k < n; ++k) {
    const size_t at = name + 6 + 12 * k;
    const unsigned platform = u16(at), encoding = u16(at + 2), language = u16(at + 4), id = u16(at + 6);
    const size_t length = u16(at + 8), text = strings + u16(at + 10);
    if (id != 1 || text + length > size) continue;
    if (platform == 3 && encoding == 1 && language == 0x409 && length == 2 * want.size()) {  // UTF-16BE
      bool same = true;
      for (size_t i = 0; i < want.size() && same; ++i) same = u16(text + 2 * i) == static_cast<unsigned char>(want[i]);
      if (same) return true;
    } else if (platform == 1 && encoding == 0 && language == 0 && length == want.size() &&
               std::memcmp(b + text, want.data(), length) == 0) {
      return true;
    }
  }
  return false;
}

// The packaged files, when each is the first face of its family. Reading a font's names costs a
// fraction of a millisecond; fontconfig reads its whole configuration and cache first (5 to 15
// ms, and far more when its own cache is stale).
std::optional<FontFiles> packaged_files(const FontPaths& paths) {
  FontFiles files;
  for (int i = 0; i < 3; ++i) {
    if (!names_family(paths[i], kInstalledFamilies[i])) return std::nullopt;
    files[i] = {paths[i], 0};
  }
  return files;
}

}  // namespace

const FontPaths kPackagedFonts = {"/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
                                  "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
                                  "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf"};

// Debian's xfonts-mplus, which fontconfig does not list.
std::string strike_file(const std::string& name) { return "/usr/share/fonts/X11/misc/" + name; }
std::string missing_strike_advice() { return "install the Debian package xfonts-mplus"; }

FontFiles find_font_files(const std::string& match_cache, const FontPaths& packaged) {
  if (std::optional<FontFiles> kept = read_font_match(match_cache)) return *kept;
  std::optional<FontFiles> found = packaged_files(packaged);
  FontFiles files = found ? *found : match_with_fontconfig();
  write_font_match(match_cache, files);
  return files;
}
