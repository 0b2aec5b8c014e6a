#include "core/savefile.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "core/game.hpp"

namespace {

// Reads the values of one data file: a string is the rest of its line; a number skips blanks
// and line ends, takes the next run of up to 32 non-blank characters as a decimal integer and
// then drops the rest of its line. At the end of the file numbers are 0 and strings empty.
// A line ends at CR (with an LF after it belonging to it) or at a lone LF.
class Reader {
 public:
  Reader(const Sjis& sjis, std::string path) : sjis_(sjis), path_(std::move(path)) {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw IoError(path_ + " を開けません（" + std::strerror(errno) + "）");
    char buf[65536];
    for (;;) {
      const ssize_t n = ::read(fd, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        const int err = errno;
        ::close(fd);
        throw IoError(path_ + " を読めません（" + std::strerror(err) + "）");
      }
      if (n == 0) break;
      data_.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
  }

  std::string text() {
    const size_t start = pos_;
    while (pos_ < data_.size() && data_[pos_] != '\r' && data_[pos_] != '\n') ++pos_;
    std::string s = data_.substr(start, pos_ - start);
    end_line();
    return s;
  }

  int32_t number() {
    while (pos_ < data_.size() && blank(data_[pos_])) {
      if (data_[pos_] == '\r' || data_[pos_] == '\n') end_line();
      else ++pos_;
    }
    if (pos_ >= data_.size()) return 0;
    const int line = line_;
    const size_t start = pos_;
    while (pos_ < data_.size() && !blank(data_[pos_]) && pos_ - start < 32) ++pos_;
    const std::string run = data_.substr(start, pos_ - start);
    while (pos_ < data_.size() && data_[pos_] != '\r' && data_[pos_] != '\n') ++pos_;
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

 private:
  static bool blank(char c) { return static_cast<unsigned char>(c) <= ' '; }

  void end_line() {
    if (pos_ < data_.size() && data_[pos_] == '\r') {
      ++pos_;
      if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
    } else if (pos_ < data_.size() && data_[pos_] == '\n') {
      ++pos_;
    }
    ++line_;
  }

  [[noreturn]] void fail(int line, const std::string& what) const {
    throw IoError(path_ + " の " + std::to_string(line) + " 行目：" + what);
  }

  const Sjis& sjis_;
  std::string path_;
  std::string data_;
  size_t pos_ = 0;
  int line_ = 1;
};

class Writer {
 public:
  void text(const std::string& s) { out_ += s, out_ += "\r\n"; }
  void number(int32_t v) { text(std::to_string(v)); }

  // Writes beside the file, flushes, then renames over it: the old file stays whole until the
  // new one is complete.
  void commit(const std::string& path) const {
    const std::string tmp = path + ".tmp";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) fail(tmp, "を作れません");
    size_t done = 0;
    while (done < out_.size()) {
      const ssize_t n = ::write(fd, out_.data() + done, out_.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        const int err = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        errno = err ? err : ENOSPC;
        fail(tmp, "に書き込めません");
      }
      done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
      const int err = errno;
      ::unlink(tmp.c_str());
      errno = err;
      fail(tmp, "に書き込めません");
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
      const int err = errno;
      ::unlink(tmp.c_str());
      errno = err;
      fail(path, "を置き換えられません");
    }
  }

 private:
  [[noreturn]] static void fail(const std::string& path, const char* what) {
    throw IoError(path + " " + what + "（" + std::strerror(errno) + "）");
  }
  std::string out_;
};

void read_hero(Game& g) {
  Reader r(g.sjis, g.path("dat", "my.dat"));
  Hero& h = g.hero;
  h.name = r.text();
  h.spirit_name = r.text();
  for (int32_t* f : {&h.hp, &h.mp, &h.max_hp, &h.max_mp, &h.spirit_power, &h.money, &h.level,
                     &h.exp, &h.stars, &h.life, &h.luck})
    *f = r.number();
  for (auto& b : h.tech) b = r.byte();
  for (auto& b : h.world) b = r.byte();
  for (auto& b : h.item_count) b = r.byte();
  for (int32_t* f : {&h.attr_sun, &h.attr_water, &h.attr_magic, &h.attr_angel, &h.attack,
                     &h.magic, &h.defense})
    *f = r.number();
  for (auto& b : h.owned_flags) b = r.byte();
}

template <size_t N>
void read_lines(Game& g, const char* file, std::array<std::string, N>& into) {
  Reader r(g.sjis, g.path("dat", file));
  for (auto& s : into) s = r.text();
}

void read_tech_table(Game& g) {
  Reader r(g.sjis, g.path("dat", "magic.dat"));
  for (auto& rec : g.tech_table)
    for (auto& s : rec) s = r.text();
}

void read_items(Game& g) {
  Reader r(g.sjis, g.path("dat", "item.dat"));
  for (Item& it : g.items) {
    it.name = r.text();
    it.description = r.text();
    it.kind = r.number();
    it.value = r.number();
  }
}

}  // namespace

void load_game(Game& g) {
  g.loaded = false;
  read_hero(g);
  read_lines(g, "name.dat", g.name_pool);
  read_tech_table(g);
  read_lines(g, "aiko.dat", g.spirit_names);
  read_items(g);
  read_lines(g, "f.dat", g.figure_names);
  g.loaded = true;
}

void save_game(Game& g) {
  const Hero& h = g.hero;
  Writer my;
  my.text(h.name);
  my.text(h.spirit_name);
  for (int32_t v : {h.hp, h.mp, h.max_hp, h.max_mp, h.spirit_power, h.money, h.level, h.exp,
                    h.stars, h.life, h.luck})
    my.number(v);
  for (uint8_t b : h.tech) my.number(b);
  for (uint8_t b : h.world) my.number(b);
  for (uint8_t b : h.item_count) my.number(b);
  for (int32_t v : {h.attr_sun, h.attr_water, h.attr_magic, h.attr_angel, h.attack, h.magic,
                    h.defense})
    my.number(v);
  for (uint8_t b : h.owned_flags) my.number(b);
  my.commit(g.path("dat", "my.dat"));

  Writer items;
  for (const Item& it : g.items) {
    items.text(it.name);
    items.text(it.description);
    items.number(it.kind);
    items.number(it.value);
  }
  items.commit(g.path("dat", "item.dat"));
}
