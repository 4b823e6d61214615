// The combo box on real windows under Wine: its three windows, the CB_
// messages it passes to its list, the selection copied into the edit, the
// notifications its parent gets (and when), the list dropped and closed by
// keys and by the mouse, the owner-drawn edit, and the list's place on the
// screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "controls.h"
#include "facet.h"
#include "guitest.h"
#include "mousehook.h"
#include "procdata.h"

namespace {

constexpr int kComboId = 31;
constexpr int kButtonId = 55;
constexpr int kButtonWidth = 16;
constexpr int kEditHeight = 20;

std::string Text(HWND w) {
  char buffer[256] = "";
  GetWindowTextA(w, buffer, sizeof buffer);
  return buffer;
}

HWND Child(HWND combo, const char* className) { return guitest::FindWindowOfClass(combo, className); }

// The combo's list: a pop-up it owns, found through the combo's words.
HWND ListOf(HWND combo) { return HWND(GetWindowLongPtrA(combo, 2 * sizeof(LONG_PTR))); }

struct Notice {
  WORD code;
  std::string editText;  // the edit's text when the notice arrived
};

// A parent that records the combo's notices as they arrive, and draws the
// owner-drawn items it is asked to.
struct Combo : ::testing::Test {
  std::vector<Notice> notices;
  std::vector<UINT> ownerDraw;  // WM_MEASUREITEM / WM_DRAWITEM as they came
  std::vector<DRAWITEMSTRUCT> drawn;
  HWND host = nullptr;
  HWND combo = nullptr;

