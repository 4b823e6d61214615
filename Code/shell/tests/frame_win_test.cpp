// The look, the splash and the main frame under Wine: the program palette
// and fonts, the defaults installed from Skinres, the splash thread, the
// frame's class, creation, closing paths and notices driven through real
// input, and the status line. The host test at the end runs the start-up
// steps in the program's order and keeps screenshots in artefacts/shell.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "frame_links.h"
#include "guitest.h"
#include "look_and_feel.h"
#include "main_frame.h"
#include "splash.h"
#include "status_line.h"

namespace {

const std::string kProgdata = RW_FRAME_PROGDATA;  // Z:... under Wine

bool Shot(const char* name) { return guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, name); }

// ---------------------------------------------------------------------------
// The links the tests watch: a temporary program folder, the sound and
// settings switches, the board window, the stored rectangles.

struct Watch {
  std::string folder;
  int closeSound = 0;
  std::vector<int> sounds;
  int reacquireCalls = 0;
  int deviceBackAfter = 0;  // reacquire answers 1 from this call on (0: always)
  int idleLevel = 99;
  int room = 0;
  HWND board = nullptr;
  bool haveStored = false;
  RECT stored{};
  int layoutReset = 0;
  int screenWidth = 1024, screenHeight = 768;
  std::vector<int> menuCommands;
  std::vector<int> accelerators;  // each enable (1) or disable (0)
  std::vector<int> numberedWindows;
  void* canvasBoard = nullptr;
  std::vector<RGBQUAD> canvas;
} g_watch;

void WatchLinks() {
  ResetFrameLinks();
  FrameLinks& l = GetFrameLinks();
  l.programFolder = [] { return g_watch.folder.c_str(); };
  l.windowCloseSoundOn = [] { return g_watch.closeSound; };
  l.playGameSound = [](int s) { g_watch.sounds.push_back(s); };
  l.reacquireSoundDevice = [] {
    ++g_watch.reacquireCalls;
    return g_watch.deviceBackAfter && g_watch.reacquireCalls >= g_watch.deviceBackAfter ? 1 : 0;
  };
  l.setIdleLevel = [](int level) { g_watch.idleLevel = level; };
  l.currentRoom = [] { return g_watch.room; };
  l.roomBoardWindow = [] { return g_watch.board; };
  l.storedWindowRect = [](int id, RECT* out) {
    if (id == 1) {  // the room window's
      *out = RECT{5, 6, 7, 8};
      return 1;
    }
    if (id != 0 || !g_watch.haveStored) return 0;
    *out = g_watch.stored;
    return 1;
  };
  l.setLayoutReset = [](int r) { g_watch.layoutReset = r; };
  l.screenSize = [](int* w, int* h) {
    *w = g_watch.screenWidth;
    *h = g_watch.screenHeight;
  };
  l.enableAccelerators = [](int on) { g_watch.accelerators.push_back(on); };
  l.enableNumberedWindows = [](int on) { g_watch.numberedWindows.push_back(on); };
  l.setBoardCanvasColours = [](void* board, const RGBQUAD* table) {
    g_watch.canvasBoard = board;
    g_watch.canvas.assign(table, table + 256);
  };
  l.mainMenuCommand = [](HWND, int id) {
    g_watch.menuCommands.push_back(id);
    return 1;
  };
}

std::string TempFolder(const char* leaf) {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  std::string folder = std::string(base) + leaf;
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void ResetWatch() {
  g_watch = Watch{};
  g_watch.folder = TempFolder("rw_frame_nofont");
  RECT desk;
  GetWindowRect(GetDesktopWindow(), &desk);
  g_watch.screenWidth = desk.right - desk.left;
  g_watch.screenHeight = desk.bottom - desk.top;
  WatchLinks();
}

// The 8-bit colour table of a BMP file.
std::vector<RGBQUAD> BmpColours(const std::string& path) {
  std::vector<RGBQUAD> table;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return table;
  BITMAPFILEHEADER fh;
  BITMAPINFOHEADER ih;
  if (std::fread(&fh, sizeof fh, 1, f) == 1 && std::fread(&ih, sizeof ih, 1, f) == 1 && ih.biBitCount == 8) {
    std::fseek(f, long(sizeof fh + ih.biSize), SEEK_SET);
    table.resize(256);
    if (std::fread(table.data(), sizeof(RGBQUAD), 256, f) != 256) table.clear();
  }
  std::fclose(f);
  return table;
}

// The twenty static colours as the system gives them.
std::vector<PALETTEENTRY> StaticColours() {
  std::vector<PALETTEENTRY> out(256);
  HDC screen = GetDC(nullptr);
  const UINT got = GetSystemPaletteEntries(screen, 0, 256, out.data());
  ReleaseDC(nullptr, screen);
  if (got == 256) return out;
  PALETTEENTRY stock[20];
  GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0, 20, stock);
  for (int i = 0; i < 10; ++i) {
    out[i] = stock[i];
    out[246 + i] = stock[10 + i];
  }
  return out;
}

