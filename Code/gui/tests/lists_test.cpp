// The painted scroll bars, the item view, the scroll-bar control, the list,
// the tree view and the list view on real windows under Wine.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls.h"
#include "facet.h"
#include "guitest.h"
#include "itemview.h"
#include "procdata.h"
#include "scroll_bars.h"

namespace {

struct Sent {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// A parent window that records what its children send it, with a hook for
// the messages a ScrollView host forwards.
struct Lists : ::testing::Test {
  std::vector<Sent> sent;
  ScrollView* view = nullptr;
  HWND host = nullptr;

  void SetUp() override {
    ResetProcessDataTable();
    RegisterControlClasses(GetModuleHandleA(nullptr));
    CcDefaults* d = ccInit(nullptr);
    d->resourceModule = GetModuleHandleA(nullptr);  // the test bitmaps: arrows 16 x 12
    ccSetControlData(nullptr, d);
    host = guitest::CreateTestWindow(
        RECT{0, 0, 400, 300}, [this](HWND w, UINT m, WPARAM wp, LPARAM lp, bool* handled) -> LRESULT {
          if (m == WM_NOTIFY) sent.push_back({m, wp, LPARAM(reinterpret_cast<NMHDR*>(lp)->code)});
          if (m == WM_COMMAND || m == WM_VSCROLL || m == WM_HSCROLL || (m >= 0x8600 && m <= 0x8620))
            sent.push_back({m, wp, lp});
          if (view && (m == CCM_TOPROWCHANGED || m == CCM_SETTOPROW)) {
            *handled = true;
            return svTrackTop(view, int(wp));
          }
          if (view && m == WM_VSCROLL) {
            *handled = true;
            return svVScroll(view, wp);
          }
          (void)w;
          return 0;
        });
  }
  void TearDown() override {
    DestroyWindow(host);
    UnregisterControlClasses();
    ResetProcessDataTable();
  }
  int Notices(UINT code) {
    int n = 0;
    for (const Sent& s : sent) n += s.message == WM_NOTIFY && UINT(s.lParam) == code;
    return n;
  }
  int Count(UINT message, int code = -1) {
    int n = 0;
    for (const Sent& s : sent)
      if (s.message == message && (code < 0 || HIWORD(s.wParam) == code)) ++n;
    return n;
  }
  HWND List(DWORD style, int items, int height = 200) {
    HWND list = CreateWindowExA(0, "CGUIListWnd", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, 10, 10, 200,
                                height, host, HMENU(7), nullptr, nullptr);
    for (int i = 0; i < items; ++i) {
      std::string text = "item " + std::to_string(i);
      SendMessageA(list, LB_ADDSTRING, 0, LPARAM(text.c_str()));
    }
    return list;
  }
};

}  // namespace

TEST_F(Lists, BarClampsAndReportsThePosition) {
  ScrollBarPair* pair = sbarCreate(host, kSbVertical);
  ASSERT_NE(pair, nullptr);
  EXPECT_EQ(sbarCreate(host, 0), nullptr);
  ScrollInfo info{28, 7, 0, 9, 4, 8, 0};
  EXPECT_EQ(sbarSetInfo(pair, 1, &info), 1);
  ScrollInfo out{28, 0, 0, 0, 0, 0, 0};
  sbarGetInfo(pair, 1, &out);
  EXPECT_EQ(out.position, 6);
  ASSERT_EQ(Count(CCM_TOPROWCHANGED), 1);
  EXPECT_EQ(sent.back().wParam, 6u);
  EXPECT_EQ(sbarSetInfo(pair, 0, &info), 0) << "no horizontal bar";
  sbarDestroy(pair);
}

TEST_F(Lists, HeldArrowRepeatsAfter200ThenEvery25Ms) {
  ScrollBarPair* pair = sbarCreate(host, kSbVertical);
  sbarShow(pair, 1, 1);
  sbarPlace(pair, 1, RECT{0, 0, 16, 200});
  ScrollInfo info{28, 7, 0, 99, 10, 0, 0};
  sbarSetInfo(pair, 1, &info);
  sent.clear();
  sbarButtonDown(pair, HTVSCROLL, MAKELPARAM(5, 195));  // the down arrow
  EXPECT_EQ(pair->heldPart, SBP_SECOND_ARROW);
  EXPECT_EQ(Count(WM_VSCROLL), 1) << "one step at the press";
  EXPECT_EQ(pair->repeatPeriod, 200);
  DWORD start = GetTickCount();
  ASSERT_TRUE(guitest::WaitForTimer(host, kScrollRepeatTimer, 1, 2000));
  EXPECT_GE(GetTickCount() - start, 150u);
  sbarTimerTick(pair);  // the host's procedure does not forward timers: tick as it would
  EXPECT_EQ(pair->repeatPeriod, 25);
  EXPECT_EQ(Count(WM_VSCROLL), 2);
  start = GetTickCount();
  ASSERT_TRUE(guitest::WaitForTimer(host, kScrollRepeatTimer, 4, 2000));
  EXPECT_LT(GetTickCount() - start, 400u) << "25 ms repeats";
  sbarButtonUp(pair);
  EXPECT_EQ(pair->heldPart, -1);
  // The release reports the final position, then ends the scroll.
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(LOWORD(sent[sent.size() - 2].wParam), SBA_THUMB_POSITION);
  EXPECT_EQ(LOWORD(sent.back().wParam), SBA_END_SCROLL);
  sbarDestroy(pair);
}

TEST_F(Lists, TwoWheelStepsOf60MakeOneNotch) {
  ScrollBarPair* pair = sbarCreate(host, kSbVertical);
  ScrollInfo info{28, 7, 0, 99, 10, 50, 0};
  sbarSetInfo(pair, 1, &info);
  sent.clear();
  sbarWheel(pair, 1, 60);
  EXPECT_EQ(Count(WM_VSCROLL), 0);
  sbarWheel(pair, 1, 60);
  int lines = ccWheelScrollLines();
  EXPECT_EQ(Count(WM_VSCROLL), lines == -1 ? 1 : lines);
  ScrollInfo out{28, 0, 0, 0, 0, 0, 0};
  sbarGetInfo(pair, 1, &out);
  EXPECT_LT(out.position, 50) << "forward rotation scrolls up";
  sbarDestroy(pair);
}

TEST_F(Lists, SetTopIndexPastTheLastPageComesBack) {
  // 10 items, rows of 20 pixels in an 80-pixel client: 4 full rows.
  HWND child =
      CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 80, host, nullptr, nullptr, nullptr);
  ScrollView v;
  svInit(child, &v, kSbVertical, nullptr);
  // The view's window here is a plain child: its bar reports to the child,
  // so the test forwards the bar's answer as a host procedure would.
  v.bars.window = host;
  view = &v;
  svSetItemHeight(&v, 20, 0);
  svSize(&v);
  for (int i = 0; i < 10; ++i) ASSERT_EQ(svInsertItem(&v, i, i, 10), i + 1);
  EXPECT_EQ(svGetFullRows(&v), 4);
  EXPECT_EQ(svSetTopIndex(&v, 5), 0);
  EXPECT_EQ(svGetTopIndex(&v), 5);
  EXPECT_EQ(svSetTopIndex(&v, 8), 0);
  EXPECT_EQ(svGetTopIndex(&v), 6) << "the bar clamps to 6 and its answer moves the top back";
  EXPECT_EQ(svSetTopIndex(&v, 10), -1);
  int scrolled = 0;
  EXPECT_EQ(svEnsureVisible(&v, 1, 0, &scrolled), 1);
  EXPECT_EQ(svGetTopIndex(&v), 1);
  EXPECT_EQ(scrolled, 1);
  view = nullptr;
  svFree(&v);
  DestroyWindow(child);
}

