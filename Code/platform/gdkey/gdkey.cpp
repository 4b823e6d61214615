// The key engine: one open key base, its journal on disk, and the calls
// above it. Every call holds the engine's lock; key-search callbacks run
// after the lock is let go, over a copy of the game list.
#include "gdkey.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

#include "keybase.h"

using gdk::KeyBase;

namespace {

std::mutex g_mutex;
KeyBase g_base;
bool g_open = false;
int32_t g_file = 0;
std::string g_path;              // the key file
std::FILE* g_journal = nullptr;  // null when the base is read-only
uint64_t g_end = 0;              // end of the valid journal

std::string BaseName(const std::string& p) {
  size_t slash = p.find_last_of("/\\");
  std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string WithoutExtension(const std::string& p) {
  size_t dot = p.find_last_of('.');
  size_t slash = p.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return p;
  return p.substr(0, dot);
}

// "C:\Games\my.gdg" -> "C:\Games\GdIndex\my.gdk".
std::string KeyFileFor(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  char sep = slash == std::string::npos ? '/' : path[slash];
  return dir + "GdIndex" + sep + BaseName(path) + ".gdk";
}

bool ReadWhole(const std::string& path, std::vector<uint8_t>* out) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  uint8_t buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
    out->insert(out->end(), buffer, buffer + n);
  std::fclose(f);
  return true;
}

// Writes a whole image beside the target and moves it into place, so a
// reader sees the old file or the new one, never a part.
bool ReplaceFile(const std::string& path, const std::vector<uint8_t>& image) {
  std::string temp = path + ".new";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(image.data(), 1, image.size(), f) == image.size();
  ok = std::fflush(f) == 0 && ok;
  ok = std::fclose(f) == 0 && ok;
  std::error_code error;
  if (ok) std::filesystem::rename(temp, path, error);
  if (!ok || error) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

void CloseBase() {
  if (g_journal) std::fclose(g_journal);
  g_journal = nullptr;
  g_open = false;
  g_file = 0;
  g_path.clear();
  g_base = KeyBase();
}

// Appends records; a failed write turns the base read-only (the games it
// misses are filed again when it next opens).
void Append(const std::vector<uint8_t>& record) {
  if (!g_journal || record.empty()) return;
  bool ok = std::fseek(g_journal, static_cast<long>(g_end), SEEK_SET) == 0 &&
            std::fwrite(record.data(), 1, record.size(), g_journal) == record.size() &&
            std::fflush(g_journal) == 0;
  if (!ok) {
    std::fclose(g_journal);
    g_journal = nullptr;
    return;
  }
  g_end += record.size();
}

// The keys a game's main line reaches, from its start to the base's depth.
gdk::FiledGame Classify(GdgGame* game, int32_t number) {
  gdk::FiledGame filed;
  filed.number = number;
  filed.result = IGGameGetResult(game);
  filed.elo[0] = IGGameGetElo(game, 0);
  filed.elo[1] = IGGameGetElo(game, 1);
  int32_t keep = IGGameGetCM(game);
  NewGameRewind(game);
  for (int ply = 0; ply <= g_base.Depth(); ++ply) {
    int32_t key = g_base.Find(IGGameGetBoard(game));
    if (key) filed.keys.push_back(key);
    if (PlayMoves(game, 1) != 1) break;
  }
  PlayMoves(game, keep - IGGameGetCM(game));
  return filed;
}

// Files games filed+1 .. upTo of the game file, reading each from it.
bool FileFromGameFile(int32_t upTo, GdgProgress* progress, int32_t user) {
  GdgGame* game = IGGameOpenGame();
  if (!game) return false;
  bool ok = true;
  for (int32_t n = g_base.Filed() + 1; n <= upTo; ++n) {
    gdk::FiledGame filed;
    filed.number = n;
    if (!GdgIsGameDeleted(g_file, n) && GdgLoadGame(game, g_file, n, 0)) filed = Classify(game, n);
    Append(g_base.FileGame(filed));
    if (progress && !progress(n, user)) {
      ok = false;
      break;
    }
  }
  IGGameCloseGame(game);
  return ok;
}

// A fresh image of the base: its keys, then its games filed anew from the
// game file (deleted ones under no key).
bool Rebuild(GdgProgress* progress, int32_t user) {
  KeyBase fresh;
  std::vector<uint8_t> image = KeyBase::NewImage(g_base.At(1).board);
  size_t valid = 0;
  fresh.Load(image, &valid);
  for (int32_t k = 2; k <= g_base.KeyCount(); ++k) {
    const gdk::Key& key = g_base.At(k);
    std::vector<uint8_t> r = fresh.AddKey(key.parent, key.move, key.board, key.code, key.name, key.remark);
    image.insert(image.end(), r.begin(), r.end());
  }
  const gdk::Key& root = g_base.At(1);
  if (!root.code.empty() || !root.name.empty() || !root.remark.empty()) {
    std::vector<uint8_t> r = fresh.SetTexts(1, root.code, root.name, root.remark);
    image.insert(image.end(), r.begin(), r.end());
  }
  std::FILE* keepJournal = g_journal;
  g_journal = nullptr;
  KeyBase old = std::move(g_base);
  g_base = std::move(fresh);
  int32_t count = GdgGetNumberOfGames(g_file);
  GdgGame* game = IGGameOpenGame();
  bool ok = game != nullptr;
  for (int32_t n = 1; ok && n <= count; ++n) {
    gdk::FiledGame filed;
    filed.number = n;
    if (!GdgIsGameDeleted(g_file, n) && GdgLoadGame(game, g_file, n, 0)) filed = Classify(game, n);
    std::vector<uint8_t> r = g_base.FileGame(filed);
    image.insert(image.end(), r.begin(), r.end());
    if (progress && !progress(n, user)) ok = false;
  }
  IGGameCloseGame(game);
  if (keepJournal) std::fclose(keepJournal);
  if (!ok) {
    // Stopped: the old base stays as it was.
    g_base = std::move(old);
  } else if (!ReplaceFile(g_path, image)) {
    // The new lists hold in memory; the file is left alone, read-only.
    return false;
  }
  g_journal = std::fopen(g_path.c_str(), "r+b");
  std::vector<uint8_t> now;
  ReadWhole(g_path, &now);
  g_end = now.size();
  return ok;
}

// The last game filed reaches the same keys with the same result in the
// game file as it did when it was filed.
bool LastFiledStillHolds() {
  const gdk::FiledGame& last = g_base.LastFiled();
  if (last.number == 0 || last.number > GdgGetNumberOfGames(g_file)) return true;
  if (GdgIsGameDeleted(g_file, last.number)) return true;
  GdgGame* game = IGGameOpenGame();
  if (!game) return true;
  bool same = true;
  if (GdgLoadGame(game, g_file, last.number, 0)) {
    gdk::FiledGame now = Classify(game, last.number);
    same = now.keys == last.keys && now.result == (last.result >= 1 && last.result <= 3 ? last.result : 0) &&
           now.elo[0] == last.elo[0] && now.elo[1] == last.elo[1];
  }
  IGGameCloseGame(game);
  return same;
}

int OpenBase(const std::string& keyPath, int32_t file) {
  std::vector<uint8_t> image;
  if (!ReadWhole(keyPath, &image)) return 1;
  KeyBase base;
  size_t valid = 0;
  if (!base.Load(image, &valid)) return 2;
  CloseBase();
  g_base = std::move(base);
  g_path = keyPath;
  g_file = file;
  g_open = true;
  // A tail that does not read (a writer cut short) is cut off before new
  // records go after the valid ones.
  if (valid < image.size()) {
    std::error_code error;
    std::filesystem::resize_file(keyPath, valid, error);
  }
  g_journal = std::fopen(keyPath.c_str(), "r+b");
  g_end = valid;
  int32_t count = GdgGetNumberOfGames(file);
  if (g_base.Filed() > count || !LastFiledStillHolds()) {
    // The game file holds fewer games than the base has filed, or another
    // game where the last filed one was: the base no longer describes it,
    // so it is built again from the game file.
    Rebuild(nullptr, 0);
  } else if (g_base.Filed() < count) {
    FileFromGameFile(count, nullptr, 0);
  }
  return 0;
}

int32_t KeyOf(int32_t key) { return key < 0 ? -key : key; }

// Code and name of a key come from the nearest key above that has one.
const std::string& Inherited(int32_t key, std::string gdk::Key::*text) {
  static const std::string empty;
  for (int32_t k = key; g_base.Valid(k); k = g_base.At(k).parent)
    if (!(g_base.At(k).*text).empty()) return g_base.At(k).*text;
  return empty;
}

gdk::FiledGame ClassifyLocked(GdgGame* game, int32_t number) { return Classify(game, number); }

}  // namespace

GDKEY_API int GdkGetVersion(uint32_t* version, uint32_t* reserved) {
  if (version) *version = 0x10000;
  if (reserved) *reserved = 0;
  return 1;
}

GDKEY_API int GdkKeyFilePath(const char* path, char* out, int32_t size) {
  if (!path || !out || size <= 0) return 0;
  std::string p = KeyFileFor(path);
  std::snprintf(out, static_cast<size_t>(size), "%s", p.c_str());
  return static_cast<int>(p.size()) < size ? 1 : 0;
}

GDKEY_API int IDOpenBase(const char* path, int32_t file, int32_t) {
  if (!path || file <= 0) return 1;
  std::lock_guard<std::mutex> hold(g_mutex);
  return OpenBase(KeyFileFor(path), file);
}

GDKEY_API int IDCreateBase(const char* path, int32_t file) {
  if (!path || file <= 0) return 1;
  std::lock_guard<std::mutex> hold(g_mutex);
  std::string keyPath = KeyFileFor(path);
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(keyPath).parent_path(), error);
  GdgGame* start = IGGameOpenGame();
  if (!start) return 2;
  NewGameErase(start);
  std::vector<uint8_t> image = KeyBase::NewImage(IGGameGetBoard(start));
  IGGameCloseGame(start);
  if (g_open && g_path == keyPath) CloseBase();
  if (!ReplaceFile(keyPath, image)) return 3;
  return OpenBase(keyPath, file);
}

