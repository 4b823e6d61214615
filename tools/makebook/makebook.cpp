// makebook: makes Rookwell's default opening book from free data.
//   makebook [--first "SAN ..."] ECO_PGN POLYGLOT_BIN OUT_OBK [COMMENTS]
// --first keeps only the lines that begin with one of the given first moves
// (a personality's own narrower repertoire).
// COMMENTS (the reference book's) gives lines "e4 e5 Nf3 | comment"; the
// comment goes on the line's last move.
// Every line of the ECO file goes into the book with its opening name and
// ECO code; the Polyglot book adds the lines that are played and gives every
// move its weight code, relative to the most played move of its position.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <map>
#include <string>
#include <vector>

#include "board.h"
#include "bookgames.h"
#include "notation.h"
#include "booktree.h"
#include "polyglot.h"

namespace {

// Lines from the Polyglot book are followed while the share of games that
// reach them stays above this, down to kMaxPlies.
constexpr double kMinLineShare = 1.0 / 20000;
constexpr int kMaxPlies = 24;
constexpr int kNodeBudget = 60000;

// The first moves a book keeps (--first); empty: every first move.
std::vector<MoveRecord> g_firstMoves;

bool FirstMoveKept(const MoveRecord& m) {
  if (g_firstMoves.empty()) return true;
  for (const MoveRecord& kept : g_firstMoves)
    if (kept.from == m.from && kept.to == m.to) return true;
  return false;
}

// The --first list: legal first moves of White in SAN, at least one.
bool ReadFirstMoves(const char* list) {
  std::istringstream words(list);
  std::string san;
  while (words >> san) {
    Board board;
    SetInitialBoard(&board);
    MoveRecord m{};
    if (!ParseAlgebraicMove(&m, san.c_str(), &board, WHITE)) {
      std::fprintf(stderr, "makebook: %s is no legal first move\n", san.c_str());
      return false;
    }
    g_firstMoves.push_back(m);
  }
  return !g_firstMoves.empty();
}

int ChildWithMove(const BookTree& tree, int parent, const MoveRecord& m) {
  for (int c = tree[parent].firstChild; c >= 0; c = tree[c].nextSibling)
    if (BookMoveMatches(tree[c].word, &m)) return c;
  return -1;
}

int AddMove(BookTree* tree, int parent, const MoveRecord& m) {
  int c = ChildWithMove(*tree, parent, m);
  if (c >= 0) return c;
  return tree->AddChild(
      parent, MakeBookMoveWord(BoardSquareToBook(m.from), BoardSquareToBook(m.to), 0, false, false));
}

std::string OpeningName(const BookGame& game) {
  std::string name;
  for (const char* tag : {"Opening", "Variation", "SubVariation"}) {
    const std::string* value = game.Tag(tag);
    if (value == nullptr || value->empty()) continue;
    if (!name.empty()) name += ", ";
    name += *value;
  }
  return name;
}

bool AddEcoLines(const char* path, BookTree* tree) {
  FILE* f = std::fopen(path, "r");
  if (f == nullptr) {
    std::fprintf(stderr, "makebook: cannot open %s\n", path);
    return false;
  }
  PgnGameSource games(FileLineSource(f), 380);
  BookGame game;
  BookGameError error;
  int lines = 0;
  BookGameRead read;
  while ((read = games.NextGame(&game, &error)) == GAME_READ_GAME) {
    if (game.moves.empty() || !FirstMoveKept(game.moves[0])) continue;
    int node = BookTree::kRoot;
    for (const MoveRecord& m : game.moves) node = AddMove(tree, node, m);
    BookTreeNode& n = (*tree)[node];
    // A line named twice keeps its first name. The final "." makes a name
    // stand for its own position only: the deepest name of a line is shown
    // alone rather than joined to the names above it.
    if (n.name.empty()) {
      n.name = OpeningName(game).substr(0, 253) + ".";
      const std::string* eco = game.Tag("ECO");
      if (eco) n.eco = eco->substr(0, 3);
    }
    ++lines;
  }
  std::fclose(f);
  if (read == GAME_READ_ERROR) {
    std::fprintf(stderr, "makebook: %s line %d: error %d\n%s\n", path, error.line, error.number,
                 error.text.c_str());
    return false;
  }
  std::printf("makebook: %d named lines\n", lines);
  return true;
}

void AddPlayedLines(const PolyglotBook& book, BookTree* tree, int node, const Board& board, int side, int ply,
                    double share) {
  if (ply >= kMaxPlies || tree->MoveCount() >= kNodeBudget) return;
  std::vector<PolyglotMove> moves = book.Moves(&board, side);
  long total = 0;
  for (const PolyglotMove& m : moves) total += m.weight;
  if (total == 0) return;
  for (const PolyglotMove& m : moves) {
    if (ply == 0 && !FirstMoveKept(m.move)) continue;
    double next = share * m.weight / total;
    if (next < kMinLineShare || tree->MoveCount() >= kNodeBudget) continue;
    int child = AddMove(tree, node, m.move);
    Board after = board;
    MoveRecord played = m.move;
    MakeMove(&played, &after);
    AddPlayedLines(book, tree, child, after, OtherSide(side), ply + 1, next);
  }
}

// The comments file: every line's moves must be legal; a fault stops the
// build with the line's number.
bool AddComments(const char* path, BookTree* tree) {
  std::ifstream in(path);
  if (!in) {
    std::fprintf(stderr, "makebook: cannot open %s\n", path);
    return false;
  }
  std::string line;
  int number = 0, added = 0;
  while (std::getline(in, line)) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    const size_t bar = line.find('|');
    if (bar == std::string::npos) {
      std::fprintf(stderr, "makebook: %s line %d: no \"|\"\n", path, number);
      return false;
    }
    std::istringstream moves(line.substr(0, bar));
    std::string comment = line.substr(bar + 1);
    comment.erase(0, comment.find_first_not_of(' '));
    Board board;
    SetInitialBoard(&board);
    int side = WHITE, node = BookTree::kRoot;
    std::string san;
    while (moves >> san) {
      MoveRecord m{};
      if (!ParseAlgebraicMove(&m, san.c_str(), &board, side)) {
        std::fprintf(stderr, "makebook: %s line %d: %s is no legal move\n", path, number, san.c_str());
        return false;
      }
      node = AddMove(tree, node, m);
      MakeMove(&m, &board);
      side = OtherSide(side);
    }
    if (node == BookTree::kRoot || comment.empty()) {
      std::fprintf(stderr, "makebook: %s line %d: no moves or no comment\n", path, number);
      return false;
    }
    (*tree)[node].comment = comment;
    ++added;
  }
  std::printf("makebook: %d comments\n", added);
  return true;
}
int WeightCode(int weight, int best) {
  if (weight <= 0 || best <= 0) return 0;
  double ratio = static_cast<double>(weight) / best;
  return ratio >= 0.75 ? 3 : ratio >= 0.375 ? 2 : ratio >= 0.125 ? 1 : 0;
}

