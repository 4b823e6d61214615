// The board view and its window: one on-screen chess board with its sprite
// scene (board picture, coordinate labels, turn lights, piece sprites, the
// square-marks layer), created for a room and torn down with it, and the
// board window that shows it and turns mouse and keyboard input into moves.
//
// The view reaches the rest of the program only through BoardViewHost: the
// current game, the room's board settings and pictures, numbered windows,
// the status line, cursors and the move sound. The program implements it
// over the application shell; tests implement it over a plain game.
//
// Interface: BoardViewHost, BoardView, InitBoardViews, TermBoardViews,
// CreateBoardView, DestroyBoardView, RedrawBoardScene, SetScenePalette,
// FitBoardSceneToWindow, ShowTurnLight, HideTurnLights,
// ShowCoordinateLabels, HideCoordinateLabels, HitBoardSprites,
// MarkSquares, ClearSquareMarks, SetLastMoveMarks, SetBoardWndCallback,
// GetBoardWndCallbackData,
// CallBoardWndCallback, IsBoardPieceDragged, UpdateBoardInputLock.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "arrows.h"
#include "board_drawing.h"
#include "board_frame.h"
#include "board_projection.h"
#include "chess_sets.h"
#include "dibkit.h"
#include "move_entry.h"
#include "piece_records.h"
#include "spriteset.h"
#include "square_marks.h"
#include "win/scene_sprites_win32.h"
#include "win/square_marks_win32.h"

constexpr UINT kOfferMoveMessage = 0x8001;
constexpr UINT kGameEventMessage = 0x8103;
constexpr UINT kTurnBoardMessage = 0x810D;
constexpr int kBoardWindowNumber = 4;
constexpr int kRoomWindowNumber = 1;
extern const char* const kBoardWndClass;  // "RWBoardWndClass"

// Game-event codes the board follows.
enum GameEventCode {
  GAME_NEW_POSITION = 0,
  GAME_OVER = 1,
  GAME_MOVE_PLAYED = 9,
  GAME_MOVE_TAKEN_BACK = 10,
  GAME_MOVE_REPLAYED = 11,
  GAME_FREEZE = 13,
  GAME_UNFREEZE = 14,
};

// The eight Board Settings words the board reads.
struct BoardSettings {
  int turnLights = 0;
  int quickEntry = 0;
  int highlightMoveSquares = 1;
  int slidingPieces = SLIDE_FAST;
  int coordinates = 0;
};

// Cursor-set indexes the board uses; a piece cursor is kPieceCursorBase +
// the piece set's cursor kind.
enum BoardCursor { CURSOR_ARROW = 2, CURSOR_MOVE_BOARD = 9, CURSOR_PIECE_BASE = 100 };

class BoardViewHost : public MoveEntryHost {
 public:
  virtual int Room() = 0;
  // The room's board settings: its copies of the set records and pictures.
  virtual BoardSetRecord* RoomBoardSet() = 0;
  virtual PieceSetRecord* RoomPieceSet() = 0;
  virtual PackedDib* RoomBoardBitmap() = 0;
  virtual PackedDib* RoomPieceSheet() = 0;
  // Group 0: coordinate labels (kinds 4..7), group 1: turn lights (8..11); null for none.
  virtual PackedDib* RoomGroupBitmap(int group, int index) = 0;
  virtual PackedDib* RoomBackground() = 0;
  virtual BoardSettings Settings() = 0;
  // The layout's board offset of a room other than the lobby.
  virtual ScreenPoint LayoutBoardOffset() = 0;
  // The program palette and the picture "PAL" it is made from.
  virtual HPALETTE ProgramPalette() = 0;
  virtual const PackedDib* PalettePicture() = 0;
  virtual HWND NumberedWindow(int number) = 0;
  virtual void SetNumberedWindow(int number, HWND window) = 0;
  virtual bool StoredWindowRect(int number, RECT* out) = 0;
  virtual void StoreWindowRect(int number, const RECT& rect) = 0;
  virtual void SetCursorKind(int cursor) = 0;
  // The game's current move (the last one played) and its mover (WHITE/BLACK);
  // false when none.
  virtual bool CurrentMove(MoveRecord* move, int* mover) = 0;
  // The player kind of a side: 0 human; blindfold when the human plays so.
  virtual int PlayerKind(int side) = 0;
  virtual bool PlaysBlindfold(int side) = 0;
  // The framed flat board: 1 when the board window has a sizing frame; the
  // sizes it takes from its width go back into the room's frame block.
  virtual int FrameMode() { return 0; }
  virtual void SetFrameSizes(const FrameBoardSizes&) {}
  // The room's board set index (-2: the custom board) and its custom view.
  virtual int BoardSetIndex() { return 0; }
  virtual CustomBoardView* RoomCustomView() { return nullptr; }
  // The screen height, the largest custom board size.
  virtual int32_t ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }
  // New colours for program palette entries from `first`.
  virtual void ReviseProgramPalette(int, const DibRgbQuad*, int) {}
  // Switching sets: the room copies the set's record and loads its
  // pictures (-2: the custom board, nothing to load); false on failure.
  virtual bool LoadRoomBoardSet(int) { return false; }
  virtual bool LoadRoomPieceSet(int) { return false; }
  virtual int PieceSetIndex() { return 0; }
  // The customize tool: the shaped view written to the room's layout, the
  // colour picker, and the voice clip paused while the board is reshaped.
  virtual void WriteCustomBoardView(const CustomBoardView&) {}
  virtual bool PickColour(HWND, COLORREF*) { return false; }
  virtual void PauseVoiceClip(bool) {}
};

