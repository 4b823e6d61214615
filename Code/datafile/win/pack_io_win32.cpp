// The platform edge of Packfile for Windows: files opened unshared with
// write-through and sequential-scan hints, and message boxes with no owner.
#include <windows.h>

#include "../pack_io.h"

namespace packfile {

namespace {

class Win32File : public InputFile {
 public:
  explicit Win32File(HANDLE h) : h_(h) {
    LARGE_INTEGER size;
    size_ = GetFileSizeEx(h_, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
  }
  ~Win32File() override { CloseHandle(h_); }
  uint64_t Size() const override { return size_; }
  bool Seek(uint64_t position) override {
    if (position > size_) return false;
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(position);
    return SetFilePointerEx(h_, to, nullptr, FILE_BEGIN) != 0;
  }
  size_t Read(void* buffer, size_t count) override {
    size_t total = 0;
    auto* p = static_cast<char*>(buffer);
    while (total < count) {
      DWORD want = static_cast<DWORD>(count - total > 0x10000000 ? 0x10000000 : count - total);
      DWORD got = 0;
      if (!ReadFile(h_, p + total, want, &got, nullptr) || got == 0) break;
      total += got;
    }
    return total;
  }

 private:
  HANDLE h_;
  uint64_t size_ = 0;
};

}  // namespace

std::unique_ptr<InputFile> OpenInputFile(const char* path) {
  HANDLE h =
      CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32File>(h);
}

void ShowBox(const char* text, const char* caption, unsigned style) {
  MessageBoxA(nullptr, text, caption, MB_OK | style);
}

}  // namespace packfile
