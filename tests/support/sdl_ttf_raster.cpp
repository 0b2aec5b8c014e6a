// SDL_ttf's drawing of the layout's fonts: files mapped once, a font opened per size and style.
#include "support/sdl_ttf_raster.hpp"


SdlTtfRaster::SdlTtfRaster(const std::string& match_cache) : files_(find_font_files(match_cache)) {
  if (TTF_Init() != 0) throw FontError(std::string("SDL_ttf could not be started: ") + TTF_GetError());
}

SdlTtfRaster::~SdlTtfRaster() {
  for (auto& [key, font] : open_) TTF_CloseFont(font);
  TTF_Quit();
}

TTF_Font* SdlTtfRaster::get(const FontKey& key) {
  auto it = open_.find(key);
  if (it != open_.end()) return it->second;
  const FontFile& f = files_[static_cast<int>(key.face)];
  // At SDL_ttf's 72 dpi a size in points is the em height in pixels, which is how the layout
  // gives its font sizes.
  const int i = static_cast<int>(key.face);
  const MappedFile& mapped = mapped_[i].get(f, key.face);
  SDL_RWops* bytes = SDL_RWFromConstMem(mapped.data(), static_cast<int>(mapped.size()));
  TTF_Font* font = bytes ? TTF_OpenFontIndexRW(bytes, 1, key.px < 1 ? 1 : key.px, f.index) : nullptr;
  if (!font)
    throw FontError("cannot open the font file " + f.path + ": " + TTF_GetError() + " (" +
                    missing_font_message(key.face) + ")");
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

FontMetrics SdlTtfRaster::metrics(const FontKey& key) {
  TTF_Font* font = get(key);
  return {TTF_FontHeight(font), TTF_FontAscent(font)};
}

int SdlTtfRaster::advance(const FontKey& key, char32_t c) {
  int advance = 0;
  if (TTF_GlyphMetrics32(get(key), c, nullptr, nullptr, nullptr, nullptr, &advance) != 0) return -1;
  return advance;
}

int SdlTtfRaster::width(const FontKey& key, std::string_view utf8) {
  if (utf8.empty()) return 0;
  buffer_.assign(utf8);
  int w = 0, h = 0;
  if (TTF_SizeUTF8(get(key), buffer_.c_str(), &w, &h) != 0) return 0;
  return w;
}

// SDL_ttf measures the line once, as far as it fits, where measuring each start shaped it whole.
Fit SdlTtfRaster::fit(const FontKey& key, std::string_view utf8, int room) {
  if (utf8.empty()) return {};
  buffer_.assign(utf8);
  int extent = 0, count = 0;
  if (TTF_MeasureUTF8(get(key), buffer_.c_str(), room, &extent, &count) != 0) return {};
  Fit fit{0, extent};
  for (int k = 0; k < count && fit.bytes < utf8.size(); ++k)
    fit.bytes = std::min(utf8.size(), fit.bytes + utf8_length(utf8[fit.bytes]));
  return fit;
}

Coverage SdlTtfRaster::render(const FontKey& key, const std::string& utf8) {
  Coverage ink;
  SDL_Surface* s = TTF_RenderUTF8_Blended(get(key), utf8.c_str(), SDL_Color{255, 255, 255, 255});
  if (!s) return ink;
  SDL_Surface* argb = s->format->format == SDL_PIXELFORMAT_ARGB8888
                          ? s
                          : SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
  if (argb) {
    SDL_LockSurface(argb);
    ink.width = argb->w;
    ink.height = argb->h;
    ink.alpha.resize(static_cast<size_t>(argb->w) * argb->h);
    for (int y = 0; y < argb->h; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) +
                                                          static_cast<ptrdiff_t>(y) * argb->pitch);
      for (int x = 0; x < argb->w; ++x)
        ink.alpha[static_cast<size_t>(y) * argb->w + x] = static_cast<uint8_t>(row[x] >> 24);
    }
    SDL_UnlockSurface(argb);
    if (argb != s) SDL_FreeSurface(argb);
  }
  SDL_FreeSurface(s);
  return ink;
}
