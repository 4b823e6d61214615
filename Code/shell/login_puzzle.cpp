#include "login_puzzle.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "drill_generators.h"
#include "movegen.h"
#include "moverecord.h"

// Generated records hold no texts: the lists need no freeing.

namespace fs = std::filesystem;

namespace {

uint32_t ReadU32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

bool IsPieceByte(uint8_t b) {
  const int colour = b & ~TYPE_MASK;
  const int type = b & TYPE_MASK;
  return (colour == WHITE || colour == BLACK) && type <= PAWN;
}

// Move generation trusts the board: every square holds nothing or a piece,
// the state bytes name squares, no pawn stands on a last rank, and the
// unused bytes are clear. The solution bytes are checked with the mate.
bool IsSoundBoard(const Board& b) {
  for (int square = 0; square < 128; ++square) {
    const uint8_t v = b[square];
    if (OnBoard(square)) {
      if (v && !IsPieceByte(v)) return false;
      if (v && (v & TYPE_MASK) == PAWN && (SquareRow(square) == 0 || SquareRow(square) == 7)) return false;
      continue;
    }
    switch (square) {
      case WHITE_KING_SQUARE:
      case BLACK_KING_SQUARE:
        if (!OnBoard(v)) return false;
        break;
      case EN_PASSANT_SQUARE:
        if (v != NO_SQUARE) return false;  // a made puzzle has no pawn just advanced
        break;
      case CASTLING_RIGHTS:
        if (v != 0) return false;  // nor a king that may still castle
        break;
      case kSolutionFromByte:
      case kSolutionToByte:
        break;
      default:
        if (v) return false;
    }
  }
  return true;
}

bool KingsOnTheirBytes(const Board& b) {
  int kings[2] = {0, 0};
  for (int square = 0; square < 128; ++square) {
    if (!OnBoard(square) || (b[square] & TYPE_MASK) != KING || !b[square]) continue;
    const int side = b[square] & COLOUR_MASK;
    ++kings[side == WHITE ? 0 : 1];
    if (b[KingSquareByte(side)] != square) return false;
  }
  return kings[0] == 1 && kings[1] == 1;
}

}  // namespace

bool PuzzleHistory::Contains(uint32_t hash) const {
  std::lock_guard<std::mutex> hold(lock_);
  for (int i = 0; i < count_; ++i)
    if (hashes_[i] == hash) return true;
  return false;
}

void PuzzleHistory::Add(uint32_t hash) {
  std::lock_guard<std::mutex> hold(lock_);
  hashes_[next_] = hash;
  next_ = (next_ + 1) % kPuzzleHistorySize;
  if (count_ < kPuzzleHistorySize) ++count_;
}

bool PuzzleHistory::AddIfNew(uint32_t hash) {
  std::lock_guard<std::mutex> hold(lock_);
  for (int i = 0; i < count_; ++i)
    if (hashes_[i] == hash) return false;
  hashes_[next_] = hash;
  next_ = (next_ + 1) % kPuzzleHistorySize;
  if (count_ < kPuzzleHistorySize) ++count_;
  return true;
}

int PuzzleHistory::Count() const {
  std::lock_guard<std::mutex> hold(lock_);
  return count_;
}

PuzzleCheck CheckPuzzlePosition(const Board& board, int side, const PuzzleHistory* history, int* mate) {
  if (side != WHITE && side != BLACK) return PuzzleCheck::kBadBoard;
  if (!IsSoundBoard(board)) return PuzzleCheck::kBadBoard;
  if (!KingsOnTheirBytes(board)) return PuzzleCheck::kKings;
  // The side not to move may not stand in check: its king could be taken.
  if (IsSideInCheck(&board, OtherSide(side))) return PuzzleCheck::kNotOneMate;
  std::vector<MoveRecord> list(kMoveListRoom);
  uint16_t count = 0, legal = 0;
  GenerateMoves(&board, list.data(), &count, &legal, side, true);
  int mates = 0, found = 0;
  for (int i = 0; i < count; ++i) {
    const MoveRecord& m = list[i];
    if (m.flags & MOVE_ILLEGAL) continue;
    if (m.flags & MOVE_MATE) {
      ++mates;
      found = m.from * 256 + m.to;
    }
  }
  if (mates != 1) return PuzzleCheck::kNotOneMate;
  if (mate) *mate = found;
  if (history && history->Contains(ComputeBoardHash(&board))) return PuzzleCheck::kRepeated;
  return PuzzleCheck::kGood;
}

