// Joins Rookwell.exe to the parts built beside the shell: the sound layer
// and the game sounds, the movie launcher and the print front end. Start-up
// reaches them through its own seam (StartupServices); the rest of the
// program through the shell's service table and the main frame's links.
#include "program_parts.h"

#include <windows.h>

#include <string>

// The shell names its own user; not the system's account call.
#undef GetUserName

#include "advice_window.h"
#include "annotation_window.h"
#include "annotator.h"
#include "app_globals.h"
#include "app_main.h"
#include "coach_window_win32.h"
#include "practice_openings_win32.h"
#include "data_sets.h"
#include "dbwindow_win32.h"
#include "frame_links.h"
#include "game_info.h"
#include "load_save.h"
#include "game_room_parts.h"
#include "game_sounds.h"
#include "debug_window.h"
#include "menu_commands_win32.h"
#include "move_words.h"
#include "notation_change.h"
#include "movie_launch.h"
#include "print_front.h"
#include "room_window.h"
#include "shell_services.h"
#include "sound_layer.h"
#include "teaching_rooms_win32.h"
#include "drill_window_win32.h"
#include "training_screens_win32.h"
#include "voice_clips_win32.h"

namespace {

// The modeless windows that start-up makes and ends; the engine monitors
// join whatever is installed before them.
int (*g_createModeless)() = nullptr;
int (*g_destroyModeless)() = nullptr;
int CreateModelessWithMonitors() {
  const int made = g_createModeless ? g_createModeless() : 1;
  CreateEngineMonitors();
  return made;
}
int DestroyModelessWithMonitors() {
  DestroyEngineMonitors();
  return g_destroyModeless ? g_destroyModeless() : 1;
}

int StartSound(int mode) { return StartSoundSystem(mode) == mode ? 1 : 0; }
void StopSound() { StopSoundSystem(); }
void PlayIntro(HWND) { PlayIntroMovie(); }
void PlayKidsRoom(HWND) { PlayKidsRoomMovie(); }

void ReleaseDevice() { ReleaseSoundDevice(); }
int ReacquireDevice() { return ReacquireSoundDevice(); }
int ServiceGameSound(int n) { return PlayGameSound(n); }
int MoveSound(const MoveRecord* move, const Board* before, int side) { return PlayMoveSound(move, before, side); }
void PrintPalette(void* palette) { SetPrintPalette(static_cast<HPALETTE>(palette)); }

// The frame's own entries, for the frame's messages (0x810E, activation).
void FramePlayGameSound(int n) { PlayGameSound(n); }

// The game sounds read the current user's settings as they are when the
// sound plays. Spoken moves need the voice clips, which this program does
// not have yet: until a clip player is installed the moves pack counts as
// closed, so piece_sounds 2 plays the move's sound instead of silence.
GameSoundHost ProgramGameSoundHost() {
  GameSoundHost host;
  const char* folder = GetProgramFolder();
  UseSystemSoundService(&host, folder ? folder : "");
  host.pieceSounds = [] { return GetPieceSoundsSetting(); };
  host.illegalMoveVoice = [] { return GetIllegalMoveVoiceSetting() != 0; };
  host.dataSetOpen = [](int set) { return GetGameSoundHost().startVoiceClip && IsDataSetOpen(set) != 0; };
  host.explainIllegalMove = [](const Board* position, int side, int from, int to) {
    return ExplainIllegalMove(position, side, from, to);
  };
  host.spokenMove = [](const MoveRecord* move, const Board* position, int side) {
    return MoveInWords(position, side, move, 1, 1);
  };
  return host;
}

// The game room's windows read their clips through the voice-clip player:
// the mode is the data set the pieces come from (4, the spoken advice).
void* StartRoomClip(const char* markup, int mode, void (*ended)(void* data), void* data) {
  return StartVoiceClipWithCallback(mode, markup ? markup : "", ended, data);
}
void PauseRoomClip(void* clip) { PauseVoiceClip(static_cast<VoiceClipHandle*>(clip)); }
void ResumeRoomClip(void* clip) { ResumeVoiceClip(static_cast<VoiceClipHandle*>(clip)); }
void StopRoomClip(void* clip) {
  if (clip && GetCurrentVoiceClip() == clip) StopVoiceClip();
}

void ConnectRoomClips() {
  AdviceServices advice{};
  advice.startClip = StartRoomClip;
  advice.pauseClip = PauseRoomClip;
  advice.resumeClip = ResumeRoomClip;
  advice.stopClip = StopRoomClip;
  SetAdviceServices(&advice);
  const AnnotationServices annotation{StartRoomClip, PauseRoomClip, ResumeRoomClip, StopRoomClip};
  SetAnnotationServices(&annotation);
}

}  // namespace

void ConnectProgramParts() {
  StartupServices& startup = GetStartupServices();
  startup.startSound = StartSound;
  startup.stopSound = StopSound;
  startup.playIntroMovie = PlayIntro;
  // The room window's one-shot timer at the first entry into the kids room.
  SetRoomMovieLaunch(PlayKidsRoom);
  // The classroom and the kids room take their places in the room table.
  RegisterTeachingRooms();
  ConnectTrainingScreens();
  ConnectDatabaseRoom();
  ConnectRoomClips();

  ShellServices s = GetShellServices();
  s.releaseSoundDevice = ReleaseDevice;
  s.reacquireSoundDevice = ReacquireDevice;
  s.playGameSound = ServiceGameSound;
  s.playMoveSound = MoveSound;
  s.setPrintPalette = PrintPalette;
  SetShellServices(s);
  InstallNotationChange();

  // The movie launcher releases the device through the service table; the
  // frame takes it back (0x810E, activation) through its links. Both point
  // at the sound layer.
  FrameLinks& links = GetFrameLinks();
  links.releaseSoundDevice = ReleaseDevice;
  links.reacquireSoundDevice = ReacquireDevice;
  links.playGameSound = FramePlayGameSound;
  links.setPrintPalette = SetPrintPalette;

  ConnectGameRoomParts();
  ConnectGameRoomDialogs();
  // The main menu's commands and check marks, and the engine monitors.
  InstallMenuCommands();
  MenuCommandHooks& hooks = GetMenuCommandHooks();
  hooks.gameInformation = [](HWND owner, GameRecord* game) { ShowGameInfoDialog(owner, game); };
  hooks.askAnnotationType = [](HWND owner, GameRecord*) { return AskAnnotationType(owner, 0); };
  hooks.saveGame = [](HWND owner, GameRecord* game) { SaveGameCommand(owner, nullptr, game); };
  hooks.drillRecords = ShowDrillRecords;
  InstallDebugMonitors();
  g_createModeless = startup.createModelessWindows;
  g_destroyModeless = startup.destroyModelessWindows;
  startup.createModelessWindows = CreateModelessWithMonitors;
  startup.destroyModelessWindows = DestroyModelessWithMonitors;
  // The chess coach joins the modeless windows; the classroom's curriculum
  // launches practice openings.
  ConnectCoachWindow();
  ConnectPracticeOpenings();
}

void FillGameSoundHost() { SetGameSoundHost(ProgramGameSoundHost()); }
