// Mapping a file read-only, and unmapping it at the end.
#include "platform/sdl/mapped_file.hpp"

#ifdef _WIN32
#include <windows.h>

#include "platform/windows/wide_text.hpp"
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef _WIN32

MappedFile::~MappedFile() {
  if (data_) UnmapViewOfFile(data_);
}

bool MappedFile::map(const std::string& path) {
  if (data_) return true;
  const HANDLE file = CreateFileW(wide_path(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  HANDLE mapping = nullptr;
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0)
    mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  CloseHandle(file);  // the mapping keeps the file, and the view keeps the mapping
  if (!mapping) return false;
  data_ = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  CloseHandle(mapping);
  if (!data_) return false;
  size_ = static_cast<size_t>(size.QuadPart);
  return true;
}

#else

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

#endif