GDKEY_API int32_t GdkAddKeyLine(GdgGame* line, const char* code, const char* name, const char* remark) {
  std::lock_guard<std::mutex> hold(g_mutex);
  // Keys come before games: a key added later would miss the games filed.
  if (!g_open || !line || !g_journal || g_base.Filed() > 0) return 0;
  int32_t keep = IGGameGetCM(line);
  NewGameRewind(line);
  int32_t key = g_base.Find(IGGameGetBoard(line));
  for (GdgMove m = IGNextMove(line); key && m; m = IGNextMove(line)) {
    uint8_t before[kGdgBoardSize];
    std::memcpy(before, IGGameGetBoard(line), kGdgBoardSize);
    GdgMoveXY xy;
    IGMoveGetXY(line, m, &xy);
    if (PlayMoves(line, 1) != 1) break;
    const uint8_t* after = IGGameGetBoard(line);
    int32_t next = g_base.Find(after);
    if (!next) {
      Append(g_base.AddKey(key, gdk::KeyMoveFor(before, xy, after), after, "", "", ""));
      next = g_base.Find(after);
    }
    key = next;
  }
  PlayMoves(line, keep - IGGameGetCM(line));
  if (key) {
    const gdk::Key& k = g_base.At(key);
    if (k.code.empty() && k.name.empty())
      Append(g_base.SetTexts(key, code ? code : "", name ? name : "", remark ? remark : ""));
  }
  return key;
}

