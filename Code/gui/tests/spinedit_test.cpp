// The spin edit on real windows under Wine: the creation text, the arrows,
// the keys of its field, typing, the read-only text rewrite, the range and
// value messages, layout, frame and creation failures.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "basic_controls.h"
#include "controls.h"
#include "facet.h"
#include "guitest.h"
#include "procdata.h"
#include "test_bitmaps.h"

namespace {

constexpr int kSpinId = 9;
constexpr int kFieldId = 90;

// MessageBeep calls of this program (the library is linked into it),
// counted by pointing its import of MessageBeep at a counter.
int g_beeps = 0;
BOOL WINAPI CountBeep(UINT) {
  ++g_beeps;
  return TRUE;
}
bool CountBeeps() {
  FARPROC real = GetProcAddress(GetModuleHandleA("user32.dll"), "MessageBeep");
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  bool patched = false;
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk); slot->u1.Function;
         ++slot) {
      if (slot->u1.Function == reinterpret_cast<ULONG_PTR>(&CountBeep)) patched = true;  // done before
      if (slot->u1.Function != reinterpret_cast<ULONG_PTR>(real)) continue;
      DWORD old = 0;
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(&CountBeep);
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
      patched = true;
    }
  }
  return patched;
}

std::string Text(HWND w) {
  char buffer[256] = "";
  GetWindowTextA(w, buffer, sizeof buffer);
  return buffer;
}

int Value(HWND spin) { return int(SendMessageA(spin, SPE_GETVALUE, 0, 0)); }

// A child's rectangle in its parent's client coordinates, as left, top,
// right, bottom.
std::vector<LONG> RectIn(HWND child, HWND parent) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

struct SpinEdit : ::testing::Test {
  struct Command {
    WORD id, code;
    LPARAM from;
    std::string text;  // SPEN_FORMAT: the text offered
  };
  std::vector<Command> commands;
  std::vector<WPARAM> keys;  // WM_KEYDOWN reaching the parent
  std::vector<HWND> colourAsked;
  const char* formatAs = nullptr;  // SPEN_FORMAT: rewrite "%d" into this form
  HWND host = nullptr;

  void SetUp() override {
    ResetProcessDataTable();
    RegisterControlClasses(GetModuleHandleA(nullptr));
    CcDefaults* d = ccInit(nullptr);
    d->resourceModule = GetModuleHandleA(nullptr);  // the test program holds the bitmaps
    d->spinEdit[kSpinFieldId] = kFieldId;
    d->spinEdit[kSpinUpId] = kSpinUpFaceId;
    d->spinEdit[kSpinDownId] = kSpinDownFaceId;
    d->spinEdit[kSpinArrowBitmap] = kSpinArrowBitmapId;
    for (int i = 0; i < FP_COUNT; ++i) d->editFrame.pieces[i] = CcBitmapId(kEditFrameFirstId + i);
    ccSetControlData(nullptr, d);
    host = guitest::CreateTestWindow(RECT{0, 0, 400, 300},
                                     [this](HWND, UINT m, WPARAM wp, LPARAM lp, bool* handled) -> LRESULT {
                                       if (m == WM_COMMAND) {
                                         Command c{LOWORD(wp), HIWORD(wp), lp, ""};
                                         if (c.code == SPEN_FORMAT) {
                                           char* buffer = reinterpret_cast<char*>(lp);
                                           c.text = buffer;
                                           if (formatAs) {
                                             std::string v = buffer;
                                             wsprintfA(buffer, formatAs, v.c_str());
                                           }
                                         }
                                         commands.push_back(c);
                                       }
                                       if (m == WM_KEYDOWN) keys.push_back(wp);
                                       if (m == WM_CTLCOLOREDIT || m == WM_CTLCOLORSTATIC)
                                         colourAsked.push_back(HWND(lp));
                                       *handled = m == WM_COMMAND || m == WM_KEYDOWN;
                                       return 0;
                                     });
  }
  void TearDown() override {
    DestroyWindow(host);
    UnregisterControlClasses();
    ResetProcessDataTable();
  }
  HWND Make(const char* text, DWORD style = 0, RECT r = RECT{20, 20, 140, 44}) {
    return CreateWindowExA(0, "CGUISpinEdit", text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, host, HMENU(kSpinId), nullptr, nullptr);
  }
  static HWND Field(HWND spin) { return GetDlgItem(spin, kFieldId); }
  static HWND Up(HWND spin) { return GetDlgItem(spin, kSpinUpFaceId); }
  static HWND Down(HWND spin) { return GetDlgItem(spin, kSpinDownFaceId); }
  // Real keyboard input goes to the focused field of the foreground host.
  void Focus(HWND spin) {
    SetForegroundWindow(host);
    SetFocus(spin);
    guitest::Pump(50);
  }
  // An arrow tells the spin edit it was clicked.
  static void Arrow(HWND spin, HWND arrow) {
    SendMessageA(spin, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(arrow), BN_CLICKED), LPARAM(arrow));
  }
  int Changes(HWND spin) const {
    int n = 0;
    for (const Command& c : commands) n += c.id == kSpinId && c.code == SPEN_CHANGED && HWND(c.from) == spin;
    return n;
  }
};

