// The book builder's arguments, commands and import.
#include "bookbuilder.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "board.h"
#include "bookreader.h"
#include "notation.h"

namespace {

constexpr int kMaxGamePlies = 380;
constexpr int kMinGamesForRatio = 6;
constexpr size_t kLineTextSize = 8192;

enum Command {
  CMD_NONE = 0,
  CMD_TEST = 1,
  CMD_STRIP,
  CMD_CSV,
  CMD_VARIATIONS,
  CMD_IMPORT,
  CMD_DUPS,
  CMD_EXPAND,
  CMD_IMPORTCSV,
  CMD_NOBRACES,
  CMD_IMPORTTEST,
  CMD_MISSING,
  CMD_STATS,
  CMD_WAVES,
  CMD_CHECKSUM,
};

enum Criterion {
  CRIT_FREQUENCY = 1,
  CRIT_WINS,
  CRIT_LOSSES,
  CRIT_DRAWS,
  CRIT_LONG,
  CRIT_SHORT,
  CRIT_CAPTURES,
  CRIT_LOW_CAPTURES,
  CRIT_KNIGHT_MOVES,
  CRIT_QUEEN_MOVES,
  CRIT_PAWN_MOVES,
  CRIT_GAMBIT,
};

constexpr int kColourBoth = 1;
constexpr int kColourNone = 255;

struct Arguments {
  std::string inBook, outBook, pgn;
  int colour = kColourNone;
  int criterion = CRIT_FREQUENCY;
  int depth = 0;
  int command = CMD_NONE;
};

struct Word {
  const char* text;
  int code;
};
const Word kColours[] = {{"WHITE", WHITE}, {"BLACK", BLACK}, {"BOTH", kColourBoth}};
const Word kCriteria[] = {{"FREQUENCY", CRIT_FREQUENCY},
                          {"WINS", CRIT_WINS},
                          {"LOSSES", CRIT_LOSSES},
                          {"DRAWS", CRIT_DRAWS},
                          {"LONG", CRIT_LONG},
                          {"SHORT", CRIT_SHORT},
                          {"CAPTURES", CRIT_CAPTURES},
                          {"LOW_CAPTURES", CRIT_LOW_CAPTURES},
                          {"KNIGHT_MOVES", CRIT_KNIGHT_MOVES},
                          {"QUEEN_MOVES", CRIT_QUEEN_MOVES},
                          {"PAWN_MOVES", CRIT_PAWN_MOVES},
                          {"GAMBIT", CRIT_GAMBIT}};
const Word kCommands[] = {{"TEST", CMD_TEST},         {"STRIP", CMD_STRIP},
                          {"CSV", CMD_CSV},           {"VARIATIONS", CMD_VARIATIONS},
                          {"IMPORT", CMD_IMPORT},     {"DUPS", CMD_DUPS},
                          {"EXPAND", CMD_EXPAND},     {"IMPORTCSV", CMD_IMPORTCSV},
                          {"NOBRACES", CMD_NOBRACES}, {"IMPORTTEST", CMD_IMPORTTEST},
                          {"MISSING", CMD_MISSING},   {"STATS", CMD_STATS},
                          {"WAVES", CMD_WAVES},       {"CHECKSUM", CMD_CHECKSUM}};

template <size_t N>
bool LookUpWord(const Word (&words)[N], const std::string& value, int* code) {
  for (const Word& w : words) {
    if (value == w.text) {
      *code = w.code;
      return true;
    }
  }
  return false;
}

std::string Upper(std::string s) {
  for (char& c : s) c = ToUpperAscii(c);
  return s;
}

bool ParseArguments(int argc, const char* const* argv, Arguments* args) {
  static const char* const kKeys[] = {
      "INBOOK=", "OUTBOOK=", "PGN=", "COLOR=", "CRITERIA=", "DEPTH=", "COMMAND="};
  for (int i = 1; i < argc && argv[i] != nullptr; ++i) {
    std::string given = argv[i];
    std::string upper = Upper(given);
    int key = -1;
    size_t at = std::string::npos;
    for (int k = 0; k < 7 && key < 0; ++k) {
      at = upper.find(kKeys[k]);
      if (at != std::string::npos) key = k;
    }
    if (key < 0) return false;
    size_t start = at + std::strlen(kKeys[key]);
    std::string value = given.substr(start);
    std::string upperValue = upper.substr(start);
    switch (key) {
      case 0:
        args->inBook = value;
        break;
      case 1:
        args->outBook = value;
        break;
      case 2:
        args->pgn = value;
        break;
      case 3:
        if (!LookUpWord(kColours, upperValue, &args->colour)) return false;
        break;
      case 4:
        if (!LookUpWord(kCriteria, upperValue, &args->criterion)) return false;
        break;
      case 5:
        args->depth = std::atoi(value.c_str());
        break;
      case 6:
        if (!LookUpWord(kCommands, upperValue, &args->command)) return false;
        break;
    }
  }
  return true;
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char buffer[2048];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, sizeof(buffer), format, args);
  va_end(args);
  if (n < static_cast<int>(sizeof(buffer))) return buffer;
  std::string big(static_cast<size_t>(n) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(&big[0], big.size(), format, args);
  va_end(args);
  big.resize(static_cast<size_t>(n));
  return big;
}

std::string MovesText(std::vector<MoveRecord> moves) {
  if (moves.empty()) return std::string();
  Board board;
  SetInitialBoard(&board);
  std::vector<char> text(kLineTextSize);
  MoveListToText(&board, moves.data(), static_cast<int>(moves.size()), 0, 0, WHITE, STYLE_ALGEBRAIC, true,
                 false, text.data(), text.size());
  return text.data();
}

class Builder {
 public:
  Builder(const Arguments& args, const BookBuilderIo& io) : args_(args), io_(io) {}
  int Run();

