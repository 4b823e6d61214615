// A test room for board views under Wine: the generated chess sets read
// from the native tree's folder, a game between two humans on a plain
// board, and every host call answered from fields the tests set.
#pragma once

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "board.h"
#include "guitest.h"
#include "movegen.h"
#include "notation.h"
#include "position_setup.h"
#include "win/board_view_win32.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct FolderSets : ChessSetHost {
  bool DataSetOpen() override { return true; }
  bool LoadDataItem(const std::string& name, std::vector<uint8_t>* out) override {
    *out = ReadFile(std::string(RW_SETS_DIR) + "/" + name);
    return !out->empty();
  }
  std::string GetSoundFileName(int) override { return std::string(); }
  std::string ProgramFolder() override { return std::string(); }
  bool WriteWaveFile(const std::vector<uint8_t>&, const std::string&) override { return false; }
};

PackedDib* ReadSetPicture(const char* item) {
  return dibReadFile((std::string(RW_SETS_DIR) + "/" + RecordName(item, kItemNameSize)).c_str());
}

// A room with a game between two humans; moves are made on a plain board
// and announced to the board window as the game would.
class TestRoom : public BoardViewHost {
 public:
  Board board{};
  int side = WHITE;
  bool humans[2] = {true, true};
  bool blindfold = false;
  bool over = false;
  int room = 2;
  BoardSettings settings;
  BoardSetRecord boardSet{};
  PieceSetRecord pieceSet{};
  PackedDib* boardBitmap = nullptr;
  PackedDib* sheet = nullptr;
  PackedDib* background = nullptr;
  PackedDib* palettePicture = nullptr;
  PackedDib* lights[4] = {};
  HPALETTE palette = nullptr;
  HWND roomWindow = nullptr;
  HWND boardWindow = nullptr;
  RECT stored[32] = {};
  std::vector<MoveRecord> played;
  std::vector<int> movers;
  std::vector<std::string> status;
  int cursor = 0;

  const ChessSetCatalogue* catalogue_ = nullptr;
  int pieceIndex = 0;
  std::vector<std::string> layoutKeys;

  TestRoom(const ChessSetCatalogue& catalogue, int boardIndex, int roomNumber) : room(roomNumber) {
    catalogue_ = &catalogue;
    catalogue.CopyBoardSet(&boardSet, boardIndex);
    pieceIndex = catalogue.FindPieceSet(boardSet.defaultPieceSet);
    catalogue.CopyPieceSet(&pieceSet, pieceIndex);
    boardBitmap = ReadSetPicture(boardSet.boardItem);
    sheet = ReadSetPicture(pieceSet.sheetItem);
    // The program palette picture "PAL" as the program data makes it.
    palettePicture = dibReadFile(RW_PROGDATA_DIR "/PAL.bmp");
    if (!palettePicture) palettePicture = ReadSetPicture(catalogue.GetBoardSetRecord(0)->boardItem);
    palette = guitest::MakePalette([this](int i) {
      const DibRgbQuad* q = static_cast<const DibRgbQuad*>(dibGetColorArea(palettePicture)) + i;
      return PALETTEENTRY{q->red, q->green, q->blue, 0};
    });
    SetInitialBoard(&board);
    // Turn lights: a small green and a small red lamp of our own.
    for (int i = 0; i < 4; ++i) {
      lights[i] = dibCreateWithColors(12, 12, 8);
      dibFillWithColor(lights[i], i % 2 == 0 ? 250 : 249);
    }
    boardSet.lightX = 0;
    boardSet.lightY = 0;
  }
  ~TestRoom() override {
    for (PackedDib* d :
         {boardBitmap, sheet, background, palettePicture, lights[0], lights[1], lights[2], lights[3]})
      if (d) dibDelete(d);
    if (palette) DeleteObject(palette);
  }

  void OpenWindow(int width, int height) {
    background = dibCreateWithColors(width, height, 8);
    dibFillWithColor(background, 248);
    roomWindow = guitest::CreateTestWindow(RECT{0, 0, width, height});
    GetClientRect(roomWindow, &stored[kRoomWindowNumber]);
  }

