#include "pgn_read.h"

#include <cctype>
#include <cstring>
#include <memory>
#include <vector>

#include "game_end.h"
#include "game_record.h"
#include "header_access.h"
#include "movegen.h"
#include "pgn_text.h"
#include "position_text.h"

using FileLines = PgnFileLines;

namespace {

bool IsTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A line as the reader and the index see it: without a byte-order mark at
// its start (files joined one after the other carry one at each join),
// empty when it starts with "%", trimmed of blanks, tabs, CR and LF.
void PrepareLine(std::string* line) {
  if (size_t bom = pgntext::Utf8BomLength(line->data(), line->size())) line->erase(0, bom);
  if (!line->empty() && (*line)[0] == '%') line->clear();
  size_t end = line->size();
  while (end && IsTrimmed((*line)[end - 1])) --end;
  size_t start = 0;
  while (start < end && IsTrimmed((*line)[start])) ++start;
  line->resize(end);
  if (start) line->erase(0, start);
}

// Joins the pieces of one line (see PgnLineSource) into `line`; false when
// no line is left. `readPiece` fills a buffer of kPgnLineSize bytes.
template <class ReadPiece>
bool JoinLinePieces(ReadPiece readPiece, char* piece, std::string* line) {
  line->clear();
  bool any = false;
  while (readPiece(piece)) {
    any = true;
    piece[kPgnLineSize - 1] = '\0';
    size_t n = std::strlen(piece);
    line->append(piece, n);
    if (n < kPgnLineSize - 1 || piece[n - 1] == '\n') break;
  }
  return any;
}

// Brace comments of a move-text line, so the index knows whether the next
// line is still inside one (a tag line there is comment text, as the reader
// takes it). A ";" outside a comment ends the line's move text.
void TrackBraceComment(const std::string& line, bool* inComment) {
  for (char c : line) {
    if (*inComment) {
      if (c == '}') *inComment = false;
    } else if (c == '{') {
      *inComment = true;
    } else if (c == ';') {
      return;
    }
  }
}

// Length of the null-move token ("--", "Z0") at `at`, 0 when none stands
// there. It must end where a move token ends.
size_t NullMoveAt(const std::string& line, size_t at) {
  size_t end = at + 2;
  while (end < line.size() && (line[end] == '+' || line[end] == '#')) ++end;
  if (end > line.size() || !pgntext::IsPgnNullMove(line.data() + at, end - at)) return 0;
  if (end < line.size() && !std::strchr(" \t(){;$!?", line[end])) return 0;
  return end - at;
}

bool EqualNoCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (std::toupper(static_cast<unsigned char>(*a)) != std::toupper(static_cast<unsigned char>(*b)))
      return false;
  return *a == *b;
}

// Name and value of a tag line (IsPgnTagLine true); the value loses the
// escapes of the PGN standard (\" and \\).
void SplitTagLine(const char* line, std::string* name, std::string* value) {
  const char* firstQuote = std::strchr(line, '"');
  const char* lastQuote = std::strrchr(line, '"');
  const char* nameEnd = line + 1;
  while (*nameEnd && *nameEnd != ' ' && *nameEnd != '\t' && nameEnd < firstQuote) ++nameEnd;
  name->assign(line + 1, nameEnd);
  value->clear();
  for (const char* p = firstQuote + 1; p < lastQuote; ++p) {
    if (*p == '\\' && p + 1 < lastQuote && (p[1] == '"' || p[1] == '\\')) ++p;
    *value += *p;
  }
}

bool IsMoveChar(char c) { return std::strchr("KQRBNabcdefghO12345678+.=#xX-eEpP", c) && c; }
bool IsMoveStart(char c) { return std::strchr("KQRBNabcdefghO", c) && c; }
bool IsGlyph(char c) { return std::strchr("!?/-=", c) && c; }

int PieceTypeOf(char c) {
  switch (c) {
    case 'K':
      return KING;
    case 'Q':
    case 'q':
      return QUEEN;
    case 'R':
    case 'r':
      return ROOK;
    case 'B':
    case 'b':
      return BISHOP;
    case 'N':
    case 'n':
      return KNIGHT;
    default:
      return -1;
  }
}

