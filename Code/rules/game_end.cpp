#include "game_end.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "chess_clock.h"
#include "game_host.h"
#include "game_record.h"
#include "movegen.h"
#include "notation.h"

namespace {

const char* const kResultTexts[] = {
    "",
    "White Checkmated",
    "Black Checkmated",
    "Stalemate",
    "Draw by Threefold Repetition",
    "Draw by 20-Move Rule",
    "Draw by 50-Move Rule",
    "Draw by 100-Move Rule",
    "Draw by Insufficient Material",
    "Draw by Agreement",
    "White Resigned",
    "Black Resigned",
    "White Lost on Time",
    "Black Lost on Time",
    "",
    "Game Adjourned",
    "Game Aborted",
    "Opponent Disconnected",
};

const char kNotYourTurn[] = "It's not your turn.";

// Personality words read here.
constexpr int kPersonalityEngineKind = 10;
constexpr int kPersonalityBookDepth = 19;
constexpr int kPersonalityDrawThreshold = 22;
constexpr int32_t kOutsideEngineKind = 178;

int32_t ReadWord(const uint8_t* block, int index) {
  const uint8_t* p = block + 4 * index;
  return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// Same placement, side (the caller compares positions of one side to move),
// castling rights and legal moves (which tells en-passant rights apart where
// they matter).
bool SamePosition(const Board& a, const Board& b, int side) {
  return a[CASTLING_RIGHTS] == b[CASTLING_RIGHTS] && PositionsEqual(&a, &b, side);
}

// Threefold repetition of the position after line[index], which stands on
// `board` with `side` to move. Stepping back: positions with the other side
// to move are skipped; the walk stops at a capture and where the castling
// rights before a move differ from those before the last move. A stored
// hash that matches is confirmed by comparing the positions, so that a hash
// collision never counts. The start position is compared as well.
bool ThreefoldAt(const std::vector<MoveTreeNode*>& line, int index, const Board& board, int side) {
  const MoveRecord* last = line[index]->move;
  Board walk = board;
  int count = 1;
  for (int i = index; i >= 0; --i) {
    const MoveRecord* m = line[i]->move;
    if (i != index && ((index - i) % 2) == 0 && m->hash == last->hash && SamePosition(walk, board, side)) {
      if (++count >= 3) return true;
    }
    if ((m->flags & MOVE_CAPTURE) || m->undoCastling != last->undoCastling) return false;
    UnmakeMove(m, &walk);
  }
  // The start position counts too (it has no move that stores its hash).
  return ((index + 1) % 2) == 0 && SamePosition(walk, board, side) && ++count >= 3;
}

PlayerRecord* Opponent(GameRecord* game) { return GetPlayerNotToMove(game); }

bool NoMoveBox(uint32_t kind) {
  return kind & (GAME_NO_RESULT_TEXT | GAME_NO_END_BOX_1 | GAME_NO_END_BOX_2 | GAME_NO_END_BOX_3 |
                 GAME_NO_END_BOX_4);
}

}  // namespace

MaterialCount CountMaterial(const Board* board) {
  MaterialCount m{};
  m.bishopSquare[0] = m.bishopSquare[1] = -1;
  for (int sq = 0; sq < 128; ++sq) {
    if (!OnBoard(sq) || !board->sq[sq]) continue;
    int c = (board->sq[sq] & COLOUR_MASK) == WHITE ? 0 : 1;
    int type = board->sq[sq] & TYPE_MASK;
    if (type > PAWN) continue;
    m.pieces[c][type]++;
    if (type != KING) m.nonKing[c]++;
    if (type == BISHOP || type == KNIGHT) m.minors[c]++;
    if (type == BISHOP) m.bishopSquare[c] = sq;
  }
  return m;
}

bool IsInsufficientMaterial(const Board* board) {
  if (!board) return false;
  MaterialCount m = CountMaterial(board);
  for (int c = 0; c < 2; ++c)
    if (m.pieces[c][PAWN] || m.pieces[c][ROOK] || m.pieces[c][QUEEN]) return false;
  if (m.minors[0] == 0 && m.minors[1] == 0) return true;
  if ((m.minors[0] == 1 && m.minors[1] == 0) || (m.minors[0] == 0 && m.minors[1] == 1)) return true;
  if (m.minors[0] == 1 && m.minors[1] == 1 && m.pieces[0][BISHOP] == 1 && m.pieces[1][BISHOP] == 1) {
    int a = m.bishopSquare[0], b = m.bishopSquare[1];
    return ((SquareRow(a) + SquareFile(a)) & 1) == ((SquareRow(b) + SquareFile(b)) & 1);
  }
  return false;
}

bool HasMatingMaterial(const Board* board, int colour) {
  if (!board) return false;
  return CountMaterial(board).nonKing[colour == WHITE ? 0 : 1] > 0;
}

bool IsRookBishopVsRook(const Board* board) {
  if (!board) return false;
  MaterialCount m = CountMaterial(board);
  int sums[2] = {0, 0};
  for (int c = 0; c < 2; ++c) {
    if (m.pieces[c][QUEEN] || m.pieces[c][KNIGHT] || m.pieces[c][PAWN]) return false;
    for (int type = QUEEN; type <= PAWN; ++type) sums[c] += type * m.pieces[c][type];
  }
  return (sums[0] == ROOK + BISHOP && sums[1] == ROOK) || (sums[1] == ROOK + BISHOP && sums[0] == ROOK);
}

bool IsThreefoldRepetition(GameRecord* game) {
  if (!game || !GetTreeMove(game->tree)) return false;
  std::vector<MoveTreeNode*> line = TreeLineNodes(game->tree);
  return ThreefoldAt(line, static_cast<int>(line.size()) - 1, game->position, game->sideToMove);
}

int ScanDrawRules(GameRecord* game, bool shortRule) {
  if (!game) return 0;
  std::vector<MoveTreeNode*> line = TreeLineNodes(game->tree);
  Board walk = game->position;
  int side = game->sideToMove;
  int plies = 0;
  for (int i = static_cast<int>(line.size()) - 1; i >= 0; --i) {
    const MoveRecord* m = line[i]->move;
    ++plies;
    if (m->flags & MOVE_CAPTURE) return 0;
    if (ThreefoldAt(line, i, walk, side)) return 3;
    UnmakeMove(m, &walk);
    side = OtherSide(side);
    if ((walk[m->from] & TYPE_MASK) == PAWN && walk[m->from]) return 0;
    if (plies >= 40 && shortRule) return 1;
    if (plies >= 100) {
      if (!IsRookBishopVsRook(&walk)) return 2;
      if (plies >= 200) return 4;
    }
  }
  return 0;
}

uint32_t ComputeGameResult(GameRecord* game) {
  if (!game) return 0;
  int side = game->sideToMove;
  if (CountLegalMoves(&game->position, side) == 0) {
    if (IsSideInCheck(&game->position, WHITE)) return RESULT_WHITE_MATED;
    if (IsSideInCheck(&game->position, BLACK)) return RESULT_BLACK_MATED;
    return RESULT_STALEMATE;
  }
  if (IsInsufficientMaterial(&game->position)) return RESULT_INSUFFICIENT;
  switch (ScanDrawRules(game, false)) {
    case 1:
      return RESULT_20_MOVES;
    case 2:
      return RESULT_50_MOVES;
    case 3:
      return RESULT_REPETITION;
    case 4:
      return RESULT_100_MOVES;
    default:
      return 0;
  }
}

bool IsGameOver(GameRecord* game) { return !game || game->result != 0 || ComputeGameResult(game) != 0; }

bool IsFlagFallen(const GameRecord* game, int side) {
  if (!game || game->result != 0) return false;
  const PlayerRecord* player = side == WHITE ? &game->white : &game->black;
  if (player->kind == PLAYER_REMOTE) return false;
  return ClockFlagDown(game, side);
}

void AnnounceFlagFall(GameRecord* game, int side) {
  if (!game) return;
  ChessClock* clock = ClockForSide(game, side);
  if (clock->announced) return;
  clock->announced = 1;
  GameHost* host = GetGameHost();
  host->ShowModelessMessage(side == WHITE ? "White's time has elapsed" : "Black's time has elapsed", 120);
  if (game->kind & GAME_ONLINE) host->NotifyOnlineGameOver();
}

int EndGame(GameRecord* game, uint32_t code) {
  if (!game) return -1;
  GameHost* host = GetGameHost();
  if (code == RESULT_WHITE_TIME && !HasMatingMaterial(&game->position, BLACK)) code = RESULT_INSUFFICIENT;
  if (code == RESULT_BLACK_TIME && !HasMatingMaterial(&game->position, WHITE)) code = RESULT_INSUFFICIENT;
  game->result = code;
  char text[64];
  GetResultText(code, text, sizeof text);
  if (!(game->kind & GAME_NO_RESULT_TEXT)) host->SetStatusText(text);
  if (game->kind & GAME_ONLINE) {
    host->EndOnlineGame(static_cast<int>(code));
    return 0;
  }
  host->BroadcastGameEvent(GAME_EVENT_OVER, game);
  if (game->kind & GAME_TOURNAMENT) {
    if (code != RESULT_ADJOURNED) host->AdvanceTournamentScript(game);
  } else if (game->kind & GAME_BOOKED) {
    if (code != RESULT_ADJOURNED) host->RecordFinishedGame(game);
  } else if (game->kind & GAME_DRILL) {
    host->SendDrillEndCommand();
    host->ShowModelessMessage(text, 120);
  } else if (!NoMoveBox(game->kind)) {
    host->ShowModelessMessage(text, 120);
  }
  return 0;
}

int ResignGame(GameRecord* game) {
  if (IsGameOver(game)) return -1;
  GameHost* host = GetGameHost();
  if (!IsHumanToMove(game)) {
    host->SetStatusText(kNotYourTurn);
    return -1;
  }
  if (host->AskYesNo("Do you wish to resign?") != kAnswerYes) return -1;
  return EndGame(game, game->sideToMove == WHITE ? RESULT_WHITE_RESIGNED : RESULT_BLACK_RESIGNED);
}

int OfferDraw(GameRecord* game) {
  if (IsGameOver(game)) return -1;
  GameHost* host = GetGameHost();
  if (!IsHumanToMove(game)) {
    host->SetStatusText(kNotYourTurn);
    return -1;
  }
  PlayerRecord* opponent = Opponent(game);
  switch (opponent->kind) {
    case PLAYER_REMOTE:
      return 0;  // online play handles the offer
    case PLAYER_HUMAN:
      if (host->AskYesNo("Declare the game a draw?") == kAnswerYes) return EndGame(game, RESULT_AGREED);
      return 0;
    default:
      break;
  }
  if (opponent->personality &&
      host->PersonalityWord(opponent->personality, kPersonalityEngineKind) == kOutsideEngineKind) {
    host->SendEngineCommand(opponent, "draw");
    return 0;
  }
  // The engine's score for its own side; the thinking block holds it from white.
  int32_t score = ReadWord(opponent->thinking, 3);
  if (opponent == &game->black) score = -score;
  int32_t threshold =
      opponent->personality ? host->PersonalityWord(opponent->personality, kPersonalityDrawThreshold) : 0;
  if (GetMoveCount(game) < 40 || score >= -threshold) {
    host->ShowMessage("No draw. Play on!");
    return 0;
  }
  return EndGame(game, RESULT_AGREED);
}

int PauseGame(GameRecord* game) {
  if (IsGameOver(game)) return -1;
  GameHost* host = GetGameHost();
  host->SetIdleLevel(-1);
  host->HideBoardForPause();
  host->ShowMessage("Game paused.  Press OK to resume play.");
  host->RestoreBoardAfterPause(&game->position);
  host->SetIdleLevel(-2);
  return 0;
}

void ShowGameStatus(GameRecord* game, int code) {
  if (!game) return;
  GameHost* host = GetGameHost();
  RoomBoardOptions options = host->GetRoomBoardOptions();
  if (!options.exists) return;
  char text[640] = "";
  if (options.announce && code == GAME_EVENT_MOVE_PLAYED) {
    int side = game->sideToMove;
    if (CountLegalMoves(&game->position, side) == 0) {
      uint32_t code = IsSideInCheck(&game->position, WHITE)   ? RESULT_WHITE_MATED
                      : IsSideInCheck(&game->position, BLACK) ? RESULT_BLACK_MATED
                                                              : RESULT_STALEMATE;
      GetResultText(code, text, sizeof text);
    } else if (IsSideInCheck(&game->position, side)) {
      std::snprintf(text, sizeof text, "Check");
    }
    PlayerRecord* mover = GetPlayerNotToMove(game);
    int32_t depth = ReadWord(mover->thinking, 2);
    int32_t score = ReadWord(mover->thinking, 3);
    if (mover == &game->black) score = -score;
    if (mover->kind == PLAYER_ENGINE && mover->session && depth >= 1 && score > 9960) {
      size_t used = std::strlen(text);
      std::snprintf(text + used, sizeof text - used, "%sMATE IN %d.", used ? " " : "", (10000 - score) / 2);
    }
  }
  if (options.openingName && game->kind == GAME_ORDINARY && IsStandardStart(game)) {
    int count = 0;
    MoveRecord* line = CopyGameMoves(game, &count);
    char name[512];
    if (line && host->GetBookOpeningName(line, count, name, sizeof name)) {
      size_t used = std::strlen(text);
      std::snprintf(text + used, sizeof text - used, "%s%s", used ? " " : "", name);
    }
    FreeMoveArray(line);
  }
  if (text[0])
    host->SetStatusText(text);
  else
    host->ClearStatusText();
}

PlayerRecord* GetPlayerToMove(GameRecord* game) {
  return game ? PlayerForSide(game, game->sideToMove) : nullptr;
}

PlayerRecord* GetPlayerNotToMove(GameRecord* game) {
  return game ? PlayerForSide(game, OtherSide(game->sideToMove)) : nullptr;
}

bool IsHumanToMove(GameRecord* game) { return game && GetPlayerToMove(game)->kind == PLAYER_HUMAN; }

bool IsEngineToMove(GameRecord* game) {
  if (!game) return false;
  PlayerRecord* p = GetPlayerToMove(game);
  return p->kind == PLAYER_ENGINE && p->session && p->personality;
}

bool IsPlayerBlindfold(GameRecord* game, bool white) {
  return game && (white ? game->white.blindfold : game->black.blindfold) != 0;
}

bool IsStandardStart(const GameRecord* game) {
  return game && game->startSide == WHITE && IsInitialBoard(&game->start);
}

char* GetResultText(uint32_t code, char* buffer, size_t size) {
  if (!buffer || size == 0) return buffer;
  const char* text = code < sizeof kResultTexts / sizeof kResultTexts[0] ? kResultTexts[code] : "";
  std::snprintf(buffer, size, "%s", text);
  return buffer;
}

int GetResultForSide(uint32_t code, bool white) {
  switch (code) {
    case RESULT_WHITE_MATED:
    case RESULT_WHITE_RESIGNED:
    case RESULT_WHITE_TIME:
      return white ? OUTCOME_LOST : OUTCOME_WON;
    case RESULT_BLACK_MATED:
    case RESULT_BLACK_RESIGNED:
    case RESULT_BLACK_TIME:
      return white ? OUTCOME_WON : OUTCOME_LOST;
    case RESULT_ADJOURNED:
      return OUTCOME_ADJOURNED;
    default:
      return code >= RESULT_STALEMATE && code <= RESULT_AGREED ? OUTCOME_DRAW : OUTCOME_OTHER;
  }
}

bool PlayEngineBookMove(GameRecord* game) {
  if (!game || !IsStandardStart(game)) return false;
  PlayerRecord* p = GetPlayerToMove(game);
  if (p->kind != PLAYER_ENGINE || !p->personality) return false;
  GameHost* host = GetGameHost();
  int32_t ply = GetTreePly(game->tree);
  if (host->PersonalityWord(p->personality, kPersonalityBookDepth) < ply + 1) return false;
  int count = 0;
  MoveRecord* line = CopyGameMoves(game, &count);
  if (!line) return false;
  MoveRecord book{};
  bool found = host->PickBookMove(p == &game->white ? 2 : 1, line, count, &book);
  FreeMoveArray(line);
  if (!found) return false;
  char coords[8];
  char from[3], to[3];
  SquareToText(book.from, from);
  SquareToText(book.to, to);
  static const char kPromotion[] = " qrbn";
  int promotion = book.flags & MOVE_PROMOTION_TYPE;
  std::snprintf(coords, sizeof coords, "%s%s", from, to);
  if (promotion >= 1 && promotion <= 4) {
    size_t n = std::strlen(coords);
    coords[n] = kPromotion[promotion];
    coords[n + 1] = '\0';
  }
  host->HandleEngineBookMove(game, static_cast<int>(p->slot), coords);
  host->SendEngineCommand(p, "force");
  host->SendEnginePlayerMove(game, p, &book, false, 0, 0);
  return true;
}
