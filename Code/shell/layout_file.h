// Layout files (".lay"): per user, where every numbered window stands in
// each room and how each room's board looks. A layout file is a
// private-profile file with one section per room (the room's name); it is
// read and written only through the profile seam, so this module needs no
// operating system. What it needs of the board view and the database
// window comes through LayoutHooks.
//
// Interface: LayoutHooks, GetLayoutHooks, SetLayoutHooks, kLayoutCustomBoard,
// GetCurrentLayoutPath, GetBackupLayoutPath, ScanLayoutValue,
// ReadLayoutRects, WriteLayoutRects, ReadBoardSetNames, WriteBoardSetNames,
// ReadCustomBoardView, WriteCustomBoardView, ReadBoardOffset,
// WriteBoardOffset, ApplyLayoutFile, SaveLayoutFile, SaveUserLayout.
#pragma once

#include <cstdint>

#include "room_records.h"
#include "window_table.h"

// The board set name that stands for the custom board (compared exactly).
constexpr const char* kLayoutCustomBoard = "Custom Board";

struct LayoutHooks {
  // The chess-set catalogue: index of a set by name (any letter case), or
  // -1; the name of set n, or null. Default: no catalogue.
  int (*findBoardSet)(const char* name);
  int (*findPieceSet)(const char* name);
  const char* (*boardSetName)(int index);
  const char* (*pieceSetName)(int index);
  // Reloads a room's sets read from a layout file (file may be null).
  // Default: nothing.
  void (*applyRoomChessSets)(int room, int boardSet, int pieceSet, const char* file);
  // The customise-board window enabled or disabled. Default: nothing.
  void (*enableCustomizeBoard)(int enable);
  // The database window's own keys in the database room's section.
  void (*readDatabaseLayout)(const char* file);
  void (*writeDatabaseLayout)(const char* file);
  // Copies a file over another (for keys this program does not write).
  // Default: the standard library's copy.
  void (*copyFile)(const char* from, const char* to);
  // The frame's stored rectangle in the current room and the screen
  // height. Default: the numbered-window table.
  int (*frameRect)(ShellRect* rect);
  int (*screenHeight)();
  // Menu state after a layout was applied. Default: nothing.
  void (*updateMenuState)();
};

const LayoutHooks& GetLayoutHooks();
// Copies the table; null entries take their default.
void SetLayoutHooks(const LayoutHooks& hooks);

// "<user folder>\<user>.lay" and "<user folder>\backup.lay" into the
// buffer (260 bytes); null buffer gives null.
char* GetCurrentLayoutPath(char* buffer);
char* GetBackupLayoutPath(char* buffer);

// A window value: "%d %d %d %d %d" into left, top, right, bottom and the
// shown flag; missing numbers leave zeros. Answers the numbers read.
int ScanLayoutValue(const char* text, LayoutEntry* entry);

// All rooms' window rectangles from / to the file (see layout_file.cpp for
// the rooms' limits). Windows 11, 12 and 22 are never stored as shown.
void ReadLayoutRects(const char* file);
void WriteLayoutRects(const char* file);

// Board and piece set of a room: the catalogue indices; -2 for the custom
// board, -1 for a name not in the catalogue. A null file: the current one.
void ReadBoardSetNames(const char* file, int room, int32_t* boardSet, int32_t* pieceSet);
void WriteBoardSetNames(const char* file, int room, int32_t boardSet, int32_t pieceSet);
void ReadCustomBoardView(const char* file, int room, RoomCustomBoard* view);
void WriteCustomBoardView(const char* file, int room, const RoomCustomBoard* view);
void ReadBoardOffset(const char* file, int room, int32_t* x, int32_t* y);
void WriteBoardOffset(const char* file, int room, int32_t x, int32_t y);

// 0 always (also for a null file / path).
int ApplyLayoutFile(const char* file);
int SaveLayoutFile(const char* path);
// 1 when it declined to save because of the frame's size or position.
int SaveUserLayout();
