// The RWLive lobby service's client interface, shared by Lobbylink (which
// loads the service's DLL by name) and the service's own DLL.
// Interface: the names of the service's files and settings, the 78 entry
// point names, the game definition layout and the 16 calls Lobbylink makes.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define RWLIVE_CALL __cdecl
#else
#define RWLIVE_CALL
#endif

namespace rwlive {

constexpr const char kDllName[] = "RWLiveNet.dll";
constexpr const char kLoginProgram[] = "RWLiveLogin.exe";
// HKLM: where the service is installed; the DLL is <Root Directory>\SYSTEM.
constexpr const char kInstallKey[] = "SOFTWARE\\Rookwell\\RWLive";
constexpr const char kRootDirectoryValue[] = "Root Directory";
constexpr const char kDllBelowRoot[] = "\\SYSTEM\\RWLiveNet.dll";
constexpr size_t kRootDirectoryMax = 260;
// HKCU: the login helper's settings.
constexpr const char kSettingsKey[] = "Software\\Rookwell\\RWLive";

// Results are 16-bit; bit 15 set means failure.
constexpr uint16_t kFailureBit = 0x8000;
constexpr int16_t kNothingStored = -227;
inline bool Failed(uint16_t result) { return (result & kFailureBit) != 0; }

// Game definition block filled by LoadGameDef.
constexpr size_t kGameDefSize = 1100;
constexpr size_t kGameHandleOffset = 0;  // u16, non-zero once loaded
constexpr size_t kLoginNameOffset = 4;   // text, at most 15 bytes and a NUL
constexpr size_t kLoginNameSize = 16;

// The channel every copy of the program joins.
constexpr const char kChannelName[] = "RWLIVE";

// Every entry point the DLL exports; a DLL lacking any one is not used.
constexpr size_t kEntryPointCount = 78;
extern const char* const kEntryPoints[kEntryPointCount];

// Callbacks run on the service's receive thread.
typedef void(RWLIVE_CALL* DataCallback)(void* context, uint32_t sender, const void* data,
                                        uint32_t size);
// flag 1: a player was first seen; flag 0: a player left.
typedef void(RWLIVE_CALL* JoinLeaveCallback)(void* context, uint32_t address, uint32_t flag);

// The 16 entry points Lobbylink calls (the rest return kFailureBit).
typedef uint16_t(RWLIVE_CALL* InitFn)();
typedef uint16_t(RWLIVE_CALL* DestroyFn)();
typedef uint16_t(RWLIVE_CALL* LoadGameDefFn)(void* gameDef, uint32_t size);
typedef uint16_t(RWLIVE_CALL* JoinGameFn)(uint16_t game, const char* loginName);
typedef uint32_t(RWLIVE_CALL* GetAddrFn)(uint16_t game);
typedef uint16_t(RWLIVE_CALL* EnableNotificationFn)(uint16_t game, JoinLeaveCallback callback,
                                                    void* context);
typedef uint16_t(RWLIVE_CALL* DisableNotificationFn)(uint16_t game, JoinLeaveCallback callback,
                                                     void* context);
typedef uint16_t(RWLIVE_CALL* CreateChannelFn)(uint16_t game, uint32_t maxPlayers,
                                               const char* channel, uint32_t flags);
typedef uint16_t(RWLIVE_CALL* OpenChannelFn)(uint16_t game, uint32_t reserved, const char* channel,
                                             void* context, uint32_t flags, DataCallback callback);
typedef uint16_t(RWLIVE_CALL* CloseChannelFn)(uint16_t channel);
typedef uint16_t(RWLIVE_CALL* LeaveGameFn)(uint16_t game);
typedef uint16_t(RWLIVE_CALL* RestoreDataFn)(uint16_t game, const char* key, void* buffer,
                                             uint32_t capacity, uint32_t* size);
typedef uint16_t(RWLIVE_CALL* SaveDataFn)(uint16_t game, const char* key, const void* data,
                                          uint32_t size);
// `recipients`: u32 count and that many u32 ids, or null for the whole channel.
typedef uint16_t(RWLIVE_CALL* WriteChannelFn)(uint16_t game, const void* data, uint32_t size,
                                              const uint32_t* recipients);
typedef uint16_t(RWLIVE_CALL* GetNameByAddrFn)(uint16_t game, uint32_t address, char* name,
                                               uint32_t size);
typedef int(RWLIVE_CALL* GetErrorTextFn)(int code, char* buffer, uint32_t size);

struct Calls {
  InitFn init;
  DestroyFn destroy;
  LoadGameDefFn loadGameDef;
  JoinGameFn joinGame;
  GetAddrFn getAddr;
  EnableNotificationFn enableNotification;
  DisableNotificationFn disableNotification;
  CreateChannelFn createChannel;
  OpenChannelFn openChannel;
  CloseChannelFn closeChannel;
  LeaveGameFn leaveGame;
  RestoreDataFn restoreData;
  SaveDataFn saveData;
  WriteChannelFn writeChannel;
  GetNameByAddrFn getNameByAddr;
  GetErrorTextFn getErrorText;
};

// Entry point names of the 16 calls, in the order of Calls' members.
constexpr size_t kCallCount = 16;
extern const char* const kCallNames[kCallCount];

}  // namespace rwlive
