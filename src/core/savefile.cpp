// The data files read into the game, the save pair written and recovered, a chosen pair checked.
#include "core/savefile.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <memory>

#include "core/game.hpp"
#include "core/hero_record.hpp"
#include "core/input_file.hpp"

namespace {

constexpr const char* kSaveFile = "my.dat";
constexpr const char* kItemFile = "item.dat";

// Reads the values of one data file: a string is the rest of its line; a number skips blanks
// and line ends, takes the next run of up to 32 non-blank characters as a decimal integer and
// then drops the rest of its line. At the end of the file numbers are 0 and strings empty.
// A line ends at CR (with an LF after it belonging to it) or at a lone LF. A line longer than
// kMaxLineBytes is an error.
class Reader {
 public:
  Reader(const Sjis& sjis, const std::string& data, const std::string& label)
      : sjis_(sjis), data_(data), label_(label) {}

  std::string text() {
    if (pos_ >= data_.size()) ran_out_ = true;
    const size_t start = pos_;
    pos_ = line_end(start);
    std::string s = data_.substr(start, pos_ - start);
    end_line();
    return s;
  }

  int32_t number() {
    while (pos_ < data_.size() && blank(data_[pos_])) {
      if (data_[pos_] == '\r' || data_[pos_] == '\n') end_line();
      else ++pos_;
    }
    if (pos_ >= data_.size()) {
      ran_out_ = true;
      return 0;
    }
    const int line = line_;
    const size_t start = pos_;
    while (pos_ < data_.size() && !blank(data_[pos_]) && pos_ - start < 32) ++pos_;
    const std::string run = data_.substr(start, pos_ - start);
    pos_ = line_end(start);
    end_line();
    const char* b = run.data();
    const char* e = b + run.size();
    if (b != e && *b == '+') ++b;
    int32_t v = 0;
    auto [p, ec] = std::from_chars(b, e, v);
    if (ec == std::errc::result_out_of_range)
      fail(line, "数が大きすぎます「" + sjis_.to_utf8(run) + "」");
    if (ec != std::errc() || p != e || b == e)
      fail(line, "数値として読めません「" + sjis_.to_utf8(run) + "」");
    return v;
  }

  uint8_t byte() { return static_cast<uint8_t>(number()); }

  // Whether a value was asked for past the end of the data (and read as 0 or empty).
  bool ran_out() const { return ran_out_; }

 private:
  static bool blank(char c) { return static_cast<unsigned char>(c) <= ' '; }

  // Where the line that `from` lies in ends (its CR or LF, or the end of the data).
  size_t line_end(size_t from) const {
    const size_t limit = std::min(data_.size(), line_start_ + kMaxLineBytes + 1);
    size_t p = from;
    while (p < limit && data_[p] != '\r' && data_[p] != '\n') ++p;
    if (p - line_start_ > kMaxLineBytes)
      fail(line_, "行が長すぎます（" + std::to_string(kMaxLineBytes) + " バイトまで）");
    return p;
  }

  void end_line() {
    if (pos_ < data_.size() && data_[pos_] == '\r') {
      ++pos_;
      if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
    } else if (pos_ < data_.size() && data_[pos_] == '\n') {
      ++pos_;
    }
    ++line_;
    line_start_ = pos_;
  }

  [[noreturn]] void fail(int line, const std::string& what) const {
    throw IoError(label_ + " の " + std::to_string(line) + " 行目：" + what);
  }

