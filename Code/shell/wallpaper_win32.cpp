// Room wallpapers over Windows (see wallpaper.h).
#include <cstdio>
#include <cstring>
#include <string>

#include "app_globals.h"
#include "app_messages.h"
#include "color_picker.h"
#include "dialog_runner.h"
#include "file_dialog.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "look_and_feel.h"
#include "main_frame.h"
#include "profile.h"
#include "room_window.h"
#include "settings_scan.h"
#include "user_settings.h"
#include "wallpaper.h"
#include "wallpaper_rules.h"

namespace {

enum : int {
  kUseGradient = 5283,
  kUseBitmap = 5284,
  kFileEdit = 5285,
  kPreview = 5282,
  kBrowse = 3,
  kColour2Button = 4,
  kColour1Button = 5,
  kTopRed = 5288,
  kBottomRed = 5289,
  kTopGreen = 5290,
  kBottomGreen = 5291,
  kTopBlue = 5292,
  kBottomBlue = 5293,
};
// The red, green and blue edits of the top (0) and bottom (1) colours.
constexpr int kColourEdits[2][3] = {{kTopRed, kTopGreen, kTopBlue}, {kBottomRed, kBottomGreen, kBottomBlue}};
// The file dialog's type for bitmap files.
constexpr int kBitmapFileType = 15;

struct WallpaperChoice {
  int32_t isBitmap;
  char file[260];
  uint32_t colours[2];
  bool filling;  // edits being set by the dialog itself
};

PackedDib* OnePixel() {
  PackedDib* dib = dibCreateWithColors(1, 1, 8);
  if (dib) dibFillWithColor(dib, 0);
  return dib;
}

// An 8-bit picture's colours become the program palette's nearest entries,
// and its table the identity index table the display calls use.
void MapToProgramPalette(PackedDib* dib) {
  if (!dib || dib->biBitCount != 8) return;
  HPALETTE palette = GetAppPalette();
  if (!palette) return;
  const auto* colours = static_cast<const DibRgbQuad*>(dibGetColorArea(dib));
  uint8_t map[256];
  for (int i = 0; i < 256; ++i) {
    map[i] = static_cast<uint8_t>(
        GetNearestPaletteIndex(palette, RGB(colours[i].red, colours[i].green, colours[i].blue)));
  }
  auto* bits = static_cast<uint8_t*>(dibGetBits(dib));
  const uint32_t size = WallpaperPixelBytes(dib);
  for (uint32_t i = 0; i < size; ++i) bits[i] = map[bits[i]];
  dibColorsToIndices(dib);
}

PackedDib* LoadSource(const RoomRecord* record) {
  PackedDib* dib = record->wallpaperIsBitmap ? dibReadFile(record->wallpaperFile) : nullptr;
  if (!dib) dib = OnePixel();
  MapToProgramPalette(dib);
  return dib;
}

void FillEdits(HWND dialog, const WallpaperChoice* c) {
  for (int k = 0; k < 2; ++k) {
    for (int ch = 0; ch < 3; ++ch)
      SetDlgItemInt(dialog, kColourEdits[k][ch], (c->colours[k] >> (8 * ch)) & 0xFF, FALSE);
  }
}

void ReadColourEdits(HWND dialog, WallpaperChoice* c, int which) {
  int v[3];
  for (int ch = 0; ch < 3; ++ch)
    v[ch] = static_cast<int>(GetDlgItemInt(dialog, kColourEdits[which][ch], nullptr, TRUE));
  c->colours[which] = ColourFromEdits(v[0], v[1], v[2]);
}

int ColourOfEdit(int id) {
  for (int k = 0; k < 2; ++k)
    for (int edit : kColourEdits[k])
      if (edit == id) return k;
  return -1;
}

INT_PTR CALLBACK WallpaperDialogProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  auto* c = reinterpret_cast<WallpaperChoice*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      c = reinterpret_cast<WallpaperChoice*>(second);
      SetWindowLongPtrA(dialog, DWLP_USER, second);
      c->filling = true;
      CheckRadioButton(dialog, kUseGradient, kUseBitmap, c->isBitmap ? kUseBitmap : kUseGradient);
      SetDlgItemTextA(dialog, kFileEdit, c->file);
      FillEdits(dialog, c);
      c->filling = false;
      if (HWND frame = GetMainFrame()) {
        RECT f, d;
        GetWindowRect(frame, &f);
        GetWindowRect(dialog, &d);
        SetWindowPos(dialog, nullptr, (f.left + f.right - (d.right - d.left)) / 2,
                     (f.top + f.bottom - (d.bottom - d.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      }
      return TRUE;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(second);
      if (!c || item->CtlID != kPreview) return FALSE;
      FillVerticalGradient(item->hDC, &item->rcItem, c->colours[0], c->colours[1]);
      FrameRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      return TRUE;
    }
    case RWM_DEFERRED_UPDATE:
      InvalidateRect(GetDlgItem(dialog, kPreview), nullptr, FALSE);
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(first);
      if (HIWORD(first) == EN_CHANGE && c && !c->filling && ColourOfEdit(id) >= 0) {
        ReadColourEdits(dialog, c, ColourOfEdit(id));
        PostMessageA(dialog, RWM_DEFERRED_UPDATE, 1, 0);
        return TRUE;
      }
      if (id == kBrowse) {
        char path[MAX_PATH] = "";
        if (ChooseWallpaperFile(dialog, path)) SetDlgItemTextA(dialog, kFileEdit, path);
        return TRUE;
      }
      if ((id == kColour1Button || id == kColour2Button) && c) {
        const int which = id == kColour1Button ? 0 : 1;
        COLORREF colour = c->colours[which];
        if (RunColorSelect(dialog, &colour)) {
          c->colours[which] = colour & 0xFFFFFF;
          c->filling = true;
          FillEdits(dialog, c);
          c->filling = false;
          PostMessageA(dialog, RWM_DEFERRED_UPDATE, 1, 0);
        }
        return TRUE;
      }
      if (id == IDOK && c) {
        c->isBitmap = IsDlgButtonChecked(dialog, kUseBitmap) == BST_CHECKED;
        GetDlgItemTextA(dialog, kFileEdit, c->file, sizeof c->file);
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    }
  }
  return FALSE;
}

}  // namespace

