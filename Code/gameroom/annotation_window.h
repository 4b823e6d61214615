// The "Annotation" window (dialog 129, numbered window 13): the comments of
// the current move of the current game, one kind per tab page: the
// player's own comment (page 130, editable), the automatic annotation
// (131, with Play, Pause and Stop for the embedded commands' voice clip),
// the engine's analysis line (149) and, with [debug] show_embedded_commands
// set, the embedded commands themselves (159, editable and playable). Made
// hidden at start-up; closing it only hides it.
//
// Interface: CreateAnnotationDialog, DestroyAnnotationDialog,
// ShowAnnotationPage, LockAnnotationDialog, SetAnnotationText,
// SetMoveComment, IsAnnotationFrozen, AnnotationDlgProc, AnnotationServices,
// SetAnnotationServices, dialog and control ids.
#pragma once

#include <windows.h>

struct GameRecord;

constexpr int kAnnotationDialog = 129;
constexpr int kAnnotationTabs = 5244;
constexpr int kAnnotationPlayerPage = 130;
constexpr int kAnnotationAutoPage = 131;
constexpr int kAnnotationAnalysisPage = 149;
constexpr int kAnnotationIvaPage = 159;
constexpr int kAnnotationEditBox = 5246;    // Player and IVA pages
constexpr int kAnnotationAutoText = 5248;
constexpr int kAnnotationAnalysisText = 5247;
constexpr int kAnnotationEdit = 2129;
constexpr int kAnnotationPlay = 5;
constexpr int kAnnotationPause = 6;
constexpr int kAnnotationStop = 4;

// Creates the window hidden, owned by the main window; `gameBlock` 0 takes
// the current game.
HWND CreateAnnotationDialog(LPARAM gameBlock);
void DestroyAnnotationDialog();
// Pages 0..2: the window is shown when it is not and the page selected.
HWND ShowAnnotationPage(int page);
// While locked the Player page's Edit is disabled.
void LockAnnotationDialog(int locked);
// The text of comment 0..3's page (empty for null); comment 3 also decides
// whether Play is offered on the pages that play it.
void SetAnnotationText(int comment, const char* text);
// The current game's comment of that index at its current move (the
// game's start comment before the first move); the numbered windows then
// get game event 16.
void SetMoveComment(const char* text, int comment);
// Set while the game jumps over several plies (the pages stay empty).
bool IsAnnotationFrozen();
INT_PTR CALLBACK AnnotationDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The voice clips of the embedded commands and the Game Status window they
// lock. Null members: no clip plays; Game Status is found by its number.
struct AnnotationServices {
  void* (*startClip)(const char* text, int mode, void (*ended)(void* data), void* data);
  void (*pauseClip)(void* clip);
  void (*resumeClip)(void* clip);
  void (*stopClip)(void* clip);
};
void SetAnnotationServices(const AnnotationServices* services);  // null: none
