// The shell's GameHost and EngineLinkHost.
#include "shell_hosts.h"

#include "debug_monitor_links.h"

#include <cstring>
#include <ctime>

#include "app_globals.h"
#include "dialog_helpers.h"
#include "engine_link_host.h"
#include "engine_player.h"
#include "game_host.h"
#include "personality_hooks.h"
#include "profile.h"
#include "room_switch.h"
#include "shell_services.h"
#include "win_utils.h"

// The engine link keeps its own copies of the numbers it sends; they must
// stay the program's.
static_assert(kMsgGameEvent == RWM_GAME_EVENT);
static_assert(kMsgAdviceState == RWM_ADVICE_STATE);
static_assert(kMsgAnalysisState == RWM_ANALYSIS_STATE);
static_assert(kMsgSolveForMate == RWM_SOLVE_FOR_MATE);

namespace {

constexpr uint32_t kYesNoButtons = 4;

GameRoomHostHooks g_roomHooks{};
OnlineGameHostHooks g_onlineHooks{};
void (*g_bestLineUpdate)() = nullptr;
void (*g_ratedGameEnd)(GameRecord* game) = nullptr;

// The engine players' part of the host (starting engines, their moves, the
// room's reply queue) is the engine link's own.
class ShellGameHost final : public EnginePlayerGameHost {
 public:
  void BroadcastGameEvent(int code, GameRecord* game) override {
    Services().broadcastToWindows(kMsgGameEvent, static_cast<uintptr_t>(code), reinterpret_cast<intptr_t>(game), 0);
  }
  void SendGameEventToWindow(int window, int code, GameRecord* game) override {
    Services().sendToWindow(Services().getNumberedWindow(window), kMsgGameEvent, static_cast<uintptr_t>(code),
                            reinterpret_cast<intptr_t>(game));
  }
  int GetNotationStyle() override { return ::GetNotationStyle(); }
  void PlayMoveSound(const MoveRecord* move, const Board* before, int side) override {
    Services().playMoveSound(move, before, side);
  }
  int AskYesNo(const char* question) override { return Services().appMessageBox(question, kYesNoButtons); }
  void ShowMessage(const char* text) override { Services().appMessageBox(text, 0); }
  void ShowModelessMessage(const char* text, int timeoutSeconds) override {
    Services().showModelessMessageBox(text, 0, nullptr, 0, timeoutSeconds);
  }
  void SetIdleLevel(int level) override { Services().setIdleLevel(level); }
  // The date new games' headers carry.
  void Today(int* year, int* month, int* day) override {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (!local) return GameHost::Today(year, month, day);
    *year = local->tm_year + 1900, *month = local->tm_mon + 1, *day = local->tm_mday;
  }
  void HoldRoomTimer() override { ::HoldRoomTimer(); }
  void ReleaseRoomTimer() override { ::ReleaseRoomTimer(); }
  void ChangeGameNotation(GameRecord* game) override {
    Services().changeGameNotation(game, ::GetNotationStyle());
  }
  PersonalityRecord* ReadPersonality(PlayerRecord* player, PersonalityRecord* existing) override {
    if (g_roomHooks.readPersonality) return g_roomHooks.readPersonality(player, existing);
    return EnginePlayerGameHost::ReadPersonality(player, existing);
  }
  void FreePersonality(PersonalityRecord* personality) override {
    if (g_roomHooks.freePersonality) g_roomHooks.freePersonality(personality);
  }
  void LoadPersonalityBook(PersonalityRecord* personality, int bookSlot) override {
    if (g_roomHooks.loadPersonalityBook) g_roomHooks.loadPersonalityBook(personality, bookSlot);
  }
  int32_t PersonalityWord(const PersonalityRecord* personality, int index) override {
    return g_roomHooks.personalityWord ? g_roomHooks.personalityWord(personality, index) : 0;
  }
  void RecordFinishedGame(GameRecord* game) override {
    if (g_ratedGameEnd) g_ratedGameEnd(game);
  }
  void EndOnlineGame(int result) override {
    if (g_onlineHooks.endOnlineGame) g_onlineHooks.endOnlineGame(result);
  }
  void SendOnlineMove(const MoveRecord* move) override {
    if (g_onlineHooks.sendOnlineMove) g_onlineHooks.sendOnlineMove(move);
  }
  void NotifyOnlineGameOver() override {
    if (g_onlineHooks.notifyOnlineGameOver) g_onlineHooks.notifyOnlineGameOver();
  }

