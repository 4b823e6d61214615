// Facet gallery (a test program, not shipped): one window that shows what
// the toolkit has, drawn through Facet.dll's exports: named fonts, palette
// fills, bars and tiles from bitmap pieces, a frame set around a child
// window, and the control classes registered at load with a control placed
// by its caption block; beside it a framed window with its menu bar, an
// open drop-down with a submenu, a status bar and rendered text.
//
//   facet_gallery.exe              runs until the window is closed
//   facet_gallery.exe --controls   the same, with the page of small controls
//                                  (statics, splitter, edits, buttons, ...)
//                                  over the first page
//   facet_gallery.exe --shot NAME  paints, saves the screenshots NAME (first
//                                  page), NAME_controls, NAME_controls_hot
//                                  and NAME_controls_combo and exits (exit
//                                  code 0 when all were saved)
#include <windows.h>
// after windows.h
#include <commctrl.h>  // lists

#include <cstdio>  // lists
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "ctt_glyph.h"  // spinlist
#include "colortext_layout.h"  // colour text: its messages and entry record
#include "dibkit.h"
#include "facet.h"
#include "facet_classes.h"
#include "guitest.h"
// framed windows and menus
#include "gallery_frame.h"

namespace {

const int kWidth = 640;
const int kHeight = 480;

// The gallery's palette: a ramp of the program's own range 10..245 and a few
// named entries.
enum {
  kInk = 10,
  kPaper = 11,
  kAccent = 12,
  kBarFirst = 13,
  kBarMiddle = 14,
  kBarLast = 15,
  kFrameBase = 16
};

HPALETTE MakePalette() {
  HPALETTE palette = guitest::MakePalette([](int i) {
    // The system's ends of the palette: black first, white last.
    if (i == 0 || i == 255) return PALETTEENTRY{BYTE(i), BYTE(i), BYTE(i), 0};
    BYTE v = BYTE(i);
    return PALETTEENTRY{v, BYTE(255 - v), BYTE(v / 2 + 64), BYTE(i >= 10 && i < 246 ? PC_NOCOLLAPSE : 0)};
  });
  auto set = [&](int i, BYTE r, BYTE g, BYTE b) {
    PALETTEENTRY entry{r, g, b, PC_NOCOLLAPSE};
    SetPaletteEntries(palette, UINT(i), 1, &entry);
  };
  set(kInk, 20, 20, 30);
  set(kPaper, 236, 230, 210);
  set(kAccent, 150, 40, 40);
  set(kBarFirst, 40, 90, 160);
  set(kBarMiddle, 90, 150, 220);
  set(kBarLast, 20, 50, 110);
  const BYTE frame[8][3] = {{120, 80, 30}, {200, 160, 80}, {120, 80, 30}, {160, 120, 50},
                            {90, 60, 20},  {140, 100, 40}, {90, 60, 20},  {180, 140, 60}};
  for (int i = 0; i < 8; ++i) set(kFrameBase + i, frame[i][0], frame[i][1], frame[i][2]);
  // framed windows and menus: the test skin's colours
  for (int i = 0; i < int(sizeof framelook::kRgb / sizeof framelook::kRgb[0]); ++i)
    set(200 + i, framelook::kRgb[i][0], framelook::kRgb[i][1], framelook::kRgb[i][2]);
  return palette;
}

PackedDib* Piece(int w, int h, int index) {
  PackedDib* dib = dibCreateWithColors(w, h, 8);
  if (dib) dibFillWithColor(dib, index);
  return dib;
}

struct Gallery {
  HPALETTE palette = nullptr;
  PackedDib* barFirst = nullptr;
  PackedDib* barMiddle = nullptr;
  PackedDib* barLast = nullptr;
  PackedDib* tile = nullptr;
  FrameSet frame{};
  HWND framed = nullptr;
  HWND placed = nullptr;
  HWND animHovered = nullptr;  // animated button
};
Gallery g;

void Text(HDC dc, int slot, int x, int y, const char* text) {
  HGDIOBJ old = SelectObject(dc, cguiGetFont(slot));
  TextOutA(dc, x, y, text, int(std::strlen(text)));
  SelectObject(dc, old);
}

// A panel of paper with labels: the lists strip, the controls page and its
// panels. Its background is painted on WM_ERASEBKGND too, so that the
// controls that show their parent's background find it there.
struct Label {
  int x, y;
  const char* text;
};
std::map<HWND, std::vector<Label>> g_labels;

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      HPALETTE old = ccSelectPalette(dc, nullptr, g.palette);
      RECT r;
      GetClientRect(window, &r);
      ccFillRectPalette(dc, &r, kPaper);
      SelectPalette(dc, old, FALSE);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      HPALETTE old = ccSelectPalette(dc, nullptr, g.palette);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, PALETTEINDEX(kInk));
      for (const Label& l : g_labels[window]) Text(dc, 2, l.x, l.y, l.text);
      SelectPalette(dc, old, FALSE);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_DESTROY:
      g_labels.erase(window);
      return 0;
    case CWM_GETBACKGROUND: {  // a transparent button's background copy
      struct Request {
        RECT rect;
        PackedDib* copy;
      };
      dibFillWithColor(reinterpret_cast<Request*>(lParam)->copy, kPaper);
      return 1;
    }
    // --- Spin edit: the read-only one shows its value as a mate depth ---
    case WM_COMMAND:
      if (HIWORD(wParam) == 0x5B /* the value as text */ && LOWORD(wParam) == 225) {
        char* text = reinterpret_cast<char*>(lParam);
        std::string value = text;
        std::snprintf(text, 64, "Mate in %s", value.c_str());
      }
      return 0;
    // --- Edit: the colour questions go back to the edits, as the
    // library's dialogs hand them back to library controls; the colour
    // text keeps its own background colour ---
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      char name[16] = "";
      GetClassNameA(HWND(lParam), name, sizeof name);
      if (std::strcmp(name, "CGUIEdit") == 0) return SendMessageA(HWND(lParam), message, wParam, lParam);
      if (message == WM_CTLCOLOREDIT) return 0;
      return DefWindowProcA(window, message, wParam, lParam);
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// A panel at (x, y, width, height): a child of `parent`, or a pop-up when
// there is none (visible or not as `style` says).
HWND CreatePanel(HINSTANCE instance, HWND parent, DWORD style, RECT r, std::vector<Label> labels) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "RWFacetGalleryPanel";
    registered = RegisterClassA(&wc) != 0;
  }
  style |= parent ? WS_CHILD | WS_CLIPCHILDREN : WS_POPUP;
  HWND panel = CreateWindowExA(0, "RWFacetGalleryPanel", "", style, r.left, r.top, r.right, r.bottom, parent,
                               nullptr, instance, nullptr);
  g_labels[panel] = std::move(labels);
  return panel;
}

