// The search board and piece box (see searchboard_win32.h). The geometry,
// cell arithmetic and slide pacing are the OS-free searchboard_core; this
// file holds the strip of piece pictures and masks, the flicker-free moving
// picture, the slide thread and the two window procedures.
#include "searchboard_win32.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "searchboard_core.h"

namespace {

constexpr int kStripColumns = 9;
constexpr int kStripRows = 12;
constexpr int kWoodColumn = 7;
constexpr int kBoardFrame = 3;

int g_animationSpeed = 0;
HPALETTE g_palette = nullptr;

// ---- the piece strip -----------------------------------------------------

// 9s x 12s, 32-bit: picture row r in strip row 2r, its mask in 2r + 1.
struct PieceStrip {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  int size = 0;
  int gutter = 0;
};

void FreeStrip(PieceStrip* s) {
  if (s->dc) {
    SelectObject(s->dc, s->old);
    DeleteDC(s->dc);
  }
  if (s->bitmap) DeleteObject(s->bitmap);
  *s = PieceStrip();
}

bool LoadStrip(HMODULE module, const char* name, PieceStrip* out) {
  HBITMAP picture = static_cast<HBITMAP>(LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!picture) return false;
  BITMAP info{};
  GetObject(picture, sizeof info, &info);
  const PieceSetCells cells = PieceSetGeometry(info.bmWidth);
  const int s = cells.cell;
  if (!SquareDrawable(s) || info.bmHeight < 6 * (s + 2)) {
    DeleteObject(picture);
    return false;
  }
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = kStripColumns * s;
  bi.bmiHeader.biHeight = -kStripRows * s;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  PieceStrip strip;
  strip.bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  strip.dc = CreateCompatibleDC(screen);
  HDC source = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (!strip.bitmap || !strip.dc || !source) {
    if (source) DeleteDC(source);
    DeleteObject(picture);
    FreeStrip(&strip);
    return false;
  }
  strip.old = SelectObject(strip.dc, strip.bitmap);
  HGDIOBJ oldSource = SelectObject(source, picture);
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < kStripColumns; ++c)
      BitBlt(strip.dc, c * s, 2 * r * s, s, s, source, c * (s + 2) + 1, r * (s + 2) + 1, SRCCOPY);
  SelectObject(source, oldSource);
  DeleteDC(source);
  DeleteObject(picture);
  GdiFlush();
  // Masks: white where the row's top-left colour is, and that colour black
  // in the picture, so a masked draw is AND then OR.
  auto* px = static_cast<uint32_t*>(bits);
  const int width = kStripColumns * s;
  for (int r = 0; r < 6; ++r) {
    const uint32_t key = px[size_t(2 * r * s) * size_t(width)] & 0xFFFFFF;
    for (int y = 0; y < s; ++y) {
      uint32_t* image = px + size_t(2 * r * s + y) * size_t(width);
      uint32_t* mask = px + size_t((2 * r + 1) * s + y) * size_t(width);
      for (int x = 0; x < width; ++x) {
        const bool clear = (image[x] & 0xFFFFFF) == key;
        mask[x] = clear ? 0xFFFFFF : 0;
        if (clear) image[x] = 0;
      }
    }
  }
  strip.size = s;
  strip.gutter = cells.gutter;
  *out = strip;
  return true;
}

// The piece's picture masked onto the cell at (x, y) of `dc`.
void DrawPieceCell(HDC dc, int x, int y, const PieceStrip& strip, uint8_t code) {
  const int s = strip.size;
  const StripCell cell = PieceCell(code);
  BitBlt(dc, x, y, s, s, strip.dc, cell.column * s, (cell.row + 1) * s, SRCAND);
  BitBlt(dc, x, y, s, s, strip.dc, cell.column * s, cell.row * s, SRCPAINT);
}

void DrawSquareAt(HDC dc, int x, int y, const PieceStrip& strip, int sq, uint8_t code) {
  const int s = strip.size;
  if (!strip.dc || !SquareDrawable(s)) return;
  const StripCell back = BackgroundCell(sq);
  if (!code) {
    BitBlt(dc, x, y, s, s, strip.dc, back.column * s, back.row * s, SRCCOPY);
    return;
  }
  const int cx = kCompositionCell.column * s, cy = kCompositionCell.row * s;
  BitBlt(strip.dc, cx, cy, s, s, strip.dc, back.column * s, back.row * s, SRCCOPY);
  DrawPieceCell(strip.dc, cx, cy, strip, code);
  BitBlt(dc, x, y, s, s, strip.dc, cx, cy, SRCCOPY);
}

