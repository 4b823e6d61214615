#include "position_text.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "file_errors.h"
#include "game_host.h"
#include "game_record.h"
#include "notation.h"

namespace {

const char kPieceLetters[] = "KQRBNP";  // index = piece type

int PieceTypeOfLetter(char c) {
  const char* p = std::strchr(kPieceLetters, std::toupper(static_cast<unsigned char>(c)));
  return (p && c) ? static_cast<int>(p - kPieceLetters) : -1;
}

// Splits at blanks (runs of blanks count once).
std::vector<std::string> SplitFields(const char* text) {
  std::vector<std::string> fields;
  std::string field;
  for (const char* p = text; *p; ++p) {
    if (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') {
      if (!field.empty()) fields.push_back(field);
      field.clear();
    } else {
      field += *p;
    }
  }
  if (!field.empty()) fields.push_back(field);
  return fields;
}

}  // namespace

char* BoardToFen(const Board* board, int side, int moveNumber, char* out) {
  std::string fen;
  for (int row = 0; row < 8; ++row) {
    int empty = 0;
    for (int file = 0; file < 8; ++file) {
      uint8_t piece = (*board)[MakeSquare(row, file)];
      if (!piece) {
        ++empty;
        continue;
      }
      if (empty) fen += static_cast<char>('0' + empty);
      empty = 0;
      int type = piece & TYPE_MASK;
      char letter = kPieceLetters[type <= PAWN ? type : PAWN];
      fen += (piece & WHITE) ? letter : static_cast<char>(std::tolower(letter));
    }
    if (empty) fen += static_cast<char>('0' + empty);
    if (row < 7) fen += '/';
  }
  fen += side == BLACK ? " b " : " w ";
  uint8_t rights = (*board)[CASTLING_RIGHTS];
  if (rights & WHITE_SHORT) fen += 'K';
  if (rights & WHITE_LONG) fen += 'Q';
  if (rights & BLACK_SHORT) fen += 'k';
  if (rights & BLACK_LONG) fen += 'q';
  if (!(rights & 15)) fen += '-';
  fen += ' ';
  int ep = (*board)[EN_PASSANT_SQUARE];
  if (ep != NO_SQUARE && OnBoard(ep) && (*board)[ep] && ((*board)[ep] & TYPE_MASK) == PAWN) {
    // The board keeps the pawn; FEN names the square it passed over.
    int passed = ((*board)[ep] & WHITE) ? ep + 16 : ep - 16;
    char square[3];
    fen += SquareToText(passed, square);
  } else {
    fen += '-';
  }
  char tail[32];
  std::snprintf(tail, sizeof tail, " 0 %d", moveNumber);
  fen += tail;
  std::snprintf(out, kFenTextSize, "%s", fen.c_str());
  return out;
}

int ParseFen(const char* text, Board* board, int* side, int* moveNumber) {
  ClearBoard(board);
  std::vector<std::string> fields = SplitFields(text ? text : "");
  if (fields.empty()) return FEN_OFF_BOARD;

  const std::string& placement = fields[0];
  int row = 0, file = 0;
  for (size_t i = 0; i < placement.size(); ++i) {
    char c = placement[i];
    if (c >= '0' && c <= '9') {
      if (i + 1 < placement.size() && std::isdigit(static_cast<unsigned char>(placement[i + 1]))) {
        // A two-digit run of empty squares spans whole rows; the "/" that
        // follows advances the last one.
        int n = (c - '0') * 10 + (placement[i + 1] - '0');
        row += n / 8 - 1;
        ++i;
      } else {
        file += c - '0';
      }
      if (row > 64) row = 64;  // keeps the counters small on long digit runs
      if (file > 64) file = 64;
    } else if (c == '/') {
      ++row;
      file = 0;
      if (row > 64) row = 64;
    } else {
      if (row >= 8 || file >= 8 || row < 0) return FEN_OFF_BOARD;
      int type = PieceTypeOfLetter(c);
      if (type < 0) return FEN_BAD_PIECE;
      (*board)[MakeSquare(row, file)] =
          static_cast<uint8_t>((std::isupper(static_cast<unsigned char>(c)) ? WHITE : BLACK) + type);
      ++file;
    }
  }
  FinishBoardSetup(board);
  *side = WHITE;
  if (fields.size() < 2) return FEN_OK;
  const std::string& sideField = fields[1];
  if (sideField == "w" || sideField == "W") {
    *side = WHITE;
  } else if (sideField == "b" || sideField == "B") {
    *side = BLACK;
  } else {
    return FEN_BAD_SIDE;
  }

  if (fields.size() < 3) return FEN_OK;
  uint8_t allowed = (*board)[CASTLING_RIGHTS];
  uint8_t rights = 0;
  for (char c : fields[2]) {
    if (c == '-') break;
    uint8_t bit = c == 'K'   ? WHITE_SHORT
                  : c == 'Q' ? WHITE_LONG
                  : c == 'k' ? BLACK_SHORT
                  : c == 'q' ? BLACK_LONG
                             : 0;
    if (!bit) return FEN_BAD_CASTLING;
    if (!(allowed & bit)) return FEN_CASTLING_NOT_ALLOWED;
    rights |= bit;
  }
  (*board)[CASTLING_RIGHTS] = rights;

  if (fields.size() < 4) return FEN_OK;
  const std::string& ep = fields[3];
  if (ep != "-") {
    if (ep.size() != 2 || ep[0] < 'a' || ep[0] > 'h' || (ep[1] != '3' && ep[1] != '6'))
      return FEN_BAD_EN_PASSANT;
    int fileIndex = ep[0] - 'a';
    // The pawn stands in front of the square it passed over.
    bool white = ep[1] == '3';
    int pawnSquare = MakeSquare(white ? 4 : 3, fileIndex);
    if ((*board)[pawnSquare] != (white ? WHITE + PAWN : BLACK + PAWN)) return FEN_BAD_EN_PASSANT;
    (*board)[EN_PASSANT_SQUARE] = static_cast<uint8_t>(pawnSquare);
  }

  if (fields.size() < 5) return FEN_OK;
  if (moveNumber) *moveNumber = 1;
  if (fields.size() >= 6 && moveNumber) {
    long n = std::strtol(fields[5].c_str(), nullptr, 10);
    *moveNumber = n >= 1 && n <= 100000 ? static_cast<int>(n) : 1;
  }
  return FEN_OK;
}

