// The Win32 utilities.
#include "win_utils_win32.h"

#include <cstdlib>
#include <cstring>

#include "heapkit.h"

namespace {

constexpr int kHeapTag = 66;

// Reads up to `size` bytes from the start of a file into `block`; the rest
// of the block stays as it was.
bool ReadHead(const char* path, char* block, int size) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD read = 0;
  BOOL ok = ReadFile(file, block, static_cast<DWORD>(size), &read, nullptr);
  CloseHandle(file);
  return ok != 0;
}

// The folder part of a search pattern ("" for the current folder), so that
// found names can be opened where they lie.
void PatternFolder(const char* pattern, char* folder, size_t size) {
  const char* cut = std::strrchr(pattern, '\\');
  const char* slash = std::strrchr(pattern, '/');
  if (slash > cut) cut = slash;
  size_t n = cut ? static_cast<size_t>(cut - pattern + 1) : 0;
  if (n >= size) n = 0;
  std::memcpy(folder, pattern, n);
  folder[n] = '\0';
}

bool JoinFound(const char* folder, const char* name, char* path, size_t size) {
  size_t a = std::strlen(folder), b = std::strlen(name);
  if (a + b + 1 > size) return false;
  std::memcpy(path, folder, a);
  std::memcpy(path + a, name, b + 1);
  return true;
}

int FillWith(HDC dc, const RECT* rect, COLORREF colour) {
  if (!dc || !rect) return 1;
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HBRUSH brush = CreateSolidBrush(colour);
  if (!pen || !brush) {
    if (pen) DeleteObject(pen);
    if (brush) DeleteObject(brush);
    return 1;
  }
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  BOOL ok = Rectangle(dc, rect->left, rect->top, rect->right, rect->bottom);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
  return ok ? 0 : 1;
}

BOOL CALLBACK RedrawIfSameInstance(HWND window, LPARAM instance) {
  if (GetWindowLongPtrA(window, GWLP_HINSTANCE) == instance) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_INTERNALPAINT | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW);
  }
  return TRUE;
}

}  // namespace

int ResMessageBox(HWND owner, UINT textId, UINT captionId, UINT flags) {
  char text[512], caption[128];
  HINSTANCE self = GetModuleHandleA(nullptr);
  if (LoadStringA(self, textId, text, sizeof text) <= 0) text[0] = '\0';
  if (LoadStringA(self, captionId, caption, sizeof caption) <= 0) caption[0] = '\0';
  return MessageBoxA(owner, text, caption, flags);
}

int FileExists(const char* path) {
  if (!path) return 0;
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  CloseHandle(file);
  return 1;
}

HANDLE OpenFileHandle(const char* path, DWORD access, DWORD disposition) {
  return CreateFileA(path, access, 0, nullptr, disposition,
                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

int LoadFileHeads(const char* pattern, char** heads, int capacity, int size) {
  if (!pattern || !heads || capacity <= 0 || size <= 0) return 0;
  char folder[MAX_PATH], path[MAX_PATH];
  PatternFolder(pattern, folder, sizeof folder);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (!JoinFound(folder, found.cFileName, path, sizeof path)) continue;
    // One byte more than asked, always NUL: the heads are sorted as texts.
    char* block = static_cast<char*>(memAlloc_rel(static_cast<size_t>(size) + 1, kHeapTag));
    if (!block) break;
    std::memset(block, 0, static_cast<size_t>(size) + 1);
    if (!ReadHead(path, block, size)) {
      memFree_rel(block);
      continue;
    }
    heads[count++] = block;
  } while (count < capacity && FindNextFileA(search, &found));
  FindClose(search);
  std::qsort(heads, static_cast<size_t>(count), sizeof heads[0], CompareNamePointers);
  return count;
}

void FreeFileHeads(char** heads, int count) {
  for (int i = 0; heads && i < count; ++i) {
    memFree_rel(heads[i]);
    heads[i] = nullptr;
  }
}

int FindFileByHead(char* path, const char* text, const char* pattern, int, int size) {
  if (!path || !text || !pattern || size <= 0) return 0;
  char folder[MAX_PATH], full[MAX_PATH];
  PatternFolder(pattern, folder, sizeof folder);
  char* head = static_cast<char*>(memAlloc_rel(static_cast<size_t>(size) + 1, kHeapTag));
  if (!head) return 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  int result = 0;
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      if (!JoinFound(folder, found.cFileName, full, sizeof full)) continue;
      std::memset(head, 0, static_cast<size_t>(size) + 1);
      if (ReadHead(full, head, size) && std::strncmp(head, text, static_cast<size_t>(size)) == 0) {
        lstrcpynA(path, found.cFileName, MAX_PATH);
        result = 1;
      }
    } while (!result && FindNextFileA(search, &found));
    FindClose(search);
  }
  memFree_rel(head);
  return result;
}

HGLOBAL LoadRcData(HMODULE module, const char* name) {
  HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
  return found ? LoadResource(module, found) : nullptr;
}

int MakeResourceWritable(HMODULE module, HRSRC resource, void* data) {
  if (!resource || !data) return 0;
  DWORD old = 0;
  VirtualProtect(data, SizeofResource(module, resource), PAGE_READWRITE, &old);
  return 1;
}