TEST_F(SpinEdit, CreationTextIsMinimumMaximumValueAndStep) {
  HWND spin = Make("0:255:1:5");
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(Text(Field(spin)), "1");
  EXPECT_EQ(Value(spin), 1);
  LRESULT range = SendMessageA(spin, SPE_GETRANGE, 0, 0);
  EXPECT_EQ(short(LOWORD(range)), 0);
  EXPECT_EQ(short(HIWORD(range)), 255);
  EXPECT_EQ(Changes(spin), 0) << "creation is not a change";

  // The up arrow: 1, 6, 11, ... 251, then the maximum, and there it stays.
  std::vector<int> shown;
  for (int i = 0; i < 53; ++i) {
    Arrow(spin, Up(spin));
    shown.push_back(std::stoi(Text(Field(spin))));
    ASSERT_EQ(shown.back(), Value(spin));
  }
  for (int i = 0; i < 50; ++i) ASSERT_EQ(shown[i], 6 + 5 * i) << "press " << i + 1;
  EXPECT_EQ(shown[50], 255);
  EXPECT_EQ(shown[52], 255);
  EXPECT_EQ(Changes(spin), 53);
  const Command& last = commands.back();
  EXPECT_EQ(last.code, SPEN_CHANGED);
  EXPECT_EQ(HWND(last.from), spin);

  Arrow(spin, Down(spin));
  EXPECT_EQ(Value(spin), 250);
  EXPECT_EQ(GetFocus(), Field(spin)) << "stepping takes the focus to the field";
}