char* PositionToText(const Board* board, char* out) {
  char* p = out;
  for (int row = 0; row < 8; ++row) {
    for (int file = 0; file < 8; ++file) {
      uint8_t piece = (*board)[MakeSquare(row, file)];
      int type = piece & TYPE_MASK;
      if (piece) {
        *p++ = (piece & WHITE) ? 'W' : 'B';
        *p++ = kPieceLetters[type <= PAWN ? type : PAWN];
      } else {
        *p++ = '-';
        *p++ = '-';
      }
      *p++ = ' ';
      *p++ = ' ';
    }
    *p++ = '\r';
    *p++ = '\n';
  }
  *p = '\0';
  return out;
}

int ParseBoardTextCode(const char* text, Board* board, int* line) {
  ClearBoard(board);
  const char* p = text ? text : "";
  size_t remaining = std::strlen(p);
  for (int row = 0; row < 8; ++row) {
    if (line) *line = row + 1;
    if (remaining < static_cast<size_t>(30 * (8 - row))) return 3;
    char cells[30];
    for (int i = 0; i < 30; ++i) {
      char c = p[i];
      if (!std::strchr(" \t-WBPRNQK", c) || !c) return 1;
      cells[i] = c;
    }
    p += 30;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == '\r' || *p == '\n') {
      ++p;
      if (*p == '\r' || *p == '\n') ++p;
    } else if (*p != '\0') {
      return 2;
    }
    remaining = std::strlen(p);
    for (int file = 0; file < 8; ++file) {
      char colour = cells[4 * file];
      char letter = cells[4 * file + 1];
      if (colour != '-' && colour != 'W' && colour != 'B') return 4;
      if (letter != '-' && PieceTypeOfLetter(letter) < 0) return 5;
      if ((colour == '-') != (letter == '-')) return 6;
      if (colour == '-') continue;
      (*board)[MakeSquare(row, file)] =
          static_cast<uint8_t>((colour == 'W' ? WHITE : BLACK) + PieceTypeOfLetter(letter));
    }
  }
  FinishBoardSetup(board);
  return 0;
}

int ParseBoardText(const char* text, Board* board) {
  static const char* const kErrors[] = {"",
                                        "Illegal character in file.",
                                        "Too many characters on one line.",
                                        "File does not contain a complete chess board.",
                                        "Color character not found.",
                                        "Piece character not found.",
                                        "Bad character found."};
  int line = 0;
  int code = ParseBoardTextCode(text, board, &line);
  if (code == 0) return 1;
  char message[160];
  std::snprintf(message, sizeof message, "%s %d.\r\n%s", "Error on line number:", line, kErrors[code]);
  GameHost* host = GetGameHost();
  host->ShowMessage(message);
  host->ShowMessage(
      "Board Position:\r\n\r\nValid color characters:  W  B\r\nValid piece characters:  P  R  B  N  Q  K\r\n"
      "Empty spaces designated by two dashes: --\r\n\r\nExample line looks like:\r\n"
      "BR  --  BB  BK  BQ  BB  BN  BR\r\n\r\nThere must be 8 lines.\r\n");
  return 0;
}