// ---- the moving picture --------------------------------------------------

// Work area (2w x 2h from the left), saved background in column 2.
struct DragImage {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  int x = 0, y = 0, w = 0, h = 0;
  uint8_t code = 0;
  const PieceStrip* strip = nullptr;
};

void FreeDragImage(DragImage* d) {
  if (d->dc) {
    SelectObject(d->dc, d->old);
    DeleteDC(d->dc);
  }
  if (d->bitmap) DeleteObject(d->bitmap);
  *d = DragImage();
}

// `background`: the square whose empty picture is saved as what lies under
// the start, or -1 to save what the window shows there.
bool CreateDragImage(HWND window, const PieceStrip& strip, uint8_t code, int x, int y, int background,
                     DragImage* out) {
  FreeDragImage(out);
  const int s = strip.size;
  HDC dc = GetDC(window);
  out->bitmap = CreateCompatibleBitmap(dc, 3 * s, 2 * s);
  out->dc = CreateCompatibleDC(dc);
  if (!out->bitmap || !out->dc) {
    ReleaseDC(window, dc);
    FreeDragImage(out);
    return false;
  }
  out->old = SelectObject(out->dc, out->bitmap);
  out->x = x;
  out->y = y;
  out->w = out->h = s;
  out->code = code;
  out->strip = &strip;
  if (background >= 0)
    DrawSquareAt(out->dc, 2 * s, 0, strip, background, 0);
  else
    BitBlt(out->dc, 2 * s, 0, s, s, dc, x, y, SRCCOPY);
  // The picture over its saved background, shown at the start.
  BitBlt(out->dc, 0, 0, s, s, out->dc, 2 * s, 0, SRCCOPY);
  DrawPieceCell(out->dc, 0, 0, strip, code);
  BitBlt(dc, x, y, s, s, out->dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  return true;
}

void MoveDragImage(HWND window, DragImage* d, int nx, int ny) {
  if (!d->dc || (nx == d->x && ny == d->y)) return;
  HDC dc = GetDC(window);
  const int w = d->w, h = d->h;
  if (std::abs(nx - d->x) <= w && std::abs(ny - d->y) <= h) {
    // One union rectangle, composed off screen and shown in one step.
    const int ux = std::min(nx, d->x), uy = std::min(ny, d->y);
    const int uw = std::max(nx, d->x) + w - ux, uh = std::max(ny, d->y) + h - uy;
    BitBlt(d->dc, 0, 0, uw, uh, dc, ux, uy, SRCCOPY);
    BitBlt(d->dc, d->x - ux, d->y - uy, w, h, d->dc, 2 * w, 0, SRCCOPY);
    BitBlt(d->dc, 2 * w, 0, w, h, d->dc, nx - ux, ny - uy, SRCCOPY);
    DrawPieceCell(d->dc, nx - ux, ny - uy, *d->strip, d->code);
    BitBlt(dc, ux, uy, uw, uh, d->dc, 0, 0, SRCCOPY);
  } else {
    BitBlt(dc, d->x, d->y, w, h, d->dc, 2 * w, 0, SRCCOPY);
    BitBlt(d->dc, 2 * w, 0, w, h, dc, nx, ny, SRCCOPY);
    BitBlt(d->dc, 0, 0, w, h, d->dc, 2 * w, 0, SRCCOPY);
    DrawPieceCell(d->dc, 0, 0, *d->strip, d->code);
    BitBlt(dc, nx, ny, w, h, d->dc, 0, 0, SRCCOPY);
  }
  d->x = nx;
  d->y = ny;
  ReleaseDC(window, dc);
}

// ---- the board record and its slide thread -------------------------------

enum HelperState : int { kStop = 0, kIdle = 1, kSliding = 2, kDragging = 3 };

class PerformanceClock final : public SlideClock {
 public:
  int64_t Now() override {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
  }
  int64_t Frequency() override {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }
  void Pause() override { Sleep(0); }
};

struct SearchBoard {
  uint8_t shown[64];
  uint8_t wanted[64];
  bool flipped = false;
  bool editable = false;
  PieceStrip strip;
  HWND window = nullptr;
  // Drag helper.
  HANDLE done = nullptr;
  HANDLE work = nullptr;
  HANDLE thread = nullptr;
  std::atomic<int> state{kIdle};
  std::atomic<int> stop{0};
  HWND drawOn = nullptr;  // the slide's window (the board, or its parent)
  BoardPoint start, end;
  DragImage image;
  int source = -1;
  uint8_t dragCode = 0;
  POINT grab{};
  HCURSOR savedCursor = nullptr;
};

void AnswerSentMessages() {
  MSG m;
  PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

void WaitAnsweringSentMessages(HANDLE object) {
  while (MsgWaitForMultipleObjects(1, &object, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0)
    AnswerSentMessages();
}

SearchBoard* BoardOf(HWND w) { return reinterpret_cast<SearchBoard*>(GetWindowLongPtrA(w, GWLP_USERDATA)); }

DWORD WINAPI SlideThread(void* parameter) {
  auto* b = static_cast<SearchBoard*>(parameter);
  PerformanceClock clock;
  for (;;) {
    WaitForSingleObject(b->work, INFINITE);
    if (b->state.load() == kStop) break;
    if (b->state.load() != kSliding) continue;
    SlidePath path = MakeSlidePath(b->start, b->end, g_animationSpeed);
    // A board being destroyed is drawn on no more: its window is going.
    const bool stopped = RunSlide(&path, g_animationSpeed, &clock, b->stop, [b](BoardPoint p) {
      if (b->state.load() != kStop) MoveDragImage(b->drawOn, &b->image, p.x, p.y);
    });
    FreeDragImage(&b->image);
    if (b->state.load() == kStop) break;
    b->state.store(kIdle);
    SetEvent(b->done);
    // Not a sent message: the window's thread may be waiting for this one.
    if (!stopped) SendNotifyMessageA(b->window, SBM_SLIDEDONE, 0, 0);
  }
  return 0;
}

int SquareSize(const SearchBoard* b) { return b->strip.size; }

void DrawSquare(HWND window, SearchBoard* b, HDC dc, int sq) {
  const BoardPoint p = SquareOrigin(sq, SquareSize(b), b->flipped);
  DrawSquareAt(dc, p.x, p.y, b->strip, sq, b->shown[sq]);
  (void)window;
}

void PaintBoard(HWND window, SearchBoard* b, HDC dc) {
  const int s = SquareSize(b);
  if (!b->strip.dc || !SquareDrawable(s)) return;
  for (int sq = 0; sq < 64; ++sq) DrawSquare(window, b, dc, sq);
  const int g = b->strip.gutter;
  if (g <= 0) return;
  // The gutter in the wood column's picture: right edge, bottom edge, corner.
  for (int i = 0; i < 8; ++i) {
    BitBlt(dc, 8 * s, i * s, g, s, b->strip.dc, kWoodColumn * s, 0, SRCCOPY);
    BitBlt(dc, i * s, 8 * s, s, g, b->strip.dc, kWoodColumn * s, 0, SRCCOPY);
  }
  BitBlt(dc, 8 * s, 8 * s, g, g, b->strip.dc, kWoodColumn * s, 0, SRCCOPY);
}

void UpdateSquares(HWND window, SearchBoard* b) {
  if (!b->strip.dc) return;
  HDC dc = GetDC(window);
  for (int sq = 0; sq < 64; ++sq)
    if (b->shown[sq] != b->wanted[sq]) {
      b->shown[sq] = b->wanted[sq];
      DrawSquare(window, b, dc, sq);
    }
  ReleaseDC(window, dc);
}

void MarkAllForRedraw(SearchBoard* b) {
  // A displayed code no wanted one can equal: every square redraws.
  std::memset(b->shown, 0xFF, sizeof b->shown);
}

// ---- frames ---------------------------------------------------------------

struct Bevel {
  int topLeft, bottomRight;  // program palette indices
};

COLORREF BevelColour(int index, int line, bool topLeft) {
  if (g_palette) return PALETTEINDEX(WORD(index));
  static const int kSystem[3][2] = {{COLOR_3DSHADOW, COLOR_3DHILIGHT},
                                    {COLOR_3DDKSHADOW, COLOR_3DLIGHT},
                                    {COLOR_3DFACE, COLOR_3DFACE}};
  return GetSysColor(kSystem[std::min(line, 2)][topLeft ? 0 : 1]);
}

void PaintBevel(HWND window, const Bevel* lines, int count) {
  // The parent chooses the static colouring first, as for its other statics.
  HDC dc = GetWindowDC(window);
  if (HWND parent = GetParent(window)) SendMessageA(parent, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(window));
  HPALETTE oldPalette = nullptr;
  if (g_palette) {
    oldPalette = SelectPalette(dc, g_palette, TRUE);
    RealizePalette(dc);
  }
  RECT r;
  GetWindowRect(window, &r);
  OffsetRect(&r, -r.left, -r.top);
  for (int i = 0; i < count; ++i) {
    HPEN light = CreatePen(PS_SOLID, 1, BevelColour(lines[i].topLeft, i, true));
    HPEN dark = CreatePen(PS_SOLID, 1, BevelColour(lines[i].bottomRight, i, false));
    HGDIOBJ old = SelectObject(dc, light);
    MoveToEx(dc, r.left, r.bottom - 1, nullptr);
    LineTo(dc, r.left, r.top);
    LineTo(dc, r.right - 1, r.top);
    SelectObject(dc, dark);
    LineTo(dc, r.right - 1, r.bottom - 1);
    LineTo(dc, r.left, r.bottom - 1);
    SelectObject(dc, old);
    DeleteObject(light);
    DeleteObject(dark);
    InflateRect(&r, -1, -1);
  }
  if (oldPalette) SelectPalette(dc, oldPalette, TRUE);
  ReleaseDC(window, dc);
}

// ---- the board window -----------------------------------------------------

void CreateBoard(HWND window) {
  auto* b = new SearchBoard();
  std::memset(b->shown, 0, sizeof b->shown);
  std::memset(b->wanted, 0, sizeof b->wanted);
  b->window = window;
  SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(b));
  // The resource library's piece set when the program has one loaded.
  if (HMODULE library = GetModuleHandleA("rw256.dll")) LoadStrip(library, "PIECESET25", &b->strip);
  b->done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  b->work = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  b->thread = CreateThread(nullptr, 0, SlideThread, b, 0, nullptr);
}

void DestroyBoard(HWND window) {
  SearchBoard* b = BoardOf(window);
  if (!b) return;
  if (b->thread) {
    b->stop.store(1);
    b->state.store(kStop);
    SetEvent(b->work);
    // The thread stops at its next step; what it draws with must outlive it.
    // Messages other threads send here meanwhile are answered, as drawing
    // into this window from the thread may need them.
    WaitAnsweringSentMessages(b->thread);
    CloseHandle(b->thread);
  }
  if (b->done) CloseHandle(b->done);
  if (b->work) CloseHandle(b->work);
  FreeDragImage(&b->image);
  FreeStrip(&b->strip);
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  delete b;
}

LRESULT StartSlide(HWND window, SearchBoard* b, WPARAM first, LPARAM second) {
  if (b->editable || !b->strip.dc || b->state.load() != kIdle) return LRESULT(b->done);
  const int from = int(first & 0x3F), to = int((first >> 8) & 0x3F);
  const uint8_t code = uint8_t((first >> 16) & 0xFF);
  const int s = SquareSize(b);
  const BoardPoint target = SquareOrigin(to, s, b->flipped);
  if (from != to) {
    b->drawOn = window;
    b->start = SquareOrigin(from, s, b->flipped);
    b->end = target;
  } else {
    // From a point of this window to the square, drawn on the parent.
    HWND parent = GetParent(window);
    POINT p{short(LOWORD(second)), short(HIWORD(second))};
    POINT t{target.x, target.y};
    MapWindowPoints(window, parent, &p, 1);
    MapWindowPoints(window, parent, &t, 1);
    b->drawOn = parent;
    b->start = {p.x, p.y};
    b->end = {t.x, t.y};
  }
  if (from != to) {
    // The piece leaves its square at once; both squares are drawn again by
    // the next update.
    HDC dc = GetDC(window);
    const BoardPoint o = SquareOrigin(from, s, b->flipped);
    DrawSquareAt(dc, o.x, o.y, b->strip, from, 0);
    ReleaseDC(window, dc);
  }
  if (!CreateDragImage(b->drawOn, b->strip, code, b->start.x, b->start.y, from, &b->image)) return LRESULT(b->done);
  b->shown[from] = 0xFF;
  b->shown[to] = 0xFF;
  b->stop.store(0);
  ResetEvent(b->done);
  b->state.store(kSliding);
  SetEvent(b->work);
  return LRESULT(b->done);
}

void BeginMouseDrag(HWND window, SearchBoard* b, int source, uint8_t code, int imageX, int imageY, POINT pointer) {
  b->source = source;
  b->dragCode = code;
  b->grab = POINT{pointer.x - imageX, pointer.y - imageY};
  CreateDragImage(window, b->strip, code, imageX, imageY, source, &b->image);
  HCURSOR drag = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(114));
  b->savedCursor = SetCursor(drag ? drag : LoadCursorA(nullptr, IDC_HAND));
  SetCapture(window);
  b->state.store(kDragging);
}

void EndMouseDrag(HWND window, SearchBoard* b, bool drop) {
  if (b->state.load() != kDragging) return;
  b->state.store(kIdle);  // before the capture goes: its loss must not cancel twice
  const int s = SquareSize(b);
  int square = b->source;
  uint8_t code = b->dragCode;
  if (drop) {
    const int target = PointToSquare(b->image.x + s / 2, b->image.y + s / 2, s, b->flipped);
    uint8_t answer[2] = {code, uint8_t(target < 0 ? 0xFF : target)};
    const WPARAM w = WPARAM(code) << 16 | WPARAM(uint8_t(target)) << 8 | WPARAM(uint8_t(b->source));
    SendMessageA(GetParent(window), SBM_DROP, w, LPARAM(answer));
    if ((answer[0] & 0x3F) == 0) {
      code = b->dragCode;
    } else {
      code = uint8_t(answer[0] & 0x3F);
      square = answer[1] < 64 ? answer[1] : -1;
    }
  }
  if (square >= 0 && square < 64) {
    b->wanted[square] = code;
    const BoardPoint p = SquareOrigin(square, s, b->flipped);
    MoveDragImage(window, &b->image, p.x, p.y);
  } else {
    MoveDragImage(window, &b->image, -10 * s, -10 * s);  // off the board: placed nowhere
  }
  FreeDragImage(&b->image);
  SetCursor(b->savedCursor);
  if (GetCapture() == window) ReleaseCapture();
  if (square >= 0 && square < 64) b->shown[square] = 0xFF;
  UpdateSquares(window, b);
  InvalidateRect(window, nullptr, FALSE);
}

LRESULT CALLBACK BoardProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  SearchBoard* b = BoardOf(window);
  switch (message) {
    case WM_CREATE:
      CreateBoard(window);
      return 0;
    case WM_DESTROY:
      DestroyBoard(window);
      return 0;
    case WM_NCCALCSIZE:
      if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) {
        auto* r = reinterpret_cast<RECT*>(second);
        InflateRect(r, -kBoardFrame, -kBoardFrame);
        return 0;
      }
      break;
    case WM_NCPAINT:
      if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) {
        static const Bevel kFrame[3] = {{165, 187}, {20, 214}, {24, 24}};
        PaintBevel(window, kFrame, 3);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      if (b) PaintBoard(window, b, dc);
      EndPaint(window, &ps);
      return 0;
    }
    case SBM_SETPOSITION:
      if (b && second) std::memcpy(b->wanted, reinterpret_cast<const void*>(second), 64);
      return 0;
    case SBM_UPDATE:
      if (b) UpdateSquares(window, b);
      return 0;
    case SBM_SLIDE:
      return b ? StartSlide(window, b, first, second) : 0;
    case SBM_STOPSLIDE:
      if (!b) return 0;
      if (first) b->stop.store(1);
      return b->state.load() == kSliding ? 1 : 0;
    case SBM_FLIP:
      if (b) {
        b->flipped = first != 0;
        MarkAllForRedraw(b);
        UpdateSquares(window, b);
      }
      return 0;
    case SBM_SETPIECESET:
      if (b && first) {
        PieceStrip strip;
        if (LoadStrip(reinterpret_cast<HMODULE>(second), reinterpret_cast<const char*>(first), &strip)) {
          FreeStrip(&b->strip);
          b->strip = strip;
          RECT w, c;
          GetWindowRect(window, &w);
          GetClientRect(window, &c);
          const int side = 8 * strip.size + strip.gutter;
          SetWindowPos(window, nullptr, 0, 0, side + (w.right - w.left - c.right), side + (w.bottom - w.top - c.bottom),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
          MarkAllForRedraw(b);
          InvalidateRect(window, nullptr, FALSE);
        }
      }
      return 0;
    case SBM_GETPOSITION:
      if (b && second) std::memcpy(reinterpret_cast<void*>(second), b->wanted, 64);
      return 0;
    case SBM_SETEDITABLE:
      if (b) b->editable = first != 0;
      return 0;
    case SBM_STARTDRAG:
      if (b && b->editable && b->strip.dc && b->state.load() == kIdle && second) {
        const LONG* v = reinterpret_cast<const LONG*>(second);
        POINT pointer{v[2], v[3]};
        MapWindowPoints(GetParent(window), window, &pointer, 1);
        BeginMouseDrag(window, b, -1, uint8_t(first & 0xFF), v[0], v[1], pointer);
        const int s = SquareSize(b);
        MoveDragImage(window, &b->image, pointer.x - s / 2, pointer.y - s / 2);
        b->grab = POINT{s / 2, s / 2};
      }
      return 0;
    case SBM_SLIDEDONE:
      PostMessageA(GetParent(window), SBM_SLIDEDONE, first, second);
      return 0;
    case SBM_PIECEBITMAP: {
      if (!b || !b->strip.dc) return 0;
      const int s = SquareSize(b);
      HDC screen = GetDC(nullptr);
      HBITMAP bitmap = CreateCompatibleBitmap(screen, s, s);
      HDC dc = CreateCompatibleDC(screen);
      ReleaseDC(nullptr, screen);
      HGDIOBJ old = SelectObject(dc, bitmap);
      const int sq = int((first >> 16) & 0xFFFF);
      DrawSquareAt(dc, 0, 0, b->strip, sq < 64 ? sq : 1, uint8_t(first & 0xFF));
      SelectObject(dc, old);
      DeleteDC(dc);
      return LRESULT(bitmap);
    }
    case WM_LBUTTONDOWN:
      if (b && b->editable && b->strip.dc && b->state.load() == kIdle) {
        const POINT p{short(LOWORD(second)), short(HIWORD(second))};
        const int sq = PointToSquare(p.x, p.y, SquareSize(b), b->flipped);
        if (sq >= 0 && b->wanted[sq]) {
          const uint8_t code = b->wanted[sq];
          b->wanted[sq] = 0;
          b->shown[sq] = 0;
          HDC dc = GetDC(window);
          DrawSquare(window, b, dc, sq);
          ReleaseDC(window, dc);
          const BoardPoint o = SquareOrigin(sq, SquareSize(b), b->flipped);
          BeginMouseDrag(window, b, sq, code, o.x, o.y, p);
        }
      }
      return 0;
    case WM_MOUSEMOVE:
      if (b && b->state.load() == kDragging) {
        const POINT p{short(LOWORD(second)), short(HIWORD(second))};
        MoveDragImage(window, &b->image, p.x - b->grab.x, p.y - b->grab.y);
      }
      return 0;
    case WM_LBUTTONUP:
      if (b) EndMouseDrag(window, b, true);
      return 0;
    case WM_CAPTURECHANGED:
      // Cancelled: the piece goes back where it came from.
      if (b && b->state.load() == kDragging) EndMouseDrag(window, b, false);
      return 0;
    case WM_SETCURSOR:
      if (b && b->state.load() == kDragging) return TRUE;
      break;
  }
  return DefWindowProcA(window, message, first, second);
}

