// The edit control on real windows under Wine: typing, selection and caret
// keys, the clipboard, read-only rules, focus notifications, arrow-key
// scrolling, the library scroll bar and the frame and colours painted from
// the control defaults.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "controls.h"
#include "facet.h"
#include "guitest.h"
#include "procdata.h"
#include "scroll_bars.h"
#include "test_bitmaps.h"

namespace {

constexpr COLORREF kBackground = RGB(250, 240, 200);  // palette entry 1
constexpr COLORREF kText = RGB(0, 0, 160);            // palette entry 2
constexpr int kEditId = 7;

// Entry n is (n, 255 - n, n / 2), the colour of pixel n of the test
// bitmaps, but for the edit's background (1) and text (2).
HPALETTE MakePalette(COLORREF background) {
  struct {
    WORD version, count;
    PALETTEENTRY entries[256];
  } log{0x300, 256, {}};
  for (int i = 0; i < 256; ++i) log.entries[i] = PALETTEENTRY{BYTE(i), BYTE(255 - i), BYTE(i / 2), 0};
  log.entries[1] = PALETTEENTRY{GetRValue(background), GetGValue(background), GetBValue(background), 0};
  log.entries[2] = PALETTEENTRY{GetRValue(kText), GetGValue(kText), GetBValue(kText), 0};
  return CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
}

std::string Text(HWND edit) {
  char buffer[512] = "";
  GetWindowTextA(edit, buffer, sizeof buffer);
  return buffer;
}

std::string Clipboard() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "<no clipboard>";
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    if (auto* p = static_cast<const char*>(GlobalLock(h))) text = p;
    GlobalUnlock(h);
  }
  CloseClipboard();
  return text;
}

void SetClipboard(const char* text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
  memcpy(GlobalLock(h), text, strlen(text) + 1);
  GlobalUnlock(h);
  SetClipboardData(CF_TEXT, h);
  CloseClipboard();
}

void Type(const char* keys) {
  for (const char* k = keys; *k; ++k) guitest::PressKey(WORD(*k));
}

std::pair<int, int> Selection(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageA(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  return {int(start), int(end)};
}

void Button(bool up) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = up ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &in, sizeof in);
  guitest::Pump(30);
}

ScrollBarPair* LibraryBar(HWND edit) {
  WNDCLASSA system{};
  GetClassInfoA(nullptr, "edit", &system);
  return reinterpret_cast<ScrollBarPair*>(GetWindowLongPtrA(edit, system.cbWndExtra + 8));
}

int BarPosition(HWND edit) {
  ScrollInfo info{};
  info.size = sizeof info;
  sbarGetInfo(LibraryBar(edit), 1, &info);
  return info.position;
}

// A parent that records the commands it gets and, as the library's dialogs
// do, hands the colour questions of library controls back to them.
struct Edit : ::testing::Test {
  std::vector<std::pair<WPARAM, LPARAM>> commands;
  HWND host = nullptr;
  HPALETTE palette = nullptr;

  void SetUp() override { Start(kBackground, true); }
  void Start(COLORREF background, bool frame) {
    ResetProcessDataTable();
    RegisterControlClasses(GetModuleHandleA(nullptr));
    CcDefaults* d = ccInit(nullptr);
    d->resourceModule = GetModuleHandleA(nullptr);  // the test program holds the frame pieces
    if (frame)
      for (int i = 0; i < FP_COUNT; ++i) d->editFrame.pieces[i] = CcBitmapId(kEditFrameFirstId + i);
    palette = MakePalette(background);
    d->palette = palette;
    d->editBackground = 1;
    d->editText = 2;
    ccSetControlData(nullptr, d);
    host = guitest::CreateTestWindow(RECT{0, 0, 400, 300},
                                     [this](HWND, UINT m, WPARAM wp, LPARAM lp, bool* handled) -> LRESULT {
                                       if (m == WM_COMMAND) commands.push_back({wp, lp});
                                       if (m == WM_CTLCOLOREDIT || m == WM_CTLCOLORSTATIC) {
                                         *handled = true;
                                         return SendMessageA(HWND(lp), m, wp, lp);
                                       }
                                       return 0;
                                     });
  }
  void TearDown() override {
    DestroyWindow(host);
    UnregisterControlClasses();
    ResetProcessDataTable();
    DeleteObject(palette);
  }
  HWND Make(const char* text, DWORD style, RECT r = RECT{20, 20, 220, 50}, DWORD ex = 0) {
    return CreateWindowExA(ex, "CGUIEdit", text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, host, HMENU(kEditId), nullptr, nullptr);
  }
  // Real keyboard input goes to the focused edit of the foreground host.
  void Focus(HWND edit) {
    SetForegroundWindow(host);
    SetFocus(edit);
    guitest::Pump(50);
  }
  int Count(HWND edit, WORD code) {
    int n = 0;
    for (auto& c : commands)
      n += HIWORD(c.first) == code && LOWORD(c.first) == kEditId && HWND(c.second) == edit;
    return n;
  }
};

