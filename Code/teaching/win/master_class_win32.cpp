// The master class window and the diagnostic results.
#include "master_class_win32.h"

#include <cstdio>
#include <cstring>

#include "app_globals.h"
#include "curriculum_window_win32.h"
#include "data_sets.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "facet.h"
#include "chess_clock.h"
#include "game_registry.h"
#include "look_and_feel.h"
#include "master_class.h"
#include "print_front.h"
#include "user_profile.h"
#include "win_utils_win32.h"

namespace {

struct Layout {
  RECT stars, number;
  int counter;  // index into the profile's counters
};
constexpr RECT kName{76, 62, 265, 86}, kBeside{337, 62, 407, 86}, kTotal{522, 62, 564, 86};
constexpr Layout kRows[4] = {{{128, 123, 515, 155}, {522, 123, 564, 155}, 2},
                             {{128, 185, 515, 217}, {522, 185, 564, 217}, 0},
                             {{128, 253, 515, 285}, {522, 253, 564, 285}, 1},
                             {{128, 322, 515, 354}, {522, 322, 564, 354}, 3}};
constexpr int kClientWidth = 600, kClientHeight = 420;

struct MasterClassState {
  MasterClassCounters counters{};
  int total = 0;
  char name[kUserNameSize] = "";
  PackedDib* background = nullptr;
  RECT numbers[4]{};  // each row's number, from where its stars end
};

// Copies the star `count` times into the background along the rectangle;
// index 0 of the star is see-through. The x position after the row.
int DrawStarRow(const PackedDib* star, PackedDib* background, const RECT& rect, int count) {
  int end = rect.left;
  const int w = star->biWidth, h = std::abs(star->biHeight);
  const int top = rect.top + (rect.bottom - rect.top - h) / 2;
  for (int x : StarRowPositions(rect.left, rect.right, w, count, &end))
    dibTransCopyDIB(background, star, x, top, 0, 0, w, h, 0);
  return end;
}

// The background with the star rows, or null without the picture.
void MakeBackground(MasterClassState* state) {
  void* picture = nullptr;
  if (!LoadLibraryBitmap("MASTER_CLASS_BACKGROUND", 7, &picture) || !picture) return;
  state->background = dibDuplicate(static_cast<PackedDib*>(picture));
  if (!state->background) return;
  dibColorsToIndices(state->background);
  void* star = nullptr;
  const bool haveStar = LoadLibraryBitmap("MASTER_CLASS_STAR", 7, &star) && star;
  for (int row = 0; row < 4; ++row) {
    const Layout& l = kRows[row];
    const int count = state->counters.counter[l.counter];
    const int end = haveStar ? DrawStarRow(static_cast<PackedDib*>(star), state->background, l.stars, count)
                             : l.stars.left;
    // The number follows the stars, in its own place at the latest.
    RECT number = l.number;
    if (end + 8 < number.left) number.left = end + 8;
    state->numbers[row] = number;
  }
}

void PaintTexts(HDC dc, const MasterClassState& state) {
  HPALETTE palette = GetAppPalette();
  HPALETTE old = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
  if (palette) RealizePalette(dc);
  HGDIOBJ font = SelectObject(dc, cguiGetFont(3));
  SetBkMode(dc, TRANSPARENT);
  char text[32];
  DrawShadowText(dc, state.name, kName);
  std::snprintf(text, sizeof text, "%d", state.counters.beside);
  DrawShadowText(dc, text, kBeside);
  std::snprintf(text, sizeof text, "%d", state.total);
  DrawShadowText(dc, text, kTotal);
  for (int row = 0; row < 4; ++row) {
    const int count = state.counters.counter[kRows[row].counter];
    if (count == 0) continue;
    std::snprintf(text, sizeof text, "%d", count);
    DrawShadowText(dc, text, state.numbers[row]);
  }
  SelectObject(dc, font);
  if (old) SelectPalette(dc, old, FALSE);
}

// Sizes the window to the picture and puts the buttons on its band.
void LayOut(HWND dialog) {
  RECT want{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&want, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
  SetWindowPos(dialog, nullptr, 0, 0, want.right - want.left, want.bottom - want.top, SWP_NOMOVE | SWP_NOZORDER);
  int x = 130;
  for (int id : kCertificateButtons) {
    MoveWindow(GetDlgItem(dialog, id), x, 378, 60, 28, TRUE);
    x += 70;
  }
  MoveWindow(GetDlgItem(dialog, IDOK), kClientWidth - 110, 378, 90, 28, TRUE);
}

INT_PTR CALLBACK MasterClassDlgProc(HWND dialog, UINT message, WPARAM first, LPARAM) {
  auto* state = reinterpret_cast<MasterClassState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      state = new MasterClassState;
      SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
      if (const UserProfile* user = GetUserRecord()) {
        state->counters = ReadMasterClassCounters(*user);
        std::snprintf(state->name, sizeof state->name, "%s", user->name);
      }
      for (int32_t c : state->counters.counter) state->total += c;
      const int enabled = MasterClassButton(state->total);
      for (int id : kCertificateButtons) EnableWindow(GetDlgItem(dialog, id), id == enabled);
      MakeBackground(state);
      LayOut(dialog);
      CenterWindow(dialog, GetParent(dialog));
      return TRUE;
    }
    case WM_ERASEBKGND: {
      if (!state || !state->background) break;
      HDC dc = reinterpret_cast<HDC>(first);
      HPALETTE palette = GetAppPalette();
      HPALETTE old = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
      if (palette) RealizePalette(dc);
      dibDisplay(dc, 0, 0, state->background->biWidth, std::abs(state->background->biHeight), 0, 0,
                 state->background);
      if (old) SelectPalette(dc, old, FALSE);
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
      return TRUE;
    }
    case WM_PAINT: {
      if (!state) break;
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(dialog, &ps);
      PaintTexts(dc, *state);
      EndPaint(dialog, &ps);
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(first);
      for (int button : kCertificateButtons)
        if (id == button && state) {
          // The certificate of achievement (design 0), with the total.
          FillCertificateValues(static_cast<int>(reinterpret_cast<intptr_t>(GetParent(dialog))), state->name, 0,
                                state->total);
          return TRUE;
        }
      if (id == IDOK || id == IDCANCEL) {
        EndDialog(dialog, id);
        return TRUE;
      }
      break;
    }
    case WM_DESTROY:
      if (state) {
        if (state->background) dibDelete(state->background);
        delete state;
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
      }
      break;
  }
  return FALSE;
}

