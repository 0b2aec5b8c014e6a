// Reading a file the game is given (a catalogue, a save, a picture, a cache) whole, bounded by
// what such a file can hold, without ever waiting on it.
#pragma once
#include <cstddef>
#include <string>

// What became of reading a file. Only a regular file is read: a FIFO would hold the start until
// somebody writes into it, a device such as /dev/zero never ends, and a folder has no bytes.
struct InputFile {
  enum class Fault { none, cannot_open, not_regular, too_large, cannot_read };
  Fault fault = Fault::none;
  int error = 0;           // errno, for cannot_open and cannot_read
  const char* kind = "";   // what the file is instead, for not_regular: "folder", "FIFO" ...
  unsigned long long size = 0;  // the file's size, for too_large
  std::string bytes;
};

// Opens `path` without blocking (a FIFO with nobody writing into it opens at once) and without
// taking a terminal it may name for the game's own, looks at what it is, and reads it when it is a
// regular file of at most `limit` bytes: the size is known before anything is read, so a huge
// file costs nothing.
InputFile read_input_file(const std::string& path, size_t limit);