// The FEN text without the castling rights whose king or rook is not on its
// square and without an en-passant square where no pawn has just passed
// (or that names no square of the third or sixth rank). Anything else stays,
// so a text that is wrong in other ways is still refused.
std::string DropImpossibleFenRights(const char* fen) {
  std::vector<std::string> fields;
  for (const char* p = fen;;) {
    while (*p == ' ' || *p == '\t') ++p;
    if (!*p) break;
    const char* start = p;
    while (*p && *p != ' ' && *p != '\t') ++p;
    fields.emplace_back(start, p);
  }
  if (fields.size() < 3) return fen;
  Board board;
  int side = WHITE;
  if (ParseFen((fields[0] + " " + fields[1]).c_str(), &board, &side, nullptr)) return fen;
  uint8_t allowed = board[CASTLING_RIGHTS];
  std::string rights;
  for (char c : fields[2]) {
    uint8_t bit = c == 'K' ? WHITE_SHORT : c == 'Q' ? WHITE_LONG : c == 'k' ? BLACK_SHORT : c == 'q' ? BLACK_LONG : 0;
    if (!bit || (allowed & bit)) rights += c;
  }
  fields[2] = rights.empty() || rights == "-" ? "-" : rights;
  if (fields.size() >= 4 && fields[3] != "-") {
    const std::string& ep = fields[3];
    bool square = ep.size() == 2 && ep[0] >= 'a' && ep[0] <= 'h' && ep[1] >= '1' && ep[1] <= '8';
    if (square) {
      std::string probe = fields[0] + " " + fields[1] + " - " + ep;
      if (ParseFen(probe.c_str(), &board, &side, nullptr) == FEN_BAD_EN_PASSANT) fields[3] = "-";
    }
  }
  std::string out;
  for (const std::string& f : fields) out += (out.empty() ? "" : " ") + f;
  return out;
}

}  // namespace

// Lines of an open file read in blocks, with the byte offset of each line.
class PgnFileLines {
 public:
  explicit PgnFileLines(std::FILE* file) : file_(file) {}
  void Reset(uint64_t offset) {
    pos_ = len_ = 0;
    offset_ = offset;
  }
  // A whole line, however long, with its LF.
  bool ReadWhole(std::string* line, uint64_t* start) {
    char piece[kPgnLineSize];
    bool first = true;
    return JoinLinePieces(
        [&](char* out) {
          bool read = Read(out, first ? start : nullptr);
          first = false;
          return read;
        },
        piece, line);
  }
  // Up to kPgnLineSize - 1 characters of a line with its LF; a longer line
  // comes in pieces.
  bool Read(char* out, uint64_t* start) {
    if (start) *start = offset_;
    size_t n = 0;
    for (;;) {
      if (pos_ == len_) {
        len_ = file_ ? std::fread(block_, 1, sizeof block_, file_) : 0;
        pos_ = 0;
        if (len_ == 0) break;
      }
      char c = block_[pos_++];
      ++offset_;
      out[n++] = c;
      if (c == '\n' || n == kPgnLineSize - 1) break;
    }
    out[n] = '\0';
    // A NUL inside the line would hide the rest; show it as a blank.
    for (size_t i = 0; i < n; ++i)
      if (!out[i]) out[i] = ' ';
    return n > 0;
  }

 private:
  std::FILE* file_;
  char block_[1 << 16];
  size_t pos_ = 0, len_ = 0;
  uint64_t offset_ = 0;
};

int PgnResultCode(const char* text) {
  if (!std::strcmp(text, "1-0")) return 11;
  if (!std::strcmp(text, "0-1")) return 10;
  if (!std::strcmp(text, "1/2-1/2") || !std::strcmp(text, "0.5-0.5") || !std::strcmp(text, "1/2")) return 9;
  if (!std::strcmp(text, "*")) return 0;
  return 99;
}

bool IsPgnTagLine(const char* line) {
  size_t n = std::strlen(line);
  if (n < 7 || line[0] != '[' || line[n - 1] != ']' || line[n - 2] != '"') return false;
  const char* q = std::strchr(line, '"');
  size_t first = static_cast<size_t>(q - line);
  return first >= 3 && first < n - 2;
}

std::string PgnIndexPath(const char* pgnPath) {
  std::string path = pgnPath ? pgnPath : "";
  size_t dot = path.find_last_of('.');
  size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ".IDX";
  return path.substr(0, dot) + ".IDX";
}