POINT CentreOf(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void MouseButton(bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
  guitest::Pump(30);
}

TEST_F(SpinEdit, ArrowsClickedStepAndRepeatWhileHeld) {
  HWND spin = Make("0:255:1:5");
  SetForegroundWindow(host);
  guitest::Pump(30);
  struct Press {
    bool up;
    int value;
  } presses[] = {{true, 6}, {true, 11}, {false, 6}, {true, 11}};
  for (const Press& p : presses) {
    guitest::Click(CentreOf(p.up ? Up(spin) : Down(spin)));
    EXPECT_EQ(Value(spin), p.value);
    EXPECT_EQ(Text(Field(spin)), std::to_string(p.value));
    EXPECT_EQ(GetFocus(), Field(spin)) << "the field has the focus after a click";
  }
  EXPECT_EQ(Changes(spin), 4);

  // Held down, the up arrow repeats (every 200 ms) until it is let go.
  guitest::MoveMouse(CentreOf(Up(spin)));
  MouseButton(true);
  EXPECT_TRUE(guitest::WaitFor([&] { return Value(spin) >= 26; }, 3000)) << Value(spin);
  MouseButton(false);
  const int released = Value(spin);
  guitest::Pump(500);
  EXPECT_EQ(Value(spin), released) << "no more steps once released";
  EXPECT_EQ(GetFocus(), Field(spin));
}

TEST_F(SpinEdit, ADisabledSpinEditTakesNoClicksOrTyping) {
  HWND spin = Make("0:255:1:5");
  SetForegroundWindow(host);
  guitest::Pump(30);
  EnableWindow(spin, FALSE);
  guitest::Pump(30);
  guitest::Click(CentreOf(Up(spin)));
  guitest::Click(CentreOf(Field(spin)));
  guitest::PressKey('7');
  guitest::Pump(50);
  EXPECT_EQ(Value(spin), 1);
  EXPECT_EQ(Text(Field(spin)), "1");
  EXPECT_FALSE(IsWindowEnabled(Field(spin)));
  EnableWindow(spin, TRUE);
  guitest::Click(CentreOf(Up(spin)));
  EXPECT_EQ(Value(spin), 6) << "enabled again";
}

TEST_F(SpinEdit, EmptyOrSingleValueTextGivesZeroToHundred) {
  for (const char* text : {"", "7:7:3:2"}) {
    HWND spin = Make(text);
    ASSERT_NE(spin, nullptr) << text;
    EXPECT_EQ(SendMessageA(spin, SPE_GETRANGE, 0, 0), MAKELONG(0, 100)) << text;
    EXPECT_EQ(Value(spin), 0) << text;
    EXPECT_EQ(Text(Field(spin)), "0") << text;
    SendMessageA(spin, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(Value(spin), 100) << text;
    DestroyWindow(spin);
  }
}

TEST_F(SpinEdit, FieldKeysPageJumpAndStep) {
  HWND spin = Make("0:255:100:1");
  Focus(spin);
  ASSERT_EQ(GetFocus(), Field(spin));
  struct Step {
    WORD key;
    int value;
    bool notified;
  } steps[] = {
      {VK_PRIOR, 110, true}, {VK_NEXT, 100, true}, {VK_END, 255, true},
      {VK_END, 255, false},  {VK_NEXT, 245, true}, {VK_PRIOR, 255, true},  // 255 is within ten of the maximum
      {VK_HOME, 0, true},    {VK_HOME, 0, false},  {VK_UP, 1, true},
      {VK_DOWN, 0, true},    {VK_DOWN, 0, true},
  };
  for (const Step& s : steps) {
    int before = Changes(spin);
    guitest::PressKey(s.key);
    EXPECT_EQ(Value(spin), s.value) << "key " << s.key;
    EXPECT_EQ(Text(Field(spin)), std::to_string(s.value)) << "key " << s.key;
    EXPECT_EQ(Changes(spin) > before, s.notified) << "key " << s.key;
  }
  EXPECT_TRUE(keys.empty());
  guitest::PressKey(VK_ESCAPE);
  ASSERT_EQ(keys.size(), 1u) << "Escape reaches the parent";
  EXPECT_EQ(keys[0], WPARAM(VK_ESCAPE));
}

TEST_F(SpinEdit, TypingDigitsSetsTheValueAndOtherCharactersBeep) {
  ASSERT_TRUE(CountBeeps());
  HWND spin = Make("0:255:1:5");
  Focus(spin);
  EXPECT_EQ(SendMessageA(Field(spin), EM_GETSEL, 0, 0), MAKELONG(0, 1)) << "the focus selects the text";
  g_beeps = 0;
  for (WORD k : {'1', '0', '0'}) guitest::PressKey(k);
  EXPECT_EQ(Text(Field(spin)), "100");
  EXPECT_EQ(Value(spin), 100);
  EXPECT_GE(Changes(spin), 3);
  EXPECT_EQ(commands.back().code, SPEN_CHANGED);
  EXPECT_EQ(g_beeps, 0);

  for (WORD k : {WORD('A'), WORD(VK_SPACE), WORD('Z')}) guitest::PressKey(k);
  EXPECT_EQ(Text(Field(spin)), "100") << "letters and blanks are refused";
  EXPECT_EQ(g_beeps, 3);

  // Backspace and "." are a number's; digits after the point are ignored.
  guitest::PressKey(VK_BACK);
  EXPECT_EQ(Value(spin), 10);
  guitest::PressKey(VK_OEM_PERIOD);
  guitest::PressKey('9');
  EXPECT_EQ(Text(Field(spin)), "10.9");
  EXPECT_EQ(Value(spin), 10);
  EXPECT_EQ(g_beeps, 3);
  SetFocus(host);
  guitest::Pump(30);
  EXPECT_EQ(Text(Field(spin)), "10") << "leaving the field shows the number it stands for";
  EXPECT_EQ(Value(spin), 10);
}

// The clipboard keys are no typing: they copy the value out and paste a
// number in without a beep, read-only fields copy too.
TEST_F(SpinEdit, ClipboardKeysCopyAndPasteWithoutABeep) {
  ASSERT_TRUE(CountBeeps());
  auto chord = [](WORD key) { guitest::Chord({VK_CONTROL}, key); };
  auto clipboard = []() {
    std::string text;
    if (!OpenClipboard(nullptr)) return std::string("<no clipboard>");
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
      if (auto* p = static_cast<const char*>(GlobalLock(h))) text = p;
      GlobalUnlock(h);
    }
    CloseClipboard();
    return text;
  };
  HWND spin = Make("0:255:17:5");
  Focus(spin);
  g_beeps = 0;
  chord('C');
  EXPECT_EQ(clipboard(), "17");
  SendMessageA(spin, SPE_SETVALUE, 42, 0);
  SendMessageA(Field(spin), EM_SETSEL, 0, -1);
  chord('V');
  EXPECT_EQ(Text(Field(spin)), "17");
  EXPECT_EQ(Value(spin), 17) << "the pasted number is the value";
  EXPECT_EQ(g_beeps, 0);

  HWND readOnly = Make("0:255:99:5", 0x800, RECT{20, 60, 140, 84});
  Focus(readOnly);
  SendMessageA(Field(readOnly), EM_SETSEL, 0, -1);
  chord('C');
  EXPECT_EQ(clipboard(), "99");
  EXPECT_EQ(g_beeps, 0);
}

TEST_F(SpinEdit, OutOfRangeOrEmptyFieldIsRewrittenWithTheClampedValue) {
  HWND spin = Make("10:255:50:1");
  HWND field = Field(spin);
  Focus(spin);
  // Everything selected: Delete empties the field, which then shows the
  // nearest value, selected so that typing replaces it.
  guitest::PressKey(VK_DELETE);
  EXPECT_EQ(Text(field), "10");
  EXPECT_EQ(Value(spin), 10);
  EXPECT_EQ(SendMessageA(field, EM_GETSEL, 0, 0), MAKELONG(0, 2));
  // "2" may still become 20..29 and stays while typing (the value is the
  // nearest, 10); "29" is in range; "299" is above it and can only grow.
  struct Step {
    WORD key;
    const char* text;
    int value;
  } steps[] = {{'2', "2", 10}, {'9', "29", 29}, {'9', "255", 255}};
  for (const Step& st : steps) {
    guitest::PressKey(st.key);
    EXPECT_EQ(Text(field), st.text);
    EXPECT_EQ(Value(spin), st.value) << st.text;
    EXPECT_EQ(commands.back().code, SPEN_CHANGED) << st.text;
  }
  // Backspace down to nothing: 25, 2, then empty, which is rewritten.
  SendMessageA(field, EM_SETSEL, 3, 3);
  for (int i = 0; i < 3; ++i) guitest::PressKey(VK_BACK);
  EXPECT_EQ(Text(field), "10");
  EXPECT_EQ(Value(spin), 10);
  // A start left below the range is put right when the focus leaves.
  guitest::PressKey('5');
  EXPECT_EQ(Text(field), "5");
  SetFocus(host);
  guitest::Pump(30);
  EXPECT_EQ(Text(field), "10");
  EXPECT_EQ(Value(spin), 10);
}

TEST_F(SpinEdit, ReadOnlyParentRewritesTheShownText) {
  formatAs = "Level %s";
  HWND spin = Make("0:255:1:5", 0x800);
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(Text(Field(spin)), "Level 1");
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands[0].code, SPEN_FORMAT);
  EXPECT_EQ(commands[0].text, "1") << "offered as %d";
  EXPECT_TRUE(GetWindowLongA(Field(spin), GWL_STYLE) & ES_READONLY);

  Arrow(spin, Up(spin));
  EXPECT_EQ(Text(Field(spin)), "Level 6");
  EXPECT_EQ(Value(spin), 6);
  // The rewrite comes before the change notice.
  ASSERT_GE(commands.size(), 2u);
  EXPECT_EQ(commands[commands.size() - 2].code, SPEN_FORMAT);
  EXPECT_EQ(commands[commands.size() - 2].text, "6");
  EXPECT_EQ(commands.back().code, SPEN_CHANGED);

  SendMessageA(spin, SPE_SETVALUE, 300, 0);
  EXPECT_EQ(Text(Field(spin)), "Level 255");
  Focus(spin);
  guitest::PressKey('7');
  EXPECT_EQ(Text(Field(spin)), "Level 255") << "nothing is typed into a read-only field";
  EXPECT_EQ(Value(spin), 255);
}

