// The drill window "IDD_DRILL", its builder thread, the run's clock and
// the records dialog "DRILL_RESULTS".
#include "drill_window_win32.h"

#include <mmsystem.h>
// The program's own GetUserName (the current user of Rookwell), not the
// system's.
#undef GetUserName

#include <cstdio>
#include <cstring>
#include <memory>

#include "app_globals.h"
#include "curriculum_window_win32.h"
#include "data_sets.h"
#include "drill_builder.h"
#include "drill_records.h"
#include "facet_frame.h"
#include "main_frame.h"
#include "main_loop.h"
#include "packfile.h"
#include "message_box.h"
#include "profile.h"
#include "room_records.h"
#include "room_switch.h"
#include "teaching_board_seam.h"
#include "teaching_board_win32.h"
#include "voice_clips_win32.h"
#include "win_utils_win32.h"
#include "window_order_win32.h"
#include "worker_thread.h"

struct DrillRun {
  HWND dialog = nullptr;
  WorkerThread* thread = nullptr;
  std::unique_ptr<DrillBuilder> builder;  // owns the ten boards
  int room = ROOM_CLASS;
  int kind = 0;
  int selector = 1;
  DrillClock clock;
  int shown = 0;         // index of the position shown (solved or skipped so far)
  bool pending = true;   // the shown index still waits for its position
  int modeBefore = 5261;  // the kids room's board teaching mode
};

