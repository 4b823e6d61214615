// Framed windows, the painted frame, the status bar, the menu engine and
// text rendered into bitmaps, under Wine with the library's objects linked in.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ctt_glyph.h"
#include "facet_frame.h"
#include "frame_look.h"
#include "guitest.h"
#include "menu_string.h"
#include "procdata.h"

namespace {

// What the application main window received.
struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Received> g_main;
std::vector<Received> g_owner;
std::vector<std::string> g_statusTexts;
LPARAM g_createParam =
    0;  // what the framed window's WM_CREATE saw  // CWM_SETSTATUSTEXT texts the main window got

LRESULT CALLBACK FramedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE)
    g_createParam = reinterpret_cast<LPARAM>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
  if (message == WM_COMMAND || message == CWM_MENUCLOSED || message == WM_SYSCOMMAND)
    g_owner.push_back({message, wParam, lParam});
  return cwDefWindowProc(window, message, wParam, lParam);
}

struct Frames : ::testing::Test {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND main = nullptr;
  HFONT font = nullptr;

  static void SetUpTestSuite() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    cwRegisterDialogClass(instance);
    cmRegisterPopupClass(instance);
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FramedProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.lpszClassName = "RWFramedTest";
    RegisterClassA(&wc);
  }

  void SetUp() override {
    ResetProcessDataTable();
    g_main.clear();
    g_owner.clear();
    g_statusTexts.clear();
    main = guitest::CreateTestWindow(RECT{0, 0, 50, 50}, [](HWND, UINT m, WPARAM w, LPARAM l, bool* handled) {
      if (m >= 0x8000 || m == WM_ENTERMENULOOP || m == WM_EXITMENULOOP || m == WM_INITMENUPOPUP)
        g_main.push_back({m, w, l});
      if (m == CWM_SETSTATUSTEXT && l) g_statusTexts.push_back(reinterpret_cast<const char*>(l));
      *handled = false;
      return LRESULT(0);
    });
    font = CreateFontA(-12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    CwDefaults* d = cwInit();
    ASSERT_NE(d, nullptr);
    framelook::Fill(d, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), font, font);
    ASSERT_EQ(cwSetDefaults(instance, d), 1);
    cwSetAppMainWindow(instance, main);
  }
  void TearDown() override {
    DestroyWindow(main);
    guitest::Pump(20);
    ResetProcessDataTable();
    DeleteObject(font);
  }

  HWND Create(DWORD style, uint32_t flags, RECT at = RECT{100, 100, 500, 400}) {
    CwCreateParams params{};
    params.flags = flags;
    params.menuId = 100;
    params.systemMenuId = 101;
    params.menuModule = instance;
    HWND w = cwCreateWindowEx(0, "RWFramedTest", "Framed", style | 1, at.left, at.top, at.right - at.left,
                              at.bottom - at.top, nullptr, nullptr, instance, &params);
    if (w) ShowWindow(w, SW_SHOW);
    guitest::Pump(30);
    return w;
  }

  bool MainGot(UINT message, WPARAM wParam) {
    for (const Received& r : g_main)
      if (r.message == message && r.wParam == wParam) return true;
    return false;
  }
  bool OwnerGot(UINT message, WPARAM wParam) {
    for (const Received& r : g_owner)
      if (r.message == message && r.wParam == wParam) return true;
    return false;
  }
};

const DWORD kSizable =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

std::vector<HWND> VisiblePopups() {
  std::vector<HWND> out;
  for (HWND h = FindWindowExA(nullptr, nullptr, "CGUIMenuPopup", nullptr); h;
       h = FindWindowExA(nullptr, h, "CGUIMenuPopup", nullptr))
    if (IsWindowVisible(h)) out.push_back(h);
  return out;
}

}  // namespace

TEST_F(Frames, DialogClassAndCreationNotice) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(GetClassInfoExA(instance, "cguiDialogClass", &wc));
  EXPECT_EQ(wc.style, 0x600Bu);
  HWND w = Create(kSizable, 3);
  ASSERT_NE(w, nullptr);
  guitest::Pump(50);
  bool noticed = false;
  for (const Received& r : g_main) noticed |= r.message == CWM_NOTIFY && r.wParam == 1 && HWND(r.lParam) == w;
  EXPECT_TRUE(noticed);
  EXPECT_EQ(GetWindowLongA(w, GWL_STYLE) & WS_CAPTION, 0) << "the system draws no caption";
  RECT r{100, 100, 500, 400};
  EXPECT_EQ(SendMessageA(w, WM_NCCALCSIZE, TRUE, LPARAM(&r)), 0x700);
  EXPECT_EQ(SendMessageA(w, WM_NCCALCSIZE, FALSE, LPARAM(&r)), 0);
  DestroyWindow(w);
}