  void SetUp() override { Start(RECT{0, 0, 400, 300}); }
  void Start(RECT screen) {
    ResetProcessDataTable();
    RegisterControlClasses(GetModuleHandleA(nullptr));
    CcDefaults* d = ccInit(nullptr);
    d->comboButtonWidth = kButtonWidth;
    d->comboEditHeight = kEditHeight;
    d->comboButtonId = kButtonId;
    ccSetControlData(nullptr, d);
    host = guitest::CreateTestWindow(screen,
                                     [this](HWND, UINT m, WPARAM wp, LPARAM lp, bool* handled) -> LRESULT {
                                       if (m == WM_COMMAND && LOWORD(wp) == kComboId) {
                                         HWND edit = guitest::FindWindowOfClass(HWND(lp), "CGUIEdit");
                                         notices.push_back({HIWORD(wp), edit ? Text(edit) : "<no edit>"});
                                       }
                                       // As a dialog does, the host leaves the focus where the caller puts
                                       // it when it becomes active again (the open list is a pop-up of its
                                       // own).
                                       if (m == WM_ACTIVATE) {
                                         *handled = true;
                                         return 0;
                                       }
                                       if (m == WM_MEASUREITEM || m == WM_DRAWITEM) {
                                         ownerDraw.push_back(m);
                                         if (m == WM_DRAWITEM)
                                           drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
                                         *handled = true;
                                         return 0;
                                       }
                                       return 0;
                                     });
  }
  void TearDown() override {
    if (host) DestroyWindow(host);
    UnregisterControlClasses();
    ResetProcessDataTable();
  }
  HWND Make(DWORD style, const std::vector<const char*>& items = {"Rook", "Knight", "Bishop", "Queen"},
            RECT r = RECT{20, 20, 180, 140}) {
    combo = CreateWindowExA(0, "CGUIComboBox", "", WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, host, HMENU(kComboId), nullptr, nullptr);
    for (const char* item : items) SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(item));
    return combo;
  }
  HWND Edit() { return Child(combo, "CGUIEdit"); }
  HWND Button() { return Child(combo, "CGUIBMPButton"); }
  bool Dropped() { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }
  // The notices that arrived since the last call, once posted ones are in.
  std::vector<Notice> Take() {
    guitest::Pump(30);
    std::vector<Notice> taken;
    taken.swap(notices);
    return taken;
  }
  static std::vector<WORD> CodesOf(const std::vector<Notice>& n) {
    std::vector<WORD> codes;
    for (const Notice& x : n) codes.push_back(x.code);
    return codes;
  }
  void FocusEdit() {
    SetForegroundWindow(host);
    SetFocus(Edit());
    guitest::Pump(50);
  }
  // The button's click as the combo gets it.
  void ClickButtonNotice() {
    SendMessageA(combo, WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED), LPARAM(Button()));
    guitest::Pump(30);
  }
  POINT ItemCentre(int item) {
    RECT r{};
    SendMessageA(ListOf(combo), LB_GETITEMRECT, item, LPARAM(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(ListOf(combo), &p);
    return p;
  }
};

using CodeList = std::vector<WORD>;

TEST_F(Combo, BuildsItsThreeWindowsFromTheDefaults) {
  Make(CBS_DROPDOWNLIST);
  ASSERT_NE(combo, nullptr);
  HWND edit = Edit(), button = Button(), list = ListOf(combo);
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(button, nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(GetDlgCtrlID(edit), 100);
  EXPECT_EQ(GetDlgCtrlID(button), kButtonId);
  EXPECT_EQ(Text(button), "COMBOBOXBTN");
  RECT r;
  GetWindowRect(combo, &r);
  EXPECT_EQ(r.bottom - r.top, kEditHeight + 1) << "the combo is as high as its edit and a line";
  EXPECT_EQ(r.right - r.left, 160);
  RECT b;
  GetWindowRect(button, &b);
  EXPECT_EQ(b.left - r.left, 160 - kButtonWidth + 2);
  EXPECT_EQ(b.right - b.left, kButtonWidth);
  // The list: a hidden pop-up owned by the top-level window, that knows its combo.
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_POPUP);
  EXPECT_EQ(GetWindow(list, GW_OWNER), host);
  EXPECT_EQ(HWND(SendMessageA(list, 0x86B0, 0, 0)), combo);
  RECT l;
  GetWindowRect(list, &l);
  EXPECT_EQ(l.right - l.left, 160);
  EXPECT_LE(l.bottom - l.top, 120);
  // Any later move keeps the combo's height.
  SetWindowPos(combo, nullptr, 0, 0, 200, 90, SWP_NOMOVE | SWP_NOZORDER);
  GetWindowRect(combo, &r);
  EXPECT_EQ(r.bottom - r.top, kEditHeight + 1);
}

TEST_F(Combo, AComboNarrowerThanItsButtonStillWorks) {
  Make(CBS_DROPDOWN, {"a", "b"}, RECT{20, 20, 28, 60});
  ASSERT_NE(combo, nullptr);
  ASSERT_NE(Edit(), nullptr);
  SetWindowPos(combo, nullptr, 0, 0, 4, 40, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 1, 0), 1);
  EXPECT_EQ(Text(Edit()), "b");
  ClickButtonNotice();
  EXPECT_TRUE(Dropped());
  SendMessageA(combo, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(Dropped());
}

TEST_F(Combo, OnlyAPlainComboCanBeTypedIn) {
  const struct {
    DWORD style;
    bool readOnly;
  } cases[] = {{0, false}, {CBS_SIMPLE, true}, {CBS_DROPDOWN, true}, {CBS_DROPDOWNLIST, true}, {0x10, true}};
  for (const auto& c : cases) {
    Make(c.style);
    EXPECT_EQ((GetWindowLongA(Edit(), GWL_STYLE) & ES_READONLY) != 0, c.readOnly) << "style " << c.style;
    DestroyWindow(combo);
  }
}

TEST_F(Combo, ListMessagesAnswerFromTheList) {
  Make(CBS_DROPDOWNLIST, {});
  EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, LPARAM("e4")), 0);
  EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, LPARAM("d4")), 1);
  EXPECT_EQ(SendMessageA(combo, CB_INSERTSTRING, 1, LPARAM("c4")), 1);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 3);
  char text[16] = "";
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 1, LPARAM(text)), 2);
  EXPECT_STREQ(text, "c4");
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXTLEN, 2, 0), 2) << "callers size their buffer by it";
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXTLEN, 9, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(combo, CB_FINDSTRING, WPARAM(-1), LPARAM("d")), 2);
  EXPECT_EQ(SendMessageA(combo, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("c4")), 1);
  EXPECT_EQ(SendMessageA(combo, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("c")), CB_ERR);
  EXPECT_EQ(SendMessageA(combo, CB_SETITEMDATA, 2, 0xBEEF), 0);
  EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, 2, 0), 0xBEEF);
  EXPECT_GT(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(combo, CB_DELETESTRING, 0, 0), 2);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(combo, CB_RESETCONTENT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
  EXPECT_TRUE(Take().empty()) << "none of these notifies";
}

