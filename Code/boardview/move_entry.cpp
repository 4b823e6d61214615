// Move entry decisions.
#include "move_entry.h"

#include <cstring>

#include "annotator.h"
#include "markup.h"

const char* const kNotYourTurnText = "It's not your turn.";

namespace {

// Tests the move against the position's legal moves; ReplayMoveList fills in
// the flags, or 0xFFFF when the move is not legal.
bool TestLegal(MoveEntryHost* host, MoveRecord* move) {
  Board board = host->Position();
  ReplayMoveList(&board, host->SideToMove(), move, 1);
  return move->flags != MOVE_LIST_END;
}

}  // namespace

DropResult DecideDrop(MoveEntryHost* host, int fromColumn, int fromRow, bool onSquare, int toColumn,
                      int toRow) {
  if (!host->HaveGame()) return DropResult::NoGame;
  if (!onSquare) return DropResult::BackOffBoard;
  MoveRecord move{};
  move.from = static_cast<uint8_t>(MakeSquare(fromRow, fromColumn));
  move.to = static_cast<uint8_t>(MakeSquare(toRow, toColumn));
  if (move.from == move.to) return DropResult::BackSameSquare;
  const Board& position = host->Position();
  bool pawn = (position[move.from] & TYPE_MASK) == PAWN && position[move.from] != 0;
  bool promotes = pawn && (toRow == 0 || toRow == 7);
  if (promotes) move.flags = MOVE_PROMOTION | 1;
  bool legal = TestLegal(host, &move);
  if (legal && promotes) {
    // Asked only once the move proved legal as a queen promotion.
    MoveRecord chosen{};
    chosen.from = move.from;
    chosen.to = move.to;
    chosen.flags =
        static_cast<uint16_t>(MOVE_PROMOTION | (host->AskPromotion(host->SideToMove()) & 0xFF & 7));
    legal = TestLegal(host, &chosen);
    move = chosen;
  }
  if (!host->HumanToMove()) return DropResult::BackNotHuman;
  if (!legal) {
    host->SayIllegal();
    Board board = host->Position();
    std::string reason = ExplainIllegalMove(&board, host->SideToMove(), move.from, move.to);
    host->ShowStatus(StripMarkupGroups(reason));
    return DropResult::BackIllegal;
  }
  int answer = host->OfferMove(&move);
  if (answer != 0) return DropResult::OwnerTook;
  host->PlayMove(&move);
  return DropResult::Played;
}

bool TryQuickEntry(MoveEntryHost* host, int column, int row) {
  if (!host->HaveGame() || !host->HumanToMove()) return false;
  MoveRecord move{};
  if (!host->FindMoveForSquare(MakeSquare(row, column), &move)) return false;
  if (host->OfferMove(&move) == 0) host->PlayMove(&move);
  return true;
}

size_t TypedMoveBuffer::length() const { return strnlen(text, kSize); }

TypedResult HandleTypedCharacter(MoveEntryHost* host, TypedMoveBuffer* buffer, int key) {
  if (!host->HaveGame() || host->GameOver()) return TypedResult::Ignored;
  if (!host->HumanToMove()) {
    host->ShowStatus(kNotYourTurnText);
    return TypedResult::NotYourTurn;
  }
  // Room for one more character and the terminating zero.
  if (buffer->length() >= TypedMoveBuffer::kSize - 1) return TypedResult::Dropped;
  bool beep = false;
  MoveRecord move{};
  if (!host->ParseMoveInput(key, buffer->text, TypedMoveBuffer::kSize, &beep, &move)) {
    if (beep) host->Beep();
    host->ShowStatus(buffer->text);
    return TypedResult::Pending;
  }
  host->ShowStatus(buffer->text);
  buffer->Clear();
  if (host->OfferMove(&move) != 0) return TypedResult::OwnerTook;
  if (!TestLegal(host, &move)) return TypedResult::Illegal;
  host->PlayMove(&move);
  return TypedResult::Played;
}