TEST_F(Frames, HitTestsOfSizableAndDialogFrames) {
  HWND sizable = Create(kSizable, 0);
  HWND dialog = Create(WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, RECT{520, 100, 820, 300});
  RECT s, d;
  GetWindowRect(sizable, &s);
  GetWindowRect(dialog, &d);
  auto hit = [](HWND w, int x, int y) { return int(SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(x, y))); };
  EXPECT_EQ(hit(sizable, s.left + 2, s.top + 100), HTLEFT);
  EXPECT_EQ(hit(sizable, s.right - 2, s.bottom - 2), HTBOTTOMRIGHT);
  EXPECT_EQ(hit(sizable, s.left + 200, s.top + 12), HTCAPTION);
  EXPECT_EQ(hit(sizable, s.right - 12, s.top + 12), HTCLOSE);
  EXPECT_EQ(hit(sizable, s.left + 200, s.top + 150), HTCLIENT);
  EXPECT_EQ(hit(dialog, d.left + 1, d.top + 100), HTBORDER);
  EXPECT_EQ(hit(dialog, d.right - 1, d.bottom - 1), HTBORDER);
  EXPECT_EQ(hit(dialog, d.right - 10, d.top + 10), HTCLOSE);
  DestroyWindow(sizable);
  DestroyWindow(dialog);
}

TEST_F(Frames, MaximizeShowsTheRestoreLook) {
  HWND w = Create(kSizable, 0);
  auto* data = reinterpret_cast<CwWindowData*>(SendMessageA(w, CWM_GETWINDOWDATA, 0, 0));
  ASSERT_NE(data, nullptr);
  PackedDib* normal = data->regions[FR_MAXIMIZE].bitmaps[0];
  PackedDib* restore = data->regions[FR_RESTORE].bitmaps[0];
  ASSERT_NE(restore, nullptr);
  RECT wr;
  GetWindowRect(w, &wr);
  const int32_t* m = data->regions[FR_MAXIMIZE].rect;
  SendMessageA(w, WM_NCLBUTTONDOWN, HTMAXBUTTON, MAKELPARAM(wr.left + m[0] + 3, wr.top + m[1] + 3));
  SendMessageA(w, WM_NCLBUTTONUP, HTMAXBUTTON, MAKELPARAM(wr.left + m[0] + 3, wr.top + m[1] + 3));
  guitest::Pump(100);
  EXPECT_TRUE(IsZoomed(w));
  EXPECT_EQ(data->regions[FR_MAXIMIZE].bitmaps[0], restore);
  EXPECT_TRUE(MainGot(CWM_NOTIFY, 3));
  SendMessageA(w, WM_NCLBUTTONDOWN, HTMAXBUTTON, 0);
  SendMessageA(w, WM_NCLBUTTONUP, HTMAXBUTTON, 0);
  guitest::Pump(100);
  EXPECT_FALSE(IsZoomed(w));
  EXPECT_EQ(data->regions[FR_MAXIMIZE].bitmaps[0], normal);
  DestroyWindow(w);
}

TEST_F(Frames, StatusBarMessages) {
  HWND w = Create(kSizable, 1);
  const int32_t rights[3] = {100, 200, -1};
  ASSERT_EQ(SendMessageA(w, 0x404, 3, LPARAM(rights)), 1);
  int32_t r[4];
  ASSERT_EQ(SendMessageA(w, 0x850D, 1, LPARAM(r)), 1);
  EXPECT_EQ(r[0], 100 + 2 + 3) << "separator width + 3";
  EXPECT_EQ(SendMessageA(w, 0x8504, 255, LPARAM("first")), 1);
  char text[128];
  EXPECT_EQ(SendMessageA(w, 0x402, 0, LPARAM(text)), 1);
  EXPECT_STREQ(text, "first");
  EXPECT_EQ(SendMessageA(w, 0x8504, 256, 0), 0);
  EXPECT_EQ(SendMessageA(w, 0x403, 0, 0), 0);
  EXPECT_EQ(SendMessageA(w, 0x8504, 10, LPARAM("x")), 0);
  HWND plain = Create(kSizable, 0, RECT{520, 100, 820, 300});
  EXPECT_EQ(SendMessageA(plain, 0x8504, 0, LPARAM("x")), 0) << "no status bar";
  DestroyWindow(plain);
  DestroyWindow(w);
}