// The gallery is a list of sections, each a title over an area of the
// window with the function that paints it; toolkit parts that come later add
// a section here (and child windows in main when they are controls).
struct Section {
  const char* title;
  RECT area;  // below the title
  void (*paint)(HDC dc, const RECT& area);
};

void PaintFonts(HDC dc, const RECT& a) {
  Text(dc, 1, a.left, a.top, "slot 0 Arial 16 bold (the title), slot 1 Courier New 10, slot 2 Arial 9");
}

void PaintPaletteFills(HDC dc, const RECT& a) {
  for (int i = 0; i < 230; ++i) {
    int x = a.left + (i % 46) * 12;
    int y = a.top + (i / 46) * 12;
    RECT r{x, y, x + 11, y + 11};
    ccFillRectPalette(dc, &r, 16 + i);
  }
}

void PaintBars(HDC dc, const RECT& a) {
  RECT h{a.left, a.top, a.left + 284, a.top + 20};
  ccDrawThreePiece(dc, &h, g.barFirst, g.barMiddle, g.barLast, 0);
  RECT v{a.left + 304, a.top, a.left + 324, a.bottom};
  ccDrawThreePiece(dc, &v, g.barFirst, g.barMiddle, g.barLast, 1);
  RECT tiled{a.left, a.top + 30, a.left + 284, a.bottom};
  TileBitmap(dc, g.tile, &tiled);
}

void PaintNothing(HDC, const RECT&) {}  // child windows paint themselves

void PaintClasses(HDC dc, const RECT& a) {
  int y = a.top;
  int x = a.left;
  for (const char* name : kFacetControlClasses) {
    WNDCLASSA wc{};
    bool ok = GetClassInfoA(GetModuleHandleA("Facet.dll"), name, &wc);
    std::string line = std::string(ok ? "+ " : "- ") + name;
    Text(dc, 1, x, y, line.c_str());
    y += 16;
    if (y + 16 > a.bottom) {
      y = a.top;
      x += 200;
    }
  }
}

const Section kSections[] = {
    {"Named fonts", {16, 56, 624, 70}, PaintFonts},
    {"Palette fills (indices 16..245)", {16, 96, 624, 156}, PaintPaletteFills},
    {"Bars from three pieces (horizontal, vertical) and a tiled area", {16, 176, 340, 300}, PaintBars},
    {"Frame set around a child window", {360, 176, 600, 300}, PaintNothing},
    {"Control classes registered at load", {16, 334, 460, 470}, PaintClasses},
    {"Caption {p:470,330 s:150,40}", {470, 330, 620, 370}, PaintNothing},
};

void Paint(HDC dc) {
  HPALETTE old = ccSelectPalette(dc, nullptr, g.palette);
  RECT all{0, 0, kWidth, kHeight};
  ccFillRectPalette(dc, &all, kPaper);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, PALETTEINDEX(kInk));
  Text(dc, 0, 16, 10, "Facet gallery");
  for (const Section& section : kSections) {
    Text(dc, 2, section.area.left, section.area.top - 18, section.title);
    section.paint(dc, section.area);
  }
  SelectPalette(dc, old, FALSE);
}

LRESULT CALLBACK FramedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCALCSIZE: {
      // The frame pieces are 6 pixels thick: the client area sits inside them.
      auto* r = reinterpret_cast<RECT*>(lParam);
      InflateRect(r, -6, -6);
      return 0;
    }
    case WM_NCPAINT: {
      RECT r;
      GetWindowRect(window, &r);
      OffsetRect(&r, -r.left, -r.top);
      ccDrawFrameBorder(window, &r, &g.frame, g.palette);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      HPALETTE old = ccSelectPalette(dc, nullptr, g.palette);
      RECT c;
      GetClientRect(window, &c);
      ccFillRectPalette(dc, &c, kPaper);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, PALETTEINDEX(kAccent));
      HGDIOBJ oldFont = SelectObject(dc, cguiGetFont(2));
      TextOutA(dc, 8, 8, "client area", 11);
      SelectObject(dc, oldFont);
      SelectPalette(dc, old, FALSE);
      EndPaint(window, &ps);
      return 0;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK GalleryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void Setup(HINSTANCE instance) {
  g.palette = MakePalette();
  ccSetControlPalette(nullptr, g.palette);
  g.barFirst = Piece(8, 20, kBarFirst);
  g.barMiddle = Piece(10, 20, kBarMiddle);
  g.barLast = Piece(8, 20, kBarLast);
  // A two-colour tile built as a bar of two pieces.
  g.tile = dibCreateWithColors(16, 16, 8);
  PackedDib* left = Piece(8, 16, kAccent);
  PackedDib* right = Piece(8, 16, kPaper);
  ccBuildThreePiece(g.tile, left, nullptr, right, 0);
  dibDelete(left);
  dibDelete(right);
  const int sizes[8][2] = {{6, 6}, {10, 6}, {6, 6}, {6, 10}, {6, 6}, {10, 6}, {6, 6}, {6, 10}};
  for (int i = 0; i < FP_COUNT; ++i) g.frame.pieces[i] = Piece(sizes[i][0], sizes[i][1], kFrameBase + i);

  cguiFontInit();
  cguiRegisterFont(0, nullptr, "Arial", 16, 700, 0);
  cguiRegisterFont(1, nullptr, "Courier New", 10, 400, 0);
  cguiRegisterFont(2, nullptr, "Arial", 9, 400, 0);

  WNDCLASSA wc{};
  wc.lpfnWndProc = GalleryProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = "RWFacetGallery";
  RegisterClassA(&wc);
  wc.lpfnWndProc = FramedProc;
  wc.lpszClassName = "RWFacetGalleryFramed";
  RegisterClassA(&wc);
}

// --- Lists: scroll bars, list box, tree view and list view (a strip of its
// own below the gallery, each control with a few hundred items) ---

// Palette entries of the list controls (the frame uses 16..23).
enum {
  kListPaper = 24,
  kListSelection,
  kListSelectedText,
  kListLines,
  kBarFace,
  kBarDark,
  kBarTrack,
  kHeaderFace
};