uint32_t ValidateBoard(const Board* board) {
  int count[2][6] = {};
  uint32_t faults = 0;
  for (int row = 0; row < 8; ++row) {
    for (int file = 0; file < 8; ++file) {
      uint8_t piece = (*board)[MakeSquare(row, file)];
      if (!piece) continue;
      int type = piece & TYPE_MASK;
      if (type > PAWN) type = PAWN;
      count[(piece & WHITE) ? 0 : 1][type]++;
      if (type == PAWN && row == 0) faults |= FAULT_PAWN_RANK8;
      if (type == PAWN && row == 7) faults |= FAULT_PAWN_RANK1;
    }
  }
  for (int s = 0; s < 2; ++s) {
    int men = 0;
    for (int t = 0; t < 6; ++t) men += count[s][t];
    if (count[s][KING] != 1) faults |= s ? FAULT_BLACK_KINGS : FAULT_WHITE_KINGS;
    if (count[s][PAWN] > 8) faults |= s ? FAULT_BLACK_PAWNS : FAULT_WHITE_PAWNS;
    if (men > 16) faults |= s ? FAULT_BLACK_MEN : FAULT_WHITE_MEN;
    auto excess = [](int n, int normal) { return n > normal ? n - normal : 0; };
    int spare = 8 - count[s][PAWN] - excess(count[s][QUEEN], 1) - excess(count[s][ROOK], 2) -
                excess(count[s][BISHOP], 2) - excess(count[s][KNIGHT], 2);
    if (spare < 0) faults |= s ? FAULT_BLACK_PROMOTED : FAULT_WHITE_PROMOTED;
  }
  return faults;
}

char* BoardFaultsText(uint32_t faults, char* out, size_t size) {
  static const char* const kTexts[] = {"Illegal Board: Pawns may not be placed in rank 8.",
                                       "Illegal Board: Pawns may not be placed in rank 1.",
                                       "Illegal Board: White must have exactly 1 king.",
                                       "Illegal Board: Black must have exactly 1 king.",
                                       "Illegal Board: White has more than 8 pawns.",
                                       "Illegal Board: Black has more than 8 pawns.",
                                       "Illegal Board: White may have only 16 pieces.",
                                       "Illegal Board: Black may have only 16 pieces.",
                                       "Illegal Board: White has too many promoted pieces.",
                                       "Illegal Board: Black has too many promoted pieces."};
  std::string text = "Illegal board description.\r\n";
  for (int bit = 0; bit < 10; ++bit) {
    if (!(faults & (1u << bit))) continue;
    if (bit >= 5 && text.size() >= 210) continue;
    text += kTexts[bit];
    text += "\r\n";
  }
  if (size) std::snprintf(out, size, "%s", text.c_str());
  return out;
}

void ShowBoardFaults(uint32_t faults) {
  char text[1024];
  GetGameHost()->ShowMessage(BoardFaultsText(faults, text, sizeof text));
}

int ReadPositionFile(const char* path, Board* board, int kind, int* side, int* moveNumber) {
  GameHost* host = GetGameHost();
  char status[600];
  std::snprintf(status, sizeof status, "%s %s...", "Reading file", path ? path : "");
  host->SetStatusText(status);
  std::string text;
  int code = ReadWholeFile(path, 8, 2048, &text);
  if (code) {
    host->ShowMessage(FileErrorMessage(code, path).c_str());
    host->ClearStatusText();
    return 0;
  }
  text = text.c_str();  // taken as one NUL-terminated text
  bool parsed;
  if (kind == POSITION_BOARD_TEXT) {
    parsed = ParseBoardText(text.c_str(), board) == 1;
    if (parsed && side) *side = WHITE;
  } else {
    int s = WHITE;
    parsed = ParseFen(text.c_str(), board, &s, moveNumber) == 0;
    if (side) *side = s;
  }
  int result = 0;
  if (parsed) {
    uint32_t faults = ValidateBoard(board);
    if (faults)
      ShowBoardFaults(faults);
    else
      result = 1;
  }
  host->ClearStatusText();
  return result;
}

int WritePositionFile(const char* path, GameRecord* game, const Board* board, int kind) {
  char text[512];
  if (kind == POSITION_BOARD_TEXT) {
    PositionToText(board, text);
  } else {
    int side = game ? static_cast<int>(game->sideToMove) : static_cast<int>(WHITE);
    int moveNumber = 1;
    if (game) {
      int32_t ply = GetCurrentPly(game);
      if (ply < 0) ply = 0;
      moveNumber = static_cast<int>(game->startMoveNumber) + (ply + (game->startSide == BLACK ? 1 : 0)) / 2;
    }
    BoardToFen(board, side, moveNumber, text);
  }
  return ReplaceFileAtomically(path, text, std::strlen(text));
}