char* BuildPgnListTitle(const GameRecord* game, char* out) {
  std::string title;
  auto given = [](const char* s) { return s && *s && std::strcmp(s, "?") != 0; };
  auto add = [&title](const std::string& part) {
    if (title.size() + part.size() < kPgnTitleSize - 1) title += part;
  };
  const GameHeader& h = game->header;
  if (given(h.date)) add(std::string(h.date) + " - ");
  if (given(game->white.name)) add(game->white.name);
  if (given(game->black.name)) add(std::string(" vs ") + game->black.name);
  if (given(h.event)) add(std::string(", ") + h.event);
  if (given(h.round) && std::strcmp(h.round, "-") != 0) add(std::string(", Round ") + h.round);
  if (given(h.site)) add(std::string(", ") + h.site);
  if (title.empty()) title = "Imported Game";
  for (char& c : title) {
    if (c == '/' || c == ':' || c == '?' || c == '\\') c = '-';
    if (c == '[') c = '(';
    if (c == ']') c = ')';
  }
  std::snprintf(out, kPgnTitleSize, "%s", title.c_str());
  return out;
}

// ---------------------------------------------------------------- reader

void PgnReader::Restart(int lineNumber) {
  pendingLine_ = false;
  lineNumber_ = lineNumber;
}

void PgnReader::GetError(int* line, std::string* text, int* column) const {
  if (line) *line = errorLine_;
  if (text) *text = errorText_;
  if (column) *column = errorColumn_;
}

int PgnReader::SetError(int code, int column) {
  errorLine_ = lineNumber_;
  errorText_ = line_;
  errorColumn_ = column;
  errorMove_.clear();
  return code;
}

bool PgnReader::NextLine(PgnLineSource source, void* context) {
  if (pendingLine_) {
    pendingLine_ = false;
    return true;
  }
  // The pieces of a long line are joined before anything reads it.
  auto readPiece = [source, context](char* out) {
    out[0] = '\0';
    return source(context, out);
  };
  if (!JoinLinePieces(readPiece, piece_, &line_)) return false;
  ++lineNumber_;
  PrepareLine(&line_);
  // Columns of errors then count characters, as the user sees them.
  pgntext::Utf8ToWindows(&line_);
  return true;
}

void PgnReader::SkipToNextGame(PgnLineSource source, void* context) {
  while (NextLine(source, context)) {
    if (IsPgnTagLine(line_.c_str())) {
      pendingLine_ = true;
      return;
    }
  }
}

void PgnReader::AddComment(const char* text, size_t length) {
  if (!length) return;
  bool join = !pending_.empty() && pending_.back() != ' ' && text[0] != ' ';
  if (pending_.size() + (join ? 1 : 0) + length > kPgnCommentSize - 1) return;
  if (join) pending_ += ' ';
  pending_.append(text, length);
}

void PgnReader::AttachComment(GameRecord* game) {
  if (pending_.empty()) return;
  if (lineCount_ > 0 && GetCurrentMove(game))
    SetMoveString(GetCurrentMove(game), pending_.c_str(), SLOT_COMMENT);
  else
    SetGameRemarks(game, pending_.c_str());
  pending_.clear();
}