TEST_F(Lists, EmptyViewPaintsEveryVisibleRow) {
  HWND child =
      CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 70, host, nullptr, nullptr, nullptr);
  static std::vector<RowPaintRecord> painted;
  painted.clear();
  RowPainterPair painters{nullptr, [](RowPaintRecord* r) { painted.push_back(*r); }};
  ScrollView v;
  svInit(child, &v, kSbVertical, &painters);
  svSetItemHeight(&v, 16, 0);
  svSize(&v);
  EXPECT_EQ(svGetTopIndex(&v), -1);
  POINT p{5, 5};
  EXPECT_EQ(svHitTest(&v, &p, nullptr), -1);
  HDC dc = GetDC(child);
  svPaint(&v, dc, nullptr, nullptr, 0, 1);
  ASSERT_EQ(painted.size(), 5u) << "70 / 16 rounded up";
  EXPECT_EQ(painted[4].data, 0);
  EXPECT_EQ(painted[4].row.top, 64);
  painted.clear();
  svPaint(&v, dc, nullptr, nullptr, 0, 0);
  EXPECT_TRUE(painted.empty());
  ReleaseDC(child, dc);
  svFree(&v);
  DestroyWindow(child);
}

TEST_F(Lists, ScrollBarControlAnswersSbmMessages) {
  for (DWORD orientation : {DWORD(SBS_VERT), DWORD(SBS_HORZ)}) {
    HWND bar = CreateWindowExA(0, "CGUIScrollBar", "", WS_CHILD | WS_VISIBLE | orientation, 300, 10, 16, 200,
                               host, nullptr, nullptr, nullptr);
    ASSERT_NE(bar, nullptr);
    // After creation: 0..100 with page 100, so the thumb fills the track.
    auto* pair = reinterpret_cast<ScrollBarPair*>(GetWindowLongPtrA(bar, 0));
    const PaintedBar* b = orientation == SBS_VERT ? pair->vertical : pair->horizontal;
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->info.minimum, 0);
    EXPECT_EQ(b->info.maximum, 100);
    EXPECT_EQ(b->info.page, 100);
    SCROLLINFO page{sizeof page, SIF_PAGE, 0, 0, 10, 0, 0};
    SendMessageA(bar, SBM_SETSCROLLINFO, 0, LPARAM(&page));
    EXPECT_EQ(SendMessageA(bar, SBM_SETRANGE, 0, 90), 0);
    EXPECT_EQ(b->info.maximum, 99);
    EXPECT_EQ(SendMessageA(bar, SBM_GETRANGE, 0, 0), MAKELONG(0, 90));
    EXPECT_EQ(SendMessageA(bar, SBM_SETPOS, 40, 0), 0) << "previous position 0";
    EXPECT_EQ(SendMessageA(bar, SBM_SETPOS, 40, 0), 0) << "the current position";
    EXPECT_EQ(SendMessageA(bar, SBM_SETPOS, 50, 0), 40);
    EXPECT_EQ(SendMessageA(bar, SBM_GETPOS, 0, 0), 50);
    EXPECT_EQ(SendMessageA(bar, CSBM_REDRAW, 0, 0), 1);
    // The bar's scroll messages reach the parent.
    sent.clear();
    SendMessageA(bar, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120)), 0);
    EXPECT_GE(Count(orientation == SBS_VERT ? WM_VSCROLL : WM_HSCROLL), 1);
    DestroyWindow(bar);
  }
}