  bool HaveGame() override { return true; }
  bool GameOver() override { return over; }
  const Board& Position() override { return board; }
  int SideToMove() override { return side; }
  bool HumanToMove() override { return humans[side == WHITE ? 0 : 1]; }
  int OfferMove(MoveRecord*) override { return 0; }
  void PlayMove(MoveRecord* move) override {
    MoveRecord made = *move;
    std::memset(made.texts, 0, sizeof made.texts);
    MakeMove(&made, &board);
    played.push_back(made);
    movers.push_back(side);
    side = OtherSide(side);
    SendMessageA(boardWindow, kGameEventMessage, GAME_MOVE_PLAYED, 0);
  }
  int AskPromotion(int) override { return 1; }
  void ShowStatus(const std::string& text) override { status.push_back(text); }
  void SayIllegal() override {}
  void Beep() override {}
  bool FindMoveForSquare(int square, MoveRecord* out) override {
    MoveRecord list[kMoveListRoom];
    uint16_t count = 0;
    GenerateLegalMoves(&board, list, &count, side);
    for (bool toSquare : {true, false}) {
      int found = 0;
      for (int i = 0; i < count; ++i)
        if ((toSquare ? list[i].to : list[i].from) == square) {
          if (++found == 1) *out = list[i];
        }
      if (found == 1) return true;
      if (found > 1) return false;
    }
    return false;
  }
  bool ParseMoveInput(int key, char* typed, size_t size, bool* beep, MoveRecord* out) override {
    size_t n = std::strlen(typed);
    if (n + 1 >= size) return false;
    typed[n] = static_cast<char>(key);
    typed[n + 1] = 0;
    *beep = false;
    return ParseAlgebraicMove(out, typed, &board, side);
  }

  int Room() override { return room; }
  BoardSetRecord* RoomBoardSet() override { return &boardSet; }
  PieceSetRecord* RoomPieceSet() override { return &pieceSet; }
  PackedDib* RoomBoardBitmap() override { return boardBitmap; }
  PackedDib* RoomPieceSheet() override { return sheet; }
  // The custom board draws its own lamps.
  PackedDib* RoomGroupBitmap(int group, int index) override {
    return group == 1 && boardSetIndex != -2 ? lights[index] : nullptr;
  }
  PackedDib* RoomBackground() override { return background; }
  BoardSettings Settings() override { return settings; }
  // The layout leaves room for the picture's frame round the squares.
  ScreenPoint layoutOffset{0, 0};
  ScreenPoint LayoutBoardOffset() override {
    if (!IsFlatBoard(boardSet)) return layoutOffset;
    return ScreenPoint{boardSet.centreX - boardSet.size / 2, boardSet.centreY - boardSet.size / 2};
  }
  HPALETTE ProgramPalette() override { return palette; }
  const PackedDib* PalettePicture() override { return palettePicture; }
  HWND NumberedWindow(int number) override {
    return number == kRoomWindowNumber ? roomWindow : number == kBoardWindowNumber ? boardWindow : nullptr;
  }
  void SetNumberedWindow(int number, HWND window) override {
    if (number == kBoardWindowNumber) boardWindow = window;
  }
  bool StoredWindowRect(int number, RECT* out) override {
    *out = stored[number];
    return true;
  }
  void StoreWindowRect(int number, const RECT& rect) override { stored[number] = rect; }
  void SetCursorKind(int kind) override { cursor = kind; }
  bool CurrentMove(MoveRecord* move, int* mover) override {
    if (played.empty()) return false;
    *move = played.back();
    *mover = movers.back();
    return true;
  }
  int PlayerKind(int s) override { return humans[s == WHITE ? 0 : 1] ? 0 : 1; }
  bool PlaysBlindfold(int) override { return blindfold; }
  int frameMode = 0;
  FrameBoardSizes frameSizes{};
  int FrameMode() override { return frameMode; }
  void SetFrameSizes(const FrameBoardSizes& sizes) override { frameSizes = sizes; }
  int boardSetIndex = 0;
  CustomBoardView customView;
  int BoardSetIndex() override { return boardSetIndex; }
  bool LoadRoomBoardSet(int index) override {
    boardSetIndex = index;
    if (index == -2) return true;
    if (!catalogue_->CopyBoardSet(&boardSet, index)) return false;
    if (boardBitmap) dibDelete(boardBitmap);
    boardBitmap = ReadSetPicture(boardSet.boardItem);
    return boardBitmap != nullptr;
  }
  bool LoadRoomPieceSet(int index) override {
    if (!catalogue_->CopyPieceSet(&pieceSet, index)) return false;
    pieceIndex = index;
    if (sheet) dibDelete(sheet);
    sheet = ReadSetPicture(pieceSet.sheetItem);
    return sheet != nullptr;
  }
  int PieceSetIndex() override { return pieceIndex; }
  void WriteCustomBoardView(const CustomBoardView& view) override {
    customView = view;
    for (const char* key : {"size_custom", "tilt_custom", "turn_custom", "vanishpt_custom"}) layoutKeys.push_back(key);
  }
  CustomBoardView* RoomCustomView() override { return &customView; }
  void ReviseProgramPalette(int first, const DibRgbQuad* colours, int count) override {
    std::vector<PALETTEENTRY> entries(count);
    for (int i = 0; i < count; ++i) entries[i] = PALETTEENTRY{colours[i].red, colours[i].green, colours[i].blue, 0};
    SetPaletteEntries(palette, first, count, entries.data());
  }

  void SetPosition(const char* fen) {
    ASSERT_TRUE(SetupPositionFromFen(fen, &board, &side));
    played.clear();
    movers.clear();
    SendMessageA(boardWindow, kGameEventMessage, GAME_NEW_POSITION, 0);
    guitest::Pump(60);
  }
};

}  // namespace
