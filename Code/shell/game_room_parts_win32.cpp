// Joins Rookwell.exe to the game room and the windows round its game: the
// room module of room 1, the chess sets and the rooms' boards, Game Status
// (window 6), Thinking Lines (window 8), Shortcuts (window 10) and
// Annotation (window 13), game analysis and Solve For Mate, the room
// timer's clock display, the personalities behind the engine players, and
// loading a game file into the room, the new-game dialog and advice.
#include "game_record.h"
#include "game_registry.h"
#include "game_setup_dialog.h"
#include "advice_window.h"
#include "annotation_window.h"
#include "game_analysis.h"
#include "solve_mate_window.h"
#include "personality.h"
#include "personality_hooks.h"
#include "thinking_lines_win32.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "app_globals.h"
#include "app_main.h"
#include "board_parts.h"
#include "file_dialog.h"
#include "game_file.h"
#include "game_room_parts.h"
#include "game_room_win32.h"
#include "load_save.h"
#include "game_status_win32.h"
#include "main_frame.h"
#include "menu_commands_win32.h"
#include "pgn_read.h"
#include "room_board_win32.h"
#include "room_window.h"
#include "shell_hosts.h"
#include "window_table.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

std::string WithoutSeparator(const char* folder) {
  std::string s = folder ? folder : "";
  while (!s.empty() && (s.back() == '\\' || s.back() == '/')) s.pop_back();
  return s.empty() ? "." : s;
}

class ProgramPersonalities final : public PersonalityEnvironment {
 public:
  std::string PersonalitiesFolder() override { return WithoutSeparator(GetPersonalitiesFolder()); }
  std::string OpeningBooksFolder() override { return WithoutSeparator(GetOpeningBooksFolder()); }
};
ProgramPersonalities g_personalities;

int CreateGameWindows() {
  HWND frame = GetMainFrame();
  CreateGameStatusWindow(frame, Instance());
  CreateThinkingLinesDialog(frame, Instance());
  CreateAnnotationDialog(0);
  CreateShortcutsWindow();
  CreateBoardPartWindows();
  return 1;
}

int DestroyGameWindows() {
  DestroyBoardPartWindows();
  DestroyShortcutsWindow();
  DestroyAnnotationDialog();
  if (HWND w = static_cast<HWND>(GetNumberedWindow(WIN_THINKING))) DestroyThinkingLinesDialog(w);
  if (HWND w = static_cast<HWND>(GetNumberedWindow(WIN_GAME_STATUS))) DestroyGameStatusWindow(w);
  return 1;
}

int RegisterBoardClass() { return InitBoardViewsForProgram(); }

void OnRoomTick() {
  RaiseGameRoomPanels();
  KeepBoardToolsAbove();
  if (HWND status = static_cast<HWND>(GetNumberedWindow(WIN_GAME_STATUS))) ShowGameStatusClocks(status, 0);
}

void ThinkingChanged(int colour) {
  GameRecord* game = GetCurrentGame();
  HWND window = static_cast<HWND>(GetNumberedWindow(WIN_THINKING));
  if (!game || !window) return;
  PlayerRecord* player = colour == 1 ? &game->white : colour == 0 ? &game->black : &game->third;
  MarkThinkingLine(window, player, colour);
}

void StatusChanged(int colour) {
  GameRecord* game = GetCurrentGame();
  HWND window = static_cast<HWND>(GetNumberedWindow(WIN_THINKING));
  if (!game || !window) return;
  PlayerRecord* player = colour == 1 ? &game->white : colour == 0 ? &game->black : &game->third;
  MarkThinkingStatistics(window, player, colour);
}

}  // namespace

void ConnectGameRoomParts() {
  StartupServices& startup = GetStartupServices();
  startup.loadChessSets = LoadProgramChessSets;
  startup.unloadChessSets = UnloadProgramChessSets;
  startup.registerBoardWindowClass = RegisterBoardClass;
  startup.terminateBoardViews = TermBoardViewsForProgram;
  startup.createModelessWindows = CreateGameWindows;
  startup.destroyModelessWindows = DestroyGameWindows;

  RegisterGameRoomModule();
  SetRoomTimerHook(OnRoomTick);
  SetPersonalityEnvironment(&g_personalities);

  GameRoomHostHooks hooks{};
  hooks.readPersonality = ReadPlayerPersonality;
  hooks.freePersonality = FreePersonality;
  hooks.loadPersonalityBook = [](PersonalityRecord* p, int slot) { LoadPersonalityBook(p, slot); };
  hooks.personalityWord = PersonalityWord;
  hooks.getPersonality = GetPlayerEnginePersonality;
  hooks.setPersonalityEnginePath = SetPlayerEnginePath;
  hooks.markThinkingChanged = ThinkingChanged;
  hooks.markStatusChanged = StatusChanged;
  SetGameRoomHostHooks(hooks);

  GameRoomSeams seams = GetGameRoomSeams();
  seams.loadGame = [](HWND owner) { return LoadGameCommand(owner, nullptr); };
  seams.runGameSetupDialog = RunGameSetupDialog;
  seams.showAdvice = [](GameRecord* game) { ShowAdviceDialog(game, 1); };
  seams.startGameAnalysis = [] { RunGameAnalysis(); };
  SetGameRoomSeams(seams);
  ConnectBoardParts();

  // The main menu's "Game Analysis..." and "Solve For Mate...".
  MenuCommandHooks& menu = GetMenuCommandHooks();
  menu.gameAnalysis = [] { RunGameAnalysis(); };
  menu.solveForMate = [](HWND, GameRecord* game) { OpenSolveForMateDialog(game); };
}
