// The engine's exported calls: driver, files, game buffers, moves, boards.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "game.h"
#include "index.h"
#include "store.h"

namespace gdg {
namespace {

// One lock for the file table and every file call: each call of the engine
// runs whole, whatever threads call it.
std::recursive_mutex g_lock;
// Handles of one path share one store, so that they see each other's games.
std::map<int32_t, std::shared_ptr<GameStore>> g_files;
int32_t g_nextHandle = 1;
int g_lastOpenError = 0;

struct Use {
  std::unique_lock<std::recursive_mutex> hold;
  GameStore* store;
};

Use FileOf(int32_t handle) {
  std::unique_lock<std::recursive_mutex> hold(g_lock);
  auto it = g_files.find(handle);
  GameStore* store = it == g_files.end() ? nullptr : it->second.get();
  return Use{std::move(hold), store};
}

int CopyText(const std::string& s, char* out, int32_t size) {
  if (!out || size <= 0) return 0;
  size_t n = std::min(s.size(), static_cast<size_t>(size - 1));
  std::memcpy(out, s.data(), n);
  out[n] = 0;
  return 1;
}

int PutText(GdgGame* g, int field, const char* text) {
  if (!g) return 0;
  std::string s = text ? text : "";
  if (s.size() > 255) s.resize(255);
  g->header.text[field] = s;
  return 1;
}

bool ValidMove(const GdgGame* g, GdgMove m) { return g && m > 0 && static_cast<size_t>(m) < g->nodes.size(); }

const uint8_t* CurrentBoard(const GdgGame* g) { return g->boards.back().data(); }

bool Load(GdgGame* g, int32_t file, int32_t number, bool headerOnly) {
  Use use = FileOf(file);
  GameStore* s = use.store;
  if (!g || !s || number < 1 || static_cast<uint32_t>(number) > s->Count()) return false;
  std::vector<uint8_t> record;
  if (!s->ReadRecord(static_cast<uint32_t>(number - 1), &record, headerOnly)) return false;
  const DirEntry& e = s->Entry(static_cast<uint32_t>(number - 1));
  EraseGame(g);
  if (!UnpackHeader(g, record.data(), static_cast<uint32_t>(record.size()))) return false;
  if (!headerOnly && !UnpackBody(g, record.data(), static_cast<uint32_t>(record.size()), e.headerLength)) {
    EraseGame(g);
    return false;
  }
  g->header.status = static_cast<uint8_t>((g->header.status & ~1u) | (e.flags & 1u));
  g->loadNumber = number;
  return true;
}

}  // namespace

void EraseGame(GdgGame* g) {
  g->header = Header{};
  g->setUp = false;
  InitialBoard(g->start);
  g->nodes.assign(2, Node{});
  g->pattern = false;
  RewindGame(g);
}

void RewindGame(GdgGame* g) {
  g->path.assign(1, 1);
  g->boards.assign(1, std::vector<uint8_t>(g->start, g->start + kGdgBoardSize));
}

void RecountLength(GdgGame* g) {
  int32_t plies = 0;
  for (GdgMove m = g->nodes[1].next; m; m = g->nodes[m].next) ++plies;
  g->header.plies = plies;
}

}  // namespace gdg

using namespace gdg;

// Packed record in a batch: u32 game number, u32 directory flags, u32 record
// length, u32 header length, then the record (or only its header when the
// whole record does not fit a batch buffer).
namespace {
constexpr int32_t kBatchPrefix = 16;
}

GDGAME_API int IGInstallGameDriver(int32_t) { return 1; }
GDGAME_API int IGGameDriverInit(int32_t) { return 1; }
GDGAME_API int IGGameDriverFini(void) {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  g_files.clear();
  return 1;
}
GDGAME_API int IGRemoveGameDriver(void) { return 1; }

GDGAME_API int GdgGetVersion(uint32_t* version, uint32_t* reserved) {
  if (version) *version = 0x10000;
  if (reserved) *reserved = 0;
  return 1;
}