TEST_F(Edit, TypingEditsTheTextAndTellsTheParentUpToTheLimit) {
  HWND e = Make("", WS_BORDER | ES_AUTOHSCROLL);
  ASSERT_NE(e, nullptr);
  Focus(e);
  Type("E4");
  EXPECT_EQ(Text(e), "e4");
  EXPECT_EQ(Count(e, EN_CHANGE), 2);
  EXPECT_EQ(Count(e, EN_UPDATE), 2);
  guitest::PressKey(VK_BACK);
  EXPECT_EQ(Text(e), "e");
  SendMessageA(e, EM_LIMITTEXT, 3, 0);
  Type("5678");
  EXPECT_EQ(Text(e), "e56") << "the text limit holds";
}

TEST_F(Edit, CaretKeysMoveAndShiftSelects) {
  HWND e = Make("abcdef", WS_BORDER | ES_AUTOHSCROLL);
  Focus(e);
  SendMessageA(e, EM_SETSEL, 0, 0);
  struct Step {
    std::initializer_list<WORD> held;
    WORD key;
    std::pair<int, int> selection;
  } steps[] = {
      {{}, VK_RIGHT, {1, 1}},        {{}, VK_RIGHT, {2, 2}},         {{VK_SHIFT}, VK_END, {2, 6}},
      {{}, VK_HOME, {0, 0}},         {{VK_SHIFT}, VK_RIGHT, {0, 1}}, {{}, VK_END, {6, 6}},
      {{VK_SHIFT}, VK_LEFT, {5, 6}}, {{VK_SHIFT}, VK_HOME, {0, 6}},  {{}, VK_LEFT, {0, 0}},
  };
  for (const Step& s : steps) {
    guitest::Chord(s.held, s.key);
    EXPECT_EQ(Selection(e), s.selection) << "key " << s.key;
  }
  // Typing over a selection replaces it; Delete removes the next character.
  SendMessageA(e, EM_SETSEL, 1, 3);
  Type("X");
  EXPECT_EQ(Text(e), "axdef");
  guitest::PressKey(VK_DELETE);
  EXPECT_EQ(Text(e), "axef");
}

TEST_F(Edit, CutCopyAndPasteGoThroughTheClipboard) {
  HWND e = Make("Nf3 d5", WS_BORDER | ES_AUTOHSCROLL);
  Focus(e);
  SendMessageA(e, EM_SETSEL, 0, 4);
  guitest::Chord({VK_CONTROL}, 'X');
  EXPECT_EQ(Text(e), "d5");
  EXPECT_EQ(Clipboard(), "Nf3 ");
  SendMessageA(e, EM_SETSEL, 2, 2);
  guitest::Chord({VK_CONTROL}, 'V');
  EXPECT_EQ(Text(e), "d5Nf3 ");
  SendMessageA(e, EM_SETSEL, 0, 2);
  SendMessageA(e, WM_CUT, 0, 0);
  EXPECT_EQ(Clipboard(), "d5");
  SendMessageA(e, WM_PASTE, 0, 0);
  SendMessageA(e, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(e), "d5d5Nf3 ");
}

