#include "set_choice.h"

namespace {

uint32_t Kind(uint32_t word) { return word >> 16; }
uint32_t SizeClass(uint32_t word) { return word & 0xFFFF; }
bool InRoom(uint32_t mask, int room) { return room >= 0 && room < 32 && (mask >> room & 1); }

bool SameName(const char* field, size_t size, const std::string& name) {
  return RecordName(field, size) == name;
}

bool Fits(const PieceSetRecord& piece, const ChoiceBoard& board) {
  uint32_t sizeClass = SizeClass(piece.kindWord);
  bool boardFlat = Kind(board.kindWord) == BOARD_FLAT;
  if (piece.kindWord == board.kindWord) return true;
  if ((sizeClass & 1) && (boardFlat || (board.custom && Kind(board.kindWord) == BOARD_PERSPECTIVE) ||
                          (SizeClass(board.kindWord) & 2)))
    return true;
  return (sizeClass & 2) && Kind(piece.kindWord) == BOARD_FLAT && boardFlat && board.size >= 310;
}

}  // namespace

std::vector<int> BoardListIndexes(const ChessSetCatalogue& catalogue, int room) {
  std::vector<int> out;
  struct Pass {
    uint32_t kind, sizeClass;  // sizeClass 0: any
  } passes[] = {{4, 0}, {8, 0}, {16, 0}, {2, 0}, {1, 8}, {1, 4}, {1, 2}, {1, 1}};
  for (const Pass& pass : passes)
    for (int n = 0; n < catalogue.boardCount(); ++n) {
      const BoardSetRecord* b = catalogue.GetBoardSetRecord(n);
      if (!InRoom(b->roomsMask, room) || Kind(b->kindWord) != pass.kind) continue;
      if (pass.sizeClass && SizeClass(b->kindWord) != pass.sizeClass) continue;
      out.push_back(n);
    }
  return out;
}

ChoiceBoard BoardForLine(const ChessSetCatalogue& catalogue, const std::string& boardName, bool customLine,
                         const CustomBoardView& custom) {
  ChoiceBoard board;
  if (customLine) {
    board.custom = true;
    board.kindWord = CustomBoardKindWord(custom);
    board.size = custom.size;
    return board;
  }
  int n = catalogue.FindBoardSet(boardName.c_str());
  if (const BoardSetRecord* b = catalogue.GetBoardSetRecord(n)) {
    board.kindWord = b->kindWord;
    board.size = b->size;
    board.defaultPieceSet = RecordName(b->defaultPieceSet, kSetNameSize);
  }
  return board;
}

std::vector<int> PieceListIndexes(const ChessSetCatalogue& catalogue, int room, const ChoiceBoard& board) {
  std::vector<int> out;
  for (int n = 0; n < catalogue.pieceCount() && static_cast<int>(out.size()) < kMaxPieceLines; ++n) {
    const PieceSetRecord* p = catalogue.GetPieceSetRecord(n);
    if (InRoom(p->roomsMask, room) && Fits(*p, board)) out.push_back(n);
  }
  return out;
}

int SelectPieceLine(const ChessSetCatalogue& catalogue, const std::vector<int>& lines, const std::string& keptName,
                    bool* userPicked, const std::string& defaultName) {
  auto find = [&](const std::string& name) {
    for (size_t i = 0; i < lines.size(); ++i)
      if (SameName(catalogue.GetPieceSetRecord(lines[i])->name, kSetNameSize, name)) return static_cast<int>(i);
    return -1;
  };
  int kept = find(keptName);
  if (*userPicked && kept >= 0) return kept;
  *userPicked = false;
  int line = find(defaultName);
  return line >= 0 ? line : 0;
}

int ChooseBoardIndex(const ChessSetCatalogue& catalogue, const std::string& boardName, bool customLine) {
  if (customLine) return kCustomBoardIndex;
  for (int n = 0; n < catalogue.boardCount(); ++n)
    if (SameName(catalogue.GetBoardSetRecord(n)->name, kSetNameSize, boardName)) return n;
  return -1;
}

int ChoosePieceIndex(const ChessSetCatalogue& catalogue, const std::string& pieceName, const ChoiceBoard& board,
                     int current) {
  bool anyOfName = board.custom || (SizeClass(board.kindWord) & (4 | 8 | 16)) == 0;
  for (int n = 0; n < catalogue.pieceCount(); ++n) {
    const PieceSetRecord* p = catalogue.GetPieceSetRecord(n);
    if (!SameName(p->name, kSetNameSize, pieceName)) continue;
    if (anyOfName || Kind(p->kindWord) == Kind(board.kindWord)) return n;
  }
  return current;
}

bool SetsChange(int roomBoard, int roomPieces, int board, int pieces) {
  if (board == kCustomBoardIndex) return true;
  return board != roomBoard || pieces != roomPieces;
}