TEST_F(Lists, ListAddInsertFindAndDelete) {
  HWND list = List(0, 10);
  EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, LPARAM("")), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, WPARAM(-1), LPARAM("x")), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 11, LPARAM("x")), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 10);
  // A prefix search from 3 matches item 3 itself before later ones, and wraps.
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, 3, LPARAM("ITEM")), 3);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, 5, LPARAM("item 2")), 2);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("item")), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("ITEM 7")), 7);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, 10, LPARAM("item")), LB_ERR);
  char text[32] = "";
  EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 4, LPARAM(text)), 6);
  EXPECT_STREQ(text, "item 4");
  EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 10, 0), LB_ERR);
  // The caret on 6, item 5 deleted: no caret.
  SendMessageA(list, LB_SETCURSEL, 6, 0);
  SendMessageA(host, 0, 0, 0);
  SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);  // the caret follows: 7
  SendMessageA(list, WM_KEYDOWN, VK_UP, 0);    // 6
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 6);
  EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 5, 0), 9);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR) << "the selection was on 6 as well";
  SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0) << "no caret: Down goes to the first item";
  EXPECT_EQ(SendMessageA(list, LB_SETITEMDATA, 2, 77), 0);
  EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 2, 0), 77);
  EXPECT_EQ(SendMessageA(list, LB_RESETCONTENT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(list, LB_RESETCONTENT, 0, 0), LB_ERR) << "an empty list";
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), -1);
  DestroyWindow(list);
}

TEST_F(Lists, SortedListPlacesTextsAndRefusesInsertion) {
  HWND list = List(LBS_SORT, 0);
  for (const char* t : {"pear", "apple", "Plum", "fig"}) SendMessageA(list, LB_ADDSTRING, 0, LPARAM(t));
  EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 0, LPARAM("kiwi")), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, LPARAM("APPLE")), 1) << "equal to the first: second";
  const char* order[] = {"apple", "APPLE", "fig", "pear", "Plum"};
  for (int i = 0; i < 5; ++i) {
    char text[16] = "";
    SendMessageA(list, LB_GETTEXT, i, LPARAM(text));
    EXPECT_STREQ(text, order[i]);
  }
  DestroyWindow(list);
}

TEST_F(Lists, DirAddsOneEntryPerDrive) {
  HWND list = List(0, 0);
  DWORD drives = GetLogicalDrives();
  std::vector<std::string> expected;
  for (int i = 0; i < 26; ++i)
    if (drives & (1u << i)) expected.push_back(std::string("[-") + char('a' + i) + "-]");
  EXPECT_EQ(SendMessageA(list, LB_DIR, 0, 0), LRESULT(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    char text[16] = "";
    SendMessageA(list, LB_GETTEXT, i, LPARAM(text));
    EXPECT_EQ(text, expected[i]);
  }
  DestroyWindow(list);
}

TEST_F(Lists, NotifyingClickSendsTwoSelectionChanges) {
  HWND list = List(LBS_NOTIFY, 20);
  guitest::Pump(50);
  RECT r;
  ASSERT_NE(SendMessageA(list, LB_GETITEMRECT, 2, LPARAM(&r)), LB_ERR);
  sent.clear();
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 5, r.top + 2));
  guitest::Pump(50);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Count(WM_COMMAND, LBN_SELCHANGE), 2) << "sent for the change, posted for the click";
  sent.clear();
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 5, r.top + 2));
  guitest::Pump(50);
  EXPECT_EQ(Count(WM_COMMAND, LBN_SELCHANGE), 1) << "no change: only the posted one";
  DestroyWindow(list);
}