TEST_F(Frames, MenusLoadAndTrack) {
  CmMenu* menu = cmLoadMenu(instance, MAKEINTRESOURCEA(100));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->count, 4);
  EXPECT_EQ(cmCheckMenuItem(menu, 40012, MF_CHECKED), 0u) << "a sub-submenu item by id";
  EXPECT_EQ(cmEnableMenuItem(menu, 40004, MF_GRAYED), 0u);
  EXPECT_EQ(cmEnableMenuItem(menu, 40004, MF_ENABLED) & 3, 3u) << "greyed sets both bits";
  MENUITEMINFOA info{};
  info.cbSize = 48;  // the later, longer record is refused
  EXPECT_EQ(cmGetMenuItemInfo(menu, 40001, FALSE, &info), 0);
  info.cbSize = 44;
  ASSERT_EQ(cmGetMenuItemInfo(menu, 40001, FALSE, &info), 1);
  EXPECT_STREQ(info.dwTypeData, "&New game\tCtrl+N");

  CmMenu* popup = cmCreatePopupMenu();
  ASSERT_EQ(AppendMenuString(popup, 40030, 500), 1);
  EXPECT_EQ(AppendMenuString(nullptr, 1, 500), 0);
  EXPECT_STREQ(popup->items[0].text, "&Flip board");
  EXPECT_EQ(popup->items[0].mnemonic, 'F');
  HWND owner = Create(kSizable, 0);
  RECT anchor{200, 200, 200, 200};
  HWND shown = cmTrackPopupMenu(popup, &anchor, owner, 0);
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(MainGot(WM_ENTERMENULOOP, 1));
  EXPECT_TRUE(MainGot(WM_INITMENUPOPUP, WPARAM(popup)));
  CmMenu* second = cmCreatePopupMenu();
  cmAppendMenu(second, 0, 1, "x");
  EXPECT_EQ(cmTrackPopupMenu(second, &anchor, owner, 0), nullptr) << "one free-standing popup at a time";
  SendMessageA(shown, WM_KEYDOWN, 'F', 0);  // the mnemonic chooses
  guitest::Pump(50);
  EXPECT_TRUE(OwnerGot(WM_COMMAND, 40030));
  EXPECT_TRUE(OwnerGot(CWM_MENUCLOSED, 2));
  EXPECT_TRUE(MainGot(CWM_NOTIFY, 6));
  EXPECT_FALSE(IsWindowVisible(shown));
  cmDestroyMenu(second);
  cmDestroyMenu(menu);
  DestroyWindow(owner);
}

