// File error codes of game and position files; each doubles as the number
// of its text in the program's string table.
//
// Interface: FileErrorText, ReadWholeFile, ReplaceFileAtomically.
#pragma once

#include <cstddef>
#include <string>

enum FileError {
  FILE_OK = 0,
  FILE_CANNOT_OPEN = 302,
  FILE_CANNOT_CREATE = 303,
  FILE_CANNOT_WRITE = 305,
  FILE_CANNOT_READ = 306,
  FILE_BAD_FORMAT = 307,
  FILE_DAMAGED = 308,
  FILE_NO_MEMORY = 313,
};

const char* FileErrorText(int code);
// "<text> <path>." as shown to the user.
std::string FileErrorMessage(int code, const char* path);

// Reads a whole file whose size lies in [minSize, maxSize). 0 or a
// FileError (302 open, 308 size, 313 memory, 306 short read).
int ReadWholeFile(const char* path, size_t minSize, size_t maxSize, std::string* out);

// Writes `size` bytes to "<path>.tmp" (in text mode when `text`: "\n"
// becomes the system's line end) and renames it over `path`. 0, 303
// when the temporary file cannot be made, 305 when a write, the flush or the
// rename fails (the temporary file is removed and `path` is untouched).
int ReplaceFileAtomically(const char* path, const void* data, size_t size, bool text = false);