namespace {

constexpr const char* kDrillThreadName = "DrillBuildingThread";
constexpr UINT_PTR kClockTimer = 4612;
constexpr UINT kJudgeMessage = WM_APP + 0x42;  // posted move: from, to
constexpr int kTitle = 600, kCounter = 597, kClock = 598, kSkip = 599, kSecondCancel = 6001;
constexpr int kFirstKindButton = 620, kFirstName = 6200, kFirstTime = 6225, kFirstRowLabel = 6250;
constexpr int kTeachingModeOff = 5261;

DrillRun* g_runs[2] = {};  // the classroom's and the kids room's
int g_dialogRoom = ROOM_CLASS;  // the room of the open drill window

// The records file of the open drill window, kept open while it runs.
struct RecordsFile {
  HANDLE file = INVALID_HANDLE_VALUE;
  DrillRecords records{};
};
RecordsFile g_file;

int Slot(int room) { return room == ROOM_KIDS ? 1 : 0; }
HINSTANCE Instance() { return GetModuleHandleA(nullptr); }
uint32_t Now() { return timeGetTime(); }

std::string RecordsPath() {
  const char* folder = GetProgramFolder();
  return std::string(folder ? folder : ".") + "\\Drills.rec";
}

HANDLE OpenRecords(DrillRecords* records) {
  HANDLE file = CreateFileA(RecordsPath().c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  uint8_t image[kDrillRecordsFileSize] = {};
  DWORD got = 0;
  if (file != INVALID_HANDLE_VALUE) ReadFile(file, image, sizeof image, &got, nullptr);
  ReadDrillRecords(image, got, records);
  return file;
}

void WriteAndCloseRecords(HANDLE file, const DrillRecords& records) {
  if (file == INVALID_HANDLE_VALUE) return;
  uint8_t image[kDrillRecordsFileSize];
  WriteDrillRecords(records, image);
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  DWORD wrote = 0;
  WriteFile(file, image, sizeof image, &wrote, nullptr);
  SetEndOfFile(file);
  CloseHandle(file);
}

std::string DrillName(int kind) {
  static const int ids[8] = {166, 167, 168, 169, 170, 2340, 2341, 2342};
  return kind >= 0 && kind < 8 ? TeachingText(ids[kind]) : std::string();
}

std::string PieceWord(int selector) {
  return selector >= 1 && selector <= 4 ? TeachingText(161 + selector) : std::string();
}

std::string DrillClockText(uint32_t ms) {
  const uint32_t seconds = ms / 1000;
  char text[64];
  std::snprintf(text, sizeof text, "%s %u:%02u", TeachingText(171).c_str(), seconds / 60, seconds % 60);
  return text;
}

HWND RoomBoardWindow() {
  RoomRecord* record = GetCurrentRoomRecord();
  return record ? static_cast<HWND>(record->boardWindow) : nullptr;
}

void SetText(HWND dialog, int id, const std::string& text) {
  char shown[256] = "";
  GetDlgItemTextA(dialog, id, shown, sizeof shown);
  if (text != shown) SetDlgItemTextA(dialog, id, text.c_str());
}

DrillRun* RunOf(HWND dialog) { return reinterpret_cast<DrillRun*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

uint32_t BuildingWork(void* argument) {
  auto* builder = static_cast<DrillBuilder*>(argument);
  return builder->Work() ? 1 : 0;
}

// Shows position `index` when it is built, else stops the clock until it is.
void ShowDrillPosition(DrillRun* run, int index) {
  if (index >= run->builder->Built()) {
    if (!run->clock.stopped) run->clock.Stop(Now());
    return;
  }
  if (run->clock.stopped) run->clock.Resume(Now());
  run->pending = false;
  const Board& board = run->builder->Position(index);
  ShowTeachingPosition(board, WHITE);
  char counter[64];
  std::snprintf(counter, sizeof counter, TeachingText(1093).c_str(), index + 1, kDrillPositions);
  if (run->dialog) SetDlgItemTextA(run->dialog, kCounter, counter);
  char line[96];
  std::snprintf(line, sizeof line, "drill position %d shown: %c%c%c%c", index + 1, 'a' + SquareFile(board[12]),
                '8' - SquareRow(board[12]), 'a' + SquareFile(board[13]), '8' - SquareRow(board[13]));
  TeachingTrace(line);
}

void NextPosition(DrillRun* run) {
  run->pending = true;
  ShowDrillPosition(run, run->shown);
}

// Stops the builder and waits until its thread has ended: the boards it
// writes belong to the run.
void StopBuilder(DrillRun* run) {
  if (!run->thread) return;
  StopWorkerThread(run->thread, 500);
  while (WorkerThreadExists(kDrillThreadName)) {
    StopWorkerThread(run->thread, 500);
    Sleep(5);
  }
  run->thread = nullptr;
}

// The end of the run: the result of a complete run against the records,
// then the run is freed. The dialog stays for the caller to destroy.
void EndDrill(DrillRun* run) {
  HWND dialog = run->dialog;
  if (dialog) {
    KillTimer(dialog, kClockTimer);
    ShowWindow(dialog, SW_HIDE);
  }
  StopBuilder(run);
  if (run->clock.complete) {
    const char* user = GetUserName();
    const DrillOutcome outcome =
        FinishDrill(run->clock, Now(), &g_file.records, run->kind, run->selector, user ? user : "",
                    TeachingText(172).c_str(), TeachingText(1094).c_str());
    char line[64];
    std::snprintf(line, sizeof line, "drill finished: %u s, new record %d", outcome.seconds, outcome.newRecord);
    TeachingTrace(line);
    AppMessageBox(outcome.message.c_str(), 0);
    RecordCurriculumResult(static_cast<int>(outcome.seconds), 0);
  }
  g_runs[Slot(run->room)] = nullptr;
  if (dialog) SetWindowLongPtrA(dialog, DWLP_USER, 0);
  delete run;
}

// A move the user made on the board: the solution goes on to the next
// position, any other move is taken back and costs ten seconds.
void CheckDrillAnswer(DrillRun* run, int from, int to) {
  const Board& position = run->builder->Position(run->shown);
  if (from == position[kSolutionFromByte] && to == position[kSolutionToByte]) {
    ++run->shown;
    TeachingTrace("drill answer right");
    if (run->shown >= kDrillPositions) {
      StopVoiceClip();
      HWND dialog = run->dialog;
      EndDrill(run);
      if (dialog) DestroyWindow(dialog);
      return;
    }
    NextPosition(run);
    return;
  }
  TeachingTrace("drill answer wrong");
  TakeTeachingMoveBack();
  run->clock.AddError();
}

void DrillMoveMade(const MoveRecord& move) {
  char line[48];
  std::snprintf(line, sizeof line, "drill move %d %d", move.from, move.to);
  TeachingTrace(line);
  if (HWND dialog = GetDrillWindow()) PostMessageA(dialog, kJudgeMessage, move.from, move.to);
}

void ShowKindRecords(HWND dialog, int kind) {
  const DrillRecords* records = reinterpret_cast<const DrillRecords*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (!records) return;
  for (int selector = 1; selector <= 5; ++selector) {
    const int row = selector - 1;
    const bool shownRow = DrillRecordRowShown(kind, selector);
    for (int id : {kFirstName + row, kFirstTime + row, kFirstRowLabel + row})
      ShowWindow(GetDlgItem(dialog, id), shownRow ? SW_SHOW : SW_HIDE);
    const DrillRecord& entry = records->entries[DrillRecordIndex(kind, selector)];
    SetDlgItemTextA(dialog, kFirstName + row, entry.name[0] ? entry.name : "*****");
    SetDlgItemTextA(dialog, kFirstTime + row, entry.seconds ? FormatDrillTime(entry.seconds).c_str() : "*****");
  }
}

HBITMAP KindPicture(int kind) {
  char name[32];
  std::snprintf(name, sizeof name, "DRILL_KIND_%d", kind);
  void* picture = nullptr;
  if (!LoadLibraryBitmap(name, 7, &picture) || !picture) return nullptr;
  auto* header = static_cast<BITMAPINFOHEADER*>(picture);
  const int colours = header->biClrUsed ? header->biClrUsed : (header->biBitCount <= 8 ? 1 << header->biBitCount : 0);
  const uint8_t* bits = reinterpret_cast<const uint8_t*>(header) + header->biSize + colours * sizeof(RGBQUAD);
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, header, CBM_INIT, bits, reinterpret_cast<BITMAPINFO*>(header),
                                  DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);  // the picture is the library's resource, in place
  return bitmap;
}

INT_PTR CALLBACK DrillResultsDlgProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, second);
      for (int kind = 0; kind < kDrillKinds; ++kind)
        if (HBITMAP picture = KindPicture(kind))
          SendDlgItemMessageA(dialog, kFirstKindButton + kind, BM_SETIMAGE, IMAGE_BITMAP,
                              reinterpret_cast<LPARAM>(picture));
      CheckRadioButton(dialog, kFirstKindButton, kFirstKindButton + 7, kFirstKindButton);
      ShowKindRecords(dialog, 0);
      CenterWindow(dialog, GetParent(dialog));
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(first);
      if (id >= kFirstKindButton && id < kFirstKindButton + kDrillKinds) {
        ShowKindRecords(dialog, id - kFirstKindButton);
        return TRUE;
      }
      if (id == IDOK || id == IDCANCEL) {
        EndDialog(dialog, id);
        return TRUE;
      }
      break;
    }
    case WM_DESTROY:
      for (int kind = 0; kind < kDrillKinds; ++kind) {
        auto picture = reinterpret_cast<HBITMAP>(
            SendDlgItemMessageA(dialog, kFirstKindButton + kind, BM_SETIMAGE, IMAGE_BITMAP, 0));
        if (picture) DeleteObject(picture);
      }
      break;
  }
  return FALSE;
}