void SetListColours() {
  const PALETTEENTRY entries[] = {{250, 248, 240, PC_NOCOLLAPSE}, {60, 100, 170, PC_NOCOLLAPSE},
                                  {255, 255, 255, PC_NOCOLLAPSE}, {150, 140, 120, PC_NOCOLLAPSE},
                                  {200, 190, 165, PC_NOCOLLAPSE}, {110, 95, 70, PC_NOCOLLAPSE},
                                  {228, 222, 205, PC_NOCOLLAPSE}, {215, 205, 180, PC_NOCOLLAPSE}};
  SetPaletteEntries(g.palette, kListPaper, 8, entries);
}

// A scroll-bar piece: a face with a darker outline and, for arrows, a
// triangle pointing `dir` (0 up, 1 down, 2 left, 3 right; -1 none).
PackedDib* BarPiece(int w, int h, int dir, bool pressed, bool outlineEnds = true) {
  PackedDib* dib = Piece(w, h, pressed ? kBarDark : kBarFace);
  auto set = [&](int x, int y, int index) {
    if (auto* p = static_cast<unsigned char*>(dibGetPixelAddress(dib, x, y)))
      *p = static_cast<unsigned char>(index);
  };
  for (int x = 0; x < w; ++x)
    for (int y = 0; y < h; ++y) {
      bool edge = x == 0 || x == w - 1 || (outlineEnds && (y == 0 || y == h - 1));
      if (edge) set(x, y, kBarDark);
    }
  const int ink = pressed ? int(kListSelectedText) : int(kInk);
  for (int k = 0; k < 4 && dir >= 0; ++k)
    for (int j = -k; j <= k; ++j) {
      int a = (dir == 0 || dir == 2) ? 6 + k : 9 - k;  // along the arrow
      int b = (dir < 2 ? w : h) / 2 + j;
      if (dir < 2)
        set(b, a, ink);
      else
        set(a, b, ink);
    }
  return dib;
}

void SetScrollLooks() {
  CcDefaults* d = ccGetDefaultData();
  if (!d) return;
  CcScrollBarSection& sb = d->scrollBar;
  for (int st = 0; st < 3; ++st) {
    bool pressed = st == 1;
    sb.verticalArrows[st] = BarPiece(16, 16, 0, pressed);
    sb.verticalArrows[3 + st] = BarPiece(16, 16, 1, pressed);
    sb.horizontalArrows[st] = BarPiece(16, 16, 2, pressed);
    sb.horizontalArrows[3 + st] = BarPiece(16, 16, 3, pressed);
    sb.verticalThumb[st] = BarPiece(16, 3, -1, pressed);
    sb.verticalThumb[3 + st] = BarPiece(16, 8, -1, pressed, false);
    sb.verticalThumb[6 + st] = BarPiece(16, 3, -1, pressed);
    sb.trackBitmaps[st] = nullptr;
    sb.trackBitmaps[3 + st] = nullptr;
  }
  // The horizontal thumb has one state: pieces laid along x.
  for (int i = 0; i < 3; ++i) {
    PackedDib* piece = Piece(i == 1 ? 8 : 3, 16, kBarFace);
    for (int x = 0; x < (i == 1 ? 8 : 3); ++x)
      for (int y = 0; y < 16; ++y)
        if (y == 0 || y == 15 || (i != 1 && (x == 0 || x == 2)))
          if (auto* p = static_cast<unsigned char*>(dibGetPixelAddress(piece, x, y))) *p = kBarDark;
    sb.horizontalThumb[i] = piece;
  }
  sb.verticalTrack = sb.horizontalTrack = kBarTrack;
  sb.verticalWidth = 16;
  sb.horizontalHeight = 16;
  sb.notLoaded = 0;
  d->listBackground = kListPaper;
  d->listSelection = kListSelection;
  d->listSelectedText = kListSelectedText;
  d->listText = kInk;
  d->listValue = kAccent;
  d->treeColours[0] = kListLines;
  d->trackBackground = kBarTrack;  // the list view's header: empty part, face, edges
  d->trackChannel = kHeaderFace;
  d->trackThumb = kBarDark;
  d->lightEdge = kListSelectedText;
  d->darkEdge = kInk;
  d->palette = g.palette;
}

const char* const kPlayers[] = {"Adler", "Brandt", "Castell", "Dunmore", "Eckhart", "Falk", "Grieve", "Holm"};
const char* const kResults[] = {"1-0", "0-1", "1/2-1/2"};

