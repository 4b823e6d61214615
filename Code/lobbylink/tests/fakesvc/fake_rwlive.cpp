// A stand-in RWLive client DLL for Lobbylink's tests: records every call in a
// log the test reads through FakeLog, answers from a script set by
// FakeAnswer, and fires its callbacks on request.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "rwlive_api.h"

using namespace rwlive;

namespace {
std::string gLog;
std::string gScriptCall;
uint16_t gScriptAnswer = 0;
int gScriptTimes = 0;
DataCallback gData;
JoinLeaveCallback gJoinLeave;
void* gContext;

uint16_t Record(const std::string& call, uint16_t otherwise = 0) {
  gLog += call + ";";
  if (gScriptTimes > 0 && call == gScriptCall) {
    --gScriptTimes;
    return gScriptAnswer;
  }
  return otherwise;
}
}  // namespace

extern "C" {

// Control of the fake.
__declspec(dllexport) const char* FakeLog() { return gLog.c_str(); }
__declspec(dllexport) void FakeClearLog() { gLog.clear(); }
__declspec(dllexport) void FakeAnswer(const char* call, uint16_t answer, int times) {
  gScriptCall = call;
  gScriptAnswer = answer;
  gScriptTimes = times;
}
__declspec(dllexport) void FakeFireJoinLeave(uint32_t address, uint32_t flag) {
  gJoinLeave(gContext, address, flag);
}
__declspec(dllexport) void FakeFireData(uint32_t sender, const void* data, uint32_t size) {
  gData(gContext, sender, data, size);
}

// Every entry point that Lobbylink never calls.
uint16_t RWLIVE_CALL FakeUnused() { return kFailureBit; }

uint16_t RWLIVE_CALL FakeInit() { return Record("init"); }
uint16_t RWLIVE_CALL FakeDestroy() { return Record("destroy"); }
uint16_t RWLIVE_CALL FakeLoadGameDef(void* def, uint32_t size) {
  if (size >= kGameDefSize) {
    auto* d = static_cast<uint8_t*>(def);
    d[0] = 0x21;
    d[1] = 0x00;
    std::strcpy(reinterpret_cast<char*>(d + kLoginNameOffset), "alice");
  }
  return Record("load");
}
uint16_t RWLIVE_CALL FakeJoinGame(uint16_t game, const char* name) {
  return Record("join " + std::to_string(game) + " " + name);
}
uint32_t RWLIVE_CALL FakeGetAddr(uint16_t) {
  Record("addr");
  return 7;
}
uint16_t RWLIVE_CALL FakeEnable(uint16_t, JoinLeaveCallback cb, void* context) {
  gJoinLeave = cb;
  gContext = context;
  return Record("enable");
}
uint16_t RWLIVE_CALL FakeDisable(uint16_t, JoinLeaveCallback, void*) { return Record("disable"); }
uint16_t RWLIVE_CALL FakeCreate(uint16_t, uint32_t, const char* channel, uint32_t) {
  return Record(std::string("create ") + channel);
}
uint16_t RWLIVE_CALL FakeOpen(uint16_t, uint32_t, const char* channel, void*, uint32_t,
                              DataCallback cb) {
  gData = cb;
  return Record(std::string("open ") + channel, 3);
}
uint16_t RWLIVE_CALL FakeClose(uint16_t channel) { return Record("close " + std::to_string(channel)); }
uint16_t RWLIVE_CALL FakeLeave(uint16_t) { return Record("leave"); }
uint16_t RWLIVE_CALL FakeRestore(uint16_t, const char* key, void*, uint32_t, uint32_t*) {
  return Record(std::string("restore ") + key);
}
uint16_t RWLIVE_CALL FakeSave(uint16_t, const char* key, const void*, uint32_t size) {
  return Record(std::string("save ") + key + " " + std::to_string(size));
}
uint16_t RWLIVE_CALL FakeWrite(uint16_t, const void*, uint32_t size, const uint32_t* list) {
  return Record("write " + std::to_string(size) + (list ? " list" : ""));
}
uint16_t RWLIVE_CALL FakeName(uint16_t, uint32_t, char* name, uint32_t size) {
  std::snprintf(name, size, "bob");
  return Record("name");
}
int RWLIVE_CALL FakeErrorText(int code, char* buffer, uint32_t size) {
  std::snprintf(buffer, size, "service error %d", code);
  return code;
}

}  // extern "C"