GDKEY_API int IDCloseBase(int32_t file) {
  std::lock_guard<std::mutex> hold(g_mutex);
  if (g_open && g_file == file) CloseBase();
  return 1;
}

GDKEY_API int IDIsDatabaseGamefile(int32_t file) {
  std::lock_guard<std::mutex> hold(g_mutex);
  return g_open && file > 0 && g_file == file ? 1 : 0;
}

GDKEY_API int DbsKeyCacheOn(void*, int32_t) { return 1; }
GDKEY_API int DbsKeyCacheOff(void) { return 1; }

GDKEY_API int32_t DbsSearchKey(int32_t key, int32_t what, int32_t, int32_t* out, int32_t max) {
  std::lock_guard<std::mutex> hold(g_mutex);
  key = KeyOf(key);
  if (!g_open || !g_base.Valid(key) || !out || max <= 0) return 0;
  const gdk::Key& k = g_base.At(key);
  const std::vector<int32_t>* list = what == 1 ? &k.children : what == 2 ? &k.games : nullptr;
  if (!list) return 0;
  int32_t n = 0;
  for (int32_t v : *list) {
    if (n >= max) break;
    out[n++] = v;
  }
  return n;
}

GDKEY_API int DbsCBSearchKey(int32_t key, int32_t what, int32_t, GdkKeyGameCallback* callback) {
  std::vector<int32_t> games;
  {
    std::lock_guard<std::mutex> hold(g_mutex);
    key = KeyOf(key);
    if (!g_open || !g_base.Valid(key) || what != 2 || !callback) return 0;
    games = g_base.At(key).games;
  }
  int called = 0;
  for (int32_t n : games) {
    ++called;
    if (!callback(n)) break;
  }
  return called;
}