void CreateListControls(HINSTANCE instance) {
  SetListColours();
  SetScrollLooks();
  HWND strip = CreatePanel(instance, nullptr, WS_VISIBLE, RECT{0, 480, 1024, 288},
                           {{10, 4, "List box (300 items)"},
                            {220, 4, "Tree view (20 x 15 items)"},
                            {460, 4, "List view (300 games)"},
                            {950, 4, "Scroll bars"}});
  const DWORD child = WS_CHILD | WS_VISIBLE | WS_BORDER;

  HWND list = CreateWindowExA(0, "CGUIListWnd", "", child | WS_VSCROLL | LBS_NOTIFY, 10, 24, 200, 250, strip,
                              HMENU(101), instance, nullptr);
  SendMessageA(list, WM_SETFONT, WPARAM(cguiGetFont(2)), 0);
  char text[96];
  for (int i = 0; i < 300; ++i) {
    std::snprintf(text, sizeof text, "%s - %s, round %d", kPlayers[i % 8], kPlayers[(i / 8 + i + 1) % 8],
                  i / 4 + 1);
    SendMessageA(list, LB_ADDSTRING, 0, LPARAM(text));
  }
  SendMessageA(list, LB_SETCURSEL, 3, 0);

  HWND tree =
      CreateWindowExA(0, "CGUITreeViewWnd", "",
                      child | WS_VSCROLL | WS_HSCROLL | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, 220,
                      24, 230, 250, strip, HMENU(102), instance, nullptr);
  SendMessageA(tree, WM_SETFONT, WPARAM(cguiGetFont(2)), 0);
  SendMessageA(tree, TVM_SETINDENT, 16, 0);
  const char* const openings[] = {
      "Sicilian Defence", "French Defence", "Caro-Kann Defence", "Ruy Lopez",    "Italian Game",
      "Queen's Gambit",   "King's Indian",  "English Opening",   "Nimzo-Indian", "Slav Defence",
      "Pirc Defence",     "Scandinavian",   "Dutch Defence",     "Grunfeld",     "Benoni",
      "Alekhine Defence", "Scotch Game",    "Vienna Game",       "Catalan",      "Reti Opening"};
  HTREEITEM selected = nullptr;
  for (int o = 0; o < 20; ++o) {
    TVINSERTSTRUCTA in{};
    in.hParent = TVI_ROOT;
    in.hInsertAfter = TVI_LAST;
    in.item.mask = TVIF_TEXT | TVIF_STATE;
    in.item.pszText = const_cast<char*>(openings[o]);
    in.item.state = in.item.stateMask = o == 0 ? TVIS_BOLD : 0;
    auto parent = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, LPARAM(&in)));
    for (int v = 0; v < 14; ++v) {
      std::snprintf(text, sizeof text, "Variation %c%02d, line %d", 'A' + o % 5, o * 3 + v, v + 1);
      TVINSERTSTRUCTA child{};
      child.hParent = parent;
      child.hInsertAfter = TVI_LAST;
      child.item.mask = TVIF_TEXT;
      child.item.pszText = text;
      auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, LPARAM(&child)));
      if (o == 0 && v == 2) selected = item;
    }
    if (o < 2) SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, LPARAM(parent));
  }
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(selected));
  SendMessageA(tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));

  HWND view = CreateWindowExA(0, "CGUIListViewWnd", "", child | LVS_REPORT | LVS_SHOWSELALWAYS, 460, 24, 480,
                              232, strip, HMENU(103), instance, nullptr);
  SendMessageA(view, WM_SETFONT, WPARAM(cguiGetFont(2)), 0);
  const char* const titles[] = {"#", "White", "Black", "Result", "Event"};
  const int widths[] = {50, 110, 110, 70, 160};
  for (int c = 0; c < 5; ++c) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.fmt = c == 0 || c == 3 ? LVCFMT_RIGHT : LVCFMT_LEFT;
    col.pszText = const_cast<char*>(titles[c]);
    col.cx = widths[c];
    SendMessageA(view, LVM_INSERTCOLUMNA, c, LPARAM(&col));
  }
  for (int i = 0; i < 300; ++i) {
    LVITEMA it{};
    it.mask = LVIF_TEXT | LVIF_PARAM;
    it.iItem = i;
    std::snprintf(text, sizeof text, "%d", i + 1);
    it.pszText = text;
    it.lParam = i;
    SendMessageA(view, LVM_INSERTITEMA, 0, LPARAM(&it));
    const std::string cells[] = {kPlayers[i % 8], kPlayers[(i * 3 + 1) % 8], kResults[i % 3],
                                 "Club championship " + std::to_string(1990 + i % 30)};
    for (int c = 0; c < 4; ++c) {
      LVITEMA sub{};
      sub.iSubItem = c + 1;
      sub.pszText = const_cast<char*>(cells[c].c_str());
      SendMessageA(view, LVM_SETITEMTEXTA, i, LPARAM(&sub));
    }
  }
  LVITEMA state{};
  state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(view, LVM_SETITEMSTATE, 2, LPARAM(&state));

  HWND vertical = CreateWindowExA(0, "CGUIScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 960, 24, 16, 250,
                                  strip, HMENU(104), instance, nullptr);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 299, 40, 120, 0};
  SendMessageA(vertical, SBM_SETSCROLLINFO, TRUE, LPARAM(&si));
  HWND horizontal = CreateWindowExA(0, "CGUIScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 460, 262, 480,
                                    16, strip, HMENU(105), instance, nullptr);
  SendMessageA(horizontal, SBM_SETSCROLLINFO, TRUE, LPARAM(&si));
  UpdateWindow(strip);
}

}  // namespace

// --- Spin list: chess pieces as pictures of ink on paper, between the two
// arrow buttons, with Bishop current ---

// A picture of the text on paper in a global block, as the list takes
// pictures of kind 1 (it frees them).
PackedDib* SpinListPicture(const char* text, int width, int height) {
  CttBuildStruct* builder = cttCreateBuildStruct();
  cttSetBuilderTextColor(builder, kInk);
  builder->rect = RECT{0, 0, width, height};
  PackedDib* rendered = cttBuilderStringRect(builder, text);
  cttFreeBuildStruct(builder);
  PackedDib* fitted = rendered ? cttResizeDib(rendered, width, height) : nullptr;
  cttFreeDib(rendered);
  PackedDib* picture = Piece(width, height, kPaper);
  for (int y = 0; fitted && y < height; ++y)
    for (int x = 0; x < width; ++x) {
      auto* ink = static_cast<unsigned char*>(dibGetPixelAddress(fitted, x, y));
      if (ink && *ink) *static_cast<unsigned char*>(dibGetPixelAddress(picture, x, y)) = *ink;
    }
  cttFreeDib(fitted);
  size_t bytes = sizeof(PackedDib) + dibColorAreaSize(8) + size_t(dibRowStride(8, width)) * size_t(height);
  void* block = GlobalAlloc(GMEM_FIXED, bytes);
  if (block) std::memcpy(block, picture, bytes);
  dibDelete(picture);
  return static_cast<PackedDib*>(block);
}

void CreateSpinList(HINSTANCE instance, HWND parent) {
  HWND list = CreateWindowExA(0, "CC20SpinList", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 8, 270, 100, 20,
                              parent, HMENU(220), instance, nullptr);
  const int width = 160, height = 24;
  SendMessageA(list, 0x8645 /* SPL_SETITEMSIZE */, width, height);
  for (const char* piece : {"Pawn", "Knight", "Bishop", "Rook", "Queen", "King"}) {
    struct {
      char text[64];
      PackedDib* picture;
      uint32_t kind;
    } entry{};
    std::strncpy(entry.text, piece, sizeof entry.text - 1);
    entry.picture = SpinListPicture(piece, width, height);
    entry.kind = 1;
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(&entry));
  }
  SendMessageA(list, LB_SETCURSEL, 2, 0);
  // The arrows' pictures (a program's resources would give them), normal and
  // pressed, pointing away from the item; kept for the gallery's life.
  for (HWND arrow = FindWindowExA(list, nullptr, "CGUIBMPButton", nullptr); arrow;
       arrow = FindWindowExA(list, arrow, "CGUIBMPButton", nullptr)) {
    RECT r;
    GetWindowRect(arrow, &r);
    MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&r), 2);
    const int dir = r.left < width / 2 ? 2 : 3;  // left of the item: pointing left
    for (int state = 0; state < 2; ++state)
      SendMessageA(arrow, 0x8600 /* CCM_SETDIB */, state,
                   LPARAM(BarPiece(r.right - r.left, r.bottom - r.top, dir, state == 1)));
  }
}

// --- Animated button: a panel of its own below the spin list,
// with buttons playing frame sets packed at build time (FACET_ANIM_PACK_DIR) ---