void SetWeights(const PolyglotBook& book, BookTree* tree, int parent, const Board& board, int side) {
  std::vector<PolyglotMove> moves = book.Moves(&board, side);
  int best = 0;
  for (const PolyglotMove& m : moves) best = std::max(best, static_cast<int>(m.weight));
  for (int c = (*tree)[parent].firstChild; c >= 0; c = (*tree)[c].nextSibling) {
    BookTreeNode& n = (*tree)[c];
    int code = 0;
    MoveRecord record{};
    for (const PolyglotMove& m : moves) {
      if (BookMoveMatches(n.word, &m.move)) {
        code = WeightCode(m.weight, best);
        record = m.move;
        break;
      }
    }
    n.word = static_cast<BookMoveWord>((n.word & 0x3FFF) | (code << 14));
    if (record.from == 0 && record.to == 0 && !BookMoveToMoveRecord(&board, side, n.word, &record)) continue;
    Board after = board;
    MakeMove(&record, &after);
    SetWeights(book, tree, c, after, OtherSide(side));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--first") == 0) {
    if (!ReadFirstMoves(argv[2])) return 1;
    argc -= 2;
    argv += 2;
  }
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "usage: makebook [--first \"SAN ...\"] ECO_PGN POLYGLOT_BIN OUT_OBK [COMMENTS]\n");
    return 1;
  }
  PolyglotBook polyglot;
  if (!polyglot.Load(argv[2])) {
    std::fprintf(stderr, "makebook: cannot read the Polyglot book %s\n", argv[2]);
    return 1;
  }
  Board start;
  SetInitialBoard(&start);
  if (PolyglotKey(&start, WHITE) != 0x463b96181691fc9cULL) {
    std::fprintf(stderr, "makebook: the Polyglot key table is wrong\n");
    return 1;
  }
  BookTree tree;
  if (!AddEcoLines(argv[1], &tree)) return 1;
  if (argc == 5 && !AddComments(argv[4], &tree)) return 1;
  int named = tree.MoveCount();
  AddPlayedLines(polyglot, &tree, BookTree::kRoot, start, WHITE, 0, 1.0);
  SetWeights(polyglot, &tree, BookTree::kRoot, start, WHITE);
  std::printf("makebook: %d moves from the ECO lines, %d in all\n", named, tree.MoveCount());
  int result = WriteBookTree(tree, argv[3], [](const std::string& s) { std::fputs(s.c_str(), stdout); });
  return result == 0 ? 0 : 1;
}
