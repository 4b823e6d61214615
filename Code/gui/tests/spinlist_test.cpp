// The spin list on real windows under Wine: entries and their copies, keys
// and letters, the notifications, the picture on screen during and after
// each kind of slide, the arrows and the mouse, and the list messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "controls.h"
#include "ctt_glyph.h"
#include "dibkit.h"
#include "facet.h"
#include "guitest.h"
#include "procdata.h"
#include "spinlist_model.h"

namespace {

constexpr UINT SPL_GETENTRY = 0x0187;
constexpr UINT SPL_FREEPICTURES = 0x8640;
constexpr UINT SPL_RESETCONTENT = 0x8641;
constexpr UINT SPL_SORT = 0x8643;
constexpr UINT SPL_SETBUILDER = 0x8644;
constexpr UINT SPL_SETITEMSIZE = 0x8645;
constexpr WORD kChanged = 0x5C;
constexpr WORD kSlideStarts = 0x5D;

// Palette entries the pictures are drawn in.
constexpr int kRed = 50, kBlue = 60, kFrame = 90;
constexpr COLORREF kRedRgb = RGB(200, 0, 0), kBlueRgb = RGB(0, 0, 200);
constexpr COLORREF kGray = RGB(128, 128, 128);

HPALETTE MakePalette() {
  return guitest::MakePalette([](int i) {
    switch (i) {
      case kRed: return PALETTEENTRY{200, 0, 0, PC_NOCOLLAPSE};
      case kBlue: return PALETTEENTRY{0, 0, 200, PC_NOCOLLAPSE};
      case kFrame: return PALETTEENTRY{0x23, 0x7F, 0x43, PC_NOCOLLAPSE};
      default: return PALETTEENTRY{BYTE(i), BYTE(i), BYTE(255 - i), PC_NOCOLLAPSE};
    }
  });
}

// An 8-bit picture of one colour in a global-memory block, as callers hand
// pictures of kind 1 to the list (which frees them).
PackedDib* GlobalPicture(int width, int height, int index) {
  PackedDib* dib = dibCreateWithColors(width, height, 8);
  dibFillWithColor(dib, uint32_t(index));
  size_t bytes = sizeof(PackedDib) + dibColorAreaSize(8) + size_t(dibRowStride(8, width)) * size_t(height);
  void* block = GlobalAlloc(GMEM_FIXED, bytes);
  std::memcpy(block, dib, bytes);
  dibDelete(dib);
  return static_cast<PackedDib*>(block);
}

SpinListEntry Entry(const char* text, PackedDib* picture, uint32_t kind) {
  SpinListEntry e;
  std::memset(&e, 0, sizeof e);
  std::strncpy(e.text, text, sizeof e.text - 1);
  e.picture = picture;
  e.kind = kind;
  return e;
}

// A parent 400 x 300 at the screen's origin that records what its lists send.
struct SpinList : ::testing::Test {
  struct Command {
    int id;
    WORD code;
    HWND from;
  };
  std::vector<Command> commands;
  std::vector<WPARAM> keys;
  std::vector<WPARAM> nextControl;
  int colourRequests = 0;
  HWND host = nullptr;
  HPALETTE palette = nullptr;
  std::vector<HWND> lists;

  void SetUp() override {
    ResetProcessDataTable();
    RegisterControlClasses(GetModuleHandleA(nullptr));
    ccSetControlData(nullptr, ccInit(nullptr));
    palette = MakePalette();
    ccSetControlPalette(nullptr, palette);
    host = guitest::CreateTestWindow(
        RECT{0, 0, 400, 300}, [this](HWND, UINT m, WPARAM wp, LPARAM lp, bool* handled) -> LRESULT {
          if (m == WM_COMMAND) commands.push_back({LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)});
          if (m == WM_KEYDOWN) keys.push_back(wp);
          if (m == WM_NEXTDLGCTL) nextControl.push_back(wp);
          if (m == WM_CTLCOLORSTATIC) {
            ++colourRequests;
            *handled = true;
            return 0;
          }
          return 0;
        });
    SetForegroundWindow(host);
  }
  void TearDown() override {
    for (HWND list : lists)
      if (IsWindow(list)) SendMessageA(list, SPL_FREEPICTURES, 0, 0);
    DestroyWindow(host);
    guitest::Pump(20);
    UnregisterControlClasses();
    ResetProcessDataTable();
    DeleteObject(palette);
  }

