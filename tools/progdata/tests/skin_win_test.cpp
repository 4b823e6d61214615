// The made libraries as the program meets them, under Wine: Skinres and
// RW256 hold every picture their manifests list, at the listed size; the
// toolkit's frame, menu and status look installed from Skinres paints a
// framed window with menu bar, open popup and status bar with progress; and
// the login buttons play their frames and show their click picture from the
// "anim" pack. Screenshots land in <build>/artefacts/gui.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bmp_reader.h"
#include "controls.h"
#include "facet.h"
#include "facet_frame.h"
#include "guitest.h"
#include "procdata.h"

namespace {

const std::string kOut = RW_PROGDATA_OUT;  // Z:... under Wine

struct Entry {
  std::string key;
  int width = 0, height = 0;
};

std::vector<Entry> Manifest(const std::string& path) {
  std::vector<Entry> out;
  std::ifstream f(path);
  std::string line;
  while (std::getline(f, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream row(line);
    Entry e;
    std::string role, size;
    std::getline(row, e.key, '\t');
    std::getline(row, role, '\t');
    std::getline(row, size, '\t');
    std::sscanf(size.c_str(), "%dx%d", &e.width, &e.height);
    out.push_back(e);
  }
  return out;
}

LPCSTR ResourceName(const std::string& key) {
  const bool numeric = key.find_first_not_of("0123456789") == std::string::npos;
  return numeric ? MAKEINTRESOURCEA(std::atoi(key.c_str())) : key.c_str();
}

class Library : public ::testing::TestWithParam<const char*> {};

TEST_P(Library, HoldsEveryManifestEntryAsAn8BitBitmapOfItsSize) {
  const std::string name = GetParam();
  HMODULE module = LoadLibraryA((name + ".dll").c_str());
  ASSERT_NE(module, nullptr) << name;
  std::string lower = name;
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  const auto entries = Manifest(kOut + "/" + lower + "/" + lower + ".manifest");
  ASSERT_GT(entries.size(), 40u);
  for (const Entry& e : entries) {
    HRSRC found = FindResourceA(module, ResourceName(e.key), MAKEINTRESOURCEA(2));
    ASSERT_NE(found, nullptr) << e.key;
    const auto* info = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(info, nullptr) << e.key;
    EXPECT_EQ(info->biBitCount, 8) << e.key;
    EXPECT_EQ(info->biWidth, e.width) << e.key;
    EXPECT_EQ(info->biHeight, e.height) << e.key;
    HBITMAP loaded = static_cast<HBITMAP>(LoadImageA(module, ResourceName(e.key), IMAGE_BITMAP, 0, 0, 0));
    EXPECT_NE(loaded, nullptr) << e.key;
    DeleteObject(loaded);
  }
  FreeLibrary(module);
}

INSTANTIATE_TEST_SUITE_P(Made, Library, ::testing::Values("Skinres", "RW256"));

Bitmap8 Read(const std::string& path) {
  Bitmap8 b;
  EXPECT_TRUE(ReadBitmap8(path, &b)) << path;
  return b;
}

HPALETTE PalPalette(const Bitmap8& pal) {
  return guitest::MakePalette([&](int i) {
    return PALETTEENTRY{pal.table[i].r, pal.table[i].g, pal.table[i].b, BYTE(i >= 10 && i < 246 ? PC_NOCOLLAPSE : 0)};
  });
}

COLORREF Colour(const Bitmap8& b, int x, int y) {
  const Rgb c = b.table[b.pixels[size_t(y) * b.width + x]];
  return RGB(c.r, c.g, c.b);
}

COLORREF ScreenColour(HWND window, int x, int y) {  // window coordinates
  HDC dc = GetWindowDC(window);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

void Ids(CwFrameBitmapSet* s, HMODULE module, const std::vector<int>& words) {
  std::memset(s, 0, sizeof *s);
  s->present = 1;
  s->module = module;
  s->textX = 2;
  s->textY = 1;
  s->textMode = 1;
  s->textColour[0] = 23;
  s->textColour[1] = 242;
  for (size_t i = 0; i < words.size(); ++i) s->pieces[i] = reinterpret_cast<PackedDib*>(uintptr_t(words[i]));
}

// Words 23..73 of each set, as the look and feel fills them.
const std::vector<int> kSizable = {30163, 30163, 30162, 30157, 30160, 30159, 30158, 30161, 30192, 30193, 30372,
                                   30373, 30142, 30144, 30146, 30141, 30143, 30145, 30149, 30148, 30147, 30149,
                                   30148, 30147, 30152, 30151, 30150, 30152, 30151, 30150, 30153, 30154, 30166,
                                   30153, 30154, 30166, 30155, 30137, 30138, 30155, 30137, 30138, 30135, 30135,
                                   30136, 30136, 30139, 30139, 30140, 30140, 30286};
const std::vector<int> kBorder = {30220, 30220, 30219, 30214, 30217, 30216, 30215, 30218, 30223, 30224, 0,
                                  0,     30200, 30202, 30204, 30199, 30201, 30203, 30207, 30206, 30205, 30207,
                                  30206, 30205, 30210, 30209, 30208, 30210, 30209, 30208, 30211, 30212, 30222,
                                  30211, 30212, 30222, 30213, 30195, 30196, 30213, 30195, 30196, 30221, 30221,
                                  30194, 30194, 30197, 30197, 30198, 30198, 30286};
const std::vector<int> kDialog = {30260, 30260, 30259, 30254, 30257, 30256, 30255, 30258, 30263, 30264, 30370,
                                  30371, 30240, 30242, 30244, 30239, 30241, 30243, 30247, 30246, 30245, 30247,
                                  30246, 30245, 30250, 30249, 30248, 30250, 30249, 30248, 30251, 30252, 30262,
                                  30251, 30252, 30262, 30253, 30235, 30236, 30253, 30235, 30236, 30261, 30261,
                                  30234, 30234, 30237, 30237, 30238, 30238, 30286};

HPALETTE g_palette = nullptr;

// The host paints its client area in the light edge colour, as a room would
// cover it.
// The main frame's own look, carried in its creation record.
const std::vector<int> kMain = {30320, 30320, 30319, 30314, 30317, 30316, 30315, 30318, 30323, 30324, 30368,
                                30369, 30300, 30302, 30304, 30299, 30301, 30303, 30307, 30306, 30305, 30307,
                                30306, 30305, 30310, 30309, 30308, 30310, 30309, 30308, 30311, 30312, 30322,
                                30311, 30312, 30322, 30313, 30295, 30296, 30313, 30295, 30296, 30321, 30321,
                                30294, 30294, 30297, 30297, 30298, 30298, 0};

LRESULT CALLBACK FrameProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_ERASEBKGND) {
    HDC dc = HDC(wp);
    HPALETTE old = SelectPalette(dc, g_palette, FALSE);
    RealizePalette(dc);
    RECT c;
    GetClientRect(w, &c);
    HBRUSH brush = CreateSolidBrush(PALETTEINDEX(191));
    FillRect(dc, &c, brush);
    DeleteObject(brush);
    SelectPalette(dc, old, FALSE);
    return 1;
  }
  return cwDefWindowProc(w, m, wp, lp);
}

TEST(SkinLook, FramedWindowWithMenuPopupAndStatusProgress) {
  HMODULE skin = LoadLibraryA("Skinres.dll");
  ASSERT_NE(skin, nullptr);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  // The toolkit linked statically: what its library start-up would register.
  cmRegisterPopupClass(instance);
  const Bitmap8 pal = Read(kOut + "/PAL.bmp");
  HPALETTE palette = PalPalette(pal);
  g_palette = palette;
  // The program's own face, as its look and feel registers it: the dialog
  // font (10 points, weight 800) for captions and menus, the status font
  // (9 points, weight 500) for the status bar.
  const std::string fontFile = kOut + "/rwonyx.ttf";
  ASSERT_GT(AddFontResourceA(fontFile.c_str()), 0) << fontFile;
  auto programFont = [](int points, int weight) {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, 0, OUT_TT_PRECIS, 0, ANTIALIASED_QUALITY, 0,
                       "RookwellOnyx");
  };
  HFONT font = programFont(10, 800);
  HFONT statusFont = programFont(9, 500);