 private:
  void Print(const std::string& s) const {
    if (io_.print) io_.print(s);
  }
  void Report(const std::string& s) const {
    if (io_.report) io_.report(s);
  }
  bool Cancelled() const { return io_.cancelled && io_.cancelled(); }
  // The out-book, unless the run was cancelled meanwhile.
  int Write(const BookTree& tree) const {
    if (Cancelled()) return BUILDER_CANCELLED;
    return WriteBookTree(tree, args_.outBook.c_str(), io_.report);
  }
  int LoadInBook();
  int ReadInBook(BookTree* tree, bool texts);
  std::unique_ptr<BookGameSource> Games(LineSource lines) const {
    if (io_.games) return io_.games(std::move(lines));
    return std::unique_ptr<BookGameSource>(new PgnGameSource(std::move(lines), kMaxGamePlies));
  }
  int ReportGameError(const BookGameError& e) const;
  int AddGame(BookTree* tree, const std::vector<MoveRecord>& moves, const BookGame* statsOf);
  double Score(const BookTreeNode& n) const;
  void SetWeightsByCriterion(BookTree* tree) const;

  int Strip();
  int Csv();
  int Variations();
  int Import();
  int Dups();
  int Expand(bool noBraces);
  int ImportCsv();
  int ImportTest();
  int Missing();
  int Stats();
  int Waves();
  int Checksum();

