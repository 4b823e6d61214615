#include "practice_openings.h"

#include <cctype>
#include <cstring>

#include "movegen.h"
#include "notation.h"

namespace {

bool BeginsWith(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

struct NamedEntry {
  int entry;
  std::string name;
};

// Inserts entries from `at` on under `parent` while they begin with the
// parent's name; each inserted entry takes the following ones that begin
// with its own name as its children.
void InsertBranch(const std::vector<NamedEntry>& names, size_t* at, int parent, const std::string* parentName,
                  std::vector<PracticeTreeNode>* out) {
  while (*at < names.size()) {
    const NamedEntry& e = names[*at];
    if (parentName && !BeginsWith(e.name, *parentName)) return;
    PracticeTreeNode node;
    node.entry = e.entry;
    node.parent = parent;
    node.text = PracticeItemText(e.name);
    out->push_back(node);
    const int self = static_cast<int>(out->size()) - 1;
    ++*at;
    InsertBranch(names, at, self, &e.name, out);
  }
}

MoveRecord PlainMove(const MoveRecord& move) {
  MoveRecord m{};
  m.from = move.from;
  m.to = move.to;
  m.flags = move.flags;
  return m;
}

}  // namespace

std::string UpperCaseText(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string PracticeItemText(const std::string& name) {
  const size_t slash = name.find('/');
  if (slash == std::string::npos) return name;
  return slash + 2 <= name.size() ? name.substr(slash + 2) : std::string();
}

std::vector<PracticeTreeNode> BuildPracticeTree(const std::function<std::string(int)>& nameOf,
                                                const std::string& search) {
  const std::string wanted = UpperCaseText(search);
  std::vector<NamedEntry> names;
  for (int i = 0;; ++i) {
    std::string name = nameOf(i);
    if (name.empty()) break;
    if (!wanted.empty() && UpperCaseText(name).find(wanted) == std::string::npos) continue;
    names.push_back(NamedEntry{i, std::move(name)});
  }
  std::vector<PracticeTreeNode> out;
  size_t at = 0;
  InsertBranch(names, &at, -1, nullptr, &out);
  return out;
}

PracticeLine StorePracticeLine(int entry, const std::string& name, const std::vector<MoveRecord>& line,
                               const std::string& eco) {
  PracticeLine out;
  out.entry = entry;
  out.name = name.substr(0, kPracticeNameStore - 1);
  out.eco = eco.substr(0, kPracticeEcoSize);
  const size_t kept = line.size() < size_t(kPracticeLineMoves) ? line.size() : size_t(kPracticeLineMoves);
  for (size_t i = 0; i < kept; ++i) out.moves.push_back(PlainMove(line[i]));
  return out;
}

bool AdvancePracticeLine(const PracticeLine& line, const PracticeSides& sides, PracticeActions* actions,
                         const MoveRecord* move) {
  if (!actions) return false;
  const int length = static_cast<int>(line.moves.size());
  if (move) {
    const int ply = actions->CurrentPly();
    const MoveRecord* expected = ply >= 1 && ply <= length ? &line.moves[size_t(ply - 1)] : nullptr;
    if (!expected || expected->from != move->from || expected->to != move->to) {
      actions->TakeBackMove();
      return false;
    }
    actions->ClearSquareMarks();
  }
  for (;;) {
    const int ply = actions->CurrentPly();
    if (ply >= length) {
      actions->ShowLine(-1);
      actions->FinishPractice();
      return true;
    }
    actions->ShowLine(ply);
    const int side = ply % 2 == 0 ? WHITE : BLACK;
    const bool userSide = side == WHITE ? sides.white : sides.black;
    if (userSide) {
      actions->PromptMove(side, ply / 2 + 1);
      return true;
    }
    const int before = ply;
    actions->PlayLineMove(line.moves[size_t(ply)]);
    // A move the game would not take ends the walk rather than loop.
    if (actions->CurrentPly() <= before) return true;
  }
}

namespace {

// Plays the first `plies` plies of the line (-1: all) from the initial
// position, handing each legal move, its list and the board before it to
// `visit`; stops at a move that is not legal. Returns the board reached.
Board WalkLine(const PracticeLine& line, int plies, int* sideToMove,
               const std::function<void(const Board&, const MoveRecord*, int, int, int, int)>& visit) {
  Board board{};
  SetInitialBoard(&board);
  int side = WHITE;
  const int count = static_cast<int>(line.moves.size());
  const int upTo = plies < 0 || plies > count ? count : plies;
  for (int i = 0; i < upTo; ++i) {
    MoveRecord list[kMoveListRoom];
    uint16_t n = 0;
    GenerateLegalMoves(&board, list, &n, side);
    const int k = FindMoveInList(&line.moves[size_t(i)], list, n);
    if (k < 0 || k >= n) break;
    if (visit) visit(board, list, n, k, i, side);
    MakeMove(&list[k], &board);
    side = side == WHITE ? BLACK : WHITE;
  }
  if (sideToMove) *sideToMove = side;
  return board;
}

}  // namespace

Board PracticePosition(const PracticeLine& line, int plies, int* sideToMove) {
  return WalkLine(line, plies, sideToMove, nullptr);
}

std::vector<std::string> PracticeLineRows(const PracticeLine& line, int plies, int style) {
  std::vector<std::string> rows;
  const NotationOptions options = DefaultNotationOptions(style);
  WalkLine(line, plies, nullptr, [&](const Board& board, const MoveRecord* list, int n, int k, int ply, int side) {
    char text[kNotationTextSize] = "";
    MoveToText(&board, list, n, k, style, &options, text);
    if (side == WHITE)
      rows.push_back(std::to_string(ply / 2 + 1) + ". " + text);
    else if (rows.empty())
      rows.push_back(std::to_string(ply / 2 + 1) + ". ... " + text);
    else
      rows.back() += std::string(" ") + text;
  });
  return rows;
}
