// The tab control on real windows under Wine: tabs laid left to right, the
// faces and body painted from bitmaps in the shared palette, selection by
// click and by message with the parent's notifications, disabled tabs and
// the display-area arithmetic.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "basic_controls.h"
#include "controls.h"
#include "dibkit.h"
#include "facet.h"
#include "guitest.h"
#include "winutil.h"
#include "procdata.h"

namespace {

constexpr UINT CCM_SETDIB = 0x8600;
constexpr UINT CCM_ENABLETAB = 0x8691;
constexpr int kId = 12;

// Palette entries of the test: each role its own pure colour.
enum : uint8_t { kTile = 60, kLight, kDark, kSelectedText, kNormalText, kDisabledText, kOtherTile };
const COLORREF kRgb[] = {RGB(200, 200, 200), RGB(255, 255, 0), RGB(90, 0, 90),  RGB(200, 0, 0),
                         RGB(0, 0, 200),     RGB(0, 160, 0),   RGB(0, 200, 200)};
COLORREF Colour(uint8_t index) { return kRgb[index - kTile]; }

struct Notice {
  int code;
  UINT_PTR id;
  HWND from;
  LRESULT currentThen;  // TCM_GETCURSEL while the parent handles it
};

PackedDib* Filled(int w, int h, uint8_t index) {
  PackedDib* dib = dibCreateWithColors(w, h, 8);
  dibFillWithColor(dib, index);
  return dib;
}

// A parent 400 x 240 at the screen's origin that records the notifications
// and colour requests of its children.
struct Tabs : ::testing::Test {
  std::vector<Notice> notices;
  int staticColourAsked = 0;
  bool destroyOnChanging = false;
  HPALETTE palette = nullptr;
  HFONT font = nullptr;
  PackedDib* tile = nullptr;
  PackedDib* otherTile = nullptr;
  PackedDib* firstTabBitmap = nullptr;
  HWND host = nullptr;

  void SetUp() override {
    ResetProcessDataTable();
    RegisterControlClasses(GetModuleHandleA(nullptr));
    ccSetControlData(nullptr, ccInit(nullptr));
    CcDefaults* d = ccGetDefaultData();
    std::vector<char> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = 256;
    for (int i = 0; i < 256; ++i) lp->palPalEntry[i] = {255, 255, 255, 0};
    lp->palPalEntry[0] = {0, 0, 0, 0};  // the system's black
    for (int i = kTile; i <= kOtherTile; ++i)
      lp->palPalEntry[i] = {GetRValue(Colour(i)), GetGValue(Colour(i)), GetBValue(Colour(i)), 0};
    palette = CreatePalette(lp);
    font = CreateFontA(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, NONANTIALIASED_QUALITY, 0, "Arial");
    tile = Filled(8, 8, kTile);
    otherTile = Filled(8, 8, kOtherTile);
    firstTabBitmap = Filled(10, 21, kTile);
    d->palette = palette;
    d->font = font;
    d->tabBody = tile;
    d->tabPairs[0] = firstTabBitmap;
    d->lightEdge = kLight;
    d->darkEdge = kDark;
    d->tabTextSelected = kSelectedText;
    d->tabTextNormal = kNormalText;
    d->tabTextDisabled = kDisabledText;
    host = guitest::CreateTestWindow(
        RECT{0, 0, 400, 240}, [this](HWND, UINT m, WPARAM wp, LPARAM lp, bool*) -> LRESULT {
          if (m == WM_NOTIFY) {
            auto* header = reinterpret_cast<NMHDR*>(lp);
            EXPECT_EQ(wp, header->idFrom);
            notices.push_back({int(header->code), header->idFrom, header->hwndFrom,
                               SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)});
            if (destroyOnChanging && header->code == UINT(TCN_SELCHANGING)) DestroyWindow(header->hwndFrom);
          }
          if (m == WM_CTLCOLORSTATIC) ++staticColourAsked;
          return 0;
        });
    SetForegroundWindow(host);
  }
  void TearDown() override {
    DestroyWindow(host);
    UnregisterControlClasses();
    ResetProcessDataTable();
    DeleteObject(palette);
    DeleteObject(font);
    dibDelete(tile);
    dibDelete(otherTile);
    dibDelete(firstTabBitmap);
  }
  HWND Make() {
    return CreateWindowExA(0, "CGUITabWnd", "", WS_CHILD | WS_VISIBLE, 20, 30, 340, 180, host, HMENU(kId),
                           nullptr, nullptr);
  }
  static LRESULT Insert(HWND tabs, WPARAM position, const char* text) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text);
    return SendMessageA(tabs, TCM_INSERTITEMA, position, LPARAM(&item));
  }
  // Three text tabs, shown.
  HWND MakeThree() {
    HWND tabs = Make();
    for (int i = 0; i < 3; ++i) Insert(tabs, i, std::vector<const char*>{"Board", "Clock", "Notation"}[i]);
    UpdateWindow(tabs);
    guitest::Pump(30);
    return tabs;
  }
  static RECT TabRect(HWND tabs, int index) {
    RECT r{-1, -1, -1, -1};
    GetTabRect(tabs, index, &r);
    return r;
  }
  static POINT Centre(HWND tabs, int index) {
    RECT r = TabRect(tabs, index);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(tabs, &p);
    return p;
  }
  static COLORREF Pixel(HWND tabs, int x, int y) {
    POINT p{x, y};
    ClientToScreen(tabs, &p);
    return guitest::ScreenPixel(p.x, p.y);
  }
  // The colours shown inside the tab's rectangle.
  static std::set<COLORREF> ColoursOf(HWND tabs, int index) {
    RECT r = TabRect(tabs, index);
    std::set<COLORREF> seen;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) seen.insert(Pixel(tabs, x, y));
    return seen;
  }
  SIZE TextSize(const char* text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size;
  }
};