int LoadWallpaper(const char* defaultFile, RoomRecord* record) {
  if (!record) return 0;
  char section[kRoomNameSize];
  GetRoomName(section, record->room);
  const char* ini = GetSettingsIniPath();
  char value[260];
  ProfileReadString(section, "WallpaperType", "bitmap", value, sizeof value, ini);
  record->wallpaperIsBitmap = WallpaperKindFromText(value);
  char fallback[520];
  std::snprintf(fallback, sizeof fallback, "%s\\%s", GetWallpaperFolder(), defaultFile ? defaultFile : "");
  ProfileReadString(section, "WallpaperFile", fallback, record->wallpaperFile, sizeof record->wallpaperFile,
                    ini);
  ProfileReadString(section, "gradient", "0 0x00ffffff", value, sizeof value, ini);
  uint32_t colours[2] = {0, 0};
  ScanGradient(value, colours);
  record->gradient[0] = colours[0];
  record->gradient[1] = colours[1];
  dibDelete(record->wallpaperBitmap);
  record->wallpaperBitmap = LoadSource(record);
  return record->wallpaperBitmap != nullptr;
}

PackedDib* BuildWallpaperBitmap(const RoomRecord* record, const RECT* rect) {
  if (!record || !rect) return nullptr;
  const int width = rect->right - rect->left, height = rect->bottom - rect->top;
  if (width <= 0 || height <= 0) return nullptr;
  if (!record->wallpaperIsBitmap || !record->wallpaperBitmap) {
    PackedDib* dib = dibCreateWithColors(width, height, 16);
    if (!dib) return nullptr;
    HWND window = static_cast<HWND>(record->boardWindow);
    if (!window) window = GetRoomWindow();
    HDC dc = GetDC(window);
    RECT area{0, 0, width, height};
    if (!GradientIntoBitmap(dc, &area, dib, record->gradient[0], record->gradient[1])) {
      FillGradientDib(dib, record->gradient[0], record->gradient[1]);
    }
    ReleaseDC(window, dc);
    return dib;
  }
  PackedDib* dib = dibCreateWithColors(width, height, record->wallpaperBitmap->biBitCount);
  if (!dib) return nullptr;
  if (dib->biBitCount == 8) dibCopyPalette(dib, record->wallpaperBitmap);
  dibTileRectDib(dib, record->wallpaperBitmap);
  return dib;
}

void FillVerticalGradient(HDC dc, const RECT* rect, COLORREF top, COLORREF bottom) {
  if (!dc || !rect) return;
  const int width = rect->right - rect->left, height = rect->bottom - rect->top;
  if (width < 0 || height < 0) return;
  for (int y = 0; y < height; ++y) {
    HBRUSH brush = CreateSolidBrush(GradientColourAt(top, bottom, y, height));
    RECT row{rect->left, rect->top + y, rect->right, rect->top + y + 1};
    FillRect(dc, &row, brush);
    DeleteObject(brush);
  }
}

