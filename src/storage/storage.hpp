// The system's files as the game asks for them: the one seam between the game and the operating system.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// Every path crossing this seam is UTF-8, with '/' between its parts; an implementation converts
// it to what its system takes. Every failure comes back as the system's own words for it (what
// strerror says on POSIX), for the game to put in its error box beside the file's name; an empty
// text means the step was done.

// What became of reading a file whole. Only a regular file is read: a FIFO would hold the start
// until somebody writes into it, a device such as /dev/zero never ends, and a folder has no bytes.
struct InputFile {
  enum class Fault { none, cannot_open, not_regular, too_large, cannot_read };
  Fault fault = Fault::none;
  std::string error;            // the system's words, for cannot_open and cannot_read
  const char* kind = "";        // what the file is instead, for not_regular: "folder", "FIFO" ...
  unsigned long long size = 0;  // the file's size, for too_large
  std::string bytes;
};

// Why a file could not be read whole, in words for an error message after the file's name: the
// system's words, what the file is instead, or its size against the limit; empty when it was read.
std::string read_failure(const InputFile& f, size_t limit);
// Why a file could not be mapped, in the storage's words (the system's on every system).
std::string map_failure(const std::string& path, size_t limit);

// A regular file open for reading at any position (a wave, walked a chunk at a time).
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  virtual uint64_t size() const = 0;
  // Exactly n bytes at offset, or false (past the end, an error, a file that shrank).
  virtual bool read(uint64_t offset, void* out, size_t n) const = 0;
};

// A regular file's bytes mapped read-only into memory while this lives: read from the disk
// only where they are looked at (a font's few tables and glyphs), the pages shared by every
// reader of the file and never copied into the program's own memory.
class MappedFile {
 public:
  virtual ~MappedFile() = default;
  virtual const void* data() const = 0;
  virtual size_t size() const = 0;
};

// A file being written. Dropped before close(), it is closed as it stands (and the caller removes
// what it does not want kept).
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Writes all n bytes.
  virtual std::string write(const char* data, size_t n) = 0;
  // Closes the file; with `to_disk`, its bytes are on the disk first (they survive a power cut).
  virtual std::string close(bool to_disk) = 0;
};

// The lock on a folder, taken without waiting and let go when the object goes. The system lets
// it go too when the process ends, however it ends, so a crash never leaves the folder locked.
class FolderLock {
 public:
  enum class State { held, busy, unavailable };
  virtual ~FolderLock() = default;
  // held: this process has it; busy: another game holds it; unavailable: the folder could not be
  // opened or locked (one the player may write but not read, a file system without locks), for
  // the reason error() gives.
  virtual State state() const = 0;
  virtual const std::string& error() const = 0;
};

// What a regular file is now, to tell whether it changed since: its size and its modification time.
struct FileStamp {
  unsigned long long size = 0;
  long long written_ns = 0;
  bool operator==(const FileStamp&) const = default;
};

// What a name in a folder is, the name itself looked at (a link is not followed).
enum class EntryKind { none, regular, folder, other };

// The player's own folders, by what they keep.
enum class UserFolder {
  config,  // settings (the mixer's, the window's zoom)
  data,    // the save of an installed game
  cache,   // what is only kept to start faster
};

class Storage {
 public:
  virtual ~Storage() = default;

  // ---- Reading ----
  // The whole of a regular file of at most `limit` bytes: opened without waiting (a FIFO with
  // nobody writing into it opens at once) and without taking a terminal it may name for the
  // game's own; its size is known before anything is read, so a huge file costs nothing. The
  // bytes it held when it was opened: a file that grows meanwhile is not followed.
  virtual InputFile read_file(const std::string& path, size_t limit) = 0;
  // A regular file to read at any position; nullptr when it cannot be opened or is no regular
  // file (opened without waiting, as read_file does).
  virtual std::unique_ptr<ReadableFile> open_file(const std::string& path) = 0;
  // Maps a regular, non-empty file; nullptr when it cannot (map_failure() says why).
  virtual std::unique_ptr<MappedFile> map_file(const std::string& path) = 0;
  // The stamp of a regular file (a link followed); nothing for anything else or no file.
  virtual std::optional<FileStamp> stamp(const std::string& path) = 0;
  virtual EntryKind entry_kind(const std::string& path) = 0;
  // Whether this process may make and replace files in `folder`.
  virtual bool may_write(const std::string& folder) = 0;
  // Whether `folder` lies where the system installs programs for all its users (Windows'
  // Program Files): a game there is installed, and never saves beside itself even for a user who
  // could write there. POSIX has no such place; an installed game is known by its layout there.
  virtual bool among_installed_programs(const std::string& folder) = 0;

  // ---- Writing ----
  // Creates `path` (or empties it) for writing; nullptr with the reason in `error`.
  virtual std::unique_ptr<OutputFile> create_file(const std::string& path, std::string& error) = 0;
  // Renames `from` over `to` in one step: a reader finds the old file or the new one, never none.
  virtual std::string replace(const std::string& from, const std::string& to) = 0;
  // Removes a file, a link, a FIFO, or an empty folder.
  virtual std::string remove(const std::string& path) = 0;
  // Makes the renames and removals done in `folder` last through a power cut (best effort).
  virtual void flush_folder(const std::string& folder) = 0;
  // Makes one folder whose parent exists; done when it is a folder already. A `private_folder`
  // is open to the player alone.
  virtual std::string make_folder(const std::string& path, bool private_folder) = 0;
  // Puts `bytes` in `path` whole as a reader sees it: written beside it under a name of this
  // process's own and renamed over it (not flushed to the disk: for caches and pictures).
  std::string put_file(const std::string& path, const std::string& bytes);

  // The running program's number with the system, for names no other running copy takes.
  virtual uint64_t process_id() = 0;

  // ---- The player's places ----
  // Tries to take the lock on `folder` at once, without waiting; never nullptr.
  virtual std::unique_ptr<FolderLock> lock_folder(const std::string& folder) = 0;
  // The game's own folder of that kind for this player (ending in "lushera"), whether it exists
  // yet or not; empty when the system knows no such place for the player.
  virtual std::string user_folder(UserFolder kind) = 0;
  // The folder the running program's file lies in, absolute and without "." or ".." parts (the
  // program's name as it was started, `argv0`, where the system does not say).
  virtual std::string program_folder(const char* argv0) = 0;
};

// The storage the game works through: the one the program handed over with use_storage() before
// the game started. Asked for before that, it throws std::logic_error.
Storage& storage();
void use_storage(Storage& s);

// Makes `path` and every folder above it that is missing, a level at a time, the last one
// `private_folder`. Nothing on success; else the level that could not be made and why.
struct FolderFailure {
  std::string level, error;
};
std::optional<FolderFailure> make_folders(const std::string& path, bool private_folder);
// The folder `path` lies in ("" for a name alone, "/" for a file of the root).
std::string folder_of(const std::string& path);