TEST_F(Frames, BarDropDownSubmenuTimerEscapeAndGreyedItems) {
  HWND w = Create(kSizable, 3);
  ASSERT_NE(w, nullptr);
  ASSERT_NE(cmGetMenu(w), nullptr);
  SendMessageA(w, WM_SYSCOMMAND, SC_KEYMENU, 'g');
  guitest::Pump(50);
  std::vector<HWND> open = VisiblePopups();
  ASSERT_EQ(open.size(), 1u);
  HWND drop = open[0];
  EXPECT_EQ(cmGetMenu(w)->hot, 0);
  // The greyed "Save" (index 4): Enter leaves the popup open and sends nothing.
  for (int i = 0; i < 4; ++i) SendMessageA(drop, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(drop, WM_KEYDOWN, VK_RETURN, 0);
  guitest::Pump(30);
  EXPECT_TRUE(IsWindowVisible(drop));
  EXPECT_FALSE(OwnerGot(WM_COMMAND, 40003));
  // The status text of the selected command ("Open": string 48002).
  SendMessageA(drop, WM_KEYDOWN, VK_UP, 0);
  SendMessageA(drop, WM_KEYDOWN, VK_UP, 0);  // separator skipped: "Open"
  bool status = false;
  for (const Received& r : g_main) status |= r.message == CWM_NOTIFY && r.wParam == 8;
  EXPECT_TRUE(status);
  ASSERT_FALSE(g_statusTexts.empty());
  EXPECT_EQ(g_statusTexts.back(), "Open a saved game");  // status base 8000 + command 40002
  // The mouse resting on "Recent games" opens it after 300 ms (timer 99).
  const int32_t* item = cmGetMenu(w)->items[0].subItems[3].rect;
  SendMessageA(drop, WM_MOUSEMOVE, 0, MAKELPARAM(item[0] + 5, item[1] + 2));
  EXPECT_EQ(VisiblePopups().size(), 1u);
  ASSERT_TRUE(guitest::WaitForTimer(drop, 99, 1, 2000));
  guitest::Pump(30);
  open = VisiblePopups();
  ASSERT_EQ(open.size(), 2u);
  HWND sub = open[0] == drop ? open[1] : open[0];
  // Escape in the submenu closes the chain; the framed window hears of it.
  g_owner.clear();
  SendMessageA(sub, WM_KEYDOWN, VK_ESCAPE, 0);
  guitest::Pump(30);
  EXPECT_TRUE(VisiblePopups().empty());
  EXPECT_TRUE(OwnerGot(CWM_MENUCLOSED, 1));
  EXPECT_EQ(cmGetMenu(w)->hot, -1);
  EXPECT_TRUE(MainGot(WM_EXITMENULOOP, 0));
  DestroyWindow(w);
}

TEST_F(Frames, PopupsFlipAtTheScreenEdge) {
  CmMenu* popup = cmCreatePopupMenu();
  cmAppendMenu(popup, 0, 1, "A fairly long item text");
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  RECT anchor{sw - 10, sh - 5, sw - 2, sh - 2};
  HWND shown = cmTrackPopupMenu(popup, &anchor, main, 0);
  ASSERT_NE(shown, nullptr);
  RECT r;
  GetWindowRect(shown, &r);
  EXPECT_EQ(r.right, sw - 2) << "opens to the left of the anchor";
  EXPECT_EQ(r.bottom, sh - 5) << "opens above the anchor";
  SendMessageA(shown, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST(CttText, DrawTextFamily) {
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontA(-20, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, NONANTIALIASED_QUALITY, 0, "Arial");
  HGDIOBJ old = SelectObject(dc, font);
  PackedDib* tiny = framelook::Solid(8, 8, 77);
  EXPECT_EQ(cttBasicString(dc, "Rookwell", tiny, 0), nullptr) << "colour image smaller than the text";
  EXPECT_EQ(cttBasicString(dc, "", tiny, 0), nullptr);
  PackedDib* colours = framelook::Solid(300, 40, 77);
  PackedDib* text = cttBasicString(dc, "Rookwell", colours, 0);
  ASSERT_NE(text, nullptr);
  int zero = 0, ink = 0, other = 0;
  for (int y = 0; y < text->biHeight; ++y)
    for (int x = 0; x < text->biWidth; ++x) {
      int v = *static_cast<uint8_t*>(dibGetPixelAddress(text, x, y));
      (v == 0 ? zero : v == 77 ? ink : other)++;
    }
  EXPECT_GT(zero, ink) << "index 0 is the background";
  EXPECT_GT(ink, 20);
  EXPECT_EQ(other, 0);
  cttFreeDib(text);

  // The inside of an O keeps the inside colour; the rest of the background
  // takes the outside colour.
  PackedDib* o = ctt3ColorString(dc, "O", colours, 0, 10, 20, 30);
  ASSERT_NE(o, nullptr);
  auto at = [&](int x, int y) { return int(*static_cast<uint8_t*>(dibGetPixelAddress(o, x, y))); };
  EXPECT_EQ(at(0, 0), 20);
  EXPECT_EQ(at(o->biWidth / 2, o->biHeight / 2), 30);
  bool stroke = false;
  for (int x = 0; x < o->biWidth; ++x) stroke |= at(x, o->biHeight / 2) == 10;
  EXPECT_TRUE(stroke);
  cttFreeDib(o);
  dibDelete(colours);
  dibDelete(tiny);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
}

TEST(CttText, GlyphFamily) {
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontA(20, 0, 0, 0, 400, 0, 0, 0, 0, OUT_TT_PRECIS, 0, 0, 0, "Arial");
  HGDIOBJ old = SelectObject(dc, font);
  PackedDib* colours = framelook::Solid(400, 60, 55);
  MAT2 plain;
  cttSetMat(reinterpret_cast<CttMat2*>(&plain), 1.0, 1.0, 0, 0);
  GLYPHMETRICS gm;
  // Letters stand upright: the foot of an L has more ink than its top.
  PackedDib* l = cttLetter(dc, 'L', colours, &plain, &gm);
  ASSERT_NE(l, nullptr);
  auto ink = [](PackedDib* d, int y) {
    int n = 0;
    for (int x = 0; x < d->biWidth; ++x) n += *static_cast<uint8_t*>(dibGetPixelAddress(d, x, y)) != 0;
    return n;
  };
  EXPECT_GT(ink(l, l->biHeight - 1), ink(l, 0));
  cttFreeDib(l);

  PackedDib* word = cttString(dc, "Rook", colours, &plain, &gm);
  ASSERT_NE(word, nullptr);
  EXPECT_EQ(int(gm.gmBlackBoxX), word->biWidth);
  cttFreeDib(word);

  // Strings longer than 256 characters are cut there.
  std::string longText(300, 'i');
  PackedDib* cut = cttString(dc, longText.c_str(), colours, &plain, &gm);
  PackedDib* full = cttString(dc, longText.substr(0, 256).c_str(), colours, &plain, &gm);
  ASSERT_NE(cut, nullptr);
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(cut->biWidth, full->biWidth);
  cttFreeDib(cut);
  cttFreeDib(full);

  MAT2 turned;
  cttSetRotationMat(reinterpret_cast<CttMat2*>(&turned), 90);
  PackedDib* vertical = cttStringVertical(dc, "ABC", colours, &turned, &gm);
  EXPECT_NE(vertical, nullptr);
  cttFreeDib(vertical);
  cttFreeCache();
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);

  // Raised text of depth 3 is 4 pixels larger each way than the plain string.
  HWND w = CreateWindowExA(0, "static", "", WS_POPUP, 0, 0, 10, 20, nullptr, nullptr, nullptr, nullptr);
  HDC wdc = GetDC(w);
  HFONT same = CreateFontA(20, 10, 0, 0, 400, 0, 0, 0, 0, OUT_TT_PRECIS, 0, 0, 0, "Arial");
  old = SelectObject(wdc, same);
  PackedDib* flat = cttString(wdc, "Rook", colours, &plain, &gm);
  SelectObject(wdc, old);
  DeleteObject(same);
  ReleaseDC(w, wdc);
  DestroyWindow(w);
  PackedDib* raised = cttString3D("Rook", "Arial", 10, 20, colours, &plain, &gm, 3, 12);
  ASSERT_NE(flat, nullptr);
  ASSERT_NE(raised, nullptr);
  EXPECT_EQ(raised->biWidth, flat->biWidth + 4);
  EXPECT_EQ(raised->biHeight, flat->biHeight + 4);
  cttFreeDib(flat);
  cttFreeDib(raised);

  std::string words;
  while (words.size() < 512) words += "pawn ";
  words.resize(512);
  EXPECT_EQ(cttParagraph(words.c_str(), "Arial", 0, 14, colours, &plain, &gm, 200), nullptr);
  PackedDib* para = cttParagraph(words.substr(0, 60).c_str(), "Arial", 0, 14, colours, &plain, &gm, 120);
  ASSERT_NE(para, nullptr);
  EXPECT_LE(para->biWidth, 120);
  EXPECT_GT(para->biHeight, 3 * 10) << "several lines";
  cttFreeDib(para);
  cttFreeCache();
  dibDelete(colours);

  CttBuildStruct* b = cttCreateBuildStruct();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->size, 128);
  EXPECT_EQ(b->charImage->biWidth, 64);
  EXPECT_EQ(cttSetBuilderCharDib(b, -1, -20, -1), 1);
  EXPECT_EQ(b->charImage->biWidth, 64);
  EXPECT_EQ(b->charImage->biHeight, 20);
  EXPECT_EQ(cttSetBuilderTextColor(b, 256), 0);
  EXPECT_EQ(cttSetBuilderCharDib(b, 10, 2000, -1), 0);
  cttSetBuilderCharDib(b, 300, 40, 33);
  PackedDib* built = cttBuilderString(b, "Knight");
  EXPECT_NE(built, nullptr);
  cttFreeDib(built);
  CttBuildStruct fake{};
  EXPECT_EQ(cttFreeBuildStruct(&fake), 0);
  EXPECT_EQ(cttFreeBuildStruct(b), 1);
}

TEST_F(Frames, StyleWithoutBitZeroIgnoresTheCreationRecord) {
  CwCreateParams params{};
  params.flags = 3;
  params.menuId = 100;
  params.menuModule = instance;
  HWND w = cwCreateWindowEx(0, "RWFramedTest", "Plain", kSizable, 100, 100, 300, 200, nullptr, nullptr,
                            instance, &params);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(cmGetMenu(w), nullptr);
  EXPECT_EQ(SendMessageA(w, 0x8504, 0, LPARAM("x")), 0);
  DestroyWindow(w);
}

TEST_F(Frames, SetMenuHandsBackTheOldMenuAndTheBarCanBeDisabled) {
  HWND w = Create(kSizable, 2);
  CmMenu* first = cmGetMenu(w);
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first->items[0].barImages[0], nullptr);
  CmMenu* other = cmCreatePopupMenu();
  cmAppendMenu(other, 0, 7, "&Only");
  EXPECT_EQ(cmSetMenu(w, other), first);
  EXPECT_EQ(first->items[0].barImages[0], nullptr) << "bar images released";
  EXPECT_NE(other->items[0].barImages[0], nullptr);
  EXPECT_EQ(cmSetMenu(w, first), other);
  cmDestroyMenu(other);
  EXPECT_EQ(cwEnableMenu(w, 0), 0);
  EXPECT_EQ(cwEnableMenu(w, 0), 1);
  SendMessageA(w, WM_SYSCOMMAND, SC_KEYMENU, 'g');
  guitest::Pump(30);
  EXPECT_TRUE(VisiblePopups().empty()) << "a disabled bar ignores keys";
  cwEnableMenu(w, 1);
  DestroyWindow(w);
}

