// Writing the save pair: its bytes, and the temporary files flushed and renamed into place.
#include <algorithm>
#include <memory>

#include "core/game.hpp"
#include "core/hero_record.hpp"
#include "core/savefile.hpp"
#include "core/savefile_parts.hpp"

namespace {

class Writer {
 public:
  explicit Writer(std::string label) : label_(std::move(label)) {}
  // A text that would not come back as the same one line is refused, so the save never holds
  // something its own reader turns down or reads shifted.
  void text(const std::string& s) {
    ++line_;
    if (s.find_first_of("\r\n") != std::string::npos)
      fail("改行を含む文字列は書けません");
    if (s.size() > kMaxLineBytes)
      fail("長すぎる文字列は書けません（" + std::to_string(kMaxLineBytes) + " バイトまで）");
    out_ += s, out_ += "\r\n";
  }
  void number(int32_t v) { text(std::to_string(v)); }
  const std::string& bytes() const { return out_; }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw IoError(label_ + " の " + std::to_string(line_) + " 行目：" + what);
  }
  std::string label_;
  std::string out_;
  int line_ = 0;
};

// The file steps of a save, each announced to the test hook first.
struct SaveSteps {
  Game& g;

  void step(std::string_view what) const {
    if (g.before_file_step) g.before_file_step(what);
  }

  [[noreturn]] static void fail(const std::string& path, const char* what, const std::string& why) {
    throw IoError(path + " " + what + "（" + why + "）");
  }

  // Creates `path`, writes all of `bytes` and flushes them to the disk. On failure the partial
  // file is removed.
  void write_flushed(const std::string& path, const std::string& bytes) const {
    step("create " + path);
    std::string why;
    std::unique_ptr<OutputFile> out = storage().create_file(path, why);
    if (!out) fail(path, "を作れません", why);
    // In pieces, so that a test stopping the save between two of them finds a partial file, as
    // a process killed in the middle of a write leaves one.
    constexpr size_t kPiece = 8192;
    for (size_t done = 0; done < bytes.size() && why.empty(); done += kPiece) {
      step("write " + path);
      why = out->write(bytes.data() + done, std::min(kPiece, bytes.size() - done));
    }
    if (why.empty()) {
      step("flush " + path);
      why = out->close(true);
    }
    if (why.empty()) return;
    out.reset();
    storage().remove(path);
    fail(path, "に書き込めません", why);
  }

  void rename_over(const std::string& from, const std::string& to) const {
    step("rename " + from);
    if (const std::string why = storage().replace(from, to); !why.empty()) fail(to, "を置き換えられません", why);
  }

  // Makes the renames themselves last through a power cut.
  void flush_folder(const std::string& folder) const {
    step("flush " + folder);
    storage().flush_folder(folder);
  }
};

}  // namespace

void write_pair(Game& g, const std::string* catalogue, const std::string& save_bytes) {
  const SaveSteps files{g};
  const std::string save = g.save_path(kSaveFile), items = g.save_path(kItemFile);
  const std::string save_tmp = save + ".tmp", items_tmp = items + ".tmp";
  try {
    // The catalogue's first: a save's temporary file found alone then always means that the
    // catalogue has already been renamed.
    if (catalogue) files.write_flushed(items_tmp, *catalogue);
    files.write_flushed(save_tmp, save_bytes);
    if (catalogue) files.rename_over(items_tmp, items);
  } catch (const IoError&) {
    // Nothing was replaced: the old pair stands whole.
    storage().remove(save_tmp);
    storage().remove(items_tmp);
    throw;
  }
  // From here the new catalogue is in place; a save that cannot be renamed stays complete in its
  // temporary file, and the next start puts it in place.
  files.rename_over(save_tmp, save);
  files.flush_folder(g.save_path(""));
}

SavePair encode_save(const Game& g) {
  Hero h = g.hero;  // the byte runs are walked through the same table as the reader's
  Writer my(g.save_path(kSaveFile));
  for (const HeroField& f : hero_fields()) {
    if (f.text) my.text(h.*f.text);
    else if (f.number) my.number(h.*f.number);
    else
      for (uint8_t b : f.bytes(h)) my.number(b);
  }

  Writer catalogue(g.save_path(kItemFile));
  for (const Item& it : g.items) {
    catalogue.text(it.name);
    catalogue.text(it.description);
    catalogue.number(it.kind);
    catalogue.number(it.value);
  }

  return {my.bytes(), catalogue.bytes()};
}

void save_game(Game& g, const SavePair& pair) { write_pair(g, &pair.catalogue, pair.save); }

void save_game(Game& g) { save_game(g, encode_save(g)); }