void RunRecordsDialog(HWND owner, DrillRecords* records) {
  DialogBoxParamA(Instance(), "DRILL_RESULTS", owner, DrillResultsDlgProc, reinterpret_cast<LPARAM>(records));
}

void GiveBoardBack(int room) {
  SetTeachingPlay(nullptr);
  if (room == ROOM_KIDS) {
    TeachingBoardSeam& seam = GetTeachingBoardSeam();
    if (seam.setTeachingMode) seam.setTeachingMode(RoomBoardWindow(), kTeachingModeOff);
  }
}

INT_PTR CALLBACK DrillDlgProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* run = reinterpret_cast<DrillRun*>(second);
      SetWindowLongPtrA(dialog, DWLP_USER, second);
      run->dialog = dialog;
      g_dialogRoom = run->room;
      g_file.file = OpenRecords(&g_file.records);
      PlaceAtTopRightOfMain(dialog);
      run->clock.Start(Now());
      const std::string title = FormatDrillTitle(DrillName(run->kind).c_str(), TeachingText(10105).c_str(),
                                                 PieceWord(run->selector).c_str(), run->selector,
                                                 TeachingText(161).c_str());
      SetDlgItemTextA(dialog, kTitle, title.c_str());
      ShowWindow(GetDlgItem(dialog, kSecondCancel), SW_HIDE);
      SetTeachingPlay(DrillMoveMade);
      SetTimer(dialog, kClockTimer, 100, nullptr);
      SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
      run->clock.Stop(Now());  // it runs once the first position shows
      ShowDrillPosition(run, 0);
      return FALSE;
    }
    case WM_TIMER: {
      DrillRun* run = RunOf(dialog);
      if (!run || first != kClockTimer) break;
      KeepInFrontOfPanels(dialog);
      if (run->clock.stopped) {
        SetText(dialog, kClock, TeachingText(1097));
        ShowDrillPosition(run, run->shown);
      } else {
        SetText(dialog, kClock, DrillClockText(run->clock.ElapsedMs(Now())));
        if (run->pending) ShowDrillPosition(run, run->shown);
      }
      return TRUE;
    }
    case kJudgeMessage:
      if (DrillRun* run = RunOf(dialog)) {
        if (!run->pending) CheckDrillAnswer(run, static_cast<int>(first), static_cast<int>(second));
      }
      return TRUE;
    case WM_COMMAND: {
      DrillRun* run = RunOf(dialog);
      if (!run) break;
      switch (LOWORD(first)) {
        case kSkip:
          run->clock.Skip();
          if (++run->shown >= kDrillPositions) {
            EndDrill(run);
            DestroyWindow(dialog);
          } else {
            NextPosition(run);
          }
          return TRUE;
        case IDCANCEL:
          run->clock.complete = false;
          EndDrill(run);
          DestroyWindow(dialog);
          return TRUE;
      }
      break;
    }
    case WM_DESTROY: {
      const int room = g_dialogRoom;
      DrillRun* run = RunOf(dialog);  // null once the run ended
      SetWindowLongPtrA(dialog, DWLP_USER, 0);
      const bool ended = !run;
      if (ended) {
        RunRecordsDialog(GetMainFrame(), &g_file.records);
        WriteAndCloseRecords(g_file.file, g_file.records);
        g_file.file = INVALID_HANDLE_VALUE;
      } else {
        run->dialog = nullptr;
      }
      GiveBoardBack(room);
      if (HWND main = GetMainFrame()) cwEnableMenu(main, 1);
      EnableAccelerators(1);
      SuspendRoomTimer(0);
      if (ended) ShowCurriculumWindow(1, 1);
      return FALSE;
    }
  }
  return FALSE;
}

}  // namespace

