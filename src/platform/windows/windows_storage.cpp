// The game's files on Windows, through the system's wide-character calls.
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>

#include "platform/system_storage.hpp"
#include "platform/windows/wide_text.hpp"

namespace {

// The system's words for an error, in the player's language, without the full stop and line end
// that the game's message adds its own around.
std::string why(DWORD err) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                 nullptr, err, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string words = n ? utf8_of(std::wstring(text, n)) : "error " + std::to_string(err);
  if (text) LocalFree(text);
  while (!words.empty() && (words.back() == ' ' || words.back() == '.' || words.back() == '\r' ||
                            words.back() == '\n'))
    words.pop_back();
  return words;
}
std::string why_now() { return why(GetLastError()); }

// Every other process may read, write, rename and remove the file while we hold it open, as on
// POSIX: a save replaced by another program's rename is not refused because the game was reading.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class Handle {
 public:
  explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  ~Handle() { close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  void reset(HANDLE h) {
    close();
    h_ = h;
  }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  bool close() {
    const bool ok = !valid() || CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

// What the path names when it is no regular file on a disk, or null. A device name (NUL, CON,
// COM1) opens as a character device, a named pipe as a pipe.
const char* kind_of(HANDLE h) {
  switch (GetFileType(h)) {
    case FILE_TYPE_DISK: {
      BY_HANDLE_FILE_INFORMATION info{};
      if (GetFileInformationByHandle(h, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return "folder";
      return nullptr;
    }
    case FILE_TYPE_PIPE:
      return "pipe";
    case FILE_TYPE_CHAR:
      return "device";
    default:
      return "special file";
  }
}

DWORD attributes(const std::string& path) { return GetFileAttributesW(wide_path(path).c_str()); }
bool is_folder(DWORD a) { return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY); }

// Opened for reading only. A folder opens too (its handle tells what it is), so that it is
// refused as a folder rather than as a file that cannot be opened.
HANDLE open_for_reading(const std::string& path) {
  return CreateFileW(wide_path(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

uint64_t size_of(HANDLE h) {
  LARGE_INTEGER size{};
  return GetFileSizeEx(h, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
}

bool read_at(HANDLE h, uint64_t offset, void* out, size_t n) {
  auto* p = static_cast<uint8_t*>(out);
  while (n > 0) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const DWORD ask = n > (1u << 30) ? (1u << 30) : static_cast<DWORD>(n);
    DWORD got = 0;
    if (!ReadFile(h, p, ask, &got, &at) || got == 0) return false;  // an error, or the file shrank
    p += got;
    offset += got;
    n -= got;
  }
  return true;
}

class WindowsReadableFile : public ReadableFile {
 public:
  WindowsReadableFile(HANDLE h, uint64_t size) : h_(h), size_(size) {}
  uint64_t size() const override { return size_; }
  bool read(uint64_t offset, void* out, size_t n) const override {
    if (offset > size_ || size_ - offset < n) return false;
    return read_at(h_.get(), offset, out, n);
  }

 private:
  Handle h_;
  uint64_t size_;
};

class WindowsMappedFile : public MappedFile {
 public:
  WindowsMappedFile(const void* data, size_t size) : data_(data), size_(size) {}
  ~WindowsMappedFile() override { UnmapViewOfFile(data_); }
  const void* data() const override { return data_; }
  size_t size() const override { return size_; }

 private:
  const void* data_;
  size_t size_;
};

class WindowsOutputFile : public OutputFile {
 public:
  explicit WindowsOutputFile(HANDLE h) : h_(h) {}

  std::string write(const char* data, size_t n) override {
    while (n > 0) {
      const DWORD ask = n > (1u << 30) ? (1u << 30) : static_cast<DWORD>(n);
      DWORD done = 0;
      if (!WriteFile(h_.get(), data, ask, &done, nullptr)) return why_now();
      if (done == 0) return why(ERROR_DISK_FULL);
      data += done;
      n -= done;
    }
    return {};
  }

  std::string close(bool to_disk) override {
    const DWORD err = to_disk && !FlushFileBuffers(h_.get()) ? GetLastError() : 0;
    const bool closed = h_.close();
    const DWORD close_err = GetLastError();
    if (err) return why(err);
    return closed ? std::string() : why(close_err);
  }

 private:
  Handle h_;
};

// A folder handle cannot be locked on Windows, so the lock is on a file of the folder's own,
// lushera.lock, locked whole with LockFileEx. The file stays between games (it holds nothing);
// the lock goes with the handle, and the system closes the handle when the process ends.
class WindowsFolderLock : public FolderLock {
 public:
  explicit WindowsFolderLock(const std::string& folder) {
    if (!is_folder(attributes(folder))) {
      error_ = why(ERROR_PATH_NOT_FOUND);
      return;
    }
    h_.reset(CreateFileW(wide_path(folder + "/lushera.lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                         kShareAll, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (!h_.valid()) {
      error_ = why_now();
      return;
    }
    OVERLAPPED whole{};
    if (LockFileEx(h_.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole)) {
      state_ = State::held;
      return;
    }
    const DWORD err = GetLastError();
    error_ = why(err);
    state_ = err == ERROR_LOCK_VIOLATION || err == ERROR_IO_PENDING ? State::busy : State::unavailable;
    h_.close();
  }

  State state() const override { return state_; }
  const std::string& error() const override { return error_; }

 private:
  Handle h_;
  State state_ = State::unavailable;
  std::string error_;
};

// A variable of the environment, read in its wide form (the narrow one is in the old code page).
std::string environment(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  return value ? utf8_path(value) : std::string();
}

// Windows' places for a game's own files: settings and the save roam with the player's account
// (%APPDATA%), what is only kept to start faster stays on this machine (%LOCALAPPDATA%). The
// variables are asked first, as every program started from a shell that changed them expects;
// the shell's own record of the folder when a variable is missing.
std::string known_folder(const wchar_t* variable, const KNOWNFOLDERID& id) {
  std::string folder = environment(variable);
  if (!folder.empty()) return folder;
  wchar_t* path = nullptr;
  if (SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) folder = utf8_path(path);
  CoTaskMemFree(path);
  return folder;
}

class WindowsStorage : public Storage {
 public:
  InputFile read_file(const std::string& path, size_t limit) override {
    InputFile out;
    Handle h(open_for_reading(path));
    if (!h.valid()) {
      out.fault = InputFile::Fault::cannot_open;
      out.error = why_now();
      return out;
    }
    if (const char* kind = kind_of(h.get())) {
      out.fault = InputFile::Fault::not_regular;
      out.kind = kind;
      return out;
    }
    const uint64_t size = size_of(h.get());
    if (size > limit) {
      out.fault = InputFile::Fault::too_large;
      out.size = size;
      return out;
    }
    out.bytes.resize(static_cast<size_t>(size));
    if (!out.bytes.empty() && !read_at(h.get(), 0, out.bytes.data(), out.bytes.size())) {
      out.fault = InputFile::Fault::cannot_read;
      out.error = why_now();
      out.bytes.clear();
    }
    return out;
  }

  std::unique_ptr<ReadableFile> open_file(const std::string& path) override {
    HANDLE h = open_for_reading(path);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    if (kind_of(h)) {
      CloseHandle(h);
      return nullptr;
    }
    return std::make_unique<WindowsReadableFile>(h, size_of(h));
  }

  std::unique_ptr<MappedFile> map_file(const std::string& path) override {
    Handle file(open_for_reading(path));
    if (!file.valid() || kind_of(file.get())) return nullptr;
    const uint64_t size = size_of(file.get());
    if (size == 0) return nullptr;
    // The mapping keeps the file, and the view keeps the mapping.
    const HANDLE mapping = CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping) return nullptr;
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    CloseHandle(mapping);
    if (!view) return nullptr;
    return std::make_unique<WindowsMappedFile>(view, static_cast<size_t>(size));
  }

  std::optional<FileStamp> stamp(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(wide_path(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      return std::nullopt;
    const uint64_t ticks = uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
    return FileStamp{uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow,
                     static_cast<long long>(ticks) * 100};  // counted in 100 ns
  }

  EntryKind entry_kind(const std::string& path) override {
    const DWORD a = attributes(path);
    if (a == INVALID_FILE_ATTRIBUTES) return EntryKind::none;
    if (a & FILE_ATTRIBUTE_REPARSE_POINT) return EntryKind::other;  // a link, itself
    return (a & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::folder : EntryKind::regular;
  }

  // Windows' permissions are lists of rules that no single call answers for a folder, so the
  // folder is asked the way the game will use it: a file made in it and removed again.
  bool may_write(const std::string& folder) override {
    const std::string probe = folder + "/lushera-write-test." + std::to_string(GetCurrentProcessId());
    HANDLE h = CreateFileW(wide_path(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
  }

  bool among_installed_programs(const std::string& folder) override {
    const std::wstring here = wide_path(folder);
    for (const KNOWNFOLDERID* id : {&FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86}) {
      wchar_t* programs = nullptr;
      std::wstring root;
      if (SHGetKnownFolderPath(*id, KF_FLAG_DEFAULT, nullptr, &programs) == S_OK) root = programs;
      CoTaskMemFree(programs);
      if (root.empty() || here.size() <= root.size() || here[root.size()] != L'\\') continue;
      // Windows' names are the same whatever their case.
      if (CompareStringOrdinal(here.c_str(), static_cast<int>(root.size()), root.c_str(),
                               static_cast<int>(root.size()), TRUE) == CSTR_EQUAL)
        return true;
    }
    return false;
  }

  std::unique_ptr<OutputFile> create_file(const std::string& path, std::string& error) override {
    HANDLE h = CreateFileW(wide_path(path).c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      error = why_now();
      return nullptr;
    }
    return std::make_unique<WindowsOutputFile>(h);
  }

  // In one step on the same volume, and written through: the call returns once the new name is on
  // the disk, which is what flushing the folder does on POSIX.
  std::string replace(const std::string& from, const std::string& to) override {
    return MoveFileExW(wide_path(from).c_str(), wide_path(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? std::string()
               : why_now();
  }

  std::string remove(const std::string& path) override {
    const std::wstring w = wide_path(path);
    const DWORD a = GetFileAttributesW(w.c_str());
    const bool folder = a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
    return (folder ? RemoveDirectoryW(w.c_str()) : DeleteFileW(w.c_str())) ? std::string() : why_now();
  }

  // Each rename was written through already (see replace); Windows has no flush of a folder.
  void flush_folder(const std::string&) override {}

  // A folder of the player's own profile is the player's alone already: it inherits the
  // profile's permissions, as every program's folder under %APPDATA% does.
  std::string make_folder(const std::string& path, bool) override {
    if (CreateDirectoryW(wide_path(path).c_str(), nullptr)) return {};
    const DWORD err = GetLastError();
    if (is_folder(attributes(path))) return {};
    return why(err);
  }

  uint64_t process_id() override { return static_cast<uint64_t>(GetCurrentProcessId()); }

  std::unique_ptr<FolderLock> lock_folder(const std::string& folder) override {
    return std::make_unique<WindowsFolderLock>(folder);
  }

  std::string user_folder(UserFolder kind) override {
    const std::string base = kind == UserFolder::cache ? known_folder(L"LOCALAPPDATA", FOLDERID_LocalAppData)
                                                       : known_folder(L"APPDATA", FOLDERID_RoamingAppData);
    return base.empty() ? std::string() : base + "/lushera";
  }

  std::string program_folder(const char*) override {
    std::wstring exe(MAX_PATH, L'\0');
    for (;;) {
      const DWORD n = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
      if (n == 0) return {};
      if (n < exe.size()) {
        exe.resize(n);
        break;
      }
      exe.resize(exe.size() * 2);
    }
    std::string folder = utf8_path(exe);
    folder.erase(folder.find_last_of('/'));
    if (folder.size() == 2 && folder[1] == ':') folder += '/';  // a drive's root: "C:" alone is its current folder
    return folder;
  }
};

}  // namespace

Storage& system_storage() {
  static WindowsStorage storage;
  return storage;
}