TEST_F(Edit, ReadOnlyRefusesEveryChangeButCopies) {
  HWND e = Make("Nf3 d5", WS_BORDER | ES_READONLY | ES_AUTOHSCROLL);
  Focus(e);
  SetClipboard("Qh5");
  SendMessageA(e, EM_SETSEL, 0, 3);
  guitest::PressKey(VK_DELETE);
  Type("X");
  guitest::PressKey(VK_BACK);
  guitest::Chord({VK_CONTROL}, 'X');
  guitest::Chord({VK_CONTROL}, 'V');
  guitest::Chord({VK_SHIFT}, VK_DELETE);
  guitest::Chord({VK_SHIFT}, VK_INSERT);
  SendMessageA(e, WM_CLEAR, 0, 0);
  SendMessageA(e, WM_CHAR, 'z', 0);
  SendMessageA(e, WM_KEYDOWN, VK_DELETE, 0);
  SendMessageA(e, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(e), "Nf3 d5");
  EXPECT_EQ(Count(e, EN_CHANGE), 0);
  EXPECT_EQ(Clipboard(), "Qh5") << "nothing was cut";
  SendMessageA(e, WM_CUT, 0, 0);
  EXPECT_EQ(Text(e), "Nf3 d5") << "a cut message copies at most";
  guitest::Chord({VK_CONTROL}, 'C');
  EXPECT_EQ(Clipboard(), "Nf3");
  EXPECT_EQ(Text(e), "Nf3 d5");
  EXPECT_EQ(Selection(e), std::make_pair(0, 3));

  // Made read-only after creation, or writable again.
  HWND later = Make("Be2", WS_BORDER, RECT{20, 80, 220, 110});
  SendMessageA(later, EM_SETREADONLY, TRUE, 0);
  SendMessageA(later, EM_SETSEL, 0, -1);
  SendMessageA(later, WM_CHAR, 'x', 0);
  SendMessageA(later, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(Text(later), "Be2");
  SendMessageA(later, EM_SETREADONLY, FALSE, 0);
  SendMessageA(later, WM_CHAR, 'x', 0);
  EXPECT_EQ(Text(later), "x");
}

TEST_F(Edit, FocusIsToldToTheParentByTheLibraryAndBySystem) {
  HWND e = Make("e4", WS_BORDER);
  HWND other = Make("", WS_BORDER, RECT{20, 80, 220, 110});
  SetWindowLongPtrA(other, GWLP_ID, kEditId + 1);
  Focus(other);
  commands.clear();
  SetFocus(e);
  guitest::Pump(30);
  EXPECT_EQ(Count(e, EN_SETFOCUS), 2);
  EXPECT_EQ(Count(e, EN_KILLFOCUS), 0);
  SetFocus(other);
  guitest::Pump(30);
  EXPECT_EQ(Count(e, EN_SETFOCUS), 2);
  EXPECT_EQ(Count(e, EN_KILLFOCUS), 2);
  // The library's notification comes first: WM_COMMAND (id, code) with the
  // edit, then the system's.
  ASSERT_GE(commands.size(), 2u);
  EXPECT_EQ(commands[0].first, MAKEWPARAM(kEditId + 1, EN_KILLFOCUS));
  EXPECT_EQ(HWND(commands[0].second), other);
}

std::string Lines(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += "Move " + std::to_string(i) + "\r\n";
  return text;
}

TEST_F(Edit, UpAndDownMoveTheCaretAndScrollOneMoreLine) {
  HWND e = Make(Lines(30).c_str(), WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL, RECT{20, 20, 220, 120});
  Focus(e);
  SendMessageA(e, EM_SETSEL, 0, 0);
  guitest::PressKey(VK_DOWN);
  EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, WPARAM(-1), 0), 1);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
  guitest::PressKey(VK_DOWN);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 2);
  // Up from the top row: the caret's line comes into view, then one more.
  guitest::PressKey(VK_UP);
  EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, WPARAM(-1), 0), 1);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(Edit, VerticalScrollStyleShowsTheLibraryBarThatFollowsTheText) {
  HWND plain = Make("", WS_BORDER | ES_MULTILINE, RECT{240, 20, 380, 120});
  EXPECT_EQ(LibraryBar(plain), nullptr);
  HWND e =
      Make(Lines(40).c_str(), WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, RECT{20, 20, 220, 120});
  ASSERT_NE(LibraryBar(e), nullptr);
  EXPECT_TRUE(GetWindowLongA(e, GWL_EXSTYLE) & 0x200);
  RECT window, client;
  GetWindowRect(e, &window);
  GetClientRect(e, &client);
  const int frame = kEditLeftWidth;
  EXPECT_LT(client.right, 200 - 2 * frame) << "the bar takes a strip";
  EXPECT_EQ(client.bottom, 100 - 2 * frame);
  // The strip right of the client area answers as the vertical bar.
  POINT inBar{window.right - frame - 2, window.top + 50};
  EXPECT_EQ(SendMessageA(e, WM_NCHITTEST, 0, MAKELPARAM(inBar.x, inBar.y)), HTVSCROLL);

  Focus(e);
  SendMessageA(e, EM_SETSEL, 0, 0);
  EXPECT_EQ(BarPosition(e), 0);
  for (int i = 0; i < 3; ++i) guitest::PressKey(VK_DOWN);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 3);
  EXPECT_EQ(BarPosition(e), 3) << "the thumb follows keyboard scrolling";
  guitest::PressKey(VK_NEXT);
  EXPECT_EQ(BarPosition(e), SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0));

  // Dragging the thumb (what the bar sends its window) scrolls the text and
  // the thumb stays where it was dragged; the drag ends in a final position.
  SendMessageA(e, CCM_SETTOPROW, 12, LPARAM(e));
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 12);
  EXPECT_EQ(BarPosition(e), 12);
  SendMessageA(e, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 12), 0);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 12);
  guitest::PressKey(VK_UP);
  EXPECT_EQ(BarPosition(e), SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0)) << "the bar still follows";

  // A real click on the bar's lower arrow scrolls one line.
  int before = int(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0));
  guitest::Click(POINT{window.right - frame - 2, window.bottom - frame - 3});
  guitest::Pump(50);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), before + 1);
  EXPECT_EQ(BarPosition(e), before + 1);
  // Held down, the arrow repeats (the bar's own timer reaches the bar).
  before = int(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0));
  guitest::MoveMouse(POINT{window.right - frame - 2, window.bottom - frame - 3});
  Button(false);
  guitest::Pump(400);
  Button(true);
  EXPECT_GE(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), before + 3);
  EXPECT_EQ(BarPosition(e), SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0));
  EXPECT_EQ(Text(e), Lines(40)) << "the timer did not reach the text";

  // A real drag of the thumb scrolls the text as it goes.
  SendMessageA(e, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
  ASSERT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  const PaintedBar* painted = LibraryBar(e)->vertical;
  const SbRect thumb = painted->parts[SBP_THUMB];
  POINT grip{window.left + (thumb.left + thumb.right) / 2, window.top + (thumb.top + thumb.bottom) / 2};
  guitest::MoveMouse(grip);
  Button(false);
  for (int dy = 5; dy <= 30; dy += 5) guitest::MoveMouse(POINT{grip.x, grip.y + dy});
  guitest::Pump(50);
  int dragged = int(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0));
  EXPECT_GT(dragged, 0);
  EXPECT_EQ(BarPosition(e), dragged) << "the thumb stays where it is dragged";
  Button(true);
  guitest::Pump(50);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), dragged);
  EXPECT_EQ(GetCapture(), nullptr);
  before = dragged;

  // The wheel goes through the bar.
  SendMessageA(e, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_LT(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), before);
  EXPECT_EQ(BarPosition(e), SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0));
  DestroyWindow(e);  // frees the bar
}