TEST_F(Frames, FrameButtonsRunTheirCommandOnlyWhenReleasedOnThem) {
  HWND w = Create(kSizable, 0);
  auto* data = reinterpret_cast<CwWindowData*>(SendMessageA(w, CWM_GETWINDOWDATA, 0, 0));
  ASSERT_NE(data, nullptr);
  RECT wr;
  GetWindowRect(w, &wr);
  const int32_t* c = data->regions[FR_CLOSE].rect;
  POINT close{wr.left + (c[0] + c[2]) / 2, wr.top + (c[1] + c[3]) / 2};
  // Pressed, moved off and released elsewhere: nothing happens.
  SendMessageA(w, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(close.x, close.y));
  EXPECT_EQ(data->pressedMask, 1u << HTCLOSE);
  SendMessageA(w, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(close.x - 100, close.y));
  SendMessageA(w, WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(close.x - 100, close.y));
  guitest::Pump(50);
  EXPECT_TRUE(IsWindow(w));
  EXPECT_EQ(data->pressedMask, 0u);
  EXPECT_FALSE(MainGot(CWM_NOTIFY, 2));
  // A real click on the close button closes the window.
  guitest::Click(close);
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(w); }, 2000));
  EXPECT_TRUE(MainGot(CWM_NOTIFY, 2));
}