TEST_F(Lists, ExtendedSelectionRangesAndAddMode) {
  HWND list = List(LBS_EXTENDEDSEL, 30);
  guitest::Pump(50);
  RECT r1, r4;
  SendMessageA(list, LB_GETITEMRECT, 1, LPARAM(&r1));
  SendMessageA(list, LB_GETITEMRECT, 4, LPARAM(&r4));
  SendMessageA(list, WM_LBUTTONDOWN, 0, MAKELPARAM(5, r1.top + 2));
  SendMessageA(list, WM_LBUTTONDOWN, MK_SHIFT, MAKELPARAM(5, r4.top + 2));
  EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 4);
  int items[8] = {};
  EXPECT_EQ(SendMessageA(list, LB_GETSELITEMS, 8, LPARAM(items)), 4);
  EXPECT_EQ(items[0], 1);
  EXPECT_EQ(items[3], 4);
  SendMessageA(list, WM_LBUTTONDOWN, MK_CONTROL, MAKELPARAM(5, r1.top + 2));
  EXPECT_EQ(SendMessageA(list, LB_GETSEL, 1, 0), 0) << "Ctrl toggles";
  EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 2, 0), LB_ERR) << "not a single-selection list";
  EXPECT_EQ(SendMessageA(list, LB_SETSEL, 1, -1), 0);
  EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 30);
  DestroyWindow(list);
}

TEST_F(Lists, ScrollingAndPagingAHundredItems) {
  HWND list = List(0, 100, 160);
  guitest::Pump(50);
  int height = int(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  ASSERT_GT(height, 0);
  RECT client;
  GetClientRect(list, &client);
  EXPECT_EQ(client.bottom % height, 0) << "integral height";
  EXPECT_LT(client.right, 200) << "the vertical bar took its strip";
  EXPECT_EQ(SendMessageA(list, 0x86B1 /* LBM_GETVSCROLLWIDTH */, 0, 0), 16);
  SendMessageA(list, WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0) << "Page Down without a selection";
  SendMessageA(list, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 99);
  int rows = client.bottom / height;
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 100 - rows);
  SendMessageA(list, WM_VSCROLL, SB_PAGEUP, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 100 - rows - (rows - 1));
  SendMessageA(list, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_LT(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 100 - rows - (rows - 1));
  EXPECT_EQ(SendMessageA(list, LB_SETTOPINDEX, 0, 0), 0);
  EXPECT_EQ(SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, height + 1)), 1);
  guitest::Screenshot("lists_list");
  DestroyWindow(list);
}

namespace {

HTREEITEM AddTreeItem(HWND tree, HTREEITEM parent, const char* text, HTREEITEM after = TVI_LAST,
                      UINT state = 0) {
  TVINSERTSTRUCTA in{};
  in.hParent = parent;
  in.hInsertAfter = after;
  in.item.mask = TVIF_TEXT | (state ? TVIF_STATE : 0);
  in.item.pszText = const_cast<char*>(text);
  in.item.state = state;
  in.item.stateMask = state;
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, LPARAM(&in)));
}

std::string TreeText(HWND tree, HTREEITEM item) {
  char text[64] = "";
  TVITEMA it{};
  it.mask = TVIF_TEXT;
  it.hItem = item;
  it.pszText = text;
  it.cchTextMax = sizeof text;
  SendMessageA(tree, TVM_GETITEMA, 0, LPARAM(&it));
  return text;
}

}  // namespace