  // A list whose item is 100 x 22 at (36, 21) on the screen.
  HWND Make(DWORD style = 0, int id = 7, int x = 20, int y = 20) {
    HWND list = CreateWindowExA(0, "CC20SpinList", "", WS_CHILD | WS_VISIBLE | style, x, y, 132, 22, host,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    lists.push_back(list);
    return list;
  }
  LRESULT Add(HWND list, const char* text, PackedDib* picture = nullptr, uint32_t kind = SLE_TEXT) {
    SpinListEntry e = Entry(text, picture, kind);
    return SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(&e));
  }
  LRESULT AddColour(HWND list, const char* text, int index) {
    return Add(list, text, GlobalPicture(100, 22, index), SLE_PICTURE);
  }
  // A list of a red and a blue picture, shown, red current.
  HWND RedThenBlue(DWORD style, int id) {
    HWND list = Make(style, id);
    AddColour(list, "red", kRed);
    AddColour(list, "blue", kBlue);
    UpdateWindow(host);
    guitest::Pump(30);
    return list;
  }
  int Current(HWND list) { return int(SendMessageA(list, LB_GETCURSEL, 0, 0)); }
  const SpinListEntry* EntryOf(HWND list, int i) {
    return reinterpret_cast<const SpinListEntry*>(SendMessageA(list, SPL_GETENTRY, WPARAM(i), 0));
  }
  int Count(WORD code, HWND from) {
    int n = 0;
    for (const Command& c : commands) n += c.code == code && c.from == from;
    return n;
  }
  bool WaitForChanged(HWND list, int count = 1) {
    return guitest::WaitFor([&] { return Count(kChanged, list) >= count; }, 2000);
  }
  void Key(HWND list, WPARAM key) { SendMessageA(list, WM_KEYDOWN, key, 0); }
  // The colour of item pixel (x, y) of a list made at (20, 20).
  COLORREF ItemPixel(int x, int y, int left = 20, int top = 20) {
    return guitest::ScreenPixel(left + kSpinItemX + x, top + kSpinItemY + y);
  }
};

TEST_F(SpinList, KeepsCopiesOfEntriesAndRendersTextsAtTheItemSize) {
  HWND list = Make();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Current(list), -1);
  EXPECT_EQ(Add(list, "Bishop"), 1);
  EXPECT_EQ(Current(list), 0) << "the first entry becomes current";
  SpinListEntry mine = Entry("Black", nullptr, SLE_TEXT);
  EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(&mine)), 2);
  std::strcpy(mine.text, "Changed");
  EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, 0), LB_ERR) << "a null entry";
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(Current(list), 0);

  const SpinListEntry* kept = EntryOf(list, 1);
  ASSERT_NE(kept, nullptr);
  EXPECT_NE(kept, &mine);
  EXPECT_STREQ(kept->text, "Black") << "a copy, not the caller's record";
  ASSERT_NE(kept->picture, nullptr) << "the text was rendered";
  EXPECT_EQ(kept->picture->biWidth, 100);
  EXPECT_EQ(std::abs(kept->picture->biHeight), 22);
  // The default builder draws in colour 70 on 0.
  bool ink = false;
  for (int y = 0; y < 22 && !ink; ++y)
    for (int x = 0; x < 100 && !ink; ++x)
      ink = *static_cast<const uint8_t*>(dibGetPixelAddress(kept->picture, x, y)) == 70;
  EXPECT_TRUE(ink);
  EXPECT_EQ(EntryOf(list, 2), nullptr);
  EXPECT_EQ(EntryOf(list, -1), nullptr);

  // A text that fills all 64 bytes is cut to 63 characters.
  SpinListEntry full = Entry("", nullptr, SLE_PICTURE);
  std::memset(full.text, 'q', sizeof full.text);
  EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(&full)), 3);
  EXPECT_EQ(std::strlen(EntryOf(list, 2)->text), 63u);
  EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_SETSEL, 1, 0), LB_ERR);
}

