// Move entry decisions of the board window: what a drop, a Quick Entry
// click or a typed character does to the game. The window procedure gathers
// the input; these functions decide, through the host, without touching the
// screen.
//
// Interface: MoveEntryHost, DecideDrop, TryQuickEntry, TypedMoveBuffer,
// HandleTypedCharacter.
#pragma once

#include <cstddef>
#include <string>

#include "board.h"
#include "moverecord.h"

// Owner answers to an offered move or mouse message.
constexpr int kOwnerHandled = 1;
constexpr int kOwnerHandledQuietly = 2;

class MoveEntryHost {
 public:
  virtual ~MoveEntryHost() = default;
  virtual bool HaveGame() = 0;
  virtual bool GameOver() = 0;
  virtual const Board& Position() = 0;
  virtual int SideToMove() = 0;  // WHITE or BLACK
  virtual bool HumanToMove() = 0;
  // Offers the move to the owner callback (message 0x8001); its answer.
  virtual int OfferMove(MoveRecord* move) = 0;
  virtual void PlayMove(MoveRecord* move) = 0;
  // The promotion piece type (1 queen .. 4 knight) for a legal promotion.
  virtual int AskPromotion(int side) = 0;
  virtual void ShowStatus(const std::string& text) = 0;
  virtual void SayIllegal() = 0;  // the illegal-move voice, when its setting is on
  virtual void Beep() = 0;
  // Quick Entry's one legal move for a square (to it, else from it).
  virtual bool FindMoveForSquare(int square, MoveRecord* out) = 0;
  // Adds a key to the typed text; true with the named move once the text names one.
  virtual bool ParseMoveInput(int key, char* typed, size_t typedSize, bool* beep, MoveRecord* out) = 0;
};

enum class DropResult {
  NoGame,        // nothing happens
  BackOffBoard,  // the piece returns
  BackSameSquare,
  BackIllegal,  // the reason is in the status line
  BackNotHuman,
  OwnerTook,  // the owner took the move; the game does not play it
  Played,
};

// A piece dragged from (fromColumn, fromRow) and dropped; onSquare false
// when the drop point hit no square.
DropResult DecideDrop(MoveEntryHost* host, int fromColumn, int fromRow, bool onSquare, int toColumn,
                      int toRow);

// Quick Entry click on a square: true when the click was used (the move
// offered, and played when the owner left it).
bool TryQuickEntry(MoveEntryHost* host, int column, int row);

// The typed-move text, one per program: at most 15 characters and its
// terminating zero.
struct TypedMoveBuffer {
  static constexpr size_t kSize = 16;
  char text[kSize] = {};
  size_t length() const;
  void Clear() { text[0] = 0; }
};

enum class TypedResult { Ignored, NotYourTurn, Dropped, Pending, OwnerTook, Illegal, Played };
TypedResult HandleTypedCharacter(MoveEntryHost* host, TypedMoveBuffer* buffer, int key);

extern const char* const kNotYourTurnText;  // "It's not your turn."
