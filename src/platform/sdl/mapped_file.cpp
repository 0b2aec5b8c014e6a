// Mapping a file read-only, and unmapping it at the end.
#include "platform/sdl/mapped_file.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

MappedFile::~MappedFile() {
  if (data_) munmap(data_, size_);
}

bool MappedFile::map(const std::string& path) {
  if (data_) return true;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  void* p = MAP_FAILED;
  if (fstat(fd, &st) == 0 && st.st_size > 0)
    p = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  ::close(fd);  // the mapping keeps the file
  if (p == MAP_FAILED) return false;
  data_ = p;
  size_ = static_cast<size_t>(st.st_size);
  return true;
}