GDGAME_API int32_t GdgOpenGamefile(const char* path, int32_t create) {
  if (!path || !*path) return 0;
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  std::shared_ptr<GameStore> store;
  for (const auto& entry : g_files)
    if (entry.second->Path() == path) store = entry.second;
  if (store && create) {
    // Emptying a file that is open under another handle would pull it away
    // from under that handle's games.
    g_lastOpenError = kOpenInUse;
    return 0;
  }
  if (!store) {
    int error = 0;
    store.reset(GameStore::Open(path, create != 0, &error));
    g_lastOpenError = error;
    if (!store) return 0;
  }
  int32_t handle = g_nextHandle++;
  g_files[handle] = store;
  return handle;
}

GDGAME_API int GdgLastOpenError(void) { return g_lastOpenError; }

GDGAME_API int GdgCloseGamefile(int32_t file) {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  return g_files.erase(file) ? 1 : 0;
}

GDGAME_API int32_t GdgGetNumberOfGames(int32_t file) {
  Use use = FileOf(file);
  GameStore* s = use.store;
  return s ? static_cast<int32_t>(s->Count()) : 0;
}

GDGAME_API int GdgDeleteGame(int32_t file, int32_t number) {
  Use use = FileOf(file);
  GameStore* s = use.store;
  if (!s || number < 1) return 1;
  return s->SetDeleted(static_cast<uint32_t>(number - 1), true) ? 0 : 1;
}

GDGAME_API int GdgUndeleteGame(int32_t file, int32_t number) {
  Use use = FileOf(file);
  GameStore* s = use.store;
  if (!s || number < 1) return 1;
  return s->SetDeleted(static_cast<uint32_t>(number - 1), false) ? 0 : 1;
}

GDGAME_API int GdgIsGameDeleted(int32_t file, int32_t number) {
  Use use = FileOf(file);
  GameStore* s = use.store;
  if (!s || number < 1 || static_cast<uint32_t>(number) > s->Count()) return 0;
  return s->Entry(static_cast<uint32_t>(number - 1)).flags & 1;
}

GDGAME_API int GdgFileAction(int32_t file, int32_t) { return FileOf(file).store ? 1 : 0; }

GDGAME_API int IGFileStatus(int32_t file, int32_t) {
  Use use = FileOf(file);
  GameStore* s = use.store;
  return s && s->ReadOnly() ? 2 : 0;
}

GDGAME_API int GdgIndexCreate(int32_t file, int32_t, int32_t, const char* folder, int32_t update,
                              GdgProgress* progress, int32_t user) {
  Use use = FileOf(file);
  GameStore* s = use.store;
  if (!s || !folder) return 1;
  return BuildHeaderIndex(s, folder, update != 0, progress, user);
}

GDGAME_API int GdgIndexDelete(int32_t file, int32_t, const char* folder) {
  Use use = FileOf(file);
  GameStore* s = use.store;
  if (!s || !folder) return 1;
  return DeleteHeaderIndex(s, folder);
}

GDGAME_API int32_t GdgIndexSort(int32_t file, const int32_t* source, int32_t* target, int32_t count,
                                int32_t sortKey, int32_t direction, const char* folder) {
  Use use = FileOf(file);
  GameStore* s = use.store;
  if (!s || !folder || count < 0 || (count > 0 && (!source || !target))) return -1;
  return SortByHeaderIndex(s, folder, source, target, count, sortKey, direction);
}

GDGAME_API GdgGame* IGGameOpenGame(void) {
  auto* g = new (std::nothrow) GdgGame;
  if (g) EraseGame(g);
  return g;
}

GDGAME_API int IGGameCloseGame(GdgGame* game) {
  delete game;
  return 1;
}

GDGAME_API int GdgLoadGame(GdgGame* game, int32_t file, int32_t number, int32_t) {
  return Load(game, file, number, false) ? 1 : 0;
}

GDGAME_API int GdgLoadGameHeader(GdgGame* game, int32_t file, int32_t number) {
  return Load(game, file, number, true) ? 1 : 0;
}

