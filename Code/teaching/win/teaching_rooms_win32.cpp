// The classroom and the kids room.
#include "teaching_rooms_win32.h"

#include <cstring>

#include "app_globals.h"
#include "curriculum_window_win32.h"
#include "data_sets.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "packfile.h"
#include "facet_frame.h"
#include "heapkit.h"
#include "lesson_window_win32.h"
#include "main_frame.h"
#include "main_loop.h"
#include "message_box.h"
#include "room_switch.h"
#include "room_window.h"
#include "teaching_board_win32.h"
#include "voice_clips_win32.h"
#include "wallpaper.h"
#include "window_table.h"

namespace {

constexpr int kClassroomMenu = 22, kKidsMenu = 25, kKidsReducedMenu = 28;
constexpr int kClassroomKeys = 35, kKidsKeys = 36, kKidsReducedKeys = 39;
constexpr int kKidsPanelDialog = 6110;

// The rooms' data (owned by their room records).
struct ClassroomData {
  int32_t flag;  // 0: show the curriculum on entering
  int32_t illegalMoveVoice;
  TeachingBoard* board;
};
struct KidsData {
  int32_t fullMenu;
  CmMenu* menu25;
  CmMenu* menu28;
  HACCEL keys36;
  HACCEL keys39;
  TeachingBoard* board;
};

TeachingRoomHooks g_hooks;
HWND g_kidsPanel = nullptr;
PackedDib* g_kidsTile = nullptr;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }
HWND Main() { return GetMainFrame(); }

std::string LoadText(int id) {
  char text[1024] = "";
  LoadStringA(Instance(), static_cast<UINT>(id), text, sizeof text);
  return text;
}

void SaveIllegalMoveVoice(int32_t* saved) {
  if (AppGlobals* g = GetAppGlobals())
    if (g->settings) {
      *saved = g->settings->illegalMoveVoice;
      g->settings->illegalMoveVoice = 0;
    }
}
void RestoreIllegalMoveVoice(int32_t saved) {
  if (AppGlobals* g = GetAppGlobals())
    if (g->settings) g->settings->illegalMoveVoice = saved;
}

void EnsureCurriculum() {
  if (!GetCurriculumWindow() && Main()) CreateCurriculumWindow(Main(), Instance());
}

void ParkMenuAndKeys(bool park) {
  if (Main()) cwEnableMenu(Main(), park ? 0 : 1);
  EnableAccelerators(park ? 0 : 1);
}

// A rated game blocks the command: string 181, and the command is refused.
bool RefuseWhileRatedGame() {
  if (!g_hooks.ratedGameUnfinished || !g_hooks.ratedGameUnfinished()) return false;
  AppMessageBox(LoadText(181).c_str(), MB_OK | MB_ICONEXCLAMATION);
  return true;
}

