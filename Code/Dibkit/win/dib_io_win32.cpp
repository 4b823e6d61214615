// The platform edge of Dibkit for Windows: exclusive file access, message
// boxes with no owner, and GdiFlush before effect copies.
#include <windows.h>

#include "../dib_internal.h"
#include "../dib_surface.h"

namespace dibkit {

bool ReadWholeFile(const char* path, size_t limit, std::vector<uint8_t>* bytes) {
  HANDLE h = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(h, &size) && size.QuadPart >= 0 && static_cast<uint64_t>(size.QuadPart) <= limit;
  if (ok) {
    bytes->resize(static_cast<size_t>(size.QuadPart));
    // Pieces of 32,768 bytes.
    for (size_t done = 0; ok && done < bytes->size();) {
      DWORD want = static_cast<DWORD>(bytes->size() - done < 32768 ? bytes->size() - done : 32768);
      DWORD got = 0;
      ok = ReadFile(h, bytes->data() + done, want, &got, nullptr) && got == want;
      done += got;
    }
  }
  CloseHandle(h);
  return ok;
}

bool WriteWholeFile(const char* path, const std::vector<uint8_t>& bytes) {
  HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  return CloseHandle(h) && ok;
}

void ShowBox(const char* text, const char* caption) { MessageBoxA(nullptr, text, caption, MB_OK); }

void BeforeEffectCopy() { GdiFlush(); }

}  // namespace dibkit