// ---- the piece box ---------------------------------------------------------

int PieceBoxEdge(HWND window) {
  const LONG ex = GetWindowLongA(window, GWL_EXSTYLE);
  if (!(ex & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE))) return 0;
  return (ex & WS_EX_CLIENTEDGE) && !(ex & WS_EX_STATICEDGE) ? 1 : 2;
}

LRESULT CALLBACK PieceBoxProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_NCCALCSIZE:
      if (int edge = PieceBoxEdge(window)) {
        InflateRect(reinterpret_cast<RECT*>(second), -edge, -edge);
        return 0;
      }
      break;
    case WM_NCPAINT: {
      const LONG ex = GetWindowLongA(window, GWL_EXSTYLE);
      if (ex & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) {
        const bool client = ex & WS_EX_CLIENTEDGE, stat = ex & WS_EX_STATICEDGE;
        static const Bevel kClient[1] = {{165, 187}};
        static const Bevel kStatic[2] = {{165, 187}, {20, 214}};
        static const Bevel kBoth[2] = {{20, 214}, {165, 187}};
        if (client && stat)
          PaintBevel(window, kBoth, 2);
        else if (stat)
          PaintBevel(window, kStatic, 2);
        else
          PaintBevel(window, kClient, 1);
        return 0;
      }
      break;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      if (HBITMAP bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(window, 0))) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(dc, 0, 0, int(GetWindowLongPtrA(window, sizeof(LONG_PTR))),
               int(GetWindowLongPtrA(window, 2 * sizeof(LONG_PTR))), memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
      } else {
        FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_3DFACE));
      }
      EndPaint(window, &ps);
      return 0;
    }
    case SPM_SETBITMAP: {
      if (HBITMAP old = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(window, 0))) DeleteObject(old);
      HBITMAP bitmap = reinterpret_cast<HBITMAP>(first);
      SetWindowLongPtrA(window, 0, LONG_PTR(bitmap));
      BITMAP info{};
      if (bitmap) GetObject(bitmap, sizeof info, &info);
      SetWindowLongPtrA(window, sizeof(LONG_PTR), info.bmWidth);
      SetWindowLongPtrA(window, 2 * sizeof(LONG_PTR), info.bmHeight);
      const int edge = PieceBoxEdge(window);
      SetWindowPos(window, nullptr, 0, 0, info.bmWidth + 2 * edge, info.bmHeight + 2 * edge,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    }
    case WM_LBUTTONDOWN:
      SendMessageA(GetParent(window), SPM_PRESSED, WPARAM(window), second);
      return 0;
    case WM_DESTROY:
      if (HBITMAP old = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(window, 0))) DeleteObject(old);
      SetWindowLongPtrA(window, 0, 0);
      return 0;
  }
  return DefWindowProcA(window, message, first, second);
}

}  // namespace