GDKEY_API int GdkFindPosition(const uint8_t* board, int32_t* key) {
  std::lock_guard<std::mutex> hold(g_mutex);
  int32_t found = g_open && board ? g_base.Find(board) : 0;
  if (key) *key = found;
  return found != 0;
}

// Positions of the deepest line: its plies and the start.
GDKEY_API int32_t DbsGetDatabaseDepth(void) {
  std::lock_guard<std::mutex> hold(g_mutex);
  return g_open ? g_base.Depth() + 1 : 0;
}

GDKEY_API int32_t GdkGetFirstKey(int32_t, int32_t) {
  std::lock_guard<std::mutex> hold(g_mutex);
  return g_open && g_base.KeyCount() > 0 ? 1 : 0;
}

GDKEY_API int32_t GdkGetNextKey(int32_t key, int32_t) {
  std::lock_guard<std::mutex> hold(g_mutex);
  key = KeyOf(key);
  return g_open && g_base.Valid(key + 1) ? key + 1 : 0;
}

GDKEY_API int32_t GdkGetPreviousKey(int32_t key, int32_t) {
  std::lock_guard<std::mutex> hold(g_mutex);
  key = KeyOf(key);
  return g_open && g_base.Valid(key - 1) ? key - 1 : 0;
}

GDKEY_API int GdkGetKeyPosition(int32_t key, uint8_t* board) {
  std::lock_guard<std::mutex> hold(g_mutex);
  key = KeyOf(key);
  if (!board) return 0;
  if (!g_open || !g_base.Valid(key)) {
    IGNewBoard(board);
    return 0;
  }
  std::memcpy(board, g_base.At(key).board, kGdgBoardSize);
  return 1;
}

GDKEY_API int DbsGetKeyMove(int32_t key, int32_t, GdkKeyMove* out) {
  std::lock_guard<std::mutex> hold(g_mutex);
  key = KeyOf(key);
  if (!out) return 0;
  std::memset(out, 0, sizeof *out);
  if (!g_open || !g_base.Valid(key) || g_base.At(key).parent == 0) return 0;
  *out = g_base.At(key).move;
  return 1;
}

GDKEY_API const char* DbsGetKeycode(int32_t key) {
  thread_local std::string text;
  std::lock_guard<std::mutex> hold(g_mutex);
  text = g_open ? Inherited(KeyOf(key), &gdk::Key::code) : std::string();
  return text.c_str();
}

GDKEY_API int GdkGetKeyName(int32_t key, char* text, int32_t, int32_t size) {
  if (!text || size <= 0) return 0;
  std::lock_guard<std::mutex> hold(g_mutex);
  std::string name = g_open ? Inherited(KeyOf(key), &gdk::Key::name) : std::string();
  std::snprintf(text, static_cast<size_t>(size), "%s", name.c_str());
  return static_cast<int>(std::strlen(text));
}

GDKEY_API const char* DbsGetRemark(int32_t key) {
  thread_local std::string text;
  std::lock_guard<std::mutex> hold(g_mutex);
  key = KeyOf(key);
  text = g_open && g_base.Valid(key) ? g_base.At(key).remark : std::string();
  return text.c_str();
}

