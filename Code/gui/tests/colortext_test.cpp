// The colour text control on real windows under Wine: entries painted in
// their colours and wrapped, the current entry chosen by mouse and keys with
// the parent told, scrolling, resizing, clearing and the control's answers.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "client_pixels.h"
#include "colortext_layout.h"
#include "controls.h"
#include "facet.h"
#include "guitest.h"
#include "procdata.h"

namespace {

static_assert(CTM_ADDENTRY == 0x8621, "the message callers use to add an entry");

// Palette entries of the test: paper, ink, selection and selected ink.
enum { kPaper = 30, kInk = 31, kSelection = 32, kSelectedInk = 33 };
constexpr COLORREF kPaperRgb = RGB(250, 250, 240);
constexpr COLORREF kSelectionRgb = RGB(0, 0, 160);
constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kGreen = RGB(0, 170, 0);

HPALETTE MakePalette() {
  return guitest::MakePalette([](int i) {
    switch (i) {
      case kPaper: return PALETTEENTRY{250, 250, 240, 0};
      case kInk: return PALETTEENTRY{0, 0, 0, 0};
      case kSelection: return PALETTEENTRY{0, 0, 160, 0};
      case kSelectedInk: return PALETTEENTRY{255, 255, 255, 0};
      default: return PALETTEENTRY{BYTE(i), BYTE(i), BYTE(i), 0};
    }
  });
}

struct ColorText : ::testing::Test {
  std::vector<std::pair<WPARAM, LPARAM>> commands;
  std::vector<WPARAM> nextControl;  // WM_NEXTDLGCTL asked of the parent
  HWND host = nullptr;
  HPALETTE palette = nullptr;
  int lineHeight = 0;

