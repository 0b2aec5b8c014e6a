// A font file mapped into memory the first time a face of it is opened.
#pragma once
#include <memory>

#include "render/font_files.hpp"
#include "storage/storage.hpp"

// FreeType reads a font through a handle with a seek and a read of the system for every table and
// glyph it looks at; from a mapping it reads memory, and the pages are shared by every reader of
// the file. The mapping is kept as long as this lives, and so as long as the faces made from it.
class MappedFont {
 public:
  // The file's bytes, mapped on first use; throws FontError naming the file, why it could not be
  // mapped and the packages to install.
  const MappedFile& get(const FontFile& file, Face face);

 private:
  std::unique_ptr<MappedFile> mapped_;
};