TEST_F(Edit, FrameAndBackgroundArePaintedFromTheDefaults) {
  HWND e = Make("", WS_BORDER, RECT{20, 20, 120, 60});
  UpdateWindow(host);
  guitest::Pump(100);
  RECT client;
  GetClientRect(e, &client);
  EXPECT_EQ(client.right, 100 - 2 * kEditLeftWidth);
  EXPECT_EQ(client.bottom, 40 - 2 * kEditLeftWidth);
  // Piece n of the test frame is painted in colour n: (n, 255 - n, n / 2).
  auto piece = [](int id) { return RGB(id, 255 - id, id / 2); };
  EXPECT_EQ(guitest::ScreenPixel(21, 40), piece(kEditFrameFirstId + FP_LEFT));
  EXPECT_EQ(guitest::ScreenPixel(70, 21), piece(kEditFrameFirstId + FP_TOP));
  EXPECT_EQ(guitest::ScreenPixel(118, 40), piece(kEditFrameFirstId + FP_RIGHT));
  EXPECT_EQ(guitest::ScreenPixel(70, 58), piece(kEditFrameFirstId + FP_BOTTOM));
  EXPECT_EQ(guitest::ScreenPixel(60, 40), kBackground);
  // The point just inside the frame on the left is border, the client
  // area's last column is client.
  EXPECT_EQ(SendMessageA(e, WM_NCHITTEST, 0, MAKELPARAM(21, 21)), HTBORDER);
  EXPECT_EQ(SendMessageA(e, WM_NCHITTEST, 0, MAKELPARAM(20 + kEditLeftWidth + client.right - 1, 40)),
            HTCLIENT);
  // The colour questions are answered with the palette colours.
  HDC dc = GetDC(e);
  HBRUSH brush = HBRUSH(SendMessageA(e, WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(e)));
  EXPECT_EQ(brush, HBRUSH(GetClassLongPtrA(e, GCLP_HBRBACKGROUND)));
  EXPECT_EQ(GetTextColor(dc), PALETTEINDEX(2));
  EXPECT_EQ(GetBkColor(dc), PALETTEINDEX(1));
  ReleaseDC(e, dc);
  // Without the border the edit has no frame.
  HWND bare = Make("", 0, RECT{20, 80, 120, 120});
  GetClientRect(bare, &client);
  EXPECT_EQ(client.right, 100);
}