TEST_F(Lists, TreeInsertsInOrderAndOnlyVisibleItemsGetRows) {
  HWND tree =
      CreateWindowExA(0, "CGUITreeViewWnd", "",
                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT,
                      10, 10, 200, 200, host, HMENU(9), nullptr, nullptr);
  ASSERT_NE(tree, nullptr);
  HTREEITEM a = AddTreeItem(tree, TVI_ROOT, "a");
  HTREEITEM c = AddTreeItem(tree, TVI_ROOT, "c");
  HTREEITEM b = AddTreeItem(tree, TVI_ROOT, "b", TVI_SORT);
  HTREEITEM first = AddTreeItem(tree, TVI_ROOT, "first", TVI_FIRST);
  EXPECT_EQ(HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), first);
  EXPECT_EQ(HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(c))), b) << "TVI_SORT appends";
  AddTreeItem(tree, a, "a1", TVI_LAST);
  HTREEITEM a2 = AddTreeItem(tree, a, "a2");
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 6);
  RECT r;
  *reinterpret_cast<HTREEITEM*>(&r) = a2;
  EXPECT_EQ(SendMessageA(tree, TVM_GETITEMRECT, 0, LPARAM(&r)), 0) << "a collapsed parent: no row";
  EXPECT_EQ(TreeText(tree, a2), "a2");
  TVITEMA param{};
  param.mask = TVIF_PARAM;
  param.hItem = a2;
  EXPECT_EQ(SendMessageA(tree, TVM_GETITEMA, 0, LPARAM(&param)), 0) << "no parameter was given";
  TVITEMA children{};
  children.mask = TVIF_CHILDREN;
  children.hItem = a;
  SendMessageA(tree, TVM_GETITEMA, 0, LPARAM(&children));
  EXPECT_EQ(children.cChildren, 1);

  // The first expansion notifies; after a collapse, a second one does not.
  sent.clear();
  EXPECT_EQ(SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, LPARAM(a)), 1);
  EXPECT_EQ(Notices(TVN_ITEMEXPANDINGA), 1);
  EXPECT_EQ(Notices(TVN_ITEMEXPANDEDA), 1);
  *reinterpret_cast<HTREEITEM*>(&r) = a2;
  EXPECT_EQ(SendMessageA(tree, TVM_GETITEMRECT, 0, LPARAM(&r)), 1);
  EXPECT_EQ(SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, LPARAM(a)), 0);
  EXPECT_EQ(SendMessageA(tree, TVM_EXPAND, TVE_TOGGLE, LPARAM(a)), 1);
  EXPECT_EQ(SendMessageA(tree, TVM_EXPAND, TVE_TOGGLE, LPARAM(a)), 0);
  EXPECT_EQ(SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, LPARAM(a)), 1);
  EXPECT_EQ(Notices(TVN_ITEMEXPANDINGA), 1) << "expanded once: no more notices";
  EXPECT_EQ(Notices(TVN_ITEMEXPANDEDA), 1);

  // Deleting the selected item clears the selection.
  EXPECT_EQ(SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(a2)), 1);
  EXPECT_EQ(HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)), a2);
  sent.clear();
  EXPECT_EQ(SendMessageA(tree, TVM_DELETEITEM, 0, LPARAM(a2)), 1);
  EXPECT_EQ(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0), 0);
  EXPECT_EQ(Notices(TVN_SELCHANGEDA), 1);
  EXPECT_EQ(Notices(TVN_DELETEITEMA), 1);
  SendMessageA(tree, WM_KEYDOWN, VK_DOWN, 0);  // no selection: the first row
  EXPECT_EQ(TreeText(tree, HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0))), "first");
  // Deleting a parent with the selection inside it clears it too.
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(a)));
  EXPECT_EQ(SendMessageA(tree, TVM_DELETEITEM, 0, LPARAM(a)), 1);
  EXPECT_EQ(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0), 0);
  EXPECT_EQ(SendMessageA(tree, TVM_DELETEITEM, 0, LPARAM(TVI_ROOT)), 1);
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 0);
  DestroyWindow(tree);
}

TEST_F(Lists, TreeBoldItemIsDrawnInIndex140) {
  // A palette whose entry 140 alone is pure red.
  std::vector<char> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) lp->palPalEntry[i] = {255, 255, 255, 0};
  lp->palPalEntry[140] = {255, 0, 0, 0};
  lp->palPalEntry[1] = {0, 0, 255, 0};  // the selection
  HPALETTE palette = CreatePalette(lp);
  CcDefaults* d = ccGetDefaultData();
  d->palette = palette;
  d->listSelection = 1;
  HWND tree = CreateWindowExA(0, "CGUITreeViewWnd", "", WS_CHILD | WS_VISIBLE, 10, 10, 200, 100, host,
                              nullptr, nullptr, nullptr);
  HFONT font = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, NONANTIALIASED_QUALITY, 0, "Arial");
  SendMessageA(tree, WM_SETFONT, WPARAM(font), 0);
  HTREEITEM bold = AddTreeItem(tree, TVI_ROOT, "MMMMMM", TVI_LAST, TVIS_BOLD);
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(bold));
  RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  guitest::Pump(100);
  RECT r;
  *reinterpret_cast<HTREEITEM*>(&r) = bold;
  ASSERT_EQ(SendMessageA(tree, TVM_GETITEMRECT, 1, LPARAM(&r)), 1);
  POINT origin{0, 0};
  ClientToScreen(tree, &origin);
  int red = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right + 4; ++x)
      red += guitest::ScreenPixel(origin.x + x, origin.y + y) == RGB(255, 0, 0);
  EXPECT_GT(red, 10) << "bold text in palette index 140, even when selected";
  guitest::Screenshot("lists_tree_bold");
  DestroyWindow(tree);
  DeleteObject(font);
  d->palette = nullptr;
  DeleteObject(palette);
}

