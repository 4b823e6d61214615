// Board Settings and Customize Board.
#include "win/board_settings_win32.h"

#include <vector>

#include "customize_steps.h"
#include "win/board_drawing_win32.h"
#include "win/board_view_win32.h"
#include "win/set_choice_dialog_win32.h"

namespace {

constexpr int kSettingsDialog = 139, kCustomizeDialog = 157;
constexpr int kCustomizeWindowNumber = 23;
constexpr int kCheckIds[6] = {510, 511, 504, 505, 506, 512};
constexpr int kSlideIds[3] = {507, 508, 509};
constexpr int kCoordinateIds[3] = {302, 303, 304};
constexpr int kButtons[8] = {BTN_DEPTH_OUT, BTN_DEPTH_IN, BTN_ROTATE_UP, BTN_ROTATE_DOWN,
                             BTN_ROTATE_LEFT, BTN_ROTATE_RIGHT, BTN_ZOOM_OUT, BTN_ZOOM_IN};
constexpr int kLightButton = 1952, kDarkButton = 1963;
constexpr WORD kPressedNotice = 94;  // the toolkit button's repeat while held
constexpr UINT kSetRepeat = 0x8606;

struct SettingsState {
  BoardSettingsRecord* record;
  BoardView* view;
};

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* st = reinterpret_cast<SettingsState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      st = reinterpret_cast<SettingsState*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      const int32_t* w = st->record->words;
      for (int i = 0; i < 6; ++i) CheckDlgButton(dialog, kCheckIds[i], w[i] ? BST_CHECKED : BST_UNCHECKED);
      CheckRadioButton(dialog, 507, 509, kSlideIds[w[6] >= 0 && w[6] <= 2 ? w[6] : 1]);
      CheckRadioButton(dialog, 302, 304, kCoordinateIds[w[7] >= 0 && w[7] <= 2 ? w[7] : 0]);
      return TRUE;
    }
    case WM_COMMAND:
      if (!st) return FALSE;
      if (LOWORD(wParam) == IDOK) {
        int32_t* w = st->record->words;
        for (int i = 0; i < 6; ++i) w[i] = IsDlgButtonChecked(dialog, kCheckIds[i]) == BST_CHECKED;
        for (int i = 0; i < 3; ++i) {
          if (IsDlgButtonChecked(dialog, kSlideIds[i]) == BST_CHECKED) w[6] = i;
          if (IsDlgButtonChecked(dialog, kCoordinateIds[i]) == BST_CHECKED) w[7] = i;
        }
        BoardView* view = st->view;
        MoveRecord move{};
        int mover;
        if (view && view->host && view->host->CurrentMove(&move, &mover)) SetLastMoveMarks(view, &move, w[5] != 0);
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

// The customize tool's module-wide state: one tool, one board at a time.
struct CustomizeState {
  HWND dialog = nullptr;
  BoardView* view = nullptr;
  int active = 0;
  CustomizeRanges ranges{};
  POINT start{0, 0};
  bool turnLightsWereOn = false;
  std::vector<POINT> outline;  // drawn lines, pairs of points in room-window coordinates
} g_custom;

std::vector<POINT> OutlineLines(BoardView* view) {
  std::vector<POINT> lines;
  RebuildBoardOutline(&view->projection);
  ScreenPoint custom{view->custom.x, view->custom.y};
  UpdateBoardOffset(&view->projection, &custom);
  POINT shift{0, 0};
  for (int i = 0; i <= 8; ++i) {
    ScreenPoint a, b, c, d;
    if (!GridPoint(view->projection, i, 0, true, &a) || !GridPoint(view->projection, i, 8, true, &b) ||
        !GridPoint(view->projection, 0, i, true, &c) || !GridPoint(view->projection, 8, i, true, &d))
      continue;
    lines.push_back({a.x + shift.x, a.y + shift.y});
    lines.push_back({b.x + shift.x, b.y + shift.y});
    lines.push_back({c.x + shift.x, c.y + shift.y});
    lines.push_back({d.x + shift.x, d.y + shift.y});
  }
  return lines;
}

void XorLines(HWND room, const std::vector<POINT>& lines) {
  if (lines.empty() || !room) return;
  HDC dc = GetDC(room);
  int oldRop = SetROP2(dc, R2_XORPEN);
  // Not pure white: white XOR mid-grey (the commonest wallpaper tone) is
  // mid-grey again, and the outline would vanish; this flips the top bits
  // of any colour, so the lines show on every background.
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(192, 192, 192));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  for (size_t i = 0; i + 1 < lines.size(); i += 2) {
    MoveToEx(dc, lines[i].x, lines[i].y, nullptr);
    LineTo(dc, lines[i + 1].x, lines[i + 1].y);
  }
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  SetROP2(dc, oldRop);
  ReleaseDC(room, dc);
}

void EnableGeometryButtons(bool enable) {
  if (!g_custom.dialog) return;
  for (int id : {BTN_DEPTH_OUT, BTN_DEPTH_IN, BTN_ROTATE_UP, BTN_ROTATE_DOWN, BTN_ROTATE_LEFT, BTN_ROTATE_RIGHT})
    EnableWindow(GetDlgItem(g_custom.dialog, id), enable);
}

bool IsCustomizeButton(int id) {
  for (int b : kButtons)
    if (b == id) return true;
  return false;
}

