// The program's cursor set: see cursor_set.h.
#include <windows.h>

#include <new>

#include "cursor_set.h"
#include "spriteset.h"

namespace {

// Where each cursor comes from: a file of the current folder (animated or
// plain), a cursor resource of the program, or a system cursor.
struct CursorSource {
  const char* file;  // tried first when given
  int resource;      // cursor resource number, 0 for none
  LPCSTR system;     // system cursor when no file or resource gives one
};

const CursorSource kSources[kCursorCount] = {
    {"busy.ani", 0, IDC_WAIT},  // 0
    {nullptr, 114, nullptr},    // 1
    {nullptr, 0, IDC_ARROW},    // 2
    {nullptr, 127, nullptr},    // 3  piece cursor, kind 0
    {nullptr, 141, nullptr},    // 4
    {nullptr, 129, nullptr},    // 5  piece cursor, kind 1
    {nullptr, 142, nullptr},    // 6
    {nullptr, 128, nullptr},    // 7  piece cursor, kind 2
    {nullptr, 143, nullptr},    // 8
    {"MoveBoard.ani", 0, nullptr},
    {"SizeBoard.ani", 0, nullptr},
    {"RotateBoard_LR.ani", 0, nullptr},
    {"RotateBoard_UD.ani", 0, nullptr},
    {"PerspectiveBoard.ani", 0, nullptr},
    {nullptr, 0, IDC_APPSTARTING},  // 14
    {nullptr, 133, nullptr},        // 15
    {nullptr, 132, nullptr},
    {nullptr, 124, nullptr},
    {nullptr, 123, nullptr},
    {nullptr, 121, nullptr},
    {nullptr, 115, nullptr},  // 20
    {nullptr, 125, nullptr},
    {nullptr, 122, nullptr},
    {nullptr, 118, nullptr},
    {nullptr, 117, nullptr},
    {nullptr, 126, nullptr},  // 25
    {nullptr, 120, nullptr},
    {nullptr, 119, nullptr},
    {nullptr, 116, nullptr},  // 28
};

// The spot under the pointer sits this far up from a piece cursor's bottom.
int HotSpotSize(int index) {
  switch (index) {
    case CURSOR_PIECE_SMALL:
      return 16;
    case CURSOR_PIECE_MEDIUM:
      return 20;
    case CURSOR_PIECE_LARGE:
      return 32;
    default:
      return 0;
  }
}

// The sprite cursor is drawn at the nearest depth, over the dragged piece.
constexpr int kSpriteCursorDepth = 0;

CursorSet* g_set = nullptr;
CursorSetHost g_host{};

HINSTANCE ResourceModule() {
  void* module = g_host.resourceModule ? g_host.resourceModule() : nullptr;
  return module ? static_cast<HINSTANCE>(module) : GetModuleHandleA(nullptr);
}

HCURSOR LoadSource(const CursorSource& source) {
  HCURSOR cursor = nullptr;
  if (source.file) cursor = LoadCursorFromFileA(source.file);
  if (!cursor && source.resource) cursor = LoadCursorA(ResourceModule(), MAKEINTRESOURCEA(source.resource));
  if (!cursor && source.system) cursor = LoadCursorA(nullptr, source.system);
  return cursor;
}

void DrawCallback(void* dc, const void*, void*, int, int, int, int, int, int, intptr_t user) {
  DrawSpriteCursor(dc, reinterpret_cast<const CursorSet*>(user));
}

}  // namespace

void SetCursorSetHost(const CursorSetHost& host) { g_host = host; }

int CreateCursorSet() {
  if (g_set) return 1;
  g_set = new (std::nothrow) CursorSet{};
  if (!g_set) return 0;
  g_set->current = CURSOR_ARROW;
  g_set->saved = CURSOR_ARROW;
  g_set->sprite = -1;
  for (int i = 0; i < kCursorCount; ++i) g_set->cursors[i] = LoadSource(kSources[i]);
  return 1;
}

int FreeCursorSet() {
  if (!g_set) return 0;
  // The scene would otherwise call back into the freed set.
  StopSpriteCursor();
  for (void* cursor : g_set->cursors)
    if (cursor) DestroyCursor(static_cast<HCURSOR>(cursor));
  delete g_set;
  g_set = nullptr;
  return 1;
}

CursorSet* GetCursorSet() { return g_set; }

int SetAppCursor(void* window, int index) {
  if (!g_set) return -1;
  if (!window || index < 0 || index >= kCursorCount) return g_set->current;
  HCURSOR cursor = static_cast<HCURSOR>(g_set->cursors[index]);
  ShowCursor(FALSE);
  g_set->current = index;
  if (cursor) {
    SetClassLongPtrA(static_cast<HWND>(window), GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
    SetCursor(cursor);
  }
  ShowCursor(TRUE);
  if (const int size = HotSpotSize(index)) g_set->hotSpot = size;
  return g_set->current;
}

int GetWindowCursorIndex(void* window) {
  if (!g_set || !window) return -1;
  const void* cursor = reinterpret_cast<void*>(GetClassLongPtrA(static_cast<HWND>(window), GCLP_HCURSOR));
  if (!cursor) return -1;
  for (int i = 0; i < kCursorCount; ++i)
    if (g_set->cursors[i] == cursor) return i;
  return -1;
}

int IsPieceCursor() { return g_set && HotSpotSize(g_set->current) ? 1 : 0; }

int SetPieceCursor(void* window, int kind) {
  const int index = kind == 0 ? CURSOR_PIECE_SMALL : kind == 2 ? CURSOR_PIECE_LARGE : CURSOR_PIECE_MEDIUM;
  return SetAppCursor(window, index);
}

AnimScene* StartSpriteCursor(int piece) {
  if (!g_set || !g_host.roomBoardSprite) return nullptr;
  AnimScene* scene = nullptr;
  int sprite = -1;
  if (!g_host.roomBoardSprite(piece, &scene, &sprite) || !scene) return nullptr;
  StopSpriteCursor();  // one registration at a time
  g_set->scene = scene;
  g_set->sprite = sprite;
  g_set->spriteCursorOn = 1;
  ShowCursor(FALSE);
  RegisterDrawCallback(scene, DrawCallback, kSpriteCursorDepth, kSpriteCursorDepth,
                       reinterpret_cast<intptr_t>(g_set));
  return scene;
}

void StopSpriteCursor() {
  if (!g_set || !g_set->scene) return;
  UnregisterDrawCallback(g_set->scene, DrawCallback, kSpriteCursorDepth, kSpriteCursorDepth);
  g_set->scene = nullptr;
  g_set->sprite = -1;
  g_set->spriteCursorOn = 0;
  ShowCursor(TRUE);
}

int DrawSpriteCursor(void* dc, const CursorSet* set) {
  if (!set || !set->spriteCursorOn || !dc || !set->scene) return 1;
  DibRect rect{};
  if (!GetSpriteRect(set->scene, &rect, set->sprite)) return 1;
  const int current = set->current;
  HCURSOR cursor =
      current >= 0 && current < kCursorCount ? static_cast<HCURSOR>(set->cursors[current]) : nullptr;
  if (!cursor) return 1;
  // Rectangles of the scene are inclusive.
  const int width = rect.right - rect.left + 1;
  const int x = rect.left + (width - set->hotSpot) / 2;
  const int y = rect.bottom - set->hotSpot - 1;
  DrawIconEx(static_cast<HDC>(dc), x, y, cursor, 0, 0, 0, nullptr, DI_NORMAL);
  return 0;
}