// The program font as the build makes it, or a Debian font standing in
// for it while the build makes none.
std::string FontSource() {
  std::string made = kProgdata + "/rwonyx.ttf";
  for (char& ch : made)
    if (ch == '/') ch = '\\';
  if (GetFileAttributesA(made.c_str()) != INVALID_FILE_ATTRIBUTES) return made;
  return "Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
}

COLORREF PaletteColour(int index) {
  PALETTEENTRY e;
  GetPaletteEntries(GetAppPalette(), UINT(index), 1, &e);
  return RGB(e.peRed, e.peGreen, e.peBlue);
}

COLORREF WindowPixel(HWND window, int x, int y) {
  HDC dc = GetWindowDC(window);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

// ---------------------------------------------------------------------------
// Look and feel

TEST(Look, PaletteHoldsTheSystemColoursAroundTheProgramsOwn) {
  ResetWatch();
  DeleteAppPalette();
  HPALETTE palette = CreateAppPalette();
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(CreateAppPalette(), palette);  // one palette for the whole run
  PALETTEENTRY e[256];
  ASSERT_EQ(GetPaletteEntries(palette, 0, 256, e), 256u);
  const std::vector<RGBQUAD> pal = BmpColours(kProgdata + "/PAL.bmp");
  ASSERT_EQ(pal.size(), 256u);
  const std::vector<PALETTEENTRY> system = StaticColours();
  for (int i = 0; i < 256; ++i) {
    const bool own = i >= 10 && i <= 245;
    if (own) {
      EXPECT_EQ(RGB(e[i].peRed, e[i].peGreen, e[i].peBlue), RGB(pal[i].rgbRed, pal[i].rgbGreen, pal[i].rgbBlue)) << i;
      EXPECT_EQ(e[i].peFlags, PC_NOCOLLAPSE) << i;
    } else {
      EXPECT_EQ(RGB(e[i].peRed, e[i].peGreen, e[i].peBlue),
                RGB(system[i].peRed, system[i].peGreen, system[i].peBlue))
          << i;
      EXPECT_EQ(e[i].peFlags, 0) << i;
    }
  }
}

TEST(Look, ProgramFontFillsTheFiveSlotsOrLeavesTheFallBack) {
  ResetWatch();
  // Without the font file no slot is filled: the toolkit's fall-back fonts.
  ASSERT_EQ(RegisterProgramFonts(), 0);
  for (int slot = 0; slot < 6; ++slot) EXPECT_EQ(cguiGetFont(slot), nullptr) << slot;
  FreeLookAndFeel(nullptr);

  // With a font file in the program folder (a Debian font standing in for
  // the program's), the five slots carry the program face and sizes.
  g_watch.folder = TempFolder("rw_frame_font");
  const std::string file = g_watch.folder + "\\" + kProgramFontFile;
  ASSERT_TRUE(CopyFileA(FontSource().c_str(), file.c_str(), FALSE));
  ASSERT_EQ(RegisterProgramFonts(), 1);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const int table[5][3] = {{0, 10, 800}, {1, 11, 800}, {2, 9, 500}, {3, 16, 600}, {4, 20, 600}};
  for (const auto& row : table) {
    HFONT font = cguiGetFont(row[0]);
    ASSERT_NE(font, nullptr) << row[0];
    LOGFONTA lf;
    ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
    EXPECT_STREQ(lf.lfFaceName, "RookwellOnyx") << row[0];
    EXPECT_EQ(lf.lfHeight, -MulDiv(row[1], dpi, 72)) << row[0];
    EXPECT_EQ(lf.lfWeight, row[2]) << row[0];
  }
  EXPECT_EQ(cguiGetFont(5), nullptr);
  FreeLookAndFeel(nullptr);
  EXPECT_EQ(cguiGetFont(0), nullptr);
  // The file is no longer held by the font table, so it can go.
  EXPECT_TRUE(DeleteFileA(file.c_str()));
}

TEST(Look, WithoutSkinresStartGoesOnWithPlainDefaults) {
  ResetWatch();
  CreateAppPalette();
  EXPECT_EQ(InitLookAndFeelFrom("NoSuchSkin.dll"), nullptr);
  EXPECT_EQ(GetSkinModule(), nullptr);
  CwDefaults* d = cwGetDefaultData();
  ASSERT_NE(d, nullptr);  // framed windows can still be made
  EXPECT_EQ(d->palette, GetAppPalette());
  EXPECT_FALSE(d->sizable.present);
  EXPECT_FALSE(d->menuLook.present);
  FreeLookAndFeel(nullptr);
}

TEST(Look, DefaultsInstalledFromSkinresCarryItsPictures) {
  ResetWatch();
  CreateAppPalette();
  HINSTANCE skin = InitLookAndFeel();
  ASSERT_NE(skin, nullptr);
  CwDefaults* d = cwGetDefaultData();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->resourceModule, skin);
  EXPECT_EQ(d->palette, GetAppPalette());
  EXPECT_EQ(d->mapColours, 1);
  for (const CwFrameBitmapSet* s : {&d->sizable, &d->border, &d->dialog}) {
    EXPECT_TRUE(s->prepared);
    EXPECT_NE(s->Piece(FW_TOPLEFT), nullptr);
    EXPECT_NE(s->Piece(FW_CAPTION + 1), nullptr);
    EXPECT_NE(s->Piece(FW_BACKGROUND), nullptr);
    EXPECT_EQ(s->textMode, 1);
    EXPECT_EQ(s->textColour[0], 23u);
    EXPECT_EQ(s->textColour[1], 242u);
  }
  EXPECT_EQ(d->border.Piece(FW_TOGGLE), nullptr);  // the border set has no toggle button
  EXPECT_TRUE(d->menuLook.imagesLoaded);
  EXPECT_NE(d->menuLook.barBackground[1], nullptr);
  EXPECT_NE(d->menuLook.frame[7], nullptr);
  EXPECT_EQ(d->menuLook.statusBase, 8000);
  EXPECT_NE(d->statusLook.separator, nullptr);
  EXPECT_EQ(d->statusLook.progressColour, 192);
  EXPECT_EQ(d->statusLook.textColour, 238);

  CcDefaults* c = ccGetDefaultData();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->resourceModule, skin);
  EXPECT_EQ(std::string(c->programFolder), g_watch.folder + "\\");
  EXPECT_NE(c->ncPainter, nullptr);
  EXPECT_EQ(c->lightEdge, 191);
  EXPECT_EQ(c->darkEdge, 20);
  // Every control kind's pictures came from Skinres.
  const PackedDib* loaded[] = {c->checkImages[0], c->radioImages[4], c->pushLeft[0], c->pushMiddle[3],
                               c->pushRight[3],   c->editFrame.pieces[7], c->listFrame.pieces[0],
                               c->tabBody,        c->tabPairs[5],  c->treeBitmaps[1],
                               c->scrollBar.verticalArrows[0], c->scrollBar.verticalThumb[8],
                               c->scrollBar.horizontalThumb[2], c->scrollBar.trackBitmaps[5]};
  for (const PackedDib* p : loaded) EXPECT_GT(reinterpret_cast<uintptr_t>(p), 0xFFFFu);
  EXPECT_EQ(c->scrollBar.notLoaded, 0);
  EXPECT_GT(c->scrollBar.verticalWidth, 0);
  FreeLookAndFeel(nullptr);
  EXPECT_EQ(GetSkinModule(), nullptr);
}