  CwDefaults* d = cwInit();
  ASSERT_NE(d, nullptr);
  d->resourceModule = skin;
  d->palette = palette;
  d->mapColours = 1;
  Ids(&d->sizable, skin, kSizable);
  Ids(&d->border, skin, kBorder);
  Ids(&d->dialog, skin, kDialog);
  for (CwFrameBitmapSet* s : {&d->sizable, &d->border, &d->dialog}) s->font = font;
  CwMenuLook& m = d->menuLook;
  std::memset(&m, 0, sizeof m);
  m.present = 1;
  m.imageFrame = 1;
  m.barKind = 3;
  m.font = font;
  m.points = 11;
  m.gap = 1;
  m.normalX = 4;
  m.hotX = 5;
  m.barText = m.barTextHot = m.itemText = 238;
  m.itemTextHighlighted = 37;
  m.background = 18;
  m.highlightFill = 145;
  m.grayText = m.grayTextHighlighted = 137;
  m.spareColour = 191;
  auto id = [](int v) { return reinterpret_cast<PackedDib*>(uintptr_t(v)); };
  for (int i = 0; i < 3; ++i) {
    m.barBackground[i] = id(30450 + i);
    m.barItem[i] = id(30453 + i);
    m.barItemHot[i] = id(30456 + i);
    m.separator[i] = id(30468 + i);
  }
  for (int i = 0; i < 8; ++i) m.frame[i] = id(30460 + i);
  m.check[0] = id(30471);
  m.check[1] = id(30472);
  m.arrow[0] = id(30473);
  m.arrow[1] = id(30474);
  CwStatusLook& st = d->statusLook;
  std::memset(&st, 0, sizeof st);
  st.present = 1;
  std::strcpy(st.face, "RookwellOnyx");
  st.points = 10;
  st.font = statusFont;
  st.separator = id(30332);
  st.progressColour = 192;
  st.textColour = 238;
  ASSERT_EQ(cwSetDefaults(instance, d), 1);

  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = FrameProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = "RWSkinHost";
  RegisterClassA(&wc);
  CwCreateParams params{};
  params.flags = 3;
  params.menuId = 100;
  params.systemMenuId = 101;
  params.menuModule = instance;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | 1;
  HWND w = cwCreateWindowEx(0, "RWSkinHost", "Rookwell Onyx", style, 10, 20, 490, 400, nullptr, nullptr, instance,
                            &params);
  ASSERT_NE(w, nullptr);
  const int32_t rights[3] = {220, 360, -1};
  SendMessageA(w, 0x8507, 3, LPARAM(rights));
  SendMessageA(w, CWM_SETSTATUSTEXT, 0, LPARAM("Ready"));
  SendMessageA(w, 0x8509, 1, 2);
  SendMessageA(w, 0x8511, 1, 65);
  SendMessageA(w, CWM_SETSTATUSTEXT, 2, LPARAM("White to move"));
  cwSetAppMainWindow(instance, w);
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  UpdateWindow(w);
  guitest::Pump(200);