GDGAME_API int GdgWriteGame(GdgGame* game, int32_t file, int32_t, int32_t* number) {
  Use use = FileOf(file);
  GameStore* s = use.store;
  if (!game || !s || game->nodes.size() - 2 > kMaxGameMoves) return 0;
  RecountLength(game);
  std::vector<uint8_t> record;
  uint32_t headerLength = 0;
  uint8_t saved = game->header.status;
  game->header.status &= ~1u;  // the delete mark lives in the directory
  PackGame(*game, &record, &headerLength);
  game->header.status = saved;
  uint32_t n = 0;
  if (!s->Append(record, headerLength, &n)) return 0;
  if (number) *number = static_cast<int32_t>(n);
  return 1;
}

GDGAME_API int32_t GdgReadGames(int32_t file, int32_t first, uint8_t* buffer, int32_t* offsets,
                                int32_t bufferSize, int32_t maxGames) {
  Use use = FileOf(file);
  GameStore* s = use.store;
  if (!s || !buffer || !offsets || first < 0 || maxGames <= 0 || bufferSize < kBatchPrefix) return 0;
  uint32_t count = s->Count();
  if (static_cast<uint32_t>(first) >= count) return 0;
  // How many whole records fit, in file order.
  uint32_t n = 0;
  int64_t used = 0;
  while (n < static_cast<uint32_t>(maxGames) && first + n < count) {
    const DirEntry& e = s->Entry(first + n);
    if (used + kBatchPrefix + e.length > bufferSize) break;
    used += kBatchPrefix + e.length;
    ++n;
  }
  std::vector<uint8_t> span;
  uint64_t base = 0;
  if (n == 0) {
    // A record larger than the buffer travels with its header only.
    const DirEntry& e = s->Entry(first);
    if (kBatchPrefix + e.headerLength > static_cast<uint32_t>(bufferSize)) return 0;
    if (!s->ReadRecord(first, &span, true)) return 0;
    uint32_t head[4] = {static_cast<uint32_t>(first + 1), e.flags, e.headerLength, e.headerLength};
    std::memcpy(buffer, head, kBatchPrefix);
    // An empty record reads as an empty span whose data() may be null.
    if (!span.empty()) std::memcpy(buffer + kBatchPrefix, span.data(), span.size());
    offsets[0] = 0;
    return 1;
  }
  if (!s->ReadSpan(first, n, &span, &base)) return 0;
  int32_t at = 0;
  for (uint32_t i = 0; i < n; ++i) {
    const DirEntry& e = s->Entry(first + i);
    const uint8_t* rec = span.data() + (e.offset - base);
    if (Crc32(rec, e.length) != e.crc) return static_cast<int32_t>(i);
    uint32_t head[4] = {first + i + 1, e.flags, e.length, e.headerLength};
    offsets[i] = at;
    std::memcpy(buffer + at, head, kBatchPrefix);
    if (e.length) std::memcpy(buffer + at + kBatchPrefix, rec, e.length);
    at += kBatchPrefix + static_cast<int32_t>(e.length);
  }
  return static_cast<int32_t>(n);
}

GDGAME_API int32_t GdgRecordSize(const uint8_t* data) {
  uint32_t head[4];
  std::memcpy(head, data, kBatchPrefix);
  return kBatchPrefix + static_cast<int32_t>(head[2]);
}

namespace {

// The en-passant file of a board when a pawn of the side to move can take
// there, else 0: a double step that nothing can take leaves the position
// as it would be without it.
uint32_t TakeableEnPassant(const uint8_t* b) {
  uint32_t ep, side;
  std::memcpy(&ep, b + kGdgBoardEnPassant, 4);
  std::memcpy(&side, b + kGdgBoardSide, 4);
  if (ep < 1 || ep > 8) return 0;
  int rank = side == 0 ? 4 : 3;
  uint8_t taker = side == 0 ? 8 : 16;
  int file = static_cast<int>(ep) - 1;
  for (int f : {file - 1, file + 1})
    if (f >= 0 && f < 8 && b[Cell(f, rank)] == taker) return ep;
  return 0;
}

// Squares, side to move, castling and a takeable en-passant file.
bool SamePosition(const uint8_t* a, const uint8_t* b) {
  return std::memcmp(a, b, kGdgBoardEnPassant) == 0 && a[kGdgBoardCastling] == b[kGdgBoardCastling] &&
         TakeableEnPassant(a) == TakeableEnPassant(b);
}

}  // namespace

