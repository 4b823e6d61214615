#include "menu_commands.h"

#include <cstddef>

namespace {

using A = MenuAction;

// Every command of the main menu. Window toggles carry the window number,
// help the file, the notation items their style and the room items their room.
const MenuCommandEntry kCommands[] = {
    {11, A::kFlipBoard, 0, false},
    {12, A::kSoundOptions, 0, false},
    {21, A::kPersonalitySetUp, 0, false},
    {32, A::kToggleWindow, 9, false},
    {40, A::kHelp, 0, false},
    {41, A::kAboutBox, 0, false},
    {40002, A::kCopyAsciiBoard, 0, true},
    {40003, A::kCopyFontBoard, 0, true},
    {40006, A::kCopyMovesTabs, 0, true},
    {40008, A::kCopyMoves, 0, true},
    {40009, A::kCopyPicture, 0, false},
    {40013, A::kSaveGame, 0, true},
    {40018, A::kTakeBack, 0, true},
    {40019, A::kReplay, 0, true},
    {40020, A::kForceMove, 0, true},
    {40021, A::kWakeUp, 0, true},
    {40022, A::kPause, 0, true},
    {40024, A::kOfferDraw, 0, true},
    {40025, A::kResign, 0, true},
    {40026, A::kQuickHint, 0, true},
    {40027, A::kMoveAdvice, 0, true},
    {40028, A::kSolveForMate, 0, true},
    {40029, A::kGameAnalysis, 0, false},
    {40030, A::kBoardSettings, 0, false},
    {40031, A::kSwitchSides, 0, true},
    {40032, A::kToggleWindow, 10, false},
    {40033, A::kNavigationBar, 2, false},
    {40034, A::kToggleWindow, 8, false},
    {40035, A::kToggleWindow, 16, false},
    {40036, A::kToggleWindow, 13, false},
    {40037, A::kToggleWindow, 7, false},
    {40038, A::kPlayerStatistics, 15, false},
    {40039, A::kWebSite, 0, false},
    {40040, A::kHelp, 1, false},
    {40065, A::kEngineMonitor, 1, true},
    {40066, A::kEngineMonitor, 0, true},
    {40067, A::kEngineMonitor, 2, true},
    {40085, A::kGameInformation, 0, true},
    {40087, A::kChessSet, 0, false},
    {40088, A::kToggleWindow, 6, false},
    {40153, A::kNotation, 0, false},
    {40154, A::kNotation, 1, false},
    {40155, A::kNotation, 2, false},
    {40156, A::kNotation, 3, false},
    {40157, A::kNotation, 4, false},
    {40158, A::kNotation, 5, false},
    {40160, A::kHelp, 2, false},
    {40162, A::kPrintMoveList, 0, true},
    {40163, A::kPrintBoard, 0, true},
    {40164, A::kPrinterSetUp, 0, false},
    {40165, A::kLoadLayout, 0, false},
    {40166, A::kSaveLayout, 0, false},
    {40168, A::kDrillRecords, 0, false},
    {40178, A::kWallpaper, 0, false},
    {40179, A::kImportEngine, 0, false},
    {40200, A::kGoToRoom, 1, false},
    {40201, A::kGoToRoom, 3, false},
    {40202, A::kGoToRoom, 6, false},
    {40203, A::kGoToRoom, 4, false},
    {40204, A::kGoToRoom, 2, false},
    {40205, A::kGoToRoom, 5, false},
    {40206, A::kGoToRoom, 7, false},
    {40207, A::kGoToRoom, 0, false},
};

MenuCommandHost g_defaultHost;
MenuCommandHost* g_host = &g_defaultHost;

void* Frame(void* window) { return window ? window : g_host->MainFrame(); }

// Toggling a window that was never created does nothing, not even the check.
void ToggleNumberedWindow(void* window, int id, int command) {
  if (!g_host->WindowExists(id)) return;
  g_host->ToggleWindow(id);
  ToggleMenuCheck(Frame(window), command);
}

void LoadLayout() {
  const bool curriculumBefore = g_host->CurriculumShown();
  std::string chosen;
  if (g_host->ChooseLayoutFile(false, &chosen) && !chosen.empty()) {
    const std::string current = g_host->CurrentLayoutPath();
    const std::string backup = g_host->BackupLayoutPath();
    // The chosen file is read before anything is overwritten: it may be the
    // backup itself (loading the backup brings the previous layout back) or
    // the current file. One that cannot be read changes nothing.
    const std::string staged = current + ".new";
    if (g_host->CopyLayoutFile(chosen, staged)) {
      g_host->CopyLayoutFile(current, backup);
      g_host->CopyLayoutFile(staged, current);
      g_host->RemoveLayoutFile(staged);
      g_host->ApplyLayout(current);
      // Named after applying, which names the file it reads.
      g_host->SetLayoutName(chosen);
    }
  }
  if (g_host->CurriculumShown() != curriculumBefore) g_host->ShowCurriculum();
}

}  // namespace

