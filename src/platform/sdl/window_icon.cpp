// The window's icon from the pack's bitmap.
#include "platform/sdl/window_icon.hpp"

#include "platform/bitmap.hpp"
#include "storage/storage.hpp"

// The file is read and checked as any picture of the pack is (a regular file, within what an icon
// can need, its header against its bytes), so a FIFO or a swollen file cannot hold or flood the
// start; only then does SDL read it, for the alpha channel our reader does not keep.
SDL_Surface* load_window_icon(const std::string& path) {
  constexpr uint64_t kMostIconBytes = uint64_t{4} * 512 * 512;
  const InputFile file = storage().read_file(path, kMostIconBytes + 65536);
  if (file.fault != InputFile::Fault::none) return nullptr;
  const auto* bytes = reinterpret_cast<const uint8_t*>(file.bytes.data());
  Canvas checked;
  if (decode_bmp(bytes, file.bytes.size(), checked, kMostIconBytes)) return nullptr;
  return SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes, static_cast<int>(file.bytes.size())), 1);
}

void set_window_icon(SDL_Window* window, const std::string& path) {
  SDL_Surface* icon = load_window_icon(path);
  if (!icon) return;
  SDL_SetWindowIcon(window, icon);
  SDL_FreeSurface(icon);
}
