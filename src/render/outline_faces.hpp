// The outline fonts opened by FreeType, one face for each family and size.
#pragma once
#include <array>
#include <map>
#include <string>
#include <utility>

#include "render/font_files.hpp"
#include "render/mapped_font.hpp"
#include "render/text_raster.hpp"

struct FT_LibraryRec_;
struct FT_FaceRec_;

class OutlineFaces {
 public:
  explicit OutlineFaces(const FontFiles& files);
  ~OutlineFaces();
  OutlineFaces(const OutlineFaces&) = delete;
  OutlineFaces& operator=(const OutlineFaces&) = delete;

  // The face of that family with an em of px pixels (at least 1), opened on first use; throws
  // FontError naming the packages to install when its file cannot be opened.
  FT_FaceRec_* get(Face face, int px);

 private:
  FontFiles files_;
  std::array<MappedFont, 3> mapped_;  // by Face
  FT_LibraryRec_* library_ = nullptr;
  std::map<std::pair<Face, int>, FT_FaceRec_*> faces_;
};