  void SetUp() override {
    ResetProcessDataTable();
    RegisterControlClasses(GetModuleHandleA(nullptr));
    CcDefaults* d = ccInit(nullptr);
    palette = MakePalette();
    d->palette = palette;
    d->colorTextBackground = kPaper;
    d->colorTextText = kInk;
    d->colorTextSelection = kSelection;
    d->colorTextSelectedText = kSelectedInk;
    ccSetControlData(nullptr, d);
    host = guitest::CreateTestWindow(RECT{0, 0, 400, 300},
                                     [this](HWND, UINT m, WPARAM wp, LPARAM lp, bool* handled) -> LRESULT {
                                       if (m == WM_COMMAND) commands.push_back({wp, lp});
                                       if (m == WM_NEXTDLGCTL) nextControl.push_back(wp);
                                       if (m == WM_CTLCOLOREDIT) *handled = true;  // no brush of ours
                                       return 0;
                                     });
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SIZE size{};
    GetTextExtentPoint32A(dc, "WAXZyjpg", 8, &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    lineHeight = size.cy;
  }
  void TearDown() override {
    DestroyWindow(host);
    UnregisterControlClasses();
    ResetProcessDataTable();
    DeleteObject(palette);
  }
  HWND Make(int width, int height, DWORD style = WS_VSCROLL, int id = 7) {
    return CreateWindowExA(0, "CGUIColorText", "", WS_CHILD | WS_VISIBLE | style, 10, 10, width, height, host,
                           HMENU(INT_PTR(id)), nullptr, nullptr);
  }
  const ColorTextEntry* Add(HWND c, const char* text, uint32_t flags = 0, COLORREF colour = 0,
                            uint32_t data = 0) {
    ColorTextEntry e{colour, text, 0, data, flags};
    return reinterpret_cast<const ColorTextEntry*>(SendMessageA(c, CTM_ADDENTRY, 0, LPARAM(&e)));
  }
  std::string Current(HWND c) {
    ColorTextEntry e{};
    if (!SendMessageA(c, CTM_GETCURENTRY, 0, LPARAM(&e))) return "(none)";
    return e.text;
  }
  int Commands(WORD code) {
    int n = 0;
    for (auto& c : commands) n += HIWORD(c.first) == code && LOWORD(c.first) == 7;
    return n;
  }
  void Show(HWND c) {
    UpdateWindow(host);
    RedrawWindow(c, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    guitest::Pump(60);
  }
};

TEST_F(ColorText, AnswersItsMessages) {
  HWND c = Make(200, 80, 0);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(SendMessageA(c, WM_GETDLGCODE, 0, 0), 4);
  EXPECT_STREQ(reinterpret_cast<const char*>(SendMessageA(c, CTM_GETSEPARATORS, 0, 0)), " \t\r\n");
  EXPECT_EQ(SendMessageA(c, CTM_GETMARGIN, 0, 0), 6);
  EXPECT_EQ(SendMessageA(c, CTM_SETMARGIN, 9, 0), 6);
  EXPECT_EQ(SendMessageA(c, CTM_GETMARGIN, 0, 0), 9);
  EXPECT_EQ(SendMessageA(c, CTM_SETSEPARATORS, 3, LPARAM(" -")), 0) << "shorter than the minimum";
  EXPECT_EQ(SendMessageA(c, CTM_SETSEPARATORS, 1, 0), 0) << "no string";
  EXPECT_EQ(SendMessageA(c, CTM_SETSEPARATORS, 1, LPARAM(" -")), 2);
  EXPECT_STREQ(reinterpret_cast<const char*>(SendMessageA(c, CTM_GETSEPARATORS, 0, 0)), " -");
  EXPECT_EQ(SendMessageA(c, 0x8622, 1, 1), 0);
  EXPECT_EQ(SendMessageA(c, 0x862B, 1, 1), 0);

  EXPECT_EQ(SendMessageA(c, CTM_ADDENTRY, 0, 0), 0) << "no entry";
  const ColorTextEntry* adler = Add(c, "Adler", kCtSelectable, 0, 11);
  const ColorTextEntry* empty = Add(c, nullptr, 0);  // a missing text is an empty one
  const ColorTextEntry* brandt = Add(c, "Brandt", kCtSelectable, 0, 22);
  ASSERT_NE(adler, nullptr);
  ASSERT_NE(empty, nullptr);
  EXPECT_STREQ(empty->text, "");
  EXPECT_EQ(Current(c), "(none)");
  EXPECT_EQ(SendMessageA(c, CTM_FINDENTRY, 0, LPARAM("Brandt")), LRESULT(brandt));
  EXPECT_EQ(SendMessageA(c, CTM_FINDENTRY, 0, LPARAM("Brand")), 0) << "a prefix is not the text";
  EXPECT_EQ(SendMessageA(c, CTM_FINDENTRY, 2, LPARAM("DLE")), LRESULT(adler));
  EXPECT_EQ(SendMessageA(c, CTM_FINDENTRY, 3, 22), LRESULT(brandt));
  EXPECT_EQ(SendMessageA(c, CTM_FINDENTRY, 1, 0), 0);

  EXPECT_EQ(SendMessageA(c, CTM_SETCURENTRY, 0, LPARAM(brandt)), 1);
  EXPECT_EQ(Current(c), "Brandt");
  EXPECT_EQ(SendMessageA(c, CTM_SETCURENTRY, 0, LPARAM(brandt)), 1) << "already current";
  ColorTextEntry stranger{0, "Brandt", 0, 22, kCtSelectable};
  EXPECT_EQ(SendMessageA(c, CTM_SETCURENTRY, 0, LPARAM(&stranger)), 0) << "not one of the control's";
  EXPECT_EQ(Current(c), "Brandt");
  SendMessageA(c, CTM_SETCURENTRY, 0, 0);
  EXPECT_EQ(Current(c), "(none)");
  EXPECT_TRUE(commands.empty()) << "setting the entry tells nobody";
}

TEST_F(ColorText, EntriesShowInTheirColoursAndWrapToTheWidth) {
  HWND c = Make(220, 220, 0);
  Add(c, "Adler", kCtOwnColour, kRed);
  Add(c, " won the last game of the club championship after a long endgame against ");
  Add(c, "Brandt", kCtOwnColour | kCtBold, kGreen);
  Show(c);
  ClientPixels p = GrabClient(c);
  EXPECT_EQ(p.At(p.width - 2, p.height - 2), kPaperRgb) << "the background colour";
  int red = p.FirstRow(kRed), green = p.FirstRow(kGreen);
  ASSERT_GE(red, 0) << "the first entry in its own colour";
  ASSERT_GE(green, 0) << "the last entry in its own colour";
  EXPECT_LT(red, lineHeight);
  EXPECT_GE(green, 2 * lineHeight) << "the long entry wrapped over more than one line";
  EXPECT_GT(p.Count(RGB(0, 0, 0), 0, lineHeight), 0) << "plain text in the text colour after the name";

  // A larger font: taller lines and fewer words on each, so the last
  // entry comes on a later line.
  HFONT large = CreateFontA(-22, 0, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, VARIABLE_PITCH, "Arial");
  HDC dc = GetDC(c);
  HGDIOBJ old = SelectObject(dc, large);
  SIZE tall{};
  GetTextExtentPoint32A(dc, "WAXZyjpg", 8, &tall);
  SelectObject(dc, old);
  ReleaseDC(c, dc);
  SendMessageA(c, WM_SETFONT, WPARAM(large), 1);
  guitest::Pump(30);
  p = GrabClient(c);
  ASSERT_GE(p.FirstRow(kGreen), 0);
  EXPECT_GT(p.FirstRow(kGreen) / tall.cy, green / lineHeight) << "laid out again in the new font";
  EXPECT_LT(p.FirstRow(kRed), tall.cy);
  SendMessageA(c, WM_SETFONT, 0, 0);
  DeleteObject(large);

  // Clearing leaves only the background.
  EXPECT_EQ(SendMessageA(c, CTM_RESETCONTENT, 0, 1), 0);
  guitest::Pump(30);
  p = GrabClient(c);
  EXPECT_EQ(p.Count(kPaperRgb), p.width * p.height);
  EXPECT_EQ(SendMessageA(c, CTM_FINDENTRY, 1, LPARAM("Adler")), 0);
  // And the control takes new entries again.
  Add(c, "Castell", kCtOwnColour, kRed);
  Show(c);
  EXPECT_EQ(GrabClient(c).FirstRow(kRed) < lineHeight, true);
}

// A move list: "1." not selectable, the moves selectable, in lines of the
// control's width.
TEST_F(ColorText, ClicksAndKeysMoveTheCurrentEntryAndTellTheParent) {
  HWND c = Make(120, 100, 0);
  for (const char* m : {"1.", "e4", "e5", "2.", "Nf3", "Nc6", "3.", "Bb5", "a6", "4.", "Ba4", "Nf6"})
    Add(c, m, m[1] == '.' ? 0u : uint32_t(kCtSelectable));
  Show(c);
  // A click on the move number selects nothing; one at the first move does.
  SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, lineHeight / 2));
  EXPECT_EQ(Current(c), "(none)");
  EXPECT_EQ(Commands(1), 0);
  SIZE number{};
  HDC dc = GetDC(c);
  HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
  GetTextExtentPoint32A(dc, "1.", 2, &number);
  SelectObject(dc, old);
  ReleaseDC(c, dc);
  guitest::Click(POINT{10 + number.cx + 6 + 2, 10 + lineHeight / 2});  // the control is at (10, 10)
  EXPECT_EQ(Current(c), "e4");
  EXPECT_EQ(Commands(1), 1);
  EXPECT_EQ(GetFocus(), c);
  SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(number.cx + 6 + 2, lineHeight / 2));
  EXPECT_EQ(Commands(1), 1) << "the current entry again: nothing new";
  SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 99));
  EXPECT_EQ(Current(c), "e4") << "below the last line";

  // The current entry shows in the selection colours.
  Show(c);
  EXPECT_GT(GrabClient(c).Count(kSelectionRgb, 0, lineHeight), 0);

  struct Step {
    WORD key;
    const char* current;
    int told;  // notifications so far
  };
  const Step steps[] = {
      {VK_UP, "e4", 1},                                                // no line above
      {VK_RIGHT, "e5", 2}, {VK_RIGHT, "Nf3", 3},                       // over "2."
      {VK_LEFT, "e5", 4},  {VK_END, "Nf6", 5},   {VK_DOWN, "Nf6", 5},  // no line below
      {VK_HOME, "e4", 6},  {VK_HOME, "e4", 6},   {VK_DOWN, "", 7},
  };
  for (const Step& s : steps) {
    SendMessageA(c, WM_KEYDOWN, s.key, 0);
    if (*s.current) {
      EXPECT_EQ(Current(c), s.current) << "key " << s.key;
    }
    EXPECT_EQ(Commands(1), s.told) << "key " << s.key;
  }
  EXPECT_NE(Current(c), "e4") << "down moved to the next line";

  // A double click selects and posts code 2.
  SendMessageA(c, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(number.cx + 6 + 2, lineHeight / 2));
  guitest::Pump(30);
  EXPECT_EQ(Current(c), "e4");
  EXPECT_EQ(Commands(2), 1);
  for (auto& cmd : commands) EXPECT_EQ(HWND(cmd.second), c);
}