GDKEY_API int DbsGetKeyDataInfo(int32_t key, void* out) {
  if (!out) return 0;
  GdkKeyData data;
  std::memset(&data, 0, sizeof data);
  std::lock_guard<std::mutex> hold(g_mutex);
  key = KeyOf(key);
  int ok = g_open && g_base.Valid(key);
  if (ok) {
    const gdk::Key& k = g_base.At(key);
    data.keysBelow = g_base.Descendants(key);
    data.gamesBelow = static_cast<int32_t>(k.games.size());
    data.children = static_cast<int32_t>(k.children.size());
    data.gamesHere = k.direct;
    data.parent = k.parent;
    data.depth = k.depth;
    data.whiteWins = k.results[0];
    data.draws = k.results[1];
    data.blackWins = k.results[2];
    data.whiteElo = k.eloCount[0] ? static_cast<int32_t>(k.eloSum[0] / k.eloCount[0]) : 0;
    data.blackElo = k.eloCount[1] ? static_cast<int32_t>(k.eloSum[1] / k.eloCount[1]) : 0;
  }
  std::memcpy(out, &data, sizeof data);
  return ok;
}

// A line of the horizontal key view (1,900 bytes): the key data at 0, the
// code at 44 and the name at 300 (256 bytes each); a code or name equal to
// the previous line's is left empty.
GDKEY_API int DbsGetHorViewLine(int32_t key, void* line, const void* previous) {
  if (!line) return 0;
  char* out = static_cast<char*>(line);
  if (!DbsGetKeyDataInfo(key, out)) return 0;
  const char* before = static_cast<const char*>(previous);
  std::snprintf(out + 44, 256, "%s", DbsGetKeycode(key));
  GdkGetKeyName(key, out + 300, 0, 256);
  if (before && std::strcmp(before + 44, out + 44) == 0) out[44] = 0;
  if (before && std::strcmp(before + 300, out + 300) == 0) out[300] = 0;
  return 1;
}

GDKEY_API int GdkFileAction(int32_t) { return 1; }

GDKEY_API int DbsFileStatus(int32_t) {
  std::lock_guard<std::mutex> hold(g_mutex);
  return g_open && !g_journal ? 2 : 0;
}

GDKEY_API int DbsAdjustDeletedGames(int32_t count) {
  std::lock_guard<std::mutex> hold(g_mutex);
  if (!g_open) return 0;
  Append(g_base.CountDeleted(count));
  return 1;
}

GDKEY_API int GdkSaveToDatabase(GdgGame* game, int32_t file, int32_t, int32_t, int32_t) {
  std::lock_guard<std::mutex> hold(g_mutex);
  int32_t number = 0;
  int answer = GdgWriteGame(game, file, 0, &number);
  if (!answer || !g_open || file != g_file) return answer;
  // Games written past the engine are filed first, so numbers follow on.
  if (number - 1 > g_base.Filed()) FileFromGameFile(number - 1, nullptr, 0);
  if (number == g_base.Filed() + 1) Append(g_base.FileGame(ClassifyLocked(game, number)));
  return answer;
}

GDKEY_API int GdkDeleteDatabaseFiles(const char* path, const char* folder, int32_t what) {
  if (!path) return 1;
  std::string dir = folder ? folder : "";
  if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += '/';
  // The index files: the game engine's header index in the index folder.
  if (what & 2) std::remove((dir + BaseName(path) + ".ghi").c_str());
  if (what & 4) {
    std::string keyPath = KeyFileFor(path);
    std::lock_guard<std::mutex> hold(g_mutex);
    if (g_open && g_path == keyPath) CloseBase();
    std::remove(keyPath.c_str());
    std::remove((dir + BaseName(path) + ".gdk").c_str());
  }
  if ((what & 7) == 7) {
    std::string base = WithoutExtension(path);
    std::remove((base + ".gdg").c_str());
    std::remove((base + ".gdx").c_str());
  }
  return 0;
}

GDKEY_API int GdkOptimizeDatabase(int32_t, int32_t, int32_t, GdgProgress* progress, int32_t user) {
  std::lock_guard<std::mutex> hold(g_mutex);
  if (!g_open) return 1;
  return Rebuild(progress, user) ? 0 : 2;
}