  const Arguments& args_;
  const BookBuilderIo& io_;
};

int Builder::LoadInBook() {
  if (args_.inBook.empty() || !LoadBookFile(args_.inBook.c_str())) {
    Report(Format("Unable to load book data file %s\n", args_.inBook.c_str()));
    return BUILDER_BAD_IN_BOOK;
  }
  Report(Format("Book file %s opened.\n", args_.inBook.c_str()));
  return BUILDER_OK;
}

int Builder::ReadInBook(BookTree* tree, bool texts) {
  int result = LoadInBook();
  if (result != BUILDER_OK) return result;
  BuildBookTree(tree);
  int missing = 0;
  if (texts && !AttachBookTexts(tree, &missing)) {
    Report(Format("Error: cannot find move index %d in tree.\n", missing));
    return BUILDER_BAD_IN_BOOK;
  }
  return BUILDER_OK;
}

int Builder::ReportGameError(const BookGameError& e) const {
  Report(Format("Error #%d on line %d at character %d\n%s\n", e.number, e.line, e.column, e.text.c_str()));
  Report(Format(Format("%%%ds\n", e.column).c_str(), "^"));
  return e.number;
}

int Builder::Run() {
  int result = BUILDER_OK;
  switch (args_.command) {
    case CMD_TEST:
      break;
    case CMD_STRIP:
      result = Strip();
      break;
    case CMD_CSV:
      result = Csv();
      break;
    case CMD_VARIATIONS:
      result = Variations();
      break;
    case CMD_IMPORT:
      result = Import();
      break;
    case CMD_DUPS:
      result = Dups();
      break;
    case CMD_EXPAND:
      result = Expand(false);
      break;
    case CMD_IMPORTCSV:
      result = ImportCsv();
      break;
    case CMD_NOBRACES:
      result = Expand(true);
      break;
    case CMD_IMPORTTEST:
      result = ImportTest();
      break;
    case CMD_MISSING:
      result = Missing();
      break;
    case CMD_STATS:
      result = Stats();
      break;
    case CMD_WAVES:
      result = Waves();
      break;
    case CMD_CHECKSUM:
      result = Checksum();
      break;
    default:
      return BUILDER_BAD_ARGUMENT;
  }
  FreeBookSlot();
  return result;
}

int Builder::Strip() {
  BookTree tree;
  int result = ReadInBook(&tree, false);
  if (result != BUILDER_OK) return result;
  return Write(tree);
}

int Builder::Expand(bool noBraces) {
  BookTree tree;
  int result = ReadInBook(&tree, true);
  if (result != BUILDER_OK) return result;
  if (noBraces) {
    for (const BookTreeVisit& v : BookTreePreOrder(tree)) {
      tree[v.node].name = RemoveMarkupCodes(tree[v.node].name);
      tree[v.node].comment = RemoveMarkupCodes(tree[v.node].comment);
    }
  }
  return Write(tree);
}

int Builder::Csv() {
  BookTree tree;
  int result = ReadInBook(&tree, true);
  if (result != BUILDER_OK) return result;
  for (const BookTreeVisit& v : BookTreePreOrder(tree)) {
    const BookTreeNode& n = tree[v.node];
    if (n.name.empty() && n.comment.empty()) continue;
    std::string line = Format("\"%s\",", MovesText(BookTreeLineMoves(tree, v.node)).c_str());
    line += n.name.empty() ? "\"\"," : Format("\"%s\",", n.name.c_str());
    line += n.comment.empty() ? "\"\"," : Format("\"%s\",", n.comment.c_str());
    line += n.eco.empty() ? "\"\"\n" : Format("\"%s\"\n", n.eco.c_str());
    Print(line);
  }
  return BUILDER_OK;
}

int Builder::Variations() {
  int result = LoadInBook();
  if (result != BUILDER_OK) return result;
  int rows = 0;
  size_t deepestPlies = 0, longestName = 0;
  std::string deepest, longest;
  int entries = GetBookEntryCount();
  for (int i = 0; i < entries; ++i) {
    std::vector<MoveRecord> line;
    GetBookEntryLine(i, &line);
    std::string text = MovesText(line);
    if (text.empty()) break;
    std::string composed = GetBookEntryText(i);
    std::string name;
    LookupBookPosition(line.data(), static_cast<int>(line.size()), nullptr, &name, nullptr);
    Print(Format("\"%s\",", text.c_str()) + Format("\"%s\",", composed.c_str()) +
          Format("\"%s\"\n", name.c_str()));
    ++rows;
    if (line.size() > deepestPlies) {
      deepestPlies = line.size();
      deepest = text;
    }
    if (composed.size() > longestName) {
      longestName = composed.size();
      longest = composed;
    }
  }
  Print(Format("Total Variations: %d\n", rows));
  Print(Format("Deepest Variation: %s\n", deepest.c_str()));
  Print(Format("Longest Variation: %s\n", longest.c_str()));
  return BUILDER_OK;
}

int Builder::AddGame(BookTree* tree, const std::vector<MoveRecord>& moves, const BookGame* statsOf) {
  int64_t features[kGameFeatureCount] = {};
  if (statsOf) ComputeGameFeatures(moves, features);
  size_t plies = moves.size();
  if (statsOf && args_.depth > 0) plies = std::min(plies, static_cast<size_t>(args_.depth));
  int node = BookTree::kRoot;
  for (size_t p = 0; p < plies; ++p) {
    const MoveRecord& m = moves[p];
    int found = -1;
    for (int c = (*tree)[node].firstChild; c >= 0; c = (*tree)[c].nextSibling) {
      if (BookMoveMatches((*tree)[c].word, &m)) {
        found = c;
        break;
      }
    }
    if (found < 0) {
      found = tree->AddChild(
          node, MakeBookMoveWord(BoardSquareToBook(m.from), BoardSquareToBook(m.to), 0, false, false));
    }
    BookTreeNode& n = (*tree)[found];
    n.side = (p % 2 == 0) ? WHITE : BLACK;
    if (statsOf) {
      if (args_.colour == kColourBoth || args_.colour == n.side) ++n.frequency;
      if (statsOf->result == GAME_RESULT_WHITE_WINS)
        ++n.whiteWins;
      else if (statsOf->result == GAME_RESULT_BLACK_WINS)
        ++n.blackWins;
      else
        ++n.otherResults;
      for (int k = 0; k < kGameFeatureCount; ++k) n.features[k] += features[k];
    }
    node = found;
  }
  return node;
}

double Builder::Score(const BookTreeNode& n) const {
  int games = n.whiteWins + n.blackWins + n.otherResults;
  if (games == 0) return 0;
  bool white = n.side == WHITE;
  double g = games;
  switch (args_.criterion) {
    case CRIT_FREQUENCY:
      return n.frequency;
    case CRIT_WINS:
      return games < kMinGamesForRatio ? 0 : (white ? n.whiteWins : n.blackWins) / g;
    case CRIT_LOSSES:
      return games < kMinGamesForRatio ? 0 : (white ? n.blackWins : n.whiteWins) / g;
    case CRIT_DRAWS:
      return games < kMinGamesForRatio ? 0 : n.otherResults / g;
    case CRIT_LONG:
      return n.features[0] / g;
    case CRIT_SHORT:
      return (100 - n.features[0]) / g;
    case CRIT_CAPTURES:
      return n.features[1] / g;
    case CRIT_LOW_CAPTURES:
      return (10 - n.features[1]) / g;
    case CRIT_KNIGHT_MOVES:
      return n.features[white ? 3 : 2] / g;
    case CRIT_QUEEN_MOVES:
      return n.features[white ? 5 : 4] / g;
    case CRIT_PAWN_MOVES:
      return n.features[white ? 7 : 6] / g;
    case CRIT_GAMBIT:
      return n.features[white ? 9 : 8] / g;
  }
  return 0;
}

void Builder::SetWeightsByCriterion(BookTree* tree) const {
  std::vector<int> groups{BookTree::kRoot};
  for (const BookTreeVisit& v : BookTreePreOrder(*tree))
    if ((*tree)[v.node].firstChild >= 0) groups.push_back(v.node);
  for (int parent : groups) {
    double sum = 0, best = 0;
    for (int c = (*tree)[parent].firstChild; c >= 0; c = (*tree)[c].nextSibling) {
      double s = Score((*tree)[c]);
      sum += s;
      best = std::max(best, s);
    }
    if (sum <= 0) continue;
    for (int c = (*tree)[parent].firstChild; c >= 0; c = (*tree)[c].nextSibling) {
      double s = Score((*tree)[c]);
      if (s <= 0) continue;
      int code = s >= 0.75 * best ? 3 : s >= 0.375 * best ? 2 : s >= 0.125 * best ? 1 : 0;
      (*tree)[c].word = static_cast<BookMoveWord>(((*tree)[c].word & 0x3FFF) | (code << 14));
    }
  }
}

int Builder::Import() {
  BookTree tree;
  if (!args_.inBook.empty()) {
    int result = ReadInBook(&tree, false);
    if (result != BUILDER_OK) return result;
  }
  FILE* file = args_.pgn.empty() ? nullptr : std::fopen(args_.pgn.c_str(), "rt");
  if (file == nullptr) {
    Report(Format("Unable to open %s\n", args_.pgn.c_str()));
    return BUILDER_BAD_ARGUMENT;
  }
  std::unique_ptr<BookGameSource> games = Games(FileLineSource(file));
  int imported = 0, skipped = 0;
  BookGame game;
  BookGameError error;
  for (;;) {
    if (Cancelled()) {
      std::fclose(file);
      return BUILDER_CANCELLED;
    }
    BookGameRead read = games->NextGame(&game, &error);
    if (read == GAME_READ_END) break;
    if (read == GAME_READ_ERROR) {
      std::fclose(file);
      return ReportGameError(error);
    }
    if (game.fromSetUpPosition) {
      ++skipped;
      Report(Format("Skipped a game from a set-up position (%d)\n", skipped));
      continue;
    }
    if (game.moves.size() > kMaxGamePlies) game.moves.resize(kMaxGamePlies);
    Report(Format("Imported %d\n", ++imported));
    AddGame(&tree, game.moves, &game);
  }
  std::fclose(file);
  SetWeightsByCriterion(&tree);
  return Write(tree);
}

int Builder::Dups() {
  BookTree tree;
  int result = ReadInBook(&tree, false);
  if (result != BUILDER_OK) return result;
  Print("Duplicate Entries:\n");
  for (const BookTreeVisit& v : BookTreePreOrder(tree)) {
    for (int s = tree[v.node].nextSibling; s >= 0; s = tree[s].nextSibling) {
      if ((tree[s].word & 0x3F3F) == (tree[v.node].word & 0x3F3F)) {
        Print(Format("%s\n", MovesText(BookTreeLineMoves(tree, s)).c_str()));
        break;
      }
    }
  }
  return BUILDER_OK;
}

// One field of a comma-separated line: quoted, or up to the next comma.
std::string NextCsvField(const std::string& line, size_t* pos) {
  std::string field;
  size_t i = *pos;
  while (i < line.size() && line[i] == ' ') ++i;
  if (i < line.size() && line[i] == '"') {
    size_t close = line.find('"', i + 1);
    if (close == std::string::npos) close = line.size();
    field = line.substr(i + 1, close - i - 1);
    i = close + 1;
    while (i < line.size() && line[i] != ',') ++i;
  } else {
    size_t comma = line.find(',', i);
    if (comma == std::string::npos) comma = line.size();
    field = line.substr(i, comma - i);
    i = comma;
  }
  *pos = i < line.size() ? i + 1 : line.size();
  return field;
}

int Builder::ImportCsv() {
  BookTree tree;
  if (!args_.inBook.empty()) {
    int result = ReadInBook(&tree, true);
    if (result != BUILDER_OK) return result;
  }
  std::string line;
  int number = 0;
  while (io_.input && io_.input(&line)) {
    if (Cancelled()) return BUILDER_CANCELLED;
    if (line.empty()) continue;
    size_t pos = 0;
    std::string moves = NextCsvField(line, &pos);
    std::string name = NextCsvField(line, &pos);
    std::string comment = NextCsvField(line, &pos);
    std::string eco = NextCsvField(line, &pos);
    std::unique_ptr<BookGameSource> source = Games(StringLineSource(moves));
    BookGame game;
    BookGameError error;
    if (source->NextGame(&game, &error) == GAME_READ_ERROR) {
      Print(Format("Error #%d on line %d at character %d\n%s\n", error.number, error.line, error.column,
                   error.text.c_str()));
      return error.number;
    }
    Print(Format("Imported Game %d, %d moves\n", ++number, static_cast<int>(game.moves.size())));
    if (game.moves.empty()) continue;
    int node = AddGame(&tree, game.moves, nullptr);
    BookTreeNode& n = tree[node];
    if (n.name.empty()) {
      size_t slash = name.rfind('/');
      std::string part = slash == std::string::npos ? name : name.substr(slash + 1);
      size_t start = part.find_first_not_of(" /");
      if (start != std::string::npos) n.name = part.substr(start, 255);
    }
    if (n.comment.empty() && !comment.empty()) n.comment = comment;
    if (!eco.empty()) n.eco = eco.substr(0, 3);
  }
  return Write(tree);
}

int Builder::ImportTest() {
  int result = LoadInBook();
  if (result != BUILDER_OK) return result;
  std::unique_ptr<BookGameSource> games = Games(io_.input);
  BookGame game;
  BookGameError error;
  for (;;) {
    BookGameRead read = games->NextGame(&game, &error);
    if (read == GAME_READ_END) break;
    if (read == GAME_READ_ERROR) return ReportGameError(error);
    if (game.fromSetUpPosition) continue;
    Board board;
    SetInitialBoard(&board);
    int side = WHITE;
    for (size_t p = 0; p < game.moves.size(); ++p) {
      char text[kNotationTextSize];
      MoveToNotation(&board, &game.moves[p], side, STYLE_ALGEBRAIC, text);
      std::string out = Format("%8s: ", text);
      std::string name, comment;
      if (LookupBookPosition(game.moves.data(), static_cast<int>(p + 1), &comment, &name, nullptr))
        out += Format("[%s] [%s]\n", name.c_str(), comment.c_str());
      else
        out += "Not in book.\n";
      Print(out);
      MoveRecord m = game.moves[p];
      MakeMove(&m, &board);
      side = OtherSide(side);
    }
    Print("\n");
  }
  return BUILDER_OK;
}

int Builder::Missing() {
  BookTree tree;
  int result = ReadInBook(&tree, true);
  if (result != BUILDER_OK) return result;
  int depth = args_.depth < 2 ? 1 : args_.depth;
  for (const BookTreeVisit& v : BookTreePreOrder(tree)) {
    if (v.depth <= depth && tree[v.node].comment.empty())
      Print(Format("%s\n", MovesText(BookTreeLineMoves(tree, v.node)).c_str()));
  }
  return BUILDER_OK;
}

int Builder::Stats() {
  BookTree tree;
  int result = ReadInBook(&tree, true);
  if (result != BUILDER_OK) return result;
  std::vector<BookTreeVisit> order = BookTreePreOrder(tree);
  int maxDepth = 0, maxRank = 0, combinations = 0;
  struct Row {
    unsigned moves = 0, named = 0, commented = 0;
  };
  std::vector<Row> rows;
  unsigned bySide[4][2] = {};
  for (const BookTreeVisit& v : order) {
    const BookTreeNode& n = tree[v.node];
    maxDepth = std::max(maxDepth, v.depth);
    maxRank = std::max(maxRank, v.rank);
    if (n.firstChild < 0) combinations += v.depth;
    if (rows.size() < static_cast<size_t>(v.depth)) rows.resize(static_cast<size_t>(v.depth));
    Row& r = rows[static_cast<size_t>(v.depth - 1)];
    ++r.moves;
    if (!n.name.empty()) ++r.named;
    if (!n.comment.empty()) ++r.commented;
    ++bySide[BookWordWeight(n.word)][(v.depth % 2 == 1) ? 0 : 1];
  }
  // Percentages of an empty row are 0.
  auto pct = [](unsigned count, unsigned of) { return of == 0 ? 0u : count * 100u / of; };
  unsigned total = static_cast<unsigned>(order.size());
  std::string out = Format("Book [%s] statistics:\n", args_.inBook.c_str());
  out += Format("Total Moves = %d\n", static_cast<int>(total));
  out += Format("Max Depth = %d\n", maxDepth);
  out += Format("Max Alternatives = %d\n", maxRank);
  out += Format("Total Move Combinations = %d\n\n", combinations);
  out += "Depth    Count    Variations     Annotations\n";
  std::string rule = std::string(44, '-') + "\n";
  out += rule;
  unsigned named = 0, commented = 0;
  for (size_t d = 0; d < rows.size(); ++d) {
    const Row& r = rows[d];
    out += Format("%4u%9u%8u (%3u%c)%9d (%3u%c)\n", static_cast<unsigned>(d + 1), r.moves, r.named,
                  pct(r.named, r.moves), '%', static_cast<int>(r.commented), pct(r.commented, r.moves), '%');
    named += r.named;
    commented += r.commented;
  }
  out += rule;
  out += Format("%13u%8u (%3u%c)%9u (%3u%c)\n\n", total, named, pct(named, total), '%', commented,
                pct(commented, total), '%');
  out += "Preferences:\n   White  Black  Total   Pct.\n";
  for (unsigned code = 0; code < 4; ++code) {
    unsigned sum = bySide[code][0] + bySide[code][1];
    out +=
        Format("%1u%7u%7u%7u (%3u%c)\n", code, bySide[code][0], bySide[code][1], sum, pct(sum, total), '%');
  }
  Print(out);
  return BUILDER_OK;
}

int Builder::Waves() {
  BookTree tree;
  int result = ReadInBook(&tree, true);
  if (result != BUILDER_OK) return result;
  for (const BookTreeVisit& v : BookTreePreOrder(tree)) {
    for (const std::string* text : {&tree[v.node].name, &tree[v.node].comment}) {
      size_t at = 0;
      while ((at = text->find(":", at)) != std::string::npos) {
        if (at >= 2 && (*text)[at - 2] == '{' && ((*text)[at - 1] == 'W' || (*text)[at - 1] == 'w')) {
          size_t close = text->find('}', at);
          std::string wave =
              text->substr(at + 1, close == std::string::npos ? std::string::npos : close - at - 1);
          Print(Format("%s.RAW\n", wave.c_str()));
        }
        ++at;
      }
    }
  }
  return BUILDER_OK;
}

int Builder::Checksum() {
  int result = LoadInBook();
  if (result != BUILDER_OK) return result;
  Print(Format("Checksum = %d\n", BookChecksum()));
  return BUILDER_OK;
}

int PieceValue(int type) {
  switch (type) {
    case QUEEN:
      return 9;
    case ROOK:
      return 5;
    case BISHOP:
    case KNIGHT:
      return 3;
    case PAWN:
      return 1;
  }
  return 0;
}

}  // namespace

