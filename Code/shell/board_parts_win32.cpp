// Joins Rookwell.exe to the board view's dialogs and windows: Board
// Settings (40030) and the chess-set choice (40087) from the main menu, the
// set-up position tool behind the game room's command, the Captured window
// (7) and the best-line board "Visual Thinking" (9) with the engine link's
// update of it, and the advice dialog of the menu.
#include "advisor_requests.h"
#include "engine_protocol.h"
#include "game_record.h"
#include "game_registry.h"
#include "advice_window.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "app_globals.h"
#include "board_parts.h"
#include "data_sets.h"
#include "dialog_runner.h"
#include "game_room_win32.h"
#include "layout_file.h"
#include "look_and_feel.h"
#include "main_frame.h"
#include "menu_commands.h"
#include "menu_commands_win32.h"
#include "message_box.h"
#include "profile.h"
#include "room_board_win32.h"
#include "room_switch.h"
#include "shell_hosts.h"
#include "status_line.h"
#include "user_settings.h"
#include "win/best_line_board_win32.h"
#include "win/board_settings_win32.h"
#include "win/board_view_win32.h"
#include "win/captured_window_win32.h"
#include "win/promotion_dialog_win32.h"
#include "win/set_choice_dialog_win32.h"
#include "win/setup_position_win32.h"
#include "window_table.h"