TEST_F(Tabs, RegisteredAsAClassOfItsOwn) {
  WNDCLASSA wc{};
  ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "CGUITabWnd", &wc));
  EXPECT_EQ(wc.style, UINT(CS_HREDRAW | CS_VREDRAW | CS_CLASSDC | CS_GLOBALCLASS));
  EXPECT_EQ(wc.cbWndExtra, kPointerSlotBytes);
  EXPECT_EQ(wc.hbrBackground, GetStockObject(HOLLOW_BRUSH));
  EXPECT_NE(wc.hCursor, nullptr);
}

TEST_F(Tabs, TabsAreInsertedLeftToRightSizedByTheirText) {
  HWND tabs = Make();
  const char* const texts[] = {"Board", "Clock", "Notation"};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Insert(tabs, i, texts[i]), i);
  int left = 0;
  for (int i = 0; i < 3; ++i) {
    RECT r = TabRect(tabs, i);
    SIZE text = TextSize(texts[i]);
    EXPECT_EQ(r.left, left) << texts[i];
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, text.cx + 12) << texts[i];
    EXPECT_EQ(r.bottom - r.top, text.cy + 12) << texts[i];
    left = r.right;
  }
  // In front of the others and past the end: each where it was asked to go
  // (the end for a position past it), the row laid anew.
  RECT before = TabRect(tabs, 0);
  EXPECT_EQ(Insert(tabs, 0, "Moves"), 0);
  EXPECT_EQ(Insert(tabs, 17, "Book"), 4);
  EXPECT_EQ(Insert(tabs, 2, "Eval"), 2);
  const char* const order[] = {"Moves", "Board", "Eval", "Clock", "Notation", "Book"};
  left = 0;
  for (int i = 0; i < 6; ++i) {
    RECT r = TabRect(tabs, i);
    EXPECT_EQ(r.left, left) << order[i];
    EXPECT_EQ(r.right - r.left, TextSize(order[i]).cx + 12) << order[i];
    left = r.right;
  }
  EXPECT_EQ(TabRect(tabs, 1).right - TabRect(tabs, 1).left, before.right - before.left);
  EXPECT_EQ(SendMessageA(tabs, TCM_INSERTITEMA, 0, 0), -1) << "no item";
  // A tab put in before the current one leaves that tab current.
  SendMessageA(tabs, TCM_SETCURSEL, 3, 0);  // "Clock"
  Insert(tabs, 1, "Game");
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 4);
  Insert(tabs, 5, "Hint");
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 4);
  EXPECT_TRUE(notices.empty());
  EXPECT_EQ(TabRect(tabs, 8).left, -1);
}

TEST_F(Tabs, ClickOnAnotherTabNotifiesBeforeAndAfterTheChange) {
  HWND tabs = MakeThree();
  guitest::Click(Centre(tabs, 2));
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].code, TCN_SELCHANGING);
  EXPECT_EQ(notices[0].currentThen, 0);
  EXPECT_EQ(notices[1].code, TCN_SELCHANGE);
  EXPECT_EQ(notices[1].currentThen, 2);
  for (const Notice& n : notices) {
    EXPECT_EQ(n.id, UINT_PTR(kId));
    EXPECT_EQ(n.from, tabs);
  }
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 2);

  // The current tab, the body and the empty end of the row: nothing.
  notices.clear();
  RECT last = TabRect(tabs, 2);
  POINT body{100, 120}, rowEnd{last.right + 10, 5};
  ClientToScreen(tabs, &body);
  ClientToScreen(tabs, &rowEnd);
  for (POINT p : {Centre(tabs, 2), body, rowEnd}) guitest::Click(p);
  EXPECT_TRUE(notices.empty());
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 2);
}

