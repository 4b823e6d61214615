// The key engine stand-in: no key information yet.
#include "gdkey.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string BaseName(const char* path) {
  std::string p = path ? path : "";
  size_t slash = p.find_last_of("/\\");
  std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string WithoutExtension(const char* path) {
  std::string p = path ? path : "";
  size_t dot = p.find_last_of('.');
  size_t slash = p.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return p;
  return p.substr(0, dot);
}

}  // namespace

GDKEY_API int GdkGetVersion(uint32_t* version, uint32_t* reserved) {
  if (version) *version = 0x10000;
  if (reserved) *reserved = 0;
  return 1;
}

GDKEY_API int IDOpenBase(const char*, int32_t, int32_t) { return 1; }
GDKEY_API int IDCloseBase(int32_t) { return 1; }
GDKEY_API int IDIsDatabaseGamefile(int32_t) { return 0; }
GDKEY_API int DbsKeyCacheOn(void*, int32_t) { return 1; }
GDKEY_API int DbsKeyCacheOff(void) { return 1; }
GDKEY_API int32_t DbsSearchKey(int32_t, int32_t, int32_t, int32_t*, int32_t) { return 0; }
GDKEY_API int DbsCBSearchKey(int32_t, int32_t, int32_t, GdkKeyGameCallback*) { return 0; }
GDKEY_API int GdkFindPosition(const uint8_t*, int32_t* key) {
  if (key) *key = 0;
  return 0;
}
GDKEY_API int32_t DbsGetDatabaseDepth(void) { return 0; }
GDKEY_API int32_t GdkGetFirstKey(int32_t, int32_t) { return 0; }
GDKEY_API int32_t GdkGetNextKey(int32_t, int32_t) { return 0; }
GDKEY_API int32_t GdkGetPreviousKey(int32_t, int32_t) { return 0; }
GDKEY_API int GdkGetKeyPosition(int32_t, uint8_t* board) {
  if (board) IGNewBoard(board);
  return 0;
}
GDKEY_API int DbsGetKeyMove(int32_t, int32_t, GdkKeyMove* out) {
  if (out) std::memset(out, 0, sizeof *out);
  return 0;
}
GDKEY_API const char* DbsGetKeycode(int32_t) { return ""; }
GDKEY_API int GdkGetKeyName(int32_t, char* text, int32_t, int32_t size) {
  if (text && size > 0) text[0] = 0;
  return 0;
}
GDKEY_API const char* DbsGetRemark(int32_t) { return ""; }
GDKEY_API int DbsGetKeyDataInfo(int32_t, void*) { return 0; }
GDKEY_API int DbsGetHorViewLine(int32_t, void*, const void*) { return 0; }
GDKEY_API int GdkFileAction(int32_t) { return 1; }
GDKEY_API int DbsFileStatus(int32_t) { return 0; }
GDKEY_API int DbsAdjustDeletedGames(int32_t) { return 1; }
GDKEY_API int GdkSaveToDatabase(GdgGame*, int32_t, int32_t, int32_t, int32_t) { return 0; }

GDKEY_API int GdkDeleteDatabaseFiles(const char* path, const char* folder, int32_t what) {
  if (!path) return 1;
  std::string dir = folder ? folder : "";
  if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += '/';
  // The index files: the game engine's header index in the index folder.
  if (what & 2) std::remove((dir + BaseName(path) + ".ghi").c_str());
  if ((what & 7) == 7) {
    std::string base = WithoutExtension(path);
    std::remove((base + ".gdg").c_str());
    std::remove((base + ".gdx").c_str());
  }
  return 0;
}

GDKEY_API int GdkOptimizeDatabase(int32_t, int32_t, int32_t, GdgProgress*, int32_t) { return 1; }