namespace {

constexpr int kResourceLibrarySet = 7;

HINSTANCE Program() { return GetModuleHandleA(nullptr); }
HWND Frame() { return GetMainFrame(); }

RoomRecord* CurrentRoom() { return GetCurrentRoomRecord(); }
BoardView* CurrentView() {
  RoomRecord* record = CurrentRoom();
  return record ? GetRoomBoardView(record->room) : nullptr;
}

void RedrawWholeBoard(BoardView* view) {
  if (!view || !view->window) return;
  RECT all;
  GetClientRect(view->window, &all);
  RedrawBoardScene(view, &all);
}

// ---- Board Settings (40030): the room's eight option words.
void RunBoardSettings(HWND owner) {
  RoomRecord* record = CurrentRoom();
  BoardView* view = CurrentView();
  if (!record || !record->board) return;
  RoomGameOptions& options = record->board->options;
  BoardSettingsRecord words{};
  static_assert(sizeof words.words == sizeof options, "the dialog's words are the room's options");
  std::memcpy(words.words, &options, sizeof options);
  if (!RunBoardSettingsDialog(owner, Program(), &words, view)) return;
  std::memcpy(&options, words.words, sizeof options);
  char section[kRoomNameSize] = "";
  if (GetRoomName(section, record->room)) WriteRoomGameOptions(&options, section);
  if (!view) return;
  if (options.boardCoordinates)
    ShowCoordinateLabels(view);
  else
    HideCoordinateLabels(view);
  if (options.turnLights)
    ShowTurnLight(view);
  else
    HideTurnLights(view);
  RedrawWholeBoard(view);
}

// ---- The chess-set choice (40087).
class ProgramSetChoice final : public SetChoiceHost {
 public:
  HINSTANCE Instance() override { return Program(); }
  HWND MainWindow() override { return Frame(); }
  const ChessSetCatalogue& Catalogue() override { return ProgramChessSetCatalogue(); }
  PackedDib* LoadBoardPicture(int index, int kind) override {
    const BoardSetRecord* set = Catalogue().GetBoardSetRecord(index);
    if (!set) return nullptr;
    const std::string item = BoardSetItemName(*set, kind);
    return item.empty() ? nullptr : LoadChessSetPicture(item.c_str(), int(item.size()));
  }
  PackedDib* LoadPiecePicture(int index, int which) override {
    const PieceSetRecord* set = Catalogue().GetPieceSetRecord(index);
    if (!set) return nullptr;
    return LoadChessSetPicture(which == 0 ? set->sheetItem : set->previewItem, kItemNameSize);
  }
  // The resource library's picture, used in place.
  PackedDib* CustomPreview() override {
    void* bitmap = nullptr;
    return LoadLibraryBitmap("CUSTOM_PREVIEW", kResourceLibrarySet, &bitmap) ? static_cast<PackedDib*>(bitmap)
                                                                              : nullptr;
  }
  CustomBoardView CustomView() override {
    BoardView* view = CurrentView();
    return view && view->host->RoomCustomView() ? *view->host->RoomCustomView() : CustomBoardView{};
  }
  HPALETTE Palette() override { return GetAppPalette(); }
  INT_PTR RunModalDialog(HWND owner, int resource, DLGPROC procedure, LPARAM parameter) override {
    return DoModalDialog(Program(), MAKEINTRESOURCEA(resource), owner, procedure, parameter, 1);
  }
};
ProgramSetChoice g_setChoice;

// The Customize Board tool stands beside the custom board only.
void FollowCustomBoard(BoardView* view) {
  const bool custom = view && view->boardSetIndex == kCustomBoardSet;
  if (custom && !CustomizeBoardDialog()) {
    CreateCustomizeBoardDialog(Frame(), Program(), view);
    // First shown at the room's lower left, clear of the board's corner
    // and of the panels down the right.
    HWND tool = CustomizeBoardDialog();
    HWND room = static_cast<HWND>(GetNumberedWindow(WIN_ROOM));
    RECT area{}, own{};
    if (tool && room && GetWindowRect(room, &area) && GetWindowRect(tool, &own))
      SetWindowPos(tool, nullptr, area.left + 8, area.bottom - (own.bottom - own.top) - 8, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  EnableCustomizeBoardDialog(custom ? 1 : 0, custom ? 0 : 1);
}

void RunChessSetChoice(HWND) {
  RoomRecord* record = CurrentRoom();
  BoardView* view = CurrentView();
  if (!record || !record->board || !view) return;
  int board = view->boardSetIndex;
  int pieces = view->host->PieceSetIndex();
  if (!RunSelectPiecesBoardDialog(&g_setChoice, &pieces, &board, record->room)) return;
  SuspendRoomTimer(1);
  const int changed = ChangeChessSets(view, board, pieces);
  SuspendRoomTimer(0);
  if (!changed) return;
  record->board->boardSet = view->boardSetIndex;
  record->board->pieceSet = view->host->PieceSetIndex();
  // The choice is the user's: kept in the layout the room reads at start.
  WriteBoardSetNames(nullptr, record->room, record->board->boardSet, record->board->pieceSet);
  if (HWND captured = CapturedDialogWindow())
    if (IsWindowVisible(captured)) InvalidateRect(captured, nullptr, TRUE);
  FollowCustomBoard(view);
}

// ---- Set Up Position: the tool edits a copy of the room's position.
class ProgramSetUp final : public SetUpPositionHost {
 public:
  HINSTANCE Instance() override { return Program(); }
  HWND MainFrame() override { return Frame(); }
  BoardView* CurrentBoardView() override { return CurrentView(); }
  void SetStatusText(const char* text) override { ::SetStatusText(0, text); }
  void ClearStatusText() override { ClearStatusPart(0); }
  void ShowMessage(const char* text) override { AppMessageBoxOwned(text, MB_OK | MB_ICONEXCLAMATION, Frame()); }
  INT_PTR RunModalDialog(HWND owner, int resource, DLGPROC procedure, LPARAM parameter) override {
    return DoModalDialog(Program(), MAKEINTRESOURCEA(resource), owner, procedure, parameter, 1);
  }
};
ProgramSetUp g_setUp;

Board g_setUpBoard;
SetUpPositionEndCallback g_setUpEnd = nullptr;
HWND g_setUpTool = nullptr;

void SetUpEnded(int result, Board* board, int side) {
  SetUpPositionEndCallback end = g_setUpEnd;
  g_setUpEnd = nullptr;
  g_setUpTool = nullptr;
  if (end) end(result == 1 ? 1 : 2, result == 1 ? board : nullptr, side);
}

// One tool at a time; the room hears of its end exactly once.
int OpenSetUpPosition(HWND, const Board* position, int, SetUpPositionEndCallback end) {
  if (!position || !end || g_setUpEnd) return 0;
  g_setUpBoard = *position;
  g_setUpEnd = end;
  g_setUpTool = CreateSetUpPositionDialog(&g_setUpBoard, SetUpEnded);
  if (!g_setUpTool) {
    g_setUpEnd = nullptr;
    return 0;
  }
  return 1;
}

// ---- Captured pieces (window 7).
class ProgramCaptured final : public CapturedHost {
 public:
  BoardView* CurrentBoardView() override { return CurrentView(); }
  HWND MainWindow() override { return Frame(); }
  // Closed by its close box: the window table hears of it too, so the
  // menu's toggle shows it again.
  void SetMenuCheck(int command, bool checked) override {
    if (checked) {
      CheckMenuCommand(Frame(), command);
      return;
    }
    UncheckMenuCommand(Frame(), command);
    if (GetNumberedWindow(WIN_CAPTURED)) NumberedWindowOp(WOP_SHOW, WIN_CAPTURED, WSC_HIDE);
  }
};
ProgramCaptured g_captured;

// ---- The best-line board (window 9) over the current game's advisor.
class ProgramBestLine final : public BestLineHost {
 public:
  HWND MainWindow() override { return Frame(); }
  HMODULE PictureModule() override { return static_cast<HMODULE>(GetDataSetLibrary(kResourceLibrarySet)); }
  HPALETTE Palette() override { return GetAppPalette(); }
  bool HaveGame() override { return GetCurrentGame() != nullptr; }
  const Board& Position() override {
    static Board initial{};
    GameRecord* game = GetCurrentGame();
    return game ? game->position : initial;
  }
  int SideToMove() override {
    GameRecord* game = GetCurrentGame();
    return game ? int(game->sideToMove) : int(WHITE);
  }
  bool AdvisorAnalyses() override {
    GameRecord* game = GetCurrentGame();
    return game && (GetAdvisorRequests(game).flags & ADVISOR_ANALYSIS_MODE) != 0;
  }
  std::string ThinkingLine() override {
    GameRecord* game = GetCurrentGame();
    if (!game) return std::string();
    ::ThinkingLine line{};
    static_assert(sizeof line <= sizeof game->third.thinking, "the advisor's block holds a thinking line");
    std::memcpy(&line, game->third.thinking, sizeof line);
    return std::string(line.line, strnlen(line.line, sizeof line.line));
  }
  // Made hidden at start: the advisor starts only when the board is shown.
  int StartEngineAnalysis() override {
    GameRecord* game = GetCurrentGame();
    return game && !creating ? ::StartEngineAnalysis(game) : 0;
  }
  void StopEngineAnalysis(int) override {
    if (GameRecord* game = GetCurrentGame()) ::StopEngineAnalysis(game);
  }
  void SetNumberedWindow(int number, HWND window) override {
    if (window)
      NumberedWindowOp(WOP_SET_HANDLE, number, reinterpret_cast<intptr_t>(window));
    else if (GetNumberedWindow(number))
      NumberedWindowOp(WOP_CLEAR_HANDLE, number, 0);
  }
  void StoreWindowRect(int number, const RECT& rect) override {
    const int32_t xywh[4] = {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    NumberedWindowOp(WOP_SET_RECT_XYWH, number, reinterpret_cast<intptr_t>(xywh));
  }
  // The close box: the window table hears of the hiding too.
  void ToggleMenuCheck(int command) override {
    if (!::ToggleMenuCheck(Frame(), command) && GetNumberedWindow(WIN_THINK_LINES))
      NumberedWindowOp(WOP_SHOW, WIN_THINK_LINES, WSC_HIDE);
  }

  bool creating = false;
};
ProgramBestLine g_bestLine;

// ---- Promotion: the room's own pieces, through the program's dialog runner.
INT_PTR RunWithClocksPaused(HINSTANCE instance, const char* name, HWND owner, DLGPROC procedure, LPARAM parameter) {
  return DoModalDialog(instance, name, owner, procedure, parameter, 1);
}

int AskPromotionPiece(HWND board, int side) {
  BoardView* view = GetBoardViewOfWindow(board);
  if (!view || !view->host) return 1;
  PromotionPictures pictures;
  pictures.set = view->pieceSet;
  pictures.sheet = view->ownedPieceSheet ? view->ownedPieceSheet : view->host->RoomPieceSheet();
  pictures.palettePicture = view->host->PalettePicture();
  pictures.palette = GetAppPalette();
  pictures.mainWindow = Frame();
  pictures.haveGame = view->host->HaveGame();
  pictures.sideToMove = side;
  const int piece = RunPromotionDialog(Program(), Frame(), pictures, RunWithClocksPaused);
  return piece >= 1 && piece <= 4 ? piece : 1;
}

void BestLineUpdate() {
  HWND window = static_cast<HWND>(GetNumberedWindow(WIN_THINK_LINES));
  if (window) PostBestLineUpdate(window, GetCurrentGame());
}

}  // namespace

void KeepBoardToolsAbove() {
  HWND frame = Frame();
  if (!frame || GetForegroundWindow() != frame) return;
  for (HWND tool : {g_setUpTool, CustomizeBoardDialog()})
    if (tool && IsWindow(tool) && IsWindowVisible(tool))
      SetWindowPos(tool, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CreateBoardPartWindows() {
  HWND frame = Frame();
  CreateCapturedDialog(frame, Program(), &g_captured);
  if (HWND captured = CapturedDialogWindow()) NumberedWindowOp(WOP_SET_HANDLE, WIN_CAPTURED, intptr_t(captured));
  g_bestLine.creating = true;
  CreateBestLineBoard(frame, Program(), &g_bestLine);
  g_bestLine.creating = false;
}

void DestroyBoardPartWindows() {
  DestroyCustomizeBoardDialog();
  if (HWND window = BestLineBoardWindow()) DestroyBestLineBoard(window);
  if (HWND captured = CapturedDialogWindow()) {
    DestroyWindow(captured);
    if (GetNumberedWindow(WIN_CAPTURED)) NumberedWindowOp(WOP_CLEAR_HANDLE, WIN_CAPTURED, 0);
  }
}

void ConnectBoardParts() {
  SetSetUpPositionHost(&g_setUp);
  InstallRoomBoardLayoutHooks();

  MenuCommandHooks& hooks = GetMenuCommandHooks();
  hooks.boardSettings = RunBoardSettings;
  hooks.chessSet = RunChessSetChoice;
  hooks.moveAdvice = [](GameRecord* game) { ShowAdviceDialog(game, 0); };

  GameRoomSeams seams = GetGameRoomSeams();
  seams.openSetUpPosition = OpenSetUpPosition;
  SetGameRoomSeams(seams);

  LayoutHooks layout = GetLayoutHooks();
  layout.enableCustomizeBoard = [](int enable) { EnableCustomizeBoardDialog(enable, enable ? 0 : 1); };
  SetLayoutHooks(layout);

  SetBestLineUpdateHook(BestLineUpdate);
  SetPromotionAsker(AskPromotionPiece);
}
