#include "header_access.h"

#include <cstdio>
#include <cstring>

#include "game_record.h"
#include "heapkit.h"

namespace {

bool IsWhite(int side) { return side == 1; }

const char* Text(const char* field) { return field; }

char* DuplicateText(const char* text) {
  size_t n = std::strlen(text) + 1;
  auto* copy = static_cast<char*>(memAlloc_rel(n, HEAPKIT_TAG_RW));
  if (copy) std::memcpy(copy, text, n);
  return copy;
}

}  // namespace

void CopyHeaderField(char* field, size_t size, const char* text) {
  std::memset(field, 0, size);
  if (!text || !size) return;
  size_t n = std::strlen(text);
  if (n > size - 1) n = size - 1;
  std::memcpy(field, text, n);
}

GameHeader* GetGameHeader(GameRecord* game) { return game ? &game->header : nullptr; }

void CleanTitleText(const char* text, char out[128]) {
  std::memset(out, 0, 128);
  if (!text) return;
  for (int i = 0; i < 127 && text[i]; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    bool keep;
    if (c < 32) {
      keep = false;
    } else if (c < 128) {
      keep = !std::strchr("\\:*?\"<>|", c);
    } else if (c < 192) {
      keep = c == 138 || c == 154 || c == 156 || c == 159 || c == 161 || c == 182 || c == 191;
    } else {
      keep = true;
    }
    out[i] = keep ? static_cast<char>(c) : '-';
  }
}

void SetGameTitle(GameRecord* game, const char* text) {
  if (game) CleanTitleText(text, game->header.title);
}
const char* GetGameTitle(const GameRecord* game) { return game ? Text(game->header.title) : ""; }

void SetPlayerName(GameRecord* game, int side, const char* text) {
  if (!game) return;
  PlayerRecord* player = IsWhite(side) ? &game->white : &game->black;
  std::memset(player->name, 0, 32);
  CopyHeaderField(player->name, sizeof player->name, text);
}
const char* GetPlayerName(const GameRecord* game, int side) {
  if (!game) return "";
  return IsWhite(side) ? game->white.name : game->black.name;
}
void SetPlayerKind(GameRecord* game, int side, uint32_t kind) {
  if (game) (IsWhite(side) ? game->white : game->black).kind = kind;
}
uint32_t GetPlayerKind(const GameRecord* game, int side) {
  return game ? (IsWhite(side) ? game->white : game->black).kind : 0;
}

#define RW_HEADER_TEXT(Name, field)                                                 \
  void SetGame##Name(GameRecord* game, const char* text) {                          \
    if (game) CopyHeaderField(game->header.field, sizeof game->header.field, text); \
  }                                                                                 \
  const char* GetGame##Name(const GameRecord* game) { return game ? game->header.field : ""; }
RW_HEADER_TEXT(Site, site)
RW_HEADER_TEXT(Event, event)
RW_HEADER_TEXT(Date, date)
RW_HEADER_TEXT(Round, round)
#undef RW_HEADER_TEXT

#define RW_SIDE_TEXT(Name, whiteField, blackField)                                    \
  void SetPlayer##Name(GameRecord* game, int side, const char* text) {                \
    if (!game) return;                                                                \
    if (IsWhite(side))                                                                \
      CopyHeaderField(game->header.whiteField, sizeof game->header.whiteField, text); \
    else                                                                              \
      CopyHeaderField(game->header.blackField, sizeof game->header.blackField, text); \
  }                                                                                   \
  const char* GetPlayer##Name(const GameRecord* game, int side) {                     \
    if (!game) return "";                                                             \
    return IsWhite(side) ? game->header.whiteField : game->header.blackField;         \
  }
RW_SIDE_TEXT(Elo, whiteElo, blackElo)
RW_SIDE_TEXT(Title, whiteTitle, blackTitle)
RW_SIDE_TEXT(Country, whiteCountry, blackCountry)
#undef RW_SIDE_TEXT

void SetGameAnnotator(GameRecord* game, const char* text) {
  if (game && text && *text) CopyHeaderField(game->header.annotator, sizeof game->header.annotator, text);
}
const char* GetGameAnnotator(const GameRecord* game) { return game ? game->header.annotator : ""; }
void SetGameEco(GameRecord* game, const char* text) {
  if (game && text && *text) CopyHeaderField(game->header.eco, sizeof game->header.eco, text);
}
const char* GetGameEco(const GameRecord* game) { return game ? game->header.eco : ""; }

void SetGameResult(GameRecord* game, uint32_t code) {
  if (game) game->result = code;
}
uint32_t GetGameResult(const GameRecord* game) { return game ? game->result : 0; }

bool SetGameRemarks(GameRecord* game, const char* text) {
  if (!game) return false;
  char* copy = nullptr;
  if (text && *text && !(copy = DuplicateText(text))) return false;
  if (game->header.texts[SLOT_COMMENT]) memFree_rel(game->header.texts[SLOT_COMMENT]);
  game->header.texts[SLOT_COMMENT] = copy;
  return true;
}
const char* GetGameRemarks(const GameRecord* game) {
  return game && game->header.texts[SLOT_COMMENT] ? game->header.texts[SLOT_COMMENT] : "";
}

void FormatHeaderDate(int year, int month, int day, char out[20]) {
  if (year < 100) year += year < 71 ? 2000 : 1900;
  std::snprintf(out, 20, "%d-%d-%4d", month, day, year);
}

void InitGameHeader(GameRecord* game, const char* banner, int year, int month, int day) {
  if (!game) return;
  FreeGameHeaderTexts(&game->header);
  char date[20];
  FormatHeaderDate(year, month, day, date);
  FillDefaultGameHeader(&game->header, banner, date);
  game->result = 0;
}
