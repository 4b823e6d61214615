// Layout files: window rectangles and board looks per room (layout_file.h).
//
// Which window keys a room's section holds: the lobby only the main
// frame's; the database room only windows 0..2 (its own window writes its
// keys itself); every other room all 28. A key whose string is empty is
// skipped. The board keys belong to every set-up room but the database
// room, and are read back for set-up rooms other than the lobby and the
// database room.
#include "layout_file.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app_globals.h"
#include "profile.h"
#include "shell_strings.h"
#include "user_settings.h"

namespace {

int NoSet(const char*) { return -1; }
const char* NoName(int) { return nullptr; }
void NoApply(int, int, int, const char*) {}
void NoEnable(int) {}
void NoFile(const char*) {}
void StdCopy(const char* from, const char* to) {
  std::error_code ec;
  std::filesystem::copy_file(std::filesystem::u8path(from), std::filesystem::u8path(to),
                             std::filesystem::copy_options::overwrite_existing, ec);
}
int TableFrameRect(ShellRect* rect) { return GetRoomWindowRect(GetTableRoom(), WIN_MAIN_FRAME, rect); }
int TableScreenHeight() { return GetScreenHeight(); }
void NoMenu() {}

LayoutHooks Defaults() {
  return LayoutHooks{NoSet,  NoSet,  NoName,  NoName,         NoApply,           NoEnable,
                     NoFile, NoFile, StdCopy, TableFrameRect, TableScreenHeight, NoMenu};
}

LayoutHooks g_hooks = Defaults();

template <typename T>
void Mend(T LayoutHooks::*field, LayoutHooks& to, const LayoutHooks& from) {
  to.*field = from.*field ? from.*field : Defaults().*field;
}

constexpr int kNeverShown[] = {WIN_CLASSROOM_PANEL, WIN_KIDS_PANEL, WIN_CURRICULUM};

void ClearNeverShown(RoomLayout* layout) {
  for (int id : kNeverShown) layout->entries[id].shown = 0;
}

int WindowLimit(int room) {
  if (room == ROOM_LOBBY) return 1;
  if (room == ROOM_DATABASE) return 3;
  return kWindowCount;
}

bool Section(int room, char* section) {
  if (room < 0 || room >= kRoomCount) return false;
  GetRoomName(section, room);
  return true;
}

// The layout file a call acts on: the given one, or the current one.
const char* FileOrCurrent(const char* file, char* buffer) {
  return file ? file : GetCurrentLayoutPath(buffer);
}

bool SameTextIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
      return false;
  }
  return *a == *b;
}

// Reads one decimal integer as the C library's "%d" does: blanks, a sign,
// digits. False when no digit follows.
bool ScanInt(const char*& p, int32_t* value) {
  const char* q = p;
  while (*q == ' ' || (*q >= '\t' && *q <= '\r')) ++q;
  bool negative = false;
  if (*q == '+' || *q == '-') negative = *q++ == '-';
  if (*q < '0' || *q > '9') return false;
  uint32_t v = 0;
  while (*q >= '0' && *q <= '9') v = v * 10u + static_cast<uint32_t>(*q++ - '0');
  *value = static_cast<int32_t>(negative ? 0u - v : v);
  p = q;
  return true;
}

}  // namespace

const LayoutHooks& GetLayoutHooks() { return g_hooks; }

void SetLayoutHooks(const LayoutHooks& hooks) {
  LayoutHooks h = hooks;
  Mend(&LayoutHooks::findBoardSet, h, hooks);
  Mend(&LayoutHooks::findPieceSet, h, hooks);
  Mend(&LayoutHooks::boardSetName, h, hooks);
  Mend(&LayoutHooks::pieceSetName, h, hooks);
  Mend(&LayoutHooks::applyRoomChessSets, h, hooks);
  Mend(&LayoutHooks::enableCustomizeBoard, h, hooks);
  Mend(&LayoutHooks::readDatabaseLayout, h, hooks);
  Mend(&LayoutHooks::writeDatabaseLayout, h, hooks);
  Mend(&LayoutHooks::copyFile, h, hooks);
  Mend(&LayoutHooks::frameRect, h, hooks);
  Mend(&LayoutHooks::screenHeight, h, hooks);
  Mend(&LayoutHooks::updateMenuState, h, hooks);
  g_hooks = h;
}

char* GetCurrentLayoutPath(char* buffer) {
  if (!buffer) return nullptr;
  std::string folder = GetUserFolder();
  std::snprintf(buffer, kAppPathSize, "%s\\%s%s", folder.c_str(), GetUserName(), ".lay");
  return buffer;
}