INT_PTR CALLBACK DiagnosticResultsDlgProc(HWND dialog, UINT message, WPARAM first, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      const UserProfile* user = GetUserRecord();
      for (int exam = 0; exam < kDiagnosticExams; ++exam) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", user ? user->table[kDiagnosticFirstSlot + exam] : 0);
        SetDlgItemTextA(dialog, 1100 + exam, text);
      }
      CenterWindow(dialog, GetParent(dialog));
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(first) == IDOK || LOWORD(first) == IDCANCEL) {
        EndDialog(dialog, LOWORD(first));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

// The curriculum keeps itself in front of the main window: while one of
// these dialogs runs it steps aside, or it would cover the dialog.
struct CurriculumAside {
  HWND window = GetCurriculumWindow();
  bool shown = window && IsWindowVisible(window);
  CurriculumAside() {
    if (shown) ShowWindow(window, SW_HIDE);
  }
  ~CurriculumAside() {
    if (shown && IsWindow(window)) ShowWindow(window, SW_SHOWNOACTIVATE);
  }
};

}  // namespace

MasterClassCounters ReadMasterClassCounters(const UserProfile& user) {
  MasterClassCounters out{};
  std::memcpy(out.counter, user.reserved, 3 * sizeof(int32_t));
  out.counter[3] = user.word1;
  out.beside = user.baseRating;
  return out;
}

void DrawShadowText(HDC dc, const char* text, const RECT& rect) {
  RECT moved = rect;
  OffsetRect(&moved, 2, 0);
  SetTextColor(dc, PALETTEINDEX(238));
  DrawTextA(dc, text, -1, &moved, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
  RECT place = rect;
  SetTextColor(dc, PALETTEINDEX(41));
  DrawTextA(dc, text, -1, &place, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
}

void ShowMasterClass(HWND owner) {
  GameRecord* game = GetCurrentGame();
  const bool pause = game && !IsClockPaused(game);
  if (pause) PauseClock(game);
  CurriculumAside aside;
  DialogBoxParamA(GetModuleHandleA(nullptr), "IDD_MASTER_CLASS", owner, MasterClassDlgProc, 0);
  if (pause) ResumeClock(game);
}

void ShowDiagnosticResults(HWND owner) {
  CurriculumAside aside;
  DialogBoxParamA(GetModuleHandleA(nullptr), "ALDER_QUIZ_RESULTS_DLG", owner, DiagnosticResultsDlgProc, 0);
}