// Returns the button that the screenshot shows hovered.
HWND CreateAnimatedButtons(HINSTANCE instance, HWND strip) {
  std::strcpy(ccGetDefaultData()->programFolder, FACET_ANIM_PACK_DIR);
  HWND panel = CreatePanel(instance, strip, WS_VISIBLE, RECT{0, 310, 384, 124},
                           {{8, 2, "Animated buttons (hover: frame loop, press: click picture)"},
                            {8, 72, "idle, frame 0"},
                            {120, 72, "hovered, frames 1.."},
                            {240, 72, "another data set"}});
  const DWORD child = WS_CHILD | WS_VISIBLE;
  CreateWindowExA(0, "AnimButton", "Idle {p:30,20 s:48,48 d:anim n:tst%02d.bmp #:40 r:20}", child, 0, 0, 1, 1,
                  panel, HMENU(301), instance, nullptr);
  HWND hovered = CreateWindowExA(0, "AnimButton", "Hovered {p:150,20 s:48,48 d:anim n:tst%02d.bmp #:40 r:20}",
                                 child, 0, 0, 1, 1, panel, HMENU(302), instance, nullptr);
  CreateWindowExA(0, "AnimButton", "Other {p:270,20 s:48,48 d:anim2 n:two%02d.bmp #:4 r:4}", child, 0, 0, 1,
                  1, panel, HMENU(303), instance, nullptr);
  UpdateWindow(panel);
  return hovered;
}

// --- Edit: a framed edit, a read-only one and one with the library's
// scroll bar, below the splitter ---
void CreateEdits(HINSTANCE instance, HWND strip) {
  CcDefaults* d = ccGetDefaultData();
  const int sizes[8][2] = {{2, 2}, {4, 2}, {2, 2}, {2, 4}, {2, 2}, {4, 2}, {2, 2}, {2, 4}};
  for (int i = 0; i < FP_COUNT; ++i) d->editFrame.pieces[i] = Piece(sizes[i][0], sizes[i][1], kFrameBase + i);
  d->editFrameWidth = 2;
  d->editBackground = kListPaper;
  const DWORD child = WS_CHILD | WS_VISIBLE | WS_BORDER;
  HFONT font = HFONT(GetStockObject(DEFAULT_GUI_FONT));
  HWND edits[3] = {
      CreateWindowExA(0, "CGUIEdit", "Kasparov", child | ES_AUTOHSCROLL, 8, 140, 176, 24, strip, HMENU(206),
                      instance, nullptr),
      CreateWindowExA(0, "CGUIEdit", "Read-only: 1. e4 e5", child | ES_AUTOHSCROLL | ES_READONLY, 192, 140, 176,
                      24, strip, HMENU(207), instance, nullptr),
      CreateWindowExA(0, "CGUIEdit",
                      "1. e4 e5\r\n2. Nf3 Nc6\r\n3. Bb5 a6\r\n4. Ba4 Nf6\r\n5. O-O Be7\r\n6. Re1 b5\r\n"
                      "7. Bb3 d6\r\n8. c3 O-O\r\n9. h3 Nb8",
                      child | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 8, 170, 360, 72, strip, HMENU(208),
                      instance, nullptr)};
  for (HWND e : edits) SendMessageA(e, WM_SETFONT, WPARAM(font), TRUE);
  SendMessageA(edits[2], EM_SETSEL, 9, 18);
}

// --- Track bar and tab control: second column of the controls page, each
// with a label of its own ---
void CreateTrackbarAndTabs(HINSTANCE instance, HWND strip) {
  CcDefaults* d = ccGetDefaultData();
  const DWORD child = WS_CHILD | WS_VISIBLE;
  CreateWindowExA(0, "CGUIStatic", "Track bar (0..100)", child, 392, 8, 170, 16, strip, HMENU(211), instance,
                  nullptr);
  HWND track = CreateWindowExA(0, "CGUITrackbar", "", child | WS_TABSTOP | TBS_NOTICKS, 392, 26, 170, 30,
                               strip, HMENU(212), instance, nullptr);
  SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
  SendMessageA(track, TBM_SETPOS, TRUE, 35);

  static PackedDib* body = Piece(8, 8, kBarFace);  // kept for the gallery's life
  d->tabBody = body;
  d->font = cguiGetFont(2);
  d->tabTextSelected = kInk;
  d->tabTextNormal = kBarDark;
  d->tabTextDisabled = kListLines;
  CreateWindowExA(0, "CGUIStatic", "Tab control (three tabs)", child, 576, 8, 180, 16, strip, HMENU(213),
                  instance, nullptr);
  HWND tabs =
      CreateWindowExA(0, "CGUITabWnd", "", child, 576, 26, 180, 96, strip, HMENU(214), instance, nullptr);
  const char* const names[] = {"Board", "Clock", "Moves"};
  for (int i = 0; i < 3; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(names[i]);
    SendMessageA(tabs, TCM_INSERTITEMA, i, LPARAM(&item));
  }
  SendMessageA(tabs, TCM_SETCURSEL, 1, 0);
}

// The arrow button's face: a framed square with a triangle pointing down.
PackedDib* ComboArrowFace(int w, int h, int face, int arrow) {
  PackedDib* dib = Piece(w, h, kInk);
  for (int y = 1; y < h - 1; ++y)
    for (int x = 1; x < w - 1; ++x) *static_cast<uint8_t*>(dibGetPixelAddress(dib, x, y)) = uint8_t(face);
  const int top = h / 2 - 2;
  for (int row = 0; row < 4; ++row)
    for (int x = w / 2 - 4 + row; x <= w / 2 + 3 - row; ++x)
      *static_cast<uint8_t*>(dibGetPixelAddress(dib, x, top + row)) = uint8_t(arrow);
  return dib;
}

// Opens a combo's list with a click on its button.
void OpenComboBox(HWND combo) {
  HWND button = FindWindowExA(combo, nullptr, "CGUIBMPButton", nullptr);
  SendMessageA(button, BM_CLICK, 0, 0);
}