std::string TeachingText(int id) {
  char text[1024] = "";
  LoadStringA(Instance(), static_cast<UINT>(id), text, sizeof text);
  return text;
}


void PlaceAtTopRightOfMain(HWND window) {
  HWND main = GetMainFrame();
  if (!main || !window) return;
  RECT client, own;
  GetClientRect(main, &client);
  MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 2);
  GetWindowRect(window, &own);
  int left = client.right - (own.right - own.left);
  if (left < 0) left = 0;
  SetWindowPos(window, nullptr, left, client.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void StartDrill(HWND parent, int kind, int selector) {
  const int room = GetRoomNumber();
  if ((room != ROOM_CLASS && room != ROOM_KIDS) || g_runs[Slot(room)] || kind < 0 || kind >= kDrillKinds) {
    ShowCurriculumWindow(1, 1);  // the launch hid it
    return;
  }
  if (selector < 1 || selector > kSelectorRandom) selector = kSelectorRandom;
  auto* run = new DrillRun;
  run->room = room;
  run->kind = kind;
  run->selector = selector;
  // A non-zero [debug] drill_seed makes the ten positions known in advance.
  const int seed = ProfileReadInt("debug", "drill_seed", 0, GetMainIniPath());
  run->builder = seed ? std::make_unique<DrillBuilder>(kind, selector, static_cast<uint32_t>(seed))
                      : std::make_unique<DrillBuilder>(kind, selector);
  g_runs[Slot(room)] = run;
  if (room == ROOM_KIDS) {
    TeachingBoardSeam& seam = GetTeachingBoardSeam();
    if (seam.setTeachingMode) seam.setTeachingMode(RoomBoardWindow(), kTeachingModeOff);
  }
  run->thread = StartWorkerThread(kDrillThreadName, run->builder.get(), BuildingWork, nullptr, nullptr);
  const std::string lesson = FormatDrillLesson(TeachingText(182 + kind).c_str(), PieceWord(selector).c_str(), selector);
  AppMessageBox(lesson.c_str(), 0);
  cwEnableMenu(parent ? parent : GetMainFrame(), 0);
  EnableAccelerators(0);
  SuspendRoomTimer(1);
  if (!CreateDialogParamA(Instance(), "IDD_DRILL", GetMainFrame(), DrillDlgProc, reinterpret_cast<LPARAM>(run))) {
    StopBuilder(run);
    g_runs[Slot(room)] = nullptr;
    delete run;
    cwEnableMenu(parent ? parent : GetMainFrame(), 1);
    EnableAccelerators(1);
    SuspendRoomTimer(0);
    ShowCurriculumWindow(1, 1);
  }
}

DrillRun* GetDrillRun() {
  const int room = GetRoomNumber();
  if (room != ROOM_CLASS && room != ROOM_KIDS) return nullptr;
  return g_runs[Slot(room)];
}

HWND GetDrillWindow() {
  DrillRun* run = GetDrillRun();
  return run ? run->dialog : nullptr;
}

void StopDrillClock() {
  if (DrillRun* run = GetDrillRun())
    if (!run->clock.stopped) run->clock.Stop(Now());
}

void ResumeDrillClock() {
  if (DrillRun* run = GetDrillRun())
    if (run->clock.stopped) run->clock.Resume(Now());
}

void CancelDrill() {
  DrillRun* run = GetDrillRun();
  if (!run) return;
  run->clock.complete = false;
  if (run->dialog) SendMessageA(run->dialog, WM_COMMAND, IDCANCEL, 0);
}

void ShowDrillRecords(HWND owner) {
  DrillRecords records{};
  HANDLE file = OpenRecords(&records);
  RunRecordsDialog(owner, &records);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}