TEST_F(Combo, SetCurSelCopiesIntoTheEditAndMinusOneEmptiesIt) {
  const struct {
    DWORD style;
    CodeList codes;  // after CB_SETCURSEL 2
  } cases[] = {
      {CBS_DROPDOWN, {CBN_EDITCHANGE}},
      {CBS_DROPDOWNLIST, {}},  // a drop-down list's edit is no edit to change
      {0, {CBN_EDITCHANGE}},
  };
  for (const auto& c : cases) {
    Make(c.style);
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(Text(Edit()), "Bishop");
    EXPECT_EQ(CodesOf(Take()), c.codes) << "style " << c.style;
    if (c.style == CBS_DROPDOWN) {
      DWORD start = 0, end = 0;
      SendMessageA(Edit(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
      EXPECT_EQ(start, 0u);
      EXPECT_EQ(end, 6u) << "the copied text is selected";
    }
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, WPARAM(-1), 0), -1);
    EXPECT_EQ(Text(Edit()), "");
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_TRUE(Take().empty()) << "no notice for no selection, style " << c.style;
    // Emptying the list empties the edit too: it shows no entry that is gone.
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    Take();
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(Text(Edit()), "") << "style " << c.style;
    EXPECT_TRUE(Take().empty()) << "style " << c.style;
    DestroyWindow(combo);
  }
}

TEST_F(Combo, SelectStringTellsTheChangeBeforeTheCopy) {
  Make(CBS_DROPDOWN);
  EXPECT_EQ(SendMessageA(combo, CB_SELECTSTRING, WPARAM(-1), LPARAM("Qu")), 3);
  std::vector<Notice> n = Take();
  ASSERT_EQ(CodesOf(n), (CodeList{CBN_SELCHANGE, CBN_EDITCHANGE}));
  EXPECT_EQ(n[0].editText, "Queen") << "the change is posted, and arrives after the copy";
  EXPECT_EQ(SendMessageA(combo, CB_SELECTSTRING, WPARAM(-1), LPARAM("King")), CB_ERR);
  EXPECT_TRUE(Take().empty());
  EXPECT_EQ(Text(Edit()), "Queen") << "no match leaves the choice";
}

TEST_F(Combo, ATextLongerThanAnyBufferIsCopiedWhole) {
  std::string longText(5000, 'x');
  longText += "end";
  Make(CBS_DROPDOWNLIST, {"short", longText.c_str()});
  EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 1, 0), 1);
  std::vector<char> buffer(6000);
  GetWindowTextA(Edit(), buffer.data(), int(buffer.size()));
  EXPECT_EQ(std::string(buffer.data()), longText);
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  EXPECT_EQ(Text(Edit()), "short");
}

TEST_F(Combo, AnEmptyListOpensClosesAndCopiesNothing) {
  for (DWORD style : {DWORD(CBS_DROPDOWN), DWORD(CBS_DROPDOWNLIST), DWORD(CBS_DROPDOWNLIST | 0x10)}) {
    Make(style, {});
    FocusEdit();
    guitest::PressKey(VK_DOWN);
    guitest::PressKey(VK_END);
    guitest::PressKey(VK_RETURN);
    ClickButtonNotice();
    ASSERT_TRUE(Dropped()) << "style " << style;
    RECT l;
    GetWindowRect(ListOf(combo), &l);
    guitest::Click(POINT{(l.left + l.right) / 2, l.top + 5});
    SendMessageA(combo, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_SELECTSTRING, WPARAM(-1), LPARAM("a")), CB_ERR);
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(Text(Edit()), "");
    UpdateWindow(Edit());
    DestroyWindow(combo);
    Take();
  }
}