char* GetBackupLayoutPath(char* buffer) {
  if (!buffer) return nullptr;
  std::string folder = GetUserFolder();
  std::snprintf(buffer, kAppPathSize, "%s\\%s", folder.c_str(), "backup.lay");
  return buffer;
}

int ScanLayoutValue(const char* text, LayoutEntry* entry) {
  int32_t values[5] = {};
  int read = 0;
  const char* p = text ? text : "";
  while (read < 5 && ScanInt(p, &values[read])) ++read;
  entry->rect = ShellRect{values[0], values[1], values[2], values[3]};
  entry->shown = values[4];
  return read;
}

void ReadLayoutRects(const char* file) {
  for (int room = 0; room < kRoomCount; ++room) {
    RoomLayout layout{};
    char section[kRoomNameSize];
    Section(room, section);
    for (int id = 0; id < WindowLimit(room); ++id) {
      const char* key = ShellString(kWindowKeyString + id);
      if (!key[0]) continue;
      std::string keyText = key;  // the loader's buffer is reused by the next call
      char value[256];
      ProfileReadString(section, keyText.c_str(), "", value, sizeof value, file);
      ScanLayoutValue(value, &layout.entries[id]);
    }
    ClearNeverShown(&layout);
    SetRoomLayout(room, &layout);
  }
}

void WriteLayoutRects(const char* file) {
  for (int room = 0; room < kRoomCount; ++room) {
    RoomLayout* layout = GetRoomLayout(room);
    ClearNeverShown(layout);
    char section[kRoomNameSize];
    Section(room, section);
    for (int id = 0; id < WindowLimit(room); ++id) {
      const char* key = ShellString(kWindowKeyString + id);
      if (!key[0]) continue;
      std::string keyText = key;
      const LayoutEntry& e = layout->entries[id];
      char value[64];
      std::snprintf(value, sizeof value, "%d %d %d %d %d", e.rect.left, e.rect.top, e.rect.right,
                    e.rect.bottom, e.shown);
      ProfileWriteString(section, keyText.c_str(), value, file);
    }
  }
}

void ReadBoardSetNames(const char* file, int room, int32_t* boardSet, int32_t* pieceSet) {
  char section[kRoomNameSize], buffer[kAppPathSize];
  if (!Section(room, section)) return;
  file = FileOrCurrent(file, buffer);
  char name[32];
  ProfileReadString(section, "board_set", "2D Black & White Metal Small", name, sizeof name, file);
  if (boardSet) {
    int found = g_hooks.findBoardSet(name);
    if (found < 0) found = std::strcmp(name, kLayoutCustomBoard) == 0 ? kCustomBoardSet : -1;
    *boardSet = found;
  }
  ProfileReadString(section, "piece_set", "Black & White Figurine Small", name, sizeof name, file);
  if (pieceSet) {
    int found = g_hooks.findPieceSet(name);
    *pieceSet = found < 0 ? -1 : found;
  }
}

void WriteBoardSetNames(const char* file, int room, int32_t boardSet, int32_t pieceSet) {
  char section[kRoomNameSize], buffer[kAppPathSize];
  if (!Section(room, section)) return;
  file = FileOrCurrent(file, buffer);
  if (boardSet >= 0) {
    const char* name = g_hooks.boardSetName(boardSet);
    ProfileWriteString(section, "board_set", name ? name : "", file);
  } else if (boardSet == kCustomBoardSet) {
    ProfileWriteString(section, "board_set", kLayoutCustomBoard, file);
  } else {
    ProfileDeleteKey(section, "board_set", file);
  }
  const char* piece = pieceSet >= 0 ? g_hooks.pieceSetName(pieceSet) : nullptr;
  ProfileWriteString(section, "piece_set", piece ? piece : "", file);
}

namespace {
struct CustomKey {
  const char* key;
  int32_t fallback;
};
constexpr CustomKey kViewKeys[] = {
    {"size_custom", 154}, {"tilt_custom", 360}, {"turn_custom", 360}, {"vanishpt_custom", 365}};
// Colours are kept blue, green, red; the keys name red, green, blue.
constexpr CustomKey kDarkKeys[] = {
    {"custom_darksq_blue", 0}, {"custom_darksq_green", 64}, {"custom_darksq_red", 0}};
constexpr CustomKey kLightKeys[] = {
    {"custom_lightsq_blue", 0}, {"custom_lightsq_green", 0}, {"custom_lightsq_red", 192}};
}  // namespace

