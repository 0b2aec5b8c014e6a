// The fonts as Debian installs them: the layout's families found through fontconfig, M+'s strikes by path.
#include "render/font_files.hpp"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>
#include <memory>

#include "render/font_match_cache.hpp"
#include "render/text_raster.hpp"

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

// The packaged files, when each is the first face of its family. Reading a font's names costs a
// fraction of a millisecond; fontconfig reads its whole configuration and cache first (5 to 15
// ms, and far more when its own cache is stale).
std::optional<FontFiles> packaged_files(const FontPaths& paths) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return std::nullopt;
  FontFiles files;
  bool all = true;
  for (int i = 0; i < 3 && all; ++i) {
    FT_Face face = nullptr;
    all = FT_New_Face(library, paths[i], 0, &face) == 0;
    if (!all) break;
    all = face->family_name && std::strcmp(face->family_name, kInstalledFamilies[i]) == 0;
    FT_Done_Face(face);
    files[i] = {paths[i], 0};
  }
  FT_Done_FreeType(library);
  if (!all) return std::nullopt;
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