int PgnReader::ApplyTag(GameRecord* game, const char* line) {
  std::string name, value;
  SplitTagLine(line, &name, &value);
  const char* v = value.c_str();
  GameHeader& h = game->header;
  const char* n = name.c_str();
  if (EqualNoCase(n, "EVENT")) {
    CopyHeaderField(h.event, sizeof h.event, v);
  } else if (EqualNoCase(n, "SITE")) {
    CopyHeaderField(h.site, sizeof h.site, v);
  } else if (EqualNoCase(n, "DATE")) {
    CopyHeaderField(h.date, sizeof h.date, v);
  } else if (EqualNoCase(n, "ROUND")) {
    CopyHeaderField(h.round, sizeof h.round, v);
  } else if (EqualNoCase(n, "WHITE")) {
    CopyHeaderField(game->white.name, sizeof game->white.name, v);
  } else if (EqualNoCase(n, "BLACK")) {
    CopyHeaderField(game->black.name, sizeof game->black.name, v);
  } else if (EqualNoCase(n, "ECO")) {
    CopyHeaderField(h.eco, sizeof h.eco, v);
  } else if (EqualNoCase(n, "ANNOTATOR")) {
    CopyHeaderField(h.annotator, sizeof h.annotator, v);
  } else if (EqualNoCase(n, "WHITEELO")) {
    CopyHeaderField(h.whiteElo, sizeof h.whiteElo, v);
  } else if (EqualNoCase(n, "BLACKELO")) {
    CopyHeaderField(h.blackElo, sizeof h.blackElo, v);
  } else if (EqualNoCase(n, "WHITETITLE")) {
    CopyHeaderField(h.whiteTitle, sizeof h.whiteTitle, v);
  } else if (EqualNoCase(n, "BLACKTITLE")) {
    CopyHeaderField(h.blackTitle, sizeof h.blackTitle, v);
  } else if (EqualNoCase(n, "WHITECOUNTRY")) {
    CopyHeaderField(h.whiteCountry, sizeof h.whiteCountry, v);
  } else if (EqualNoCase(n, "BLACKCOUNTRY")) {
    CopyHeaderField(h.blackCountry, sizeof h.blackCountry, v);
  } else if (EqualNoCase(n, "PLYCOUNT")) {
  } else if (EqualNoCase(n, "FEN")) {
    Board board;
    int side = WHITE;
    int moveNumber = static_cast<int>(game->startMoveNumber);
    int code = ParseFen(v, &board, &side, &moveNumber);
    if (code == FEN_CASTLING_NOT_ALLOWED || code == FEN_BAD_EN_PASSANT) {
      // Castling rights or an en-passant square the position cannot have
      // are dropped, as other programs write them, and the game is read.
      std::string possible = DropImpossibleFenRights(v);
      code = ParseFen(possible.c_str(), &board, &side, &moveNumber);
    }
    if (code) return code;
    // A position that could not occur is refused: move generation needs one
    // king a side.
    if (ValidateBoard(&board)) return FEN_OFF_BOARD;
    game->start = board;
    game->position = board;
    game->startSide = game->sideToMove = static_cast<uint8_t>(side);
    game->startMoveNumber = static_cast<uint32_t>(moveNumber);
  } else if (EqualNoCase(n, "RESULT")) {
    int code = PgnResultCode(v);
    if (code == PGN_BAD_RESULT) return PGN_BAD_RESULT;
    game->result = static_cast<uint32_t>(code);
  } else if (EqualNoCase(n, "SETUP")) {
    if (value != "0" && value != "1") return PGN_BAD_SETUP;
  } else {
    std::string text = name + " \"" + value + "\"";
    AddComment(text.c_str(), text.size());
  }
  return PGN_OK;
}

int PgnReader::ReadTags(PgnLineSource source, void* context, GameRecord* game, bool* ended) {
  *ended = false;
  SeekToPly(game, 0);
  game->position = game->start;
  game->sideToMove = game->startSide;
  game->result = 0;
  game->startMoveNumber = 1;
  game->notation = 0;
  bool sawTag = false;
  while (NextLine(source, context)) {
    if (!IsPgnTagLine(line_.c_str())) {
      if (!sawTag && line_.empty()) continue;  // blank lines before a game
      pendingLine_ = true;
      return PGN_OK;
    }
    sawTag = true;
    sawTags_ = true;
    sawContent_ = true;
    int code = ApplyTag(game, line_.c_str());
    if (code) return SetError(code, 1);
  }
  *ended = true;
  return PGN_OK;
}