TEST_F(SpinEdit, RangeAndValueMessages) {
  HWND spin = Make("0:255:200:5");
  // Keep the value (0xFFFFFFFF), clamped into the new range; step 1.
  EXPECT_EQ(SendMessageA(spin, SPE_SETRANGE, WPARAM(0xFFFFFFFF), MAKELONG(WORD(-50), 100)), 100);
  EXPECT_EQ(Text(Field(spin)), "100");
  LRESULT range = SendMessageA(spin, SPE_GETRANGE_ALT, 0, 0);
  EXPECT_EQ(short(LOWORD(range)), -50);
  EXPECT_EQ(short(HIWORD(range)), 100);
  Arrow(spin, Down(spin));
  EXPECT_EQ(Value(spin), 99) << "the range message sets step 1";

  EXPECT_EQ(SendMessageA(spin, SPE_SETRANGE_ALT, 20, MAKELONG(0, 40)), 20);
  EXPECT_EQ(SendMessageA(spin, SBM_GETPOS, 0, 0), 20);
  EXPECT_EQ(SendMessageA(spin, SBM_SETPOS, 1000, 0), 40);
  EXPECT_EQ(SendMessageA(spin, SPE_SETVALUE, WPARAM(-9), 0), 0);
  EXPECT_EQ(Text(Field(spin)), "0");
  EXPECT_EQ(Changes(spin), 1) << "only the arrow was a change";
}

