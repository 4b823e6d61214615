// The curriculum window (numbered window 22, "Classroom Curriculum"): the
// curriculum file's sections as trees on four picture tabs in the
// classroom, or on the kids page in the kids room, with check marks for
// what the user completed; it launches the selected item and records the
// results the launched screens report.
//
// Interface: CreateCurriculumWindow, DestroyCurriculumWindow,
// GetCurriculumWindow, ShowCurriculumWindow, RecordCurriculumResult,
// GetSelectedTestNumber, SelectCurriculumCategory, RebuildCurriculumTrees,
// CurriculumLaunchHooks, SetCurriculumLaunchHooks,
// CurriculumKidsCounters.
#pragma once

#include <windows.h>

#include "curriculum.h"

// Creates the window hidden, owned by `owner`; 0 on success or failure, -1
// without an owner or instance.
int CreateCurriculumWindow(HWND owner, HINSTANCE instance);
void DestroyCurriculumWindow();
HWND GetCurriculumWindow();
void ShowCurriculumWindow(int show, int keepOthers);
// The same once the message queue is reached: a room shows the curriculum
// after the room switch has put up the room's own windows.
void ShowCurriculumWindowLater(int show, int keepOthers);
// Records the result of the item selected in the visible tree.
void RecordCurriculumResult(int first, int second);
int GetSelectedTestNumber();
void SelectCurriculumCategory(int buttonId);
void RebuildCurriculumTrees();
// The selected entry of the visible tree (null when none); for tests.
const CurriculumItem* GetSelectedCurriculumItem();

// The screens of the second teaching part, the coach's game panel and the
// practice openings: installed by their modules. A launch whose hook is
// missing says so and shows the curriculum again.
struct CurriculumLaunchHooks {
  void (*startDrill)(HWND mainWindow, int kind, int selector) = nullptr;
  void (*startCheckmatePractice)(HWND mainWindow, int exercise) = nullptr;
  void (*runPracticeOpenings)(HWND mainWindow, HINSTANCE instance) = nullptr;
  void (*createGamePanel)(HWND mainWindow, HINSTANCE instance, const char* path) = nullptr;
};
void SetCurriculumLaunchHooks(const CurriculumLaunchHooks& hooks);
CurriculumLaunchHooks GetCurriculumLaunchHooks();

// The kids room counters (tutorials, drill and exercise runs, coach's games).
const int32_t* CurriculumKidsCounters();