int PgnReader::PlayToken(GameRecord* game, const std::string& raw) {
  std::string token;
  for (char c : raw) {
    if (std::strchr("xX.=+#", c)) continue;
    if (token.size() < 28) token += c;
  }
  size_t ep = token.find("ep");
  if (ep == std::string::npos) ep = token.find("EP");
  if (ep != std::string::npos) token.resize(ep);

  // Pseudo-legal moves; only those that fit the token are tested for
  // legality (and given their check and mate flags).
  MoveList& list = moves_;
  uint16_t count = 0;
  GenerateMoves(&game->position, list.moves, &count, nullptr, game->sideToMove, false);
  const int side = game->sideToMove;
  auto legal = [&](MoveRecord* m) {
    Board after = game->position;
    MakeMove(m, &after);
    if (IsSideInCheck(&after, side)) return false;
    if (IsSideInCheck(&after, OtherSide(side))) {
      m->flags |= MOVE_CHECK;
      if (CountLegalMoves(&after, OtherSide(side)) == 0) m->flags |= MOVE_MATE;
    }
    return true;
  };

  const MoveRecord* found = nullptr;
  int matches = 0;
  if (token == "O-O" || token == "0-0" || token == "O-O-O" || token == "0-0-0") {
    uint16_t flag = token.size() == 3 ? MOVE_CASTLE_SHORT : MOVE_CASTLE_LONG;
    for (int i = 0; i < count; ++i)
      if ((list.moves[i].flags & flag) && legal(&list.moves[i])) found = &list.moves[i], ++matches;
  } else {
    std::string t;
    for (char c : token)
      if (c != '-') t += c;
    int piece = PAWN;
    size_t i = 0;
    if (!t.empty() && std::strchr("KQRBN", t[0]))
      piece = PieceTypeOf(t[i++]);
    else if (!t.empty() && (t[0] == 'P' || t[0] == 'p'))
      ++i;
    int promotion = 0;
    size_t end = t.size();
    if (end >= 3 && std::strchr("QRBNqrbn", t[end - 1]) && t[end - 2] >= '1' && t[end - 2] <= '8') {
      promotion = PieceTypeOf(t[end - 1]);
      --end;
    }
    if (end < i + 2 || end - i > 4) return PGN_ILLEGAL_MOVE;
    char toFile = t[end - 2], toRank = t[end - 1];
    if (toFile < 'a' || toFile > 'h' || toRank < '1' || toRank > '8') return PGN_ILLEGAL_MOVE;
    int fromFile = -1, fromRow = -1;
    for (size_t k = i; k < end - 2; ++k) {
      char c = t[k];
      if (c >= 'a' && c <= 'h' && fromFile < 0 && fromRow < 0)
        fromFile = c - 'a';
      else if (c >= '1' && c <= '8' && fromRow < 0)
        fromRow = '8' - c;
      else
        return PGN_ILLEGAL_MOVE;
    }
    int to = MakeSquare('8' - toRank, toFile - 'a');
    for (int k = 0; k < count; ++k) {
      const MoveRecord& m = list.moves[k];
      if (m.to != to || ((game->position[m.from] & TYPE_MASK) != piece)) continue;
      if (m.flags & (MOVE_CASTLE_SHORT | MOVE_CASTLE_LONG)) continue;
      if (fromFile >= 0 && SquareFile(m.from) != fromFile) continue;
      if (fromRow >= 0 && SquareRow(m.from) != fromRow) continue;
      if (m.flags & MOVE_PROMOTION) {
        if ((m.flags & MOVE_PROMOTION_TYPE) != (promotion ? promotion : QUEEN)) continue;
      } else if (promotion) {
        continue;
      }
      if (!legal(&list.moves[k])) continue;
      found = &m;
      ++matches;
    }
  }
  if (matches != 1) return PGN_ILLEGAL_MOVE;
  MoveRecord move = *found;

  AttachComment(game);
  if (depth_ > 0 && depthMoves_[depth_] == 0) {
    // The first move of a variation: the last alternative of the move that
    // the "(" took back.
    if (!GameStepForward(game)) return PGN_NOT_OPEN;
    MoveRecord* added = AddVariationToGame(game, &move);
    int index = -1;
    for (int k = 0; MoveRecord* s = GetSiblingMove(game, k); ++k) {
      if (added ? s == added : SameMove(s, &move)) {
        index = k;
        break;
      }
    }
    if (index < 0 || !GameSelectVariation(game, index)) return PGN_ILLEGAL_MOVE;
  } else if (!AddMoveToGame(game, &move)) {
    return PGN_ILLEGAL_MOVE;
  }
  depthMoves_[depth_]++;
  lineCount_++;
  if (onMove_) onMove_(moveContext_, game, GetCurrentMove(game));
  return PGN_OK;
}

int PgnReader::OpenVariation(GameRecord* game) {
  if (lineCount_ == 0 || depth_ >= kPgnMaxDepth) return PGN_BAD_VARIATION;
  AttachComment(game);
  ++depth_;
  depthMoves_[depth_] = 0;
  returnMove_[depth_] = GetCurrentMove(game);
  returnCount_[depth_] = lineCount_;
  if (!GameStepBack(game)) return PGN_NOT_OPEN;
  --lineCount_;
  return PGN_OK;
}

int PgnReader::CloseVariation(GameRecord* game) {
  if (depth_ == 0) return PGN_BAD_VARIATION;
  AttachComment(game);
  int n = depthMoves_[depth_];
  for (int k = 1; k < n; ++k)
    if (!GameStepBack(game)) return PGN_NOT_OPEN;
  if (n == 0 && !GameStepForward(game)) return PGN_NOT_OPEN;
  int index = -1;
  for (int k = 0; MoveRecord* s = GetSiblingMove(game, k); ++k) {
    if (s == returnMove_[depth_]) {
      index = k;
      break;
    }
  }
  if (index < 0 || !GameSelectVariation(game, index)) return PGN_NOT_OPEN;
  lineCount_ = returnCount_[depth_];
  --depth_;
  return PGN_OK;
}

