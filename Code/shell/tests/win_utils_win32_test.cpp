// The Win32 utilities under the real system calls: files and file heads,
// window placement, list-box scrolling, rectangle fills and window slots.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "heapkit.h"
#include "rw_strings.h"
#include "win_utils_win32.h"

namespace {

std::string TestFolder(const char* name) {
  std::filesystem::path dir = std::filesystem::current_path() / "win_utils" / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string();
}

void WriteText(const std::string& path, const char* text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs(text, f);
  std::fclose(f);
}

TEST(WinUtilsWin32, FilesAndHandles) {
  std::string dir = TestFolder("files");
  std::string path = dir + "\\a.txt";
  EXPECT_EQ(FileExists(path.c_str()), 0);
  HANDLE h = OpenFileHandle(path.c_str(), GENERIC_WRITE, CREATE_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written;
  ::WriteFile(h, "abc", 3, &written, nullptr);
  CloseHandle(h);
  EXPECT_EQ(FileExists(path.c_str()), 1);
  EXPECT_EQ(FileExists(dir.c_str()), 0);  // a folder is no file to read
  EXPECT_EQ(OpenFileHandle((dir + "\\none\\b").c_str(), GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
}

TEST(WinUtilsWin32, FileHeadsStopAtTheArraysCapacity) {
  std::string dir = TestFolder("heads");
  const char* heads[] = {"RWUSER carol", "RWUSER alice", "RWUSER erin", "RWUSER bob", "RWUSER dave"};
  for (int i = 0; i < 5; ++i) WriteText(dir + "\\u" + std::to_string(i) + ".usr", heads[i]);
  WriteText(dir + "\\other.txt", "RWUSER zed");
  std::string pattern = dir + "\\*.usr";

  char* found[4] = {nullptr, nullptr, nullptr, reinterpret_cast<char*>(&found)};
  int count = LoadFileHeads(pattern.c_str(), found, 3, 12);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(found[3], reinterpret_cast<char*>(&found));  // beyond the capacity: untouched
  EXPECT_LT(std::strcmp(found[0], found[1]), 0);
  EXPECT_LT(std::strcmp(found[1], found[2]), 0);
  FreeFileHeads(found, count);

  char* all[8];
  count = LoadFileHeads(pattern.c_str(), all, 8, 12);
  ASSERT_EQ(count, 5);
  EXPECT_STREQ(all[0], "RWUSER alice");
  EXPECT_STREQ(all[4], "RWUSER erin");
  FreeFileHeads(all, count);
  EXPECT_EQ(LoadFileHeads((dir + "\\*.none").c_str(), all, 8, 12), 0);

  char name[MAX_PATH] = "";
  EXPECT_EQ(FindFileByHead(name, "RWUSER bob", pattern.c_str(), 0, 10), 1);
  EXPECT_STREQ(name, "u3.usr");
  EXPECT_EQ(FindFileByHead(name, "RWUSER nobody", pattern.c_str(), 0, 13), 0);
}

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

HWND MakeWindow(HWND parent, DWORD style, int x, int y, int w, int h) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA c{};
    c.lpfnWndProc = PlainProc;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = "RwUtilsTest";
    c.cbWndExtra = 16;
    RegisterClassA(&c);
    registered = true;
  }
  return CreateWindowExA(0, "RwUtilsTest", "", style, x, y, w, h, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST(WinUtilsWin32, CenteringAndIconicParents) {
  HWND parent = MakeWindow(nullptr, WS_POPUP, 100, 100, 400, 300);
  HWND child = MakeWindow(parent, WS_CHILD, 0, 0, 100, 50);
  CenterWindow(child, nullptr);
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 150);
  EXPECT_EQ(r.top, 125);
  HWND big = MakeWindow(parent, WS_CHILD, 0, 0, 500, 400);
  CenterWindow(big, nullptr);
  GetWindowRect(big, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 1);
  EXPECT_EQ(r.top, 1);

  HWND popup = MakeWindow(nullptr, WS_POPUP, 0, 0, 200, 100);
  CenterWindowClamped(popup, parent);
  GetWindowRect(popup, &r);
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.top, 200);
  SetWindowPos(parent, nullptr, -300, -300, 400, 300, SWP_NOZORDER);
  CenterWindowClamped(popup, parent);
  GetWindowRect(popup, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);

  EXPECT_EQ(IsWindowOrParentIconic(child), 0);
  ShowWindow(parent, SW_MINIMIZE);
  EXPECT_EQ(IsWindowOrParentIconic(child), 1);
  EXPECT_EQ(RedrawProgramWindows(child), 1);
  EXPECT_EQ(RedrawProgramWindows(nullptr), 0);

  EXPECT_EQ(SetWindowSlot(child, 2, 0x1234), 0);
  EXPECT_EQ(GetWindowSlot(child, 2), 0x1234);
  EXPECT_EQ(GetWindowLongA(child, 8), 0x1234);
  DestroyWindow(popup);
  DestroyWindow(parent);
}

TEST(WinUtilsWin32, ListBoxScrolling) {
  HWND parent = MakeWindow(nullptr, WS_POPUP, 0, 0, 300, 300);
  HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, 0, 0, 200, 100,
                              parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(ListBoxEnsureVisible(list, 0), -1);  // empty
  for (int i = 0; i < 30; ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
  int itemHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  RECT client;
  GetClientRect(list, &client);
  int visible = client.bottom / itemHeight;
  EXPECT_EQ(ListBoxEnsureVisible(list, 1), 0);  // visible: no scroll
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
  EXPECT_EQ(ListBoxEnsureVisible(list, 20), 0);
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 20 - visible + 1);
  EXPECT_EQ(ListBoxEnsureVisible(list, 2), 20 - visible + 1);
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 2);
  EXPECT_EQ(ListBoxEnsureVisible(list, 30), -1);
  DestroyWindow(parent);
}

TEST(WinUtilsWin32, RectangleFills) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT r{2, 2, 10, 10};
  EXPECT_EQ(FillRectColor(dc, &r, RGB(200, 10, 20)), 0);
  EXPECT_EQ(GetPixel(dc, 2, 2), RGB(200, 10, 20));  // the border is painted too
  EXPECT_EQ(GetPixel(dc, 9, 9), RGB(200, 10, 20));
  HBRUSH solid = CreateSolidBrush(RGB(0, 0, 255));
  EXPECT_EQ(FillRectWithBrush(dc, &r, solid), 0);
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 255));
  DeleteObject(solid);
  EXPECT_EQ(FillRectWithBrush(dc, &r, nullptr), 1);
  EXPECT_EQ(FillRectColor(dc, nullptr, 0), 1);
  EXPECT_EQ(FillRectPaletteIndex(nullptr, &r, 3), 1);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST(WinUtilsWin32, OpenFileRecordAndFont) {
  OPENFILENAMEA record;
  std::memset(&record, 0xCC, sizeof record);
  InitOpenFileRecord(&record, nullptr);
  EXPECT_EQ(record.lStructSize, static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400A));
  EXPECT_EQ(record.nMaxFile, 260u);
  EXPECT_EQ(record.nMaxFileTitle, 512u);
  EXPECT_EQ(record.Flags, 14u);
  EXPECT_EQ(record.lpstrFile, nullptr);
  HFONT font = CreatePointFont("Arial", 10, FW_BOLD, ANSI_CHARSET);
  ASSERT_NE(font, nullptr);
  LOGFONTA info;
  GetObjectA(font, sizeof info, &info);
  EXPECT_LT(info.lfHeight, 0);
  EXPECT_EQ(info.lfWeight, FW_BOLD);
  DeleteObject(font);
}

}  // namespace

namespace {

// The test program carries the program's resources, string table included.
TEST(WinUtilsWin32, StringLoadersShareTheirBuffers) {
  const char* first = LoadOwnString(IDS_EXIT_NOW);
  EXPECT_STREQ(first, "Exit Now?");
  const char* second = LoadOwnString(IDS_APP_SHORT_NAME);
  EXPECT_EQ(first, second);  // one buffer: the second text wins
  EXPECT_STREQ(first, "Rookwell");
  const char* res = LoadResString(GetModuleHandleA(nullptr), IDS_EXIT_NOW);
  EXPECT_NE(res, first);
  EXPECT_STREQ(res, "Exit Now?");
  EXPECT_STREQ(LoadResString(GetModuleHandleA(nullptr), 65000), "");  // missing: empty
  EXPECT_STREQ(LoadOwnString(65000), "");
}

}  // namespace
