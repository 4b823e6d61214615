#include "game_room_core.h"

#include <cstdio>
#include <cstring>

#include "board.h"

const CopyGameFromItem kCopyGameFromItems[6] = {
    {40136, 3}, {40134, 5}, {40137, 2}, {40138, 4}, {40139, 7}, {40140, 6},
};

int CopyGameSourceRoom(int command) {
  for (const CopyGameFromItem& item : kCopyGameFromItems)
    if (item.command == command) return item.room;
  return -1;
}

CopyItemState CopyGameItemState(bool roomHasGame, int moveCount) {
  if (!roomHasGame) return CopyItemState::Grey;
  return moveCount > 0 ? CopyItemState::Enable : CopyItemState::Unchanged;
}

bool IsUnfinishedRatedGame(uint32_t kind, uint32_t result) {
  return (kind & GAME_BOOKED) != 0 && (result == 0 || result == 15);
}

void RepairCopiedPlayer(PlayerDescriptor* player, const char* userName, uint32_t gameKind) {
  if (!player) return;
  if (player->slot > 1) player->slot = 0;
  if (player->name[0] == '\0' && userName)
    std::snprintf(player->name, sizeof player->name, "%s", userName);
  if ((player->baseMs == 0 && player->periodOrIncrement == 0) || (gameKind & GAME_CLOCKS_OFF) != 0)
    player->timeControl = 7;
}

void FillDefaultGameTemplate(GameRecord* game, const PlayerDescriptor& white, const PlayerDescriptor& black) {
  if (!game) return;
  std::memset(game, 0, sizeof *game);
  std::memcpy(&game->white, &white, sizeof white);
  std::memcpy(&game->black, &black, sizeof black);
  game->white.slot = SLOT_WHITE;
  game->black.slot = SLOT_BLACK;
  game->kind = kDefaultTemplateKind;
  game->sideToMove = WHITE;
  game->startSide = WHITE;
  game->startMoveNumber = 1;
  SetInitialBoard(&game->start);
  SetInitialBoard(&game->position);
}

namespace {

struct Entry {
  int command;
  int stringId;
  bool gamePlay;  // left out over a full-room window
  int kind;       // 0 item, 1 separator, 2 popup, 3 in the popup
};

// Captions come from the string table; "Help" (40) ends every menu.
const Entry kPersonPiece[] = {
    {40087, 2121, false, 0}, {0, 0, true, 1},        {40027, 2107, true, 0}, {40022, 2138, true, 0},
    {40024, 2124, true, 0},  {40025, 2123, true, 0}, {40031, 2122, true, 0}, {0, 0, false, 1},
    {40, 2100, false, 0},
};
const Entry kEnginePiece[] = {
    {40087, 2121, false, 0}, {0, 0, true, 1},        {40021, 2126, true, 0}, {40020, 2127, true, 0},
    {21, 2172, true, 0},     {40031, 2122, true, 0}, {0, 0, false, 1},       {40, 2100, false, 0},
};
const Entry kEmptySquare[] = {
    {40007, 2101, true, 0},  {40031, 2122, true, 0},  {0, 0, true, 1},        {40087, 2121, false, 0},
    {11, 2135, false, 0},    {0, 0, false, 1},        {40017, 2136, true, 0}, {40163, 2160, true, 0},
    {0, 0, true, 1},         {40009, 2161, false, 0}, {0, 0, false, 1},       {40, 2100, false, 0},
};
const Entry kOffBoard[] = {
    {40007, 2101, true, 0},  {40014, 2119, true, 0},  {40013, 2120, true, 0},  {40022, 2138, true, 0},
    {0, 0, true, 1},         {40165, 2139, true, 0},  {40166, 2140, true, 0},  {40178, 2173, true, 0},
    {0, 0, true, 2153},      {40032, 2164, true, 3},  {40088, 2141, true, 3},  {40036, 2148, true, 3},
    {40037, 2146, true, 3},  {32, 2159, true, 3},     {40034, 2144, true, 3},  {0, 0, true, 1},
    {40, 2100, false, 0},
};

template <size_t N>
std::vector<BoardMenuItem> Pick(const Entry (&entries)[N], bool fullRoomWindow) {
  std::vector<BoardMenuItem> out;
  for (const Entry& e : entries) {
    if (fullRoomWindow && e.gamePlay) continue;
    if (e.kind == 1) {
      // No separator first, last or twice in a row.
      if (!out.empty() && !(out.back().command == 0 && out.back().stringId == 0))
        out.push_back(BoardMenuItem{0, 0, false, false});
      continue;
    }
    if (e.kind > 3) {
      out.push_back(BoardMenuItem{0, e.kind, true, false});
      continue;
    }
    out.push_back(BoardMenuItem{e.command, e.stringId, false, e.kind == 3});
  }
  while (!out.empty() && out.back().command == 0 && out.back().stringId == 0) out.pop_back();
  return out;
}

}  // namespace

std::vector<BoardMenuItem> ChooseBoardMenuItems(BoardClickPlace place, bool fullRoomWindow) {
  switch (place) {
    case BoardClickPlace::PersonPiece:
      return Pick(kPersonPiece, fullRoomWindow);
    case BoardClickPlace::EnginePiece:
      return Pick(kEnginePiece, fullRoomWindow);
    case BoardClickPlace::EmptySquare:
      return Pick(kEmptySquare, fullRoomWindow);
    case BoardClickPlace::OffBoard:
      return Pick(kOffBoard, fullRoomWindow);
  }
  return {};
}

std::string TakeEngineMessage(const char* text) {
  if (!text) return std::string();
  return std::string(text, strnlen(text, kEngineMessageChars));
}