namespace {

HWND ListView(HWND parent, DWORD style, int columns, int items) {
  HWND lv = CreateWindowExA(0, "CGUIListViewWnd", "", WS_CHILD | WS_VISIBLE | LVS_REPORT | style, 10, 10, 300,
                            200, parent, HMENU(11), nullptr, nullptr);
  for (int c = 0; c < columns; ++c) {
    std::string title = "Column " + std::to_string(c);
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = const_cast<char*>(title.c_str());
    col.cx = 90;
    SendMessageA(lv, LVM_INSERTCOLUMNA, c, LPARAM(&col));
  }
  for (int i = 0; i < items; ++i) {
    std::string text = "row " + std::to_string(i);
    LVITEMA it{};
    it.mask = LVIF_TEXT | LVIF_PARAM;
    it.iItem = i;
    it.pszText = const_cast<char*>(text.c_str());
    it.lParam = i;
    SendMessageA(lv, LVM_INSERTITEMA, 0, LPARAM(&it));
  }
  return lv;
}

int CALLBACK CompareNothing(LPARAM, LPARAM, LPARAM) { return 0; }
int CALLBACK CompareDescending(LPARAM a, LPARAM b, LPARAM) { return int(b - a); }

std::string CellText(HWND lv, int item, int sub) {
  char text[64] = "";
  LVITEMA it{};
  it.mask = LVIF_TEXT;
  it.iItem = item;
  it.iSubItem = sub;
  it.pszText = text;
  it.cchTextMax = sizeof text;
  if (!SendMessageA(lv, LVM_GETITEMA, 0, LPARAM(&it))) return "<none>";
  return text;
}

}  // namespace

TEST_F(Lists, ListViewIsReportOnlyAndKeepsItsSelection) {
  EXPECT_EQ(CreateWindowExA(0, "CGUIListViewWnd", "", WS_CHILD | LVS_ICON, 0, 0, 100, 100, host, nullptr,
                            nullptr, nullptr),
            nullptr);
  HWND lv = ListView(host, LVS_SINGLESEL, 2, 5);
  ASSERT_NE(lv, nullptr);
  EXPECT_NE(SendMessageA(lv, LVM_GETHEADER, 0, 0), 0);
  EXPECT_EQ(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0), 5);
  LVITEMA state{};
  state.stateMask = state.state = LVIS_SELECTED;
  EXPECT_EQ(SendMessageA(lv, LVM_SETITEMSTATE, 2, LPARAM(&state)), 1);
  LVITEMA it{};
  it.mask = LVIF_TEXT;
  it.iItem = 0;
  it.pszText = const_cast<char*>("new");
  EXPECT_EQ(SendMessageA(lv, LVM_INSERTITEMA, 0, LPARAM(&it)), 0);
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, -1, LVNI_SELECTED), 3) << "the same item, one place down";
  EXPECT_EQ(CellText(lv, 3, 0), "row 2");
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, -1, LVNI_ALL), -1);
  EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTEDCOUNT, 0, 0), 1);
  // Focusing every item at once is refused with two or more items.
  LVITEMA focus{};
  focus.stateMask = focus.state = LVIS_FOCUSED;
  EXPECT_EQ(SendMessageA(lv, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&focus)), 0);
  EXPECT_EQ(SendMessageA(lv, LVM_SETCOLUMNWIDTH, 1, 120), 0);
  EXPECT_EQ(SendMessageA(lv, LVM_GETCOLUMNWIDTH, 1, 0), 120);
  EXPECT_EQ(SendMessageA(lv, LVM_DELETEITEM, 3, 0), 1);
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, -1, LVNI_SELECTED), -1);
  DestroyWindow(lv);
}

TEST_F(Lists, ListViewSortsStablyAndPagesFromNoFocus) {
  HWND lv = ListView(host, 0, 1, 30);
  EXPECT_EQ(SendMessageA(lv, LVM_SORTITEMS, 0, LPARAM(CompareNothing)), 1);
  for (int i = 0; i < 30; ++i) ASSERT_EQ(CellText(lv, i, 0), "row " + std::to_string(i));
  SendMessageA(lv, LVM_SORTITEMS, 0, LPARAM(CompareDescending));
  EXPECT_EQ(CellText(lv, 0, 0), "row 29");
  EXPECT_EQ(CellText(lv, 29, 0), "row 0");
  SendMessageA(lv, WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, -1, LVNI_FOCUSED), 0) << "Page Down without focus: item 0";
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, -1, LVNI_SELECTED), 0);
  SendMessageA(lv, WM_KEYDOWN, VK_NEXT, 0);
  int page = int(SendMessageA(lv, LVM_GETCOUNTPERPAGE, 0, 0));
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, -1, LVNI_FOCUSED), page - 1);
  DestroyWindow(lv);
}