TEST_F(Combo, DownInTheEditDropsTheListAndEscapeClosesIt) {
  Make(CBS_DROPDOWN);
  FocusEdit();
  guitest::PressKey(VK_DOWN);
  ASSERT_TRUE(Dropped());
  EXPECT_EQ(GetFocus(), ListOf(combo));
  std::vector<Notice> n = Take();
  ASSERT_FALSE(n.empty());
  EXPECT_EQ(n[0].code, CBN_DROPDOWN);
  // The list hangs a pixel below the edit's client area.
  RECT c, l, e;
  GetWindowRect(combo, &c);
  GetWindowRect(ListOf(combo), &l);
  GetClientRect(Edit(), &e);
  MapWindowPoints(Edit(), nullptr, reinterpret_cast<POINT*>(&e), 2);
  EXPECT_EQ(l.left, c.left);
  EXPECT_EQ(l.top, e.bottom + 1);

  // Escape in the list that has the focus closes it; the keys go back to the edit.
  guitest::PressKey(VK_ESCAPE);
  EXPECT_FALSE(Dropped());
  EXPECT_EQ(CodesOf(Take()), CodeList{CBN_CLOSEUP});
  EXPECT_EQ(GetFocus(), Edit());

  // Escape that reaches the edit while the list is down.
  guitest::PressKey(VK_DOWN);
  ASSERT_TRUE(Dropped());
  Take();
  SendMessageA(Edit(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(Dropped());
  EXPECT_EQ(CodesOf(Take()), CodeList{CBN_CLOSEUP});
  // The keyboard's drop left nothing of the hook behind: clicks reach the host again.
  EXPECT_NE(GetMenuOwnerWindow(), combo);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Combo, KeysStepTheChoiceAndEnterTakesIt) {
  Make(CBS_DROPDOWN);
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  FocusEdit();
  Take();
  guitest::PressKey(VK_DOWN);  // drops the list and steps on
  guitest::PressKey(VK_DOWN);
  ASSERT_TRUE(Dropped());
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Text(Edit()), "Bishop") << "each step is copied";
  Take();
  guitest::PressKey(VK_RETURN);
  EXPECT_FALSE(Dropped());
  std::vector<Notice> n = Take();
  ASSERT_GE(n.size(), 3u);
  EXPECT_EQ(n.front().code, CBN_SELCHANGE);
  EXPECT_EQ(n.back().code, CBN_CLOSEUP);
  EXPECT_EQ(Text(Edit()), "Bishop");
  EXPECT_EQ(GetFocus(), Edit());
}

TEST_F(Combo, DownOnAClosedDropDownListStepsWithoutOpening) {
  Make(CBS_DROPDOWNLIST);
  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  FocusEdit();
  Take();
  guitest::PressKey(VK_DOWN);
  EXPECT_FALSE(Dropped());
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Text(Edit()), "Bishop");
  EXPECT_EQ(GetFocus(), Edit()) << "the hidden list does not take the keyboard";
  CodeList codes = CodesOf(Take());
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), CBN_SELCHANGE);
  for (WORD code : codes) EXPECT_NE(code, CBN_EDITCHANGE) << "not for a drop-down list";
  guitest::PressKey(VK_HOME);
  EXPECT_EQ(Text(Edit()), "Rook");
  EXPECT_FALSE(Dropped());
}

TEST_F(Combo, ClickingAnItemTakesItAndCloses) {
  Make(CBS_DROPDOWN);
  FocusEdit();
  ClickButtonNotice();
  ASSERT_TRUE(Dropped());
  EXPECT_EQ(CodesOf(Take()), CodeList{CBN_DROPDOWN});
  guitest::Click(ItemCentre(3));
  EXPECT_FALSE(Dropped());
  EXPECT_EQ(Text(Edit()), "Queen");
  std::vector<Notice> n = Take();
  ASSERT_GE(n.size(), 3u);
  EXPECT_EQ(n.front().code, CBN_SELCHANGE);
  EXPECT_EQ(n.front().editText, "Queen");
  EXPECT_EQ(n.back().code, CBN_CLOSEUP);
  bool editChange = false;
  for (const Notice& x : n) editChange |= x.code == CBN_EDITCHANGE;
  EXPECT_TRUE(editChange);
}

TEST_F(Combo, ClickingOutsideClosesTheListAndTheClickStillArrives) {
  int clicks = 0;
  HWND other = guitest::CreateTestWindow(RECT{500, 400, 600, 450},
                                         [&clicks](HWND, UINT m, WPARAM, LPARAM, bool*) -> LRESULT {
                                           clicks += m == WM_LBUTTONDOWN;
                                           return 0;
                                         });
  Make(CBS_DROPDOWNLIST);
  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  FocusEdit();
  ClickButtonNotice();
  ASSERT_TRUE(Dropped());
  Take();
  guitest::MoveMouse(POINT{300, 250});  // a move away leaves the list down
  guitest::Pump(30);
  EXPECT_TRUE(Dropped());
  guitest::Click(POINT{550, 425});
  guitest::Pump(30);
  EXPECT_FALSE(Dropped());
  EXPECT_EQ(clicks, 1) << "the click reached the window under the mouse";
  EXPECT_EQ(CodesOf(Take()), CodeList{CBN_CLOSEUP});
  EXPECT_EQ(Text(Edit()), "Knight") << "the choice stays";
  EXPECT_EQ(GetCapture(), nullptr);
  guitest::Click(POINT{550, 425});
  EXPECT_EQ(clicks, 2) << "the mouse is free again";
  DestroyWindow(other);
}