TEST_F(SpinList, TableGrowsPastThirtyTwoAndSixtyFourEntries) {
  HWND list = Make();
  char text[16];
  for (int i = 0; i < 70; ++i) {
    std::snprintf(text, sizeof text, "E%02d", i);
    ASSERT_EQ(Add(list, text, nullptr, SLE_PICTURE), i + 1);
  }
  for (int i = 0; i < 70; ++i) {
    std::snprintf(text, sizeof text, "E%02d", i);
    ASSERT_NE(EntryOf(list, i), nullptr) << i;
    EXPECT_STREQ(EntryOf(list, i)->text, text);
  }
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, WPARAM(-1), LPARAM("e45")), 45);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, WPARAM(-1), LPARAM("E7")), -1);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, WPARAM(-1), LPARAM("")), -1);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, WPARAM(-1), 0), -1);
}

TEST_F(SpinList, ArrowKeysWrapAroundAndTellTheParentAroundTheSlide) {
  HWND list = Make();
  for (const char* t : {"Pawn", "Knight", "Bishop", "Rook"}) Add(list, t);
  Key(list, VK_UP);
  EXPECT_EQ(Current(list), 3) << "up from the first wraps to the last";
  EXPECT_EQ(Count(kSlideStarts, list), 1) << "at once";
  EXPECT_EQ(Count(kChanged, list), 0) << "not before the slide ends";
  ASSERT_TRUE(WaitForChanged(list));
  ASSERT_GE(commands.size(), 2u);
  EXPECT_EQ(commands.back().id, 7);
  EXPECT_EQ(commands.back().code, kChanged);
  Key(list, VK_DOWN);
  EXPECT_EQ(Current(list), 0) << "down from the last wraps to the first";
  ASSERT_TRUE(WaitForChanged(list, 2));
  Key(list, VK_LEFT);
  EXPECT_EQ(Current(list), 3);
  ASSERT_TRUE(WaitForChanged(list, 3));
  Key(list, VK_RIGHT);
  EXPECT_EQ(Current(list), 0);
  ASSERT_TRUE(WaitForChanged(list, 4));
  // Through the input queue as a user types.
  SetFocus(list);
  guitest::PressKey(VK_DOWN);
  EXPECT_EQ(Current(list), 1);
  ASSERT_TRUE(WaitForChanged(list, 5));
  EXPECT_EQ(Count(kSlideStarts, list), 5);
}

TEST_F(SpinList, OneEntryDoesNotMove) {
  HWND list = Make();
  Add(list, "King");
  Key(list, VK_DOWN);
  Key(list, VK_NEXT);
  EXPECT_EQ(Current(list), 0);
  EXPECT_EQ(Count(kSlideStarts, list), 0);
  HWND empty = Make(0, 8, 20, 60);
  Key(empty, VK_DOWN);
  EXPECT_EQ(Current(empty), -1);
}