TEST_F(Lists, ListViewRowsGrowWithLaterColumnsAndCounts) {
  HWND lv = ListView(host, 0, 1, 3);
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH;
  col.pszText = const_cast<char*>("Later");
  col.cx = 80;
  EXPECT_EQ(SendMessageA(lv, LVM_INSERTCOLUMNA, 1, LPARAM(&col)), 1);
  LVITEMA text{};
  text.iSubItem = 1;
  text.pszText = const_cast<char*>("second cell");
  EXPECT_EQ(SendMessageA(lv, LVM_SETITEMTEXTA, 2, LPARAM(&text)), 1)
      << "the row made before the column has its cell";
  EXPECT_EQ(CellText(lv, 2, 1), "second cell");
  EXPECT_EQ(SendMessageA(lv, LVM_SETITEMCOUNT, 10, 0), 1);
  EXPECT_EQ(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0), 10);
  EXPECT_EQ(SendMessageA(lv, LVM_SETITEMTEXTA, 9, LPARAM(&text)), 1) << "rows made by the count are whole";
  RedrawWindow(lv, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(SendMessageA(lv, LVM_SETITEMCOUNT, 2, 0), 1);
  EXPECT_EQ(CellText(lv, 2, 0), "<none>");
  DestroyWindow(lv);  // frees every row's cells
}

TEST_F(Lists, ListViewPaintsEmptyRowsBelowTheLastItem) {
  std::vector<char> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) lp->palPalEntry[i] = {0, 0, 0, 0};
  lp->palPalEntry[50] = {0, 200, 0, 0};  // the list background
  HPALETTE palette = CreatePalette(lp);
  CcDefaults* d = ccGetDefaultData();
  d->palette = palette;
  d->listBackground = 50;
  d->listText = 0;
  HWND lv = ListView(host, 0, 2, 2);
  RedrawWindow(lv, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  guitest::Pump(100);
  RECT client;
  GetClientRect(lv, &client);
  POINT bottom{client.right / 2, client.bottom - 3};
  ClientToScreen(lv, &bottom);
  EXPECT_EQ(guitest::ScreenPixel(bottom.x, bottom.y), RGB(0, 200, 0));
  guitest::Screenshot("lists_listview_empty_rows");
  DestroyWindow(lv);
  d->palette = nullptr;
  DeleteObject(palette);
}

TEST_F(Lists, RealClicksOnThePaintedBarAndTheRows) {
  HWND list = List(WS_BORDER, 100, 200);
  guitest::Pump(100);
  RECT w;
  GetWindowRect(list, &w);
  // The down arrow of the painted bar, at the bottom right inside the border.
  guitest::Click(POINT{w.right - 8, w.bottom - 6});
  ASSERT_TRUE(guitest::WaitFor([&] { return SendMessageA(list, LB_GETTOPINDEX, 0, 0) >= 1; }, 2000));
  guitest::Pump(100);
  EXPECT_LT(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 5) << "a click is no held press";
  // The page area below the thumb pages down.
  int top = int(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  guitest::Click(POINT{w.right - 8, w.bottom - 30});
  ASSERT_TRUE(guitest::WaitFor([&] { return SendMessageA(list, LB_GETTOPINDEX, 0, 0) > top + 5; }, 2000));
  guitest::Pump(100);
  // A click on a row selects it.
  top = int(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  RECT r;
  ASSERT_NE(SendMessageA(list, LB_GETITEMRECT, top + 2, LPARAM(&r)), LB_ERR);
  POINT p{r.left + 10, r.top + 2};
  ClientToScreen(list, &p);
  guitest::Click(p);
  guitest::Pump(100);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), top + 2);
  EXPECT_EQ(GetFocus(), list);
  DestroyWindow(list);
}

