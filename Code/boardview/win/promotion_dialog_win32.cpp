// The Promotion dialog and the piece picture drawer.
#include "promotion_dialog_win32.h"

#include <cstdlib>
#include <cstring>

#include "bmpbutton.h"
#include "facet.h"
#include "facet_frame.h"
#include "piece_cels.h"

namespace {

// One dialog at a time: the answer and what it draws from.
int g_result = kPromotionNoChoice;
const PromotionPictures* g_pictures = nullptr;

constexpr int kButtons[4] = {PROMOTE_KNIGHT, PROMOTE_BISHOP, PROMOTE_ROOK, PROMOTE_QUEEN};
constexpr int kButtonTypes[4] = {4, 3, 2, 1};  // knight, bishop, rook, queen
// Sheet kinds: 0 king .. 5 pawn.
int KindOfType(int type) { return type; }

constexpr int kFaceIndex = 10;        // the face round the picture
constexpr int kBackgroundIndex = 60;  // behind the piece
constexpr int kImageMargin = 10;      // 5 pixels round the picture
constexpr int kDialogMargin = 20;

uint16_t To555(const DibRgbQuad& q) {
  return static_cast<uint16_t>((q.red >> 3) << 10 | (q.green >> 3) << 5 | (q.blue >> 3));
}

// Puts one pixel index into an 8-bit bottom-up bitmap's bits.
void PutIndex(uint8_t* bits, int width, int height, int x, int y, uint8_t index) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  int stride = (width + 3) & ~3;
  bits[(height - 1 - y) * stride + x] = index;
}

// One button image: the face, the piece at (5, 5) or, pressed, (6, 6) on
// its background, and a one-pixel frame whose light and dark edges change
// places when pressed.
PackedDib* BuildButtonImage(const PromotionPictures& p, int colour, int kind, bool pressed, int light,
                            int dark) {
  int width = p.set->celWidth + kImageMargin, height = p.set->celHeight + kImageMargin;
  PackedDib* work = dibCreateWithColors(width, height, 8);
  if (!work) return nullptr;
  // The colour table: the system's colours round the program palette's.
  DibRgbQuad* table = static_cast<DibRgbQuad*>(dibGetColorArea(work));
  HDC screen = GetDC(nullptr);
  PALETTEENTRY system[256]{};
  UINT got = GetSystemPaletteEntries(screen, 0, 256, system);
  for (int i = 0; i < 256; ++i) {
    const PALETTEENTRY& e = system[i];
    table[i] = got ? DibRgbQuad{e.peBlue, e.peGreen, e.peRed, 0} : DibRgbQuad{0, 0, 0, 0};
  }
  if (p.palettePicture) palColorsFromDIB(p.palettePicture, table, 10, 245);
  void* sectionBits = nullptr;
  HBITMAP section =
      CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(work), DIB_RGB_COLORS, &sectionBits, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (!section || !memory || !sectionBits) {
    if (section) DeleteObject(section);
    if (memory) DeleteDC(memory);
    dibDelete(work);
    return nullptr;
  }
  HGDIOBJ oldBitmap = SelectObject(memory, section);
  HPALETTE oldPalette = p.palette ? SelectPalette(memory, p.palette, FALSE) : nullptr;
  int stride = (width + 3) & ~3;
  std::memset(sectionBits, kFaceIndex, static_cast<size_t>(stride) * height);
  GdiFlush();
  int at = pressed ? 6 : 5;
  const DibRgbQuad& bg = table[kBackgroundIndex];
  DrawPieceImage(memory, p.sheet, *p.set, colour, kind, at, at, RGB(bg.red, bg.green, bg.blue));
  GdiFlush();
  auto* bits = static_cast<uint8_t*>(sectionBits);
  uint8_t topLeft = static_cast<uint8_t>(pressed ? dark : light);
  uint8_t bottomRight = static_cast<uint8_t>(pressed ? light : dark);
  for (int x = 0; x < width; ++x) {
    PutIndex(bits, width, height, x, 0, topLeft);
    PutIndex(bits, width, height, x, height - 1, bottomRight);
  }
  for (int y = 0; y < height; ++y) {
    PutIndex(bits, width, height, 0, y, topLeft);
    PutIndex(bits, width, height, width - 1, y, bottomRight);
  }
  if (oldPalette) SelectPalette(memory, oldPalette, TRUE);
  SelectObject(memory, oldBitmap);
  std::memcpy(dibGetBits(work), sectionBits, static_cast<size_t>(stride) * height);
  // Shown like every 8-bit control picture: indices into the program palette.
  dibColorsToIndices(work);
  DeleteDC(memory);
  DeleteObject(section);
  return work;
}