TEST_F(Frames, ClickOnTheMenuBarOpensTheDropDown) {
  HWND w = Create(kSizable, 3);
  auto* data = reinterpret_cast<CwWindowData*>(SendMessageA(w, CWM_GETWINDOWDATA, 0, 0));
  ASSERT_NE(data, nullptr);
  RECT wr;
  GetWindowRect(w, &wr);
  const int32_t* item = cmGetMenu(w)->items[1].rect;  // "Edit"
  POINT at{wr.left + data->menuBar->rect[0] + item[0] + 4, wr.top + data->menuBar->rect[1] + item[1] + 4};
  guitest::Click(at);
  EXPECT_TRUE(guitest::WaitFor([] { return VisiblePopups().size() == 1; }, 2000));
  EXPECT_EQ(cmGetMenu(w)->hot, 1);
  HWND drop = VisiblePopups().front();
  SendMessageA(drop, WM_KEYDOWN, VK_RIGHT, 0);  // nothing selected: the first item
  EXPECT_EQ(cmGetMenu(w)->items[1].subItems[0].flags & CMF_HIGHLIGHT, uint32_t(CMF_HIGHLIGHT));
  SendMessageA(drop, WM_KEYDOWN, VK_RETURN, 0);
  guitest::Pump(50);
  EXPECT_TRUE(OwnerGot(WM_COMMAND, 40020));
  EXPECT_TRUE(VisiblePopups().empty());
  EXPECT_EQ(cmGetMenu(w)->hot, -1);
  DestroyWindow(w);
}

namespace {

INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

}  // namespace