TEST_F(SpinList, PageKeysStepByTenAndHomeAndEndJumpAtOnce) {
  HWND list = Make();
  char text[16];
  for (int i = 0; i < 30; ++i) {
    std::snprintf(text, sizeof text, "Game %d", i);
    Add(list, text, nullptr, SLE_PICTURE);
  }
  struct Case {
    int from;
    WPARAM key;
    int to;
  };
  const Case cases[] = {{10, VK_PRIOR, 0}, {12, VK_PRIOR, 2}, {5, VK_PRIOR, 0}, {25, VK_NEXT, 29},
                        {3, VK_NEXT, 13},  {17, VK_HOME, 0},  {17, VK_END, 29}};
  int notices = 0;
  for (const Case& c : cases) {
    SendMessageA(list, LB_SETCURSEL, WPARAM(c.from), 0);
    Key(list, c.key);
    EXPECT_EQ(Current(list), c.to) << "key " << c.key << " from " << c.from;
    EXPECT_TRUE(WaitForChanged(list, ++notices)) << "key " << c.key << " from " << c.from;
  }
  guitest::Pump(50);
  EXPECT_EQ(Count(kSlideStarts, list), 5) << "Home and End do not slide";
  EXPECT_EQ(Count(kChanged, list), 7) << "but the parent hears of them";
}

TEST_F(SpinList, TypingALetterStepsThroughTheEntriesThatBeginWithIt) {
  HWND list = Make();
  for (const char* t : {"Apple", "Bishop", "Black", "Blue", "Castle", "bonus"}) Add(list, t);
  SendMessageA(list, LB_SETCURSEL, 1, 0);  // Bishop
  SendMessageA(list, WM_CHAR, 'b', 0);
  EXPECT_STREQ(EntryOf(list, Current(list))->text, "Black");
  EXPECT_EQ(Count(kChanged, list), 1) << "at once, without a slide";
  SendMessageA(list, WM_CHAR, 'b', 0);
  EXPECT_STREQ(EntryOf(list, Current(list))->text, "Blue");
  SendMessageA(list, WM_CHAR, 'B', 0);
  EXPECT_STREQ(EntryOf(list, Current(list))->text, "Bishop") << "starts over at the first";
  SendMessageA(list, WM_CHAR, 'z', 0);
  SendMessageA(list, WM_CHAR, '7', 0);
  EXPECT_EQ(Current(list), 1);
  EXPECT_EQ(Count(kChanged, list), 3) << "no match, no notice";
  EXPECT_EQ(Count(kSlideStarts, list), 0);
  // Typed through the input queue.
  SetFocus(list);
  guitest::PressKey('C');
  EXPECT_STREQ(EntryOf(list, Current(list))->text, "Castle");
}

TEST_F(SpinList, EscapeGoesToTheParentOnceAndTabToTheNextControl) {
  HWND list = Make();
  Add(list, "Queen");
  Key(list, VK_ESCAPE);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0], WPARAM(VK_ESCAPE));
  Key(list, VK_TAB);
  ASSERT_EQ(nextControl.size(), 1u);
  EXPECT_EQ(nextControl[0], 0u);
  EXPECT_EQ(SendMessageA(list, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST_F(SpinList, PaintsTheCurrentPictureAtTheItemPlace) {
  HWND list = Make();
  AddColour(list, "red", kRed);
  AddColour(list, "blue", kBlue);
  UpdateWindow(host);
  guitest::Pump(50);
  EXPECT_GE(colourRequests, 1) << "the parent is asked for colours";
  EXPECT_EQ(ItemPixel(50, 10), kRedRgb);
  EXPECT_EQ(ItemPixel(98, 18), kRedRgb);
  EXPECT_NE(ItemPixel(-8, 10), kRedRgb) << "the left arrow";
  EXPECT_NE(ItemPixel(108, 10), kRedRgb) << "the right arrow";
  EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 1, 0), 1);
  EXPECT_EQ(ItemPixel(50, 10), kBlueRgb) << "drawn at once";
  EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 2, 0), LB_ERR);
  EXPECT_EQ(Current(list), 1);
  // Covered and shown again, it paints itself.
  InvalidateRect(list, nullptr, TRUE);
  UpdateWindow(list);
  EXPECT_EQ(ItemPixel(50, 10), kBlueRgb);
}