TEST(Look, ControlBorderIsLightAtTopLeftAndDarkAtBottomRight) {
  ResetWatch();
  CreateAppPalette();
  ASSERT_NE(InitLookAndFeel(), nullptr);
  HWND w = guitest::CreateTestWindow(RECT{100, 100, 260, 140},
                                     [](HWND wnd, UINT m, WPARAM wp, LPARAM, bool* handled) -> LRESULT {
                                       if (m != WM_ERASEBKGND) return 0;
                                       *handled = true;
                                       return guitest::EraseWith(wnd, wp, RGB(128, 128, 128));
                                     });
  UpdateWindow(w);
  guitest::Pump(50);
  const RECT r{0, 0, 160, 40};
  EXPECT_EQ(PaintControlBorder(nullptr, &r, ccGetDefaultData()), 0);
  EXPECT_EQ(PaintControlBorder(w, nullptr, ccGetDefaultData()), 0);
  EXPECT_EQ(PaintControlBorder(w, &r, nullptr), 0);
  ASSERT_EQ(PaintControlBorder(w, &r, ccGetDefaultData()), 1);
  const COLORREF light = PaletteColour(191), dark = PaletteColour(20);
  EXPECT_EQ(WindowPixel(w, 0, 20), light);
  EXPECT_EQ(WindowPixel(w, 80, 0), light);
  EXPECT_EQ(WindowPixel(w, 0, 0), light);
  EXPECT_EQ(WindowPixel(w, 159, 20), dark);
  EXPECT_EQ(WindowPixel(w, 80, 39), dark);
  EXPECT_EQ(WindowPixel(w, 159, 39), dark);
  EXPECT_EQ(WindowPixel(w, 80, 20), RGB(128, 128, 128));  // inside stays
  DestroyWindow(w);
  FreeLookAndFeel(nullptr);
}