const WindowMenuCheck kWindowMenuChecks[14] = {
    {40035, 16}, {40088, 6},  {40037, 7},  {40032, 10}, {40038, 15}, {40034, 8},  {32, 9},
    {40036, 13}, {40054, 17}, {40055, 18}, {40033, 2},  {40065, 25}, {40066, 24}, {40067, 26},
};

const MenuCommandEntry* FindMenuCommand(int id) {
  for (const MenuCommandEntry& e : kCommands)
    if (e.id == id) return &e;
  return nullptr;
}

void SetMenuCommandHost(MenuCommandHost* host) { g_host = host ? host : &g_defaultHost; }
MenuCommandHost* GetMenuCommandHost() { return g_host; }

int ToggleMenuCheck(void* window, int id) {
  const int state = g_host->GetMenuItemState(window, id);
  if (state < 0) return 0;
  const bool nowChecked = !(state & kMenuChecked);
  g_host->SetMenuItemState(window, id, nowChecked ? kMenuChecked : 0);
  return nowChecked ? 1 : 0;
}

void CheckMenuCommand(void* window, int id) { g_host->SetMenuItemState(window, id, kMenuChecked); }
void UncheckMenuCommand(void* window, int id) { g_host->SetMenuItemState(window, id, 0); }
void EnableMenuCommand(void* window, int id, int enable) {
  g_host->SetMenuItemState(window, id, enable ? 0 : kMenuGrey);
}

int MainMenuCommand(void* window, int id) {
  const MenuCommandEntry* e = FindMenuCommand(id);
  if (!e) return 0;
  if (e->needsGame && !g_host->HaveGame()) return 1;
  switch (e->action) {
    case A::kToggleWindow:
      ToggleNumberedWindow(window, e->arg, id);
      break;
    case A::kNavigationBar:
      if (!g_host->WindowExists(e->arg)) break;
      g_host->Perform(A::kNavigationBar, g_host->WindowShown(e->arg) ? 0 : 1);
      ToggleMenuCheck(Frame(window), id);
      break;
    case A::kPlayerStatistics:
      if (!g_host->WindowExists(e->arg)) break;
      if (!g_host->WindowShown(e->arg)) g_host->Perform(A::kPlayerStatistics, 0);
      ToggleNumberedWindow(window, e->arg, id);
      break;
    case A::kNotation:
      g_host->SetNotationStyle(e->arg);
      UpdateMainMenuState();
      break;
    case A::kLoadLayout:
      LoadLayout();
      break;
    case A::kSaveLayout: {
      std::string chosen;
      if (g_host->ChooseLayoutFile(true, &chosen) && !chosen.empty()) g_host->SaveLayout(chosen);
      break;
    }
    default:
      g_host->Perform(e->action, e->arg);
      break;
  }
  return 1;
}

void UpdateMainMenuState() {
  void* frame = g_host->MainFrame();
  for (const WindowMenuCheck& c : kWindowMenuChecks) {
    if (g_host->WindowShown(c.window))
      CheckMenuCommand(frame, c.command);
    else
      UncheckMenuCommand(frame, c.command);
  }
  const int style = g_host->NotationStyle();
  for (int i = 0; i < kNotationCount; ++i) {
    if (i == style)
      CheckMenuCommand(frame, kNotationFirst + i);
    else
      UncheckMenuCommand(frame, kNotationFirst + i);
  }
}