TEST_F(SpinList, BorderIsTheFrameColourAndTheClientAreaLiesInside) {
  HWND list = Make(WS_BORDER);
  AddColour(list, "red", kRed);
  UpdateWindow(host);
  guitest::Pump(50);
  RECT window, client;
  GetWindowRect(list, &window);
  GetClientRect(list, &client);
  EXPECT_EQ(client.right, 130);
  EXPECT_EQ(client.bottom, 20);
  EXPECT_EQ(guitest::ScreenPixel(window.left, window.top + 8), RGB(0x23, 0x7F, 0x43));
  EXPECT_EQ(ItemPixel(50, 10, 21, 21), kRedRgb);
}

// A slide of each kind ends with the new picture whole, after its number of
// steps, and tells the parent before and after.
TEST_F(SpinList, EachSlideRunsItsStepsAndEndsOnTheNewPicture) {
  struct Case {
    DWORD style;
    int steps;
  };
  const Case cases[] = {{0, 5}, {0x8000, 6}, {0x4000, 6}, {0x2000, 5}};
  int id = 30;
  for (const Case& c : cases) {
    HWND list = RedThenBlue(c.style, id++);
    SendMessageA(list, WM_VSCROLL, SPC_LINE_DOWN, 0);
    EXPECT_EQ(Count(kSlideStarts, list), 1);
    EXPECT_TRUE(guitest::WaitForTimer(list, 1, c.steps, 2000)) << c.style;
    EXPECT_TRUE(WaitForChanged(list)) << c.style;
    EXPECT_FALSE(guitest::WaitForTimer(list, 1, 1, 100)) << "no step after the last, style " << c.style;
    for (int x : {1, 30, 50, 70, 98})
      for (int y : {3, 10, 19}) EXPECT_EQ(ItemPixel(x, y), kBlueRgb) << c.style << " at " << x << "," << y;
    DestroyWindow(list);
  }
}

// Steps driven one by one: what the screen shows part way.
TEST_F(SpinList, PartWayThroughASlideBothPicturesShow) {
  struct Case {
    DWORD style;
    int steps;
    POINT blue, red;
  };
  const Case cases[] = {
      {0, 3, {50, 10}, {30, 10}},       // three fifths came in from the right
      {0x8000, 3, {50, 5}, {50, 16}},   // half uncovered from the top
      {0x4000, 3, {25, 10}, {75, 10}},  // half uncovered from the left
      {0x2000, 2, {50, 18}, {50, 5}},   // two fifths rolled in from the bottom
  };
  int id = 40;
  for (const Case& c : cases) {
    HWND list = RedThenBlue(c.style, id++);
    ASSERT_EQ(ItemPixel(50, 10), kRedRgb);
    SendMessageA(list, WM_VSCROLL, SPC_LINE_DOWN, 0);
    for (int i = 0; i < c.steps; ++i) SendMessageA(list, WM_TIMER, 1, 0);
    EXPECT_EQ(ItemPixel(c.blue.x, c.blue.y), kBlueRgb) << c.style;
    EXPECT_EQ(ItemPixel(c.red.x, c.red.y), kRedRgb) << c.style;
    ASSERT_TRUE(WaitForChanged(list));
    EXPECT_EQ(ItemPixel(c.red.x, c.red.y), kBlueRgb) << c.style;
    DestroyWindow(list);
  }
}

TEST_F(SpinList, ASecondSlideEndsTheFirstAtOnce) {
  HWND a = Make(0, 11, 20, 20);
  HWND b = Make(0, 12, 20, 60);
  for (HWND list : {a, b}) {
    AddColour(list, "red", kRed);
    AddColour(list, "blue", kBlue);
  }
  UpdateWindow(host);
  guitest::Pump(30);
  SendMessageA(a, WM_VSCROLL, SPC_LINE_DOWN, 0);
  SendMessageA(a, WM_TIMER, 1, 0);
  SendMessageA(b, WM_VSCROLL, SPC_LINE_DOWN, 0);
  EXPECT_EQ(ItemPixel(10, 10), kBlueRgb) << "the first list shows its new picture whole";
  EXPECT_EQ(ItemPixel(10, 10, 20, 60), kRedRgb) << "the second has only started";
  ASSERT_TRUE(WaitForChanged(a));
  ASSERT_TRUE(WaitForChanged(b));
  EXPECT_EQ(ItemPixel(10, 10, 20, 60), kBlueRgb);
  EXPECT_EQ(Count(kChanged, a), 1);
}

