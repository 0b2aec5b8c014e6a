// The game's files on a POSIX system (the desktop, and the page's emscripten file system).
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/system_storage.hpp"

namespace {

std::string why(int err) { return std::strerror(err); }

const char* kind_of(mode_t mode) {
  if (S_ISDIR(mode)) return "folder";
  if (S_ISFIFO(mode)) return "FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "device";
  if (S_ISSOCK(mode)) return "socket";
  return "special file";
}

// Without waiting (a FIFO opens at once, and is refused by its caller), and a terminal is not
// taken for the game's own.
int open_for_reading(const std::string& path) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

class PosixReadableFile : public ReadableFile {
 public:
  PosixReadableFile(int fd, uint64_t size) : fd_(fd), size_(size) {}
  ~PosixReadableFile() override { ::close(fd_); }
  PosixReadableFile(const PosixReadableFile&) = delete;
  PosixReadableFile& operator=(const PosixReadableFile&) = delete;

  uint64_t size() const override { return size_; }
  bool read(uint64_t offset, void* out, size_t n) const override {
    if (offset > size_ || size_ - offset < n) return false;
    auto* p = static_cast<uint8_t*>(out);
    while (n > 0) {
      const ssize_t got = ::pread(fd_, p, n, static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;  // an error, or the file shrank under us
      p += got;
      offset += static_cast<uint64_t>(got);
      n -= static_cast<size_t>(got);
    }
    return true;
  }

 private:
  int fd_;
  uint64_t size_;
};

class PosixMappedFile : public MappedFile {
 public:
  PosixMappedFile(void* data, size_t size) : data_(data), size_(size) {}
  ~PosixMappedFile() override { ::munmap(data_, size_); }
  const void* data() const override { return data_; }
  size_t size() const override { return size_; }

 private:
  void* data_;
  size_t size_;
};

class PosixOutputFile : public OutputFile {
 public:
  explicit PosixOutputFile(int fd) : fd_(fd) {}
  ~PosixOutputFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  PosixOutputFile(const PosixOutputFile&) = delete;
  PosixOutputFile& operator=(const PosixOutputFile&) = delete;

  std::string write(const char* data, size_t n) override {
    while (n > 0) {
      const ssize_t done = ::write(fd_, data, n);
      if (done < 0 && errno == EINTR) continue;
      if (done < 0) return why(errno);
      if (done == 0) return why(ENOSPC);
      data += done;
      n -= static_cast<size_t>(done);
    }
    return {};
  }

  std::string close(bool to_disk) override {
    const int err = to_disk && ::fsync(fd_) != 0 ? errno : 0;
    const int closed = ::close(fd_);
    const int close_err = errno;
    fd_ = -1;
    if (err) return why(err);
    return closed != 0 ? why(close_err) : std::string();
  }

 private:
  int fd_;
};

// flock on the folder itself: nothing is created in it, and the lock belongs to this open
// description, so even a second game in the same process is refused.
class PosixFolderLock : public FolderLock {
 public:
  explicit PosixFolderLock(const std::string& folder) {
    fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) {
      error_ = why(errno);
      return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      state_ = State::held;
      return;
    }
    const int err = errno;
    error_ = why(err);
    state_ = err == EWOULDBLOCK ? State::busy : State::unavailable;
    ::close(fd_);
    fd_ = -1;
  }
  ~PosixFolderLock() override {
    if (fd_ >= 0) ::close(fd_);
  }
  PosixFolderLock(const PosixFolderLock&) = delete;
  PosixFolderLock& operator=(const PosixFolderLock&) = delete;

  State state() const override { return state_; }
  const std::string& error() const override { return error_; }

 private:
  int fd_ = -1;
  State state_ = State::unavailable;
  std::string error_;
};

// The desktop's rules for the player's folders: $VARIABLE/lushera when the variable holds an
// absolute folder, else IN_HOME/lushera under $HOME (when absolute); where the home folder is
// needed and $HOME gives none, the account's own is asked for the save and the cache (the
// settings then keep their defaults).
struct UserFolderRule {
  UserFolder kind;
  const char* variable;
  const char* in_home;
  bool account_home;
};
constexpr UserFolderRule kUserFolders[] = {
    {UserFolder::config, "XDG_CONFIG_HOME", ".config", false},
    {UserFolder::data, "XDG_DATA_HOME", ".local/share", true},
    {UserFolder::cache, "XDG_CACHE_HOME", ".cache", true},
};

bool absolute(const char* folder) { return folder && folder[0] == '/'; }

std::string joined(std::string folder, const std::string& rest) {
  if (folder.back() != '/') folder += '/';
  return folder + rest;
}

class PosixStorage : public Storage {
 public:
  InputFile read_file(const std::string& path, size_t limit) override {
    InputFile out;
    const int fd = open_for_reading(path);
    if (fd < 0) {
      out.fault = InputFile::Fault::cannot_open;
      out.error = why(errno);
      return out;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
      out.fault = InputFile::Fault::cannot_read;
      out.error = why(errno);
    } else if (!S_ISREG(st.st_mode)) {
      out.fault = InputFile::Fault::not_regular;
      out.kind = kind_of(st.st_mode);
    } else if (static_cast<unsigned long long>(st.st_size) > limit) {
      out.fault = InputFile::Fault::too_large;
      out.size = static_cast<unsigned long long>(st.st_size);
    } else {
      read_all(fd, static_cast<size_t>(st.st_size), out);
    }
    ::close(fd);
    return out;
  }

