// The shell's answers to the rules' GameHost and the engine link's
// EngineLinkHost: notation style, idle level, program folder, settings,
// strings, message boxes and the messages to numbered windows. The calls
// that belong to parts built elsewhere pass through the shell's service
// table (shell_services.h).
//
// Interface: InstallShellHosts, RemoveShellHosts, GameRoomHostHooks,
// SetGameRoomHostHooks, OnlineGameHostHooks, SetOnlineGameHostHooks,
// SetBestLineUpdateHook, SetRatedGameEndHook.
#pragma once

#include <cstdint>

struct EnginePersonality;
struct PersonalityRecord;
struct PlayerRecord;

// The game room's answers to the personality and thinking-line calls of the
// rules and the engine link; a null entry keeps the host's default.
struct GameRoomHostHooks {
  PersonalityRecord* (*readPersonality)(PlayerRecord* player, PersonalityRecord* existing);
  void (*freePersonality)(PersonalityRecord* personality);
  void (*loadPersonalityBook)(PersonalityRecord* personality, int bookSlot);
  int32_t (*personalityWord)(const PersonalityRecord* personality, int index);
  bool (*getPersonality)(const PlayerRecord* player, EnginePersonality* out);
  void (*setPersonalityEnginePath)(PlayerRecord* player, const char* path);
  void (*markThinkingChanged)(int colour);
  void (*markStatusChanged)(int colour);
};
void SetGameRoomHostHooks(const GameRoomHostHooks& hooks);
// The engine link took in a new thinking line of the default personality:
// the best-line board reloads (null: nothing).
void SetBestLineUpdateHook(void (*update)());

// A rated game ended (not adjourned): the room that plays it books it
// (null: nothing).
struct GameRecord;
void SetRatedGameEndHook(void (*hook)(GameRecord* game));

// The online room's answers to the rules' online calls: the end of an
// online game, the own move to send, a fallen flag. Null entries do nothing.
struct MoveRecord;
struct OnlineGameHostHooks {
  void (*endOnlineGame)(int result);
  void (*sendOnlineMove)(const MoveRecord* move);
  void (*notifyOnlineGameOver)();
};
void SetOnlineGameHostHooks(const OnlineGameHostHooks& hooks);

// Installs the shell's hosts in the rules and the engine link.
void InstallShellHosts();
// Restores their default hosts.
void RemoveShellHosts();