// --- Combo box: a drop-down list and an editable combo, second column
// below the bitmap buttons; the screenshot shows the drop-down list opened ---
HWND CreateComboBoxes(HINSTANCE instance, HWND strip) {
  CcDefaults* d = ccGetDefaultData();
  d->comboButtonWidth = 18;
  d->comboEditHeight = 22;
  d->comboButtonId = 321;
  const DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  CreateWindowExA(0, "CGUIStatic", "Combo box: drop-down list (open), editable", child, 392, 290, 360, 16,
                  strip, HMENU(320), instance, nullptr);
  HFONT font = HFONT(GetStockObject(DEFAULT_GUI_FONT));
  HWND pick = CreateWindowExA(0, "CGUIComboBox", "", child | CBS_DROPDOWNLIST, 392, 310, 170, 110, strip,
                              HMENU(322), instance, nullptr);
  HWND typed =
      CreateWindowExA(0, "CGUIComboBox", "", child, 576, 310, 180, 110, strip, HMENU(323), instance, nullptr);
  const char* const openings[] = {"Sicilian Defence", "French Defence", "Caro-Kann Defence", "Ruy Lopez",
                                  "Italian Game",     "Queen's Gambit", "King's Indian"};
  const char* const levels[] = {"Beginner", "Club player", "Expert", "Master"};
  for (HWND combo : {pick, typed}) SendMessageA(combo, WM_SETFONT, WPARAM(font), FALSE);
  for (const char* text : openings) SendMessageA(pick, CB_ADDSTRING, 0, LPARAM(text));
  for (const char* text : levels) SendMessageA(typed, CB_ADDSTRING, 0, LPARAM(text));
  SendMessageA(pick, CB_SETCURSEL, 3, 0);
  SendMessageA(typed, CB_SETCURSEL, 1, 0);
  // The arrow faces (normal, pressed, hover) that a program's resources
  // would give; kept for the gallery's life.
  for (HWND combo : {pick, typed}) {
    HWND button = FindWindowExA(combo, nullptr, "CGUIBMPButton", nullptr);
    const int colours[3][2] = {{kBarFace, kInk}, {kBarDark, kPaper}, {kBarFace, kAccent}};
    const int index[3] = {0, 1, 4};
    for (int i = 0; i < 3; ++i)
      SendMessageA(
          button, 0x8600 /* CCM_SETDIB */, index[i],
          LPARAM(ComboArrowFace(d->comboButtonWidth, d->comboEditHeight, colours[i][0], colours[i][1])));
  }
  return pick;
}

// --- Spin edit: three fields with arrows (the board colour dialogs' range,
// the empty text's 0..100 and a read-only one whose parent words the value),
// the first stepped up twice ---
void CreateSpinEdits(HINSTANCE instance, HWND strip) {
  CcDefaults* d = ccGetDefaultData();
  // The arrow bitmap (16 x 12, for the size) is this program's resource;
  // the arrows' pictures are drawn here and handed to the buttons.
  HINSTANCE resources = d->resourceModule;
  d->resourceModule = instance;
  const int32_t ids[4] = {220, 221, 222, 420};  // field, up, down, arrow bitmap
  std::memcpy(d->spinEdit, ids, sizeof ids);
  const DWORD child = WS_CHILD | WS_VISIBLE | WS_BORDER;
  HWND spins[3] = {
      CreateWindowExA(0, "CGUISpinEdit", "0:255:1:5", child, 8, 464, 110, 26, strip, HMENU(223), instance,
                      nullptr),
      CreateWindowExA(0, "CGUISpinEdit", "", child, 128, 464, 110, 26, strip, HMENU(224), instance, nullptr),
      CreateWindowExA(0, "CGUISpinEdit", "1:45:3:1", child | 0x800, 248, 464, 120, 26, strip, HMENU(225),
                      instance, nullptr)};
  d->resourceModule = resources;
  for (HWND spin : spins) {
    if (!spin) continue;
    for (int arrow = 0; arrow < 2; ++arrow) {
      HWND button = GetDlgItem(spin, ids[1 + arrow]);
      for (int state = 0; state < 2; ++state)  // normal, pressed (kept for the gallery's life)
        SendMessageA(button, 0x8600 /* CCM_SETDIB */, state, LPARAM(BarPiece(16, 12, arrow, state == 1)));
    }
  }
  for (int i = 0; i < 2; ++i)
    SendMessageA(spins[0], WM_COMMAND, MAKEWPARAM(221, BN_CLICKED), LPARAM(GetDlgItem(spins[0], 221)));
}

// --- Colour text: a short game with coloured, wrapped moves and comments,
// one move current; below it a static whose text is rendered into a picture,
// in the third column of the controls page ---
void CreateColorTextControls(HINSTANCE instance, HWND strip) {
  CcDefaults* d = ccGetDefaultData();
  d->colorTextBackground = kListPaper;
  d->colorTextText = kInk;
  d->colorTextSelection = kListSelection;
  d->colorTextSelectedText = kListSelectedText;
  HWND text = CreateWindowExA(0, "CGUIColorText", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL, 776, 26,
                              236, 104, strip, HMENU(230), instance, nullptr);
  SendMessageA(text, WM_SETFONT, WPARAM(cguiGetFont(2)), 0);
  struct Run {
    const char* text;
    uint32_t flags;
    int colour;  // palette index, 0: the text colour
  };
  const uint32_t move = kCtSelectable | kCtBold | kCtOwnColour;
  const Run runs[] = {
      {"1.", 0, 0},
      {"e4", move, kBarFirst},
      {"e5", move, kBarLast},
      {"The open game: both sides fight for the centre at once.", kCtItalic | kCtOwnColour, kAccent},
      {"2.", 0, 0},
      {"Nf3", move, kBarFirst},
      {"Nc6", move, kBarLast},
      {"3.", 0, 0},
      {"Bb5", move, kBarFirst},
      {"a6", move, kBarLast},
      {"4.", 0, 0},
      {"Ba4", move, kBarFirst},
      {"Nf6", move, kBarLast},
      {"Black keeps the pin in mind and develops with tempo.", kCtItalic | kCtOwnColour, kAccent},
      {"5.", 0, 0},
      {"O-O", move, kBarFirst},
      {"Be7", move, kBarLast},
  };
  const ColorTextEntry* current = nullptr;
  for (const Run& r : runs) {
    ColorTextEntry e{r.colour ? uint32_t(PALETTEINDEX(r.colour)) : 0u, r.text, 0, 0, r.flags};
    auto* stored = reinterpret_cast<const ColorTextEntry*>(SendMessageA(text, CTM_ADDENTRY, 0, LPARAM(&e)));
    if (std::strcmp(r.text, "Bb5") == 0) current = stored;
  }
  SendMessageA(text, CTM_SETCURENTRY, 0, LPARAM(current));

  HWND rendered = CreateWindowExA(0, "CGUIStatic", "Rendered into a picture", WS_CHILD | WS_VISIBLE | 0x800,
                                  776, 158, 124, 60, strip, HMENU(231), instance, nullptr);
  SendMessageA(rendered, 0x8642 /* CCM_SETBUILDERFONT */, MAKEWPARAM(14, 700), LPARAM("Courier New"));
  SendMessageA(rendered, 0x8631 /* CCM_SETCHARDIB */, kListPaper, 0);
  SetWindowTextA(rendered, "Rendered into a picture");
}