bool RegisterSearchBoardClasses(HINSTANCE instance) {
  WNDCLASSA c{};
  c.hInstance = instance;
  c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  c.style = CS_DBLCLKS;
  c.lpfnWndProc = BoardProc;
  c.lpszClassName = kSearchBoardClass;
  WNDCLASSA existing;
  if (!GetClassInfoA(instance, kSearchBoardClass, &existing) && !RegisterClassA(&c)) return false;
  c.lpfnWndProc = PieceBoxProc;
  c.lpszClassName = kPieceBoxClass;
  c.cbWndExtra = 3 * sizeof(LONG_PTR);
  if (!GetClassInfoA(instance, kPieceBoxClass, &existing) && !RegisterClassA(&c)) return false;
  return true;
}

void SetSearchBoardAnimationSpeed(int speed) { g_animationSpeed = speed; }

void SetSearchBoardPalette(HPALETTE palette) { g_palette = palette; }

bool WaitForSearchBoardSlide(HWND board, HANDLE done) {
  bool stopped = false;
  for (;;) {
    const DWORD r = MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_KEY | QS_MOUSEBUTTON | QS_SENDMESSAGE);
    if (r == WAIT_OBJECT_0 && !SendMessageA(board, SBM_STOPSLIDE, 0, 0)) break;
    AnswerSentMessages();
    MSG m;
    const bool key = PeekMessageA(&m, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE);
    const bool press = PeekMessageA(&m, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE);
    if ((key || press) && SendMessageA(board, SBM_STOPSLIDE, 0, 0)) {
      SendMessageA(board, SBM_STOPSLIDE, 1, 0);
      stopped = true;
    }
    if (!SendMessageA(board, SBM_STOPSLIDE, 0, 0)) break;
  }
  return stopped;
}
