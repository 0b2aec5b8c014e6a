// The storage handed to the game, and the folders made a level at a time through it.
#include "storage/storage.hpp"

#include <stdexcept>
#include <string>

namespace {

Storage* handed = nullptr;

}  // namespace

Storage& storage() {
  if (!handed) throw std::logic_error("the program handed the game no storage (use_storage)");
  return *handed;
}

void use_storage(Storage& s) { handed = &s; }

std::string Storage::put_file(const std::string& path, const std::string& bytes) {
  const std::string aside = path + "." + std::to_string(process_id());
  std::string error;
  std::unique_ptr<OutputFile> out = create_file(aside, error);
  if (!out) return error;
  error = out->write(bytes.data(), bytes.size());
  const std::string closed = out->close(false);
  if (error.empty()) error = closed;
  if (error.empty()) error = replace(aside, path);
  if (!error.empty()) remove(aside);  // left only when it could not be completed
  return error;
}

std::string read_failure(const InputFile& f, size_t limit) {
  switch (f.fault) {
    case InputFile::Fault::none:
      return "";
    case InputFile::Fault::cannot_open:
    case InputFile::Fault::cannot_read:
      return f.error;
    case InputFile::Fault::not_regular:
      return std::string("not a regular file (a ") + f.kind + ")";
    case InputFile::Fault::too_large:
      return "larger than " + std::to_string(limit) + " bytes (" + std::to_string(f.size) + ")";
  }
  return f.error;
}

std::string map_failure(const std::string& path, size_t limit) {
  const InputFile read = storage().read_file(path, limit);
  if (read.fault != InputFile::Fault::none) return read_failure(read, limit);
  return read.bytes.empty() ? "the file is empty" : "it cannot be mapped into memory";
}

// A level at a time, so that a failure names the level that could not be made and why (a file
// in the way, a parent the player may not write); the levels that are folders already count.
std::optional<FolderFailure> make_folders(const std::string& path, bool private_folder) {
  if (path.empty()) return std::nullopt;
  std::string made;
  size_t from = 0;
  while (from <= path.size()) {
    size_t slash = path.find('/', from);
    if (slash == std::string::npos) slash = path.size();
    const std::string part = path.substr(from, slash - from);
    from = slash + 1;
    if (part.empty()) {
      if (slash == 0) made = "/";  // the root
      continue;
    }
    made += made.empty() || made.back() == '/' ? part : "/" + part;
    const bool last = path.find_first_not_of('/', from) == std::string::npos;
    if (std::string why = storage().make_folder(made, last && private_folder); !why.empty())
      return FolderFailure{made, why};
  }
  return std::nullopt;
}

std::string folder_of(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return "";
  return slash == 0 ? "/" : path.substr(0, slash);
}