HWND CreateOtherControls(HINSTANCE instance, HWND* combo) {
  // The controls page covers the whole screen; it is shown after the first
  // page's screenshot (or instead of the first page with --controls).
  HWND strip = CreatePanel(instance, nullptr, 0, RECT{0, 0, 1024, 768},
                           {{8, 6, "Static: left, centred, right, picture"},
                            {8, 88, "Splitter (drag it up or down)"},
                            {8, 122, "Edit: framed, read-only, with scroll bar"},
                            {8, 252, "Spin list (arrow keys or a letter)"},
                            {8, 446, "Spin edit: 0:255:1:5, empty text (0..100), read-only"},
                            {776, 6, "Colour text (click a move, arrows)"},
                            {776, 140, "Rendered static (key colour 0 behind)"}});
  const DWORD child = WS_CHILD | WS_VISIBLE;
  CcDefaults* d = ccGetDefaultData();
  d->editText = kInk;  // the static's text colour
  d->lightEdge = 255;  // the splitter's edges (system white)
  d->darkEdge = kInk;
  CreateWindowExA(0, "CGUIStatic", "Minutes", child, 8, 26, 110, 20, strip, HMENU(201), instance, nullptr);
  CreateWindowExA(0, "CGUIStatic", "Centred label", child | 1, 120, 26, 130, 20, strip, HMENU(202), instance,
                  nullptr);
  CreateWindowExA(0, "CGUIStatic", "Right", child | 2 | WS_BORDER, 256, 24, 110, 24, strip, HMENU(203),
                  instance, nullptr);
  HWND picture = CreateWindowExA(0, "CGUIStatic", "", child | 0x400, 8, 54, 48, 24, strip, HMENU(204),
                                 instance, nullptr);
  SendMessageA(picture, 0x8600 /* CCM_SETDIB */, 0,
               LPARAM(Piece(48, 24, kAccent)));  // kept for the gallery's life
  CreateWindowExA(0, "CGUISplitter", "", child, 8, 110, 360, 6, strip, HMENU(205), instance, nullptr);
  CreateEdits(instance, strip);  // edit
  CreateSpinList(instance, strip);  // spinlist
  CreateTrackbarAndTabs(instance, strip);  // track bar and tab control
  *combo = CreateComboBoxes(instance, strip);  // combo box
  CreateSpinEdits(instance, strip);        // spinedit
  CreateColorTextControls(instance, strip);  // colour text
  g.animHovered = CreateAnimatedButtons(instance, strip);  // animated button
  return strip;
}

// --- Bitmap buttons (button): faces built from the control defaults' face
// pieces, shared check and radio images, and a shaped button drawn over its
// parent's background, on a panel of their own in the second column of the controls page.
namespace galleryButtons {

PackedDib* Square(int size, int border, int inside, int mark) {
  PackedDib* dib = Piece(size, size, border);
  for (int y = 1; y < size - 1; ++y)
    for (int x = 1; x < size - 1; ++x) {
      bool marked = mark && x >= 3 && y >= 3 && x < size - 3 && y < size - 3;
      *static_cast<uint8_t*>(dibGetPixelAddress(dib, x, y)) = uint8_t(marked ? mark : inside);
    }
  return dib;
}

// A disc of the colour with a border, transparent (0) outside, or the
// paper colour outside when `outside` is given.
PackedDib* Disc(int size, int border, int fill, int outside) {
  PackedDib* dib = Piece(size, size, outside);
  int r = size / 2;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      int dx = x - r, dy = y - r, d2 = dx * dx + dy * dy;
      if (d2 >= r * r) continue;
      *static_cast<uint8_t*>(dibGetPixelAddress(dib, x, y)) =
          uint8_t(d2 >= (r - 2) * (r - 2) ? border : fill);
    }
  return dib;
}

void Create(HINSTANCE instance, HWND page) {
  CcDefaults* d = ccGetDefaultData();
  const int face[4][3] = {{kFrameBase, kFrameBase + 1, kFrameBase},
                          {kFrameBase + 4, kFrameBase + 5, kFrameBase + 4},
                          {kFrameBase + 3, kPaper, kFrameBase + 3},
                          {kAccent, kFrameBase + 1, kAccent}};
  const int text[4] = {kInk, kInk, kFrameBase + 3, kInk};
  for (int s = 0; s < 4; ++s) {
    d->pushLeft[s] = Piece(3, 24, face[s][0]);
    d->pushMiddle[s] = Piece(6, 24, face[s][1]);
    d->pushRight[s] = Piece(3, 24, face[s][2]);
    d->buttonTextColours[s] = uintptr_t(text[s]);
  }
  const int box[4][3] = {
      {kInk, kPaper, 0}, {kInk, kPaper, kAccent}, {kFrameBase + 3, kPaper, 0}, {kAccent, kPaper, 0}};
  for (int s = 0; s < 4; ++s) {
    d->checkImages[s] = Square(13, box[s][0], box[s][1], box[s][2]);
    d->radioImages[s] = Disc(13, box[s][0], box[s][2] ? box[s][2] : box[s][1], kPaper);
  }
  d->buttonFontSlot = 2;
  d->textColourMode = 1;

  HWND panel =
      CreatePanel(instance, page, WS_VISIBLE, RECT{384, 140, 384, 126},
                  {{8, 4, "Bitmap buttons: push (normal, held), check boxes, radio pair, shaped"}});
  const DWORD child = WS_CHILD | WS_VISIBLE;
  CreateWindowExA(0, "CGUIBMPButton", "&New game", child | BS_PUSHBUTTON, 8, 26, 100, 24, panel, HMENU(301),
                  instance, nullptr);
  HWND held = CreateWindowExA(0, "CGUIBMPButton", "Held", child | BS_PUSHBUTTON, 116, 26, 100, 24, panel,
                              HMENU(302), instance, nullptr);
  SendMessageA(held, BM_SETSTATE, 1, 0);  // the pressed face: text one pixel lower
  HWND ponder = CreateWindowExA(0, "CGUIBMPButton", "Ponder", child | BS_AUTOCHECKBOX, 8, 60, 100, 18, panel,
                                HMENU(303), instance, nullptr);
  SendMessageA(ponder, BM_SETCHECK, 1, 0);
  CreateWindowExA(0, "CGUIBMPButton", "Sound", child | BS_AUTOCHECKBOX, 8, 80, 100, 18, panel, HMENU(304),
                  instance, nullptr);
  HWND book = CreateWindowExA(0, "CGUIBMPButton", "Book (off)", child | BS_AUTOCHECKBOX | WS_DISABLED, 8, 100,
                              100, 18, panel, HMENU(305), instance, nullptr);
  (void)book;
  HWND white = CreateWindowExA(0, "CGUIBMPButton", "White", child | BS_AUTORADIOBUTTON | WS_GROUP, 116, 60,
                               100, 18, panel, HMENU(306), instance, nullptr);
  SendMessageA(white, BM_SETCHECK, 1, 0);
  CreateWindowExA(0, "CGUIBMPButton", "Black", child | BS_AUTORADIOBUTTON, 116, 80, 100, 18, panel,
                  HMENU(307), instance, nullptr);
  // Shaped: a disc over the panel's background; clicks outside it do nothing.
  HWND shaped = CreateWindowExA(WS_EX_TRANSPARENT | 0x200000, "CGUIBMPButton", "", child | BS_PUSHBUTTON, 240,
                                26, 56, 56, panel, HMENU(308), instance, nullptr);
  const int discs[3][2] = {{kBarLast, kBarFirst}, {kBarLast, kAccent}, {kBarLast, kBarMiddle}};
  const int index[3] = {0, 1, 4};  // normal, pressed, hover (also the shape)
  for (int i = 0; i < 3; ++i) {
    PackedDib* previous = reinterpret_cast<PackedDib*>(SendMessageA(
        shaped, 0x8600 /* CCM_SETDIB */, index[i], LPARAM(Disc(56, discs[i][0], discs[i][1], 0))));
    dibDelete(previous);  // a built text face handed back to us
  }
  UpdateWindow(panel);
}

}  // namespace galleryButtons