TEST(Look, RevisedEntriesReachThePaletteAndTheBoardCanvas) {
  ResetWatch();
  CreateAppPalette();
  const PALETTEENTRY colours[2] = {{1, 2, 3, PC_NOCOLLAPSE}, {4, 5, 6, PC_NOCOLLAPSE}};
  EXPECT_EQ(ReviseAppPalette(nullptr, colours, 11, 2), 0);
  EXPECT_EQ(g_watch.canvasBoard, nullptr);
  PALETTEENTRY before[2];
  GetPaletteEntries(GetAppPalette(), 11, 2, before);
  int board = 0;
  ASSERT_EQ(ReviseAppPalette(&board, colours, 11, 2), 1);
  EXPECT_EQ(PaletteColour(11), RGB(1, 2, 3));
  EXPECT_EQ(PaletteColour(12), RGB(4, 5, 6));
  EXPECT_EQ(g_watch.canvasBoard, &board);
  ASSERT_EQ(g_watch.canvas.size(), 256u);
  EXPECT_EQ(g_watch.canvas[12].rgbRed, 4);
  EXPECT_EQ(g_watch.canvas[12].rgbBlue, 6);
  EXPECT_EQ(RGB(g_watch.canvas[13].rgbRed, g_watch.canvas[13].rgbGreen, g_watch.canvas[13].rgbBlue),
            PaletteColour(13));  // the rest of the table as the palette holds it
  ASSERT_EQ(ReviseAppPalette(&board, before, 11, 2), 1);
}

// ---------------------------------------------------------------------------
// Splash

HWND WaitForSplash() {
  HWND w = nullptr;
  guitest::WaitFor([&] { return (w = FindWindowA(kSplashClass, nullptr)) && IsWindowVisible(w); }, 5000);
  return w;
}

bool WaitForSplashThreadEnd(DWORD ms) {
  HANDLE t = OpenThread(SYNCHRONIZE, FALSE, SplashThreadId());
  if (!t) return true;  // already gone
  DWORD start = GetTickCount();
  bool ended = false;
  while (!(ended = WaitForSingleObject(t, 0) == WAIT_OBJECT_0) && GetTickCount() - start < ms) guitest::Pump(10);
  CloseHandle(t);
  return ended;
}

struct SplashCase {
  const char* resource;
  int width, height;
};

class Splash : public ::testing::TestWithParam<SplashCase> {};

TEST_P(Splash, BorderlessPopupCentredOnTheDesktop) {
  ResetWatch();
  CreateAppPalette();
  SplashCase c = GetParam();
  HBITMAP picture = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), c.resource, IMAGE_BITMAP, 0, 0, 0));
  ASSERT_NE(picture, nullptr);
  BITMAP bm;
  GetObjectA(picture, sizeof bm, &bm);
  DeleteObject(picture);
  if (c.width) {
    EXPECT_EQ(bm.bmWidth, c.width);
    EXPECT_EQ(bm.bmHeight, c.height);
  }
  c.width = bm.bmWidth;
  c.height = bm.bmHeight;
  ASSERT_EQ(StartSplash(c.resource), 1);
  HWND w = WaitForSplash();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(DWORD(GetWindowLongA(w, GWL_STYLE)) & ~DWORD(WS_CLIPSIBLINGS), 0x90000000u);
  RECT desk, r;
  GetWindowRect(GetDesktopWindow(), &desk);
  GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, c.width);
  EXPECT_EQ(r.bottom - r.top, c.height);
  EXPECT_EQ(r.left, (desk.right - desk.left) / 2 - c.width / 2);
  EXPECT_EQ(r.top, (desk.bottom - desk.top) / 2 - c.height / 2);
  if (c.width > desk.right - desk.left) {
    EXPECT_LT(r.left, 0);
    EXPECT_LT(r.top, 0);
  }
  EXPECT_EQ(EndSplash(), 1);
  EXPECT_TRUE(WaitForSplashThreadEnd(3000));
  EXPECT_EQ(FindWindowA(kSplashClass, nullptr), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Pictures, Splash,
                         ::testing::Values(SplashCase{"SPLASH", 0, 0}, SplashCase{"SPLASH_HUGE", 1600, 1200}),
                         [](const ::testing::TestParamInfo<SplashCase>& i) {
                           return std::string(i.param.resource[6] ? "Oversized" : "Program");
                         });

TEST(SplashEnd, AnEndPostedAtOnceStillEndsIt) {
  ResetWatch();
  CreateAppPalette();
  ASSERT_EQ(StartSplash("SPLASH"), 1);
  EXPECT_EQ(EndSplash(), 1);  // before the thread has built its window
  EXPECT_TRUE(WaitForSplashThreadEnd(3000));
  guitest::Pump(50);
  EXPECT_EQ(FindWindowA(kSplashClass, nullptr), nullptr);
}

