#include "training_screens_win32.h"

#include "checkmate_window_win32.h"
#include "curriculum_window_win32.h"
#include "drill_window_win32.h"
#include "master_class_win32.h"
#include "teaching_rooms_win32.h"

void ConnectTrainingScreens() {
  CurriculumLaunchHooks launch = GetCurriculumLaunchHooks();
  launch.startDrill = StartDrill;
  launch.startCheckmatePractice = StartCheckmatePractice;
  SetCurriculumLaunchHooks(launch);

  TeachingRoomHooks rooms = GetTeachingRoomHooks();
  rooms.drillRunning = [] { return GetDrillRun() != nullptr; };
  rooms.pauseDrillClock = [](int pause) { pause ? StopDrillClock() : ResumeDrillClock(); };
  rooms.cancelDrill = CancelDrill;
  rooms.exerciseRunning = [] { return GetCheckmateWindow() != nullptr; };
  rooms.endExercise = SendDrillEndCommand;
  rooms.showMasterClass = ShowMasterClass;
  rooms.showDiagnosticResults = ShowDiagnosticResults;
  SetTeachingRoomHooks(rooms);
}