void EncodePuzzle(const Board& board, int side, uint8_t out[kPuzzleFileSize]) {
  PutU32(out, kPuzzleFileKind);
  PutU32(out + 4, uint32_t(side));
  std::memcpy(out + 8, board.sq, sizeof board.sq);
}

PuzzleCheck ReadPuzzleBytes(const uint8_t* data, size_t size, Board* board, int* side) {
  if (!data || size != kPuzzleFileSize || ReadU32(data) != kPuzzleFileKind) return PuzzleCheck::kBadBoard;
  const uint32_t who = ReadU32(data + 4);
  if (who != WHITE) return PuzzleCheck::kBadBoard;  // the puzzles are White to move
  Board read{};
  std::memcpy(read.sq, data + 8, sizeof read.sq);
  int mate = 0;
  const PuzzleCheck check = CheckPuzzlePosition(read, int(who), nullptr, &mate);
  if (check != PuzzleCheck::kGood) return check;
  if (mate != read[kSolutionFromByte] * 256 + read[kSolutionToByte]) return PuzzleCheck::kNoSolution;
  if (board) *board = read;
  if (side) *side = int(who);
  return PuzzleCheck::kGood;
}

bool ReadPuzzleFile(const std::string& path, Board* board, int* side) {
  std::ifstream in(fs::u8path(path), std::ios::binary);
  if (!in) return false;
  uint8_t bytes[kPuzzleFileSize + 1];
  in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
  return ReadPuzzleBytes(bytes, size_t(in.gcount()), board, side) == PuzzleCheck::kGood;
}

bool WritePuzzleFile(const std::string& path, const Board& board, int side) {
  uint8_t bytes[kPuzzleFileSize];
  EncodePuzzle(board, side, bytes);
  const fs::path target = fs::u8path(path);
  const fs::path temporary = fs::u8path(path + ".tmp");
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      fs::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temporary, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  }
  return true;
}

PuzzleMaker::PuzzleMaker(PuzzleHistory* history, uint32_t seed)
    : history_(history), generator_(std::make_unique<DrillGenerator>(seed)) {}

PuzzleMaker::~PuzzleMaker() = default;

bool PuzzleMaker::Step() {
  if (done_) return true;
  const int answer = generator_->MakeDrillPosition(step_, DRILL_MATE_IN_ONE, WHITE, kSelectorRandom, &board_);
  if (answer == DRILL_MORE) {
    step_ = 1;
    return false;
  }
  step_ = 0;
  if (answer != DRILL_DONE) return false;
  int mate = 0;
  const bool good = CheckPuzzlePosition(board_, WHITE, nullptr, &mate) == PuzzleCheck::kGood &&
                    mate == board_[kSolutionFromByte] * 256 + board_[kSolutionToByte] &&
                    (!history_ || history_->AddIfNew(ComputeBoardHash(&board_)));
  if (!good) {
    ++rejected_;
    return false;
  }
  done_ = true;
  return true;
}

PuzzleVerdict JudgePuzzleMove(const Board& board, int side, int from, int to) {
  std::vector<MoveRecord> list(kMoveListRoom);
  uint16_t count = 0;
  GenerateLegalMoves(&board, list.data(), &count, side);
  bool legal = false;
  for (int i = 0; i < count; ++i) {
    if (list[i].from == from && list[i].to == to) legal = true;
  }
  if (!legal) return PuzzleVerdict::kIllegal;
  return from == board[kSolutionFromByte] && to == board[kSolutionToByte] ? PuzzleVerdict::kSolved
                                                                          : PuzzleVerdict::kWrong;
}