TEST(SplashEnd, PaintsWithoutAPaletteThatNeverCame) {
  ResetWatch();
  DeleteAppPalette();
  const DWORD start = GetTickCount();
  ASSERT_EQ(StartSplash("SPLASH"), 1);
  HWND w = WaitForSplash();
  ASSERT_NE(w, nullptr);
  // The thread gives up on the palette after its wait and paints; the end
  // message is then handled at once. The picture's middle pixel shows it
  // painted (waited for: a loaded machine may take longer than the wait).
  HBITMAP picture = static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), "SPLASH", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(picture, nullptr);
  BITMAP bm;
  GetObjectA(picture, sizeof bm, &bm);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ was = SelectObject(memory, picture);
  const COLORREF middle = GetPixel(memory, bm.bmWidth / 2, bm.bmHeight / 2);
  SelectObject(memory, was);
  DeleteDC(memory);
  DeleteObject(picture);
  EXPECT_TRUE(guitest::WaitFor([&] { return WindowPixel(w, bm.bmWidth / 2, bm.bmHeight / 2) == middle; },
                               kSplashPaletteWaitMs + 8000))
      << "painted without the palette";
  ASSERT_EQ(EndSplash(), 1);
  EXPECT_TRUE(WaitForSplashThreadEnd(3000));
  EXPECT_LT(GetTickCount() - start, kSplashPaletteWaitMs + 8000) << "the wait for the palette ends";
  CreateAppPalette();
}

// ---------------------------------------------------------------------------
// Main frame

class Frame : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWatch();
    CreateAppPalette();
    ASSERT_NE(InitLookAndFeel(), nullptr);
    ASSERT_EQ(RegisterMainFrameClass(), 1);
  }
  void TearDown() override {
    if (GetMainFrame()) SendMessageA(GetMainFrame(), WM_CLOSE, 0, 1);
    guitest::Pump(30);
    UnregisterMainFrameClass();
    FreeLookAndFeel(nullptr);
  }
  HWND Shown() {
    HWND f = CreateMainFrame();
    if (!f) return nullptr;
    ShowMainFrame(0);
    SetForegroundWindow(f);
    SetFocus(f);
    guitest::Pump(150);
    return f;
  }
};

TEST_F(Frame, ClassAndCreationRecord) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), kMainFrameClass, &wc));
  EXPECT_EQ(wc.style, 0x23u);
  // Three window words: 12 bytes in the 32-bit program; this build is
  // checked for its own pointer size.
  EXPECT_EQ(wc.cbWndExtra, sizeof(void*) == 4 ? 12 : 24);
  EXPECT_EQ(wc.cbClsExtra, 0);
  EXPECT_NE(wc.hIcon, nullptr);
  EXPECT_EQ(wc.hIcon, LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101)));

  HWND f = CreateMainFrame();
  ASSERT_NE(f, nullptr);
  EXPECT_FALSE(IsWindowVisible(f));  // shown only once the first room is up
  EXPECT_EQ(MainFrameCreationParameter(), LPARAM(0xF0F0F0F0u));
  EXPECT_EQ(cwGetDefaultData()->appMainWindow, f);
  EXPECT_EQ(FindRunningMainFrame(), f);
  auto* data = reinterpret_cast<CwWindowData*>(SendMessageA(f, CWM_GETWINDOWDATA, 0, 0));
  ASSERT_NE(data, nullptr);
  EXPECT_NE(data->menuBar, nullptr);
  EXPECT_NE(data->statusBar, nullptr);
  EXPECT_NE(data->systemMenu, nullptr);
  EXPECT_TRUE(data->ownSet);
  ASSERT_NE(cmGetMenu(f), nullptr);
  MENUITEMINFOA info{};
  info.cbSize = 44;
  info.fMask = MIIM_TYPE | MIIM_ID;
  ASSERT_EQ(cmGetMenuItemInfo(cmGetMenu(f), kQuitCommand, FALSE, &info), 1);
  EXPECT_STREQ(info.dwTypeData, "&Quit\tAlt+F4");
}

TEST_F(Frame, StoredRectangleOrTheDefaultPlace) {
  const int w = g_watch.screenWidth, h = g_watch.screenHeight;
  struct Case {
    const char* name;
    bool stored;
    RECT rect;
    bool reset;
  } cases[] = {
      {"nothing stored", false, {}, true},
      {"empty", true, {50, 50, 50, 300}, true},
      {"one pixel too wide", true, {0, 0, w + 1, 500}, true},
      {"fits", true, {30, 20, 730, 520}, false},
  };
  for (const Case& c : cases) {
    g_watch.haveStored = c.stored;
    g_watch.stored = c.rect;
    g_watch.layoutReset = 0;
    HWND f = CreateMainFrame();
    ASSERT_NE(f, nullptr) << c.name;
    RECT r;
    GetWindowRect(f, &r);
    const RECT want = c.reset ? RECT{0, 0, 800, 600} : c.rect;
    EXPECT_EQ(r.left, want.left) << c.name;
    EXPECT_EQ(r.top, want.top) << c.name;
    EXPECT_EQ(r.right, want.right) << c.name;
    EXPECT_EQ(r.bottom, want.bottom) << c.name;
    EXPECT_EQ(g_watch.layoutReset, c.reset ? 1 : 0) << c.name;
    SendMessageA(f, WM_CLOSE, 0, 1);
  }
  (void)h;
}