TEST_F(Frames, DialogsOfTheClassCarryTheFrameRecord) {
  // A template naming the class: header, no menu, the class, the title.
  std::vector<WORD> t(64, 0);
  auto* head = reinterpret_cast<DLGTEMPLATE*>(t.data());
  head->style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  head->cx = 120;
  head->cy = 60;
  WORD* p = reinterpret_cast<WORD*>(head + 1);
  *p++ = 0;  // no menu
  for (char ch : std::string("cguiDialogClass")) *p++ = WORD(ch);
  *p++ = 0;
  for (char ch : std::string("Skinned")) *p++ = WORD(ch);
  *p++ = 0;
  HWND dialog = CreateDialogIndirectParamA(instance, head, nullptr, DialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  auto* data = reinterpret_cast<CwWindowData*>(SendMessageA(dialog, CWM_GETWINDOWDATA, 0, 0));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(reinterpret_cast<CwWindowData*>(GetWindowLongPtrA(dialog, DLGWINDOWEXTRA)), data);
  EXPECT_EQ(data->frameKind, 2u);
  RECT wr;
  GetWindowRect(dialog, &wr);
  EXPECT_EQ(SendMessageA(dialog, WM_NCHITTEST, 0, MAKELPARAM(wr.left + 1, wr.top + 30)), HTBORDER);
  EXPECT_EQ(SendMessageA(dialog, 0x8504, 0, LPARAM("x")), 0) << "dialogs have no status bar";
  DestroyWindow(dialog);
}

TEST_F(Frames, AClickElsewhereLeavesTheMenu) {
  HWND w = Create(kSizable, 3);
  SetForegroundWindow(w);
  guitest::Pump(30);
  SendMessageA(w, WM_SYSCOMMAND, SC_KEYMENU, 'g');
  guitest::Pump(30);
  HWND drop = VisiblePopups().size() == 1 ? VisiblePopups().front() : nullptr;
  ASSERT_NE(drop, nullptr);
  SendMessageA(drop, WM_KEYDOWN, VK_UP, 0);  // wraps to "Exit"
  SendMessageA(drop, WM_KEYDOWN, VK_UP, 0);
  SendMessageA(drop, WM_KEYDOWN, VK_UP, 0);  // "Recent games"
  SendMessageA(drop, WM_KEYDOWN, VK_RIGHT, 0);
  guitest::Pump(30);
  ASSERT_EQ(VisiblePopups().size(), 2u);
  RECT wr;
  GetWindowRect(w, &wr);
  guitest::Click(POINT{wr.right - 40, wr.bottom - 60});
  EXPECT_TRUE(guitest::WaitFor([] { return VisiblePopups().empty(); }, 2000));
  EXPECT_EQ(cmGetMenu(w)->hot, -1);
  DestroyWindow(w);
}

TEST_F(Frames, AdjustWindowRectAndMainWindow) {
  RECT r{10, 20, 110, 120};
  EXPECT_EQ(cwAdjustWindowRect(&r, WS_POPUP, 1), 1);
  EXPECT_EQ(r.right, 110) << "no frame bits: unchanged";
  EXPECT_EQ(r.bottom, 120);
  EXPECT_EQ(cwAdjustWindowRect(&r, WS_CAPTION, 0), 1);  // the dialog set: edges 4, bottom 22, caption 18
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.right, 118);
  EXPECT_EQ(r.bottom, 164);
  EXPECT_EQ(cwAdjustWindowRect(&r, WS_THICKFRAME, 1), 1);  // sizable: edges 6, menu bar row 20
  EXPECT_EQ(r.right, 130);
  EXPECT_EQ(r.bottom, 164 + 6 + 22 + 20);
  EXPECT_EQ(cwAdjustWindowRect(nullptr, WS_CAPTION, 0), 0);
  HWND other = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(cwSetAppMainWindow(instance, other), main);
  EXPECT_EQ(cwSetAppMainWindow(instance, main), other);
}

