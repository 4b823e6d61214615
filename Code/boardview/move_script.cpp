// Move scripts from move records, and their reader.
#include "move_script.h"

#include <cstdlib>

#include "square_names.h"

namespace {

const char kKindLetters[] = "KQRBNP";

std::string SquareOf(int square) { return SquareName(SquareFile(square), SquareRow(square)); }
std::string SquareAt(int row, int file) { return SquareName(file, row); }

bool ReadCode(const char* code, int* colour, int* kind) {
  if (code[0] == '-' || code[1] == '-') {
    *colour = *kind = -1;
    return true;
  }
  if (code[0] != 'W' && code[0] != 'B') return false;
  for (int k = 0; k < 6; ++k)
    if (code[1] == kKindLetters[k]) {
      *colour = code[0] == 'W' ? 0 : 1;
      *kind = k;
      return true;
    }
  return false;
}

}  // namespace

std::string PieceCode(uint8_t piece) {
  int colour = piece & COLOUR_MASK, type = piece & TYPE_MASK;
  if ((colour != WHITE && colour != BLACK) || type > PAWN) return "--";
  return std::string{colour == WHITE ? 'W' : 'B', kKindLetters[type]};
}

std::string BuildMoveScript(const MoveRecord& move, const Board& position, int moverColour, bool backwards) {
  int from = move.from, to = move.to;
  if (!OnBoard(from) || !OnBoard(to)) return std::string();
  int fromRow = SquareRow(from), toRow = SquareRow(to);
  int fromFile = SquareFile(from), toFile = SquareFile(to);
  bool promotion = move.flags & MOVE_PROMOTION;
  bool enPassant = move.flags & MOVE_EN_PASSANT;
  std::string script;
  if (!backwards) {
    bool knight = !promotion && (position[to] & TYPE_MASK) == KNIGHT && position[to] != 0;
    if (knight) {
      bool rowsFirst = std::abs(fromRow - toRow) == 2;
      std::string via = rowsFirst ? SquareAt(toRow, fromFile) : SquareAt(fromRow, toFile);
      script += "K" + SquareOf(from) + via + SquareOf(to);
    } else {
      script += "S" + SquareOf(from) + SquareOf(to);
    }
    if (promotion)
      script += "D" + PieceCode(static_cast<uint8_t>(moverColour | (move.flags & 7))) + SquareOf(to);
    if (enPassant) script += "D--" + SquareAt(fromRow, toFile);
    if (move.flags & MOVE_CASTLE_SHORT) script += "S" + SquareAt(toRow, 7) + SquareAt(toRow, 5);
    if (move.flags & MOVE_CASTLE_LONG) script += "S" + SquareAt(toRow, 0) + SquareAt(toRow, 3);
    return script;
  }
  uint8_t piece = position[from];
  uint8_t captured = move.capturedPiece;
  bool restored = false;
  if (promotion) script += "D" + PieceCode(piece) + SquareOf(to);
  if (enPassant && captured) {
    script += "D" + PieceCode(captured) + SquareAt(fromRow, toFile);
    restored = true;
  }
  if (move.flags & MOVE_CASTLE_SHORT) script += "S" + SquareAt(toRow, 5) + SquareAt(toRow, 7);
  if (move.flags & MOVE_CASTLE_LONG) script += "S" + SquareAt(toRow, 3) + SquareAt(toRow, 0);
  if ((piece & TYPE_MASK) == KNIGHT && piece != 0 && !promotion) {
    bool rowsDifferByOne = std::abs(fromRow - toRow) == 1;
    std::string via = rowsDifferByOne ? SquareAt(fromRow, toFile) : SquareAt(toRow, fromFile);
    script += "K" + SquareOf(to) + via + SquareOf(from);
  } else {
    script += "S" + SquareOf(to) + SquareOf(from);
  }
  if (captured && !restored) script += "D" + PieceCode(captured) + SquareOf(to);
  return script;
}

std::vector<ScriptCommand> ParseMoveScript(const std::string& script) {
  std::vector<ScriptCommand> commands;
  const char* p = script.c_str();
  size_t left = script.size();
  while (left > 0) {
    char op = *p;
    size_t length = op == 'K' ? 7 : (op == 'S' || op == 'D' || op == 'G' || op == 'E') ? 5 : 0;
    if (length == 0) {
      ++p, --left;
      continue;
    }
    if (left < length) break;
    ScriptCommand c{op, -1, -1, {{-1, -1}, {-1, -1}, {-1, -1}}, true};
    if (op == 'S' || op == 'K') {
      for (int i = 0; i < (op == 'K' ? 3 : 2); ++i)
        c.valid = c.valid && ParseSquareName(p + 1 + 2 * i, &c.squares[i][0], &c.squares[i][1]);
    } else if (op == 'D' || op == 'G') {
      c.valid =
          ReadCode(p + 1, &c.colour, &c.kind) && ParseSquareName(p + 3, &c.squares[0][0], &c.squares[0][1]);
    }
    commands.push_back(c);
    p += length;
    left -= length;
  }
  return commands;
}