  const Sjis& sjis_;
  const std::string& data_;
  const std::string& label_;
  size_t pos_ = 0;
  size_t line_start_ = 0;
  int line_ = 1;
  bool ran_out_ = false;
};

// No catalogue or save comes near this: the largest, the item catalogue, is 2052 lines, 8.4 MB
// even with every line as long as a line may be. A file past it is refused before it is read, so
// a file of a gigabyte costs neither the memory nor the seconds.
constexpr size_t kMaxDataFileBytes = size_t{16} << 20;

// The whole file, or an error naming it and what was wrong: missing, unreadable, not a regular
// file (a FIFO would hold the start for ever, a device never ends), or too large.
std::string read_file(const std::string& path) {
  InputFile f = read_input_file(path, kMaxDataFileBytes);
  switch (f.fault) {
    case InputFile::Fault::none:
      return std::move(f.bytes);
    case InputFile::Fault::cannot_open:
      throw IoError(path + " を開けません（" + std::strerror(f.error) + "）");
    case InputFile::Fault::cannot_read:
      throw IoError(path + " を読めません（" + std::strerror(f.error) + "）");
    case InputFile::Fault::not_regular:
      throw IoError(path + " はデータファイルではありません（" + f.kind + "）");
    case InputFile::Fault::too_large:
      throw IoError(path + " が大きすぎます（" + std::to_string(f.size) + " バイト、" +
                    std::to_string(kMaxDataFileBytes) + " バイトまで）");
  }
  throw IoError(path + " を読めません");
}

void read_hero_record(Hero& h, Reader& r) {
  for (const HeroField& f : hero_fields()) {
    if (f.text) h.*f.text = r.text();
    else if (f.number) h.*f.number = r.number();
    else
      for (uint8_t& b : f.bytes(h)) b = r.byte();
  }
}

template <size_t N>
void read_lines(Reader& r, std::array<std::string, N>& into) {
  for (auto& s : into) s = r.text();
}

void read_tech_table(Game& g, Reader& r) {
  for (auto& rec : g.tech_table)
    for (auto& s : rec) s = r.text();
}

void read_item_records(std::array<Item, kItems>& items, Reader& r) {
  for (Item& it : items) {
    it.name = r.text();
    it.description = r.text();
    it.kind = r.number();
    it.value = r.number();
  }
}

struct DataFileKind {
  DataFile file;
  const char* name;
  void (*read)(Game&, Reader&);
  bool saved;  // written back by the game: it lives in the save's folder
};
constexpr DataFileKind kDataFiles[] = {
    {DataFile::save, kSaveFile, [](Game& g, Reader& r) { read_hero_record(g.hero, r); }, true},
    {DataFile::names, "name.dat", [](Game& g, Reader& r) { read_lines(r, g.name_pool); }, false},
    {DataFile::techniques, "magic.dat", read_tech_table, false},
    {DataFile::spirits, "aiko.dat", [](Game& g, Reader& r) { read_lines(r, g.spirit_names); }, false},
    {DataFile::items, kItemFile, [](Game& g, Reader& r) { read_item_records(g.items, r); }, true},
    {DataFile::figures, "f.dat", [](Game& g, Reader& r) { read_lines(r, g.figure_names); }, false},
};

// ---- Saving ----

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

// The file calls of a save, each announced to the test hook first.
struct SaveSteps {
  Game& g;

  void step(std::string_view what) const {
    if (g.before_file_step) g.before_file_step(what);
  }

  [[noreturn]] static void fail(const std::string& path, const char* what, int err) {
    throw IoError(path + " " + what + "（" + std::strerror(err) + "）");
  }

  // Creates `path`, writes all of `bytes` and flushes them to the disk. On failure the partial
  // file is removed.
  void write_flushed(const std::string& path, const std::string& bytes) const {
    step("create " + path);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) fail(path, "を作れません", errno);
    auto give_up = [&](int err) {
      ::close(fd);
      ::unlink(path.c_str());
      fail(path, "に書き込めません", err ? err : ENOSPC);
    };
    // In pieces, so that a test stopping the save between two of them finds a partial file, as
    // a process killed in the middle of a write leaves one.
    constexpr size_t kPiece = 8192;
    size_t done = 0;
    while (done < bytes.size()) {
      step("write " + path);
      const ssize_t n = ::write(fd, bytes.data() + done, std::min(kPiece, bytes.size() - done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) give_up(n < 0 ? errno : 0);
      done += static_cast<size_t>(n);
    }
    step("flush " + path);
    if (::fsync(fd) != 0) give_up(errno);
    if (::close(fd) != 0) {
      const int err = errno;
      ::unlink(path.c_str());
      fail(path, "に書き込めません", err);
    }
  }

  void rename_over(const std::string& from, const std::string& to) const {
    step("rename " + from);
    if (::rename(from.c_str(), to.c_str()) != 0) fail(to, "を置き換えられません", errno);
  }