TEST_F(Tabs, SetCurSelChangesQuietlyAndRefusesBadOrDisabledTabs) {
  HWND tabs = MakeThree();
  SendMessageA(tabs, CCM_ENABLETAB, 1, 0);
  struct Case {
    WPARAM position;
    LRESULT current;
  };
  const Case cases[] = {{2, 2}, {3, 2}, {WPARAM(-1), 2}, {1, 2}, {0, 0}, {99, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(SendMessageA(tabs, TCM_SETCURSEL, c.position, 0), c.current) << c.position;
  guitest::Click(Centre(tabs, 1));
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0) << "a disabled tab is not chosen by click";
  EXPECT_TRUE(notices.empty());
  SendMessageA(tabs, CCM_ENABLETAB, 1, 1);
  EXPECT_EQ(SendMessageA(tabs, TCM_SETCURSEL, 1, 0), 1);
  SendMessageA(tabs, CCM_ENABLETAB, 7, 0);  // no such tab: nothing
  SendMessageA(tabs, CCM_ENABLETAB, WPARAM(-1), 0);
  EXPECT_TRUE(notices.empty());
}

TEST_F(Tabs, PaintsFacesBodyAndBorderWithTheCurrentTabOpen) {
  HWND tabs = MakeThree();
  EXPECT_GT(staticColourAsked, 0);
  RECT current = TabRect(tabs, 0), other = TabRect(tabs, 1);
  RECT client;
  GetClientRect(tabs, &client);
  const int rowLine = current.bottom - 1;
  EXPECT_TRUE(ColoursOf(tabs, 0).count(Colour(kSelectedText)));
  EXPECT_FALSE(ColoursOf(tabs, 0).count(Colour(kNormalText)));
  EXPECT_TRUE(ColoursOf(tabs, 1).count(Colour(kNormalText)));
  struct Case {
    int x, y;
    uint8_t index;
    const char* what;
  };
  const Case cases[] = {
      {2, 2, kTile, "inside the current face"},
      {0, 5, kLight, "left edge of the first face"},
      {current.right - 2, 5, kDark, "inner right column of a face"},
      {current.left + 5, rowLine, kTile, "the current tab opens into the body"},
      {other.left + 5, rowLine, kLight, "a line under the other tabs"},
      {(TabRect(tabs, 2).right + client.right) / 2, rowLine, kLight, "the row line right of the tabs"},
      {(TabRect(tabs, 2).right + client.right) / 2, 3, kTile, "the row right of the tabs"},
      {150, 100, kTile, "the body"},
      {0, 100, kLight, "left border"},
      {client.right - 1, 100, kDark, "right border"},
      {150, client.bottom - 1, kDark, "bottom border"},
  };
  for (const Case& c : cases) EXPECT_EQ(Pixel(tabs, c.x, c.y), Colour(c.index)) << c.what;
  EXPECT_EQ(Pixel(tabs, current.right - 1, 5), RGB(0, 0, 0)) << "outer right column";

  // Another current tab: the line runs from the left edge to it.
  SendMessageA(tabs, TCM_SETCURSEL, 2, 0);
  guitest::Pump(30);
  EXPECT_EQ(Pixel(tabs, current.left + 5, rowLine), Colour(kLight));
  EXPECT_EQ(Pixel(tabs, TabRect(tabs, 2).left + 5, rowLine), Colour(kTile));
  // A body tile of the caller's, then the defaults' again.
  SendMessageA(tabs, CCM_SETDIB, 0, LPARAM(otherTile));
  RedrawWindow(tabs, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(Pixel(tabs, 150, 100), Colour(kOtherTile));
  SendMessageA(tabs, CCM_SETDIB, 0, 0);
  RedrawWindow(tabs, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(Pixel(tabs, 150, 100), Colour(kTile));
  guitest::Screenshot("facet_tabs");
}

TEST_F(Tabs, DisabledFaceIsMadeOnceAndEnablingShowsTheNormalFaceAgain) {
  HWND tabs = MakeThree();
  struct Step {
    LPARAM enable;
    bool normal, disabled;
  };
  const Step steps[] = {{1, true, false}, {0, false, true}, {1, true, false}, {0, false, true}};
  for (const Step& s : steps) {
    SendMessageA(tabs, CCM_ENABLETAB, 2, s.enable);
    std::set<COLORREF> seen = ColoursOf(tabs, 2);
    EXPECT_EQ(seen.count(Colour(kNormalText)) > 0, s.normal) << s.enable;
    EXPECT_EQ(seen.count(Colour(kDisabledText)) > 0, s.disabled) << s.enable;
  }
}

TEST_F(Tabs, TabKeepsItsTextWhenTheCallersBufferChanges) {
  HWND tabs = Make();
  char buffer[32];
  std::strcpy(buffer, "Analysis");
  Insert(tabs, 0, buffer);
  Insert(tabs, 1, "Clock");
  std::memset(buffer, 0, sizeof buffer);  // the caller's buffer is gone
  SendMessageA(tabs, CCM_ENABLETAB, 0, 0);
  SendMessageA(tabs, TCM_SETCURSEL, 1, 0);
  guitest::Pump(30);
  EXPECT_TRUE(ColoursOf(tabs, 0).count(Colour(kDisabledText))) << "the disabled face has the text";
}

TEST_F(Tabs, ImageTabsAreSizedByTheImageList) {
  HWND tabs = Make();
  HIMAGELIST images = ImageList_Create(20, 14, ILC_COLOR24, 2, 0);
  for (COLORREF colour : {RGB(255, 0, 0), RGB(0, 0, 255)}) {
    HDC screen = GetDC(nullptr);
    HBITMAP image = CreateCompatibleBitmap(screen, 20, 14);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, image);
    RECT all{0, 0, 20, 14};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    ImageList_Add(images, image, nullptr);
    DeleteObject(image);
  }
  EXPECT_EQ(SendMessageA(tabs, TCM_SETIMAGELIST, 0, LPARAM(images)), 0);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETIMAGELIST, 0, 0), LRESULT(images));
  TCITEMA item{};
  item.mask = TCIF_IMAGE | TCIF_TEXT;
  item.iImage = 1;
  item.pszText = const_cast<char*>("ignored");
  EXPECT_EQ(SendMessageA(tabs, TCM_INSERTITEMA, 0, LPARAM(&item)), 0);
  Insert(tabs, 1, "Text");
  RECT r = TabRect(tabs, 0);
  EXPECT_EQ(r.right - r.left, 32);
  EXPECT_EQ(r.bottom - r.top, 26);
  EXPECT_EQ(TabRect(tabs, 1).left, 32);
  UpdateWindow(tabs);
  guitest::Pump(30);
  EXPECT_EQ(Pixel(tabs, 6, 6), RGB(0, 0, 255)) << "the image at the face's corner, 6 pixels in";
  EXPECT_EQ(Pixel(tabs, 25, 19), RGB(0, 0, 255));
  EXPECT_EQ(Pixel(tabs, 3, 3), Colour(kTile));
  EXPECT_EQ(SendMessageA(tabs, TCM_REMOVEIMAGE, 0, 0), 0);
  EXPECT_EQ(ImageList_GetImageCount(images), 1);
  UpdateWindow(tabs);
  guitest::Pump(30);
  EXPECT_EQ(Pixel(tabs, 6, 6), RGB(0, 0, 255)) << "the tab keeps its image, now first in the list";
  EXPECT_EQ(SendMessageA(tabs, TCM_REMOVEIMAGE, 0, 0), 0);
  UpdateWindow(tabs);
  guitest::Pump(30);
  EXPECT_EQ(Pixel(tabs, 6, 6), Colour(kTile)) << "its own image removed: none";
  EXPECT_EQ(ImageList_GetImageCount(images), 0);
  EXPECT_EQ(SendMessageA(tabs, TCM_SETIMAGELIST, 0, 0), LRESULT(images));
  EXPECT_EQ(SendMessageA(tabs, TCM_REMOVEIMAGE, 0, 0), 0) << "no image list: nothing";
  ImageList_Destroy(images);
}