// Asks whether a running drill or exercise may end; false refuses leaving.
bool MayLeaveTeachingScreen() {
  if (g_hooks.drillRunning && g_hooks.drillRunning()) {
    if (g_hooks.pauseDrillClock) g_hooks.pauseDrillClock(1);
    if (AppMessageBox(LoadText(1096).c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) {
      if (g_hooks.pauseDrillClock) g_hooks.pauseDrillClock(0);
      return false;
    }
    if (g_hooks.cancelDrill) g_hooks.cancelDrill();
  }
  if (g_hooks.exerciseRunning && g_hooks.exerciseRunning()) {
    if (AppMessageBox(LoadText(1098).c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
    if (g_hooks.endExercise) g_hooks.endExercise();
  }
  return true;
}

void HideLessonAndCurriculum() {
  if (HWND lesson = GetLessonWindow()) ShowWindow(lesson, SW_HIDE);
  ShowCurriculumWindow(0, 1);
}

// ---- the classroom

int InitClassroom(RoomRecord* record) {
  auto* data = static_cast<ClassroomData*>(memAlloc_rel(sizeof(ClassroomData), 66));
  if (!data) return 0;
  std::memset(data, 0, sizeof *data);
  record->roomData = data;
  LoadWallpaper("ClassroomBackground.bmp", record);
  data->board = CreateTeachingBoard(record, Instance());
  EnsureCurriculum();
  record->board->view = nullptr;
  record->setUp = 1;
  return 1;
}

void ReleaseClassroomImpl(RoomRecord* record, int) {
  if (LessonContext* lesson = GetLessonContext(ROOM_CLASS)) FinishLesson(ROOM_CLASS, lesson, 1);
  auto* data = static_cast<ClassroomData*>(record->roomData);
  if (!data) return;
  if (data->board) {
    UseTeachingBoard(nullptr);
    DestroyTeachingBoard(data->board);
  }
  record->boardWindow = nullptr;
  memFree_rel(data);
  record->roomData = nullptr;
}

// ---- the kids room

// The kids panel's buttons, from the panel in the room and from the
// Shortcuts window's tiles alike.
void KidsPanelCommand(int id) {
  switch (id) {
    case 21600: KidsRoomCommand(Main(), 40210); break;
    case 21605: if (Main()) PostMessageA(Main(), WM_COMMAND, 40087, 0); break;
    case 21610: if (!RefuseWhileRatedGame() && g_hooks.newGame) g_hooks.newGame(Main()); break;
    case 21615: if (!RefuseWhileRatedGame() && g_hooks.showAdvice) g_hooks.showAdvice(Main()); break;
    case 21620: if (g_hooks.showMasterClass) g_hooks.showMasterClass(Main()); break;
    case 21625:
      if (!RefuseWhileRatedGame()) {
        ShowCurriculumWindow(1, 0);
        SelectCurriculumCategory(21700);
      }
      break;
    case 21860:
      if (!RefuseWhileRatedGame()) {
        ShowCurriculumWindow(1, 0);
        SelectCurriculumCategory(21695);
      }
      break;
    case 21865: KidsRoomCommand(Main(), 40041); break;
  }
}

INT_PTR CALLBACK KidsPanelProc(HWND panel, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG:
      return FALSE;
    case WM_COMMAND:
      if (HIWORD(first) == BN_CLICKED) {
        KidsPanelCommand(LOWORD(first));
        return TRUE;
      }
      break;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(panel, &r);
      HDC dc = reinterpret_cast<HDC>(first);
      if (g_kidsTile) {
        const int w = g_kidsTile->biWidth, h = std::abs(g_kidsTile->biHeight);
        for (int y = 0; y < r.bottom; y += h)
          for (int x = 0; x < r.right; x += w) dibDisplayRGB(dc, x, y, w, h, 0, 0, g_kidsTile);
      } else {
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      }
      SetWindowLongPtrA(panel, DWLP_MSGRESULT, 1);
      return TRUE;
    }
  }
  (void)second;
  return FALSE;
}

void PlaceKidsPanel() {
  HWND room = static_cast<HWND>(GetNumberedWindow(WIN_ROOM));
  if (!room) return;
  if (!g_kidsPanel) {
    g_kidsPanel = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(kKidsPanelDialog), room, KidsPanelProc, 0);
    if (!g_kidsPanel) return;
    void* data = nullptr;
    uint32_t tag = 0, stored = 0, size = 0;
    if (!g_kidsTile && LoadDataItem("KIDS_TILE.bmp", 2, &data, &tag, &stored, &size) && data) {
      g_kidsTile = dibDuplicate(static_cast<PackedDib*>(data));
      datUnloadItem(data);
    }
  }
  RECT client, panel;
  GetClientRect(room, &client);
  // The room window may reach under the frame's border: keep the panel
  // inside what the frame shows.
  if (HWND frame = Main()) {
    RECT shown;
    GetClientRect(frame, &shown);
    MapWindowPoints(frame, room, reinterpret_cast<POINT*>(&shown), 2);
    if (shown.right < client.right) client.right = shown.right;
  }
  GetWindowRect(g_kidsPanel, &panel);
  const int w = panel.right - panel.left, h = panel.bottom - panel.top;
  SetWindowPos(g_kidsPanel, HWND_TOP, client.right - w - 12, 12, w, h, SWP_SHOWWINDOW);
}

