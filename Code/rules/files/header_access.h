// Reading and changing the tag texts of a game: title, players, Site, Event,
// Date, Round, ratings, titles, countries, annotator, ECO, result and the
// game's remarks; and the header defaults.
//
// Interface: GetGameHeader, SetGameTitle, GetGameTitle, CleanTitleText,
// SetPlayerName, GetPlayerName, SetPlayerKind, GetPlayerKind, SetGameSite,
// GetGameSite, SetGameEvent, GetGameEvent, SetGameDate, GetGameDate,
// SetGameRound, GetGameRound, SetPlayerElo, GetPlayerElo, SetPlayerTitle,
// GetPlayerTitle, SetPlayerCountry, GetPlayerCountry, SetGameAnnotator,
// GetGameAnnotator, SetGameEco, GetGameEco, SetGameResult, GetGameResult,
// SetGameRemarks, GetGameRemarks, InitGameHeader, FormatHeaderDate.
//
// "side" is 1 for White, anything else for Black. Every setter cuts the text
// to its field and keeps the field NUL-terminated; a null text counts as
// empty.
#pragma once

#include <cstddef>
#include <cstdint>

#include "game_header.h"

struct GameRecord;

GameHeader* GetGameHeader(GameRecord* game);

// The title rule: forbidden file-name characters and control characters
// become hyphens, at most 127 characters kept.
void CleanTitleText(const char* text, char out[128]);
void SetGameTitle(GameRecord* game, const char* text);
const char* GetGameTitle(const GameRecord* game);

void SetPlayerName(GameRecord* game, int side, const char* text);
const char* GetPlayerName(const GameRecord* game, int side);
void SetPlayerKind(GameRecord* game, int side, uint32_t kind);
uint32_t GetPlayerKind(const GameRecord* game, int side);

void SetGameSite(GameRecord* game, const char* text);
const char* GetGameSite(const GameRecord* game);
void SetGameEvent(GameRecord* game, const char* text);
const char* GetGameEvent(const GameRecord* game);
void SetGameDate(GameRecord* game, const char* text);
const char* GetGameDate(const GameRecord* game);
void SetGameRound(GameRecord* game, const char* text);
const char* GetGameRound(const GameRecord* game);

void SetPlayerElo(GameRecord* game, int side, const char* text);
const char* GetPlayerElo(const GameRecord* game, int side);
void SetPlayerTitle(GameRecord* game, int side, const char* text);
const char* GetPlayerTitle(const GameRecord* game, int side);
void SetPlayerCountry(GameRecord* game, int side, const char* text);
const char* GetPlayerCountry(const GameRecord* game, int side);

// An empty text leaves these two fields as they are.
void SetGameAnnotator(GameRecord* game, const char* text);
const char* GetGameAnnotator(const GameRecord* game);
void SetGameEco(GameRecord* game, const char* text);
const char* GetGameEco(const GameRecord* game);

void SetGameResult(GameRecord* game, uint32_t code);
uint32_t GetGameResult(const GameRecord* game);

// Comment slot 0 of the game; the getter gives "" when it is empty. False
// when the copy could not be made.
bool SetGameRemarks(GameRecord* game, const char* text);
const char* GetGameRemarks(const GameRecord* game);

// "month-day-year" with a four-digit year; a two-digit year below 71 counts
// as 20xx, else 19xx.
void FormatHeaderDate(int year, int month, int day, char out[20]);
// Defaults: cleared, banner, marker, version, today's date, result 0.
void InitGameHeader(GameRecord* game, const char* banner, int year, int month, int day);

// Copies `text` into a field of `size` bytes, cleared first, cut to fit.
void CopyHeaderField(char* field, size_t size, const char* text);