TEST_F(Frame, TrackingLimitsAndScreenSaver) {
  HWND f = CreateMainFrame();
  ASSERT_NE(f, nullptr);
  MINMAXINFO info{};
  EXPECT_EQ(SendMessageA(f, WM_GETMINMAXINFO, 0, LPARAM(&info)), 0);
  EXPECT_EQ(info.ptMinTrackSize.x, 320);
  EXPECT_EQ(info.ptMinTrackSize.y, 280);
  EXPECT_EQ(info.ptMaxTrackSize.x, 1600);
  EXPECT_EQ(info.ptMaxTrackSize.y, 1280);
  EXPECT_EQ(SendMessageA(f, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 1);
}

// Answers the program's message box from another thread, as a user would:
// reads its text and clicks the given button.
struct BoxAnswer {
  int button = IDNO;
  std::string text;
  int seen = 0;
  bool done = false;
};

BOOL CALLBACK StaticText(HWND child, LPARAM out) {
  char cls[32], text[128];
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0)
    *reinterpret_cast<std::string*>(out) = text;
  return TRUE;
}

DWORD WINAPI AnswerBox(void* argument) {
  auto* a = static_cast<BoxAnswer*>(argument);
  HWND box = nullptr;
  for (int i = 0; i < 250 && !(box = FindWindowA("#32770", "Rookwell")); ++i) Sleep(20);
  if (box) {
    ++a->seen;
    EnumChildWindows(box, StaticText, LPARAM(&a->text));
    Sleep(150);
    RECT r;
    GetWindowRect(GetDlgItem(box, a->button), &r);
    guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }
  a->done = true;
  return 0;
}

TEST_F(Frame, CaptionCloseAltF4AndQuitAllAskExitNow) {
  HWND f = Shown();
  ASSERT_NE(f, nullptr);
  auto* data = reinterpret_cast<CwWindowData*>(SendMessageA(f, CWM_GETWINDOWDATA, 0, 0));
  ASSERT_NE(data, nullptr);
  RECT wr;
  GetWindowRect(f, &wr);
  const int32_t* close = data->regions[FR_CLOSE].rect;
  const POINT closeButton{wr.left + (close[0] + close[2]) / 2, wr.top + (close[1] + close[3]) / 2};

  struct Way {
    const char* name;
    void (*act)(POINT);
  } ways[] = {
      {"caption close button", [](POINT p) { guitest::Click(p); }},
      {"Alt+F4", [](POINT) { guitest::Chord({VK_MENU}, VK_F4); }},
      {"&Quit", [](POINT) {
         guitest::Chord({VK_MENU}, 'F');
         guitest::Pump(150);
         guitest::PressKey('Q');
       }},
  };
  for (const Way& way : ways) {
    SetForegroundWindow(f);
    guitest::Pump(50);
    BoxAnswer answer;
    answer.button = IDNO;
    HANDLE t = CreateThread(nullptr, 0, AnswerBox, &answer, 0, nullptr);
    way.act(closeButton);
    EXPECT_TRUE(guitest::WaitFor([&] { return answer.done; }, 8000)) << way.name;
    WaitForSingleObject(t, 2000);
    CloseHandle(t);
    guitest::Pump(100);
    EXPECT_EQ(answer.seen, 1) << way.name;
    EXPECT_EQ(answer.text, "Exit Now?") << way.name;
    // No leaves everything as it was.
    EXPECT_TRUE(IsWindow(f)) << way.name;
    EXPECT_TRUE(IsWindowVisible(f)) << way.name;
    EXPECT_EQ(GetMainFrame(), f) << way.name;
    EXPECT_EQ(g_watch.idleLevel, 99) << way.name;
  }
  EXPECT_TRUE(g_watch.menuCommands.empty());  // "&Quit" is the frame's own

  // Yes closes: idle level -1, the frame gone.
  BoxAnswer yes;
  yes.button = IDYES;
  HANDLE t = CreateThread(nullptr, 0, AnswerBox, &yes, 0, nullptr);
  guitest::Chord({VK_MENU}, VK_F4);
  EXPECT_TRUE(guitest::WaitFor([&] { return yes.done; }, 8000));
  WaitForSingleObject(t, 2000);
  CloseHandle(t);
  guitest::Pump(100);
  EXPECT_FALSE(IsWindow(f));
  EXPECT_EQ(GetMainFrame(), nullptr);
  EXPECT_EQ(g_watch.idleLevel, -1);
}

TEST_F(Frame, CloseWithASecondParameterDoesNotAsk) {
  HWND f = CreateMainFrame();
  ASSERT_NE(f, nullptr);
  SendMessageA(f, WM_CLOSE, 0, 1);  // a box here would block the test
  EXPECT_FALSE(IsWindow(f));
  EXPECT_EQ(g_watch.idleLevel, -1);
}

