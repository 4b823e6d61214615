// The lesson window (dialog 6100, "Tutorial", numbered window 21): a
// tutorial file played page by page beside the room's board, with its six
// answer panels, paging forward and back with snapshots of what each page
// set, the page clips, the lesson codes and their answer checks, and the
// scored tests (mode 1) with their results.
//
// Interface: LessonContext, OpenTutorial, GetLessonContext,
// GetLessonWindow, FinishLesson, LessonBoardHooks, SetLessonBoardHooks,
// GetLessonBoardHooks, LessonPageIndex, LessonPageType, LessonScore.
#pragma once

#include <windows.h>

#include <string>

#include "curriculum.h"

struct LessonContext;

// Opens a lesson in the current room (classroom or kids room only) at
// `startPage` (0-based) in mode 0 (tutorial) or 1 (scored test).
void OpenTutorial(const CurriculumItem& item, int startPage, HWND owner, int mode);
// The open lesson of `room` (0: the current room), or null.
LessonContext* GetLessonContext(int room);
HWND GetLessonWindow();
// Ends a lesson: with keepBoard 0 when its window closes, 1 from a room's
// release.
void FinishLesson(int room, LessonContext* context, int keepBoard);

// What the lesson needs of the room's board: a position shown, square
// marks toggled and read, a picture shown or removed, and moves the user
// makes reported back (the lesson installs OnLessonMove as the board's
// move handler through these hooks). Null members do nothing.
struct LessonBoardHooks {
  void (*showPosition)(const char* fen) = nullptr;
  void (*toggleMark)(int square) = nullptr;  // 0..63, file + 8 * rank
  void (*clearMarks)() = nullptr;
  void (*showPicture)(const char* item) = nullptr;  // null removes it
  void (*flipBoard)() = nullptr;
  void (*setCaptions)(const char* const* texts) = nullptr;  // 64 entries, null clears
  void (*takeMoveBack)() = nullptr;
  // The lesson is taking moves (page type 2) or squares (type 3).
  void (*setInputMode)(int pageType) = nullptr;
};
void SetLessonBoardHooks(const LessonBoardHooks& hooks);
// The hooks in force, for the screens that play on the room's board
// between lessons (practice openings).
const LessonBoardHooks& GetLessonBoardHooks();
// A move the user made on the board, in the board's animation form ("Se2e4").
void OnLessonMove(const std::string& animation);
// A square the user picked (0..63, file + 8 * rank).
void OnLessonSquare(int square);

// For tests and the trace.
int LessonPageIndex();
int LessonPageType();
int LessonScore();