TEST_F(Lists, MultiColumnListMovesByColumns) {
  HWND list = CreateWindowExA(0, "CGUIListWnd", "", WS_CHILD | WS_VISIBLE | LBS_MULTICOLUMN, 10, 10, 200, 100,
                              host, nullptr, nullptr, nullptr);
  for (int i = 0; i < 50; ++i) SendMessageA(list, LB_ADDSTRING, 0, LPARAM(("m" + std::to_string(i)).c_str()));
  int height = int(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  RECT client;
  GetClientRect(list, &client);
  const int rows = client.bottom / height;
  ASSERT_GT(rows, 1);
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  SendMessageA(list, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1 + rows);
  SendMessageA(list, WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
  SendMessageA(list, WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1) << "the first column: nothing";
  // A click in the second column picks the item of that column.
  LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(85, height + 1));
  EXPECT_EQ(LOWORD(hit), 1 + rows);
  SendMessageA(list, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 49);
  DestroyWindow(list);
}

TEST_F(Lists, TreeKeysAndClicksExpandAndCollapse) {
  HWND tree =
      CreateWindowExA(0, "CGUITreeViewWnd", "",
                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT,
                      10, 10, 200, 120, host, HMENU(9), nullptr, nullptr);
  HTREEITEM parent = AddTreeItem(tree, TVI_ROOT, "parent");
  for (int i = 0; i < 20; ++i) AddTreeItem(tree, parent, ("child " + std::to_string(i)).c_str());
  AddTreeItem(tree, TVI_ROOT, "second");
  SendMessageA(tree, WM_KEYDOWN, VK_DOWN, 0);  // no selection: the first row
  EXPECT_EQ(HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)), parent);
  SendMessageA(tree, WM_KEYDOWN, VK_RIGHT, 0);  // expands, nothing else
  EXPECT_EQ(SendMessageA(tree, TVM_GETVISIBLECOUNT, 0, 0) > 0, true);
  EXPECT_EQ(HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)), parent);
  SendMessageA(tree, WM_KEYDOWN, VK_RIGHT, 0);  // expanded: the next row
  EXPECT_EQ(TreeText(tree, HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0))), "child 0");
  SendMessageA(tree, WM_KEYDOWN, VK_LEFT, 0);  // to the parent
  EXPECT_EQ(HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)), parent);
  SendMessageA(tree, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(TreeText(tree, HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0))), "second");
  EXPECT_GT(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0), 0);
  SendMessageA(tree, WM_KEYDOWN, VK_HOME, 0);
  // A click on the parent's button collapses it.
  RECT r;
  *reinterpret_cast<HTREEITEM*>(&r) = parent;
  ASSERT_EQ(SendMessageA(tree, TVM_GETITEMRECT, 0, LPARAM(&r)), 1);
  sent.clear();
  SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, r.top + 2));
  EXPECT_EQ(Notices(TVN_ITEMEXPANDINGA), 1);
  *reinterpret_cast<HTREEITEM*>(&r) =
      HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(parent)));
  EXPECT_EQ(SendMessageA(tree, TVM_GETITEMRECT, 0, LPARAM(&r)), 0) << "collapsed: the children have no rows";
  // A double click on the text toggles and reports the double click.
  sent.clear();
  SendMessageA(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(60, 2));
  EXPECT_EQ(Notices(NM_DBLCLK), 1);
  EXPECT_EQ(Notices(TVN_ITEMEXPANDEDA), 1);
  DestroyWindow(tree);
}

TEST_F(Lists, PageKeysInATreeShorterThanARowNeverGoBackwards) {
  HWND tree = CreateWindowExA(0, "CGUITreeViewWnd", "", WS_CHILD | WS_VISIBLE, 10, 10, 200, 4, host, HMENU(9),
                              nullptr, nullptr);
  std::vector<HTREEITEM> items;
  for (int i = 0; i < 10; ++i) items.push_back(AddTreeItem(tree, TVI_ROOT, ("item " + std::to_string(i)).c_str()));
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(items[5]));
  SendMessageA(tree, WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)), items[5]);
  SendMessageA(tree, WM_KEYDOWN, VK_PRIOR, 0);
  EXPECT_EQ(HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)), items[5]);
  DestroyWindow(tree);
}

TEST_F(Lists, ListViewClicksSelectRangesAndReportColumns) {
  HWND lv = ListView(host, 0, 3, 20);
  guitest::Pump(50);
  HWND header = HWND(SendMessageA(lv, LVM_GETHEADER, 0, 0));
  RECT headerRect;
  GetWindowRect(header, &headerRect);
  const int rowTop = headerRect.bottom - headerRect.top;
  int height = 0;
  {
    LVHITTESTINFO info{};
    info.pt = POINT{100, rowTop + 1};
    EXPECT_EQ(SendMessageA(lv, LVM_SUBITEMHITTEST, 0, LPARAM(&info)), 0);
    EXPECT_EQ(info.iSubItem, 1) << "columns of 90 pixels";
    for (int y = rowTop + 1; !height && y < 100; ++y) {
      info.pt = POINT{10, y};
      if (SendMessageA(lv, LVM_HITTEST, 0, LPARAM(&info)) == 1) height = y - rowTop;
    }
    ASSERT_GT(height, 0);
  }
  sent.clear();
  SendMessageA(lv, WM_LBUTTONDOWN, 0, MAKELPARAM(10, rowTop + 2));
  SendMessageA(lv, WM_LBUTTONDOWN, MK_SHIFT, MAKELPARAM(200, rowTop + 3 * height + 2));
  EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTEDCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTIONMARK, 0, 0), 0);
  EXPECT_EQ(Notices(NM_CLICK), 2);
  SendMessageA(lv, WM_LBUTTONDOWN, MK_CONTROL, MAKELPARAM(10, rowTop + 2));
  EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTEDCOUNT, 0, 0), 3) << "Ctrl toggles";
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, -1, LVNI_FOCUSED), 0);
  // A click on a header item is a column click.
  sent.clear();
  POINT p{headerRect.left + 100, headerRect.top + 3};
  guitest::Click(p);
  guitest::Pump(100);
  EXPECT_EQ(Notices(LVN_COLUMNCLICK), 1);
  DestroyWindow(lv);
}