void ReadCustomBoardView(const char* file, int room, RoomCustomBoard* view) {
  char section[kRoomNameSize], buffer[kAppPathSize];
  if (!view || !Section(room, section)) return;
  file = FileOrCurrent(file, buffer);
  int32_t* numbers[4] = {&view->size, &view->tilt, &view->turn, &view->vanishingPoint};
  for (int i = 0; i < 4; ++i)
    *numbers[i] = ProfileReadInt(section, kViewKeys[i].key, kViewKeys[i].fallback, file);
  for (int i = 0; i < 3; ++i) {
    view->dark[i] =
        static_cast<uint8_t>(ProfileReadInt(section, kDarkKeys[i].key, kDarkKeys[i].fallback, file));
    view->light[i] =
        static_cast<uint8_t>(ProfileReadInt(section, kLightKeys[i].key, kLightKeys[i].fallback, file));
  }
}

void WriteCustomBoardView(const char* file, int room, const RoomCustomBoard* view) {
  char section[kRoomNameSize], buffer[kAppPathSize];
  if (!view || !Section(room, section)) return;
  file = FileOrCurrent(file, buffer);
  const int32_t numbers[4] = {view->size, view->tilt, view->turn, view->vanishingPoint};
  for (int i = 0; i < 4; ++i) ProfileWriteInt(section, kViewKeys[i].key, numbers[i], file);
  for (int i = 0; i < 3; ++i) {
    ProfileWriteInt(section, kDarkKeys[i].key, view->dark[i], file);
    ProfileWriteInt(section, kLightKeys[i].key, view->light[i], file);
  }
}

void ReadBoardOffset(const char* file, int room, int32_t* x, int32_t* y) {
  char section[kRoomNameSize], buffer[kAppPathSize];
  if (!Section(room, section)) return;
  file = FileOrCurrent(file, buffer);
  if (x) *x = ProfileReadInt(section, "board_offset_x", 0, file);
  if (y) *y = ProfileReadInt(section, "board_offset_y", 0, file);
}

void WriteBoardOffset(const char* file, int room, int32_t x, int32_t y) {
  char section[kRoomNameSize], buffer[kAppPathSize];
  if (!Section(room, section)) return;
  file = FileOrCurrent(file, buffer);
  ProfileWriteInt(section, "board_offset_x", x, file);
  ProfileWriteInt(section, "board_offset_y", y, file);
}

int ApplyLayoutFile(const char* file) {
  if (!file) return 0;
  ReadLayoutRects(file);
  AppGlobals* globals = GetAppGlobals();
  const int current = GetTableRoom();
  // The customise-board window follows the room whose sets were read last;
  // the room entered next sets it again for itself.
  for (int room = 0; globals && room < kRoomCount; ++room) {
    if (room == ROOM_DATABASE) {
      g_hooks.readDatabaseLayout(file);
      continue;
    }
    RoomRecord* record = globals->rooms[room];
    if (room == ROOM_LOBBY || !record || !record->setUp || !record->board) continue;
    RoomBoard* board = record->board;
    ReadBoardSetNames(file, room, &board->boardSet, &board->pieceSet);
    if (room == current) {
      g_hooks.applyRoomChessSets(room, board->boardSet, board->pieceSet, file);
    } else {
      board->reload = 1;
    }
    g_hooks.enableCustomizeBoard(board->boardSet == kCustomBoardSet);
  }
  SetLayoutName(file);
  ApplyRoomLayout(current);
  g_hooks.updateMenuState();
  return 0;
}

int SaveLayoutFile(const char* path) {
  if (!path) return 0;
  char currentPath[kAppPathSize];
  GetCurrentLayoutPath(currentPath);
  if (!SameTextIgnoringCase(path, currentPath)) g_hooks.copyFile(currentPath, path);
  WriteLayoutRects(path);
  AppGlobals* globals = GetAppGlobals();
  for (int room = 0; globals && room < kRoomCount; ++room) {
    RoomRecord* record = globals->rooms[room];
    if (!record || !record->setUp) continue;
    if (room == ROOM_DATABASE) {
      g_hooks.writeDatabaseLayout(path);
      continue;
    }
    if (!record->board) continue;
    RoomBoard* board = record->board;
    WriteCustomBoardView(path, room, &board->customView);
    WriteBoardSetNames(path, room, board->boardSet, board->pieceSet);
    WriteBoardOffset(path, room, board->offsetX, board->offsetY);
  }
  return 0;
}

int SaveUserLayout() {
  ShellRect frame{};
  g_hooks.frameRect(&frame);
  if (frame.right - frame.left <= 300 || frame.bottom - frame.top <= 260 ||
      frame.top > g_hooks.screenHeight()) {
    return 1;
  }
  UserProfile* user = GetUserRecord();
  if (!user || !user->name[0]) return 0;
  char path[kAppPathSize];
  SaveLayoutFile(GetCurrentLayoutPath(path));
  return 0;
}