  // Makes the renames themselves last through a power cut.
  void flush_folder(const std::string& folder) const {
    step("flush " + folder);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
  }
};

void remove_file(const std::string& path) { ::unlink(path.c_str()); }

bool exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// Where a save writes its temporary files, anything but a regular file (a stopped save's) would
// make every save fail. What goes without loss goes (an empty folder, a link, a FIFO); anything
// else is named before the game is played, so no session is played for a save that cannot be made.
void clear_the_way(const std::string& tmp) {
  struct stat st {};
  if (::lstat(tmp.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return;
  if ((S_ISDIR(st.st_mode) ? ::rmdir(tmp.c_str()) : ::unlink(tmp.c_str())) == 0) return;
  throw IoError(tmp + " がセーブの一時ファイルの場所をふさいでいます（" + std::strerror(errno) +
                "）。取り除いてから始めてください。");
}

// A save as save_game writes it: exactly its lines, each ended by CR LF.
bool complete_save(const std::string& bytes) {
  if (bytes.size() < 2 || bytes.compare(bytes.size() - 2, 2, "\r\n") != 0) return false;
  size_t lines = 0;
  for (size_t p = bytes.find("\r\n"); p != std::string::npos; p = bytes.find("\r\n", p + 2)) ++lines;
  return static_cast<int>(lines) == hero_record_lines();
}

// Finishes or forgets a save that was stopped part of the way. The catalogue's temporary file is
// renamed first, so a save's temporary file left alone means the catalogue is already in place and
// the save, written and flushed before that, only waits for its rename. Both left means the
// process stopped before either rename: the old pair stands, and the temporary files go.
void settle_interrupted_save(Game& g) {
  const std::string save = g.save_path(kSaveFile), items = g.save_path(kItemFile);
  const std::string save_tmp = save + ".tmp", items_tmp = items + ".tmp";
  clear_the_way(save_tmp);
  clear_the_way(items_tmp);
  if (!exists(save_tmp) && !exists(items_tmp)) return;
  if (!exists(items_tmp)) {
    try {
      if (complete_save(read_file(save_tmp)) && ::rename(save_tmp.c_str(), save.c_str()) == 0) return;
    } catch (const IoError&) {
    }
  }
  remove_file(save_tmp);
  remove_file(items_tmp);
}

// Puts the bytes of a save, and of the item catalogue when given, in place as one pair: both
// are written to temporary files beside the old ones and flushed, then the catalogue and then the
// save are renamed over them (see save_game).
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
    remove_file(save_tmp);
    remove_file(items_tmp);
    throw;
  }
  // From here the new catalogue is in place; a save that cannot be renamed stays complete in its
  // temporary file, and the next start puts it in place.
  files.rename_over(save_tmp, save);
  files.flush_folder(g.save_path(""));
}

// A save kept apart from the pack starts as a copy of the pack's: its save, and its item
// catalogue unless the folder holds one already (the cards of an earlier hero). The copy goes
// through the same temporary files and renames as a save, so a copy stopped half-way is settled
// or done again at the next start, and never taken for a save. A save folder holding a save but
// no catalogue is left alone: the load then names the missing file, and nothing is overwritten.
void copy_first_save(Game& g) {
  if (g.save_dir.empty() || exists(g.save_path(kSaveFile))) return;
  const std::string save = read_file(g.path("dat", kSaveFile));
  if (exists(g.save_path(kItemFile))) return write_pair(g, nullptr, save);
  const std::string catalogue = read_file(g.path("dat", kItemFile));
  write_pair(g, &catalogue, save);
}

}  // namespace

void read_data_file(Game& g, DataFile file, const std::string& bytes, const std::string& label) {
  for (const DataFileKind& k : kDataFiles) {
    if (k.file != file) continue;
    Reader r(g.sjis, bytes, label);
    k.read(g, r);
  }
}

void load_game(Game& g) {
  g.loaded = false;
  settle_interrupted_save(g);
  copy_first_save(g);
  for (const DataFileKind& k : kDataFiles) {
    const std::string path = k.saved ? g.save_path(k.name) : g.path("dat", k.name);
    read_data_file(g, k.file, read_file(path), path);
  }
  g.loaded = true;
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

// A file is read as the save and the other as the catalogue, by the readers the game loads with,
// into records of their own; only a file holding every line of its kind counts (the loader reads a
// short file as zeros, which for an imported save would be a dead hero of level 0).
PairCheck check_save_pair(const Sjis& sjis, const ChosenFile (&files)[2]) {
  for (const ChosenFile& f : files)
    if (f.bytes.size() > kMaxChosenSaveBytes)
      return {-1, "「" + f.name + "」はセーブにしては大きすぎます（" +
                      std::to_string(kMaxChosenSaveBytes / (1024 * 1024)) + " MB まで）"};
  // What is wrong with a file read as the save or as the catalogue; empty when it reads whole.
  const auto as_save = [&](const ChosenFile& f) -> std::string {
    const std::string label = "「" + f.name + "」";  // the reader keeps a reference to it
    try {
      Reader r(sjis, f.bytes, label);
      auto hero = std::make_unique<Hero>();
      read_hero_record(*hero, r);
      if (r.ran_out()) return label + "はセーブの途中で終わっています";
      if (hero->level < 1) return label + "のヒーローはレベル 0 です";
    } catch (const IoError& e) {
      return e.what();
    }
    return {};
  };
  const auto as_catalogue = [&](const ChosenFile& f) -> std::string {
    const std::string label = "「" + f.name + "」";
    try {
      Reader r(sjis, f.bytes, label);
      auto items = std::make_unique<std::array<Item, kItems>>();
      read_item_records(*items, r);
      if (r.ran_out()) return label + "はアイテムの表の途中で終わっています";
    } catch (const IoError& e) {
      return e.what();
    }
    return {};
  };
  // The first file that reads as the save, with the other as the catalogue; failing that, what is
  // wrong with the catalogue beside the first save, or with the first file as the save.
  const std::string first_as_save = as_save(files[0]);
  std::string catalogue_problem;
  if (first_as_save.empty()) {
    catalogue_problem = as_catalogue(files[1]);
    if (catalogue_problem.empty()) return {0, {}};
  }
  if (as_save(files[1]).empty()) {
    const std::string problem = as_catalogue(files[0]);
    if (problem.empty()) return {1, {}};
    if (catalogue_problem.empty()) catalogue_problem = problem;
  }
  if (!catalogue_problem.empty()) return {-1, "アイテムの表（item.dat）として読めません：" + catalogue_problem};
  return {-1, "ヒーローのセーブ（my.dat）として読めません：" + first_as_save};
}
