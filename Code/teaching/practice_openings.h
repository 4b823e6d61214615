// Practice openings without windows: the tree of the main book's variation
// names (with the search filter), the stored line the user rehearses, and
// the step rule that judges a move, plays the book's side and tells when
// the line is done.
//
// Interface: PracticeTreeNode, BuildPracticeTree, PracticeItemText,
// PracticeLine, kPracticeLineMoves, kPracticeNameStore, StorePracticeLine,
// PracticeSides, PracticeActions, AdvancePracticeLine, PracticeLineRows,
// UpperCaseText.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "board.h"
#include "moverecord.h"

// ---- the name tree

// One item of the tree, in insertion order; `parent` is the index of the
// parent item or -1 for a top item.
struct PracticeTreeNode {
  int entry = 0;  // the book entry the item stands for
  int parent = -1;
  std::string text;
};

// The names of entries 0, 1, ... (read until the first empty one) as a
// tree: a name that begins with the name inserted just before it becomes
// its child, and a branch ends at the first name that does not begin with
// its parent's. With a search text only names holding it (compared in upper
// case) are inserted.
std::vector<PracticeTreeNode> BuildPracticeTree(const std::function<std::string(int)>& nameOf,
                                                const std::string& search);
// What an item shows: the part after the first "/" and the character that
// follows it, or the whole name when it has none.
std::string PracticeItemText(const std::string& name);
std::string UpperCaseText(std::string text);

// ---- the chosen line

constexpr int kPracticeLineMoves = 50;   // moves the line store holds
constexpr size_t kPracticeNameStore = 500;  // bytes of the name store, NUL included
constexpr size_t kPracticeEcoSize = 3;

struct PracticeLine {
  int entry = 0;
  std::string name;  // at most kPracticeNameStore - 1 bytes
  std::string eco;   // at most 3 characters
  std::vector<MoveRecord> moves;  // at most kPracticeLineMoves, from the initial position
};

// The store as "&OK" fills it: a book line may run to 380 plies, the store
// keeps the first 50; a composed name is cut to its store.
PracticeLine StorePracticeLine(int entry, const std::string& name, const std::vector<MoveRecord>& line,
                               const std::string& eco);

// ---- advancing

struct PracticeSides {
  bool white = true;
  bool black = false;
};

// What the practice does to its game and screen; the Windows side moves
// the board and the dialog, the tests record the calls.
class PracticeActions {
 public:
  virtual ~PracticeActions() = default;
  virtual int CurrentPly() = 0;  // plies played in the game
  // Animates the user's last move back and takes it back.
  virtual void TakeBackMove() = 0;
  virtual void ClearSquareMarks() = 0;
  // Adds the move to the game and animates it.
  virtual void PlayLineMove(const MoveRecord& move) = 0;
  // Shows the line up to `plies` (-1: all of it).
  virtual void ShowLine(int plies) = 0;
  // "Make White Move #n..." / "Make Black Move #n...".
  virtual void PromptMove(int side, int moveNumber) = 0;
  // The line is done: the board goes back to the room, Hint is disabled.
  virtual void FinishPractice() = 0;
};

// Judges `move` (the user's move just added to the game; null when none),
// then plays the book's moves until the user is to move or the line ends.
// Returns false when the move was wrong and taken back.
bool AdvancePracticeLine(const PracticeLine& line, const PracticeSides& sides, PracticeActions* actions,
                         const MoveRecord* move);

// The rows of the move list for the first `plies` plies (-1: all): "1. e4 c5"
// in the notation style.
std::vector<std::string> PracticeLineRows(const PracticeLine& line, int plies, int style);
// The position after the first `plies` plies of the line.
Board PracticePosition(const PracticeLine& line, int plies, int* sideToMove);
