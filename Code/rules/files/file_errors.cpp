#include "file_errors.h"

#include <cstdio>
#include <cstring>

// Renames `from` over `to`, replacing it; in file_replace_*.cpp.
bool ReplaceFileWith(const char* from, const char* to);

const char* FileErrorText(int code) {
  switch (code) {
    case FILE_CANNOT_OPEN:
      return "Unable to open the file";
    case FILE_CANNOT_CREATE:
      return "Cannot create file";
    case FILE_CANNOT_WRITE:
      return "Cannot write file";
    case FILE_CANNOT_READ:
      return "Cannot read file";
    case FILE_BAD_FORMAT:
      return "Invalid file format.";
    case FILE_DAMAGED:
      return "File is damaged or is not a Rookwell file.";
    case FILE_NO_MEMORY:
      return "Memory allocation failed during load of file";
    default:
      return "";
  }
}

std::string FileErrorMessage(int code, const char* path) {
  std::string text = FileErrorText(code);
  text += ' ';
  text += path ? path : "";
  text += '.';
  return text;
}

int ReadWholeFile(const char* path, size_t minSize, size_t maxSize, std::string* out) {
  std::FILE* f = path ? std::fopen(path, "rb") : nullptr;
  if (!f) return FILE_CANNOT_OPEN;
  long size = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
  if (size < 0 || static_cast<size_t>(size) < minSize || static_cast<size_t>(size) >= maxSize ||
      std::fseek(f, 0, SEEK_SET) != 0) {
    std::fclose(f);
    return FILE_DAMAGED;
  }
  try {
    out->assign(static_cast<size_t>(size), '\0');
  } catch (...) {
    std::fclose(f);
    return FILE_NO_MEMORY;
  }
  size_t got = size ? std::fread(&(*out)[0], 1, static_cast<size_t>(size), f) : 0;
  std::fclose(f);
  return got == static_cast<size_t>(size) ? FILE_OK : FILE_CANNOT_READ;
}

int ReplaceFileAtomically(const char* path, const void* data, size_t size, bool text) {
  if (!path) return FILE_CANNOT_CREATE;
  std::string temp = std::string(path) + ".tmp";
  std::FILE* f = std::fopen(temp.c_str(), text ? "wt" : "wb");
  if (!f) return FILE_CANNOT_CREATE;
  bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  ok = std::fflush(f) == 0 && ok;
  ok = std::fclose(f) == 0 && ok;
  if (ok) ok = ReplaceFileWith(temp.c_str(), path);
  if (!ok) {
    std::remove(temp.c_str());
    return FILE_CANNOT_WRITE;
  }
  return FILE_OK;
}