// --- Hot buttons (hot button): text faces like the bitmap buttons', lit
// with a face of their own while the mouse is over them; the third is
// placed and sized by the "p:"/"s:" keys of its caption.
namespace galleryHotButtons {

constexpr POINT kLit{550, 482};  // over the second button: the screenshot shows it lit

// The button's focused face (style 0x80000 builds one) becomes its hover face.
void LightWithFocusFace(HWND button) {
  LPARAM face = SendMessageA(button, 0x8600 /* CCM_SETDIB */, 3, 0);
  SendMessageA(button, 0x8600, 4, face);  // the button's for the gallery's life
}

void Create(HINSTANCE instance, HWND page) {
  // The lit face: white between the accent caps (the bitmap buttons' focused
  // face has the normal middle).
  CcDefaults* d = ccGetDefaultData();
  PackedDib* focusMiddle = d->pushMiddle[3];
  d->pushMiddle[3] = Piece(6, 24, 255);  // system white
  const DWORD child = WS_CHILD | WS_VISIBLE | 0x80000;
  CreateWindowExA(0, "CGUIStatic", "Hot buttons: lit under the mouse; the third placed by its caption",
                  WS_CHILD | WS_VISIBLE, 392, 446, 368, 16, page, HMENU(401), instance, nullptr);
  HWND analyse = CreateWindowExA(0, "CGUIHotButton", "Analyse", child, 392, 470, 100, 24, page, HMENU(402),
                                 instance, nullptr);
  HWND hint = CreateWindowExA(0, "CGUIHotButton", "Hint (lit)", child, 500, 470, 100, 24, page, HMENU(403),
                              instance, nullptr);
  HWND placed = CreateWindowExA(0, "CGUIHotButton", "Undo (placed) {p:608,470 s:120,24}", child, 0, 0, 10, 24,
                                page, HMENU(404), instance, nullptr);
  for (HWND b : {analyse, hint, placed}) LightWithFocusFace(b);
  d->pushMiddle[3] = focusMiddle;
}

// A real mouse move over the second button, before the page's screenshot.
// The first page's open menus hold the capture: they close when they lose it.
void LightOne() {
  if (GetCapture()) ReleaseCapture();
  guitest::Pump(50);
  guitest::MoveMouse(kLit);
  guitest::MoveMouse(POINT{kLit.x + 1, kLit.y});
}

}  // namespace galleryHotButtons

int main(int argc, char** argv) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  ccInit(instance);
  Setup(instance);
  HWND window = CreateWindowExA(0, "RWFacetGallery", "Facet gallery", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                                kHeight, nullptr, nullptr, instance, nullptr);
  g.framed = CreateWindowExA(0, "RWFacetGalleryFramed", "", WS_CHILD | WS_VISIBLE, 360, 176, 240, 124, window,
                             nullptr, instance, nullptr);
  // A library control placed by its caption block: "{p:..}" moves it, "s:" sizes it.
  g.placed =
      CreateWindowExA(0, "CGUIStatic", "Placed {p:470,330 s:150,40}", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0,
                      10, 10, window, nullptr, instance, nullptr);
  ccApplyCaptionPlacement(g.placed);
  CreateListControls(instance);  // lists
  HWND combo = nullptr;  // combo box
  HWND controls = CreateOtherControls(instance, &combo);
  galleryButtons::Create(instance, controls);  // button
  galleryHotButtons::Create(instance, controls);  // hot button
  UpdateWindow(window);
  // framed windows and menus
  HWND framed = galleryframe::Create(instance, window, g.palette, RECT{300, 250, 1000, 740});

  if (argc == 3 && std::strcmp(argv[1], "--shot") == 0) {
    guitest::Pump(200);
    if (framed) galleryframe::OpenMenus(framed);  // framed windows and menus
    bool saved = guitest::Screenshot(argv[2]);
    // The second page: the small controls, in three screenshots, since one
    // control at a time holds the toolkit's mouse capture: an animated
    // button playing under the mouse, a hot button lit, a combo box open.
    ShowWindow(controls, SW_SHOW);
    UpdateWindow(controls);
    guitest::Pump(300);
    if (g.animHovered) {  // animated button
      RECT r;
      GetWindowRect(g.animHovered, &r);
      guitest::MoveMouse(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
      guitest::Pump(400);
    }
    saved = guitest::Screenshot(std::string(argv[2]) + "_controls") && saved;
    galleryHotButtons::LightOne();  // hot button
    guitest::Pump(200);
    saved = guitest::Screenshot(std::string(argv[2]) + "_controls_hot") && saved;
    if (combo) OpenComboBox(combo);  // combo box
    guitest::Pump(200);
    saved = guitest::Screenshot(std::string(argv[2]) + "_controls_combo") && saved;
    DestroyWindow(controls);
    DestroyWindow(window);
    return saved ? 0 : 1;
  }
  if (argc == 2 && std::strcmp(argv[1], "--controls") == 0) ShowWindow(controls, SW_SHOW);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  cguiFontDestroy();
  return 0;
}