GDGAME_API int UnpackGame(GdgGame* game, const uint8_t* data, int32_t mode) {
  if (!game || !data) return 0;
  uint32_t head[4];
  std::memcpy(head, data, kBatchPrefix);
  const uint8_t* rec = data + kBatchPrefix;
  bool pattern = game->pattern;
  std::vector<uint8_t> patternBoard(game->patternBoard, game->patternBoard + kGdgBoardSize);
  EraseGame(game);
  if (!UnpackHeader(game, rec, head[2]) || head[3] == head[2] || !UnpackBody(game, rec, head[2], head[3])) {
    EraseGame(game);
    return 0;
  }
  game->header.status = static_cast<uint8_t>((game->header.status & ~1u) | (head[1] & 1u));
  game->loadNumber = static_cast<int32_t>(head[0]);
  game->pattern = pattern;
  std::memcpy(game->patternBoard, patternBoard.data(), kGdgBoardSize);
  if (mode == 2 && pattern) {
    // The pattern's squares, side, castling and en passant (where a pawn
    // can take) must be met somewhere along the main line.
    for (;;) {
      const uint8_t* b = game->boards.back().data();
      if (SamePosition(b, game->patternBoard)) {
        RewindGame(game);
        return 1;
      }
      if (PlayMoves(game, 1) != 1) break;
    }
    RewindGame(game);
    return 0;
  }
  return 1;
}

GDGAME_API int GetGameHeader(GdgGame* game, const uint8_t* data, int32_t, int32_t) {
  if (!game || !data) return 0;
  uint32_t head[4];
  std::memcpy(head, data, kBatchPrefix);
  EraseGame(game);
  if (!UnpackHeader(game, data + kBatchPrefix, head[3])) return 0;
  game->header.status = static_cast<uint8_t>((game->header.status & ~1u) | (head[1] & 1u));
  game->loadNumber = static_cast<int32_t>(head[0]);
  return 1;
}

GDGAME_API int PatExactPosition(GdgGame* game) {
  if (!game) return 0;
  game->pattern = true;
  std::memcpy(game->patternBoard, CurrentBoard(game), kGdgBoardSize);
  return 1;
}

#define GDG_TEXT_PAIR(Name, Field)                                      \
  GDGAME_API int IGGameGet##Name(GdgGame* g, char* out, int32_t size) { \
    return g ? CopyText(g->header.text[Field], out, size) : 0;          \
  }                                                                     \
  GDGAME_API int IGGamePut##Name(GdgGame* g, const char* text) { return PutText(g, Field, text); }
#define GDG_SIDE_TEXT_PAIR(Name, Field)                                               \
  GDGAME_API int IGGameGet##Name(GdgGame* g, int32_t side, char* out, int32_t size) { \
    return g ? CopyText(g->header.text[(Field) + (side ? 1 : 0)], out, size) : 0;     \
  }                                                                                   \
  GDGAME_API int IGGamePut##Name(GdgGame* g, int32_t side, const char* text) {        \
    return PutText(g, (Field) + (side ? 1 : 0), text);                                \
  }

GDG_SIDE_TEXT_PAIR(Player, kWhitePlayer)
GDG_SIDE_TEXT_PAIR(Country, kWhiteCountry)
GDG_SIDE_TEXT_PAIR(Title, kWhiteTitle)
GDG_TEXT_PAIR(Place, kPlace)
GDG_TEXT_PAIR(Site, kSite)
GDG_TEXT_PAIR(Keycode, kKeycode)
GDG_TEXT_PAIR(Annotator, kAnnotator)
GDG_TEXT_PAIR(Remark, kRemark)