void ComputeGameFeatures(const std::vector<MoveRecord>& moves, int64_t features[kGameFeatureCount]) {
  for (int k = 0; k < kGameFeatureCount; ++k) features[k] = 0;
  features[0] = static_cast<int64_t>(moves.size());
  Board board;
  SetInitialBoard(&board);
  int balance = 0;  // material won by White from captures
  for (size_t p = 0; p < moves.size(); ++p) {
    bool white = p % 2 == 0;
    MoveRecord m = moves[p];
    int moved = board[m.from] & TYPE_MASK;
    bool early = p < 15;
    if (early) {
      int behind = white ? std::max(0, -balance) : std::max(0, balance);
      features[white ? 9 : 8] += behind;
      int weight = 15 - static_cast<int>(p);
      if (moved == KNIGHT) features[white ? 3 : 2] += weight;
      if (moved == QUEEN) features[white ? 5 : 4] += weight;
      if (moved == PAWN) features[white ? 7 : 6] += weight;
    }
    uint8_t captured = MakeMove(&m, &board);
    if (captured != 0) {
      if (p < 10) ++features[1];
      int value = PieceValue(captured & TYPE_MASK);
      balance += white ? value : -value;
    }
  }
}

int BookBuilderMain(int argc, const char* const* argv, const BookBuilderIo& io) {
  Arguments args;
  if (argv == nullptr || !ParseArguments(argc, argv, &args)) return BUILDER_BAD_ARGUMENT;
  if (args.command == CMD_NONE) {
    if (io.report) io.report("No command given\n");
    return BUILDER_BAD_ARGUMENT;
  }
  // The in-book goes into the slot asked for on this thread only; the user
  // interface's own selection is not touched, and this thread's comes back.
  const int previousSlot = GetBookSlot();
  if (io.bookSlot >= 0 && !SelectBookSlot(io.bookSlot)) return BUILDER_BAD_ARGUMENT;
  Builder builder(args, io);
  const int result = builder.Run();
  SelectBookSlot(previousSlot);
  return result;
}

std::vector<std::string> BookImportArguments(const std::string& inBook, const std::string& outBook,
                                             const std::string& pgn, const std::string& criterion,
                                             const std::string& colour, int depth) {
  std::vector<std::string> args = {"executable name here", "command=Import", "outbook=" + outBook,
                                   "pgn=" + pgn,           "criteria=" + criterion,
                                   "color=" + colour,      "depth=" + std::to_string(depth)};
  if (!inBook.empty()) args.push_back("inbook=" + inBook);
  return args;
}