TEST_F(Tabs, AdjustRectUsesTheFirstTabOrTheDefaultTabBitmap) {
  HWND tabs = Make();
  RECT r{10, 40, 210, 140};
  SendMessageA(tabs, TCM_ADJUSTRECT, TRUE, LPARAM(&r));
  EXPECT_EQ(r.top, 40 - 21) << "no tab yet: the defaults' first tab bitmap";
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.right, 218);
  EXPECT_EQ(r.bottom, 148);
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, LPARAM(&r));
  EXPECT_TRUE(EqualRect(&r, std::vector<RECT>{{10, 40, 210, 140}}.data()));
  Insert(tabs, 0, "Board");
  const int row = TextSize("Board").cy + 12;
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, LPARAM(&r));
  EXPECT_EQ(r.top, 40 + row);
  EXPECT_EQ(SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, 0), 0) << "no rectangle";
}

TEST_F(Tabs, WithoutTabsNothingIsPainted) {
  HWND tabs = Make();
  staticColourAsked = 0;
  RedrawWindow(tabs, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  guitest::Pump(30);
  EXPECT_EQ(staticColourAsked, 0);
}

TEST_F(Tabs, ParentMayDestroyTheControlWhileTold) {
  HWND tabs = MakeThree();
  destroyOnChanging = true;
  guitest::Click(Centre(tabs, 1));
  EXPECT_FALSE(IsWindow(tabs));
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, TCN_SELCHANGING);
}

}  // namespace
