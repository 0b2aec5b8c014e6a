// A small reader of RIFF files (the container of wave files): it finds a form among the file's
// top-level chunks, and chunks inside a form, and reads bytes at a position. It trusts none of the
// sizes it finds: a chunk that claims more than the file holds can still be found, but reading
// past the end of the file fails.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "storage/storage.hpp"

// The bytes the reader walks: a file on disk or an image in memory.
class RiffSource {
 public:
  virtual ~RiffSource() = default;
  virtual uint64_t size() const = 0;
  // Exactly n bytes at offset, or false.
  virtual bool read(uint64_t offset, void* out, size_t n) const = 0;
};

class MemoryRiffSource : public RiffSource {
 public:
  MemoryRiffSource(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
  uint64_t size() const override { return size_; }
  bool read(uint64_t offset, void* out, size_t n) const override;

 private:
  const uint8_t* data_;
  size_t size_;
};

class FileRiffSource : public RiffSource {
 public:
  // False if the file cannot be opened for reading (or is not a plain file).
  bool open(const std::string& path);
  uint64_t size() const override { return file_ ? file_->size() : 0; }
  bool read(uint64_t offset, void* out, size_t n) const override;

 private:
  std::unique_ptr<ReadableFile> file_;
};

constexpr uint32_t fourcc(const char (&id)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(id[0])) |
         static_cast<uint32_t>(static_cast<uint8_t>(id[1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(id[2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(id[3])) << 24;
}

struct RiffChunk {
  uint32_t id = 0;
  uint32_t size = 0;          // as the chunk header says
  uint64_t data_offset = 0;   // first byte after the header (after the form type, for a form)
  uint64_t declared_end = 0;  // where the header says the contents end (maybe past the file)
  // Where the next chunk starts (chunks are padded to an even length).
  uint64_t next() const { return declared_end + (size & 1u); }
};

// Finds the first top-level "RIFF" chunk whose form type is `form`.
bool find_riff_form(const RiffSource& source, uint32_t form, RiffChunk& out);

// Finds the first chunk `id` among the chunks from `from` up to `end`.
bool find_chunk(const RiffSource& source, uint32_t id, uint64_t from, uint64_t end, RiffChunk& out);
