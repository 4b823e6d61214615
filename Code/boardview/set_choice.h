// Choosing a room's chess sets: which board sets and piece sets the
// "Select Chess Pieces & Board" lists show for a room and in what order,
// which piece line is selected, what OK picks, and whether a change of sets
// changes anything.
//
// Interface: kMaxPieceLines, kCustomBoardIndex, BoardListIndexes,
// ChoiceBoard, BoardForLine, PieceListIndexes, SelectPieceLine,
// ChooseBoardIndex, ChoosePieceIndex, SetsChange.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "board_drawing.h"
#include "chess_sets.h"

constexpr int kMaxPieceLines = 56;
constexpr int kCustomBoardIndex = -2;

// Board sets allowed in the room, in the list's order: kinds 4, 8, 16, 2,
// then flat sets of size classes 8, 4, 2, 1. "Custom Board" follows them.
std::vector<int> BoardListIndexes(const ChessSetCatalogue& catalogue, int room);

// What the piece list compares a board with.
struct ChoiceBoard {
  uint32_t kindWord = 0;
  int32_t size = 0;
  bool custom = false;
  std::string defaultPieceSet;  // empty for the custom board
};
ChoiceBoard BoardForLine(const ChessSetCatalogue& catalogue, const std::string& boardName, bool customLine,
                         const CustomBoardView& custom);

// Catalogue indexes of the piece sets listed with the board, at most 56.
std::vector<int> PieceListIndexes(const ChessSetCatalogue& catalogue, int room, const ChoiceBoard& board);

// The line to select after a refill: the kept line's name while the user
// has picked and it is still listed, else the board's default piece set
// (the first line when absent), which also clears userPicked.
int SelectPieceLine(const ChessSetCatalogue& catalogue, const std::vector<int>& lines, const std::string& keptName,
                    bool* userPicked, const std::string& defaultName);

// OK: -2 for the custom line, else the first board set of that name.
int ChooseBoardIndex(const ChessSetCatalogue& catalogue, const std::string& boardName, bool customLine);
// OK: the first piece set of the name that fits the board; `current` when none does.
int ChoosePieceIndex(const ChessSetCatalogue& catalogue, const std::string& pieceName, const ChoiceBoard& board,
                     int current);

// False when nothing would change: the same sets, the custom board excepted.
bool SetsChange(int roomBoard, int roomPieces, int board, int pieces);
