// Reading the data files: their values, each file's records, the load, a chosen pair's check.
#include <algorithm>
#include <charconv>
#include <memory>

#include "core/game.hpp"
#include "core/hero_record.hpp"
#include "core/savefile.hpp"
#include "core/savefile_parts.hpp"

namespace {

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

// No catalogue or save comes near this: the largest, the item catalogue, is 2052 lines, 8.4 MB
// even with every line as long as a line may be. A file past it is refused before it is read, so
// a file of a gigabyte costs neither the memory nor the seconds.
constexpr size_t kMaxDataFileBytes = size_t{16} << 20;

}  // namespace

std::string read_data_bytes(const std::string& path) {
  InputFile f = storage().read_file(path, kMaxDataFileBytes);
  switch (f.fault) {
    case InputFile::Fault::none:
      return std::move(f.bytes);
    case InputFile::Fault::cannot_open:
      throw IoError(path + " を開けません（" + f.error + "）");
    case InputFile::Fault::cannot_read:
      throw IoError(path + " を読めません（" + f.error + "）");
    case InputFile::Fault::not_regular:
      throw IoError(path + " はデータファイルではありません（" + f.kind + "）");
    case InputFile::Fault::too_large:
      throw IoError(path + " が大きすぎます（" + std::to_string(f.size) + " バイト、" +
                    std::to_string(kMaxDataFileBytes) + " バイトまで）");
  }
  throw IoError(path + " を読めません");
}

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
    read_data_file(g, k.file, read_data_bytes(path), path);
  }
  g.loaded = true;
}

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