int PgnReader::ScanLine(GameRecord* game) {
  size_t length = line_.size();
  if (length) sawContent_ = true;
  size_t tokenStart = 0;
  if (state_ == 4) tokenStart = 0;
  for (size_t i = 0; i <= length; ++i) {
    char c = i < length ? line_[i] : '\0';  // '\0' stands for the end of the line
    int column = static_cast<int>(i) + 1;
    bool again;
    do {
      again = false;
      switch (state_) {
        case 0:
          if (!c || c == ' ' || c == '\t') break;
          if (c == '{') {
            state_ = 4;
            tokenStart = i + 1;
          } else if (c >= '1' && c <= '9') {
            state_ = 2, token_.assign(1, c);
          } else if (c == '0' || c == '*') {
            state_ = 3, token_.assign(1, c);
          } else if (c == '.') {
            state_ = 7;
          } else if (IsMoveStart(c)) {
            state_ = 1, token_.assign(1, c);
          } else if (size_t null = NullMoveAt(line_, i)) {
            // The game record holds no move that passes the turn: the game
            // keeps the moves before it and the error names it.
            int code = SetError(PGN_ILLEGAL_MOVE, column + static_cast<int>(null));
            errorMove_ = line_.substr(i, null);
            return code;
          } else if (c == '$') {
            state_ = 9;
          } else if (c == ';') {
            size_t from = i + 1;
            while (from < length && (line_[from] == ' ' || line_[from] == '\t')) ++from;
            AddComment(line_.c_str() + from, length - from);
            return PGN_OK;
          } else if (c == '(') {
            if (int code = OpenVariation(game)) return SetError(code, column);
          } else if (c == ')') {
            if (int code = CloseVariation(game)) return SetError(code, column);
          } else {
            return SetError(PGN_BAD_CHARACTER, column);
          }
          break;
        case 1:
          if (IsMoveChar(c)) {
            token_ += c;
            break;
          }
          if (int code = PlayToken(game, token_)) {
            SetError(code, column);
            if (code == PGN_ILLEGAL_MOVE) errorMove_ = token_;
            return code;
          }
          state_ = 6, again = true;
          break;
        case 2:
          if (c == '-' || c == '/') {
            token_ += c, state_ = 3;
          } else if (c >= '0' && c <= '9') {
            if (token_.size() < 9) token_ += c;
          } else {
            // A move number is only a hint: programs number variations like
            // their parent move or the first move from 1 after a set-up,
            // and the moves themselves say whose turn it is.
            AttachComment(game);
            state_ = 7, again = true;
          }
          break;
        case 3:
          if (c && std::strchr("012-/.*", c)) {
            if (token_.size() < 16) token_ += c;
            break;
          }
          if (token_ == "0-0" || token_ == "0-0-0") {
            state_ = 1, again = true;
            break;
          }
          {
            int code = PgnResultCode(token_.c_str());
            if (code == PGN_BAD_RESULT) return SetError(PGN_BAD_RESULT, column);
            game->result = static_cast<uint32_t>(code);
          }
          state_ = 0, again = true;
          break;
        case 4:
          if (c == '}') {
            AddComment(line_.c_str() + tokenStart, i - tokenStart);
            AttachComment(game);
            state_ = 0;
          } else if (!c) {
            AddComment(line_.c_str() + tokenStart, i - tokenStart);
          }
          break;
        case 6:
          if (!c || c == ' ' || c == '\t' || c == '.') {
            state_ = 0;
          } else if (IsMoveStart(c)) {
            state_ = 1, token_.assign(1, c);
          } else if (IsGlyph(c)) {
            state_ = 8;
          } else if (c == '(' || c == ')' || c == '{' || c == ';' || c == '$') {
            state_ = 0, again = true;  // the move text of PGN needs no blank before these
          } else {
            return SetError(PGN_BAD_CHARACTER, column);
          }
          break;
        case 7:
          if (!c || c == ' ' || c == '\t' || c == '.') {
            state_ = 0;
          } else if (IsMoveStart(c)) {
            state_ = 1, token_.assign(1, c);
          } else if (c == '(' || c == ')' || c == '{' || NullMoveAt(line_, i)) {
            state_ = 0, again = true;
          } else {
            return SetError(PGN_BAD_CHARACTER, column);
          }
          break;
        case 8:
          if (!IsGlyph(c)) state_ = 6, again = true;
          break;
        case 9:
          if (!(c >= '0' && c <= '9')) state_ = 0, again = true;
          break;
      }
    } while (again);
  }
  return PGN_OK;
}

