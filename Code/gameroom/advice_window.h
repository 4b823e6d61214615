// The "Natural Language Advice" window (dialog 126, numbered window 5): the
// advice stored on the current position of the current game, without its
// markup, with Think (ask the advisor for new advice), Play, Pause and Stop
// (hear it read) and Print. Modeless; the main menu's item 40027 carries a
// check mark while it is open.
//
// Interface: ShowAdviceDialog, AdviceDlgProc, AdviceServices,
// SetAdviceServices, AdviceControl ids, kAdviceDialog.
#pragma once

#include <windows.h>

struct GameRecord;

constexpr int kAdviceDialog = 126;

enum AdviceControl : int {
  kAdviceText = 5237,
  kAdviceSecondsLabel = 5239,
  kAdviceSeconds = 5238,
  kAdviceThink = 9,
  kAdvicePlay = 5,
  kAdvicePause = 6,
  kAdviceStop = 4,
  kAdvicePrint = 3,
};

// Opens the window for the game when it is not open; with `automatic` 0 an
// open window is closed (the menu command toggles it), else it stays as it
// is. Returns the window (null once closed).
HWND ShowAdviceDialog(GameRecord* game, int automatic);
INT_PTR CALLBACK AdviceDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What the window asks of the rest of the program: the advisor, the list
// printer, the advice voice setting and the voice clips. Null members take
// the program's own (the engine link's RequestAdvice, PrintTextList, the
// settings' switch); without clip calls no clip ever plays.
struct AdviceServices {
  int (*startAdvice)(GameRecord* game, int seconds, int automatic);  // non-zero when started
  int (*printLine)(HWND owner, const char* line);
  int (*voiceSetting)();
  // A clip of the markup groups, read in mode 4; `ended` is called when it
  // has played to its end. Null when none could be started.
  void* (*startClip)(const char* markup, int mode, void (*ended)(void* data), void* data);
  void (*pauseClip)(void* clip);
  void (*resumeClip)(void* clip);
  void (*stopClip)(void* clip);
};
void SetAdviceServices(const AdviceServices* services);  // null: the program's own