TEST_F(Frame, TypedCharactersReachTheBoardWindow) {
  std::string typed;
  g_watch.board = guitest::CreateTestWindow(RECT{900, 700, 920, 720},
                                            [&typed](HWND, UINT m, WPARAM wp, LPARAM, bool* handled) -> LRESULT {
                                              if (m != WM_CHAR) return 0;
                                              *handled = true;
                                              typed += char(wp);
                                              return 77;
                                            });
  HWND f = Shown();
  ASSERT_NE(f, nullptr);
  SetFocus(f);
  guitest::PressKey('E');
  guitest::PressKey('4');
  guitest::Pump(50);
  EXPECT_EQ(typed, "e4");
  EXPECT_EQ(SendMessageA(f, WM_CHAR, 'x', 0), 77);
  DestroyWindow(g_watch.board);
  g_watch.board = nullptr;
  EXPECT_EQ(SendMessageA(f, WM_CHAR, 'x', 0), 0);  // no board: nobody answers
}

TEST_F(Frame, CloseNoticePlaysTheCloseSoundOnlyWhenSwitchedOn) {
  HWND f = CreateMainFrame();
  ASSERT_NE(f, nullptr);
  g_watch.closeSound = 0;
  EXPECT_EQ(SendMessageA(f, CWM_NOTIFY, 2, 0), 0);
  EXPECT_TRUE(g_watch.sounds.empty());
  g_watch.closeSound = 1;
  EXPECT_EQ(SendMessageA(f, CWM_NOTIFY, 2, 0), 1);
  EXPECT_EQ(g_watch.sounds, std::vector<int>{14});
  for (WPARAM code : {0, 1, 3, 9}) EXPECT_EQ(SendMessageA(f, CWM_NOTIFY, code, 0), 0) << code;
  for (WPARAM code : {10, 11, 500}) EXPECT_EQ(SendMessageA(f, CWM_NOTIFY, code, 0), 1) << code;
  EXPECT_EQ(g_watch.sounds.size(), 1u);
}

TEST_F(Frame, LostSoundDeviceIsRetriedOnceASecond) {
  HWND f = CreateMainFrame();
  ASSERT_NE(f, nullptr);
  g_watch.reacquireCalls = 0;
  g_watch.deviceBackAfter = 0;  // stays lost
  PostMessageA(f, RWM_SOUND_BACK, 0, 0);
  guitest::Pump(2600);
  // One try at once and one a second after: not a busy loop.
  EXPECT_GE(g_watch.reacquireCalls, 2);
  EXPECT_LE(g_watch.reacquireCalls, 4);
  g_watch.deviceBackAfter = g_watch.reacquireCalls + 1;  // back at the next try
  guitest::Pump(1300);
  const int calls = g_watch.reacquireCalls;
  guitest::Pump(1300);
  EXPECT_EQ(g_watch.reacquireCalls, calls);  // once back, no more tries
}

TEST_F(Frame, StatusLinePartsByRoomAndProgressInPartOne) {
  g_watch.room = 3;
  HWND f = CreateMainFrame();
  ASSERT_NE(f, nullptr);
  SetStatusBarParts(f, 1000);
  int32_t rights[10] = {};
  ASSERT_EQ(SendMessageA(f, CWM_STATUS_RIGHTS, 10, LPARAM(rights)), 3);
  EXPECT_EQ(rights[0], 590);
  EXPECT_EQ(rights[1], 790);
  EXPECT_EQ(rights[2], 980);

  SetProgress(40);
  // Part 1 is a progress part at 40: setting 40 again answers the old 40.
  EXPECT_EQ(SendMessageA(f, CWM_STATUS_PROGRESS, 1, 40), 40);
  SetProgress(250);
  EXPECT_EQ(SendMessageA(f, CWM_STATUS_PROGRESS, 1, 100), 100);

  g_watch.room = 0;  // the lobby has one part
  SetStatusBarParts(f, 1000);
  ASSERT_EQ(SendMessageA(f, CWM_STATUS_RIGHTS, 10, LPARAM(rights)), 1);
  EXPECT_EQ(rights[0], 980);

  SetStatusText(0, "Ready");
  char text[64] = {};
  SendMessageA(f, 0x8505, 0, LPARAM(text));
  EXPECT_STREQ(text, "Ready");
  ClearStatusText();
  SendMessageA(f, 0x8505, 0, LPARAM(text));
  EXPECT_STREQ(text, "");
}

TEST_F(Frame, RoomMenuAndCommandsGoToTheRoomFirst) {
  HWND f = CreateMainFrame();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(SetMainMenu(nullptr, nullptr), 0);
  static std::vector<int> roomSaw;
  roomSaw.clear();
  CmMenu* roomMenu = cmLoadMenu(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kMainMenuId));
  ASSERT_NE(roomMenu, nullptr);
  ASSERT_EQ(SetMainMenu(roomMenu, [](HWND, WPARAM first, LPARAM) {
              roomSaw.push_back(LOWORD(first));
              return LOWORD(first) == 40018 ? 1 : 0;
            }),
            1);
  EXPECT_EQ(cmGetMenu(f), roomMenu);
  SendMessageA(f, WM_COMMAND, 40018, 0);  // the room's
  SendMessageA(f, WM_COMMAND, 40032, 0);  // the main menu's
  EXPECT_EQ(roomSaw, (std::vector<int>{40018, 40032}));
  EXPECT_EQ(g_watch.menuCommands, std::vector<int>{40032});
  // Destroying the frame frees both its first menu and the room's, once.
  DestroyMainFrame();
  EXPECT_FALSE(IsWindow(f));
}

