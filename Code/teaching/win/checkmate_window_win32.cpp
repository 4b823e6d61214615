// The checkmate exercise window and its game against the engine.
#include "checkmate_window_win32.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app_globals.h"
#include "checkmate_setups.h"
#include "curriculum_window_win32.h"
#include "drill_window_win32.h"
#include "window_order_win32.h"
#include "engine_mate.h"
#include "facet_frame.h"
#include "main_frame.h"
#include "main_loop.h"
#include "message_box.h"
#include "movegen.h"
#include "position_text.h"
#include "room_records.h"
#include "room_switch.h"
#include "teaching_board_seam.h"
#include "teaching_board_win32.h"

namespace {

constexpr int kTitle = 600, kSkip = 599, kSecondCancel = 6001;
constexpr UINT kMoveMessage = WM_APP + 0x43;  // the user's move was made
constexpr int kTeachingModeOff = 5261;
constexpr UINT_PTR kOrderTimer = 1;
// The engine's look-ahead for Black's answers: enough to defend a basic
// endgame, short enough to answer at once.
constexpr int kEngineDepth = 4;

HWND g_window = nullptr;
int g_room = ROOM_CLASS;
int g_exercise = 0;
bool g_over = false;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

HWND RoomBoardWindow() {
  RoomRecord* record = GetCurrentRoomRecord();
  return record ? static_cast<HWND>(record->boardWindow) : nullptr;
}

void SetBoardMode(int mode) {
  TeachingBoardSeam& seam = GetTeachingBoardSeam();
  if (seam.setTeachingMode) seam.setTeachingMode(RoomBoardWindow(), mode);
}

void TracePosition(const Board& board, int side) {
  char fen[128] = "";
  BoardToFen(&board, side, 1, fen);
  TeachingTrace((std::string("exercise position: ") + fen).c_str());
}

// Only the two kings are left: nobody can mate.
bool OnlyKings(const Board& board) {
  for (int s = 0; s < 128; ++s)
    if (OnBoard(s) && board[s] && (board[s] & TYPE_MASK) != KING) return false;
  return true;
}

// The game is over when the side to move has no legal move (mate or
// stalemate) or only the kings are left. A mate of Black is the exercise
// won; it is reported to the curriculum.
bool GameOver(const Board& board, int side) {
  MoveRecord list[kMoveListRoom];
  uint16_t count = 0;
  GenerateLegalMoves(&board, list, &count, side);
  if (count > 0 && !OnlyKings(board)) return false;
  const bool mate = count == 0 && IsSideInCheck(&board, side);
  TeachingTrace(mate ? (side == BLACK ? "exercise over: White mates" : "exercise over: Black mates")
                     : "exercise over: drawn");
  if (mate && side == BLACK) RecordCurriculumResult(1, 0);
  return true;
}

// The engine's answer for Black, as a legal move of the position.
bool EngineAnswer(const Board& board, MoveRecord* out) {
  char fen[128] = "";
  BoardToFen(&board, BLACK, 1, fen);
  const EngineMateAnswer answer = SearchEngineMate(fen, kEngineDepth);
  MoveRecord list[kMoveListRoom];
  uint16_t count = 0;
  GenerateLegalMoves(&board, list, &count, BLACK);
  if (count == 0) return false;
  *out = list[0];
  if (!answer.ok || answer.best.size() < 4) return true;
  const int from = MakeSquare('8' - answer.best[1], answer.best[0] - 'a');
  const int to = MakeSquare('8' - answer.best[3], answer.best[2] - 'a');
  for (uint16_t i = 0; i < count; ++i)
    if (list[i].from == from && list[i].to == to) {
      *out = list[i];
      break;
    }
  return true;
}

void Finish() {
  g_over = true;
  SetTeachingPlay(nullptr);
  SendDrillEndCommand();
}

void UserMoved() {
  const Board* shown = TeachingPosition();
  if (!shown || g_over) return;
  Board board = *shown;
  if (GameOver(board, BLACK)) return Finish();
  MoveRecord answer{};
  if (!EngineAnswer(board, &answer)) return Finish();
  PlayTeachingMove(answer);
  if (const Board* after = TeachingPosition()) {
    TracePosition(*after, WHITE);
    if (GameOver(*after, WHITE)) Finish();
  }
}

void CheckmateMoveMade(const MoveRecord&) {
  if (g_window) PostMessageA(g_window, kMoveMessage, 0, 0);
}

INT_PTR CALLBACK CheckmatePracticeDlgProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG:
      g_window = dialog;
      g_room = GetRoomNumber();
      g_over = false;
      PlaceAtTopRightOfMain(dialog);
      SetDlgItemTextA(dialog, kTitle, TeachingText(2343).c_str());
      ShowWindow(GetDlgItem(dialog, kSkip), SW_HIDE);
      ShowWindow(GetDlgItem(dialog, IDCANCEL), SW_HIDE);
      ShowWindow(GetDlgItem(dialog, kSecondCancel), SW_SHOW);
      SetTeachingPlay(CheckmateMoveMade);
      SetBoardMode(kTeachingModeOff);
      StartCheckmateGame(static_cast<int>(second));
      SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
      SetTimer(dialog, kOrderTimer, 150, nullptr);
      return FALSE;
    case WM_TIMER:
      if (first == kOrderTimer) KeepInFrontOfPanels(dialog);
      return TRUE;
    case kMoveMessage:
      UserMoved();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(first) == kSecondCancel || LOWORD(first) == IDCANCEL) {
        DestroyWindow(dialog);
        return TRUE;
      }
      break;
    case WM_DESTROY:
      g_window = nullptr;
      SetTeachingPlay(nullptr);
      if (g_room == ROOM_KIDS) SetBoardMode(kTeachingModeOff);
      if (HWND main = GetMainFrame()) cwEnableMenu(main, 1);
      EnableAccelerators(1);
      ShowCurriculumWindow(1, 1);
      return FALSE;
  }
  return FALSE;
}

}  // namespace

void StartCheckmateGame(int exercise) {
  const int room = GetRoomNumber();
  if (room != ROOM_CLASS && room != ROOM_KIDS) return;
  g_exercise = exercise;
  Board board{};
  RandomSource random;
  if (MakeCheckmatePosition(exercise, WHITE, &board, random) != 99) return;
  ShowTeachingPosition(board, WHITE);
  TracePosition(board, WHITE);
}

void StartCheckmatePractice(HWND parent, int exercise) {
  if (g_window || exercise < 0 || exercise >= kCheckmateExercises) {
    ShowCurriculumWindow(1, 1);  // the launch hid it
    return;
  }
  AppMessageBox(TeachingText(192 + exercise).c_str(), 0);
  cwEnableMenu(parent ? parent : GetMainFrame(), 0);
  EnableAccelerators(0);
  if (!CreateDialogParamA(Instance(), "IDD_DRILL", GetMainFrame(), CheckmatePracticeDlgProc, exercise)) {
    cwEnableMenu(parent ? parent : GetMainFrame(), 1);
    EnableAccelerators(1);
    ShowCurriculumWindow(1, 1);
  }
}

HWND GetCheckmateWindow() { return g_window; }

void SendDrillEndCommand() {
  if (g_window) SendMessageA(g_window, WM_COMMAND, kSecondCancel, 0);
}