void FillHorizontalGradient(HDC dc, const RECT* rect, COLORREF left, COLORREF right) {
  if (!dc || !rect) return;
  const int width = rect->right - rect->left, height = rect->bottom - rect->top;
  if (width < 0 || height < 0) return;
  for (int x = 0; x < width; ++x) {
    HBRUSH brush = CreateSolidBrush(GradientColourAt(left, right, x, width));
    RECT column{rect->left + x, rect->top, rect->left + x + 1, rect->bottom};
    FillRect(dc, &column, brush);
    DeleteObject(brush);
  }
}

int GradientIntoBitmap(HDC dc, const RECT* rect, PackedDib* dib, COLORREF top, COLORREF bottom) {
  const uint32_t bytes = WallpaperPixelBytes(dib);
  if (!dc || !rect || !bytes) return 0;
  void* sectionBits = nullptr;
  HBITMAP section = CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(dib), DIB_RGB_COLORS,
                                     &sectionBits, nullptr, 0);
  if (!section || !sectionBits) {
    if (section) DeleteObject(section);
    return 0;
  }
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, section);
  FillVerticalGradient(memory, rect, top, bottom);
  GdiFlush();
  // The header's own image size is often 0: the size is computed from the
  // header's width, height and depth, which the section was made from.
  std::memcpy(dibGetBits(dib), sectionBits, bytes);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(section);
  return 1;
}

int ChooseWallpaperFile(HWND owner, char* path) {
  if (!path) return 0;
  // The dialog opens in the wallpaper folder and keeps its own folder for
  // its other callers.
  const std::string previous = GetFileDialogFolder() ? GetFileDialogFolder() : "";
  SetFileDialogFolder((std::string(GetWallpaperFolder()) + "\\").c_str());
  char chosen[MAX_PATH] = "";
  int type = 0, openAs = 0;
  const int ok = DoFileDialog(owner, GetModuleHandleA(nullptr), chosen, nullptr, 0, kBitmapFileType, 1, &type,
                              &openAs, nullptr);
  SetFileDialogFolder(previous.c_str());
  if (!ok || !chosen[0]) return 0;
  std::snprintf(path, MAX_PATH, "%s", chosen);
  return 1;
}

INT_PTR RunWallpaperDialog(RoomRecord* record) {
  if (!record) return 0;
  WallpaperChoice choice{};
  choice.isBitmap = record->wallpaperIsBitmap;
  std::snprintf(choice.file, sizeof choice.file, "%s", record->wallpaperFile);
  choice.colours[0] = record->gradient[0];
  choice.colours[1] = record->gradient[1];
  const INT_PTR result = DoModalDialog(GetModuleHandleA(nullptr), "WALLPAPER_SELECT", GetMainFrame(),
                                       WallpaperDialogProc, reinterpret_cast<LPARAM>(&choice), 0);
  if (result != 1) return result;
  record->gradient[0] = choice.colours[0];
  record->gradient[1] = choice.colours[1];
  if (lstrcmpiA(choice.file, record->wallpaperFile) == 0 && choice.isBitmap == record->wallpaperIsBitmap) {
    SetRoomWallpaperBitmap(record, 1);
    return result;
  }
  record->wallpaperIsBitmap = choice.isBitmap;
  std::snprintf(record->wallpaperFile, sizeof record->wallpaperFile, "%s", choice.file);
  dibDelete(record->wallpaperBitmap);
  record->wallpaperBitmap = LoadSource(record);
  SetRoomWallpaperBitmap(record, 1);
  return result;
}

void PaintWallpaper(HDC dc, const PackedDib* dib) {
  if (!dc || !dib) return;
  const int height = dib->biHeight < 0 ? -dib->biHeight : dib->biHeight;
  if (HPALETTE palette = GetAppPalette()) {
    SelectPalette(dc, palette, TRUE);
    RealizePalette(dc);
  }
  const UINT usage = dib->biBitCount == 8 ? DIB_PAL_COLORS : DIB_RGB_COLORS;
  SetDIBitsToDevice(dc, 0, 0, dib->biWidth, height, 0, 0, 0, height, dibGetBits(dib),
                    reinterpret_cast<const BITMAPINFO*>(dib), usage);
}