// Another program becoming active is told to top-level windows only: the
// open list (a pop-up) hears it, and the combo closes up and frees the mouse.
TEST_F(Combo, AnotherProgramBecomingActiveClosesTheList) {
  Make(CBS_DROPDOWNLIST);
  FocusEdit();
  ClickButtonNotice();
  ASSERT_TRUE(Dropped());
  Take();
  SendMessageA(ListOf(combo), WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(Dropped());
  EXPECT_EQ(CodesOf(Take()), CodeList{CBN_CLOSEUP});
  EXPECT_EQ(GetCapture(), nullptr);
  SendMessageA(ListOf(combo), WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_FALSE(Dropped()) << "coming back opens nothing";
}

TEST_F(Combo, ListNearTheBottomOpensAboveTheCombo) {
  DestroyWindow(host);
  int height = GetSystemMetrics(SM_CYSCREEN);
  Start(RECT{0, height - 60, 400, height});
  Make(CBS_DROPDOWNLIST, {"a", "b", "c"}, RECT{20, 20, 180, 140});
  ClickButtonNotice();
  ASSERT_TRUE(Dropped());
  RECT c, l;
  GetWindowRect(combo, &c);
  GetWindowRect(ListOf(combo), &l);
  EXPECT_EQ(l.bottom, c.top);
  EXPECT_LE(l.bottom, height);
  EXPECT_GE(l.top, 0);
}

TEST_F(Combo, OwnerDrawnEditAsksTheParentToDrawTheChoice) {
  Make(CBS_DROPDOWNLIST | 0x10, {"a", "b", "c"});
  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  ownerDraw.clear();
  drawn.clear();
  InvalidateRect(Edit(), nullptr, TRUE);
  UpdateWindow(Edit());
  ASSERT_GE(ownerDraw.size(), 2u);
  EXPECT_EQ(ownerDraw[0], UINT(WM_MEASUREITEM));
  EXPECT_EQ(ownerDraw[1], UINT(WM_DRAWITEM)) << "a measure answered 0 lets the draw follow";
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn[0].CtlType, 5u);
  EXPECT_EQ(drawn[0].CtlID, UINT(kComboId)) << "the parent sees the combo's id";
  EXPECT_EQ(drawn[0].itemID, 1u);
  EXPECT_EQ(drawn[0].hwndItem, Edit());
  SendMessageA(Edit(), EM_SETSEL, 0, -1);
  DWORD start = 5, end = 5;
  SendMessageA(Edit(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
  EXPECT_EQ(start, end) << "the owner-drawn edit keeps no selection";
}

TEST_F(Combo, DestroyedWhileDroppedTakesItsListAndTheMouseWithIt) {
  Make(CBS_DROPDOWN);
  FocusEdit();
  guitest::PressKey(VK_DOWN);
  HWND list = ListOf(combo);
  ASSERT_TRUE(IsWindowVisible(list));
  DestroyWindow(combo);
  EXPECT_FALSE(IsWindow(list));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_NE(GetMenuOwnerWindow(), combo);
}

TEST_F(Combo, ClosingTheWindowWithTheListOpenFreesTheMouse) {
  // The list is owned by the top-level window and goes first, before the combo.
  Make(CBS_DROPDOWNLIST);
  ClickButtonNotice();
  ASSERT_TRUE(Dropped());
  DestroyWindow(host);
  host = nullptr;
  int clicks = 0;
  HWND other = guitest::CreateTestWindow(RECT{500, 400, 600, 450},
                                         [&clicks](HWND, UINT m, WPARAM, LPARAM, bool*) -> LRESULT {
                                           clicks += m == WM_LBUTTONDOWN;
                                           return 0;
                                         });
  guitest::Click(POINT{550, 425});
  EXPECT_EQ(clicks, 1);
  DestroyWindow(other);
}

TEST_F(Combo, FontGoesToAllThreeWindows) {
  Make(CBS_DROPDOWN);
  HFONT font = HFONT(GetStockObject(ANSI_VAR_FONT));
  SendMessageA(combo, WM_SETFONT, WPARAM(font), FALSE);
  EXPECT_EQ(HFONT(SendMessageA(Edit(), WM_GETFONT, 0, 0)), font);
  // The edit takes its font's height (and its frame) at the next size.
  SetWindowPos(combo, nullptr, 0, 0, 200, 50, SWP_NOMOVE | SWP_NOZORDER);
  HDC dc = GetDC(Edit());
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(Edit(), dc);
  RECT e, client;
  GetWindowRect(Edit(), &e);
  GetClientRect(Edit(), &client);
  EXPECT_EQ(client.bottom, tm.tmHeight);
  EXPECT_EQ(e.right - e.left, 200 - kButtonWidth + 2);
}

TEST_F(Combo, CommandsFromItsWindowsBecomeTheComboNotices) {
  Make(CBS_DROPDOWN);
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  HWND list = ListOf(combo), edit = Edit(), button = Button();
  struct Case {
    const char* what;
    HWND from;
    WORD code;
    bool dropped;    // afterwards
    CodeList codes;  // after CBN_DROPDOWN
  } cases[] = {
      {"list selection", list, LBN_SELCHANGE, true, {CBN_SELCHANGE, CBN_EDITCHANGE}},
      {"list double click", list, LBN_DBLCLK, false, {CBN_CLOSEUP, CBN_DBLCLK}},
      // The focus is still in the combo: these checks leave the list down.
      {"list lost the focus", list, LBN_KILLFOCUS, true, {}},
      {"button lost the focus", button, BN_KILLFOCUS, true, {}},
      {"edit lost the focus", edit, EN_KILLFOCUS, true, {}},
      {"button double click", button, BN_DOUBLECLICKED, true, {}},
      {"edit change", edit, EN_CHANGE, true, {}},
  };
  for (const Case& c : cases) {
    if (!Dropped()) ClickButtonNotice();
    ASSERT_TRUE(Dropped()) << c.what;
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    Take();
    SendMessageA(combo, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c.from), c.code), LPARAM(c.from));
    EXPECT_EQ(Dropped(), c.dropped) << c.what;
    EXPECT_EQ(CodesOf(Take()), c.codes) << c.what;
  }
  EXPECT_EQ(Text(edit), "Bishop");
  // The focus moving to a window outside the combo closes the list.
  HWND elsewhere = CreateWindowExA(0, "CGUIEdit", "", WS_CHILD | WS_VISIBLE, 200, 200, 80, 20, host, nullptr,
                                   nullptr, nullptr);
  for (HWND from : {list, edit}) {
    if (!Dropped()) ClickButtonNotice();
    SetFocus(from);
    Take();
    SetFocus(elsewhere);
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(CodesOf(Take()), CodeList{CBN_CLOSEUP});
    EXPECT_EQ(GetFocus(), elsewhere) << "the close-up leaves the focus where it went";
  }
}

TEST_F(Combo, FocusGoesToTheEditOrTheOpenList) {
  Make(CBS_DROPDOWNLIST);
  SetForegroundWindow(host);
  SetFocus(combo);
  guitest::Pump(20);
  EXPECT_EQ(GetFocus(), Edit());
  ClickButtonNotice();
  SetFocus(combo);
  guitest::Pump(20);
  EXPECT_EQ(GetFocus(), ListOf(combo));
  EXPECT_TRUE(Dropped());
}

TEST_F(Combo, TabInTheEditMovesToTheNextControl) {
  std::vector<std::pair<WPARAM, LPARAM>> moves;
  DestroyWindow(host);
  Start(RECT{0, 0, 400, 300});
  SetWindowLongPtrA(host, GWLP_USERDATA, 0);
  Make(CBS_DROPDOWNLIST);
  // The host learns of the move through WM_NEXTDLGCTL, as a dialog does.
  struct Spy {
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
      if (m == WM_NEXTDLGCTL) {
        SetWindowLongPtrA(w, GWLP_USERDATA, GetWindowLongPtrA(w, GWLP_USERDATA) + 1);
        return 0;
      }
      return CallWindowProcA(WNDPROC(GetPropA(w, "base")), w, m, wp, lp);
    }
  };
  SetPropA(host, "base", HANDLE(GetWindowLongPtrA(host, GWLP_WNDPROC)));
  SetWindowLongPtrA(host, GWLP_WNDPROC, LONG_PTR(Spy::Proc));
  FocusEdit();
  guitest::PressKey(VK_TAB);
  EXPECT_EQ(GetWindowLongPtrA(host, GWLP_USERDATA), 1);
  SetWindowLongPtrA(host, GWLP_WNDPROC, LONG_PTR(GetPropA(host, "base")));
  RemovePropA(host, "base");
}