// The fixture with a background colour of the test's choice.
struct BrushFixture : Edit {
  void TestBody() override {}
};

// The main program's border painter, when it has one, paints every framed
// edit at its own width; a border style added after creation frames the
// edit from then on.
CcDefaults* g_painted = nullptr;
std::vector<RECT> g_painterRects;
void RecordingPainter(HWND, RECT* windowRect, CcDefaults* defaults) {
  g_painterRects.push_back(*windowRect);
  g_painted = defaults;
}

TEST_F(Edit, TheBorderPainterAndALaterBorder) {
  HWND late = Make("", 0, RECT{20, 80, 120, 120});
  RECT client;
  GetClientRect(late, &client);
  EXPECT_EQ(client.right, 100);
  SetWindowLongA(late, GWL_STYLE, GetWindowLongA(late, GWL_STYLE) | WS_BORDER);
  SetWindowPos(late, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  GetClientRect(late, &client);
  EXPECT_EQ(client.right, 100 - 2 * kEditLeftWidth);

  CcDefaults* d = ccGetDefaultData();
  d->ncPainter = RecordingPainter;
  d->ncFrameWidth = 5;
  g_painterRects.clear();
  HWND e = CreateWindowExA(0x800, "CGUIEdit", "", WS_CHILD | WS_VISIBLE, 20, 20, 120, 60, host,
                           HMENU(kEditId), nullptr, nullptr);
  UpdateWindow(host);
  guitest::Pump(50);
  GetClientRect(e, &client);
  EXPECT_EQ(client.right, 120 - 10) << "the library frame bit frames it too";
  EXPECT_EQ(client.bottom, 60 - 10);
  ASSERT_FALSE(g_painterRects.empty());
  EXPECT_EQ(g_painterRects.back().left, 0);
  EXPECT_EQ(g_painterRects.back().top, 0);
  EXPECT_EQ(g_painterRects.back().right, 120);
  EXPECT_EQ(g_painterRects.back().bottom, 60);
  EXPECT_EQ(g_painted, d);
  DestroyWindow(e);
  d->ncPainter = nullptr;
}

TEST(EditBrush, NearBlackBackgroundGivesTheStockBlackBrush) {
  struct Case {
    COLORREF colour;
    bool stockBlack;
  } cases[] = {{RGB(15, 9, 9), true}, {RGB(16, 0, 0), false}, {RGB(0, 10, 0), false}, {RGB(0, 0, 10), false}};
  for (const Case& c : cases) {
    BrushFixture fixture;
    fixture.Start(c.colour, false);
    HWND e = fixture.Make("", 0);
    ASSERT_NE(e, nullptr);
    HBRUSH brush = HBRUSH(GetClassLongPtrA(e, GCLP_HBRBACKGROUND));
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush == GetStockObject(BLACK_BRUSH), c.stockBlack) << std::hex << c.colour;
    fixture.TearDown();
  }
}

}  // namespace