// The control wants every key; Tab and Shift+Tab still move the dialog's
// focus on rather than being swallowed, and leave the current entry alone.
TEST_F(ColorText, TabMovesTheDialogFocusOn) {
  HWND c = Make(120, 100, 0);
  Add(c, "e4", kCtSelectable);
  Add(c, "e5", kCtSelectable);
  Show(c);
  SendMessageA(c, CTM_SETCURENTRY, 0, SendMessageA(c, CTM_FINDENTRY, 0, LPARAM("e4")));
  SetFocus(c);
  guitest::PressKey(VK_TAB);
  guitest::Chord({VK_SHIFT}, VK_TAB);
  EXPECT_EQ(nextControl, (std::vector<WPARAM>{0, 1})) << "next, then previous";
  EXPECT_EQ(Current(c), "e4");
  EXPECT_EQ(Commands(1), 0);
}

TEST_F(ColorText, StyleBitsCutTheHeightToLinesAndTurnOffClickSelection) {
  // Bit 0x200: the height inside the border becomes a whole number of lines.
  HWND lines = Make(150, 3 * lineHeight + 2 + 5, WS_BORDER | 0x200, 8);
  RECT r;
  GetWindowRect(lines, &r);
  EXPECT_EQ(r.bottom - r.top, 3 * lineHeight + 2);
  // Bit 0x1: clicks select nothing (keys still move a current entry).
  HWND c = Make(150, 60, 0x1);
  Add(c, "e4", kCtSelectable);
  Add(c, "e5", kCtSelectable);
  Show(c);
  SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, lineHeight / 2));
  EXPECT_EQ(Current(c), "(none)");
  SendMessageA(c, CTM_SETCURENTRY, 0, SendMessageA(c, CTM_FINDENTRY, 0, LPARAM("e4")));
  SendMessageA(c, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(Current(c), "e5");
  EXPECT_EQ(Commands(1), 1);
}