TEST_F(SpinEdit, ArrowsAtTheRightEdgeAndTheFieldFillsTheRest) {
  HWND spin = Make("0:9:1:1", 0, RECT{20, 20, 140, 52});  // 120 x 32
  ASSERT_NE(Up(spin), nullptr);
  ASSERT_NE(Down(spin), nullptr);
  const int left = 120 - kSpinArrowWidth;
  EXPECT_EQ(RectIn(Up(spin), spin), (std::vector<LONG>{left, 0, 120, kSpinArrowHeight}));
  EXPECT_EQ(RectIn(Down(spin), spin), (std::vector<LONG>{left, 32 - kSpinArrowHeight, 120, 32}));
  EXPECT_EQ(RectIn(Field(spin), spin), (std::vector<LONG>{0, 0, left, 32}));
  EXPECT_TRUE(GetWindowLongA(Field(spin), GWL_STYLE) & WS_BORDER);

  SetWindowPos(spin, nullptr, 0, 0, 80, 40, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(RectIn(Down(spin), spin),
            (std::vector<LONG>{80 - kSpinArrowWidth, 40 - kSpinArrowHeight, 80, 40}));
  EXPECT_EQ(RectIn(Field(spin), spin), (std::vector<LONG>{0, 0, 80 - kSpinArrowWidth, 40}));

  // A bordered spin edit keeps its client area inside the edit frame's width.
  HWND framed = Make("0:9:1:1", WS_BORDER, RECT{20, 80, 140, 112});
  RECT client;
  GetClientRect(framed, &client);
  EXPECT_EQ(client.right, 120 - 2 * kEditLeftWidth);
  EXPECT_EQ(client.bottom, 32 - 2 * kEditLeftWidth);
}

TEST_F(SpinEdit, FocusFontAndColoursGoToTheField) {
  HWND spin = Make("0:255:42:1");
  Focus(spin);
  EXPECT_EQ(GetFocus(), Field(spin));
  HFONT font = HFONT(GetStockObject(ANSI_FIXED_FONT));
  SendMessageA(spin, WM_SETFONT, WPARAM(font), TRUE);
  EXPECT_EQ(HFONT(SendMessageA(Field(spin), WM_GETFONT, 0, 0)), font);
  EXPECT_EQ(SendMessageA(spin, WM_GETDLGCODE, 0, 0), SendMessageA(Field(spin), WM_GETDLGCODE, 0, 0));
  RedrawWindow(spin, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  guitest::Pump(30);
  bool asked = false;
  for (HWND w : colourAsked) asked = asked || w == Field(spin);
  EXPECT_TRUE(asked) << "the field's colour question reaches the spin edit's parent";
}

TEST_F(SpinEdit, CreationFailsWithoutTheArrowBitmap) {
  CcDefaults* d = ccGetDefaultData();
  for (int id : {0, kMissingBitmapId}) {
    d->spinEdit[kSpinArrowBitmap] = id;
    EXPECT_EQ(Make("0:9:1:1"), nullptr) << id;
  }
  d->spinEdit[kSpinArrowBitmap] = kSpinArrowBitmapId;
  EXPECT_NE(Make("0:9:1:1"), nullptr);
}

}  // namespace