struct FramePainted {
  HWND window;
  RECT rect;
  int border, buttonWidth;
  DWORD style;
  int calls;
} g_painted;

void RecordFrame(HWND window, HDC, RECT* rect, int border, int buttonWidth, DWORD style) {
  g_painted = {window, *rect, border, buttonWidth, style, g_painted.calls + 1};
}

TEST_F(Combo, BorderedComboFramesItselfThroughThePainter) {
  CcDefaults* d = ccGetDefaultData();
  d->ncFrameWidth = 3;
  d->comboFramePainter = reinterpret_cast<void*>(RecordFrame);
  g_painted = {};
  Make(CBS_DROPDOWNLIST | WS_BORDER);
  RedrawWindow(combo, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_GE(g_painted.calls, 1);
  EXPECT_EQ(g_painted.window, combo);
  EXPECT_EQ(g_painted.border, 3);
  EXPECT_EQ(g_painted.buttonWidth, kButtonWidth);
  EXPECT_TRUE(g_painted.style & WS_BORDER);
  EXPECT_EQ(g_painted.rect.left, 0);
  EXPECT_EQ(g_painted.rect.right, 160);
  RECT client;
  GetClientRect(combo, &client);
  EXPECT_EQ(client.right, 160 - 6) << "the border comes off each side";
  // Hit testing: inside is client; outside only while the list is down.
  RECT w;
  GetWindowRect(combo, &w);
  EXPECT_EQ(SendMessageA(combo, WM_NCHITTEST, 0, MAKELPARAM(w.left + 1, w.top + 1)), HTCLIENT);
  EXPECT_EQ(SendMessageA(combo, WM_NCHITTEST, 0, MAKELPARAM(w.right + 50, w.top)), 0);
  ClickButtonNotice();
  EXPECT_EQ(SendMessageA(combo, WM_NCHITTEST, 0, MAKELPARAM(w.right + 50, w.top)), HTBORDER);
}

TEST_F(Combo, SimpleComboKeepsItsListShown) {
  Make(CBS_SIMPLE);
  ClickButtonNotice();
  ASSERT_TRUE(Dropped());
  Take();
  SendMessageA(combo, 0x8670, 0, 0);
  EXPECT_TRUE(Dropped());
  EXPECT_TRUE(Take().empty()) << "no close-up for a list that stays";
  EXPECT_EQ(GetCapture(), nullptr) << "but the mouse is free";
}

TEST_F(Combo, OwnerDrawnListItemsReachTheParentUnderTheCombosId) {
  Make(CBS_DROPDOWNLIST | 0x10, {"a", "b", "c"});
  drawn.clear();
  ClickButtonNotice();
  UpdateWindow(ListOf(combo));
  bool listItem = false;
  for (const DRAWITEMSTRUCT& di : drawn)
    if (di.CtlType == ODT_LISTBOX) {
      listItem = true;
      EXPECT_EQ(di.CtlID, UINT(kComboId));
    }
  EXPECT_TRUE(listItem);
}

TEST_F(Combo, ItsButtonOpensAndClosesTheList) {
  Make(CBS_DROPDOWNLIST);
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  FocusEdit();
  Take();
  RECT b;
  GetWindowRect(Button(), &b);
  const POINT centre{(b.left + b.right) / 2 - 1, (b.top + b.bottom) / 2};
  guitest::Click(centre);
  guitest::Pump(30);
  ASSERT_TRUE(Dropped());
  EXPECT_EQ(GetFocus(), ListOf(combo));
  EXPECT_EQ(CodesOf(Take()), CodeList{CBN_DROPDOWN});
  // A second click on the button, while the list holds the mouse, closes it
  // and leaves it closed.
  guitest::Click(centre);
  guitest::Pump(30);
  EXPECT_FALSE(Dropped());
  EXPECT_EQ(CodesOf(Take()), CodeList{CBN_CLOSEUP});
  EXPECT_EQ(SendMessageA(Button(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Text(Edit()), "Rook");
  // And once more: open, then pick with the mouse.
  guitest::Click(centre);
  ASSERT_TRUE(Dropped());
  guitest::Click(ItemCentre(2));
  EXPECT_FALSE(Dropped());
  EXPECT_EQ(Text(Edit()), "Bishop");
}

}  // namespace
