// The rooms' records: one RoomRecord per room with its board settings
// (RoomBoard), and the engine replies queued for the interface thread
// (RoomEvent). The application globals own the eight records; the room
// window and the room modules fill and use them.
//
// Interface: kRoomCount, kNoRoom, RoomId, RoomGameOptions, RoomCustomBoard,
// RoomBoard, RoomRecord, RoomEvent.
#pragma once

#include <cstdint>

struct BoardView;
struct CmMenu;
struct LinkedList;
struct PackedDib;

constexpr int kRoomCount = 8;
// The room window's room number before the first switch.
constexpr int kNoRoom = 9999;

enum RoomId : int32_t {
  ROOM_LOBBY = 0,
  ROOM_GAME = 1,
  ROOM_KIDS = 2,
  ROOM_CLASS = 3,
  ROOM_LIBRARY = 4,
  ROOM_DATABASE = 5,
  ROOM_TOURNAMENT = 6,
  ROOM_ONLINE = 7,
};

// The room's game options: eight switches in the order the board settings
// keep them.
struct RoomGameOptions {
  int32_t turnLights;
  int32_t quickEntry;
  int32_t announceCheck;
  int32_t announceOpenings;
  int32_t timestampAnnotation;
  int32_t highlightMoves;
  int32_t slidingPieces;
  int32_t boardCoordinates;
};

// The custom three-dimensional board view; colours as blue, green, red.
struct RoomCustomBoard {
  int32_t size;
  int32_t tilt;
  int32_t turn;
  int32_t vanishingPoint;
  uint8_t dark[3];
  uint8_t light[3];
};

constexpr int32_t kCustomBoardSet = -2;

struct RoomBoard {
  int32_t boardSet;  // kCustomBoardSet: the custom board
  int32_t pieceSet;
  RoomGameOptions options;
  char boardSetName[64];  // the board set's description
  void* boardSetRecord;  // chosen board-set and piece-set records and their
  void* pieceSetRecord;  // loaded items, kept by the board view
  void* boardSetItems;
  void* pieceSetItems;
  void* setSounds;
  RoomCustomBoard customView;
  int32_t offsetX, offsetY;
  int32_t cursorId;
  BoardView* view;
  int32_t reload;  // the chess sets changed while the room was not current
};

struct RoomRecord;
using RoomCommandHandler = int (*)(void* window, int command);
using RoomMessageCallback = intptr_t (*)(void* window, uintptr_t wParam, intptr_t lParam);
using RoomReleaseCallback = void (*)(RoomRecord* record, int isCurrent);
using RoomTileCommand = void (*)(int controlId);

struct RoomRecord {
  int32_t setUp;  // 0 until the room's module has its board and board window
  int32_t room;   // 0..7
  void* boardWindow;
  RoomBoard* board;  // owned
  CmMenu* menu;
  RoomCommandHandler commandHandler;
  RoomMessageCallback messageCallback;
  RoomReleaseCallback release;
  void* accelerators;
  // Wallpaper: kind 1 a bitmap file, 0 a gradient of two colours.
  int32_t wallpaperIsBitmap;
  PackedDib* wallpaperBitmap;
  char wallpaperFile[260];
  uint32_t gradient[2];
  // Shortcut tiles: shown when tileId is not zero.
  uint16_t tileId;
  char tileBitmap[32];
  RoomTileCommand tileCommand;
  void* roomData;  // owned by the room's module
};

// One engine reply for the interface thread; exactly one block is set.
struct RoomEvent {
  uint8_t guid[16];
  int32_t slot;
  void* move;
  void* thinking;
  void* statistics;
  void* text;
};
