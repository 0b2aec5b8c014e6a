// The RIFF reader: a wave file's chunks walked and its format and samples checked.
#include "audio/riff_reader.hpp"

#include <cstring>

namespace {

uint32_t le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The header of the chunk at `offset`, if it lies wholly before `end` and inside the file.
bool chunk_header(const RiffSource& source, uint64_t offset, uint64_t end, RiffChunk& out) {
  if (offset > end || end - offset < 8) return false;
  uint8_t header[8];
  if (!source.read(offset, header, sizeof header)) return false;
  out.id = le32(header);
  out.size = le32(header + 4);
  out.data_offset = offset + 8;
  out.declared_end = out.data_offset + out.size;
  return true;
}

}  // namespace

bool MemoryRiffSource::read(uint64_t offset, void* out, size_t n) const {
  if (offset > size_ || size_ - offset < n) return false;
  if (n > 0) std::memcpy(out, data_ + offset, n);
  return true;
}

// Opened without waiting (a FIFO is refused, not waited on), a terminal not taken for the game's own.
bool FileRiffSource::open(const std::string& path) {
  file_ = storage().open_file(path);
  return file_ != nullptr;
}

bool FileRiffSource::read(uint64_t offset, void* out, size_t n) const { return file_ && file_->read(offset, out, n); }

bool find_riff_form(const RiffSource& source, uint32_t form, RiffChunk& out) {
  const uint64_t file_end = source.size();
  uint64_t offset = 0;
  RiffChunk chunk;
  while (chunk_header(source, offset, file_end, chunk)) {
    uint8_t type[4];
    if (chunk.id == fourcc("RIFF") && chunk.size >= 4 && source.read(chunk.data_offset, type, 4) &&
        le32(type) == form) {
      out = chunk;
      out.data_offset += 4;
      return true;
    }
    offset = chunk.next();
  }
  return false;
}

bool find_chunk(const RiffSource& source, uint32_t id, uint64_t from, uint64_t end, RiffChunk& out) {
  if (end > source.size()) end = source.size();
  uint64_t offset = from;
  RiffChunk chunk;
  while (chunk_header(source, offset, end, chunk)) {
    if (chunk.id == id) {
      out = chunk;
      return true;
    }
    offset = chunk.next();
  }
  return false;
}