  // The frame shows Skinres's own pictures: the top-left corner's outer
  // pixel and the client background tile's first pixel.
  const Bitmap8 corner = Read(kOut + "/skinres/bitmaps/30135.bmp");
  EXPECT_EQ(ScreenColour(w, 0, 0), Colour(corner, 0, 0));
  auto* data = reinterpret_cast<CwWindowData*>(SendMessageA(w, CWM_GETWINDOWDATA, 0, 0));
  ASSERT_NE(data, nullptr);
  ASSERT_NE(data->menuBar, nullptr);
  ASSERT_NE(data->statusBar, nullptr);
  const Bitmap8 bottom = Read(kOut + "/skinres/bitmaps/30137.bmp");
  RECT wr;
  GetWindowRect(w, &wr);
  EXPECT_EQ(data->regions[FR_BOTTOM].rect[3] - data->regions[FR_BOTTOM].rect[1], bottom.height);

  SendMessageA(w, WM_SYSCOMMAND, SC_KEYMENU, 'g');
  guitest::Pump(150);
  HWND drop = FindWindowA("CGUIMenuPopup", nullptr);
  while (drop && !IsWindowVisible(drop)) drop = FindWindowExA(nullptr, drop, "CGUIMenuPopup", nullptr);
  ASSERT_NE(drop, nullptr);
  for (int i = 0; i < 3; ++i) SendMessageA(drop, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(drop, WM_KEYDOWN, VK_RIGHT, 0);  // "Recent games" opens its submenu
  guitest::Pump(150);
  EXPECT_TRUE(IsWindowVisible(drop));
  guitest::Screenshot("skin_framed_window");
  SendMessageA(drop, WM_KEYDOWN, VK_ESCAPE, 0);
  guitest::Pump(50);

  // The main frame's set: caption with toggle, thick edges, status panel.
  CwCreateParams mainParams = params;
  Ids(&mainParams.frame, skin, kMain);
  mainParams.frame.textMode = 0;  // the program's name is drawn in the caption's start piece
  mainParams.frame.font = font;
  HWND mainFrame = cwCreateWindowEx(0, "RWSkinHost", "Rookwell Onyx", 0x000F0001 | 0x20, 520, 20, 490, 400, nullptr,
                                    nullptr, instance, &mainParams);
  ASSERT_NE(mainFrame, nullptr);
  SendMessageA(mainFrame, 0x8507, 3, LPARAM(rights));
  SendMessageA(mainFrame, CWM_SETSTATUSTEXT, 0, LPARAM("Ready"));
  ShowWindow(mainFrame, SW_SHOW);
  UpdateWindow(mainFrame);
  guitest::Pump(200);
  const Bitmap8 mainCorner = Read(kOut + "/skinres/bitmaps/30298.bmp");
  GetWindowRect(mainFrame, &wr);
  EXPECT_EQ(ScreenColour(mainFrame, wr.right - wr.left - 1, wr.bottom - wr.top - 1),
            Colour(mainCorner, mainCorner.width - 1, mainCorner.height - 1));
  guitest::Screenshot("skin_framed_windows");
  DestroyWindow(mainFrame);
  DestroyWindow(w);
  cwFree();
  cmUnregisterPopupClass(instance);
  DeleteObject(font);
  DeleteObject(statusFont);
  RemoveFontResourceA(fontFile.c_str());
  FreeLibrary(skin);
}

// The login buttons of each screen size: the "Game" button over its
// background plays its 30 frames while the mouse is over its opaque part
// and shows "_click" while pressed.
struct LoginButton {
  const char* screen;  // dialog id as text
  const char* background;
  int width, height;
};

class LoginButtons : public ::testing::TestWithParam<LoginButton> {};

std::string GameCaption(const char* dialog) {
  std::ifstream f(kOut + "/anim/login_buttons.txt");
  std::string line;
  while (std::getline(f, line))
    if (line.rfind(std::string(dialog) + "\t", 0) == 0 && line.find("\tGame {") != std::string::npos)
      return line.substr(line.find("Game {"));
  return "";
}

TEST_P(LoginButtons, GameButtonPlaysItsLoopAndShowsItsClickPicture) {
  const LoginButton& p = GetParam();
  const std::string caption = GameCaption(p.screen);
  ASSERT_FALSE(caption.empty());
  int x, y, w, h;
  char pattern[64];
  ASSERT_EQ(std::sscanf(caption.c_str(), "Game {p:%d,%d s:%d,%d d:anim n:%63s", &x, &y, &w, &h, pattern), 5);
  std::string stem(pattern);
  stem = stem.substr(0, stem.find('%'));

  ResetProcessDataTable();
  RegisterControlClasses(GetModuleHandleA(nullptr));
  ccSetControlData(nullptr, ccInit(nullptr));
  std::strcpy(ccGetDefaultData()->programFolder, RW_PACKS_DIR);
  guitest::MoveMouse(POINT{p.width - 2, p.height - 2});
  HMODULE library = LoadLibraryA("RW256.dll");
  ASSERT_NE(library, nullptr);
  HBITMAP back = static_cast<HBITMAP>(LoadImageA(library, p.background, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(back, nullptr);
  HWND host = guitest::CreateTestWindow(RECT{0, 0, p.width, p.height},
                                        [back](HWND window, UINT m, WPARAM wp, LPARAM, bool* handled) -> LRESULT {
                                          if (m != WM_ERASEBKGND) return 0;
                                          *handled = true;
                                          HDC mem = CreateCompatibleDC(HDC(wp));
                                          HGDIOBJ old = SelectObject(mem, back);
                                          RECT c;
                                          GetClientRect(window, &c);
                                          BitBlt(HDC(wp), 0, 0, c.right, c.bottom, mem, 0, 0, SRCCOPY);
                                          SelectObject(mem, old);
                                          DeleteDC(mem);
                                          return 1;
                                        });
  HWND button = CreateWindowExA(0, "AnimButton", caption.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, host,
                                HMENU(INT_PTR(21475)), nullptr, nullptr);
  ASSERT_NE(button, nullptr);
  UpdateWindow(button);
  guitest::Pump(50);

  const Bitmap8 click = Read(kOut + "/anim/frames/" + stem + "_click.bmp");
  const int cx = w / 2, cy = h / 3;  // inside the medallion
  auto pixel = [&](int px, int py) {
    HDC dc = GetDC(button);
    COLORREF c = GetPixel(dc, px, py);
    ReleaseDC(button, dc);
    return c;
  };
  guitest::MoveMouse(POINT{x + cx, y + cy});
  // The loop runs: the frame timer ticks, and the medallion's light moves
  // round its rim, so points on that circle change from frame to frame.
  const int labelHeight = h / 4;
  const int radius = std::min(w, h - labelHeight) / 2 - 1;
  auto signature = [&] {
    std::vector<COLORREF> points;
    for (int k = 0; k < 24; ++k) {
      const double a = k * 3.14159265 / 12;
      points.push_back(pixel(int(w / 2 + std::cos(a) * radius * 0.8), int(radius + 1 + std::sin(a) * radius * 0.8)));
    }
    return points;
  };
  std::vector<std::vector<COLORREF>> seen;
  for (int i = 0; i < 30; ++i) {
    ASSERT_TRUE(guitest::WaitForTimer(button, 11, 1, 1000)) << "tick " << i;
    seen.push_back(signature());
  }
  int changes = 0;
  for (size_t i = 1; i < seen.size(); ++i) changes += seen[i] != seen[i - 1];
  EXPECT_GE(changes, 20);
  guitest::Screenshot(std::string("login_button_") + p.screen);

  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &in, sizeof in);
  guitest::Pump(100);
  EXPECT_EQ(pixel(cx, cy), Colour(click, cx, cy));
  guitest::Screenshot(std::string("login_button_") + p.screen + "_click");
  in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
  guitest::Pump(50);
  guitest::MoveMouse(POINT{p.width - 2, p.height - 2});
  DestroyWindow(host);
  DeleteObject(back);
  FreeLibrary(library);
  UnregisterControlClasses();
  ResetProcessDataTable();
}

INSTANTIATE_TEST_SUITE_P(Sizes, LoginButtons,
                         ::testing::Values(LoginButton{"112", "LOBBY_BACKGROUND_LARGE", 1024, 768},
                                           LoginButton{"111", "LOBBY_BACKGROUND_SMALL", 800, 600},
                                           LoginButton{"144", "LOBBY_BACKGROUND_TINY", 640, 480}));

}  // namespace
