// The program's resource object as a program meets it, under Wine: this test
// program links `rookwell_res` as Rookwell.exe does. Every string of the
// sources loads back as written, the version value reads back, the icon and
// every cursor load with their hot spots, Facet.dll carries its splitter
// cursor, and the animated cursors load with all their frames. A screenshot
// shows the icon, every cursor and every animated frame in a grid
// (<build>/artefacts/gui/program_resources.png).
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "guitest.h"
#include "resource_files.h"
#include "rw_strings.h"

namespace {

const std::string kOut = RW_PROGDATA_OUT;  // Z:... under Wine

std::string Load(UINT id) {
  char text[1024];
  const int n = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return std::string(text, n > 0 ? n : 0);
}

TEST(ProgramStrings, EverySourceTextLoadsBackAsWritten) {
  std::vector<StringEntry> entries;
  std::string error;
  ASSERT_TRUE(ReadStringSources(RW_SHELL_RES_DIR, &entries, &error)) << error;
  ASSERT_GT(entries.size(), 100u);
  for (const StringEntry& e : entries) EXPECT_EQ(Load(e.id), e.text) << e.where;
}

TEST(ProgramStrings, StartUpTextsAndNumberedRangesAreThere) {
  EXPECT_EQ(Load(IDS_APP_TITLE), "Rookwell Onyx");
  EXPECT_EQ(Load(1), "Rookwell Onyx");
  EXPECT_EQ(Load(92),
            "Rookwell Onyx requires a 16-bit video mode. Would you like to open your Video Display Properties now?");
  EXPECT_EQ(Load(93), "Rookwell Onyx Video Mode Check");
  EXPECT_EQ(Load(94), "%s\\RunDLL32.EXE shell32.dll,Control_RunDLL %s\\DESK.CPL,,3");
  EXPECT_EQ(Load(314), "A fatal error occurred loading Rookwell resources.  The program will now terminate.");
  EXPECT_EQ(Load(317), "A fatal error occurred initializing Sound playback.  The program will now terminate.");
  EXPECT_EQ(Load(IDS_EXIT_NOW), "Exit Now?");
  EXPECT_EQ(IDS_EXIT_NOW, 1900);
  const std::vector<std::pair<int, int>> ranges = {{10, 37}, {1150, 1157}, {10001, 10022}};
  for (const auto& [first, last] : ranges)
    for (int id = first; id <= last; ++id) EXPECT_FALSE(Load(id).empty()) << "string " << id;
}

TEST(ProgramVersion, FileVersionReadsBackFromTheVersionBlock) {
  char path[MAX_PATH];
  ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &handle);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
  char* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904E4\\FileVersion",
                             reinterpret_cast<void**>(&value), &length));
  EXPECT_STREQ(value, RW_VERSION_TEXT);
}

TEST(ProgramPictures, PaletteAndSplashAreBitmapResources) {
  for (const char* name : {"PAL", "SPLASH"}) {
    HRSRC found = FindResourceA(GetModuleHandleA(nullptr), name, MAKEINTRESOURCEA(2));
    ASSERT_NE(found, nullptr) << name;
    const auto* info = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->biBitCount, 8) << name;
  }
  const auto* pal = static_cast<const BITMAPINFOHEADER*>(
      LockResource(LoadResource(nullptr, FindResourceA(nullptr, "PAL", MAKEINTRESOURCEA(2)))));
  EXPECT_EQ(pal->biWidth, 16);
  EXPECT_EQ(pal->biHeight, 16);
}

// id -> hot spot of the resource cursors.
const std::map<int, POINT> kCursors = {
    {114, {12, 1}}, {115, {1, 1}},  {116, {1, 1}},   {117, {1, 1}},   {118, {1, 1}},   {119, {1, 1}},
    {120, {1, 1}},  {121, {1, 1}},  {122, {1, 1}},   {123, {1, 1}},   {124, {1, 1}},   {125, {1, 1}},
    {126, {1, 1}},  {127, {8, 8}},  {128, {16, 16}}, {129, {10, 10}}, {132, {1, 1}},   {133, {16, 16}},
    {141, {8, 8}},  {142, {10, 10}}, {143, {16, 16}}};
const char* const kAnimated[] = {"busy.ani", "MoveBoard.ani", "SizeBoard.ani", "RotateBoard_LR.ani",
                                 "RotateBoard_UD.ani", "PerspectiveBoard.ani"};

POINT HotSpot(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return POINT{-1, -1};
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return POINT{LONG(info.xHotspot), LONG(info.yHotspot)};
}

TEST(ProgramCursors, IconAndEveryCursorLoadWithTheirHotSpots) {
  HINSTANCE self = GetModuleHandleA(nullptr);
  for (int size : {16, 32, 48}) {
    HICON icon = static_cast<HICON>(LoadImageA(self, MAKEINTRESOURCEA(101), IMAGE_ICON, size, size, 0));
    EXPECT_NE(icon, nullptr) << size;
    DestroyIcon(icon);
  }
  for (const auto& [id, hot] : kCursors) {
    HCURSOR cursor = LoadCursorA(self, MAKEINTRESOURCEA(id));
    ASSERT_NE(cursor, nullptr) << id;
    const POINT got = HotSpot(cursor);
    EXPECT_EQ(got.x, hot.x) << id;
    EXPECT_EQ(got.y, hot.y) << id;
  }
  HMODULE facet = LoadLibraryA("Facet.dll");
  ASSERT_NE(facet, nullptr);
  EXPECT_NE(LoadCursorA(facet, MAKEINTRESOURCEA(131)), nullptr) << "Facet.dll's splitter cursor";
  FreeLibrary(facet);
}