// A markup glyph: a ghost piece on a square, tinted or not.
struct GlyphRecord {
  int32_t inUse;
  int32_t column, row;
  int32_t tinted;
};

using BoardWndCallback = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam, intptr_t data);

struct BoardView {
  BoardViewHost* host = nullptr;
  HWND window = nullptr;
  AnimScene* scene = nullptr;
  PackedDib* boardBitmap = nullptr;
  int boardSprite = -1;
  int boardSpriteImage = -1;
  BoardSetRecord* geometry = nullptr;
  PieceSetRecord* pieceSet = nullptr;
  BoardProjection projection;
  SquareMarks marks;
  MarkLayer markLayer{};
  ScreenPoint drawingOffset{0, 0};
  int32_t drawingScale = 10000;
  // Group 0 labels, group 1 turn lights: bitmaps, sprites, images.
  PackedDib* groupBitmaps[2][4] = {};
  int groupSprites[2][4];
  int groupImages[2][4];
  int flipped = 0;
  std::unique_ptr<SceneSprites> sprites;
  PieceSpriteRecords records;
  int frozen = 0;
  int hideMode = HIDE_NONE;
  // Board drawing: the scene's colour table (the program palette with the
  // board colours), arrows, the custom board and its decorations.
  DibRgbQuad colours[256] = {};
  ArrowSlot arrows[kArrowSlots];
  int boardSetIndex = 0;
  CustomBoardView custom;
  PackedDib* ownedBoardBitmap = nullptr;  // the composed custom board
  PackedDib* ownedPieceSheet = nullptr;   // pieces drawn from the chess font
  int edgeLabels = 1;
  int turnLamps = 1;
  bool customCallbacks = false;
  int customizing = 0;
  HFONT nameFont = nullptr;
  int nameFontPoints = 0;
  // Markup glyphs and tints, the teaching display mode.
  int glyphSprites[28];
  GlyphRecord glyphs[28] = {};
  bool pieceTinted[34] = {};
  int teachingMode = 5261;
  bool coverageShown = false;
};

bool InitBoardViews(HINSTANCE instance);
bool TermBoardViews(HINSTANCE instance);
// Null when the window, the scene or the room's settings are missing.
BoardView* CreateBoardView(BoardViewHost* host, HINSTANCE instance);
int DestroyBoardView(BoardView* view);

// Scene layer. Every visible change of the board ends in RedrawBoardScene;
// with a null rectangle it paints only what sprite operations invalidated.
void SetScenePalette(AnimScene* scene, const PackedDib* palettePicture);
// The same for a view, keeping the table in the view for its board drawing.
void SetViewPalette(BoardView* view, const PackedDib* palettePicture);
void FitBoardSceneToWindow(HWND window, AnimScene* scene, PackedDib* background);
void RedrawBoardScene(BoardView* view, const RECT* rect);
void ShowTurnLight(BoardView* view);
void HideTurnLights(BoardView* view);
void ShowCoordinateLabels(BoardView* view);
void HideCoordinateLabels(BoardView* view);
bool HitBoardSprites(BoardView* view, int x, int y);
// The board picture and both decoration groups taken afresh from the host
// (a regular set) after a switch of board set.
void RebindBoardPictures(BoardView* view);
// The piece sprites rebuilt from the host's piece set and sheet, or from
// the given sheet (which the view then owns).
void RebuildPieceSprites(BoardView* view, PackedDib* ownSheet = nullptr);
// A framed custom board drawn anew, with pieces from the chess font, at the
// size its window's width gives.
void RebuildFramedCustomBoard(BoardView* view, int width);
// Lays the pieces out from the game's position after a whole-board change.
void PlaceBoardFromPosition(BoardView* view);

void MarkSquares(BoardView* view, const char* squares, uint32_t flag);
void ClearSquareMarks(BoardView* view);
void SetLastMoveMarks(BoardView* view, const MoveRecord* move, bool on);

// The owner callback: returns the previous one.
BoardWndCallback SetBoardWndCallback(HWND window, BoardWndCallback callback, intptr_t data);
// The data word given with the current owner callback (0 without one).
intptr_t GetBoardWndCallbackData(HWND window);
LRESULT CallBoardWndCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool IsBoardPieceDragged(HWND window);
BoardView* GetBoardViewOfWindow(HWND window);
// Room 1 only: hides every piece and blocks clicks while a human plays
// blindfold; true when the lock is set.
bool UpdateBoardInputLock(BoardView* view);

// Asks which piece a pawn becomes (1 queen .. 4 knight); set by the program
// to the Promotion dialog, by tests to what they need.
using PromotionAsker = int (*)(HWND owner, int side);
void SetPromotionAsker(PromotionAsker asker);