TEST_F(SpinList, DestroyedInTheMiddleOfASlideItLeavesNothingBehind) {
  HWND a = Make(0, 11, 20, 20);
  HWND b = Make(0, 12, 20, 60);
  for (HWND list : {a, b}) {
    AddColour(list, "red", kRed);
    AddColour(list, "blue", kBlue);
  }
  PackedDib* pictures[2] = {EntryOf(a, 0)->picture, EntryOf(a, 1)->picture};
  SendMessageA(a, WM_VSCROLL, SPC_LINE_DOWN, 0);
  SendMessageA(a, WM_TIMER, 1, 0);
  DestroyWindow(a);
  for (PackedDib* p : pictures) GlobalFree(GlobalHandle(p));
  guitest::Pump(50);
  EXPECT_EQ(Count(kChanged, a), 0);
  SendMessageA(b, WM_VSCROLL, SPC_LINE_UP, 0);
  ASSERT_TRUE(WaitForChanged(b));
  EXPECT_EQ(ItemPixel(10, 10, 20, 60), kBlueRgb);
}

TEST_F(SpinList, ArrowButtonsSitAtTheEndsAndStepTheList) {
  HWND list = Make();
  for (const char* t : {"a", "b", "c"}) Add(list, t);
  HWND left = GetDlgItem(list, 15);
  HWND right = GetDlgItem(list, 16);
  ASSERT_NE(left, nullptr);
  ASSERT_NE(right, nullptr);
  char name[32] = "";
  GetClassNameA(left, name, sizeof name);
  EXPECT_STREQ(name, "CGUIBMPButton");
  RECT r;
  GetWindowRect(left, &r);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.right - r.left, 16);
  EXPECT_EQ(r.bottom - r.top, 22);
  GetWindowRect(right, &r);
  EXPECT_EQ(r.left, 20 + 132 - 15);

  SetFocus(host);
  EXPECT_EQ(SendMessageA(list, WM_COMMAND, MAKEWPARAM(16, BN_CLICKED), LPARAM(right)), 1);
  EXPECT_EQ(Current(list), 1);
  EXPECT_EQ(GetFocus(), list) << "a click on an arrow takes the focus";
  SendMessageA(list, WM_COMMAND, MAKEWPARAM(15, BN_CLICKED), LPARAM(left));
  SendMessageA(list, WM_COMMAND, MAKEWPARAM(15, BN_CLICKED), LPARAM(left));
  EXPECT_EQ(Current(list), 2) << "back past the first";
  SendMessageA(list, WM_COMMAND, MAKEWPARAM(17, BN_CLICKED), 0);
  EXPECT_EQ(Current(list), 0);
  SendMessageA(list, WM_COMMAND, MAKEWPARAM(18, BN_CLICKED), 0);
  EXPECT_EQ(Current(list), 2);
  SendMessageA(list, WM_COMMAND, MAKEWPARAM(99, BN_CLICKED), 0);
  EXPECT_EQ(Current(list), 2) << "other children do not move it";
  ASSERT_TRUE(WaitForChanged(list));
  guitest::Pump(50);
  EXPECT_EQ(Count(kChanged, list), 1) << "each arrow press cancels the previous notice";
}