static int32_t Clamp16(int32_t v) { return v < 0 ? 0 : v > 65535 ? 65535 : v; }

GDGAME_API int32_t IGGameGetElo(GdgGame* g, int32_t side) { return g ? g->header.elo[side ? 1 : 0] : 0; }
GDGAME_API int IGGamePutElo(GdgGame* g, int32_t side, int32_t elo) {
  if (!g) return 0;
  g->header.elo[side ? 1 : 0] = Clamp16(elo);
  return 1;
}
GDGAME_API int32_t IGGameGetTime(GdgGame* g, int32_t side) { return g ? g->header.minutes[side ? 1 : 0] : 0; }
GDGAME_API int IGGamePutTime(GdgGame* g, int32_t side, int32_t minutes) {
  if (!g) return 0;
  g->header.minutes[side ? 1 : 0] = Clamp16(minutes);
  return 1;
}
GDGAME_API int32_t IGGameGetRound(GdgGame* g) { return g ? g->header.round : 0; }
GDGAME_API int IGGamePutRound(GdgGame* g, int32_t round) {
  if (!g) return 0;
  g->header.round = Clamp16(round);
  return 1;
}
GDGAME_API int IGGameGetDate(GdgGame* g, GdgDate* date) {
  if (!g || !date) return 0;
  *date = g->header.date;
  return 1;
}
GDGAME_API int IGGamePutDate(GdgGame* g, const GdgDate* date) {
  if (!g || !date) return 0;
  g->header.date.year = Clamp16(date->year);
  g->header.date.month = date->month < 0 || date->month > 255 ? 0 : date->month;
  g->header.date.day = date->day < 0 || date->day > 255 ? 0 : date->day;
  return 1;
}
GDGAME_API int32_t IGGameGetResult(GdgGame* g) { return g ? g->header.result : 0; }
GDGAME_API int IGGamePutResult(GdgGame* g, int32_t result) {
  if (!g) return 0;
  g->header.result = result >= 1 && result <= 3 ? result : 0;
  return 1;
}
GDGAME_API int32_t IGGameGetSourceLoadnumber(GdgGame* g) { return g ? g->loadNumber : 0; }
GDGAME_API int IGGamePutSourceLoadnumber(GdgGame* g, int32_t number) {
  if (!g) return 0;
  g->loadNumber = number;
  return 1;
}
GDGAME_API int IGGameGetStatusFlag(GdgGame* g, int32_t flag) {
  if (!g || flag < 0 || flag > 7) return 0;
  return (g->header.status >> flag) & 1;
}
GDGAME_API int IGGamePutStatusFlag(GdgGame* g, int32_t flag, int32_t value) {
  if (!g || flag < 0 || flag > 7) return 0;
  if (value)
    g->header.status |= static_cast<uint8_t>(1u << flag);
  else
    g->header.status &= static_cast<uint8_t>(~(1u << flag));
  return 1;
}
GDGAME_API int32_t IGGameGetLength(GdgGame* g) {
  if (!g) return 0;
  if (g->nodes[1].next) RecountLength(g);
  return g->header.plies;
}

GDGAME_API GdgMove IGGameGetFirstMove(GdgGame* g) { return g ? 1 : 0; }
GDGAME_API GdgMove IGMoveGetNEXT(GdgGame* g, GdgMove m) { return ValidMove(g, m) ? g->nodes[m].next : 0; }
GDGAME_API GdgMove IGMoveGetALT(GdgGame* g, GdgMove m) { return ValidMove(g, m) ? g->nodes[m].alt : 0; }

GDGAME_API int IGMoveGetXY(GdgGame* g, GdgMove m, GdgMoveXY* xy) {
  if (!ValidMove(g, m) || m == 1 || !xy) return 0;
  const Node& n = g->nodes[m];
  xy->fromFile = (n.from & 7) + 1;
  xy->fromRank = (n.from >> 3) + 1;
  xy->toFile = (n.to & 7) + 1;
  xy->toRank = (n.to >> 3) + 1;
  xy->promotion = n.promotion;
  return 1;
}