void PickColour(int id) {
  BoardView* view = g_custom.view;
  if (!view) return;
  BoardColour& colour = id == kLightButton ? view->custom.light : view->custom.dark;
  COLORREF c = RGB(colour.red, colour.green, colour.blue);
  if (!view->host->PickColour(g_custom.dialog, &c)) return;
  colour = BoardColour{GetBValue(c), GetGValue(c), GetRValue(c), 0};
  if (!g_custom.active) BeginCustomize(view);
  EndCustomize();
}

INT_PTR CALLBACK CustomizeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      g_custom.dialog = dialog;
      for (int id : kButtons) SendDlgItemMessageA(dialog, id, kSetRepeat, 100, 0);
      if (g_custom.view) g_custom.view->host->SetNumberedWindow(kCustomizeWindowNumber, dialog);
      return TRUE;
    case WM_WINDOWPOSCHANGED:
      if (g_custom.view) {
        RECT r;
        GetWindowRect(dialog, &r);
        g_custom.view->host->StoreWindowRect(kCustomizeWindowNumber, r);
      }
      return FALSE;
    case WM_COMMAND: {
      int id = LOWORD(wParam), code = HIWORD(wParam);
      if (IsCustomizeButton(id)) {
        if (code == kPressedNotice) {
          if (!g_custom.active) BeginCustomize(g_custom.view);
          CustomizeStep(id, g_custom.view, 1);
        } else if (code == BN_CLICKED && !g_custom.active) {
          // A plain click (no repeat came) still steps once.
          BeginCustomize(g_custom.view);
          CustomizeStep(id, g_custom.view, 1);
          EndCustomize();
        } else if (g_custom.active) {
          EndCustomize();
        }
        return TRUE;
      }
      if (id == kLightButton || id == kDarkButton) {
        PickColour(id);
        return TRUE;
      }
      if (id == IDCANCEL) {
        ShowWindow(dialog, SW_HIDE);
        return TRUE;
      }
      return FALSE;
    }
    case WM_DESTROY:
      if (g_custom.view) g_custom.view->host->SetNumberedWindow(kCustomizeWindowNumber, nullptr);
      g_custom.dialog = nullptr;
      return FALSE;
  }
  return FALSE;
}

}  // namespace

int RunBoardSettingsDialog(HWND owner, HINSTANCE instance, BoardSettingsRecord* record, BoardView* view) {
  if (!record) return 0;
  SettingsState st{record, view};
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(kSettingsDialog), owner, SettingsProc,
                         reinterpret_cast<LPARAM>(&st)) == 1
             ? 1
             : 0;
}

int CreateCustomizeBoardDialog(HWND owner, HINSTANCE instance, BoardView* view) {
  g_custom.view = view;
  if (!g_custom.dialog)
    CreateDialogParamA(instance, MAKEINTRESOURCEA(kCustomizeDialog), owner, CustomizeProc, 0);
  return 0;
}

int DestroyCustomizeBoardDialog() {
  if (g_custom.dialog) DestroyWindow(g_custom.dialog);
  g_custom = CustomizeState{};
  return 0;
}

HWND CustomizeBoardDialog() { return g_custom.dialog; }

void EnableCustomizeBoardDialog(int show, int disable) {
  if (!g_custom.dialog) return;
  EnableGeometryButtons(!disable);
  ShowWindow(g_custom.dialog, show && !disable ? SW_SHOWNOACTIVATE : SW_HIDE);
}

int GetBoardCustomizeMode() { return g_custom.active ? 1 : 0; }

void BeginCustomize(BoardView* view) {
  if (!view || g_custom.active) return;
  g_custom.view = view;
  view->host->PauseVoiceClip(true);
  view->customizing = 1;
  if (view->boardSprite >= 0) HideSprite(view->scene, view->boardSprite);
  HideAllPieceSprites(&view->records, view->sprites.get());
  RECT all;
  GetClientRect(view->window, &all);
  RedrawBoardScene(view, &all);
  UpdateWindow(view->window);
  BeginCustomizeRanges(&g_custom.ranges, *view->geometry, view->host->ScreenHeight());
  g_custom.active = 1;
  g_custom.outline.clear();
  DrawBoardDragOutline(view);
}

void CustomizeStep(int button, BoardView* view, int amount) {
  if (!view || !g_custom.active) return;
  if (CustomizeStepValue(&g_custom.ranges, button, amount, view->geometry)) DrawBoardDragOutline(view);
}

void SetCustomizeDragStart(int x, int y) { g_custom.start = POINT{x, y}; }

void CustomizeDrag(int x, int y, int keys) {
  if (!g_custom.active || !g_custom.view) return;
  for (const CustomizeStepRequest& step : CustomizeDragSteps(x - g_custom.start.x, y - g_custom.start.y, keys))
    CustomizeStepValue(&g_custom.ranges, step.button, step.amount, g_custom.view->geometry);
  g_custom.start = POINT{x, y};
  DrawBoardDragOutline(g_custom.view);
}

void EndCustomize() {
  BoardView* view = g_custom.view;
  if (!g_custom.active || !view) return;
  g_custom.active = 0;
  HWND room = view->window;  // the board window covers the room's board area
  XorLines(room, g_custom.outline);  // the last outline goes
  g_custom.outline.clear();
  ReadCustomizedView(*view->geometry, &view->custom);
  view->host->WriteCustomBoardView(view->custom);
  view->customizing = 0;
  ChangeChessSets(view, kCustomBoardSet, view->host->PieceSetIndex());
  view->host->PauseVoiceClip(false);
}

void DrawBoardDragOutline(BoardView* view) {
  if (!view) return;
  HWND room = view->window;
  XorLines(room, g_custom.outline);
  g_custom.outline = OutlineLines(view);
  XorLines(room, g_custom.outline);
}
