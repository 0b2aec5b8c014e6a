// Reading a given file whole: regular files only, within a limit, never blocking.
#include "core/input_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

const char* kind_of(mode_t mode) {
  if (S_ISDIR(mode)) return "folder";
  if (S_ISFIFO(mode)) return "FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "device";
  if (S_ISSOCK(mode)) return "socket";
  return "special file";
}

}  // namespace

InputFile read_input_file(const std::string& path, size_t limit) {
  InputFile out;
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    out.fault = InputFile::Fault::cannot_open;
    out.error = errno;
    return out;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    out.fault = InputFile::Fault::cannot_read;
    out.error = errno;
  } else if (!S_ISREG(st.st_mode)) {
    out.fault = InputFile::Fault::not_regular;
    out.kind = kind_of(st.st_mode);
  } else if (static_cast<unsigned long long>(st.st_size) > limit) {
    out.fault = InputFile::Fault::too_large;
    out.size = static_cast<unsigned long long>(st.st_size);
  } else {
    // The bytes it held when it was opened: a file that grows meanwhile is not followed.
    const auto size = static_cast<size_t>(st.st_size);
    out.bytes.resize(size);
    size_t done = 0;
    while (done < size) {
      const ssize_t n = ::read(fd, out.bytes.data() + done, size - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        out.fault = InputFile::Fault::cannot_read;
        out.error = errno;
        break;
      }
      if (n == 0) break;
      done += static_cast<size_t>(n);
    }
    out.bytes.resize(out.fault == InputFile::Fault::none ? done : 0);
  }
  ::close(fd);
  return out;
}