TEST_F(ColorText, ScrollsByLinesAndKeepsTheCurrentEntryWhenResized) {
  HWND c = Make(200, 4 * lineHeight + 2, WS_VSCROLL | WS_BORDER);
  Add(c, "Match", kCtOwnColour, kRed);  // only on the first line
  const ColorTextEntry* last = nullptr;
  for (int i = 0; i < 30; ++i) {
    std::string text = " Game " + std::to_string(i + 1) + " of the match, a long and hard fight.";
    last = Add(c, text.c_str(), kCtSelectable);
  }
  Show(c);
  ClientPixels p = GrabClient(c);
  EXPECT_EQ(p.FirstRow(kRed) >= 0 && p.FirstRow(kRed) < lineHeight, true) << "the first line at the top";
  // A line down: the first line leaves.
  SendMessageA(c, WM_VSCROLL, SB_LINEDOWN, 0);
  Show(c);
  EXPECT_EQ(GrabClient(c).FirstRow(kRed), -1);
  SendMessageA(c, WM_VSCROLL, SB_TOP, 0);
  Show(c);
  EXPECT_EQ(GrabClient(c).FirstRow(kRed) < lineHeight, true);

  // The last entry becomes current: the view does not scroll to it...
  EXPECT_EQ(SendMessageA(c, CTM_SETCURENTRY, 0, LPARAM(last)), 1);
  Show(c);
  EXPECT_EQ(GrabClient(c).Count(kSelectionRgb), 0);
  // ...but a resize keeps it current and brings it into view.
  SetWindowPos(c, nullptr, 0, 0, 150, 5 * lineHeight + 2, SWP_NOMOVE | SWP_NOZORDER);
  Show(c);
  EXPECT_EQ(Current(c), " Game 30 of the match, a long and hard fight.");
  EXPECT_GT(GrabClient(c).Count(kSelectionRgb), 0);
  EXPECT_EQ(GrabClient(c).FirstRow(kRed), -1) << "the top has scrolled away";
  RECT client;
  GetClientRect(c, &client);
  EXPECT_LT(client.right, 150 - 2) << "the vertical bar takes its room";
}

}  // namespace