GDGAME_API GdgMove IGNextMove(GdgGame* g) { return g ? g->nodes[g->path.back()].next : 0; }
GDGAME_API GdgMove IGGameGetMovePtr(GdgGame* g) { return g ? g->path.back() : 0; }
GDGAME_API int32_t IGGameGetCM(GdgGame* g) { return g ? static_cast<int32_t>(g->path.size()) : 0; }

GDGAME_API int32_t PlayMoves(GdgGame* g, int32_t n) {
  if (!g) return 0;
  int32_t done = 0;
  while (n > 0) {
    GdgMove next = g->nodes[g->path.back()].next;
    if (!next) break;
    const Node& x = g->nodes[next];
    std::vector<uint8_t> b = g->boards.back();
    ApplyMove(b.data(), x.from, x.to, x.promotion);
    g->path.push_back(next);
    g->boards.push_back(std::move(b));
    --n, ++done;
  }
  while (n < 0 && g->path.size() > 1) {
    g->path.pop_back();
    g->boards.pop_back();
    ++n, ++done;
  }
  return done;
}

GDGAME_API int NewGameRewind(GdgGame* g) {
  if (!g) return 0;
  RewindGame(g);
  return 1;
}

GDGAME_API int NewGameErase(GdgGame* g) {
  if (!g) return 0;
  EraseGame(g);
  return 1;
}

GDGAME_API const uint8_t* IGGameGetBoard(GdgGame* g) { return g ? CurrentBoard(g) : nullptr; }

GDGAME_API int GetInitialPosition(GdgGame* g, uint8_t* board) {
  if (!g) return 0;
  if (board) std::memcpy(board, g->start, kGdgBoardSize);
  return g->setUp ? 1 : 0;
}

GDGAME_API int LegalMove(GdgGame* g, GdgMoveXY* xy) {
  if (!g || !xy) return 0;
  if (xy->fromFile < 1 || xy->fromFile > 8 || xy->fromRank < 1 || xy->fromRank > 8 || xy->toFile < 1 ||
      xy->toFile > 8 || xy->toRank < 1 || xy->toRank > 8)
    return 0;
  int from = (xy->fromRank - 1) * 8 + xy->fromFile - 1;
  int to = (xy->toRank - 1) * 8 + xy->toFile - 1;
  const uint8_t* b = CurrentBoard(g);
  if (!MoveIsLegal(b, from, to)) return 0;
  uint8_t piece = b[Cell(from & 7, from >> 3)];
  bool promotes = (piece == 8 && (to >> 3) == 7) || (piece == 16 && (to >> 3) == 0);
  if (promotes) {
    int type = xy->promotion & 7;
    if (type < 1 || type > 4) type = 4;
    xy->promotion = (piece == 8 ? 8 : 16) + type;
  } else {
    xy->promotion = 0;
  }
  return 1;
}

GDGAME_API GdgMove AcceptMove(GdgGame* g, const GdgMoveXY* xy) {
  GdgMoveXY move = *xy;
  if (!g || !LegalMove(g, &move)) return 0;
  GdgMove parent = g->path.back();
  Node n;
  n.from = static_cast<uint8_t>((move.fromRank - 1) * 8 + move.fromFile - 1);
  n.to = static_cast<uint8_t>((move.toRank - 1) * 8 + move.toFile - 1);
  n.promotion = static_cast<uint8_t>(move.promotion);
  n.parent = parent;
  g->nodes.push_back(n);
  GdgMove id = static_cast<GdgMove>(g->nodes.size() - 1);
  GdgMove next = g->nodes[parent].next;
  if (!next) {
    g->nodes[parent].next = id;
  } else {
    while (g->nodes[next].alt) next = g->nodes[next].alt;
    g->nodes[next].alt = id;
  }
  std::vector<uint8_t> b = g->boards.back();
  ApplyMove(b.data(), n.from, n.to, n.promotion);
  g->path.push_back(id);
  g->boards.push_back(std::move(b));
  return id;
}