int PgnReader::ParseGame(PgnLineSource source, void* context, GameRecord* game, PgnMoveCallback onMove,
                         void* moveContext, bool tagsOnly) {
  if (!game || !source) return PGN_NOT_OPEN;
  pending_.clear();
  sawContent_ = false;
  sawTags_ = false;
  onMove_ = onMove;
  moveContext_ = moveContext;
  depth_ = 0;
  lineCount_ = 0;
  depthMoves_[0] = 0;
  state_ = 0;
  bool ended = false;
  int code = ReadTags(source, context, game, &ended);
  if (code || ended || tagsOnly) return code;
  while (NextLine(source, context)) {
    if (state_ != 4 && IsPgnTagLine(line_.c_str())) {
      pendingLine_ = true;
      break;
    }
    if ((code = ScanLine(game))) return code;
  }
  if (state_ == 1 || state_ == 2 || state_ == 3) {
    // Every line ends its token; nothing is left open here.
    state_ = 0;
  }
  lineCount_ = lineCount_ > 0 ? lineCount_ : 0;
  AttachComment(game);
  SeekToPly(game, 0);
  while (GameStepForward(game)) {
  }
  if (uint32_t result = ComputeGameResult(game)) game->result = result;
  SeekToPly(game, 0);
  return PGN_OK;
}

// ---------------------------------------------------------------- file stream

bool PgnFileStream::Line(void* context, char* buffer) {
  return static_cast<PgnFileLines*>(context)->Read(buffer, nullptr);
}

int PgnFileStream::ReadGame(GameRecord* game, PgnMoveCallback onMove, void* moveContext) {
  if (!lines_) lines_.reset(new PgnFileLines(file_));
  for (;;) {
    if (failed_) reader_.SkipToNextGame(&Line, lines_.get());
    failed_ = false;
    int code = reader_.ParseGame(&Line, lines_.get(), game, onMove, moveContext);
    if (!reader_.SawContent()) return code ? code : PGN_END;
    if (!reader_.SawTags()) {
      // Whatever it held, the next game starts afresh.
      // (It set no tag, so only its moves and comment are undone.)
      failed_ = code != 0;
      SeekToPly(game, 0);
      ClearGameMoves(game);
      SetGameRemarks(game, nullptr);
      continue;
    }
    failed_ = code != 0;
    return code;
  }
}

PgnFileStream::PgnFileStream(std::FILE* file) : file_(file) {}
PgnFileStream::~PgnFileStream() = default;

// ---------------------------------------------------------------- program-wide reader