using CursorFrameInfo = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);

TEST(ProgramCursors, AnimatedCursorsLoadWithEveryFrame) {
  // Not in the headers; user32 exports it by name.
  const auto frameInfo = reinterpret_cast<CursorFrameInfo>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetCursorFrameInfo")));
  ASSERT_NE(frameInfo, nullptr);
  for (const char* name : kAnimated) {
    const std::string path = kOut + "/cursors/ani/" + name;
    AniFile file;
    ASSERT_TRUE(ParseAniFile(ReadFileBytes(path), &file)) << name;
    HCURSOR cursor = LoadCursorFromFileA(path.c_str());
    ASSERT_NE(cursor, nullptr) << name;
    DWORD rate = 0, steps = 0;
    EXPECT_NE(frameInfo(cursor, 0, 0, &rate, &steps), nullptr) << name;
    EXPECT_EQ(steps, file.frames) << name;
    EXPECT_GE(steps, 6u) << name;
    EXPECT_EQ(rate, file.rate) << name;
    DestroyCursor(cursor);
  }
}

// The grid: the icon in its sizes, each cursor at its own size and doubled
// on a light and a dark ground, and every frame of each animated cursor.
struct Sheet {
  std::vector<std::pair<HICON, int>> icons;
  std::vector<std::pair<HCURSOR, int>> cursors;
  std::vector<std::pair<HCURSOR, std::string>> animated;
  HCURSOR splitter = nullptr;
};

void Label(HDC dc, int x, int y, const std::string& text, COLORREF colour) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  TextOutA(dc, x, y, text.c_str(), int(text.size()));
}

void Paint(HWND window, const Sheet& s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT all;
  GetClientRect(window, &all);
  HBRUSH light = CreateSolidBrush(RGB(236, 230, 214)), dark = CreateSolidBrush(RGB(92, 62, 40));
  FillRect(dc, &all, light);
  HGDIOBJ font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  int x = 10;
  for (const auto& [icon, size] : s.icons) {
    DrawIconEx(dc, x, 10, icon, size, size, 0, nullptr, DI_NORMAL);
    Label(dc, x, 80, std::to_string(size), RGB(0, 0, 0));
    x += size + 16;
  }
  // Cursors: one row on light, the same row on dark, each doubled beside.
  for (int ground = 0; ground < 2; ++ground) {
    const int top = 100 + ground * 190;
    RECT band{0, top, all.right, top + 186};
    FillRect(dc, &band, ground ? dark : light);
    const COLORREF ink = ground ? RGB(255, 255, 255) : RGB(0, 0, 0);
    for (size_t k = 0; k < s.cursors.size() + 1; ++k) {
      const int col = int(k % 11), row = int(k / 11);
      const int cx = 10 + col * 90, cy = top + 6 + row * 90;
      HCURSOR c = k < s.cursors.size() ? s.cursors[k].first : s.splitter;
      DrawIconEx(dc, cx, cy, c, 32, 32, 0, nullptr, DI_NORMAL);
      DrawIconEx(dc, cx + 36, cy, c, 48, 48, 0, nullptr, DI_NORMAL);
      Label(dc, cx, cy + 66, k < s.cursors.size() ? std::to_string(s.cursors[k].second) : "131 Facet", ink);
    }
  }
  for (size_t a = 0; a < s.animated.size(); ++a) {
    const int top = 476 + int(a) * 46;
    Label(dc, 10, top + 12, s.animated[a].second, RGB(0, 0, 0));
    for (UINT step = 0; step < 12; ++step)
      DrawIconEx(dc, 150 + int(step) * 44, top, s.animated[a].first, 32, 32, step, nullptr, DI_NORMAL);
  }
  SelectObject(dc, font);
  DeleteObject(light);
  DeleteObject(dark);
  EndPaint(window, &ps);
}

TEST(ProgramCursors, ScreenshotOfTheIconAndEveryCursor) {
  HINSTANCE self = GetModuleHandleA(nullptr);
  Sheet s;
  for (int size : {16, 24, 32, 48, 64})
    s.icons.push_back({static_cast<HICON>(LoadImageA(self, MAKEINTRESOURCEA(101), IMAGE_ICON, size, size, 0)), size});
  for (const auto& entry : kCursors) s.cursors.push_back({LoadCursorA(self, MAKEINTRESOURCEA(entry.first)), entry.first});
  HMODULE facet = LoadLibraryA("Facet.dll");
  s.splitter = LoadCursorA(facet, MAKEINTRESOURCEA(131));
  for (const char* name : kAnimated)
    s.animated.push_back({LoadCursorFromFileA((kOut + "/cursors/ani/" + name).c_str()), name});
  HWND window = guitest::CreateTestWindow(RECT{0, 0, 1000, 760}, [&](HWND w, UINT m, WPARAM, LPARAM, bool* handled) {
    if (m != WM_PAINT) return LRESULT(0);
    Paint(w, s);
    *handled = true;
    return LRESULT(0);
  });
  ASSERT_NE(window, nullptr);
  InvalidateRect(window, nullptr, TRUE);
  guitest::Pump(300);
  guitest::Screenshot("program_resources");
  DestroyWindow(window);
  for (auto& a : s.animated) DestroyCursor(a.first);
  for (auto& i : s.icons) DestroyIcon(i.first);
  FreeLibrary(facet);
}

}  // namespace
