// The page's save: written when a handler has changed the game, at each message and when the
// page goes, and handed to the browser's storage.
#include "platform/web/web_host.hpp"

#include <utility>

#include "core/game.hpp"
#include "core/savefile.hpp"
#include "platform/web/page_calls.hpp"

void WebHost::save() {
  if (!game_ || !game_->loaded) return;  // never overwrite files that were not read
  try {
    SavePair pair = encode_save(*game_);
    if (pair == saved_) return;
    save_game(*game_, pair);
    saved_ = std::move(pair);
  } catch (const IoError& e) {
    report(std::string("セーブを書けません：") + e.what());
    return;
  }
  web_persist_save(game_->path("dat", "").c_str());
}

void WebHost::message_shown(const std::string& text) {
  web_announce(sjis_.to_utf8(text).c_str());
  save();
}