TEST_F(Frame, InterfaceOnAndOffTogetherAndMenuLoopParksAccelerators) {
  HWND f = CreateMainFrame();
  ASSERT_NE(f, nullptr);
  EnableMainWindowUI(0);
  EXPECT_EQ(cwEnableMenu(f, 0), 1);  // the bar was already disabled
  EnableMainWindowUI(1);
  EXPECT_EQ(cwEnableMenu(f, 1), 0);
  EXPECT_EQ(g_watch.accelerators, (std::vector<int>{0, 1}));
  EXPECT_EQ(g_watch.numberedWindows, (std::vector<int>{0, 1}));
  g_watch.accelerators.clear();
  SendMessageA(f, WM_ENTERMENULOOP, 0, 0);
  SendMessageA(f, WM_EXITMENULOOP, 0, 0);
  EXPECT_EQ(g_watch.accelerators, (std::vector<int>{0, 1}));

  RECT room{};
  EXPECT_EQ(SendMessageA(f, RWM_ROOM_RECT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(f, RWM_ROOM_RECT, 0, LPARAM(&room)), LPARAM(&room));
  EXPECT_EQ(room.left, 5);
  EXPECT_EQ(room.bottom, 8);
}

// ---------------------------------------------------------------------------
// The host: the start-up steps of this part of the shell in the program's
// order, with screenshots of the splash and of the skinned frame.

// The room window that covers the frame's client area in the program,
// standing in here: the skin's client background, tiled.
LRESULT CALLBACK RoomStandIn(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m != WM_ERASEBKGND) return DefWindowProcA(w, m, wp, lp);
  HDC dc = HDC(wp);
  HPALETTE old = SelectPalette(dc, GetAppPalette(), FALSE);
  RealizePalette(dc);
  RECT r;
  GetClientRect(w, &r);
  TileBitmap(dc, cwGetDefaultData()->sizable.Piece(FW_BACKGROUND), &r);
  SelectPalette(dc, old, FALSE);
  return 1;
}

TEST(Host, SplashThenSkinnedFrameWithMenuPopupAndProgress) {
  ResetWatch();
  g_watch.room = 1;
  g_watch.folder = TempFolder("rw_frame_host");
  const std::string font = g_watch.folder + "\\" + kProgramFontFile;
  CopyFileA(FontSource().c_str(), font.c_str(), FALSE);
  DeleteAppPalette();
  ASSERT_EQ(StartSplash("SPLASH"), 1);  // before the palette: the splash waits for it
  HWND splash = WaitForSplash();
  CreateAppPalette();
  ASSERT_EQ(RegisterMainFrameClass(), 1);
  ASSERT_NE(InitLookAndFeel(), nullptr);
  HWND f = CreateMainFrame();
  ASSERT_NE(f, nullptr);
  ASSERT_NE(splash, nullptr);
  guitest::Pump(300);
  EXPECT_TRUE(Shot("splash"));
  EndSplash();
  EXPECT_TRUE(WaitForSplashThreadEnd(3000));
  WNDCLASSA wc{};
  wc.lpfnWndProc = RoomStandIn;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "RWRoomStandIn";
  RegisterClassA(&wc);
  RECT client;
  GetClientRect(f, &client);
  HWND room = CreateWindowExA(0, "RWRoomStandIn", "", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom, f,
                              nullptr, wc.hInstance, nullptr);
  EXPECT_NE(room, nullptr);
  ShowMainFrame(0);
  guitest::Pump(200);
  SetStatusText(0, "Ready");
  SetProgress(40);
  SetStatusText(2, "White to move");
  guitest::Pump(200);
  EXPECT_TRUE(Shot("main_frame"));

  guitest::Chord({VK_MENU}, 'P');  // "&Preferences"
  guitest::Pump(200);
  guitest::PressKey(VK_DOWN);
  guitest::PressKey(VK_DOWN);
  guitest::Pump(200);
  HWND drop = nullptr;
  EXPECT_TRUE(guitest::WaitFor(
      [&] {
        drop = FindWindowA("CGUIMenuPopup", nullptr);
        while (drop && !IsWindowVisible(drop)) drop = FindWindowExA(nullptr, drop, "CGUIMenuPopup", nullptr);
        return drop != nullptr;
      },
      2000));
  EXPECT_TRUE(Shot("main_frame_popup"));
  guitest::PressKey(VK_ESCAPE);
  guitest::Pump(100);
  SendMessageA(f, WM_CLOSE, 0, 1);
  guitest::Pump(50);
  UnregisterClassA("RWRoomStandIn", wc.hInstance);
  UnregisterMainFrameClass();
  FreeLookAndFeel(nullptr);
  DeleteFileA(font.c_str());
}

}  // namespace
