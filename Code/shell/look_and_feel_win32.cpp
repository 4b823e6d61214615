// The program palette, the program font, Skinres and the hand-over of the
// window and control defaults to the toolkit (see look_and_feel.h).
#include "look_and_feel.h"

#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "frame_links.h"

namespace {

// The palette handle is read by the splash thread without a lock once it
// is non-zero.
std::atomic<HPALETTE> g_palette{nullptr};
HINSTANCE g_skin = nullptr;
std::string g_addedFont;  // the font file as added, removed again at the end

constexpr int kStaticLow = 10;    // entries 0..9 are the system's
constexpr int kStaticHigh = 246;  // and so are 246..255

// The system's twenty static colours. A palette display gives them from
// the system palette; a true-colour display keeps no system palette, and
// then the stock palette, which holds exactly those twenty, stands in.
bool SystemStaticColours(PALETTEENTRY out[256]) {
  HDC screen = GetDC(nullptr);
  const UINT got = screen ? GetSystemPaletteEntries(screen, 0, 256, out) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  if (got == 256) return true;
  PALETTEENTRY stock[20];
  if (GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0, 20, stock) != 20) return false;
  for (int i = 0; i < 10; ++i) {
    out[i] = stock[i];
    out[kStaticHigh + i] = stock[10 + i];
  }
  return true;
}

// The colour table of the "PAL" bitmap resource, as the resource holds it.
const RGBQUAD* PalColours(HINSTANCE instance) {
  HRSRC found = FindResourceA(instance, "PAL", MAKEINTRESOURCEA(2));
  if (!found) return nullptr;
  const auto* info = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(instance, found)));
  if (!info || info->biBitCount != 8 || SizeofResource(instance, found) < info->biSize + 256 * sizeof(RGBQUAD))
    return nullptr;
  return reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(info) + info->biSize);
}

std::string FontPath() { return std::string(GetFrameLinks().programFolder()) + "\\" + kProgramFontFile; }

struct FontRow {
  int slot, points, weight;
};
const FontRow kFonts[] = {{kDialogFontSlot, 10, 800},
                          {kBoldFontSlot, 11, 800},
                          {kStatusFontSlot, 9, 500},
                          {kLargeFontSlot, 16, 600},
                          {kTitleFontSlot, 20, 600}};

// The toolkit needs a defaults record before any framed window exists;
// without Skinres it gets one with the palette and no pictures.
void InstallWindowDefaults(HINSTANCE skin, HPALETTE palette) {
  CwDefaults* d = cwInit();
  if (!d) return;
  FillWindowDefaults(d, skin, palette);
  cwSetDefaults(skin, d);
}

void InstallControlDefaults(HINSTANCE skin, HPALETTE palette) {
  CcDefaults* d = ccInit(GetFrameLinks().programInstance());
  if (!d) return;
  FillControlDefaults(d, skin, palette);
  ccSetControlData(GetFrameLinks().programInstance(), d);
}

}  // namespace

HPALETTE CreateAppPalette() {
  if (HPALETTE existing = g_palette.load()) return existing;
  std::vector<char> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 256;
  if (!SystemStaticColours(lp->palPalEntry)) return nullptr;
  const RGBQUAD* pal = PalColours(GetFrameLinks().programInstance());
  for (int i = kStaticLow; i < kStaticHigh; ++i) {
    PALETTEENTRY& e = lp->palPalEntry[i];
    e.peRed = pal ? pal[i].rgbRed : 0;
    e.peGreen = pal ? pal[i].rgbGreen : 0;
    e.peBlue = pal ? pal[i].rgbBlue : 0;
    e.peFlags = PC_NOCOLLAPSE;
  }
  for (int i = 0; i < kStaticLow; ++i) lp->palPalEntry[i].peFlags = lp->palPalEntry[kStaticHigh + i].peFlags = 0;
  HPALETTE made = CreatePalette(lp);
  g_palette.store(made);
  return made;
}

HPALETTE GetAppPalette() { return g_palette.load(); }

void DeleteAppPalette() {
  if (HPALETTE p = g_palette.exchange(nullptr)) DeleteObject(p);
}

int RegisterProgramFonts() {
  cguiFontInit();
  const std::string path = FontPath();
  if (AddFontResourceA(path.c_str()) == 0) return 0;  // the toolkit's fall-back fonts stay
  g_addedFont = path;
  for (const FontRow& f : kFonts) cguiRegisterFont(f.slot, nullptr, kProgramFontFace, f.points, f.weight, 0);
  return 1;
}

HINSTANCE InitLookAndFeelFrom(const char* library) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterProgramFonts();
  HPALETTE palette = GetAppPalette();
  g_skin = LoadLibraryA(library);
  InstallWindowDefaults(g_skin, palette);
  if (!g_skin) return nullptr;
  InstallControlDefaults(g_skin, palette);
  GetFrameLinks().setPrintPalette(palette);
  return g_skin;
}

HINSTANCE InitLookAndFeel() { return InitLookAndFeelFrom(kSkinLibrary); }

HINSTANCE GetSkinModule() { return g_skin; }

void FreeLookAndFeel(HINSTANCE) {
  cwFree();
  if (g_skin) FreeLibrary(g_skin);
  g_skin = nullptr;
  cguiFontDestroy();
  if (!g_addedFont.empty()) RemoveFontResourceA(g_addedFont.c_str());
  g_addedFont.clear();
}

int ReviseAppPalette(void* boardView, const PALETTEENTRY* colours, int first, int count) {
  HPALETTE palette = GetAppPalette();
  if (!boardView || !palette || !colours || first < 0 || count < 0 || first + count > 256) return 0;
  SetPaletteEntries(palette, UINT(first), UINT(count), colours);
  PALETTEENTRY entries[256];
  if (GetPaletteEntries(palette, 0, 256, entries) != 256) return 0;
  RGBQUAD table[256];
  for (int i = 0; i < 256; ++i) table[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  GetFrameLinks().setBoardCanvasColours(boardView, table);
  return 1;
}

int PaintControlBorder(HWND window, const RECT* rect, const CcDefaults* defaults) {
  if (!window || !rect || !defaults) return 0;
  HDC dc = GetWindowDC(window);
  if (!dc) return 0;
  HPALETTE old = nullptr;
  if (HPALETTE palette = GetAppPalette()) {
    old = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
  }
  const RECT& r = *rect;
  auto line = [dc](int colour, POINT a, POINT b) {
    HPEN pen = CreatePen(PS_SOLID, 1, PALETTEINDEX(colour));
    HGDIOBJ was = SelectObject(dc, pen);
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
    SelectObject(dc, was);
    DeleteObject(pen);
  };
  // Light along the top and down the left, dark along the bottom and up the
  // right; each line stops short of its end point, so the corners meet.
  line(defaults->lightEdge, POINT{r.left, r.bottom - 1}, POINT{r.left, r.top});
  line(defaults->lightEdge, POINT{r.left, r.top}, POINT{r.right - 1, r.top});
  line(defaults->darkEdge, POINT{r.right - 1, r.top}, POINT{r.right - 1, r.bottom - 1});
  line(defaults->darkEdge, POINT{r.right - 1, r.bottom - 1}, POINT{r.left, r.bottom - 1});
  if (old) SelectPalette(dc, old, FALSE);
  ReleaseDC(window, dc);
  return 1;
}