TEST_F(SpinList, AClickTakesTheFocusAndTheBorderHitTakesTheMouse) {
  HWND list = Make();
  Add(list, "a");
  SetFocus(host);
  guitest::Click(POINT{20 + 60, 20 + 10});
  EXPECT_EQ(GetFocus(), list);

  RECT r;
  GetWindowRect(list, &r);
  EXPECT_EQ(SendMessageA(list, WM_NCHITTEST, 0, MAKELPARAM(r.right, r.top + 5)), HTBORDER);
  EXPECT_EQ(SendMessageA(list, WM_NCHITTEST, 0, MAKELPARAM(r.left + 5, r.top + 5)), HTCLIENT);
  EXPECT_EQ(SendMessageA(list, WM_NCHITTEST, 0, MAKELPARAM(r.left - 5, r.top + 5)), HTNOWHERE);

  EXPECT_EQ(SendMessageA(list, WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(r.right, r.top)), 0);
  EXPECT_EQ(GetCapture(), list);
  EXPECT_EQ(SendMessageA(list, WM_NCLBUTTONUP, HTBORDER, MAKELPARAM(r.right, r.top)), 0);
  EXPECT_NE(GetCapture(), list);
}

TEST_F(SpinList, ItemSizeIsSetOnlyWhileTheListIsEmpty) {
  HWND list = Make(WS_BORDER);
  EXPECT_EQ(SendMessageA(list, SPL_SETITEMSIZE, 80, -30), 0) << "no such size";
  EXPECT_EQ(SendMessageA(list, SPL_SETITEMSIZE, 0x10000, 30), 0);
  EXPECT_EQ(SendMessageA(list, SPL_SETITEMSIZE, 80, 30), 1);
  RECT window, client;
  GetWindowRect(list, &window);
  GetClientRect(list, &client);
  EXPECT_EQ(window.right - window.left, 80 + 32 + 2);
  EXPECT_EQ(window.bottom - window.top, 30 + 2);
  EXPECT_EQ(window.left, 20) << "it stays in place";
  EXPECT_EQ(client.right, 112);
  Add(list, "Rook");
  EXPECT_EQ(EntryOf(list, 0)->picture->biWidth, 80);
  EXPECT_EQ(SendMessageA(list, SPL_SETITEMSIZE, 40, 10), 0);
  RECT after;
  GetWindowRect(list, &after);
  EXPECT_TRUE(EqualRect(&after, &window));
}

TEST_F(SpinList, SortingMovesTheEntriesAndPlacesTheCurrentOne) {
  HWND list = Make();
  for (const char* t : {"Knight", "pawn", "Bishop", "queen"}) Add(list, t, nullptr, SLE_PICTURE);
  SendMessageA(list, LB_SETCURSEL, 1, 0);  // pawn
  EXPECT_EQ(SendMessageA(list, SPL_SORT, 0, 0), 2) << "follows its text";
  EXPECT_STREQ(EntryOf(list, 0)->text, "Bishop");
  EXPECT_STREQ(EntryOf(list, 2)->text, "pawn");
  EXPECT_EQ(SendMessageA(list, SPL_SORT, 1, 7), 2) << "keeps the index";
  EXPECT_STREQ(EntryOf(list, 0)->text, "queen");
  EXPECT_STREQ(EntryOf(list, 2)->text, "Knight");
  EXPECT_EQ(SendMessageA(list, SPL_SORT, 0, 6), 0);
  EXPECT_EQ(Current(list), 0);
  EXPECT_EQ(SendMessageA(list, SPL_SORT, 2, 0), -1);
  HWND one = Make(0, 8, 20, 60);
  Add(one, "x", nullptr, SLE_PICTURE);
  EXPECT_EQ(SendMessageA(one, SPL_SORT, 0, 0), -1);
}