namespace {

struct IndexState {
  PgnReader reader;
  std::FILE* pgn = nullptr;
  std::FILE* index = nullptr;
  bool temporary = false;
  int count = 0;
  std::unique_ptr<PgnFileLines> lines;
};

IndexState& State() {
  static IndexState* state = new IndexState;
  return *state;
}

const char kTemporaryIndex[] = "RWONYXTEMP.IDX";

struct MemorySource {
  const char* p;
};

// A line, or a piece of a long one, with LF standing for its line end.
bool MemoryLine(void* context, char* buffer) {
  auto* source = static_cast<MemorySource*>(context);
  const char* p = source->p;
  if (!*p) return false;
  size_t n = 0;
  while (*p && *p != '\r' && *p != '\n' && n < kPgnLineSize - 1) buffer[n++] = *p++;
  if (n < kPgnLineSize - 1) {
    if (*p == '\r') {
      ++p;
      if (*p == '\n') ++p;
    } else if (*p == '\n') {
      ++p;
      if (*p == '\r') ++p;
    }
    buffer[n++] = '\n';
  }
  buffer[n] = '\0';
  source->p = p;
  return true;
}

bool FileLine(void* context, char* buffer) {
  return static_cast<PgnFileLines*>(context)->Read(buffer, nullptr);
}

void PutU32(uint8_t* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t GetU32(const uint8_t* in) {
  return in[0] | (in[1] << 8) | (in[2] << 16) | (static_cast<uint32_t>(in[3]) << 24);
}

int SeekGame(int n) {
  IndexState& s = State();
  if (!s.pgn || !s.index) return PGN_NOT_OPEN;
  if (n < 0 || n >= s.count) return PGN_SEEK_FAILED;
  uint8_t record[8];
  if (std::fseek(s.index, static_cast<long>(n) * 8, SEEK_SET) != 0 || std::fread(record, 1, 8, s.index) != 8)
    return PGN_SEEK_FAILED;
  uint32_t offset = GetU32(record), line = GetU32(record + 4);
  if (std::fseek(s.pgn, static_cast<long>(offset), SEEK_SET) != 0) return PGN_SEEK_FAILED;
  s.lines->Reset(offset);
  s.reader.Restart(line ? static_cast<int>(line) - 1 : 0);
  return PGN_OK;
}

}  // namespace

int ParsePgnGameText(PgnLineSource source, void* context, GameRecord* game, PgnMoveCallback onMove,
                     void* moveContext) {
  return State().reader.ParseGame(source, context, game, onMove, moveContext);
}

int ReadPgnFromMemory(const char* text, GameRecord* game) {
  MemorySource source{text ? text : ""};
  PgnReader& reader = State().reader;
  reader.Restart(0);
  return reader.ParseGame(&MemoryLine, &source, game);
}

void ClosePgnIndex() {
  IndexState& s = State();
  if (s.pgn) std::fclose(s.pgn);
  if (s.index) std::fclose(s.index);
  s.pgn = s.index = nullptr;
  s.lines.reset();
  s.count = 0;
  if (s.temporary) std::remove(kTemporaryIndex);
  s.temporary = false;
}

int BuildPgnIndex(const char* pgnPath, int* count) {
  ClosePgnIndex();
  IndexState& s = State();
  if (count) *count = 0;
  if (!pgnPath) return PGN_CANNOT_OPEN;
  std::string indexPath = PgnIndexPath(pgnPath);
  if (std::FILE* existing = std::fopen(indexPath.c_str(), "rb")) {
    s.pgn = std::fopen(pgnPath, "rb");
    if (!s.pgn) {
      std::fclose(existing);
      return PGN_CANNOT_OPEN;
    }
    s.index = existing;
    long size = 0;
    if (std::fseek(existing, 0, SEEK_END) == 0) size = std::ftell(existing);
    s.count = size > 0 ? static_cast<int>(size / 8) : 0;
  } else {
    s.pgn = std::fopen(pgnPath, "rb");
    if (!s.pgn) return PGN_CANNOT_OPEN;
    std::FILE* out = std::fopen(kTemporaryIndex, "wb");
    if (!out) {
      ClosePgnIndex();
      return PGN_CANNOT_CREATE_INDEX;
    }
    s.temporary = true;
    PgnFileLines lines(s.pgn);
    std::string line;
    uint64_t offset = 0;
    uint32_t number = 0;
    bool inside = false;
    bool inComment = false;
    bool ok = true;
    while (lines.ReadWhole(&line, &offset)) {
      ++number;
      PrepareLine(&line);
      bool tag = !inComment && IsPgnTagLine(line.c_str());
      if (!tag) TrackBraceComment(line, &inComment);
      if (inside && !tag) {
        inside = false;
      } else if (!inside && tag) {
        inside = true;
        uint8_t record[8];
        PutU32(record, static_cast<uint32_t>(offset));
        PutU32(record + 4, number);
        ok = ok && std::fwrite(record, 1, 8, out) == 8;
        ++s.count;
      }
    }
    ok = std::fclose(out) == 0 && ok;
    s.index = ok ? std::fopen(kTemporaryIndex, "rb") : nullptr;
    if (!s.index) {
      ClosePgnIndex();
      return ok ? PGN_CANNOT_OPEN_INDEX : PGN_CANNOT_CREATE_INDEX;
    }
  }
  s.lines.reset(new PgnFileLines(s.pgn));
  if (count) *count = s.count;
  return PGN_OK;
}

int ReadPgnGame(GameRecord* game, int n) {
  int code = SeekGame(n);
  if (code) return code;
  IndexState& s = State();
  return s.reader.ParseGame(&FileLine, s.lines.get(), game);
}

int ReadPgnGameTags(GameRecord* game, char* title, int n) {
  int code = SeekGame(n);
  if (code) return code;
  IndexState& s = State();
  code = s.reader.ParseGame(&FileLine, s.lines.get(), game, nullptr, nullptr, true);
  if (!code && title) BuildPgnListTitle(game, title);
  return code;
}

void GetPgnParseError(int* line, char* text, size_t textSize, int* column) {
  std::string t;
  State().reader.GetError(line, &t, column);
  if (text && textSize) std::snprintf(text, textSize, "%s", t.c_str());
}

void GetPgnParseErrorMove(char* text, size_t textSize) {
  if (text && textSize) std::snprintf(text, textSize, "%s", State().reader.ErrorMove().c_str());
}
