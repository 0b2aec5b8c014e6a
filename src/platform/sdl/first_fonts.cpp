// The fonts of the first frame, gathered from the shown captions.
#include "platform/sdl/first_fonts.hpp"

#include <algorithm>

std::vector<FontKey> fonts_shown(const Form& form, int scale) {
  std::vector<FontKey> keys;
  for (ctl::Id id : form.paint_order()) {
    const Control& c = form[id];
    if (c.caption.empty() || !form.shown(id)) continue;
    const FontKey key = key_of(c.look.font, scale);
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
  }
  return keys;
}