TEST_F(Frames, HoverSwitchesTheOpenDropDownPastSixPixels) {
  HWND w = Create(kSizable, 3);
  SetForegroundWindow(w);
  auto* data = reinterpret_cast<CwWindowData*>(SendMessageA(w, CWM_GETWINDOWDATA, 0, 0));
  ASSERT_NE(data, nullptr);
  RECT wr;
  GetWindowRect(w, &wr);
  CmMenu* menu = cmGetMenu(w);
  auto barPoint = [&](int index, int dx) {
    const int32_t* r = menu->items[index].rect;
    return POINT{wr.left + data->menuBar->rect[0] + (dx < 0 ? r[2] + dx : r[0] + dx),
                 wr.top + data->menuBar->rect[1] + (r[1] + r[3]) / 2};
  };
  guitest::Click(barPoint(0, 5));  // Game opens
  ASSERT_TRUE(guitest::WaitFor([] { return VisiblePopups().size() == 1; }, 2000));
  HWND drop = VisiblePopups().front();
  g_main.clear();
  // Onto the right end of Edit: the drop-down switches to it there.
  guitest::MoveMouse(barPoint(1, -2));
  EXPECT_TRUE(guitest::WaitFor([&] { return menu->hot == 1; }, 2000));
  EXPECT_EQ(VisiblePopups().size(), 1u);
  EXPECT_EQ(VisiblePopups().front(), drop) << "the same popup shows the new menu";
  for (const Received& r : g_main) EXPECT_NE(r.message, UINT(WM_INITMENUPOPUP)) << "no new popup was made";
  // Four pixels on, into View: jitter, no switch.
  POINT view = barPoint(2, 1);
  ASSERT_LT(view.x - barPoint(1, -2).x, 6);
  guitest::MoveMouse(view);
  guitest::Pump(100);
  EXPECT_EQ(menu->hot, 1);
  guitest::MoveMouse(barPoint(2, 10));
  EXPECT_TRUE(guitest::WaitFor([&] { return menu->hot == 2; }, 2000));
  SendMessageA(drop, WM_KEYDOWN, VK_ESCAPE, 0);
  guitest::Pump(30);
  EXPECT_TRUE(VisiblePopups().empty());
  DestroyWindow(w);
}

TEST_F(Frames, OwnFrameSetWithRenderedCaption) {
  CwCreateParams params{};
  params.frame = cwGetDefaultData()->sizable;
  params.frame.prepared = 0;
  params.frame.textMode = 3;
  params.frame.textX = 20;
  params.frame.textY = 2;
  params.appParam = 0x5150;
  HWND w = cwCreateWindowEx(0, "RWFramedTest", "Caption text", kSizable | 1, 100, 100, 400, 300, nullptr,
                            nullptr, instance, &params);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(g_createParam, 0x5150) << "WM_CREATE sees the application's parameter";
  EXPECT_EQ(params.flags & 0x10000, 0x10000u);
  auto* data = reinterpret_cast<CwWindowData*>(SendMessageA(w, CWM_GETWINDOWDATA, 0, 0));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->ownSet, 1u);
  PackedDib* caption = data->regions[FR_CAPTION].bitmaps[0];
  ASSERT_NE(caption, nullptr);
  int text = 0;
  for (int y = 0; y < caption->biHeight; ++y)
    for (int x = 0; x < caption->biWidth; ++x)
      text += *static_cast<uint8_t*>(dibGetPixelAddress(caption, x, y)) == framelook::kCaptionText;
  EXPECT_GT(text, 20) << "the window text is rendered into the caption bitmap";
  DestroyWindow(w);
  CwCreateParams plainParams{};
  plainParams.menuId = 100;
  plainParams.systemMenuId = 101;
  plainParams.menuModule = instance;
  HWND plain = cwCreateWindowEx(0, "RWFramedTest", "Framed", kSizable | 1, 100, 100, 400, 300, nullptr, nullptr,
                                instance, &plainParams);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(g_createParam, reinterpret_cast<LPARAM>(&plainParams)) << "without an own set: the record";
  DestroyWindow(plain);
}

TEST_F(Frames, SystemMenuFromTheIcon) {
  HWND w = Create(kSizable, 2);
  auto* data = reinterpret_cast<CwWindowData*>(SendMessageA(w, CWM_GETWINDOWDATA, 0, 0));
  ASSERT_NE(data, nullptr);
  ASSERT_NE(data->systemMenu, nullptr);
  SendMessageA(w, WM_NCLBUTTONDOWN, HTSYSMENU, 0);
  guitest::Pump(30);
  ASSERT_EQ(VisiblePopups().size(), 1u);
  EXPECT_TRUE(MainGot(WM_INITMENUPOPUP, WPARAM(data->systemMenu)));
  SendMessageA(VisiblePopups().front(), WM_KEYDOWN, 'C', 0);
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(w); }, 2000));
  EXPECT_TRUE(MainGot(CWM_NOTIFY, 2));
  EXPECT_FALSE(MainGot(CWM_NOTIFY, 6)) << "system-menu choices are not reported as menu choices";
}
