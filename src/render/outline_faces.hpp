// The outline fonts opened by FreeType: a face for each family, a size for each em.
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
struct FT_SizeRec_;

// Opening a face reads and checks its character map (some 230 KB in each IPA font), so each
// family's face is opened once and its sizes share it.
class OutlineFaces {
 public:
  explicit OutlineFaces(const FontFiles& files);
  ~OutlineFaces();
  OutlineFaces(const OutlineFaces&) = delete;
  OutlineFaces& operator=(const OutlineFaces&) = delete;

  // The face of that family set to an em of px pixels (at least 1), opened on first use; throws
  // FontError naming the packages to install when its file cannot be opened. The face keeps that
  // size until the next get() for the family.
  FT_FaceRec_* get(Face face, int px);

 private:
  FontFiles files_;
  std::array<MappedFont, 3> mapped_;  // by Face
  FT_LibraryRec_* library_ = nullptr;
  std::array<FT_FaceRec_*, 3> faces_{};  // by Face, null until opened
  std::map<std::pair<Face, int>, FT_SizeRec_*> sizes_;
};
