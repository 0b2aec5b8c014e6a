// Font files mapped into memory instead of read through a file handle.
#pragma once
#include <cstddef>
#include <string>

// A file mapped read-only into memory for as long as this lives. Reading a font through a file
// handle costs a seek and a read of the system for every table and glyph FreeType looks at (some
// nine thousand of them before the first frame); from a mapping it is a plain memory read, and
// the pages are shared by every size opened from it.
class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps the file; false (and nothing mapped) if it cannot be opened or is empty.
  bool map(const std::string& path);
  const void* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  void* data_ = nullptr;
  size_t size_ = 0;
};