  std::unique_ptr<ReadableFile> open_file(const std::string& path) override {
    const int fd = open_for_reading(path);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixReadableFile>(fd, static_cast<uint64_t>(st.st_size));
  }

  std::unique_ptr<MappedFile> map_file(const std::string& path) override {
    const int fd = open_for_reading(path);
    if (fd < 0) return nullptr;
    struct stat st {};
    void* p = MAP_FAILED;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
      p = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);  // the mapping keeps the file
    if (p == MAP_FAILED) return nullptr;
    return std::make_unique<PosixMappedFile>(p, static_cast<size_t>(st.st_size));
  }

  std::optional<FileStamp> stamp(const std::string& path) override {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return FileStamp{static_cast<unsigned long long>(st.st_size),
                     static_cast<long long>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
  }

  EntryKind entry_kind(const std::string& path) override {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return EntryKind::none;
    if (S_ISREG(st.st_mode)) return EntryKind::regular;
    return S_ISDIR(st.st_mode) ? EntryKind::folder : EntryKind::other;
  }

  bool may_write(const std::string& folder) override {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) == 0;
  }

  bool among_installed_programs(const std::string&) override { return false; }

  std::unique_ptr<OutputFile> create_file(const std::string& path, std::string& error) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
      error = why(errno);
      return nullptr;
    }
    return std::make_unique<PosixOutputFile>(fd);
  }

  std::string replace(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0 ? std::string() : why(errno);
  }

  std::string remove(const std::string& path) override {
    struct stat st {};
    const bool folder = ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    return (folder ? ::rmdir(path.c_str()) : ::unlink(path.c_str())) == 0 ? std::string() : why(errno);
  }

  void flush_folder(const std::string& folder) override {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
  }

  std::string make_folder(const std::string& path, bool private_folder) override {
    if (::mkdir(path.c_str(), private_folder ? 0700 : 0777) == 0) return {};
    const int err = errno;
    struct stat st {};
    if (err == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return {};
    return why(err);
  }

  uint64_t process_id() override { return static_cast<uint64_t>(::getpid()); }

  std::unique_ptr<FolderLock> lock_folder(const std::string& folder) override {
    return std::make_unique<PosixFolderLock>(folder);
  }

  std::string user_folder(UserFolder kind) override {
    for (const UserFolderRule& rule : kUserFolders) {
      if (rule.kind != kind) continue;
      const char* own = std::getenv(rule.variable);
      if (absolute(own)) return joined(own, "lushera");
      const char* home = std::getenv("HOME");
      std::string base = absolute(home) ? home : "";
      if (base.empty() && rule.account_home)
        if (const passwd* pw = ::getpwuid(::getuid()); pw && absolute(pw->pw_dir)) base = pw->pw_dir;
      if (base.empty()) return {};
      return joined(base, std::string(rule.in_home) + "/lushera");
    }
    return {};
  }

  std::string program_folder(const char* argv0) override {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::absolute(argv0, ec);
    std::string folder = exe.lexically_normal().parent_path().string();
    return folder.empty() ? "/" : folder;
  }

 private:
  static void read_all(int fd, size_t size, InputFile& out) {
    out.bytes.resize(size);
    size_t done = 0;
    while (done < size) {
      const ssize_t n = ::read(fd, out.bytes.data() + done, size - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        out.fault = InputFile::Fault::cannot_read;
        out.error = why(errno);
        break;
      }
      if (n == 0) break;
      done += static_cast<size_t>(n);
    }
    out.bytes.resize(out.fault == InputFile::Fault::none ? done : 0);
  }
};

}  // namespace

Storage& system_storage() {
  static PosixStorage storage;
  return storage;
}