TEST_F(SpinList, ClearingEmptiesTheListAndItTakesNewEntries) {
  HWND list = Make();
  AddColour(list, "red", kRed);
  Add(list, "Rook");
  Add(list, "Queen", nullptr, SLE_PICTURE);
  EXPECT_EQ(SendMessageA(list, SPL_FREEPICTURES, 0, 0), 1);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(Current(list), -1);
  EXPECT_EQ(EntryOf(list, 0), nullptr);
  EXPECT_EQ(Add(list, "King"), 1);
  EXPECT_EQ(Current(list), 0);
  for (int i = 0; i < 40; ++i) Add(list, "Pawn", nullptr, SLE_PICTURE);
  SendMessageA(list, LB_SETCURSEL, 3, 0);
  EXPECT_EQ(SendMessageA(list, SPL_RESETCONTENT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(Current(list), -1);
  Key(list, VK_DOWN);
  EXPECT_EQ(Current(list), -1);
  EXPECT_EQ(Add(list, "Bishop", nullptr, SLE_PICTURE), 1);
}

TEST_F(SpinList, TextsAreRenderedWithTheBuilderSet) {
  HWND list = Make();
  CttBuildStruct notABuilder{};
  EXPECT_EQ(SendMessageA(list, SPL_SETBUILDER, 0, reinterpret_cast<LPARAM>(&notABuilder)), 0);
  EXPECT_EQ(SendMessageA(list, SPL_SETBUILDER, 0, 0), 0);
  CttBuildStruct* builder = cttCreateBuildStruct();
  cttSetBuilderTextColor(builder, 99);
  builder->rect = RECT{0, 0, 100, 22};
  EXPECT_EQ(SendMessageA(list, SPL_SETBUILDER, 0, reinterpret_cast<LPARAM>(builder)), 0) << "none before";
  Add(list, "Castle");
  const PackedDib* picture = EntryOf(list, 0)->picture;
  ASSERT_NE(picture, nullptr);
  int inked = 0;
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x < 100; ++x)
      inked += *static_cast<const uint8_t*>(dibGetPixelAddress(picture, x, y)) == 99;
  EXPECT_GT(inked, 10);
  CttBuildStruct* other = cttCreateBuildStruct();
  EXPECT_EQ(SendMessageA(list, SPL_SETBUILDER, 0, reinterpret_cast<LPARAM>(other)),
            reinterpret_cast<LRESULT>(builder));
  cttFreeBuildStruct(builder);  // handed back: ours again; the list frees the one it holds
}

// Bytes in use in all of the process's heaps.
size_t HeapBytesInUse() {
  HANDLE heaps[64];
  DWORD n = GetProcessHeaps(64, heaps);
  size_t bytes = 0;
  for (DWORD i = 0; i < n && i < 64; ++i) {
    PROCESS_HEAP_ENTRY entry{};
    HeapLock(heaps[i]);
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
    HeapUnlock(heaps[i]);
  }
  return bytes;
}

TEST_F(SpinList, DestroyingAListFreesThePicturesItRendered) {
  auto makeAndDestroy = [&] {
    HWND list = CreateWindowExA(0, "CC20SpinList", "", WS_CHILD, 20, 20, 132, 22, host, nullptr, nullptr,
                                nullptr);
    for (const char* piece : {"Pawn", "Knight", "Bishop", "Rook", "Queen", "King"}) Add(list, piece);
    DestroyWindow(list);
  };
  makeAndDestroy();  // the first list's one-time allocations
  size_t before = HeapBytesInUse();
  for (int i = 0; i < 50; ++i) makeAndDestroy();
  // 300 rendered pictures of 100 x 22 would hold about 1 MB.
  EXPECT_LT(HeapBytesInUse(), before + 200 * 1024);
}

TEST_F(SpinList, ClearingFreesThePicturesItRendered) {
  HWND list = Make();
  auto fillAndClear = [&] {
    for (int i = 0; i < 6; ++i) Add(list, "Knight");
    SendMessageA(list, SPL_RESETCONTENT, 0, 0);
  };
  fillAndClear();
  size_t before = HeapBytesInUse();
  for (int i = 0; i < 50; ++i) fillAndClear();
  EXPECT_LT(HeapBytesInUse(), before + 200 * 1024);
}

}  // namespace