int InitKidsRoom(RoomRecord* record) {
  auto* data = static_cast<KidsData*>(memAlloc_rel(sizeof(KidsData), 66));
  if (!data) return 0;
  std::memset(data, 0, sizeof *data);
  record->roomData = data;
  data->fullMenu = 1;
  data->menu25 = record->menu;
  data->menu28 = cmLoadMenu(Instance(), MAKEINTRESOURCEA(kKidsReducedMenu));
  data->keys36 = static_cast<HACCEL>(record->accelerators);
  data->keys39 = LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(kKidsReducedKeys));
  record->tileId = kKidsPanelDialog;
  std::strcpy(record->tileBitmap, "KIDS_TILE");
  record->tileCommand = KidsPanelCommand;
  LoadWallpaper("KidsBackground.bmp", record);
  data->board = CreateTeachingBoard(record, Instance());
  EnsureCurriculum();
  record->setUp = 1;
  return 1;
}

void ReleaseKidsRoomImpl(RoomRecord* record, int) {
  if (LessonContext* lesson = GetLessonContext(ROOM_KIDS)) FinishLesson(ROOM_KIDS, lesson, 1);
  auto* data = static_cast<KidsData*>(record->roomData);
  if (!data) return;
  if (data->board) {
    UseTeachingBoard(nullptr);
    DestroyTeachingBoard(data->board);
  }
  if (g_kidsPanel) DestroyWindow(g_kidsPanel);
  g_kidsPanel = nullptr;
  if (data->menu28 && data->menu28 != record->menu) cmDestroyMenu(data->menu28);
  record->boardWindow = nullptr;
  memFree_rel(data);
  record->roomData = nullptr;
}

CmMenu* MakeMenu(int room) {
  return cmLoadMenu(Instance(), MAKEINTRESOURCEA(room == ROOM_KIDS ? kKidsMenu : kClassroomMenu));
}
void* MakeKeys(int room) {
  return LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(room == ROOM_KIDS ? kKidsKeys : kClassroomKeys));
}

const RoomModule kClassroomModule = {ShowClassroom, HideClassroom, ReleaseClassroom, MakeMenu, ClassroomCommand,
                                     nullptr, MakeKeys};
const RoomModule kKidsModule = {ShowKidsRoom, HideKidsRoom, ReleaseKidsRoom, MakeMenu, KidsRoomCommand, nullptr,
                                MakeKeys};

}  // namespace

void RegisterTeachingRooms() {
  RegisterRoomModule(ROOM_CLASS, &kClassroomModule);
  RegisterRoomModule(ROOM_KIDS, &kKidsModule);
}

int ShowClassroom(RoomRecord* record) {
  if (!record) return 0;
  if (!record->roomData && !InitClassroom(record)) return 0;
  auto* data = static_cast<ClassroomData*>(record->roomData);
  // The room switch puts up the room's saved layout, which may have the
  // navigation bar hidden (the lobby hides it): a room beside the bar shows
  // it, or the user has no way out of the room.
  ShowNavigationBar();
  UseTeachingBoard(data->board);
  SaveIllegalMoveVoice(&data->illegalMoveVoice);
  if (HWND lesson = GetLessonWindow()) {
    ShowCurriculumWindow(0, 1);
    ParkMenuAndKeys(true);
    ShowWindow(lesson, SW_SHOW);
  } else if (data->flag == 0) {
    ShowCurriculumWindowLater(1, 0);
  }
  return 1;
}

int HideClassroom(RoomRecord* record) {
  StopVoiceClip();
  if (!MayLeaveTeachingScreen()) return 0;
  HideLessonAndCurriculum();
  if (auto* data = record ? static_cast<ClassroomData*>(record->roomData) : nullptr)
    RestoreIllegalMoveVoice(data->illegalMoveVoice);
  ParkMenuAndKeys(false);
  return 1;
}