// Grows the buttons to the picture size; a button that would then overlap
// the one before it moves right. The dialog ends 20 pixels beyond "Q".
void SizeButtons(HWND dialog, int width, int height) {
  int nextLeft = 0;
  for (int id : kButtons) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) continue;
    RECT r;
    GetWindowRect(button, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    int left = r.left < nextLeft ? nextLeft : r.left;
    SetWindowPos(button, nullptr, left, r.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    nextLeft = left + width + 6;
  }
  HWND queen = GetDlgItem(dialog, PROMOTE_QUEEN);
  if (!queen) return;
  RECT q, window;
  GetWindowRect(queen, &q);
  GetWindowRect(dialog, &window);
  SetWindowPos(dialog, nullptr, 0, 0, q.right + kDialogMargin - window.left,
               q.bottom + kDialogMargin - window.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void InitPromotion(HWND dialog) {
  const PromotionPictures* p = g_pictures;
  if (!p || !p->haveGame || !p->set || !p->sheet) return;  // the buttons keep their letters
  SizeButtons(dialog, p->set->celWidth + kImageMargin, p->set->celHeight + kImageMargin);
  CcDefaults* defaults = ccGetDefaultData();
  int light = defaults ? defaults->lightEdge : 255;
  int dark = defaults ? defaults->darkEdge : 248;
  int colour = p->sideToMove == 16 ? 0 : 1;
  for (int i = 0; i < 4; ++i) {
    HWND button = GetDlgItem(dialog, kButtons[i]);
    for (int state = 0; state < 2; ++state) {
      PackedDib* image = BuildButtonImage(*p, colour, KindOfType(kButtonTypes[i]), state == 1, light, dark);
      if (image && button) {
        PackedDib* previous = reinterpret_cast<PackedDib*>(
            SendMessageA(button, BBM_CCM_SETDIB, state, reinterpret_cast<LPARAM>(image)));
        (void)previous;  // a text face the button built and keeps freeing itself
      } else if (image) {
        dibDelete(image);
      }
    }
  }
}

void FreeButtonImages(HWND dialog) {
  for (int id : kButtons) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) continue;
    SendMessageA(button, BBM_CCM_FREEDIB, 0, 0);
    SendMessageA(button, BBM_CCM_FREEDIB, 1, 0);
  }
}

void ShowHelpMenu(HWND dialog, LPARAM lParam) {
  CmMenu* menu = cmCreatePopupMenu();
  if (!menu) return;
  cmAppendMenu(menu, MF_STRING, kPromotionHelpCommand, "Help");
  POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  RECT anchor{at.x, at.y, at.x, at.y};
  HWND owner = g_pictures && g_pictures->mainWindow ? g_pictures->mainWindow : dialog;
  cmTrackPopupMenu(menu, &anchor, owner, 0);
  cmDestroyMenu(menu);
}

}  // namespace

void DrawPieceImage(HDC dc, const PackedDib* sheet, const PieceSetRecord& set, int colour, int kind, int x,
                    int y, COLORREF background) {
  if (!sheet || (sheet->biBitCount != 8 && sheet->biBitCount != 16)) return;
  int32_t sx, sy;
  bool multi = set.celFlag != 0;
  if (!PieceCelRect(colour, kind, multi ? 0 : -1, &sx, &sy, set.celWidth, set.celHeight)) return;
  PackedDib* cel = dibCreateWithColors(set.celWidth, set.celHeight, sheet->biBitCount);
  if (!cel) return;
  uint32_t key = 0;
  if (sheet->biBitCount == 8) {
    dibCopyPalette(cel, sheet);
    // The background as the nearest entry of the sheet's own colours.
    const DibRgbQuad* table = static_cast<const DibRgbQuad*>(dibGetColorArea(sheet));
    int best = 1, bestDistance = 1 << 30;
    for (int i = 1; i < 256; ++i) {
      int dr = table[i].red - GetRValue(background), dg = table[i].green - GetGValue(background),
          db = table[i].blue - GetBValue(background);
      int distance = dr * dr + dg * dg + db * db;
      if (distance < bestDistance) bestDistance = distance, best = i;
    }
    dibFillWithColor(cel, static_cast<uint32_t>(best));
  } else {
    key = 0xFC1F;
    DibRgbQuad q{GetBValue(background), GetGValue(background), GetRValue(background), 0};
    dibFillWithColor(cel, To555(q));
  }
  dibTransCopyDIB(cel, sheet, 0, 0, sx, sy, set.celWidth, set.celHeight, key);
  StretchDIBits(dc, x, y, set.celWidth, set.celHeight, 0, 0, set.celWidth, set.celHeight, dibGetBits(cel),
                reinterpret_cast<const BITMAPINFO*>(cel), DIB_RGB_COLORS, SRCCOPY);
  dibDelete(cel);
}

INT_PTR CALLBACK PromotionDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitPromotion(dialog);
      return TRUE;
    case WM_COMMAND: {
      int type = 0;
      for (int i = 0; i < 4; ++i)
        if (LOWORD(wParam) == kButtons[i]) type = kButtonTypes[i];
      // Escape, the close box and anything else: the question stands.
      if (!type) return TRUE;
      g_result = type;
      FreeButtonImages(dialog);
      EndDialog(dialog, 1);
      return TRUE;
    }
    case WM_CONTEXTMENU:
      ShowHelpMenu(dialog, lParam);
      return TRUE;
    default:
      return FALSE;
  }
}

int RunPromotionDialog(HINSTANCE instance, HWND owner, const PromotionPictures& pictures,
                       PromotionDialogRunner runner) {
  g_result = kPromotionNoChoice;
  g_pictures = &pictures;
  if (runner)
    runner(instance, "Promotion", owner, PromotionDlgProc, 0);
  else
    DialogBoxParamA(instance, "Promotion", owner, PromotionDlgProc, 0);
  g_pictures = nullptr;
  return g_result;
}
