// The platform edge of Packfile: reading files and telling the user.
// The reader itself only sees InputFile; pack_io_std.cpp (native) and
// win/pack_io_win32.cpp (Windows) supply OpenInputFile and ShowBox.
//
// Interface: InputFile, MemoryFile, OpenInputFile, ReportMessage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace packfile {

class InputFile {
 public:
  virtual ~InputFile() = default;
  virtual uint64_t Size() const = 0;
  // False when the position lies beyond the end.
  virtual bool Seek(uint64_t position) = 0;
  // Bytes actually read (fewer at the end of the file).
  virtual size_t Read(void* buffer, size_t count) = 0;
};

// A file held in memory (tests and fuzz targets).
class MemoryFile : public InputFile {
 public:
  MemoryFile(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool Seek(uint64_t position) override;
  size_t Read(void* buffer, size_t count) override;

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

// Opens an existing file for reading, unshared; null when it cannot be had.
std::unique_ptr<InputFile> OpenInputFile(const char* path);

// Shows a message (the host's hook when set, else the platform's box).
enum { kBoxOk = 0, kBoxWarning = 0x30 };
void ReportMessage(const char* text, const char* caption, unsigned style);
// The platform's own box (no owner, OK only).
void ShowBox(const char* text, const char* caption, unsigned style);

}  // namespace packfile