void ReleaseClassroom(RoomRecord* record, int isCurrent) { ReleaseClassroomImpl(record, isCurrent); }

int ShowKidsRoom(RoomRecord* record) {
  if (!record) return 0;
  if (!record->roomData && !InitKidsRoom(record)) return 0;
  auto* data = static_cast<KidsData*>(record->roomData);
  ShowNavigationBar();
  UseTeachingBoard(data->board);
  ShowCurriculumWindow(0, 1);
  PlaceKidsPanel();
  if (HWND lesson = GetLessonWindow()) {
    if (g_kidsPanel) ShowWindow(g_kidsPanel, SW_HIDE);
    ParkMenuAndKeys(true);
    ShowWindow(lesson, SW_SHOW);
  }
  ChangeIdleLevel(1);
  return 1;
}

int HideKidsRoom(RoomRecord*) {
  StopVoiceClip();
  if (g_hooks.queryAdjournRatedGame && !g_hooks.queryAdjournRatedGame()) return 0;
  // A running checkmate exercise keeps the board's callback: it must end
  // before the room is left, as in the classroom.
  if (!MayLeaveTeachingScreen()) return 0;
  HideLessonAndCurriculum();
  // The panel is the kids room's own: no hidden dialog stays behind in the
  // room window that the other rooms share.
  if (g_kidsPanel) DestroyWindow(g_kidsPanel);
  g_kidsPanel = nullptr;
  ChangeIdleLevel(0);
  ParkMenuAndKeys(false);
  return 1;
}

void ReleaseKidsRoom(RoomRecord* record, int isCurrent) { ReleaseKidsRoomImpl(record, isCurrent); }

int ClassroomCommand(void*, int command) {
  switch (command) {
    case 40177:
      if (g_hooks.showDiagnosticResults) g_hooks.showDiagnosticResults(Main());
      return 1;
    case 40210:
      ShowCurriculumWindow(1, 0);
      return 1;
    case 40038:
      if (g_hooks.showMasterClass) g_hooks.showMasterClass(Main());
      return 1;
  }
  return 0;
}

int KidsRoomCommand(void*, int command) {
  if (command < 40007 || command > 40210) return 0;
  switch (command) {
    case 40007:
      if (!RefuseWhileRatedGame() && g_hooks.newGame) g_hooks.newGame(Main());
      return 1;
    case 40014:
      if (!RefuseWhileRatedGame() && g_hooks.loadGame) g_hooks.loadGame(Main());
      return 1;
    case 40038:
      if (g_hooks.showMasterClass) g_hooks.showMasterClass(Main());
      return 1;
    case 40041:
      if (!RefuseWhileRatedGame() && g_hooks.ratedGameDialog) g_hooks.ratedGameDialog(Main());
      return 1;
    case 40086:
      if (!RefuseWhileRatedGame() && g_hooks.gameOptions) g_hooks.gameOptions(Main());
      return 1;
    case 40210:
      if (RefuseWhileRatedGame()) return 1;
      ShowCurriculumWindow(1, 0);
      SelectCurriculumCategory(21690);
      return 1;
  }
  return 0;
}

void SetRoom2Menus(int full) {
  RoomRecord* record = GetRoomRecord(ROOM_KIDS);
  auto* data = record ? static_cast<KidsData*>(record->roomData) : nullptr;
  if (!data) return;
  data->fullMenu = full ? 1 : 0;
  record->menu = full ? data->menu25 : data->menu28;
  record->accelerators = full ? static_cast<void*>(data->keys36) : static_cast<void*>(data->keys39);
  if (GetRoomNumber() == ROOM_KIDS) {
    SetMainMenu(record->menu, [](HWND window, WPARAM first, LPARAM) { return KidsRoomCommand(window, LOWORD(first)); });
    SetActiveAccelerators(record->accelerators);
  }
}

HWND GetKidsPanel() { return g_kidsPanel; }

void SetTeachingRoomHooks(const TeachingRoomHooks& hooks) { g_hooks = hooks; }
TeachingRoomHooks GetTeachingRoomHooks() { return g_hooks; }