BITMAPINFOHEADER* LoadWritableBitmapResource(HMODULE module, const char* name) {
  HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(2));  // RT_BITMAP
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data || !MakeResourceWritable(module, found, data)) return nullptr;
  return static_cast<BITMAPINFOHEADER*>(data);
}

void CenterWindow(HWND window, HWND reference) {
  if (!window) return;
  if (!reference) reference = GetParent(window);
  if (!reference) reference = GetDesktopWindow();
  RECT own, ref;
  GetWindowRect(window, &own);
  int width = own.right - own.left, height = own.bottom - own.top;
  int x, y;
  bool child = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) && GetParent(window) == reference;
  if (child) {
    GetClientRect(reference, &ref);
    x = (ref.right - width) / 2;
    y = (ref.bottom - height) / 2;
  } else {
    GetWindowRect(reference, &ref);
    x = ref.left + (ref.right - ref.left - width) / 2;
    y = ref.top + (ref.bottom - ref.top - height) / 2;
  }
  if (x < 0) x = 1;
  if (y < 0) y = 1;
  MoveWindow(window, x, y, width, height, TRUE);
}

void CenterWindowClamped(HWND window, HWND reference) {
  if (!window || !reference) return;
  RECT own, ref;
  GetWindowRect(window, &own);
  GetWindowRect(reference, &ref);
  int width = own.right - own.left, height = own.bottom - own.top;
  int x = ref.left + (ref.right - ref.left - width) / 2;
  int y = ref.top + (ref.bottom - ref.top - height) / 2;
  HDC dc = GetDC(window);
  int screenWidth = GetDeviceCaps(dc, HORZRES), screenHeight = GetDeviceCaps(dc, VERTRES);
  ReleaseDC(window, dc);
  if (x + width > screenWidth) x = screenWidth - width;
  if (y + height > screenHeight) y = screenHeight - height;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void KeepRectOnWorkArea(RECT* rect) {
  if (!rect) return;
  RECT work;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return;
  if (rect->left >= work.left && rect->top >= work.top && rect->right <= work.right && rect->bottom <= work.bottom)
    return;
  OffsetRect(rect, work.left - rect->left, work.top - rect->top);
}

void RectClientToScreen(HWND window, RECT* rect) {
  if (!rect) return;
  ClientToScreen(window, reinterpret_cast<POINT*>(&rect->left));
  ClientToScreen(window, reinterpret_cast<POINT*>(&rect->right));
}

void RectScreenToClient(HWND window, RECT* rect) {
  if (!rect) return;
  ScreenToClient(window, reinterpret_cast<POINT*>(&rect->left));
  ScreenToClient(window, reinterpret_cast<POINT*>(&rect->right));
}

LONG SetWindowSlot(HWND window, int slot, LONG value) { return SetWindowLongA(window, 4 * slot, value); }

LONG GetWindowSlot(HWND window, int slot) { return GetWindowLongA(window, 4 * slot); }

HFONT CreatePointFont(const char* face, int points, int weight, BYTE charSet) {
  HDC screen = GetDC(nullptr);
  int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charSet, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     PROOF_QUALITY, VARIABLE_PITCH, face);
}

int FillRectWithBrush(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!dc || !rect || !brush) return 1;
  LOGBRUSH info;
  if (GetObjectA(brush, sizeof info, &info) == sizeof info && info.lbStyle == BS_SOLID)
    return FillWith(dc, rect, info.lbColor);
  return FillRect(dc, rect, brush) ? 0 : 1;
}

int FillRectPaletteIndex(HDC dc, const RECT* rect, int index) {
  return FillWith(dc, rect, PALETTEINDEX(static_cast<WORD>(index)));
}

int FillRectColor(HDC dc, const RECT* rect, COLORREF colour) { return FillWith(dc, rect, colour); }

int ListBoxEnsureVisible(HWND listBox, int item) {
  int count = static_cast<int>(SendMessageA(listBox, LB_GETCOUNT, 0, 0));
  int top = static_cast<int>(SendMessageA(listBox, LB_GETTOPINDEX, 0, 0));
  int itemHeight = static_cast<int>(SendMessageA(listBox, LB_GETITEMHEIGHT, 0, 0));
  RECT client;
  GetClientRect(listBox, &client);
  int newTop = ListBoxTopForItem(item, top, count, client.bottom - client.top, itemHeight);
  if (newTop < 0) return -1;
  if (newTop != top && SendMessageA(listBox, LB_SETTOPINDEX, static_cast<WPARAM>(newTop), 0) == LB_ERR) return -1;
  return top;
}

int IsWindowOrParentIconic(HWND window) {
  for (; window; window = GetParent(window)) {
    if (IsIconic(window)) return 1;
    if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) break;
  }
  return 0;
}

int RedrawProgramWindows(HWND window) {
  LONG_PTR instance = window ? GetWindowLongPtrA(window, GWLP_HINSTANCE) : 0;
  if (!instance) return 0;
  EnumWindows(RedrawIfSameInstance, static_cast<LPARAM>(instance));
  return 1;
}

void InitOpenFileRecord(OPENFILENAMEA* record, HWND owner) {
  if (!record) return;
  std::memset(record, 0, sizeof *record);
  record->lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // 76 bytes in the 32-bit program
  record->hwndOwner = owner;
  record->nMaxFile = MAX_PATH;
  record->nMaxFileTitle = 512;
  record->Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
}