 private:
  static constexpr uint32_t kMsgGameEvent = kMsgGameChanged;
};

class ShellEngineLinkHost final : public EngineLinkHost {
 public:
  // The debug switches live in rw.ini; everything else in the current
  // settings ini.
  int ReadSettingInt(const char* section, const char* key, int fallback) override {
    const char* ini = section && std::strcmp(section, "debug") == 0 ? GetMainIniPath() : GetSettingsIniPath();
    return ProfileReadInt(section, key, fallback, ini);
  }
  const char* ProgramFolder() override {
    const char* folder = GetProgramFolder();
    return folder ? folder : ".";
  }
  // A missing string leaves the engine link's own English text.
  const char* StringText(int number) override {
    const char* text = LoadOwnString(static_cast<uint32_t>(number));
    return text[0] ? text : nullptr;
  }
  void PostToNumberedWindows(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    Services().broadcastToWindows(message, wParam, lParam, 1);
  }
  // The engine monitors.
  bool IsDebugWindowShown(int window) override { return GetDebugMonitorLinks().isShown(window); }
  void ShowDebugWindow(int window, bool show, int menuCommand) override {
    GetDebugMonitorLinks().show(window, show, menuCommand);
  }
  void WriteDebugWindow(int window, const char* text) override { GetDebugMonitorLinks().write(window, text); }
  void SendToWindow(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    Services().sendToWindow(window, message, wParam, lParam);
  }
  void PostToWindow(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    if (window)
      Services().postToWindow(window, message, wParam, lParam);
    else
      PostToNumberedWindows(message, wParam, lParam);
  }
  void StripMarkup(const char* text, char* out, int size) override {
    if (size > 0) ::StripMarkup(text, out, size_t(size));
  }
  void ExtractMarkup(const char* text, char* out, int size) override {
    if (size > 0) ::ExtractMarkup(text, out, size_t(size));
  }
  bool GetPersonality(const PlayerRecord* player, EnginePersonality* out) override {
    return g_roomHooks.getPersonality && g_roomHooks.getPersonality(player, out);
  }
  void SetPersonalityEnginePath(PlayerRecord* player, const char* path) override {
    if (g_roomHooks.setPersonalityEnginePath) g_roomHooks.setPersonalityEnginePath(player, path);
  }
  void MarkThinkingChanged(int colour) override {
    if (g_roomHooks.markThinkingChanged) g_roomHooks.markThinkingChanged(colour);
  }
  void MarkStatusChanged(int colour) override {
    if (g_roomHooks.markStatusChanged) g_roomHooks.markStatusChanged(colour);
  }
  void PostBestLineUpdate() override {
    if (g_bestLineUpdate) g_bestLineUpdate();
  }
};

// Personality files and their books are read from the program's folders.
class ShellPersonalityEnvironment final : public PersonalityEnvironment {
 public:
  std::string PersonalitiesFolder() override { return Folder(GetPersonalitiesFolder()); }
  std::string OpeningBooksFolder() override { return Folder(GetOpeningBooksFolder()); }
  uint32_t BenchmarkScore() override { return GetBenchmarkScore(); }

 private:
  static std::string Folder(const char* folder) { return folder && *folder ? folder : "."; }
};

ShellGameHost g_gameHost;
ShellEngineLinkHost g_engineHost;
ShellPersonalityEnvironment g_personalities;

}  // namespace

void InstallShellHosts() {
  SetGameHost(&g_gameHost);
  SetEngineLinkHost(&g_engineHost);
  SetPersonalityEnvironment(&g_personalities);
}

void SetGameRoomHostHooks(const GameRoomHostHooks& hooks) { g_roomHooks = hooks; }
void SetRatedGameEndHook(void (*hook)(GameRecord* game)) { g_ratedGameEnd = hook; }
void SetOnlineGameHostHooks(const OnlineGameHostHooks& hooks) { g_onlineHooks = hooks; }
void SetBestLineUpdateHook(void (*update)()) { g_bestLineUpdate = update; }

void RemoveShellHosts() {
  SetGameHost(nullptr);
  SetEngineLinkHost(nullptr);
  SetPersonalityEnvironment(nullptr);
}