GDGAME_API GdgMove IGMoveFirstFreeSubline(GdgGame* g, GdgMove m, int32_t) {
  if (!ValidMove(g, m)) return 0;
  while (g->nodes[m].alt) m = g->nodes[m].alt;
  return m;
}

GDGAME_API int IGMovePutAL(GdgGame* g, GdgMove m, GdgMove alternative) {
  if (!ValidMove(g, m) || !ValidMove(g, alternative) || g->nodes[m].alt) return 0;
  g->nodes[m].alt = alternative;
  return 1;
}

GDGAME_API int32_t GetLComment(GdgGame* g, GdgMove m, char* lines, int32_t size) {
  if (!ValidMove(g, m)) return 0;
  const Node& n = g->nodes[m];
  if (lines && size > 0) {
    size_t count = std::min(n.lcomment.size(), static_cast<size_t>(size));
    std::memcpy(lines, n.lcomment.data(), count);
    if (count < n.lcomment.size()) return 0;  // does not fit
  }
  return n.lcount;
}

GDGAME_API int IGMovePutLComment(GdgGame* g, GdgMove m, const char* lines, int32_t count) {
  if (!ValidMove(g, m) || count < 0 || count > 255) return 0;
  Node& n = g->nodes[m];
  n.lcomment.clear();
  const char* p = lines;
  for (int32_t i = 0; i < count; ++i) {
    size_t len = std::strlen(p);
    n.lcomment.append(p, len + 1);
    p += len + 1;
  }
  if (n.lcomment.size() > 65535) {
    n.lcomment.clear();
    n.lcount = 0;
    return 0;
  }
  n.lcount = count;
  return 1;
}

GDGAME_API int IGMoveGetSComment(GdgGame* g, GdgMove m, char* out, int32_t size) {
  return ValidMove(g, m) ? CopyText(g->nodes[m].scomment, out, size) : 0;
}

GDGAME_API int IGMovePutSComment(GdgGame* g, GdgMove m, const char* text) {
  if (!ValidMove(g, m)) return 0;
  std::string s = text ? text : "";
  if (s.size() > 255) s.resize(255);
  g->nodes[m].scomment = s;
  return 1;
}

GDGAME_API int IGNewBoard(uint8_t* board) {
  if (!board) return 0;
  NewBoard(board);
  return 1;
}

GDGAME_API int32_t CastlingRights(const uint8_t* board) { return board ? AllowedCastling(board) : 0; }

GDGAME_API int BoardToInitialPosition(GdgGame* g, const uint8_t* board, int32_t castling, int32_t enPassant,
                                      int32_t ply) {
  if (!g || !board) return 0;
  uint8_t b[kGdgBoardSize];
  NewBoard(b);
  for (int f = 0; f < 8; ++f)
    for (int r = 0; r < 8; ++r) {
      uint8_t code = board[Cell(f, r)];
      b[Cell(f, r)] = (code >= 8 && code <= 13) || (code >= 16 && code <= 21) ? code : 0;
    }
  if (ply < 1 || ply > 65535) ply = 1;
  uint32_t side = (ply % 2 == 0) ? 1 : 0;
  std::memcpy(b + kGdgBoardSide, &side, 4);
  uint32_t ep = enPassant >= 1 && enPassant <= 8 ? static_cast<uint32_t>(enPassant) : 0;
  std::memcpy(b + kGdgBoardEnPassant, &ep, 4);
  b[kGdgBoardCastling] = static_cast<uint8_t>(castling & AllowedCastling(b));
  uint16_t p16 = static_cast<uint16_t>(ply);
  std::memcpy(b + kGdgBoardPly, &p16, 2);
  g->nodes.assign(2, Node{});
  std::memcpy(g->start, b, kGdgBoardSize);
  g->setUp = true;
  g->header.status |= 2;  // status flag 1: the game starts from a set-up position
  RewindGame(g);
  return 1;
}
